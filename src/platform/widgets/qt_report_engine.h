#pragma once
// The report engine on a real printer: the printer (or PDF file) that the last printer dialog chose.

#include "engine/engine.h"
#include "platform/report_engine.h"

#include <functional>

namespace platform {

class QtReportService : public ReportService {
public:
    // The database the definitions read; asked for at each print, as the program opens it after this is made.
    explicit QtReportService(std::function<engine::Connection()> database) : database_(std::move(database)) {}
    std::int16_t printReport(const QString &definitionFile) override;

private:
    std::function<engine::Connection()> database_;
};

} // namespace platform
