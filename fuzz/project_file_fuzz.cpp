// Any bytes as a project file, loaded into a real inddata database: the load either puts in exactly what the
// file holds or changes nothing, and no table but the four input tables ever changes. Aborts otherwise.

#include "data/save_load.h"
#include "data/sequential_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>

namespace {

void require(bool ok) {
    if (!ok)
        std::abort();
}

struct Database {
    QTemporaryDir dir;
    QString epx = dir.filePath(QStringLiteral("p.epx"));
    engine::Connection cn;
    QStringList others;
    QString othersBefore;
    Database() {
        QFile script(QStringLiteral(FUZZ_DB_SCRIPT));
        require(script.open(QIODevice::ReadOnly));
        const QString mdb = dir.filePath(QStringLiteral("inddata.mdb"));
        engine::CreateDatabase(mdb, QString::fromUtf8(script.readAll()), false, "u", "pw");
        cn.Open(QStringLiteral("Data Source=") + mdb + QStringLiteral(";Jet OLEDB:Database Password=pw"));
        for (engine::Recordset s = cn.OpenSchema(engine::adSchemaTables); !s.Eof(); s.MoveNext())
            if (const QString t = s.Fields(QStringLiteral("TABLE_NAME")).Value().toString();
                !SaveLoad::kInputTables.contains(t, Qt::CaseInsensitive))
                others << t;
        othersBefore = contents(others);
    }
    // Every value of the tables, typed.
    QString contents(const QStringList &tables) const {
        QString all;
        for (const QString &t : tables) {
            engine::Recordset rs;
            rs.Open(t, cn, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
            for (all += t; !rs.Eof(); rs.MoveNext())
                for (int i = 0; i < rs.FieldCount(); ++i) {
                    const engine::Variant v = rs.Fields(i).Value();
                    all += v.isNull() ? QStringLiteral("|N") : v.isString() ? "|T" + v.string() : "|" + v.toString();
                }
        }
        return all;
    }
};

bool same(const engine::Variant &stored, const SaveLoad::FileValue &v) {
    if (!v.quoted && v.text == QLatin1String("#NULL#"))
        return stored.isNull();
    if (v.code == 10 || v.code == 12)
        return stored.isString() && stored.string() == v.text;
    const double x = *seqfile::ParsePlainNumber(v.text); // SQLite may round the last digit differently
    return stored.isNumber() && std::abs(stored.toDouble() - x) <= 1e-12 * std::abs(x);
}

// Every table of the file holds the file's records and nothing else.
bool holdsTheFile(const engine::Connection &cn, const QByteArray &bytes) {
    for (const SaveLoad::Block &b : SaveLoad::ReadProjectFile(bytes)) {
        engine::Recordset rs;
        rs.Open(b.table, cn, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
        for (const std::vector<SaveLoad::FileValue> &record : b.records) {
            for (qsizetype f = 0; f < b.fields.size(); ++f)
                if (rs.Eof() || !same(rs.Fields(b.fields[f]).Value(), record[static_cast<std::size_t>(f)]))
                    return false;
            rs.MoveNext();
        }
        if (!rs.Eof())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static Database db;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    {
        QFile file(db.epx);
        require(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    const QString before = db.contents(SaveLoad::kInputTables);
    if (SaveLoad::LoadInddata(db.cn, db.epx))
        require(holdsTheFile(db.cn, bytes));
    else
        require(db.contents(SaveLoad::kInputTables) == before);
    require(db.contents(db.others) == db.othersBefore);
    return 0;
}
