#include "platform/numbers.h"

#include "engine/errors.h"

#include <QLocale>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

using namespace platform;

namespace {

const QLocale danish(QLocale::Danish, QLocale::Denmark);
const QLocale english(QLocale::English, QLocale::UnitedStates);

int errorOf(const std::function<void()> &f) {
    try {
        f();
    } catch (const engine::RuntimeError &e) {
        return e.number();
    }
    return 0;
}

// Regional separator without grouping; halves round away from zero on the decimal form (binary values just
// below the half included), carrying into new digits; no sign on a zero; "#" shows zero as empty text.
TEST(Numbers, FormatAndCStrWriteTheRegionalForm) {
    // clang-format off
    const struct { double value; const char *pattern /* null: CStr */; const char *danish; } cases[] = {
        {1234.5, "0.00", "1234,50"}, {1234567.0, "0", "1234567"}, {-3.456, "0.00", "-3,46"}, {12.34, "0.0", "12,3"},
        {0.0, "#0.00", "0,00"}, {0.0, "#0.0", "0,0"}, {24.6, "0", "25"}, {1e20, "0", "100000000000000000000"},
        {2.5, "0", "3"}, {3.5, "0", "4"}, {-2.5, "0", "-3"}, {0.125, "0.00", "0,13"}, {1.005, "0.00", "1,01"},
        {0.05, "0.0", "0,1"}, {2.4999, "0", "2"}, {9.995, "0.00", "10,00"}, {99.96, "0.0", "100,0"},
        {0.0096, "0.00", "0,01"}, {0.096, "0.00", "0,10"}, {999999.5, "0", "1000000"}, {0.0004, "0.00", "0,00"},
        {-0.001, "0.00", "0,00"}, {-0.4, "0", "0"}, {-0.0, "0.0", "0,0"}, {0.0, "#", ""}, {0.4, "#", ""},
        {0.5, "#", "1"}, {237.6, "#", "238"}, {12345.0, "#", "12345"},
        // Plain up to fifteen significant digits, the exponent form beyond.
        {0.0, nullptr, "0"}, {-0.0, nullptr, "0"}, {1234567.25, nullptr, "1234567,25"}, {-42.0, nullptr, "-42"},
        {2.0 / 3.0, nullptr, "0,666666666666667"}, {0.1 + 0.2, nullptr, "0,3"}, {0.0001, nullptr, "0,0001"},
        {123456789012345.0, nullptr, "123456789012345"}, {1e15, nullptr, "1E+15"},
        {1234567890123456.0, nullptr, "1,23456789012346E+15"}, {999999999999999.9, nullptr, "1E+15"},
        {1e-5, nullptr, "1E-05"}, {1e100, nullptr, "1E+100"}, {2.5e-300, nullptr, "2,5E-300"},
        // A punching strength as computed from a quality of 25 and a safety class of 1.0.
        {2.0 / std::sqrt(25.0) * 0.12 * (25.0 / 1.65) * 1000.0, nullptr, "727,272727272727"},
    };
    // clang-format on
    for (const auto &c : cases)
        EXPECT_EQ(c.pattern ? Format(c.value, c.pattern, danish) : CStr(c.value, danish), c.danish)
            << c.value << " " << (c.pattern ? c.pattern : "CStr");
    EXPECT_EQ(Format(2.675, "0.00", english) + CStr(-1.5e-5, english), "2.68-1.5E-05");
    // Field values: Empty is 0, a text that reads as a number is that number, any other text stays.
    EXPECT_EQ(Format(engine::Variant(), "0.00", danish) +
                  Format(engine::Variant(QStringLiteral("1,5")), "0.0", danish) +
                  Format(engine::Variant(QStringLiteral("abc")), "0.00", danish),
              "0,001,5abc");
    EXPECT_EQ(CStr(engine::Variant(QStringLiteral("Beton")), danish) + CStr(engine::Variant(-1), danish) +
                  CStr(engine::Variant(), danish),
              "Beton-1");
}

TEST(Numbers, TypedTextReadsInTheRegionalForm) {
    // clang-format off
    const struct { const char *text; std::optional<double> value; QLocale locale = danish; } cases[] = {
        {"1,5", 1.5}, {"1.500", 1500.0}, {"1.234.567,5", 1234567.5}, {",5", 0.5}, {"5,", 5.0}, {"-0,7", -0.7},
        {"+12", 12.0}, {"  25  ", 25.0}, {"1E3", 1000.0}, {"2,5e-3", 0.0025}, {"1E+16", 1e16}, {"1,5E-05", 1.5e-5},
        {"1E-400", 0.0}, {"1.5", 1.5, english}, {"1,500.25", 1500.25, english}, {"1,5", {}, english},
        {"1 500,5", 1500.5, QLocale(QLocale::French, QLocale::France)},
        {"1\u00A0500,5", 1500.5, QLocale(QLocale::French, QLocale::France)},
        {"", {}}, {"   ", {}}, {"abc", {}}, {"1.5", {}}, {"12.34.5", {}}, {"1.5000", {}}, {".500", {}}, {"1.", {}},
        {"1,5,5", {}}, {"-", {}}, {",", {}}, {"1e", {}}, {"1E+", {}}, {"5 kN", {}}, {"1 2", {}}, {"--1", {}},
        {"0x10", {}}, {"1,5.000", {}}, {"1E400", {}},
    };
    // clang-format on
    for (const auto &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        const std::optional<double> read = ParseNumber(text, c.locale);
        EXPECT_EQ(read.has_value(), c.value.has_value()) << c.text;
        EXPECT_EQ(IsNumeric(text, c.locale), c.value.has_value()) << c.text;
        if (read && c.value) {
            EXPECT_NEAR(*read, *c.value, std::fabs(*c.value) * 1e-15) << c.text;
        }
    }
    EXPECT_EQ(TypedPointAsDecimal("1.234,5", danish), "1.234,5") << "a comma makes the points group digits";
    EXPECT_EQ(TypedPointAsDecimal("1.5", english), "1.5");
    EXPECT_EQ(Format(CDbl(TypedPointAsDecimal("12.345", danish), danish), "#0.00", danish), "12,35");
}

TEST(Numbers, RefusalsRaiseTheRuntimesErrors) {
    const double inf = std::numeric_limits<double>::infinity();
    // clang-format off
    using namespace engine::err;
    const std::pair<std::function<void()>, int> cases[] = {
        {[] { Format(1.0, "0.##", danish); }, InvalidProcedureCall},
        {[] { Format(1.0, "", danish); }, InvalidProcedureCall},
        {[] { Format(1.0, "0,00", danish); }, InvalidProcedureCall}, {[inf] { Format(inf, "0", danish); }, Overflow},
        {[] { Format(std::nan(""), "0", danish); }, Overflow}, {[inf] { CStr(inf, danish); }, Overflow},
        {[] { Format(engine::Variant::Null(), "0.00", danish); }, InvalidUseOfNull},
        {[] { CStr(engine::Variant::Null(), danish); }, InvalidUseOfNull}, {[] { CDbl("1E400", danish); }, Overflow},
        {[] { CDbl("1E99999999999", danish); }, Overflow}, {[] { CDbl("", danish); }, TypeMismatch},
        {[] { CDbl("0.2", danish); }, TypeMismatch},
    };
    // clang-format on
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(errorOf(cases[i].first), cases[i].second) << "case " << i;
}

} // namespace
