#include "platform/common_dialog.h"

#include "engine/errors.h"
#include "platform/help_viewer.h"
#include "support/recording_services.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

// A cancelled dialog keeps the name and the earlier printer; it raises the cancel error only when asked to.
TEST(CommonDialog, CancelRaisesTheCancelErrorWhenAskedAndChangesNothing) {
    auto dialogs = std::make_shared<testsupport::RecordingDialogs>();
    auto help = std::make_shared<RecordingHelp>();
    setDialogService(dialogs);
    setHelpService(help);
    const PrinterChoice pdf{QString(), QStringLiteral("/tmp/rapport.pdf"), 2};
    SetCurrentPrinter(pdf);
    CommonDialog d;
    d.FileName = QStringLiteral("tidligere.epx");
    d.ShowOpen();
    d.ShowPrinter();
    d.CancelError = true;
    for (const auto &show : {&CommonDialog::ShowOpen, &CommonDialog::ShowSave, &CommonDialog::ShowPrinter}) {
        try {
            (d.*show)();
            ADD_FAILURE() << "no error raised";
        } catch (const engine::RuntimeError &e) {
            EXPECT_EQ(e.number(), 32755);
            EXPECT_EQ(e.description(), "Cancel was selected.");
        }
    }
    EXPECT_EQ(d.FileName, "tidligere.epx");
    EXPECT_EQ(CurrentPrinter(), pdf);
    d.HelpCommand = 1; // only the contents can be shown
    EXPECT_THROW(d.ShowHelp(), engine::RuntimeError);
    d.HelpCommand = cdl::HelpContents;
    d.ShowHelp();
    EXPECT_EQ(help->shown.size(), 1u);
    SetCurrentPrinter({});
}

} // namespace
