#include "platform/report_engine.h"

namespace platform {

namespace {
// Until the program installs its printer, nothing can be printed.
class NoReports : public ReportService {
public:
    std::int16_t printReport(const QString &) override { return report::kNoPrinter; }
};

std::shared_ptr<ReportService> &current() {
    static std::shared_ptr<ReportService> service = std::make_shared<NoReports>();
    return service;
}
} // namespace

ReportService &reports() { return *current(); }

void setReportService(std::shared_ptr<ReportService> service) { current() = std::move(service); }

std::int16_t ReportControl::PrintReport() { return reports().printReport(ReportFileName); }

} // namespace platform
