#include "calc/design_input.h"
#include "main_window_fixture.h"
#include "ui/command_button.h"
#include "ui/controls.h"

#include <QApplication>
#include <QMetaObject>

using engine::Variant;
using uitest::MainWindowTest;

namespace {

class NavigationTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        showLoadPage();
    }

    QString focused() const {
        QWidget *f = QApplication::focusWidget();
        return f ? f->objectName() : QString();
    }

    // Page 1, 2 or 3 as the frames show it, 0 when the frames disagree.
    int page() const {
        const bool last = w->frmLast->isVisible(), daek = w->frmDaek->isVisible();
        const bool lag = w->frmIsolering->isVisible() && w->frmMellemlag->isVisible() && w->frmTerraen->isVisible();
        const bool anyLag = w->frmIsolering->isVisible() || w->frmMellemlag->isVisible() || w->frmTerraen->isVisible();
        if (last && !daek && !anyLag)
            return 1;
        if (daek && !last && !anyLag)
            return 2;
        if (lag && !last && !daek)
            return 3;
        return 0;
    }
    void expectButtons(bool forrige, bool naeste) const {
        EXPECT_EQ(w->btnForrige->isEnabled(), forrige);
        EXPECT_EQ(w->btnNaeste->isEnabled(), naeste);
        EXPECT_TRUE(w->btnBeregning->isEnabled());
    }

    void toLayerPage() {
        uitest::mouseClick(w->btnNaeste);
        uitest::mouseClick(w->btnNaeste);
        ASSERT_EQ(page(), 3);
        w->calls.clear();
        messages->shown.clear();
    }
};

