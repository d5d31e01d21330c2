// Typing after the program put the focus into a box or list replaces the whole text, whatever moved the focus
// there; the mouse wheel steps only the list that has the focus.

#include "kit/command_button.h"
#include "page_fixture.h"
#include "platform/widgets/qt_message_box.h"

#include <QAbstractItemView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <functional>

namespace {

using uitest::keyClick;
using uitest::keyClicks;
using uitest::mouseClick;
using uitest::PageMain;

// The program's own message boxes, on screen until their OK button is pressed: the main window loses and regains
// activation around each, as under a real display.
class ShownMessages : public platform::MessageService {
public:
    int shown = 0;
    platform::Answer show(const QString &text, platform::Buttons buttons, platform::Icon icon,
                          const QString &caption) override {
        ++shown;
        auto box = platform::MakeMessageBox(text, buttons, icon, caption, QApplication::activeWindow());
        QMessageBox *b = box.get();
        QTimer::singleShot(0, b, [b] {
            uitest::waitForWindowActive(b);
            keyClick(b, Qt::Key_Return);
        });
        box->exec();
        return platform::AnswerOf(*box);
    }
};

// One notch of the wheel, down, over the middle of w, entering Qt where the window system's wheel does.
void wheel(QWidget *w) {
    QWidget *top = w->window();
    const QPointF at = w->mapTo(top, w->rect().center());
    QWheelEvent e(at, top->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                  false);
    // As the window system hands it over: sendEvent would take away what marks it as the user's.
    QSpontaneKeyEvent::setSpontaneous(&e);
    static_cast<QObject *>(top->windowHandle())->event(&e);
    uitest::processEvents();
}

QString textOf(const QWidget *w) {
    return w->property(qobject_cast<const QComboBox *>(w) ? "currentText" : "text").toString();
}

class TypingTest : public uitest::PageTest {
public:
    using PageTest::messages;

