// Reinforcement of one side: ten combinations of steel type and bar diameter, each sized for the design moment,
// the minimum area, the allowed crack width under the characteristic moment and the spacing limits.

#include "calc/analysis_state.h"
#include "calc/design.h"
#include "engine/checked.h"

#include <cmath>

namespace Module2 {

namespace checked = engine::checked;
using Module1::FunctionName;
using Module1::LogNr;

namespace {

struct Staal {
    double fyd;      // design yield strength, MPa
    double omegaBal; // largest mechanical reinforcement ratio
    double divisor;  // of the minimum area
};
constexpr Staal kStaal[kStaalTyper + 1] = {{0, 0, 1}, {293.0, 0.505, 1582.2}, {393.0, 0.448, 2122.2}};

// One bar's cross-section (mm²): the square of the diameter first, so the product rounds as the formula reads.
double Stang(int d) { return kPi / 4.0 * (d * d); }

// Area per metre (mm²/m) of bars of diameter d (mm) at spacing s (mm).
double Areal(int d, double s) { return Stang(d) * checked::div(1000.0, s); }

void Brud() {
    if (!BrudMeldt) {
        Module1::saveopl(QStringLiteral("Brud ! Pladen kan ikke holde"));
        BrudMeldt = true;
    }
}

void Gem(const QString &side, int s, int kIdx, double areal, double afstand) {
    if (side == QLatin1String("u")) {
        aU[s][kIdx] = afstand;
        AsU[s][kIdx] = areal;
    } else if (side == QLatin1String("o")) {
        aO[s][kIdx] = afstand;
        AsO[s][kIdx] = areal;
    }
}

} // namespace

void BeregnArmeringsSkema(double Mkar, double Mdim, const QString &side) {
    FunctionName = QStringLiteral("BeregnArmeringsSkema");
    LogNr = 0;
    for (int s = 1; s <= kStaalTyper; ++s) {
        LogNr = s == 1 ? 0 : 6;
        StaalType = s;
        fyd = kStaal[s].fyd;
        AsMin = checked::fin(kh * 1760.0 * ftk * t / kStaal[s].divisor);
        for (int kIdx = 1; kIdx <= kDiametre; ++kIdx) {
            LogNr = s == 1 ? 3 : 7;
            BeregnArmering(s, kDiameter[kIdx], kIdx, Mkar, Mdim, side, kStaal[s].omegaBal);
        }
    }
}

void BeregnArmering(int s, int d, int kIdx, double Mkar, double Mdim, const QString &side, double omegaBal) {
    FunctionName = QStringLiteral("BeregnArmering");
    LogNr = 1;
    deff = checked::fin(1000.0 * t - d - c - 5.0);
    if (d + c + 5.0 > deff)
        return Brud();

    LogNr = 2;
    my = checked::div(std::fabs(Mdim) * 1000.0, deff * deff * fcd);
    if (1.0 - 2.0 * my <= 0.0)
        return Brud();

    LogNr = 3;
    omega = 1.0 - checked::sqrt(1.0 - 2.0 * my);
    if (omega > omegaBal)
        return Brud();

    LogNr = 4;
    AsReq[s][kIdx] = checked::fin(omega * deff * fcd * 1000.0 / fyd);
    LogNr = 5;
    if (AsReq[s][kIdx] > AsMin) {
        LogNr = 6;
        As[s][kIdx] = AsReq[s][kIdx];
    } else {
        LogNr = 7;
        As[s][kIdx] = AsMin;
    }

    LogNr = 8;
    a[s][kIdx] = Stang(d) * checked::div(1000.0, As[s][kIdx]);
    // Whole millimetres (halves to even), then down to a multiple of 25.
    LogNr = 9;
    a[s][kIdx] = checked::idiv(a[s][kIdx], 25) * 25.0;
    if (a[s][kIdx] == 0)
        return;

    ArmeringFundet = true;
    LogNr = 14;
    As[s][kIdx] = Areal(d, a[s][kIdx]);

    if (wmax > 0) {
        LogNr = 11;
        ForbMaxRevne(s, d, kIdx, Mkar);
    }

    LogNr = 12;
    const double afstand = a[s][kIdx];
    const double loft = 2.5 * (1000.0 * t);
    if (afstand >= 50 && afstand <= 300 && afstand <= loft) {
        LogNr = 13;
        GemData(s, d, kIdx, side);
        BrudMeldt = true;
    } else if (afstand > 300 || afstand > loft) {
        LogNr = 13;
        GemData300(s, d, kIdx, side);
        BrudMeldt = true;
    }
}

void ForbMaxRevne(int s, int d, int kIdx, double Mkar) {
    FunctionName = QStringLiteral("ForbMaxRevne");
    for (;;) {
        LogNr = 1;
        const double arm = checked::fin(0.9 * deff * As[s][kIdx]);
        LogNr = 2;
        sigmas = checked::div(std::fabs(Mkar) * 1e6, arm);
        LogNr = 3;
        w = checked::fin(checked::sqrt(checked::div(2.0 * (1000.0 * t - deff) * a[s][kIdx], d)) * (sigmas * 0.00005));
        LogNr = 4;
        if (w <= wmax)
            return;
        LogNr = 5;
        a[s][kIdx] = a[s][kIdx] - 25;
        // The spacing is a positive multiple of 25 here; "<=" only guards the loop against a nonsensical input.
        LogNr = 6;
        if (a[s][kIdx] <= 0)
            return;
        LogNr = 7;
        As[s][kIdx] = checked::div(d * d * kPi * 1000.0, a[s][kIdx] * 4.0);
    }
}

void GemData(int s, int /*d*/, int kIdx, const QString &side) {
    FunctionName = QStringLiteral("GemData");
    LogNr = 0;
    Gem(side, s, kIdx, As[s][kIdx], a[s][kIdx]);
}

void GemData300(int s, int d, int kIdx, const QString &side) {
    FunctionName = QStringLiteral("GemData300");
    LogNr = 0;
    // The capped layout of each diameter: at most 300 mm (150 mm for 6 mm bars), area in whole mm²/m.
    double areal, afstand;
    switch (d) {
    case 6:
        areal = 188.0, afstand = 150.0;
        break;
    case 8:
        areal = 168.0, afstand = 300.0;
        break;
    case 10:
        areal = 262.0, afstand = 300.0;
        break;
    case 12:
        areal = 377.0, afstand = 300.0;
        break;
    case 16:
        areal = 670.0, afstand = 300.0;
        break;
    default:
        return;
    }
    // In a thin slab the capped layout can hold less steel than the combination needs: then take the widest
    // spacing that the thickness allows, in 25 mm steps, with its exact area.
    if (areal < As[s][kIdx]) {
        afstand = 25.0 * std::floor(2.5 * (1000.0 * t) / 25.0);
        areal = checked::div(Stang(d) * 1000.0, afstand);
    }
    Gem(side, s, kIdx, areal, afstand);
}

} // namespace Module2
