#include "platform/widgets/qt_message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

namespace platform {

std::unique_ptr<QMessageBox> MakeMessageBox(const QString &text, Buttons buttons, Icon icon, const QString &caption,
                                            QWidget *parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(caption);
    box->setTextFormat(Qt::PlainText); // "<ingen last>" and the like must not read as markup
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box->setText(shown);
    box->setIcon(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon);
    if (buttons == Buttons::YesNo) {
        QPushButton *yes = box->addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        QPushButton *no = box->addButton(QStringLiteral("&Nej"), QMessageBox::NoRole);
        box->setDefaultButton(yes);
        box->setEscapeButton(no);
    } else {
        QPushButton *ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box->setDefaultButton(ok);
        box->setEscapeButton(ok);
    }
    return box;
}

Answer AnswerOf(QMessageBox &box) {
    QAbstractButton *clicked = box.clickedButton();
    if (clicked == nullptr)
        return box.buttons().size() > 1 ? Answer::No : Answer::Ok;
    switch (box.buttonRole(clicked)) {
    case QMessageBox::YesRole:
        return Answer::Yes;
    case QMessageBox::NoRole:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}

Answer QtMessageService::show(const QString &text, Buttons buttons, Icon icon, const QString &caption) {
    auto box = MakeMessageBox(text, buttons, icon, caption, QApplication::activeWindow());
    box->exec();
    return AnswerOf(*box);
}

} // namespace platform
