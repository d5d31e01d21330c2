#pragma once
// The first half of TegnSkitse: the loads, layers, slab, intermediate layer and terrain read from the input
// tables, the subgrade moduli and the U-value derived from them, and their store into inddata. It needs no
// window: the sketch draws from what a run returns, and the calculation test tool runs it on its own.

#include "engine/engine.h"
#include "engine/variant.h"

#include <QString>
#include <array>
#include <cstdint>
#include <span>

namespace sketch {

constexpr int kSketchLoads = 4; // the sketch shows at most four loads

// Rows as the tables hold them; any field may be Null.
struct LoadRow {
    engine::Variant Lasttype, lastid, Stoerrelse;
};
struct LayerRow {
    engine::Variant IsoleringType, IsoleringTykkelse, lagnr, Eo, En, LambdaVaad, LambdaToer;
};
struct InddataRow {
    engine::Variant daekType, kvalitettext, daektykkelse, terraen, terraenballast, mellemlagkorr, mellemlag,
        mellemlaglambda, mellemlagtykkelse;
};

// The first four typed loads in table order.
struct Loads {
    std::int16_t n = 0;
    std::array<QString, kSketchLoads> type{};
    std::array<double, kSketchLoads> size{};
    std::array<std::int16_t, kSketchLoads> id{};
    bool wheelLoad = false; // a "Hjultryk" among the rows read while gathering
};

struct Layer {
    QString type;
    std::int32_t t = 0; // mm
    double Eo = 0, En = 0;
    double lambdaWet = 0, lambdaDry = 0;
};

// The floor build-up of one run; a single insulation layer is always layer2 (the lower one).
struct BuildUp {
    bool upper = false, lower = false; // a valid row with lagnr 1 / 2 exists
    Layer layer1, layer2;

    bool slab = false;
    QString slabText;
    std::int32_t ts = 0; // mm

    bool terrain = false;
    QString terrainText;
    double kT = 0; // kN/m³

    bool intermediate = false;
    QString intermediateText;
    std::int32_t tm = 0; // mm
    double lambdaM = 0;
    double korr = 0;

    bool anyLayer() const { return upper || lower; }
};

struct FoundationValues {
    double isolballasto = 0, isolballastn = 0;
    double resBallasto = 0, resBallastn = 0;
    double Uvaerdi = 0;
    bool operator==(const FoundationValues &) const = default;
};

// Everything one run gathered and derived, for the sketch to compare and draw.
struct FoundationResult {
    Loads loads;
    BuildUp buildUp;
    FoundationValues values;
    bool stored = false; // the five values were written into inddata
};

// The numeric core. Each function sets LogNr before each of its steps; faults (a Null where a number is
// needed, division by zero, overflow) raise engine::RuntimeError.
Loads GatherLoads(std::span<const LoadRow> rows, std::int32_t &LogNr);
BuildUp ReadLayers(std::span<const LayerRow> rows, std::int32_t &LogNr);
void ReadSlabTerrainIntermediate(const InddataRow &row, BuildUp &b, std::int32_t &LogNr);
void SubgradeModuli(const BuildUp &b, FoundationValues &v, std::int32_t &LogNr);
double UValue(const BuildUp &b, std::int32_t &LogNr);
FoundationValues DeriveValues(const BuildUp &b, std::int32_t &LogNr);
// Stored values in the order isolballasto, isolballastn, resBallasto, resBallastn, Uværdi. A Null counts as
// no difference, the way a comparison with Null never came out true.
bool StoreNeeded(const std::array<engine::Variant, 5> &stored, const FoundationValues &v);

// One run on a connection: the three recordsets live from Open to Close (or destruction), so a caller can
// keep them open across the drawing and close them in its own error handler.
class FoundationRun {
public:
    FoundationRun(const engine::Connection &cn, std::int32_t &LogNr);
    ~FoundationRun();
    FoundationRun(const FoundationRun &) = delete;
    FoundationRun &operator=(const FoundationRun &) = delete;

    void Open();                                // inddata dynamic/pessimistic, the other two static/read-only
    FoundationResult Compute();                 // gathers and derives; stores nothing
    bool Store(const FoundationValues &values); // writes all five when one differs; true when written
    void Close();                               // errors ignored

private:
    engine::Connection cn_;
    std::int32_t &LogNr;
    engine::Recordset rsInddata_, rsIsolering_, rsLast_;
};

// The windowless first half on modMain::cnInddata: computes, and in an unforced run (Tvungen false) stores.
// On a run-time error the recordsets are closed and the engine::RuntimeError is rethrown; LogNr then holds
// the failing statement number.
FoundationResult ComputeFoundationValues(bool Tvungen, std::int32_t &LogNr);

// The same as an event procedure of the main window does it: a run-time error is shown by the error report
// with "frmMain" and LogNr. Returns false after such an error.
bool ComputeFoundationValuesReported(bool Tvungen, std::int32_t &LogNr);

} // namespace sketch
