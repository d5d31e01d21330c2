#pragma once
// The program's message boxes as Qt shows them.

#include "platform/message_box.h"

#include <QMessageBox>
#include <memory>

class QWidget;

namespace platform {

// The box for one message, ready to exec(): caption, text with its carriage returns as line breaks (shown as
// plain text, never as markup), the buttons OK or Ja/Nej (Escape and the close box answer Nej), and the
// critical icon or none.
std::unique_ptr<QMessageBox> MakeMessageBox(const QString &text, Buttons buttons, Icon icon, const QString &caption,
                                            QWidget *parent = nullptr);

// The answer that the button the user pressed stands for.
Answer AnswerOf(QMessageBox &box);

// Shows each message modally over the window that is active.
class QtMessageService : public MessageService {
public:
    Answer show(const QString &text, Buttons buttons, Icon icon, const QString &caption) override;
};

} // namespace platform
