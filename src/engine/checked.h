#pragma once
// Floating-point arithmetic that fails the way the old runtime did: division by zero raises 11, overflow 6,
// the square root of a negative number 5. The calculation never lets a NaN or an infinity into a result.

#include "engine/errors.h"

#include <cmath>
#include <cstdint>

namespace engine::checked {

// Raises overflow (6) when x is not finite.
inline double fin(double x) {
    if (!std::isfinite(x)) [[unlikely]]
        raise(err::Overflow);
    return x;
}

inline double div(double a, double b) {
    if (b == 0.0) [[unlikely]]
        raise(a == 0.0 ? err::Overflow : err::DivisionByZero); // 0/0 was an overflow in the old runtime
    return fin(a / b);
}

inline double sqrt(double x) {
    if (x < 0.0) [[unlikely]]
        raise(err::InvalidProcedureCall);
    return std::sqrt(x);
}

inline double pow(double a, double b) {
    if (a < 0.0 && b != std::floor(b)) [[unlikely]]
        raise(err::InvalidProcedureCall);
    if (a == 0.0 && b < 0.0) [[unlikely]]
        raise(err::DivisionByZero);
    return fin(std::pow(a, b));
}

// CLng / CInt: nearest whole number, halves to even; out of range raises overflow.
inline std::int32_t CLng(double x) {
    double r = std::nearbyint(x); // default rounding mode: to nearest, ties to even
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        raise(err::Overflow);
    return static_cast<std::int32_t>(r);
}
inline std::int16_t CInt(double x) {
    double r = std::nearbyint(x);
    if (!(r >= -32768.0 && r <= 32767.0))
        raise(err::Overflow);
    return static_cast<std::int16_t>(r);
}

// Integer division of the old runtime (\): both operands rounded to whole numbers, then truncated.
inline std::int32_t idiv(double a, double b) {
    std::int32_t x = CLng(a), y = CLng(b);
    if (y == 0)
        raise(err::DivisionByZero);
    return x / y;
}

} // namespace engine::checked
