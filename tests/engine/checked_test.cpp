#include "engine/checked.h"

#include <gtest/gtest.h>
#include <limits>

using namespace engine;

namespace {

int errorOf(const std::function<void()> &f) {
    try {
        f();
    } catch (const RuntimeError &e) {
        return e.number();
    }
    return 0;
}

TEST(CheckedArithmetic, FaultsRaiseTheOldRuntimesErrorsInsteadOfNaNOrInfinity) {
    EXPECT_EQ(errorOf([] { checked::div(1.0, 0.0); }), err::DivisionByZero);
    EXPECT_EQ(errorOf([] { checked::div(0.0, 0.0); }), err::Overflow);
    EXPECT_EQ(errorOf([] { checked::div(1e300, 1e-300); }), err::Overflow);
    EXPECT_EQ(errorOf([] { checked::sqrt(-1.0); }), err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { checked::pow(-8.0, 0.5); }), err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { checked::fin(std::numeric_limits<double>::infinity()); }), err::Overflow);
    EXPECT_DOUBLE_EQ(checked::div(1.0, 4.0), 0.25);
    EXPECT_DOUBLE_EQ(checked::pow(-2.0, 3.0), -8.0);
}

TEST(CheckedArithmetic, WholeNumbersRoundHalvesToEvenAndIntegerDivisionTruncates) {
    EXPECT_EQ(checked::CLng(2.5), 2);
    EXPECT_EQ(checked::CLng(3.5), 4);
    EXPECT_EQ(checked::CLng(-2.5), -2);
    EXPECT_EQ(checked::CInt(0.5), 0);
    EXPECT_EQ(errorOf([] { checked::CInt(32767.5); }), err::Overflow);
    EXPECT_EQ(errorOf([] { checked::CLng(3e9); }), err::Overflow);
    EXPECT_EQ(checked::idiv(275.0, 25.0), 11);
    EXPECT_EQ(checked::idiv(-7.0, 2.0), -3);
    EXPECT_EQ(errorOf([] { checked::idiv(1.0, 0.4); }), err::DivisionByZero);
}

} // namespace
