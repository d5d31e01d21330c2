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

// Carriage returns become line breaks and markup stays text; Escape on a question answers No.
TEST(QtMessageBox, ShowsTheTextAsTextWithItsIconAndButtons) {
    auto box = MakeMessageBox(QStringLiteral("Der opstod et problem!\rFunction: frmMain\r\nFejlnr.: 13\r<ingen last>"),
                              Buttons::Ok, Icon::Critical, QStringLiteral("Fundator"));
    EXPECT_EQ(box->windowTitle(), "Fundator");
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->text(), "Der opstod et problem!\nFunction: frmMain\nFejlnr.: 13\n<ingen last>");
    EXPECT_EQ(box->buttons().size(), 1);
    EXPECT_NE(button(*box, "OK"), nullptr);
    box->show();
    bool shownAsText = false;
    for (const QLabel *label : box->findChildren<QLabel *>())
        shownAsText = shownAsText || label->text().endsWith(QStringLiteral("<ingen last>"));
    EXPECT_TRUE(shownAsText);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(box.get(), &escape);
    EXPECT_EQ(AnswerOf(*box), Answer::Ok);

    for (const Answer answer : {Answer::Yes, Answer::No}) {
        auto question = MakeMessageBox(QStringLiteral("?"), Buttons::YesNo, Icon::None, QStringLiteral("Fundator"));
        EXPECT_EQ(question->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(question->buttons().size(), 2);
        EXPECT_EQ(question->defaultButton(), button(*question, "&Ja"));
        question->show();
        button(*question, answer == Answer::Yes ? "&Ja" : "&Nej")->click();
        EXPECT_EQ(AnswerOf(*question), answer);
    }
    auto question = MakeMessageBox(QStringLiteral("?"), Buttons::YesNo, Icon::None, QStringLiteral("Fundator"));
    question->show();
    QApplication::sendEvent(question.get(), &escape);
    EXPECT_EQ(AnswerOf(*question), Answer::No);
}

TEST(QtMessageBox, ServiceShowsTheBoxModallyAndReturnsTheAnswer) {
    QString seenText;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenText = box->text();
        button(*box, "&Nej")->click();
    });
    const Answer a = QtMessageService().show(QStringLiteral("Indtastede data er ikke gemt.\rFortsæt ?"), Buttons::YesNo,
                                             Icon::None, QStringLiteral("Fundator"));
    EXPECT_EQ(a, Answer::No);
    EXPECT_EQ(seenText, "Indtastede data er ikke gemt.\nFortsæt ?");
}

} // namespace
