#include "platform/numbers.h"

#include "engine/errors.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace platform {

namespace {

// A finite double as its 15 significant decimal digits: value = 0.d1d2...d15 * 10^(pointPos), sign apart.
// The old runtime formatted from this form, which is why 1.005 rounds up although its binary value lies below.
struct Decimal15 {
    bool negative = false;
    std::array<char, 15> digits{};
    int pointPos = 0; // digits before the decimal point; may be negative or above 15
    bool zero = true;
};

Decimal15 toDecimal15(double x) {
    if (!std::isfinite(x))
        engine::raise(engine::err::Overflow);
    Decimal15 d;
    d.digits.fill('0');
    d.negative = std::signbit(x);
    if (x == 0.0)
        return d;
    char buf[40];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
    (void)ec; // 40 characters always hold "d.dddddddddddddde+ddd"
    // buf: d '.' 14 digits 'e' sign exponent
    d.digits[0] = buf[0];
    for (int i = 0; i < 14; ++i)
        d.digits[i + 1] = buf[2 + i];
    int exponent = 0;
    const char *e = buf + 17; // from_chars takes a minus sign but no plus sign
    std::from_chars(*e == '+' ? e + 1 : e, end, exponent);
    d.pointPos = exponent + 1;
    d.zero = false;
    return d;
}

struct Pattern {
    int minIntDigits = 0;
    int decimals = 0;
    bool point = false;
};

Pattern parsePattern(const QString &pattern) {
    Pattern p;
    const qsizetype dot = pattern.indexOf(QLatin1Char('.'));
    const QString intPart = dot < 0 ? pattern : pattern.left(dot);
    const QString fracPart = dot < 0 ? QString() : pattern.mid(dot + 1);
    if (pattern.isEmpty())
        engine::raise(engine::err::InvalidProcedureCall);
    for (QChar c : intPart) {
        if (c == QLatin1Char('0'))
            ++p.minIntDigits;
        else if (c != QLatin1Char('#'))
            engine::raise(engine::err::InvalidProcedureCall);
    }
    for (QChar c : fracPart) {
        if (c != QLatin1Char('0'))
            engine::raise(engine::err::InvalidProcedureCall);
        ++p.decimals;
    }
    p.point = dot >= 0;
    return p;
}

QString decimalSeparator(const QLocale &locale) { return locale.decimalPoint(); }

enum class ParseStatus { Ok, NotNumber, Overflow };

struct Parsed {
    ParseStatus status = ParseStatus::NotNumber;
    double value = 0.0;
};

bool isGroupSeparator(QChar c, const QString &group) {
    if (group.isEmpty())
        return false;
    if (c == group.front())
        return true;
    // Locales that group with a no-break space are typed with a plain one (or another kind of no-break space).
    const auto spaceLike = [](QChar x) { return x == QChar(0x20) || x == QChar(0xA0) || x == QChar(0x202F); };
    return spaceLike(group.front()) && spaceLike(c);
}

Parsed parse(const QString &typed, const QLocale &locale) {
    const QString text = typed.trimmed();
    const QString dec = decimalSeparator(locale);
    const QString group = locale.groupSeparator();
    const QString minus = locale.negativeSign();
    const QString plus = locale.positiveSign();
    qsizetype i = 0;
    const qsizetype n = text.size();

    std::string ascii;
    if (i < n && (text[i] == QLatin1Char('-') || (!minus.isEmpty() && text.mid(i).startsWith(minus)))) {
        ascii += '-';
        i += text[i] == QLatin1Char('-') ? 1 : minus.size();
    } else if (i < n && (text[i] == QLatin1Char('+') || (!plus.isEmpty() && text.mid(i).startsWith(plus)))) {
        i += text[i] == QLatin1Char('+') ? 1 : plus.size();
    }

    // Integer part: digits, grouped by three when group separators are used at all.
    std::string intDigits;
    int groupLen = 0;
    bool grouped = false;
    while (i < n) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            intDigits += static_cast<char>(c.unicode());
            ++groupLen;
            ++i;
        } else if (isGroupSeparator(c, group) && !dec.startsWith(c)) {
            if (groupLen == 0 || groupLen > 3 || (grouped && groupLen != 3))
                return {};
            grouped = true;
            groupLen = 0;
            ++i;
        } else {
            break;
        }
    }
    if (grouped && groupLen != 3)
        return {};

    std::string fracDigits;
    if (i < n && !dec.isEmpty() && text.mid(i).startsWith(dec)) {
        i += dec.size();
        while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            fracDigits += static_cast<char>(text[i++].unicode());
    }
    if (intDigits.empty() && fracDigits.empty())
        return {};

    std::string expDigits;
    bool expNegative = false;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            expNegative = text[i++] == QLatin1Char('-');
        while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            expDigits += static_cast<char>(text[i++].unicode());
        if (expDigits.empty())
            return {};
    }
    if (i != n)
        return {};

    ascii += intDigits.empty() ? std::string("0") : intDigits;
    if (!fracDigits.empty())
        ascii += '.' + fracDigits;
    if (!expDigits.empty())
        ascii += (expNegative ? "e-" : "e") + expDigits;

    double value = 0.0;
    auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec == std::errc() && end == ascii.data() + ascii.size())
        return {ParseStatus::Ok, value};
    if (ec != std::errc::result_out_of_range)
        return {};

    // Out of range: a tiny number reads as zero, a huge one is an overflow.
    const std::string all = intDigits + fracDigits;
    const auto firstNonZero = all.find_first_not_of('0');
    if (firstNonZero == std::string::npos)
        return {ParseStatus::Ok, 0.0};
    long long magnitude = static_cast<long long>(intDigits.size()) - static_cast<long long>(firstNonZero);
    const long long expValue = expDigits.size() > 9 ? 1000000000LL : std::stoll(expDigits.empty() ? "0" : expDigits);
    magnitude += expNegative ? -expValue : expValue;
    if (magnitude < 0)
        return {ParseStatus::Ok, ascii[0] == '-' ? -0.0 : 0.0};
    return {ParseStatus::Overflow, 0.0};
}

} // namespace

