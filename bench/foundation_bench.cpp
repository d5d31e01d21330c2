// One unforced foundation-values run on the delivered inddata.mdb: the three tables read, the values derived
// and, in the first benchmark, stored.

#include "data/connections.h"
#include "data/modmain.h"
#include "sketch/foundation.h"
#include "support/databases.h"

#include <benchmark/benchmark.h>

namespace {

void setFields(const char *table, const char *keyField, int key,
               std::initializer_list<std::pair<const char *, engine::Variant>> fields) {
    engine::Recordset rs;
    rs.Open(QLatin1String(table), modMain::cnInddata, engine::adOpenKeyset, engine::adLockPessimistic,
            engine::adCmdTable);
    while (keyField && rs.Fields(QLatin1String(keyField)).Value().toLong() != key)
        rs.MoveNext();
    for (const auto &[name, value] : fields)
        rs.Fields(QString::fromUtf8(name)) = value;
    rs.Update();
    rs.Close();
}

// A full floor: concrete slab, two insulation layers, an intermediate layer, a terrain and three loads.
struct Floor {
    testsupport::DatabaseFolder folder;
    Floor() {
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        modMain::ClearInddata();
        modMain::InitInddata();
        setFields("inddata", nullptr, 0,
                  {{"daekType", "Beton"},
                   {"kvalitettext", "C25"},
                   {"dæktykkelse", 120},
                   {"terræn", "Sand"},
                   {"terrænballast", 40000},
                   {"mellemlag", "Singels"},
                   {"mellemlagkorr", 1.6},
                   {"mellemlaglambda", 2.0},
                   {"mellemlagtykkelse", 200}});
        setFields("inddataisolering", "lagnr", 1,
                  {{"IsoleringType", "EPS 150"},
                   {"IsoleringTykkelse", 100},
                   {"Eo", 6000},
                   {"En", 4000},
                   {"LambdaVåd", 0.045},
                   {"LambdaTør", 0.036}});
        setFields("inddataisolering", "lagnr", 2,
                  {{"IsoleringType", "EPS 250"},
                   {"IsoleringTykkelse", 150},
                   {"Eo", 9000},
                   {"En", 6500},
                   {"LambdaVåd", 0.044},
                   {"LambdaTør", 0.035}});
        setFields("inddatalast", "lastid", 1, {{"Lasttype", "Hjultryk"}, {"Størrelse", 40.0}});
        setFields("inddatalast", "lastid", 2, {{"Lasttype", "Fladelast"}, {"Størrelse", 20.0}});
        setFields("inddatalast", "lastid", 3, {{"Lasttype", "Linielast"}, {"Størrelse", 10.0}});
    }
    ~Floor() { modMain::cnInddata.Close(); }
};

void BM_FoundationRunStoring(benchmark::State &state) {
    Floor floor;
    std::int32_t LogNr = 0;
    for (auto _ : state) {
        state.PauseTiming();
        setFields("inddata", nullptr, 0, {{"Uværdi", 0.0}});
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
