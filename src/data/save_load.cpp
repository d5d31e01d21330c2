#include "data/save_load.h"

#include "data/connections.h"
#include "data/sequential_file.h"
#include "engine/errors.h"
#include "engine/transaction.h"
#include "platform/files.h"

#include <QDir>
#include <QFileInfo>
#include <vector>

namespace SaveLoad {

namespace {

// No project file comes near this; reading a larger one would only fill memory.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

[[noreturn]] void badFile(const QString &what) {
    engine::raise(engine::err::InvalidFileFormat, QStringLiteral("Invalid file format: ") + what);
}

bool wanted(const QString &table, std::int16_t count, const QStringList &names) {
    const QString upper = table.toUpper();
    bool found = false;
    for (int i = 0; i < count; ++i) {
        if (i >= names.size())
            engine::raise(engine::err::SubscriptOutOfRange);
        found = found || names[i].toUpper() == upper;
    }
    return found;
}

// One block: header, field names, then a value line per field of each record. An empty table is a block
// without records: there is no last record to count to, but nothing is wrong with the input either.
void writeTable(seqfile::Writer &out, engine::Connection &cn, const QString &table) {
    engine::Recordset rs;
    rs.Open(table, cn, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
    long records = 0;
    if (!(rs.Bof() && rs.Eof())) {
        rs.MoveLast();
        records = rs.RecordCount();
        rs.MoveFirst();
    }
    std::vector<engine::Field> fields;
    for (int i = 0; i < rs.FieldCount(); ++i)
        if (!rs.Fields(i).Property(QStringLiteral("ISAUTOINCREMENT")).toBool())
            fields.push_back(rs.Fields(i));
    out.Text(table);
    out.Integer(static_cast<std::int64_t>(fields.size()));
    out.Integer(records);
    out.EndLine();
    for (const engine::Field &f : fields) {
        out.Text(f.Name());
        out.EndLine();
    }
    std::vector<std::int32_t> codes;
    for (const engine::Field &f : fields)
        codes.push_back(FieldTypeCode(f.Type()));
    for (long r = 0; r < records; ++r) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            out.Value(fields[i].Value());
            out.Integer(codes[i]);
            out.EndLine();
        }
        rs.MoveNext();
    }
    rs.Close();
}

QString bracketed(const QString &name) {
    // A bracket inside the name would end the name early and let the rest of it into the SQL text.
    if (name.contains(QLatin1Char('[')) || name.contains(QLatin1Char(']')))
        engine::raise(engine::err::DbSyntax, QStringLiteral("Invalid bracketing of name '%1'.").arg(name));
    return QLatin1Char('[') + name + QLatin1Char(']');
}

bool isInputTable(const QString &name) {
    const QString upper = name.toUpper();
    for (const QString &t : kInputTables)
        if (t.toUpper() == upper)
            return true;
    return false;
}

} // namespace

std::int32_t FieldTypeCode(std::int32_t fieldType) {
    switch (fieldType) {
    case engine::adSmallInt:
        return 3;
    case engine::adInteger:
        return 4;
    case engine::adDouble:
        return 7;
    case 200: // adVarChar
    case engine::adVarWChar:
        return 10;
    default:
        return fieldType + 1000;
    }
}

QString FormatSqlValue(const QString &Value, std::int32_t Code, bool IsLast, bool Quoted) {
    const bool null = !Quoted && Value == QLatin1String("#NULL#");
    QString literal;
    if (null) {
        literal = QStringLiteral("NULL");
    } else if (Code == 10 || Code == 12) {
        literal = QLatin1Char('"') + QString(Value).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    } else {
        // The item goes into the SQL text as it stands, so it must be a number and nothing else.
        if (!seqfile::ParsePlainNumber(Value))
            engine::raise(engine::err::TypeMismatch);
        literal = Value.trimmed();
    }
    if (!IsLast)
        literal += QStringLiteral(", ");
    return literal;
}

