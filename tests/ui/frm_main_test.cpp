// The main window's own mechanism: loading, the start picture, the commands, the wizard and the record moves, with
// the page procedures recorded.

#include "calc/design_input.h"
#include "page_script.h"
#include "ui/command_button.h"

#include <QMessageBox>
#include <QMetaObject>

using engine::Variant;

namespace {

class WindowTest : public uitest::ScriptTest {
protected:
    QString line(size_t message, int i) const { return messages->shown.at(message).text.split(QChar(13)).value(i); }
};

TEST_F(WindowTest, LoadFillsEveryListInRkFlgOrderAndAnEmptyTableLeavesTheFixedEntries) {
    modMain::cnParam.Execute("INSERT INTO txtTerræn (RkFlg, Type, ballasttal) VALUES (0, 'Tørv', 5000)");
    load();
    run({"entries cmbLastType=<ingen last>/Hjultryk/Punktlast/Fladelast/Linielast/Lastpar | "
         "entries cmbLastForm=Rektangel/Kvadrat/Cirkel/Linielast | entries cmbLastPlacering=Kant/Fuge/Midt | "
         "entries cmbDaekSikkerhedsklasse=Lav/Normal/Høj | entries cmbMKlasse=Passiv/Moderat/Aggressiv/Ekstra "
         "aggressiv | "
         "lblVersion=Version 2.01"});
    EXPECT_EQ(ui::ListEntries(w->cmbDaekType).mid(0, 2), QStringList({"Beton", "Spånplade P5, 22 mm"}));
    EXPECT_EQ(ui::ListEntries(w->cmbDaekKvalitet).mid(0, 1), QStringList({"C12/15"}));
    EXPECT_EQ(ui::ListEntries(w->cmbIsoleringType).mid(0, 2), QStringList({"<ingen isolering>", "EPS 80"}));
    EXPECT_EQ(ui::ListEntries(w->cmbMellemlagType).mid(0, 2), QStringList({"Intet", "Singels 4-8 mm"}));
    EXPECT_EQ(ui::ListEntries(w->cmbTerraenType).mid(0, 2), QStringList({"Tørv", "Moræneler"}));
    w.reset();
    modMain::cnParam.Execute("DELETE FROM txtDaekType");
    modMain::cnParam.Execute("DELETE FROM txtTerræn");
    load();
    run({"entries cmbDaekType=Beton/Brugerdefineret | entries cmbTerraenType=Brugerdefineret"});
    // An unreadable table is reported and the lists after it stay empty.
    w.reset();
    modMain::cnParam.Execute("DROP TABLE txtDaekLag");
    load();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(line(0, 1), "Function: frmMain, Log nr. 923");
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
    EXPECT_EQ(w->cmbDaekKvalitet->count(), 8);
    EXPECT_EQ(w->cmbMKlasse->count() + w->cmbIsoleringType->count() + w->cmbTerraenType->count(), 0);
}

TEST_F(WindowTest, TheStartPictureBindsTheFirstRecordsAndNewInputLeavesItForTheLoadPage) {
    store("inddatalast", "Lasttype", "Punktlast");
    store("inddatalast", "Størrelse", 12.5);
    ChangeCheck::SaveInddataValues();
    show();
    EXPECT_EQ(w->Command1[1], nullptr); // indexes 1 and 3 of the button bar do not exist
    EXPECT_EQ(w->Command1[3], nullptr);
    run({"calls=TegnSkitse(True), FormaterDaek, FormaterIsolering | shown=imgOpstart | hidden=frmLast frmDaek "
         "frmIsolering frmMellemlag frmTerraen Skitse lblFrmBund btnBeregning btnForrige btnNaeste | "
         "ro=txtLastNr txtIsoleringNr txtDaeklag txtRevnevidde | cmbLastType=Punktlast | txtLastNr txtIsoleringNr=1 | "
         "txtLastStorrelse=12,5",
         // Unchanged input resets without a question; the layers' moduli are 0 after new input.
         "do Command1_Click | hidden=imgOpstart frmDaek | shown=frmLast Skitse lblFrmBund btnNaeste btnForrige btnBeregning "
         "| "
         "off=btnForrige | focus=cmbLastType | cmbLastType=<ingen last> | cmbIsoleringType=<ingen isolering> | "
         "db inddataisolering.Eo=0 | db inddataisolering.En#1=0 | "
         "calls=VisLast 1, FormaterLast, TegnSkitse(True), FormaterDaek, FormaterIsolering"});
    // The help file of the program's folder, at its contents.
    w->Command1_Click(5);
    EXPECT_EQ(help->shown, std::vector<QString>{QCoreApplication::applicationDirPath() + "/FundatorHelp.HLP"});
}

TEST_F(WindowTest, ClosingAsksOnlyWhenTheInputChangedAndNoKeepsTheWindow) {
    show();
    w->Command1_Click(6);
    EXPECT_FALSE(w->isVisible());
    show();
    store("projekt", "tekst", "Hal 2");
    messages->answers = {platform::Answer::No};
    EXPECT_FALSE(w->close());
    EXPECT_EQ(stored("projekt", "tekst"), Variant("Hal 2"));
    w->Command1_Click(6);
    EXPECT_EQ(shownTexts(), std::vector<QString>(2, "Data er ikke gemt. Fortsæt ?"));
    EXPECT_EQ(messages->shown[0].buttons, platform::Buttons::YesNo);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(WindowTest, ClosingCommitsAnEditStillInABoxAndAnEditThatCannotBeStoredKeepsTheWindowOpen) {
    showLoadPage();
    messages->answers = {platform::Answer::No};
    run({"focus txtLastStorrelse | set txtLastStorrelse=7"});
    EXPECT_FALSE(w->close());
    run({"msg=Data er ikke gemt. Fortsæt ? | db inddatalast.Størrelse=7 | set txtLastStorrelse=abc"});
    EXPECT_FALSE(w->close());
    w->Command1_Click(6);
    ASSERT_EQ(messages->shown.size(), 2u);
    EXPECT_EQ(line(0, 1), "Function: frmMain, Log nr. 941");
    EXPECT_EQ(line(0, 2), "Fejlnr.: 13, Type mismatch");
    EXPECT_EQ(line(1, 1), "Function: frmMain, Log nr. 836");
    EXPECT_TRUE(w->isVisible());
}

// Every field that new input resets, as "field=value", and the records of its table.
const std::pair<const char *, const char *> kReset[] = {
    {"inddatalast#10",
     "Lasttype='' Afstand=0 LastForm='' bredde=0 længde=0 Placering='' Afstandfra=0 Størrelse=0 PartialK=1"},
    {"inddata#1",
     "daekType='' sikkerhedsklassetext='' kvalitettext='' TrykstyrkeRgm=0 tau=0 TraekstyrkeRgm=0 "
     "TraekstyrkeKar=0 Eo=0 En=0 Go=0 GN=0 dæktykkelse=0 Miljøklasse='' dæklag=0 Revnevidde=0 mellemlag='' "
     "mellemlagtykkelse=0 mellemlagkorr=0 mellemlaglambda=0 terræn='' terrænballast=0 terrænzigma=0 "
     "isolballasto=0 isolballastn=0 resBallasto=0 resBallastn=0 Uværdi=0"},
    {"inddataisolering#2", "IsoleringType='' IsoleringTykkelse=0 Zigmao=0 Zigman=0 LambdaTør=0 LambdaVåd=0 Eo=0 En=0"},
    {"projekt#1", "projektid='' beregner='' dato='' tekst=''"},
};

TEST_F(WindowTest, NewInputAsksWhenChangedAndResetsEveryFieldOfEveryRecordButTheKeys) {
    showLoadPage();
    for (const auto &[table, fields] : kReset)
        for (const QString &f : QString::fromUtf8(fields).split(' '))
            modMain::cnInddata.Execute(QStringLiteral("UPDATE \"%1\" SET \"%2\" = %3")
                                           .arg(QString(table).section('#', 0, 0), f.section('=', 0, 0),
                                                f.section('=', 1) == "''" ? "'x'" : "7"));
    store("Firma", "Navn", "Firmaet");
    messages->answers = {platform::Answer::No};
    run({"do Command1_Click | msg=Indtastede data er ikke gemt. Fortsæt ? | calls= | db inddata.daekType=x"});
    run({"do Command1_Click | msg=Indtastede data er ikke gemt. Fortsæt ? | db Firma.Navn=Firmaet | db inddata.InddataID=1 | "
         "db inddataisolering.lagnr#1=2 | db inddatalast.lastid#9=10 | cmbLastType=<ingen last> | focus=cmbLastType"});
    for (const auto &[table, fields] : kReset) {
        engine::Recordset rs;
        rs.Open(QString(table).section('#', 0, 0), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly,
                engine::adCmdTable);
        int records = 0;
        for (; !rs.Eof(); rs.MoveNext(), ++records)
            for (const QString &f : QString::fromUtf8(fields).split(' '))
                EXPECT_EQ(rs.Fields(f.section('=', 0, 0)).Value(), value(f.section('=', 1)))
                    << table << " " << f.toStdString();
        EXPECT_EQ(records, QString(table).section('#', 1).toInt()) << table;
    }
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    // A missing project record is added.
    modMain::cnInddata.Execute("DELETE FROM projekt");
    ChangeCheck::SaveInddataValues();
    run({"do Command1_Click | db projekt.projektid=''"});
    // An error in the command is reported with its statement; what was reset before it stays reset.
    modMain::cnInddata.Execute("DROP TABLE projekt");
    store("inddatalast", "PartialK", 3.0);
    ChangeCheck::SaveInddataValues();
    w->Command1_Click(0);
    EXPECT_EQ(line(messages->shown.size() - 1, 1), "Function: frmMain, Log nr. 848");
    EXPECT_EQ(stored("inddatalast", "PartialK"), Variant(1.0));
}

TEST_F(WindowTest, ClosingAModalWindowReactivatesAtLoadOneAndRefreshesTheVisiblePages) {
    showLoadPage();
    run({"do dataLast->MoveNext | do dataLast->MoveNext | txtLastNr=3 | store inddatalast.Lasttype=Hjultryk"});
    uitest::CloseModalSoon();
    w->Command1_Click(2);
    run({"txtLastNr=1 | cmbLastType=Hjultryk | calls=TegnSkitse(True), FormaterDaek, FormaterIsolering, VisLast 1"});
    w->frmLast->hide();
    showAllPages();
    uitest::CloseModalSoon();
    w->Command1_Click(4);
    run({"calls=TegnSkitse(True), FormaterDaek, FormaterIsolering, OpdaterDaekType, OpdaterIsolering, "
         "OpdaterMellemlag, OpdaterTerraen"});
}

// Shows each message in a real box, which takes the activation from the main window and gives it back.
class ClosingMessages : public platform::MessageService {
public:
    int shown = 0;
    platform::Answer show(const QString &text, platform::Buttons, platform::Icon, const QString &caption) override {
        ++shown;
        QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
        QTimer::singleShot(50, &box, &QMessageBox::accept);
        box.exec();
        return platform::Answer::Ok;
    }
};

TEST_F(WindowTest, AMessageBoxClosingDoesNotRebindThePages) {
    showLoadPage();
    w->dataLast->MoveNext();
    auto boxes = std::make_shared<ClosingMessages>();
    platform::setMessageService(boxes);
    run({"edit cmbLastType=xyz"});
    uitest::keyClick(w->cmbLastType, Qt::Key_Return);
    uitest::wait(20);
    platform::setMessageService(messages);
    EXPECT_EQ(boxes->shown, 1);
    EXPECT_EQ(w->count("TegnSkitse(True)"), 0);
    EXPECT_EQ(w->txtLastNr->text(), "2");
}

TEST_F(WindowTest, AListRunsItsLostFocusBeforeACommandAndARefusalStopsIt) {
    showLoadPage();
    // Refused: neither the access key nor a mouse press reaches the command.
    run({"edit cmbLastType=xyz | alt H | click Command1_5 | msg=Der skal vælges et emne fra listen / Der skal vælges "
         "et emne fra listen | "
         "focus=cmbLastType | cmbLastType=xyz"});
    EXPECT_TRUE(help->shown.empty());
    // Accepted: completed and refreshed before the command acts.
    run({"edit cmbLastType=hjul | alt H | cmbLastType=Hjultryk | calls=VisLast 1",
         "edit cmbLastType=punkt | click Command1_5 | cmbLastType=Punktlast"});
    EXPECT_EQ(help->shown.size(), 2u);
}

TEST_F(WindowTest, AnErrorInTheActivationIsReportedAndWhatWasBoundStaysBound) {
    modMain::cnInddata.Execute("DROP TABLE inddatalast");
    show();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(line(0, 1), "Function: frmMain, Log nr. 874");
    EXPECT_TRUE(w->dataInddata->HasRecordset() && w->dataIsolering->HasRecordset());
    EXPECT_FALSE(w->dataLast->HasRecordset());
    EXPECT_TRUE(w->calls.empty());
}

TEST_F(WindowTest, TheSketchRunCommitsThePagesBeforeItDerivesAndStores) {
    show();
    run({"set txtIsoleringType=EPS 100 | set txtIsoleringTykkelse=100 | set txtIsolEo=4000"});
    w->TegnSkitse(true); // forced: stores nothing
    run({"db inddataisolering.IsoleringTykkelse=100 | db inddata.isolballasto=0"});
    w->TegnSkitse(false);
    EXPECT_NEAR(stored("inddata", "isolballasto").toDouble(), 40000.0, 40000.0 * 1e-12);
}

// The wizard: Next and Previous walk the pages after each page's check; the record moves after the load's.
class NavigationTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        showLoadPage();
    }
};

