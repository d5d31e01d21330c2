// Pressure on the insulation layers and the bending stresses of slabs other than concrete.

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

const QString kTrykBrud = QStringLiteral("Brud ! Tryk på isolering er for stort");

class Insulation : public ::testing::Test {
protected:
    void SetUp() override {
        Module1::AntalOplysninger = 0;
        Module1::KortLast = false;
        Module1::Laster = {};
        Module1::umax = 0.002;
        M2::k0 = 30000;
        M2::kn = 20000; // 40 kN/m² long term
        layers(0.2, 60, 50, 0.0, 0, 0);
    }
    static void layers(double h1, double zigman1, double zigmao1, double h2, double zigman2, double zigmao2) {
        M2::h1 = h1;
        M2::Zigman1 = zigman1;
        M2::Zigmao1 = zigmao1;
        M2::h2 = h2;
        M2::Zigman2 = zigman2;
        M2::Zigmao2 = zigmao2;
    }
    static void addLoad(const char *kode, double size) {
        auto &L = Module1::Laster;
        ++L.AntalLaster;
        L.Kode[L.AntalLaster] = QString::fromLatin1(kode);
        L.Stoerrelse[L.AntalLaster] = size;
    }
    // The lower layer's pressure for a concentrated load P spread through hu, plus the area load q.
    static double spread(double IsoFaktisk, double P, double q, double hu) {
        const double p = IsoFaktisk - q, r = std::sqrt(P / p);
        return std::pow(r / (2.0 * hu + r), 2) * p + q;
    }
};

} // namespace

TEST_F(Insulation, OneLayerIsComparedAlone) {
    M2::Isoleringstryk();
    expectNear(40.0, M2::IsoFaktisk);
    EXPECT_EQ(60.0, M2::IsoTilladt);
    EXPECT_EQ(0.0, M2::IsoTilladt2);
    EXPECT_EQ(0.0, M2::IsoFaktisk2);
    EXPECT_EQ(M2::kn, M2::k);
    EXPECT_TRUE(remarks().empty());

    Module1::umax = 0.004; // 80 against 60
    M2::Isoleringstryk();
    EXPECT_EQ(std::vector<QString>{kTrykBrud}, remarks());

    layers(0.0, 0, 0, 0.2, 45, 55); // without an upper layer the lower one takes its place
    M2::Isoleringstryk();
    EXPECT_EQ(45.0, M2::IsoTilladt);
    EXPECT_EQ(0.0, M2::IsoTilladt2);
    EXPECT_EQ(0.0, M2::IsoFaktisk2);
}

TEST_F(Insulation, ThinInsulationUnderLongTermLoadsMayTakeMore) {
    layers(0.03, 60, 70, 0.02, 80, 90); // 50 mm in all
    M2::Isoleringstryk();
    expectNear(60 * 1.67, M2::IsoTilladt);
    expectNear(80 * 1.67, M2::IsoTilladt2);

    layers(0.05, 60, 70, 0.05, 80, 90); // 100 mm
    M2::Isoleringstryk();
    expectNear(60 * (1 + 2.0 / 225.0 * 25), M2::IsoTilladt);
    expectNear(80 * (1 + 2.0 / 225.0 * 25), M2::IsoTilladt2);

    layers(0.051, 60, 70, 0.0, 0, 0); // 51 mm: just past the flat raise
    M2::Isoleringstryk();
    expectNear(60 * (1 + 2.0 / 225.0 * 74), M2::IsoTilladt);

    layers(0.075, 60, 70, 0.05, 80, 90); // 125 mm
    M2::Isoleringstryk();
    EXPECT_EQ(60.0, M2::IsoTilladt);
    EXPECT_EQ(80.0, M2::IsoTilladt2);
}

TEST_F(Insulation, WheelLoadUsesShortTermValuesAndIsRaisedOnlyWhenTheModuliAgree) {
    Module1::KortLast = true;
    addLoad("H", 50);
    layers(0.03, 60, 70, 0.02, 80, 90);
    M2::Isoleringstryk();
    EXPECT_EQ(M2::k0, M2::k);
    EXPECT_EQ(70.0, M2::IsoTilladt); // k0 differs from kn: no raise
    EXPECT_EQ(90.0, M2::IsoTilladt2);
    expectNear(0.002 * 30000, M2::IsoFaktisk);

    M2::k0 = M2::kn;
    M2::Isoleringstryk();
    expectNear(70 * 1.67, M2::IsoTilladt);
    expectNear(90 * 1.67, M2::IsoTilladt2);
}

