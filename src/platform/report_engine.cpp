#include "platform/report_engine.h"

namespace platform {

namespace {
std::shared_ptr<ReportService> &current() {
    static std::shared_ptr<ReportService> service = std::make_shared<RecordingReports>();
    return service;
}
} // namespace

ReportService &reports() { return *current(); }

void setReportService(std::shared_ptr<ReportService> service) { current() = std::move(service); }

std::int16_t ReportControl::PrintReport() { return reports().printReport(ReportFileName); }

std::int16_t RecordingReports::printReport(const QString &definitionFile) {
    printed.push_back(definitionFile);
    if (statuses.empty())
        return report::kPrinted;
    const std::int16_t status = statuses.front();
    statuses.erase(statuses.begin());
    return status;
}

} // namespace platform
