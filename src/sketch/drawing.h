#pragma once
// The symbols of the cross-section sketch: a boundary line, the dashes of the intermediate layer, a load
// arrow, the two diagonal hatches and the zigzag of an insulation layer. Each is drawn as straight segments
// onto a surface in its own scale units (twips on the main window), x to the right and y downward from its
// top edge. They know nothing of the input.

#include <vector>

class QPainter;

namespace sketch {

// The strip on the left that stays free of lines, hatches and zigzags.
constexpr float kLeftMargin = 60;

struct Segment {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const Segment &) const = default;
};

// What the symbols are drawn on: its size is read afresh at each use.
class Surface {
public:
    virtual ~Surface() = default;
    virtual float ScaleWidth() const = 0;
    virtual float ScaleHeight() const = 0;
    virtual void Line(double x1, double y1, double x2, double y2) = 0;
    virtual void Cls() = 0;
};

// A drawing kept as its segments in the order drawn, on an area of a fixed size. The window keeps one and
// paints it whenever the area needs painting.
class Picture : public Surface {
public:
    Picture() = default;
    Picture(float width, float height) : width_(width), height_(height) {}

    float ScaleWidth() const override { return width_; }
    float ScaleHeight() const override { return height_; }
    void Line(double x1, double y1, double x2, double y2) override { segments_.push_back({x1, y1, x2, y2}); }
    void Cls() override { segments_.clear(); }

    const std::vector<Segment> &Segments() const { return segments_; }

    // Paints the segments with a cosmetic pen of the painter's pen colour, whatever the painter's scale:
    // a one-twip line would be a fifteenth of a pixel.
    void Paint(QPainter &painter) const;

private:
    float width_ = 0, height_ = 0;
    std::vector<Segment> segments_;
};

// Each draws nothing when it would start below the surface (y > height), except TegnPil, which is never
// tested against the size. A spacing too small to move on raises 5 (invalid procedure call).
void TegnLinie(Surface &s, float y);
void TegnStreger(Surface &s, float y, float h, float spacing);
void TegnPil(Surface &s, float x, float y, float L);
void TegnSkraveringA(Surface &s, float y1, float y2, float spacing);
void TegnSkraveringB(Surface &s, float y1, float y2, float spacing);
void TegnZigzag(Surface &s, float y, float h);

} // namespace sketch
