// Reinforcement of one side, on the module state alone: spacing rounding, capped layouts, crack width and the
// failure remark.

#include "calc/analysis_state.h"
#include "calc/design.h"
#include "calc/design_checks.h"
#include "engine/errors.h"

#include <cmath>
#include <gtest/gtest.h>

namespace M2 = Module2;
using designchecks::expectNear;
using designchecks::remarks;

namespace {

// d² first, as the formula reads: ((pi / 4) * d) * d rounds differently for 6 and 12 mm bars.
double barArea(int d) { return 3.14159 / 4.0 * (d * d); }
// The area per metre that gives exactly the spacing s for bars of diameter d.
double areaForSpacing(int d, double s) { return barArea(d) * 1000.0 / s; }

// The area for which the spacing formula gives s to the last bit, so that a half is really a half.
double areaGivingExactly(int d, double s) {
    double as = areaForSpacing(d, s);
    for (int i = 0; i < 64 && barArea(d) * (1000.0 / as) != s; ++i)
        as = std::nextafter(as, barArea(d) * (1000.0 / as) > s ? INFINITY : 0.0);
    EXPECT_EQ(s, barArea(d) * (1000.0 / as));
    return as;
}

int diameterIndex(int d) {
    for (int i = 1; i <= M2::kDiametre; ++i)
        if (M2::kDiameter[i] == d)
            return i;
    return 0;
}

class Reinforcement : public ::testing::Test {
protected:
    void SetUp() override {
        Module1::AntalOplysninger = 0;
        for (auto &o : Module1::Oplysninger)
            o.clear();
        M2::resetState();
        M2::ArmeringFundet = false;
        M2::t = 0.2;
        M2::c = 20;
        M2::fcd = 20;
        M2::ftk = 0;
        M2::wmax = 0;
        M2::kh = 1.0;
        M2::fyd = 293.0;
    }

    // One combination with no design moment, so that the minimum area alone sets the spacing.
    void designAtMinimum(int d, double asMin, const char *side = "u", int s = 1) {
        M2::AsMin = asMin;
        M2::BeregnArmering(s, d, diameterIndex(d), 0.0, 0.0, QString::fromLatin1(side), 0.505);
    }
};

} // namespace

// One bottom layout from the minimum area alone: the computed spacing (or, with exact, the spacing that the area
// gives to the last bit, so that a half is really a half) against the saved spacing and area.
struct Layout {
    double t;
    int d;
    double computed;
    bool exact;
    double saved, area; // area 0: the area of the saved spacing
};

class Layouts : public Reinforcement, public ::testing::WithParamInterface<Layout> {};

