// The calculation: the loads, whole passes against a separate model, punching, the solver, the design checks, and
// both drivers on real databases.

#include "calc/analysis_solver.h"
#include "calc/analysis_state.h"
#include "calc/calculate.h"
#include "calc/design.h"
#include "calc/design_input.h"
#include "data/error_report.h"
#include "data/table_helpers.h"
#include "engine/errors.h"
#include "platform/message_box.h"
#include "support/file_lock.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>

namespace M1 = Module1;
namespace M2 = Module2;
namespace err = engine::err;
using engine::Variant;
using std::tie, std::tuple;
using Texts = std::vector<QString>;

namespace {

void expectNear(double e, double a, double rel = 1e-12) { EXPECT_NEAR(e, a, rel * std::max(1.0, std::fabs(e))); }

Texts remarks() { return {M1::Oplysninger + 1, M1::Oplysninger + 1 + M1::AntalOplysninger}; }

// The call raises this run-time error with the procedure and statement number left for the error report.
template <class Call> void expectRaises(Call call, int number, const char *function, int logNr) {
    try {
        call();
        ADD_FAILURE() << "no error";
    } catch (const engine::RuntimeError &e) {
        EXPECT_EQ(tuple(number, QString(function), logNr), tuple(e.number(), M1::FunctionName, M1::LogNr));
    }
}

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

M1::BandMatrix K, K0, slabK;
M1::DofVector F, u;

// Every vector width the processor offers, and the 8 lanes split into narrower vectors, which any processor runs;
// then back to the widest.
template <class Body> void forEachWidth(Body body) {
    for (const auto &[lanes, split] : {std::pair(8, false), std::pair(8, true), std::pair(4, false), {2, false}})
        if (M1::useSolverLanes(lanes, split)) {
            SCOPED_TRACE(::testing::Message() << lanes << (split ? " split lanes" : " lanes"));
            std::memcpy(K, K0, sizeof K);
            body();
        }
    M1::useSolverLanes(0);
}

// The band Cholesky as plain loops, each sum in rising p: the bits every width must give. L replaces A in K.
void plainSolve(int n, int m, M1::BandMatrix &K, const M1::DofVector &F, M1::DofVector &x) {
    const auto L = [&](int r, int p) -> double & { return K[r][p - r + m]; };
    for (int i = 1; i <= n; ++i)
        for (int r = i; r <= std::min(n, i + m - 1); ++r) {
            double s = 0.0;
            for (int p = std::max(1, r - m + 1); p < i; ++p)
                s += L(r, p) * L(i, p);
            L(r, i) = r == i ? std::sqrt(L(i, i) - s) : (L(r, i) - s) / L(i, i);
        }
    M1::DofVector y = {};
    for (int i = 1; i <= n; ++i) {
        double s = 0.0;
        for (int p = std::max(1, i - m + 1); p < i; ++p)
            s += L(i, p) * y[p];
        y[i] = (F[i] - s) / L(i, i);
    }
    for (int i = n; i >= 1; --i) {
        double s = 0.0;
        for (int p = i + 1; p <= std::min(n, i + m - 1); ++p)
            s += L(p, i) * x[p];
        x[i] = (y[i] - s) / L(i, i);
    }
}

const QString kUarmeret = "Pladen kan holde uarmeret", kBrud = "Brud ! Pladen kan ikke holde",
              kTrykBrud = "Brud ! Tryk på isolering er for stort";

bool anySaved(const M2::Skema &a, int s) { return a[s][1] || a[s][2] || a[s][3] || a[s][4] || a[s][5]; }

// The area per metre of bars of diameter d that gives the spacing s.
double areaFor(int d, double s) { return 3.14159 / 4.0 * (d * d) * 1000.0 / s; }

// A slab of C25 after the analysis left these design moments, on one 200 mm layer, 1 mm deflection.
void analysisLeft(double MmaxDim, double MminDim, double fcd = 17, double t = 0.15) {
    tie(M1::AntalOplysninger, M1::ErBeton, M1::KortLast, M1::umax) = tuple(0, true, false, 0.001);
    tie(M1::Mmax, M1::MmaxDim, M1::Mmin, M1::MminDim, M1::Laster) = tuple(5, MmaxDim, -2, MminDim, M1::LastRecord{});
    tie(M2::t, M2::ftk, M2::c, M2::fcd, M2::ftd, M2::wmax, M2::k0, M2::kn) =
        tuple(t, 1700, 25, fcd, 1.2, 0, 15e3, 15e3);
    tie(M2::h1, M2::Zigmao1, M2::Zigman1, M2::h2, M2::Zigmao2, M2::Zigman2) = tuple(0.2, 100, 100, 0, 0, 0);
    M2::resetState();
}

void armering() { M2::BeregnArmering(1, 10, 3, 0, 0, "u", 0.505); }
void hoejreside() { M1::Hoejreside(M1::Laster); }

class Calculation : public tablehelpers::InddataTest {
protected:
    void SetUp() override {
        InddataTest::SetUp();
        designinput::writeConcreteInput(); // 150 mm concrete, one point load of 40 kN in the middle, PartialK 1.5
        M1::MmaxDim = M1::MminDim = M1::umaxDim = 0.0;
    }
    void TearDown() override {
        InddataTest::TearDown();
        platform::setMessageService(std::make_shared<platform::RecordingMessages>());
    }
    std::vector<Variant> column(const char *table, const char *field) const {
        return tablehelpers::column(modMain::cnInddata, QString::fromUtf8(table), QString::fromUtf8(field));
    }
    // The one message shown: a critical box with an OK button.
    QString shown() const {
        EXPECT_EQ(1u, messages->shown.size());
        if (messages->shown.empty())
            return {};
        EXPECT_EQ(tuple(platform::Icon::Critical, platform::Buttons::Ok, QString("Fundator")),
                  tuple(messages->shown[0].icon, messages->shown[0].buttons, messages->shown[0].caption));
        return messages->shown[0].text;
    }
};

} // namespace

