#include "calc/design_input.h"
#include "main_window_fixture.h"
#include "ui/command_button.h"
#include "ui/controls.h"
#include "ui/focus.h"

#include <QApplication>

using engine::Variant;

namespace {

// One case of a table of rows: fields ("name=value; ...", '' the empty text) written over the complete input, and
// what the checks say.
struct Case {
    const char *fields;
    QString wholeMessage; // empty: the input passes
    QString focus;
    QString pageMessage = QStringLiteral("same"); // the page check's wording where it differs
    QString page() const { return pageMessage == QStringLiteral("same") ? wholeMessage : pageMessage; }
};

std::vector<std::pair<QByteArray, Variant>> fieldsOf(const Case &c) {
    std::vector<std::pair<QByteArray, Variant>> fields;
    for (const QString &f : QString::fromUtf8(c.fields).split(QStringLiteral("; "))) {
        const QString value = f.section('=', 1);
        bool number = false;
        const double x = value.toDouble(&number);
        fields.emplace_back(f.section('=', 0, 0).toUtf8(), value == "''" ? Variant("")
                                                           : number      ? Variant(x)
                                                                         : Variant(value));
    }
    return fields;
}

std::string describe(const Case &c) { return c.fields; }

// Also records the refresh counter that each page refresh of the failure display runs under.
class CountingMain : public uitest::RecordingMain {
public:
    bool visLastFails = false;
    void VisLast(ui::DataSource &rs) override {
        calls.push_back(QStringLiteral("Opdaterer %1").arg(opdaterer()));
        if (visLastFails)
            engine::raise(engine::err::InvalidProcedureCall);
        RecordingMain::VisLast(rs);
    }
    void OpdaterDaekType() override {
        calls.push_back(QStringLiteral("Opdaterer %1").arg(opdaterer()));
        RecordingMain::OpdaterDaekType();
    }
    void OpdaterTerraen() override {
        calls.push_back(QStringLiteral("Opdaterer %1").arg(opdaterer()));
        RecordingMain::OpdaterTerraen();
    }
};

// A complete input (a concrete slab with one point load on one layer) on the load page.
class CheckTest : public uitest::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        w = std::make_unique<CountingMain>();
        showLoadPage();
        designinput::writeConcreteInput();
        rebind();
    }

    // The complete input, with the focus on a button: two boxes that both refuse their text would send the
    // focus back and forth between them.
    void restart() {
        designinput::writeConcreteInput();
        rebind();
        w->btnBeregning->setFocus();
        uitest::processEvents();
        messages->shown.clear();
    }

    // The pages show the stored input again, load 1 and layer 1.
    void rebind() {
        w->Form_Activate();
        w->calls.clear();
        messages->shown.clear();
    }

    // A check run as the event procedures run it: its focus moves apply when it is over.
    template <class Check> bool run(Check check) {
        bool ok = false;
        {
            ui::focus::EventScope scope;
            ok = check();
        }
        return ok;
    }
    bool whole() {
        return run([this] { return w->CheckInddata(); });
    }

    QString focused() const {
        QWidget *f = QApplication::focusWidget();
        return f ? f->objectName() : QString();
    }
    QString message() const { return messages->shown.empty() ? QString() : messages->shown.back().text; }

    // Each case on the stored input (the whole check) and on the controls that show it (the page check), with
    // every page shown so that each field can take the focus.
    template <class Write, class PageCheck>
    void runCases(const std::vector<Case> &cases, Write write, PageCheck pageCheck) {
        for (const Case &c : cases) {
            restart();
            for (const auto &[name, value] : fieldsOf(c))
                write({{name.constData(), value}});
            rebind();
            showAllPages();
            EXPECT_EQ(whole(), c.wholeMessage.isEmpty()) << describe(c);
            EXPECT_EQ(message(), c.wholeMessage) << describe(c);
            if (!c.wholeMessage.isEmpty()) {
                EXPECT_EQ(focused(), c.focus) << describe(c);
            }

            rebind();
            showAllPages();
            EXPECT_EQ(run(pageCheck), c.page().isEmpty()) << describe(c);
            EXPECT_EQ(message(), c.page()) << describe(c);
            if (!c.page().isEmpty()) {
                EXPECT_EQ(focused(), c.focus) << describe(c);
            }
        }
    }
};

