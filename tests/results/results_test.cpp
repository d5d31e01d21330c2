// The print table, the two results windows and their print button, on a whole project's input and results.

#include "kit/controls.h"
#include "results/print_prepare.h"
#include "results/widgets/beton.h"
#include "results/widgets/brugerdefineret.h"
#include "results_fixture.h"
#include "sample_project.h"

#include <QApplication>
#include <QLineEdit>
#include <functional>

using engine::Variant;

namespace {

class ResultsTest : public resultstest::ResultsFixture {
protected:
    const platform::PrinterChoice printer{QStringLiteral("Kontorprinter"), QString(), 2};
    void write(bool concrete, bool twoLayers = true) {
        resultstest::writeInput(concrete, twoLayers);
        resultstest::writeResults(concrete, twoLayers);
    }
    template <class Window> std::unique_ptr<Window> load() {
        auto w = std::make_unique<Window>();
        w->Form_Load();
        return w;
    }
    static QString programFile(const char *name) {
        return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QString::fromUtf8(name);
    }
    // The one message shown, which starts with or holds the given text.
    void expectMessage(const QString &text) {
        ASSERT_EQ(messages->shown.size(), 1u) << text.toStdString();
        EXPECT_TRUE(messages->shown[0].text.contains(text)) << messages->shown[0].text.toStdString();
        messages->shown.clear();
    }
};

// A layer without type keeps its thickness; the reinforcement only for a concrete slab, and nothing of a failed fill
// saved. (Whole calculated cases fill the rest in the calculation tests.)
TEST_F(ResultsTest, ThePrintTableHoldsBothLayersAndTheReinforcement) {
    write(true);
    PrintPrepare::PrintFormat();
    sql("UPDATE inddataisolering SET IsoleringType = '' WHERE lagnr = 2");
    sql("UPDATE inddata SET daekType = 'Brugerdefineret'");
    sql("DELETE FROM ResultatArmering");
    PrintPrepare::PrintFormat();
    EXPECT_EQ(first("Udskrift", "IsoleringTykkelse2"), Variant(100));
    EXPECT_EQ(first("Udskrift", "16Under2as"), Variant(179.57)) << "left as the earlier print left it";
    EXPECT_TRUE(messages->shown.empty());

    sql("UPDATE inddata SET daekType = 'Beton'");
    PrintPrepare::PrintFormat();
    expectMessage("Fejl opstået ved udskrift af beregning.\rFunktion: PrintFormat, Lognr.: 22\rFejl: 3021, ");
    EXPECT_EQ(first("Udskrift", "IsoleringType2"), Variant("<ikke defineret>")) << "nothing of a failed fill is saved";
}

TEST_F(ResultsTest, TheWindowsShowTheResultsInTheirPatternsAndChooseTheReport) {
    write(true);
    auto beton = load<results::Beton>();
    write(false, false);
    auto bruger = load<results::Brugerdefineret>();
    EXPECT_TRUE(messages->shown.empty());
    // clang-format off
    const std::pair<const QLineEdit *, const char *> boxes[] = {
        {beton->KarMaxPos, "7,46"},  {beton->RegMaxNeg, "-4,50"},    {beton->Deform, "1,23"},
        {beton->UValue, "0,15"},     {beton->TilIso2, "30,0"},       {beton->Oplysning[2], ""},
        {beton->UMA[4], "179"},      {beton->UAC[0], "150"},          {beton->OAATS[0], ""},
        {beton->OACTS[4], "400"},    {bruger->KarMaxPos, "5,13"},    {bruger->RegFakMax, "3,12"},
        {bruger->RegMaxTil, "12,50"}, {bruger->RegMinFak, "1,36"},   {bruger->RegMinTil, "1,25"},
        {bruger->Oplysning[1], "Brud ! Tryk på isolering er for stort"},
    };
    // clang-format on
    for (const auto &[box, text] : boxes)
        EXPECT_EQ(box->text(), text) << box->objectName().toStdString();
    EXPECT_EQ(beton->RapportNavn, "Beton.rpt");
    EXPECT_TRUE(ui::Visible(beton->TilIso2));
    EXPECT_EQ(bruger->RapportNavn, "Bruger1.rpt");
    EXPECT_FALSE(ui::Visible(bruger->TilIso2));
}

TEST_F(ResultsTest, FailuresAreReportedWithTheWindowAndTheStep) {
    write(true);
    sql("DELETE FROM ResultatBeton");
    load<results::Beton>();
    expectMessage("\rFunction: frmBeton, Log nr. 4\rFejlnr.: 3021, ");
    load<results::Brugerdefineret>();
    expectMessage("\rFunction: frmBrugerdefineret, Log nr. 13\rFejlnr.: 3021, ");

    write(true);
    auto beton = load<results::Beton>();
    write(false);
    auto bruger = load<results::Brugerdefineret>();
    beton->Command1_Click(1); // the printer dialog cancelled: nothing printed, nothing said
    EXPECT_EQ(dialogs->printerRequests, (std::vector<std::int32_t>{0x10000C}));
    EXPECT_TRUE(reports->printed.empty());
    // clang-format off
    const struct { results::ResultsWindow *window; std::int16_t status; const char *message; } prints[] = {
        {beton.get(), 4, "Udskrift af beton beregning fejlede. Fejlkode: 4"},
        {bruger.get(), -3, "Udskrift af brugerdefineret beregning fejlede. Fejlkode: -3"}};
    // clang-format on
    for (const auto &p : prints) {
        dialogs->printerAnswers = {printer};
        reports->statuses = {p.status};
        p.window->Command1_Click(1);
        expectMessage(p.message);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(platform::CurrentPrinter(), printer);
    }
    EXPECT_EQ(first("Udskrift", "IsoleringType1"), Variant("EPS 150")) << "the print table is filled first";
    // A print table that cannot be filled is reported, and the print goes on; OK closes.
    sql("DELETE FROM ResultatArmering WHERE Diameter = 16");
    sql("UPDATE inddata SET daekType = 'Beton'");
    dialogs->printerAnswers = {printer};
    beton->Command1_Click(1);
    expectMessage("Fejl opstået ved udskrift af beregning.");
    EXPECT_EQ(reports->printed.back(), programFile("Beton.rpt"));
    beton->show();
    beton->Command1_Click(0);
    EXPECT_FALSE(beton->isVisible());
}

TEST_F(ResultsTest, PrintingToAFileProposesTheProjectFolderAndTheProjectsName) {
    write(true);
    auto beton = load<results::Beton>();
    const char *names[][2] = {{"NULL", "Fundator"}, {"' . '", "Fundator"}, {"'Hal 2/3: øst.'", "Hal 2-3- øst"}};
    for (const auto &[stored, file] : names) {
        sql(QStringLiteral("UPDATE projekt SET projektid = %1").arg(QString::fromUtf8(stored)));
        beton->Command1_Click(1);
        EXPECT_EQ(dialogs->printerFiles.back(), programFile("data/") + QString::fromUtf8(file) + ".pdf");
    }
    sql("DROP TABLE projekt");
    beton->Command1_Click(1);
    EXPECT_EQ(dialogs->printerFiles.back(), programFile("data/Fundator.pdf"));
    EXPECT_TRUE(messages->shown.empty());
}

} // namespace
