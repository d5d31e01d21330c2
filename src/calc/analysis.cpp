// The analysis driver: one pass of the slab field, the design pass (loads times their partial coefficients)
// or the characteristic pass, which alone stores its result row.

#include "calc/analysis_state.h"

#include "data/error_report.h"
#include "engine/errors.h"

#include <cstring>

namespace Module1 {

void resetState() {
    FunctionName = QStringLiteral("init");
    LogNr = 0;
    dx = 6.0 / 9.0;
    dy = 6.0 / 9.0;
    AntalElementer = kElementer;
    AntalXElementer = kXElementer;
    AntalFrihedsgrader = kFrihedsgrader;
    Baandbredde = kBaandbredde;
    KortLast = false;
    LangLast = false;

    std::memset(FKort, 0, sizeof FKort);
    std::memset(FLang, 0, sizeof FLang);
    std::memset(Kband, 0, sizeof Kband);
    std::memset(Msnit, 0, sizeof Msnit);
    Mmax = 0.0;
    Mmin = 0.0;
    umax = 0.0;
    std::memset(uKort, 0, sizeof uKort);
    std::memset(uLang, 0, sizeof uLang);
    for (QString &s : Oplysninger)
        s = QString();
    AntalOplysninger = 0;
    Saetning = 0.0;
    // MmaxDim, MminDim and umaxDim carry the design pass into the characteristic pass.
}

void saveopl(const QString &tekst) {
    FunctionName = QStringLiteral("saveopl");
    LogNr = 0;
    if (AntalOplysninger < kMaxOplysninger) {
        ++AntalOplysninger;
        Oplysninger[AntalOplysninger] = tekst;
    }
}

void analysePass() {
    Topologi();
    Hoejreside(Laster);
    // The stiffness is rebuilt for each case: the solver factorises it in place.
    if (KortLast) {
        Stivhedsmatrix(resBallasto, Eo, Go, Kband, KeX, KeY);
        Solver(AntalFrihedsgrader, Baandbredde, Kband, FKort, uKort);
        Snitkraft(KeX, KeY, uKort);
    }
    if (LangLast) {
        Stivhedsmatrix(resBallastn, En, Gn, Kband, KeX, KeY);
        Solver(AntalFrihedsgrader, Baandbredde, Kband, FLang, uLang);
        Snitkraft(KeX, KeY, uLang);
    }
    FindMaxM();
    FindMaxu();
    Gennemlokning(Laster);
}

int Beregn1(bool dimensionering) {
    try {
        Dimensionering = dimensionering;
        init();
        Laesdata();
        analysePass();
        if (Dimensionering) {
            umaxDim = umax;
            MmaxDim = Mmax;
            MminDim = Mmin;
        } else {
            StoreDB1();
        }
        return 0;
    } catch (const engine::RuntimeError &e) {
        data::ReportErrorWithTitle(QStringLiteral("Der opstod et problem under eksekvering af beregningsrutine1!"),
                                   e.number(), e.description(), LogNr, FunctionName);
        return 1;
    }
}

} // namespace Module1
