#include "platform/widgets/qt_message_box.h"


#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::MakeMessageBox;

namespace {
QStringList buttonTexts(const QMessageBox &box) {
    QStringList out;
    for (QAbstractButton *b : box.buttons())
        out << b->text();
    out.sort();
    return out;
}

void pressEscape(QWidget *w) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}
} // namespace

TEST(QtMessageBox, OkBoxShowsCaptionTextAndNoIcon) {
    auto box =
        MakeMessageBox(QStringLiteral("Lastformen skal angives"), Buttons::Ok, Icon::None, QStringLiteral("Fundator"));
    EXPECT_EQ(box->windowTitle(), "Fundator");
    EXPECT_EQ(box->text(), "Lastformen skal angives");
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(buttonTexts(*box), QStringList{QStringLiteral("OK")});
}

TEST(QtMessageBox, CarriageReturnsBecomeLineBreaksAndMarkupStaysText) {
    const QString text = QStringLiteral("Der opstod et problem under eksekvering af Fundator!\rFunction: frmMain, "
                                        "Log nr. 7\r\nFejlnr.: 13, Type mismatch\r<ingen last>");
    auto box = MakeMessageBox(text, Buttons::Ok, Icon::Critical, QStringLiteral("Fundator"));
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->text(), "Der opstod et problem under eksekvering af Fundator!\nFunction: frmMain, "
                           "Log nr. 7\nFejlnr.: 13, Type mismatch\n<ingen last>");
    box->show();
    bool shownAsText = false;
    for (const QLabel *label : box->findChildren<QLabel *>())
        shownAsText = shownAsText || label->text().endsWith(QStringLiteral("<ingen last>"));
    EXPECT_TRUE(shownAsText);
}

TEST(QtMessageBox, YesNoAnswersByTheButtonPressed) {
    auto box = MakeMessageBox(QStringLiteral("Data er ikke gemt. Fortsæt ?"), Buttons::YesNo, Icon::None,
                              QStringLiteral("Fundator"));
    EXPECT_EQ(buttonTexts(*box), (QStringList{QStringLiteral("&Ja"), QStringLiteral("&Nej")}));
    EXPECT_EQ(box->defaultButton()->text(), QStringLiteral("&Ja"));
    box->show();
    box->defaultButton()->click();
    EXPECT_EQ(platform::AnswerOf(*box), Answer::Yes);

    auto second = MakeMessageBox(QStringLiteral("?"), Buttons::YesNo, Icon::None, QStringLiteral("Fundator"));
    second->show();
    for (QAbstractButton *b : second->buttons())
        if (b->text() == QStringLiteral("&Nej"))
            b->click();
    EXPECT_EQ(platform::AnswerOf(*second), Answer::No);
}

TEST(QtMessageBox, EscapeOnAQuestionAnswersNo) {
    auto box = MakeMessageBox(QStringLiteral("?"), Buttons::YesNo, Icon::None, QStringLiteral("Fundator"));
    box->show();
    pressEscape(box.get());
    EXPECT_EQ(platform::AnswerOf(*box), Answer::No);

    auto ok = MakeMessageBox(QStringLiteral("!"), Buttons::Ok, Icon::None, QStringLiteral("Fundator"));
    ok->show();
    pressEscape(ok.get());
    EXPECT_EQ(platform::AnswerOf(*ok), Answer::Ok);
}

TEST(QtMessageBox, ServiceShowsTheBoxModallyAndReturnsTheAnswer) {
    QString seenText;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenText = box->text();
        for (QAbstractButton *b : box->buttons())
            if (b->text() == QStringLiteral("&Nej"))
                b->click();
    });
    platform::QtMessageService service;
    const Answer a = service.show(QStringLiteral("Indtastede data er ikke gemt.\rFortsæt ?"), Buttons::YesNo,
                                  Icon::None, QStringLiteral("Fundator"));
    EXPECT_EQ(a, Answer::No);
    EXPECT_EQ(seenText, "Indtastede data er ikke gemt.\nFortsæt ?");
}
