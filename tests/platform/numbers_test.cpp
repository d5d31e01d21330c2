#include "platform/numbers.h"

#include "engine/errors.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using platform::CDbl;
using platform::CStr;
using platform::Format;
using platform::IsNumeric;
using platform::ParseNumber;
using platform::TypedPointAsDecimal;

namespace {

const QLocale danish(QLocale::Danish, QLocale::Denmark);
const QLocale english(QLocale::English, QLocale::UnitedStates);

int errorNumberOf(const std::function<void()> &f) {
    try {
        f();
    } catch (const engine::RuntimeError &e) {
        return e.number();
    }
    return 0;
}

void expectNear(double expected, std::optional<double> actual) {
    ASSERT_TRUE(actual.has_value());
    EXPECT_NEAR(*actual, expected, std::fabs(expected) * 1e-15);
}

} // namespace

struct FormatCase {
    double value;
    const char *pattern;
    const char *expected;
    bool english = false;
};

// Regional separator without grouping; halves round away from zero on the decimal form (binary values just
// below the half included), carrying into new digits; no sign on a zero; "#" shows zero as empty text.
TEST(Format, PatternsRoundingAndSigns) {
    // clang-format off
    const FormatCase cases[] = {
        {1234.5, "0.00", "1234,50"}, {1234.5, "0.00", "1234.50", true}, {1234567.0, "0", "1234567"},
        {-3.456, "0.00", "-3,46"}, {12.34, "0.0", "12,3"}, {0.0, "#0.00", "0,00"},
        {0.0, "#0.0", "0,0"}, {0.25, "#0.00", "0.25", true}, {24.6, "0", "25"},
        {1e20, "0", "100000000000000000000"}, {2.5, "0", "3"}, {3.5, "0", "4"},
        {-2.5, "0", "-3"}, {0.125, "0.00", "0,13"}, {1.005, "0.00", "1,01"}, {2.675, "0.00", "2.68", true},
        {0.05, "0.0", "0,1"}, {2.4999, "0", "2"}, {9.995, "0.00", "10,00"}, {99.96, "0.0", "100,0"},
        {0.0096, "0.00", "0,01"}, {0.096, "0.00", "0,10"}, {999999.5, "0", "1000000"}, {0.0004, "0.00", "0,00"},
        {-0.001, "0.00", "0,00"}, {-0.4, "0", "0"}, {-0.0, "0.0", "0,0"}, {0.0, "#", ""},
        {0.4, "#", ""}, {0.5, "#", "1"}, {262.0, "#", "262"}, {237.6, "#", "238"},
        {12345.0, "#", "12345"},
    };
    // clang-format on
    for (const auto &c : cases)
        EXPECT_EQ(Format(c.value, c.pattern, c.english ? english : danish), c.expected) << c.value << " " << c.pattern;
}

TEST(Format, RefusesUnknownPatternsAndNonFiniteNumbers) {
    EXPECT_EQ(errorNumberOf([] { Format(1.0, "0.##", danish); }), engine::err::InvalidProcedureCall);
    EXPECT_EQ(errorNumberOf([] { Format(1.0, "", danish); }), engine::err::InvalidProcedureCall);
    EXPECT_EQ(errorNumberOf([] { Format(1.0, "0,00", danish); }), engine::err::InvalidProcedureCall);
    EXPECT_EQ(errorNumberOf([] { Format(std::numeric_limits<double>::infinity(), "0", danish); }),
              engine::err::Overflow);
    EXPECT_EQ(errorNumberOf([] { Format(std::nan(""), "0", danish); }), engine::err::Overflow);
}

TEST(Format, FieldValues) {
    EXPECT_EQ(Format(engine::Variant(2.5), "0.00", danish), "2,50");
    EXPECT_EQ(Format(engine::Variant(7), "0.0", danish), "7,0");
    EXPECT_EQ(Format(engine::Variant(), "0.00", danish), "0,00");
    EXPECT_EQ(Format(engine::Variant(QStringLiteral("1,5")), "0.00", danish), "1,50");
    EXPECT_EQ(Format(engine::Variant(QStringLiteral("abc")), "0.00", danish), "abc");
    EXPECT_EQ(errorNumberOf([] { Format(engine::Variant::Null(), "0.00", danish); }), engine::err::InvalidUseOfNull);
}

// Plain up to fifteen significant digits, the exponent form beyond.
TEST(CStr, PlainOrExponentForm) {
    // clang-format off
    const std::pair<double, const char *> cases[] = {
        {0.0, "0"}, {-0.0, "0"}, {1.5, "1,5"},
        {1234567.25, "1234567,25"}, {-42.0, "-42"}, {1.0 / 3.0, "0,333333333333333"},
        {2.0 / 3.0, "0,666666666666667"}, {0.1 + 0.2, "0,3"}, {123456789012345.0, "123456789012345"},
        {0.0001, "0,0001"},
        // A punching strength as computed from a quality of 25 and a safety class of 1.0.
        {2.0 / std::sqrt(25.0) * 0.12 * (25.0 / 1.65) * 1000.0, "727,272727272727"}, {1e15, "1E+15"}, {1e16, "1E+16"},
        {1234567890123456.0, "1,23456789012346E+15"}, {999999999999999.9, "1E+15"}, {1e-5, "1E-05"},
        {1e100, "1E+100"}, {2.5e-300, "2,5E-300"},
    };
    // clang-format on
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(CStr(value, danish), expected) << value;
    EXPECT_EQ(CStr(1.5, english), "1.5");
    EXPECT_EQ(CStr(-1.5e-5, english), "-1.5E-05");
}

