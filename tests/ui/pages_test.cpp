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
        // Strengths that round halfway, one that rounds to nothing, and a safety class without a factor.
        modMain::cnParam.Execute("INSERT INTO txtBetonKvalitet (RkFlg, kvalitet, Styrke) VALUES (20, 'K30,5', 30.5), "
                                 "(21, 'K31,5', 31.5), (22, 'K0,4', 0.4)");
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

TEST_F(SlabPageTest, QualityAndSafetyClassGiveTheDesignValuesInRegionalForm) {
    run({"show Slab | choose cmbDaekType=Beton | choose cmbDaekSikkerhedsklasse=Normal | focus=cmbDaekKvalitet",
         // The quality list redraws on the choice and again on every leaving; the run commits the page.
         "choose cmbDaekKvalitet=C25/30 | txtDaekTrykstyrke=15,15 | txtDaekTau=727,272727272727 | "
         "txtDaekTraekstyrkeKar=1,58 | txtDaekGn=2525 | focus=txtDaekTykkelse | runs=2 | "
         "db inddata.TrykstyrkeRgm=15.15 | db inddata.GN=2525 | db inddata.kvalitettext=C25/30",
         "choose cmbDaekSikkerhedsklasse=Høj | txtDaekTrykstyrke=13,77",
         // 31.5 counts as 32, 30.5 as 30.
         "choose cmbDaekKvalitet=K31,5 | txtDaekEo=25387", "choose cmbDaekKvalitet=K30,5 | txtDaekEo=24907"});
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

TEST_F(SlabPageTest, WhileAnotherRefreshRunsTheValuesChangeButNotTheFocusTheFrameOrTheSketch) {
    run({"show Slab | choose cmbDaekType=Beton | choose cmbDaekSikkerhedsklasse=Normal | "
         "choose cmbDaekKvalitet=C16/20 | focus cmbDaekType",
         "busy 1 | set cmbDaekKvalitet=C25/30 | do OpdaterBetonKvalitet | busy 0 | txtDaekTrykstyrke=15,15 | "
         "focus=cmbDaekType | paints=0 | runs=0"});
}

TEST_F(SlabPageTest, TableTypeUserDefinedAndNoTypeEachSetTheirState) {
    run({"show Slab | " C25,
         // A table type fills and locks the page; the safety class stays for a later concrete slab.
         "set cmbDaekType=OSB/3, 22 mm | do OpdaterDaekType | paints=+ | hidden=" CONCRETE " lblRevnevidde | "
         "txtDaekTraekstyrkeKar=0,00 | txtDaekTau=0 | db inddata.tau=0 | cmbDaekKvalitet= | txtDaekTrykstyrke=3,98 | "
         "txtDaekTykkelse=22 | ro=" VALUES " txtDaekTykkelse | focus=cmbDaekType | cmbDaekSikkerhedsklasse=Normal",
         // User-defined opens the boxes once; the concrete group did not change.
         "set cmbDaekType=Brugerdefineret | do OpdaterDaekType | paints=0 | rw=" VALUES " txtDaekTykkelse | "
         "cmbDaekKvalitet=Brugerdefineret | " CLEARED " | focus=txtDaekTrykstyrke",
         "set txtDaekEo=4000 | set txtDaekTykkelse=30 | do OpdaterDaekType | txtDaekEo=4000 | txtDaekTykkelse=30",
         "choose cmbDaekType=Beton | cmbDaekKvalitet= | " CLEARED " | ro=" VALUES,
         "set cmbDaekType= | do OpdaterDaekType | " CLEARED " | ro=" VALUES " txtDaekTykkelse | focus=cmbDaekType"});
}

TEST_F(SlabPageTest, BetonAgainRecomputesWithoutChangingTheGroup) {
    run({"show Slab | " C25 " | set txtDaekTykkelse=120 | set txtDaekEo=1",
         "do OpdaterDaekType | paints=0 | txtDaekEo=23487 | txtDaekTykkelse=120 | rw=txtDaekTykkelse | "
         "shown=" CONCRETE});
}

TEST_F(SlabPageTest, AnEmptiedEnvironmentalClassZeroesCoverAndCrackWidth) {
    run({"show Slab | choose cmbDaekType=Beton | choose cmbMKlasse=Aggressiv | txtDaeklag=35 | shown=txtRevnevidde",
         "focus cmbDaekKvalitet | set cmbMKlasse= | do OpdaterMiljoeklasse | txtDaeklag txtRevnevidde=0 | "
         "hidden=txtRevnevidde | focus=cmbDaekType"});
}

TEST_F(SlabPageTest, FormaterDaekShowsTheRecordInItsPatternsAndAnErrorLeavesTheRefreshCounter) {
    run({"store inddata.TrykstyrkeRgm=12.345 | store inddata.Revnevidde=0.25 | show Slab | set txtDaekTrykstyrke=99 | "
         "set txtDaekEo= | set txtTerraenBallast= | do FormaterDaek | txtDaekTrykstyrke=12,35 | txtDaekEo=0 | "
         "txtRevnevidde=0,3 | txtTerraenBallast=0",
         "store inddata.sikkerhedsklassetext=Ukendt | store inddata.kvalitettext=C25/30 | show Slab",
         "choose cmbDaekType=Beton | msg~Fejlnr.: 94 | busy=0", "choose cmbDaekSikkerhedsklasse=Normal | runs=1"});
}

class LoadPageTest : public uitest::ScriptTest {};

TEST_F(LoadPageTest, FromALoadPairToAPointLoadTheSpacingGoesAndALineShapeIsEmptiedAtOnce) {
    run({"store inddatalast.Lasttype=Lastpar | store inddatalast.LastForm=Linielast | store inddatalast.Afstand=2.5 | "
         "show Loads | do VisLast | shown=txtAfstandLastpar | cmbLastForm=Linielast | focus=txtAfstandLastpar",
         "pick cmbLastType=punkt | txtLastType=Punktlast | hidden=lblAfstandLastparEnhed txtLastFormLaengde | "
         "txtAfstandLastpar=0 | entries cmbLastForm=Rektangel/Kvadrat/Cirkel | cmbLastForm= | focus=cmbLastForm | "
         "db inddatalast.LastForm='' | db inddatalast.Afstand=0 | lblLastStorrelseEnhed_0=kN"});
}

TEST_F(LoadPageTest, ALineLoadHasOnlyItsWidthAndTheFocusFollowsThePlacement) {
    for (const char *placement :
         {"Kant | focus=txtLastKantFugeAfstand | lblLastKantFugeAfstandEnhed=mm fra Kant",
          "Midt | focus=txtLastStorrelse | hidden=txtLastKantFugeAfstand", "'' | focus=txtLastFormBredde"}) {
        const QString p = QString::fromUtf8(placement);
        run({"store inddatalast.Lasttype='' | store inddatalast.Placering=" + p.section(" | ", 0, 0) +
                 " | show Loads | set txtLastFormLaengde=300",
             "pick cmbLastType=lin | entries cmbLastForm=Linielast | cmbLastForm=Linielast | shown=txtLastFormBredde | "
             "lblLastFormBredde=bredde | hidden=txtLastFormLaengde | txtLastFormLaengde=0 | "
             "lblLastStorrelseEnhed_0=kN/m | lblLastStorrelseEnhed_1=  | " +
                 p.section(" | ", 1)});
    }
}

TEST_F(LoadPageTest, AnAreaLoadHidesShapeDimensionsAndPlacement) {
    run({"store inddatalast.Lasttype=Hjultryk | store inddatalast.LastForm=Rektangel | store "
         "inddatalast.Placering=Fuge | "
         "store inddatalast.bredde=200 | store inddatalast.Afstandfra=400 | show Loads",
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

TEST_F(LoadPageTest, NoLoadHidesEveryValueFieldAndRedraws) {
    run({"store inddatalast.Lasttype=Punktlast | store inddatalast.LastForm=Kvadrat | store inddatalast.Størrelse=40 | "
         "store inddatalast.PartialK=1.5 | show Loads | do VisLast",
         "pick cmbLastType=<in | cmbLastType=<ingen last> | txtLastType= | hidden=txtAfstandLastpar cmbLastForm "
         "txtLastFormBredde cmbLastPlacering txtLastStorrelse lblLastStorrelseEnhed_0 lblLastStorrelseEnhed_1 "
         "txtPartialK lblPartialK | shown=txtLastNr | runs=1 | db inddatalast.Lasttype='' | "
         "db inddatalast.Størrelse=0 | db inddatalast.PartialK=1"});
}

TEST_F(LoadPageTest, OnlyANullShapeIsWrittenBackAndABusyRefreshMovesOnlyTheFocus) {
    run({"store inddatalast.LastForm#1=null | show Loads | busy 1 | set cmbLastType=Hjultryk | set txtLastStorrelse=5 "
         "| "
         "do VisLast | db inddatalast.Størrelse=0",
         "do dataLast->MoveNext | set cmbLastType=Hjultryk | set txtLastStorrelse=7 | do VisLast | db inddatalast.LastForm#1='' "
         "| "
         "db inddatalast.Størrelse#1=7 | cmbLastForm=",
         "set cmbLastType=Fladelast | do VisLast | busy 0 | focus=txtLastStorrelse | runs=0 | paints=0",
         "focus cmbLastType", "set cmbLastType=Punktlast | do VisLast | runs=1 | paints=+"});
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

TEST_F(LayerPageTest, AnEmptyIntermediateLayerBecomesNone) {
    run({"store inddata.mellemlag=Stabilgrus | store inddata.mellemlagtykkelse=150 | show Layers | do OpdaterMellemlag "
         "| "
         "shown=txtMellemlagTykkelse | txtMellemlagKorr=1,3 | txtMellemlagTykkelse=150 | focus=txtMellemlagTykkelse",
         // Its own run, and the thickness box's when the focus left it.
         "set cmbMellemlagType= | do OpdaterMellemlag | cmbMellemlagType=Intet | hidden=txtMellemlagTykkelse "
         "lblMellemlagTykkelseEnhed | txtMellemlagTykkelse txtMellemlagLambda=0 | txtMellemlagKorr=1 | "
         "focus=cmbTerraenType | runs=2",
         // Hidden and busy, it keeps the focus where it is.
         "show Slab | focus cmbDaekType | busy 1 | set cmbMellemlagType=Letklinker 10-20 mm | do OpdaterMellemlag | "
         "busy 0 | txtMellemlagLambda=0,12 | focus=cmbDaekType | runs=0"});
}

TEST_F(LayerPageTest, ATableTerrainLocksItsModulusAndUserDefinedOpensIt) {
    run({"store inddata.terræn=Brugerdefineret | store inddata.terrænballast=22000 | show Layers | do OpdaterTerraen | "
         "rw=txtTerraenBallast | txtTerraenBallast=22000",
         "focus cmbIsoleringType | choose cmbTerraenType=Moræneler | txtTerraenBallast=30000 | ro=txtTerraenBallast | "
         "focus=cmbIsoleringType | runs=1",
         "choose cmbTerraenType=Brugerdefineret | rw=txtTerraenBallast | txtTerraenBallast=30000 | runs=1",
         "busy 1 | do OpdaterTerraen | busy 0 | runs=0"});
}

// Each look-up copies its row's columns as regional text; the first row in RkFlg order wins; no row writes nothing.
TEST_F(LayerPageTest, LookUps) {
    modMain::cnParam.Execute("INSERT INTO txtDaekLag (RkFlg, Miljøklasse, tykkelse, Wmax) VALUES (0, 'Aggressiv', 40, "
                             "0.1), (9, 'Passiv', 99, 0.5), (0, 'Tør', 20, NULL)");
    run({"show Slab | set cmbMKlasse=Moderat | do HentDaeklag | txtDaeklag=25 | txtRevnevidde=0,3",
         "set cmbMKlasse=Aggressiv | do HentDaeklag | txtDaeklag=40 | txtRevnevidde=0,1",
         "set cmbMKlasse=Passiv | do HentDaeklag | txtDaeklag=15 | txtRevnevidde=0",
         "set cmbMellemlagType=Letklinker 10-20 mm | do HentMellemlag | txtMellemlagKorr=1 | txtMellemlagLambda=0,12",
         "set cmbDaekType=OSB/3, 22 mm | do HentDaekType | txtDaekTraekstyrke txtDaekTrykstyrke=3,98 | "
         "txtDaekEo=3120 | txtDaekEn=1248 | txtDaekGo=1080 | txtDaekGn=432 | txtDaekTykkelse=22",
         "set cmbTerraenType=Moræneler | do HentTerraen | txtTerraenBallast=30000",
         // Short-term Ekort to Eo, long-term Elang to En; stored with the record at the next commit.
         "set cmbIsoleringType=EPS 100 | do HentIsolering | txtIsolZo=50 | txtIsolZn=30 | txtIsolLambdaT=0,037 | "
         "txtIsolLambdaV=0,045 | txtIsolEo=4000 | txtIsolEn=1500",
         "set cmbIsoleringType=XPS 300 | do HentIsolering | do GemInddata | db inddataisolering.Eo=15000 | "
         "db inddataisolering.Zigman=130 | db inddataisolering.LambdaVåd=0.041",
         "set txtTerraenBallast=12345 | set cmbTerraenType=moræneler | do HentTerraen | set cmbTerraenType=Moræne | "
         "do HentTerraen | set cmbTerraenType=Brugerdefineret | do HentTerraen | txtTerraenBallast=12345",
         "set cmbIsoleringType=<ingen isolering> | set txtIsolEo=1 | do HentIsolering | txtIsolEo=1",
         // A null value raises after the boxes before it were written.
         "set txtRevnevidde=0,2 | set cmbMKlasse=Tør | do HentDaeklag | error=94 | lognr=363 | txtDaeklag=20 | "
         "txtRevnevidde=0,2"});
}

} // namespace
