#pragma once
// Every failure of the platform layers and of checked arithmetic is a RuntimeError with a number and a text,
// as the old runtime raised them: the runtime's own small numbers, the database's large negative ones.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <stdexcept>

namespace engine {

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(std::int32_t number, const QString &description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description) {}
    std::int32_t number() const { return number_; }
    const QString &description() const { return description_; }

private:
    std::int32_t number_;
    QString description_;
};

namespace err {
// The runtime's own errors.
constexpr std::int32_t InvalidProcedureCall = 5;
constexpr std::int32_t Overflow = 6;
constexpr std::int32_t SubscriptOutOfRange = 9;
constexpr std::int32_t DivisionByZero = 11;
constexpr std::int32_t TypeMismatch = 13;
constexpr std::int32_t BadFileName = 52;
constexpr std::int32_t FileNotFound = 53;
constexpr std::int32_t DeviceIO = 57;
constexpr std::int32_t FileAlreadyExists = 58;
constexpr std::int32_t DiskFull = 61;
constexpr std::int32_t InputPastEnd = 62;
constexpr std::int32_t PermissionDenied = 70;
constexpr std::int32_t PathFileAccess = 75;
constexpr std::int32_t InvalidUseOfNull = 94;
constexpr std::int32_t InvalidFileFormat = 321;
// Data-access errors that the old component numbered small.
constexpr std::int32_t NoCurrentRecord = 3021;
constexpr std::int32_t DbNotADatabase = 3049;
constexpr std::int32_t DbCannotOpen = 3051;
constexpr std::int32_t FieldTooSmall = 3163;
constexpr std::int32_t NotAllowedInContext = 3219;
constexpr std::int32_t ItemNotFound = 3265;
constexpr std::int32_t ObjectClosed = 3704;
// Database errors (HRESULTs as signed 32-bit numbers).
constexpr std::int32_t DbFailure = -2147467259;          // 0x80004005: file not found, cannot open, ...
constexpr std::int32_t DbSyntax = -2147217900;           // 0x80040E14: SQL the engine refuses
constexpr std::int32_t DbNoSuchTable = -2147217865;      // 0x80040E37
constexpr std::int32_t DbNoValue = -2147217904;          // 0x80040E10: unknown name in SQL
constexpr std::int32_t DbIntegrity = -2147217873;        // 0x80040E2F: a value the table refuses
constexpr std::int32_t DbNotValidPassword = -2147217843; // 0x80040E4D
constexpr std::int32_t DbRowDeleted = -2147217885;       // 0x80040E23
} // namespace err

[[noreturn]] void raise(std::int32_t number, const QString &description);
// The runtime's text for one of its own numbers.
QString runtimeErrorText(std::int32_t number);
[[noreturn]] void raise(std::int32_t number);
// The database engine's words for a file it cannot open (DbCannotOpen): in use elsewhere, or no permission.
QString cannotOpenText(const QString &file);
// 58 for files that each could be the one a name stands for, naming them all.
[[noreturn]] void raiseSpellings(const QStringList &files);

} // namespace engine
