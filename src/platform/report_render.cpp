#include "platform/report_render.h"

#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/report_engine.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <cmath>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace platform::report {

namespace {

using engine::Recordset;
using engine::Variant;

// Marks a section heading, which must not end a page.
constexpr const char *kHeading = "fundator-heading";

QString Show(const Variant &v, const QString &pattern, const QLocale &locale) {
    if (v.isNull() || v.isEmpty())
        return {};
    return pattern.isEmpty() ? CStr(v, locale) : Format(v, pattern, locale);
}

bool IsBlank(const Variant &v) { return v.isNull() || v.isEmpty() || (v.isString() && v.string().trimmed().isEmpty()); }

QString Html(const QString &plain) {
    QString s = plain.toHtmlEscaped();
    s.replace(QStringLiteral("\r\n"), QStringLiteral("<br/>"));
    s.replace(QLatin1Char('\r'), QStringLiteral("<br/>"));
    s.replace(QLatin1Char('\n'), QStringLiteral("<br/>"));
    return s;
}

class Filler {
public:
    Filler(const engine::Connection &cn, const QLocale &locale) : cn_(cn), locale_(locale) {}

    // A text as plain text; fields of the row table come from row.
    QString text(const Text &t, const Recordset *row = nullptr) {
        QString out;
        for (const Piece &p : t)
            out += p.field ? field(*p.field, row) : p.literal;
        return out;
    }

    // A band keeps its page fields for the painter.
    Text band(const Text &t) {
        Text out;
        for (const Piece &p : t) {
            if (p.field && p.field->table.isEmpty())
                out.push_back(p);
            else
                out.push_back({p.field ? field(*p.field, nullptr) : p.literal, std::nullopt});
        }
        return out;
    }

    Recordset open(const QString &table) {
        Recordset rs;
        rs.Open(table, cn_, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
        return rs;
    }

    Variant value(const Recordset &rs, const QString &name) {
        if (rs.Eof() || rs.Bof()) {
            // Without a row the field prints as nothing, but a name the table lacks is still an error.
            rs.Fields(name);
            return Variant::Null();
        }
        return rs.Fields(name).Value();
    }

private:
    const engine::Connection &cn_;
    const QLocale &locale_;
    std::map<QString, Recordset> firstRows_;

    QString field(const FieldRef &ref, const Recordset *row) {
        if (ref.table.isEmpty())
            return show(value(*row, ref.field), ref.pattern);
        const QString key = ref.table.toLower();
        auto it = firstRows_.find(key);
        if (it == firstRows_.end())
            it = firstRows_.emplace(key, open(ref.table)).first;
        return show(value(it->second, ref.field), ref.pattern);
    }

    QString show(const Variant &v, const QString &pattern) { return Show(v, pattern, locale_); }
};

const char *AlignAttribute(const std::vector<Align> &align, size_t column) {
    if (column >= align.size())
        return "";
    switch (align[column]) {
    case Align::Right:
        return " align=\"right\"";
    case Align::Center:
        return " align=\"center\"";
    case Align::Left:
        break;
    }
    return " align=\"left\"";
}

void TableRowHtml(QString &html, const Table &t, const std::vector<QString> &cells) {
    html += QStringLiteral("<tr>");
    for (size_t c = 0; c < cells.size(); ++c)
        html += QStringLiteral("<td%1>%2</td>").arg(QLatin1String(AlignAttribute(t.align, c)), Html(cells[c]));
    html += QStringLiteral("</tr>");
}

// A unit in brackets, such as "(mm²/m)", is never broken inside: a word joiner holds each slash to what follows it.
QString HeadHtml(const QString &plain) {
    static const QRegularExpression unit(QStringLiteral("\\([^()]*\\)"));
    QString kept;
    qsizetype from = 0;
    for (auto it = unit.globalMatch(plain); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        kept += plain.mid(from, m.capturedStart() - from) +
                m.captured().replace(QLatin1Char('/'), QStringLiteral("/\u2060"));
        from = m.capturedEnd();
    }
    return Html(kept + plain.mid(from));
}

// Heads a little smaller than the text, so narrow columns keep their words whole.
void TableHtml(QString &html, const Table &t, double headPoints, Filler &filler) {
    html += QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                           "style=\"border-collapse: collapse; border-color: #808080; margin-top: 4px\"><thead><tr>");
    for (size_t c = 0; c < t.heads.size(); ++c) {
        const QString width = c < t.widths.size() ? QStringLiteral(" width=\"%1%\"").arg(t.widths[c]) : QString();
        html += QStringLiteral("<th bgcolor=\"#e6e6e6\" style=\"font-size: %1pt\"%2%3>%4</th>")
                    .arg(headPoints)
                    .arg(width, QLatin1String(AlignAttribute(t.align, c)), HeadHtml(filler.text(t.heads[c])));
    }
    html += QStringLiteral("</tr></thead>");
    for (const TableRow &row : t.rows) {
        std::vector<QString> cells;
        if (row.source.isEmpty()) {
            for (const Text &cell : row.cells)
                cells.push_back(filler.text(cell));
            TableRowHtml(html, t, cells);
            continue;
        }
        Recordset rs = filler.open(row.source);
        for (; !rs.Eof(); rs.MoveNext()) {
            if (!row.when.isEmpty() && IsBlank(filler.value(rs, row.when)))
                continue;
            cells.clear();
            for (const Text &cell : row.cells)
                cells.push_back(filler.text(cell, &rs));
            TableRowHtml(html, t, cells);
        }
    }
    html += QStringLiteral("</table>");
}

// Consecutive fields: label, then a value with its unit beside it, or a value alone across both.
void FieldsHtml(QString &html, std::vector<Element>::const_iterator &e, std::vector<Element>::const_iterator end,
                Filler &filler) {
    html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"1\" style=\"margin-top: 4px\">");
    for (; e != end && e->kind == Element::Kind::Field; ++e) {
        const QString label = Html(filler.text(e->texts[0]));
        const QString value = Html(filler.text(e->texts[1]));
        html += QStringLiteral("<tr><td width=\"40%\">%1</td>").arg(label);
        if (e->texts.size() == 3)
            html += QStringLiteral("<td width=\"18%\" align=\"right\">%1</td><td>&nbsp;%2</td></tr>")
                        .arg(value, Html(filler.text(e->texts[2])));
        else
            html += QStringLiteral("<td colspan=\"2\">%1</td></tr>").arg(value);
    }
    html += QStringLiteral("</table>");
}

