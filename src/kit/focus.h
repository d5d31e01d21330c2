#pragma once
// The window procedures expect a box's LostFocus to run after the procedure that moved the focus has
// finished, and never because a message box, a drop-down list or another application took the focus.
// Qt runs focus-out inside setFocus, so the program's own focus moves are held back here until the
// outermost event procedure returns, and focus changes that the old platform did not report are filtered.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

namespace ui::focus {

// Marks the run of one event procedure; focus moves asked for inside it are applied when the outermost
// scope ends (the last one asked for wins).
class EventScope {
public:
    EventScope();
    ~EventScope();
    EventScope(const EventScope &) = delete;
    EventScope &operator=(const EventScope &) = delete;
};

// A modal window runs an event loop of its own inside the procedure that opened it: the procedures that run
// in that loop are outermost there, so their focus moves apply while the window is open. The moves held
// back for the procedure that opened it wait until that procedure ends.
class ModalLoop {
public:
    ModalLoop();
    ~ModalLoop();
    ModalLoop(const ModalLoop &) = delete;
    ModalLoop &operator=(const ModalLoop &) = delete;

private:
    int depth_;
    QPointer<QWidget> pending_;
};

// The program's SetFocus. Outside any event procedure the focus moves at once. A control that is hidden
// or disabled when the move is applied keeps the focus where it is. The control that receives the focus, also
// one that holds it already, runs its GotFocus and has its whole text selected.
void MoveTo(QWidget *target);

// A box refused its text: the focus goes back into it, and a command button whose press took the focus
// from it does not act.
void SendBack(QWidget *box);
// Counts the refusals so far; a command button compares it before and after it takes the focus.
unsigned Refusals();

// Selects the whole text of a text box or an editable list once the event that gave it the focus is over (a mouse
// press would otherwise place the cursor and undo the selection).
void SelectAllLater(QWidget *box);

// Calls gotFocus and lostFocus (either may be empty) when w gains or loses the focus within the window;
// a drop-down list, a menu or another window (a message box among them) taking the focus is not reported.
// The watch ends with w, or when alive turns false (the window's destructor sets it first).
void Watch(QWidget *w, std::function<void()> gotFocus, std::function<void()> lostFocus, std::shared_ptr<bool> alive);

} // namespace ui::focus