QString Format(double x, const QString &pattern, const QLocale &locale) {
    const Pattern p = parsePattern(pattern);
    Decimal15 d = toDecimal15(x);

    // Digits of the number up to the pattern's last decimal, rounded half away from zero.
    std::string kept;
    int pointPos = d.pointPos;
    if (!d.zero) {
        const int keep = d.pointPos + p.decimals;
        if (keep >= 15) {
            kept.assign(d.digits.begin(), d.digits.end());
            kept.append(static_cast<size_t>(keep - 15), '0');
        } else if (keep >= 0) {
            kept.assign(d.digits.begin(), d.digits.begin() + keep);
            if (d.digits[static_cast<size_t>(keep)] >= '5') {
                int j = keep - 1;
                while (j >= 0 && kept[static_cast<size_t>(j)] == '9')
                    kept[static_cast<size_t>(j--)] = '0';
                if (j >= 0) {
                    ++kept[static_cast<size_t>(j)];
                } else {
                    kept.insert(kept.begin(), '1');
                    ++pointPos;
                }
            }
        }
    }
    // kept holds the digits from the first significant one down to the last decimal; pad it on the left so
    // that it holds every integer digit and every decimal.
    const int intDigits = pointPos;
    std::string intStr;
    std::string fracStr;
    if (intDigits >= 0) {
        const size_t neededLen = static_cast<size_t>(intDigits + p.decimals);
        if (kept.size() < neededLen)
            kept.insert(kept.begin(), neededLen - kept.size(), '0');
        intStr = kept.substr(0, kept.size() - static_cast<size_t>(p.decimals));
        fracStr = kept.substr(intStr.size());
    } else {
        // All digits lie after the point: leading zeros of the fraction first.
        std::string frac(static_cast<size_t>(-intDigits), '0');
        frac += kept;
        frac.resize(static_cast<size_t>(p.decimals), '0');
        fracStr = frac;
    }
    const auto firstNonZero = intStr.find_first_not_of('0');
    intStr = firstNonZero == std::string::npos ? std::string() : intStr.substr(firstNonZero);
    if (static_cast<int>(intStr.size()) < p.minIntDigits)
        intStr.insert(intStr.begin(), static_cast<size_t>(p.minIntDigits) - intStr.size(), '0');

    const bool allZero = (intStr + fracStr).find_first_not_of('0') == std::string::npos;
    QString out;
    if (d.negative && !allZero)
        out += QLatin1Char('-');
    out += QString::fromLatin1(intStr.data(), static_cast<qsizetype>(intStr.size()));
    if (p.point && (p.decimals > 0 || !out.isEmpty()))
        out += decimalSeparator(locale);
    out += QString::fromLatin1(fracStr.data(), static_cast<qsizetype>(fracStr.size()));
    return out;
}

