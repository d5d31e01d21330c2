// The two buttons of the results windows: closing, and printing through the printer dialog, the print table and
// the report engine.

#include "results/print_prepare.h"
#include "results/results_fixture.h"
#include "results/widgets/beton.h"
#include "results/widgets/brugerdefineret.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <functional>

using engine::Variant;

namespace {

// Looks at the program's state at the moment the report engine is asked to print.
class ProbeReports : public platform::ReportService {
public:
    std::function<std::int16_t(const QString &)> onPrint;
    std::int16_t printReport(const QString &file) override { return onPrint(file); }
};

class PrintCommandTest : public resultstest::ResultsFixture {
protected:
    const platform::PrinterChoice printer{QStringLiteral("Kontorprinter"), QString(), 2};

    void SetUp() override {
        ResultsFixture::SetUp();
        set("inddata", {{"daekType", "Beton"}});
        set("inddataisolering", {{"IsoleringType", "EPS 150"}});
        addRow("ResultatBeton", {{"IsoFaktisk2", 0},
                                 {"IsoTilladt2", 0},
                                 {"Oplysning1", ""},
                                 {"Oplysning2", ""},
                                 {"Oplysning3", ""},
                                 {"Oplysning4", ""},
                                 {"Oplysning5", ""}});
        addAllArmering();
        addRow("ResultatBrugdef", {{"IsoFaktisk2", 1},
                                   {"IsoTilladt2", 2},
                                   {"Oplysning1", ""},
                                   {"Oplysning2", ""},
                                   {"Oplysning3", ""},
                                   {"Oplysning4", ""},
                                   {"Oplysning5", ""}});
    }

    std::unique_ptr<results::Beton> beton() {
        auto w = std::make_unique<results::Beton>();
        w->Form_Load();
        EXPECT_TRUE(messages->shown.empty());
        return w;
    }

    static QString programFile(const char *name) {
        return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QString::fromUtf8(name);
    }
};

TEST_F(PrintCommandTest, CancellingThePrinterDialogPrintsAndSaysNothing) {
    const auto w = beton();
    w->Command1_Click(1);
    EXPECT_EQ(dialogs->printerRequests, (std::vector<std::int32_t>{0x10000C}));
    EXPECT_TRUE(reports->printed.empty());
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(first("Udskrift", "IsoleringType1"), Variant("")) << "the print table is not filled";
    EXPECT_EQ(platform::CurrentPrinter(), platform::PrinterChoice{});
}

TEST_F(PrintCommandTest, PrintsTheChosenDefinitionFromTheProgramFolderAfterFillingThePrintTable) {
    const auto w = beton();
    dialogs->printerAnswers = {printer};
    auto probe = std::make_shared<ProbeReports>();
    QString file;
    Variant printedType;
    bool hourglass = false;
    probe->onPrint = [&](const QString &f) {
        file = f;
        printedType = first("Udskrift", "IsoleringType1");
        hourglass = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        EXPECT_EQ(platform::CurrentPrinter(), printer);
        return std::int16_t{0};
    };
    platform::setReportService(probe);
    QTest::mouseClick(w->Command1[1], Qt::LeftButton);
    EXPECT_EQ(file, programFile("Beton1.rpt"));
    EXPECT_EQ(printedType, Variant("EPS 150"));
    EXPECT_TRUE(hourglass);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(w->LogNr, 24);

    // Each print fills the print table again.
    platform::setReportService(reports);
    dialogs->printerAnswers = {printer};
    set("inddataisolering", {{"IsoleringType", "EPS 80"}});
    w->Command1_Click(1);
    EXPECT_EQ(reports->printed.size(), 1u);
    EXPECT_EQ(first("Udskrift", "IsoleringType1"), Variant("EPS 80"));
}

TEST_F(PrintCommandTest, AFailedPrintShowsTheEnginesCode) {
    const auto w = beton();
    dialogs->printerAnswers = {printer};
    reports->statuses = {4};
    w->Command1_Click(1);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text, "Udskrift af beton beregning fejlede. Fejlkode: 4");
    EXPECT_EQ(messages->shown[0].buttons, platform::Buttons::Ok);
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::None);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    messages->shown.clear();
    auto other = std::make_unique<results::Brugerdefineret>();
    other->Form_Load();
    EXPECT_EQ(other->RapportNavn, "Bruger.rpt");
    dialogs->printerAnswers = {printer};
    reports->statuses = {-3};
    other->Command1_Click(1);
    EXPECT_EQ(reports->printed.back(), programFile("Bruger.rpt"));
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text, "Udskrift af brugerdefineret beregning fejlede. Fejlkode: -3");
    EXPECT_EQ(other->LogNr, 8);
}

TEST_F(PrintCommandTest, PrintingGoesOnWhenThePrintTableCannotBeFilled) {
    const auto w = beton();
    sql("DELETE FROM ResultatArmering WHERE Diameter = 16");
    dialogs->printerAnswers = {printer};
    w->Command1_Click(1);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(messages->shown[0].text.startsWith("Fejl opstået ved udskrift af beregning."));
    EXPECT_EQ(reports->printed, (std::vector<QString>{programFile("Beton1.rpt")}));
    EXPECT_EQ(first("Udskrift", "IsoleringType1"), Variant("")) << "nothing of the failed fill is saved";
}

TEST_F(PrintCommandTest, AnErrorInThePrintIsReportedAndThePointerComesBack) {
    const auto w = beton();
    dialogs->printerAnswers = {printer};
    auto probe = std::make_shared<ProbeReports>();
    probe->onPrint = [](const QString &) -> std::int16_t { engine::raise(engine::err::PermissionDenied); };
    platform::setReportService(probe);
    w->Command1_Click(1);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(messages->shown[0].text.contains(QStringLiteral("Function: frmBeton, Log nr. 24\rFejlnr.: 70, ")));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PrintCommandTest, OkClosesTheWindowAndOtherIndexesDoNothing) {
    const auto w = beton();
    w->show();
    w->Command1_Click(7);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(dialogs->printerRequests.empty());
    QTest::mouseClick(w->Command1[0], Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(w->LogNr, 21);
    EXPECT_TRUE(reports->printed.empty());
}

} // namespace
