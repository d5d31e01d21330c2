#include "platform/report_definition.h"

#include "engine/errors.h"
#include "platform/numbers.h"

#include <QStringList>

namespace platform::report {

namespace {

struct Token {
    QString text;
    bool quoted;
};

// Where a text is used decides which fields it may name.
enum class Context { Body, Row, Page };

class Parser {
public:
    explicit Parser(const QString &text) : lines_(text.split(QLatin1Char('\n'))) {}

    Definition run() {
        for (lineNo_ = 1; lineNo_ <= lines_.size(); ++lineNo_) {
            tokens_ = tokenize(lines_[lineNo_ - 1]);
            if (tokens_.empty() || (!tokens_[0].quoted && tokens_[0].text.startsWith(QLatin1Char('#'))))
                continue;
            statement();
        }
        if (table_) {
            lineNo_ = tableLine_;
            fail(QStringLiteral("the table is not closed by end"));
        }
        return std::move(def_);
    }

private:
    QStringList lines_;
    int lineNo_ = 0;
    std::vector<Token> tokens_;
    Definition def_;
    Table *table_ = nullptr;
    int tableLine_ = 0;
    bool bodyStarted_ = false;
    QStringList layoutSeen_;

    [[noreturn]] void fail(const QString &message) const { throw DefinitionError{lineNo_, message}; }