QString Format(double x, const QString &pattern) { return Format(x, pattern, QLocale()); }

QString Format(const engine::Variant &v, const QString &pattern, const QLocale &locale) {
    if (v.isNull())
        engine::raise(engine::err::InvalidUseOfNull);
    if (v.isEmpty())
        return Format(0.0, pattern, locale);
    if (v.isString()) {
        const Parsed p = parse(v.string(), locale);
        return p.status == ParseStatus::Ok ? Format(p.value, pattern, locale) : v.string();
    }
    return Format(v.toDouble(), pattern, locale);
}

QString Format(const engine::Variant &v, const QString &pattern) { return Format(v, pattern, QLocale()); }

QString CStr(double x, const QLocale &locale) {
    const Decimal15 d = toDecimal15(x);
    if (d.zero)
        return QStringLiteral("0");
    std::string digits(d.digits.begin(), d.digits.end());
    digits.erase(digits.find_last_not_of('0') + 1);
    const int exponent = d.pointPos - 1;
    const QString sep = decimalSeparator(locale);

    QString out = d.negative ? QStringLiteral("-") : QString();
    if (exponent < -4 || exponent >= 15) {
        out += QLatin1Char(digits[0]);
        if (digits.size() > 1)
            out += sep + QString::fromLatin1(digits.data() + 1, static_cast<qsizetype>(digits.size() - 1));
        out += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        out += QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    } else if (exponent >= 0) {
        const size_t intLen = static_cast<size_t>(exponent + 1);
        if (digits.size() < intLen)
            digits.append(intLen - digits.size(), '0');
        out += QString::fromLatin1(digits.data(), static_cast<qsizetype>(intLen));
        if (digits.size() > intLen)
            out += sep + QString::fromLatin1(digits.data() + intLen, static_cast<qsizetype>(digits.size() - intLen));
    } else {
        out += QStringLiteral("0") + sep + QString(-exponent - 1, QLatin1Char('0')) +
               QString::fromLatin1(digits.data(), static_cast<qsizetype>(digits.size()));
    }
    return out;
}

QString CStr(double x) { return CStr(x, QLocale()); }

QString CStr(const engine::Variant &v, const QLocale &locale) {
    if (v.isNull())
        engine::raise(engine::err::InvalidUseOfNull);
    if (v.isEmpty())
        return QString();
    if (v.isString())
        return v.string();
    if (v.isInteger())
        return QString::number(v.integer());
    return CStr(v.real(), locale);
}

QString CStr(const engine::Variant &v) { return CStr(v, QLocale()); }

std::optional<double> ParseNumber(const QString &text, const QLocale &locale) {
    const Parsed p = parse(text, locale);
    if (p.status != ParseStatus::Ok)
        return std::nullopt;
    return p.value;
}

std::optional<double> ParseNumber(const QString &text) { return ParseNumber(text, QLocale()); }

bool IsNumeric(const QString &text, const QLocale &locale) { return parse(text, locale).status == ParseStatus::Ok; }

bool IsNumeric(const QString &text) { return IsNumeric(text, QLocale()); }

double CDbl(const QString &text, const QLocale &locale) {
    const Parsed p = parse(text, locale);
    if (p.status == ParseStatus::Overflow)
        engine::raise(engine::err::Overflow);
    if (p.status != ParseStatus::Ok)
        engine::raise(engine::err::TypeMismatch);
    return p.value;
}

double CDbl(const QString &text) { return CDbl(text, QLocale()); }

QString TypedPointAsDecimal(const QString &text, const QLocale &locale) {
    const QString sep = decimalSeparator(locale);
    if (sep == QLatin1String(".") || text.contains(sep))
        return text;
    QString out = text;
    out.replace(QLatin1Char('.'), sep);
    return out;
}

QString TypedPointAsDecimal(const QString &text) { return TypedPointAsDecimal(text, QLocale()); }

} // namespace platform
