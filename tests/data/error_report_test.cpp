#include "data/error_report.h"
#include "data/modmain.h"
#include "platform/message_box.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

class ErrorReportTest : public ::testing::Test {
protected:
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();
    void SetUp() override { platform::setMessageService(messages); }
    QString text(std::size_t i = 0) const { return i < messages->shown.size() ? messages->shown[i].text : QString(); }
};

TEST_F(ErrorReportTest, OneCriticalBoxOfFourLines) {
    data::ReportError(-2147467259, QStringLiteral("Could not find file 'x'."), 108, QStringLiteral("frmFil"));
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(text(), QStringLiteral("Der opstod et problem under eksekvering af Fundator!\r"
                                     "Function: frmFil, Log nr. 108\r"
                                     "Fejlnr.: -2147467259, Could not find file 'x'.\r"
                                     "Gem venligst sessionsdata og kontakt Polystra"));
    EXPECT_EQ(messages->shown[0].caption, QStringLiteral("Fundator"));
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
    EXPECT_EQ(messages->shown[0].buttons, platform::Buttons::Ok);
}

TEST_F(ErrorReportTest, EmptyTextAndStatementZero) {
    data::ReportError(94, QString(), 0, QStringLiteral("frmMain"));
    const QStringList lines = text().split(QChar(13));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1], QStringLiteral("Function: frmMain, Log nr. 0"));
    EXPECT_EQ(lines[2], QStringLiteral("Fejlnr.: 94, "));
}

TEST_F(ErrorReportTest, StartUpShowsTheSameMessage) {
    modMain::ReportMainError(53, QStringLiteral("File not found"), 895, QStringLiteral("Sub Main"));
    data::ReportError(53, QStringLiteral("File not found"), 895, QStringLiteral("Sub Main"));
    ASSERT_EQ(messages->shown.size(), 2u);
    EXPECT_EQ(text(0), text(1));
    EXPECT_EQ(messages->shown[0].icon, messages->shown[1].icon);
}

} // namespace
