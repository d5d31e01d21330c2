#include "ui/numeric_fields.h"

#include "kit/event_procedure.h"
#include "kit/focus.h"
#include "platform/message_box.h"
#include "platform/numbers.h"

#include <QEvent>
#include <QLineEdit>

namespace ui {

NumericField::NumericField(QLineEdit *box, NumericFieldDesign design, NumericFieldContext context)
    : QObject(box), box_(box), design_(std::move(design)), ctx_(std::move(context)) {
    focus::Watch(
        box, [this] { GotFocus(); }, [this] { LostFocus(); }, ctx_.alive);
}

void NumericField::GotFocus() {
    RunEventProcedure(*ctx_.LogNr, ctx_.formName, [this] {
        *ctx_.LogNr = design_.gotFocusNr;
        focus::SelectAllLater(box_);
    });
}

void NumericField::LostFocus() {
    RunEventProcedure(*ctx_.LogNr, ctx_.formName, [this] {
        std::int32_t &LogNr = *ctx_.LogNr;
        LogNr = design_.lostFocusFirst;
        if (box_->text().isEmpty())
            box_->setText(QStringLiteral("0"));

        LogNr = design_.lostFocusFirst + 1;
        // With a decimal comma a typed "1.5" is no number until its point reads as the decimal mark.
        const QString typed = design_.typedPoint ? platform::TypedPointAsDecimal(box_->text()) : box_->text();
        if (!platform::IsNumeric(typed)) {
            platform::MsgBox(kNotNumeric);
            focus::SendBack(box_);
            return;
        }

        LogNr = design_.lostFocusFirst + 2;
        if (typed != box_->text())
            box_->setText(typed);

        LogNr = design_.lostFocusFirst + 3;
        box_->setText(platform::Format(platform::CDbl(box_->text()), design_.pattern));

        LogNr = design_.lostFocusFirst + 4;
        const QString message = design_.refusal(platform::CDbl(box_->text()));
        if (!message.isEmpty()) {
            platform::MsgBox(message);
            focus::SendBack(box_);
        }

        LogNr = design_.lostFocusFirst + 5;
        if (design_.redraw == Redraw::Always || (design_.redraw == Redraw::WhenAccepted && message.isEmpty()))
            ctx_.redraw();
    });
}

std::function<QString(double)> RefuseNegative(const QString &message) {
    return [message](double v) { return v < 0 ? message : QString(); };
}

std::function<QString(double)> RefuseOutside(double low, double high, const QString &message) {
    return [low, high, message](double v) { return OutsideBounds(v, low, high) ? message : QString(); };
}

} // namespace ui
