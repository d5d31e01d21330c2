// The four report definitions printed to PDF from a whole project, read back as text.

#include "platform/widgets/qt_report_engine.h"
#include "results/print_prepare.h"
#include "results_fixture.h"
#include "sample_project.h"
#include "support/pdf_text.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

class ReportsTest : public resultstest::ResultsFixture {
protected:
    QTemporaryDir out;
    QString lastPdf;

    void SetUp() override {
        ResultsFixture::SetUp();
        platform::setReportService(std::make_shared<platform::QtReportService>([] { return modMain::cnInddata; }));
    }

    // The whole project written afresh, changed by the statements, and printed.
    QString print(const char *definition, bool concrete, bool twoLayers,
                  std::initializer_list<const char *> changes = {}) {
        for (const char *table : {"ResultatBeton", "ResultatBrugdef", "ResultatArmering", "ResultatOplysning"})
            sql(QStringLiteral("DELETE FROM ") + QString::fromUtf8(table));
        resultstest::writeCompany();
        resultstest::writeInput(concrete, twoLayers);
        resultstest::writeResults(concrete, twoLayers);
        for (const char *change : changes)
            sql(QString::fromUtf8(change));
        PrintPrepare::PrintFormat();
        EXPECT_TRUE(messages->shown.empty());
        const QString pdf = out.filePath(QString::fromUtf8(definition) + QStringLiteral(".pdf"));
        platform::SetCurrentPrinter({QString(), pdf, 1});
        platform::ReportControl report;
        report.ReportFileName = QStringLiteral(FUNDATOR_SOURCE_DIR "/reports/") + QString::fromUtf8(definition);
        EXPECT_EQ(report.PrintReport(), 0) << definition;
        lastPdf = pdf;
        return testsupport::PdfText(pdf);
    }

    static void expectAll(const QString &text, const std::initializer_list<const char *> &parts) {
        for (const char *part : parts)
            EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << "missing: " << part;
    }
    static void expectNone(const QString &text, std::initializer_list<const char *> parts) {
        for (const char *part : parts)
            EXPECT_FALSE(text.contains(QString::fromUtf8(part))) << "unexpected: " << part;
    }
    // Each pair (a table's first and last row, or a table and the remark under it) shares a page, and every page
    // holds more than remark lines between its header and footer.
    static void expectWhole(const QString &text, std::initializer_list<std::pair<const char *, const char *>> pairs) {
        QStringList pages = text.split(QLatin1Char('\f'));
        pages.removeLast(); // after the last page break
        const auto pageOf = [&](const char *part) {
            for (qsizetype i = 0; i < pages.size(); ++i)
                if (pages[i].contains(QString::fromUtf8(part)))
                    return i;
            return qsizetype(-1);
        };
        for (const auto &[first, last] : pairs) {
            EXPECT_NE(pageOf(first), -1) << first;
            EXPECT_EQ(pageOf(first), pageOf(last)) << first << " / " << last;
        }
        const QRegularExpression remark(QStringLiteral("^(Oplysninger|Brud !|Revnevidden|Størrelse:|diameter for)"));
        for (const QString &page : pages) {
            QStringList lines = page.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            lines = lines.mid(1, lines.size() - 2).replaceInStrings(QRegularExpression(QStringLiteral("^\\s+")), "");
            EXPECT_FALSE(std::all_of(lines.begin(), lines.end(), [&](const QString &l) {
                return remark.match(l).hasMatch();
            })) << page.toStdString();
        }
    }
};

// What every report prints of the company, the project and the common input.
// clang-format off
const std::initializer_list<const char *> kCommonInput = {
    "Nordvest Rådgivning A/S", "Havnegade 12", "7400 Herning", "97 12 34 56", "ih@nordvest.dk", "Ida Holm",
    "Lagerhal 2, Vejle", "14-03-2024", "Gulv i hal med truckkørsel", "Hjultryk", "Fladelast", "45,00", "1,30", "250",
    "Grus", "Sand", "50000", "18750", "11538", "EPS 150", "0,035", "Side 1 af"};
// clang-format on

TEST_F(ReportsTest, ConcreteSlabWithTwoLayersPrintsInputResultsReinforcementAndRemarks) {
    const QString text = print("Beton.rpt", true, true);
    ASSERT_FALSE(text.isEmpty());
    expectAll(text, kCommonInput);
    // clang-format off
    expectAll(text, {"Beregning af betondæk på isolering", "C25/30", "Passiv", "15,15", "0,3", "EPS 80 Gulv",
                     "Øverste lag", "Nederste lag", "7,46 kNm/m", "-3,46 kNm/m", "10,12 kNm/m", "-4,50 kNm/m",
                     "12,80 kNm/m", "38,3 kN/m²", "60,0 kN/m²", "21,1 kN/m²", "30,0 kN/m²", "1,23", "0,15",
                     "Undersidearmering", "Oversidearmering", "Ks 410 S", "Brud ! Tryk på isolering er for stort",
                     "Revnevidden er eftervist"});
    // clang-format on
    // Steel areas rounded to whole mm²/m beside their spacing: 161.57 + 16 + 2 for diameter 16, steel type 2.
    expectAll(text, {"169", "150", "180", "400"});
    expectNone(text, {"<ikke defineret>", "161,57"});
    // A unit in a column head is never broken; a heading under a table lies lower than one under lines of text by
    // more than the cells' padding and rule, since the rule does not have the room a line keeps below its letters.
    EXPECT_EQ(text.count("(mm²/m)"), 4);
    EXPECT_GT(testsupport::SpaceAbove(lastPdf, "Oplysninger") - testsupport::SpaceAbove(lastPdf, "Fundering"), 4.5);
    expectWhole(text, {{"Nr.", "Fladelast"},
                       {"Fladelast", "diameter for"},
                       {"Lag nr.", "Varmeledningsevne, våd"},
                       {"Max positivt", "Kapacitet uarmeret"},
                       {"Regningsmæssigt tryk", "21,1 kN/m²"}});
}