// The loads on the nodes worked by hand, for placings the whole cases do not reach (NaN: umax not looked at). Nodes
// lie mid-cell, 6/9 m apart; near the edge the weights extrapolate from the first two rows or columns.
TEST(Pass, LoadsTheNodes) {
    using Entries = std::vector<tuple<int, int, double>>; // load at node (row, column)
    const tuple<const char *, const char *, double, double, double, double, Entries> rows[] = {
        // 22 mm, En 4000 MPa on 5000 kN/m³: the edge rotates more than any node deflects, the deflection counts
        {"S", "K", 3.0, 0.1, 0.0, 3.23000364964339e-3, {{1, 5, 3.0 * 1.35}, {2, 5, 3.0 * -0.35}}},
        {"L", "M", 20.0, 0.0, 6.0, NAN, {{5, 1, 30.0}, {5, 2, -10.0}, {5, 8, -10.0}, {5, 9, 30.0}}},
        {"L", "F", 20.0, 0.0, 4.0, NAN, {{1, 2, 15.0}, {2, 2, -5.0}, {1, 8, 15.0}, {2, 8, -5.0}}}, // once
        // halved at the joint, fading out over 3 m: 1 - (1 - 0.5²) / 2 halfway
        {"S", "F", 100.0, 1.5, 0.0, NAN, {{2, 5, 15.625}, {3, 5, 46.875}}},
    };
    for (const auto &[kode, placering, size, afstandFra, afstand, umax, entries] : rows) {
        SCOPED_TRACE(::testing::Message() << kode << placering << " " << size << " at " << afstandFra);
        size == 3.0 ? slab(0.022, 4000e3, 4000e3 / 2.4, 5000) : slab();
        addLoad(kode, placering, size, afstandFra, afstand);
        M1::analysePass();
        EXPECT_TRUE(std::isnan(umax) || std::abs(umax - M1::umax) <= 1e-10 * umax) << M1::umax;
        M1::DofVector expected = {};
        for (const auto &[row, column, value] : entries)
            expected[wDof(row, column)] = value;
        for (int i = 1; i <= 243; ++i) {
            ASSERT_NEAR(expected[i], M1::FLang[i], 1e-11) << i;
            ASSERT_EQ(0.0, M1::FKort[i]) << i;
        }
    }
}

