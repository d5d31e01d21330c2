#include "platform/common_dialog.h"

#include "engine/errors.h"
#include "platform/help_viewer.h"

#include <gtest/gtest.h>

using platform::CommonDialog;
using platform::FileDialogResult;
using platform::PrinterChoice;

namespace {

const QString kFilter = QStringLiteral("All Files (*.*)|*.*|Polystra files (*.epx)|*.epx");

class CommonDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialogs = std::make_shared<platform::RecordingDialogs>();
        help = std::make_shared<platform::RecordingHelp>();
        platform::setDialogService(dialogs);
        platform::setHelpService(help);
        platform::SetCurrentPrinter({});
    }
    void TearDown() override {
        platform::setDialogService(std::make_shared<platform::RecordingDialogs>());
        platform::setHelpService(std::make_shared<platform::RecordingHelp>());
        platform::SetCurrentPrinter({});
    }
    // The set-up the project-file dialog makes before each of its commands.
    static CommonDialog projectFileDialog() {
        CommonDialog d;
        d.CancelError = true;
        d.Flags = 0x200006;
        d.Filter = kFilter;
        d.FilterIndex = 2;
        d.DefaultExt = QStringLiteral("epx");
        d.InitDir = QStringLiteral("/opt/fundator/data");
        return d;
    }
    static int errorNumberOf(const std::function<void()> &f) {
        try {
            f();
        } catch (const engine::RuntimeError &e) {
            return e.number();
        }
        return 0;
    }

    std::shared_ptr<platform::RecordingDialogs> dialogs;
    std::shared_ptr<platform::RecordingHelp> help;
};

} // namespace

TEST(ParseFilter, SplitsDescriptionsAndPatterns) {
    const auto filters = platform::ParseFilter(kFilter);
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0], (platform::FileFilter{QStringLiteral("All Files (*.*)"), {QStringLiteral("*.*")}}));
    EXPECT_EQ(filters[1], (platform::FileFilter{QStringLiteral("Polystra files (*.epx)"), {QStringLiteral("*.epx")}}));
    const auto several = platform::ParseFilter(QStringLiteral("Tekst|*.txt; *.csv|Halv"));
    ASSERT_EQ(several.size(), 1u);
    EXPECT_EQ(several[0].patterns, (QStringList{QStringLiteral("*.txt"), QStringLiteral("*.csv")}));
    EXPECT_TRUE(platform::ParseFilter(QString()).empty());
}

TEST_F(CommonDialogTest, OpenAndSavePassEveryPropertyAndTakeTheChoice) {
    for (const bool save : {false, true}) {
        dialogs->fileRequests.clear();
        dialogs->fileAnswers.push_back(FileDialogResult{QStringLiteral("/home/ing/hal.epx"), 1});
        CommonDialog d = projectFileDialog();
        d.DialogTitle = QStringLiteral("Hent inddata");
        save ? d.ShowSave() : d.ShowOpen();

        ASSERT_EQ(dialogs->fileRequests.size(), 1u);
        const platform::FileDialogRequest &r = dialogs->fileRequests[0];
        EXPECT_EQ(r.save, save);
        EXPECT_EQ(r.title, "Hent inddata");
        EXPECT_EQ(r.filter, kFilter);
        EXPECT_EQ(r.filterIndex, 2);
        EXPECT_EQ(r.defaultExt, "epx");
        EXPECT_EQ(r.initDir, "/opt/fundator/data");
        EXPECT_EQ(r.flags, 0x200006);
        EXPECT_EQ(d.FileName, "/home/ing/hal.epx");
        EXPECT_EQ(d.FilterIndex, 1);
    }
}

TEST_F(CommonDialogTest, CancelRaisesTheCancelErrorAndKeepsTheName) {
    CommonDialog d = projectFileDialog();
    d.FileName = QStringLiteral("tidligere.epx");
    try {
        d.ShowOpen();
        FAIL() << "no error raised";
    } catch (const engine::RuntimeError &e) {
        EXPECT_EQ(e.number(), platform::kCancelError);
        EXPECT_EQ(e.number(), 32755);
        EXPECT_EQ(e.description(), "Cancel was selected.");
    }
    EXPECT_EQ(d.FileName, "tidligere.epx");
    EXPECT_EQ(d.FilterIndex, 2);

    dialogs->fileAnswers.push_back(std::nullopt);
    EXPECT_EQ(errorNumberOf([&] { d.ShowSave(); }), platform::kCancelError);
}

TEST_F(CommonDialogTest, CancelWithoutCancelErrorReturnsQuietly) {
    CommonDialog d;
    d.FileName = QStringLiteral("a.epx");
    EXPECT_EQ(errorNumberOf([&] { d.ShowOpen(); }), 0);
    EXPECT_EQ(d.FileName, "a.epx");
    EXPECT_EQ(errorNumberOf([&] { d.ShowPrinter(); }), 0);
    EXPECT_EQ(platform::CurrentPrinter(), PrinterChoice{});
}

TEST_F(CommonDialogTest, PrinterChoiceBecomesTheCurrentPrinter) {
    const PrinterChoice pdf{QString(), QStringLiteral("/tmp/rapport.pdf"), 2};
    dialogs->printerAnswers.push_back(pdf);
    CommonDialog d;
    d.CancelError = true;
    d.Flags = 0x10000C;
    d.ShowPrinter();
    EXPECT_EQ(dialogs->printerRequests, std::vector<std::int32_t>{0x10000C});
    EXPECT_EQ(platform::CurrentPrinter(), pdf);

    // A cancelled second dialog leaves the earlier choice in place.
    EXPECT_EQ(errorNumberOf([&] { d.ShowPrinter(); }), platform::kCancelError);
    EXPECT_EQ(platform::CurrentPrinter(), pdf);
}

TEST_F(CommonDialogTest, HelpOpensTheFileAtItsContents) {
    CommonDialog d;
    d.HelpFile = QStringLiteral("/opt/fundator/FundatorHelp.HLP");
    d.HelpCommand = platform::cdl::HelpContents;
    d.ShowHelp();
    EXPECT_EQ(help->shown, std::vector<QString>{QStringLiteral("/opt/fundator/FundatorHelp.HLP")});

    d.HelpCommand = 1;
    EXPECT_EQ(errorNumberOf([&] { d.ShowHelp(); }), engine::err::InvalidProcedureCall);
    EXPECT_EQ(help->shown.size(), 1u);
}
