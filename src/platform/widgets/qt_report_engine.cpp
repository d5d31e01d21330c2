#include "platform/widgets/qt_report_engine.h"

#include "platform/common_dialog.h"
#include "platform/report_render.h"
#include "platform/widgets/qt_common_dialog.h"

#include <QPrinter>

namespace platform {

std::int16_t QtReportService::printReport(const QString &definitionFile) {
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrinterChoice(printer, CurrentPrinter());
    if (!printer.isValid())
        return report::kNoPrinter;
    return report::PrintDefinition(definitionFile, database_(), printer);
}

} // namespace platform
