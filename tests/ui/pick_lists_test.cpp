#include "data/connections.h"
#include "main_window_fixture.h"
#include "ui/pick_lists.h"

#include <QVBoxLayout>

using ui::MatchEntry;
using ui::MatchRule;
using uitest::MainWindowTest;

namespace {

const QString kRefusal = QString::fromUtf8("Der skal vælges et emne fra listen");

TEST(MatchEntry, EachRuleTakesTheFirstFittingEntryInListOrderWithDanishLettersCased) {
    QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
    const QStringList safety = {"Lav", "Normal", QString::fromUtf8("Høj")};
    const QStringList soils = {"Sandfyld", "Sand", "Sandsten"};
    const QStringList types = {"Beton", QString::fromUtf8("Spånplade P5, 22 mm"), "Brugerdefineret"};
    const QStringList loads = {"<ingen last>", "Hjultryk", "Punktlast", "Fladelast", "Linielast", "Lastpar"};
    const QStringList forms = {"Rektangel", "Kvadrat", "Cirkel", "Linielast"};
    const QStringList eps = {"EPS 80", "EPS 100", "EPS 150"};
    const struct {
        const QStringList &list;
        const char *typed;
        MatchRule rule;
        int index;
    } cases[] = {
        {safety, "n", MatchRule::Prefix, 1},
        {safety, "NOR", MatchRule::Prefix, 1},
        {safety, "HØ", MatchRule::Prefix, 2},
        {safety, "hø", MatchRule::Prefix, 2},
        {safety, "Normalt", MatchRule::Prefix, -1},
        {eps, "eps 1", MatchRule::Prefix, 1},
        // A whole entry goes before a longer one listed earlier.
        {soils, "sand", MatchRule::Prefix, 1},
        {soils, "san", MatchRule::Prefix, 0},
        {soils, "SAND", MatchRule::CapitalisedPrefix, 1},
        {types, "BRUGERDEFINERET", MatchRule::WholeEntry, 2},
        {types, "bet", MatchRule::WholeEntry, -1},
        {forms, "Rek", MatchRule::CapitalisedPrefix, 0},
        {forms, "Rektangler", MatchRule::CapitalisedPrefix, -1},
        {loads, "l", MatchRule::CapitalisedPrefix, 4},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MatchEntry(c.list, QString::fromUtf8(c.typed), c.rule), c.index) << c.typed;
    QLocale::setDefault(QLocale::c());
}

// One pick list and a box to leave it for, with its refreshes counted.
class PickListTest : public ::testing::Test {
protected:
    QWidget host;
    QComboBox *list = new QComboBox(&host);
    QLineEdit *other = new QLineEdit(&host);
    bool flag = false;
    std::int32_t logNr = 0;
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();
    int clicks = 0;
    std::vector<QString> leaves;
    bool fail = false; // the refresh raises "Invalid use of Null" at statement 128

    void make(MatchRule rule, QStringList entries, bool keyDown = true) {
        auto *layout = new QVBoxLayout(&host);
        layout->addWidget(list);
        layout->addWidget(other);
        list->addItems(entries);
        ui::PickListDesign design{rule,
                                  keyDown,
                                  100,
                                  110,
                                  120,
                                  129,
                                  [this] { ++clicks; },
                                  [this](const QString &text) {
                                      if (fail) {
                                          logNr = 128;
                                          engine::raise(engine::err::InvalidUseOfNull);
                                      }
                                      leaves.push_back(text);
                                  }};
        new ui::PickList(list, std::move(design), {&flag, &logNr, QStringLiteral("frmMain"), alive});
        platform::setMessageService(messages);
        host.show();
        host.activateWindow();
        ASSERT_TRUE(uitest::waitForWindowActive(&host));
        list->setFocus();
        list->setEditText(QString());
    }
    void type(const QString &text) { uitest::keyClicks(list, text); }
    void leave() { other->setFocus(); }
};

TEST_F(PickListTest, ATypedBeginningIsCompletedOnLeavingAndRefreshedOnce) {
    make(MatchRule::Prefix, {"Lav", "Normal", "Høj"});
    type("nor");
    EXPECT_TRUE(flag);
    EXPECT_TRUE(leaves.empty());
    leave();
    EXPECT_EQ(list->currentText(), "Normal");
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(leaves, std::vector<QString>({"Normal"}));
    EXPECT_FALSE(flag);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(logNr, 129);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(list->count(), 3); // typed text never becomes an entry
}

TEST_F(PickListTest, ARefusedTextKeepsTheFocusWithTheFlagClear) {
    make(MatchRule::Prefix, {"Passiv", "Moderat"});
    type("xyz");
    leave();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text, kRefusal);
    EXPECT_EQ(messages->shown[0].buttons, platform::Buttons::Ok);
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::None);
    EXPECT_EQ(messages->shown[0].caption, "Fundator");
    EXPECT_EQ(QApplication::focusWidget(), list);
    EXPECT_FALSE(flag);
    EXPECT_EQ(list->currentText(), "xyz");
    EXPECT_TRUE(leaves.empty());
    // Leaving again repeats the test.
    leave();
    EXPECT_EQ(messages->shown.size(), 2u);
}

