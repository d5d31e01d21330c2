#include "data/error_report.h"

#include "platform/message_box.h"

namespace data {

QString ErrorReportText(const QString &firstLine, const QString &functionName, std::int32_t logNr,
                        std::int32_t errNumber, const QString &description) {
    const QChar cr(13);
    return firstLine + cr + QStringLiteral("Function: ") + functionName + QStringLiteral(", Log nr. ") +
           QString::number(logNr) + cr + QStringLiteral("Fejlnr.: ") + QString::number(errNumber) +
           QStringLiteral(", ") + description + cr + QStringLiteral("Gem venligst sessionsdata og kontakt Polystra");
}

void ReportErrorWithTitle(const QString &firstLine, std::int32_t errNumber, const QString &description,
                          std::int32_t logNr, const QString &functionName) {
    platform::MsgBox(ErrorReportText(firstLine, functionName, logNr, errNumber, description), platform::Buttons::Ok,
                     platform::Icon::Critical);
}

void ReportError(std::int32_t errNumber, const QString &description, std::int32_t logNr, const QString &functionName) {
    ReportErrorWithTitle(QStringLiteral("Der opstod et problem under eksekvering af Fundator!"), errNumber, description,
                         logNr, functionName);
}

} // namespace data
