#include "engine/engine_impl.h"

#include <QRegularExpression>
#include <algorithm>

namespace engine {

using namespace detail;

// A recordset is a list of rows (rowids of its table, or values for a query snapshot), a position in the
// visible ones, and the current row's values with the edit that is pending on them.
struct RecordsetImpl {
    std::shared_ptr<ConnectionImpl> cn;
    bool open = false;
    int lockType = adLockReadOnly;
    QString table; // stored spelling; empty for a query snapshot
    std::vector<ColumnInfo> columns;
    QHash<QString, int> byFolded;

    bool snapshot = false;                  // static: values read once at open
    std::vector<std::int64_t> keys;         // rowids, for a table source
    std::vector<std::vector<Variant>> rows; // values of every row, for a snapshot
    std::vector<char> deleted;
    std::vector<int> visible; // indices into keys/rows that the filter lets through
    long pos = -1;            // index into visible; -1 BOF, visible.size() EOF

    std::vector<FilterClause> filter;

    std::vector<Variant> cur; // current row as read (plus the pending edit)
    std::vector<char> changed;
    bool curValid = false;
    bool curDeleted = false;
    std::uint64_t curVersion = 0;
    int editMode = adEditNone;
    long posBeforeAdd = -1;

    void requireOpen() const {
        if (!open)
            raise(err::ObjectClosed);
        cn->requireOpen();
    }
    bool atBofOrEof() const { return pos < 0 || pos >= static_cast<long>(visible.size()); }
    // An empty recordset (BOF and EOF at once) has no first or last row to move to; a new row pending is
    // written first.
    void requireRows() const {
        if (visible.empty() && editMode != adEditAdd)
            raise(err::NoCurrentRecord);
    }
    int rowIndex() const { return visible[static_cast<size_t>(pos)]; }

    std::vector<Variant> readRow(std::int64_t rowid, bool &found) {
        Statement &st =
            cn->cached(QStringLiteral("SELECT * FROM ") + quoteIdent(table) + QStringLiteral(" WHERE rowid = ?1"));
        sqlite3_bind_int64(st.get(), 1, rowid);
        std::vector<Variant> v;
        found = st.step();
        if (found) {
            v.reserve(columns.size());
            for (size_t i = 0; i < columns.size(); ++i)
                v.push_back(readColumn(st.get(), static_cast<int>(i), columns[i].type));
        }
        st.reset();
        return v;
    }

    // Makes the row at pos current; keyset and dynamic cursors read it afresh.
    void loadCurrent() {
        curValid = false;
        curDeleted = false;
        if (atBofOrEof())
            return;
        const int idx = rowIndex();
        if (deleted[static_cast<size_t>(idx)]) {
            curDeleted = true;
            return;
        }
        if (snapshot) {
            cur = rows[static_cast<size_t>(idx)];
        } else {
            bool found = false;
            cur = readRow(keys[static_cast<size_t>(idx)], found);
            if (!found) {
                curDeleted = true;
                return;
            }
            curVersion = cn->version();
        }
        changed.assign(columns.size(), 0);
        curValid = true;
    }

    const std::vector<Variant> &current() {
        if (editMode == adEditAdd)
            return cur;
        if (atBofOrEof() || curDeleted)
            raise(err::NoCurrentRecord);
        if (!curValid || (!snapshot && editMode == adEditNone && curVersion != cn->version()))
            loadCurrent();
        if (curDeleted)
            raise(err::NoCurrentRecord);
        return cur;
    }

    void commitPending() {
        if (editMode == adEditAdd)
            insertNew();
        else if (editMode == adEditInProgress)
            updateCurrent();
    }

    void requireUpdatable() const {
        if (lockType == adLockReadOnly || table.isEmpty())
            raise(3251, QStringLiteral("Current Recordset does not support updating. This may be a limitation of "
                                       "the provider, or of the selected locktype."));
    }

