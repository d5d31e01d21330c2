// Right-hand sides: loads placed on the field, reduced near a joint, shared out to the nearest nodes.

#include "calc/analysis_state.h"

#include "engine/checked.h"

#include <cmath>

namespace Module1 {

namespace ck = engine::checked;

namespace {

// A load at a joint shares itself with the neighbouring slab; the share falls off over a reach that
// shortens for thin slabs.
void reduceAtJoint(double &P, const QString &Placering, double y, double t) {
    if (Placering != u"F")
        return;
    const double reach = t >= 0.15 ? 3.0 : ck::fin(ck::pow(ck::div(t, 0.15), 0.5) * 6.0 / 2.0);
    if (y <= reach) {
        const double ratio = ck::div(y, reach);
        P = ck::fin(P * (1.0 - (1.0 - ratio * ratio) * 0.5));
    }
}

double *loadVector(const QString &Varighed) { return Varighed == u"L" ? FLang : FKort; }

// Row of the node below or at y and the weights of that row and the next; near the boundary they extrapolate.
// The row number is a whole number of 16 bits: a position far outside the field overflows.
int rowAndWeights(double y, double &b0, double &b1) {
    int iy = ck::CInt(std::floor(ck::fin(ck::div(y, dy) + 0.5)));
    if (iy == 0)
        iy = 1;
    b0 = ck::div((iy + 0.5) * dy - y, dy);
    b1 = ck::div(y - (iy - 0.5) * dy, dy);
    return iy;
}

// Adds to the deflection entry of node n; a node outside the grid is an index outside the vector.
void addAtNode(double *F, int n, double value) {
    if (n < 1 || n > 81)
        engine::raise(engine::err::SubscriptOutOfRange);
    double &entry = F[3 * (n - 1) + 1];
    entry = ck::fin(entry + value);
}

void placePoint(const QString &Varighed, double P, double y, double x) {
    const bool lang = Varighed == u"L";
    LogNr = lang ? 4 : 2;
    int ix = ck::CInt(std::floor(ck::fin(ck::div(x, dx) + 0.5)));
    if (ix == 0)
        ix = 1;
    if (ix == 9)
        ix = 8;
    double b0, b1;
    const int iy = rowAndWeights(y, b0, b1);
    const double a0 = ck::div((ix + 0.5) * dx - x, dx);
    const double a1 = ck::div(x - (ix - 0.5) * dx, dx);
    if (ix < 1 || ix > 8)
        engine::raise(engine::err::SubscriptOutOfRange);
    const int n = 9 * (iy - 1) + ix;
    double *F = loadVector(Varighed);
    addAtNode(F, n, ck::fin(P * a0 * b0));
    addAtNode(F, n + 1, ck::fin(P * a1 * b0));
    addAtNode(F, n + 9, ck::fin(P * a0 * b1));
    addAtNode(F, n + 10, ck::fin(P * a1 * b1));
}

// The second load of a pair carries the size the first one already reduced.
void punktlast(const QString &Varighed, double &P, const QString &Placering, double y, double x, double t,
               bool reduce) {
    FunctionName = QStringLiteral("Punktlast");
    LogNr = 1;
    if (reduce)
        reduceAtJoint(P, Placering, y, t);
    placePoint(Varighed, P, y, x);
}

} // namespace

void Punktlast(const QString &Varighed, double &P, const QString &Placering, double y, double x, double t) {
    punktlast(Varighed, P, Placering, y, x, t, true);
}

void Linielast(const QString &Varighed, double &q, const QString &Placering, double y, double t) {
    FunctionName = QStringLiteral("Linielast");
    LogNr = 1;
    reduceAtJoint(q, Placering, y, t);
    LogNr = Varighed == u"L" ? 4 : 2;
    double b0, b1;
    const int iy = rowAndWeights(y, b0, b1);
    double *F = loadVector(Varighed);
    const double share0 = ck::fin(q * dx * b0);
    const double share1 = ck::fin(q * dx * b1);
    for (int n = 9 * (iy - 1) + 1; n <= 9 * (iy - 1) + 9; ++n)
        addAtNode(F, n, share0);
    for (int n = 9 * iy + 1; n <= 9 * iy + 9; ++n)
        addAtNode(F, n, share1);
}

void Fladelast(double k, double q, double &Saetning) {
    FunctionName = QStringLiteral("Fladelast");
    LogNr = 0;
    Saetning = ck::fin(Saetning + ck::div(q, k));
}

void Hoejreside(LastRecord &Laster) {
    FunctionName = QStringLiteral("Hoejreside");
    for (int i = 1; i <= Laster.AntalLaster; ++i) {
        const QString &kode = Laster.Kode[i];
        const QString &placering = Laster.PlaceringBogstav[i];
        const bool atEdge = placering == u"K" || placering == u"F";
        const double y = atEdge ? Laster.AfstandFra[i] : 3.0;
        double &size = Laster.Stoerrelse[i];
        if (kode == u"F") {
            LangLast = true;
            LogNr = 1;
            Fladelast(resBallastn, size, Saetning);
        } else if (kode == u"H") {
            KortLast = true;
            LogNr = atEdge ? 2 : 3;
            Punktlast(QStringLiteral("S"), size, placering, y, 3.0, t);
        } else if (kode == u"S") {
            LangLast = true;
            LogNr = atEdge ? 8 : 9;
            Punktlast(QStringLiteral("L"), size, placering, y, 3.0, t);
        } else if (kode == u"L") {
            LangLast = true;
            LogNr = atEdge ? 4 : 6;
            punktlast(QStringLiteral("L"), size, placering, y, (6.0 - Laster.Afstand[i]) / 2.0, t, true);
            LogNr = atEdge ? 5 : 7;
            punktlast(QStringLiteral("L"), size, placering, y, (6.0 + Laster.Afstand[i]) / 2.0, t, false);
        } else if (kode == u"V") {
            LangLast = true;
            LogNr = atEdge ? 10 : 11;
            Linielast(QStringLiteral("L"), size, placering, y, t);
        }
    }
}

} // namespace Module1
