#pragma once
// The pick lists: combo boxes that accept only one of their entries or the empty text. A choice with the
// mouse takes effect at once (Click); typed keys take effect on Enter or when the list is left (LostFocus),
// where the text is matched against the entries, completed to the entry found, or refused.

#include <QComboBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

namespace ui {

// How a typed text T matches an entry E.
enum class MatchRule {
    Prefix,            // E begins with T, without regard to case
    WholeEntry,        // E equals T, without regard to case
    CapitalisedPrefix, // E begins with T written with a capital first letter and the rest in small letters
};

// The index of the entry a typed text selects, or -1. An entry equal to the text without regard to case
// comes first, so that typing a whole entry never selects a longer one listed before it; otherwise the
// first entry that matches by the rule. Letters are cased by the regional settings (æ, ø, å too).
int MatchEntry(const QStringList &entries, const QString &text, MatchRule rule);

inline const QString kPickListRefusal = QStringLiteral("Der skal vælges et emne fra listen");

// The window state that all pick lists of a window share.
struct PickListContext {
    bool *TastTrykket;           // a key went down in a pick list since the last Click that found it set
    std::int32_t *LogNr;         // the window's statement number
    QString formName;            // for the error report
    std::shared_ptr<bool> alive; // false once the window is going away
};

struct PickListDesign {
    MatchRule rule = MatchRule::Prefix;
    // Statement numbers: Click; KeyDown (flag, Enter); LostFocus (the first five steps from lostFocusFirst,
    // the refresh at lostFocusLast).
    std::int32_t clickNr = 0;
    std::int32_t keyDownNr = 0;
    std::int32_t lostFocusFirst = 0, lostFocusLast = 0;
    // Run by Click when the flag is clear.
    std::function<void()> clickRefresh;
    // Run by LostFocus after a match, with the completed text; it tests its own condition.
    std::function<void(const QString &)> lostFocusRefresh;
};

class PickList : public QObject {
    Q_OBJECT
public:
    PickList(QComboBox *list, PickListDesign design, PickListContext context);

    // The three event procedures.
    void Click();
    void KeyDown(int keyCode);
    void LostFocus();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QComboBox *list_;
    PickListDesign design_;
    PickListContext ctx_;
};

// Switches off what an editable combo box does on its own against these rules: the inline completion and
// the insertion of typed text as a new entry.
void MakePickList(QComboBox *list);

} // namespace ui