// t = 0.25, tau = 3, umaxDim = 0.001: R = tau t u + relief, relief = (2t + b) (2t + l) k umaxDim, tied at R = Fd.
TEST(Punching, ResistanceOfEachShapeAgainstTheDesignLoad) {
    const QString safe = "Sikkerhed for gennemlokning er i orden", failure = "Brud ! Fare for gennemlokning";
    const tuple<const char *, const char *, double, double, double, double, bool, QString> rows[] = {
        {"S", "K", 4.0, 0.5, 0.0, 1, true, safe},         // square 1.0: u = 4, relief 1.0; R = 3 + 1
        {"H", "K", 5.0, 0.5, 0.0, 1, true, safe},         // a wheel: relief 2.0 with the short-term 2000
        {"S", "R", 6.5, 0.5, 1.5, 1, true, safe},         // u = 2 (1.5 + 0.5 + 1.0) = 6, relief 2
        {"V", "L", 5.25, 0.5, 0.0, 1, true, safe},        // a line as 1.0 m long: u = 5, relief 1.5
        {"S", "X", 0.000001, 0.5, 0.0, 1, true, failure}, // no perimeter and no relief
        {"S", "K", 3.5, 0.5, 0.0, 1.2, true, failure},    // the design load 4.2 against 4.0
        {"S", "K", 1.0, 0.5, 0.0, 1, false, "Der er ikke undersøgt for gennemlokning !"}, // another slab type
        {"F", "", 100.0, 0.0, 0.0, 1, true, QString()}, // an area load is not checked, silently
    };
    for (const auto &[kode, form, size, b, l, partialK, concrete, remark] : rows) {
        slab(0.25);
        tie(M1::tau, M1::resBallasto, M1::resBallastn, M1::umaxDim, M1::ErBeton) =
            tuple(3, 2000, 1000, 0.001, concrete);
        addLoad(kode, "M", size);
        auto &L = M1::Laster;
        tie(L.FormBogstav[1], L.Bredde[1], L.Laengde[1], L.PartialK[1]) = tuple(form, b, l, partialK);
        M1::Gennemlokning(M1::Laster);
        EXPECT_EQ(remark.isEmpty() ? Texts{} : Texts{remark}, remarks()) << kode << form << " " << size;
    }
}

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

    // A row and column uncoupled from the others, so that its pivot is exactly what is set.
    const tuple<int, std::vector<tuple<int, int, double>>, int, int> rows[] = {
        {1, {{1, 30, -1.0}}, err::InvalidProcedureCall, 2},
        {1, {{1, 30, 0.0}}, err::Overflow, 5},                       // 0 / 0 below an uncoupled zero pivot
        {243, {{243, 30, 0.0}}, err::DivisionByZero, 16},            // a load over it
        {40, {{40, 30, 1e-300}, {41, 29, 1e200}}, err::Overflow, 5}, // L (41, 40) = 1e200 / 1e-150
        // the sum for L (102, 101) holds 1e300 x 1e10 and is reported before the division of its row
        {100, {{100, 30, 1.0}, {101, 29, 1e10}, {102, 28, 1e300}, {101, 30, 1e21}}, err::Overflow, 4},
    };
    for (const auto &[isolated, set, number, logNr] : rows) {
        std::memcpy(K0, slabK, sizeof K0);
        for (int c = 1; c < 30; ++c)
            K0[isolated][c] = 0.0;
        for (int i = isolated + 1; i <= std::min(243, isolated + 29); ++i)
            K0[i][isolated - i + 30] = 0.0;
        for (const auto &[row, column, value] : set)
            K0[row][column] = value;
        SCOPED_TRACE(::testing::Message() << "row " << isolated);
        forEachWidth([number = number, logNr = logNr] {
            expectRaises([] { M1::Solver(243, 30, K, F, u); }, number, "Solver", logNr);
        });
    }
}

