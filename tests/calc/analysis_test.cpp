// The slab analysis: the loads, whole passes against a separate model, punching, and the solver.

#include "calc/analysis_solver.h"
#include "calc/analysis_state.h"
#include "calc/design_checks.h"
#include "engine/errors.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace M1 = Module1;
using designchecks::expectNear;
using designchecks::expectRaises;
using std::tie, std::tuple;
namespace err = engine::err;

namespace {

int wDof(int row, int column) { return 3 * (9 * (row - 1) + column - 1) + 1; }

void addLoad(const char *kode, const char *placering, double size, double afstandFra = 0, double afstand = 0) {
    auto &L = M1::Laster;
    const int i = ++L.AntalLaster;
    tie(L.Kode[i], L.FormBogstav[i], L.PlaceringBogstav[i]) = tuple(kode, "K", QString::fromUtf8(placering));
    tie(L.Stoerrelse[i], L.Bredde[i], L.Laengde[i], L.PartialK[i]) = tuple(size, 0.1, 0.1, 1.0);
    tie(L.AfstandFra[i], L.Afstand[i]) = tuple(afstandFra, afstand);
}

// Concrete on 18750 kN/m³ short term, no loads.
void slab(double t = 0.15, double En = 10300e3, double Gn = 4300e3, double resBallastn = 11538) {
    M1::resetState();
    M1::Laster = {};
    tie(M1::Eo, M1::Go, M1::resBallasto, M1::tau, M1::ErBeton, M1::umaxDim) = tuple(31000e3, 12900e3, 18750, 700, 1, 0);
    tie(M1::t, M1::En, M1::Gn, M1::resBallastn) = tuple(t, En, Gn, resBallastn);
    M1::Topologi();
}

} // namespace

TEST(Loads, LandOnTheirNodesWithTheWeightsOfTheirPositionAndAreReducedAtAJoint) {
    struct Row {
        const char *kode, *placering;
        double size, afstandFra, afstand, reduced;
        std::vector<tuple<int, int, double>> entries; // deflection load at node (row, column), column 0: all nine
    } rows[] = {
        {"S", "M", 40.0, 1.0, 0.0, 40.0, {{5, 5, 40.0}}},               // the middle: wholly on the centre node
        {"H", "M", 50.0, 0.0, 0.0, 50.0, {{5, 5, 50.0}}},               // a wheel load: short term only
        {"S", "K", 10.0, 0.0, 0.0, 10.0, {{1, 5, 15.0}, {2, 5, -5.0}}}, // y = 0: extrapolated from two rows
        {"L", "M", 20.0, 0.0, 6.0, 20.0, {{5, 1, 30.0}, {5, 2, -10.0}, {5, 8, -10.0}, {5, 9, 30.0}}}, // field edges
        {"L", "F", 20.0, 0.0, 4.0, 10.0, {{1, 2, 15.0}, {2, 2, -5.0}, {1, 8, 15.0}, {2, 8, -5.0}}},   // halved once
        {"S", "F", 100.0, 1.5, 0.0, 62.5, {{2, 5, 15.625}, {3, 5, 46.875}}}, // nodes mid-cell; 1 - (1 - 0.5²) / 2 at
                                                                             // half the reach
        {"S", "F", 100.0, 3.0, 0.0, 100.0, {{5, 5, 100.0}}},
        {"V", "K", 5.0, 1.5, 0.0, 5.0, {{2, 0, 5.0 / 6}, {3, 0, 2.5}}}, // 6/9 m a node, a quarter on row 2 (1.0 m)
    };
    for (const Row &r : rows) {
        slab();
        addLoad(r.kode, r.placering, r.size, r.afstandFra, r.afstand);
        M1::Hoejreside(M1::Laster);
        M1::DofVector expected = {};
        for (const auto &[row, column, value] : r.entries)
            for (int c = column ? column : 1; c <= (column ? column : 9); ++c)
                expected[wDof(row, c)] = value;
        const bool wheel = r.kode == std::string("H");
        for (int i = 1; i <= 243; ++i) {
            ASSERT_NEAR(expected[i], (wheel ? M1::FKort : M1::FLang)[i], 1e-11) << r.kode << r.placering << i;
            ASSERT_EQ(0.0, (wheel ? M1::FLang : M1::FKort)[i]) << r.kode << r.placering << i;
        }
        EXPECT_NEAR(r.reduced, M1::Laster.Stoerrelse[1], 1e-12) << r.kode << r.placering;
    }
}

