// The whole calculation in memory, as the calculate command runs it but without tables: the design pass, the
// characteristic pass and the design checks. A wheel load at a joint with a point load and an area load, so
// each pass assembles and solves both load cases; the crack-width check is on.

#include "calc/analysis_state.h"
#include "calc/design.h"
#include "slab_input.h"

#include <benchmark/benchmark.h>

namespace {

void setUpSlab() {
    benchslab::setUpSlab();

    Module2::t = 0.15;
    Module2::ftk = 1800.0;
    Module2::c = 20.0;
    Module2::fcd = 15.15;
    Module2::ftd = 1.09;
    Module2::wmax = 0.3;
    Module2::k0 = Module1::resBallasto;
    Module2::kn = Module1::resBallastn;
    Module2::Zigmao1 = 60.0;
    Module2::Zigman1 = 45.0;
    Module2::h1 = 0.2;
    Module2::Zigmao2 = Module2::Zigman2 = Module2::h2 = 0.0;
}

// What Laesdata reads for each pass: the design pass multiplies every size by its partial coefficient.
void readLoads(bool dimensionering) {
    Module1::LastRecord &L = Module1::Laster;
    L = Module1::LastRecord{};
    const auto load = [&](const char *kode, const char *form, const char *placering, double size, double b, double l,
                          double y, double partialK) {
        const int k = ++L.AntalLaster;
        L.Kode[k] = QString::fromLatin1(kode);
        L.FormBogstav[k] = QString::fromLatin1(form);
        L.PlaceringBogstav[k] = QString::fromLatin1(placering);
        L.Bredde[k] = b;
        L.Laengde[k] = l;
        L.AfstandFra[k] = y;
        L.PartialK[k] = partialK;
        L.Stoerrelse[k] = dimensionering ? size * partialK : size;
    };
    load("H", "K", "F", 50.0, 0.2, 0.2, 0.5, 1.3);
    load("S", "R", "M", 30.0, 0.2, 0.3, 3.0, 1.5);
    load("F", "R", "M", 5.0, 0.0, 0.0, 0.0, 1.5);
}

void pass(bool dimensionering) {
    Module1::Dimensionering = dimensionering;
    Module1::resetState();
    readLoads(dimensionering);
    Module1::analysePass();
    if (dimensionering) {
        Module1::umaxDim = Module1::umax;
        Module1::MmaxDim = Module1::Mmax;
        Module1::MminDim = Module1::Mmin;
    }
}

void BM_WholeCalculationInMemory(benchmark::State &state) {
    setUpSlab();
    for (auto _ : state) {
        pass(true);
        pass(false);
        Module2::resetState();
        Module2::designPass();
        benchmark::ClobberMemory(); // the results are module state; make sure each pass writes it
    }
    if (!Module2::ArmeringFundet)
        state.SkipWithError("the bottom reinforcement was not designed");
}
BENCHMARK(BM_WholeCalculationInMemory);

// The design checks alone, on the moments of one calculation.
void BM_DesignChecks(benchmark::State &state) {
    setUpSlab();
    pass(true);
    pass(false);
    Module1::MminDim = -2.0 * Module1::MmaxDim; // so that the top side is designed too
    for (auto _ : state) {
        Module1::AntalOplysninger = 0;
        Module2::resetState();
        Module2::designPass();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DesignChecks);

} // namespace
