#include "page_fixture.h"
#include "ui/numeric_fields.h"

using uitest::PageTest;

namespace {

class NumericFieldsTest : public PageTest {
protected:
    // Leaves box with text typed in and returns the messages it gave.
    std::vector<QString> leave(QLineEdit *box, const QString &typed) {
        messages->shown.clear();
        enter(box, typed);
        return shownTexts();
    }
    static std::vector<QString> none() { return {}; }
    static std::vector<QString> one(const char *text) { return {QString::fromUtf8(text)}; }
};

TEST_F(NumericFieldsTest, TextThatIsNoNumberIsRefusedAndKeptWithoutARedraw) {
    showPage(Page::Slab);
    EXPECT_EQ(leave(m->txtDaekTykkelse, "abc"), one("Feltet kan kun indeholde numeriske værdier."));
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::None);
    EXPECT_EQ(messages->shown[0].buttons, platform::Buttons::Ok);
    EXPECT_EQ(m->txtDaekTykkelse->text(), "abc");
    EXPECT_EQ(focused(), m->txtDaekTykkelse);
    EXPECT_EQ(m->sketchRuns, 0);
}

TEST_F(NumericFieldsTest, SlabThicknessBoundsDependOnTheSlabTypeAndEveryNumberRedraws) {
    store("inddata", "daekType", "Beton");
    showPage(Page::Slab);
    const auto beton = one("Tykkelsen på dækket skal være min. 25 mm og max. 10.000 mm");
    EXPECT_EQ(leave(m->txtDaekTykkelse, "24,6"), none());
    EXPECT_EQ(m->txtDaekTykkelse->text(), "25");
    EXPECT_EQ(m->sketchRuns, 1);
    EXPECT_EQ(leave(m->txtDaekTykkelse, "24"), beton);
    EXPECT_EQ(focused(), m->txtDaekTykkelse);
    EXPECT_EQ(m->sketchRuns, 1);
    // The redraw commits the refused value too.
    EXPECT_EQ(stored("inddata", QString::fromUtf8("dæktykkelse")), engine::Variant(24.0));
    EXPECT_EQ(leave(m->txtDaekTykkelse, "10001"), beton);
    EXPECT_EQ(m->sketchRuns, 1);
    EXPECT_EQ(leave(m->txtDaekTykkelse, "10000"), none());

    ui::SetListText(m->cmbDaekType, "Brugerdefineret");
    EXPECT_EQ(leave(m->txtDaekTykkelse, "24"), none());
    EXPECT_EQ(leave(m->txtDaekTykkelse, "0,4"), none()); // rounds to 0, which means "not given"
    EXPECT_EQ(leave(m->txtDaekTykkelse, "10001"), one("Tykkelsen på dækket skal være min. 1 mm og max. 10.000 mm"));
}

TEST_F(NumericFieldsTest, LayerThicknessesRedrawOnlyWhenAccepted) {
    showPage(Page::Layers);
    EXPECT_EQ(leave(m->txtIsoleringTykkelse, "20000"), one("Tykkelsen på isoleringslaget skal være min. 1 mm og max. "
                                                           "10.000 mm."));
    EXPECT_EQ(m->sketchRuns, 0);
    EXPECT_EQ(leave(m->txtIsoleringTykkelse, "0"), none());
    EXPECT_EQ(m->sketchRuns, 1);

    ui::SetListText(m->cmbMellemlagType, "Stabilgrus");
    m->opdaterer() = 1;
    m->OpdaterMellemlag();
    m->opdaterer() = 0;
    EXPECT_EQ(leave(m->txtMellemlagTykkelse, "10000,5"),
              one("Tykkelsen på mellemlaget skal være min. 1 mm og max. 10.000 mm."));
    EXPECT_EQ(m->txtMellemlagTykkelse->text(), "10001"); // the display pattern rounds a half away from zero
    EXPECT_EQ(m->sketchRuns, 0);
    EXPECT_EQ(leave(m->txtMellemlagTykkelse, "1"), none());
    EXPECT_EQ(m->sketchRuns, 1);

    EXPECT_EQ(leave(m->txtTerraenBallast, "-5"), one("Terrænets ballasttal skal være positivt"));
    EXPECT_EQ(m->sketchRuns, 1);
}

