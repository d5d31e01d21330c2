// The pick lists: matching a typed text, one list on its own, and the main window's ten lists.

#include "page_script.h"
#include "ui/pick_lists.h"

#include <QVBoxLayout>

using ui::MatchRule;

namespace {

TEST(MatchEntry, EachRuleTakesTheFirstFittingEntryInListOrderWithDanishLettersCased) {
    QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
    const QStringList safety = {"Lav", "Normal", "Høj"}, soils = {"Sandfyld", "Sand", "Sandsten"},
                      types = {"Beton", "Spånplade P5, 22 mm", "Brugerdefineret"},
                      loads = {"<ingen last>", "Hjultryk", "Punktlast", "Fladelast", "Linielast", "Lastpar"},
                      forms = {"Rektangel", "Kvadrat", "Cirkel", "Linielast"}, eps = {"EPS 80", "EPS 100", "EPS 150"};
    const struct {
        const QStringList &list;
        const char *typed;
        MatchRule rule;
        int index;
    } cases[] = {{safety, "n", MatchRule::Prefix, 1},
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
                 {forms, "REK", MatchRule::CapitalisedPrefix, 0},
                 {forms, "Rektangler", MatchRule::CapitalisedPrefix, -1},
                 {loads, "l", MatchRule::CapitalisedPrefix, 4}};
    for (const auto &c : cases)
        EXPECT_EQ(ui::MatchEntry(c.list, QString::fromUtf8(c.typed), c.rule), c.index) << c.typed;
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
        new ui::PickList(list, std::move(design), {&flag, &logNr, "frmMain", std::make_shared<bool>(true)});
        platform::setMessageService(messages);
        host.show();
        host.activateWindow();
        ASSERT_TRUE(uitest::waitForWindowActive(&host));
        list->setFocus();
        list->setEditText(QString());
    }
    void type(const QString &text) { uitest::keyClicks(list, text); }
    QString left() { // leaves the list; what its refresh saw
        other->setFocus();
        return leaves.empty() ? QString() : leaves.back();
    }
};

TEST_F(PickListTest, ATypedBeginningIsCompletedOnLeavingAndRefreshedOnceAndARefusalKeepsTheFocus) {
    make(MatchRule::Prefix, {"Lav", "Normal", "Høj"});
    type("nor");
    EXPECT_TRUE(flag);
    EXPECT_TRUE(leaves.empty());
    EXPECT_EQ(left(), "Normal");
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(leaves.size(), 1u);
    EXPECT_FALSE(flag);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(logNr, 129);
    EXPECT_EQ(list->count(), 3); // typed text never becomes an entry
    list->setFocus();
    list->setEditText("xyz");
    left();
    left(); // leaving again repeats the test
    ASSERT_EQ(messages->shown.size(), 2u);
    EXPECT_EQ(messages->shown[0].text, ui::kPickListRefusal);
    EXPECT_EQ(messages->shown[0].buttons, platform::Buttons::Ok);
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::None);
    EXPECT_EQ(messages->shown[0].caption, "Fundator");
    EXPECT_EQ(QApplication::focusWidget(), list);
    EXPECT_EQ(list->currentText(), "xyz");
    EXPECT_EQ(leaves.size(), 1u);
    // An emptied list is accepted silently.
    list->setEditText("");
    left();
    EXPECT_EQ(QApplication::focusWidget(), other);
    EXPECT_EQ(messages->shown.size(), 2u);
    EXPECT_EQ(leaves.size(), 1u);
}

TEST_F(PickListTest, KeyboardMovesRefreshNothingUntilEnterAndAMouseChoiceAtOnceUnlessAKeyWentDown) {
    make(MatchRule::Prefix, {"Intet", "Singels 4-8 mm", "Stabilgrus"});
    uitest::keyClick(list, Qt::Key_Down);
    uitest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentText(), "Stabilgrus");
    EXPECT_EQ(clicks + leaves.size(), 0u);
    uitest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(leaves, std::vector<QString>({"Stabilgrus"}));
    EXPECT_EQ(QApplication::focusWidget(), list);
    EXPECT_EQ(list->count(), 3);
    left(); // leaving after Enter tests the text again
    EXPECT_EQ(leaves.size(), 2u);
    flag = false;
    emit list->activated(1);
    EXPECT_EQ(clicks, 1);
    flag = true; // a key in any pick list
    emit list->activated(0);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(flag);
}

