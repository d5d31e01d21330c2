// Load vectors: where each kind of load lands on the grid, the reduction near a joint, and the settlement.

#include "calc/analysis_state.h"
#include "engine/errors.h"

#include <cmath>
#include <gtest/gtest.h>

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
    // Everything except the given nodes is zero, rotations included.
    static void expectOnlyAt(const M1::DofVector &F, std::initializer_list<int> nodes) {
        for (int i = 1; i <= 243; ++i) {
            const int node = (i - 1) / 3 + 1;
            const bool listed = (i - 1) % 3 == 0 && std::find(nodes.begin(), nodes.end(), node) != nodes.end();
            if (!listed) {
                EXPECT_NEAR(0.0, F[i], 1e-12) << "entry " << i;
            }
        }
    }
};

TEST_F(Loads, PointLoadInTheMiddleLandsWhollyOnTheCentreNode) {
    addLoad("S", "M", 40.0, 1.0);
    M1::Hoejreside(M1::Laster);
    EXPECT_NEAR(40.0, at(M1::FLang, 5, 5), 40.0 * 1e-12);
    expectOnlyAt(M1::FLang, {41, 42, 50, 51});
    EXPECT_TRUE(M1::LangLast);
    EXPECT_FALSE(M1::KortLast);
    EXPECT_EQ(40.0, M1::Laster.Stoerrelse[1]);
    for (double v : M1::FKort)
        EXPECT_EQ(0.0, v);
}

TEST_F(Loads, LoadAtTheEdgeIsExtrapolatedFromTheFirstTwoRowsAndNeverReduced) {
    addLoad("S", "K", 10.0, 0.0);
    M1::Hoejreside(M1::Laster);
    EXPECT_NEAR(15.0, at(M1::FLang, 1, 5), 1e-12);
    EXPECT_NEAR(-5.0, at(M1::FLang, 2, 5), 1e-12);
    EXPECT_NEAR(10.0, total(M1::FLang), 1e-12);
    EXPECT_EQ(10.0, M1::Laster.Stoerrelse[1]);
}

TEST_F(Loads, WheelLoadGoesToTheShortTermCaseOnly) {
    addLoad("H", "M", 50.0);
    M1::Hoejreside(M1::Laster);
    EXPECT_TRUE(M1::KortLast);
    EXPECT_FALSE(M1::LangLast);
    EXPECT_NEAR(50.0, at(M1::FKort, 5, 5), 1e-11);
    EXPECT_EQ(0.0, total(M1::FLang));
}

TEST_F(Loads, LoadPairSixMetresApartSitsOnTheFieldEdges) {
    addLoad("L", "M", 20.0, 0.0, 6.0);
    M1::Hoejreside(M1::Laster);
    EXPECT_NEAR(30.0, at(M1::FLang, 5, 1), 1e-12);
    EXPECT_NEAR(-10.0, at(M1::FLang, 5, 2), 1e-12);
    EXPECT_NEAR(-10.0, at(M1::FLang, 5, 8), 1e-12);
    EXPECT_NEAR(30.0, at(M1::FLang, 5, 9), 1e-12);
    EXPECT_NEAR(40.0, total(M1::FLang), 1e-12);
}

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

TEST_F(Loads, AreaLoadOnZeroSubgradeModulusRaisesDivisionByZero) {
    M1::resBallastn = 0.0;
    addLoad("F", "M", 4.0);
    try {
        M1::Hoejreside(M1::Laster);
        FAIL() << "no error";
    } catch (const engine::RuntimeError &e) {
        EXPECT_EQ(engine::err::DivisionByZero, e.number());
        EXPECT_EQ(QStringLiteral("Fladelast"), M1::FunctionName);
    }
}

TEST_F(Loads, LoadsThatOverflowANodeRaiseOverflowInsteadOfLeavingInfinity) {
    addLoad("S", "M", 1.0e308);
    addLoad("S", "M", 1.0e308);
    try {
        M1::Hoejreside(M1::Laster);
        FAIL() << "no error";
    } catch (const engine::RuntimeError &e) {
        EXPECT_EQ(engine::err::Overflow, e.number());
        EXPECT_EQ(QStringLiteral("Punktlast"), M1::FunctionName);
        EXPECT_EQ(4, M1::LogNr);
    }
}

TEST_F(Loads, LoadBeyondTheGridIsAnIndexError) {
    addLoad("S", "K", 10.0, 6.0); // past the last row that the input check allows
    EXPECT_THROW(M1::Hoejreside(M1::Laster), engine::RuntimeError);
}

} // namespace
