#pragma once
// What the design tests compare: doubles with a relative tolerance, and the remark list of the calculation.

#include "calc/analysis_state.h"
#include "engine/errors.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace designchecks {

inline void expectNear(double expected, double actual, double rel = 1e-12) {
    EXPECT_NEAR(expected, actual, rel * std::max(1.0, std::fabs(expected))) << "expected " << expected;
}

inline std::vector<QString> remarks() {
    return {Module1::Oplysninger + 1, Module1::Oplysninger + 1 + Module1::AntalOplysninger};
}

// What the characteristic pass leaves for the design of a concrete slab: no remarks, no loads, 1 mm deflection.
inline void analysisLeft(double Mmax, double MmaxDim, double Mmin, double MminDim) {
    Module1::AntalOplysninger = 0;
    Module1::ErBeton = true;
    Module1::KortLast = false;
    Module1::Laster = {};
    Module1::umax = 0.001;
    Module1::Mmax = Mmax;
    Module1::MmaxDim = MmaxDim;
    Module1::Mmin = Mmin;
    Module1::MminDim = MminDim;
}

// The call raises this run-time error with the procedure and statement number left for the error report.
template <class Call> void expectRaises(Call call, int number, const char *function, int logNr) {
    try {
        call();
        ADD_FAILURE() << "no error";
    } catch (const engine::RuntimeError &e) {
        EXPECT_EQ(number, e.number());
        EXPECT_EQ(QString::fromLatin1(function), Module1::FunctionName);
        EXPECT_EQ(logNr, Module1::LogNr);
    }
}

} // namespace designchecks