const QString kAfstand = QStringLiteral("Afstand mellem laster skal være mellem 0,7 m og 6.0 m");
const QString kBredde300 = QStringLiteral("Bredden på lasten skal angives og må max. være 300 mm");
const QString kBredde500 = QStringLiteral("Bredden på lasten skal angives og må max. være 500 mm");
const QString kDiameter300 = QStringLiteral("Diameter på lasten skal angives og må max. være 300 mm");
const QString kDiameter500 = QStringLiteral("Diameter på lasten skal angives og må max. være 500 mm");
const QString kLaengde300 = QStringLiteral("Længden på lasten skal angives og må max. være 300 mm");
const QString kLaengde500 = QStringLiteral("Længden på lasten skal angives og må max. være 500 mm");
const QString kKantFuge = QStringLiteral("Afstand fra kant/fuge skal angives og må max. være 5600 mm");
const QString kStorrelse = QStringLiteral("Lasten størrelse skal være positiv");
const QString kDaek25 = QStringLiteral("Tykkelsen på dækket skal være min. 25 mm og max. 10.000 mm.");
const QString kMellemlag = QStringLiteral("Tykkelsen på mellemlaget skal være min. 1 mm og max. 10.000 mm.");

const std::vector<Case> &LoadCases() {
    static const std::vector<Case> cases = {
        {"Lasttype=Lastpar; Afstand=0.7; bredde=300", "", ""},
        {"Lasttype=Lastpar; Afstand=6; bredde=300", "", ""},
        {"Lasttype=Lastpar; Afstand=0.69; bredde=300", kAfstand, "txtAfstandLastpar"},
        {"Lasttype=Lastpar; Afstand=6.01; bredde=300", kAfstand, "txtAfstandLastpar"},
        {"Lasttype=Lastpar; Afstand=1; bredde=301", kBredde300, "txtLastFormBredde"},
        {"Lasttype=Lastpar; Afstand=1; LastForm=Cirkel; bredde=301", kDiameter300, "txtLastFormBredde"},
        {"Lasttype=Lastpar; Afstand=1; LastForm=Rektangel; bredde=300; længde=301", kLaengde300, "txtLastFormLaengde"},
        {"bredde=500", "", ""},
        {"bredde=501", kBredde500, "txtLastFormBredde"},
        {"bredde=0", kBredde500, "txtLastFormBredde"},
        {"Lasttype=Hjultryk; LastForm=Cirkel; bredde=0", kDiameter500, "txtLastFormBredde"},
        {"LastForm=Rektangel; længde=0", kLaengde500, "txtLastFormLaengde"},
        {"LastForm=Kvadrat; længde=0", "", ""},
        {"LastForm=''", "Lastformen skal angives", "cmbLastForm"},
        {"Placering=''", "Lastens placering skal angives", "cmbLastPlacering"},
        {"Placering=Midt; Afstandfra=0", "", ""},
        {"Placering=Kant; Afstandfra=0", kKantFuge, "txtLastKantFugeAfstand"},
        {"Placering=Fuge; Afstandfra=5600", "", ""},
        {"Placering=Fuge; Afstandfra=5601", kKantFuge, "txtLastKantFugeAfstand"},
        {"Størrelse=0", kStorrelse, "txtLastStorrelse"},
        {"PartialK=0", "Partialkoefficient skal skal være positiv", "txtPartialK"},
        // An area load is tested only for its size and partial coefficient.
        {"Lasttype=Fladelast; LastForm=''; bredde=0; Placering=''; Afstandfra=0", "", ""},
        {"Lasttype=Fladelast; LastForm=''; Størrelse=-1", kStorrelse, "txtLastStorrelse"},
    };
    return cases;
}

const std::vector<Case> &SlabCases() {
    static const std::vector<Case> cases = {
        {"daekType=''", "Daektypen skal angives", "cmbDaekType", ""},
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
        // Only a user-defined quality is tested for its values.
        {"Eo=0", "", ""},
        {"dæktykkelse=25", "", ""},
        {"dæktykkelse=24", kDaek25, "txtDaekTykkelse"},
        {"dæktykkelse=10001", kDaek25, "txtDaekTykkelse"},
        {"daekType=Brugerdefineret; kvalitettext=Brugerdefineret; dæktykkelse=1", "", ""},
        {"daekType=Brugerdefineret; kvalitettext=Brugerdefineret; dæktykkelse=0",
         "Tykkelsen på dækket skal være min. 1 mm og max. 10.000 mm.", "txtDaekTykkelse"},
        {"Miljøklasse=''", "Miljøklasse skal angives", "cmbMKlasse"},
        // The environmental class is asked of a concrete slab only.
        {"daekType=Brugerdefineret; kvalitettext=Brugerdefineret; Miljøklasse=''", "", ""},
    };
    return cases;
}

