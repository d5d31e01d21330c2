#include "main_window_fixture.h"
#include "ui/command_button.h"
#include "ui/controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>

using engine::Variant;
using uitest::MainWindowTest;

namespace {

QStringList entries(const QComboBox *list) { return ui::ListEntries(list); }
QString line(const platform::RecordingMessages::Shown &m, int i) { return m.text.split(QChar(13)).value(i); }

TEST_F(MainWindowTest, LoadFillsEveryListInRkFlgOrderWithTheFixedEntries) {
    load();
    EXPECT_EQ(entries(w->cmbLastType),
              QStringList({"<ingen last>", "Hjultryk", "Punktlast", "Fladelast", "Linielast", "Lastpar"}));
    EXPECT_EQ(entries(w->cmbLastForm), QStringList({"Rektangel", "Kvadrat", "Cirkel", "Linielast"}));
    EXPECT_EQ(entries(w->cmbLastPlacering), QStringList({"Kant", "Fuge", "Midt"}));
    const QStringList daekType = entries(w->cmbDaekType);
    ASSERT_EQ(daekType.size(), 8);
    EXPECT_EQ(daekType.front(), "Beton");
    EXPECT_EQ(daekType[1], QString::fromUtf8("Spånplade P5, 22 mm"));
    EXPECT_EQ(daekType.back(), "Brugerdefineret");
    EXPECT_EQ(entries(w->cmbDaekSikkerhedsklasse), QStringList({"Lav", "Normal", QString::fromUtf8("Høj")}));
    EXPECT_EQ(entries(w->cmbDaekKvalitet).front(), "C12/15");
    EXPECT_EQ(entries(w->cmbDaekKvalitet).back(), "C45/55");
    EXPECT_EQ(entries(w->cmbMKlasse), QStringList({"Passiv", "Moderat", "Aggressiv", "Ekstra aggressiv"}));
    EXPECT_EQ(entries(w->cmbIsoleringType).mid(0, 2), QStringList({"<ingen isolering>", "EPS 80"}));
    EXPECT_EQ(entries(w->cmbMellemlagType).mid(0, 2), QStringList({"Intet", "Singels 4-8 mm"}));
    EXPECT_EQ(entries(w->cmbTerraenType).front(), QString::fromUtf8("Moræneler"));
    EXPECT_EQ(entries(w->cmbTerraenType).back(), "Brugerdefineret");
    EXPECT_EQ(w->lblVersion->text(), "Version 2.01");
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(MainWindowTest, ListsFollowRkFlgAndAnEmptyTableLeavesOnlyTheFixedEntries) {
    modMain::cnParam.Execute(
        QString::fromUtf8("INSERT INTO txtTerræn (RkFlg, Type, ballasttal) VALUES (0, 'Tørv', 5000)"));
    load();
    EXPECT_EQ(entries(w->cmbTerraenType).front(), QString::fromUtf8("Tørv"));
    w.reset();
    modMain::cnParam.Execute(QStringLiteral("DELETE FROM txtDaekType"));
    modMain::cnParam.Execute(QString::fromUtf8("DELETE FROM txtTerræn"));
    load();
    EXPECT_EQ(entries(w->cmbDaekType), QStringList({"Beton", "Brugerdefineret"}));
    EXPECT_EQ(entries(w->cmbTerraenType), QStringList({"Brugerdefineret"}));
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(MainWindowTest, AnUnreadableParameterTableIsReportedAndTheListsAfterItStayEmpty) {
    modMain::cnParam.Execute(QStringLiteral("DROP TABLE txtDaekLag"));
    load();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text.split(QChar(13)).size(), 4);
    EXPECT_EQ(line(messages->shown[0], 0), "Der opstod et problem under eksekvering af Fundator!");
    EXPECT_EQ(line(messages->shown[0], 1), "Function: frmMain, Log nr. 923");
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
    EXPECT_EQ(w->cmbDaekKvalitet->count(), 8);
    for (QComboBox *after : {w->cmbMKlasse, w->cmbIsoleringType, w->cmbTerraenType})
        EXPECT_EQ(after->count(), 0) << after->objectName().toStdString();
}

TEST_F(MainWindowTest, TheWindowOpensOnTheStartPictureWithTheKeysReadOnly) {
    show();
    EXPECT_EQ(w->windowTitle(), "Fundator");
    EXPECT_TRUE(w->imgOpstart->isVisible());
    EXPECT_EQ(w->imgOpstart->pixmap().size(), QSize(650, 441));
    for (QWidget *hidden :
         std::initializer_list<QWidget *>{w->frmLast, w->frmDaek, w->frmIsolering, w->frmMellemlag, w->frmTerraen,
                                          w->Skitse, w->lblFrmBund, w->btnBeregning, w->btnForrige, w->btnNaeste})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    // Indexes 1 and 3 of the button bar do not exist.
    EXPECT_EQ(w->Command1[1], nullptr);
    EXPECT_EQ(w->Command1[3], nullptr);
    EXPECT_EQ(w->Command1[6]->text(), "&Afslut");
    // Typing into a key would corrupt the records.
    for (QLineEdit *box : {w->txtLastNr, w->txtIsoleringNr, w->txtDaeklag, w->txtRevnevidde})
        EXPECT_TRUE(box->isReadOnly());
}

TEST_F(MainWindowTest, FirstShowingBindsTheFirstLoadAndLayerAndForcesTheSketch) {
    store("inddatalast", "Lasttype", QStringLiteral("Punktlast"));
    store("inddatalast", QString::fromUtf8("Størrelse"), 12.5);
    store("inddataisolering", "IsoleringType", QStringLiteral("EPS 100"));
    show();
    EXPECT_EQ(w->calls, std::vector<QString>({"TegnSkitse(True)", "FormaterDaek", "FormaterIsolering"}));
    EXPECT_EQ(w->cmbLastType->currentText(), "Punktlast");
    EXPECT_EQ(w->cmbIsoleringType->currentText(), "EPS 100");
    EXPECT_EQ(w->txtLastNr->text(), "1");
    EXPECT_EQ(w->txtLastStorrelse->text(), "12,5");
    EXPECT_EQ(w->txtIsoleringNr->text(), "1");
    EXPECT_EQ(w->dataLast->EditMode(), engine::adEditNone);
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(MainWindowTest, LeavingTheStartPictureShowsTheLoadPage) {
    show();
    w->Command1_Click(5);
    EXPECT_FALSE(w->imgOpstart->isVisible());
    for (QWidget *shown : std::initializer_list<QWidget *>{w->frmLast, w->Skitse, w->lblFrmBund, w->btnNaeste,
                                                           w->btnForrige, w->btnBeregning})
        EXPECT_TRUE(shown->isVisible()) << shown->objectName().toStdString();
    EXPECT_FALSE(w->frmDaek->isVisible());
    EXPECT_FALSE(w->btnForrige->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), w->cmbLastType);
    // The help file of the program's folder, at its contents.
    ASSERT_EQ(help->shown.size(), 1u);
    EXPECT_EQ(help->shown[0], QCoreApplication::applicationDirPath() + "/FundatorHelp.HLP");
}

TEST_F(MainWindowTest, AfslutOnTheStartPictureAsksWhenChangedAndClosesWithoutPages) {
    show();
    store("projekt", "tekst", QStringLiteral("Hal 2"));
    w->Command1_Click(6);
    EXPECT_EQ(shownTexts(), std::vector<QString>({"Data er ikke gemt. Fortsæt ?"}));
    EXPECT_EQ(messages->shown[0].buttons, platform::Buttons::YesNo);
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::None);
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->frmLast->isVisibleTo(w.get()));
    EXPECT_TRUE(w->imgOpstart->isVisibleTo(w.get()));
}