TEST_F(NavigationTest, NextAndPreviousWalkThePagesWithTheButtonsFollowing) {
    run({"page=1 | off=btnForrige | on=btnNaeste btnBeregning",
         "click btnNaeste | page=2 | on=btnForrige btnNaeste | focus=cmbDaekType | calls=OpdaterDaekType, FormaterDaek",
         "click btnNaeste | page=3 | off=btnNaeste | focus=cmbIsoleringType | "
         "calls=OpdaterMellemlag, OpdaterTerraen, FormaterDaek, FormaterIsolering",
         // The layer page's own check needs an intermediate layer.
         "set cmbMellemlagType=Intet | alt F | page=2 | on=btnForrige btnNaeste | focus=cmbDaekType | "
         "calls=OpdaterDaekType, FormaterDaek",
         "alt F | page=1 | off=btnForrige | focus=cmbLastType | calls=VisLast 1, FormaterLast"});
}

TEST_F(NavigationTest, EachPagesCheckStopsTheWizardAndItsLostFocusRunsFirst) {
    run({"set cmbLastType=Punktlast | set txtLastStorrelse=3 | alt N | page=1 | msg=Lastformen skal angives | "
         "focus=cmbLastForm | txtLastStorrelse=3 | db inddatalast.Størrelse=0 | calls=VisLast 1",
         "set cmbLastType=Fladelast | do VisLast | focus txtLastStorrelse",
         "type txtLastStorrelse=abc | alt N | msg=Feltet kan kun indeholde numeriske værdier. | page=1 | "
         "focus=txtLastStorrelse"});
    w->txtLastStorrelse->selectAll();
    run({"type txtLastStorrelse=2.5 | alt N | page=2 | db inddatalast.Størrelse=2.5",
         "set cmbDaekType=Beton | do btnNaeste_Click | msg=Sikkerhedsklasse skal angives | focus=cmbDaekSikkerhedsklasse",
         "do btnForrige_Click | msg=Sikkerhedsklasse skal angives | page=2 | on=btnForrige btnNaeste",
         // An empty slab type passes.
         "set cmbDaekType= | set txtDaekTrykstyrke=12 | do btnNaeste_Click | page=3 | db inddata.TrykstyrkeRgm=12",
         // No terrain chosen passes; a user-defined one needs its modulus.
         "set cmbMellemlagType=Intet | click btnForrige | page=2 | calls=OpdaterDaekType, FormaterDaek",
         "click btnNaeste | set cmbTerraenType=Brugerdefineret | set txtTerraenBallast=0 | click btnForrige | page=3 | "
         "msg=Terrænets ballasttal skal skal være positiv | focus=txtTerraenBallast",
         // Both records are written on the way back.
         "set txtTerraenBallast=20000 | set cmbIsoleringType=EPS 80 | set txtIsoleringTykkelse=100 | click btnForrige "
         "| "
         "page=2 | db inddataisolering.IsoleringTykkelse=100 | db inddata.terrænballast=20000"});
}

