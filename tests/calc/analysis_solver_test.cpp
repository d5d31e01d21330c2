// The banded Cholesky solver: accuracy against a dense solve, the exact rounding of the sums taken in rising order,
// and the run-time errors of a matrix that is not positive definite.

#include "calc/analysis_solver.h"
#include "calc/analysis_state.h"
#include "engine/errors.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace M1 = Module1;

namespace {

M1::BandMatrix K, K0;
M1::DofVector F, u;

// A (r, p) of the band matrix K0, symmetric.
double entry(int m, int r, int p) {
    if (r < p)
        std::swap(r, p);
    return r - p < m ? K0[r][p - r + m] : 0.0;
}

// A random symmetric positive-definite band matrix B Bᵀ, B lower band with a dominant diagonal.
void randomBand(int n, int m, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> B(static_cast<size_t>(n + 1) * (n + 1), 0.0);
    for (int r = 1; r <= n; ++r)
        for (int p = std::max(1, r - m + 1); p <= r; ++p)
            B[r * (n + 1) + p] = p == r ? m + dist(rng) * 0.5 : dist(rng);
    std::memset(K0, 0, sizeof K0);
    for (int r = 1; r <= n; ++r)
        for (int p = std::max(1, r - m + 1); p <= r; ++p) {
            double s = 0.0;
            for (int q = 1; q <= p; ++q)
                s += B[r * (n + 1) + q] * B[p * (n + 1) + q];
            K0[r][p - r + m] = s;
        }
    for (int i = 1; i <= n; ++i)
        F[i] = dist(rng);
    std::memcpy(K, K0, sizeof K);
}

// Dense Gaussian elimination with partial pivoting, as an independent reference.
std::vector<double> denseSolve(int n, int m) {
    std::vector<double> a(static_cast<size_t>(n) * n), x(n);
    for (int r = 0; r < n; ++r) {
        for (int p = 0; p < n; ++p)
            a[r * n + p] = entry(m, r + 1, p + 1);
        x[r] = F[r + 1];
    }
    for (int c = 0; c < n; ++c) {
        int piv = c;
        for (int r = c + 1; r < n; ++r)
            if (std::abs(a[r * n + c]) > std::abs(a[piv * n + c]))
                piv = r;
        for (int p = 0; p < n; ++p)
            std::swap(a[c * n + p], a[piv * n + p]);
        std::swap(x[c], x[piv]);
        for (int r = c + 1; r < n; ++r) {
            const double f = a[r * n + c] / a[c * n + c];
            for (int p = c; p < n; ++p)
                a[r * n + p] -= f * a[c * n + p];
            x[r] -= f * x[c];
        }
    }
    for (int r = n - 1; r >= 0; --r) {
        double s = x[r];
        for (int p = r + 1; p < n; ++p)
            s -= a[r * n + p] * x[p];
        x[r] = s / a[r * n + r];
    }
    return x;
}

// The solver written out plainly in band storage: every sum from 0 in rising p, then subtracted and divided.
void plainSolve(int n, int m, M1::BandMatrix &A, const M1::DofVector &b, M1::DofVector &x) {
    auto L = [&](int r, int p) -> double & { return A[r][p - r + m]; };
    for (int i = 1; i <= n; ++i) {
        double s = 0.0;
        for (int p = std::max(1, i - m + 1); p <= i - 1; ++p)
            s += L(i, p) * L(i, p);
        L(i, i) = std::sqrt(L(i, i) - s);
        for (int r = i + 1; r <= std::min(i + m - 1, n); ++r) {
            double t = 0.0;
            for (int p = std::max(1, r - m + 1); p <= i - 1; ++p)
                t += L(r, p) * L(i, p);
            L(r, i) = (L(r, i) - t) / L(i, i);
        }
    }
    double y[M1::kFrihedsgrader + 1] = {};
    for (int i = 1; i <= n; ++i) {
        double s = 0.0;
        for (int p = std::max(1, i - m + 1); p <= i - 1; ++p)
            s += L(i, p) * y[p];
        y[i] = (b[i] - s) / L(i, i);
    }
    for (int i = n; i >= 1; --i) {
        double s = 0.0;
        for (int p = i + 1; p <= std::min(i + m - 1, n); ++p)
            s += L(p, i) * x[p];
        x[i] = (y[i] - s) / L(i, i);
    }
}

std::uint64_t bits(double x) { return std::bit_cast<std::uint64_t>(x); }

void expectSameBits(int n, int m, const M1::BandMatrix &expectedK, const M1::DofVector &expectedU) {
    for (int i = 1; i <= n; ++i) {
        ASSERT_EQ(bits(expectedU[i]), bits(u[i])) << "u(" << i << ") " << expectedU[i] << " " << u[i];
        for (int c = 1; c <= m; ++c)
            ASSERT_EQ(bits(expectedK[i][c]), bits(K[i][c])) << "L at " << i << "," << c;
    }
}

// Every vector width the processor offers, then back to the widest.
template <class Body> void forEachWidth(Body body) {
    for (int lanes : {8, 4, 2}) {
        if (!M1::useSolverLanes(lanes))
            continue;
        SCOPED_TRACE(::testing::Message() << lanes << " lanes");
        body();
    }
    M1::useSolverLanes(0);
}

// Solving K0 and F gives the plain algorithm's factor and solution to the last bit at every width.
void expectPlainRounding(int n, int m) {
    static M1::BandMatrix plainK;
    static M1::DofVector plainU;
    std::memcpy(plainK, K0, sizeof plainK);
    plainSolve(n, m, plainK, F, plainU);
    forEachWidth([&] {
        std::memcpy(K, K0, sizeof K);
        M1::Solver(n, m, K, F, u);
        expectSameBits(n, m, plainK, plainU);
    });
}

struct Shape {
    int n, m;
};

class SolverShapes : public ::testing::TestWithParam<Shape> {};

TEST_P(SolverShapes, MatchesADenseSolveAndLeavesTheFactorInTheBand) {
    const auto [n, m] = GetParam();
    randomBand(n, m, 1234u + n + m);
    M1::Solver(n, m, K, F, u);
    const std::vector<double> ref = denseSolve(n, m);
    double scale = 0.0;
    for (double v : ref)
        scale = std::max(scale, std::abs(v));
    for (int i = 1; i <= n; ++i)
        EXPECT_NEAR(ref[i - 1], u[i], 1e-12 * scale) << i;
    // L Lᵀ gives the matrix back.
    for (int r = 1; r <= n; ++r)
        for (int p = std::max(1, r - m + 1); p <= r; ++p) {
            double s = 0.0;
            for (int q = std::max(1, r - m + 1); q <= p; ++q)
                s += K[r][q - r + m] * K[p][q - p + m];
            EXPECT_NEAR(entry(m, r, p), s, 1e-12 * std::abs(K0[r][m])) << r << "," << p;
        }
}

TEST_P(SolverShapes, RoundsExactlyLikeThePlainAlgorithmAtEveryWidth) {
    const auto [n, m] = GetParam();
    randomBand(n, m, 99u + n * m);
    for (int i = 1; i <= n / 3; ++i) // loads only further down, and a negative zero
        F[i] = 0.0;
    F[n / 3] = -0.0;
    expectPlainRounding(n, m);
}

INSTANTIATE_TEST_SUITE_P(Bands, SolverShapes,
                         ::testing::Values(Shape{243, 30}, Shape{60, 8}, Shape{40, 1}, Shape{30, 30}, Shape{7, 3},
                                           Shape{100, 17}, Shape{243, 2}));

TEST(Solver, RoundsExactlyLikeThePlainAlgorithmOnTheSlabStiffness) {
    M1::resetState();
    M1::t = 0.15;
    M1::Topologi();
    M1::Stivhedsmatrix(18750.0, 31000.0e3, 12900.0e3, K0, M1::KeX, M1::KeY);
    for (int i = 1; i <= 243; ++i)
        F[i] = i % 3 == 1 ? 10.0 * std::sin(i) : 0.0;
    expectPlainRounding(243, 30);
    EXPECT_EQ(QStringLiteral("Solver"), M1::FunctionName);
    EXPECT_EQ(22, M1::LogNr);
}

TEST(Solver, ZeroLoadGivesZero) {
    randomBand(243, 30, 7u);
    std::fill(std::begin(F), std::end(F), 0.0);
    std::fill(std::begin(u), std::end(u), 1.0);
    M1::Solver(243, 30, K, F, u);
    for (int i = 1; i <= 243; ++i)
        EXPECT_EQ(0.0, u[i]);
}

// Row and column `row` of the matrix uncoupled from the others.
void isolate(int row) {
    for (int c = 1; c < 30; ++c)
        K0[row][c] = 0.0;
    for (int r = row + 1; r <= std::min(243, row + 29); ++r)
        K0[r][row - r + 30] = 0.0;
}

// Solving K0 fails at every width with this error and statement number.
void expectFailure(int number, int logNr) {
    forEachWidth([&] {
        std::memcpy(K, K0, sizeof K);
        try {
            M1::Solver(243, 30, K, F, u);
            FAIL() << "no error";
        } catch (const engine::RuntimeError &e) {
            EXPECT_EQ(number, e.number());
            EXPECT_EQ(QStringLiteral("Solver"), M1::FunctionName);
            EXPECT_EQ(logNr, M1::LogNr);
        }
    });
}

struct Failure {
    int row;      // where the matrix is spoilt
    double value; // new diagonal entry
    int number;
    int logNr;
};

class SolverFailures : public ::testing::TestWithParam<Failure> {};

TEST_P(SolverFailures, RaiseWithTheStatementNumber) {
    const Failure f = GetParam();
    randomBand(243, 30, 5u);
    isolate(f.row); // so that its pivot is exactly the new diagonal
    K0[f.row][30] = f.value;
    expectFailure(f.number, f.logNr);
}

INSTANTIATE_TEST_SUITE_P(Pivots, SolverFailures,
                         ::testing::Values(Failure{1, -1.0, engine::err::InvalidProcedureCall, 2},
                                           Failure{240, -1.0, engine::err::InvalidProcedureCall, 7},
                                           // 0 / 0 below an uncoupled zero pivot, and a load over it
                                           Failure{1, 0.0, engine::err::Overflow, 5},
                                           Failure{230, 0.0, engine::err::Overflow, 10},
                                           Failure{243, 0.0, engine::err::DivisionByZero, 16}));

TEST(Solver, ZeroPivotWithACouplingBelowItDividesByZero) {
    randomBand(243, 30, 6u);
    isolate(50);
    K0[50][30] = 0.0;
    K0[51][29] = 1.0; // A (51, 50)
    expectFailure(engine::err::DivisionByZero, 5);
}

TEST(Solver, OverflowingFactorRaisesOverflowWhereItFirstHappens) {
    randomBand(243, 30, 11u);
    isolate(40);
    K0[40][30] = 1e-300; // L (40, 40) = 1e-150, and L (41, 40) = 1e200 / 1e-150 overflows
    K0[41][29] = 1e200;
    expectFailure(engine::err::Overflow, 5);
    // A sum that overflows is reported before the division of its row.
    randomBand(243, 30, 12u);
    isolate(100);
    K0[100][30] = 1.0;
    K0[101][29] = 1e10;  // L (101, 100)
    K0[102][28] = 1e300; // L (102, 100): the sum for L (102, 101) holds 1e300 x 1e10
    K0[101][30] = 1e21;
    expectFailure(engine::err::Overflow, 4);
}

TEST(Solver, RefusesShapesOutsideItsStorage) {
    EXPECT_THROW(M1::Solver(244, 30, K, F, u), engine::RuntimeError);
    EXPECT_THROW(M1::Solver(243, 31, K, F, u), engine::RuntimeError);
    EXPECT_THROW(M1::Solver(243, 0, K, F, u), engine::RuntimeError);
}

} // namespace