    std::vector<Token> tokenize(QString line) const {
        line.remove(QLatin1Char('\r'));
        std::vector<Token> out;
        qsizetype i = 0;
        while (i < line.size()) {
            if (line[i].isSpace()) {
                ++i;
            } else if (line[i] == QLatin1Char('"')) {
                QString text;
                for (++i;; ++i) {
                    if (i >= line.size())
                        fail(QStringLiteral("a text has no closing quote"));
                    if (line[i] == QLatin1Char('"')) {
                        if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                            text += QLatin1Char('"');
                            ++i;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    text += line[i];
                }
                out.push_back({text, true});
            } else {
                const qsizetype start = i;
                while (i < line.size() && !line[i].isSpace() && line[i] != QLatin1Char('"'))
                    ++i;
                out.push_back({line.mid(start, i - start), false});
            }
        }
        return out;
    }

    QString word(size_t i) const {
        if (i >= tokens_.size() || tokens_[i].quoted)
            fail(QStringLiteral("a word is missing after %1").arg(tokens_[0].text));
        return tokens_[i].text;
    }

    double number(size_t i) const {
        bool ok = false;
        const double x = word(i).toDouble(&ok);
        if (!ok || x < 0)
            fail(QStringLiteral("\"%1\" is no size").arg(tokens_[i].text));
        return x;
    }

    void expectCount(size_t n) const {
        if (tokens_.size() != n)
            fail(QStringLiteral("%1 takes %2 words and texts").arg(tokens_[0].text).arg(n - 1));
    }

    FieldRef field(const QString &inside, Context context) const {
        FieldRef ref;
        QString name = inside;
        const qsizetype colon = name.indexOf(QLatin1Char(':'));
        if (colon >= 0) {
            ref.pattern = name.mid(colon + 1);
            name.truncate(colon);
            try {
                Format(0.0, ref.pattern, QLocale::c());
            } catch (const engine::RuntimeError &) {
                fail(QStringLiteral("\"%1\" is no display pattern").arg(ref.pattern));
            }
        }
        const qsizetype dot = name.indexOf(QLatin1Char('.'));
        if (dot >= 0) {
            ref.table = name.left(dot).trimmed();
            ref.field = name.mid(dot + 1).trimmed();
            if (ref.table.isEmpty() || ref.field.isEmpty())
                fail(QStringLiteral("{%1} names no table and field").arg(inside));
            return ref;
        }
        ref.field = name.trimmed();
        const bool pageField = ref.field == QLatin1String("side") || ref.field == QLatin1String("sider");
        if (context == Context::Row && !ref.field.isEmpty())
            return ref;
        if (context == Context::Page && pageField && ref.pattern.isEmpty())
            return ref;
        fail(QStringLiteral("{%1} needs a table").arg(inside));
    }

    Text text(size_t i, Context context) const {
        if (i >= tokens_.size() || !tokens_[i].quoted)
            fail(QStringLiteral("a text in quotes is missing after %1").arg(tokens_[0].text));
        const QString &s = tokens_[i].text;
        Text out;
        QString literal;
        for (qsizetype k = 0; k < s.size(); ++k) {
            const QChar c = s[k];
            if ((c == QLatin1Char('{') || c == QLatin1Char('}')) && k + 1 < s.size() && s[k + 1] == c) {
                literal += c;
                ++k;
            } else if (c == QLatin1Char('{')) {
                const qsizetype close = s.indexOf(QLatin1Char('}'), k);
                if (close < 0)
                    fail(QStringLiteral("a field has no closing brace"));
                if (!literal.isEmpty())
                    out.push_back({literal, std::nullopt});
                literal.clear();
                out.push_back({QString(), field(s.mid(k + 1, close - k - 1), context)});
                k = close;
            } else if (c == QLatin1Char('}')) {
                fail(QStringLiteral("a brace stands alone; write }}"));
            } else {
                literal += c;
            }
        }
        if (!literal.isEmpty() || out.empty())
            out.push_back({literal, std::nullopt});
        return out;
    }

    std::vector<Text> texts(size_t from, Context context) const {
        std::vector<Text> out;
        for (size_t i = from; i < tokens_.size(); ++i)
            out.push_back(text(i, context));
        return out;
    }

    void layoutOnce(const QString &keyword) {
        if (bodyStarted_)
            fail(QStringLiteral("%1 must come before the body").arg(keyword));
        if (layoutSeen_.contains(keyword))
            fail(QStringLiteral("%1 is given twice").arg(keyword));
        layoutSeen_ << keyword;
    }

    void page() {
        expectCount(7);
        static const struct {
            const char *name;
            QPageSize::PageSizeId id;
        } sizes[] = {
            {"A4", QPageSize::A4}, {"A5", QPageSize::A5}, {"A3", QPageSize::A3}, {"Letter", QPageSize::Letter}};
        const QString size = word(1);
        bool known = false;
        for (const auto &s : sizes)
            if (size == QLatin1String(s.name)) {
                def_.page.size = s.id;
                known = true;
            }
        if (!known)
            fail(QStringLiteral("unknown paper size \"%1\"").arg(size));
        const QString orientation = word(2);
        if (orientation == QLatin1String("portrait"))
            def_.page.orientation = QPageLayout::Portrait;
        else if (orientation == QLatin1String("landscape"))
            def_.page.orientation = QPageLayout::Landscape;
        else
            fail(QStringLiteral("unknown orientation \"%1\"").arg(orientation));
        def_.page.margins = QMarginsF(number(3), number(4), number(5), number(6));
    }

    void band(std::array<Text, 2> &target) {
        expectCount(3);
        target = {text(1, Context::Page), text(2, Context::Page)};
    }

    void tableLine(const QString &keyword) {
        const size_t columns = table_->heads.size();
        if (keyword == QLatin1String("widths")) {
            expectCount(columns + 1);
            table_->widths.clear();
            for (size_t i = 1; i <= columns; ++i)
                table_->widths.push_back(static_cast<int>(number(i)));
        } else if (keyword == QLatin1String("align")) {
            expectCount(columns + 1);
            table_->align.clear();
            for (size_t i = 1; i <= columns; ++i) {
                const QString a = word(i);
                if (a == QLatin1String("left"))
                    table_->align.push_back(Align::Left);
                else if (a == QLatin1String("right"))
                    table_->align.push_back(Align::Right);
                else if (a == QLatin1String("center"))
                    table_->align.push_back(Align::Center);
                else
                    fail(QStringLiteral("unknown alignment \"%1\"").arg(a));
            }
        } else if (keyword == QLatin1String("row")) {
            expectCount(columns + 1);
            table_->rows.push_back({QString(), QString(), texts(1, Context::Body)});
        } else if (keyword == QLatin1String("each")) {
            TableRow row;
            row.source = word(1);
            size_t first = 2;
            if (first < tokens_.size() && !tokens_[first].quoted && tokens_[first].text == QLatin1String("when")) {
                row.when = word(first + 1);
                first += 2;
            }
            if (tokens_.size() - first != columns)
                fail(QStringLiteral("each needs %1 cells").arg(columns));
            row.cells = texts(first, Context::Row);
            table_->rows.push_back(std::move(row));
        } else if (keyword == QLatin1String("end")) {
            expectCount(1);
            table_ = nullptr;
        } else {
            fail(QStringLiteral("\"%1\" cannot stand in a table").arg(keyword));
        }
    }

    void statement() {
        if (tokens_[0].quoted)
            fail(QStringLiteral("a line must begin with a word"));
        const QString keyword = tokens_[0].text;
        if (table_) {
            tableLine(keyword);
            return;
        }
        if (keyword == QLatin1String("page")) {
            layoutOnce(keyword);
            page();
            return;
        }
        if (keyword == QLatin1String("font")) {
            layoutOnce(keyword);
            expectCount(3);
            if (!tokens_[1].quoted)
                fail(QStringLiteral("the font's family stands in quotes"));
            def_.page.fontFamily = tokens_[1].text;
            def_.page.fontSize = number(2);
            if (def_.page.fontSize <= 0)
                fail(QStringLiteral("the font needs a size"));
            return;
        }
        if (keyword == QLatin1String("header") || keyword == QLatin1String("footer")) {
            layoutOnce(keyword);
            band(keyword == QLatin1String("header") ? def_.page.header : def_.page.footer);
            return;
        }
        bodyStarted_ = true;
        Element e{};
        using Kind = Element::Kind;
        if (keyword == QLatin1String("title") || keyword == QLatin1String("section") ||
            keyword == QLatin1String("text")) {
            expectCount(2);
            e.kind = keyword == QLatin1String("title")     ? Kind::Title
                     : keyword == QLatin1String("section") ? Kind::Section
                                                           : Kind::Paragraph;
            e.texts = texts(1, Context::Body);
        } else if (keyword == QLatin1String("field")) {
            if (tokens_.size() != 3 && tokens_.size() != 4)
                fail(QStringLiteral("field takes a label, a value and maybe a unit"));
            e.kind = Kind::Field;
            e.texts = texts(1, Context::Body);
        } else if (keyword == QLatin1String("rule")) {
            expectCount(1);
            e.kind = Kind::Rule;
        } else if (keyword == QLatin1String("list")) {
            expectCount(3);
            e.kind = Kind::List;
            e.source = word(1);
            e.texts = texts(2, Context::Row);
        } else if (keyword == QLatin1String("table")) {
            if (tokens_.size() < 2)
                fail(QStringLiteral("a table needs its heads"));
            e.kind = Kind::Table;
            e.table.heads = texts(1, Context::Body);
        } else {
            fail(QStringLiteral("unknown statement \"%1\"").arg(keyword));
        }
        def_.body.push_back(std::move(e));
        if (def_.body.back().kind == Kind::Table) {
            table_ = &def_.body.back().table;
            tableLine_ = lineNo_;
        }
    }
};

} // namespace

Definition ParseDefinition(const QString &text) { return Parser(text).run(); }

} // namespace platform::report
