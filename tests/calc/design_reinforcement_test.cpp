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

TEST_F(Reinforcement, ComputedSpacingIsRoundedDownToWholeSteps) {
    designAtMinimum(10, areaForSpacing(10, 237.6));
    EXPECT_EQ(225.0, M2::aU[1][3]);
    expectNear(areaForSpacing(10, 225.0), M2::AsU[1][3]);
    EXPECT_TRUE(M2::ArmeringFundet);
    EXPECT_TRUE(M2::BrudMeldt);
    EXPECT_EQ(0.0, M2::aO[1][3]);

    // The area of the rounded spacing to the last bit: 3.14159 / 4 x 36 x (1000 / 125).
    designAtMinimum(6, areaForSpacing(6, 140.0));
    EXPECT_EQ(125.0, M2::aU[1][1]);
    EXPECT_EQ(226.19448, M2::AsU[1][1]);
}

TEST_F(Reinforcement, RoundingTakesHalvesToEvenBeforeTheStep) {
    designAtMinimum(10, areaGivingExactly(10, 74.5)); // 74, not 75: two steps
    EXPECT_EQ(50.0, M2::aU[1][3]);
    designAtMinimum(12, areaGivingExactly(12, 174.5)); // 174: six steps
    EXPECT_EQ(150.0, M2::aU[1][4]);
    designAtMinimum(8, areaGivingExactly(8, 49.5)); // 50, not 49: two steps, and saved
    EXPECT_EQ(50.0, M2::aU[1][2]);
}

TEST_F(Reinforcement, SpacingBelowOneStepSavesNothingAndFindsNothing) {
    designAtMinimum(10, areaForSpacing(10, 24.4));
    EXPECT_EQ(0.0, M2::aU[1][3]);
    EXPECT_EQ(0.0, M2::AsU[1][3]);
    EXPECT_FALSE(M2::ArmeringFundet);
    EXPECT_FALSE(M2::BrudMeldt);
    EXPECT_TRUE(remarks().empty());
}

TEST_F(Reinforcement, SpacingOfOneStepCountsAsFoundButIsNotSaved) {
    designAtMinimum(10, areaForSpacing(10, 49.0));
    EXPECT_EQ(25.0, M2::a[1][3]);
    EXPECT_EQ(0.0, M2::aU[1][3]);
    EXPECT_EQ(0.0, M2::AsU[1][3]);
    EXPECT_TRUE(M2::ArmeringFundet);
    EXPECT_FALSE(M2::BrudMeldt);
    EXPECT_TRUE(remarks().empty());
}

TEST_F(Reinforcement, SpacingAtTheLimitsIsSavedAsComputed) {
    designAtMinimum(10, areaForSpacing(10, 300.0)); // 200 mm slab: 300 is the limit
    EXPECT_EQ(300.0, M2::aU[1][3]);
    expectNear(areaForSpacing(10, 300.0), M2::AsU[1][3]);

    M2::t = 0.1; // 2.5 times 100 mm
    designAtMinimum(12, areaForSpacing(12, 250.0));
    EXPECT_EQ(250.0, M2::aU[1][4]);
    expectNear(areaForSpacing(12, 250.0), M2::AsU[1][4]);
}

TEST_F(Reinforcement, SpacingAboveThreeHundredTakesTheCappedLayout) {
    designAtMinimum(10, areaForSpacing(10, 330.0));
    EXPECT_EQ(300.0, M2::aU[1][3]);
    EXPECT_EQ(262.0, M2::AsU[1][3]);
    EXPECT_TRUE(M2::BrudMeldt);

    designAtMinimum(6, areaForSpacing(6, 275.0)); // within the limits
    EXPECT_EQ(275.0, M2::aU[1][1]);
    designAtMinimum(6, areaForSpacing(6, 330.0)); // 325
    EXPECT_EQ(150.0, M2::aU[1][1]);
    EXPECT_EQ(188.0, M2::AsU[1][1]);
}

