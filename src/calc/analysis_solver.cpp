// Banded Cholesky solve of the grillage stiffness.
//
// Every sum runs in rising p as a single accumulator, which fixes the rounding of the result. To keep that order
// and still use the vector units, the factorisation is right-looking: once a column is known, its term is added to
// the sums of the m - 1 columns after it, all rows of a column side by side, one row per vector lane. Each sum
// still grows in rising p, and no long chain of dependent additions holds up the next column. Terms that fall
// outside a row's band are exact zeros and leave its sum unchanged. The forward substitution rides along with the
// factorisation the same way; the back substitution is a plain loop, since each of its sums starts with the value
// found just before.

#include "calc/analysis_solver.h"
#include "calc/analysis_state.h"

#include "engine/checked.h"
#include "engine/errors.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Module1 {

namespace {

constexpr int kRows = 32;     // the diagonal and up to 29 rows below it, rounded up to whole vectors
constexpr int kPad = 64;      // a finished column and the zeros past it, as far as the widest shifted read reaches
constexpr int kAhead = 4;     // columns whose entries of A are held: this pair's and the next one's
constexpr int kNearHalf = 10; // the columns p + 3 .. p + 10 after a pair p, p + 1 take about half its terms' work

// sums[q][d]: the sum so far for L (q + d, q), over the columns finished until now. A row is cleared just
// before its first term arrives, so a solve touches only the rows it uses.
alignas(64) double sums[kFrihedsgrader + 1][kRows];
// The last four finished columns, L (j + d, j), zero past the band.
constexpr int kKept = 4;
alignas(64) double finished[kKept][kPad];
// A (q + d, q) of the next columns, gathered from the band rows ahead of use.
alignas(64) double ahead[kAhead][kRows];
double ywork[kFrihedsgrader + 1];

[[noreturn]] void fail(int logNr, int number) {
    LogNr = logNr;
    engine::raise(number);
}

// A quotient that came out infinite or NaN, raised as the runtime raised it (0 / 0 overflowed).
[[noreturn]] void failQuotient(int logNr, double numerator, double divisor) {
    LogNr = logNr;
    engine::checked::div(numerator, divisor);
    engine::raise(engine::err::Overflow);
}

typedef double Vec2 __attribute__((vector_size(2 * sizeof(double))));
typedef double Vec4 __attribute__((vector_size(4 * sizeof(double))));
typedef double Vec8 __attribute__((vector_size(8 * sizeof(double))));

// By reference: a vector returned or passed by value would change the calling convention.
template <typename V> inline __attribute__((always_inline)) void load(V &v, const double *p) {
    std::memcpy(&v, p, sizeof v);
}
template <typename V> inline __attribute__((always_inline)) void store(double *p, const V &v) {
    std::memcpy(p, &v, sizeof v);
}
// out = lanes k .. W - 1 of lo followed by lanes 0 .. k - 1 of hi: the rows of a column seen from a diagonal
// k further down.
template <int k> inline __attribute__((always_inline)) void shiftBy(Vec2 &out, const Vec2 &lo, const Vec2 &hi) {
    out = __builtin_shufflevector(lo, hi, k, k + 1);
}
template <int k> inline __attribute__((always_inline)) void shiftBy(Vec4 &out, const Vec4 &lo, const Vec4 &hi) {
    out = __builtin_shufflevector(lo, hi, k, k + 1, k + 2, k + 3);
}
template <int k> inline __attribute__((always_inline)) void shiftBy(Vec8 &out, const Vec8 &lo, const Vec8 &hi) {
    out = __builtin_shufflevector(lo, hi, k, k + 1, k + 2, k + 3, k + 4, k + 5, k + 6, k + 7);
}

// ahead[q % 4][d] = A (q + d, q) for the rows below the diagonal inside the band and the matrix. The lanes past
// them are zero from the start; they need clearing again only once the band runs into the matrix's last row.
inline __attribute__((always_inline)) void gatherAhead(const BandMatrix &K, int n, int m, int q) {
    double *a = ahead[q % kAhead];
    const int below = std::min(m - 1, n - q);
#pragma GCC unroll 4
    for (int d = 1; d <= below; ++d)
        a[d] = K[q + d][m - d];
    if (below < m - 1)
        for (int d = below + 1; d <= m - 1; ++d)
            a[d] = 0.0;
}

// The terms of the two columns of a pair, p and p + 1, for the columns q = p + k, k = first .. last, in runs of
// equal chunk counts: the nearer a column, the more of its rows lie in the band. Chunks past the band would only
// add zeros. Each chunk is read and written once for both terms, p's added before p + 1's.
template <typename V, int CC>
inline __attribute__((always_inline)) void addPairRun(double *&next, const double *&l0, const double *&l1, int count) {
    constexpr int W = sizeof(V) / sizeof(double);
    for (int i = 0; i < count; ++i, next += kRows, ++l0, ++l1) {
        const double f0 = *l0, f1 = *l1;
#pragma GCC unroll 16
        for (int c = 0; c < CC; ++c) {
            V acc, a0, a1;
            load(acc, next + W * c);
            load(a0, l0 + W * c);
            load(a1, l1 + W * c);
            acc += a0 * f0;
            acc += a1 * f1;
            store(next + W * c, acc);
        }
    }
}

// l0 points at L (p + first, p), l1 at L (p + first, p + 1); chunk counts follow column p + 1's band.
template <typename V, int CC>
inline __attribute__((always_inline)) void addPairTerms(double *next, const double *l0, const double *l1, int first,
                                                        int last, int m) {
    if constexpr (CC > 0) {
        constexpr int W = sizeof(V) / sizeof(double);
        const int end = std::min(last, m - (CC - 1) * W); // the last k whose band reaches chunk CC - 1
        if (end >= first) {
            addPairRun<V, CC>(next, l0, l1, end - first + 1);
            first = end + 1;
        }
        addPairTerms<V, CC - 1>(next, l0, l1, first, last, m);
    }
}

// s += the term of a finished column (vectors col, last one zero) whose band row `shift` lies on this diagonal.
template <typename V, int C, int shift> inline __attribute__((always_inline)) void addShifted(V *s, const V *col) {
    constexpr int W = sizeof(V) / sizeof(double);
    const double factor = col[shift / W][shift % W];
#pragma GCC unroll 8
    for (int c = 0; c < C; ++c) {
        V shifted;
        shiftBy<shift>(shifted, col[c], col[c + 1]);
        s[c] += shifted * factor;
    }
}

// The first non-finite sum or quotient among columns first .. last, raised as the plain loop would raise it:
// row by row, the sum before the division. The sums are formed again from the factor in the band, in the same
// order, so they come out exactly as they did.
void raiseFirstNonFinite(int first, int last, int n, int m, const BandMatrix &K) {
    for (int j = first; j <= last; ++j) {
        const int s0 = j <= n - m + 1 ? 0 : 5;
        for (int d = 1; d <= std::min(m - 1, n - j); ++d) {
            const int r = j + d;
            double sum = 0.0;
            for (int p = std::max(1, r - m + 1); p < j; ++p)
                sum += K[r][p - r + m] * K[j][p - j + m];
            if (!std::isfinite(sum))
                fail(s0 + 4, engine::err::Overflow);
            if (!std::isfinite(K[r][m - d]))
                fail(s0 + 5, engine::err::Overflow);
        }
    }
}

// A failure of column j, unless an earlier column went wrong first (its values would have spread into this one).
[[noreturn]] void failColumn(int j, int n, int m, const BandMatrix &K, int logNr, int number) {
    raiseFirstNonFinite(1, j - 1, n, m, K);
    fail(logNr, number);
}

// Column j from its complete sums: the square root and the quotients; the
// column goes to `col` (registers) and `out` (memory, with the zeros past the band), and into the band rows of K.
// Whether every sum and quotient is finite is gathered in `seen` (0 where finite, NaN otherwise) and looked at once,
// after the last column.
template <typename V>
inline __attribute__((always_inline)) void finishColumn(int j, int n, int m, BandMatrix &K, V *s, V *col, double *out,
                                                        V *seen) {
    constexpr int W = sizeof(V) / sizeof(double);
    constexpr int C = kRows / W;
    const int s0 = j <= n - m + 1 ? 0 : 5; // statements 1-5 with a full band below, 6-10 at the end
    const double sum0 = s[0][0];
    if (!std::isfinite(sum0))
        failColumn(j, n, m, K, s0 + 1, engine::err::Overflow);
    const double diag = K[j][m] - sum0;
    if (diag < 0.0 || std::isnan(diag))
        failColumn(j, n, m, K, s0 + 2, engine::err::InvalidProcedureCall);
    const double ljj = std::sqrt(diag);
    if (!std::isfinite(ljj))
        failColumn(j, n, m, K, s0 + 2, engine::err::Overflow);
    const int below = std::min(m - 1, n - j);
    if (below > 0 && ljj == 0.0) {
        // The first row below divides by the zero pivot.
        const double sum1 = s[1 / W][1 % W];
        if (!std::isfinite(sum1))
            failColumn(j, n, m, K, s0 + 4, engine::err::Overflow);
        raiseFirstNonFinite(1, j - 1, n, m, K);
        failQuotient(s0 + 5, ahead[j % kAhead][1] - sum1, ljj);
    }

    // Lanes past the band hold zeros in A and in the sums and come out 0: the padding the updates read.
    // Lane 0 (the diagonal) is divided too, harmlessly: memory gets L (j, j) there, and in the registers lane 0
    // only reaches the lane that the forward step shifts out.
    const double *a = ahead[j % kAhead];
#pragma GCC unroll 8
    for (int c = 0; c < C; ++c) {
        V va;
        load(va, a + W * c);
        col[c] = (va - s[c]) / ljj;
        store(out + W * c, col[c]);
        seen[c] += (col[c] - col[c]) + (s[c] - s[c]);
    }
    col[C] = V{};
    out[0] = ljj;
    K[j][m] = ljj;
#pragma GCC unroll 4
    for (int d = 1; d <= below; ++d)
        K[j + d][m - d] = out[d];
}

// The forward substitution rides along: once column j is known, y (j) follows, and its terms go to the rows below
// at once, so each row's sum still grows in rising p. `pending` holds the sums of rows j .. j + 31 (lane d for
// row j + d). Trouble (a sum or a quotient that is not finite) is only noted: the substitution's own errors come
// after the factorisation's, so the plain loop runs again afterwards to raise them.
template <typename V, int C>
inline __attribute__((always_inline)) void forwardStep(int j, const DofVector &F, double *y, const V *col, double ljj,
                                                       V *pending, bool &trouble) {
    const double t = pending[0][0];
    const double yj = (F[j] - t) / ljj;
    trouble |= !std::isfinite(t) || !std::isfinite(yj);
    y[j] = yj;
#pragma GCC unroll 8
    for (int c = 0; c < C; ++c)
        pending[c] += col[c] * yj;
    V next[C];
#pragma GCC unroll 8
    for (int c = 0; c < C; ++c)
        shiftBy<1>(next[c], pending[c], c + 1 < C ? pending[c + 1] : V{});
#pragma GCC unroll 8
    for (int c = 0; c < C; ++c)
        pending[c] = next[c];
}

// Columns are finished in pairs. The sums in memory lag behind: a pair's own terms reach the next two columns
// from registers (their stores may not have reached the cache yet), and the columns after those in one pass over
// the memory for both terms. That pass runs while the next pair's first column waits for its square root and
// divisions, which do not depend on it.
template <typename V>
inline __attribute__((always_inline)) bool factoriseWith(int n, int m, BandMatrix &K, const DofVector &F, double *y) {
    constexpr int W = sizeof(V) / sizeof(double);
    constexpr int C = kRows / W;
    std::memset(sums, 0, sizeof(sums[0]) * (std::min(n, m + 1) + 1));
    std::memset(finished, 0, sizeof finished);
    std::memset(ahead, 0, sizeof ahead);
    for (int q = 1; q <= std::min(n, 2); ++q)
        gatherAhead(K, n, m, q);

    V older[C + 1] = {}, old[C + 1] = {}; // columns j - 2 and j - 1
    V seen[C] = {};
    V pending[C] = {};
    bool trouble = false;
    for (int j = 1; j <= n; j += 2) {
        for (int q = j + 2; q <= std::min(n, j + 3); ++q)
            gatherAhead(K, n, m, q); // for the next pair
        for (int q = std::max(j, j + m - 3); q <= std::min(n, std::max(j + 1, j + m - 2)); ++q)
            std::memset(sums[q], 0, sizeof(sums[0])); // reached by no term so far

        V s[C];
#pragma GCC unroll 8
        for (int c = 0; c < C; ++c)
            load(s[c], sums[j] + W * c);
        if (j >= 3)
            addShifted<V, C, 2>(s, older);
        if (j >= 2)
            addShifted<V, C, 1>(s, old);
        V first[C + 1];
        finishColumn(j, n, m, K, s, first, finished[j % kKept], seen);
        forwardStep<V, C>(j, F, y, first, K[j][m], pending, trouble);

        // The previous pair's terms for the columns from j + 1 on: the nearer half now, the rest after column
        // j + 1, so that each half has a column's square root and divisions to wait alongside.
        // Kept above zero: at j = 1 there is no column j - 2, and no term is added from it.
        const double *l0 = finished[(j + kKept - 2) % kKept], *l1 = finished[(j - 1) % kKept];
        const int last = j >= 3 ? std::min(n - j + 2, m) : 0, split = std::min(last, kNearHalf);
        addPairTerms<V, C>(sums[j + 1], l0 + 3, l1 + 2, 3, split, m);
        if (j == n)
            break;

#pragma GCC unroll 8
        for (int c = 0; c < C; ++c)
            load(s[c], sums[j + 1] + W * c);
        addShifted<V, C, 1>(s, first);
        V second[C + 1];
        finishColumn(j + 1, n, m, K, s, second, finished[(j + 1) % kKept], seen);
        forwardStep<V, C>(j + 1, F, y, second, K[j + 1][m], pending, trouble);
        addPairTerms<V, C>(sums[j + split - 1], l0 + split + 1, l1 + split, split + 1, last, m);

#pragma GCC unroll 8
        for (int c = 0; c <= C; ++c) {
            older[c] = first[c];
            old[c] = second[c];
        }
    }
    double t = 0.0;
#pragma GCC unroll 8
    for (int c = 0; c < C; ++c)
#pragma GCC unroll 8
        for (int l = 0; l < W; ++l)
            t += seen[c][l];
    if (t != 0.0)
        raiseFirstNonFinite(1, n, n, m, K);
    return !trouble;
}

#if defined(__GNUC__) && defined(__x86_64__)
// Fused multiply-add stays off: each product is rounded before it is added, as in the plain loops. Clang has no
// optimize attribute and keeps the command line's -ffp-contract=off in these functions too.
#if defined(__clang__)
#define SOLVER_TARGET(isa) __attribute__((target(isa)))
#else
#define SOLVER_TARGET(isa) __attribute__((target(isa), optimize("fp-contract=off")))
#endif
SOLVER_TARGET("avx512f") bool factorise512(int n, int m, BandMatrix &K, const DofVector &F, double *y) {
    return factoriseWith<Vec8>(n, m, K, F, y);
}
SOLVER_TARGET("avx2") bool factorise256(int n, int m, BandMatrix &K, const DofVector &F, double *y) {
    return factoriseWith<Vec4>(n, m, K, F, y);
}
#endif
bool factorise128(int n, int m, BandMatrix &K, const DofVector &F, double *y) {
    return factoriseWith<Vec2>(n, m, K, F, y);
}
// The 8 lanes on any processor, the compiler splitting each vector into narrower ones. Never picked for a solve:
// it lets the tests run the widest kernel's code where the processor lacks the unit for it.
bool factorise512Split(int n, int m, BandMatrix &K, const DofVector &F, double *y) {
    return factoriseWith<Vec8>(n, m, K, F, y);
}

// Factorises K in place and forms y of L y = F; false when the forward substitution needs the plain loop.
using Kernel = bool (*)(int, int, BandMatrix &, const DofVector &, double *);

Kernel widest() {
#if defined(__GNUC__) && defined(__x86_64__)
    __builtin_cpu_init(); // this may run among the static constructors
    if (__builtin_cpu_supports("avx512f"))
        return factorise512;
    if (__builtin_cpu_supports("avx2"))
        return factorise256;
#endif
    return factorise128;
}

Kernel kernel = widest();

// The plain forward substitution, for the statement at which it fails.
void forward(int n, int m, const BandMatrix &K, const DofVector &F, double *y) {
    for (int i = 1; i <= n; ++i) {
        const int s0 = i <= m ? 11 : 14;
        const double *row = K[i] + m - i; // row[p] = L (i, p)
        double s = 0.0;
        for (int p = std::max(1, i - m + 1); p < i; ++p)
            s += row[p] * y[p];
        if (!std::isfinite(s))
            fail(s0 + 1, engine::err::Overflow);
        y[i] = (F[i] - s) / K[i][m];
        if (!std::isfinite(y[i]))
            failQuotient(s0 + 2, F[i] - s, K[i][m]);
    }
}

void backward(int n, int m, const BandMatrix &K, const double *y, DofVector &u) {
    for (int i = n; i >= 1; --i) {
        const int s0 = i >= n - m + 1 ? 17 : 20;
        const int last = std::min(i + m - 1, n);
        double s = 0.0;
        for (int p = i + 1; p <= last; ++p)
            s += K[p][i - p + m] * u[p];
        if (!std::isfinite(s))
            fail(s0 + 1, engine::err::Overflow);
        u[i] = (y[i] - s) / K[i][m];
        if (!std::isfinite(u[i]))
            failQuotient(s0 + 2, y[i] - s, K[i][m]);
    }
}

} // namespace

bool useSolverLanes(int lanes, bool split) {
    if (split) {
        if (lanes != 8)
            return false;
        kernel = factorise512Split;
        return true;
    }
    switch (lanes) {
    case 0:
        kernel = widest();
        return true;
    case 2:
        kernel = factorise128;
        return true;
#if defined(__GNUC__) && defined(__x86_64__)
    case 4:
        if (!__builtin_cpu_supports("avx2"))
            return false;
        kernel = factorise256;
        return true;
    case 8:
        if (!__builtin_cpu_supports("avx512f"))
            return false;
        kernel = factorise512;
        return true;
#endif
    default:
        return false;
    }
}

void Solver(int n, int m, BandMatrix &Kband, const DofVector &F, DofVector &u) {
    FunctionName = QStringLiteral("Solver");
    LogNr = 1;
    if (n < 1 || n > kFrihedsgrader || m < 1 || m > kBaandbredde)
        engine::raise(engine::err::SubscriptOutOfRange);
    if (!kernel(n, m, Kband, F, ywork))
        forward(n, m, Kband, F, ywork);
    backward(n, m, Kband, ywork, u);
    LogNr = n > m ? 22 : 19;
}

} // namespace Module1
