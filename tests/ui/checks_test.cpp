// The input checks and the calculation command on a complete input: each check row on the stored input (the whole
// check) and on the controls that show it (the page check).

#include "calc/design_input.h"
#include "kit/focus.h"
#include "page_script.h"

using engine::Variant;

namespace {

struct Case {
    const char *fields;   // "name=value; ..." written over the complete input; '' the empty text
    QString wholeMessage; // empty: the input passes
    QString focus;
    QString pageMessage = "same"; // the page check's wording where it differs
    QString page() const { return pageMessage == "same" ? wholeMessage : pageMessage; }
};

// Also records the refresh counter that the page refresh of a failure display runs under.
class CountingMain : public uitest::RecordingMain {
public:
    void OpdaterTerraen() override {
        calls.push_back(QStringLiteral("Opdaterer %1").arg(opdaterer()));
        RecordingMain::OpdaterTerraen();
    }
};

// A complete input (a concrete slab with one point load on one layer) on the load page.
class CheckTest : public uitest::ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        w = std::make_unique<CountingMain>();
        showLoadPage();
        designinput::writeConcreteInput();
        rebind();
        closeResultsWindows();
        // Each check as the event procedures run it: its focus moves apply when it is over.
        for (const auto &[name, check] : std::initializer_list<std::pair<const char *, bool (frmMain::*)()>>{
                 {"Check", &frmMain::CheckInddata},
                 {"CheckLast", &frmMain::CheckLast},
                 {"CheckDaek", &frmMain::CheckDaek},
                 {"CheckIsolering", &frmMain::CheckIsolering},
                 {"CheckMellemlagTerraen", &frmMain::CheckMellemlagTerraen}})
            procs[name] = [this, check = check](frmMain &f) {
                ui::focus::EventScope scope;
                passed = (f.*check)();
            };
    }
    bool passed = false;
    // The pages show the stored input again, load 1 and layer 1.
    void rebind() {
        w->Form_Activate();
        w->calls.clear();
        messages->shown.clear();
    }
    QString message() const { return messages->shown.empty() ? QString() : messages->shown.back().text; }
    // Closes each modal window as soon as it shows.
    void closeResultsWindows() {
        auto *watch = new QTimer(w.get());
        QObject::connect(watch, &QTimer::timeout, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                resultsWindows.push_back(modal->windowTitle());
                modal->close();
            }
        });
        watch->start(1);
    }
    std::vector<QString> resultsWindows; // the captions
    long rows(const QString &table) const {
        engine::Recordset rs;
        rs.Open("SELECT COUNT(*) AS n FROM " + table, modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly);
        return rs.Fields("n").Value().toLong();
    }

    template <class Write> void runCases(const std::vector<Case> &cases, Write write, const QString &pageCheck) {
        for (const Case &c : cases) {
            SCOPED_TRACE(c.fields);
            // The focus on a button: two boxes that both refuse their text would send it back and forth.
            designinput::writeConcreteInput();
            rebind();
            w->btnBeregning->setFocus();
            uitest::processEvents();
            for (const QString &f : QString::fromUtf8(c.fields).split("; ")) {
                const QByteArray name = f.section('=', 0, 0).toUtf8();
                write({{name.constData(), value(f.section('=', 1))}});
            }
            for (const QString &check : {QString("Check"), pageCheck}) {
                rebind();
                showAllPages();
                const QString expected = check == "Check" ? c.wholeMessage : c.page();
                run({"do " + check + " | msg=" + expected + (expected.isEmpty() ? "" : " | focus=" + c.focus)});
                EXPECT_EQ(passed, expected.isEmpty()) << check.toStdString();
            }
        }
    }
};

const QString kAfstand = "Afstand mellem laster skal være mellem 0,7 m og 6.0 m";
const QString kStorrelse = "Lasten størrelse skal være positiv";
const QString kDaek25 = "Tykkelsen på dækket skal være min. 25 mm og max. 10.000 mm.";
const QString kIsolering = "Tykkelsen på isolering skal være min. 1 mm og max. 10.000 mm.";
const QString kMellemlag = "Tykkelsen på mellemlaget skal være min. 1 mm og max. 10.000 mm.";
QString size(const char *what, int max) {
    return QStringLiteral("%1 på lasten skal angives og må max. være %2 mm").arg(what).arg(max);
}