// Bands and sizes that reach every run of chunks and the ends of the vector loops: odd and even n, a matrix no
// larger than its band, bands that end inside and at the edge of a 2-, 4- and 8-lane vector.
TEST(Solver, GivesThePlainLoopsBitsAtEveryWidth) {
    const std::pair<int, int> sizes[] = {{243, 30}, {242, 30}, {30, 30}, {21, 30}, {1, 30}, {200, 25}, {101, 17},
                                         {64, 16},  {50, 9},   {33, 8},  {12, 3},  {9, 2},  {7, 1}};
    for (const auto &[n, m] : sizes) {
        SCOPED_TRACE(::testing::Message() << "n " << n << ", band " << m);
        std::memset(K0, 0, sizeof K0);
        for (int r = 1; r <= n; ++r) {
            // diagonally dominant, so positive definite
            for (int p = std::max(1, r - m + 1); p < r; ++p)
                K0[r][p - r + m] = std::sin(0.7 * r + 1.3 * p) / 3.0;
            K0[r][m] = m + std::cos(double(r));
            F[r] = 10.0 * std::sin(r + 0.5);
        }
        M1::BandMatrix expectedL;
        std::memcpy(expectedL, K0, sizeof K0);
        M1::DofVector expectedU = {};
        plainSolve(n, m, expectedL, F, expectedU);
        forEachWidth([n = n, m = m, &expectedL, &expectedU] {
            M1::Solver(n, m, K, F, u);
            for (int r = 1; r <= n; ++r) {
                ASSERT_EQ(expectedU[r], u[r]) << "u " << r;
                for (int c = 1; c <= m; ++c)
                    ASSERT_EQ(expectedL[r][c], K[r][c]) << "L " << r << ", " << c;
            }
        });
    }
}

TEST(DesignPass, PlainCapacityDecidesTheRemarkAndWhichSidesGetReinforcement) {
    analysisLeft(5, -3, 17, 0.08); // no size bonus below 100 mm
    M2::designPass();
    EXPECT_EQ(1.0, M2::kh);
    analysisLeft(5, -3);
    M2::designPass();
    // Layouts saved for both steel types at the bottom and the top (-1: not looked at), and the remarks.
    const double Mkap = M2::Mkap, above = std::nextafter(Mkap, 1e9);
    const tuple<double, double, double, int, int, Texts> rows[] = {
        {Mkap, -Mkap, 17, 1, 0, {kUarmeret}}, // equal counts as unreinforced but is reinforced anyway
        {above, -above, 17, 1, 1, {}},
        {500, -500, 17, 0, 0, {kBrud}},  // once for both sides; no layout left from an earlier run
        {7, -500, 17, 1, 0, {}},         // a failing top after a saved bottom adds no remark
        {1686, -3, 500, -1, 0, {kBrud}}, // within the ratio limits but more steel than a 25 mm spacing holds
    };
    for (const auto &[MmaxDim, MminDim, fcd, bottom, top, expected] : rows) {
        analysisLeft(MmaxDim, MminDim, fcd);
        M2::designPass();
        EXPECT_EQ(expected, remarks()) << MmaxDim;
        for (int s = 1; s <= 2; ++s) {
            EXPECT_TRUE(bottom < 0 || bool(bottom) == (anySaved(M2::aU, s) && anySaved(M2::AsU, s))) << MmaxDim;
            EXPECT_EQ(bool(top), anySaved(M2::aO, s) && anySaved(M2::AsO, s)) << MminDim << " type " << s;
        }
    }
}

