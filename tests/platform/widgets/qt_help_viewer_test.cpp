#include "platform/widgets/qt_help_viewer.h"

#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

const QString kHelpFile = QStringLiteral(FUNDATOR_SOURCE_DIR "/help/FundatorHelp.HLP");

QSet<QString> anchorsIn(const QTextDocument &doc) {
    QSet<QString> names;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            for (const QString &n : it.fragment().charFormat().anchorNames())
                names.insert(n);
    return names;
}

} // namespace

TEST(QtHelpViewer, OpensTheHelpFileAtItsContentsInAWindowOfItsOwn) {
    platform::QtHelpViewer viewer;
    EXPECT_EQ(viewer.window(), nullptr);
    viewer.showContents(kHelpFile);

    platform::HelpWindow *w = viewer.window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isWindow());
    EXPECT_FALSE(w->testAttribute(Qt::WA_QuitOnClose));
    EXPECT_EQ(w->browser()->source().fragment(), QString::fromLatin1(platform::kHelpContentsAnchor));
    EXPECT_EQ(w->browser()->source().toLocalFile(), kHelpFile);
    const QString text = w->browser()->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("Inddata - Dæk"))) << "the file reads as UTF-8 HTML";
    EXPECT_FALSE(text.contains(QStringLiteral("<h2>"))) << "the file reads as HTML, not as plain text";

    // A second request reuses the window.
    viewer.showContents(kHelpFile);
    EXPECT_EQ(viewer.window(), w);
}

TEST(QtHelpViewer, ContentsLinksReachTheirSections) {
    platform::QtHelpViewer viewer;
    viewer.showContents(kHelpFile);
    QTextBrowser *browser = viewer.window()->browser();
    const QSet<QString> anchors = anchorsIn(*browser->document());

    QFile f(kHelpFile);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(f.readAll());
    QSet<QString> targets;
    for (const auto &m : QRegularExpression(QStringLiteral("href=\"#([^\"]+)\"")).globalMatch(html))
        targets.insert(m.captured(1));
    for (const char *section : {"indhold", "laster", "daek", "isolering", "beregning", "resultater"})
        EXPECT_TRUE(targets.contains(QString::fromLatin1(section))) << section;
    for (const QString &t : targets)
        EXPECT_TRUE(anchors.contains(t)) << t.toStdString();

    // Following a link moves the view down to its section.
    viewer.window()->resize(600, 300);
    browser->scrollToAnchor(QStringLiteral("resultater"));
    EXPECT_GT(browser->verticalScrollBar()->value(), 0);
}

TEST(QtHelpViewer, AFileThatCannotBeReadIsSaidSo) {
    QTemporaryDir dir;
    const QString missing = dir.path() + QStringLiteral("/FundatorHelp.HLP");
    platform::QtHelpViewer viewer;
    viewer.showContents(missing);
    ASSERT_NE(viewer.window(), nullptr);
    EXPECT_TRUE(viewer.window()->isVisible());
    EXPECT_EQ(viewer.window()->browser()->toPlainText(),
              QStringLiteral("Hjælpefilen \"%1\" kan ikke åbnes.").arg(missing));

    // Once the file is there, the next request shows it.
    QFile::copy(kHelpFile, missing);
    viewer.showContents(missing);
    EXPECT_TRUE(viewer.window()->browser()->toPlainText().contains(QStringLiteral("Indhold")));
}
