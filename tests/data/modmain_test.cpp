#include "data/account.h"
#include "data/connections.h"
#include "data/modmain.h"
#include "platform/message_box.h"
#include "support/databases.h"
#include "table_helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

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
        modMain::AfterStep = [this](StartStep s) { steps.push_back(s); };
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
        return modMain::Main(dir.path());
    }
    QString at(const QString &name) const { return dir.filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    void rename(const char *from, const char *to) {
        ASSERT_TRUE(QFile::rename(at(QLatin1String(from)), at(QLatin1String(to))));
    }
    void setCompany(const QString &name) const {
        engine::Connection cn;
        cn.Open(data::ConnectionString(QStringLiteral("inddata.mdb")));
        tablehelpers::setFirst(cn, QStringLiteral("Firma"), QStringLiteral("Navn"), name);
        cn.Close();
    }
    engine::Variant company() const {
        engine::Connection cn;
        cn.Open(data::ConnectionString(QStringLiteral("inddata.mdb")));
        return tablehelpers::column(cn, QStringLiteral("Firma"), QStringLiteral("Navn")).at(0);
    }
    std::size_t loads() const {
        engine::Connection cn;
        cn.Open(data::ConnectionString(QStringLiteral("inddata.mdb")));
        return tablehelpers::column(cn, QStringLiteral("inddatalast"), QStringLiteral("lastid")).size();
    }
    void expectMissing(const char *file) {
        ASSERT_EQ(messages->shown.size(), 1u);
        EXPECT_EQ(messages->shown[0].text,
                  QStringLiteral("Filen \"") + at(QLatin1String(file)) + QStringLiteral("\" mangler !"));
        EXPECT_EQ(messages->shown[0].icon, platform::Icon::None);
        EXPECT_EQ(messages->shown[0].buttons, platform::Buttons::Ok);
        EXPECT_EQ(messages->shown[0].caption, QStringLiteral("Fundator"));
        EXPECT_TRUE(modMain::DatabaseMangler);
        EXPECT_EQ(windows, 0);
        EXPECT_FALSE(modMain::cnInddata.IsOpen());
    }
    // The second line of the one error report shown.
    QString reportedAt() const {
        EXPECT_EQ(messages->shown.size(), 1u);
        if (messages->shown.empty())
            return {};
        EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
        return messages->shown[0].text.split(QChar(13)).value(1);
    }
};

