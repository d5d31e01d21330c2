#pragma once
// The program's message boxes go through one replaceable service: a Qt view in the program,
// a recording fake in tests (a modal box would block them).

#include <QString>
#include <memory>
#include <vector>

namespace platform {

enum class Icon { None, Critical };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

class MessageService {
public:
    virtual ~MessageService() = default;
    // text keeps the carriage returns (character 13) the program writes; caption is "Fundator".
    virtual Answer show(const QString &text, Buttons buttons, Icon icon, const QString &caption) = 0;
};

// The service in use; the program installs the Qt view at start, tests install a fake.
MessageService &messages();
void setMessageService(std::shared_ptr<MessageService> service);

// Shorthands with the program's caption.
Answer MsgBox(const QString &text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None);

// Records every message and answers with a queued answer (default: Ok for Ok boxes, Yes for questions).
class RecordingMessages : public MessageService {
public:
    struct Shown {
        QString text;
        Buttons buttons;
        Icon icon;
        QString caption;
    };
    std::vector<Shown> shown;
    std::vector<Answer> answers; // consumed from the front
    Answer show(const QString &text, Buttons buttons, Icon icon, const QString &caption) override;
};

} // namespace platform