// One bottom layout of steel type 1 from the minimum area (the area for the spacing computed) or a crack width.
TEST(Reinforcement, SpacingIsRoundedDownInStepsCappedWithEnoughSteelAndNarrowedForCracks) {
    // t, bars, computed spacing, saved spacing, saved area (0: the saved spacing's), moment, allowed crack width
    const tuple<double, int, double, double, double, double, double> rows[] = {
        {0.2, 10, 300.0, 300.0, 0, 0, 0},     // the limit of a 200 mm slab
        {0.2, 10, 330.0, 300.0, 262.0, 0, 0}, // 325: the capped layout
        // 100 mm: the table's layout only where it holds the area needed, else 2.5 t in whole steps
        {0.1, 16, 305.0, 250.0, 804.24704, 0, 0}, // 300: needs 670.21, the table holds 670.0
        {0.1, 10, 305.0, 300.0, 262.0, 0, 0},     // 300: 261.8 needed, 262.0 held
        {0.095, 8, 255.0, 225.0, 0, 0, 0},        // 250 needs 201.1, the table holds 168.0
        {0.2, 10, 49.0, 0.0, 0.0, 0, 0},          // one step: not saved
        // 150 mm, 25 mm cover: 200 mm would crack 0.51 mm at 10 kNm/m, 150 mm still more than 0.3
        {0.15, 10, 200.0, 125.0, 0, 10.0, 0.3},
        {0.15, 10, 200.0, 0.0, 0, 10.0, 0.001}, // cannot be met: nothing saved
    };
    for (const auto &[t, d, computed, saved, area, M, wmax] : rows) {
        M2::resetState();
        tie(M2::t, M2::fcd, M2::ftk, M2::wmax, M2::kh, M2::fyd) = tuple(t, 20, 0, wmax, 1, 293);
        M2::c = wmax ? 25 : t < 0.12 ? 10 : 20; // cover, mm
        M2::AsMin = areaFor(d, computed);
        const int i = int(std::find(M2::kDiameter, M2::kDiameter + 6, d) - M2::kDiameter);
        M2::BeregnArmering(1, d, i, M, M, "u", 0.505);
        EXPECT_EQ(tuple(saved, 0.0), tuple(M2::aU[1][i], M2::aO[1][i])) << t << " " << d << " " << computed;
        expectNear(area != 0 || saved == 0 ? area : areaFor(d, saved), M2::AsU[1][i], 1e-12);
    }
}

// 0.002 m of deflection on 20000 kN/m³ long term (40 kN/m²) or 30000 short term, on one or two layers.
TEST(Insulation, PressureOfEachLayerAgainstWhatItAllows) {
    using Loads = std::vector<std::pair<const char *, double>>;
    // h1, its long- and short-term allowed pressure, the same for the lower layer, umax, loads; then the allowed and
    // actual pressures of both layers (NaN: not looked at), and whether that is too much
    const tuple<double, double, double, double, double, double, double, Loads, double, double, double, double, bool>
        rows[] = {
            {0.03, 60, 70, 0.02, 80, 90, 0.002, {}, 60 * 1.67, 80 * 1.67, 40, NAN, false}, // thin, long-term loads
            {0.05, 60, 70, 0.05, 80, 90, 0.002, {}, 60 * (1 + 2.0 / 9), 80 * (1 + 2.0 / 9), 40, NAN, false},
            {0.075, 60, 70, 0.05, 80, 90, 0.002, {}, 60, 80, 40, NAN, false},
            {0.03, 60, 70, 0.02, 80, 90, 0.002, {{"H", 50}}, 70, 90, 60, NAN, false},      // a wheel: k0, no raise
            {0.1, 60, 70, 0.1, 80, 90, 0.002, {{"F", 5}, {"F", 3}}, 60, 80, 40, 8, false}, // area loads pass unchanged
            // 60 kN spread through 100 mm: r = (60 / 38)^0.5, (r / (0.2 + r))² 38 + 2
            {0.1, 60, 70, 0.1, 80, 90, 0.002, {{"V", 10}, {"F", 2}}, 60, 80, 40, 30.280915448173438, false}, // 6 m
            {0.2, 40, 0, 0.1, 10, 0, 0.002, {{"S", 100}}, 40, 10, 40, 25.478284314644025, true}, // upper at its limit
        };
    for (const auto &[h1, zn1, zo1, h2, zn2, zo2, umax, loads, tilladt, tilladt2, faktisk, faktisk2, broken] : rows) {
        analysisLeft(0, 0);
        tie(M1::umax, M2::k0, M2::kn, M2::h1, M2::Zigman1, M2::Zigmao1, M2::h2, M2::Zigman2, M2::Zigmao2) =
            tuple(umax, 30000, 20000, h1, zn1, zo1, h2, zn2, zo2);
        for (const auto &[kode, size] : loads) {
            const int i = ++M1::Laster.AntalLaster;
            tie(M1::Laster.Kode[i], M1::Laster.Stoerrelse[i]) = tuple(kode, size);
            M1::KortLast |= kode == std::string("H");
        }
        M2::Isoleringstryk();
        SCOPED_TRACE(::testing::Message() << h1 << " / " << h2 << ", " << loads.size() << " loads");
        for (const auto &[expected, actual] :
             {std::pair(tilladt, M2::IsoTilladt), std::pair(tilladt2, M2::IsoTilladt2),
              std::pair(faktisk, M2::IsoFaktisk), std::pair(faktisk2, M2::IsoFaktisk2)})
            EXPECT_TRUE(std::isnan(expected) || std::abs(expected - actual) < 1e-12 * std::max(1.0, expected))
                << actual;
        EXPECT_EQ(broken ? Texts{kTrykBrud} : Texts{}, remarks());
    }
}

