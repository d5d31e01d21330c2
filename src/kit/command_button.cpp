#include "kit/command_button.h"

#include "kit/focus.h"

#include <QMouseEvent>

namespace ui {

CommandButton::CommandButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent) {
    // Focus comes through takeFocus, so that a refusal can stop the press.
    setFocusPolicy(Qt::TabFocus);
    setAutoDefault(false);
}

bool CommandButton::takeFocus(Qt::FocusReason reason) {
    const unsigned before = focus::Refusals();
    {
        focus::EventScope scope;
        setFocus(reason);
    }
    return focus::Refusals() == before;
}

bool CommandButton::event(QEvent *e) {
    if (e->type() == QEvent::Shortcut) {
        if (isEnabled() && takeFocus(Qt::ShortcutFocusReason))
            click();
        return true;
    }
    return QPushButton::event(e);
}

void CommandButton::mousePressEvent(QMouseEvent *e) {
    if (e->button() == Qt::LeftButton && !takeFocus(Qt::MouseFocusReason)) {
        e->accept();
        return;
    }
    QPushButton::mousePressEvent(e);
}

} // namespace ui
