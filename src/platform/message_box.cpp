#include "platform/message_box.h"

namespace platform {

namespace {
std::shared_ptr<MessageService> &current() {
    static std::shared_ptr<MessageService> service = std::make_shared<RecordingMessages>();
    return service;
}
} // namespace

MessageService &messages() { return *current(); }

void setMessageService(std::shared_ptr<MessageService> service) { current() = std::move(service); }

Answer MsgBox(const QString &text, Buttons buttons, Icon icon) {
    return messages().show(text, buttons, icon, QStringLiteral("Fundator"));
}

Answer RecordingMessages::show(const QString &text, Buttons buttons, Icon icon, const QString &caption) {
    shown.push_back({text, buttons, icon, caption});
    if (!answers.empty()) {
        Answer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}

} // namespace platform