TEST(Steps, RaiseTheirRunTimeErrorWithTheProcedureAndStatement) {
    const tuple<const char *, int, int, void (*)()> rows[] = {
        // past the last row that the input check allows, and a node that overflows
        {"Punktlast", 4, err::SubscriptOutOfRange, [] { slab(), addLoad("S", "K", 10.0, 6.0), hoejreside(); }},
        {"Punktlast", 4, err::Overflow,
         [] { slab(), addLoad("S", "M", 1e308), addLoad("S", "M", 1e308), hoejreside(); }},
        {"BeregnArmering", 8, err::DivisionByZero, [] { M2::AsMin = 0, armering(); }},
        {"BeregnArmering", 9, err::Overflow, [] { M2::AsMin = 1e-6, armering(); }},        // a spacing of 7.9e10 mm
        {"Isoleringstryk", 3, err::Overflow, [] { M2::h1 = 40.0, M2::Isoleringstryk(); }}, // 40000 mm in 16 bits
        {"DaekSpend", 3, err::DivisionByZero, [] { M2::t = 0, M2::DaekSpend(); }},
        {"Isoleringstryk", 4, err::InvalidProcedureCall,
         [] { // more area load than the slab presses with
             auto &L = M1::Laster;
             tie(M2::h1, M2::h2, M2::Zigman2, L.AntalLaster, L.Kode[1], L.Stoerrelse[1], L.Kode[2], L.Stoerrelse[2]) =
                 tuple(0.1, 0.1, 80, 2, "F", 50, "S", 10);
             M2::Isoleringstryk();
         }},
    };
    for (const auto &[function, logNr, number, run] : rows) {
        analysisLeft(12, -15, 20, 0.2);
        tie(M2::c, M2::fyd, M2::kh) = tuple(20, 293, 1);
        expectRaises(run, number, function, logNr);
    }
}

