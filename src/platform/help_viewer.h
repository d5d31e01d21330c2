#pragma once
// The help file opens through one replaceable service: our own viewer in the program, a recording fake in tests.

#include <QString>
#include <memory>
#include <vector>

namespace platform {

class HelpService {
public:
    virtual ~HelpService() = default;
    // Shows the help file (HTML with a contents section) at its contents, in a window of its own.
    virtual void showContents(const QString &helpFile) = 0;
};

// The service in use; the program installs the viewer at start, tests a fake.
HelpService &help();
void setHelpService(std::shared_ptr<HelpService> service);

void ShowHelpContents(const QString &helpFile);

// The anchor of the help file's contents section.
inline constexpr const char *kHelpContentsAnchor = "indhold";

class RecordingHelp : public HelpService {
public:
    std::vector<QString> shown;
    void showContents(const QString &helpFile) override { shown.push_back(helpFile); }
};

} // namespace platform
