// One unforced foundation-values run on the delivered inddata.mdb: the three tables read, the values derived
// and, in the first benchmark, stored.

#include "data/connections.h"
#include "data/modmain.h"
#include "sketch/foundation.h"
#include "support/databases.h"
#include "support/sample_floor.h"

#include <benchmark/benchmark.h>

namespace {

// A full floor: concrete slab, two insulation layers, an intermediate layer, a terrain and four loads.
struct Floor {
    testsupport::DatabaseFolder folder;
    Floor() {
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        modMain::ClearInddata();
        modMain::InitInddata();
        testsupport::storeFullFloor();
    }
    ~Floor() { modMain::cnInddata.Close(); }
};

void BM_FoundationRunStoring(benchmark::State &state) {
    Floor floor;
    std::int32_t LogNr = 0;
    for (auto _ : state) {
        state.PauseTiming();
        testsupport::setFields("inddata", nullptr, 0, {{"Uværdi", 0.0}});
        state.ResumeTiming();
        const sketch::FoundationResult r = sketch::ComputeFoundationValues(false, LogNr);
        if (!r.stored)
            state.SkipWithError("the run did not store");
        benchmark::DoNotOptimize(r.values);
    }
}
BENCHMARK(BM_FoundationRunStoring)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_FoundationRunUnchanged(benchmark::State &state) {
    Floor floor;
    std::int32_t LogNr = 0;
    sketch::ComputeFoundationValues(false, LogNr);
    for (auto _ : state) {
        const sketch::FoundationResult r = sketch::ComputeFoundationValues(false, LogNr);
        benchmark::DoNotOptimize(r.values);
    }
}
BENCHMARK(BM_FoundationRunUnchanged)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
