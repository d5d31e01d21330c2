// One sketch run of the main window on the delivered databases: the pages committed, the foundation values
// read and derived, and the floor drawn with its captions (forced), or found unchanged (unforced).

#include "platform/message_box.h"
#include "support/sample_floor.h"
#include "ui/frm_main.h"

#include <QFrame>

#include <benchmark/benchmark.h>

namespace {

struct Floor {
    testsupport::ProgramDatabases databases;
    Floor() {
        testsupport::offscreenApplication();
        platform::setMessageService(std::make_shared<platform::RecordingMessages>());
        testsupport::startWithDefaultInput(true);
    }
};

void BM_SketchRunForced(benchmark::State &state) {
    Floor floor;
    frmMain w;
    w.show();
    for (auto _ : state) {
        w.TegnSkitse(true);
        benchmark::DoNotOptimize(w.LogNr);
    }
    if (w.LogNr != 284)
        state.SkipWithError("the run did not finish");
}
BENCHMARK(BM_SketchRunForced)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

// The same with the picture painted on the screen, as the user waits for it.
void BM_SketchRunForcedAndPainted(benchmark::State &state) {
    Floor floor;
    frmMain w;
    w.show();
    w.Skitse->show();
    w.Skitse->raise();
    for (auto _ : state) {
        w.TegnSkitse(true);
        w.Skitse->repaint();
    }
}
BENCHMARK(BM_SketchRunForcedAndPainted)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

// The common case after an edit that changed nothing drawn: the values derived, nothing stored or drawn.
void BM_SketchRunUnchanged(benchmark::State &state) {
    Floor floor;
    frmMain w;
    w.show();
    w.TegnSkitse(false);
    for (auto _ : state) {
        w.TegnSkitse(false);
        benchmark::DoNotOptimize(w.LogNr);
    }
}
BENCHMARK(BM_SketchRunUnchanged)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