TEST_F(NumericFieldsTest, LoadPairSpacingLiesBetweenItsBoundsOrIsZero) {
    showPage(Page::Loads);
    ui::SetListText(m->cmbLastType, "Lastpar");
    m->VisLast(*m->dataLast);
    const auto refused = one("Afstand mellem laster skal være mellem 0,7 m og 6,0 m");
    EXPECT_EQ(leave(m->txtAfstandLastpar, "0"), none());
    EXPECT_EQ(m->txtAfstandLastpar->text(), "0,00");
    EXPECT_EQ(leave(m->txtAfstandLastpar, "0,69"), refused);
    EXPECT_EQ(leave(m->txtAfstandLastpar, "0,7"), none());
    EXPECT_EQ(m->txtAfstandLastpar->text(), "0,70");
    EXPECT_EQ(leave(m->txtAfstandLastpar, "6"), none());
    EXPECT_EQ(leave(m->txtAfstandLastpar, "6,01"), refused);
    EXPECT_EQ(leave(m->txtAfstandLastpar, "6,004"), none()); // 6,00 in two decimals
    EXPECT_EQ(m->sketchRuns, 0);
}

TEST_F(NumericFieldsTest, LoadDimensionsFollowTheLoadTypeAndShape) {
    showPage(Page::Loads);
    ui::SetListText(m->cmbLastType, "Punktlast");
    m->VisLast(*m->dataLast);
    choose(m->cmbLastForm, "Rektangel");
    // Here a point is no decimal mark: with a decimal comma "1.5" is no number.
    EXPECT_EQ(leave(m->txtLastFormBredde, "1.5"), one("Feltet kan kun indeholde numeriske værdier."));
    EXPECT_EQ(m->txtLastFormBredde->text(), "1.5");
    EXPECT_EQ(leave(m->txtLastFormBredde, "400"), none());
    EXPECT_EQ(leave(m->txtLastFormLaengde, "500"), none());
    EXPECT_EQ(leave(m->txtLastFormLaengde, "501"), one("Længden på lasten skal angives og må max. være 500 mm"));
    EXPECT_EQ(leave(m->txtLastFormLaengde, "300"), none());

    ui::SetListText(m->cmbLastType, "Lastpar");
    EXPECT_EQ(leave(m->txtLastFormBredde, "400"), one("Bredden på lasten skal angives og må max. være 300 mm"));
    EXPECT_EQ(leave(m->txtLastFormBredde, "300"), none());
    EXPECT_EQ(leave(m->txtLastFormLaengde, "301"), one("Længden på lasten skal angives og må max. være 300 mm"));
    EXPECT_EQ(leave(m->txtLastFormLaengde, "0"), none());
    choose(m->cmbLastForm, "Cirkel");
    EXPECT_EQ(leave(m->txtLastFormBredde, "400"), one("Diameter på lasten skal angives og må max. være 300 mm"));
    ui::SetListText(m->cmbLastType, "Hjultryk");
    EXPECT_EQ(leave(m->txtLastFormBredde, "501"), one("Diameter på lasten skal angives og må max. være 500 mm"));
    EXPECT_EQ(leave(m->txtLastFormBredde, "500"), none());

    choose(m->cmbLastPlacering, "Kant");
    EXPECT_EQ(leave(m->txtLastKantFugeAfstand, "5600"), none());
    EXPECT_EQ(leave(m->txtLastKantFugeAfstand, "5601"),
              one("Afstand fra kant/fuge skal angives og må max. være 5600 mm"));
    EXPECT_EQ(m->txtLastKantFugeAfstand->text(), "5601");
    EXPECT_EQ(focused(), m->txtLastKantFugeAfstand);
}

