#pragma once
// Our own help viewer: the help file (HTML) in a browser window of its own, opened at its contents.

#include "platform/help_viewer.h"

#include <QWidget>
#include <memory>

class QTextBrowser;

namespace platform {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow();
    // Loads the file and shows its contents section; a file that cannot be read is said so in the window.
    void open(const QString &helpFile);
    QTextBrowser *browser() const { return browser_; }

private:
    QTextBrowser *browser_;
};

class QtHelpViewer : public HelpService {
public:
    ~QtHelpViewer() override;
    void showContents(const QString &helpFile) override;
    // The one window, made at the first request; null before.
    HelpWindow *window() const { return window_.get(); }

private:
    std::unique_ptr<HelpWindow> window_;
};

} // namespace platform
