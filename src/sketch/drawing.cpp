#include "sketch/drawing.h"

#include "engine/checked.h"
#include "engine/errors.h"

#include <QPainter>
#include <QPen>

namespace sketch {

namespace ck = engine::checked;

namespace {

constexpr double kDash = 50;       // length of one dash of the intermediate layer
constexpr double kArrowHead = 100; // width and height of an arrow's head

// A hatch or a row of dashes that does not move on would never end.
void requireSpacing(double spacing) {
    if (!(spacing > 0))
        engine::raise(engine::err::InvalidProcedureCall);
}

// The bottom of a band, cut off at the bottom edge of the surface.
double bandBottom(const Surface &s, double y2) { return y2 > s.ScaleHeight() ? s.ScaleHeight() : y2; }

} // namespace

void Picture::Paint(QPainter &painter) const {
    painter.save();
    QPen pen = painter.pen();
    pen.setCosmetic(true);
    pen.setWidth(1);
    painter.setPen(pen);
    for (const Segment &g : segments_)
        painter.drawLine(QPointF(g.x1, g.y1), QPointF(g.x2, g.y2));
    painter.restore();
}

void TegnLinie(Surface &s, float y) {
    if (y > s.ScaleHeight())
        return;
    s.Line(kLeftMargin, y, s.ScaleWidth(), y);
}

void TegnStreger(Surface &s, float y, float h, float spacing) {
    if (y > s.ScaleHeight())
        return;
    const double band = y + h > s.ScaleHeight() ? s.ScaleHeight() - y : h;
    const std::int32_t whole = ck::CLng(spacing);
    const std::int32_t rowStep = whole / 2;
    if (rowStep <= 0)
        engine::raise(engine::err::InvalidProcedureCall);

    double row = y + whole / 4;
    double rowStart = kLeftMargin;
    while (row - y < band) {
        for (double x = rowStart; x + kDash < s.ScaleWidth(); x += spacing)
            s.Line(x, row, x + kDash, row);
        rowStart = rowStart == kLeftMargin ? rowStep : kLeftMargin;
        row += rowStep;
    }
}

void TegnPil(Surface &s, float x, float y, float L) {
    const double xs = double(x) + kLeftMargin;
    const double base = double(y) + L - kArrowHead;
    const double half = kArrowHead / 2;
    s.Line(xs, y, xs, base);
    s.Line(xs - half, base, xs + half, base);
    s.Line(xs + half, base, xs, double(y) + L);
    s.Line(xs, double(y) + L, xs - half, base);
}

void TegnSkraveringA(Surface &s, float y1, float y2, float spacing) {
    if (y1 > s.ScaleHeight())
        return;
    requireSpacing(spacing);
    const double W = s.ScaleWidth(), yb = bandBottom(s, y2);
    // A runs along the top edge, then down the right edge; B down the left edge, then along the bottom.
    double ax = kLeftMargin, ay = y1, bx = kLeftMargin, by = y1;
    for (;;) {
        if (ax >= W) {
            ax = W;
            ay += spacing;
        } else {
            ax += spacing;
        }
        if (by >= yb) {
            by = yb;
            bx += spacing;
        } else {
            by += spacing;
        }
        if (bx > W || ay > yb)
            break;
        // Back onto the edge along the line's own 45°.
        if (ax > W) {
            ay += ax - W;
            ax = W;
        }
        if (by > yb) {
            bx += by - yb;
            by = yb;
        }
        s.Line(ax, ay, bx, by);
    }
}

void TegnSkraveringB(Surface &s, float y1, float y2, float spacing) {
    // The "/" hatch reflected about the band's vertical middle, so the two cross symmetrically.
    class Mirror : public Surface {
    public:
        explicit Mirror(Surface &s) : s_(s), axis_(double(kLeftMargin) + s.ScaleWidth()) {}
        float ScaleWidth() const override { return s_.ScaleWidth(); }
        float ScaleHeight() const override { return s_.ScaleHeight(); }
        void Line(double x1, double y1, double x2, double y2) override { s_.Line(axis_ - x1, y1, axis_ - x2, y2); }
        void Cls() override { s_.Cls(); }

    private:
        Surface &s_;
        double axis_;
    } mirror(s);
    TegnSkraveringA(mirror, y1, y2, spacing);
}

void TegnZigzag(Surface &s, float y, float h) {
    if (y > s.ScaleHeight())
        return;
    const double top = y, bottom = double(y) + h;
    // The step shrinks when the band runs below the surface; the strokes keep the full height.
    const double step = bottom > s.ScaleHeight() ? s.ScaleHeight() - top : h;
    // A band that starts right at the bottom edge has nothing to show, and a zero step would never get
    // across.
    if (!(step > 0))
        return;

    const double W = s.ScaleWidth();
    double startX = kLeftMargin, startY = top;
    double endX = kLeftMargin + step, endY = bottom;
    while (endX <= W) {
        s.Line(startX, startY, endX, endY);
        startX = endX;
        startY = endY;
        endX += step;
        endY = endY == bottom ? top : bottom;
    }
    if (startX < W) {
        const double rest = W - startX;
        s.Line(startX, startY, W, endY == top ? bottom - rest : top + rest);
    }
}

} // namespace sketch
