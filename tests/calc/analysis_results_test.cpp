// Moments, deflection and punching: the values a pass leaves for the result row and the design.

#include "calc/analysis_state.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

namespace M1 = Module1;

namespace {

int wDof(int row, int column) { return 3 * (9 * (row - 1) + column - 1) + 1; }

class Pass : public ::testing::Test {
protected:
    void SetUp() override {
        M1::resetState();
        M1::Laster = {};
        M1::Eo = 31000.0e3;
        M1::En = 10300.0e3;
        M1::Go = 12900.0e3;
        M1::Gn = 4300.0e3;
        M1::resBallasto = 18750.0;
        M1::resBallastn = 11538.0;
        M1::t = 0.15;
        M1::tau = 700.0;
        M1::ErBeton = true;
        M1::umaxDim = 0.0;
    }
    static void addLoad(const char *kode, const char *form, double size, double bredde = 0.1, double afstand = 0.0) {
        auto &L = M1::Laster;
        const int i = ++L.AntalLaster;
        L.Kode[i] = QString::fromUtf8(kode);
        L.FormBogstav[i] = QString::fromUtf8(form);
        L.PlaceringBogstav[i] = QStringLiteral("M");
        L.Stoerrelse[i] = size;
        L.Bredde[i] = bredde;
        L.Laengde[i] = bredde;
        L.Afstand[i] = afstand;
        L.PartialK[i] = 1.0;
    }
};

TEST_F(Pass, PointLoadInTheMiddleBendsAllFourBeamsAtTheNodeAlike) {
    addLoad("S", "K", 40.0);
    M1::analysePass();
    const double M = M1::Msnit[37][1]; // x-beam from node 41
    EXPECT_GT(M, 0.0);
    EXPECT_NEAR(M, M1::Msnit[36][2], 1e-9 * M);  // x-beam into node 41
    EXPECT_NEAR(M, M1::Msnit[108][2], 1e-9 * M); // y-beam into node 41
    EXPECT_NEAR(M, M1::Msnit[109][1], 1e-9 * M); // y-beam from node 41
    EXPECT_NEAR(1.75 * M, M1::Mmax, 1e-9 * M);
    EXPECT_LE(M1::Mmin, 0.0);
    EXPECT_EQ(M1::uLang[wDof(5, 5)], M1::umax);
    for (int i = 1; i <= 243; ++i)
        EXPECT_EQ(0.0, M1::uKort[i]);
}

TEST_F(Pass, SolutionIsSymmetricAboutTheCentreLine) {
    addLoad("L", "K", 30.0, 0.1, 2.0); // loads at x = 2.0 and 4.0
    M1::analysePass();
    double largest = 0.0;
    for (double v : M1::uLang)
        largest = std::max(largest, std::abs(v));
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 4; ++c) {
            const int left = wDof(r, c), right = wDof(r, 10 - c);
            EXPECT_NEAR(M1::uLang[left], M1::uLang[right], 1e-9 * largest) << r << "," << c;
            EXPECT_NEAR(std::abs(M1::uLang[left + 1]), std::abs(M1::uLang[right + 1]), 1e-9 * largest);
            EXPECT_NEAR(std::abs(M1::uLang[left + 2]), std::abs(M1::uLang[right + 2]), 1e-9 * largest);
        }
    // The stiffness and the load agree: A u = F, checked on the rebuilt matrix.
    M1::Stivhedsmatrix(M1::resBallastn, M1::En, M1::Gn, M1::Kband, M1::KeX, M1::KeY);
    for (int r = 1; r <= 243; ++r) {
        double s = 0.0;
        for (int p = std::max(1, r - 29); p <= std::min(243, r + 29); ++p)
            s += (p <= r ? M1::Kband[r][p - r + 30] : M1::Kband[p][r - p + 30]) * M1::uLang[p];
        EXPECT_NEAR(M1::FLang[r], s, 1e-9 * 30.0) << r;
    }
}

TEST_F(Pass, AreaLoadAloneOnlySettlesTheSlab) {
    addLoad("F", "", 5.0);
    M1::analysePass();
    for (int e = 1; e <= 144; ++e) {
        EXPECT_EQ(0.0, M1::Msnit[e][1]);
        EXPECT_EQ(0.0, M1::Msnit[e][2]);
    }
    EXPECT_EQ(0.0, M1::Mmax);
    EXPECT_EQ(0.0, M1::Mmin);
    EXPECT_DOUBLE_EQ(5.0 / 11538.0, M1::umax);
    EXPECT_EQ(0, M1::AntalOplysninger);
}