TEST_F(MainWindowTest, UnchangedInputClosesWithoutAQuestion) {
    show();
    w->Command1_Click(6);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_FALSE(w->isVisible());
}

TEST_F(MainWindowTest, AnsweringNoToTheClosingQuestionKeepsTheWindowAndTheInput) {
    show();
    store("inddata", "daekType", QStringLiteral("Beton"));
    messages->answers = {platform::Answer::No};
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(stored("inddata", "daekType"), Variant("Beton"));
    EXPECT_EQ(messages->shown.size(), 1u);
}

TEST_F(MainWindowTest, TheCloseBoxCommitsAnEditStillInABoxSoTheQuestionIsAsked) {
    showLoadPage();
    w->txtLastStorrelse->setFocus();
    uitest::keyClicks(w->txtLastStorrelse, "7");
    messages->answers = {platform::Answer::No};
    EXPECT_FALSE(w->close());
    EXPECT_EQ(shownTexts(), std::vector<QString>({"Data er ikke gemt. Fortsæt ?"}));
    EXPECT_EQ(stored("inddatalast", QString::fromUtf8("Størrelse")), Variant(7.0));
}

TEST_F(MainWindowTest, AnEditThatCannotBeStoredKeepsTheWindowOpenWhicheverWayItIsClosed) {
    showLoadPage();
    w->txtLastStorrelse->setFocus();
    uitest::processEvents(); // the box selects its text on a zero-delay timer
    uitest::keyClicks(w->txtLastStorrelse, "abc");
    EXPECT_FALSE(w->close());
    w->Command1_Click(6);
    ASSERT_EQ(messages->shown.size(), 2u);
    EXPECT_EQ(line(messages->shown[0], 1), "Function: frmMain, Log nr. 941");
    EXPECT_EQ(line(messages->shown[0], 2), "Fejlnr.: 13, Type mismatch");
    EXPECT_EQ(line(messages->shown[1], 1), "Function: frmMain, Log nr. 836");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->txtLastStorrelse->text(), "abc");
}