// In a 100 mm slab the table's layout is kept only where it holds at least the area needed; otherwise the
// spacing goes to the widest whole step within 2.5 times the thickness.
TEST_F(Reinforcement, ThinSlabCapKeepsAtLeastTheNeededArea) {
    M2::t = 0.1;
    M2::c = 10;
    designAtMinimum(16, areaForSpacing(16, 280.0)); // 275
    EXPECT_EQ(250.0, M2::aU[1][5]);
    expectNear(804.24704, M2::AsU[1][5]);

    designAtMinimum(16, areaForSpacing(16, 305.0)); // 300: needs 670.21, the table holds 670.0
    EXPECT_EQ(250.0, M2::aU[1][5]);
    expectNear(804.24704, M2::AsU[1][5]);

    designAtMinimum(10, areaForSpacing(10, 305.0)); // 300: 261.8 needed, 262.0 held
    EXPECT_EQ(300.0, M2::aU[1][3]);
    EXPECT_EQ(262.0, M2::AsU[1][3]);

    designAtMinimum(6, areaForSpacing(6, 280.0)); // 275
    EXPECT_EQ(150.0, M2::aU[1][1]);
    EXPECT_EQ(188.0, M2::AsU[1][1]);

    EXPECT_TRUE(M2::BrudMeldt);
    EXPECT_TRUE(remarks().empty());

    // 95 mm: whole steps below 237.5 mm give 225, with the area computed for it as written.
    M2::t = 0.095;
    designAtMinimum(8, areaForSpacing(8, 255.0)); // 250: needs 201.1, the table holds 168.0
    EXPECT_EQ(225.0, M2::aU[1][2]);
    EXPECT_EQ(3.14159 / 4 * 64 * 1000 / 225, M2::AsU[1][2]);
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
    M2::t = 0.15;
    M2::c = 25;
    M2::wmax = 0.3;
    M2::AsMin = areaForSpacing(10, 200.0);
    M2::BeregnArmering(1, 10, 3, 10.0, 0.0, QStringLiteral("u"), 0.505);
    EXPECT_EQ(125.0, M2::aU[1][3]);
    expectNear(100.0 * 3.14159 * 1000.0 / (125.0 * 4.0), M2::AsU[1][3]);
    EXPECT_LE(M2::w, 0.3);
    // One step wider would still crack too much.
    const double As150 = 100.0 * 3.14159 * 1000.0 / (150.0 * 4.0);
    const double w150 = std::sqrt(2.0 * 40.0 * 150.0 / 10.0) * (10.0e6 / (0.9 * 110.0 * As150) * 0.00005);
    EXPECT_GT(w150, 0.3);
}

TEST_F(Reinforcement, CrackWidthThatCannotBeMetSavesNothing) {
    M2::t = 0.15;
    M2::c = 25;
    M2::wmax = 0.001;
    M2::AsMin = areaForSpacing(10, 200.0);
    M2::BeregnArmering(1, 10, 3, 10.0, 0.0, QStringLiteral("u"), 0.505);
    EXPECT_EQ(0.0, M2::a[1][3]);
    expectNear(100.0 * 3.14159 * 1000.0 / (25.0 * 4.0), M2::As[1][3]); // left as it was for 25 mm
    EXPECT_EQ(0.0, M2::aU[1][3]);
    EXPECT_TRUE(M2::ArmeringFundet);
    EXPECT_FALSE(M2::BrudMeldt);
}

TEST_F(Reinforcement, NoCrackCheckWithoutAnAllowedWidth) {
    M2::t = 0.15;
    M2::c = 25;
    M2::AsMin = areaForSpacing(10, 200.0);
    M2::BeregnArmering(1, 10, 3, 1000.0, 0.0, QStringLiteral("u"), 0.505);
    EXPECT_EQ(200.0, M2::aU[1][3]);
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
    M2::AsMin = 0;
    try {
        M2::BeregnArmering(1, 10, 3, 0.0, 0.0, QStringLiteral("u"), 0.505);
        FAIL() << "no error";
    } catch (const engine::RuntimeError &e) {
        EXPECT_EQ(engine::err::DivisionByZero, e.number());
        EXPECT_EQ(QStringLiteral("BeregnArmering"), Module1::FunctionName);
        EXPECT_EQ(8, Module1::LogNr);
    }

    M2::AsMin = 1e-6; // about 7.9e10 mm
    try {
        M2::BeregnArmering(1, 10, 3, 0.0, 0.0, QStringLiteral("u"), 0.505);
        FAIL() << "no error";
    } catch (const engine::RuntimeError &e) {
        EXPECT_EQ(engine::err::Overflow, e.number());
        EXPECT_EQ(9, Module1::LogNr);
    }
    EXPECT_FALSE(M2::ArmeringFundet);
    EXPECT_EQ(0.0, M2::aU[1][3]);
}
