// The number boxes, typed into and left with Tab: the slab thickness in full, the others in one table.

#include "page_script.h"

namespace {

using NumericFieldsTest = uitest::ScriptTest;

const QString kNoNumber = "msg=Feltet kan kun indeholde numeriske værdier.";

TEST_F(NumericFieldsTest, SlabThicknessRefusesTextAndBoundsByTheSlabTypeAndEveryNumberRedraws) {
    run({"store inddata.daekType=Beton | show Slab",
         "enter txtDaekTykkelse=abc | " + kNoNumber + " | txtDaekTykkelse=abc | focus=txtDaekTykkelse | runs=0",
         "enter txtDaekTykkelse=24,6 | txtDaekTykkelse=25 | runs=1",
         // The redraw commits a refused value too.
         "enter txtDaekTykkelse=24 | msg=Tykkelsen på dækket skal være min. 25 mm og max. 10.000 mm | "
         "focus=txtDaekTykkelse | runs=1 | db inddata.dæktykkelse=24",
         "enter txtDaekTykkelse=12345678901234567890 | runs=1 | "
         "msg=Tykkelsen på dækket skal være min. 25 mm og max. 10.000 mm",
         "enter txtDaekTykkelse=10000 | runs=1", "set cmbDaekType=Brugerdefineret | enter txtDaekTykkelse=24",
         "enter txtDaekTykkelse=0,4", // rounds to 0, which means "not given"
         "enter txtDaekTykkelse=10001 | msg=Tykkelsen på dækket skal være min. 1 mm og max. 10.000 mm"});
    // The message box of a refusal.
    enter(m->txtDaekTykkelse, "x");
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::None);
    EXPECT_EQ(messages->shown[0].buttons, platform::Buttons::Ok);
}

TEST_F(NumericFieldsTest, LayerBoxesRefuseOutsideTheirBoundsAndRedrawOnlyWhenAccepted) {
    const QString outside = "msg=Tykkelsen på %1 skal være min. 1 mm og max. 10.000 mm.";
    run({"show Layers", "enter txtIsoleringTykkelse=20000 | " + outside.arg("isoleringslaget") + " | runs=0",
         "enter txtIsoleringTykkelse=0 | runs=1",
         "set cmbMellemlagType=Stabilgrus | busy 1 | do OpdaterMellemlag | busy 0",
         // The display pattern rounds a half away from zero.
         "enter txtMellemlagTykkelse=10000,5 | " + outside.arg("mellemlaget") +
             " | txtMellemlagTykkelse=10001 | runs=0",
         "enter txtMellemlagTykkelse=1 | runs=1",
         "enter txtTerraenBallast=-5 | msg=Terrænets ballasttal skal være positivt | runs=1"});
}

TEST_F(NumericFieldsTest, LoadPairSpacingLiesBetweenItsBoundsOrIsZero) {
    const QString spacing = "msg=Afstand mellem laster skal være mellem 0,7 m og 6,0 m | runs=0";
    run({"show Loads | set cmbLastType=Lastpar | do VisLast",
         "enter txtAfstandLastpar=0 | txtAfstandLastpar=0,00 | runs=0", "enter txtAfstandLastpar=0,69 | " + spacing,
         "enter txtAfstandLastpar=0,7 | txtAfstandLastpar=0,70 | runs=0", "enter txtAfstandLastpar=6 | runs=0",
         "enter txtAfstandLastpar=6,01 | " + spacing,
         "enter txtAfstandLastpar=6,004 | runs=0"}); // 6,00 in two decimals
}