    void updateCurrent() {
        QStringList sets;
        std::vector<const Variant *> vals;
        for (size_t i = 0; i < columns.size(); ++i)
            if (changed[i]) {
                sets << quoteIdent(columns[i].name) + QStringLiteral(" = ?");
                vals.push_back(&cur[i]);
            }
        editMode = adEditNone;
        if (sets.isEmpty())
            return;
        const int idx = rowIndex();
        Statement &st = cn->cached(QStringLiteral("UPDATE ") + quoteIdent(table) + QStringLiteral(" SET ") +
                                   sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE rowid = ?"));
        int p = 1;
        for (const Variant *v : vals)
            bindValue(st.get(), p++, *v);
        sqlite3_bind_int64(st.get(), p, keys[static_cast<size_t>(idx)]);
        try {
            st.step();
        } catch (...) {
            st.reset();
            editMode = adEditInProgress; // the edit stays pending, as it was
            throw;
        }
        st.reset();
        ++cn->writes;
        if (sqlite3_changes(cn->db) == 0) {
            // Another recordset deleted the row: the edit has nowhere to go, and must not vanish unnoticed.
            curValid = false;
            curDeleted = true;
            raise(err::DbRowDeleted, QStringLiteral("Row cannot be located for updating. Some values may have "
                                                    "been changed since it was last read."));
        }
        if (snapshot)
            rows[static_cast<size_t>(idx)] = cur;
        changed.assign(columns.size(), 0);
        curVersion = cn->version();
    }

    void insertNew() {
        QStringList names, marks;
        std::vector<const Variant *> vals;
        for (size_t i = 0; i < columns.size(); ++i)
            if (changed[i]) {
                names << quoteIdent(columns[i].name);
                marks << QStringLiteral("?");
                vals.push_back(&cur[i]);
            }
        const QString sql = names.isEmpty()
                                ? QStringLiteral("INSERT INTO ") + quoteIdent(table) + QStringLiteral(" DEFAULT VALUES")
                                : QStringLiteral("INSERT INTO ") + quoteIdent(table) + QStringLiteral(" (") +
                                      names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                                      marks.join(QStringLiteral(", ")) + QStringLiteral(")");
        Statement &st = cn->cached(sql);
        int p = 1;
        for (const Variant *v : vals)
            bindValue(st.get(), p++, *v);
        st.step();
        st.reset();
        ++cn->writes;
        editMode = adEditNone;
        const std::int64_t rowid = sqlite3_last_insert_rowid(cn->db);
        keys.push_back(rowid);
        deleted.push_back(0);
        bool found = false;
        std::vector<Variant> stored = readRow(rowid, found);
        if (snapshot)
            rows.push_back(stored);
        visible.push_back(static_cast<int>(keys.size()) - 1);
        pos = static_cast<long>(visible.size()) - 1;
        loadCurrent();
    }

    void moveTo(long p) {
        commitPending();
        const long n = static_cast<long>(visible.size());
        pos = p < -1 ? -1 : (p > n ? n : p);
        curValid = false;
        curDeleted = false;
    }

    bool isDeletedAt(long p) const { return deleted[static_cast<size_t>(visible[static_cast<size_t>(p)])] != 0; }

    void applyFilter() {
        visible.clear();
        const size_t n = snapshot ? rows.size() : keys.size();
        if (filter.empty()) {
            for (size_t i = 0; i < n; ++i)
                if (!deleted[i])
                    visible.push_back(static_cast<int>(i));
        } else {
            for (size_t i = 0; i < n; ++i) {
                if (deleted[i])
                    continue;
                bool found = true;
                const std::vector<Variant> r = snapshot ? rows[i] : readRow(keys[i], found);
                if (found && matches(filter, r))
                    visible.push_back(static_cast<int>(i));
            }
        }
        pos = 0;
        curValid = false;
        curDeleted = false;
    }
};

namespace {

const QRegularExpression &selectStar() {
    static const QRegularExpression re(QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+(\\[[^\\]]+\\]|[\\w]+)(.*)$"),
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::DotMatchesEverythingOption |
                                           QRegularExpression::UseUnicodePropertiesOption);
    return re;
}

} // namespace

Recordset::Recordset() : d_(std::make_shared<RecordsetImpl>()) {}

void Recordset::Open(const QString &source, const Connection &cnHandle, int cursorType, int lockType, int options) {
    if (d_->open)
        raise(err::NotAllowedInContext);
    auto cn = cnHandle.impl();
    cn->requireOpen();
    auto d = std::make_shared<RecordsetImpl>();
    d->cn = cn;
    d->lockType = lockType;
    d->snapshot = cursorType == adOpenStatic;

    QString tableName;
    QString tail; // WHERE / ORDER BY of a "SELECT * FROM t ..." text
    const bool looksLikeSql = source.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive);
    if (options == adCmdTable || !looksLikeSql) {
        tableName = source.trimmed();
        if (tableName.startsWith(QLatin1Char('[')) && tableName.endsWith(QLatin1Char(']')))
            tableName = tableName.mid(1, tableName.size() - 2);
    } else if (const auto m = selectStar().match(source); m.hasMatch()) {
        tableName = m.captured(1);
        if (tableName.startsWith(QLatin1Char('[')))
            tableName = tableName.mid(1, tableName.size() - 2);
        tail = m.captured(2).trimmed();
        if (tail.endsWith(QLatin1Char(';')))
            tail.chop(1);
    }