TEST_F(Calculation, RunTimeErrorIsShownWithItsProcedureAndStatementAndWhatWasWrittenStays) {
    // Run on the database before the failing step (1 the design pass, 2 the characteristic pass, 3 the design); the
    // error shown; the reinforcement rows that the design leaves.
    const tuple<const char *, int, const char *, int, int, const char *, std::size_t> rows[] = {
        {"UPDATE inddata SET resBallastn = 0", 1, "Stivhedsmatrix", 6, err::Overflow, "Overflow", 0}, // 0 / 0
        {"UPDATE inddata SET resBallastn = 0; UPDATE inddatalast SET Lasttype = 'Fladelast'", 2, "Fladelast", 0,
         err::DivisionByZero, "Division by zero", 0},
        {"UPDATE inddata SET dæktykkelse = NULL", 3, "Beregn2", 5, err::InvalidUseOfNull, "Invalid use of Null", 0},
        // the result row fails after the punching check, whose names are left
        {"DROP TABLE ResultatBeton; CREATE TABLE ResultatBeton (Deformation DOUBLE)", 2, "saveopl", 0, 0, nullptr, 0},
        {"DELETE FROM inddataisolering WHERE lagnr = 2", 3, "Beregn2", 7, 0, nullptr, 0}, // the lower layer's row
        {"DROP TABLE ResultatOplysning", 3, "StoreDB2", 30, 0, nullptr, 20}, // late in the store: the rest is kept
        {"DROP TABLE ResultatArmering", 1, "init", 5, err::DbNoSuchTable, "no such table: ResultatArmering", 0},
    };
    for (const auto &[sql, step, function, logNr, number, description, armering] : rows) {
        testsupport::DatabaseFolder fresh; // each row breaks a table of its own
        modMain::cnInddata.Close();
        modMain::cnInddata = fresh.open(QStringLiteral("inddata.mdb"));
        designinput::writeConcreteInput();
        for (int done = 1; done < step; ++done)
            ASSERT_EQ(0, done < 3 ? M1::Beregn1(done == 1) : M2::Beregn2());
        tablehelpers::alterInddata(fresh, QString::fromUtf8(sql));
        messages->shown.clear();
        EXPECT_EQ(step < 3 ? 1 : 2, step < 3 ? M1::Beregn1(step == 1) : M2::Beregn2()) << sql;
        const QString text = shown(),
                      title = QStringLiteral("Der opstod et problem under eksekvering af beregningsrutine%1!")
                                  .arg(step < 3 ? 1 : 2),
                      expected = description ? data::ErrorReportText(title, function, logNr, number, description)
                                             : QStringLiteral("Function: %1, Log nr. %2\r").arg(function).arg(logNr);
        EXPECT_TRUE(description ? text == expected : text.contains(expected)) << text.toStdString();
        modMain::cnInddata.Close(); // reopened, so that nothing uncommitted could be read back
        modMain::cnInddata = fresh.open(QStringLiteral("inddata.mdb"));
        EXPECT_TRUE(step < 3 || armering == column("ResultatArmering", "a").size()) << sql;
        modMain::cnInddata.Close();
    }
    // A table that never opened fails to close, and that error goes to the caller.
    modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
    tablehelpers::alterInddata(folder, QStringLiteral("DROP TABLE inddataisolering"));
    messages->shown.clear();
    expectRaises([] { M2::Beregn2(); }, err::ObjectClosed, "Beregn2", 3);
    EXPECT_TRUE(shown().contains(QStringLiteral("Function: Beregn2, Log nr. 3\r")));
}

namespace {

// Results that cannot be stored (another program reads the file while they are committed) keep none of their rows
// and take nothing back of the input that the check stored before them; the next write is stored.
TEST_F(Calculation, ResultsThatCannotBeStoredLeaveTheInputAndThePreviousResults) {
    std::int32_t logNr = 0;
    ASSERT_EQ(0, calc::Calculate(logNr, [] { return 0; }));
    const std::vector<Variant> previous = column("ResultatBeton", "Deformation");
    testsupport::shortenBusyWait(modMain::cnInddata);
    std::optional<testsupport::FileReader> reader;
    QString error;
    try {
        calc::Calculate(logNr, [&] {
            tablehelpers::setFirst(modMain::cnInddata, "inddatalast", "Størrelse", 60.0); // the page's last edit
            reader.emplace(folder.file("inddata.mdb"));
            return 0;
        });
    } catch (const engine::RuntimeError &e) {
        error = e.description();
    }
    EXPECT_TRUE(error.endsWith("file already in use.")) << error.toStdString();
    EXPECT_EQ(logNr, 484);
    EXPECT_TRUE(messages->shown.empty());
    reader.reset();
    tablehelpers::setFirst(modMain::cnInddata, "projekt", "tekst", QStringLiteral("later"));
    modMain::cnInddata.Close();
    modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
    EXPECT_DOUBLE_EQ(column("inddatalast", "Størrelse").at(0).toDouble(), 60.0);
    EXPECT_EQ(column("ResultatBeton", "Deformation"), previous);
    EXPECT_EQ(column("projekt", "tekst").at(0).toString(), "later");
}

} // namespace
