#pragma once
// The error trap of every event procedure of a window: a run-time error ends the procedure and is shown by
// the error report with the window's name and its statement number at the moment of the error. The
// procedure also marks an event scope, so that its focus moves apply once it is over.

#include "data/error_report.h"
#include "engine/errors.h"
#include "kit/focus.h"

#include <QString>
#include <cstdint>

namespace ui {

// Returns false when the procedure ended on a run-time error.
template <class Body> bool RunEventProcedure(const std::int32_t &LogNr, const QString &formName, Body &&body) {
    focus::EventScope scope;
    try {
        body();
        return true;
    } catch (const engine::RuntimeError &e) {
        data::ReportError(e, LogNr, formName);
        return false;
    }
}

} // namespace ui
