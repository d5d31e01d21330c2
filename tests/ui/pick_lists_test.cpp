// The pick lists: matching a typed text, and the main window's ten lists.

#include "page_script.h"
#include "ui/pick_lists.h"

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

} // namespace
