// The three pages with their real procedures, driven as the user drives them: each test a script of steps.

#include "page_script.h"

namespace {

// Widget groups of the slab page.
#define CONCRETE                                                                                                       \
    "cmbDaekSikkerhedsklasse lblDaekSikkerhedsklasse cmbDaekKvalitet txtDaekTraekstyrkeKar cmbMKlasse txtDaeklag"
#define VALUES "txtDaekTrykstyrke txtDaekTraekstyrke txtDaekEo txtDaekEn txtDaekGo txtDaekGn"
#define CLEARED                                                                                                        \
    "txtDaekTrykstyrke txtDaekTraekstyrke txtDaekTraekstyrkeKar=0,00 | "                                               \
    "txtDaekTau txtDaekEo txtDaekEn txtDaekGo txtDaekGn txtDaekTykkelse=0"
#define C25 "choose cmbDaekType=Beton | choose cmbDaekSikkerhedsklasse=Normal | choose cmbDaekKvalitet=C25/30"

class SlabPageTest : public uitest::ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        // A strength that rounds to nothing and a safety class without a factor.
        modMain::cnParam.Execute("INSERT INTO txtBetonKvalitet (RkFlg, kvalitet, Styrke) VALUES (22, 'K0,4', 0.4)");
        modMain::cnParam.Execute("INSERT INTO txtSikkerhedsKlasse (RkFlg, Klasse, gamma) VALUES (9, 'Ukendt', NULL)");
    }
};

TEST_F(SlabPageTest, TypedBetonShowsTheConcreteGroupLocksTheValuesAndClearsThem) {
    run({"store inddata.Miljøklasse=Moderat | show Slab | do OpdaterDaekType | hidden=" CONCRETE,
         "pick cmbDaekType=beton | cmbDaekType=Beton | shown=" CONCRETE " | ro=" VALUES " | rw=txtDaekTykkelse | "
         "txtDaeklag=25 | txtRevnevidde=0,3 | " CLEARED " | runs=1 | focus=cmbDaekSikkerhedsklasse",
         // A class without a crack width hides it; the focus goes back to the slab type.
         "choose cmbMKlasse=Passiv | hidden=lblRevneviddeEnhed | focus=cmbDaekType"});
}

TEST_F(SlabPageTest, AQualityWithoutSafetyClassOrStrengthWarnsAndLeavesTheBoxes) {
    run({"show Slab | choose cmbDaekType=Beton | set txtDaekEo=123",
         "choose cmbDaekKvalitet=C25/30 | msg=Sikkerhedsklasse skal vælges ! | txtDaekEo=123 | focus=txtDaekTykkelse | "
         "runs=1",
         "choose cmbDaekSikkerhedsklasse=Ukendt | msg~Function: frmMain, Log nr. 441",
         "choose cmbDaekSikkerhedsklasse=Normal | choose cmbDaekKvalitet=K0,4 | msg=Fejl ved søgning af styrke ! | "
         "txtDaekEo=23487"});
}

TEST_F(SlabPageTest, NoQualityOrANewClassWithoutOneClearsTheValuesAndTheThickness) {
    run({"show Slab | " C25 " | set txtDaekTykkelse=150 | set cmbDaekKvalitet= | do OpdaterBetonKvalitet | " CLEARED
         " | focus=cmbDaekKvalitet",
         "set txtDaekTykkelse=150 | choose cmbDaekSikkerhedsklasse=Lav | " CLEARED " | focus=cmbDaekKvalitet"});
}

TEST_F(SlabPageTest, ATableTypeLocksEveryBoxAndAUserDefinedSlabOpensThem) {
    run({"show Slab | " C25 " | set txtDaekTykkelse=150 | focus cmbDaekType",
         "choose cmbDaekType=Spånplade P5, 22 mm | hidden=" CONCRETE " | ro=" VALUES " txtDaekTykkelse | "
         "txtDaekTraekstyrkeKar=0,00 | txtDaekTau=0 | cmbDaekKvalitet= | txtDaekEo=3000 | txtDaekTykkelse=22 | "
         "focus=cmbDaekType | runs=1 | do GemInddata | db inddata.Eo=3000 | db inddata.kvalitettext=''",
         "choose cmbDaekType=Brugerdefineret | rw=" VALUES " txtDaekTykkelse | cmbDaekKvalitet=Brugerdefineret | "
         "txtDaekTrykstyrke=0,00 | txtDaekEo txtDaekTykkelse=0 | focus=txtDaekTrykstyrke | runs=1",
         "set txtDaekEo=5000 | choose cmbDaekType=Brugerdefineret | txtDaekEo=5000 | rw=" VALUES,
         "set cmbDaekType= | do OpdaterDaekType | ro=" VALUES " txtDaekTykkelse | txtDaekEo=0 | focus=cmbDaekType"});
}

class LoadPageTest : public uitest::ScriptTest {};