TEST_F(MainWindowTest, NewInputWithUnchangedInputResetsWithoutAQuestion) {
    show();
    w->Command1_Click(0);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_TRUE(w->frmLast->isVisible());
    EXPECT_EQ(w->cmbLastType->currentText(), "<ingen last>");
    EXPECT_EQ(w->cmbIsoleringType->currentText(), "<ingen isolering>");
    EXPECT_EQ(QApplication::focusWidget(), w->cmbLastType);
    // The layers' moduli are 0 after new input, 1 after start-up.
    EXPECT_EQ(stored("inddataisolering", "Eo"), Variant(0.0));
    EXPECT_EQ(stored("inddataisolering", "En", 1), Variant(0.0));
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    EXPECT_EQ(w->calls,
              std::vector<QString>({"TegnSkitse(True)", "FormaterDaek", "FormaterIsolering", "VisLast 1",
                                    "FormaterLast", "TegnSkitse(True)", "FormaterDaek", "FormaterIsolering"}));
}

// Every field that new input resets, as "field=value" ('' the empty text), and the records of its table.
struct Reset {
    const char *table;
    int records;
    const char *fields;
};
const Reset kReset[] = {
    {"inddatalast", 10,
     "Lasttype='' Afstand=0 LastForm='' bredde=0 længde=0 Placering='' Afstandfra=0 Størrelse=0 "
     "PartialK=1"},
    {"inddata", 1,
     "daekType='' sikkerhedsklassetext='' kvalitettext='' TrykstyrkeRgm=0 tau=0 TraekstyrkeRgm=0 TraekstyrkeKar=0 "
     "Eo=0 En=0 Go=0 GN=0 dæktykkelse=0 Miljøklasse='' dæklag=0 Revnevidde=0 mellemlag='' mellemlagtykkelse=0 "
     "mellemlagkorr=0 mellemlaglambda=0 terræn='' terrænballast=0 terrænzigma=0 isolballasto=0 isolballastn=0 "
     "resBallasto=0 resBallastn=0 Uværdi=0"},
    {"inddataisolering", 2, "IsoleringType='' IsoleringTykkelse=0 Zigmao=0 Zigman=0 LambdaTør=0 LambdaVåd=0 Eo=0 En=0"},
    {"projekt", 1, "projektid='' beregner='' dato='' tekst=''"},
};
std::vector<std::pair<QString, Variant>> resetFields(const Reset &r) {
    std::vector<std::pair<QString, Variant>> fields;
    for (const QString &f : QString::fromUtf8(r.fields).split(' ')) {
        const QString value = f.section('=', 1);
        fields.emplace_back(f.section('=', 0, 0), value == "''" ? Variant("") : Variant(value.toDouble()));
    }
    return fields;
}

