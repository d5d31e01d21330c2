#include "platform/widgets/qt_help_viewer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

const QString kHelpFile = QStringLiteral(FUNDATOR_SOURCE_DIR "/help/FundatorHelp.HLP");

// The file reads as HTML, at its contents, in one window of its own; a file that cannot be read is said so.
TEST(QtHelpViewer, OpensTheHelpFileAtItsContentsOrSaysItCannot) {
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/FundatorHelp.HLP");
    platform::QtHelpViewer viewer;
    viewer.showContents(file);
    platform::HelpWindow *w = viewer.window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->testAttribute(Qt::WA_QuitOnClose));
    EXPECT_EQ(w->browser()->toPlainText(), QStringLiteral("Hjælpefilen \"%1\" kan ikke åbnes.").arg(file));

    QFile::copy(kHelpFile, file);
    viewer.showContents(file);
    EXPECT_EQ(viewer.window(), w);
    EXPECT_EQ(w->browser()->source().fragment(), QString::fromLatin1(platform::kHelpContentsAnchor));
    EXPECT_TRUE(w->browser()->toPlainText().contains(QStringLiteral("Inddata - Dæk"))) << "read as UTF-8 HTML";
}

} // namespace
