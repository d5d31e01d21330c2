#include "engine/variant.h"

#include "engine/checked.h"
#include "engine/errors.h"

#include <charconv>
#include <cmath>

namespace engine {

namespace {
double parseC(const QString &s) {
    const QByteArray b = s.trimmed().toLatin1();
    double x = 0;
    auto [p, ec] = std::from_chars(b.constData(), b.constData() + b.size(), x);
    if (b.isEmpty() || ec != std::errc() || p != b.constData() + b.size())
        raise(err::TypeMismatch);
    return x;
}
} // namespace

QString numberText(double x) {
    char buf[64];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, x);
    (void)ec;
    return QString::fromLatin1(buf, static_cast<int>(p - buf));
}

double Variant::toDouble() const {
    if (isDouble())
        return real();
    if (isInteger())
        return static_cast<double>(integer());
    if (isString())
        return parseC(string());
    if (isEmpty())
        return 0.0;
    raise(err::InvalidUseOfNull);
}

std::int32_t Variant::toLong() const {
    if (isInteger()) {
        if (integer() < INT32_MIN || integer() > INT32_MAX)
            raise(err::Overflow);
        return static_cast<std::int32_t>(integer());
    }
    return checked::CLng(toDouble());
}

std::int16_t Variant::toInt() const { return checked::CInt(toDouble()); }

bool Variant::toBool() const {
    if (isString()) {
        const QString s = string().trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return toDouble() != 0.0;
}

QString Variant::toString() const {
    if (isString())
        return string();
    if (isInteger())
        return QString::number(integer());
    if (isDouble())
        return numberText(real());
    if (isEmpty())
        return QString();
    raise(err::InvalidUseOfNull);
}

bool Variant::operator==(const Variant &o) const {
    if (isNumber() && o.isNumber())
        return toDouble() == o.toDouble();
    return v_ == o.v_;
}

} // namespace engine
