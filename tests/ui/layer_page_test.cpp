#include "page_fixture.h"

using uitest::PageTest;

namespace {

using LayerPageTest = PageTest;

TEST_F(LayerPageTest, NoInsulationSetsTheNeutralValuesAndMovesOnToTheIntermediateLayer) {
    store("inddataisolering", "IsoleringType", "EPS 100");
    store("inddataisolering", "IsoleringTykkelse", 200);
    showPage(Page::Layers);
    choose(m->cmbIsoleringType, "<ingen isolering>");
    EXPECT_EQ(m->txtIsoleringType->text(), "");
    EXPECT_EQ(m->txtIsoleringTykkelse->text(), "0");
    for (QLineEdit *box : {m->txtIsolZo, m->txtIsolZn, m->txtIsolLambdaT, m->txtIsolLambdaV})
        EXPECT_EQ(box->text(), "0") << box->objectName().toStdString();
    EXPECT_EQ(m->txtIsolEo->text(), "1");
    EXPECT_EQ(m->txtIsolEn->text(), "1");
    EXPECT_EQ(focused(), m->cmbMellemlagType);
    EXPECT_EQ(m->sketchRuns, 1);
    // The sketch run stored the layer as no layer.
    EXPECT_EQ(stored("inddataisolering", "IsoleringType"), engine::Variant(""));
    EXPECT_EQ(stored("inddataisolering", "Eo"), engine::Variant(1.0));
}

TEST_F(LayerPageTest, AProductKeepsTheThicknessAndFillsItsValues) {
    showPage(Page::Layers);
    m->txtIsoleringTykkelse->setText("150");
    choose(m->cmbIsoleringType, "EPS 100");
    EXPECT_EQ(m->txtIsoleringType->text(), "EPS 100");
    EXPECT_EQ(m->txtIsoleringTykkelse->text(), "150");
    EXPECT_EQ(m->txtIsolEo->text(), "4000");
    EXPECT_EQ(focused(), m->txtIsoleringTykkelse);
    EXPECT_EQ(m->sketchRuns, 1);

    // It redraws even while another refresh runs.
    m->opdaterer() = 1;
    m->OpdaterIsolering();
    EXPECT_EQ(m->sketchRuns, 2);
    m->opdaterer() = 0;
}

TEST_F(LayerPageTest, AnEmptyIntermediateLayerBecomesNone) {
    store("inddata", "mellemlag", "Stabilgrus");
    store("inddata", "mellemlagtykkelse", 150);
    showPage(Page::Layers);
    m->OpdaterMellemlag();
    EXPECT_TRUE(ui::Visible(m->txtMellemlagTykkelse));
    EXPECT_EQ(m->txtMellemlagKorr->text(), "1,3");
    EXPECT_EQ(m->txtMellemlagTykkelse->text(), "150");
    EXPECT_EQ(focused(), m->txtMellemlagTykkelse);

    m->sketchRuns = 0;
    ui::SetListText(m->cmbMellemlagType, "");
    m->OpdaterMellemlag();
    EXPECT_EQ(ui::ListText(m->cmbMellemlagType), "Intet");
    EXPECT_FALSE(ui::Visible(m->txtMellemlagTykkelse));
    EXPECT_FALSE(ui::Visible(m->lblMellemlagTykkelseEnhed));
    EXPECT_EQ(m->txtMellemlagTykkelse->text(), "0");
    EXPECT_EQ(m->txtMellemlagKorr->text(), "1");
    EXPECT_EQ(m->txtMellemlagLambda->text(), "0");
    EXPECT_EQ(focused(), m->cmbTerraenType);
    EXPECT_EQ(m->sketchRuns, 2); // its own, and the thickness box's when the focus left it
}

TEST_F(LayerPageTest, WhileItsFrameIsHiddenTheIntermediateLayerKeepsTheFocus) {
    showPage(Page::Slab);
    m->cmbDaekType->setFocus();
    uitest::processEvents();
    m->opdaterer() = 1;
    ui::SetListText(m->cmbMellemlagType, "Letklinker 10-20 mm");
    m->OpdaterMellemlag();
    EXPECT_EQ(m->txtMellemlagLambda->text(), "0,12");
    EXPECT_EQ(focused(), m->cmbDaekType);
    EXPECT_EQ(m->sketchRuns, 0);
    m->opdaterer() = 0;
}

TEST_F(LayerPageTest, ATableTerrainLocksItsModulusAndUserDefinedOpensIt) {
    store("inddata", QString::fromUtf8("terræn"), "Brugerdefineret");
    store("inddata", QString::fromUtf8("terrænballast"), 22000);
    showPage(Page::Layers);
    m->OpdaterTerraen();
    EXPECT_FALSE(m->txtTerraenBallast->isReadOnly());
    EXPECT_EQ(m->txtTerraenBallast->text(), "22000");

    m->cmbIsoleringType->setFocus();
    uitest::processEvents();
    choose(m->cmbTerraenType, QString::fromUtf8("Moræneler"));
    EXPECT_EQ(m->txtTerraenBallast->text(), "30000");
    EXPECT_TRUE(m->txtTerraenBallast->isReadOnly());
    EXPECT_EQ(focused(), m->cmbIsoleringType); // the terrain moves no focus

    choose(m->cmbTerraenType, "Brugerdefineret");
    EXPECT_FALSE(m->txtTerraenBallast->isReadOnly());
    EXPECT_EQ(m->txtTerraenBallast->text(), "30000");
    EXPECT_EQ(m->sketchRuns, 3);

    m->opdaterer() = 1;
    m->OpdaterTerraen();
    EXPECT_EQ(m->sketchRuns, 3);
    m->opdaterer() = 0;
}

} // namespace
