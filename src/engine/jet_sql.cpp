// The Jet forms of SQL and filter texts that the program uses, on SQLite.

#include "engine/engine_impl.h"

#include <QSet>

namespace engine::detail {

namespace {

const QSet<QString> &keywords() {
    static const QSet<QString> k = {
        QStringLiteral("select"),  QStringLiteral("from"),     QStringLiteral("where"),  QStringLiteral("order"),
        QStringLiteral("by"),      QStringLiteral("and"),      QStringLiteral("or"),     QStringLiteral("not"),
        QStringLiteral("insert"),  QStringLiteral("into"),     QStringLiteral("values"), QStringLiteral("delete"),
        QStringLiteral("update"),  QStringLiteral("set"),      QStringLiteral("null"),   QStringLiteral("is"),
        QStringLiteral("in"),      QStringLiteral("like"),     QStringLiteral("asc"),    QStringLiteral("desc"),
        QStringLiteral("as"),      QStringLiteral("distinct"), QStringLiteral("group"),  QStringLiteral("having"),
        QStringLiteral("between"), QStringLiteral("join"),     QStringLiteral("on"),     QStringLiteral("inner"),
        QStringLiteral("left"),    QStringLiteral("count"),    QStringLiteral("max"),    QStringLiteral("min"),
        QStringLiteral("sum"),     QStringLiteral("avg")};
    return k;
}

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

QString sqlString(const QString &s) {
    QString q = s;
    q.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

// The stored spelling of a name that is a table or a column of any table; empty when it is neither.
QString resolveName(ConnectionImpl &cn, const QString &word) {
    if (const TableInfo *t = cn.table(word))
        return t->name;
    const QString f = fold(word);
    for (const TableInfo &t : std::as_const(cn.tables)) {
        const int i = t.byFolded.value(f, -1);
        if (i >= 0)
            return t.columns[static_cast<size_t>(i)].name;
    }
    return {};
}

} // namespace

QString translateSql(ConnectionImpl &cn, const QString &jet) {
    QString out;
    out.reserve(jet.size() + 16);
    QString lastWord; // folded, to drop the "*" of "DELETE * FROM"
    const int n = static_cast<int>(jet.size());
    for (int i = 0; i < n;) {
        const QChar c = jet[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // An SQL string, the quote doubled inside; Jet takes a double-quoted text as a string, not a name.
            int j = i + 1;
            QString s;
            while (j < n) {
                if (jet[j] == c) {
                    if (j + 1 < n && jet[j + 1] == c) {
                        s += c;
                        j += 2;
                        continue;
                    }
                    break;
                }
                s += jet[j++];
            }
            if (j >= n)
                raise(err::DbSyntax, QStringLiteral("Syntax error in string in query expression."));
            out += sqlString(s);
            i = j + 1;
            lastWord.clear();
        } else if (c == QLatin1Char('[')) {
            const int j = static_cast<int>(jet.indexOf(QLatin1Char(']'), i + 1));
            if (j < 0)
                raise(err::DbSyntax, QStringLiteral("Invalid bracketing of name."));
            const QString name = jet.mid(i + 1, j - i - 1);
            const QString stored = resolveName(cn, name);
            out += quoteIdent(stored.isEmpty() ? name : stored);
            i = j + 1;
            lastWord.clear();
        } else if (isWordChar(c)) {
            int j = i;
            while (j < n && (isWordChar(jet[j]) || (jet[j] == QLatin1Char('.') && c.isDigit())))
                ++j;
            const QString word = jet.mid(i, j - i);
            const QString f = fold(word);
            bool allDigits = c.isDigit();
            for (QChar ch : word)
                if (!ch.isDigit() && ch != QLatin1Char('.'))
                    allDigits = false;
            if (allDigits) {
                out += word;
            } else if (keywords().contains(f)) {
                out += word;
            } else if (const QString stored = resolveName(cn, word); !stored.isEmpty()) {
                out += quoteIdent(stored);
            } else if (f == QLatin1String("true")) {
                out += QStringLiteral("-1");
            } else if (f == QLatin1String("false")) {
                out += QStringLiteral("0");
            } else {
                out += word; // SQLite will name the unknown name in its error
            }
            lastWord = f;
            i = j;
        } else if (c == QLatin1Char('*') && lastWord == QLatin1String("delete")) {
            ++i; // DELETE * FROM
            lastWord.clear();
        } else {
            out += c;
            if (!c.isSpace())
                lastWord.clear();
            ++i;
        }
    }
    return out;
}

std::vector<FilterClause> parseFilter(const QString &text, const std::vector<ColumnInfo> &columns) {
    std::vector<FilterClause> clauses;
    const auto bad = [&]() { raise(err::NotAllowedInContext, QStringLiteral("Invalid filter: ") + text); };
    // Split on AND (any case) outside quotes.
    QStringList parts;
    {
        QString cur;
        const int n = static_cast<int>(text.size());
        for (int i = 0; i < n; ++i) {
            const QChar c = text[i];
            if (c == QLatin1Char('\'') || c == QLatin1Char('#')) {
                const int j = static_cast<int>(text.indexOf(c, i + 1));
                if (j < 0)
                    bad();
                cur += text.mid(i, j - i + 1);
                i = j;
                continue;
            }
            if ((i == 0 || text[i - 1].isSpace()) && i + 3 < n &&
                text.mid(i, 3).compare(QLatin1String("and"), Qt::CaseInsensitive) == 0 && text[i + 3].isSpace()) {
                parts << cur;
                cur.clear();
                i += 2;
                continue;
            }
            cur += c;
        }
        parts << cur;
    }
    for (const QString &raw : parts) {
        const QString p = raw.trimmed();
        static const char *ops[] = {"<>", "<=", ">=", "=", "<", ">"};
        int at = -1;
        QString op;
        for (const char *o : ops) {
            const int k = static_cast<int>(p.indexOf(QLatin1String(o)));
            if (k > 0 && (at < 0 || k < at || (k == at && QString::fromLatin1(o).size() > op.size()))) {
                at = k;
                op = QString::fromLatin1(o);
            }
        }
        if (at < 0)
            bad();
        QString name = p.left(at).trimmed();
        if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
            name = name.mid(1, name.size() - 2);
        const QString valueText = p.mid(at + op.size()).trimmed();
        int col = -1;
        for (size_t k = 0; k < columns.size(); ++k)
            if (fold(columns[k].name) == fold(name))
                col = static_cast<int>(k);
        if (col < 0)
            raise(err::ItemNotFound);
        Variant value;
        if (valueText.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            value = Variant(-1);
        else if (valueText.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            value = Variant(0);
        else if (valueText.compare(QLatin1String("null"), Qt::CaseInsensitive) == 0)
            value = Variant::Null();
        else if (valueText.size() >= 2 && valueText.startsWith(QLatin1Char('\'')) &&
                 valueText.endsWith(QLatin1Char('\'')))
            value = Variant(valueText.mid(1, valueText.size() - 2).replace(QLatin1String("''"), QLatin1String("'")));
        else {
            bool ok = false;
            const double d = valueText.toDouble(&ok);
            if (!ok)
                bad();
            value = Variant(d);
        }
        clauses.push_back({col, op, value});
    }
    return clauses;
}

bool matches(const std::vector<FilterClause> &filter, const std::vector<Variant> &row) {
    for (const FilterClause &c : filter) {
        const Variant &v = row[static_cast<size_t>(c.column)];
        if (c.value.isNull()) {
            const bool eq = v.isNull();
            if ((c.op == QLatin1String("=")) != eq)
                return false;
            continue;
        }
        if (v.isNull())
            return false;
        int cmp;
        if (v.isNumber() && c.value.isNumber()) {
            const double a = v.toDouble(), b = c.value.toDouble();
            cmp = a < b ? -1 : (a > b ? 1 : 0);
        } else {
            cmp = QString::compare(v.toString(), c.value.toString(), Qt::CaseInsensitive);
        }
        const QString &op = c.op;
        const bool ok = op == QLatin1String("=")    ? cmp == 0
                        : op == QLatin1String("<>") ? cmp != 0
                        : op == QLatin1String("<")  ? cmp < 0
                        : op == QLatin1String(">")  ? cmp > 0
                        : op == QLatin1String("<=") ? cmp <= 0
                                                    : cmp >= 0;
        if (!ok)
            return false;
    }
    return true;
}

} // namespace engine::detail
