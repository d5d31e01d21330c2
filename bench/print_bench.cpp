// A print as the results window's print button runs it, after the printer dialog: the print table filled from
// the input and result tables, then the concrete slab's report definition laid out and written to a PDF file.

#include "data/connections.h"
#include "data/modmain.h"
#include "platform/common_dialog.h"
#include "platform/message_box.h"
#include "platform/report_engine.h"
#include "platform/widgets/qt_report_engine.h"
#include "results/print_prepare.h"
#include "results/sample_project.h"
#include "support/databases.h"
#include "support/sample_floor.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A concrete slab on two layers with its results, as after a calculation.
struct Project {
    testsupport::DatabaseFolder folder;
    QTemporaryDir out;
    Project() {
        testsupport::offscreenApplication();
        QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
        platform::setMessageService(std::make_shared<platform::RecordingMessages>());
        platform::setReportService(std::make_shared<platform::QtReportService>([] { return modMain::cnInddata; }));
        platform::SetCurrentPrinter({QString(), out.filePath(QStringLiteral("Beton.pdf")), 1});
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        modMain::ClearInddata();
        modMain::InitInddata();
        resultstest::writeCompany();
        resultstest::writeInput(true, true);
        resultstest::writeResults(true, true);
    }
    ~Project() {
        modMain::cnInddata.Close();
        QLocale::setDefault(QLocale::c());
    }
};

void BM_PrintFormat(benchmark::State &state) {
    Project project;
    for (auto _ : state)
        PrintPrepare::PrintFormat();
}
BENCHMARK(BM_PrintFormat)->Unit(benchmark::kMillisecond);

void BM_PrintFormatAndReportToPdf(benchmark::State &state) {
    Project project;
    platform::ReportControl report;
    report.ReportFileName = QStringLiteral(FUNDATOR_APP_DIR "/Beton.rpt");
    for (auto _ : state) {
        PrintPrepare::PrintFormat();
        if (report.PrintReport() != 0)
            state.SkipWithError("the report did not print");
    }
}
BENCHMARK(BM_PrintFormatAndReportToPdf)->Unit(benchmark::kMillisecond);

} // namespace