TEST_F(PickListTest, AListWithoutKeyDownIgnoresKeysAndEnterAndARefreshErrorIsReported) {
    make(MatchRule::CapitalisedPrefix, {"Rektangel", "Kvadrat", "Cirkel"}, false);
    type("kv");
    uitest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(flag);
    EXPECT_EQ(list->currentText(), "kv");
    EXPECT_EQ(left(), "Kvadrat");
    fail = true;
    list->setFocus();
    list->setEditText("cir");
    left();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text.split(QChar(13)).mid(1, 2),
              QStringList({"Function: frmMain, Log nr. 128", "Fejlnr.: 94, Invalid use of Null"}));
    EXPECT_EQ(list->currentText(), "Cirkel"); // what was done before the error stays done
}

// The ten lists of the main window.
using MainWindowListTest = uitest::ScriptTest;

TEST_F(MainWindowListTest, TypedBeginningsCompleteByEachListsRuleAndRefreshOnlyOnADifference) {
    showLoadPage();
    showAllPages();
    store("inddata", "daekType", "Beton");
    w->inddata()->Move(0); // the recordset reads the row afresh
    // The form list takes no Enter; leaving completes it with a capital first letter.
    run({"pick cmbLastForm=rek | cmbLastForm=rek | focus cmbLastType | cmbLastForm=Rektangel",
         "pick cmbLastType=<INGEN | cmbLastType=<ingen last>", "pick cmbLastType=hjul | cmbLastType=Hjultryk",
         "pick cmbLastPlacering=m | cmbLastPlacering=Midt",
         "pick cmbDaekType=bet | cmbDaekType=bet | msg=Der skal vælges et emne fra listen | focus=cmbDaekType",
         "pick cmbDaekType=beton | cmbDaekType=Beton | count OpdaterDaekType=0",
         "pick cmbDaekType=brugerdefineret | count OpdaterDaekType=1",
         "pick cmbDaekSikkerhedsklasse=n | cmbDaekSikkerhedsklasse=Normal",
         "pick cmbMKlasse=ekstra | cmbMKlasse=Ekstra aggressiv",
         "pick cmbIsoleringType=eps 1 | cmbIsoleringType=EPS 100",
         // The intermediate layer refreshes again on an unchanged text; the quality exactly once per leaving.
         "pick cmbMellemlagType=s | cmbMellemlagType=Singels 4-8 mm | count OpdaterMellemlag=1",
         "pick cmbMellemlagType=Singels | count OpdaterMellemlag=1",
         "pick cmbTerraenType=MORÆNES | cmbTerraenType=Morænesand",
         "edit cmbDaekKvalitet=c20 | focus cmbLastType | count OpdaterBetonKvalitet=1"});
}

TEST_F(MainWindowListTest, TheWordsForNoneRefreshNothingWhenTheHiddenBoxIsEmpty) {
    showLoadPage();
    showAllPages();
    run({"pick cmbLastType=<ingen | pick cmbIsoleringType=< | calls=",
         "set txtLastType=Punktlast | focus cmbLastType | pick cmbLastType=<ingen | calls=VisLast 1"});
}

TEST_F(MainWindowListTest, TheClassClickCommitsThePagesAndAKeyInOneListMakesTheNextClickInAnotherOnlyClearTheFlag) {
    showLoadPage();
    w->cmbMKlasse->setCurrentIndex(1);
    emit w->cmbMKlasse->activated(1);
    run({"calls=OpdaterMiljoeklasse, FormaterDaek, FormaterIsolering | db inddata.Miljøklasse=Moderat"});
    uitest::keyClick(w->cmbLastType, Qt::Key_Shift);
    EXPECT_TRUE(w->flag());
    w->cmbLastPlacering->setCurrentIndex(2);
    emit w->cmbLastPlacering->activated(2);
    EXPECT_FALSE(w->flag());
    EXPECT_TRUE(w->calls.empty());
    emit w->cmbLastPlacering->activated(2);
    EXPECT_EQ(w->calls, std::vector<QString>({"OpdaterLastPlacering"}));
}

} // namespace