    // A page with the wizard buttons as the first command shows them.
    void showWizard(Page page) {
        testsupport::startWithDefaultInput(true);
        testsupport::setFields("inddata", nullptr, 0, {{"sikkerhedsklassetext", "Normal"}, {"Miljøklasse", "Passiv"}});
        testsupport::setFields("inddatalast", "lastid", 1,
                               {{"LastForm", "Cirkel"}, {"bredde", 200}, {"Placering", "Midt"}});
        showPage(page);
        for (QWidget *button : {m->btnBeregning, m->btnForrige, m->btnNaeste}) {
            button->show();
            button->setEnabled(true);
        }
    }
    // Keys typed over the whole text of a box that the user entered with the mouse.
    void typeInto(QWidget *box, const QString &text) {
        mouseClick(box);
        keyClick(box, Qt::Key_A, Qt::ControlModifier);
        keyClicks(box, text);
    }
};

TEST_F(TypingTest, TypingAfterEachProgramFocusMoveReplacesTheText) {
    using Action = std::function<void(PageMain &)>;
    const Action tab = [](PageMain &m) { keyClick(&m, Qt::Key_Tab); };
    const struct Row {
        const char *move;
        Page page;
        const char *typedIn, *first; // a box the user types into first (nullptr: none), and what
        Action then;
        bool onScreen; // messages as boxes on the screen
        const char *box;
        const char *held; // what the box holds when the focus comes
        const char *typed;
        const char *left; // what it holds when it is left with Tab
    } rows[] = {
        {"refusal on leaving a box", Page::Slab, "txtDaekTykkelse", "abc", tab, false, "txtDaekTykkelse", "abc", "100",
         "100"},
        {"refusal shown in a message box", Page::Slab, "txtDaekTykkelse", "-", tab, true, "txtDaekTykkelse", "-", "150",
         "150"},
        {"refusal by Enter in a list", Page::Loads, "cmbLastType", "x",
         [](PageMain &m) { keyClick(&m, Qt::Key_Return); }, false, "cmbLastType", "x", "punkt", "Punktlast"},
        {"page check", Page::Slab, "txtDaekTykkelse", "0", [](PageMain &m) { mouseClick(m.btnNaeste); }, false,
         "txtDaekTykkelse", "0", "1.500", "1500"},
        {"Næste", Page::Loads, nullptr, nullptr, [](PageMain &m) { mouseClick(m.btnNaeste); }, false, "cmbDaekType",
         "Beton", "beton", "Beton"},
        {"Forrige", Page::Slab, nullptr, nullptr, [](PageMain &m) { mouseClick(m.btnForrige); }, false, "cmbLastType",
         "Hjultryk", "hjul", "Hjultryk"},
        {"record move", Page::Loads, nullptr, nullptr, [](PageMain &m) { mouseClick(m.btnMoveLast[1]); }, false,
         "txtLastStorrelse", "20,00", "1.5", "1,50"},
        {"&Inddata", Page::Loads, nullptr, nullptr, [](PageMain &m) { keyClick(&m, Qt::Key_I, Qt::AltModifier); },
         false, "cmbLastType", "<ingen last>", "hjul", "Hjultryk"},
        {"choice in a list left by a click", Page::Loads, "cmbLastPlacering", "kant",
         [](PageMain &m) { mouseClick(m.txtPartialK); }, false, "txtLastKantFugeAfstand", "0", "250", "250"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.move);
        showWizard(row.page);
        const auto shown = std::make_shared<ShownMessages>();
        if (row.onScreen)
            platform::setMessageService(shown);
        if (row.typedIn)
            typeInto(m->findChild<QWidget *>(QString::fromUtf8(row.typedIn)), QString::fromUtf8(row.first));
        row.then(*m);
        if (row.onScreen) {
            EXPECT_EQ(shown->shown, 1);
            platform::setMessageService(messages);
            // The window manager activates the window again once the box is gone.
            m->activateWindow();
            ASSERT_TRUE(uitest::waitForWindowActive(m.get()));
        }
        auto *box = m->findChild<QWidget *>(QString::fromUtf8(row.box));
        ASSERT_EQ(focused(), box) << (focused() ? focused()->objectName().toStdString() : "");
        EXPECT_EQ(textOf(box), QString::fromUtf8(row.held));
        // A box's GotFocus ran and left its statement number; a list has none.
        const bool numeric = qobject_cast<QLineEdit *>(box) != nullptr;
        EXPECT_EQ(m->LogNr >= 1000 && m->LogNr % 10 == 0, numeric) << m->LogNr;
        const size_t before = messages->shown.size();
        uitest::processEvents();
        keyClicks(box, QString::fromUtf8(row.typed));
        EXPECT_EQ(textOf(box), QString::fromUtf8(row.typed));
        keyClick(box, Qt::Key_Tab);
        EXPECT_EQ(textOf(box), QString::fromUtf8(row.left));
        EXPECT_EQ(messages->shown.size(), before);
        m.reset();
    }
}

TEST_F(TypingTest, ComingBackToTheWindowRunsNoGotFocus) {
    showWizard(Page::Slab);
    typeInto(m->txtDaekTykkelse, QStringLiteral("12"));
    m->LogNr = 0;
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(uitest::waitForWindowActive(&other));
    m->activateWindow();
    ASSERT_TRUE(uitest::waitForWindowActive(m.get()));
    uitest::processEvents();
    EXPECT_EQ(focused(), m->txtDaekTykkelse);
    EXPECT_EQ(m->LogNr, 0);
    keyClicks(m->txtDaekTykkelse, QStringLiteral("3"));
    EXPECT_EQ(m->txtDaekTykkelse->text(), "123");
}

TEST_F(TypingTest, TheWheelStepsOnlyTheListThatHasTheFocus) {
    const struct {
        Page page;
        const char *list;
        const char *focused; // the control that has the focus
        const char *after;
    } rows[] = {
        {Page::Slab, "cmbDaekType", "txtDaekTykkelse", "Beton"},
        {Page::Slab, "cmbDaekType", "cmbDaekType", "Spånplade P5, 22 mm"},
        {Page::Loads, "cmbLastType", "txtPartialK", "Hjultryk"},
        {Page::Loads, "cmbLastType", "cmbLastType", "Punktlast"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.list) + " with the focus in " + row.focused);
        showWizard(row.page);
        auto *list = m->findChild<QComboBox *>(QString::fromUtf8(row.list));
        auto *before = m->findChild<QWidget *>(QString::fromUtf8(row.focused));
        before->setFocus();
        m->LogNr = 0;
        m->sketchRuns = 0;
        wheel(list);
        const bool stepped = before == list;
        EXPECT_EQ(list->currentText(), QString::fromUtf8(row.after));
        // A list without the focus takes none and runs nothing; the one with it runs its Click and the refresh, which
        // ends with the sketch.
        if (!stepped) {
            EXPECT_EQ(focused(), before);
        }
        EXPECT_EQ(m->LogNr != 0, stepped) << m->LogNr;
        EXPECT_EQ(m->sketchRuns > 0, stepped);
        m.reset();
    }
}

