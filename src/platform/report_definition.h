#pragma once
// The report definition format (*.rpt): a UTF-8 text file, one statement per line. Blank lines and lines that
// begin with "#" are ignored. Words are separated by blanks; a text stands in double quotes, where "" is one
// quote. Inside a text, {Table.Field} prints a field of the first row of a table of the working database and
// {Table.Field:pattern} prints it with a display pattern ("0", "0.00", "#0.00", "0.0", "#0.0", "#"); without a
// pattern a number prints in its plain form. A field without a value prints as nothing. {{ and }} are braces.
//
// Page layout, each at most once and before the body:
//   page A4|A5|A3|Letter portrait|landscape LEFT TOP RIGHT BOTTOM   margins in mm
//   font "family" SIZE                                              size in points
//   header "left" "right"                                           on every page; {side} is the page number
//   footer "left" "right"                                           and {sider} the number of pages
// Body, in the order it prints:
//   title "text"                        the report's heading
//   section "text"                      a section heading
//   field "label" "value" ["unit"]      a labelled value; consecutive fields line up in columns
//   text "text"                         a paragraph
//   rule                                a horizontal line
//   list TABLE "text"                   one line per row of TABLE whose text is not empty; {Field} there is a
//                                       field of that row
//   table "head" "head" ...             opens a table, its heads on the first row, repeated on each page
//   widths N N ...                      in a table: column widths in percent
//   align left|right|center ...         in a table: the columns' alignment
//   row "cell" "cell" ...               in a table: one row
//   each TABLE [when FIELD] "cell" ...  in a table: one row per row of TABLE (only where FIELD is not empty);
//                                       {Field} as in list
//   end                                 closes the table

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace platform::report {

// A field reference; an empty table means the row of an each or list line, or (field "side"/"sider") the page.
struct FieldRef {
    QString table;
    QString field;
    QString pattern;
    bool operator==(const FieldRef &) const = default;
};

// A text: literal pieces and fields in their order.
struct Piece {
    QString literal;
    std::optional<FieldRef> field;
    bool operator==(const Piece &) const = default;
};
using Text = std::vector<Piece>;

enum class Align { Left, Right, Center };

struct TableRow {
    QString source; // empty: a row of its own; else one row per row of this table
    QString when;   // with a source: the field that must not be empty
    std::vector<Text> cells;
};

struct Table {
    std::vector<Text> heads;
    std::vector<int> widths; // empty: Qt's own
    std::vector<Align> align;
    std::vector<TableRow> rows;
};

struct Element {
    enum class Kind { Title, Section, Field, Paragraph, Rule, List, Table } kind;
    std::vector<Text> texts; // title, section, paragraph, list: one; field: label, value and maybe unit
    QString source;          // list
    Table table;
};

struct Page {
    QPageSize::PageSizeId size = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{20, 15, 15, 15}; // mm
    QString fontFamily = QStringLiteral("DejaVu Sans");
    double fontSize = 9;
    std::array<Text, 2> header; // left, right
    std::array<Text, 2> footer;
};

struct Definition {
    Page page;
    std::vector<Element> body;
};

struct DefinitionError {
    int line;
    QString message;
};

// Raises DefinitionError on the first line that breaks the format.
Definition ParseDefinition(const QString &text);

} // namespace platform::report
