#include "engine/engine_impl.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace engine {

using namespace detail;

QString Engine::SystemDB;
QString Engine::DefaultUser;
QString Engine::DefaultPassword;

ConnectionImpl::~ConnectionImpl() {
    cache.clear();
    if (db)
        sqlite3_close_v2(db);
}

void ConnectionImpl::requireOpen() const {
    if (!db)
        raise(err::ObjectClosed);
}

void ConnectionImpl::loadTables() {
    tables.clear();
    std::vector<QString> names;
    {
        Statement st(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"));
        while (st.step())
            names.push_back(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 0))));
    }
    for (const QString &name : names) {
        TableInfo t;
        t.name = name;
        Statement info(db, QStringLiteral("PRAGMA table_info(") + quoteIdent(name) + QStringLiteral(")"));
        while (info.step()) {
            ColumnInfo c;
            c.name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info.get(), 1)));
            c.type = adoTypeOf(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info.get(), 2))));
            c.autoIncrement = sqlite3_column_int(info.get(), 5) > 0 && c.type == adInteger;
            if (sqlite3_column_type(info.get(), 4) != SQLITE_NULL) {
                QString d = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info.get(), 4)));
                if (d.size() >= 2 && d.startsWith(QLatin1Char('\'')) && d.endsWith(QLatin1Char('\'')))
                    c.defaultValue = Variant(d.mid(1, d.size() - 2).replace(QLatin1String("''"), QLatin1String("'")));
                else if (d.compare(QLatin1String("NULL"), Qt::CaseInsensitive) != 0) {
                    bool ok = false;
                    const double x = d.toDouble(&ok);
                    if (ok)
                        c.defaultValue =
                            isNumericType(c.type) && c.type != adDouble && c.type != adSingle && c.type != adCurrency
                                ? Variant(static_cast<long long>(x))
                                : Variant(x);
                }
            }
            t.byFolded.insert(fold(c.name), static_cast<int>(t.columns.size()));
            t.columns.push_back(c);
        }
        tables.insert(fold(name), std::move(t));
    }
}

const TableInfo *ConnectionImpl::table(const QString &name) {
    auto it = tables.constFind(fold(name));
    return it == tables.constEnd() ? nullptr : &it.value();
}

const TableInfo &ConnectionImpl::requireTable(const QString &name) {
    const TableInfo *t = table(name);
    // The file is named: a table missing from a database the user may have replaced.
    if (!t)
        raise(err::DbNoSuchTable, namingFile(QStringLiteral("The Microsoft Jet database engine cannot find the input "
                                                            "table or query '%1'.  Make sure it exists and that its "
                                                            "name is spelled correctly.")
                                                 .arg(name),
                                             QString::fromUtf8(sqlite3_db_filename(db, "main"))));
    return *t;
}

Statement &ConnectionImpl::cached(const QString &sql) {
    const std::string key = sql.toStdString();
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.emplace(key, std::make_unique<Statement>(db, sql)).first;
    it->second->reset();
    return *it->second;
}

std::uint64_t ConnectionImpl::version() {
    unsigned int dv = 0;
    sqlite3_file_control(db, "main", SQLITE_FCNTL_DATA_VERSION, &dv);
    return (writes << 32) ^ dv;
}

void ConnectionImpl::exec(const QString &sql) {
    char *msg = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
        sqlite3_free(msg);
        raiseDb(db);
    }
}

namespace {

QHash<QString, QString> parseConnectionString(const QString &cs) {
    QHash<QString, QString> keys;
    for (const QString &part : cs.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = static_cast<int>(part.indexOf(QLatin1Char('=')));
        if (eq < 0)
            raise(err::DbFailure, QStringLiteral("The connection string is not made of key=value entries."));
        keys.insert(part.left(eq).trimmed().toLower(), part.mid(eq + 1));
    }
    return keys;
}

// The engine's words for a file it cannot read as a database, naming the file.
[[noreturn]] void raiseUnreadable(int code, const QString &file, const QString &detail) {
    if (const std::optional<Cause> cause = causeOf(code, file))
        raise(cause->number, cause->text);
    raise(err::DbNotADatabase, QStringLiteral("Cannot open database '%1'. It may not be a database that your "
                                              "application recognizes, or the file may be corrupt. (%2)")
                                   .arg(file, detail));
}

sqlite3_file *mainFile(sqlite3 *db) {
    sqlite3_file *file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods)
        return nullptr;
    return file;
}