// Reference values from a separate model of the same grillage, solved densely by Gaussian elimination. NaN: the
// model gave no value.
TEST(Pass, AgreesWithASeparateDenseModel) {
    struct Row {
        const char *kode, *placering;
        double size, afstandFra, Mmax, Mmin, umax, reducedSize;
    } rows[] = {
        {"S", "M", 40.0, 0.0, 8.0240970052725764, -1.1257498505711898, 8.522177565568449e-4, 40},
        {"H", "F", 50.0, 0.5, 7.2161023077953814, -1.2032233283263851, 5.1724038947212607e-4, 25.694444444444443},
        {"V", "K", 10.0, 0.2, 0.44375409292154333, -1.7944743809722354, 1.6299565565904394e-3, 10},
        {"F", "M", 5.0, 0.0, 0.0, 0.0, 5.0 / 11538, 5.0}, // settles the slab, bends nothing
        // 22 mm, En 4000 MPa on 5000 kN/m³: the edge rotates more than any node deflects, the deflection counts.
        {"S", "K", 3.0, 0.1, NAN, NAN, 3.2300036496433894e-3, 3.0},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(::testing::Message() << r.kode << r.placering << " " << r.size);
        std::isnan(r.Mmax) ? slab(0.022, 4000e3, 4000e3 / 2.4, 5000) : slab();
        addLoad(r.kode, r.placering, r.size, r.afstandFra);
        M1::analysePass();
        if (!std::isnan(r.Mmax)) {
            expectNear(r.Mmax, M1::Mmax, 1e-10);
            expectNear(r.Mmin, M1::Mmin, 1e-10);
        }
        EXPECT_NEAR(r.umax, M1::umax, 1e-10 * r.umax);
        EXPECT_NEAR(r.reducedSize, M1::Laster.Stoerrelse[1], 1e-12 * r.size);
    }
}

// t = 0.25, tau = 3, umaxDim = 0.001: R = tau t u + relief, relief = (2t + b) (2t + l) k umaxDim, tied at R = Fd.
TEST(Punching, ResistanceOfEachShapeAgainstTheDesignLoad) {
    const QString safe = QStringLiteral("Sikkerhed for gennemlokning er i orden"),
                  failure = QStringLiteral("Brud ! Fare for gennemlokning"),
                  notChecked = QStringLiteral("Der er ikke undersøgt for gennemlokning !");
    struct Row {
        const char *kode, *form;
        double size, b, l, partialK;
        int loads;
        bool concrete;
        QString remark;
    } rows[] = {
        {"S", "K", 4.0, 0.5, 0.0, 1, 1, true, safe}, // square 1.0: u = 4, relief 1.0; R = 3 + 1
        {"S", "K", 4.000001, 0.5, 0.0, 1, 1, true, failure},
        {"H", "K", 5.0, 0.5, 0.0, 1, 1, true, safe}, // a wheel: relief 2.0 with the short-term 2000
        {"S", "R", 6.5, 0.5, 1.5, 1, 1, true, safe}, // u = 2 (1.5 + 0.5 + 1.0) = 6, relief 2
        {"S", "R", 6.500001, 0.5, 1.5, 1, 1, true, failure},
        {"V", "L", 5.25, 0.5, 0.0, 1, 1, true, safe},        // a line as 1.0 m long: u = 5, relief 1.5
        {"S", "X", 0.000001, 0.5, 0.0, 1, 1, true, failure}, // no perimeter and no relief
        {"S", "K", 3.5, 0.5, 0.0, 1.2, 1, true, failure},    // the design load 4.2 against 4.0
        {"S", "K", 1.0, 0.5, 0.0, 1, 2, true, notChecked},
        {"S", "K", 1.0, 0.5, 0.0, 1, 1, false, notChecked},
        {"F", "", 100.0, 0.0, 0.0, 1, 1, true, QString()}, // an area load is not checked, silently
    };
    for (const Row &r : rows) {
        slab(0.25);
        tie(M1::tau, M1::resBallasto, M1::resBallastn, M1::umaxDim, M1::ErBeton) =
            tuple(3, 2000, 1000, 0.001, r.concrete);
        addLoad(r.kode, "M", r.size);
        auto &L = M1::Laster;
        tie(L.AntalLaster, L.FormBogstav[1], L.Bredde[1], L.Laengde[1], L.PartialK[1]) =
            tuple(r.loads, r.form, r.b, r.l, r.partialK);
        M1::Gennemlokning(M1::Laster);
        EXPECT_EQ(r.remark.isEmpty() ? 0 : 1, M1::AntalOplysninger);
        EXPECT_EQ(r.remark, M1::Oplysninger[1]) << r.kode << r.form << " " << r.size;
    }
    M1::resetState();
    for (int i = 1; i <= 11; ++i) // ten remarks are kept, an eleventh dropped
        M1::saveopl(QString::number(i));
    EXPECT_EQ(10, M1::AntalOplysninger);
    EXPECT_EQ(QStringLiteral("10"), M1::Oplysninger[10]);
}

