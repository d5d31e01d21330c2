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
    EXPECT_EQ(entries(w->cmbIsoleringType).front(), "<ingen isolering>");
    EXPECT_EQ(entries(w->cmbIsoleringType)[1], "EPS 80");
    EXPECT_EQ(entries(w->cmbMellemlagType).front(), "Intet");
    EXPECT_EQ(entries(w->cmbMellemlagType)[1], "Singels 4-8 mm");
    EXPECT_EQ(entries(w->cmbTerraenType).front(), QString::fromUtf8("Moræneler"));
    EXPECT_EQ(entries(w->cmbTerraenType).back(), "Brugerdefineret");
    EXPECT_EQ(w->lblVersion->text(), "Version 2.01");
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(MainWindowTest, ListsFollowRkFlgNotTheOrderOfTheRows) {
    modMain::cnParam.Execute(
        QString::fromUtf8("INSERT INTO txtTerræn (RkFlg, Type, ballasttal) VALUES (0, 'Tørv', 5000)"));
    load();
    EXPECT_EQ(entries(w->cmbTerraenType).front(), QString::fromUtf8("Tørv"));
}

TEST_F(MainWindowTest, EmptyParameterTablesLeaveOnlyTheFixedEntries) {
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
    const QStringList lines = messages->shown[0].text.split(QChar(13));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "Der opstod et problem under eksekvering af Fundator!");
    EXPECT_EQ(lines[1], "Function: frmMain, Log nr. 923");
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
    EXPECT_EQ(w->cmbDaekKvalitet->count(), 8);
    EXPECT_EQ(w->cmbMKlasse->count(), 0);
    EXPECT_EQ(w->cmbIsoleringType->count(), 0);
    EXPECT_EQ(w->cmbTerraenType->count(), 0);
}

TEST_F(MainWindowTest, TheWindowOpensOnTheStartPicture) {
    show();
    EXPECT_EQ(w->windowTitle(), "Fundator");
    EXPECT_TRUE(w->imgOpstart->isVisible());
    EXPECT_EQ(w->imgOpstart->pixmap().size(), QSize(650, 441));
    for (QWidget *hidden :
         std::initializer_list<QWidget *>{w->frmLast, w->frmDaek, w->frmIsolering, w->frmMellemlag, w->frmTerraen,
                                          w->Skitse, w->lblFrmBund, w->btnBeregning, w->btnForrige, w->btnNaeste})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    const std::map<int, QString> captions = {
        {0, "&Inddata"}, {2, "Fi&l"}, {4, "&Stamoplysninger"}, {5, QString::fromUtf8("&Hjælp")}, {6, "&Afslut"}};
    for (const auto &[index, caption] : captions) {
        ASSERT_NE(w->Command1[static_cast<size_t>(index)], nullptr);
        EXPECT_EQ(w->Command1[static_cast<size_t>(index)]->text(), caption);
        EXPECT_EQ(w->Command1[static_cast<size_t>(index)]->geometry().top(), 72);
    }
    EXPECT_EQ(w->Command1[1], nullptr);
    EXPECT_EQ(w->Command1[3], nullptr);
    // The keys and the values of the environmental class are shown, never typed.
    for (QLineEdit *box : {w->txtLastNr, w->txtIsoleringNr, w->txtDaeklag, w->txtRevnevidde})
        EXPECT_TRUE(box->isReadOnly());
}

