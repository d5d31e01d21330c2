#pragma once
// The report engine: a report definition (our own text format, see report_definition.h) is printed onto the
// printer that the last printer dialog chose. It runs through one replaceable service: the Qt printer in the
// program, a recording fake in tests.

#include <QString>
#include <cstdint>
#include <memory>

namespace platform {

// A print's status: 0 printed, any other number a failure code that the caller shows.
namespace report {
inline constexpr std::int16_t kPrinted = 0;
inline constexpr std::int16_t kNoDefinition = 1;  // the definition file is missing or unreadable
inline constexpr std::int16_t kBadDefinition = 2; // the definition breaks the format
inline constexpr std::int16_t kNoData = 3;        // a table or field the database lacks, or a database error
inline constexpr std::int16_t kNoPrinter = 4;     // the chosen printer or file cannot be opened
inline constexpr std::int16_t kPrintFailed = 5;   // the printer gave up during the print
} // namespace report

class ReportService {
public:
    virtual ~ReportService() = default;
    // Prints the definition (full path) and returns the status.
    virtual std::int16_t printReport(const QString &definitionFile) = 0;
};

ReportService &reports();
void setReportService(std::shared_ptr<ReportService> service);

// The report control as the program uses it: the definition's file name, then the print.
class ReportControl {
public:
    QString ReportFileName;
    std::int16_t PrintReport();
};

} // namespace platform
