#include "data/widgets/fil.h"

#include "data/change_check.h"
#include "data/connections.h"
#include "data/modmain.h"
#include "data/save_load.h"
#include "engine/errors.h"
#include "platform/common_dialog.h"
#include "platform/message_box.h"
#include "support/databases.h"
#include "ui/command_button.h"
#include "ui/modal_forms.h"

#include "../table_helpers.h"
#include "ui/input_events.h"
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using engine::Variant;
using tablehelpers::column;
using tablehelpers::setFirst;

namespace {

// A file dialog that fails for a reason of its own, not a cancel.
class FailingDialogs : public platform::RecordingDialogs {
public:
    std::optional<platform::FileDialogResult> chooseFile(const platform::FileDialogRequest &) override {
        engine::raise(engine::err::PathFileAccess);
    }
};

class FilTest : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();
    std::shared_ptr<platform::RecordingDialogs> dialogs = std::make_shared<platform::RecordingDialogs>();
    platform::CommonDialog commonDialog;
    QWidget main;
    QPushButton *filButton = new QPushButton(QStringLiteral("Fi&l"), &main);
    QPushButton *otherButton = new QPushButton(QStringLiteral("&Inddata"), &main);
    std::unique_ptr<Fil> fil;

    void SetUp() override {
        platform::setMessageService(messages);
        platform::setDialogService(dialogs);
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        modMain::ClearInddata();
        modMain::InitInddata();
        ChangeCheck::SaveInddataValues();
        auto *layout = new QVBoxLayout(&main);
        layout->addWidget(otherButton);
        layout->addWidget(filButton);
        fil = std::make_unique<Fil>(&main, commonDialog, filButton);
    }
    void TearDown() override {
        fil.reset();
        modMain::cnInddata.Close();
        platform::setDialogService(std::make_shared<platform::RecordingDialogs>());
    }

    void set(const char *table, const char *field, const Variant &v) {
        setFirst(modMain::cnInddata, QLatin1String(table), QString::fromUtf8(field), v);
    }
    static std::vector<Variant> col(const char *table, const char *field) {
        return column(modMain::cnInddata, QLatin1String(table), QString::fromUtf8(field));
    }
    static Variant first(const char *table, const char *field) { return col(table, field).at(0); }
    void choose(const QString &file) { dialogs->fileAnswers.push_back(platform::FileDialogResult{file, 2}); }
    // A project file whose text differs from the default input.
    QString projectFile() {
        set("projekt", "tekst", QStringLiteral("Hal 2"));
        set("inddatalast", "Lasttype", QStringLiteral("Punktlast"));
        const QString file = folder.file(QStringLiteral("hal.epx"));
        EXPECT_TRUE(SaveLoad::SaveInddata(modMain::cnInddata, file, 4, SaveLoad::kInputTables));
        modMain::ClearInddata();
        modMain::InitInddata();
        ChangeCheck::SaveInddataValues();
        return file;
    }
    void showDialog() {
        main.show();
        fil->show();
        fil->activateWindow();
        ASSERT_TRUE(uitest::waitForWindowActive(fil.get()));
        messages->shown.clear();
    }
    std::vector<QString> texts() const {
        std::vector<QString> t;
        for (const auto &m : messages->shown)
            t.push_back(m.text);
        return t;
    }
};

TEST_F(FilTest, FileDialogIsSetUpForProjectFiles) {
    fil->Command1_Click(1);
    fil->Command1_Click(0);
    ASSERT_EQ(dialogs->fileRequests.size(), 2u);
    const platform::FileDialogRequest &save = dialogs->fileRequests[0];
    EXPECT_TRUE(save.save);
    EXPECT_EQ(save.title, "Gem inddata");
    EXPECT_EQ(save.filter, "All Files (*.*)|*.*|Polystra files (*.epx)|*.epx");
    EXPECT_EQ(save.filterIndex, 2);
    EXPECT_EQ(save.defaultExt, "epx");
    EXPECT_EQ(save.initDir, QCoreApplication::applicationDirPath() + "/data");
    EXPECT_EQ(save.flags, 0x200006);
    EXPECT_FALSE(dialogs->fileRequests[1].save);
    EXPECT_EQ(dialogs->fileRequests[1].title, "Hent inddata");
}