TEST_F(CheckTest, EachLoadRowFailsWithItsMessageOnTheStoredLoadAndOnThePage) {
    const QString kantFuge = "Afstand fra kant/fuge skal angives og må max. være 5600 mm";
    runCases(
        {{"Lasttype=Lastpar; Afstand=0.7; bredde=300", "", ""},
         {"Lasttype=Lastpar; Afstand=6; bredde=300", "", ""},
         {"Lasttype=Lastpar; Afstand=0.69; bredde=300", kAfstand, "txtAfstandLastpar"},
         {"Lasttype=Lastpar; Afstand=6.01; bredde=300", kAfstand, "txtAfstandLastpar"},
         {"Lasttype=Lastpar; Afstand=1; bredde=301", size("Bredden", 300), "txtLastFormBredde"},
         {"Lasttype=Lastpar; Afstand=1; LastForm=Cirkel; bredde=301", size("Diameter", 300), "txtLastFormBredde"},
         {"Lasttype=Lastpar; Afstand=1; LastForm=Rektangel; bredde=300; længde=301", size("Længden", 300),
          "txtLastFormLaengde"},
         {"bredde=500", "", ""},
         {"bredde=501", size("Bredden", 500), "txtLastFormBredde"},
         {"bredde=0", size("Bredden", 500), "txtLastFormBredde"},
         {"Lasttype=Hjultryk; LastForm=Cirkel; bredde=0", size("Diameter", 500), "txtLastFormBredde"},
         {"LastForm=Rektangel; længde=0", size("Længden", 500), "txtLastFormLaengde"},
         {"LastForm=Kvadrat; længde=0", "", ""},
         {"LastForm=''", "Lastformen skal angives", "cmbLastForm"},
         {"LastForm=null", "Lastformen skal angives", "cmbLastForm"}, // not a crash in the calculation
         {"Placering=''", "Lastens placering skal angives", "cmbLastPlacering"},
         {"Placering=Midt; Afstandfra=0", "", ""},
         {"Placering=Kant; Afstandfra=0", kantFuge, "txtLastKantFugeAfstand"},
         {"Placering=Fuge; Afstandfra=5600", "", ""},
         {"Placering=Fuge; Afstandfra=5601", kantFuge, "txtLastKantFugeAfstand"},
         {"Størrelse=0", kStorrelse, "txtLastStorrelse"},
         {"PartialK=0", "Partialkoefficient skal skal være positiv", "txtPartialK"},
         // An area load is tested only for its size and partial coefficient.
         {"Lasttype=Fladelast; LastForm=''; bredde=0; Placering=''; Afstandfra=0", "", ""},
         {"Lasttype=Fladelast; LastForm=''; Størrelse=-1", kStorrelse, "txtLastStorrelse"}},
        [](designinput::FieldList f) { designinput::setLoad(1, f); }, "CheckLast");
}

