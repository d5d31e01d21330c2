// The calculate command up to its results window, on the delivered databases with a complete concrete input:
// the commit of an edited load, the whole-input check, both analysis passes and the design, with every table
// read and write that they make.

#include "calc/design_input.h"
#include "platform/message_box.h"
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

    testsupport::ProgramDatabases databases;
    designinput::writeConcreteInput();
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
BENCHMARK(BM_CalculateCommand)->Unit(benchmark::kMillisecond);

} // namespace
