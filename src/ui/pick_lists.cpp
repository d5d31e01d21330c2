#include "ui/pick_lists.h"

#include "kit/controls.h"
#include "kit/event_procedure.h"
#include "kit/focus.h"
#include "platform/message_box.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLocale>

namespace ui {

int MatchEntry(const QStringList &entries, const QString &text, MatchRule rule) {
    const QLocale locale;
    const QString upper = locale.toUpper(text);
    for (int i = 0; i < entries.size(); ++i)
        if (locale.toUpper(entries[i]) == upper)
            return i;
    if (rule == MatchRule::WholeEntry)
        return -1;
    const qsizetype n = text.size();
    const QString capitalised = locale.toUpper(text.left(1)) + locale.toLower(text.mid(1));
    for (int i = 0; i < entries.size(); ++i) {
        const QString &entry = entries[i];
        if (entry.size() < n)
            continue;
        const bool match =
            rule == MatchRule::Prefix ? locale.toUpper(entry.left(n)) == upper : entry.left(n) == capitalised;
        if (match)
            return i;
    }
    return -1;
}

void MakePickList(QComboBox *list) {
    list->setEditable(true);
    list->setCompleter(nullptr);
    list->setInsertPolicy(QComboBox::NoInsert);
    // The wheel over a list gives it no focus: only the list that has it steps.
    list->setFocusPolicy(Qt::StrongFocus);
}

PickList::PickList(QComboBox *list, PickListDesign design, PickListContext context)
    : QObject(list), list_(list), design_(std::move(design)), ctx_(std::move(context)) {
    MakePickList(list);
    // activated is raised for the user's choices only, never for the program's own changes.
    connect(list, &QComboBox::activated, this, [this] {
        if (*ctx_.alive)
            Click();
    });
    list->installEventFilter(this);
    // The drop-down's own window, which the list creates with its view.
    list->view()->window()->installEventFilter(this);
    focus::Watch(
        list, {}, [this] { LostFocus(); }, ctx_.alive);
}

bool PickList::eventFilter(QObject *watched, QEvent *event) {
    // What was typed gives way to the choice in the drop-down: a mouse choice there takes effect at once.
    if (watched != list_) {
        if (event->type() == QEvent::Show && *ctx_.alive)
            *ctx_.TastTrykket = false;
        return false;
    }
    // A list that the user is not in ignores the wheel: stepping it would choose an entry and run its Click.
    if (event->type() == QEvent::Wheel && !list_->hasFocus()) {
        event->ignore();
        return true;
    }
    if (event->type() != QEvent::KeyPress || !*ctx_.alive)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    KeyDown(enter ? 13 : key);
    // Enter is the list's own business: the combo box must not pick an entry of its own accord.
    return enter;
}

void PickList::Click() {
    RunEventProcedure(*ctx_.LogNr, ctx_.formName, [this] {
        *ctx_.LogNr = design_.clickNr;
        if (*ctx_.TastTrykket) {
            *ctx_.TastTrykket = false;
            return;
        }
        if (design_.clickRefresh)
            design_.clickRefresh();
    });
}

void PickList::KeyDown(int keyCode) {
    RunEventProcedure(*ctx_.LogNr, ctx_.formName, [this, keyCode] {
        *ctx_.LogNr = design_.keyDownNr;
        *ctx_.TastTrykket = true;
        *ctx_.LogNr = design_.keyDownNr + 1;
        if (keyCode == 13)
            LostFocus();
    });
}

void PickList::LostFocus() {
    RunEventProcedure(*ctx_.LogNr, ctx_.formName, [this] {
        std::int32_t &LogNr = *ctx_.LogNr;
        LogNr = design_.lostFocusFirst;
        *ctx_.TastTrykket = false;
        LogNr = design_.lostFocusFirst + 1;
        const QString text = ListText(list_);
        if (text.isEmpty())
            return;
        LogNr = design_.lostFocusFirst + 2;
        const QStringList entries = ListEntries(list_);
        const int index = MatchEntry(entries, text, design_.rule);
        if (index < 0) {
            LogNr = design_.lostFocusFirst + 3;
            platform::MsgBox(kPickListRefusal);
            focus::SendBack(list_);
            return;
        }
        LogNr = design_.lostFocusFirst + 4;
        SetListText(list_, entries[index]);
        LogNr = design_.lostFocusLast;
        if (design_.lostFocusRefresh)
            design_.lostFocusRefresh(entries[index]);
    });
}

} // namespace ui