TEST_F(FilTest, LoadWithUnchangedInputAsksNothingAndTakesANewSnapshot) {
    const QString file = projectFile();
    showDialog();
    choose(file);
    fil->Command1_Click(0);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(first("projekt", "tekst"), Variant(QStringLiteral("Hal 2")));
    EXPECT_EQ(first("inddatalast", "Lasttype"), Variant(QStringLiteral("Punktlast")));
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    EXPECT_FALSE(fil->isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(FilTest, LoadWithChangedInputAsksAndNoKeepsEverything) {
    const QString file = projectFile();
    showDialog();
    set("projekt", "beregner", QStringLiteral("KL"));
    messages->answers = {platform::Answer::No};
    choose(file);
    fil->Command1_Click(0);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text, "Data er ikke gemt. Fortsæt ?");
    EXPECT_EQ(messages->shown[0].buttons, platform::Buttons::YesNo);
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::None);
    EXPECT_TRUE(dialogs->fileRequests.empty());
    EXPECT_EQ(first("projekt", "tekst"), Variant(QString()));
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    EXPECT_TRUE(fil->isVisible());

    messages->answers = {platform::Answer::Yes};
    fil->Command1_Click(0);
    EXPECT_EQ(first("projekt", "tekst"), Variant(QStringLiteral("Hal 2")));
    EXPECT_FALSE(fil->isVisible());
}

TEST_F(FilTest, CancelledFileDialogChangesNothing) {
    showDialog();
    set("projekt", "beregner", QStringLiteral("KL"));
    fil->Command1_Click(0); // the question is answered Yes, the file dialog cancelled
    fil->Command1_Click(1);
    EXPECT_EQ(texts(), std::vector<QString>{"Data er ikke gemt. Fortsæt ?"});
    EXPECT_EQ(dialogs->fileRequests.size(), 2u);
    EXPECT_TRUE(fil->isVisible());
    EXPECT_TRUE(ChangeCheck::InddataChanged());
}