namespace {

M1::BandMatrix K, K0, slabK;
M1::DofVector F, u;

// Every vector width the processor offers, then back to the widest.
template <class Body> void forEachWidth(Body body) {
    for (int lanes : {8, 4, 2})
        if (M1::useSolverLanes(lanes)) {
            SCOPED_TRACE(::testing::Message() << lanes << " lanes");
            std::memcpy(K, K0, sizeof K);
            body();
        }
    M1::useSolverLanes(0);
}

} // namespace

TEST(Solver, SolvesTheSlabStiffnessAtEveryWidthAndRaisesWhereThePlainLoopWould) {
    slab();
    M1::Stivhedsmatrix(18750.0, 31000.0e3, 12900.0e3, slabK, M1::KeX, M1::KeY);
    std::memcpy(K0, slabK, sizeof K0);
    for (int i = 1; i <= 243; ++i)
        F[i] = 10.0 * std::sin(i);
    forEachWidth([] {
        M1::Solver(243, 30, K, F, u);
        for (int r = 1; r <= 243; ++r) { // A u = F, with A from the band kept aside
            double s = 0.0;
            for (int p = std::max(1, r - 29); p <= std::min(243, r + 29); ++p)
                s += (p <= r ? K0[r][p - r + 30] : K0[p][r - p + 30]) * u[p];
            ASSERT_NEAR(F[r], s, 1e-9) << "row " << r;
        }
    });
    EXPECT_THROW(M1::Solver(244, 30, K, F, u), engine::RuntimeError); // shapes outside the storage
    EXPECT_THROW(M1::Solver(243, 31, K, F, u), engine::RuntimeError);

    struct Row {
        int isolated; // row and column uncoupled from the others, so that its pivot is exactly what is set
        std::vector<tuple<int, int, double>> set;
        int number, logNr;
    } rows[] = {
        {1, {{1, 30, -1.0}}, err::InvalidProcedureCall, 2},
        {240, {{240, 30, -1.0}}, err::InvalidProcedureCall, 7},
        {1, {{1, 30, 0.0}}, err::Overflow, 5},                       // 0 / 0 below an uncoupled zero pivot
        {243, {{243, 30, 0.0}}, err::DivisionByZero, 16},            // a load over it
        {40, {{40, 30, 1e-300}, {41, 29, 1e200}}, err::Overflow, 5}, // L (41, 40) = 1e200 / 1e-150
        // The sum for L (102, 101) holds 1e300 x 1e10 and is reported before the division of its row.
        {100, {{100, 30, 1.0}, {101, 29, 1e10}, {102, 28, 1e300}, {101, 30, 1e21}}, err::Overflow, 4},
    };
    for (const Row &r : rows) {
        std::memcpy(K0, slabK, sizeof K0);
        for (int c = 1; c < 30; ++c)
            K0[r.isolated][c] = 0.0;
        for (int i = r.isolated + 1; i <= std::min(243, r.isolated + 29); ++i)
            K0[i][r.isolated - i + 30] = 0.0;
        for (const auto &[row, column, value] : r.set)
            K0[row][column] = value;
        forEachWidth([&r] {
            SCOPED_TRACE(::testing::Message() << "row " << r.isolated);
            expectRaises([] { M1::Solver(243, 30, K, F, u); }, r.number, "Solver", r.logNr);
        });
    }
}
