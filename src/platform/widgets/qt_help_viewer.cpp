#include "platform/widgets/qt_help_viewer.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace platform {

HelpWindow::HelpWindow() : browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("frmHjaelp"));
    setWindowTitle(QStringLiteral("Fundator - Hjælp"));
    // The help stays open beside the program, but must not keep it running once the main window closes.
    setAttribute(Qt::WA_QuitOnClose, false);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(680, 600);
}

void HelpWindow::open(const QString &helpFile) {
    const QFileInfo info(helpFile);
    if (!info.isFile() || !info.isReadable()) {
        browser_->clear();
        browser_->setPlainText(QStringLiteral("Hjælpefilen \"%1\" kan ikke åbnes.").arg(helpFile));
        return;
    }
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    url.setFragment(QString::fromLatin1(kHelpContentsAnchor));
    // The file's name ends in .HLP, so say what it holds rather than let the browser guess from the name.
    browser_->setSource(url, QTextDocument::HtmlResource);
}

QtHelpViewer::~QtHelpViewer() = default;

void QtHelpViewer::showContents(const QString &helpFile) {
    if (!window_)
        window_ = std::make_unique<HelpWindow>();
    window_->open(helpFile);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

} // namespace platform
