#pragma once
// The one message that reports an unexpected run-time error, shared by start-up, every window,
// the change detection and (with their own first line) the calculation drivers.

#include "engine/errors.h"

#include <QString>
#include <cstdint>

namespace data {

// The four lines, joined by a carriage return (character 13).
QString ErrorReportText(const QString &firstLine, const QString &functionName, std::int32_t logNr,
                        std::int32_t errNumber, const QString &description);

// "Der opstod et problem under eksekvering af Fundator!" in a critical box captioned "Fundator".
void ReportError(std::int32_t errNumber, const QString &description, std::int32_t logNr, const QString &functionName);
inline void ReportError(const engine::RuntimeError &e, std::int32_t logNr, const QString &functionName) {
    ReportError(e.number(), e.description(), logNr, functionName);
}
// Shows ErrorReportText(firstLine, ...) with the critical icon.
void ReportErrorWithTitle(const QString &firstLine, std::int32_t errNumber, const QString &description,
                          std::int32_t logNr, const QString &functionName);

} // namespace data
