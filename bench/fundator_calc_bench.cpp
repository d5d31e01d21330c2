// fundator-calc end to end on a folder of databases. The first benchmark runs the tool's own steps in this
// process (foundation values, both analysis passes, the design, and the result tables read back as JSON):
// every table read and write, no process start. The other two start the tool itself, with the calculation and
// with nothing to do, so that the difference is the calculation as the tool runs it.

#include "../tools/fundator-calc/calculation.h"
#include "calc/design_input.h"
#include "data/connections.h"
#include "support/databases.h"

#include <QFile>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace {

const QByteArray kTool = QFile::encodeName(QStringLiteral(FUNDATOR_APP_DIR "/../tools/fundator-calc"));

testsupport::DatabaseFolder &folder() {
    static const std::unique_ptr<testsupport::DatabaseFolder> f = [] {
        auto made = std::make_unique<testsupport::DatabaseFolder>();
        modMain::cnInddata = made->open(QStringLiteral("inddata.mdb"));
        designinput::writeConcreteInput();
        modMain::cnInddata.Close();
        return made;
    }();
    return *f;
}

void BM_CalculationWithTables(benchmark::State &state) {
    modMain::cnInddata = folder().open(QStringLiteral("inddata.mdb"));
    std::size_t bytes = 0;
    for (auto _ : state) {
        if (fundatorcalc::RunCalculation() != 0) {
            state.SkipWithError("the calculation failed");
            break;
        }
        bytes = fundatorcalc::ResultJson().size();
    }
    state.counters["json_bytes"] = double(bytes);
    modMain::cnInddata.Close();
}
BENCHMARK(BM_CalculationWithTables)->Unit(benchmark::kMillisecond);

int runTool(const char *dir) {
    std::vector<char *> argv{const_cast<char *>(kTool.constData())};
    if (dir)
        argv.push_back(const_cast<char *>(dir));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int status = -1;
    if (posix_spawn(&pid, kTool.constData(), &actions, nullptr, argv.data(), environ) == 0)
        waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_ToolProcess(benchmark::State &state) {
    const QByteArray dir = QFile::encodeName(folder().path());
    for (auto _ : state)
        if (runTool(dir.constData()) != 0) {
            state.SkipWithError("fundator-calc failed");
            break;
        }
}
BENCHMARK(BM_ToolProcess)->Unit(benchmark::kMillisecond);

// Process start and exit alone: the tool refuses a missing argument before it touches anything.
void BM_ToolProcessStartOnly(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(runTool(nullptr));
}
BENCHMARK(BM_ToolProcessStartOnly)->Unit(benchmark::kMillisecond);

} // namespace
