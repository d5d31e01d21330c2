#include "data/save_load.h"

#include "data/sequential_file.h"
#include "engine/errors.h"
#include "engine/transaction.h"

#include <QFile>
#include <QSaveFile>
#include <vector>

namespace SaveLoad {

namespace {

void raiseFileError(const QFileDevice &file) {
    if (file.error() == QFileDevice::PermissionsError)
        engine::raise(engine::err::PermissionDenied);
    engine::raise(engine::err::PathFileAccess, file.errorString());
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
    if (Code == 1) {
        literal = !null && Value == QLatin1String("#TRUE#") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    } else if (null) {
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

void ReadStatements(QIODevice &file, const std::function<void(const QString &sql)> &execute) {
    seqfile::Reader in(file);
    while (!in.Eof()) {
        const QString name = in.Read().text;
        const std::int16_t fieldCount = in.ReadInt16();
        const std::int16_t recordCount = in.ReadInt16();
        if (!isInputTable(name))
            engine::raise(engine::err::DbNoSuchTable,
                          QStringLiteral("'%1' is not a table of the input and cannot be loaded.").arg(name));
        const QString table = bracketed(name) + QLatin1Char(' ');
        execute(QStringLiteral("DELETE * FROM ") + table);
        QString fieldList;
        for (int f = 0; f < fieldCount; ++f) {
            if (f > 0)
                fieldList += QStringLiteral(", ");
            fieldList += bracketed(in.Read().text);
        }
        for (int r = 0; r < recordCount; ++r) {
            QString values;
            for (int f = 0; f < fieldCount; ++f) {
                const seqfile::Item item = in.Read();
                const std::int32_t code = in.ReadInt32();
                values += FormatSqlValue(item.text, code, f == fieldCount - 1, item.quoted);
            }
            execute(QStringLiteral("INSERT INTO ") + table + QLatin1Char('(') + fieldList + QStringLiteral(") ") +
                    QStringLiteral("VALUES ") + QLatin1Char('(') + values + QStringLiteral(") "));
        }
    }
}

bool SaveInddata(engine::Connection &Cn, const QString &FileName, std::int16_t TableCount, const QStringList &Tables) {
    try {
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
        // The file is opened only once its whole contents are at hand: written in place, it is emptied on
        // opening, and a table that then failed to read would leave nothing of the project saved before.
        QSaveFile file(FileName);
        // Where no file can be made beside it, the file is written in place rather than not at all.
        file.setDirectWriteFallback(true);
        if (!file.open(QIODevice::WriteOnly))
            raiseFileError(file);
        if (file.write(out.bytes()) != out.bytes().size() || !file.commit())
            raiseFileError(file);
        return true;
    } catch (const engine::RuntimeError &) {
        return false;
    }
}

bool LoadInddata(engine::Connection &Cn, const QString &FileName) {
    try {
        QFile file(FileName);
        if (!file.exists())
            engine::raise(engine::err::FileNotFound);
        if (!file.open(QIODevice::ReadOnly))
            raiseFileError(file);
        engine::Command command;
        command.ActiveConnection = Cn;
        // One transaction for speed; it is committed after a fault too, so the blocks before it stay.
        engine::AsOneWrite(Cn, [&] {
            ReadStatements(file, [&command](const QString &sql) {
                command.CommandText = sql;
                command.Execute();
            });
        });
        return true;
    } catch (const engine::RuntimeError &) {
        return false;
    }
}

} // namespace SaveLoad
