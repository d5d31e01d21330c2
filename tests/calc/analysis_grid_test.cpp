// The grillage: numbering, element stiffness of a beam on an elastic foundation, and the banded assembly.

#include "calc/analysis_state.h"
#include "calc/design_checks.h"
#include "engine/errors.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace M1 = Module1;

namespace {

constexpr double E = 30000.0e3; // kN/m²
constexpr double G = 12500.0e3;

void expectRel(double expected, double actual, double rel) {
    EXPECT_NEAR(expected, actual, std::abs(expected) * rel) << "expected " << expected << ", got " << actual;
}

class Grid : public ::testing::Test {
protected:
    void SetUp() override {
        M1::resetState();
        M1::t = 0.15;
        M1::Topologi();
    }
};

TEST_F(Grid, NumbersElementsAlongXThenColumnByColumnAlongY) {
    for (int j = 1; j <= 6; ++j)
        EXPECT_EQ(j, M1::Topo[j][1]);            // node 1 to node 2
    EXPECT_EQ(3 * (8 - 1) + 1, M1::Topo[1][8]);  // element 8 starts at node 8 ...
    EXPECT_EQ(3 * (10 - 1) + 1, M1::Topo[1][9]); // ... element 9 at node 10, the next row
    const int y1[] = {1, 2, 3, 28, 29, 30};      // element 73: node 1 to node 10
    for (int j = 1; j <= 6; ++j)
        EXPECT_EQ(y1[j - 1], M1::Topo[j][73]);
    EXPECT_EQ(3 * (2 - 1) + 1, M1::Topo[1][73 + 8]); // column 2 starts at node 2
    EXPECT_EQ(3 * (81 - 1) + 3, M1::Topo[6][144]);

    int widest = 0;
    for (int e = 1; e <= 144; ++e)
        for (int j = 2; j <= 6; ++j) {
            EXPECT_LT(M1::Topo[j - 1][e], M1::Topo[j][e]);
            widest = std::max(widest, M1::Topo[j][e] - M1::Topo[1][e]);
        }
    EXPECT_EQ(29, widest);
}

TEST_F(Grid, StiffnessTendsToPlainBeamAsSubgradeModulusVanishes) {
    M1::Stivhedsmatrix(1e-3, E, G, M1::Kband, M1::KeX, M1::KeY);
    const double L = 6.0 / 9.0, b = 6.0 / 9.0, t = 0.15;
    const double EI = E * b * t * t * t / 12.0;
    expectRel(12 * EI / (L * L * L), M1::KeX[1][1], 1e-6);
    expectRel(6 * EI / (L * L), M1::KeX[1][3], 1e-6);
    expectRel(4 * EI / L, M1::KeX[3][3], 1e-6);
    expectRel(2 * EI / L, M1::KeX[3][6], 1e-6);
    expectRel(-12 * EI / (L * L * L), M1::KeX[1][4], 1e-6);
    // Torsion: G J / L, with J of a wide strip close to b t³ / 3.
    const double GJ = M1::KeX[2][2] * L;
    EXPECT_GT(GJ, 0.0);
    expectRel(-GJ / L, M1::KeX[2][5], 1e-6);
}

TEST_F(Grid, TorsionConstantFollowsTheSectionShape) {
    const double L = 6.0 / 9.0, b = 6.0 / 9.0;
    // Square section: J = 0.1407 t³ b.
    M1::t = b;
    M1::Stivhedsmatrix(1e-6, E, G, M1::Kband, M1::KeX, M1::KeY);
    expectRel(0.1407 * b * b * b * b, M1::KeX[2][2] * L / G, 1e-3);
    // A thin strip lying flat and one standing on edge both tend to a third of the long side times the short cubed.
    M1::t = b / 1000.0;
    M1::Stivhedsmatrix(1e-12, E, G, M1::Kband, M1::KeX, M1::KeY);
    expectRel(M1::t * M1::t * M1::t * b / 3.0, M1::KeX[2][2] * L / G, 2e-3);
    M1::t = b * 1000.0;
    M1::Stivhedsmatrix(1e-6, E, G, M1::Kband, M1::KeX, M1::KeY);
    expectRel(b * b * b * M1::t / 3.0, M1::KeX[2][2] * L / G, 2e-3);
}

TEST_F(Grid, ElementMatricesAreSymmetricAndTheYElementMirrorsTheXElement) {
    M1::Stivhedsmatrix(20000.0, E, G, M1::Kband, M1::KeX, M1::KeY);
    const int swap[7] = {0, 1, 3, 2, 4, 6, 5};
    auto isRotation = [](int i) { return i != 1 && i != 4; };
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j) {
            EXPECT_EQ(M1::KeX[i][j], M1::KeX[j][i]);
            EXPECT_EQ(M1::KeY[i][j], M1::KeY[j][i]);
            const double sign = isRotation(i) != isRotation(j) ? -1.0 : 1.0;
            EXPECT_EQ(sign * M1::KeX[i][j], M1::KeY[swap[i]][swap[j]]) << i << "," << j;
        }
    // The foundation adds to the plain beam's stiffness against deflection.
    const double EI = E * (6.0 / 9.0) * 0.15 * 0.15 * 0.15 / 12.0;
    EXPECT_GT(M1::KeX[1][1], 12 * EI / std::pow(6.0 / 9.0, 3));
}

TEST_F(Grid, AssemblyHoldsTheWholeMatrixInTheLowerBand) {
    M1::Stivhedsmatrix(20000.0, E, G, M1::Kband, M1::KeX, M1::KeY);
    std::vector<double> A(244 * 244, 0.0);
    for (int e = 1; e <= 144; ++e) {
        const auto &Ke = e <= 72 ? M1::KeX : M1::KeY;
        for (int i = 1; i <= 6; ++i)
            for (int j = 1; j <= 6; ++j)
                A[M1::Topo[i][e] * 244 + M1::Topo[j][e]] += Ke[i][j];
    }
    for (int r = 1; r <= 243; ++r) {
        EXPECT_GT(M1::Kband[r][30], 0.0);
        for (int c = 1; c <= 30; ++c) {
            const int col = r - 30 + c;
            if (col < 1) {
                EXPECT_EQ(0.0, M1::Kband[r][c]) << r << "," << c;
            } else {
                EXPECT_NEAR(A[r * 244 + col], M1::Kband[r][c], 1e-9 * M1::Kband[r][30]) << r << "," << c;
            }
        }
        for (int col = 1; col <= r - 30; ++col)
            EXPECT_EQ(0.0, A[r * 244 + col]) << "outside the band: " << r << "," << col;
    }
}

TEST_F(Grid, ZeroSubgradeModulusRaisesInsteadOfLeavingNaN) {
    // lambda = 0 makes 0/0
    designchecks::expectRaises([] { M1::Stivhedsmatrix(0.0, E, G, M1::Kband, M1::KeX, M1::KeY); },
                               engine::err::Overflow, "Stivhedsmatrix", 6);
    EXPECT_THROW(M1::Stivhedsmatrix(-1.0, E, G, M1::Kband, M1::KeX, M1::KeY), engine::RuntimeError);
    M1::t = 0.0;
    EXPECT_THROW(M1::Stivhedsmatrix(20000.0, E, G, M1::Kband, M1::KeX, M1::KeY), engine::RuntimeError);
}

} // namespace
