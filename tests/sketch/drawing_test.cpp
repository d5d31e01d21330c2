// The symbols of the cross-section sketch, drawn onto a kept picture.

#include "engine/errors.h"
#include "sketch/drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using sketch::Picture;
using sketch::Segment;

namespace {

constexpr float W = 6000, H = 5000;

// Each segment with its end points in one order, so drawings compare whatever direction a line ran.
std::vector<Segment> normalised(std::vector<Segment> segments) {
    for (Segment &g : segments)
        if (std::pair(g.x2, g.y2) < std::pair(g.x1, g.y1))
            g = {g.x2, g.y2, g.x1, g.y1};
    std::sort(segments.begin(), segments.end(), [](const Segment &a, const Segment &b) {
        return std::tie(a.x1, a.y1, a.x2, a.y2) < std::tie(b.x1, b.y1, b.x2, b.y2);
    });
    return segments;
}

bool at45Degrees(const Segment &g) { return std::abs(std::abs(g.x2 - g.x1) - std::abs(g.y2 - g.y1)) < 1e-9; }

bool inside(const Segment &g, double top, double bottom) {
    for (const auto &[x, y] : {std::pair(g.x1, g.y1), std::pair(g.x2, g.y2)})
        if (x < sketch::kLeftMargin || x > W || y < top || y > bottom)
            return false;
    return true;
}

int errorOf(auto draw) {
    try {
        draw();
    } catch (const engine::RuntimeError &e) {
        return e.number();
    }
    return 0;
}

} // namespace

TEST(DrawingTest, ALineRunsFromTheMarginToTheRightEdgeAndNotBelowThePicture) {
    Picture p(W, H);
    sketch::TegnLinie(p, H);
    EXPECT_EQ(p.Segments(), std::vector<Segment>({{60, H, W, H}}));
    sketch::TegnLinie(p, H + 1);
    EXPECT_EQ(p.Segments().size(), 1u);
}

TEST(DrawingTest, DashesLieInStaggeredRowsHalfTheSpacingApart) {
    Picture p(W, H);
    sketch::TegnStreger(p, 1000, 400, 250);
    std::vector<double> rows;
    std::vector<double> rowStarts;
    for (const Segment &g : p.Segments()) {
        EXPECT_EQ(g.y1, g.y2);
        EXPECT_EQ(g.x2 - g.x1, 50);
        EXPECT_LT(g.x2, W);
        if (rows.empty() || rows.back() != g.y1) {
            rows.push_back(g.y1);
            rowStarts.push_back(g.x1);
        }
    }
    EXPECT_EQ(rows, std::vector<double>({1062, 1187, 1312}));
    EXPECT_EQ(rowStarts, std::vector<double>({60, 125, 60}));
    // Every 250 along a row, as long as a whole dash fits.
    const auto firstRow =
        std::count_if(p.Segments().begin(), p.Segments().end(), [](const Segment &g) { return g.y1 == 1062; });
    EXPECT_EQ(firstRow, 24); // 60, 310, ..., 5810
}

TEST(DrawingTest, AnArrowHasAShaftAndAClosedHeadAtItsTip) {
    Picture p(W, H);
    sketch::TegnPil(p, 0, 0, 800);
    EXPECT_EQ(p.Segments(),
              std::vector<Segment>({{60, 0, 60, 700}, {10, 700, 110, 700}, {110, 700, 60, 800}, {60, 800, 10, 700}}));
}