TEST_F(MainWindowTest, NewInputWithChangedInputAsksAndResetsEveryFieldOfEveryRecordButTheKeys) {
    showLoadPage();
    for (const Reset &table : kReset)
        for (const auto &[field, value] : resetFields(table))
            modMain::cnInddata.Execute(QStringLiteral("UPDATE \"%1\" SET \"%2\" = %3")
                                           .arg(table.table, field, value.isString() ? "'x'" : "7"));
    store("Firma", "Navn", QStringLiteral("Firmaet"));
    w->Command1_Click(0);
    EXPECT_EQ(shownTexts(), std::vector<QString>({"Indtastede data er ikke gemt. Fortsæt ?"}));
    for (const Reset &table : kReset) {
        engine::Recordset rs;
        rs.Open(table.table, modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
        int records = 0;
        for (; !rs.Eof(); rs.MoveNext(), ++records)
            for (const auto &[field, value] : resetFields(table))
                EXPECT_EQ(rs.Fields(field).Value(), value) << table.table << "." << field.toStdString();
        EXPECT_EQ(records, table.records) << table.table;
    }
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(stored("inddatalast", "lastid", i), Variant(i + 1));
    EXPECT_EQ(stored("inddataisolering", "lagnr", 1), Variant(2));
    EXPECT_EQ(stored("inddata", "InddataID"), Variant(1));
    EXPECT_EQ(stored("Firma", "Navn"), Variant("Firmaet"));
    EXPECT_FALSE(ChangeCheck::InddataChanged());
}

TEST_F(MainWindowTest, NewInputAnsweredNoChangesNothing) {
    showLoadPage();
    store("inddata", "daekType", QStringLiteral("Beton"));
    messages->answers = {platform::Answer::No};
    w->Command1_Click(0);
    EXPECT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(stored("inddata", "daekType"), Variant("Beton"));
    EXPECT_TRUE(w->calls.empty());
}

TEST_F(MainWindowTest, NewInputAddsTheProjectRecordWhenItIsMissing) {
    show();
    modMain::cnInddata.Execute(QStringLiteral("DELETE FROM projekt"));
    ChangeCheck::SaveInddataValues();
    w->Command1_Click(0);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(stored("projekt", "projektid"), Variant(""));
}

TEST_F(MainWindowTest, ClosingAModalWindowReactivatesAtLoadOneAndRefreshesTheVisiblePages) {
    showLoadPage();
    w->dataLast->MoveNext();
    w->dataLast->MoveNext();
    ASSERT_EQ(w->txtLastNr->text(), "3");
    store("inddatalast", "Lasttype", QStringLiteral("Hjultryk"));
    uitest::CloseModalSoon();
    w->Command1_Click(2);
    EXPECT_EQ(w->txtLastNr->text(), "1");
    EXPECT_EQ(w->cmbLastType->currentText(), "Hjultryk");
    EXPECT_EQ(w->calls, std::vector<QString>({"TegnSkitse(True)", "FormaterDaek", "FormaterIsolering", "VisLast 1"}));

    w->calls.clear();
    w->frmLast->hide();
    showAllPages();
    uitest::CloseModalSoon();
    w->Command1_Click(4);
    EXPECT_EQ(w->calls,
              std::vector<QString>({"TegnSkitse(True)", "FormaterDaek", "FormaterIsolering", "OpdaterDaekType",
                                    "OpdaterIsolering", "OpdaterMellemlag", "OpdaterTerraen"}));
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

TEST_F(MainWindowTest, AMessageBoxClosingDoesNotRebindThePages) {
    showLoadPage();
    w->dataLast->MoveNext();
    auto boxes = std::make_shared<ClosingMessages>();
    platform::setMessageService(boxes);
    w->cmbLastType->setFocus();
    w->cmbLastType->setEditText("xyz");
    uitest::keyClick(w->cmbLastType, Qt::Key_Return);
    uitest::wait(20);
    platform::setMessageService(messages);
    EXPECT_EQ(boxes->shown, 1);
    EXPECT_EQ(w->txtLastNr->text(), "2");
    EXPECT_EQ(w->count("TegnSkitse(True)"), 0);
}

TEST_F(MainWindowTest, AListRunsItsLostFocusBeforeACommandAndARefusalStopsTheCommand) {
    showLoadPage();
    // Refused: neither the access key nor a mouse press reaches the command.
    w->cmbLastType->setFocus();
    w->cmbLastType->setEditText("xyz");
    uitest::keyClick(w.get(), Qt::Key_H, Qt::AltModifier);
    uitest::mouseClick(w->Command1[5]);
    EXPECT_EQ(shownTexts(), std::vector<QString>(2, "Der skal vælges et emne fra listen"));
    EXPECT_TRUE(help->shown.empty());
    EXPECT_EQ(QApplication::focusWidget(), w->cmbLastType);
    EXPECT_EQ(w->cmbLastType->currentText(), "xyz");
    // Accepted: completed and refreshed before the command acts.
    w->cmbLastType->setEditText("hjul");
    uitest::keyClick(w.get(), Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(w->cmbLastType->currentText(), "Hjultryk");
    EXPECT_EQ(w->calls, std::vector<QString>({"VisLast 1"}));
    EXPECT_EQ(help->shown.size(), 1u);
    w->cmbLastType->setFocus();
    w->cmbLastType->setEditText("punkt");
    uitest::mouseClick(w->Command1[5]);
    EXPECT_EQ(w->cmbLastType->currentText(), "Punktlast");
    EXPECT_EQ(help->shown.size(), 2u);
}

TEST_F(MainWindowTest, AnErrorInACommandIsReportedWithTheWindowAndItsStatementNumber) {
    showLoadPage();
    modMain::cnInddata.Execute(QStringLiteral("DROP TABLE projekt"));
    w->Command1_Click(0);
    ASSERT_FALSE(messages->shown.empty());
    EXPECT_EQ(line(messages->shown.back(), 1), "Function: frmMain, Log nr. 848");
    // What was reset before the error stays reset.
    EXPECT_EQ(stored("inddatalast", "PartialK"), Variant(1.0));
}

TEST_F(MainWindowTest, AnErrorInTheActivationIsReportedAndWhatWasBoundStaysBound) {
    modMain::cnInddata.Execute(QStringLiteral("DROP TABLE inddatalast"));
    show();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(line(messages->shown[0], 1), "Function: frmMain, Log nr. 874");
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
    EXPECT_TRUE(w->dataInddata->HasRecordset());
    EXPECT_TRUE(w->dataIsolering->HasRecordset());
    EXPECT_FALSE(w->dataLast->HasRecordset());
    EXPECT_TRUE(w->calls.empty());
}

TEST_F(MainWindowTest, TheSketchRunCommitsThePagesBeforeItDerivesAndStores) {
    show();
    w->txtIsoleringType->setText("EPS 100");
    w->txtIsoleringTykkelse->setText("100");
    w->txtIsolEo->setText("4000");
    w->TegnSkitse(true); // forced: stores nothing
    EXPECT_EQ(stored("inddataisolering", "IsoleringTykkelse"), Variant(100.0));
    EXPECT_EQ(stored("inddata", "isolballasto"), Variant(0.0));
    w->TegnSkitse(false);
    EXPECT_NEAR(stored("inddata", "isolballasto").toDouble(), 40000.0, 40000.0 * 1e-12);
    EXPECT_TRUE(messages->shown.empty());
}

} // namespace