namespace {

// Each line holds a fixed number of items: the reader must end a line exactly where the format does.
void expectLineEnd(const seqfile::Reader &in, bool endsLine) {
    if (in.EndedLine() != endsLine)
        badFile(endsLine ? QStringLiteral("more items on a line than belong there")
                         : QStringLiteral("a line ends early"));
}

seqfile::Item readItem(seqfile::Reader &in, bool endsLine) {
    seqfile::Item item = in.Read();
    expectLineEnd(in, endsLine);
    return item;
}

std::int32_t readCode(seqfile::Reader &in, bool endsLine) {
    const std::int32_t n = in.ReadInt32();
    expectLineEnd(in, endsLine);
    return n;
}

Block readBlock(seqfile::Reader &in) {
    Block b;
    b.table = readItem(in, false).text;
    if (!isInputTable(b.table))
        engine::raise(engine::err::DbNoSuchTable,
                      QStringLiteral("'%1' is not a table of the input and cannot be loaded.").arg(b.table));
    const std::int32_t fieldCount = readCode(in, false);
    const std::int32_t recordCount = readCode(in, true);
    // No table has more than 255 fields; a larger count would only make the checks below slow.
    if (fieldCount < 1 || recordCount < 0 || fieldCount > 255 || recordCount > 0x7FFF)
        badFile(QStringLiteral("the counts of '%1'").arg(b.table));
    for (int f = 0; f < fieldCount; ++f) {
        const QString field = readItem(in, true).text;
        for (const QString &earlier : b.fields)
            if (earlier.toUpper() == field.toUpper())
                badFile(QStringLiteral("the field '%1' twice").arg(field));
        b.fields << field;
    }
    for (int r = 0; r < recordCount; ++r) {
        std::vector<FileValue> record;
        for (int f = 0; f < fieldCount; ++f) {
            const seqfile::Item item = readItem(in, false);
            const std::int32_t code = readCode(in, true);
            record.push_back({item.text, item.quoted, code});
        }
        b.records.push_back(std::move(record));
    }
    return b;
}

// Codes of a text field and of a number field; the writer gives 10, 3, 4 or 7, the old reader also knew 12.
bool codeFits(std::int32_t code, int fieldType) {
    if (fieldType == 200 || fieldType == engine::adVarWChar || fieldType == engine::adLongVarWChar)
        return code == 10 || code == 12;
    return (code == 3 || code == 4 || code == 7) &&
           (fieldType == engine::adSmallInt || fieldType == engine::adInteger || fieldType == engine::adDouble);
}

void checkCodes(engine::Connection &cn, const Block &b) {
    engine::Recordset rs;
    rs.Open(b.table, cn, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
    std::vector<int> types;
    for (const QString &field : b.fields)
        types.push_back(rs.Fields(field).Type());
    rs.Close();
    for (const std::vector<FileValue> &record : b.records)
        for (std::size_t f = 0; f < record.size(); ++f)
            if (!codeFits(record[f].code, types[f]))
                engine::raise(engine::err::TypeMismatch, QStringLiteral("Type code %1 does not fit the field '%2'.")
                                                             .arg(record[f].code)
                                                             .arg(b.fields[static_cast<qsizetype>(f)]));
}

void putIntoDatabase(engine::Command &command, const Block &b) {
    const auto execute = [&command](const QString &sql) {
        command.CommandText = sql;
        command.Execute();
    };
    const QString table = bracketed(b.table) + QLatin1Char(' ');
    execute(QStringLiteral("DELETE * FROM ") + table);
    QString fieldList;
    for (const QString &field : b.fields) {
        if (!fieldList.isEmpty())
            fieldList += QStringLiteral(", ");
        fieldList += bracketed(field);
    }
    for (const std::vector<FileValue> &record : b.records) {
        QString values;
        for (std::size_t f = 0; f < record.size(); ++f)
            values += FormatSqlValue(record[f].text, record[f].code, f + 1 == record.size(), record[f].quoted);
        execute(QStringLiteral("INSERT INTO ") + table + QLatin1Char('(') + fieldList + QStringLiteral(") ") +
                QStringLiteral("VALUES ") + QLatin1Char('(') + values + QStringLiteral(") "));
    }
}

} // namespace

std::vector<Block> ReadProjectFile(const QByteArray &bytes) {
    seqfile::Reader in(bytes);
    std::vector<Block> blocks;
    // Anything after the last block reads as one more block, which the checks below refuse.
    while (!in.Eof()) {
        Block b = readBlock(in);
        for (const Block &earlier : blocks)
            if (earlier.table.toUpper() == b.table.toUpper())
                badFile(QStringLiteral("a second block of '%1'").arg(b.table));
        if (b.table.toUpper() == QLatin1String("INDDATA") && b.records.size() != 1)
            badFile(QStringLiteral("'%1' holds %2 records").arg(b.table).arg(b.records.size()));
        blocks.push_back(std::move(b));
    }
    // The program always writes all four input tables; fewer blocks is a file cut short.
    if (blocks.size() != static_cast<std::size_t>(kInputTables.size()))
        badFile(QStringLiteral("%1 of %2 tables").arg(blocks.size()).arg(kInputTables.size()));
    return blocks;
}

namespace {

// A project file put in a database's place would lose the company data and stop the next start, however the
// name reaches it: relative, through "..", a link or another spelling of the name. Beside the databases, any
// spelling of their names is refused before such a file exists: start-up could take it for the database.
void refuseDatabase(const QString &fileName) {
    QList<QDir> folders = {QDir::current()};
    if (!engine::Engine::SystemDB.isEmpty() && QFileInfo(engine::Engine::SystemDB).absoluteDir() != folders[0])
        folders << QFileInfo(engine::Engine::SystemDB).absoluteDir();
    const QFileInfo target(platform::WrittenFile(fileName));
    const QString lower = target.fileName().toLower();
    if (modMain::kDatabaseFiles.contains(lower) || lower == modMain::kCompactionCopy)
        for (const QDir &folder : folders)
            if (platform::SameFile(target.absolutePath(), folder.absolutePath()))
                engine::raise(engine::err::PermissionDenied);
    if (!target.exists())
        return;
    for (const QDir &folder : folders)
        for (const QString &name : modMain::kDatabaseFiles) {
            // Only a folder listing finds a name in another case; most saves need none.
            const QString database = QFileInfo::exists(folder.filePath(name))
                                         ? folder.filePath(name)
                                         : folder.filePath(platform::ListFile(folder.filePath(name)));
            if (platform::SameFile(fileName, database))
                engine::raise(engine::err::PermissionDenied);
        }
}

} // namespace

void SaveProjectFile(engine::Connection &Cn, const QString &FileName, std::int16_t TableCount,
                     const QStringList &Tables) {
    refuseDatabase(FileName);
    seqfile::Writer out;
    engine::Recordset schema = Cn.OpenSchema(engine::adSchemaTables);
    for (; !schema.Eof(); schema.MoveNext()) {
        if (schema.Fields(QStringLiteral("TABLE_TYPE")).Value().toString() != QLatin1String("TABLE"))
            continue;
        const QString table = schema.Fields(QStringLiteral("TABLE_NAME")).Value().toString();
        if (wanted(table, TableCount, Tables))
            writeTable(out, Cn, table);
    }
    schema.Close();
    // The file is written only once its whole contents are at hand, and never in place.
    platform::WriteFileWhole(FileName, out.bytes());
}

bool SaveInddata(engine::Connection &Cn, const QString &FileName, std::int16_t TableCount, const QStringList &Tables) {
    try {
        SaveProjectFile(Cn, FileName, TableCount, Tables);
        return true;
    } catch (const engine::RuntimeError &) {
        return false;
    }
}

void LoadProjectFile(engine::Connection &Cn, const QString &FileName) {
    const std::vector<Block> blocks = ReadProjectFile(platform::ReadPlainFile(FileName, kMaxFileSize));
    for (const Block &b : blocks)
        checkCodes(Cn, b);
    engine::Command command;
    command.ActiveConnection = Cn;
    engine::AllOrNothing(Cn, [&] {
        for (const Block &b : blocks)
            putIntoDatabase(command, b);
    });
}

bool LoadInddata(engine::Connection &Cn, const QString &FileName) {
    try {
        LoadProjectFile(Cn, FileName);
        return true;
    } catch (const engine::RuntimeError &) {
        return false;
    }
}

} // namespace SaveLoad
