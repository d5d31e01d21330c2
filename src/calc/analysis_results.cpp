// End moments of the beams, the governing moments and deflection, and the punching check of a single load.

#include "calc/analysis_state.h"

#include "engine/checked.h"

namespace Module1 {

namespace ck = engine::checked;

namespace {

double endForce(const ElementMatrix &Ke, int row, const DofVector &u, int e) {
    double s = 0.0;
    for (int j = 1; j <= 6; ++j)
        s += Ke[row][j] * u[Topo[j][e]];
    return s;
}

} // namespace

void Snitkraft(const ElementMatrix &KeX, const ElementMatrix &KeY, const DofVector &u) {
    FunctionName = QStringLiteral("Snitkraft");
    LogNr = 1;
    for (int e = 1; e <= AntalXElementer; ++e) {
        Msnit[e][1] = ck::fin(Msnit[e][1] + endForce(KeX, 3, u, e));
        Msnit[e][2] = ck::fin(Msnit[e][2] - endForce(KeX, 6, u, e));
    }
    LogNr = 2;
    for (int e = AntalXElementer + 1; e <= AntalElementer; ++e) {
        Msnit[e][1] = ck::fin(Msnit[e][1] - endForce(KeY, 2, u, e));
        Msnit[e][2] = ck::fin(Msnit[e][2] + endForce(KeY, 5, u, e));
    }
}

void FindMaxM() {
    FunctionName = QStringLiteral("FindMaxM");
    LogNr = 1;
    for (int e = 1; e <= AntalElementer; ++e) {
        for (int end = 1; end <= 2; ++end) {
            const double M = Msnit[e][end];
            if (M > Mmax)
                Mmax = M;
            if (M < Mmin)
                Mmin = M;
        }
    }
    Mmax = ck::fin(1.75 * Mmax);
    Mmin = ck::fin(0.8 * Mmin);
}

// Only the deflection entries count: a rotation in radians is no deflection.
void FindMaxu() {
    FunctionName = QStringLiteral("FindMaxu");
    LogNr = 0;
    umax = 0.0;
    for (int n = 1; n <= 81; ++n) {
        const int i = 3 * (n - 1) + 1;
        const double w = ck::fin(uLang[i] + uKort[i]);
        if (w > umax)
            umax = w;
    }
    umax = ck::fin(Saetning + umax);
}

void Gennemlokning(LastRecord &Laster) {
    FunctionName = QStringLiteral("Gennemlokning");
    LogNr = 1;
    if (Laster.AntalLaster > 1 || !ErBeton) {
        saveopl(QStringLiteral("Der er ikke undersøgt for gennemlokning !"));
        return;
    }
    if (Laster.Kode[1] == u"F")
        return;

    const QString &form = Laster.FormBogstav[1];
    const double b = Laster.Bredde[1];
    const double l = Laster.Laengde[1];
    const bool squareLike = form == u"C" || form == u"K";
    const bool line = form == u"L";
    const bool rectangle = form == u"R";

    LogNr = 2;
    double u = 0.0;
    if (squareLike)
        u = ck::fin(4.0 * (2.0 * t + b));
    else if (line)
        u = ck::fin(2.0 * (b + 1.0 + 4.0 * t));
    else if (rectangle)
        u = ck::fin(2.0 * (l + b + 4.0 * t));

    LogNr = 3;
    const double k = Laster.Kode[1] == u"H" ? resBallasto : resBallastn;
    const double p = ck::fin(k * umaxDim);

    LogNr = 4;
    double relief = 0.0;
    const double side = ck::fin(2.0 * t + b);
    if (squareLike)
        relief = ck::fin(side * side * p);
    else if (line)
        relief = ck::fin(side * p * (2.0 * t + 1.0));
    else if (rectangle)
        relief = ck::fin(side * p * (2.0 * t + l));

    LogNr = 5;
    const double Fd = ck::fin(Laster.PartialK[1] * Laster.Stoerrelse[1]);
    const double R = ck::fin(tau * t * u + relief);
    if (R < Fd)
        saveopl(QStringLiteral("Brud ! Fare for gennemlokning"));
    else
        saveopl(QStringLiteral("Sikkerhed for gennemlokning er i orden"));
}

} // namespace Module1
