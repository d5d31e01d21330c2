#include "data/modmain.h"
#include "engine/engine_impl.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "table_helpers.h"

#include <QDir>
#include <QTemporaryDir>

#include <set>

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
        messages->shown.clear();
        windows = 0;
        return modMain::Main(dir.path());
    }
    QString at(const QString &name) const { return dir.filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    // Names and contents of the folder's files; without the working database's contents once it was compacted.
    QByteArrayList image(bool compacted = false) const {
        QByteArrayList all;
        for (const QString &f : QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
            QFile file(at(f));
            all << f.toUtf8();
            if (!compacted || f != QLatin1String("inddata.mdb"))
                all << (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        }
        return all;
    }
    void put(const char *name, const QByteArray &bytes, qint64 at = 0) const {
        QFile f(this->at(QLatin1String(name)));
        ASSERT_TRUE(f.open(at == 0 ? QIODevice::WriteOnly : QIODevice::ReadWrite) && f.seek(at) &&
                    f.write(bytes) == bytes.size());
    }
    // The one message shown: its text, or for the error report its second and third lines.
    QString shown() const {
        EXPECT_EQ(messages->shown.size(), 1u);
        const platform::RecordingMessages::Shown m =
            messages->shown.empty() ? platform::RecordingMessages::Shown{} : messages->shown[0];
        EXPECT_EQ(m.caption, QStringLiteral("Fundator"));
        EXPECT_EQ(m.icon, m.text.contains(QChar(13)) ? platform::Icon::Critical : platform::Icon::None);
        const QStringList lines = m.text.split(QChar(13));
        return lines.size() == 4 ? lines[1] + QStringLiteral(" | ") + lines[2] : m.text;
    }
};

// A missing database or a run-time error ends start-up with its message, the error with the step and the cause
// in the engine's own words naming the file, and no file changed but by the compaction.
TEST_F(StartUpTest, FailuresEndStartUpWithTheirMessage) {
    sqlite3 *holder = nullptr; // another program in the middle of a write
    const auto hold = [&](const char *name) {
        sqlite3_open(QFile::encodeName(at(QLatin1String(name))).constData(), &holder);
        sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    };
    const auto folderAt = [&](const char *name) {
        QFile::remove(at(QLatin1String(name)));
        QDir().mkdir(at(QLatin1String(name)));
    };
    const auto error = [&](int nr, int number, const char *name) {
        const char *text = number == 3049   ? "Cannot open database '%1'."
                           : number == 3045 ? "Could not use '%1'; file already in use."
                                            : "The Microsoft Jet database engine cannot open the file '%1'.";
        return QStringLiteral("Function: Sub Main, Log nr. %1 | Fejlnr.: %2, ").arg(nr).arg(number) +
               QString::fromLatin1(text).arg(at(QLatin1String(name)));
    };
    const std::pair<std::function<void()>, QString> cases[] = {
        {[&] { QFile::rename(at(QStringLiteral("inddata.mdb")), at(QStringLiteral("INDDATA.TMP"))); },
         "Filen \"" + at(QStringLiteral("inddata.mdb")) + "\" mangler !"},
        {[&] { QDir().mkdir(at(QStringLiteral("inddata.tmp"))); }, error(896, 3051, "inddata.tmp")},
        {[&] { hold("inddata.mdb"); }, error(896, 3045, "inddata.mdb")},
        {[&] { put("inddata.mdb", {}); }, error(896, 3049, "inddata.mdb")},
        {[&] { put("param.mdb", QByteArray(4096, '\xAB'), 5 * 4096); }, error(900, 3049, "param.mdb")},
        {[&] { put("isol.mdb", {}); }, error(900, 3049, "isol.mdb")},
        {[&] { QFile::resize(at(QStringLiteral("system.mdw")), 8192); }, error(900, 3049, "system.mdw")},
        {[&] { hold("system.mdw"); }, error(900, 3045, "system.mdw")},
        {[&] { folderAt("inddata.mdb"); }, error(894, 3051, "inddata.mdb")},
        {[&] { folderAt("system.mdw"); }, error(900, 3051, "system.mdw")},
    };
    for (const auto &[setUp, expected] : cases) {
        for (const QString &f :
             {QStringLiteral("inddata.tmp"), QStringLiteral("inddata.mdb"), QStringLiteral("system.mdw")})
            QDir(at(f)).removeRecursively();
        for (const QString &f : files())
            QFile::remove(at(f));
        testsupport::makeDatabases(dir.path());
        setUp();
        const bool compacted = expected.contains(QLatin1String("Log nr. 900"));
        const QByteArrayList before = image(compacted);
        EXPECT_FALSE(start());
        EXPECT_TRUE(shown().startsWith(expected)) << shown().toStdString();
        EXPECT_EQ(modMain::DatabaseMangler, expected.startsWith(QLatin1String("Filen")));
        EXPECT_EQ(image(compacted), before);
        EXPECT_EQ(windows, 0);
        sqlite3_close(std::exchange(holder, nullptr));
    }
    // A full disk reads as such, not as a damaged database.
    EXPECT_EQ(engine::detail::causeOf(SQLITE_FULL, {})->text, QStringLiteral("Not enough space on disk."));
    EXPECT_FALSE(engine::detail::causeOf(SQLITE_CORRUPT, {}));
}

// A second start on a folder that a running program holds shows why, changes no file and ends.
TEST_F(StartUpTest, SecondStartOnARunningFolderChangesNothing) {
    ASSERT_TRUE(QFile(at(QStringLiteral("inddata.tmp"))).open(QIODevice::WriteOnly)); // left by a failed start
    ASSERT_TRUE(QFile::rename(at(QStringLiteral("inddata.mdb")), at(QStringLiteral("INDDATA.MDB"))));
    const QByteArrayList before = image();
    {
        platform::FolderLock running;
        ASSERT_TRUE(running.Take(dir.path()));
        EXPECT_FALSE(start());
        EXPECT_EQ(shown(), QStringLiteral("Fundator kører allerede fra denne mappe."));
        EXPECT_EQ(image(), before);
        EXPECT_EQ(windows, 0);
        // Another program folder, started from the held one: its databases would be opened here.
        QTemporaryDir other;
        testsupport::makeDatabases(other.path());
        messages->shown.clear();
        EXPECT_FALSE(modMain::Main(other.path()));
        EXPECT_EQ(shown(), QStringLiteral("Fundator kører allerede fra denne mappe."));
        EXPECT_EQ(image(), before);
    }
    ASSERT_TRUE(start()); // the first program ended; the database counts in any case
    EXPECT_EQ(files(), kDelivered);
    platform::FolderLock second;
    EXPECT_FALSE(second.Take(dir.path()));
}

// Start-up stopped after any step, then again after any step of the next start, and finally run through:
// the working database and the company row are never lost.
TEST_F(StartUpTest, AnInterruptedStartNeverLosesTheDatabase) {
    constexpr int kSteps = static_cast<int>(StartStep::SnapshotTaken) + 1;
    // The databases are made once and copied into place, and so is the folder that a first stop left: made anew
    // for every pair of stops, their syncs to disk took most of the run.
    QTemporaryDir fresh, stopped;
    testsupport::makeDatabases(fresh.path());
    tablehelpers::sqlOnFile(fresh.filePath(QStringLiteral("inddata.mdb")),
                            QStringLiteral("UPDATE Firma SET Navn = 'Byg'"));
    const auto copy = [](const QString &from, const QString &to) {
        for (const QString &f : QDir(to).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(QDir(to).filePath(f));
        for (const QString &f : QDir(from).entryList(QDir::Files | QDir::Hidden))
            ASSERT_TRUE(QFile::copy(QDir(from).filePath(f), QDir(to).filePath(f))) << f.toStdString();
    };
    const auto startStoppedAfter = [this](int stopAt) {
        modMain::AfterStep = [stopAt](StartStep s) {
            if (static_cast<int>(s) == stopAt)
                throw Crash{};
        };
        try {
            start();
        } catch (const Crash &) {
        }
        modMain::AfterStep = nullptr;
        closeConnections();
    };
    // Start-up goes by nothing but the folder's files, so files it already went through are not started from
    // again: few pairs of stops leave files that no other pair left.
    std::set<QByteArrayList> stoppedOnce, stoppedTwice;
    for (int first = 0; first < kSteps; ++first) {
        copy(fresh.path(), dir.path());
        startStoppedAfter(first);
        if (!stoppedOnce.insert(image()).second)
            continue;
        copy(dir.path(), stopped.path());
        for (int second = 0; second <= kSteps; ++second) {
            copy(stopped.path(), dir.path());
            startStoppedAfter(second);
            if (!stoppedTwice.insert(image()).second)
                continue;
            SCOPED_TRACE(testing::Message() << "stopped after " << first << " and " << second);
            ASSERT_TRUE(start());
            EXPECT_EQ(files(), kDelivered);
            EXPECT_EQ(tablehelpers::column(modMain::cnInddata, QStringLiteral("Firma"), QStringLiteral("Navn")).at(0),
                      engine::Variant(QStringLiteral("Byg")));
            EXPECT_EQ(tablehelpers::column(modMain::cnInddata, QStringLiteral("inddatalast"), QStringLiteral("lastid"))
                          .size(),
                      10u);
            EXPECT_TRUE(messages->shown.empty());
            closeConnections();
        }
    }
}

} // namespace