TEST_F(Pass, WheelAndPointLoadAddTheirMomentsAndDeflections) {
    // The moment at node 41 and the centre deflection of the given loads alone.
    const auto pass = [](std::initializer_list<std::pair<const char *, double>> loads, const M1::DofVector &u) {
        M1::resetState();
        M1::Laster = {};
        for (const auto &[kode, size] : loads)
            addLoad(kode, "K", size);
        M1::analysePass();
        return std::pair(M1::Msnit[37][1], u[wDof(5, 5)]);
    };
    const auto [longOnly, uLongOnly] = pass({{"S", 40.0}}, M1::uLang);
    const auto [shortOnly, uShortOnly] = pass({{"H", 50.0}}, M1::uKort);
    pass({{"S", 40.0}, {"H", 50.0}}, M1::uLang);
    EXPECT_NEAR(longOnly + shortOnly, M1::Msnit[37][1], 1e-12 * (longOnly + shortOnly));
    EXPECT_NEAR(uLongOnly + uShortOnly, M1::umax, 1e-12 * M1::umax);
    ASSERT_EQ(1, M1::AntalOplysninger);
    EXPECT_EQ(QStringLiteral("Der er ikke undersøgt for gennemlokning !"), M1::Oplysninger[1]);
}

// Reference values from a separate model of the same grillage, solved densely by Gaussian elimination.
struct Reference {
    const char *kode, *placering;
    double size, afstandFra;
    double Mmax, Mmin, umax, reducedSize;
};

class IndependentSolve : public Pass, public ::testing::WithParamInterface<Reference> {};

TEST_P(IndependentSolve, AgreesOnMomentsDeflectionAndLoadSize) {
    const Reference r = GetParam();
    addLoad(r.kode, "K", r.size);
    M1::Laster.PlaceringBogstav[1] = QString::fromUtf8(r.placering);
    M1::Laster.AfstandFra[1] = r.afstandFra;
    M1::analysePass();
    EXPECT_NEAR(r.Mmax, M1::Mmax, 1e-10 * std::abs(r.Mmax));
    EXPECT_NEAR(r.Mmin, M1::Mmin, 1e-10 * std::abs(r.Mmin));
    EXPECT_NEAR(r.umax, M1::umax, 1e-10 * r.umax);
    EXPECT_NEAR(r.reducedSize, M1::Laster.Stoerrelse[1], 1e-12 * r.size);
}

INSTANTIATE_TEST_SUITE_P(Loads, IndependentSolve,
                         ::testing::Values(Reference{"S", "M", 40.0, 0.0, 8.0240970052725764, -1.1257498505711898,
                                                     8.522177565568449e-4, 40.0},
                                           Reference{"H", "F", 50.0, 0.5, 7.2161023077953814, -1.2032233283263851,
                                                     5.1724038947212607e-4, 25.694444444444443},
                                           Reference{"V", "K", 10.0, 0.2, 0.44375409292154333, -1.7944743809722354,
                                                     1.6299565565904394e-3, 10.0}));

TEST_F(Pass, EdgeLoadOnAThinSoftSlabReportsItsDeflectionNotItsRotation) {
    M1::En = 4000.0e3;
    M1::Gn = 4000.0e3 / 2.4;
    M1::resBallastn = 5000.0;
    M1::t = 0.022;
    addLoad("S", "K", 3.0);
    M1::Laster.PlaceringBogstav[1] = QStringLiteral("K");
    M1::Laster.AfstandFra[1] = 0.1;
    M1::analysePass();
    double rotation = 0.0, deflection = 0.0;
    for (int i = 1; i <= 243; ++i) {
        double &largest = (i - 1) % 3 == 0 ? deflection : rotation;
        largest = std::max(largest, M1::uLang[i]);
    }
    ASSERT_GT(rotation, 1.5 * deflection) << "the case must have a rotation above every deflection";
    EXPECT_EQ(deflection, M1::umax);
    EXPECT_NEAR(3.2300036496433894e-3, M1::umax, 1e-10 * M1::umax); // the separate dense model
}

TEST(FindMax, ScalesTheGoverningMomentsAndKeepsTheFirstOfEqualOnes) {
    M1::resetState();
    M1::Msnit[3][2] = 8.0;
    M1::Msnit[90][1] = 8.0;
    M1::Msnit[17][1] = -5.0;
    M1::Msnit[140][2] = 2.0;
    M1::FindMaxM();
    EXPECT_DOUBLE_EQ(14.0, M1::Mmax);
    EXPECT_DOUBLE_EQ(-4.0, M1::Mmin);
    EXPECT_EQ(QStringLiteral("FindMaxM"), M1::FunctionName);

    M1::resetState();
    M1::Msnit[5][1] = -3.0;
    M1::FindMaxM();
    EXPECT_EQ(0.0, M1::Mmax);
    EXPECT_DOUBLE_EQ(-2.4, M1::Mmin);
}

TEST(FindMax, RotationsNeverCountAsDeflection) {
    M1::resetState();
    M1::Saetning = 0.0005;
    M1::uLang[wDof(1, 1) + 1] = 0.05; // a rotation near the edge, in radians
    M1::uKort[wDof(9, 9) + 2] = 0.08;
    M1::uLang[wDof(3, 4)] = 0.0010;
    M1::uKort[wDof(3, 4)] = 0.0004;
    M1::uLang[wDof(6, 6)] = 0.0013;
    M1::FindMaxu();
    EXPECT_DOUBLE_EQ(0.0005 + 0.0014, M1::umax);
    EXPECT_EQ(QStringLiteral("FindMaxu"), M1::FunctionName);

    // Only upward deflections: the settlement alone.
    M1::resetState();
    M1::Saetning = 0.002;
    M1::uLang[wDof(2, 2)] = -0.001;
    M1::FindMaxu();
    EXPECT_EQ(0.002, M1::umax);
}

