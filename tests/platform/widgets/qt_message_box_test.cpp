#include "platform/widgets/qt_message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace platform;

namespace {

QAbstractButton *button(const QMessageBox &box, const QString &text) {
    for (QAbstractButton *b : box.buttons())
        if (b->text() == text)
            return b;
    return nullptr;
}

// Carriage returns become line breaks and markup stays text; Escape answers No to a question, Ok otherwise.
TEST(QtMessageBox, ShowsTheTextAsTextWithItsIconAndButtons) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    for (const auto buttons : {Buttons::Ok, Buttons::YesNo}) {
        const bool question = buttons == Buttons::YesNo;
        auto box = MakeMessageBox(QStringLiteral("Problem!\rFunction: frmMain\r\nFejlnr.: 13\r<ingen last>"), buttons,
                                  question ? Icon::None : Icon::Critical, QStringLiteral("Fundator"));
        EXPECT_EQ(box->windowTitle(), "Fundator");
        EXPECT_EQ(box->icon(), question ? QMessageBox::NoIcon : QMessageBox::Critical);
        EXPECT_EQ(box->text(), "Problem!\nFunction: frmMain\nFejlnr.: 13\n<ingen last>");
        EXPECT_EQ(box->buttons().size(), question ? 2 : 1);
        EXPECT_EQ(static_cast<QAbstractButton *>(box->defaultButton()), button(*box, question ? "&Ja" : "OK"));
        box->show();
        bool shownAsText = false;
        for (const QLabel *label : box->findChildren<QLabel *>())
            shownAsText = shownAsText || label->text().endsWith(QStringLiteral("<ingen last>"));
        EXPECT_TRUE(shownAsText);
        QApplication::sendEvent(box.get(), &escape);
        EXPECT_EQ(AnswerOf(*box), question ? Answer::No : Answer::Ok);
    }
}

TEST(QtMessageBox, ServiceShowsTheBoxModallyAndReturnsTheAnswerOfTheButtonPressed) {
    for (const auto &[text, answer] : {std::pair{"&Ja", Answer::Yes}, std::pair{"&Nej", Answer::No}}) {
        QString seen;
        QTimer::singleShot(0, [&seen, text = text] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            seen = box ? box->text() : QString();
            if (box)
                button(*box, text)->click();
        });
        EXPECT_EQ(QtMessageService().show("Data er ikke gemt.\rFortsæt ?", Buttons::YesNo, Icon::None, "Fundator"),
                  answer);
        EXPECT_EQ(seen, "Data er ikke gemt.\nFortsæt ?");
    }
}

} // namespace
