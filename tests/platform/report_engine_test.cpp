// The report engine: the definition format, the print onto a PDF file and its status.

#include "platform/common_dialog.h"
#include "platform/report_definition.h"
#include "platform/report_engine.h"
#include "platform/widgets/qt_report_engine.h"
#include "support/databases.h"
#include "support/pdf_text.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform::report;

namespace {

TEST(ReportDefinition, ReadsThePageLayoutAndTheBody) {
    const Definition d =
        ParseDefinition(QStringLiteral("# comment\npage A5 landscape 10 12.5 8 9\r\n"
                                       "font \"Liberation Serif\" 11\n\n"
                                       "header \"{Firma.Navn}\" \"Side {side}\"\n"
                                       "table \"Nr.\" \"Type\"\nwidths 20 80\nalign right left\n"
                                       "each inddatalast when Lasttype \"\"\"A\"\" {{x}}\" \"{Størrelse:0.00}\"\n"
                                       "end\n"));
    EXPECT_EQ(d.page.size, QPageSize::A5);
    EXPECT_EQ(d.page.orientation, QPageLayout::Landscape);
    EXPECT_EQ(d.page.margins, QMarginsF(10, 12.5, 8, 9));
    EXPECT_EQ(d.page.fontFamily + QString::number(d.page.fontSize), "Liberation Serif11");
    EXPECT_EQ(d.page.header[0], (Text{{QString(), FieldRef{"Firma", "Navn", ""}}}));
    EXPECT_EQ(d.page.header[1], (Text{{"Side ", std::nullopt}, {QString(), FieldRef{"", "side", ""}}}));
    ASSERT_EQ(d.body.size(), 1u);
    const Table &t = d.body[0].table;
    EXPECT_EQ(t.widths, (std::vector<int>{20, 80}));
    EXPECT_EQ(t.align, (std::vector<Align>{Align::Right, Align::Left}));
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0].source + "/" + t.rows[0].when, "inddatalast/Lasttype");
    EXPECT_EQ(t.rows[0].cells[0], (Text{{"\"A\" {x}", std::nullopt}}));
    EXPECT_EQ(t.rows[0].cells[1], (Text{{QString(), FieldRef{"", "Størrelse", "0.00"}}}));
}

TEST(ReportDefinition, RefusesABrokenLineAndNamesIt) {
    // clang-format off
    const std::pair<const char *, int> cases[] = {
        {"title \"a\"\nsubtitle \"b\"", 2}, {"title \"unclosed", 1}, {"title x", 1},
        {"title \"x\"\ntable \"a\" \"b\"\nrow \"1\" \"2\"", 2}, {"table \"a\" \"b\"\nrow \"1\"\nend", 2},
        {"table \"a\"\neach inddatalast \"{lastid}\" \"{x}\"\nend", 2}, {"table \"a\"\ntitle \"x\"\nend", 2},
        {"table \"a\"\nrow \"1\"\nend x", 3}, {"text \"{inddata.Eo:abc}\"", 1}, {"text \"{Navn}\"", 1},
        {"text \"{side}\"", 1}, {"header \"{side:0}\" \"\"", 1}, {"text \"a } b\"", 1}, {"text \"{inddata.Eo\"", 1},
        {"title \"a\"\npage A4 portrait 1 1 1 1", 2}, {"font \"A\" 9\nfont \"B\" 9", 2}, {"font A 9", 1},
        {"page A4 portrait 1 -1 1 1", 1}, {"page B7 portrait 1 1 1 1", 1}, {"field \"only a label\"", 1},
        {"\"text\" title", 1}, {"table \"a\"\nwidths 10 20\nend", 2}
    };
    // clang-format on
    for (const auto &[text, line] : cases) {
        try {
            ParseDefinition(QString::fromUtf8(text));
            ADD_FAILURE() << "accepted: " << text;
        } catch (const DefinitionError &e) {
            EXPECT_EQ(e.line, line) << text;
            EXPECT_FALSE(e.message.isEmpty());
        }
    }
}

class ReportPrintTest : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    engine::Connection cn = folder.open(QStringLiteral("inddata.mdb"));
    QTemporaryDir out;
    platform::QtReportService service{[this] { return cn; }};

    void TearDown() override {
        cn.Close();
        platform::SetCurrentPrinter({});
    }
    QString definition(const QString &text, const QString &name = QStringLiteral("test.rpt")) {
        QFile f(out.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
        return f.fileName();
    }
    QString pdf() const { return out.filePath(QStringLiteral("out.pdf")); }
    std::int16_t print(const QString &file) {
        platform::SetCurrentPrinter({QString(), pdf(), 1});
        return service.printReport(file);
    }
};

// A definition is found without regard to case; each failure has its status and leaves no half print.
TEST_F(ReportPrintTest, EachFailureHasItsStatusAndLeavesNoHalfPrint) {
    EXPECT_EQ(print(out.filePath(QStringLiteral("mangler.rpt"))), kNoDefinition);
    EXPECT_EQ(print(out.path()), kNoDefinition);
    EXPECT_EQ(print(definition(QStringLiteral("overskrift \"x\"\n"))), kBadDefinition);
    // A field the table lacks is an error even when the table has no row.
    for (const char *line : {"text \"{Ukendt.Navn}\"", "text \"{Firma.Ukendt}\"", "table \"a\"\neach Ukendt \"x\"\nend",
                             "text \"{ResultatBeton.Ukendt}\""})
        EXPECT_EQ(print(definition(QString::fromUtf8(line))), kNoData) << line;
    EXPECT_FALSE(QFileInfo::exists(pdf()));

    const QString good = definition(QStringLiteral("title \"x\"\n"), QStringLiteral("Beton.rpt"));
    EXPECT_EQ(print(out.filePath(QStringLiteral("BETON.RPT"))), kPrinted);
    EXPECT_TRUE(QFileInfo::exists(pdf()));
    platform::SetCurrentPrinter({QString(), out.filePath(QStringLiteral("ingen/mappe/out.pdf")), 1});
    EXPECT_EQ(service.printReport(good), kNoPrinter);
    platform::SetCurrentPrinter({QStringLiteral("Printer der ikke findes"), QString(), 1});
    EXPECT_EQ(service.printReport(good), kNoPrinter);
    EXPECT_EQ(print(definition(QStringLiteral("page A5 portrait 70 70 70 70\ntitle \"x\"\n"))), kPrintFailed);
}

// A table that only just fits on a page moves whole to the next one, and no page is left empty.
TEST_F(ReportPrintTest, ATableThatFitsAPageIsNotCut) {
    const auto pages = [this](int rows, bool intro) {
        QString text = intro ? QStringLiteral("text \"intro\"\ntable \"a\"\n") : QStringLiteral("table \"a\"\n");
        for (int r = 1; r <= rows; ++r)
            text += QStringLiteral("row \"r%1\"\n").arg(r);
        EXPECT_EQ(print(definition(text + QStringLiteral("end\n"))), kPrinted);
        QStringList list = testsupport::PdfText(pdf()).split(QLatin1Char('\f'));
        list.removeLast();
        return list;
    };
    int fits = 1; // the most rows that one page holds
    for (int step = 64; step > 0; step /= 2)
        if (pages(fits + step, false).size() == 1)
            fits += step;
    const QStringList two = pages(fits, true);
    ASSERT_EQ(two.size(), 2);
    EXPECT_TRUE(two[1].contains(QStringLiteral("r1\n")) && two[1].contains(QStringLiteral("r%1").arg(fits))) << fits;
}

} // namespace
