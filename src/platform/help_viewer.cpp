#include "platform/help_viewer.h"

namespace platform {

namespace {
std::shared_ptr<HelpService> &current() {
    static std::shared_ptr<HelpService> service = std::make_shared<RecordingHelp>();
    return service;
}
} // namespace

HelpService &help() { return *current(); }

void setHelpService(std::shared_ptr<HelpService> service) { current() = std::move(service); }

void ShowHelpContents(const QString &helpFile) { help().showContents(helpFile); }

} // namespace platform
