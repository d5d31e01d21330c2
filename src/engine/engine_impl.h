#pragma once
// Inside of the engine layer, shared by its source files only.

#include "engine/engine.h"

#include <QHash>
#include <cstdint>
#include <optional>
#include <sqlite3.h>
#include <unordered_map>

namespace engine::detail {

// Names compare without regard to case, Danish letters included (SQLite folds ASCII only).
inline QString fold(const QString &name) { return name.toCaseFolded(); }

struct ColumnInfo {
    QString name;
    int type = adVarWChar;
    bool autoIncrement = false;
    Variant defaultValue = Variant::Null();
};

struct TableInfo {
    QString name;
    std::vector<ColumnInfo> columns;
    QHash<QString, int> byFolded;
};

int adoTypeOf(const QString &declType);
bool isNumericType(int adoType);
// A stored value as the field type hands it out (doubles for double columns, -1/0 for truth values).
Variant readColumn(sqlite3_stmt *st, int col, int adoType);
void bindValue(sqlite3_stmt *st, int pos, const Variant &v);
[[noreturn]] void raiseDb(sqlite3 *db, const QString &context = {});

// The engine's number and text for a failure whose cause the user can act on (a full disk, a file in use, no
// permission); none for any other SQLite result code.
struct Cause {
    std::int32_t number;
    QString text;
};
std::optional<Cause> causeOf(int code, const QString &file);
// The engine's words for a failure that do not name the file, with the file after them: the user must know
// which file to look at.
QString namingFile(const QString &text, const QString &file);

class Statement {
public:
    Statement(sqlite3 *db, const QString &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    sqlite3_stmt *get() const { return st_; }
    bool step(); // true while there is a row
    void reset();

private:
    sqlite3 *db_;
    sqlite3_stmt *st_ = nullptr;
};

} // namespace engine::detail

namespace engine {
struct ConnectionImpl {
    sqlite3 *db = nullptr;
    std::unordered_map<std::string, std::unique_ptr<detail::Statement>> cache;
    QHash<QString, detail::TableInfo> tables; // by folded name
    std::uint64_t writes = 0;                 // raised by every write through this connection
    int transDepth = 0;

    ~ConnectionImpl();
    void requireOpen() const;
    void loadTables();
    const detail::TableInfo *table(const QString &name);
    const detail::TableInfo &requireTable(const QString &name);
    // A prepared statement kept for the connection's life (the same texts run again and again).
    detail::Statement &cached(const QString &sql);
    // The engine's data version, so that a cursor knows when its current row may be stale.
    std::uint64_t version();
    void exec(const QString &sql);
};

} // namespace engine

namespace engine::detail {

// Jet SQL as the program writes it, turned into SQLite SQL with every name in its stored spelling.
QString translateSql(ConnectionImpl &cn, const QString &jetSql);
QString quoteIdent(const QString &name);

// A filter condition: clauses joined by AND.
struct FilterClause {
    int column;
    QString op;
    Variant value;
};
std::vector<FilterClause> parseFilter(const QString &text, const std::vector<ColumnInfo> &columns);
bool matches(const std::vector<FilterClause> &filter, const std::vector<Variant> &row);

} // namespace engine::detail