QString BodyHtml(const std::vector<Element> &body, double fontPoints, Filler &filler) {
    QString html = QStringLiteral("<html><body>");
    for (auto e = body.begin(); e != body.end();) {
        using Kind = Element::Kind;
        switch (e->kind) {
        case Kind::Field:
            FieldsHtml(html, e, body.end(), filler);
            continue;
        case Kind::Title:
            html += QStringLiteral("<p style=\"font-size: 16pt; font-weight: bold; margin-bottom: 8px\">%1</p>")
                        .arg(Html(filler.text(e->texts[0])));
            break;
        case Kind::Section: {
            // A table's rule lacks the room that a line of text keeps below its letters; a heading under one is given
            // it, so that every heading stands as far from what is above it.
            const bool underTable = e != body.begin() && std::prev(e)->kind == Kind::Table;
            html += QStringLiteral("<p style=\"font-size: 11pt; font-weight: bold; margin-top: %3px; "
                                   "margin-bottom: 3px\"><a name=\"%2\">%1</a></p>")
                        .arg(Html(filler.text(e->texts[0])), QLatin1String(kHeading),
                             QString::number(underTable ? 16 : 12));
            break;
        }
        case Kind::Paragraph:
            html += QStringLiteral("<p>%1</p>").arg(Html(filler.text(e->texts[0])));
            break;
        case Kind::Rule:
            html += QStringLiteral("<hr/>");
            break;
        case Kind::List: {
            QString items;
            Recordset rs = filler.open(e->source);
            for (; !rs.Eof(); rs.MoveNext()) {
                const QString item = filler.text(e->texts[0], &rs);
                if (!item.trimmed().isEmpty())
                    items += QStringLiteral("<li>%1</li>").arg(Html(item));
            }
            if (!items.isEmpty())
                html += QStringLiteral("<ul style=\"margin-top: 0px\">") + items + QStringLiteral("</ul>");
            break;
        }
        case Kind::Table:
            TableHtml(html, e->table, 0.9 * fontPoints, filler);
            break;
        }
        ++e;
    }
    return html + QStringLiteral("</body></html>");
}

QString BandText(const Text &t, int page, int pages) {
    QString out;
    for (const Piece &p : t)
        out += !p.field ? p.literal : QString::number(p.field->field == QLatin1String("side") ? page : pages);
    return out;
}

bool HasText(const std::array<Text, 2> &band) {
    for (const Text &t : band)
        for (const Piece &p : t)
            if (p.field || !p.literal.isEmpty())
                return true;
    return false;
}

bool IsHeading(const QTextBlock &block) {
    return block.begin() != block.end() &&
           block.begin().fragment().charFormat().anchorNames().contains(QLatin1String(kHeading));
}