TEST_F(NavigationTest, NextFromTheLoadPageLetsPendingEventsRunOnceAfterTheCheckAndCommitsTheLoad) {
    w->txtLastStorrelse->setText("7");
    QMetaObject::invokeMethod(
        w.get(), [this] { w->calls.push_back("queued " + stored("inddatalast", "Størrelse").toString()); },
        Qt::QueuedConnection);
    w->btnNaeste_Click();
    // Not yet committed when the events run.
    EXPECT_EQ(w->calls, std::vector<QString>({"queued 0", "OpdaterDaekType", "FormaterDaek"}));
    EXPECT_EQ(stored("inddatalast", "Størrelse"), Variant(7.0));
    // A failing check lets nothing run.
    w->btnForrige_Click();
    ui::SetListText(w->cmbLastType, "Punktlast");
    QMetaObject::invokeMethod(
        w.get(), [this] { w->calls.push_back("queued"); }, Qt::QueuedConnection);
    w->btnNaeste_Click();
    EXPECT_EQ(w->count("queued"), 0);
    uitest::processEvents();
    EXPECT_EQ(w->count("queued"), 1);
}

TEST_F(NavigationTest, BackFromTheSlabPageAndLoadMovesShowTheLoadLeftWhichIsCommitted) {
    store("inddatalast", "Lasttype", "Fladelast", 9);
    store("inddatalast", "Størrelse", 2.5, 9);
    store("inddatalast", "Lasttype", "Fladelast", 2);
    store("inddatalast", "Størrelse", 5.0, 2);
    run({"do Form_Activate | set txtLastStorrelse=4 | click btnMoveLast_1 | txtLastNr=2 | db inddatalast.Størrelse=4",
         "click btnMoveLast_1 | txtLastNr=3 | cmbLastType=Fladelast", "click btnNaeste",
         "click btnForrige | page=1 | txtLastNr=3 | cmbLastType=Fladelast | txtLastStorrelse=5 | "
         "calls=VisLast 3, FormaterLast",
         "click btnMoveLast_0 | click btnMoveLast_0 | txtLastNr=1",
         "click btnMoveLast_0 | txtLastNr=10 | cmbLastType=Fladelast | calls=FormaterLast, VisLast 10"});
    QStringList visited;
    for (int i = 0; i < 10; ++i) {
        uitest::keyClick(w.get(), Qt::Key_Greater, Qt::AltModifier, ">");
        visited << w->txtLastNr->text();
    }
    EXPECT_EQ(visited.join(' '), "1 2 3 4 5 6 7 8 9 10");
    run({"cmbLastType=Fladelast | click btnMoveLast_1 | txtLastNr=1 | cmbLastType=<ingen last>",
         "set cmbLastType=Hjultryk | click btnMoveLast_0 | msg=Lastformen skal angives | txtLastNr=1"});
}

