#include "main_window_fixture.h"
#include "ui/controls.h"

using uitest::MainWindowTest;

namespace {

TEST_F(MainWindowTest, EachLookUpCopiesItsColumnsAsRegionalText) {
    load();
    ui::SetListText(w->cmbMKlasse, "Moderat");
    w->HentDaeklag();
    EXPECT_EQ(w->txtDaeklag->text(), "25");
    EXPECT_EQ(w->txtRevnevidde->text(), "0,3");

    ui::SetListText(w->cmbMellemlagType, "Letklinker 10-20 mm");
    w->HentMellemlag();
    EXPECT_EQ(w->txtMellemlagKorr->text(), "1");
    EXPECT_EQ(w->txtMellemlagLambda->text(), "0,12");

    ui::SetListText(w->cmbDaekType, "OSB/3, 22 mm");
    w->HentDaekType();
    EXPECT_EQ(w->txtDaekTraekstyrke->text(), "3,98");
    EXPECT_EQ(w->txtDaekTrykstyrke->text(), "3,98");
    EXPECT_EQ(w->txtDaekEo->text(), "3120");
    EXPECT_EQ(w->txtDaekEn->text(), "1248");
    EXPECT_EQ(w->txtDaekGo->text(), "1080");
    EXPECT_EQ(w->txtDaekGn->text(), "432");
    EXPECT_EQ(w->txtDaekTykkelse->text(), "22");

    ui::SetListText(w->cmbTerraenType, QString::fromUtf8("Moræneler"));
    w->HentTerraen();
    EXPECT_EQ(w->txtTerraenBallast->text(), "30000");

    // The short-term modulus Ekort goes to Eo, the long-term Elang to En.
    ui::SetListText(w->cmbIsoleringType, "EPS 100");
    w->HentIsolering();
    EXPECT_EQ(w->txtIsolZo->text(), "50");
    EXPECT_EQ(w->txtIsolZn->text(), "30");
    EXPECT_EQ(w->txtIsolLambdaT->text(), "0,037");
    EXPECT_EQ(w->txtIsolLambdaV->text(), "0,045");
    EXPECT_EQ(w->txtIsolEo->text(), "4000");
    EXPECT_EQ(w->txtIsolEn->text(), "1500");
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(MainWindowTest, TheFirstRowInRkFlgOrderWinsOverLaterRowsWithTheSameKey) {
    modMain::cnParam.Execute(QString::fromUtf8(
        "INSERT INTO txtDaekLag (RkFlg, Miljøklasse, tykkelse, Wmax) VALUES (0, 'Aggressiv', 40, 0.1)"));
    modMain::cnParam.Execute(
        QString::fromUtf8("INSERT INTO txtDaekLag (RkFlg, Miljøklasse, tykkelse, Wmax) VALUES (9, 'Passiv', 99, 0.5)"));
    load();
    ui::SetListText(w->cmbMKlasse, "Aggressiv");
    w->HentDaeklag();
    EXPECT_EQ(w->txtDaeklag->text(), "40");
    EXPECT_EQ(w->txtRevnevidde->text(), "0,1");
    ui::SetListText(w->cmbMKlasse, "Passiv");
    w->HentDaeklag();
    EXPECT_EQ(w->txtDaeklag->text(), "15");
    EXPECT_EQ(w->txtRevnevidde->text(), "0");
    // The next search starts from the first row again.
    ui::SetListText(w->cmbMKlasse, "Aggressiv");
    w->HentDaeklag();
    EXPECT_EQ(w->txtDaeklag->text(), "40");
}

TEST_F(MainWindowTest, NoMatchingRowWritesNothing) {
    load();
    w->txtTerraenBallast->setText("12345");
    for (const char *key : {"", "Brugerdefineret", "moræneler", "Moræne"}) {
        ui::SetListText(w->cmbTerraenType, QString::fromUtf8(key));
        w->HentTerraen();
        EXPECT_EQ(w->txtTerraenBallast->text(), "12345") << key;
    }
    ui::SetListText(w->cmbIsoleringType, "<ingen isolering>");
    w->txtIsolEo->setText("1");
    w->HentIsolering();
    EXPECT_EQ(w->txtIsolEo->text(), "1");
    // An empty table matches nothing either.
    modMain::cnParam.Execute(QString::fromUtf8("DELETE FROM txtTerræn"));
    w.reset();
    load();
    w->txtTerraenBallast->setText("7");
    ui::SetListText(w->cmbTerraenType, QString::fromUtf8("Moræneler"));
    w->HentTerraen();
    EXPECT_EQ(w->txtTerraenBallast->text(), "7");
}

TEST_F(MainWindowTest, ANullValueRaisesAfterTheBoxesBeforeItWereWritten) {
    modMain::cnParam.Execute(
        QString::fromUtf8("INSERT INTO txtDaekLag (RkFlg, Miljøklasse, tykkelse, Wmax) VALUES (0, 'Tør', 20, NULL)"));
    load();
    w->txtRevnevidde->setText("0,2");
    ui::SetListText(w->cmbMKlasse, QString::fromUtf8("Tør"));
    EXPECT_EQ(uitest::raised([&] { w->HentDaeklag(); }), engine::err::InvalidUseOfNull);
    EXPECT_EQ(w->LogNr, 363);
    EXPECT_EQ(w->txtDaeklag->text(), "20");
    EXPECT_EQ(w->txtRevnevidde->text(), "0,2");
}

TEST_F(MainWindowTest, LookedUpValuesAreStoredWithTheRecordAtTheNextCommit) {
    show();
    ui::SetListText(w->cmbIsoleringType, "XPS 300");
    w->HentIsolering();
    w->GemInddata();
    EXPECT_EQ(stored("inddataisolering", "Eo"), engine::Variant(15000.0));
    EXPECT_EQ(stored("inddataisolering", "Zigman"), engine::Variant(130.0));
    EXPECT_EQ(stored("inddataisolering", QString::fromUtf8("LambdaVåd")), engine::Variant(0.041));
}

} // namespace