    if (!tableName.isEmpty()) {
        const TableInfo &t = cn->requireTable(tableName);
        d->table = t.name;
        d->columns = t.columns;
        d->byFolded = t.byFolded;
        const QString order =
            tail.isEmpty() ? QStringLiteral(" ORDER BY rowid") : QLatin1Char(' ') + translateSql(*cn, tail);
        if (d->snapshot) {
            Statement st(cn->db, QStringLiteral("SELECT rowid, * FROM ") + quoteIdent(t.name) + order);
            while (st.step()) {
                d->keys.push_back(sqlite3_column_int64(st.get(), 0));
                std::vector<Variant> r;
                r.reserve(t.columns.size());
                for (size_t i = 0; i < t.columns.size(); ++i)
                    r.push_back(readColumn(st.get(), static_cast<int>(i) + 1, t.columns[i].type));
                d->rows.push_back(std::move(r));
            }
        } else {
            Statement &st = cn->cached(QStringLiteral("SELECT rowid FROM ") + quoteIdent(t.name) + order);
            while (st.step())
                d->keys.push_back(sqlite3_column_int64(st.get(), 0));
            st.reset();
        }
    } else {
        // Any other query: a read-only snapshot of its rows.
        Statement st(cn->db, translateSql(*cn, source));
        const int nc = sqlite3_column_count(st.get());
        for (int i = 0; i < nc; ++i) {
            ColumnInfo c;
            c.name = QString::fromUtf8(sqlite3_column_name(st.get(), i));
            const char *decl = sqlite3_column_decltype(st.get(), i);
            c.type = adoTypeOf(QString::fromUtf8(decl ? decl : "DOUBLE"));
            d->byFolded.insert(fold(c.name), i);
            d->columns.push_back(c);
        }
        while (st.step()) {
            std::vector<Variant> r;
            for (int i = 0; i < nc; ++i)
                r.push_back(readColumn(st.get(), i, d->columns[static_cast<size_t>(i)].type));
            d->rows.push_back(std::move(r));
        }
        d->snapshot = true;
        d->lockType = adLockReadOnly;
    }
    d->deleted.assign(d->snapshot ? d->rows.size() : d->keys.size(), 0);
    d->applyFilter();
    d->open = true;
    *d_ = std::move(*d); // in place: every copy of the handle sees the open recordset
}

void Recordset::Close() {
    if (!d_->open)
        raise(err::ObjectClosed);
    // A pending edit is dropped, never half written.
    *d_ = RecordsetImpl{};
}

bool Recordset::IsOpen() const { return d_->open; }

bool Recordset::Eof() const {
    d_->requireOpen();
    return d_->visible.empty() || d_->pos >= static_cast<long>(d_->visible.size());
}

bool Recordset::Bof() const {
    d_->requireOpen();
    return d_->pos < 0 || d_->visible.empty();
}

