// The table side of the foundation values: three recordsets on inddata.mdb, read once per run.

#include "sketch/foundation.h"

#include "data/connections.h"
#include "data/error_report.h"

#include <utility>
#include <vector>

namespace sketch {

using engine::Recordset;
using engine::Variant;

namespace {

const QString kFrmMain = QStringLiteral("frmMain");

// The five derived fields, in the order of FoundationValues.
const std::array<QString, 5> &valueFields() {
    static const std::array<QString, 5> names{QStringLiteral("isolballasto"), QStringLiteral("isolballastn"),
                                              QStringLiteral("resBallasto"), QStringLiteral("resBallastn"),
                                              QStringLiteral("Uværdi")};
    return names;
}

template <std::size_t N> std::array<engine::Field, N> fieldsOf(const Recordset &rs, const char *const (&names)[N]) {
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return std::array<engine::Field, N>{rs.Fields(QString::fromUtf8(names[I]))...};
    }
    (std::make_index_sequence<N>{});
}

// An empty table has no first row to move to; it simply holds nothing.
bool toFirstRow(Recordset &rs) {
    if (rs.Bof() && rs.Eof())
        return false;
    rs.MoveFirst();
    return true;
}

std::vector<LoadRow> readLoadRows(Recordset &rs) {
    std::vector<LoadRow> rows;
    if (!toFirstRow(rs))
        return rows;
    const auto f = fieldsOf(rs, {"Lasttype", "lastid", "Størrelse"});
    for (; !rs.Eof(); rs.MoveNext())
        rows.push_back({f[0].Value(), f[1].Value(), f[2].Value()});
    return rows;
}

std::vector<LayerRow> readLayerRows(Recordset &rs) {
    std::vector<LayerRow> rows;
    if (!toFirstRow(rs))
        return rows;
    const auto f = fieldsOf(rs, {"IsoleringType", "IsoleringTykkelse", "lagnr", "Eo", "En", "LambdaVåd", "LambdaTør"});
    for (; !rs.Eof(); rs.MoveNext())
        rows.push_back(
            {f[0].Value(), f[1].Value(), f[2].Value(), f[3].Value(), f[4].Value(), f[5].Value(), f[6].Value()});
    return rows;
}

InddataRow readInddataRow(const Recordset &rs) {
    const auto f = fieldsOf(rs, {"daekType", "kvalitettext", "dæktykkelse", "terræn", "terrænballast", "mellemlagkorr",
                                 "mellemlag", "mellemlaglambda", "mellemlagtykkelse"});
    return {f[0].Value(), f[1].Value(), f[2].Value(), f[3].Value(), f[4].Value(),
            f[5].Value(), f[6].Value(), f[7].Value(), f[8].Value()};
}

void closeQuietly(Recordset &rs) {
    try {
        if (rs.IsOpen())
            rs.Close();
    } catch (const engine::RuntimeError &) {
    }
}

} // namespace

FoundationRun::FoundationRun(const engine::Connection &cn, std::int32_t &LogNr) : cn_(cn), LogNr(LogNr) {}

FoundationRun::~FoundationRun() { Close(); }

void FoundationRun::Open() {
    LogNr = 160;
    rsInddata_.Open(QStringLiteral("inddata"), cn_, engine::adOpenDynamic, engine::adLockPessimistic,
                    engine::adCmdTable);
    LogNr = 161;
    rsIsolering_.Open(QStringLiteral("inddataisolering"), cn_, engine::adOpenStatic, engine::adLockReadOnly,
                      engine::adCmdTable);
    LogNr = 162;
    rsLast_.Open(QStringLiteral("inddatalast"), cn_, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
}

FoundationResult FoundationRun::Compute() {
    LogNr = 163;
    FoundationResult r;
    LogNr = 164;
    const std::vector<LoadRow> loads = readLoadRows(rsLast_);
    r.loads = GatherLoads(loads, LogNr);

    LogNr = 168;
    const std::vector<LayerRow> layers = readLayerRows(rsIsolering_);
    r.buildUp = ReadLayers(layers, LogNr);

    LogNr = 182;
    ReadSlabTerrainIntermediate(readInddataRow(rsInddata_), r.buildUp, LogNr);

    r.values = DeriveValues(r.buildUp, LogNr);
    return r;
}

bool FoundationRun::Store(const FoundationValues &values) {
    LogNr = 209;
    const auto &names = valueFields();
    std::array<Variant, 5> stored;
    for (std::size_t i = 0; i < names.size(); ++i)
        stored[i] = rsInddata_.Fields(names[i]).Value();
    if (!StoreNeeded(stored, values))
        return false;

    LogNr = 210;
    const std::array<double, 5> computed{values.isolballasto, values.isolballastn, values.resBallasto,
                                         values.resBallastn, values.Uvaerdi};
    for (std::size_t i = 0; i < names.size(); ++i)
        rsInddata_.Fields(names[i]) = computed[i];
    rsInddata_.Update();
    return true;
}

void FoundationRun::Close() {
    closeQuietly(rsInddata_);
    closeQuietly(rsIsolering_);
    closeQuietly(rsLast_);
}

FoundationResult ComputeFoundationValues(bool Tvungen, std::int32_t &LogNr) {
    FoundationRun run(modMain::cnInddata, LogNr);
    run.Open();
    FoundationResult r = run.Compute();
    if (!Tvungen)
        r.stored = run.Store(r.values);
    run.Close();
    return r;
}

bool ComputeFoundationValuesReported(bool Tvungen, std::int32_t &LogNr) {
    try {
        ComputeFoundationValues(Tvungen, LogNr);
        return true;
    } catch (const engine::RuntimeError &e) {
        data::ReportError(e, LogNr, kFrmMain);
        return false;
    }
}

} // namespace sketch