TEST_F(NavigationTest, LayerMovesAlternateAndAreBlockedOnlyByAChosenLayer) {
    store("inddataisolering", "IsoleringType", "EPS 100", 1);
    store("inddataisolering", "IsoleringTykkelse", 50.0, 1);
    run({"do Form_Activate | click btnNaeste | click btnNaeste | page=3",
         "set txtIsoleringTykkelse=0 | click btnMoveIsolering_1 | txtIsoleringNr=2 | cmbIsoleringType=EPS 100 | "
         "calls=FormaterIsolering",
         "click btnMoveIsolering_1 | txtIsoleringNr=1 | cmbIsoleringType=<ingen isolering>",
         "click btnMoveIsolering_0 | txtIsoleringNr=2",
         "set cmbIsoleringType=EPS 80 | set txtIsoleringTykkelse=0 | click btnMoveIsolering_1 | txtIsoleringNr=2 | "
         "msg=Tykkelsen på isolering skal være min. 1 mm og max. 10.000 mm. | focus=txtIsoleringTykkelse"});
}

TEST_F(NavigationTest, CommittingRewritesTheCrackWidthAndFormatsTheLoadBoxesOnlyAfterALoadEdit) {
    // The box shows 0; whatever the record holds since is written over from the box.
    store("inddata", "Revnevidde", 0.2);
    run({"do GemInddata | db inddata.Revnevidde=0 | calls=FormaterDaek, FormaterIsolering",
         "set txtPartialK=1,35 | set txtIsoleringTykkelse=80 | do GemInddata | db inddatalast.PartialK=1.35 | "
         "db inddataisolering.IsoleringTykkelse=80 | calls=FormaterDaek, FormaterIsolering, FormaterLast"});
    EXPECT_EQ(w->dataLast->EditMode(), engine::adEditNone);
}

TEST_F(NavigationTest, ARunTimeErrorInAMoveIsReportedWithItsStatementNumber) {
    run({"set cmbLastType=Punktlast | set cmbLastForm=Kvadrat | set txtLastFormBredde=abc"});
    w->btnNaeste_Click();
    w->btnMoveLast_Click(1);
    ASSERT_EQ(messages->shown.size(), 2u);
    EXPECT_EQ(line(0, 2) + line(1, 2), "Fejlnr.: 13, Type mismatchFejlnr.: 13, Type mismatch");
    messages->shown.clear();
    // A closed layer recordset: the error of the move itself.
    run({"page=1 | txtLastNr=1 | set cmbLastType=<ingen last> | set txtLastFormBredde=0 | click btnNaeste | "
         "click btnNaeste | page=3"});
    w->dataIsolering->Recordset().Close();
    w->btnMoveIsolering_Click(0);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(line(0, 1), "Function: frmMain, Log nr. 821");
}

} // namespace
