// Load vectors: where each kind of load lands on the grid, the reduction near a joint, and the settlement.

#include "calc/analysis_state.h"
#include "calc/design_checks.h"
#include "engine/errors.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace M1 = Module1;

namespace {

// Deflection entry of node (row, column).
double &at(M1::DofVector &F, int row, int column) { return F[3 * (9 * (row - 1) + column - 1) + 1]; }

double total(const M1::DofVector &F) {
    double s = 0.0;
    for (int i = 1; i <= 243; ++i)
        s += F[i];
    return s;
}

class Loads : public ::testing::Test {
protected:
    void SetUp() override {
        M1::resetState();
        M1::Laster = {};
        M1::t = 0.15;
        M1::resBallastn = 8000.0;
        M1::Topologi();
    }
    static void addLoad(const char *kode, const char *placering, double size, double afstandFra = 0.0,
                        double afstand = 0.0) {
        auto &L = M1::Laster;
        const int i = ++L.AntalLaster;
        L.Kode[i] = QString::fromUtf8(kode);
        L.PlaceringBogstav[i] = QString::fromUtf8(placering);
        L.Stoerrelse[i] = size;
        L.AfstandFra[i] = afstandFra;
        L.Afstand[i] = afstand;
    }
};

// Where one concentrated load lands: deflection entries of nodes (row, column), nothing else anywhere.
struct Placement {
    const char *kode, *placering;
    double size, afstandFra, afstand;
    std::vector<std::tuple<int, int, double>> entries;
};

class Placements : public Loads, public ::testing::WithParamInterface<Placement> {};

TEST_P(Placements, LoadLandsOnItsNodesWithTheWeightsOfItsPosition) {
    const Placement &p = GetParam();
    addLoad(p.kode, p.placering, p.size, p.afstandFra, p.afstand);
    M1::Hoejreside(M1::Laster);
    const bool wheel = p.kode == std::string("H");
    EXPECT_EQ(wheel, M1::KortLast);
    EXPECT_EQ(!wheel, M1::LangLast);
    M1::DofVector &F = wheel ? M1::FKort : M1::FLang;
    M1::DofVector expected = {};
    double sum = 0.0;
    for (const auto &[row, column, value] : p.entries) {
        at(expected, row, column) = value;
        sum += value;
    }
    for (int i = 1; i <= 243; ++i)
        EXPECT_NEAR(expected[i], F[i], 1e-11) << "entry " << i;
    EXPECT_EQ(0.0, total(wheel ? M1::FLang : M1::FKort));
    EXPECT_NEAR(sum, total(F), 1e-11);
    EXPECT_EQ(p.size, M1::Laster.Stoerrelse[1]); // never reduced away from a joint
}

INSTANTIATE_TEST_SUITE_P(
    Weights, Placements,
    ::testing::Values(Placement{"S", "M", 40.0, 1.0, 0.0, {{5, 5, 40.0}}}, // the middle: wholly on the centre node
                      Placement{"H", "M", 50.0, 0.0, 0.0, {{5, 5, 50.0}}}, // a wheel load: short term only
                      // y = 0: extrapolated from the first two rows
                      Placement{"S", "K", 10.0, 0.0, 0.0, {{1, 5, 15.0}, {2, 5, -5.0}}},
                      // a pair 6.0 m apart sits on the field edges, extrapolated inwards
                      Placement{"L", "M", 20.0, 0.0, 6.0, {{5, 1, 30.0}, {5, 2, -10.0}, {5, 8, -10.0}, {5, 9, 30.0}}}));

TEST_F(Loads, JointReductionHalvesAtTheJointAndFadesOutOverThreeMetres) {
    struct Case {
        double y, factor;
    } cases[] = {{0.0, 0.5}, {1.5, 0.625}, {3.0, 1.0}, {4.0, 1.0}};
    for (const Case &c : cases) {
        double P = 100.0;
        M1::Punktlast(QStringLiteral("L"), P, QStringLiteral("F"), c.y, 3.0, 0.15);
        EXPECT_NEAR(100.0 * c.factor, P, 1e-12) << "y = " << c.y;
        double q = 10.0;
        M1::Linielast(QStringLiteral("L"), q, QStringLiteral("F"), c.y, 0.20);
        EXPECT_NEAR(10.0 * c.factor, q, 1e-12) << "line, y = " << c.y;
    }
    double P = 100.0;
    M1::Punktlast(QStringLiteral("L"), P, QStringLiteral("M"), 0.0, 3.0, 0.15);
    EXPECT_EQ(100.0, P);
}

TEST_F(Loads, ThinSlabShortensTheJointReach) {
    // 3.0 x (0.10 / 0.15)^0.5 = 2.449 m
    double inside = 100.0, beyond = 100.0, atJoint = 100.0;
    M1::Punktlast(QStringLiteral("L"), inside, QStringLiteral("F"), 2.44, 3.0, 0.10);
    M1::Punktlast(QStringLiteral("L"), beyond, QStringLiteral("F"), 2.45, 3.0, 0.10);
    M1::Punktlast(QStringLiteral("L"), atJoint, QStringLiteral("F"), 0.0, 3.0, 0.10);
    EXPECT_LT(inside, 100.0);
    EXPECT_GT(inside, 99.0);
    EXPECT_EQ(100.0, beyond);
    EXPECT_NEAR(50.0, atJoint, 1e-12);
}

TEST_F(Loads, LoadPairAtAJointIsReducedOnceForBothLoads) {
    addLoad("L", "F", 20.0, 0.0, 2.0);
    M1::Hoejreside(M1::Laster);
    EXPECT_NEAR(10.0, M1::Laster.Stoerrelse[1], 1e-12);
    EXPECT_NEAR(20.0, total(M1::FLang), 1e-12); // two loads of 10
}

TEST_F(Loads, LineLoadSpreadsOverTwoRowsWithItsWholeLength) {
    addLoad("V", "K", 5.0, 1.5);
    M1::Hoejreside(M1::Laster);
    EXPECT_NEAR(30.0, total(M1::FLang), 1e-12); // 6.0 m times 5 kN/m
    for (int c = 1; c <= 9; ++c) {
        EXPECT_NEAR(at(M1::FLang, 2, 1), at(M1::FLang, 2, c), 1e-12);
        EXPECT_NEAR(at(M1::FLang, 3, 1), at(M1::FLang, 3, c), 1e-12);
    }
    // y = 1.5 lies between rows 2 (1.0 m) and 3 (1.667 m): a quarter on row 2.
    EXPECT_NEAR(5.0 * 6.0 / 9.0 * 0.25, at(M1::FLang, 2, 1), 1e-12);
    EXPECT_NEAR(5.0 * 6.0 / 9.0 * 0.75, at(M1::FLang, 3, 1), 1e-12);
}

TEST_F(Loads, AreaLoadOnlyAddsSettlement) {
    addLoad("F", "F", 4.0);
    addLoad("F", "M", 2.0);
    M1::Hoejreside(M1::Laster);
    EXPECT_NEAR(6.0 / 8000.0, M1::Saetning, 1e-18);
    EXPECT_TRUE(M1::LangLast);
    EXPECT_EQ(0.0, total(M1::FLang));
    EXPECT_EQ(4.0, M1::Laster.Stoerrelse[1]); // an area load is never reduced
}

TEST_F(Loads, ZeroSubgradeModulusOrAnOverflowingNodeRaiseInsteadOfLeavingInfinity) {
    const auto hoejreside = [] { M1::Hoejreside(M1::Laster); };
    M1::resBallastn = 0.0;
    addLoad("F", "M", 4.0);
    designchecks::expectRaises(hoejreside, engine::err::DivisionByZero, "Fladelast", 0);
    M1::resBallastn = 8000.0;
    M1::Laster = {};
    addLoad("S", "M", 1.0e308);
    addLoad("S", "M", 1.0e308);
    designchecks::expectRaises(hoejreside, engine::err::Overflow, "Punktlast", 4);
}

TEST_F(Loads, LoadBeyondTheGridIsAnIndexError) {
    addLoad("S", "K", 10.0, 6.0); // past the last row that the input check allows
    EXPECT_THROW(M1::Hoejreside(M1::Laster), engine::RuntimeError);
}

} // namespace
