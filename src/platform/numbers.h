#pragma once
// Numbers as the user sees and types them, in the regional settings: the display patterns, the runtime's plain
// number-to-text conversion and the reading of typed text. Each function takes the locale to use; the overloads
// without one use QLocale(), which is the system's regional settings unless a test pinned another with
// QLocale::setDefault. Digits are always ASCII, the minus sign is always "-", and no grouping is written.

#include "engine/variant.h"

#include <QLocale>
#include <QString>
#include <optional>

namespace platform {

// Format with a display pattern: "0", "0.00", "#0.00", "0.0", "#0.0" or "#" (a "0" forces a digit, a "#" before
// the point allows one, "." stands for the regional decimal separator). Rounds halves away from zero on the
// number's 15-digit decimal form, so 1.005 shows as 1.01 and 2.5 as 3. "#" shows zero as the empty text.
// A pattern outside this family raises 5; a number that is not finite raises 6.
QString Format(double x, const QString &pattern, const QLocale &locale);
QString Format(double x, const QString &pattern);

// Format of a field value: Null raises 94, Empty counts as 0, a text that reads as a number in the regional
// settings is formatted as that number, and any other text comes back unchanged.
QString Format(const engine::Variant &v, const QString &pattern, const QLocale &locale);
QString Format(const engine::Variant &v, const QString &pattern);

// The runtime's plain conversion of a double to text: up to 15 significant digits, trailing zeros dropped, the
// regional decimal separator, no grouping; from 1E+15 up and below 1E-04 in exponent form ("1E+16",
// "1,5E-05"). A number that is not finite raises 6.
QString CStr(double x, const QLocale &locale);
QString CStr(double x);

// CStr of a field value: a text as it is, a whole number in digits, a double as above, Empty as the empty text.
// Null raises 94.
QString CStr(const engine::Variant &v, const QLocale &locale);
QString CStr(const engine::Variant &v);

// Reads typed text as a number in the regional settings: blanks around it, a sign, digits with the regional
// decimal separator, group separators only where they group by three ("1.500" is 1500 with a decimal comma,
// "1.5" is not a number there), an optional exponent ("1E3", "2,5e-3"). Empty when the text is no number or
// the number is too large for a double.
std::optional<double> ParseNumber(const QString &text, const QLocale &locale);
std::optional<double> ParseNumber(const QString &text);

// The runtime's numeric test of a typed text.
bool IsNumeric(const QString &text, const QLocale &locale);
bool IsNumeric(const QString &text);

// The runtime's conversion of a typed text to a double: text that is no number raises 13, a number too large
// for a double raises 6.
double CDbl(const QString &text, const QLocale &locale);
double CDbl(const QString &text);

// For the boxes where a typed point means the decimal mark (load size, partial coefficient): every "." becomes
// the regional decimal separator, unless the text already holds that separator (then the points group digits).
// Apply it before the numeric test: with a decimal comma "1.5" is no number until it reads "1,5".
QString TypedPointAsDecimal(const QString &text, const QLocale &locale);
QString TypedPointAsDecimal(const QString &text);

} // namespace platform