TEST_F(StartUpTest, CompactsReplacingAnOldCopyAndShowsTheWindow) {
    setCompany(QStringLiteral("Byg og Anlæg ApS"));
    tablehelpers::sqlOnFile(
        at(QStringLiteral("inddata.mdb")),
        QStringLiteral("CREATE TABLE fyld(x); WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                       "FROM c WHERE i < 1000) INSERT INTO fyld SELECT randomblob(1000) FROM c; "
                       "DROP TABLE fyld;"));
    const qint64 before = QFileInfo(at(QStringLiteral("inddata.mdb"))).size();
    QFile stale(at(QStringLiteral("inddata.tmp")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("left by a failed compaction");
    stale.close();

    ASSERT_TRUE(start());
    EXPECT_EQ(steps, (std::vector<StartStep>{StartStep::EngineReady, StartStep::OldCopyDeleted, StartStep::Compacted,
                                             StartStep::CopyOnDisk, StartStep::OriginalDeleted, StartStep::CopyRenamed,
                                             StartStep::Connected, StartStep::Cleared, StartStep::Initialised,
                                             StartStep::SnapshotTaken}));
    EXPECT_EQ(files(), kDelivered);
    EXPECT_LT(QFileInfo(at(QStringLiteral("inddata.mdb"))).size(), before - 500000);
    EXPECT_EQ(company(), engine::Variant(QStringLiteral("Byg og Anlæg ApS")));
    EXPECT_EQ(loads(), 10u);
    EXPECT_TRUE(modMain::cnParam.IsOpen() && modMain::cnIsol.IsOpen());
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_FALSE(modMain::DatabaseMangler);
    EXPECT_EQ(windows, 1);
}

TEST_F(StartUpTest, ALoneCopyInLowerCaseIsTakenWithoutCompaction) {
    setCompany(QStringLiteral("Byg ApS"));
    rename("inddata.mdb", "inddata.tmp");
    ASSERT_TRUE(start());
    EXPECT_EQ(std::count(steps.begin(), steps.end(), StartStep::Compacted), 0);
    EXPECT_EQ(files(), kDelivered);
    EXPECT_EQ(company(), engine::Variant(QStringLiteral("Byg ApS")));
    EXPECT_EQ(windows, 1);
}

TEST_F(StartUpTest, ALoneCopyInCapitalsCountsAsMissing) {
    rename("inddata.mdb", "INDDATA.TMP");
    EXPECT_FALSE(start());
    expectMissing("inddata.mdb");
    EXPECT_TRUE(files().contains(QStringLiteral("INDDATA.TMP")));
}

TEST_F(StartUpTest, ADatabaseNamedInCapitalsIsFound) {
    rename("inddata.mdb", "INDDATA.MDB");
    ASSERT_TRUE(start());
    EXPECT_EQ(files(), kDelivered);
    EXPECT_EQ(windows, 1);
}

TEST_F(StartUpTest, OnlyTheFirstMissingDatabaseIsReported) {
    ASSERT_TRUE(QFile::remove(at(QStringLiteral("param.mdb"))));
    ASSERT_TRUE(QFile::remove(at(QStringLiteral("isol.mdb"))));
    EXPECT_FALSE(start());
    expectMissing("param.mdb");

    messages->shown.clear();
    testsupport::makeDatabases(dir.path());
    ASSERT_TRUE(QFile::remove(at(QStringLiteral("isol.mdb"))));
    EXPECT_FALSE(start());
    expectMissing("isol.mdb");
}

TEST_F(StartUpTest, AnErrorWhileClearingTheInputEndsStartUp) {
    tablehelpers::sqlOnFile(at(QStringLiteral("inddata.mdb")), QStringLiteral("DROP TABLE inddatalast"));
    EXPECT_FALSE(start());
    EXPECT_EQ(reportedAt(), QStringLiteral("Function: Sub Main, Log nr. 108"));
    EXPECT_EQ(windows, 0);
}

TEST_F(StartUpTest, AFailedCompactionKeepsTheDatabaseAndEndsStartUp) {
    QFile mdb(at(QStringLiteral("inddata.mdb")));
    ASSERT_TRUE(mdb.open(QIODevice::WriteOnly));
    mdb.write(QByteArray(4096, 'x'));
    mdb.close();
    EXPECT_FALSE(start());
    EXPECT_EQ(reportedAt(), QStringLiteral("Function: Sub Main, Log nr. 896"));
    ASSERT_TRUE(mdb.open(QIODevice::ReadOnly));
    EXPECT_EQ(mdb.readAll(), QByteArray(4096, 'x'));
}

TEST_F(StartUpTest, AMissingWorkgroupFileEndsStartUpAtTheConnections) {
    ASSERT_TRUE(QFile::remove(at(QStringLiteral("system.mdw"))));
    EXPECT_FALSE(start());
    EXPECT_EQ(reportedAt(), QStringLiteral("Function: Sub Main, Log nr. 900"));
}

// The connections name their files without a folder: they look in the current folder only.
TEST_F(StartUpTest, AnotherCurrentFolderEndsStartUpAtTheConnections) {
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    EXPECT_FALSE(start());
    EXPECT_EQ(reportedAt(), QStringLiteral("Function: Sub Main, Log nr. 900"));
    EXPECT_FALSE(modMain::DatabaseMangler);
    EXPECT_EQ(windows, 0);
    EXPECT_TRUE(QDir(elsewhere.path()).entryList(QDir::Files).isEmpty());
}

// The files as a crash in the middle of a write leaves them: the database and its rollback journal.
TEST_F(StartUpTest, AStartAfterACrashInsideAWriteRollsTheWriteBack) {
    setCompany(QStringLiteral("Byg ApS"));
    QTemporaryDir image;
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(at(QStringLiteral("inddata.mdb"))).constData(), &db,
                              SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "PRAGMA cache_size = 1; BEGIN; UPDATE Firma SET Navn = 'halv'; "
                           "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 2000) "
                           "INSERT INTO inddatalast (lastid, Lasttype) SELECT i, 'Punktlast' FROM c;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    for (const char *f : {"inddata.mdb", "inddata.mdb-journal"})
        ASSERT_TRUE(QFile::copy(at(QLatin1String(f)), image.filePath(QLatin1String(f)))) << f;
    sqlite3_close_v2(db);
    for (const char *f : {"inddata.mdb", "inddata.mdb-journal"}) {
        QFile::remove(at(QLatin1String(f)));
        ASSERT_TRUE(QFile::copy(image.filePath(QLatin1String(f)), at(QLatin1String(f))));
    }

    ASSERT_TRUE(start());
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(files(), kDelivered);
    EXPECT_EQ(company(), engine::Variant(QStringLiteral("Byg ApS")));
    EXPECT_EQ(loads(), 10u);
}

TEST_F(StartUpTest, AFailedFirstSnapshotIsReportedAndTheWindowStillShows) {
    modMain::AfterStep = [this](StartStep s) {
        if (s != StartStep::Initialised)
            return;
        modMain::cnInddata.Close();
        tablehelpers::sqlOnFile(at(QStringLiteral("inddata.mdb")), QStringLiteral("DROP TABLE projekt"));
        modMain::cnInddata.Open(data::ConnectionString(QStringLiteral("inddata.mdb")));
    };
    EXPECT_TRUE(start());
    EXPECT_EQ(reportedAt(), QStringLiteral("Function: SaveInddataValues, Log nr. 18"));
    EXPECT_EQ(windows, 1);
}

TEST_F(StartUpTest, AnErrorShowingTheWindowEndsStartUp) {
    modMain::ShowMainWindow = [] { engine::raise(engine::err::InvalidProcedureCall); };
    EXPECT_FALSE(start());
    EXPECT_EQ(reportedAt(), QStringLiteral("Function: Sub Main, Log nr. 902"));
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
            setCompany(QStringLiteral("Byg ApS"));
            QFile stale(at(QStringLiteral("inddata.tmp")));
            ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
            stale.close();
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
            modMain::AfterStep = nullptr;
            SCOPED_TRACE(testing::Message() << "stopped after " << first << " and " << second);
            ASSERT_TRUE(start());
            EXPECT_EQ(files(), kDelivered);
            EXPECT_EQ(company(), engine::Variant(QStringLiteral("Byg ApS")));
            EXPECT_EQ(loads(), 10u);
            EXPECT_TRUE(messages->shown.empty());
        }
    }
}

} // namespace