// Qt lays out the block that follows a table without its top margin, unless an empty block, which the layout tucks
// into the table's border, stands between them. The HTML import leaves that block out when the table ends in an empty
// cell, and a heading there would sit on the table's rule: the block is put back.
void SeparateTables(QTextDocument &doc) {
    std::vector<QTextFrame *> tables;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it)
        if (QTextFrame *table = it.currentFrame())
            tables.push_back(table);
    for (const QTextFrame *table : tables) {
        QTextCursor after(&doc);
        after.setPosition(table->lastPosition() + 1);
        if (after.block().length() <= 1)
            continue;
        after.insertBlock();
        // Plain, so that it joins no list that follows.
        QTextCursor(after.block().previous()).setBlockFormat(QTextBlockFormat());
    }
}

// A run of the body that a page break must not cut: a table (with the remark line that follows it), a list, or any
// other paragraph, each with the heading and the introducing paragraphs before it.
struct Unit {
    QTextBlock first;            // the unit's first block, when it starts with one
    QTextFrame *table = nullptr; // or its table
    QTextList *list = nullptr;   // the list it ends with
    double bottom = 0;
};

double Top(const QTextDocument &doc, const Unit &u) {
    auto *layout = doc.documentLayout();
    return u.table ? layout->frameBoundingRect(u.table).top() : layout->blockBoundingRect(u.first).top();
}

// The body's units in order, with their extent after the current layout. Empty blocks (Qt puts one after each table)
// belong to nothing.
std::vector<Unit> Units(const QTextDocument &doc) {
    auto *layout = doc.documentLayout();
    std::vector<Unit> units;
    std::optional<Unit> opening; // a heading and its introduction, waiting for what they introduce
    bool afterTable = false;
    const auto add = [&](Unit u) {
        if (opening) {
            opening->list = u.list;
            opening->bottom = u.bottom;
            u = *std::exchange(opening, std::nullopt);
        }
        units.push_back(u);
    };
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (QTextFrame *table = it.currentFrame()) {
            add(Unit{QTextBlock(), table, nullptr, layout->frameBoundingRect(table).bottom()});
            afterTable = true;
            continue;
        }
        const QTextBlock block = it.currentBlock();
        QTextList *list = block.textList();
        if (block.text().isEmpty() && !list)
            continue;
        const double bottom = layout->blockBoundingRect(block).bottom();
        const bool remark = std::exchange(afterTable, false) && !opening && !list && !IsHeading(block);
        if (remark || (list && !opening && !units.empty() && units.back().list == list))
            units.back().bottom = bottom; // the remark line under a table, or the next item of a list
        else if (IsHeading(block) && !opening)
            opening = Unit{block, nullptr, nullptr, bottom};
        else if (opening && !list)
            opening->bottom = bottom; // a paragraph that introduces what follows
        else
            add(Unit{block, nullptr, list, bottom});
    }
    if (opening)
        units.push_back(*opening);
    return units;
}

void BreakBefore(const Unit &u) {
    if (u.table) {
        QTextFrameFormat format = u.table->frameFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        u.table->setFrameFormat(format);
        return;
    }
    QTextBlockFormat format = u.first.blockFormat();
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(u.first).setBlockFormat(format);
}

// The space above a unit's first line: a unit that starts no lower than this on its page is already at its head.
double HeadRoom(const QTextDocument &doc, const Unit &u) {
    const double margin = u.table ? u.table->frameFormat().topMargin() : u.first.blockFormat().topMargin();
    return doc.documentMargin() + margin + 0.5;
}

// A unit that a page break would cut starts the next page when it fits on one. One that is longer than a page keeps
// at least its heading with room for what follows.
void KeepUnitsWhole(QTextDocument &doc, double pageHeight, double room) {
    // A table that a page already cuts counts the gap before the cut as its own height: the height that decides is
    // the one laid out without pages, measured only when a unit seems too tall (the extra layout is slow).
    std::vector<double> unpaged;
    const auto heightOf = [&](size_t i) {
        if (unpaged.empty()) {
            const QSizeF pageSize = doc.pageSize();
            doc.setPageSize(QSizeF(pageSize.width(), 1e9));
            for (const Unit &u : Units(doc))
                unpaged.push_back(u.bottom - Top(doc, u));
            doc.setPageSize(pageSize);
        }
        return unpaged[i];
    };
    for (size_t i = 0;; ++i) {
        const std::vector<Unit> units = Units(doc); // each break moves what follows
        if (i >= units.size())
            return;
        const Unit &u = units[i];
        const double top = Top(doc, u);
        const double onPage = top - std::floor(top / pageHeight) * pageHeight;
        if (onPage <= HeadRoom(doc, u)) // a break there would only leave an empty page
            continue;
        double height = u.bottom - top;
        if (height > pageHeight)
            height = heightOf(i);
        const bool fits = height <= pageHeight;
        if (onPage + (fits ? height : room) > pageHeight)
            BreakBefore(u);
    }
}

} // namespace

