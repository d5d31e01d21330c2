#include "data/widgets/fil.h"

#include "../table_helpers.h"
#include "data/change_check.h"
#include "data/modmain.h"
#include "data/save_load.h"
#include "kit/command_button.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "support/recording_services.h"
#include "ui/input_events.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPushButton>

using engine::Variant;

namespace {

class FilTest : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();
    std::shared_ptr<testsupport::RecordingDialogs> dialogs = std::make_shared<testsupport::RecordingDialogs>();
    platform::CommonDialog commonDialog;
    QWidget main;
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
        fil = std::make_unique<Fil>(&main, commonDialog, filButton);
        main.show();
        fil->show();
        fil->activateWindow();
        ASSERT_TRUE(uitest::waitForWindowActive(fil.get()));
    }
    void TearDown() override {
        fil.reset();
        modMain::cnInddata.Close();
        platform::setDialogService(std::make_shared<testsupport::RecordingDialogs>());
    }
    void set(const char *table, const char *field, const Variant &v) {
        tablehelpers::setFirst(modMain::cnInddata, QLatin1String(table), QString::fromUtf8(field), v);
    }
    static Variant first(const char *table, const char *field) {
        return tablehelpers::column(modMain::cnInddata, QLatin1String(table), QString::fromUtf8(field)).at(0);
    }
    void choose(const QString &name) { dialogs->fileAnswers.push_back(platform::FileDialogResult{name, 2}); }
    // The messages shown, without an icon; a question marked "? ".
    std::vector<QString> texts() const {
        std::vector<QString> t;
        for (const auto &m : messages->shown) {
            EXPECT_EQ(m.icon, platform::Icon::None);
            t.push_back((m.buttons == platform::Buttons::YesNo ? "? " : "") + m.text);
        }
        return t;
    }
    QByteArray saved() const {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// With changed input a load asks first; No, a cancelled file dialog and Annulle&r change nothing. Both file
// dialogs are set up for project files.
TEST_F(FilTest, QuestionCancelAndAnnullerChangeNothing) {
    set("projekt", "beregner", QStringLiteral("KL"));
    messages->answers = {platform::Answer::No, platform::Answer::Yes};
    fil->Command1_Click(0);
    EXPECT_TRUE(dialogs->fileRequests.empty());
    fil->Command1_Click(0); // Yes, then the file dialog is cancelled
    fil->Command1_Click(1);
    EXPECT_EQ(texts(), std::vector<QString>(2, "? Data er ikke gemt. Fortsæt ?"));
    ASSERT_EQ(dialogs->fileRequests.size(), 2u);
    const platform::FileDialogRequest &r = dialogs->fileRequests[0];
    EXPECT_EQ(QStringList({r.title, dialogs->fileRequests[1].title, r.filter, QString::number(r.filterIndex),
                           r.defaultExt, r.initDir, QString::number(r.flags, 16)}),
              QStringList({"Hent inddata", "Gem inddata", "All Files (*.*)|*.*|Polystra files (*.epx)|*.epx", "2",
                           "epx", QCoreApplication::applicationDirPath() + "/data", "200006"}));
    EXPECT_TRUE(!r.save && dialogs->fileRequests[1].save);
    EXPECT_TRUE(fil->isVisible());
    uitest::mouseClick(fil->Command1[2]);
    EXPECT_FALSE(fil->isVisible());
    EXPECT_EQ(first("projekt", "tekst"), Variant(QString()));
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

} // namespace