const std::vector<Case> &GroundCases() {
    static const std::vector<Case> cases = {
        {"mellemlag=''", "Mellemlag skal angives", "cmbMellemlagType"},
        {"mellemlag=Intet; mellemlagtykkelse=0", "", ""},
        {"mellemlag=Singels 4-8 mm; mellemlagtykkelse=0", kMellemlag, "txtMellemlagTykkelse"},
        {"mellemlag=Singels 4-8 mm; mellemlagtykkelse=10000", "", ""},
        {"mellemlag=Singels 4-8 mm; mellemlagtykkelse=10001", kMellemlag, "txtMellemlagTykkelse"},
        {"terræn=''", "Terræn skal angives", "cmbTerraenType", ""},
        {"terræn=Brugerdefineret; terrænballast=0", "Terrænets ballasttal skal skal være positiv", "txtTerraenBallast"},
        {"terræn=Brugerdefineret; terrænballast=1", "", ""},
        {"terræn=Sand; terrænballast=0", "", ""},
    };
    return cases;
}

TEST_F(CheckTest, EachLoadRowFailsWithItsMessageOnTheStoredLoadAndOnThePage) {
    runCases(
        LoadCases(), [](designinput::FieldList f) { designinput::setLoad(1, f); }, [this] { return w->CheckLast(); });
}

TEST_F(CheckTest, EachSlabRowFailsWithItsMessageOnTheStoredSlabAndOnThePage) {
    runCases(SlabCases(), designinput::setInddata, [this] { return w->CheckDaek(); });
}

TEST_F(CheckTest, IntermediateLayerAndTerrainRowsOnTheStoredInputAndOnThePage) {
    runCases(GroundCases(), designinput::setInddata, [this] { return w->CheckMellemlagTerraen(); });
}

TEST_F(CheckTest, ALoadFailureShowsThatLoadWithItsOwnValuesOnTheLoadPage) {
    designinput::setLoad(2, {{"Lasttype", "Punktlast"},
                             {"LastForm", "Kvadrat"},
                             {"bredde", 100.0},
                             {"Placering", "Midt"},
                             {"Størrelse", 10.0},
                             {"PartialK", 1.5}});
    designinput::setLoad(4, {{"Lasttype", "Hjultryk"},
                             {"LastForm", "Cirkel"},
                             {"bredde", 200.0},
                             {"Placering", "Midt"},
                             {"Størrelse", 20.0},
                             {"PartialK", 0.0}});
    rebind();
    // Shown from the slab page, with load 2 current on the hidden load page.
    w->dataLast->MoveNext();
    w->frmLast->hide();
    w->frmDaek->show();
    w->btnForrige->setEnabled(true);
    EXPECT_FALSE(whole());
    EXPECT_EQ(message(), "Partialkoefficient skal skal være positiv");
    EXPECT_TRUE(w->frmLast->isVisible());
    EXPECT_FALSE(w->frmDaek->isVisible());
    EXPECT_EQ(w->txtLastNr->text(), "4");
    EXPECT_EQ(w->cmbLastType->currentText(), "Hjultryk");
    EXPECT_EQ(w->txtLastStorrelse->text(), "20");
    EXPECT_EQ(focused(), "txtPartialK");
    EXPECT_TRUE(w->btnNaeste->isEnabled());
    EXPECT_FALSE(w->btnForrige->isEnabled());
    EXPECT_TRUE(w->btnBeregning->isEnabled());
    // The check commits first; the page is refreshed with the counter raised, and it is back at 0 after.
    EXPECT_EQ(w->calls,
              std::vector<QString>({"FormaterDaek", "FormaterIsolering", "Opdaterer 1", "VisLast 4", "FormaterLast"}));
    EXPECT_EQ(w->opdaterer(), 0);
}

TEST_F(CheckTest, AnErrorInThePageRefreshIsReportedAndTheCounterIsLoweredAgain) {
    designinput::setLoad(1, {{"PartialK", 0.0}});
    rebind();
    static_cast<CountingMain &>(*w).visLastFails = true;
    w->btnBeregning_Click();
    ASSERT_EQ(messages->shown.size(), 2u);
    EXPECT_EQ(messages->shown[0].text, "Partialkoefficient skal skal være positiv");
    const QStringList lines = messages->shown[1].text.split(QChar(13));
    EXPECT_EQ(lines[1], "Function: frmMain, Log nr. 73");
    EXPECT_EQ(lines[2], "Fejlnr.: 5, Invalid procedure call or argument");
    EXPECT_EQ(w->opdaterer(), 0);
}

TEST_F(CheckTest, ASlabFailureShowsTheSlabPageWithEveryWizardButtonEnabled) {
    designinput::setInddata({{"dæktykkelse", 24.0}});
    rebind();
    EXPECT_FALSE(whole());
    EXPECT_TRUE(w->frmDaek->isVisible());
    EXPECT_FALSE(w->frmLast->isVisible());
    EXPECT_EQ(focused(), "txtDaekTykkelse");
    EXPECT_TRUE(w->btnNaeste->isEnabled());
    EXPECT_TRUE(w->btnForrige->isEnabled());
    EXPECT_EQ(w->calls, std::vector<QString>(
                            {"FormaterDaek", "FormaterIsolering", "Opdaterer 1", "OpdaterDaekType", "FormaterDaek"}));
    EXPECT_EQ(w->opdaterer(), 0);
}