FilledReport Fill(const Definition &definition, const engine::Connection &cn, const QLocale &locale) {
    Filler filler(cn, locale);
    FilledReport out;
    out.page = definition.page;
    for (size_t i = 0; i < 2; ++i) {
        out.page.header[i] = filler.band(definition.page.header[i]);
        out.page.footer[i] = filler.band(definition.page.footer[i]);
    }
    out.html = BodyHtml(definition.body, definition.page.fontSize, filler);
    return out;
}

std::int16_t Paint(const FilledReport &report, QPagedPaintDevice &device) {
    const Page &page = report.page;
    // One at a time: a printer that refuses the margins still takes the paper and its orientation.
    device.setPageSize(QPageSize(page.size));
    device.setPageOrientation(page.orientation);
    device.setPageMargins(page.margins, QPageLayout::Millimeter);
    const QRectF area = device.pageLayout().paintRectPixels(device.logicalDpiX());

    QFont font(page.fontFamily);
    font.setPointSizeF(page.fontSize);
    // Any letter spacing turns ligatures off, so a PDF reader copies "fi" as two letters.
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
    QTextDocument doc;
    // Laid out for the device's resolution, or the print comes out at the screen's scale.
    doc.documentLayout()->setPaintDevice(&device);
    doc.setDocumentMargin(0);
    doc.setDefaultFont(font);
    doc.setHtml(report.html);
    SeparateTables(doc);

    const QFontMetricsF metrics(font, &device);
    const double line = metrics.height();
    const bool header = HasText(page.header), footer = HasText(page.footer);
    const double top = header ? 2 * line : 0;
    const double bottom = footer ? 2 * line : 0;
    const QRectF body(0, top, area.width(), area.height() - top - bottom);
    if (body.height() < 3 * line || body.width() < 10 * line)
        return kPrintFailed;
    doc.setPageSize(body.size());
    KeepUnitsWhole(doc, body.height(), 4 * line);
    const int pages = doc.pageCount();

    QPainter p;
    if (!p.begin(&device))
        return kNoPrinter;
    QPen pen(Qt::black);
    pen.setWidthF(device.logicalDpiX() / 200.0);
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !device.newPage()) {
            p.end();
            return kPrintFailed;
        }
        p.setFont(font);
        p.setPen(pen);
        if (header) {
            const QRectF band(0, 0, area.width(), line);
            p.drawText(band, Qt::AlignLeft | Qt::AlignTop, BandText(page.header[0], i + 1, pages));
            p.drawText(band, Qt::AlignRight | Qt::AlignTop, BandText(page.header[1], i + 1, pages));
            p.drawLine(QPointF(0, 1.3 * line), QPointF(area.width(), 1.3 * line));
        }
        if (footer) {
            const QRectF band(0, area.height() - line, area.width(), line);
            p.drawLine(QPointF(0, band.top() - 0.3 * line), QPointF(area.width(), band.top() - 0.3 * line));
            p.drawText(band, Qt::AlignLeft | Qt::AlignBottom, BandText(page.footer[0], i + 1, pages));
            p.drawText(band, Qt::AlignRight | Qt::AlignBottom, BandText(page.footer[1], i + 1, pages));
        }
        p.save();
        const QRectF clip(0, i * body.height(), body.width(), body.height());
        p.translate(body.left(), body.top() - clip.top());
        p.setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip;
        context.palette.setColor(QPalette::Text, Qt::black);
        doc.documentLayout()->draw(&p, context);
        p.restore();
    }
    return p.end() ? kPrinted : kPrintFailed;
}

std::int16_t PrintDefinition(const QString &definitionFile, const engine::Connection &cn, QPagedPaintDevice &device) {
    const QString name = ListFile(definitionFile);
    if (name.isEmpty())
        return kNoDefinition;
    QFile file(QFileInfo(definitionFile).absoluteDir().filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return kNoDefinition;
    Definition definition;
    try {
        definition = ParseDefinition(QString::fromUtf8(file.readAll()));
    } catch (const DefinitionError &) {
        return kBadDefinition;
    }
    FilledReport report;
    try {
        report = Fill(definition, cn, QLocale());
    } catch (const engine::RuntimeError &) {
        return kNoData;
    }
    return Paint(report, device);
}

} // namespace platform::report