long Recordset::RecordCount() const {
    d_->requireOpen();
    long n = 0;
    for (int i : d_->visible)
        if (!d_->deleted[static_cast<size_t>(i)])
            ++n;
    return n;
}

void Recordset::MoveFirst() {
    d_->requireOpen();
    d_->requireRows();
    d_->moveTo(0);
    const long n = static_cast<long>(d_->visible.size());
    while (d_->pos < n && d_->isDeletedAt(d_->pos))
        ++d_->pos;
}

void Recordset::MoveLast() {
    d_->requireOpen();
    d_->requireRows();
    d_->moveTo(static_cast<long>(d_->visible.size()) - 1);
    while (d_->pos >= 0 && d_->isDeletedAt(d_->pos))
        --d_->pos;
    if (d_->pos < 0 && !d_->visible.empty())
        d_->pos = static_cast<long>(d_->visible.size());
}

void Recordset::MoveNext() {
    d_->requireOpen();
    if (Eof())
        raise(err::NoCurrentRecord);
    d_->moveTo(d_->pos + 1);
    const long n = static_cast<long>(d_->visible.size());
    while (d_->pos < n && d_->isDeletedAt(d_->pos))
        ++d_->pos;
}

void Recordset::MovePrevious() {
    d_->requireOpen();
    if (d_->pos < 0 || d_->visible.empty())
        raise(err::NoCurrentRecord);
    d_->moveTo(d_->pos - 1);
    while (d_->pos >= 0 && d_->isDeletedAt(d_->pos))
        --d_->pos;
}

void Recordset::Move(long n) {
    d_->requireOpen();
    if (n == 0) {
        if (d_->editMode == adEditNone && d_->atBofOrEof())
            raise(err::NoCurrentRecord);
        d_->commitPending();
        d_->curValid = false;
        return;
    }
    if (d_->atBofOrEof())
        raise(err::NoCurrentRecord);
    d_->moveTo(d_->pos + n);
}

int Recordset::FieldCount() const {
    d_->requireOpen();
    return static_cast<int>(d_->columns.size());
}

Field Recordset::Fields(int index) const {
    d_->requireOpen();
    if (index < 0 || index >= static_cast<int>(d_->columns.size()))
        raise(err::ItemNotFound);
    return Field(d_, index);
}

Field Recordset::Fields(const QString &name) const {
    d_->requireOpen();
    const int i = d_->byFolded.value(fold(name), -1);
    if (i < 0)
        raise(err::ItemNotFound,
              runtimeErrorText(err::ItemNotFound) + QStringLiteral(" (") + name + QStringLiteral(")"));
    return Field(d_, i);
}

void Recordset::AddNew() {
    d_->requireOpen();
    d_->requireUpdatable();
    d_->commitPending();
    d_->posBeforeAdd = d_->pos;
    d_->cur.clear();
    for (const ColumnInfo &c : d_->columns)
        d_->cur.push_back(c.autoIncrement ? Variant::Null() : c.defaultValue);
    d_->changed.assign(d_->columns.size(), 0);
    d_->editMode = adEditAdd;
}

void Recordset::Update() {
    d_->requireOpen();
    d_->commitPending();
}

void Recordset::CancelUpdate() {
    d_->requireOpen();
    if (d_->editMode == adEditAdd)
        d_->pos = d_->posBeforeAdd;
    d_->editMode = adEditNone;
    d_->curValid = false;
}

void Recordset::Cancel() {
    if (d_->open)
        CancelUpdate();
}

void Recordset::Delete() {
    d_->requireOpen();
    d_->requireUpdatable();
    if (d_->editMode == adEditAdd) {
        CancelUpdate();
        return;
    }
    if (d_->atBofOrEof() || d_->curDeleted)
        raise(err::NoCurrentRecord);
    d_->editMode = adEditNone;
    const int idx = d_->rowIndex();
    Statement &st =
        d_->cn->cached(QStringLiteral("DELETE FROM ") + quoteIdent(d_->table) + QStringLiteral(" WHERE rowid = ?1"));
    sqlite3_bind_int64(st.get(), 1, d_->keys[static_cast<size_t>(idx)]);
    st.step();
    st.reset();
    ++d_->cn->writes;
    d_->deleted[static_cast<size_t>(idx)] = 1;
    d_->curValid = false;
    d_->curDeleted = true;
}

