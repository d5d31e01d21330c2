#pragma once
// Project files (.epx): whole tables of inddata.mdb in a comma-separated text file. Per table a header line
// (name, field count, record count), one line per field name, then one line per value with the field's
// type code. The writer copies the named tables; the reader empties each table that the file holds and
// inserts the file's records through Jet SQL texts, all of them or none.

#include "engine/engine.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace SaveLoad {

// The input tables, as the project-file dialog names them; also the only tables a project file may fill,
// so that a file can never empty the company data, the results or the print row.
inline const QStringList kInputTables = {QStringLiteral("Projekt"), QStringLiteral("Inddata"),
                                         QStringLiteral("InddataIsolering"), QStringLiteral("IndDataLast")};

// Writes the tables among the first TableCount names of Tables (any case) in the order of the database's
// table listing. True when the file was written completely. The file is replaced only by a complete one: a
// failed save leaves an existing file as it was. Shows no message.
bool SaveInddata(engine::Connection &Cn, const QString &FileName, std::int16_t TableCount, const QStringList &Tables);
// The same save, raising the fault instead of returning false. Never replaces one of the program's own
// databases (70), however the name is spelt.
void SaveProjectFile(engine::Connection &Cn, const QString &FileName, std::int16_t TableCount,
                     const QStringList &Tables);

// Puts every block of the file into the database in one transaction. False on any fault, and then the
// database is as it was. Shows no message.
bool LoadInddata(engine::Connection &Cn, const QString &FileName);
// The same load, raising the fault instead of returning false.
void LoadProjectFile(engine::Connection &Cn, const QString &FileName);

// The type code written after a value: 3, 4, 7 and 10 for small integer, integer, double and text; any other
// database type t gives t + 1000.
std::int32_t FieldTypeCode(std::int32_t fieldType);

// The SQL literal of one item read from a file, followed by ", " unless IsLast. Codes 10 and 12: the text in
// double quotes (an inner quote doubled); any other code: the number as it stands, and an item that is no plain
// number raises type mismatch (13) rather than going into the SQL text. Only an unquoted #NULL# is a missing
// value; a quoted one is the text "#NULL#". The load refuses every code but those of a text or number field
// before it gets here.
QString FormatSqlValue(const QString &Value, std::int32_t Code, bool IsLast, bool Quoted = false);

// One block of a project file as read, before any of it reaches the database.
struct FileValue {
    QString text;
    bool quoted = false;
    std::int32_t code = 0;
};
struct Block {
    QString table;
    QStringList fields;
    std::vector<std::vector<FileValue>> records;
};

// The blocks of a whole file, checked without the database: each line holds the items it should, each of the
// four input tables has exactly one block, inddata holds one record, and nothing but blank lines follows.
// Raises on the first fault.
std::vector<Block> ReadProjectFile(const QByteArray &bytes);

} // namespace SaveLoad