sqlite3_int64 fileSize(sqlite3 *db) {
    sqlite3_file *file = mainFile(db);
    sqlite3_int64 size = -1;
    if (!file || file->pMethods->xFileSize(file, &size) != SQLITE_OK)
        return -1;
    return size;
}

// Reads the whole file from the disk, past the engine's page cache: the code of the first read that fails,
// SQLITE_OK when every byte came.
int refusedRead(sqlite3 *db) {
    sqlite3_file *file = mainFile(db);
    const sqlite3_int64 size = fileSize(db);
    if (!file || size < 0)
        return SQLITE_IOERR_FSTAT;
    char buffer[4096];
    for (sqlite3_int64 at = 0; at < size; at += sizeof buffer) {
        const int n = static_cast<int>(std::min<sqlite3_int64>(sizeof buffer, size - at));
        const int rc = file->pMethods->xRead(file, buffer, n, at);
        if (rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ)
            return rc;
    }
    return SQLITE_OK;
}

// Every page is read here, so that an empty, cut or damaged file is refused by name when it is opened, not
// taken for an empty database or met later in the middle of the work. The engine reads the lost tail of a cut
// last page as zeros, so the file must also be as long as its pages. The check reports a page that the disk
// refused like a damaged one: the file is read again, straight from the disk, before it is called damaged,
// since a user told that a good file is corrupt may replace it. The thorough check also compares every index
// with its table.
void requireWholeDatabase(sqlite3 *db, const QString &path, bool thorough) {
    const QByteArray sql = QByteArrayLiteral("SELECT EXISTS (SELECT 1 FROM sqlite_master), (SELECT * FROM pragma_") +
                           (thorough ? "integrity" : "quick") +
                           "_check(1)), (SELECT page_count FROM pragma_page_count) * "
                           "(SELECT page_size FROM pragma_page_size)";
    for (int look = 1;; ++look) {
        sqlite3_stmt *st = nullptr;
        int rc = sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
        QString detail;
        if (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
            detail = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 1)));
            const sqlite3_int64 size = fileSize(db), pages = sqlite3_column_int64(st, 2);
            if (sqlite3_column_int(st, 0) == 0)
                detail = QStringLiteral("no tables");
            else if (detail == QLatin1String("ok") && size < pages)
                detail = QStringLiteral("the file ends %1 bytes short of its last page").arg(pages - size);
        } else {
            detail = QString::fromUtf8(sqlite3_errmsg(db));
        }
        const int code = rc == SQLITE_ROW ? SQLITE_CORRUPT : sqlite3_extended_errcode(db);
        sqlite3_finalize(st);
        if (detail == QLatin1String("ok"))
            return;
        const int refused = rc == SQLITE_ROW ? refusedRead(db) : SQLITE_OK;
        if (rc != SQLITE_ROW || refused != SQLITE_OK || look == 2) {
            sqlite3_close_v2(db);
            raiseUnreadable(refused != SQLITE_OK ? refused : code, path, detail);
        }
    }
}

sqlite3 *openFile(const QString &path, bool readOnly, bool thorough = false) {
    sqlite3 *db = nullptr;
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr) != SQLITE_OK) {
        const int code = db ? sqlite3_extended_errcode(db) : SQLITE_NOMEM;
        const QString m = QString::fromUtf8(db ? sqlite3_errmsg(db) : "cannot open");
        sqlite3_close_v2(db);
        // The engine reads the file's header here already.
        if ((code & 0xff) == SQLITE_IOERR)
            raiseUnreadable(code, path, m);
        raise(err::DbFailure, QStringLiteral("Cannot open database '%1': %2").arg(path, m));
    }
    // Unknown "names" must be errors, never string literals.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_busy_timeout(db, 2000);
    requireWholeDatabase(db, path, thorough);
    return db;
}

