#include "sketch/foundation.h"

#include "engine/checked.h"

#include <algorithm>

namespace sketch {

namespace ck = engine::checked;
using engine::Variant;

namespace {

constexpr double kMaxThickness = 10000; // mm; thicker layers are input the fields refuse
constexpr double kWetZone = 0.075;      // m of insulation above the ground taken as wet
constexpr double kSlabLambda = 1.6;     // W/mK, whatever the slab is made of
constexpr double kSurfaceResistance = 1.5;

// A text field compared with "": Null is never unequal to anything.
bool hasText(const Variant &v) { return !v.isNull() && !v.isEmpty() && !v.toString().isEmpty(); }

bool isNumber(const Variant &v, double x) { return !v.isNull() && !v.isEmpty() && v.toDouble() == x; }

// The stored thickness as it is, before any rounding: 0 < t <= 10000 with a type.
bool isValidLayer(const LayerRow &r) {
    if (!hasText(r.IsoleringType) || r.IsoleringTykkelse.isNull() || r.IsoleringTykkelse.isEmpty())
        return false;
    const double t = r.IsoleringTykkelse.toDouble();
    return t > 0 && t <= kMaxThickness;
}

Layer readLayer(const LayerRow &r) {
    Layer l;
    l.type = r.IsoleringType.toString();
    l.t = r.IsoleringTykkelse.toLong();
    l.Eo = r.Eo.toDouble();
    l.En = r.En.toDouble();
    l.lambdaWet = r.LambdaVaad.toDouble();
    l.lambdaDry = r.LambdaToer.toDouble();
    return l;
}

// A stored thickness beyond any that the fields accept reads as just too thick, so that it is drawn as none rather
// than overflowing on the way.
std::int32_t thickness(const Variant &v) {
    return ck::CLng(std::clamp(v.toDouble(), -kMaxThickness - 1, kMaxThickness + 1));
}

double mul(double a, double b) { return ck::fin(a * b); }
double add(double a, double b) { return ck::fin(a + b); }

// Two springs in series: a · b / (ta · b + tb · a).
double inSeries(double a, double ta, double b, double tb) { return ck::div(mul(a, b), add(mul(ta, b), mul(tb, a))); }

} // namespace

Loads GatherLoads(std::span<const LoadRow> rows, std::int32_t &LogNr) {
    Loads l;
    LogNr = 164;
    for (const LoadRow &r : rows) {
        LogNr = 165;
        if (l.n >= kSketchLoads)
            break;
        if (hasText(r.Lasttype)) {
            LogNr = 166;
            const int i = l.n++;
            l.id[i] = r.lastid.toInt();
            l.type[i] = r.Lasttype.toString();
            l.size[i] = r.Stoerrelse.toDouble();
        }
        LogNr = 167;
        if (r.Lasttype.isString() && r.Lasttype.string() == QLatin1String("Hjultryk"))
            l.wheelLoad = true;
    }
    return l;
}

BuildUp ReadLayers(std::span<const LayerRow> rows, std::int32_t &LogNr) {
    BuildUp b;
    LogNr = 168;
    for (const LayerRow &r : rows) {
        LogNr = 169;
        if (!isValidLayer(r))
            continue;
        LogNr = 170;
        if (isNumber(r.lagnr, 1))
            b.upper = true;
        LogNr = 171;
        if (isNumber(r.lagnr, 2))
            b.lower = true;
    }

    LogNr = 172;
    if (b.upper && b.lower) {
        for (const LayerRow &r : rows) {
            LogNr = 173;
            if (isNumber(r.lagnr, 1))
                b.layer1 = readLayer(r);
            LogNr = 174;
            if (isNumber(r.lagnr, 2))
                b.layer2 = readLayer(r);
        }
        return b;
    }

    // One layer or none: whatever its number, a single layer is the lower one. Only rows that pass the
    // validity test count, or a refused thickness would take the place of the valid layer.
    LogNr = 176;
    b.layer1 = Layer{QString(), 0, 1.0, 1.0, 1.0, 1.0};
    for (const LayerRow &r : rows) {
        LogNr = 178;
        if (isValidLayer(r)) {
            LogNr = 179;
            b.layer2 = readLayer(r);
        }
    }
    LogNr = 181;
    return b;
}

void ReadSlabTerrainIntermediate(const InddataRow &row, BuildUp &b, std::int32_t &LogNr) {
    LogNr = 182;
    if (b.layer1.t > kMaxThickness)
        b.layer1.t = 0;
    if (b.layer2.t > kMaxThickness)
        b.layer2.t = 0;

    LogNr = 183;
    if (hasText(row.daekType)) {
        b.slab = true;
        const QString type = row.daekType.toString();
        b.slabText = type == QLatin1String("Beton") ? row.kvalitettext.toString() : type;
        b.ts = thickness(row.daektykkelse);
    }

    LogNr = 184;
    if (hasText(row.terraen)) {
        b.terrain = true;
        b.terrainText = row.terraen.toString();
        b.kT = row.terraenballast.toDouble();
    }

    // The flag follows the correction factor: "Intet" stores factor 1, new input factor 0.
    LogNr = 185;
    if (!row.mellemlagkorr.isNull() && !row.mellemlagkorr.isEmpty() && row.mellemlagkorr.toDouble() != 0) {
        b.intermediate = true;
        b.intermediateText = row.mellemlag.toString();
        b.lambdaM = row.mellemlaglambda.toDouble();
        b.tm = thickness(row.mellemlagtykkelse);
        LogNr = 186;
        b.korr = b.tm < 150 ? 1.0 : row.mellemlagkorr.toDouble();
    }

    LogNr = 187;
    if (b.ts > kMaxThickness)
        b.ts = 0;
    if (b.tm > kMaxThickness)
        b.tm = 0;
}

void SubgradeModuli(const BuildUp &b, FoundationValues &v, std::int32_t &LogNr) {
    LogNr = 188;
    v.isolballasto = v.isolballastn = 0;
    if (b.anyLayer()) {
        const double t1m = b.layer1.t / 1000.0, t2m = b.layer2.t / 1000.0;
        LogNr = 189;
        v.isolballasto = inSeries(b.layer1.Eo, t1m, b.layer2.Eo, t2m);
        LogNr = 190;
        v.isolballastn = inSeries(b.layer1.En, t1m, b.layer2.En, t2m);
    }

    LogNr = 191;
    v.resBallasto = v.resBallastn = 0;
    if (b.anyLayer() && b.terrain && b.intermediate) {
        // iso · kT · korr left to right: taking kT · korr first changes the last bit of the stored value.
        const double ground = mul(b.kT, b.korr);
        LogNr = 192;
        v.resBallasto = ck::div(mul(mul(v.isolballasto, b.kT), b.korr), add(ground, v.isolballasto));
        LogNr = 193;
        v.resBallastn = ck::div(mul(mul(v.isolballastn, b.kT), b.korr), add(ground, v.isolballastn));
    }
}

double UValue(const BuildUp &b, std::int32_t &LogNr) {
    LogNr = 194;
    if (!(b.anyLayer() && b.intermediate && b.slab))
        return 0;

    LogNr = 195;
    const Layer &u = b.layer1, &l = b.layer2;
    const double t1m = u.t / 1000.0, t2m = l.t / 1000.0, tmm = b.tm / 1000.0, tsm = b.ts / 1000.0;
    double R1 = 0, R2 = 0, Rm = 0;

    LogNr = 196;
    if (tmm < kWetZone) {
        // Without a drainage layer of its own the lowest 75 mm of the insulation lies wet.
        if (t2m < kWetZone && t1m + t2m > kWetZone) {
            LogNr = 197;
            R1 = add(ck::div(kWetZone - t2m, u.lambdaWet), ck::div(t1m + t2m - kWetZone, u.lambdaDry));
            R2 = ck::div(t2m, l.lambdaWet);
        } else if (t2m < kWetZone) {
            LogNr = 198;
            R1 = ck::div(t1m, u.lambdaWet);
            R2 = ck::div(t2m, l.lambdaWet);
        } else {
            LogNr = 199;
            R1 = ck::div(t1m, u.lambdaDry);
            R2 = add(ck::div(kWetZone, l.lambdaWet), ck::div(t2m - kWetZone, l.lambdaDry));
        }
    } else {
        LogNr = 200;
        Rm = b.lambdaM == 0 ? 0 : ck::div(tmm, b.lambdaM);
        LogNr = 201;
        R1 = ck::div(t1m, u.lambdaDry);
        LogNr = 202;
        R2 = ck::div(t2m, l.lambdaDry);
    }

    LogNr = 203;
    const double Rs = tsm / kSlabLambda;
    LogNr = 204;
    return ck::div(1.0, add(add(add(add(kSurfaceResistance, R1), R2), Rm), Rs));
}

FoundationValues DeriveValues(const BuildUp &b, std::int32_t &LogNr) {
    FoundationValues v;
    SubgradeModuli(b, v, LogNr);
    v.Uvaerdi = UValue(b, LogNr);
    LogNr = 208;
    return v;
}

bool StoreNeeded(const std::array<Variant, 5> &stored, const FoundationValues &v) {
    const std::array<double, 5> computed{v.isolballasto, v.isolballastn, v.resBallasto, v.resBallastn, v.Uvaerdi};
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const Variant &s = stored[i];
        if (!s.isNull() && (s.isEmpty() ? 0.0 : s.toDouble()) != computed[i])
            return true;
    }
    return false;
}

} // namespace sketch
