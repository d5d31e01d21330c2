#include "data/account.h"
#include "data/connections.h"
#include "data/modmain.h"
#include "engine/engine_impl.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "support/databases.h"
#include "table_helpers.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using modMain::StartStep;

namespace {

// Thrown by a step hook: leaves Main the way a crash or a power cut would.
struct Crash {};

const QStringList kDelivered = {QStringLiteral("inddata.mdb"), QStringLiteral("isol.mdb"), QStringLiteral("param.mdb"),
                                QStringLiteral("system.mdw")};

class StartUpTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();
    std::vector<StartStep> steps;
    int windows = 0;

    void SetUp() override {
        QDir::setCurrent(dir.path());
        testsupport::makeDatabases(dir.path());
        platform::setMessageService(messages);
        modMain::ShowMainWindow = [this] { ++windows; };
    }
    void TearDown() override {
        closeConnections();
        modMain::AfterStep = nullptr;
        modMain::ShowMainWindow = nullptr;
        QDir::setCurrent(previous);
    }
    // A new process: nothing open from the last one.
    static void closeConnections() {
        modMain::cnInddata.Close();
        modMain::cnParam.Close();
        modMain::cnIsol.Close();
    }
    bool start() {
        closeConnections();
        steps.clear();
        messages->shown.clear();
        windows = 0;
        if (!modMain::AfterStep)
            modMain::AfterStep = [this](StartStep s) { steps.push_back(s); };
        return modMain::Main(dir.path());
    }
    QString at(const QString &name) const { return dir.filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    // Names and contents of the folder's files.
    QByteArrayList image() const {
        QByteArrayList all;
        for (const QString &f : files()) {
            QFile file(at(f));
            all << f.toUtf8() << (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        }
        return all;
    }
    engine::Variant company(const engine::Variant &set = {}) const {
        engine::Connection cn;
        cn.Open(data::ConnectionString(QStringLiteral("inddata.mdb")));
        if (!set.isEmpty())
            tablehelpers::setFirst(cn, QStringLiteral("Firma"), QStringLiteral("Navn"), set);
        return tablehelpers::column(cn, QStringLiteral("Firma"), QStringLiteral("Navn")).at(0);
    }
    // The one message shown: its text, or for the error report its second and third lines.
    QString shown() const {
        EXPECT_EQ(messages->shown.size(), 1u);
        if (messages->shown.empty())
            return {};
        const platform::RecordingMessages::Shown &m = messages->shown[0];
        EXPECT_EQ(m.caption, QStringLiteral("Fundator"));
        EXPECT_EQ(m.icon, m.text.contains(QChar(13)) ? platform::Icon::Critical : platform::Icon::None);
        const QStringList lines = m.text.split(QChar(13));
        return lines.size() == 4 ? lines[1] + QStringLiteral(" | ") + lines[2] : m.text;
    }
};

TEST_F(StartUpTest, CompactsReplacingAnOldCopyAndShowsTheWindow) {
    tablehelpers::sqlOnFile(at(QStringLiteral("inddata.mdb")),
                            QStringLiteral("UPDATE Firma SET Navn = 'Byg og Anlæg ApS'; CREATE TABLE fyld(x); "
                                           "INSERT INTO fyld VALUES (randomblob(500000)); DROP TABLE fyld;"));
    const qint64 before = QFileInfo(at(QStringLiteral("inddata.mdb"))).size();
    QFile stale(at(QStringLiteral("inddata.tmp")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    ASSERT_TRUE(start());
    EXPECT_EQ(steps.size(), static_cast<std::size_t>(StartStep::SnapshotTaken) + 1);
    EXPECT_EQ(files(), kDelivered);
    EXPECT_LT(QFileInfo(at(QStringLiteral("inddata.mdb"))).size(), before - 400000);
    EXPECT_EQ(company(), engine::Variant(QStringLiteral("Byg og Anlæg ApS")));
    EXPECT_TRUE(modMain::cnParam.IsOpen() && modMain::cnIsol.IsOpen());
    EXPECT_TRUE(messages->shown.empty() && !modMain::DatabaseMangler);
    EXPECT_EQ(windows, 1);
}

// Which files start-up finds: a lone copy counts only in lower case, the database in any case.
TEST_F(StartUpTest, FilesFoundAndMissing) {
    const std::tuple<const char *, const char *, const char *> cases[] = {
        {"inddata.mdb", "inddata.tmp", ""},
        {"inddata.mdb", "INDDATA.MDB", ""},
        {"inddata.mdb", "INDDATA.TMP", "inddata.mdb"},
        {"param.mdb", "", "param.mdb"},
        {"isol.mdb", "", "isol.mdb"}};
    for (const auto &[from, to, missing] : cases) {
        closeConnections();
        testsupport::makeDatabases(dir.path());
        if (*to)
            ASSERT_TRUE(QFile::rename(at(QLatin1String(from)), at(QLatin1String(to))));
        else
            ASSERT_TRUE(QFile::remove(at(QLatin1String(from))));
        if (*from == 'p') {
            ASSERT_TRUE(QFile::remove(at(QStringLiteral("isol.mdb")))); // only the first is reported
        }
        EXPECT_EQ(start(), !*missing) << to;
        if (*missing) {
            EXPECT_EQ(shown(), QStringLiteral("Filen \"") + at(QLatin1String(missing)) + QStringLiteral("\" mangler !"));
        }
        EXPECT_EQ(modMain::DatabaseMangler, *missing != 0) << to;
        EXPECT_EQ(windows, *missing ? 0 : 1) << to;
        QFile::remove(at(QLatin1String(to)));
    }
}

// Run-time errors end start-up with the step and the cause in the engine's own words.
TEST_F(StartUpTest, ErrorsNameTheirStepAndCause) {
    sqlite3 *holder = nullptr; // another program in the middle of a write
    const std::pair<std::function<void()>, QString> cases[] = {
        {[&] { tablehelpers::sqlOnFile(at(QStringLiteral("inddata.mdb")), QStringLiteral("DROP TABLE inddatalast")); },
         "Log nr. 108 | Fejlnr.: -2147217865, "},
        {[&] { QFile::remove(at(QStringLiteral("system.mdw"))); }, "Log nr. 900 | Fejlnr.: -2147467259, Could not find"},
        {[&] { QDir().mkdir(at(QStringLiteral("inddata.tmp"))); },
         "Log nr. 896 | Fejlnr.: 3051, The Microsoft Jet database engine cannot open the file '" +
             at(QStringLiteral("inddata.tmp")) + "'."},
        {[&] {
             sqlite3_open(QFile::encodeName(at(QStringLiteral("inddata.mdb"))).constData(), &holder);
             sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
         },
         "Log nr. 896 | Fejlnr.: 3045, Could not use '" + at(QStringLiteral("inddata.mdb")) + "'; file already in use."},
        {[&] { modMain::ShowMainWindow = [] { engine::raise(engine::err::InvalidProcedureCall); }; },
         "Log nr. 902 | Fejlnr.: 5, "},
    };
    for (const auto &[setUp, expected] : cases) {
        closeConnections();
        testsupport::makeDatabases(dir.path());
        setUp();
        const QByteArrayList files = image();
        EXPECT_FALSE(start());
        EXPECT_TRUE(shown().startsWith(QStringLiteral("Function: Sub Main, ") + expected)) << shown().toStdString();
        EXPECT_EQ(windows, 0);
        if (expected.contains(QLatin1String("896"))) {
            EXPECT_EQ(image(), files) << "a failed compaction keeps the database";
        }
        sqlite3_close(std::exchange(holder, nullptr));
        QDir(at(QStringLiteral("inddata.tmp"))).removeRecursively();
    }
    // A full disk reads as such, not as a damaged database.
    EXPECT_EQ(engine::detail::causeOf(SQLITE_FULL, {})->text, QStringLiteral("Not enough space on disk."));
    EXPECT_EQ(engine::detail::causeOf(SQLITE_IOERR_WRITE, {})->number, 3043);
    EXPECT_FALSE(engine::detail::causeOf(SQLITE_CORRUPT, {}));
}

// A second start on a folder that a running program holds shows why, changes no file and ends.
TEST_F(StartUpTest, SecondStartOnARunningFolderChangesNothing) {
    QFile stale(at(QStringLiteral("inddata.tmp")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    const QByteArrayList before = image();
    {
        platform::FolderLock running;
        ASSERT_TRUE(running.Take(dir.path()));
        EXPECT_FALSE(start());
        EXPECT_EQ(shown(), QStringLiteral("Fundator kører allerede fra denne mappe."));
        EXPECT_EQ(messages->shown[0].buttons, platform::Buttons::Ok);
        EXPECT_TRUE(steps.empty());
        EXPECT_EQ(image(), before);
        EXPECT_EQ(windows, 0);
    }
    ASSERT_TRUE(start()); // the first program ended
    platform::FolderLock second;
    EXPECT_FALSE(second.Take(dir.path()));
}

// Start-up stopped after any step, then again after any step of the next start, and finally run through:
// the working database and the company row are never lost.
TEST_F(StartUpTest, AnInterruptedStartNeverLosesTheDatabase) {
    constexpr int kSteps = static_cast<int>(StartStep::SnapshotTaken) + 1;
    for (int first = 0; first < kSteps; ++first) {
        for (int second = 0; second <= kSteps; ++second) {
            closeConnections();
            for (const QString &f : files())
                QFile::remove(at(f));
            testsupport::makeDatabases(dir.path());
            company(QStringLiteral("Byg ApS"));
            for (int stopAt : {first, second}) {
                modMain::AfterStep = [stopAt](StartStep s) {
                    if (static_cast<int>(s) == stopAt)
                        throw Crash{};
                };
                try {
                    start();
                } catch (const Crash &) {
                }
            }
            modMain::AfterStep = [](StartStep) {};
            SCOPED_TRACE(testing::Message() << "stopped after " << first << " and " << second);
            ASSERT_TRUE(start());
            EXPECT_EQ(files(), kDelivered);
            EXPECT_EQ(company(), engine::Variant(QStringLiteral("Byg ApS")));
            EXPECT_EQ(tablehelpers::column(modMain::cnInddata, QStringLiteral("inddatalast"), QStringLiteral("lastid")).size(), 10u);
            EXPECT_TRUE(messages->shown.empty());
        }
    }
}

} // namespace
