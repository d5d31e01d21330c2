#pragma once
// Comma-separated sequential files as the old runtime wrote and read them: items separated by commas,
// lines ended by CR LF, texts between double quotes, a missing value as #NULL#, numbers with a period.
// The reader reads items, not lines: a quoted item may span line ends, and any line end or comma ends an
// unquoted one.
//
// One encoding per file: Windows-1252, which the old runtime wrote for Danish text, unless a text has a
// character that Windows-1252 lacks or the file's bytes would read as UTF-8; then the whole file is UTF-8. The
// reader takes a file that is valid UTF-8 as UTF-8 and any other as Windows-1252, so every text comes back as
// written. A double quote inside a text is written doubled, so that it reads back as one quote and not as the
// end of the text.

#include "engine/variant.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace seqfile {

class Writer {
public:
    // Each adds one item to the current line.
    void Text(const QString &s);
    void Integer(std::int64_t n);
    // Shortest text that reads back the same double; raises overflow (6) for a number that is not finite.
    void Number(double x);
    void Null();
    // A field value by its kind: Null, a whole number, a double or a text (Empty writes nothing between commas).
    void Value(const engine::Variant &v);
    // Ends the line with CR LF.
    void EndLine();

    // The whole file in its one encoding.
    QByteArray bytes() const;

private:
    void separate();
    QString out_;
    bool lineStarted_ = false;
};

struct Item {
    QString text;
    bool quoted = false;
};

class Reader {
public:
    // The whole file, decoded at once.
    explicit Reader(const QByteArray &bytes);

    // True when nothing but blanks and line ends remains.
    bool Eof();
    // The next item; past the end raises 62.
    Item Read();
    // A count or code: a number rounded to a whole one (halves to even). Text that is no number raises
    // type mismatch (13), a number out of range overflow (6), an empty item reads as 0.
    std::int32_t ReadInt32();
    // True when the item read last ended its line (or the file), false when a comma followed it.
    bool EndedLine() const { return endedLine_; }

private:
    int peek() const;
    int get();
    double readNumber();

    QString text_;
    qsizetype pos_ = 0;
    bool endedLine_ = false;
};

// The Windows-1252 and UTF-8 conversions of a whole file.
QByteArray EncodeText(const QString &s);
QString DecodeText(const QByteArray &bytes);

// A number item as the runtime reads one: blanks around it, a sign, digits with one period, an exponent.
// Empty when the text is not such a number; raises overflow (6) when the number is too large for a double.
std::optional<double> ParsePlainNumber(const QString &text);

} // namespace seqfile