TEST(CStr, FieldValues) {
    EXPECT_EQ(CStr(engine::Variant(QStringLiteral("Beton")), danish), "Beton");
    EXPECT_EQ(CStr(engine::Variant(-1), danish), "-1");
    EXPECT_EQ(CStr(engine::Variant(0.75), danish), "0,75");
    EXPECT_EQ(CStr(engine::Variant(), danish), "");
    EXPECT_EQ(errorNumberOf([] { CStr(engine::Variant::Null(), danish); }), engine::err::InvalidUseOfNull);
    EXPECT_EQ(errorNumberOf([] { CStr(std::numeric_limits<double>::infinity(), danish); }), engine::err::Overflow);
}

TEST(ParseNumber, BothDecimalMarks) {
    // clang-format off
    const std::pair<const char *, double> commaCases[] = {
        {"1,5", 1.5}, {"1.500", 1500.0}, {"1.234.567,5", 1234567.5}, {",5", 0.5}, {"5,", 5.0},
        {"-0,7", -0.7}, {"+12", 12.0}, {"  25  ", 25.0}, {"1E3", 1000.0}, {"2,5e-3", 0.0025},
    };
    // clang-format on
    for (const auto &[text, expected] : commaCases)
        expectNear(expected, ParseNumber(QString::fromUtf8(text), danish));
    expectNear(1e16, ParseNumber(CStr(1e16, danish), danish));
    expectNear(1.5e-5, ParseNumber(CStr(1.5e-5, danish), danish));
    expectNear(1.5, ParseNumber("1.5", english));
    expectNear(1500.0, ParseNumber("1,500", english));
    expectNear(1500.25, ParseNumber("1,500.25", english));
    EXPECT_FALSE(ParseNumber("1,5", english).has_value());
}

TEST(ParseNumber, RefusesWhatIsNoNumber) {
    for (const char *text : {"", "   ", "abc", "1.5", "1.50", "12.34.5", "1.5000", ".500", "1.", "1,5,5", "-", ",",
                             "1e", "1E+", "5 kN", "1 2", "--1", "0x10", "1,5.000"}) {
        EXPECT_FALSE(ParseNumber(QString::fromUtf8(text), danish).has_value()) << text;
        EXPECT_FALSE(IsNumeric(QString::fromUtf8(text), danish)) << text;
    }
}

TEST(ParseNumber, GroupsWithANoBreakSpaceAcceptAPlainSpace) {
    const QLocale french(QLocale::French, QLocale::France);
    expectNear(1500.5, ParseNumber("1 500,5", french));
    expectNear(1500.5, ParseNumber(QStringLiteral("1\u00A0500,5"), french));
}

TEST(ParseNumber, TinyNumbersReadAsZeroHugeOnesOverflow) {
    expectNear(0.0, ParseNumber("1E-400", danish));
    EXPECT_FALSE(ParseNumber("1E400", danish).has_value());
    EXPECT_FALSE(IsNumeric("1E400", danish));
    EXPECT_EQ(errorNumberOf([] { CDbl("1E400", danish); }), engine::err::Overflow);
    EXPECT_EQ(errorNumberOf([] { CDbl("1E99999999999", danish); }), engine::err::Overflow);
}

TEST(CDbl, ConvertsOrRaisesTypeMismatch) {
    EXPECT_DOUBLE_EQ(CDbl("0,2", danish), 0.2);
    EXPECT_DOUBLE_EQ(CDbl("0.2", english), 0.2);
    EXPECT_EQ(errorNumberOf([] { CDbl("", danish); }), engine::err::TypeMismatch);
    EXPECT_EQ(errorNumberOf([] { CDbl("abc", danish); }), engine::err::TypeMismatch);
    EXPECT_EQ(errorNumberOf([] { CDbl("0.2", danish); }), engine::err::TypeMismatch);
}

TEST(TypedPointAsDecimal, TurnsAPointIntoTheDecimalComma) {
    EXPECT_EQ(TypedPointAsDecimal("1.5", danish), "1,5");
    EXPECT_EQ(TypedPointAsDecimal("1.500", danish), "1,500");
    EXPECT_EQ(TypedPointAsDecimal("12", danish), "12");
    // A text that already holds the comma keeps its points as grouping.
    EXPECT_EQ(TypedPointAsDecimal("1.234,5", danish), "1.234,5");
    // Where the point is the decimal mark there is nothing to turn.
    EXPECT_EQ(TypedPointAsDecimal("1.5", english), "1.5");

    // The load size typed with a point ends as a decimal comma after the box's pattern.
    EXPECT_EQ(Format(CDbl(TypedPointAsDecimal("12.345", danish), danish), "#0.00", danish), "12,35");
    EXPECT_EQ(Format(CDbl(TypedPointAsDecimal("1.234,5", danish), danish), "#0.00", danish), "1234,50");
}

TEST(DefaultLocale, OverloadsFollowQLocaleDefault) {
    const QLocale saved;
    QLocale::setDefault(danish);
    EXPECT_EQ(Format(1.5, "0.00"), "1,50");
    EXPECT_EQ(CStr(0.25), "0,25");
    EXPECT_EQ(CStr(engine::Variant(0.25)), "0,25");
    EXPECT_EQ(Format(engine::Variant(0.25), "0.0"), "0,3");
    EXPECT_TRUE(IsNumeric("1,5"));
    EXPECT_DOUBLE_EQ(CDbl("1,5"), 1.5);
    EXPECT_EQ(TypedPointAsDecimal("1.5"), "1,5");
    expectNear(1.5, ParseNumber("1,5"));
    QLocale::setDefault(english);
    EXPECT_EQ(Format(1.5, "0.00"), "1.50");
    EXPECT_DOUBLE_EQ(CDbl("1.5"), 1.5);
    QLocale::setDefault(saved);
}
