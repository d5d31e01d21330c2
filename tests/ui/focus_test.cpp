#include "input_events.h"
#include "ui/focus.h"

#include <QDialog>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

class FocusTest : public ::testing::Test {
protected:
    QWidget host;
    QLineEdit *a = new QLineEdit(&host);
    QLineEdit *b = new QLineEdit(&host);
    QLineEdit *c = new QLineEdit(&host);
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    std::vector<QString> events;

    void SetUp() override {
        auto *layout = new QVBoxLayout(&host);
        for (QLineEdit *box : {a, b, c}) {
            layout->addWidget(box);
            const QString name = box == a ? "a" : box == b ? "b" : "c";
            ui::focus::Watch(
                box, [this, name] { events.push_back(name + " got"); },
                [this, name] { events.push_back(name + " lost"); }, alive);
        }
        host.show();
        host.activateWindow();
        ASSERT_TRUE(uitest::waitForWindowActive(&host));
        a->setFocus();
        events.clear();
    }
};

TEST_F(FocusTest, AMoveInsideAProcedureWaitsForTheOutermostAndOneOutsideIsImmediate) {
    {
        ui::focus::EventScope outer;
        {
            ui::focus::EventScope inner;
            ui::focus::MoveTo(b);
        }
        EXPECT_EQ(QApplication::focusWidget(), a);
        ui::focus::MoveTo(c); // the last one asked for wins
    }
    EXPECT_EQ(QApplication::focusWidget(), c);
    EXPECT_EQ(events, std::vector<QString>({"a lost", "c got"}));
    ui::focus::MoveTo(b);
    EXPECT_EQ(QApplication::focusWidget(), b);
    c->hide(); // a hidden target keeps the focus where it is
    ui::focus::MoveTo(c);
    EXPECT_EQ(QApplication::focusWidget(), b);
}

TEST_F(FocusTest, ALostFocusThatMovesTheFocusRunsBeforeTheMoveItAskedFor) {
    alive = std::make_shared<bool>(true);
    ui::focus::Watch(
        a, {}, [this] { ui::focus::SendBack(a); }, alive);
    const unsigned before = ui::focus::Refusals();
    {
        ui::focus::EventScope scope;
        b->setFocus();
    }
    EXPECT_EQ(QApplication::focusWidget(), a);
    EXPECT_EQ(ui::focus::Refusals(), before + 1);
}

TEST_F(FocusTest, AModalWindowOpenedInsideAProcedureMovesItsOwnFocusWhileItIsOpen) {
    QDialog dialog(&host);
    auto *first = new QLineEdit(&dialog);
    auto *second = new QLineEdit(&dialog);
    new QVBoxLayout(&dialog);
    dialog.layout()->addWidget(first);
    dialog.layout()->addWidget(second);
    QWidget *focusInDialog = nullptr;
    QTimer::singleShot(0, &dialog, [&] {
        uitest::waitForWindowActive(&dialog);
        first->setFocus();
        {
            ui::focus::EventScope procedureOfTheDialog;
            ui::focus::MoveTo(second);
        }
        focusInDialog = dialog.focusWidget();
        dialog.accept();
    });
    {
        ui::focus::EventScope procedureThatOpensIt;
        ui::focus::MoveTo(c);
        {
            ui::focus::ModalLoop loop;
            dialog.exec();
        }
        EXPECT_EQ(focusInDialog, second);
    }
    // The move asked for before the window opened still applies when the procedure ends.
    EXPECT_EQ(host.focusWidget(), c);
}

TEST_F(FocusTest, AnotherWindowTakingTheFocusIsNotALostFocusAndTheTextIsSelectedAfterTheFocusEvent) {
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(uitest::waitForWindowActive(&other));
    EXPECT_EQ(events, std::vector<QString>());
    *alive = false; // nor is anything once the window is going away
    host.activateWindow();
    ASSERT_TRUE(uitest::waitForWindowActive(&host));
    b->setText("12,50");
    b->setFocus();
    ui::focus::SelectAllLater(b);
    EXPECT_EQ(b->selectedText(), "");
    uitest::processEvents();
    EXPECT_EQ(b->selectedText(), "12,50");
    EXPECT_TRUE(events.empty());
}

} // namespace
