#include "data/account.h"
#include "data/modmain.h"
#include "engine/engine_impl.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "support/failing_disk.h"
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
    const auto cut = [&](const char *name, int bytes) {
        QFile::resize(at(QLatin1String(name)), QFileInfo(at(QLatin1String(name))).size() - bytes);
    };
    // One bit flipped inside the first or the last copy of a stored text.
    const auto flip = [&](const char *name, const QString &text, bool last) {
        QFile f(at(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        const qsizetype i = last ? bytes.lastIndexOf(text.toUtf8()) : bytes.indexOf(text.toUtf8());
        ASSERT_GE(i, 0);
        put(name, QByteArray(1, static_cast<char>(bytes[i + 2] ^ 1)), i + 2);
    };
    // A whole file that is not ours: made for another password.
    const auto foreign = [&](const char *name) {
        const QString file = at(QLatin1String(name));
        engine::CreateDatabase(file, testsupport::dbScript(QFileInfo(file).baseName()), file.endsWith(".mdw"),
                               data::kUser, QStringLiteral("Andet"));
    };
    const auto error = [&](int nr, int number, const char *name) {
        const char *text = number == 3049                              ? "Cannot open database '%1'."
                           : number == 3045                            ? "Could not use '%1'; file already in use."
                           : number == engine::err::DbNotValidPassword ? "Not a valid password. ('%1')"
                           : number == engine::err::DbFailure
                               ? "Not a valid account name or password. ('%1')"
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
        // A cut file reads its lost tail as zeros, and a damaged account or password reads as another one.
        {[&] { cut("inddata.mdb", 1); }, error(896, 3049, "inddata.mdb")},
        {[&] { cut("param.mdb", 12); }, error(900, 3049, "param.mdb")},
        {[&] { cut("system.mdw", 1); }, error(900, 3049, "system.mdw")},
        {[&] { flip("isol.mdb", data::kPassword, false); }, error(900, 3049, "isol.mdb")},
        {[&] { flip("system.mdw", data::kPassword, false); }, error(900, 3049, "system.mdw")},
        {[&] { flip("system.mdw", data::kUser, true); }, error(900, 3049, "system.mdw")}, // in the index
        {[&] { foreign("param.mdb"); }, error(900, engine::err::DbNotValidPassword, "param.mdb")},
        {[&] { foreign("system.mdw"); }, error(900, engine::err::DbFailure, "system.mdw")},
        {[&] { tablehelpers::sqlOnFile(at(QStringLiteral("inddata.mdb")), QStringLiteral("DROP TABLE inddatalast")); },
         QStringLiteral("Function: Sub Main, Log nr. 108 | Fejlnr.: %1, The Microsoft Jet database engine cannot find "
                        "the input table or query 'inddatalast'.  Make sure it exists and that its name is spelled "
                        "correctly. ('%2')")
             .arg(engine::err::DbNoSuchTable)
             .arg(at(QStringLiteral("inddata.mdb")))},
    };
    for (const auto &[setUp, expected] : cases) {
        for (const QString &f :
             {QStringLiteral("inddata.tmp"), QStringLiteral("inddata.mdb"), QStringLiteral("system.mdw")})
            QDir(at(f)).removeRecursively();
        for (const QString &f : files())
            QFile::remove(at(f));
        testsupport::makeDatabases(dir.path());
        setUp();
        const bool compacted =
            expected.contains(QLatin1String("Log nr. 900")) || expected.contains(QLatin1String("Log nr. 108"));
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

// A disk that refuses a read is named as such, never taken for damage: wherever start-up meets a read that keeps
// failing, it names the file in the engine's words for a disk error and changes no file but by the compaction;
// a read that fails once is read again or reported the same way.
TEST_F(StartUpTest, ReadErrorsAreNotTakenForDamage) {
    QHash<QString, QByteArray> delivered;
    for (const QString &f : files()) {
        QFile file(at(f));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        delivered.insert(f, file.readAll());
    }
    const QByteArrayList whole = image(), apartFromTheCompaction = image(true);
    testsupport::FailingDisk disk;
    disk.failRead(0, false);
    ASSERT_TRUE(start());
    const int reads = disk.reads();
    ASSERT_GT(reads, 0);
    for (const bool lasting : {true, false}) {
        for (int n = 1; n <= reads; ++n) {
            closeConnections();
            disk.failRead(0, false);
            for (const QString &f : files())
                QFile::remove(at(f));
            for (auto it = delivered.cbegin(); it != delivered.cend(); ++it)
                put(it.key().toUtf8().constData(), it.value());
            disk.failRead(n, lasting);
            SCOPED_TRACE(testing::Message() << "read " << n << (lasting ? " and on" : " once"));
            const bool started = start();
            if (messages->shown.empty()) {
                EXPECT_TRUE(started && !lasting);
                continue;
            }
            const QString m = shown();
            EXPECT_FALSE(m.contains(QLatin1String("corrupt"))) << m.toStdString();
            EXPECT_TRUE(m.contains(QStringLiteral("Disk or network error. ('") +
                                   (lasting ? disk.failedFile() + QStringLiteral("')") : dir.path())))
                << m.toStdString();
            EXPECT_EQ(started, m.contains(QLatin1String("SaveInddataValues")));
            if (!started) {
                EXPECT_EQ(image(!m.contains(QLatin1String("Log nr. 896"))),
                          m.contains(QLatin1String("Log nr. 896")) ? whole : apartFromTheCompaction);
            }
        }
    }
    // A full disk is named at the file that could not be written, and the working database stays as it was.
    closeConnections();
    disk.failRead(0, false);
    const QByteArrayList before = image();
    disk.setFull(true);
    EXPECT_FALSE(start());
    disk.setFull(false);
    EXPECT_TRUE(shown().contains(QStringLiteral("Log nr. 896 | Fejlnr.: 3026, Not enough space on disk. ('") +
                                 at(QStringLiteral("inddata.tmp")) + QStringLiteral("')")))
        << shown().toStdString();
    EXPECT_EQ(image(), before);
    closeConnections();
}

// Linux keeps other spellings of the program's files apart. Start-up works on the lower-case file and leaves
// every other spelling as it is (a lone one still counts), and where it cannot tell which file is meant it
// stops naming the files and changes none. The working database's company is "Byg", a copy's "Kopi".
TEST_F(StartUpTest, AnotherSpellingIsLeftAloneOrNamed) {
    const QByteArray saved = "\"inddata\",28,1\r\n"; // a project file saved under a database's name
    const auto stop = [&](int nr, const char *a, const char *b) {
        return QStringLiteral("Function: Sub Main, Log nr. %1 | Fejlnr.: 58, File already exists: '%2', '%3'")
            .arg(nr)
            .arg(at(QLatin1String(a)), at(QLatin1String(b)));
    };
    // Copies of the working database are made first, then delivered files renamed, then other files written.
    const struct {
        QStringList copies;
        std::vector<std::pair<QString, QString>> renamed;
        std::vector<std::pair<const char *, QByteArray>> written;
        QString stopped;  // empty: start-up goes through
        QStringList kept; // byte for byte, beside the delivered files after the first start
    } rows[] = {
        {{"INDDATA.MDB"}, {}, {}, {}, {"INDDATA.MDB"}},
        {{},
         {},
         {{"System.mdw", saved}, {"PARAM.MDB", saved}, {"Isol.mdb", saved}},
         {},
         {"Isol.mdb", "PARAM.MDB", "System.mdw"}},
        {{"INDDATA.TMP"}, {}, {{"inddata.tmp", {}}}, {}, {"INDDATA.TMP"}},
        // A lone other spelling is the database; a copy beside it that is no database, or not spelt as the
        // compaction's own, is deleted before the compaction.
        {{}, {{"inddata.mdb", "INDDATA.MDB"}}, {{"inddata.tmp", {}}}, {}, {}},
        {{"INDDATA.TMP"}, {{"inddata.mdb", "Inddata.mdb"}}, {}, {}, {}},
        // A whole inddata.tmp beside another spelling: a start that stopped before the copy took the name.
        {{"INDDATA.MDB"}, {{"inddata.mdb", "inddata.tmp"}}, {}, stop(895, "INDDATA.MDB", "inddata.tmp"), {}},
        {{"Inddata.mdb"}, {{"inddata.mdb", "INDDATA.MDB"}}, {}, stop(894, "INDDATA.MDB", "Inddata.mdb"), {}},
        {{}, {{"param.mdb", "PARAM.MDB"}}, {{"Param.mdb", saved}}, stop(898, "PARAM.MDB", "Param.mdb"), {}},
        {{}, {{"system.mdw", "SYSTEM.MDW"}}, {{"System.mdw", saved}}, stop(900, "SYSTEM.MDW", "System.mdw"), {}},
    };
    const auto bytes = [&](const QString &name) {
        QFile f(at(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    };
    for (const auto &row : rows) {
        closeConnections();
        for (const QString &f : files())
            QFile::remove(at(f));
        testsupport::makeDatabases(dir.path());
        tablehelpers::sqlOnFile(at(QStringLiteral("inddata.mdb")), QStringLiteral("UPDATE Firma SET Navn = 'Byg'"));
        for (const QString &name : row.copies) {
            ASSERT_TRUE(QFile::copy(at(QStringLiteral("inddata.mdb")), at(name)));
            tablehelpers::sqlOnFile(at(name), QStringLiteral("UPDATE Firma SET Navn = 'Kopi'"));
        }
        for (const auto &[from, to] : row.renamed)
            ASSERT_TRUE(QFile::rename(at(from), at(to)));
        for (const auto &[name, contents] : row.written)
            put(name, contents);
        SCOPED_TRACE(files().join(QLatin1Char(' ')).toStdString());
        if (!row.stopped.isEmpty()) {
            // Only a lower-case inddata.mdb may have been compacted before the stop.
            const QByteArrayList before = image(true);
            EXPECT_FALSE(start());
            EXPECT_EQ(shown(), row.stopped);
            EXPECT_EQ(image(true), before);
            continue;
        }
        std::map<QString, QByteArray> kept;
        for (const QString &f : row.kept)
            kept[f] = bytes(f);
        ASSERT_TRUE(start()) << shown().toStdString();
        QStringList expected = kDelivered + row.kept, got = files();
        expected.sort();
        got.sort();
        EXPECT_EQ(got, expected);
        for (const auto &[name, contents] : kept)
            EXPECT_EQ(bytes(name), contents) << name.toStdString();
        // The next start works on the same database.
        for (int run = 0; run < 2; ++run) {
            EXPECT_EQ(tablehelpers::column(modMain::cnInddata, QStringLiteral("Firma"), QStringLiteral("Navn")).at(0),
                      engine::Variant(QStringLiteral("Byg")));
            ASSERT_TRUE(run == 1 || start()) << shown().toStdString();
        }
    }
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
