// The main window's own work on the delivered databases: loading (the seven parameter tables and the lists),
// the activation that binds the pages after a modal window, and the new-input command.

#include "platform/message_box.h"
#include "support/sample_floor.h"
#include "ui/frm_main.h"

#include <benchmark/benchmark.h>

namespace {

struct Program {
    testsupport::ProgramDatabases databases;
    Program() {
        testsupport::offscreenApplication();
        platform::setMessageService(std::make_shared<platform::RecordingMessages>());
        testsupport::startWithDefaultInput();
    }
};

void BM_LoadAndShow(benchmark::State &state) {
    Program program;
    for (auto _ : state) {
        frmMain w;
        w.show();
        benchmark::DoNotOptimize(w.LogNr);
    }
}
BENCHMARK(BM_LoadAndShow)->Unit(benchmark::kMillisecond);

void BM_Activation(benchmark::State &state) {
    Program program;
    frmMain w;
    w.show();
    for (auto _ : state)
        w.Form_Activate();
}
BENCHMARK(BM_Activation)->Unit(benchmark::kMillisecond);

void BM_NewInput(benchmark::State &state) {
    Program program;
    frmMain w;
    w.show();
    for (auto _ : state)
        w.Command1_Click(0);
}
BENCHMARK(BM_NewInput)->Unit(benchmark::kMillisecond);

} // namespace
