// The design checks in the driver's order, on the analysis results left in Module1: unreinforced capacity,
// which sides get reinforcement, and the remarks that follow.

#include "calc/analysis_state.h"
#include "calc/design.h"
#include "calc/design_checks.h"

#include <cmath>
#include <gtest/gtest.h>

namespace M2 = Module2;
using designchecks::expectNear;
using designchecks::remarks;

namespace {

const QString kUarmeret = QStringLiteral("Pladen kan holde uarmeret");
const QString kBrud = QStringLiteral("Brud ! Pladen kan ikke holde");

bool anySaved(const M2::Skema &spacing, int s) {
    for (int i = 1; i <= M2::kDiametre; ++i)
        if (spacing[s][i] != 0)
            return true;
    return false;
}

// A C25-like slab of 150 mm on one 200 mm insulation layer, moments small enough to need little steel.
class DesignPass : public ::testing::Test {
protected:
    void SetUp() override {
        designchecks::analysisLeft(5, 7, -2, -3);
        M2::t = 0.15;
        M2::ftk = 1700;
        M2::c = 25;
        M2::fcd = 17;
        M2::ftd = 1.2;
        M2::wmax = 0;
        M2::k0 = M2::kn = 15000;
        M2::h1 = 0.2;
        M2::Zigmao1 = M2::Zigman1 = 100;
        M2::h2 = M2::Zigmao2 = M2::Zigman2 = 0;
        run();
    }
    static void run() {
        Module1::AntalOplysninger = 0;
        M2::resetState();
        M2::designPass();
    }
};

} // namespace

TEST_F(DesignPass, SizeFactorIsCappedAtOneForThinSlabs) {
    for (double t : {0.08, 0.1}) {
        M2::t = t;
        run();
        EXPECT_EQ(1.0, M2::kh) << t;
        expectNear(t * t / 6.0 * 1.6 * 1700 / 2.5, M2::Mkap);
    }
    M2::t = 0.16;
    run();
    expectNear(std::pow(1 / 1.6, 0.25), M2::kh);
    EXPECT_NEAR(0.889, M2::kh, 0.0005);
    expectNear(M2::kh * 1.6 * (1700 / 2.5), M2::fbt);
    expectNear(0.16 * 0.16 / 6.0, M2::W);
    expectNear(M2::W * M2::fbt, M2::Mkap);
}

TEST_F(DesignPass, DesignMomentEqualToCapacityCountsAsUnreinforcedButIsReinforcedAnyway) {
    Module1::MmaxDim = M2::Mkap;
    run();
    EXPECT_EQ(std::vector<QString>{kUarmeret}, remarks());
    EXPECT_TRUE(anySaved(M2::aU, 1));
    EXPECT_TRUE(anySaved(M2::aU, 2));

    Module1::MmaxDim = std::nextafter(M2::Mkap, 1e9);
    run();
    EXPECT_TRUE(remarks().empty());
}

TEST_F(DesignPass, TopIsDesignedOnlyWhenTheNegativeMomentExceedsTheCapacity) {
    Module1::MminDim = -M2::Mkap;
    run();
    EXPECT_FALSE(anySaved(M2::aO, 1));
    EXPECT_FALSE(anySaved(M2::AsO, 2));

    Module1::MminDim = -std::nextafter(M2::Mkap, 1e9);
    run();
    EXPECT_TRUE(anySaved(M2::aO, 1));
    EXPECT_TRUE(anySaved(M2::aO, 2));
    EXPECT_TRUE(anySaved(M2::AsO, 2));
}

TEST_F(DesignPass, SlabThatCannotBeReinforcedIsReportedOnceForBothSides) {
    Module1::MmaxDim = 500;
    Module1::MminDim = -500;
    run();
    EXPECT_EQ(std::vector<QString>{kBrud}, remarks());
    // Every run starts without the layouts that SetUp's run saved.
    EXPECT_FALSE(anySaved(M2::aU, 1));
    EXPECT_FALSE(anySaved(M2::AsU, 1));
    EXPECT_FALSE(anySaved(M2::aO, 2));
}

TEST_F(DesignPass, BottomThatFindsNoSpacingIsReportedByTheDriver) {
    // Within the ratio limits (mu about 0.26 to 0.31) but more steel than a 25 mm spacing holds.
    M2::fcd = 500;
    Module1::MmaxDim = 1686;
    run();
    EXPECT_FALSE(M2::ArmeringFundet);
    EXPECT_EQ(std::vector<QString>{kBrud}, remarks());
}

TEST_F(DesignPass, FailingTopAfterASavedBottomAddsNoRemark) {
    Module1::MminDim = -500;
    run();
    EXPECT_TRUE(anySaved(M2::aU, 1));
    EXPECT_FALSE(anySaved(M2::aO, 1));
    EXPECT_TRUE(remarks().empty());
}

TEST_F(DesignPass, RemarksFollowTheAnalysisInTheirOrder) {
    Module1::MmaxDim = 0.1;
    Module1::umax = 0.01; // 150 kN/m² on the insulation
    Module1::AntalOplysninger = 0;
    Module1::saveopl(QStringLiteral("Sikkerhed for gennemlokning er i orden"));
    M2::resetState();
    M2::designPass();
    EXPECT_EQ((std::vector<QString>{QStringLiteral("Sikkerhed for gennemlokning er i orden"), kUarmeret,
                                    QStringLiteral("Brud ! Tryk på isolering er for stort")}),
              remarks());
}

TEST_F(DesignPass, OtherSlabTypesGetStressesInsteadOfReinforcement) {
    Module1::ErBeton = false;
    Module1::MmaxDim = 1;
    M2::ftd = 0.5;
    M2::Mkap = 0;
    run();
    EXPECT_FALSE(anySaved(M2::aU, 1));
    EXPECT_FALSE(anySaved(M2::aU, 2));
    EXPECT_EQ(0.0, M2::Mkap);
    expectNear(6 * 3.0 / (0.15 * 0.15 * 1000), M2::SpaendTryk);
    EXPECT_EQ(std::vector<QString>{QStringLiteral("Pladen kan ikke holde !")}, remarks());
}