TEST_F(CheckTest, EachSlabRowFailsWithItsMessageOnTheStoredSlabAndOnThePage) {
    runCases(
        {{"daekType=''", "Daektypen skal angives", "cmbDaekType", ""},
         {"sikkerhedsklassetext=''", "Sikkerhedsklasse skal angives", "cmbDaekSikkerhedsklasse"},
         {"kvalitettext=''", "Kvalitet skal angives", "cmbDaekKvalitet"},
         {"daekType=Brugerdefineret; kvalitettext=Brugerdefineret", "", ""},
         {"kvalitettext=Brugerdefineret; TrykstyrkeRgm=0", "Regningsmæssig trykstyrke skal være positiv",
          "txtDaekTrykstyrke"},
         {"kvalitettext=Brugerdefineret; TraekstyrkeRgm=-1", "Regningsmæssig trækstyrke skal være positiv",
          "txtDaekTraekstyrke"},
         {"kvalitettext=Brugerdefineret; Eo=0", "Eo skal være positiv", "txtDaekEo", "E(korttid) skal være positiv"},
         {"kvalitettext=Brugerdefineret; En=0", "En skal være positiv", "txtDaekEn", "E(langtid) skal være positiv"},
         {"kvalitettext=Brugerdefineret; Go=0", "Go skal være positiv", "txtDaekGo", "G(korttid) skal være positiv"},
         {"kvalitettext=Brugerdefineret; GN=0", "Gn skal være positiv", "txtDaekGn", "G(langtid) skal være positiv"},
         {"Eo=0", "", ""}, // only a user-defined quality is tested for its values
         {"dæktykkelse=25", "", ""},
         {"dæktykkelse=24", kDaek25, "txtDaekTykkelse"},
         {"dæktykkelse=10001", kDaek25, "txtDaekTykkelse"},
         {"daekType=Brugerdefineret; kvalitettext=Brugerdefineret; dæktykkelse=1", "", ""},
         {"daekType=Brugerdefineret; kvalitettext=Brugerdefineret; dæktykkelse=0",
          "Tykkelsen på dækket skal være min. 1 mm og max. 10.000 mm.", "txtDaekTykkelse"},
         {"Miljøklasse=''", "Miljøklasse skal angives", "cmbMKlasse"},
         // The environmental class is asked of a concrete slab only.
         {"daekType=Brugerdefineret; kvalitettext=Brugerdefineret; Miljøklasse=''", "", ""}},
        designinput::setInddata, "CheckDaek");
}

TEST_F(CheckTest, IntermediateLayerAndTerrainRowsOnTheStoredInputAndOnThePage) {
    runCases({{"mellemlag=''", "Mellemlag skal angives", "cmbMellemlagType"},
              {"mellemlag=Intet; mellemlagtykkelse=0", "", ""},
              {"mellemlag=Singels 4-8 mm; mellemlagtykkelse=0", kMellemlag, "txtMellemlagTykkelse"},
              {"mellemlag=Singels 4-8 mm; mellemlagtykkelse=10000", "", ""},
              {"mellemlag=Singels 4-8 mm; mellemlagtykkelse=10001", kMellemlag, "txtMellemlagTykkelse"},
              {"terræn=''", "Terræn skal angives", "cmbTerraenType", ""},
              {"terræn=Brugerdefineret; terrænballast=0", "Terrænets ballasttal skal skal være positiv",
               "txtTerraenBallast"},
              {"terræn=Brugerdefineret; terrænballast=1", "", ""},
              {"terræn=Sand; terrænballast=0", "", ""}},
             designinput::setInddata, "CheckMellemlagTerraen");
    // The layer page check tests only a chosen layer.
    run({"set cmbIsoleringType=<ingen isolering> | set txtIsoleringTykkelse=0 | do CheckIsolering",
         "set cmbIsoleringType=EPS 80 | set txtIsoleringTykkelse=1 | do CheckIsolering",
         "set txtIsoleringTykkelse=10000 | do CheckIsolering",
         "set txtIsoleringTykkelse=10001 | do CheckIsolering | msg=" + kIsolering + " | focus=txtIsoleringTykkelse",
         "set txtIsoleringTykkelse=0 | do CheckIsolering | msg=" + kIsolering});
}

// A failure shows its page and record: the check commits first, and the page is refreshed with the counter raised.
TEST_F(CheckTest, ALayerFailureShowsThatLayerAndNoLayerShowsLayerOne) {
    // Layer 1 empty and layer 2 given is a valid build-up.
    designinput::setLayer(1, {{"IsoleringType", ""}, {"IsoleringTykkelse", 0.0}});
    designinput::setLayer(2, {{"IsoleringType", "EPS 80"}, {"IsoleringTykkelse", 100.0}});
    rebind();
    run({"do Check"});
    designinput::setLayer(2, {{"IsoleringTykkelse", 10001.0}});
    rebind();
    run({"do Check | msg=" + kIsolering +
         " | "
         "shown=frmIsolering frmMellemlag frmTerraen | hidden=frmLast | txtIsoleringNr=2 | "
         "cmbIsoleringType=EPS 80 | focus=txtIsoleringTykkelse | off=btnNaeste | on=btnForrige | busy=0 | "
         "calls=FormaterDaek, FormaterIsolering, Opdaterer 1, OpdaterTerraen, FormaterDaek, FormaterIsolering"});
    designinput::setLayer(2, {{"IsoleringType", ""}});
    rebind();
    w->dataIsolering->MoveNext();
    run({"do Check | msg=Der skal angives mindst et isoleringslag | txtIsoleringNr=1 | "
         "cmbIsoleringType=<ingen isolering> | focus=cmbIsoleringType"});
}