TEST_F(LoadPageTest, AnAreaLoadHidesShapeDimensionsAndPlacement) {
    run({"store inddatalast.Lasttype=Hjultryk | store inddatalast.LastForm=Rektangel | "
         "store inddatalast.Placering=Fuge | store inddatalast.bredde=200 | store inddatalast.Afstandfra=400 | show "
         "Loads",
         "pick cmbLastType=flade | hidden=cmbLastForm lblLastForm txtLastFormBredde txtLastFormLaengde "
         "cmbLastPlacering "
         "txtLastKantFugeAfstand lblLastKantFugeAfstandEnhed | cmbLastForm cmbLastPlacering= | "
         "txtLastFormBredde txtLastKantFugeAfstand=0 | lblLastStorrelseEnhed_0=kN/m | lblLastStorrelseEnhed_1=2 | "
         "focus=txtLastStorrelse",
         "pick cmbLastType=hjul | lblLastStorrelseEnhed_0=kN | lblLastStorrelseEnhed_1=  | shown=cmbLastPlacering"});
    // The exponent stands right after the shorter unit again.
    EXPECT_EQ(m->lblLastStorrelseEnhed[1]->pos(),
              m->lblLastStorrelseEnhed[0]->pos() + QPoint(m->lblLastStorrelseEnhed[0]->width(), 0));
}

TEST_F(LoadPageTest, TheShapeDecidesTheDimensionFields) {
    // The record's values win over the boxes' own.
    run({"store inddatalast.Lasttype=Punktlast | store inddatalast.Størrelse=12.5 | store inddatalast.Afstand=1.255 | "
         "show Loads | set txtLastStorrelse=77 | set txtPartialK= | set txtLastFormBredde= | do FormaterLast | "
         "txtLastStorrelse=12,50 | txtPartialK=1,00 | txtAfstandLastpar=1,26 | txtLastFormBredde=0",
         "do VisLast | set txtLastFormLaengde=250",
         "choose cmbLastForm=Rektangel | shown=txtLastFormBredde txtLastFormLaengde | txtLastFormLaengde=250 | "
         "focus=txtLastFormBredde",
         "choose cmbLastForm=Cirkel | lblLastFormBredde=diameter | hidden=txtLastFormLaengde | txtLastFormLaengde=0",
         "choose cmbLastForm=Kvadrat | lblLastFormBredde=bredde",
         // An emptied shape hides both and leaves the width's caption alone.
         "set lblLastFormBredde=diameter | set cmbLastForm= | set txtLastFormBredde=100 | do OpdaterLastForm | "
         "hidden=txtLastFormBredde | txtLastFormBredde=0 | lblLastFormBredde=diameter",
         "choose cmbLastPlacering=Fuge | lblLastKantFugeAfstandEnhed=mm fra Fuge | shown=txtLastKantFugeAfstand | "
         "focus=txtLastKantFugeAfstand"});
}

class LayerPageTest : public uitest::ScriptTest {};

TEST_F(LayerPageTest, NoInsulationSetsTheNeutralValuesAndAProductItsOwn) {
    run({"store inddataisolering.IsoleringType=EPS 100 | store inddataisolering.IsoleringTykkelse=200 | show Layers",
         "choose cmbIsoleringType=<ingen isolering> | txtIsoleringType= | "
         "txtIsoleringTykkelse txtIsolZo txtIsolZn txtIsolLambdaT txtIsolLambdaV=0 | txtIsolEo txtIsolEn=1 | "
         "focus=cmbMellemlagType | runs=1 | db inddataisolering.IsoleringType='' | db inddataisolering.Eo=1",
         "set txtIsoleringTykkelse=150 | choose cmbIsoleringType=EPS 100 | txtIsoleringType=EPS 100 | "
         "txtIsoleringTykkelse=150 | txtIsolEo=4000 | focus=txtIsoleringTykkelse | runs=1",
         // It redraws even while another refresh runs.
         "busy 1 | do OpdaterIsolering | busy 0 | runs=1"});
}

TEST_F(LayerPageTest, IntetHidesAndResetsTheIntermediateLayerAndATableTerrainLocksItsModulus) {
    run({"show Layers | set txtMellemlagTykkelse=200 | choose cmbMellemlagType=Stabilgrus | "
         "shown=txtMellemlagTykkelse lblMellemlagTykkelse lblMellemlagTykkelseEnhed | txtMellemlagTykkelse=200 | "
         "txtMellemlagKorr=1,3 | focus=txtMellemlagTykkelse | runs=1 | focus cmbMellemlagType",
         "choose cmbMellemlagType=Intet | hidden=txtMellemlagTykkelse lblMellemlagTykkelse lblMellemlagTykkelseEnhed | "
         "txtMellemlagTykkelse txtMellemlagLambda=0 | txtMellemlagKorr=1 | focus=cmbTerraenType",
         "choose cmbMellemlagType=Stabilgrus | set cmbMellemlagType= | do OpdaterMellemlag | cmbMellemlagType=Intet | "
         "do GemInddata | db inddata.mellemlag=Intet | db inddata.mellemlagkorr=1 | db inddata.mellemlagtykkelse=0",
         "choose cmbTerraenType=Brugerdefineret | rw=txtTerraenBallast | set txtTerraenBallast=12345",
         "choose cmbTerraenType=Morænesand | ro=txtTerraenBallast | txtTerraenBallast=40000 | runs=1",
         "choose cmbTerraenType=Brugerdefineret | rw=txtTerraenBallast | txtTerraenBallast=40000"});
}

// Each look-up copies its row's columns as regional text; the first row in RkFlg order wins; no row writes nothing.
} // namespace
