// One analysis pass in memory (no tables): a wheel load and a point load, so both load cases are assembled
// and solved.

#include "calc/analysis_state.h"
#include "slab_input.h"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {

void setUpLoads() {
    Module1::LastRecord &L = Module1::Laster;
    L.AntalLaster = 2;
    L.Kode[1] = QStringLiteral("H");
    L.FormBogstav[1] = QStringLiteral("K");
    L.PlaceringBogstav[1] = QStringLiteral("F");
    L.Stoerrelse[1] = 50.0;
    L.Bredde[1] = 0.2;
    L.AfstandFra[1] = 0.5;
    L.PartialK[1] = 1.3;
    L.Kode[2] = QStringLiteral("S");
    L.FormBogstav[2] = QStringLiteral("R");
    L.PlaceringBogstav[2] = QStringLiteral("M");
    L.Stoerrelse[2] = 30.0;
    L.Bredde[2] = 0.2;
    L.Laengde[2] = 0.3;
    L.PartialK[2] = 1.0;
}

// The characteristic pass: the punching check reads the deflection that the design pass left.
void setUpSlab() {
    benchslab::setUpSlab();
    Module1::umaxDim = 0.002;
}

void BM_AnalysisPass(benchmark::State &state) {
    setUpSlab();
    for (auto _ : state) {
        setUpLoads(); // the joint reduction changes the slot's size in place
        Module1::resetState();
        Module1::analysePass();
        // The results are globals written in another translation unit: nothing can be optimised away. (The
        // register form of DoNotOptimize on a double has been seen to clobber the value with this compiler.)
        benchmark::ClobberMemory();
    }
    if (!(Module1::Mmax > 0.0 && Module1::umax > 0.0) || Module1::AntalOplysninger != 1)
        state.SkipWithError("the pass did not produce its results");
}
BENCHMARK(BM_AnalysisPass);

// The same pass, timing only the two solves: their share of BM_AnalysisPass.
void BM_AnalysisPassSolverOnly(benchmark::State &state) {
    setUpSlab();
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        setUpLoads();
        Module1::resetState();
        Module1::Topologi();
        Module1::Hoejreside(Module1::Laster);
        Clock::duration solving{};
        Module1::Stivhedsmatrix(Module1::resBallasto, Module1::Eo, Module1::Go, Module1::Kband, Module1::KeX,
                                Module1::KeY);
        auto start = Clock::now();
        Module1::Solver(Module1::AntalFrihedsgrader, Module1::Baandbredde, Module1::Kband, Module1::FKort,
                        Module1::uKort);
        solving += Clock::now() - start;
        Module1::Snitkraft(Module1::KeX, Module1::KeY, Module1::uKort);
        Module1::Stivhedsmatrix(Module1::resBallastn, Module1::En, Module1::Gn, Module1::Kband, Module1::KeX,
                                Module1::KeY);
        start = Clock::now();
        Module1::Solver(Module1::AntalFrihedsgrader, Module1::Baandbredde, Module1::Kband, Module1::FLang,
                        Module1::uLang);
        solving += Clock::now() - start;
        Module1::Snitkraft(Module1::KeX, Module1::KeY, Module1::uLang);
        Module1::FindMaxM();
        Module1::FindMaxu();
        Module1::Gennemlokning(Module1::Laster);
        state.SetIterationTime(std::chrono::duration<double>(solving).count());
    }
}
BENCHMARK(BM_AnalysisPassSolverOnly)->UseManualTime();

} // namespace
