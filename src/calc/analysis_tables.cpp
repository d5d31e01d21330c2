// The analysis module's table layer: emptying the result tables, reading the input, writing the result row.

#include "calc/analysis_state.h"

#include "data/connections.h"
#include "engine/checked.h"
#include "engine/engine.h"
#include "engine/transaction.h"

namespace Module1 {

using engine::Recordset;

namespace {

QString firstLetter(const engine::Variant &v) { return v.toString().left(1); }

bool isLoad(const engine::Variant &lasttype) { return !lasttype.isNull() && !lasttype.toString().isEmpty(); }

} // namespace

void init() {
    resetState();
    struct Step {
        int logNr;
        const char16_t *sql;
    };
    static constexpr Step steps[] = {{2, u"DELETE * FROM ResultatBeton"},
                                     {4, u"DELETE * From ResultatBrugdef"},
                                     {5, u"DELETE * From ResultatArmering"},
                                     {6, u"DELETE * From ResultatOplysning"}};
    engine::Command cmd;
    cmd.ActiveConnection = modMain::cnInddata;
    engine::AsOneWrite(modMain::cnInddata, [&] {
        for (const Step &step : steps) {
            LogNr = step.logNr;
            cmd.CommandText = QString::fromUtf16(step.sql);
            cmd.Execute();
        }
    });
    LogNr = 7;
}

void Laesdata() {
    FunctionName = QStringLiteral("Laesdata");
    Recordset rsInd, rsLast;
    LogNr = 2;
    rsInd.Open(QStringLiteral("IndData"), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly,
               engine::adCmdTable);
    LogNr = 3;
    rsLast.Open(QStringLiteral("IndDataLast"), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly,
                engine::adCmdTable);

    LogNr = 4;
    Eo = rsInd.Fields(QStringLiteral("Eo")).Value().toDouble() * 1000.0;
    En = rsInd.Fields(QStringLiteral("En")).Value().toDouble() * 1000.0;
    Go = rsInd.Fields(QStringLiteral("Go")).Value().toDouble() * 1000.0;
    Gn = rsInd.Fields(QStringLiteral("GN")).Value().toDouble() * 1000.0;
    resBallasto = rsInd.Fields(QStringLiteral("resBallasto")).Value().toDouble();
    resBallastn = rsInd.Fields(QStringLiteral("resBallastn")).Value().toDouble();
    t = rsInd.Fields(QStringLiteral("dæktykkelse")).Value().toDouble() / 1000.0;
    tau = rsInd.Fields(QStringLiteral("tau")).Value().toDouble();
    ErBeton = rsInd.Fields(QStringLiteral("daekType")).Value().toString() == u"Beton";

    LogNr = 5;
    int count = 0;
    if (!(rsLast.Bof() && rsLast.Eof())) {
        rsLast.MoveFirst();
        for (; !rsLast.Eof(); rsLast.MoveNext())
            if (isLoad(rsLast.Fields(QStringLiteral("Lasttype")).Value()))
                ++count;
    }
    // Slots beyond the loads read now must not keep an earlier calculation's loads.
    Laster = LastRecord{};
    Laster.AntalLaster = count;

    LogNr = 6;
    int k = 1;
    if (count > 0)
        rsLast.MoveFirst();
    for (; count > 0 && !rsLast.Eof(); rsLast.MoveNext()) {
        const engine::Variant type = rsLast.Fields(QStringLiteral("Lasttype")).Value();
        if (isLoad(type)) {
            if (k > kMaxLaster)
                engine::raise(engine::err::SubscriptOutOfRange);
            LogNr = 7;
            Laster.AntalLaster = count;
            const QString word = type.toString();
            if (word == u"Hjultryk")
                Laster.Kode[k] = QStringLiteral("H");
            else if (word == u"Punktlast")
                Laster.Kode[k] = QStringLiteral("S");
            else if (word == u"Fladelast")
                Laster.Kode[k] = QStringLiteral("F");
            else if (word == u"Linielast")
                Laster.Kode[k] = QStringLiteral("V");
            else if (word == u"Lastpar")
                Laster.Kode[k] = QStringLiteral("L");
            Laster.FormBogstav[k] = firstLetter(rsLast.Fields(QStringLiteral("LastForm")).Value());
            Laster.PlaceringBogstav[k] = firstLetter(rsLast.Fields(QStringLiteral("Placering")).Value());
            Laster.Bredde[k] = rsLast.Fields(QStringLiteral("bredde")).Value().toDouble() / 1000.0;
            Laster.Laengde[k] = rsLast.Fields(QStringLiteral("længde")).Value().toDouble() / 1000.0;
            Laster.AfstandFra[k] = rsLast.Fields(QStringLiteral("Afstandfra")).Value().toDouble() / 1000.0;
            Laster.Afstand[k] = rsLast.Fields(QStringLiteral("Afstand")).Value().toDouble();
            Laster.PartialK[k] = rsLast.Fields(QStringLiteral("PartialK")).Value().toDouble();
            const double size = rsLast.Fields(QStringLiteral("Størrelse")).Value().toDouble();
            if (Dimensionering) {
                LogNr = 8;
                Laster.Stoerrelse[k] = engine::checked::fin(size * Laster.PartialK[k]);
            } else {
                LogNr = 9;
                Laster.Stoerrelse[k] = size;
            }
            ++k;
        }
        LogNr = 10;
    }
    rsInd.Close();
    rsLast.Close();
}

void StoreDB1() {
    const QString table = ErBeton ? QStringLiteral("ResultatBeton") : QStringLiteral("ResultatBrugdef");
    Recordset rsInd, rsRes;
    rsInd.Open(QStringLiteral("inddata"), modMain::cnInddata, engine::adOpenDynamic, engine::adLockPessimistic,
               engine::adCmdTable);
    rsRes.Open(table, modMain::cnInddata, engine::adOpenDynamic, engine::adLockPessimistic, engine::adCmdTable);
    rsInd.MoveFirst();
    rsRes.AddNew();
    const double deformation = engine::checked::fin(umax * 1000.0);
    if (ErBeton) {
        rsRes.Fields(QStringLiteral("KarakteristiskMaxPos")) = Mmax;
        rsRes.Fields(QStringLiteral("KarakteristiskMaxNeg")) = Mmin;
        rsRes.Fields(QStringLiteral("Deformation")) = deformation;
        rsRes.Fields(QStringLiteral("Uværdi")) = rsInd.Fields(QStringLiteral("Uværdi")).Value();
        rsRes.Fields(QStringLiteral("RetningsmMaxPos")) = MmaxDim;
        rsRes.Fields(QStringLiteral("RetningsmMaxNeg")) = MminDim;
    } else {
        rsRes.Fields(QStringLiteral("KarakteristiskMax")) = Mmax;
        rsRes.Fields(QStringLiteral("KarakteristiskMin")) = Mmin;
        rsRes.Fields(QStringLiteral("RetningsmSpaendTraekTil")) =
            rsInd.Fields(QStringLiteral("TraekstyrkeRgm")).Value();
        rsRes.Fields(QStringLiteral("RetningsmSpaendTrykTil")) = rsInd.Fields(QStringLiteral("TrykstyrkeRgm")).Value();
        rsRes.Fields(QStringLiteral("Deformation")) = deformation;
        rsRes.Fields(QStringLiteral("Uværdi")) = rsInd.Fields(QStringLiteral("Uværdi")).Value();
        rsRes.Fields(QStringLiteral("RetningsmMax")) = MmaxDim;
        rsRes.Fields(QStringLiteral("RetningsmMin")) = MminDim;
    }
    rsRes.Update();
    rsRes.Close();
    rsInd.Close();
}

} // namespace Module1