TEST_F(ReportsTest, ConcreteSlabWithOneLayerListsOnlyTheLayerThatExists) {
    const QString text = print("Beton1.rpt", true, false);
    ASSERT_FALSE(text.isEmpty());
    expectAll(text, kCommonInput);
    expectAll(text, {"Beregning af betondæk på isolering", "Undersidearmering", "38,3 kN/m²"});
    expectNone(text, {"EPS 80 Gulv", "Nederste lag", "<ikke defineret>"});
    expectWhole(text, {{"Nr.", "diameter for"}, {"Lag Isoleringstype", "EPS 150"}, {"Max positivt", "Kapacitet"}});
}

TEST_F(ReportsTest, OtherSlabTypesPrintTheirStressesAndNoReinforcement) {
    const QString text = print("Bruger.rpt", false, true);
    ASSERT_FALSE(text.isEmpty());
    expectAll(text, kCommonInput);
    expectAll(text, {"Beregning af terrændæk på isolering", "Brugerdefineret", "Regningsmæssige spændinger",
                     "Max (tryk)", "3,12 MPa", "12,50 MPa", "1,36 MPa", "1,25 MPa", "5,13 kNm/m", "-2,25 kNm/m",
                     "EPS 80 Gulv", "21,1 kN/m²"});
    expectNone(text, {"armering", "Kamstål"});
    expectWhole(text, {{"Nr.", "diameter for"},
                       {"Lag nr.", "Varmeledningsevne, våd"},
                       {"Tykkelse af mellemlag", "Ballasttal for terræn"},
                       {"Max (tryk)", "Min (træk)"}});

    for (const char *table : {"ResultatBrugdef", "ResultatOplysning"})
        sql(QStringLiteral("DELETE FROM ") + QString::fromUtf8(table));
    const QString one = print("Bruger1.rpt", false, false);
    expectAll(one, {"Regningsmæssige spændinger", "EPS 150"});
    expectNone(one, {"EPS 80 Gulv", "Nederste lag"});
}

// A heading under a table stands as far below it when the table ends in empty cells as when they are filled: no
// e-mail, no description, no top reinforcement or a layer without its wet conductivity must not pull the heading
// up onto the table's rule.
TEST_F(ReportsTest, AHeadingUnderATableKeepsItsRoomWhenTheLastCellsAreEmpty) {
    const struct {
        const char *definition;
        bool concrete, twoLayers;
        std::vector<const char *> headings;
    } rows[] = {
        {"Beton.rpt",
         true,
         true,
         {"Projekt", "Dæk", "Laster", "Mellemlag", "Fundering", "Resultater", "Armering", "Oplysninger"}},
        {"Beton1.rpt", true, false, {"Oplysninger"}},
        {"Bruger1.rpt", false, false, {"Projekt", "Dæk", "Mellemlag"}},
    };
    for (const auto &row : rows) {
        std::vector<double> filled;
        print(row.definition, row.concrete, row.twoLayers);
        for (const char *heading : row.headings)
            filled.push_back(testsupport::SpaceAbove(lastPdf, QString::fromUtf8(heading)));
        print(row.definition, row.concrete, row.twoLayers,
              {"UPDATE Firma SET \"e-mail\" = ''", "UPDATE projekt SET tekst = NULL",
               "UPDATE ResultatArmering SET \"As\" = 0, a = 0 WHERE Overside",
               "UPDATE inddataisolering SET LambdaVåd = NULL"});
        for (size_t i = 0; i < filled.size(); ++i) {
            const char *heading = row.headings[i];
            EXPECT_GT(filled[i], 9) << row.definition << " " << heading;
            EXPECT_NEAR(testsupport::SpaceAbove(lastPdf, QString::fromUtf8(heading)), filled[i], 0.1)
                << row.definition << " " << heading;
        }
    }
}

TEST_F(ReportsTest, EveryDefinitionIsInstalledInTheProgramFolder) {
    for (const char *name : {"Beton.rpt", "Beton1.rpt", "Bruger.rpt", "Bruger1.rpt"})
        EXPECT_TRUE(QFileInfo::exists(QStringLiteral(FUNDATOR_APP_DIR "/") + QString::fromUtf8(name))) << name;
}

} // namespace
