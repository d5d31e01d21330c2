#include "data/sequential_file.h"

#include "engine/errors.h"

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

// Whatever the regional settings, a period and no grouping; the runtime's exponent form at the extremes.
TEST(SequentialFileWriter, ItemsAndNumbers) {
    QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
    Writer w;
    w.Text(QStringLiteral("projekt"));
    w.Integer(4);
    w.EndLine();
    w.Null();
    w.Text(QString());
    w.EndLine();
    EXPECT_EQ(w.bytes(), QByteArray("\"projekt\",4\r\n#NULL#,\"\"\r\n"));
    const auto number = [](double x) {
        Writer n;
        n.Number(x);
        return n.bytes();
    };
    const std::pair<double, const char *> cases[] = {
        {0, "0"},          {-0.0, "0"},          {28, "28"},
        {1.35, "1.35"},    {-0.5, "-0.5"},       {1234567.25, "1234567.25"},
        {1e16, "1E+16"},   {1.5e-5, "1.5E-05"}, {0.1 + 0.2, "0.30000000000000004"}};
    for (const auto &[x, expected] : cases)
        EXPECT_EQ(number(x), expected) << x;
    EXPECT_EQ(errorOf([&] { number(std::numeric_limits<double>::infinity()); }), engine::err::Overflow);
    EXPECT_EQ(errorOf([&] { number(std::numeric_limits<double>::quiet_NaN()); }), engine::err::Overflow);
    QLocale::setDefault(QLocale::c());
}

// One encoding per file: Windows-1252 while every text fits it and cannot be taken for UTF-8, else UTF-8.
TEST(SequentialFileWriter, OneEncodingPerFile) {
    const auto file = [](const QStringList &texts) {
        Writer w;
        for (const QString &t : texts)
            w.Text(t);
        return w.bytes();
    };
    EXPECT_EQ(file({QStringLiteral("dæk"), QStringLiteral("5 €")}), QByteArray("\"d\xE6k\",\"5 \x80\""));
    EXPECT_EQ(file({QStringLiteral("dæk"), QStringLiteral("Łódź")}), QStringLiteral("\"dæk\",\"Łódź\"").toUtf8());
    EXPECT_EQ(file({QStringLiteral("Ã¦")}), QStringLiteral("\"Ã¦\"").toUtf8()); // 1252 bytes of UTF-8 "æ"
    for (const QStringList &texts : {QStringList{QStringLiteral("dæk"), QStringLiteral("Łódź")},
                                     QStringList{QStringLiteral("Ã¦"), QStringLiteral("5 €")}}) {
        Reader r(file(texts));
        for (const QString &t : texts)
            EXPECT_EQ(r.Read().text, t);
    }
}

TEST(SequentialFileReader, ItemsAndLineEnds) {
    Reader r(QByteArray("\xEF\xBB\xBF\"a, b\",  12 ,#NULL#\r\n\"x\"\"y\",\"\"\n\"two\r\nlines\"junk,last\r\n \r\n"));
    const seqfile::Item quoted = r.Read();
    EXPECT_EQ(quoted.text, QStringLiteral("a, b"));
    EXPECT_TRUE(quoted.quoted);
    EXPECT_FALSE(r.EndedLine());
    EXPECT_EQ(r.Read().text, QStringLiteral("12"));
    EXPECT_TRUE(r.Read().isNull());
    EXPECT_TRUE(r.EndedLine());
    EXPECT_EQ(r.Read().text, QStringLiteral("x\"y"));
    const seqfile::Item empty = r.Read();
    EXPECT_TRUE(empty.text.isEmpty() && empty.quoted && !empty.isNull());
    EXPECT_EQ(r.Read().text, QStringLiteral("two\r\nlines"));
    EXPECT_FALSE(r.Eof());
    EXPECT_EQ(r.Read().text, QStringLiteral("last"));
    EXPECT_TRUE(r.EndedLine());
    EXPECT_TRUE(r.Eof());
    EXPECT_EQ(errorOf([&] { r.Read(); }), engine::err::InputPastEnd);
    EXPECT_EQ(Reader(QByteArray("St\xF8rrelse")).Read().text, QStringLiteral("Størrelse"));
}

TEST(SequentialFileReader, CountsAreWholeNumbers) {
    Reader r(QByteArray("4,\"28\",,2.5,3.5,abc,40000,70000\r\n"));
    for (const int expected : {4, 28, 0, 2, 4}) // halves to even
        EXPECT_EQ(r.ReadInt16(), expected);
    EXPECT_EQ(errorOf([&] { r.ReadInt16(); }), engine::err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { r.ReadInt16(); }), engine::err::Overflow);
    EXPECT_EQ(r.ReadInt32(), 70000);
}

TEST(SequentialFileNumbers, PlainNumbersOnly) {
    const std::pair<const char *, double> good[] = {{"1.35", 1.35}, {" -.5 ", -0.5}, {"+7", 7.0},
                                                    {"1E+16", 1e16}, {"1e-400", 0.0}};
    for (const auto &[text, x] : good)
        EXPECT_EQ(seqfile::ParsePlainNumber(QString::fromUtf8(text)), x) << text;
    for (const char *bad : {"", ".", "1,5", "1e", "0x10", "1 2", "(SELECT 1)", "#TRUE#", "1;", "١"})
        EXPECT_FALSE(seqfile::ParsePlainNumber(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(errorOf([] { seqfile::ParsePlainNumber(QStringLiteral("1e400")); }), engine::err::Overflow);
}

} // namespace