// The load fails whole: the message, then the default input (layer moduli 1, as after start-up).
TEST_F(FilTest, FailedLoadRestoresTheDefaultInput) {
    showDialog();
    const QString file = folder.file(QStringLiteral("bad.epx"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\"projekt\",1,1\r\n\"tekst\"\r\n\"Delvis\",10\r\n\"inddatalast\",1,5\r\n\"lastid\"\r\n1,4\r\n");
    f.close();
    set("inddataisolering", "Eo", 0.0);
    ChangeCheck::SaveInddataValues();
    choose(file);
    fil->Command1_Click(0);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text, "De valgte data kan ikke indlæses");
    EXPECT_EQ(messages->shown[0].buttons, platform::Buttons::Ok);
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::None);
    EXPECT_EQ(col("projekt", "tekst"), std::vector<Variant>{QString()});
    EXPECT_EQ(col("inddatalast", "lastid"), tablehelpers::numbers({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(col("inddataisolering", "Eo"), tablehelpers::numbers({1, 1}));
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    EXPECT_FALSE(fil->isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(FilTest, SaveWritesTheFourInputTablesAndTakesANewSnapshot) {
    showDialog();
    set("projekt", "tekst", QStringLiteral("Hal 3"));
    const QString file = folder.file(QStringLiteral("hal3.epx"));
    choose(file);
    fil->Command1_Click(1);
    EXPECT_TRUE(messages->shown.empty());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("\"inddata\",28,1\r\n"));
    EXPECT_TRUE(bytes.contains("\"inddataisolering\",10,2\r\n"));
    EXPECT_TRUE(bytes.contains("\"inddatalast\",11,10\r\n"));
    EXPECT_TRUE(bytes.contains("\"projekt\",4,1\r\n"));
    EXPECT_TRUE(bytes.contains("\"Hal 3\",10\r\n"));
    EXPECT_FALSE(bytes.contains("Firma"));
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    EXPECT_FALSE(fil->isVisible());
}

// After a failed save the next load asks nothing unless the input changes again.
TEST_F(FilTest, FailedSaveIsReportedAndTheSnapshotRetakenAllTheSame) {
    showDialog();
    set("projekt", "tekst", QStringLiteral("Hal 4"));
    choose(folder.file(QStringLiteral("mangler/hal4.epx")));
    fil->Command1_Click(1);
    EXPECT_EQ(texts(), std::vector<QString>{"Data kan ikke gemmes"});
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::None);
    EXPECT_EQ(first("projekt", "tekst"), Variant(QStringLiteral("Hal 4")));
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    EXPECT_FALSE(fil->isVisible());
}

TEST_F(FilTest, AnnullerClosesWithoutTouchingInputOrSnapshot) {
    showDialog();
    set("projekt", "tekst", QStringLiteral("Hal 5"));
    uitest::mouseClick(fil->Command1[2]);
    EXPECT_FALSE(fil->isVisible());
    EXPECT_TRUE(dialogs->fileRequests.empty());
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(first("projekt", "tekst"), Variant(QStringLiteral("Hal 5")));
    EXPECT_TRUE(ChangeCheck::InddataChanged());
}

// Hiding ends the modal showing, and the main window's "Fi&l" has the focus again.
TEST_F(FilTest, HidingEndsTheModalShowingAndGivesTheFocusBack) {
    main.show();
    main.activateWindow();
    ASSERT_TRUE(uitest::waitForWindowActive(&main));
    otherButton->setFocus();
    QTimer::singleShot(0, [this] { uitest::mouseClick(fil->Command1[2]); });
    fil->exec();
    EXPECT_FALSE(fil->isVisible());
    EXPECT_EQ(main.focusWidget(), filButton);
}

TEST_F(FilTest, OtherRunTimeErrorsAreReportedAndTheDialogStaysOpen) {
    showDialog();
    platform::setDialogService(std::make_shared<FailingDialogs>());
    fil->Command1_Click(1);
    ASSERT_EQ(messages->shown.size(), 1u);
    const QStringList lines = messages->shown[0].text.split(QChar(13));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "Der opstod et problem under eksekvering af Fundator!");
    EXPECT_EQ(lines[1], "Function: frmFil, Log nr. 20");
    EXPECT_EQ(lines[2], "Fejlnr.: 75, Path/File access error");
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
    EXPECT_TRUE(fil->isVisible());
}

// The default input cannot be written back: reported with the step that failed, the hourglass gone.
TEST_F(FilTest, FailureWhileRestoringTheDefaultInputIsReportedWithItsStep) {
    showDialog();
    choose(folder.file(QStringLiteral("findes-ikke.epx")));
    tablehelpers::alterInddata(folder, QStringLiteral("DROP TABLE inddatalast"));
    ChangeCheck::SaveInddataValues();
    messages->shown.clear();
    messages->answers = {platform::Answer::Yes};
    fil->Command1_Click(0);
    ASSERT_GE(messages->shown.size(), 2u);
    EXPECT_EQ(messages->shown[messages->shown.size() - 2].text, "De valgte data kan ikke indlæses");
    EXPECT_EQ(messages->shown.back().text.split(QChar(13)).at(1), "Function: frmFil, Log nr. 12");
    EXPECT_TRUE(fil->isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// The file dialog keeps the file last chosen from one showing of the window to the next.
TEST_F(FilTest, NextShowingProposesTheFileLastChosen) {
    const QString file = projectFile();
    choose(file);
    ui::MakeFil(nullptr)->findChild<ui::CommandButton *>(QStringLiteral("Command1_1"))->click();
    static_cast<Fil &>(*ui::MakeFil(nullptr)).Command1_Click(0);
    ASSERT_EQ(dialogs->fileRequests.size(), 2u);
    EXPECT_EQ(dialogs->fileRequests[1].fileName, file);
}

} // namespace
