#include "ui/focus.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>

namespace ui::focus {

namespace {

int depth = 0;
QPointer<QWidget> pending;
unsigned refusals = 0;

void apply(QWidget *target) {
    if (target && target->isVisible() && target->isEnabled())
        target->setFocus(Qt::OtherFocusReason);
}

bool reported(Qt::FocusReason reason) {
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && reason != Qt::MenuBarFocusReason;
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
            if (got_ && reported(static_cast<QFocusEvent *>(e)->reason()))
                got_();
        } else if (e->type() == QEvent::FocusOut && lost_ && reported(static_cast<QFocusEvent *>(e)->reason())) {
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

private:
    bool entered_;
    std::function<void()> got_, lost_;
    std::shared_ptr<bool> alive_;
};

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

void SelectAllLater(QLineEdit *box) {
    // A box that the focus has already passed through by then keeps no selection on show.
    QTimer::singleShot(0, box, [box] {
        if (box->hasFocus())
            box->selectAll();
    });
}

void Watch(QWidget *w, std::function<void()> gotFocus, std::function<void()> lostFocus, std::shared_ptr<bool> alive) {
    new FocusWatch(w, std::move(gotFocus), std::move(lostFocus), std::move(alive));
}

} // namespace ui::focus
