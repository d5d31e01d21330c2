#include "ui/sketch_canvas.h"
#include "kit/controls.h"

#include <QMouseEvent>
#include <QPainter>

namespace ui {

namespace {

constexpr double kTwipsPerPx = ui::kTwipsPerPixel; // as a double: the sketch scales in fractions

} // namespace

SketchCanvas::SketchCanvas(QWidget *parent) : QWidget(parent) {}

float SketchCanvas::ScaleWidth() const { return float(width() * kTwipsPerPx); }

float SketchCanvas::ScaleHeight() const { return float(height() * kTwipsPerPx); }

void SketchCanvas::Line(double x1, double y1, double x2, double y2) {
    picture_.Line(x1, y1, x2, y2);
    update();
}

void SketchCanvas::Cls() {
    picture_.Cls();
    update();
}

void SketchCanvas::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.scale(1 / kTwipsPerPx, 1 / kTwipsPerPx);
    picture_.Paint(painter);
}

void SketchCanvas::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    else
        QWidget::mouseDoubleClickEvent(event);
}

} // namespace ui