const QString kCheckColumn = QStringLiteral("Checksum");

// The check value stored beside the account and the database password: a bit flipped in the row makes the
// row disagree with it, so that damage is not taken for a wrong password.
QString rowCheck(const QStringList &texts) {
    QByteArray all;
    for (const QString &t : texts)
        all += t.toUtf8() + '\0';
    return QString::fromLatin1(QCryptographicHash::hash(all, QCryptographicHash::Sha256).toHex());
}

// The first row of a query on a freshly opened file, by column name (Null as a null text); empty when the
// table is missing or holds no such row. A read that fails closes the file and raises, naming it.
QHash<QString, QString> firstRow(sqlite3 *db, const QString &path, const char *sql, const QString &arg = {}) {
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    QHash<QString, QString> row;
    if (rc == SQLITE_OK) {
        const QByteArray b = arg.toUtf8();
        if (!arg.isNull())
            sqlite3_bind_text(st, 1, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
        rc = sqlite3_step(st);
        for (int i = 0; rc == SQLITE_ROW && i < sqlite3_column_count(st); ++i)
            row.insert(QString::fromUtf8(sqlite3_column_name(st, i)),
                       QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i))));
    } else if (sqlite3_extended_errcode(db) == SQLITE_ERROR) {
        rc = SQLITE_DONE; // no such table
    }
    const int code = sqlite3_extended_errcode(db);
    const QString detail = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        sqlite3_close_v2(db);
        raiseUnreadable(code, path, detail);
    }
    return row;
}

// Files made before the check value was stored carry none: their rows are taken as they stand.
void requireCheckedRow(sqlite3 *db, const QString &path, const QHash<QString, QString> &row, const QStringList &texts) {
    const auto check = row.constFind(kCheckColumn);
    if (check == row.constEnd() || check.value() == rowCheck(texts))
        return;
    sqlite3_close_v2(db);
    raiseUnreadable(SQLITE_CORRUPT, path, QStringLiteral("a row disagrees with its check value"));
}

QString requireFile(const QString &name) {
    const QString abs = QDir::current().absoluteFilePath(name);
    const QString found = FindFile(abs);
    if (found.isEmpty()) {
        // A folder in the file's place is there, only not to be opened.
        const QDir dir = QFileInfo(abs).absoluteDir();
        const QStringList entries = dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &entry : entries)
            if (fold(entry) == fold(QFileInfo(abs).fileName()))
                raise(err::DbCannotOpen, cannotOpenText(dir.filePath(entry)));
        raise(err::DbFailure, QStringLiteral("Could not find file '%1'.").arg(QDir::toNativeSeparators(abs)));
    }
    return found;
}

// The account file is small: it is checked whole, its index too, so that a damaged name is not taken for
// another account.
void checkAccount(const QString &systemDb, const QString &user, const QString &password) {
    const QString path = requireFile(systemDb);
    sqlite3 *db = openFile(path, true, true);
    const QHash<QString, QString> row = firstRow(db, path, "SELECT * FROM \"MSysAccounts\" WHERE \"Name\" = ?1", user);
    const QString stored = row.value(QStringLiteral("Password"));
    requireCheckedRow(db, path, row, {row.value(QStringLiteral("Name")), stored});
    sqlite3_close_v2(db);
    if (row.isEmpty() || stored != password)
        raise(err::DbFailure, namingFile(QStringLiteral("Not a valid account name or password."), path));
}

// Closes the file when its password is not the one given.
void checkDatabasePassword(sqlite3 *db, const QString &path, const QString &password) {
    const QHash<QString, QString> row = firstRow(db, path, "SELECT * FROM \"MSysDatabase\"");
    const QString stored = row.value(QStringLiteral("Password"));
    requireCheckedRow(db, path, row, {stored});
    if (!row.isEmpty() && stored != password) {
        sqlite3_close_v2(db);
        raise(err::DbNotValidPassword, namingFile(QStringLiteral("Not a valid password."), path));
    }
}

} // namespace

