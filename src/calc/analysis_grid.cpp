// Grillage topology and the closed-form stiffness of a beam on an elastic foundation, in bending and torsion.

#include "calc/analysis_state.h"

#include "engine/checked.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Module1 {

namespace ck = engine::checked;

namespace {

// Element e from node n to node m: degrees 1 to 3 of each node in the order w, first rotation, second rotation.
void numberElement(int e, int n, int m) {
    for (int j = 1; j <= 3; ++j) {
        Topo[j][e] = 3 * (n - 1) + j;
        Topo[j + 3][e] = 3 * (m - 1) + j;
    }
}

} // namespace

void Topologi() {
    FunctionName = QStringLiteral("Topologi");
    int e = 1;
    LogNr = 1;
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 8; ++c)
            numberElement(e++, 9 * (r - 1) + c, 9 * (r - 1) + c + 1);
    LogNr = 2;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 8; ++r)
            numberElement(e++, 9 * (r - 1) + c, 9 * r + c);
}

namespace {

void setSym(ElementMatrix &Ke, int i, int j, double v) {
    Ke[i][j] = v;
    Ke[j][i] = v;
}

// One direction's element matrix. alongY places the bending terms at the first rotation, with the
// w-rotation couplings of opposite sign.
void elementStiffness(double k, double E, double G, double L, double b, bool alongY, ElementMatrix &Ke) {
    LogNr = 1;
    const double I = ck::fin(b * t * t * t / 12.0);

    LogNr = 2;
    double J;
    if (b >= t) {
        const double r = ck::div(b, t);
        J = ck::div(ck::fin((2.370592 * r * r - 2.486211 * r + 0.826518) * t * t * t * b),
                    ck::fin(7.111777 * r * r - 3.057824 * r + 1.0));
    } else {
        const double r = ck::div(t, b);
        J = ck::div(ck::fin((2.370592 * r * r - 2.486211 * r + 0.826518) * b * b * b * t),
                    ck::fin(7.111777 * r * r - 3.057824 * r + 1.0));
    }

    LogNr = 3;
    const double kw = ck::fin(0.5 * k * b);
    const double kt = ck::div(ck::fin(0.5 * 0.5 * 0.5 * k * b * b * b), 12.0);

    LogNr = 4;
    const double lambda = ck::sqrt(ck::sqrt(ck::div(kw, ck::fin(4.0 * E * I))));
    const double mu = ck::sqrt(ck::div(kt, ck::fin(G * J)));

    LogNr = 5;
    const double x = ck::fin(lambda * L);
    const double s = std::sin(x);
    const double c = std::cos(x);
    const double ex = ck::fin(std::exp(x));
    const double emx = ck::fin(std::exp(-x));
    const double S = (ex - emx) / 2.0;
    const double C = (ex + emx) / 2.0;
    const double N = ck::fin(S * S - s * s);
    const double muL = ck::fin(mu * L);
    const double St = (ck::fin(std::exp(muL)) - ck::fin(std::exp(-muL))) / 2.0;
    const double e2 = ck::fin(std::exp(2.0 * muL));
    const double Tt = ck::div(e2 - 1.0, e2 + 1.0);

    LogNr = 6;
    const double P = ck::div(ck::fin(2.0 * E * I * lambda * lambda), N);
    const double Q = ck::div(ck::fin(2.0 * E * I * lambda), N);
    const double R = ck::div(ck::fin(4.0 * E * I * lambda * lambda * lambda), N);
    const double T0 = ck::div(ck::fin(G * J * mu), Tt);
    const double T1 = ck::div(ck::fin(-G * J * mu), St);

    LogNr = 7;
    std::memset(Ke, 0, sizeof(ElementMatrix));
    const double kww = ck::fin(R * (S * C + s * c));
    const double kwwFar = ck::fin(-R * (s * C + c * S));
    const double kwr = ck::fin(P * (S * S + s * s));
    const double kwrFar = ck::fin(2.0 * P * S * s);
    const double krr = ck::fin(Q * (S * C - s * c));
    const double krrFar = ck::fin(Q * (s * C - c * S));
    // The x-element's layout; a y-element has the same values at the swapped rotations, its w-rotation couplings
    // with the opposite sign (0 - v, so that an entry of 0 stays +0).
    ElementMatrix layout = {};
    setSym(layout, 1, 1, kww);
    setSym(layout, 4, 4, kww);
    setSym(layout, 1, 4, kwwFar);
    setSym(layout, 1, 3, kwr);
    setSym(layout, 1, 6, kwrFar);
    setSym(layout, 2, 2, T0);
    setSym(layout, 5, 5, T0);
    setSym(layout, 2, 5, T1);
    setSym(layout, 3, 3, krr);
    setSym(layout, 6, 6, krr);
    setSym(layout, 3, 4, -kwrFar);
    setSym(layout, 3, 6, krrFar);
    setSym(layout, 4, 6, -kwr);
    constexpr int swap[7] = {0, 1, 3, 2, 4, 6, 5};
    auto isRotation = [](int i) { return i != 1 && i != 4; };
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j) {
            if (!alongY)
                Ke[i][j] = layout[i][j];
            else
                Ke[swap[i]][swap[j]] = isRotation(i) != isRotation(j) ? 0.0 - layout[i][j] : layout[i][j];
        }
}

