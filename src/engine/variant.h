#pragma once
// A field value as the database layer hands it out: Empty, Null, a whole number, a double or a text.
// Truth values are whole numbers (-1 true, 0 false).

#include <QString>
#include <cstdint>
#include <variant>

namespace engine {

struct NullValue {
    bool operator==(const NullValue &) const = default;
};
struct EmptyValue {
    bool operator==(const EmptyValue &) const = default;
};

class Variant {
public:
    Variant() = default;
    Variant(NullValue) : v_(NullValue{}) {}
    Variant(int x) : v_(static_cast<std::int64_t>(x)) {}
    Variant(long x) : v_(static_cast<std::int64_t>(x)) {}
    Variant(long long x) : v_(static_cast<std::int64_t>(x)) {}
    Variant(bool b) : v_(static_cast<std::int64_t>(b ? -1 : 0)) {}
    Variant(double x) : v_(x) {}
    Variant(const QString &s) : v_(s) {}
    Variant(const char *s) : v_(QString::fromUtf8(s)) {}

    static Variant Null() { return Variant(NullValue{}); }

    bool isEmpty() const { return std::holds_alternative<EmptyValue>(v_); }
    bool isNull() const { return std::holds_alternative<NullValue>(v_); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(v_); }
    bool isDouble() const { return std::holds_alternative<double>(v_); }
    bool isNumber() const { return isInteger() || isDouble(); }
    bool isString() const { return std::holds_alternative<QString>(v_); }

    // Conversions as the runtime does them: Null raises 94, a text that is no number raises 13.
    // A text is read as a number in the C locale ("1.5"); the UI parses regional text itself.
    double toDouble() const;
    // Rounds half to even (CLng); out of 32-bit range raises 6.
    std::int32_t toLong() const;
    std::int16_t toInt() const;
    bool toBool() const;
    // The text of a string; a number as the runtime's plain text in the C locale. Null raises 94.
    QString toString() const;

    // Direct access for code that has already tested the kind.
    std::int64_t integer() const { return std::get<std::int64_t>(v_); }
    double real() const { return std::get<double>(v_); }
    const QString &string() const { return std::get<QString>(v_); }

    // Same kind and value (1 and 1.0 are equal, Null equals Null only).
    bool operator==(const Variant &o) const;

private:
    std::variant<EmptyValue, NullValue, std::int64_t, double, QString> v_;
};

// Doubles in full precision, shortest text that reads back the same (C locale).
QString numberText(double x);

} // namespace engine
