#pragma once
// The drawing area inside the main window's Skitse: it keeps the sketch's segments, in twips, and paints
// them on every repaint, the way a picture box kept its drawing. A double-click on it is passed on.

#include "sketch/drawing.h"

#include <QWidget>
#include <vector>

namespace ui {

class SketchCanvas : public QWidget, public sketch::Surface {
    Q_OBJECT
public:
    explicit SketchCanvas(QWidget *parent);

    // The area's own size in twips, read at each use.
    float ScaleWidth() const override;
    float ScaleHeight() const override;
    void Line(double x1, double y1, double x2, double y2) override;
    void Cls() override;

    const std::vector<sketch::Segment> &Segments() const { return picture_.Segments(); }

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    sketch::Picture picture_;
};

} // namespace ui