TEST_F(PickListTest, AnEmptiedListIsAcceptedSilently) {
    make(MatchRule::Prefix, {"Passiv", "Moderat"});
    type("mod");
    uitest::keyClick(list, Qt::Key_Backspace);
    uitest::keyClick(list, Qt::Key_Backspace);
    uitest::keyClick(list, Qt::Key_Backspace);
    leave();
    EXPECT_EQ(list->currentText(), "");
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_TRUE(leaves.empty());
    EXPECT_EQ(QApplication::focusWidget(), other);
}

TEST_F(PickListTest, KeyboardMovesRefreshNothingUntilEnter) {
    make(MatchRule::Prefix, {"Intet", "Singels 4-8 mm", "Stabilgrus"});
    uitest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentText(), "Singels 4-8 mm");
    uitest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentText(), "Stabilgrus");
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(leaves.empty());
    uitest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(leaves, std::vector<QString>({"Stabilgrus"}));
    EXPECT_EQ(QApplication::focusWidget(), list);
    EXPECT_EQ(list->count(), 3);
    // Leaving after Enter tests the text again.
    leave();
    EXPECT_EQ(leaves.size(), 2u);
}

TEST_F(PickListTest, AMouseChoiceRefreshesAtOnceUnlessAKeyWentDownFirst) {
    make(MatchRule::Prefix, {"Intet", "Singels 4-8 mm"});
    list->setCurrentIndex(1);
    emit list->activated(1);
    EXPECT_EQ(clicks, 1);
    flag = true; // a key in any pick list
    emit list->activated(0);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(flag);
}

TEST_F(PickListTest, AListWithoutKeyDownIgnoresKeysAndEnter) {
    make(MatchRule::CapitalisedPrefix, {"Rektangel", "Kvadrat", "Cirkel"}, false);
    type("kv");
    uitest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(flag);
    EXPECT_EQ(list->currentText(), "kv");
    EXPECT_TRUE(leaves.empty());
    leave();
    EXPECT_EQ(list->currentText(), "Kvadrat");
    EXPECT_EQ(leaves, std::vector<QString>({"Kvadrat"}));
}

TEST_F(PickListTest, AnErrorInARefreshIsReportedWithItsStatementNumber) {
    make(MatchRule::Prefix, {"Passiv"});
    fail = true;
    type("pas");
    leave();
    ASSERT_EQ(messages->shown.size(), 1u);
    const QStringList lines = messages->shown[0].text.split(QChar(13));
    EXPECT_EQ(lines[1], "Function: frmMain, Log nr. 128");
    EXPECT_EQ(lines[2], "Fejlnr.: 94, Invalid use of Null");
    EXPECT_EQ(list->currentText(), "Passiv"); // what was done before the error stays done
}

// The ten lists of the main window.

TEST_F(MainWindowTest, TypedBeginningsCompleteByEachListsRule) {
    showLoadPage();
    showAllPages();
    const auto enter = [](QComboBox *list, const char *typed) {
        list->setFocus();
        list->setEditText(QString());
        uitest::keyClicks(list, QString::fromUtf8(typed));
        uitest::keyClick(list, Qt::Key_Return);
        return list->currentText();
    };
    EXPECT_EQ(enter(w->cmbLastForm, "rek"), "rek"); // the form list takes no Enter
    w->cmbLastType->setFocus();
    EXPECT_EQ(w->cmbLastForm->currentText(), "Rektangel");
    EXPECT_EQ(enter(w->cmbLastForm, "REK"), "REK");
    w->cmbLastType->setFocus();
    EXPECT_EQ(w->cmbLastForm->currentText(), "Rektangel");
    EXPECT_EQ(enter(w->cmbLastType, "<INGEN"), "<ingen last>");
    EXPECT_EQ(enter(w->cmbLastType, "hjul"), "Hjultryk");
    EXPECT_EQ(enter(w->cmbLastPlacering, "m"), "Midt");
    EXPECT_EQ(enter(w->cmbDaekType, "beton"), "Beton");
    EXPECT_EQ(enter(w->cmbDaekType, "bet"), "bet");
    EXPECT_EQ(shownTexts(), std::vector<QString>({kRefusal}));
    EXPECT_EQ(QApplication::focusWidget(), w->cmbDaekType);
    w->cmbDaekType->setEditText(QString()); // else leaving refuses it again
    EXPECT_EQ(enter(w->cmbDaekSikkerhedsklasse, "n"), "Normal");
    EXPECT_EQ(enter(w->cmbMKlasse, "ekstra"), "Ekstra aggressiv");
    EXPECT_EQ(enter(w->cmbIsoleringType, "eps 1"), "EPS 100");
    EXPECT_EQ(enter(w->cmbMellemlagType, "s"), "Singels 4-8 mm");
    EXPECT_EQ(enter(w->cmbTerraenType, "MORÆNES"), QString::fromUtf8("Morænesand"));
}

