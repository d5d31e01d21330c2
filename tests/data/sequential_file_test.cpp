#include "data/sequential_file.h"

#include "engine/errors.h"

#include <QBuffer>
#include <QLocale>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

using seqfile::Reader;
using seqfile::Writer;

namespace {

std::int32_t errorOf(const std::function<void()> &f) {
    try {
        f();
    } catch (const engine::RuntimeError &e) {
        return e.number();
    }
    return 0;
}

// A reader over fixed bytes that stays alive with its buffer.
struct Input {
    QByteArray bytes;
    QBuffer buffer{&bytes};
    Reader reader{buffer};
    explicit Input(const QByteArray &b) : bytes(b) { buffer.open(QIODevice::ReadOnly); }
};

TEST(SequentialFileWriter, ItemsSeparatedByCommasAndLinesByCrLf) {
    Writer w;
    w.Text(QStringLiteral("projekt"));
    w.Integer(4);
    w.Integer(1);
    w.EndLine();
    w.Text(QString());
    w.Integer(10);
    w.EndLine();
    w.Null();
    w.Integer(7);
    w.EndLine();
    EXPECT_EQ(w.bytes(), QByteArray("\"projekt\",4,1\r\n\"\",10\r\n#NULL#,7\r\n"));
}

// Whatever the regional settings, a period and no grouping; the runtime's exponent form at the extremes.
TEST(SequentialFileWriter, NumbersIgnoreTheRegionalSettings) {
    QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
    const auto number = [](double x) {
        Writer w;
        w.Number(x);
        return w.bytes();
    };
    // 0.1 + 0.2 keeps every digit, so the value reads back the same.
    // clang-format off
    const std::pair<double, const char *> cases[] = {
        {0, "0"}, {-0.0, "0"}, {1, "1"}, {28, "28"}, {1.35, "1.35"}, {-0.5, "-0.5"}, {1234567.25, "1234567.25"},
        {0.1 + 0.2, "0.30000000000000004"}, {1e16, "1E+16"}, {1.5e-5, "1.5E-05"}};
    // clang-format on
    for (const auto &[x, expected] : cases)
        EXPECT_EQ(number(x), expected) << x;
    EXPECT_EQ(errorOf([&] { number(std::numeric_limits<double>::infinity()); }), engine::err::Overflow);
    EXPECT_EQ(errorOf([&] { number(std::numeric_limits<double>::quiet_NaN()); }), engine::err::Overflow);
    QLocale::setDefault(QLocale::c());
}

TEST(SequentialFileText, Windows1252UnlessATextNeedsMore) {
    EXPECT_EQ(seqfile::EncodeText(QStringLiteral("dæktykkelse")), QByteArray("d\xE6ktykkelse"));
    EXPECT_EQ(seqfile::EncodeText(QStringLiteral("5 €")), QByteArray("5 \x80"));
    EXPECT_EQ(seqfile::EncodeText(QStringLiteral("Łódź")), QStringLiteral("Łódź").toUtf8());
    // These two characters in Windows-1252 are the bytes of "æ" in UTF-8.
    EXPECT_EQ(seqfile::EncodeText(QStringLiteral("Ã¦")), QStringLiteral("Ã¦").toUtf8());
    for (const QString &s : {QStringLiteral("dæktykkelse"), QStringLiteral("5 €"), QStringLiteral("Łódź"),
                             QStringLiteral("Ã¦"), QStringLiteral("plain")})
        EXPECT_EQ(seqfile::DecodeText(seqfile::EncodeText(s)), s);
    EXPECT_EQ(seqfile::DecodeText(QByteArray("St\xF8rrelse")), QStringLiteral("Størrelse"));
}

TEST(SequentialFileReader, QuotedAndUnquotedItems) {
    Input in(QByteArray("\"a, b\",  12 ,#NULL#\r\n\"x\"\"y\",\"\"\n\"two\r\nlines\"junk,last"));
    Reader &r = in.reader;
    const seqfile::Item quoted = r.Read();
    EXPECT_EQ(quoted.text, QStringLiteral("a, b"));
    EXPECT_TRUE(quoted.quoted);
    EXPECT_EQ(r.Read().text, QStringLiteral("12"));
    EXPECT_TRUE(r.Read().isNull());
    EXPECT_EQ(r.Read().text, QStringLiteral("x\"y"));
    const seqfile::Item empty = r.Read();
    EXPECT_EQ(empty.text, QString());
    EXPECT_TRUE(empty.quoted);
    EXPECT_EQ(r.Read().text, QStringLiteral("two\r\nlines"));
    EXPECT_FALSE(r.Eof());
    EXPECT_EQ(r.Read().text, QStringLiteral("last"));
    EXPECT_TRUE(r.Eof());
    EXPECT_EQ(errorOf([&] { r.Read(); }), engine::err::InputPastEnd);
}

TEST(SequentialFileReader, BlankLinesAndAByteOrderMarkAreNoContent) {
    Input blank(QByteArray(" \r\n\r\n\t\n"));
    EXPECT_TRUE(blank.reader.Eof());
    Input bom(QByteArray("\xEF\xBB\xBF\"x\"\r\n\r\n"));
    EXPECT_EQ(bom.reader.Read().text, QStringLiteral("x"));
    EXPECT_TRUE(bom.reader.Eof());
}

TEST(SequentialFileReader, CountsAreWholeNumbers) {
    Input in(QByteArray("4,\"28\",,2.5,3.5,abc,40000,70000\r\n"));
    Reader &r = in.reader;
    EXPECT_EQ(r.ReadInt16(), 4);
    EXPECT_EQ(r.ReadInt16(), 28);
    EXPECT_EQ(r.ReadInt16(), 0);
    EXPECT_EQ(r.ReadInt16(), 2); // halves to even
    EXPECT_EQ(r.ReadInt16(), 4);
    EXPECT_EQ(errorOf([&] { r.ReadInt16(); }), engine::err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { r.ReadInt16(); }), engine::err::Overflow);
    EXPECT_EQ(r.ReadInt32(), 70000);
}

TEST(SequentialFileReader, OverlongItemIsRefused) {
    Input in(QByteArray(2 * 1024 * 1024, 'x'));
    EXPECT_EQ(errorOf([&] { in.reader.Read(); }), 14);
}

TEST(SequentialFileNumbers, PlainNumbersOnly) {
    EXPECT_EQ(seqfile::ParsePlainNumber(QStringLiteral("1.35")), 1.35);
    EXPECT_EQ(seqfile::ParsePlainNumber(QStringLiteral(" -.5 ")), -0.5);
    EXPECT_EQ(seqfile::ParsePlainNumber(QStringLiteral("+7")), 7.0);
    EXPECT_EQ(seqfile::ParsePlainNumber(QStringLiteral("1E+16")), 1e16);
    EXPECT_EQ(seqfile::ParsePlainNumber(QStringLiteral("1e-400")), 0.0);
    for (const char *bad : {"", ".", "1,5", "1e", "0x10", "1 2", "(SELECT 1)", "#TRUE#", "1;", "١"})
        EXPECT_FALSE(seqfile::ParsePlainNumber(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(errorOf([] { seqfile::ParsePlainNumber(QStringLiteral("1e400")); }), engine::err::Overflow);
}

} // namespace