class Punching : public ::testing::Test {
protected:
    void SetUp() override {
        M1::resetState();
        M1::Laster = {};
        M1::ErBeton = true;
        M1::t = 0.25;
        M1::tau = 3.0;
        M1::resBallasto = 2000.0;
        M1::resBallastn = 1000.0;
        M1::umaxDim = 0.001;
    }
    static void load(const char *kode, const char *form, double size, double b, double l = 0.0) {
        auto &L = M1::Laster;
        L.AntalLaster = 1;
        L.Kode[1] = QString::fromUtf8(kode);
        L.FormBogstav[1] = QString::fromUtf8(form);
        L.Stoerrelse[1] = size;
        L.Bredde[1] = b;
        L.Laengde[1] = l;
        L.PartialK[1] = 1.0;
    }
    static QString remark() {
        EXPECT_EQ(1, M1::AntalOplysninger);
        return M1::Oplysninger[1];
    }
    // The one remark for a single load checked afresh.
    static QString check(const char *kode, const char *form, double size, double b, double l = 0.0) {
        M1::resetState();
        load(kode, form, size, b, l);
        M1::Gennemlokning(M1::Laster);
        return remark();
    }
};

const QString kSafe = QStringLiteral("Sikkerhed for gennemlokning er i orden");
const QString kFailure = QStringLiteral("Brud ! Fare for gennemlokning");

// t = 0.25, tau = 3, umaxDim = 0.001: R = tau t u + relief, relief = (2t + b) (2t + l) k umaxDim, tied at R = Fd.
TEST_F(Punching, ResistanceOfEachShapeAgainstTheDesignLoad) {
    struct Case {
        const char *kode, *form;
        double size, b, l;
        const QString &remark;
    } cases[] = {
        {"S", "K", 4.0, 0.5, 0.0, kSafe}, // square 1.0: u = 4, relief 1.0; R = 3 + 1
        {"S", "K", 4.000001, 0.5, 0.0, kFailure},
        {"S", "C", 4.0, 0.5, 0.0, kSafe}, // a circle counts as a square of its diameter
        {"S", "C", 4.000001, 0.5, 0.0, kFailure},
        {"H", "K", 5.0, 0.5, 0.0, kSafe}, // wheel load: relief 2.0 with the short-term 2000 kN/m³
        {"S", "R", 6.5, 0.5, 1.5, kSafe}, // rectangle: u = 2 (1.5 + 0.5 + 1.0) = 6, relief 2: R = 4.5 + 2
        {"S", "R", 6.500001, 0.5, 1.5, kFailure},
        {"V", "L", 5.25, 0.5, 0.0, kSafe}, // line load as 1.0 m long: u = 5, relief 1.5: R = 3.75 + 1.5
        {"V", "L", 5.250001, 0.5, 0.0, kFailure},
        {"S", "X", 0.000001, 0.5, 0.0, kFailure}, // an unknown shape has neither perimeter nor relief
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.remark, check(c.kode, c.form, c.size, c.b, c.l)) << c.kode << c.form << " " << c.size;

    M1::resetState();
    load("S", "K", 3.5, 0.5);
    M1::Laster.PartialK[1] = 1.2; // the design load is the size times its partial coefficient: 4.2 against 4.0
    M1::Gennemlokning(M1::Laster);
    EXPECT_EQ(kFailure, remark());
}

TEST_F(Punching, NotCheckedForSeveralLoadsOrAnotherSlabTypeAndSilentForAnAreaLoad) {
    const QString notChecked = QStringLiteral("Der er ikke undersøgt for gennemlokning !");
    load("S", "K", 1.0, 0.5);
    M1::Laster.AntalLaster = 2;
    M1::Gennemlokning(M1::Laster);
    EXPECT_EQ(notChecked, remark());

    M1::resetState();
    load("S", "K", 1.0, 0.5);
    M1::ErBeton = false;
    M1::Gennemlokning(M1::Laster);
    EXPECT_EQ(notChecked, remark());
    EXPECT_EQ(QStringLiteral("saveopl"), M1::FunctionName);

    M1::resetState();
    M1::ErBeton = true;
    load("F", "", 100.0, 0.0);
    M1::Gennemlokning(M1::Laster);
    EXPECT_EQ(0, M1::AntalOplysninger);
}

TEST(Remarks, TenAreKeptInOrderAndAnEleventhIsDropped) {
    M1::resetState();
    for (int i = 1; i <= 11; ++i)
        M1::saveopl(QStringLiteral("Oplysning %1").arg(i));
    ASSERT_EQ(10, M1::AntalOplysninger);
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(QStringLiteral("Oplysning %1").arg(i), M1::Oplysninger[i]);
    M1::resetState();
    EXPECT_EQ(0, M1::AntalOplysninger);
    EXPECT_TRUE(M1::Oplysninger[1].isEmpty());
}

} // namespace
