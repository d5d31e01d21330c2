#include "data/widgets/fil.h"

#include "../table_helpers.h"
#include "data/change_check.h"
#include "data/modmain.h"
#include "data/save_load.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "ui/command_button.h"
#include "ui/input_events.h"
#include "ui/modal_forms.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QVBoxLayout>

using engine::Variant;

namespace {

// A file dialog that fails for a reason of its own, not a cancel.
struct FailingDialogs : platform::RecordingDialogs {
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
    QPushButton *otherButton = new QPushButton(QStringLiteral("&Inddata"), &main);
    QPushButton *filButton = new QPushButton(QStringLiteral("Fi&l"), &main);
    std::unique_ptr<Fil> fil;
    QString file = folder.file(QStringLiteral("hal.epx"));

    void SetUp() override {
        platform::setMessageService(messages);
        platform::setDialogService(dialogs);
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        // A project file whose input differs from the default input, which is the input now.
        modMain::InitInddata();
        set("projekt", "tekst", QStringLiteral("Hal 2"));
        ASSERT_TRUE(SaveLoad::SaveInddata(modMain::cnInddata, file, 4, SaveLoad::kInputTables));
        modMain::ClearInddata();
        modMain::InitInddata();
        ChangeCheck::SaveInddataValues();
        auto *layout = new QVBoxLayout(&main);
        layout->addWidget(otherButton);
        layout->addWidget(filButton);
        fil = std::make_unique<Fil>(&main, commonDialog, filButton);
        main.show();
        fil->show();
        fil->activateWindow();
        ASSERT_TRUE(uitest::waitForWindowActive(fil.get()));
    }
    void TearDown() override {
        fil.reset();
        modMain::cnInddata.Close();
        platform::setDialogService(std::make_shared<platform::RecordingDialogs>());
    }
    void set(const char *table, const char *field, const Variant &v) {
        tablehelpers::setFirst(modMain::cnInddata, QLatin1String(table), QString::fromUtf8(field), v);
    }
    static Variant first(const char *table, const char *field) {
        return tablehelpers::column(modMain::cnInddata, QLatin1String(table), QString::fromUtf8(field)).at(0);
    }
    void choose(const QString &name) { dialogs->fileAnswers.push_back(platform::FileDialogResult{name, 2}); }
    std::vector<QString> texts() const {
        std::vector<QString> t;
        for (const auto &m : messages->shown) {
            EXPECT_EQ(m.icon, m.text.contains(QChar(13)) ? platform::Icon::Critical : platform::Icon::None);
            t.push_back(m.buttons == platform::Buttons::YesNo ? QStringLiteral("? ") + m.text : m.text);
        }
        return t;
    }
    QByteArray saved() const {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(FilTest, FileDialogIsSetUpForProjectFiles) {
    fil->Command1_Click(1);
    fil->Command1_Click(0);
    ASSERT_EQ(dialogs->fileRequests.size(), 2u);
    for (const platform::FileDialogRequest &r : dialogs->fileRequests) {
        EXPECT_EQ(r.filter, "All Files (*.*)|*.*|Polystra files (*.epx)|*.epx");
        EXPECT_EQ(r.filterIndex, 2);
        EXPECT_EQ(r.defaultExt, "epx");
        EXPECT_EQ(r.initDir, QCoreApplication::applicationDirPath() + "/data");
        EXPECT_EQ(r.flags, 0x200006);
    }
    EXPECT_TRUE(dialogs->fileRequests[0].save && !dialogs->fileRequests[1].save);
    EXPECT_EQ(dialogs->fileRequests[0].title + dialogs->fileRequests[1].title, "Gem inddataHent inddata");
}

// Unchanged input loads without a question; changed input asks, and No keeps everything as it is.
TEST_F(FilTest, LoadAsksOnlyWhenTheInputChanged) {
    set("projekt", "beregner", QStringLiteral("KL"));
    messages->answers = {platform::Answer::No};
    fil->Command1_Click(0);
    EXPECT_EQ(texts(), std::vector<QString>{"? Data er ikke gemt. Fortsæt ?"});
    EXPECT_TRUE(dialogs->fileRequests.empty());
    EXPECT_TRUE(ChangeCheck::InddataChanged() && fil->isVisible());

    ChangeCheck::SaveInddataValues();
    choose(file);
    fil->Command1_Click(0);
    EXPECT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(first("projekt", "tekst"), Variant(QStringLiteral("Hal 2")));
    EXPECT_FALSE(ChangeCheck::InddataChanged() || fil->isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// A cancelled file dialog and Annulle&r touch neither the input nor the snapshot.
TEST_F(FilTest, CancelAndAnnullerChangeNothing) {
    set("projekt", "beregner", QStringLiteral("KL"));
    fil->Command1_Click(0); // the question is answered Yes, the file dialog cancelled
    fil->Command1_Click(1);
    EXPECT_EQ(texts(), std::vector<QString>{"? Data er ikke gemt. Fortsæt ?"});
    EXPECT_EQ(dialogs->fileRequests.size(), 2u);
    EXPECT_TRUE(fil->isVisible());
    uitest::mouseClick(fil->Command1[2]);
    EXPECT_FALSE(fil->isVisible());
    EXPECT_EQ(dialogs->fileRequests.size(), 2u);
    EXPECT_TRUE(ChangeCheck::InddataChanged());
}

// The load fails whole: the message, then the default input (layer moduli 1, as after start-up).
TEST_F(FilTest, FailedLoadRestoresTheDefaultInput) {
    ASSERT_TRUE(QFile(file).resize(QFile(file).size() - 3)); // cut inside the last type code
    set("inddataisolering", "Eo", 0.0);
    ChangeCheck::SaveInddataValues();
    choose(file);
    fil->Command1_Click(0);
    EXPECT_EQ(texts(), std::vector<QString>{"De valgte data kan ikke indlæses"});
    EXPECT_EQ(first("projekt", "tekst"), Variant(QString()));
    EXPECT_EQ(first("inddataisolering", "Eo"), Variant(1.0));
    EXPECT_FALSE(ChangeCheck::InddataChanged() || fil->isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// A save takes the snapshot; a failed one keeps the earlier file and leaves the input unsaved.
TEST_F(FilTest, OnlyASuccessfulSaveTakesTheSnapshot) {
    set("projekt", "tekst", QStringLiteral("Hal 3"));
    const QByteArray earlier = saved();
    platform::FileFault = [](const char *call) { return std::string_view(call) == "write" ? ENOSPC : 0; };
    choose(file);
    fil->Command1_Click(1);
    platform::FileFault = nullptr;
    EXPECT_EQ(texts(), std::vector<QString>{"Data kan ikke gemmes"});
    EXPECT_EQ(saved(), earlier);
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    EXPECT_FALSE(fil->isVisible());

    choose(file);
    fil->Command1_Click(1);
    EXPECT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(saved().startsWith("\"inddata\",28,1\r\n") && saved().contains("\"Hal 3\",10\r\n"));
    EXPECT_FALSE(ChangeCheck::InddataChanged());
}

// Hiding ends the modal showing, and the main window's "Fi&l" has the focus again.
TEST_F(FilTest, HidingEndsTheModalShowingAndGivesTheFocusBack) {
    fil->hide();
    main.activateWindow();
    ASSERT_TRUE(uitest::waitForWindowActive(&main));
    otherButton->setFocus();
    QTimer::singleShot(0, [this] { uitest::mouseClick(fil->Command1[2]); });
    fil->exec();
    EXPECT_FALSE(fil->isVisible());
    EXPECT_EQ(main.focusWidget(), filButton);
}

// Other run-time errors are reported with the step that failed; the dialog stays open, the hourglass gone.
TEST_F(FilTest, RunTimeErrorsAreReportedWithTheirStep) {
    platform::setDialogService(std::make_shared<FailingDialogs>());
    fil->Command1_Click(1);
    EXPECT_EQ(texts().at(0).split(QChar(13)), (QStringList{"Der opstod et problem under eksekvering af Fundator!",
                                                           "Function: frmFil, Log nr. 20",
                                                           "Fejlnr.: 75, Path/File access error",
                                                           "Gem venligst sessionsdata og kontakt Polystra"}));
    platform::setDialogService(dialogs);
    choose(folder.file(QStringLiteral("findes-ikke.epx")));
    tablehelpers::alterInddata(folder, QStringLiteral("DROP TABLE inddatalast"));
    ChangeCheck::SaveInddataValues();
    messages->shown.clear();
    messages->answers = {platform::Answer::Yes};
    fil->Command1_Click(0);
    const std::vector<QString> shown = texts();
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[shown.size() - 2], "De valgte data kan ikke indlæses");
    EXPECT_EQ(shown.back().split(QChar(13)).at(1), "Function: frmFil, Log nr. 12");
    EXPECT_TRUE(fil->isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// The file dialog keeps the file last chosen from one showing of the window to the next.
TEST_F(FilTest, NextShowingProposesTheFileLastChosen) {
    choose(file);
    ui::MakeFil(nullptr)->findChild<ui::CommandButton *>(QStringLiteral("Command1_1"))->click();
    static_cast<Fil &>(*ui::MakeFil(nullptr)).Command1_Click(0);
    ASSERT_EQ(dialogs->fileRequests.size(), 2u);
    EXPECT_EQ(dialogs->fileRequests[1].fileName, file);
}

} // namespace