TEST_P(Layouts, SpacingIsRoundedStepwiseAndCappedWithEnoughSteel) {
    const Layout l = GetParam();
    M2::t = l.t;
    M2::c = l.t < 0.12 ? 10 : 20;
    designAtMinimum(l.d, l.exact ? areaGivingExactly(l.d, l.computed) : areaForSpacing(l.d, l.computed));
    const int i = diameterIndex(l.d);
    EXPECT_EQ(l.saved, M2::aU[1][i]);
    expectNear(l.area != 0 ? l.area : areaForSpacing(l.d, l.saved), M2::AsU[1][i], l.area != 0 ? 0.0 : 1e-12);
    EXPECT_EQ(0.0, M2::aO[1][i]);
    if (l.computed <= std::min(300.0, 2500.0 * l.t)) {
        EXPECT_TRUE(M2::ArmeringFundet);
    }
    EXPECT_TRUE(M2::BrudMeldt);
    EXPECT_TRUE(remarks().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Spacings, Layouts,
    ::testing::Values(Layout{0.2, 10, 237.6, false, 225.0, 0},        // whole steps, rounded down
                      Layout{0.2, 6, 140.0, false, 125.0, 226.19448}, // 3.14159 / 4 x 36 x (1000 / 125), bit for bit
                      Layout{0.2, 10, 74.5, true, 50.0, 0},           // halves to even: 74, two steps
                      Layout{0.2, 12, 174.5, true, 150.0, 0},         // 174: six steps
                      Layout{0.2, 8, 49.5, true, 50.0, 0},            // 50, not 49: two steps, and saved
                      Layout{0.2, 10, 300.0, false, 300.0, 0},        // the limit of a 200 mm slab
                      Layout{0.1, 12, 250.0, false, 250.0, 0},        // 2.5 times 100 mm
                      Layout{0.2, 10, 330.0, false, 300.0, 262.0},    // 325: the capped layout
                      Layout{0.2, 6, 275.0, false, 275.0, 0}, Layout{0.2, 6, 330.0, false, 150.0, 188.0},
                      // 100 mm: the table's layout only where it holds the area needed, else 2.5 t in whole steps
                      Layout{0.1, 16, 280.0, false, 250.0, 804.24704}, // 275
                      Layout{0.1, 16, 305.0, false, 250.0, 804.24704}, // 300: needs 670.21, the table holds 670.0
                      Layout{0.1, 10, 305.0, false, 300.0, 262.0},     // 300: 261.8 needed, 262.0 held
                      Layout{0.1, 6, 280.0, false, 150.0, 188.0},      // 275
                      // 95 mm: 250 needs 201.1, the table holds 168.0; whole steps below 237.5 give 225
                      Layout{0.095, 8, 255.0, false, 225.0, 3.14159 / 4 * 64 * 1000 / 225}));

TEST_F(Reinforcement, SpacingOfOneStepOrLessIsNotSavedAndBelowOneStepNotFound) {
    designAtMinimum(10, areaForSpacing(10, 49.0));
    EXPECT_EQ(25.0, M2::a[1][3]);
    EXPECT_EQ(0.0, M2::aU[1][3]);
    EXPECT_EQ(0.0, M2::AsU[1][3]);
    EXPECT_TRUE(M2::ArmeringFundet);
    EXPECT_FALSE(M2::BrudMeldt);

    M2::ArmeringFundet = false;
    designAtMinimum(10, areaForSpacing(10, 24.4));
    EXPECT_EQ(0.0, M2::aU[1][3]);
    EXPECT_FALSE(M2::ArmeringFundet);
    EXPECT_FALSE(M2::BrudMeldt);
    EXPECT_TRUE(remarks().empty());
}

TEST_F(Reinforcement, CappedTopLayoutIsSavedForTheTop) {
    M2::t = 0.1;
    M2::c = 10;
    designAtMinimum(16, areaForSpacing(16, 280.0), "o", 2);
    EXPECT_EQ(250.0, M2::aO[2][5]);
    expectNear(804.24704, M2::AsO[2][5]);
    designAtMinimum(10, areaForSpacing(10, 330.0), "o", 2);
    EXPECT_EQ(300.0, M2::aO[2][3]);
    EXPECT_EQ(262.0, M2::AsO[2][3]);
    EXPECT_EQ(0.0, M2::aU[2][5]);
    EXPECT_EQ(0.0, M2::AsU[2][3]);
}

TEST_F(Reinforcement, SideMustMatchExactly) {
    designAtMinimum(10, areaForSpacing(10, 200.0), "U");
    EXPECT_EQ(0.0, M2::aU[1][3]);
    EXPECT_EQ(0.0, M2::aO[1][3]);
    EXPECT_TRUE(M2::BrudMeldt); // the layout counts as handled all the same
}

TEST_F(Reinforcement, CrackWidthLowersTheSpacingStepByStep) {
    // 150 mm slab, 25 mm cover, 10 mm bars: deff 110 mm; 200 mm spacing gives w of about 0.51 mm at 10 kNm/m.
    const auto design = [](double wmax, double M) {
        M2::t = 0.15;
        M2::c = 25;
        M2::wmax = wmax;
        M2::AsMin = areaForSpacing(10, 200.0);
        M2::BeregnArmering(1, 10, 3, M, 0.0, QStringLiteral("u"), 0.505);
    };
    design(0.3, 10.0);
    EXPECT_EQ(125.0, M2::aU[1][3]);
    expectNear(100.0 * 3.14159 * 1000.0 / (125.0 * 4.0), M2::AsU[1][3]);
    EXPECT_LE(M2::w, 0.3);
    // One step wider would still crack too much.
    const double As150 = 100.0 * 3.14159 * 1000.0 / (150.0 * 4.0);
    const double w150 = std::sqrt(2.0 * 40.0 * 150.0 / 10.0) * (10.0e6 / (0.9 * 110.0 * As150) * 0.00005);
    EXPECT_GT(w150, 0.3);

    design(0.0, 1000.0); // no allowed width: no crack check
    EXPECT_EQ(200.0, M2::aU[1][3]);

    M2::resetState();
    M2::ArmeringFundet = false;
    design(0.001, 10.0); // cannot be met: nothing saved
    EXPECT_EQ(0.0, M2::a[1][3]);
    expectNear(100.0 * 3.14159 * 1000.0 / (25.0 * 4.0), M2::As[1][3]); // left as it was for 25 mm
    EXPECT_EQ(0.0, M2::aU[1][3]);
    EXPECT_TRUE(M2::ArmeringFundet);
    EXPECT_FALSE(M2::BrudMeldt);
}

TEST_F(Reinforcement, SteelTypeTwoFailsWhereTypeOneIsSaved) {
    // deff = 165 mm for 10 mm bars; a design moment that needs omega = 0.47 (between 0.448 and 0.505).
    M2::fcd = 1.0;
    const double deff = 165.0, omegaNeeded = 0.47;
    const double mu = (1.0 - (1.0 - omegaNeeded) * (1.0 - omegaNeeded)) / 2.0;
    const double Mdim = mu * deff * deff * M2::fcd / 1000.0;
    M2::BeregnArmeringsSkema(Mdim, Mdim, QStringLiteral("u"));
    EXPECT_GT(M2::aU[1][3], 0.0);
    EXPECT_EQ(0.0, M2::aU[2][3]);
    EXPECT_EQ(0.0, M2::AsU[2][3]);
    // Both types see the same depth and mu; only the limit on omega differs.
    M2::BeregnArmering(1, 10, 3, Mdim, Mdim, QStringLiteral("u"), 0.505);
    expectNear(mu, M2::my);
    M2::BeregnArmering(2, 10, 3, Mdim, Mdim, QStringLiteral("u"), 0.448);
    expectNear(mu, M2::my);
    expectNear(omegaNeeded, M2::omega, 1e-9);
    // Type 1 saved its layouts first, so type 2's failures add no remark.
    EXPECT_TRUE(remarks().empty());
}

TEST_F(Reinforcement, SchemeRunsBothSteelTypesWithTheirMinimumAreas) {
    M2::ftk = 1600.0; // 1.6 MPa
    M2::kh = 0.9;
    M2::BeregnArmeringsSkema(0.0, 0.0, QStringLiteral("u"));
    EXPECT_EQ(2, M2::StaalType);
    expectNear(0.9 * 1760.0 * 1600.0 * 0.2 / 2122.2, M2::AsMin);
    // 8 mm bars of type 1 at the minimum area 320.4 mm²/m: 156.9 mm, so 150.
    EXPECT_EQ(150.0, M2::aU[1][2]);
    for (int s = 1; s <= 2; ++s)
        for (int i = 1; i <= 5; ++i)
            EXPECT_GT(M2::aU[s][i], 0.0) << s << " " << i;
}

TEST_F(Reinforcement, EveryFailureReasonAddsTheRemarkOnlyOnce) {
    M2::t = 0.03; // 6 mm bars and 20 mm cover do not fit
    M2::BeregnArmering(1, 6, 1, 1.0, 1.0, QStringLiteral("u"), 0.505);
    M2::t = 0.2;
    M2::BeregnArmering(1, 6, 1, 1e4, 1e4, QStringLiteral("u"), 0.505); // 1 - 2 mu <= 0
    EXPECT_EQ(std::vector<QString>{QStringLiteral("Brud ! Pladen kan ikke holde")}, remarks());
    EXPECT_TRUE(M2::BrudMeldt);
    EXPECT_FALSE(M2::ArmeringFundet);
}

TEST_F(Reinforcement, NoAreaOrASpacingBeyondAWholeNumberIsARunTimeError) {
    const auto design = [] { M2::BeregnArmering(1, 10, 3, 0.0, 0.0, QStringLiteral("u"), 0.505); };
    M2::AsMin = 0;
    designchecks::expectRaises(design, engine::err::DivisionByZero, "BeregnArmering", 8);
    M2::AsMin = 1e-6; // about 7.9e10 mm
    designchecks::expectRaises(design, engine::err::Overflow, "BeregnArmering", 9);
    EXPECT_FALSE(M2::ArmeringFundet);
    EXPECT_EQ(0.0, M2::aU[1][3]);
}
