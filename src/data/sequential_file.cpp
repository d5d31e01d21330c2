#include "data/sequential_file.h"

#include "engine/checked.h"
#include "engine/errors.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace seqfile {

namespace {

// Windows-1252 from 0x80 to 0x9F; the five bytes it leaves undefined keep their own code points.
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<char> toCp1252(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    return std::nullopt;
}

bool isAscii(const QByteArray &b) {
    for (const char c : b)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::optional<QString> fromUtf8(const QByteArray &b) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = decoder(b);
    if (decoder.hasError())
        return std::nullopt;
    return s;
}

bool isBlank(int c) { return c == ' ' || c == '\t'; }
bool isLineEnd(int c) { return c == '\r' || c == '\n'; }

} // namespace

QByteArray EncodeText(const QString &s) {
    QByteArray cp;
    cp.reserve(s.size());
    for (const QChar c : s) {
        const std::optional<char> b = toCp1252(c.unicode());
        if (!b)
            return s.toUtf8();
        cp.append(*b);
    }
    // Windows-1252 bytes that happen to be valid UTF-8 would be read as UTF-8.
    if (!isAscii(cp) && fromUtf8(cp))
        return s.toUtf8();
    return cp;
}

QString DecodeText(const QByteArray &bytes) {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    if (std::optional<QString> s = fromUtf8(bytes))
        return *s;
    QString s;
    s.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        s.append(b >= 0x80 && b < 0xA0 ? QChar(kHigh[b - 0x80]) : QChar(b));
    }
    return s;
}

std::optional<double> ParsePlainNumber(const QString &text) {
    const QByteArray t = text.trimmed().toLatin1(); // anything beyond Latin-1 turns into '?', no digit
    const char *p = t.constData();
    const char *end = p + t.size();
    const char *start = p;
    if (p < end && (*p == '+' || *p == '-'))
        ++p;
    const char *digits = p;
    // The decimal power of the first significant digit, to tell an overflow from an underflow.
    long power = 0;
    bool significant = false;
    int mantissaDigits = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p, ++mantissaDigits) {
        significant = significant || *p != '0';
        if (significant)
            ++power;
    }
    if (p < end && *p == '.') {
        for (++p; p < end && *p >= '0' && *p <= '9'; ++p, ++mantissaDigits) {
            if (!significant && *p == '0')
                --power;
            significant = significant || *p != '0';
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool negative = p < end && *p == '-';
        if (p < end && (*p == '+' || *p == '-'))
            ++p;
        const char *exp = p;
        long e = 0;
        for (; p < end && *p >= '0' && *p <= '9'; ++p)
            e = std::min(e * 10 + (*p - '0'), 100000L);
        if (p == exp)
            return std::nullopt;
        power += negative ? -e : e;
    }
    if (p != end)
        return std::nullopt;
    double x = 0;
    const auto [ptr, ec] = std::from_chars(*start == '+' ? digits : start, end, x); // no leading plus there
    if (ec == std::errc::result_out_of_range) {
        if (power > 0)
            engine::raise(engine::err::Overflow);
        return *start == '-' ? -0.0 : 0.0;
    }
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return x;
}

// ---- Writer

void Writer::separate() {
    if (lineStarted_)
        out_.append(QLatin1Char(','));
    lineStarted_ = true;
}

void Writer::Text(const QString &s) {
    separate();
    out_.append(QLatin1Char('"'))
        .append(QString(s).replace(QLatin1String("\""), QLatin1String("\"\"")))
        .append(QLatin1Char('"'));
}

void Writer::Integer(std::int64_t n) {
    separate();
    out_.append(QString::number(static_cast<qlonglong>(n)));
}

void Writer::Number(double x) {
    engine::checked::fin(x);
    separate();
    if (x == 0) {
        out_.append(QLatin1Char('0'));
        return;
    }
    // Plain digits where the runtime writes them, its exponent form (1E+16, 1.5E-05) beyond.
    const double a = std::abs(x);
    const auto format = a >= 1e15 || a < 1e-4 ? std::chars_format::scientific : std::chars_format::fixed;
    char buf[400];
    const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, x, format);
    if (ec != std::errc())
        engine::raise(engine::err::Overflow);
    out_.append(QString::fromLatin1(buf, ptr - buf).replace(QLatin1Char('e'), QLatin1Char('E')));
}

void Writer::Null() {
    separate();
    out_.append(QLatin1String("#NULL#"));
}

void Writer::Value(const engine::Variant &v) {
    if (v.isNull())
        Null();
    else if (v.isInteger())
        Integer(v.integer());
    else if (v.isDouble())
        Number(v.real());
    else if (v.isString())
        Text(v.string());
    else
        separate();
}

void Writer::EndLine() {
    out_.append(QLatin1String("\r\n"));
    lineStarted_ = false;
}

QByteArray Writer::bytes() const { return EncodeText(out_); }

// ---- Reader

Reader::Reader(const QByteArray &bytes) {
    // A byte-order mark that an editor put in front is no content.
    text_ = DecodeText(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
}

int Reader::peek() const { return pos_ < text_.size() ? text_[pos_].unicode() : -1; }

int Reader::get() {
    const int c = peek();
    if (c >= 0)
        ++pos_;
    return c;
}

bool Reader::Eof() {
    for (int c = peek(); c >= 0; c = peek()) {
        if (!isBlank(c) && !isLineEnd(c))
            return false;
        ++pos_;
    }
    return true;
}

Item Reader::Read() {
    while (isBlank(peek()))
        get();
    if (peek() < 0)
        engine::raise(engine::err::InputPastEnd);
    Item item;
    const qsizetype start = pos_;
    if (peek() == '"') {
        item.quoted = true;
        get();
        for (;;) {
            const int c = get();
            if (c < 0)
                engine::raise(engine::err::InputPastEnd);
            if (c == '"') {
                if (peek() != '"')
                    break;
                get();
            }
            item.text.append(QChar(static_cast<char16_t>(c)));
        }
        // Whatever stands between the closing quote and the next comma or line end is not part of the item.
        while (peek() >= 0 && peek() != ',' && !isLineEnd(peek()))
            get();
    } else {
        while (peek() >= 0 && peek() != ',' && !isLineEnd(peek()))
            get();
        item.text = text_.mid(start, pos_ - start);
        while (!item.text.isEmpty() && isBlank(item.text.back().unicode()))
            item.text.chop(1);
    }
    const int end = get();
    endedLine_ = end != ',';
    if (end == '\r' && peek() == '\n')
        get();
    return item;
}

double Reader::readNumber() {
    const Item item = Read();
    if (item.text.trimmed().isEmpty())
        return 0;
    const std::optional<double> x = ParsePlainNumber(item.text);
    if (!x)
        engine::raise(engine::err::TypeMismatch);
    return *x;
}

std::int32_t Reader::ReadInt32() { return engine::checked::CLng(readNumber()); }

} // namespace seqfile
