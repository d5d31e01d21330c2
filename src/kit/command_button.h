#pragma once
// A command button as the old platform had it: pressing it, with the mouse or by its access key, first
// takes the focus, so the LostFocus of the box that had it runs; when that box refuses its text, the
// button does not act.

#include <QPushButton>

namespace ui {

class CommandButton : public QPushButton {
    Q_OBJECT
public:
    CommandButton(const QString &caption, QWidget *parent);

protected:
    bool event(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    // Takes the focus; false when a box refused its text on the way.
    bool takeFocus(Qt::FocusReason reason);
};

} // namespace ui