// Which element entries land on each band place, in the order the element loop adds them. Summing each place's
// list from 0 gives exactly the element-by-element assembly on a cleared band, without reading every place back
// between elements. A place gets at most four entries (the two beams of each direction at a node); shorter lists
// are filled up with a zero entry, which leaves the sum as it is. All beams of a direction are alike, so only a few
// different lists occur: each is summed once and copied to its places.
constexpr int kPerPlace = 4;
constexpr int kZeroSource = 42;

struct AssemblyPlan {
    int topo[6 + 1][kElementer + 1] = {}; // the numbering the plan was made for
    int xElements = -1, elements = -1;
    int places = 0;
    int place[kFrihedsgrader * kBaandbredde] = {};           // offset into the band, row-major, rising
    unsigned short list[kFrihedsgrader * kBaandbredde] = {}; // which list lands there
    int lists = 0;
    // Lower triangle of KeX (0 to 20), then of KeY (21 to 41), or the zero entry.
    unsigned char source[kFrihedsgrader * kBaandbredde][kPerPlace] = {};
};

constexpr int kRowLength = kBaandbredde + 1;

int triangleIndex(int i, int j) { return i * (i - 1) / 2 + (j - 1); }

void makePlan(AssemblyPlan &plan) {
    std::memcpy(plan.topo, Topo, sizeof plan.topo);
    plan.xElements = AntalXElementer;
    plan.elements = AntalElementer;
    static int count[(kFrihedsgrader + 1) * kRowLength];
    static unsigned char sources[(kFrihedsgrader + 1) * kRowLength][kPerPlace];
    std::fill(std::begin(count), std::end(count), 0);
    for (int e = 1; e <= AntalElementer; ++e)
        for (int i = 1; i <= 6; ++i)
            for (int j = 1; j <= i; ++j) {
                const int gi = Topo[i][e];
                const int offset = gi * kRowLength + Topo[j][e] - gi + kBaandbredde;
                if (count[offset] == kPerPlace)
                    engine::raise(engine::err::SubscriptOutOfRange);
                sources[offset][count[offset]++] =
                    static_cast<unsigned char>(triangleIndex(i, j) + (e > AntalXElementer ? 21 : 0));
            }
    plan.places = 0;
    plan.lists = 0;
    for (int offset = 0; offset < (kFrihedsgrader + 1) * kRowLength; ++offset) {
        if (count[offset] == 0)
            continue;
        unsigned char entries[kPerPlace];
        for (int k = 0; k < kPerPlace; ++k)
            entries[k] = k < count[offset] ? sources[offset][k] : static_cast<unsigned char>(kZeroSource);
        int l = 0;
        while (l < plan.lists && std::memcmp(plan.source[l], entries, kPerPlace) != 0)
            ++l;
        if (l == plan.lists)
            std::memcpy(plan.source[plan.lists++], entries, kPerPlace);
        plan.place[plan.places] = offset;
        plan.list[plan.places] = static_cast<unsigned short>(l);
        ++plan.places;
    }
}

// The plain element loop, kept to name the statement at which an overflow happens.
void assembleElements(BandMatrix &band, const ElementMatrix &Ke, int first, int last) {
    for (int e = first; e <= last; ++e)
        for (int i = 1; i <= 6; ++i) {
            const int gi = Topo[i][e];
            for (int j = 1; j <= i; ++j) {
                double &place = band[gi][Topo[j][e] - gi + kBaandbredde];
                place = ck::fin(place + Ke[i][j]);
            }
        }
}

void assemble(BandMatrix &band, const ElementMatrix &KeX, const ElementMatrix &KeY) {
    static AssemblyPlan plan;
    if (plan.xElements != AntalXElementer || plan.elements != AntalElementer ||
        std::memcmp(plan.topo, Topo, sizeof plan.topo) != 0)
        makePlan(plan);
    double src[kZeroSource + 1];
    src[kZeroSource] = 0.0;
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= i; ++j) {
            src[triangleIndex(i, j)] = KeX[i][j];
            src[triangleIndex(i, j) + 21] = KeY[i][j];
        }
    static double value[kFrihedsgrader * kBaandbredde];
    bool finite = true;
    for (int l = 0; l < plan.lists; ++l) {
        double v = 0.0;
        for (int k = 0; k < kPerPlace; ++k)
            v += src[plan.source[l][k]];
        value[l] = v;
        finite &= std::isfinite(v);
    }
    double *flat = &band[0][0];
    for (int n = 0; n < plan.places; ++n)
        flat[plan.place[n]] = value[plan.list[n]];
    if (!finite) {
        std::memset(band, 0, sizeof(BandMatrix));
        LogNr = 9;
        assembleElements(band, KeX, 1, AntalXElementer);
        LogNr = 10;
        assembleElements(band, KeY, AntalXElementer + 1, AntalElementer);
    }
}

} // namespace

void Stivhedsmatrix(double k, double E, double G, BandMatrix &Kband, ElementMatrix &KeX, ElementMatrix &KeY) {
    FunctionName = QStringLiteral("Stivhedsmatrix");
    elementStiffness(k, E, G, dx, dy, false, KeX);
    elementStiffness(k, E, G, dy, dx, true, KeY);

    LogNr = 8;
    std::memset(Kband, 0, sizeof(BandMatrix));
    LogNr = 9;
    assemble(Kband, KeX, KeY);
    LogNr = 10;
}

} // namespace Module1
