// Start-up's database work on a 1 MB inddata.mdb: compaction and swap, the three connections, the default
// input and the first change snapshot.

#include "data/connections.h"
#include "data/modmain.h"
#include "platform/message_box.h"
#include "support/databases.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

// Pads the database with about 1 MB of live rows.
void padTo1MB(const QString &file) {
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db,
                 "CREATE TABLE fyld(x); WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 1000) "
                 "INSERT INTO fyld SELECT randomblob(1000) FROM c;",
                 nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);
}

void BM_StartUp(benchmark::State &state) {
    QTemporaryDir dir;
    testsupport::makeDatabases(dir.path());
    const QString mdb = dir.filePath(QStringLiteral("inddata.mdb"));
    const QString original = dir.filePath(QStringLiteral("original.db"));
    padTo1MB(mdb);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    platform::setMessageService(std::make_shared<platform::RecordingMessages>());
    // As the last run left it: the default input is there to be cleared again.
    if (!modMain::Main(dir.path()))
        state.SkipWithError("start-up failed");
    modMain::cnInddata.Close();
    QFile::copy(mdb, original);
    for (auto _ : state) {
        state.PauseTiming();
        modMain::cnInddata.Close();
        modMain::cnParam.Close();
        modMain::cnIsol.Close();
        QFile::remove(mdb);
        QFile::copy(original, mdb);
        state.ResumeTiming();
        if (!modMain::Main(dir.path()))
            state.SkipWithError("start-up failed");
    }
    state.counters["bytes"] = static_cast<double>(QFile(original).size());
    modMain::cnInddata.Close();
    modMain::cnParam.Close();
    modMain::cnIsol.Close();
    QDir::setCurrent(previous);
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