int Recordset::EditMode() const {
    d_->requireOpen();
    return d_->editMode;
}

void Recordset::setFilter(const QString &filter) {
    d_->requireOpen();
    d_->commitPending();
    d_->filter = filter.trimmed().isEmpty() ? std::vector<FilterClause>{} : parseFilter(filter, d_->columns);
    d_->applyFilter();
}

QString Recordset::tableName() const { return d_->table; }

namespace {

// A field handed out before its recordset was closed (or opened again on other columns) points nowhere.
const ColumnInfo &columnOf(const RecordsetImpl &d, int index) {
    if (!d.open)
        raise(err::ObjectClosed);
    if (index >= static_cast<int>(d.columns.size()))
        raise(err::ItemNotFound);
    return d.columns[static_cast<size_t>(index)];
}

} // namespace

Variant Field::Value() const {
    const std::vector<Variant> &row = rs_->current();
    columnOf(*rs_, index_);
    return row[static_cast<size_t>(index_)];
}

void Field::setValue(const Variant &value) const {
    RecordsetImpl &d = *rs_;
    d.requireUpdatable();
    d.current();
    const ColumnInfo &c = columnOf(d, index_);
    if (c.autoIncrement)
        raise(-2147217887, QStringLiteral("Multiple-step operation generated errors. Check each status value."));
    Variant v = value;
    if (!v.isNull() && !v.isEmpty()) {
        if (isNumericType(c.type)) {
            if (v.isString()) {
                try {
                    v = Variant(v.toDouble());
                } catch (const RuntimeError &) {
                    raise(-2147217887,
                          QStringLiteral("Multiple-step operation generated errors. Check each status value."));
                }
            }
            if (c.type == adBoolean)
                v = Variant(v.toDouble() != 0.0);
            else if (c.type != adDouble && c.type != adSingle && c.type != adCurrency && v.isDouble())
                v = Variant(static_cast<long long>(v.toLong()));
        } else if (!v.isString()) {
            v = Variant(v.toString());
        }
    } else if (v.isEmpty()) {
        v = Variant::Null();
    }
    d.cur[static_cast<size_t>(index_)] = v;
    d.changed[static_cast<size_t>(index_)] = 1;
    if (d.editMode == adEditNone)
        d.editMode = adEditInProgress;
}

QString Field::Name() const { return columnOf(*rs_, index_).name; }

int Field::Type() const { return columnOf(*rs_, index_).type; }

Variant Field::Property(const QString &name) const {
    const ColumnInfo &c = columnOf(*rs_, index_);
    if (name.compare(QLatin1String("ISAUTOINCREMENT"), Qt::CaseInsensitive) == 0)
        return Variant(c.autoIncrement);
    raise(err::ItemNotFound);
}

Recordset Connection::OpenSchema(int schema) {
    d_->requireOpen();
    if (schema != adSchemaTables)
        raise(err::InvalidProcedureCall);
    QStringList names;
    for (const TableInfo &t : std::as_const(d_->tables))
        if (!t.name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive) &&
            !t.name.startsWith(QLatin1String("MSys"), Qt::CaseInsensitive))
            names << t.name;
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int c = QString::compare(fold(a), fold(b));
        return c != 0 ? c < 0 : a < b;
    });
    auto d = std::make_shared<RecordsetImpl>();
    d->cn = d_;
    d->snapshot = true;
    d->open = true;
    for (const char *n : {"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "TABLE_TYPE"}) {
        ColumnInfo c;
        c.name = QLatin1String(n);
        c.type = adVarWChar;
        d->byFolded.insert(fold(c.name), static_cast<int>(d->columns.size()));
        d->columns.push_back(c);
    }
    for (const QString &n : names)
        d->rows.push_back({Variant::Null(), Variant::Null(), Variant(n), Variant("TABLE")});
    d->deleted.assign(d->rows.size(), 0);
    d->applyFilter();
    return Recordset(d);
}

} // namespace engine