Connection::Connection() : d_(std::make_shared<ConnectionImpl>()) {}

void Connection::Open(const QString &connectionString) {
    if (d_->db)
        raise(err::NotAllowedInContext);
    const QHash<QString, QString> keys = parseConnectionString(connectionString);
    const QString source = keys.value(QStringLiteral("data source"));
    if (source.isEmpty())
        raise(err::DbFailure, QStringLiteral("Data source name not found and no default driver specified"));
    const QString path = requireFile(source);
    const QString systemDb = keys.value(QStringLiteral("jet oledb:system database"), Engine::SystemDB);
    if (!systemDb.isEmpty()) {
        QString u = keys.value(QStringLiteral("user id"));
        QString p = keys.value(QStringLiteral("password"));
        if (u.isEmpty()) {
            u = Engine::DefaultUser;
            p = Engine::DefaultPassword;
        }
        checkAccount(systemDb, u, p);
    }
    sqlite3 *db = openFile(path, false);
    checkDatabasePassword(db, path, keys.value(QStringLiteral("jet oledb:database password")));
    d_->db = db;
    try {
        d_->exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        d_->loadTables();
    } catch (const RuntimeError &) {
        // Half open is closed: a second Open must not be refused, nor find no tables.
        Close();
        throw;
    }
}

void Connection::Close() {
    d_->cache.clear();
    d_->tables.clear();
    if (d_->db)
        sqlite3_close_v2(d_->db);
    d_->db = nullptr;
    d_->transDepth = 0;
}

long Connection::Execute(const QString &sql) {
    d_->requireOpen();
    const QString translated = translateSql(*d_, sql);
    Statement st(d_->db, translated);
    while (st.step()) {
    }
    ++d_->writes;
    return sqlite3_changes(d_->db);
}

void Connection::BeginTrans() {
    d_->requireOpen();
    if (d_->transDepth == 0)
        d_->exec(QStringLiteral("BEGIN"));
    else
        d_->exec(QStringLiteral("SAVEPOINT t%1").arg(d_->transDepth));
    ++d_->transDepth;
}

void Connection::CommitTrans() {
    d_->requireOpen();
    if (d_->transDepth == 0)
        raise(err::DbFailure, QStringLiteral("No transaction is active."));
    const int depth = --d_->transDepth;
    try {
        d_->exec(depth == 0 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE t%1").arg(depth));
    } catch (const RuntimeError &) {
        // A commit that fails (the file held by another program past the busy wait, a full disk) takes its
        // writes back. Left open, the transaction would take in every later write and lose it at the close.
        // SQLite has rolled back by itself after some failures; the error reported is the commit's.
        if (sqlite3_get_autocommit(d_->db))
            d_->transDepth = 0;
        else if (depth == 0)
            sqlite3_exec(d_->db, "ROLLBACK", nullptr, nullptr, nullptr);
        else
            sqlite3_exec(d_->db, QStringLiteral("ROLLBACK TO t%1; RELEASE t%1").arg(depth).toUtf8().constData(),
                         nullptr, nullptr, nullptr);
        ++d_->writes;
        throw;
    }
}

void Connection::RollbackTrans() {
    d_->requireOpen();
    if (d_->transDepth == 0)
        raise(err::DbFailure, QStringLiteral("No transaction is active."));
    --d_->transDepth;
    if (d_->transDepth == 0)
        d_->exec(QStringLiteral("ROLLBACK"));
    else
        d_->exec(QStringLiteral("ROLLBACK TO t%1; RELEASE t%1").arg(d_->transDepth));
    ++d_->writes;
}

void Engine::CompactDatabase(const QString &src, const QString &dst) {
    const QString from = FindFile(src);
    if (from.isEmpty())
        raise(3024, QStringLiteral("Could not find file '%1'.").arg(src));
    if (QFileInfo(dst).isFile())
        raise(3204, QStringLiteral("Database already exists."));
    // Read-write, so that the journal of a write that a crash interrupted is rolled back first: read-only,
    // the engine cannot, and every later start would fail here.
    sqlite3 *db = openFile(from, false);
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db, "VACUUM INTO ?1", -1, &st, nullptr);
    // The source is read while the statement is prepared; only the step writes the target.
    const bool prepared = rc == SQLITE_OK;
    if (prepared) {
        const QByteArray target = QFileInfo(dst).absoluteFilePath().toUtf8();
        sqlite3_bind_text(st, 1, target.constData(), static_cast<int>(target.size()), SQLITE_TRANSIENT);
        rc = sqlite3_step(st);
    }
    const int code = sqlite3_extended_errcode(db);
    const QString msg = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    // The step reads the target as well as the source: a disk error is the source's only when the source no
    // longer reads whole. Only the target is written, so a full disk is its.
    const bool atTarget = prepared && ((code & 0xff) == SQLITE_CANTOPEN || (code & 0xff) == SQLITE_FULL ||
                                       ((code & 0xff) == SQLITE_IOERR && refusedRead(db) == SQLITE_OK));
    sqlite3_close_v2(db);
    if (rc == SQLITE_DONE || rc == SQLITE_OK)
        return;
    // A copy cut short is no copy: the next start must not take it for the database.
    QFile::remove(QFileInfo(dst).absoluteFilePath());
    raiseUnreadable(code, atTarget ? dst : src, msg);
}

