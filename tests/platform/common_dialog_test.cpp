#include "platform/common_dialog.h"

#include "engine/errors.h"
#include "platform/help_viewer.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

class CommonDialogTest : public ::testing::Test {
protected:
    std::shared_ptr<RecordingDialogs> dialogs = std::make_shared<RecordingDialogs>();
    std::shared_ptr<RecordingHelp> help = std::make_shared<RecordingHelp>();
    void SetUp() override {
        setDialogService(dialogs);
        setHelpService(help);
        SetCurrentPrinter({});
    }
    void TearDown() override {
        setDialogService(std::make_shared<RecordingDialogs>());
        setHelpService(std::make_shared<RecordingHelp>());
        SetCurrentPrinter({});
    }
};

TEST_F(CommonDialogTest, OpenSaveAndPrinterPassTheirPropertiesAndTakeTheChoice) {
    CommonDialog d;
    d.Flags = 0x200006;
    d.Filter = QStringLiteral("All Files (*.*)|*.*|Polystra files (*.epx)|*.epx");
    d.FilterIndex = 2;
    d.DefaultExt = QStringLiteral("epx");
    d.InitDir = QStringLiteral("/opt/fundator/data");
    d.DialogTitle = QStringLiteral("Hent inddata");
    for (const bool save : {false, true}) {
        dialogs->fileAnswers.push_back(FileDialogResult{save ? "/home/b.epx" : "/home/a.epx", save ? 1 : 2});
        save ? d.ShowSave() : d.ShowOpen();
        const FileDialogRequest &r = dialogs->fileRequests.back();
        EXPECT_EQ(r.save, save);
        EXPECT_EQ(r.title + r.filter + r.defaultExt + r.initDir, d.DialogTitle + d.Filter + "epx" + d.InitDir);
        EXPECT_EQ(r.filterIndex, 2);
        EXPECT_EQ(r.flags, 0x200006);
        EXPECT_EQ(d.FileName, save ? "/home/b.epx" : "/home/a.epx");
    }
    EXPECT_EQ(d.FilterIndex, 1);
    EXPECT_EQ(ParseFilter(d.Filter)[1], (FileFilter{QStringLiteral("Polystra files (*.epx)"), {"*.epx"}}));

    const PrinterChoice pdf{QString(), QStringLiteral("/tmp/rapport.pdf"), 2};
    dialogs->printerAnswers.push_back(pdf);
    d.Flags = 0x10000C;
    d.ShowPrinter();
    EXPECT_EQ(dialogs->printerRequests, std::vector<std::int32_t>{0x10000C});
    EXPECT_EQ(CurrentPrinter(), pdf);

    d.HelpFile = QStringLiteral("/opt/fundator/FundatorHelp.HLP");
    d.HelpCommand = cdl::HelpContents;
    d.ShowHelp();
    EXPECT_EQ(help->shown, std::vector<QString>{d.HelpFile});
}

// A cancelled dialog keeps the name and the earlier printer; it raises the cancel error only when asked to.
TEST_F(CommonDialogTest, CancelRaisesTheCancelErrorWhenAskedAndChangesNothing) {
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
    d.HelpCommand = 1;
    EXPECT_THROW(d.ShowHelp(), engine::RuntimeError);
    EXPECT_TRUE(help->shown.empty());
}

} // namespace