TEST_F(Insulation, AreaLoadsPassToTheLowerLayerUnchanged) {
    layers(0.1, 60, 70, 0.1, 80, 90);
    addLoad("F", 5);
    addLoad("F", 3);
    M2::Isoleringstryk();
    EXPECT_EQ(8.0, M2::IsoFaktisk2); // P = 0, r = 0

    Module1::umax = 0.25; // pressure of exactly the area load
    M2::kn = 32;
    M2::Isoleringstryk();
    EXPECT_EQ(8.0, M2::IsoFaktisk);
    EXPECT_EQ(M2::IsoFaktisk, M2::IsoFaktisk2);
}

TEST_F(Insulation, ConcentratedLoadsSpreadThroughTheUpperLayer) {
    layers(0.1, 60, 70, 0.1, 80, 90);
    addLoad("V", 10); // a line load counts with 6 m of it
    addLoad("F", 2);
    M2::Isoleringstryk();
    expectNear(spread(40, 60, 2, 0.1), M2::IsoFaktisk2);

    Module1::Laster = {};
    addLoad("S", 40);
    addLoad("L", 20); // a load pair counts once
    addLoad("F", 2);
    M2::Isoleringstryk();
    expectNear(spread(40, 60, 2, 0.1), M2::IsoFaktisk2);
}

TEST_F(Insulation, EitherLayerOverloadedGivesOneRemarkAndEqualityPasses) {
    layers(0.2, 40, 0, 0.1, 10, 0);
    addLoad("S", 100);
    M2::Isoleringstryk(); // upper exactly at 40; the lower overloaded as well
    EXPECT_EQ(40.0, M2::IsoFaktisk);
    EXPECT_GT(M2::IsoFaktisk2, M2::IsoTilladt2);
    EXPECT_EQ(std::vector<QString>{kTrykBrud}, remarks());

    Module1::AntalOplysninger = 0;
    layers(0.2, 40, 0, 0.1, 1000, 0);
    M2::Isoleringstryk();
    EXPECT_TRUE(remarks().empty());
}

TEST_F(Insulation, ImpossibleSpreadingAndHugeThicknessAreRunTimeErrors) {
    layers(0.1, 60, 70, 0.1, 80, 90);
    addLoad("F", 50); // more area load than the slab presses with: P / p < 0
    addLoad("S", 10);
    designchecks::expectRaises(M2::Isoleringstryk, engine::err::InvalidProcedureCall, "Isoleringstryk", 4);

    layers(40.0, 60, 70, 0.0, 0, 0); // 40000 mm does not fit a 16-bit whole number
    designchecks::expectRaises(M2::Isoleringstryk, engine::err::Overflow, "Isoleringstryk", 3);
}

class BendingStress : public ::testing::Test {
protected:
    void SetUp() override {
        Module1::AntalOplysninger = 0;
        Module1::MmaxDim = 12;
        Module1::MminDim = -15;
        M2::t = 0.2;
        M2::fcd = 3;
        M2::ftd = 3;
    }
};

TEST_F(BendingStress, LargerMomentGovernsBothStresses) {
    M2::DaekSpend();
    expectNear(2.25, M2::SpaendTraek);
    expectNear(2.25, M2::SpaendTryk);
    EXPECT_TRUE(remarks().empty());

    Module1::MmaxDim = 16;
    M2::DaekSpend();
    expectNear(2.4, M2::SpaendTryk);
}

TEST_F(BendingStress, EitherStrengthExceededGivesOneRemarkAndZeroThicknessRaises) {
    M2::ftd = 2;
    M2::DaekSpend();
    EXPECT_EQ(std::vector<QString>{QStringLiteral("Pladen kan ikke holde !")}, remarks());

    Module1::AntalOplysninger = 0;
    M2::ftd = 3;
    M2::fcd = 1;
    M2::DaekSpend();
    EXPECT_EQ(1, Module1::AntalOplysninger);

    Module1::AntalOplysninger = 0;
    M2::fcd = M2::SpaendTryk;
    M2::ftd = M2::SpaendTraek;
    M2::DaekSpend();
    EXPECT_EQ(0, Module1::AntalOplysninger);

    M2::t = 0;
    designchecks::expectRaises(M2::DaekSpend, engine::err::DivisionByZero, "DaekSpend", 3);
}