TEST_F(MainWindowTest, FirstShowingBindsTheFirstLoadAndLayerAndForcesTheSketch) {
    store("inddatalast", "Lasttype", QStringLiteral("Punktlast"));
    store("inddatalast", QString::fromUtf8("Størrelse"), 12.5);
    store("inddataisolering", "IsoleringType", QStringLiteral("EPS 100"));
    store("inddata", "daekType", QStringLiteral("Beton"));
    show();
    EXPECT_EQ(w->calls, std::vector<QString>({"TegnSkitse(True)", "FormaterDaek", "FormaterIsolering"}));
    EXPECT_EQ(w->cmbLastType->currentText(), "Punktlast");
    EXPECT_EQ(w->cmbIsoleringType->currentText(), "EPS 100");
    EXPECT_EQ(w->txtLastNr->text(), "1");
    EXPECT_EQ(w->txtLastType->text(), "Punktlast");
    EXPECT_EQ(w->txtLastStorrelse->text(), "12,5");
    EXPECT_EQ(w->txtPartialK->text(), "1");
    EXPECT_EQ(w->txtIsoleringNr->text(), "1");
    EXPECT_EQ(w->cmbDaekType->currentText(), "Beton");
    EXPECT_EQ(w->dataLast->EditMode(), engine::adEditNone);
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(MainWindowTest, EmptyTypesShowAsTheWordsForNone) {
    show();
    EXPECT_EQ(w->cmbLastType->currentText(), "<ingen last>");
    EXPECT_EQ(w->cmbIsoleringType->currentText(), "<ingen isolering>");
}

TEST_F(MainWindowTest, LeavingTheStartPictureShowsTheLoadPage) {
    show();
    w->Command1_Click(5);
    EXPECT_FALSE(w->imgOpstart->isVisible());
    EXPECT_TRUE(w->frmLast->isVisible());
    EXPECT_TRUE(w->Skitse->isVisible());
    EXPECT_TRUE(w->lblFrmBund->isVisible());
    EXPECT_FALSE(w->frmDaek->isVisible());
    EXPECT_FALSE(w->frmIsolering->isVisible());
    EXPECT_TRUE(w->btnNaeste->isVisible() && w->btnNaeste->isEnabled());
    EXPECT_TRUE(w->btnForrige->isVisible());
    EXPECT_FALSE(w->btnForrige->isEnabled());
    EXPECT_TRUE(w->btnBeregning->isVisible() && w->btnBeregning->isEnabled());
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
    EXPECT_EQ(messages->shown[0].text.split(QChar(13))[1], "Function: frmMain, Log nr. 941");
    EXPECT_EQ(messages->shown[0].text.split(QChar(13))[2], "Fejlnr.: 13, Type mismatch");
    EXPECT_EQ(messages->shown[1].text.split(QChar(13))[1], "Function: frmMain, Log nr. 836");
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
    EXPECT_EQ(w->txtLastNr->text(), "1");
    EXPECT_EQ(QApplication::focusWidget(), w->cmbLastType);
    // The layers' moduli are 0 after new input, 1 after start-up.
    EXPECT_EQ(stored("inddataisolering", "Eo"), Variant(0.0));
    EXPECT_EQ(stored("inddataisolering", "En", 1), Variant(0.0));
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    EXPECT_EQ(w->calls,
              std::vector<QString>({"TegnSkitse(True)", "FormaterDaek", "FormaterIsolering", "VisLast 1",
                                    "FormaterLast", "TegnSkitse(True)", "FormaterDaek", "FormaterIsolering"}));
}

TEST_F(MainWindowTest, NewInputWithChangedInputAsksAndResetsEveryRecordOnYes) {
    show();
    store("inddatalast", "Lasttype", QStringLiteral("Lastpar"), 3);
    store("inddatalast", "PartialK", 1.5, 3);
    store("inddata", "daekType", QStringLiteral("Beton"));
    store("inddata", QString::fromUtf8("Uværdi"), 0.25);
    store("inddataisolering", "IsoleringType", QStringLiteral("EPS 80"), 1);
    store("projekt", "beregner", QStringLiteral("KJ"));
    store("Firma", "Navn", QStringLiteral("Firmaet"));
    w->Command1_Click(0);
    EXPECT_EQ(shownTexts(), std::vector<QString>({"Indtastede data er ikke gemt. Fortsæt ?"}));
    EXPECT_EQ(stored("inddatalast", "Lasttype", 3), Variant(""));
    EXPECT_EQ(stored("inddatalast", "PartialK", 3), Variant(1.0));
    EXPECT_EQ(stored("inddatalast", "lastid", 3), Variant(4));
    EXPECT_EQ(stored("inddata", "daekType"), Variant(""));
    EXPECT_EQ(stored("inddata", QString::fromUtf8("Uværdi")), Variant(0.0));
    EXPECT_EQ(stored("inddata", "InddataID"), Variant(1));
    EXPECT_EQ(stored("inddataisolering", "IsoleringType", 1), Variant(""));
    EXPECT_EQ(stored("inddataisolering", "lagnr", 1), Variant(2));
    EXPECT_EQ(stored("projekt", "beregner"), Variant(""));
    EXPECT_EQ(stored("Firma", "Navn"), Variant("Firmaet"));
    EXPECT_FALSE(ChangeCheck::InddataChanged());
}

// Every field that new input resets, with its value afterwards; named here as the input tables spell them.
struct Reset {
    const char *table;
    int records;
    std::vector<std::pair<const char *, Variant>> fields;
};

const std::vector<Reset> &ResetFields() {
    static const std::vector<Reset> reset = {
        {"inddatalast",
         10,
         {{"Lasttype", ""},
          {"Afstand", 0.0},
          {"LastForm", ""},
          {"bredde", 0.0},
          {"længde", 0.0},
          {"Placering", ""},
          {"Afstandfra", 0.0},
          {"Størrelse", 0.0},
          {"PartialK", 1.0}}},
        {"inddata",
         1,
         {{"daekType", ""},
          {"sikkerhedsklassetext", ""},
          {"kvalitettext", ""},
          {"TrykstyrkeRgm", 0.0},
          {"tau", 0.0},
          {"TraekstyrkeRgm", 0.0},
          {"TraekstyrkeKar", 0.0},
          {"Eo", 0.0},
          {"En", 0.0},
          {"Go", 0.0},
          {"GN", 0.0},
          {"dæktykkelse", 0.0},
          {"Miljøklasse", ""},
          {"dæklag", 0.0},
          {"Revnevidde", 0.0},
          {"mellemlag", ""},
          {"mellemlagtykkelse", 0.0},
          {"mellemlagkorr", 0.0},
          {"mellemlaglambda", 0.0},
          {"terræn", ""},
          {"terrænballast", 0.0},
          {"terrænzigma", 0.0},
          {"isolballasto", 0.0},
          {"isolballastn", 0.0},
          {"resBallasto", 0.0},
          {"resBallastn", 0.0},
          {"Uværdi", 0.0}}},
        {"inddataisolering",
         2,
         {{"IsoleringType", ""},
          {"IsoleringTykkelse", 0.0},
          {"Zigmao", 0.0},
          {"Zigman", 0.0},
          {"LambdaTør", 0.0},
          {"LambdaVåd", 0.0},
          {"Eo", 0.0},
          {"En", 0.0}}},
        {"projekt", 1, {{"projektid", ""}, {"beregner", ""}, {"dato", ""}, {"tekst", ""}}},
    };
    return reset;
}

TEST_F(MainWindowTest, NewInputResetsEveryFieldOfEveryRecordAndKeepsTheKeys) {
    showLoadPage();
    for (const Reset &table : ResetFields())
        for (const auto &[field, value] : table.fields)
            modMain::cnInddata.Execute(QString::fromUtf8("UPDATE \"%1\" SET \"%2\" = %3")
                                           .arg(table.table, QString::fromUtf8(field),
                                                value.isString() ? QStringLiteral("'x'") : QStringLiteral("7")));
    w->Command1_Click(0);
    EXPECT_EQ(shownTexts(), std::vector<QString>({"Indtastede data er ikke gemt. Fortsæt ?"}));
    for (const Reset &table : ResetFields()) {
        engine::Recordset rs;
        rs.Open(table.table, modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
        int records = 0;
        for (; !rs.Eof(); rs.MoveNext(), ++records)
            for (const auto &[field, value] : table.fields)
                EXPECT_EQ(rs.Fields(QString::fromUtf8(field)).Value(), value) << table.table << "." << field;
        EXPECT_EQ(records, table.records) << table.table;
    }
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(stored("inddatalast", "lastid", i), Variant(i + 1));
    EXPECT_EQ(stored("inddataisolering", "lagnr", 1), Variant(2));
    EXPECT_EQ(stored("inddata", "InddataID"), Variant(1));
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

TEST_F(MainWindowTest, ClosingAModalWindowReactivatesAtLoadOne) {
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
    uitest::CloseModalSoon();
    w->Command1_Click(4);
    EXPECT_EQ(w->count("TegnSkitse(True)"), 2);
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

TEST_F(MainWindowTest, AnAccessKeyRunsTheLostFocusOfTheListBeforeItsCommandActs) {
    showLoadPage();
    w->cmbLastType->setFocus();
    w->cmbLastType->setEditText("hjul");
    uitest::keyClick(w.get(), Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(w->cmbLastType->currentText(), "Hjultryk");
    EXPECT_EQ(w->calls, std::vector<QString>({"VisLast 1"}));
    EXPECT_EQ(help->shown.size(), 1u);
}

TEST_F(MainWindowTest, AListThatRefusesItsTextStopsTheCommandOfTheAccessKey) {
    showLoadPage();
    w->cmbLastType->setFocus();
    w->cmbLastType->setEditText("xyz");
    uitest::keyClick(w.get(), Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(shownTexts(), std::vector<QString>({"Der skal vælges et emne fra listen"}));
    EXPECT_TRUE(help->shown.empty());
    EXPECT_EQ(QApplication::focusWidget(), w->cmbLastType);
    EXPECT_EQ(w->cmbLastType->currentText(), "xyz");
}

TEST_F(MainWindowTest, AMousePressOnACommandIsStoppedByARefusedList) {
    showLoadPage();
    w->cmbLastType->setFocus();
    w->cmbLastType->setEditText("xyz");
    uitest::mouseClick(w->Command1[5]);
    EXPECT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(help->shown.empty());
    EXPECT_EQ(QApplication::focusWidget(), w->cmbLastType);
    w->cmbLastType->setEditText("punkt");
    uitest::mouseClick(w->Command1[5]);
    EXPECT_EQ(w->cmbLastType->currentText(), "Punktlast");
    EXPECT_EQ(help->shown.size(), 1u);
}

TEST_F(MainWindowTest, AnErrorInACommandIsReportedWithTheWindowAndItsStatementNumber) {
    showLoadPage();
    modMain::cnInddata.Execute(QStringLiteral("DROP TABLE projekt"));
    w->Command1_Click(0);
    ASSERT_FALSE(messages->shown.empty());
    const QStringList lines = messages->shown.back().text.split(QChar(13));
    EXPECT_EQ(lines[1], "Function: frmMain, Log nr. 848");
    // What was reset before the error stays reset.
    EXPECT_EQ(stored("inddatalast", "PartialK"), Variant(1.0));
}

TEST_F(MainWindowTest, AnErrorInTheActivationIsReportedAndWhatWasBoundStaysBound) {
    modMain::cnInddata.Execute(QStringLiteral("DROP TABLE inddatalast"));
    show();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text.split(QChar(13))[1], "Function: frmMain, Log nr. 874");
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
    EXPECT_TRUE(w->dataInddata->HasRecordset());
    EXPECT_TRUE(w->dataIsolering->HasRecordset());
    EXPECT_FALSE(w->dataLast->HasRecordset());
    EXPECT_TRUE(w->calls.empty());
}

TEST_F(MainWindowTest, ActivationRefreshesTheVisiblePagesInTheirOrder) {
    showLoadPage();
    w->frmLast->hide();
    showAllPages();
    uitest::CloseModalSoon();
    w->Command1_Click(4);
    EXPECT_EQ(w->calls,
              std::vector<QString>({"TegnSkitse(True)", "FormaterDaek", "FormaterIsolering", "OpdaterDaekType",
                                    "OpdaterIsolering", "OpdaterMellemlag", "OpdaterTerraen"}));
}

TEST_F(MainWindowTest, TheSketchRunCommitsThePagesBeforeItDerivesAndStores) {
    show();
    w->txtIsoleringType->setText("EPS 100");
    w->txtIsoleringTykkelse->setText("100");
    w->txtIsolEo->setText("4000");
    w->txtIsolEn->setText("1500");
    w->TegnSkitse(true); // forced: stores nothing
    EXPECT_EQ(stored("inddataisolering", "IsoleringTykkelse"), Variant(100.0));
    EXPECT_EQ(stored("inddata", "isolballasto"), Variant(0.0));
    w->TegnSkitse(false);
    EXPECT_NEAR(stored("inddata", "isolballasto").toDouble(), 40000.0, 40000.0 * 1e-12);
    EXPECT_NEAR(stored("inddata", "isolballastn").toDouble(), 15000.0, 15000.0 * 1e-12);
    EXPECT_TRUE(messages->shown.empty());
}

} // namespace