TEST_F(NavigationTest, NextAndPreviousWalkThePagesWithTheButtonsFollowing) {
    EXPECT_EQ(page(), 1);
    expectButtons(false, true);

    uitest::mouseClick(w->btnNaeste);
    EXPECT_EQ(page(), 2);
    expectButtons(true, true);
    EXPECT_EQ(focused(), "cmbDaekType");
    EXPECT_EQ(w->calls, std::vector<QString>({"OpdaterDaekType", "FormaterDaek"}));

    w->calls.clear();
    uitest::mouseClick(w->btnNaeste);
    EXPECT_EQ(page(), 3);
    expectButtons(true, false);
    EXPECT_EQ(focused(), "cmbIsoleringType");
    EXPECT_EQ(w->calls,
              std::vector<QString>({"OpdaterMellemlag", "OpdaterTerraen", "FormaterDaek", "FormaterIsolering"}));

    // The layer page's own check needs an intermediate layer.
    ui::SetListText(w->cmbMellemlagType, "Intet");
    w->calls.clear();
    uitest::keyClick(w.get(), Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(page(), 2);
    expectButtons(true, true);
    EXPECT_EQ(focused(), "cmbDaekType");
    EXPECT_EQ(w->calls, std::vector<QString>({"OpdaterDaekType", "FormaterDaek"}));

    w->calls.clear();
    uitest::keyClick(w.get(), Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(page(), 1);
    expectButtons(false, true);
    EXPECT_EQ(focused(), "cmbLastType");
    EXPECT_EQ(w->calls, std::vector<QString>({"VisLast 1", "FormaterLast"}));
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(NavigationTest, BackFromTheSlabPageShowsTheLoadThatWasShownBefore) {
    store("inddatalast", "Lasttype", QStringLiteral("Fladelast"), 2);
    store("inddatalast", QString::fromUtf8("Størrelse"), 5.0, 2);
    w->Form_Activate();
    uitest::mouseClick(w->btnMoveLast[1]);
    uitest::mouseClick(w->btnMoveLast[1]);
    ASSERT_EQ(w->txtLastNr->text(), "3");
    ASSERT_EQ(w->cmbLastType->currentText(), "Fladelast");
    uitest::mouseClick(w->btnNaeste);
    w->calls.clear();
    uitest::mouseClick(w->btnForrige);
    EXPECT_EQ(page(), 1);
    EXPECT_EQ(w->txtLastNr->text(), "3");
    EXPECT_EQ(w->cmbLastType->currentText(), "Fladelast");
    EXPECT_EQ(w->txtLastStorrelse->text(), "5");
    EXPECT_EQ(w->calls, std::vector<QString>({"VisLast 3", "FormaterLast"}));
}

TEST_F(NavigationTest, AFailingLoadCheckKeepsThePageTheRecordAndTheFields) {
    ui::SetListText(w->cmbLastType, "Punktlast");
    w->txtLastStorrelse->setText("3");
    uitest::keyClick(w.get(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(page(), 1);
    EXPECT_EQ(shownTexts(), std::vector<QString>({"Lastformen skal angives"}));
    EXPECT_EQ(focused(), "cmbLastForm");
    EXPECT_EQ(w->txtLastStorrelse->text(), "3");
    EXPECT_EQ(stored("inddatalast", QString::fromUtf8("Størrelse")), Variant(0.0));
    // The list's LostFocus ran first, on the way to the button.
    EXPECT_EQ(w->calls, std::vector<QString>({"VisLast 1"}));
}

TEST_F(NavigationTest, TheAccessKeysRunTheLostFocusOfANumberBoxFirst) {
    store("inddatalast", "Lasttype", QStringLiteral("Fladelast"));
    w->Form_Activate();
    w->txtLastStorrelse->setFocus();
    uitest::processEvents();
    uitest::keyClicks(w->txtLastStorrelse, "abc");
    uitest::keyClick(w.get(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(shownTexts(), std::vector<QString>({"Feltet kan kun indeholde numeriske værdier."}));
    EXPECT_EQ(page(), 1);
    EXPECT_EQ(focused(), "txtLastStorrelse");

    messages->shown.clear();
    w->txtLastStorrelse->selectAll();
    uitest::keyClicks(w->txtLastStorrelse, "2.5");
    uitest::keyClick(w.get(), Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(page(), 2);
    EXPECT_EQ(stored("inddatalast", QString::fromUtf8("Størrelse")), Variant(2.5));
}

TEST_F(NavigationTest, NextFromTheLoadPageLetsPendingEventsRunOnceAfterTheCheckAndCommitsTheLoad) {
    w->txtLastStorrelse->setText("7");
    QMetaObject::invokeMethod(
        w.get(),
        [this] {
            w->calls.push_back("queued");
            // Not yet committed when the events run.
            w->calls.push_back(stored("inddatalast", QString::fromUtf8("Størrelse")).toString());
        },
        Qt::QueuedConnection);
    w->btnNaeste_Click();
    EXPECT_EQ(w->calls, std::vector<QString>({"queued", "0", "OpdaterDaekType", "FormaterDaek"}));
    EXPECT_EQ(stored("inddatalast", QString::fromUtf8("Størrelse")), Variant(7.0));

    // A failing check lets nothing run.
    w->btnForrige_Click();
    ui::SetListText(w->cmbLastType, "Punktlast");
    w->calls.clear();
    QMetaObject::invokeMethod(
        w.get(), [this] { w->calls.push_back("queued"); }, Qt::QueuedConnection);
    w->btnNaeste_Click();
    EXPECT_EQ(std::count(w->calls.begin(), w->calls.end(), "queued"), 0);
    uitest::processEvents();
    EXPECT_EQ(std::count(w->calls.begin(), w->calls.end(), "queued"), 1);
}

TEST_F(NavigationTest, TheSlabPageCheckStopsNextAndPreviousAndAnEmptySlabTypePasses) {
    uitest::mouseClick(w->btnNaeste);
    ui::SetListText(w->cmbDaekType, "Beton");
    w->btnNaeste_Click();
    EXPECT_EQ(shownTexts(), std::vector<QString>({"Sikkerhedsklasse skal angives"}));
    EXPECT_EQ(focused(), "cmbDaekSikkerhedsklasse");
    w->btnForrige_Click();
    EXPECT_EQ(messages->shown.size(), 2u);
    EXPECT_EQ(page(), 2);
    expectButtons(true, true);

    messages->shown.clear();
    ui::SetListText(w->cmbDaekType, "");
    w->txtDaekTrykstyrke->setText("12");
    w->btnNaeste_Click();
    EXPECT_EQ(page(), 3);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(stored("inddata", "TrykstyrkeRgm"), Variant(12.0));
}

TEST_F(NavigationTest, BackFromTheLayerPageNeedsTheLayerAndTheTerrain) {
    toLayerPage();
    ui::SetListText(w->cmbMellemlagType, "Intet");
    // No terrain chosen passes.
    uitest::mouseClick(w->btnForrige);
    EXPECT_EQ(page(), 2);
    EXPECT_TRUE(messages->shown.empty());
    expectButtons(true, true);
    EXPECT_EQ(w->calls, std::vector<QString>({"OpdaterDaekType", "FormaterDaek"}));

    uitest::mouseClick(w->btnNaeste);
    ui::SetListText(w->cmbTerraenType, "Brugerdefineret");
    w->txtTerraenBallast->setText("0");
    uitest::mouseClick(w->btnForrige);
    EXPECT_EQ(page(), 3);
    EXPECT_EQ(shownTexts(), std::vector<QString>({"Terrænets ballasttal skal skal være positiv"}));
    EXPECT_EQ(focused(), "txtTerraenBallast");

    messages->shown.clear();
    w->txtTerraenBallast->setText("20000");
    ui::SetListText(w->cmbIsoleringType, "EPS 80");
    w->txtIsoleringTykkelse->setText("100");
    uitest::mouseClick(w->btnForrige);
    EXPECT_EQ(page(), 2);
    EXPECT_TRUE(messages->shown.empty());
    // Both records were written on the way back.
    EXPECT_EQ(stored("inddataisolering", "IsoleringTykkelse"), Variant(100.0));
    EXPECT_EQ(stored("inddata", QString::fromUtf8("terrænballast")), Variant(20000.0));
}

TEST_F(NavigationTest, LoadMovesVisitAllTenRecordsInTurnAndWrap) {
    store("inddatalast", "Lasttype", QStringLiteral("Fladelast"), 9);
    store("inddatalast", QString::fromUtf8("Størrelse"), 2.5, 9);
    w->Form_Activate();
    w->calls.clear();
    uitest::mouseClick(w->btnMoveLast[0]);
    EXPECT_EQ(w->txtLastNr->text(), "10");
    EXPECT_EQ(w->cmbLastType->currentText(), "Fladelast");
    EXPECT_EQ(w->calls, std::vector<QString>({"FormaterLast", "VisLast 10"}));
    QStringList visited;
    for (int i = 0; i < 10; ++i) {
        uitest::keyClick(w.get(), Qt::Key_Greater, Qt::AltModifier, ">");
        visited << w->txtLastNr->text();
    }
    EXPECT_EQ(visited, QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(w->cmbLastType->currentText(), "Fladelast");
    uitest::mouseClick(w->btnMoveLast[1]);
    EXPECT_EQ(w->txtLastNr->text(), "1");
    EXPECT_EQ(w->cmbLastType->currentText(), "<ingen last>");
}

TEST_F(NavigationTest, ALoadMoveCommitsTheLoadLeftAndWaitsForItsCheck) {
    w->txtLastStorrelse->setText("4");
    uitest::mouseClick(w->btnMoveLast[1]);
    EXPECT_EQ(w->txtLastNr->text(), "2");
    EXPECT_EQ(stored("inddatalast", QString::fromUtf8("Størrelse")), Variant(4.0));

    ui::SetListText(w->cmbLastType, "Hjultryk");
    uitest::mouseClick(w->btnMoveLast[0]);
    EXPECT_EQ(shownTexts(), std::vector<QString>({"Lastformen skal angives"}));
    EXPECT_EQ(w->txtLastNr->text(), "2");
}

TEST_F(NavigationTest, LayerMovesAlternateAndAreBlockedOnlyByAChosenLayer) {
    store("inddataisolering", "IsoleringType", QStringLiteral("EPS 100"), 1);
    store("inddataisolering", "IsoleringTykkelse", 50.0, 1);
    w->Form_Activate();
    toLayerPage();
    w->txtIsoleringTykkelse->setText("0"); // no layer: the thickness is not tested
    uitest::mouseClick(w->btnMoveIsolering[1]);
    EXPECT_EQ(w->txtIsoleringNr->text(), "2");
    EXPECT_EQ(w->cmbIsoleringType->currentText(), "EPS 100");
    EXPECT_EQ(w->calls, std::vector<QString>({"FormaterIsolering"}));
    uitest::mouseClick(w->btnMoveIsolering[1]);
    EXPECT_EQ(w->txtIsoleringNr->text(), "1");
    EXPECT_EQ(w->cmbIsoleringType->currentText(), "<ingen isolering>");
    uitest::mouseClick(w->btnMoveIsolering[0]);
    EXPECT_EQ(w->txtIsoleringNr->text(), "2");
    EXPECT_TRUE(messages->shown.empty());

    ui::SetListText(w->cmbIsoleringType, "EPS 80");
    w->txtIsoleringTykkelse->setText("0");
    uitest::mouseClick(w->btnMoveIsolering[1]);
    EXPECT_EQ(shownTexts(), std::vector<QString>({"Tykkelsen på isolering skal være min. 1 mm og max. 10.000 mm."}));
    EXPECT_EQ(w->txtIsoleringNr->text(), "2");
    EXPECT_EQ(focused(), "txtIsoleringTykkelse");
}

TEST_F(NavigationTest, CommittingRewritesTheCrackWidthAndFormatsTheLoadBoxesOnlyAfterALoadEdit) {
    // The box shows 0; whatever the record holds since is written over from the box.
    store("inddata", "Revnevidde", 0.2);
    w->GemInddata();
    EXPECT_EQ(stored("inddata", "Revnevidde"), Variant(0.0));
    EXPECT_EQ(w->calls, std::vector<QString>({"FormaterDaek", "FormaterIsolering"}));

    w->calls.clear();
    w->txtPartialK->setText("1,35");
    w->txtIsoleringTykkelse->setText("80");
    w->GemInddata();
    EXPECT_EQ(w->calls, std::vector<QString>({"FormaterDaek", "FormaterIsolering", "FormaterLast"}));
    EXPECT_EQ(stored("inddatalast", "PartialK"), Variant(1.35));
    EXPECT_EQ(stored("inddataisolering", "IsoleringTykkelse"), Variant(80.0));
    EXPECT_EQ(w->dataLast->EditMode(), engine::adEditNone);
}

TEST_F(NavigationTest, ARunTimeErrorInAMoveIsReportedWithItsStatementNumber) {
    ui::SetListText(w->cmbLastType, "Punktlast");
    ui::SetListText(w->cmbLastForm, "Kvadrat");
    w->txtLastFormBredde->setText("abc");
    w->btnNaeste_Click();
    w->btnMoveLast_Click(1);
    ASSERT_EQ(messages->shown.size(), 2u);
    for (const auto &[shown, nr] : {std::pair{messages->shown[0], 746}, std::pair{messages->shown[1], 810}}) {
        const QStringList lines = shown.text.split(QChar(13));
        EXPECT_EQ(lines[1], QStringLiteral("Function: frmMain, Log nr. %1").arg(nr));
        EXPECT_EQ(lines[2], "Fejlnr.: 13, Type mismatch");
        EXPECT_EQ(shown.icon, platform::Icon::Critical);
    }
    EXPECT_EQ(page(), 1);
    EXPECT_EQ(w->txtLastNr->text(), "1");

    // A closed layer recordset: the error of the move itself.
    ui::SetListText(w->cmbLastType, "<ingen last>");
    w->txtLastFormBredde->setText("0");
    toLayerPage();
    messages->shown.clear();
    w->dataIsolering->Recordset().Close();
    w->btnMoveIsolering_Click(0);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text.split(QChar(13))[1], "Function: frmMain, Log nr. 821");
}

} // namespace
