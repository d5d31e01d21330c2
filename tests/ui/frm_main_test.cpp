// The main window's own mechanism: loading, the start picture, the commands, the wizard and the record moves, with
// the page procedures recorded.

#include "calc/design_input.h"
#include "kit/command_button.h"
#include "page_script.h"
#include "support/file_lock.h"

using engine::Variant;

namespace {

class WindowTest : public uitest::ScriptTest {
protected:
    QString line(size_t message, int i) const { return messages->shown.at(message).text.split(QChar(13)).value(i); }
};

TEST_F(WindowTest, LoadFillsTheListsInRkFlgOrderAndAnUnreadableTableIsReported) {
    modMain::cnParam.Execute("INSERT INTO txtTerræn (RkFlg, Type, ballasttal) VALUES (0, 'Tørv', 5000)");
    load();
    EXPECT_EQ(ui::ListEntries(w->cmbTerraenType).mid(0, 2), QStringList({"Tørv", "Moræneler"}));
    w.reset();
    modMain::cnParam.Execute("DELETE FROM txtTerræn");
    load();
    run({"entries cmbTerraenType=Brugerdefineret"}); // the fixed entry stays
    w.reset();
    modMain::cnParam.Execute("DROP TABLE txtDaekLag");
    load();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(line(0, 0), "Der opstod et problem under eksekvering af Fundator!");
    EXPECT_EQ(w->cmbMKlasse->count() + w->cmbTerraenType->count(), 0); // the lists after it stay empty
}

TEST_F(WindowTest, ClosingAsksWhenTheInputChangedAndAnEditThatCannotBeStoredKeepsTheWindowOpen) {
    show();
    w->Command1_Click(6); // unchanged: no question
    EXPECT_FALSE(w->isVisible());
    showLoadPage();
    messages->answers = {platform::Answer::No, platform::Answer::No};
    // The close box commits an edit still in a box first.
    run({"focus txtLastStorrelse | set txtLastStorrelse=7"});
    EXPECT_FALSE(w->close());
    run({"msg=Data er ikke gemt. Fortsæt ? | db inddatalast.Størrelse=7"});
    w->Command1_Click(6);
    EXPECT_EQ(messages->shown.at(0).buttons, platform::Buttons::YesNo);
    run({"msg=Data er ikke gemt. Fortsæt ? | set txtLastStorrelse=abc"});
    EXPECT_FALSE(w->close());
    run({"msg~Fejlnr.: 13, Type mismatch | txtLastStorrelse=abc"});
    EXPECT_TRUE(w->isVisible());
}

TEST_F(WindowTest, LoadBoxesKeepTheirDisplayFormAfterACommand) {
    run({"store inddatalast.Lasttype=Punktlast | show Loads | enter txtLastStorrelse=50.5 | enter txtPartialK=1.5 | "
         "txtLastStorrelse=50,50 | txtPartialK=1,50",
         "alt H | txtLastStorrelse=50,50 | txtPartialK=1,50"});
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
    run({"do Command1_Click | msg=Indtastede data er ikke gemt. Fortsæt ? | calls= | db inddata.daekType=x",
         "do Command1_Click | msg=Indtastede data er ikke gemt. Fortsæt ? | db Firma.Navn=Firmaet | "
         "db inddata.InddataID=1 | db inddataisolering.lagnr#1=2 | db inddatalast.lastid#9=10 | focus=cmbLastType"});
    for (const auto &[table, fields] : kReset)
        for (int record = 0; record < QString(table).section('#', 1).toInt(); ++record) {
            QStringList checks;
            for (const QString &f : QString::fromUtf8(fields).split(' '))
                checks << QStringLiteral("db %1.%2#%3=%4")
                              .arg(QString(table).section('#', 0, 0), f.section('=', 0, 0))
                              .arg(record)
                              .arg(f.section('=', 1));
            run({checks.join(" | ")});
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
    run({"do Command1_Click | msg~Function: frmMain, Log nr. 848 | db inddatalast.PartialK=1"});
}

// New input that cannot be stored (another program reads the file meanwhile) is reported with its step, and the
// pages show the stored input again, which it left alone.
TEST_F(WindowTest, NewInputThatCannotBeStoredLeavesThePagesShowingTheStoredInput) {
    showLoadPage();
    run({"store inddatalast.Størrelse=12 | store inddata.dæktykkelse=200 | do Form_Activate | txtLastStorrelse=12"});
    ChangeCheck::SaveInddataValues();
    testsupport::shortenBusyWait(modMain::cnInddata);
    testsupport::FileReader reader(folder.file(QStringLiteral("inddata.mdb")));
    run({"do Command1_Click | msg~Function: frmMain, Log nr. 850\rFejlnr.: -2147467259, Could not use | "
         "txtLastStorrelse=12 | txtDaekTykkelse=200 | db inddatalast.Størrelse=12 | db inddata.dæktykkelse=200"});
}

TEST_F(WindowTest, AListRunsItsLostFocusBeforeACommandAndARefusalStopsIt) {
    showLoadPage();
    // Refused: neither the access key nor a mouse press reaches the command.
    run({"edit cmbLastType=xyz | alt H | click Command1_5 | focus=cmbLastType | cmbLastType=xyz | "
         "msg=Der skal vælges et emne fra listen / Der skal vælges et emne fra listen"});
    EXPECT_TRUE(help->shown.empty());
    // Accepted: completed and refreshed before the command acts.
    run({"edit cmbLastType=hjul | alt H | cmbLastType=Hjultryk | calls=VisLast 1",
         "edit cmbLastType=punkt | click Command1_5 | cmbLastType=Punktlast"});
    EXPECT_EQ(help->shown.size(), 2u);
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

TEST_F(NavigationTest, ARunTimeErrorInAMoveIsReportedWithItsStatementNumber) {
    run({"click btnNaeste | click btnNaeste | page=3"});
    w->dataIsolering->Recordset().Close();
    w->btnMoveIsolering_Click(0);
    run({"msg~Function: frmMain, Log nr. 821"});
}

} // namespace
