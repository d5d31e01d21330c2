#include "engine/errors.h"

namespace engine {

void raise(std::int32_t number, const QString &description) { throw RuntimeError(number, description); }

QString runtimeErrorText(std::int32_t number) {
    switch (number) {
    case err::InvalidProcedureCall:
        return QStringLiteral("Invalid procedure call or argument");
    case err::Overflow:
        return QStringLiteral("Overflow");
    case err::SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case err::DivisionByZero:
        return QStringLiteral("Division by zero");
    case err::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case err::BadFileName:
        return QStringLiteral("Bad file name or number");
    case err::FileNotFound:
        return QStringLiteral("File not found");
    case err::DeviceIO:
        return QStringLiteral("Device I/O error");
    case err::FileAlreadyExists:
        return QStringLiteral("File already exists");
    case err::DiskFull:
        return QStringLiteral("Disk full");
    case err::InputPastEnd:
        return QStringLiteral("Input past end of file");
    case err::PermissionDenied:
        return QStringLiteral("Permission denied");
    case err::PathFileAccess:
        return QStringLiteral("Path/File access error");
    case err::InvalidUseOfNull:
        return QStringLiteral("Invalid use of Null");
    case err::InvalidFileFormat:
        return QStringLiteral("Invalid file format");
    case err::NoCurrentRecord:
        return QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. Requested "
                              "operation requires a current record.");
    case err::FieldTooSmall:
        return QStringLiteral("The field is too small to accept the amount of data you attempted to add.  Try "
                              "inserting or pasting less data.");
    case err::NotAllowedInContext:
        return QStringLiteral("Operation is not allowed in this context.");
    case err::ItemNotFound:
        return QStringLiteral("Item cannot be found in the collection corresponding to the requested name or "
                              "ordinal.");
    case err::ObjectClosed:
        return QStringLiteral("Operation is not allowed when the object is closed.");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

void raise(std::int32_t number) { throw RuntimeError(number, runtimeErrorText(number)); }

QString cannotOpenText(const QString &file) {
    return QStringLiteral("The Microsoft Jet database engine cannot open the file '%1'.  It is already opened "
                          "exclusively by another user, or you need permission to view its data.")
        .arg(file);
}

void raiseSpellings(const QStringList &files) {
    raise(err::FileAlreadyExists, runtimeErrorText(err::FileAlreadyExists) + QStringLiteral(": '") +
                                      files.join(QStringLiteral("', '")) + QLatin1Char('\''));
}

} // namespace engine