TEST_F(MainWindowTest, ListsThatCompareWithTheStoredValueRefreshOnlyOnADifference) {
    showLoadPage();
    showAllPages();
    store("inddata", "daekType", QStringLiteral("Beton"));
    w->inddata()->Move(0); // the recordset reads the row afresh
    w->cmbDaekType->setFocus();
    w->cmbDaekType->setEditText("beton");
    uitest::keyClick(w->cmbDaekType, Qt::Key_Return);
    EXPECT_EQ(w->cmbDaekType->currentText(), "Beton");
    EXPECT_EQ(w->count("OpdaterDaekType"), 0);
    w->cmbDaekType->setEditText("brugerdefineret");
    uitest::keyClick(w->cmbDaekType, Qt::Key_Return);
    EXPECT_EQ(w->count("OpdaterDaekType"), 1);
    // The intermediate layer refreshes again on an unchanged text; the quality exactly once per leaving.
    w->cmbMellemlagType->setFocus();
    w->cmbMellemlagType->setEditText("Intet");
    uitest::keyClick(w->cmbMellemlagType, Qt::Key_Return);
    uitest::keyClick(w->cmbMellemlagType, Qt::Key_Return);
    EXPECT_EQ(w->count("OpdaterMellemlag"), 2);
    w->cmbDaekKvalitet->setFocus();
    w->cmbDaekKvalitet->setEditText("c20");
    w->cmbLastType->setFocus();
    EXPECT_EQ(w->count("OpdaterBetonKvalitet"), 1);
}

TEST_F(MainWindowTest, TheWordsForNoneRefreshNothingWhenTheHiddenBoxIsEmpty) {
    showLoadPage();
    showAllPages();
    w->cmbLastType->setFocus();
    w->cmbLastType->setEditText("<ingen");
    uitest::keyClick(w->cmbLastType, Qt::Key_Return);
    w->cmbIsoleringType->setFocus();
    w->cmbIsoleringType->setEditText("<");
    uitest::keyClick(w->cmbIsoleringType, Qt::Key_Return);
    EXPECT_TRUE(w->calls.empty());
    w->txtLastType->setText("Punktlast");
    w->cmbLastType->setFocus();
    uitest::keyClick(w->cmbLastType, Qt::Key_Return);
    EXPECT_EQ(w->calls, std::vector<QString>({"VisLast 1"}));
}

TEST_F(MainWindowTest, AKeyInOneListMakesTheNextClickInAnotherOnlyClearTheFlag) {
    showLoadPage();
    uitest::keyClick(w->cmbLastType, Qt::Key_Shift);
    EXPECT_TRUE(w->flag());
    w->cmbLastPlacering->setCurrentIndex(2);
    emit w->cmbLastPlacering->activated(2);
    EXPECT_FALSE(w->flag());
    EXPECT_TRUE(w->calls.empty());
    emit w->cmbLastPlacering->activated(2);
    EXPECT_EQ(w->calls, std::vector<QString>({"OpdaterLastPlacering"}));
}

TEST_F(MainWindowTest, TheEnvironmentClassClickCommitsThePages) {
    showLoadPage();
    w->cmbMKlasse->setCurrentIndex(1);
    emit w->cmbMKlasse->activated(1);
    EXPECT_EQ(w->calls, std::vector<QString>({"OpdaterMiljoeklasse", "FormaterDaek", "FormaterIsolering"}));
    EXPECT_EQ(stored("inddata", QString::fromUtf8("Miljøklasse")), engine::Variant("Moderat"));
}

} // namespace