TEST_F(CheckTest, ALayerFailureShowsThatLayerOnTheLayerPage) {
    // Layer 1 empty and layer 2 given is a valid build-up.
    designinput::setLayer(1, {{"IsoleringType", ""}, {"IsoleringTykkelse", 0.0}});
    designinput::setLayer(2, {{"IsoleringType", "EPS 80"}, {"IsoleringTykkelse", 100.0}});
    rebind();
    EXPECT_TRUE(whole());
    designinput::setLayer(2, {{"IsoleringTykkelse", 10001.0}});
    rebind();
    EXPECT_FALSE(whole());
    EXPECT_EQ(message(), "Tykkelsen på isolering skal være min. 1 mm og max. 10.000 mm.");
    EXPECT_TRUE(w->frmIsolering->isVisible());
    EXPECT_TRUE(w->frmMellemlag->isVisible());
    EXPECT_TRUE(w->frmTerraen->isVisible());
    EXPECT_FALSE(w->frmLast->isVisible());
    EXPECT_EQ(w->txtIsoleringNr->text(), "2");
    EXPECT_EQ(w->cmbIsoleringType->currentText(), "EPS 80");
    EXPECT_EQ(focused(), "txtIsoleringTykkelse");
    EXPECT_FALSE(w->btnNaeste->isEnabled());
    EXPECT_TRUE(w->btnForrige->isEnabled());
    EXPECT_EQ(w->calls, std::vector<QString>({"FormaterDaek", "FormaterIsolering", "Opdaterer 1", "OpdaterTerraen",
                                              "FormaterDaek", "FormaterIsolering"}));
}

TEST_F(CheckTest, NoLayerShowsLayerOneWithTheFocusInItsTypeList) {
    designinput::setLayer(1, {{"IsoleringType", ""}});
    rebind();
    w->dataIsolering->MoveNext();
    EXPECT_FALSE(whole());
    EXPECT_EQ(message(), "Der skal angives mindst et isoleringslag");
    EXPECT_EQ(w->txtIsoleringNr->text(), "1");
    EXPECT_EQ(w->cmbIsoleringType->currentText(), "<ingen isolering>");
    EXPECT_EQ(focused(), "cmbIsoleringType");
}

TEST_F(CheckTest, TheLayerPageCheckTestsOnlyAChosenLayer) {
    showAllPages();
    const struct {
        const char *type, *thickness;
        bool ok;
    } cases[] = {{"<ingen isolering>", "0", true},
                 {"EPS 80", "1", true},
                 {"EPS 80", "10000", true},
                 {"EPS 80", "10001", false},
                 {"EPS 80", "0", false}};
    for (const auto &[type, thickness, ok] : cases) {
        messages->shown.clear();
        ui::SetListText(w->cmbIsoleringType, type);
        w->txtIsoleringTykkelse->setText(thickness);
        EXPECT_EQ(run([this] { return w->CheckIsolering(); }), ok) << type << " " << thickness;
    }
    EXPECT_EQ(message(), "Tykkelsen på isolering skal være min. 1 mm og max. 10.000 mm.");
    EXPECT_EQ(focused(), "txtIsoleringTykkelse");
}

TEST_F(CheckTest, AStoredLoadWithoutAShapeFailsInsteadOfReachingTheCalculation) {
    designinput::setLoad(1, {{"LastForm", Variant::Null()}});
    rebind();
    EXPECT_FALSE(whole());
    EXPECT_EQ(message(), "Lastformen skal angives");
}

TEST_F(CheckTest, ARunTimeErrorInTheCheckRisesToTheCommandThatRanIt) {
    designinput::setLoad(1, {{"Størrelse", Variant::Null()}});
    rebind();
    w->btnBeregning_Click();
    ASSERT_EQ(messages->shown.size(), 1u);
    const QStringList lines = message().split(QChar(13));
    EXPECT_EQ(lines[0], "Der opstod et problem under eksekvering af Fundator!");
    EXPECT_EQ(lines[1], "Function: frmMain, Log nr. 16");
    EXPECT_EQ(lines[2], "Fejlnr.: 94, Invalid use of Null");

    // A page check reads the boxes as numbers; text that is no number is an error for its caller.
    messages->shown.clear();
    w->txtLastStorrelse->setText("abc");
    EXPECT_THROW(w->CheckLast(), engine::RuntimeError);
    EXPECT_TRUE(messages->shown.empty());
}

} // namespace
