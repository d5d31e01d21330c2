// A project file of the four input tables: saved from the database, and loaded back into it.

#include "data/connections.h"
#include "data/modmain.h"
#include "data/save_load.h"
#include "support/databases.h"

#include <benchmark/benchmark.h>

namespace {

// The default input with a load in every record, so each value line has something to say.
struct Input {
    testsupport::DatabaseFolder folder;
    QString file = folder.file(QStringLiteral("projekt.epx"));
    Input() {
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        modMain::ClearInddata();
        modMain::InitInddata();
        modMain::cnInddata.Execute(QStringLiteral("UPDATE inddatalast SET Lasttype = 'Punktlast', bredde = 150.5, "
                                                  "[længde] = 200, [Størrelse] = 37.25, PartialK = 1.3"));
        modMain::cnInddata.Execute(QStringLiteral("UPDATE projekt SET tekst = 'Hal 2, \"Øst\"', beregner = 'KL'"));
    }
    ~Input() { modMain::cnInddata.Close(); }
};

void BM_SaveInddata(benchmark::State &state) {
    Input input;
    for (auto _ : state)
        if (!SaveLoad::SaveInddata(modMain::cnInddata, input.file, 4, SaveLoad::kInputTables))
            state.SkipWithError("save failed");
}
BENCHMARK(BM_SaveInddata)->Unit(benchmark::kMillisecond);

void BM_LoadInddata(benchmark::State &state) {
    Input input;
    if (!SaveLoad::SaveInddata(modMain::cnInddata, input.file, 4, SaveLoad::kInputTables))
        state.SkipWithError("save failed");
    for (auto _ : state)
        if (!SaveLoad::LoadInddata(modMain::cnInddata, input.file))
            state.SkipWithError("load failed");
}
BENCHMARK(BM_LoadInddata)->Unit(benchmark::kMillisecond);

} // namespace
