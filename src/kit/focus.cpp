#include "kit/focus.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>

namespace ui::focus {

namespace {

int depth = 0;
QPointer<QWidget> pending;
unsigned refusals = 0;
// The control that a program move sent the focus to, until its FocusIn arrives: while the window waits to be
// activated again (after a message box) that FocusIn comes as the window's own, which runs no GotFocus.
QPointer<QWidget> moved;

void entered(QWidget *w);

void apply(QWidget *target) {
    if (!target || !target->isVisible() || !target->isEnabled())
        return;
    // Qt sends no FocusIn to the control that already holds the focus, as after a refusal by Enter.
    if (target->hasFocus()) {
        entered(target);
        return;
    }
    moved = target;
    target->setFocus(Qt::OtherFocusReason);
    // A control without a watch of its own does not take the mark off.
    if (moved == target && target->hasFocus()) {
        moved = nullptr;
        entered(target);
    }
}

bool reported(Qt::FocusReason reason) {
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && reason != Qt::MenuBarFocusReason;
}

// A drop-down list opening moves the focus into itself, not always by the popup's own reason; the control keeps it
// for the window.
bool intoPopup() {
    const QWidget *next = QApplication::focusWidget();
    return next && next->window()->windowType() == Qt::Popup;
}

// Set on a window once one of its watched controls has had the focus.
constexpr const char *kFocusGiven = "fundatorFocusGiven";

// The focus a window gives when it opens comes as its activation's, yet it is the first entry into that control.
bool opening(QWidget *w, Qt::FocusReason reason) {
    QWidget *window = w->window();
    const bool first = reason == Qt::ActiveWindowFocusReason && !window->property(kFocusGiven).toBool();
    window->setProperty(kFocusGiven, true);
    return first;
}

class FocusWatch : public QObject {
public:
    FocusWatch(QWidget *w, std::function<void()> got, std::function<void()> lost, std::shared_ptr<bool> alive)
        : QObject(w), entered_(w->hasFocus()), got_(std::move(got)), lost_(std::move(lost)), alive_(std::move(alive)) {
        w->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override {
        if (!*alive_)
            return false;
        if (e->type() == QEvent::FocusIn) {
            entered_ = true;
            const bool program = moved == parent();
            moved = nullptr;
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(e)->reason();
            const bool first = opening(static_cast<QWidget *>(parent()), reason);
            if (program)
                entered(static_cast<QWidget *>(parent()));
            else if (got_ && (reported(reason) || first))
                got_();
        } else if (e->type() == QEvent::FocusOut && lost_ && reported(static_cast<QFocusEvent *>(e)->reason()) &&
                   !intoPopup()) {
            // A control that loses the focus without having had it is only passing it back to one that refused
            // its text; testing it then would refuse in turn when both hold bad values, and the two would send
            // the focus to each other without end.
            if (!entered_)
                return false;
            entered_ = false;
            lost_();
        }
        return false;
    }

public:
    void gotFocus() const {
        if (got_ && *alive_)
            got_();
    }

private:
    bool entered_;
    std::function<void()> got_, lost_;
    std::shared_ptr<bool> alive_;
};

// The program put the focus into w: its GotFocus runs, and a box or list has its whole text selected, so that
// typing replaces it.
void entered(QWidget *w) {
    for (QObject *child : w->children())
        if (auto *watch = dynamic_cast<FocusWatch *>(child))
            watch->gotFocus();
    SelectAllLater(w);
}

} // namespace

EventScope::EventScope() { ++depth; }

EventScope::~EventScope() {
    if (--depth > 0)
        return;
    // Applying a move can run another box's LostFocus, which may ask for a move of its own.
    while (pending) {
        QPointer<QWidget> target = pending;
        pending = nullptr;
        ++depth;
        apply(target);
        --depth;
    }
}

ModalLoop::ModalLoop() : depth_(depth), pending_(pending) {
    depth = 0;
    pending = nullptr;
}

ModalLoop::~ModalLoop() {
    depth = depth_;
    pending = pending_;
}

void MoveTo(QWidget *target) {
    if (depth == 0)
        apply(target);
    else
        pending = target;
}

void SendBack(QWidget *box) {
    ++refusals;
    MoveTo(box);
}

unsigned Refusals() { return refusals; }

void SelectAllLater(QWidget *box) {
    auto *list = qobject_cast<QComboBox *>(box);
    QLineEdit *edit = list ? list->lineEdit() : qobject_cast<QLineEdit *>(box);
    if (!edit)
        return;
    // A box that the focus has already passed through by then keeps no selection on show.
    QTimer::singleShot(0, edit, [box, edit] {
        if (box->hasFocus())
            edit->selectAll();
    });
}

void Watch(QWidget *w, std::function<void()> gotFocus, std::function<void()> lostFocus, std::shared_ptr<bool> alive) {
    new FocusWatch(w, std::move(gotFocus), std::move(lostFocus), std::move(alive));
}

} // namespace ui::focus