TEST(DrawingTest, TheTwoHatchesAreMirrorImagesAt45DegreesInsideTheBand) {
    Picture a(W, H), b(W, H);
    sketch::TegnSkraveringA(a, 800, 1600, 50);
    sketch::TegnSkraveringB(b, 800, 1600, 50);
    ASSERT_FALSE(a.Segments().empty());
    for (const Segment &g : a.Segments()) {
        EXPECT_TRUE(at45Degrees(g));
        EXPECT_TRUE(inside(g, 800, 1600));
        // "/": the upper end lies to the right.
        EXPECT_EQ(g.y1<g.y2, g.x1> g.x2);
    }
    std::vector<Segment> mirrored;
    for (const Segment &g : b.Segments()) {
        EXPECT_TRUE(at45Degrees(g));
        EXPECT_TRUE(inside(g, 800, 1600));
        EXPECT_EQ(g.y1 < g.y2, g.x1 < g.x2); // "\\"
        mirrored.push_back({60 + W - g.x1, g.y1, 60 + W - g.x2, g.y2});
    }
    EXPECT_EQ(normalised(mirrored), normalised(a.Segments()));
}

TEST(DrawingTest, DashesAndHatchesStopAtTheBottomOfThePicture) {
    Picture dashes(W, H), hatch(W, H);
    sketch::TegnStreger(dashes, H - 200, 1000, 250);
    for (const Segment &g : dashes.Segments())
        EXPECT_LT(g.y1, H);
    EXPECT_FALSE(dashes.Segments().empty());
    sketch::TegnSkraveringA(hatch, H - 500, H + 3000, 100);
    double lowest = 0;
    for (const Segment &g : hatch.Segments()) {
        EXPECT_TRUE(inside(g, H - 500, H));
        lowest = std::max({lowest, g.y1, g.y2});
    }
    EXPECT_EQ(lowest, H);
}

TEST(DrawingTest, ABandBelowThePictureDrawsNothingButAnArrowIsAlwaysDrawn) {
    Picture p(W, H);
    sketch::TegnLinie(p, H + 1);
    sketch::TegnStreger(p, H + 1, 800, 250);
    sketch::TegnSkraveringA(p, H + 1, H + 800, 50);
    sketch::TegnSkraveringB(p, H + 1, H + 800, 50);
    sketch::TegnZigzag(p, H + 1, 800);
    sketch::TegnZigzag(p, H, 800); // begins right at the bottom edge: a zero step must not hang
    EXPECT_TRUE(p.Segments().empty());
    sketch::TegnPil(p, 0, H + 1, 800);
    EXPECT_EQ(p.Segments().size(), 4u);
}

TEST(DrawingTest, AZigzagCutOffByThePictureTakesShorterStepsAtFullHeight) {
    Picture p(W, H);
    const float y = H - 500; // the band ends 300 below the picture
    sketch::TegnZigzag(p, y, 800);
    const auto &s = p.Segments();
    ASSERT_GE(s.size(), 2u);
    EXPECT_EQ(s[0], (Segment{60, y, 560, y + 800}));
    EXPECT_EQ(s[1], (Segment{560, y + 800, 1060, y}));
    for (const Segment &g : s)
        EXPECT_EQ(std::abs(g.y2 - g.y1) == 800, g.x2 != W) << g.x1;
    EXPECT_EQ(s.back().x2, W);
}

TEST(DrawingTest, AZigzagEndsWithAStrokeAt45DegreesToTheRightEdge) {
    Picture p(W, H);
    sketch::TegnZigzag(p, 1000, 100);
    const auto &s = p.Segments();
    // Strokes end at 160, 260, ..., 5960; the 59th ends at the bottom, so the last one rises 40 to the edge.
    ASSERT_EQ(s.size(), 60u);
    EXPECT_EQ(s[58], (Segment{5860, 1000, 5960, 1100}));
    EXPECT_EQ(s[59], (Segment{5960, 1100, W, 1060}));
}

TEST(DrawingTest, ASpacingThatCannotMoveOnIsRefused) {
    Picture p(W, H);
    EXPECT_EQ(errorOf([&] { sketch::TegnStreger(p, 0, 400, 1); }), engine::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { sketch::TegnSkraveringA(p, 0, 400, 0); }), engine::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { sketch::TegnSkraveringB(p, 0, 400, -50); }), engine::err::InvalidProcedureCall);
    EXPECT_TRUE(p.Segments().empty());
}