TEST_F(NumericFieldsTest, LoadSizeAndPartialCoefficientTakeAPointAsDecimalMark) {
    showPage(Page::Loads);
    ui::SetListText(m->cmbLastType, "Punktlast");
    m->VisLast(*m->dataLast);
    EXPECT_EQ(leave(m->txtLastStorrelse, "12.5"), none());
    EXPECT_EQ(m->txtLastStorrelse->text(), "12,50");
    EXPECT_EQ(stored("inddatalast", QString::fromUtf8("Størrelse")), engine::Variant(12.5));
    EXPECT_EQ(m->sketchRuns, 1);
    EXPECT_EQ(leave(m->txtLastStorrelse, "-3"), one("Lasten størrelse skal være positiv"));
    EXPECT_EQ(m->sketchRuns, 1);
    EXPECT_EQ(leave(m->txtLastStorrelse, "1.500"), none()); // every point is the decimal mark
    EXPECT_EQ(m->txtLastStorrelse->text(), "1,50");

    EXPECT_EQ(leave(m->txtPartialK, "1.3"), none());
    EXPECT_EQ(m->txtPartialK->text(), "1,30");
    EXPECT_EQ(leave(m->txtPartialK, "-0,1"), one("Partialkoefficient skal være positiv"));
    EXPECT_EQ(leave(m->txtPartialK, "0"), none());
    EXPECT_EQ(m->sketchRuns, 0);
}

TEST_F(NumericFieldsTest, SlabValuesMustNotBeNegative) {
    showPage(Page::Slab);
    ui::SetListText(m->cmbDaekType, "Brugerdefineret");
    m->opdaterer() = 1;
    m->OpdaterDaekType();
    m->opdaterer() = 0;
    const std::pair<QLineEdit *, const char *> boxes[] = {
        {m->txtDaekTrykstyrke, "Regningsmæssig trykstyrke skal være positiv"},
        {m->txtDaekTraekstyrke, "Regningsmæssig trækstyrke skal være positiv"},
        {m->txtDaekEo, "E(korttid) skal være positiv"},
        {m->txtDaekEn, "E(langtid) skal være positiv"},
        {m->txtDaekGo, "G(korttid) skal være positiv"},
        {m->txtDaekGn, "G(langtid) skal være positiv"}};
    for (const auto &[box, message] : boxes) {
        EXPECT_EQ(leave(box, "-1"), one(message));
        EXPECT_EQ(m->sketchRuns, 0);
        EXPECT_EQ(leave(box, "0"), none());
    }
    EXPECT_EQ(leave(m->txtDaekGn, "432,5"), none());
    EXPECT_EQ(m->txtDaekGn->text(), "433");
    // An emptied box becomes zero in its pattern.
    m->txtDaekTrykstyrke->setText("3");
    m->txtDaekEo->setText("3");
    EXPECT_EQ(leave(m->txtDaekTrykstyrke, ""), none());
    EXPECT_EQ(m->txtDaekTrykstyrke->text(), "0,00");
    EXPECT_EQ(leave(m->txtDaekEo, ""), none());
    EXPECT_EQ(m->txtDaekEo->text(), "0");
}

TEST_F(NumericFieldsTest, TwoRefusedBoxesDoNotSendTheFocusToEachOtherWithoutEnd) {
    showPage(Page::Slab);
    ui::SetListText(m->cmbDaekType, "Brugerdefineret");
    m->opdaterer() = 1;
    m->OpdaterDaekType();
    m->opdaterer() = 0;
    m->txtDaekEn->setText("-1"); // as a project file may bring it
    EXPECT_EQ(leave(m->txtDaekEo, "-1"), one("E(korttid) skal være positiv"));
    EXPECT_EQ(focused(), m->txtDaekEo);
    // The box the focus only passed through is tested when the user leaves it.
    EXPECT_EQ(leave(m->txtDaekEo, "5"), none());
    ASSERT_EQ(focused(), m->txtDaekEn);
    uitest::processEvents();
    uitest::keyClick(m->txtDaekEn, Qt::Key_Tab);
    EXPECT_EQ(shownTexts(), one("E(langtid) skal være positiv"));
}

TEST_F(NumericFieldsTest, AnErrorWhileLeavingIsReportedForTheWindow) {
    showPage(Page::Slab);
    m->txtRevnevidde->setText("x"); // the sketch's commit cannot store this
    leave(m->txtDaekTykkelse, "100");
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
    EXPECT_TRUE(messages->shown[0].text.contains("Function: frmMain, Log nr. 155"));
    EXPECT_TRUE(messages->shown[0].text.contains(QString::fromUtf8("Fejlnr.: 13")));
}

} // namespace
