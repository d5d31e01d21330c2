#include "calc/design.h"

#include "calc/analysis_state.h"
#include "data/connections.h"
#include "data/error_report.h"
#include "engine/checked.h"
#include "engine/engine.h"

#include <cmath>

namespace Module2 {

double t = 0, ftk = 0, c = 0, fcd = 0, ftd = 0, wmax = 0, k0 = 0, kn = 0;
double Zigmao1 = 0, Zigman1 = 0, h1 = 0, Zigmao2 = 0, Zigman2 = 0, h2 = 0;

double kh = 0, fbt = 0, W = 0, Mkap = 0;

bool BrudMeldt = false;
bool ArmeringFundet = false;

int StaalType = 0;
double fyd = 0, AsMin = 0, deff = 0, my = 0, omega = 0, sigmas = 0, w = 0;
Skema AsReq = {}, As = {}, a = {};
Skema AsU = {}, aU = {}, AsO = {}, aO = {};

double IsoTilladt = 0, IsoFaktisk = 0, IsoTilladt2 = 0, IsoFaktisk2 = 0;
double k = 0;
double SpaendTraek = 0, SpaendTryk = 0;

namespace checked = engine::checked;
using Module1::FunctionName;
using Module1::LogNr;

void resetState() {
    for (int s = 1; s <= kStaalTyper; ++s)
        for (int kIdx = 1; kIdx <= kDiametre; ++kIdx) {
            AsU[s][kIdx] = 0;
            aU[s][kIdx] = 0;
            AsO[s][kIdx] = 0;
            aO[s][kIdx] = 0;
        }
    BrudMeldt = false;
}

// The moment capacity of the plain concrete section; thin slabs get no size bonus above 1.0.
static void UarmeretKapacitet() {
    kh = checked::pow(checked::div(1.0, 10.0 * t), 0.25);
    if (kh > 1.0)
        kh = 1.0;
    fbt = checked::fin(kh * 1.6 * (ftk / 2.5));
    W = checked::fin(t * t * (1.0 / 6.0));
    Mkap = checked::fin(W * fbt);
}

void designPass() {
    if (!Module1::ErBeton) {
        LogNr = 10;
        DaekSpend();
        LogNr = 11;
        Isoleringstryk();
        return;
    }
    LogNr = 7;
    UarmeretKapacitet();
    if (Module1::MmaxDim <= Mkap)
        Module1::saveopl(QStringLiteral("Pladen kan holde uarmeret"));

    LogNr = 8;
    ArmeringFundet = false;
    BeregnArmeringsSkema(Module1::Mmax, Module1::MmaxDim, QStringLiteral("u"));
    if (!ArmeringFundet && !BrudMeldt) {
        Module1::saveopl(QStringLiteral("Brud ! Pladen kan ikke holde"));
        BrudMeldt = true;
    }

    LogNr = 9;
    if (std::fabs(Module1::MminDim) > Mkap)
        BeregnArmeringsSkema(Module1::Mmin, Module1::MminDim, QStringLiteral("o"));

    LogNr = 11;
    Isoleringstryk();
}

void DaekSpend() {
    FunctionName = QStringLiteral("DaekSpend");
    LogNr = 1;
    const double M = std::fabs(Module1::MminDim) < std::fabs(Module1::MmaxDim) ? std::fabs(Module1::MmaxDim)
                                                                               : std::fabs(Module1::MminDim);
    LogNr = 3;
    SpaendTraek = checked::div(6.0 * M, t * t * 1000.0);
    LogNr = 4;
    SpaendTryk = checked::div(6.0 * M, t * t * 1000.0);
    if (SpaendTryk > fcd || SpaendTraek > ftd)
        Module1::saveopl(QStringLiteral("Pladen kan ikke holde !"));
}

static double tal(const engine::Recordset &rs, const char *felt) {
    return checked::fin(rs.Fields(QString::fromUtf8(felt)).Value().toDouble());
}

static void LaesIsoleringslag(engine::Recordset &rs, double &zigmao, double &zigman, double &h) {
    zigmao = tal(rs, "Zigmao");
    zigman = tal(rs, "Zigman");
    h = tal(rs, "IsoleringTykkelse") / 1000.0;
}

int Beregn2() {
    FunctionName = QStringLiteral("Beregn2");
    LogNr = 0;
    int result = 0;
    engine::Recordset rsInddata, rsIsolering;
    try {
        resetState();

        LogNr = 2;
        rsInddata.Open(QStringLiteral("inddata"), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly,
                       engine::adCmdTable);
        LogNr = 3;
        rsIsolering.Open(QStringLiteral("IndDataIsolering"), modMain::cnInddata, engine::adOpenStatic,
                         engine::adLockReadOnly, engine::adCmdTable);
        LogNr = 4;
        rsInddata.MoveFirst();

        LogNr = 5;
        t = tal(rsInddata, "dæktykkelse") / 1000.0;
        ftk = checked::fin(tal(rsInddata, "TraekstyrkeKar") * 1000.0);
        c = tal(rsInddata, "dæklag");
        fcd = tal(rsInddata, "TrykstyrkeRgm");
        ftd = tal(rsInddata, "TraekstyrkeRgm");
        wmax = tal(rsInddata, "Revnevidde");
        k0 = tal(rsInddata, "resBallasto");
        kn = tal(rsInddata, "resBallastn");

        LogNr = 6;
        rsIsolering.setFilter(QStringLiteral("LagNr = 1"));
        LaesIsoleringslag(rsIsolering, Zigmao1, Zigman1, h1);
        LogNr = 7;
        rsIsolering.setFilter(QStringLiteral("LagNr = 2"));
        LaesIsoleringslag(rsIsolering, Zigmao2, Zigman2, h2);

        designPass();
        StoreDB2();

        rsInddata.Close();
        rsIsolering.Close();
        return result;
    } catch (const engine::RuntimeError &e) {
        data::ReportErrorWithTitle(QStringLiteral("Der opstod et problem under eksekvering af beregningsrutine2!"),
                                   e.number(), e.description(), LogNr, FunctionName);
        result = 2;
    }
    // A table that never opened fails to close; that error is the caller's to report.
    rsInddata.Close();
    rsIsolering.Close();
    return result;
}

} // namespace Module2