TEST_F(NumericFieldsTest, LoadDimensionsFollowTheLoadTypeAndShape) {
    const QString size = "msg=%1 på lasten skal angives og må max. være %2 mm";
    run({"show Loads | set cmbLastType=Punktlast | do VisLast | choose cmbLastForm=Rektangel",
         // With a decimal comma a point makes no number here.
         "enter txtLastFormBredde=1.5 | " + kNoNumber + " | txtLastFormBredde=1.5", "enter txtLastFormBredde=400",
         "enter txtLastFormLaengde=500", "enter txtLastFormLaengde=501 | " + size.arg("Længden", "500"),
         "enter txtLastFormLaengde=300",
         "set cmbLastType=Lastpar | enter txtLastFormBredde=400 | " + size.arg("Bredden", "300"),
         "enter txtLastFormBredde=300", "enter txtLastFormLaengde=301 | " + size.arg("Længden", "300"),
         "enter txtLastFormLaengde=0",
         "choose cmbLastForm=Cirkel | enter txtLastFormBredde=400 | " + size.arg("Diameter", "300"),
         "set cmbLastType=Hjultryk | enter txtLastFormBredde=501 | " + size.arg("Diameter", "500"),
         "enter txtLastFormBredde=500", "choose cmbLastPlacering=Kant | enter txtLastKantFugeAfstand=5600",
         "enter txtLastKantFugeAfstand=5601 | msg=Afstand fra kant/fuge skal angives og må max. være 5600 mm | "
         "txtLastKantFugeAfstand=5601 | focus=txtLastKantFugeAfstand"});
}

TEST_F(NumericFieldsTest, LoadSizeAndPartialCoefficientTakeEveryPointAsTheDecimalMark) {
    run({"show Loads | set cmbLastType=Punktlast | do VisLast",
         "enter txtLastStorrelse=12.5 | txtLastStorrelse=12,50 | db inddatalast.Størrelse=12.5 | runs=1",
         "enter txtLastStorrelse=-3 | msg=Lasten størrelse skal være positiv | runs=1",
         "enter txtLastStorrelse=1.500 | txtLastStorrelse=1,50", "enter txtPartialK=1.3 | txtPartialK=1,30",
         "enter txtPartialK=-0,1 | msg=Partialkoefficient skal være positiv", "enter txtPartialK=0 | runs=0"});
}

TEST_F(NumericFieldsTest, UserDefinedSlabValuesMustNotBeNegative) {
    run({"show Slab | set cmbDaekType=Brugerdefineret | busy 1 | do OpdaterDaekType | busy 0"});
    for (const char *row :
         {"txtDaekTrykstyrke|Regningsmæssig trykstyrke", "txtDaekTraekstyrke|Regningsmæssig trækstyrke",
          "txtDaekEo|E(korttid)", "txtDaekEn|E(langtid)", "txtDaekGo|G(korttid)", "txtDaekGn|G(langtid)"}) {
        const QStringList box = QString::fromUtf8(row).split('|');
        run({"enter " + box[0] + "=-1 | msg=" + box[1] + " skal være positiv | runs=0", "enter " + box[0] + "=0"});
    }
    run({"enter txtDaekGn=432,5 | txtDaekGn=433",
         // An emptied box becomes zero in its pattern.
         "set txtDaekTrykstyrke=3 | enter txtDaekTrykstyrke= | txtDaekTrykstyrke=0,00",
         "set txtDaekEo=3 | enter txtDaekEo= | txtDaekEo=0",
         // Two refused boxes do not send the focus to each other without end: the box the focus only passed
         // through is tested when the user leaves it.
         "focus txtDaekTykkelse | set txtDaekEn=-1 | enter txtDaekEo=-1 | msg=E(korttid) skal være positiv | "
         "focus=txtDaekEo",
         "enter txtDaekEo=5 | focus=txtDaekEn"});
    uitest::keyClick(m->txtDaekEn, Qt::Key_Tab);
    EXPECT_EQ(shownTexts(), std::vector<QString>{"E(langtid) skal være positiv"});
}

TEST_F(NumericFieldsTest, AnErrorWhileLeavingIsReportedForTheWindow) {
    // The sketch's commit cannot store the crack width's text.
    run({"show Slab | set txtRevnevidde=x",
         "enter txtDaekTykkelse=100 | msg~Function: frmMain, Log nr. 155 | msg~Fejlnr.: 13"});
}

} // namespace
