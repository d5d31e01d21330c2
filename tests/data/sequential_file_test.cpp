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
    for (const double x : {0.0, -0.0, 1.35, -0.5, 1234567.25, 1e16, 1.5e-5, 0.1 + 0.2})
        w.Number(x);
    EXPECT_EQ(w.bytes(),
              QByteArray("\"projekt\",4\r\n#NULL#,0,0,1.35,-0.5,1234567.25,1E+16,1.5E-05,0.30000000000000004"));
    EXPECT_EQ(errorOf([&] { w.Number(std::numeric_limits<double>::infinity()); }), engine::err::Overflow);
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
    EXPECT_EQ(Reader(file({QStringLiteral("Ã¦")})).Read().text, QStringLiteral("Ã¦"));
}

TEST(SequentialFileReader, ItemsAndLineEnds) {
    static const char bytes[] =
        "\xEF\xBB\xBF\"a, b\",  12 ,#NULL#\r\n\"x\"\"y\",\"\"\n\"two\r\nlines\"junk,last\r\n\0z\r\n \r\n";
    Reader r(QByteArray(bytes, sizeof bytes - 1));
    const std::tuple<const char *, bool, bool> items[] = {
        {"a, b", true, false}, {"12", false, false},          {"#NULL#", false, true}, {"x\"y", true, false},
        {"", true, true},      {"two\r\nlines", true, false}, {"last", false, true}};
    for (const auto &[text, quoted, endsLine] : items) {
        const seqfile::Item item = r.Read();
        EXPECT_EQ(std::tuple(item.text, item.quoted, r.EndedLine()), std::tuple(QString(text), quoted, endsLine));
    }
    EXPECT_EQ(r.Read().text, QString(QChar(0)) + QLatin1Char('z')); // a NUL byte is a character, not the end
    EXPECT_TRUE(r.Eof());
    EXPECT_EQ(errorOf([&] { r.Read(); }), engine::err::InputPastEnd);
}

TEST(SequentialFileNumbers, PlainNumbersOnly) {
    const std::pair<const char *, double> good[] = {{" -.5 ", -0.5}, {"+7", 7.0}, {"1E+16", 1e16}, {"1e-400", 0.0}};
    for (const auto &[text, x] : good)
        EXPECT_EQ(seqfile::ParsePlainNumber(QString::fromUtf8(text)), x) << text;
    for (const char *bad : {"", ".", "1,5", "1e", "0x10", "1 2", "(SELECT 1)", "1;"})
        EXPECT_FALSE(seqfile::ParsePlainNumber(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(errorOf([] { seqfile::ParsePlainNumber(QStringLiteral("1e400")); }), engine::err::Overflow);
}

} // namespace