// The drop-down opens inside its list, by Alt+Down or by a click on the arrow: the typed text is neither tested nor
// completed and nothing is refreshed; a choice made in it with the mouse is taken at once.
TEST_F(TypingTest, OpeningIsNotLeavingTheListAndAMouseChoiceInItIsTakenAtOnce) {
    const struct {
        Page page;
        const char *list, *typed, *choice;
        std::int32_t keyDown, click; // LogNr after Alt+Down, and the Click's own number
    } rows[] = {
        {Page::Slab, "cmbDaekType", "bet", "Brugerdefineret", 797, 795},
        {Page::Slab, "cmbDaekSikkerhedsklasse", "l", "Høj", 574, 513},
        {Page::Slab, "cmbDaekKvalitet", "c3", "C25/30", 494, 490},
        {Page::Slab, "cmbMKlasse", "a", "Aggressiv", 524, 520},
        {Page::Layers, "cmbIsoleringType", "<", "<ingen isolering>", 597, 595},
        {Page::Layers, "cmbMellemlagType", "int", "Intet", 542, 540},
        {Page::Layers, "cmbTerraenType", "b", "Brugerdefineret", 562, 558},
        {Page::Loads, "cmbLastType", "punkt", "Punktlast", 756, 720},
        {Page::Loads, "cmbLastForm", "kv", "Kvadrat", 624, 620},
        {Page::Loads, "cmbLastPlacering", "k", "Kant", 651, 646},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.list);
        showWizard(row.page);
        auto *list = m->findChild<QComboBox *>(QString::fromUtf8(row.list));
        typeInto(list, QString::fromUtf8(row.typed));
        const std::function<void()> opens[] = {
            [&] { keyClick(list, Qt::Key_Down, Qt::AltModifier); },
            [&] { mouseClick(list, QPoint(list->width() - 5, list->height() / 2)); }};
        for (const auto &open : opens) {
            m->LogNr = 0;
            open();
            ASSERT_TRUE(list->view()->isVisible());
            EXPECT_EQ(list->currentText(), QString::fromUtf8(row.typed));
            EXPECT_EQ(m->LogNr, &open == opens ? row.keyDown : 0);
            EXPECT_EQ(m->sketchRuns, 0);
            EXPECT_TRUE(messages->shown.empty());
            keyClick(list->view(), Qt::Key_Escape);
        }
        // Opened again, a click on an entry chooses it and runs the Click's refresh (whose messages may follow).
        opens[1]();
        QAbstractItemView *view = list->view();
        uitest::wait(QApplication::doubleClickInterval());
        mouseClick(view->viewport(), view->visualRect(view->model()->index(list->findText(row.choice), 0)).center());
        EXPECT_EQ(list->currentText(), QString::fromUtf8(row.choice));
        EXPECT_NE(m->LogNr, 0);
        EXPECT_NE(m->LogNr, row.click);
        m.reset();
    }
}

// Enter in any list takes the typed beginning as the entry it begins and refreshes the page; the arrow keys step
// through the list and refresh nothing, for the Click that the step raises finds the flag that the key set.
TEST_F(TypingTest, EnterInEachListTakesTheTypedBeginningAndArrowKeysRefreshNothing) {
    const struct {
        Page page;
        const char *list, *typed, *entry, *next; // next: the entry after it, one Down on
        std::int32_t click;
    } rows[] = {
        {Page::Slab, "cmbDaekType", "beton", "Beton", "Spånplade P5, 22 mm", 795},
        {Page::Slab, "cmbDaekSikkerhedsklasse", "l", "Lav", "Normal", 513},
        {Page::Slab, "cmbDaekKvalitet", "c2", "C20/25", "C25/30", 490},
        {Page::Slab, "cmbMKlasse", "m", "Moderat", "Aggressiv", 520},
        {Page::Layers, "cmbIsoleringType", "eps 1", "EPS 100", "EPS 150", 595},
        {Page::Layers, "cmbMellemlagType", "int", "Intet", "Singels 4-8 mm", 540},
        {Page::Layers, "cmbTerraenType", "mor", "Moræneler", "Morænesand", 558},
        {Page::Loads, "cmbLastType", "hjul", "Hjultryk", "Punktlast", 720},
        {Page::Loads, "cmbLastForm", "kv", "Kvadrat", "Cirkel", 620},
        {Page::Loads, "cmbLastPlacering", "k", "Kant", "Fuge", 646},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.list);
        showWizard(row.page);
        auto *list = m->findChild<QComboBox *>(QString::fromUtf8(row.list));
        typeInto(list, QString::fromUtf8(row.typed));
        m->LogNr = 0;
        keyClick(list, Qt::Key_Return);
        EXPECT_EQ(list->currentText(), QString::fromUtf8(row.entry));
        EXPECT_NE(m->LogNr, 0);
        // The refresh may have moved the focus on.
        for (int i = 0; i < 2 && focused() != list; ++i) {
            list->setFocus();
            uitest::processEvents();
        }
        ASSERT_EQ(focused(), list);
        messages->shown.clear(); // what the refresh had to say
        m->LogNr = 0;
        m->sketchRuns = 0;
        keyClick(list, Qt::Key_Down);
        EXPECT_EQ(list->currentText(), QString::fromUtf8(row.next));
        EXPECT_EQ(m->LogNr, row.click);
        EXPECT_EQ(m->sketchRuns, 0);
        EXPECT_TRUE(messages->shown.empty());
        m.reset();
    }
}

} // namespace
