#include "ui/page_controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace ui {

void SetVisible(std::initializer_list<QWidget *> controls, bool visible) {
    for (QWidget *c : controls)
        c->setVisible(visible);
}

void SetLocked(std::initializer_list<QLineEdit *> boxes, bool locked) {
    for (QLineEdit *b : boxes)
        b->setReadOnly(locked);
}

void RefreshFrame(QWidget *frame) { frame->repaint(); }

void SetUnit(const std::array<QLabel *, 2> &unit, const QString &text, const QString &exponent) {
    unit[0]->setText(text);
    unit[0]->resize(unit[0]->sizeHint().width(), unit[0]->height());
    unit[1]->setText(exponent);
    unit[1]->move(unit[0]->x() + unit[0]->width(), unit[0]->y());
}

} // namespace ui
