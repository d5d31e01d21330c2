#include "engine/engine_impl.h"

#include <QDir>
#include <QFileInfo>

namespace engine::detail {

QString namingFile(const QString &text, const QString &file) {
    return file.isEmpty() ? text : text + QStringLiteral(" ('%1')").arg(file);
}

std::optional<Cause> causeOf(int code, const QString &file) {
    switch (code & 0xff) {
    case SQLITE_FULL:
        return Cause{3026, namingFile(QStringLiteral("Not enough space on disk."), file)};
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Cause{3045, QStringLiteral("Could not use '%1'; file already in use.").arg(file)};
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return Cause{err::DbCannotOpen, cannotOpenText(file)};
    case SQLITE_IOERR:
        return Cause{3043, namingFile(QStringLiteral("Disk or network error."), file)};
    default:
        return std::nullopt;
    }
}

void raiseDb(sqlite3 *db, const QString &context) {
    const int code = db ? sqlite3_extended_errcode(db) : SQLITE_ERROR;
    QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("database error");
    // What the user can act on reads in the engine's own words.
    if (const std::optional<Cause> cause =
            causeOf(code, db ? QString::fromUtf8(sqlite3_db_filename(db, "main")) : QString()))
        msg = cause->text;
    // A text column's width is a CHECK on the text's length.
    const bool tooLong = code == SQLITE_CONSTRAINT_CHECK && msg.contains(QLatin1String("length("));
    if (tooLong)
        msg = runtimeErrorText(err::FieldTooSmall);
    if (!context.isEmpty())
        msg = context + QStringLiteral(": ") + msg;
    std::int32_t number = err::DbFailure;
    if (tooLong)
        number = err::FieldTooSmall;
    else if ((code & 0xff) == SQLITE_CONSTRAINT || msg.contains(QLatin1String("Data type mismatch")))
        number = err::DbIntegrity;
    else if (msg.contains(QLatin1String("no such table")))
        number = err::DbNoSuchTable;
    else if (msg.contains(QLatin1String("no such column")))
        number = err::DbNoValue;
    else if (msg.contains(QLatin1String("syntax error")) || msg.contains(QLatin1String("unrecognized token")) ||
             msg.contains(QLatin1String("incomplete input")))
        number = err::DbSyntax;
    raise(number, msg);
}

Statement::Statement(sqlite3 *db, const QString &sql) : db_(db) {
    const QByteArray utf8 = sql.toUtf8();
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &st_, &tail) != SQLITE_OK)
        raiseDb(db);
    if (!st_)
        raise(err::DbSyntax, QStringLiteral("Invalid SQL statement."));
    const QByteArray rest = tail ? QByteArray(tail).trimmed() : QByteArray();
    if (!rest.isEmpty() && rest != ";") {
        sqlite3_finalize(st_);
        st_ = nullptr;
        raise(err::DbSyntax, QStringLiteral("Characters found after end of SQL statement."));
    }
}

Statement::~Statement() { sqlite3_finalize(st_); }

bool Statement::step() {
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(st_);
    raiseDb(db_);
}

void Statement::reset() {
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
}

int adoTypeOf(const QString &declType) {
    const QString t = declType.toUpper();
    if (t.contains(QLatin1String("MEMO")) || t.contains(QLatin1String("LONGTEXT")))
        return adLongVarWChar;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT")))
        return adVarWChar;
    if (t.contains(QLatin1String("DOUBLE")) || t.contains(QLatin1String("FLOAT")) || t.contains(QLatin1String("REAL")))
        return adDouble;
    if (t.contains(QLatin1String("SINGLE")))
        return adSingle;
    if (t.contains(QLatin1String("CURRENCY")) || t.contains(QLatin1String("MONEY")))
        return adCurrency;
    if (t.contains(QLatin1String("BIT")) || t.contains(QLatin1String("YESNO")) || t.contains(QLatin1String("BOOL")) ||
        t.contains(QLatin1String("LOGICAL")))
        return adBoolean;
    if (t.contains(QLatin1String("SMALLINT")) || t.contains(QLatin1String("SHORT")))
        return adSmallInt;
    if (t.contains(QLatin1String("BYTE")) || t.contains(QLatin1String("TINYINT")))
        return adUnsignedTinyInt;
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME")))
        return adDate;
    if (t.contains(QLatin1String("INT")) || t.contains(QLatin1String("LONG")) || t.contains(QLatin1String("COUNTER")))
        return adInteger;
    return adVarWChar;
}

bool isNumericType(int t) {
    return t == adSmallInt || t == adInteger || t == adSingle || t == adDouble || t == adCurrency || t == adBoolean ||
           t == adUnsignedTinyInt;
}

Variant readColumn(sqlite3_stmt *st, int col, int adoType) {
    switch (sqlite3_column_type(st, col)) {
    case SQLITE_NULL:
        return Variant::Null();
    case SQLITE_INTEGER:
        if (adoType == adDouble || adoType == adSingle || adoType == adCurrency)
            return Variant(static_cast<double>(sqlite3_column_int64(st, col)));
        if (adoType == adVarWChar || adoType == adLongVarWChar)
            break;
        return Variant(static_cast<long long>(sqlite3_column_int64(st, col)));
    case SQLITE_FLOAT:
        if (adoType == adVarWChar || adoType == adLongVarWChar)
            break;
        return Variant(sqlite3_column_double(st, col));
    default:
        break;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(st, col));
    return Variant(QString::fromUtf8(text, sqlite3_column_bytes(st, col)));
}

void bindValue(sqlite3_stmt *st, int pos, const Variant &v) {
    if (v.isNull() || v.isEmpty())
        sqlite3_bind_null(st, pos);
    else if (v.isInteger())
        sqlite3_bind_int64(st, pos, v.integer());
    else if (v.isDouble())
        sqlite3_bind_double(st, pos, v.real());
    else {
        const QByteArray b = v.string().toUtf8();
        sqlite3_bind_text(st, pos, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
    }
}

QString quoteIdent(const QString &name) {
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

} // namespace engine::detail

namespace engine {

QString FindFile(const QString &path) {
    const QFileInfo info(path);
    const QDir dir = info.absoluteDir();
    if (QFileInfo(dir.filePath(info.fileName().toLower())).isFile())
        return dir.absoluteFilePath(info.fileName().toLower());
    const QString wanted = detail::fold(info.fileName());
    QStringList found;
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        if (detail::fold(name) == wanted)
            found << dir.absoluteFilePath(name);
    if (found.size() > 1)
        raiseSpellings(found);
    return found.value(0);
}

} // namespace engine