TEST_F(CheckTest, ARunTimeErrorInTheCheckRisesToTheCommand) {
    designinput::setLoad(1, {{"Størrelse", Variant::Null()}});
    rebind();
    w->btnBeregning_Click();
    run({"msg~Function: frmMain, Log nr. 16\rFejlnr.: 94, Invalid use of Null"});
    // A page check reads the boxes as numbers; text that is no number is an error for its caller.
    w->txtLastStorrelse->setText("abc");
    EXPECT_THROW(w->CheckLast(), engine::RuntimeError);
}

// The calculation command.
using CalculateTest = CheckTest;

TEST_F(CalculateTest, AConcreteSlabOpensBetonOtherTypesBrugerdefineretAndTheActivationAfterBindsLoadAndLayerOne) {
    w->dataLast->MoveNext();
    w->dataIsolering->MoveNext();
    uitest::mouseClick(w->btnBeregning);
    EXPECT_EQ(rows("ResultatBeton") * 10 + rows("ResultatBrugdef"), 10);
    EXPECT_GT(rows("ResultatArmering"), 0);
    // The pages are bound to fresh, open recordsets and take edits again.
    run({"txtLastNr txtIsoleringNr=1 | set txtLastStorrelse=41 | do GemInddata | db inddatalast.Størrelse=41"});
    designinput::setInddata({{"daekType", "Spånplade P5, 22 mm"}, {"kvalitettext", "Brugerdefineret"}});
    rebind();
    w->btnBeregning_Click();
    EXPECT_EQ(rows("ResultatBrugdef") * 10 + rows("ResultatBeton"), 10);
    EXPECT_EQ(resultsWindows, std::vector<QString>({"Beton", "Beregningsresultater"}));
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(CalculateTest, InputWithoutALoadIsShownOnTheLoadPageAndNothingIsCalculated) {
    designinput::setLoad(1, {{"Lasttype", ""}});
    rebind();
    w->dataLast->MoveNext();
    run({"alt B | msg=Der skal angives mindst en last | txtLastNr=1 | focus=cmbLastType"});
    EXPECT_TRUE(resultsWindows.empty());
    EXPECT_EQ(rows("ResultatBeton"), 0);
}

// A failing analysis or design stops with its own message; what it wrote before is committed.
TEST_F(CalculateTest, AFailingAnalysisOrDesignStopsWithItsOwnMessage) {
    modMain::cnInddata.Execute("DROP TABLE ResultatBrugdef");
    w->txtLastStorrelse->setText("45");
    w->btnBeregning_Click();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(
        message().split(QChar(13)).mid(0, 2),
        QStringList({"Der opstod et problem under eksekvering af beregningsrutine1!", "Function: init, Log nr. 4"}));
    engine::Connection other = folder.open("inddata.mdb");
    engine::Recordset rs;
    rs.Open("inddatalast", other, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
    EXPECT_EQ(rs.Fields("Størrelse").Value(), Variant(45.0));
    rs.Close();
    other.Close();
    EXPECT_TRUE(w->dataInddata->Recordset().IsOpen());

    modMain::cnInddata.Execute("CREATE TABLE ResultatBrugdef (x INTEGER)");
    designinput::setInddata({{"TraekstyrkeKar", Variant::Null()}});
    rebind();
    w->btnBeregning_Click();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(message().split(QChar(13))[0], "Der opstod et problem under eksekvering af beregningsrutine2!");
    EXPECT_EQ(rows("ResultatBeton"), 1); // the analysis ran to its end
    EXPECT_TRUE(resultsWindows.empty());
}

} // namespace
