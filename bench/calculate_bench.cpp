// The calculate command up to its results window, on the delivered databases with a complete concrete input:
// the commit of an edited load, the whole-input check, both analysis passes and the design, with every table
// read and write that they make.

#include "calc/design_input.h"
#include "data/connections.h"
#include "platform/message_box.h"
#include "support/databases.h"
#include "support/sample_floor.h"
#include "ui/frm_main.h"

#include <QLineEdit>
#include <benchmark/benchmark.h>

namespace {

class Window : public frmMain {
public:
    using frmMain::Beregning;
};

void BM_CalculateCommand(benchmark::State &state) {
    testsupport::offscreenApplication();
    auto messages = std::make_shared<platform::RecordingMessages>();
    platform::setMessageService(messages);

    testsupport::DatabaseFolder folder;
    modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
    modMain::cnParam = folder.open(QStringLiteral("param.mdb"));
    modMain::cnIsol = folder.open(QStringLiteral("isol.mdb"));
    designinput::writeConcreteInput();
    {
        Window w;
        w.show();
        bool odd = false;
        for (auto _ : state) {
            // An edit on the load page that the command commits first.
            w.txtLastStorrelse->setText((odd = !odd) ? QStringLiteral("41") : QStringLiteral("40"));
            if (!w.Beregning() || !messages->shown.empty()) {
                state.SkipWithError("the calculation did not run to its end");
                break;
            }
        }
    }
    modMain::cnInddata.Close();
    modMain::cnParam.Close();
    modMain::cnIsol.Close();
}
BENCHMARK(BM_CalculateCommand)->Unit(benchmark::kMillisecond);

} // namespace