bool OpensWhole(const QString &path) {
    try {
        sqlite3_close_v2(openFile(path, true));
        return true;
    } catch (const RuntimeError &) {
        return false;
    }
}

void CreateDatabase(const QString &path, const QString &script, bool workgroup, const QString &user,
                    const QString &password) {
    QFile::remove(path);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close_v2(db);
        raise(err::DbFailure, QStringLiteral("Cannot create database '%1'.").arg(path));
    }
    auto impl = std::make_shared<ConnectionImpl>();
    impl->db = db;
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    impl->exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    impl->exec(QStringLiteral("BEGIN"));
    impl->exec(script);
    impl->loadTables();
    // Number columns refuse text, as the old engine did ("Data type mismatch").
    for (const TableInfo &t : std::as_const(impl->tables)) {
        QStringList checks;
        for (const ColumnInfo &c : t.columns)
            if (isNumericType(c.type))
                checks << QStringLiteral("typeof(NEW.%1) = 'text'").arg(quoteIdent(c.name));
        if (checks.isEmpty())
            continue;
        for (const char *ev : {"INSERT", "UPDATE"})
            impl->exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 WHEN %4 BEGIN SELECT "
                                      "RAISE(ABORT, 'Data type mismatch in criteria expression.'); END")
                           .arg(quoteIdent(QStringLiteral("MSysType_") + QLatin1String(ev) + QLatin1Char('_') + t.name),
                                QLatin1String(ev), quoteIdent(t.name), checks.join(QLatin1String(" OR "))));
    }
    auto quote = [](const QString &s) {
        return QLatin1Char('\'') + QString(s).replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
    };
    if (workgroup) {
        impl->exec(
            QStringLiteral("CREATE TABLE \"MSysAccounts\" (\"Name\" TEXT PRIMARY KEY, \"Password\" TEXT, %1 TEXT)")
                .arg(quoteIdent(kCheckColumn)));
        impl->exec(QStringLiteral("INSERT INTO \"MSysAccounts\" VALUES (%1, %2, %3)")
                       .arg(quote(user), quote(password), quote(rowCheck({user, password}))));
    } else {
        impl->exec(
            QStringLiteral("CREATE TABLE \"MSysDatabase\" (\"Password\" TEXT, %1 TEXT)").arg(quoteIdent(kCheckColumn)));
        impl->exec(QStringLiteral("INSERT INTO \"MSysDatabase\" VALUES (%1, %2)")
                       .arg(quote(password), quote(rowCheck({password}))));
    }
    impl->exec(QStringLiteral("COMMIT"));
}

} // namespace engine
