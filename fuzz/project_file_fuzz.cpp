// Any bytes as a project file, loaded into a real inddata database: the load either puts in exactly what the
// file holds or changes nothing, and no table but the four input tables ever changes. Aborts otherwise.

#include "data/save_load.h"
#include "data/sequential_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>

namespace {

QString contents(const engine::Connection &cn, const QString &table) {
    QString all;
    engine::Recordset rs;
    rs.Open(table, cn, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
    for (; !rs.Eof(); rs.MoveNext())
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const engine::Variant v = rs.Fields(i).Value();
            all += v.isNull() ? QStringLiteral("N|") : v.isString() ? QLatin1Char('T') + v.string() + QLatin1Char('|')
                                                                    : QString::number(v.toDouble(), 'g', 17) + '|';
        }
    return all;
}

struct Database {
    QTemporaryDir dir;
    QString epx = dir.filePath(QStringLiteral("p.epx"));
    engine::Connection cn;
    QStringList others;
    QString othersBefore;
    Database() {
        QFile script(QStringLiteral(FUZZ_DB_SCRIPT));
        if (!script.open(QIODevice::ReadOnly))
            std::abort();
        const QString mdb = dir.filePath(QStringLiteral("inddata.mdb"));
        engine::CreateDatabase(mdb, QString::fromUtf8(script.readAll()), false, QStringLiteral("u"),
                               QStringLiteral("pw"));
        cn.Open(QStringLiteral("Data Source=") + mdb + QStringLiteral(";Jet OLEDB:Database Password=pw"));
        for (engine::Recordset s = cn.OpenSchema(engine::adSchemaTables); !s.Eof(); s.MoveNext()) {
            const QString t = s.Fields(QStringLiteral("TABLE_NAME")).Value().toString();
            if (!SaveLoad::kInputTables.contains(t, Qt::CaseInsensitive))
                others << t;
        }
        othersBefore = tables(others);
    }
    QString tables(const QStringList &names) const {
        QString all;
        for (const QString &t : names)
            all += t + QLatin1Char(':') + contents(cn, t) + QLatin1Char('\n');
        return all;
    }
};

bool same(const engine::Variant &stored, const SaveLoad::FileValue &v) {
    if (!v.quoted && v.text == QLatin1String("#NULL#"))
        return stored.isNull();
    if (v.code == 10 || v.code == 12)
        return stored.isString() && stored.string() == v.text;
    const double x = *seqfile::ParsePlainNumber(v.text);
    return stored.isNumber() && std::abs(stored.toDouble() - x) <= 1e-12 * std::abs(x);
}

// Every table of the file holds the file's records and nothing else.
bool holdsTheFile(const engine::Connection &cn, const QByteArray &bytes) {
    for (const SaveLoad::Block &b : SaveLoad::ReadProjectFile(bytes)) {
        engine::Recordset rs;
        rs.Open(b.table, cn, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
        for (const std::vector<SaveLoad::FileValue> &record : b.records) {
            if (rs.Eof())
                return false;
            for (qsizetype f = 0; f < b.fields.size(); ++f)
                if (!same(rs.Fields(b.fields[f]).Value(), record[static_cast<std::size_t>(f)]))
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
    QFile file(db.epx);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    const QString before = db.tables(SaveLoad::kInputTables);
    const bool loaded = SaveLoad::LoadInddata(db.cn, db.epx);
    if (loaded ? !holdsTheFile(db.cn, bytes) : db.tables(SaveLoad::kInputTables) != before)
        std::abort();
    if (db.tables(db.others) != db.othersBefore)
        std::abort();
    return 0;
}
