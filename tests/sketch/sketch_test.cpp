// The cross-section sketch: its symbols, the layout of typical floors, and the test whether it is drawn at all.

#include "engine/errors.h"
#include "sketch/sketch.h"

#include <QLocale>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <optional>

using namespace sketch;
using std::tie, std::tuple;
using Lines = std::vector<double>;

namespace {

// Labels that size themselves at 100 a character (60 for a superscript) and 195 high (120).
class FakeCaptions : public Captions {
public:
    struct Label {
        QString caption;
        float left = -1, top = -1;
        bool visible = true;
    };
    mutable std::map<std::pair<Skt, int>, Label> labels;
    std::optional<Skt> failOn; // a caption that cannot be set

    FakeCaptions() {
        for (const CaptionLabel &c : kCaptionLabels)
            for (int i = c.first; i <= c.last; ++i)
                labels[{c.label, i}].caption = FixedCaption(c.label, i);
    }
    Label &operator()(Skt s, int i = 0) const { return labels.at({s, i}); }
    void Clear(Skt s, int i) override { (*this)(s, i).visible = false; }
    void SetCaption(Skt s, int i, const QString &caption) override {
        if (failOn == s)
            engine::raise(engine::err::Overflow);
        (*this)(s, i).caption = caption;
    }
    float Width(Skt s, int i) const override { return (*this)(s, i).caption.size() * (IsSuperscript(s, i) ? 60 : 100); }
    float Height(Skt s, int i) const override { return IsSuperscript(s, i) ? 120 : 195; }
    float Left(Skt s, int i) const override { return (*this)(s, i).left; }
    void SetLeft(Skt s, int i, float left) override { (*this)(s, i).left = left; }
    void SetTop(Skt s, int i, float top) override { (*this)(s, i).top = top; }
    void Show(Skt s, int i) override { (*this)(s, i).visible = true; }
    long shown() const {
        return std::ranges::count_if(labels, [](const auto &l) { return l.second.visible; });
    }
};

constexpr float W = 6705, H = 6585;

// A concrete slab of 100 mm on one layer of 100 mm, 150 mm of gravel and sand, one wheel load of 40 kN.
FoundationResult typicalFloor() {
    FoundationResult r{{1, {"Hjultryk"}, {40}, {1}, true}, {}, {50000, 30000, 17105.26, 13928.57, 0.2462}};
    BuildUp &b = r.buildUp;
    b.lower = b.slab = b.terrain = b.intermediate = true;
    tie(b.layer1, b.layer2) = tuple(Layer{"", 0, 1, 1, 1, 1}, Layer{"EPS 150", 100, 5000, 3000, 0.04, 0.035});
    tie(b.slabText, b.ts, b.terrainText, b.kT, b.intermediateText, b.tm, b.korr) =
        tuple("C25", 100, "Sand", 20000, "Grus", 150, 1.3);
    return r;
}

// The full-width boundary lines, by height.
Lines boundaryLines(const Picture &p) {
    Lines ys;
    for (const Segment &g : p.Segments())
        if (g.x1 == kLeftMargin && g.x2 == W && g.y1 == g.y2)
            ys.push_back(g.y1);
    return ys;
}

// The x of the arrows' shafts of this length (all start at 0).
Lines arrowShafts(const Picture &p, double length) {
    Lines xs;
    for (const Segment &g : p.Segments())
        if (g.x1 == g.x2 && g.y1 == 0 && g.y2 == length - 100)
            xs.push_back(g.x1);
    return xs;
}

class SketchTest : public ::testing::Test {
protected:
    Picture picture{W, H};
    FakeCaptions captions;
    SidsteTegning last;
    std::int32_t LogNr = 0;

    void SetUp() override { QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    bool draw(const FoundationResult &r, bool Tvungen = true) {
        return DrawSketch(Tvungen, r, last, picture, captions, LogNr);
    }
    // The typical floor drawn, then changed and drawn again: nothing may be left from the first drawing.
    Lines redraw(void (*change)(FoundationResult &)) {
        draw(typicalFloor());
        FoundationResult r = typicalFloor();
        change(r);
        draw(r);
        return boundaryLines(picture);
    }
};

void line(Surface &s, float y, float, float) { TegnLinie(s, y); }
void zigzag(Surface &s, float y, float h, float) { TegnZigzag(s, y, h); }

} // namespace

// On a picture of 6000 by 5000: the first and last stroke of each symbol, and every stroke inside its band.
TEST(Drawing, SymbolsStayInsideTheirBandsAndThePicture) {
    constexpr float w = 6000, h = 5000;
    // the drawing, its y, its other argument (the band's bottom for a hatch, its height otherwise), the spacing, the
    // band's bottom, then the strokes
    const tuple<const char *, void (*)(Surface &, float, float, float), float, float, float, float, std::size_t,
                Segment, Segment>
        rows[] = {
            {"line", line, h, 0, 0, h, 1, {60, h, w, h}, {60, h, w, h}},
            {"arrow", TegnPil, 0, 0, 800, 800, 4, {60, 0, 60, 700}, {60, 800, 10, 700}}, // the head closed at the tip
            // staggered rows 125 apart from 62 in, every 250 while a whole dash of 50 fits
            {"dashes", TegnStreger, 1000, 400, 250, 1400, 72, {60, 1062, 110, 1062}, {5810, 1312, 5860, 1312}},
            {"hatch /", TegnSkraveringA, 800, 1600, 50, 1600, 134, {110, 800, 60, 850}, {6000, 1560, 5960, 1600}},
            {"hatch \\", TegnSkraveringB, 800, 1600, 50, 1600, 134, {5950, 800, 6000, 850}, {60, 1560, 100, 1600}},
            {"cut hatch", TegnSkraveringA, h - 500, h + 3000, 100, h, 64, {160, 4500, 60, 4600}, {6000, 4960, 5960, h}},
            {"low hatch", TegnSkraveringA, h - 50, h + 1000, 100, h, 59, {160, 4950, 110, h}, {5960, 4950, 5910, h}},
            // the last stroke rises 40 at 45° to the right edge; cut 300 short by the picture, steps are shorter
            {"zigzag", zigzag, 1000, 100, 0, 1100, 60, {60, 1000, 160, 1100}, {5960, 1100, w, 1060}},
            {"cut zigzag", zigzag, h - 500, 800, 0, h + 300, 12, {60, 4500, 560, 5300}, {5560, 5300, w, 4860}},
        };
    for (const auto &[name, drawing, y, arg, spacing, bottom, count, first, last] : rows) {
        Picture p(w, h);
        drawing(p, y, arg, spacing);
        ASSERT_EQ(count, p.Segments().size()) << name;
        EXPECT_EQ(tuple(first, last), tuple(p.Segments().front(), p.Segments().back())) << name;
        for (const Segment &g : p.Segments())
            EXPECT_TRUE(std::min(g.x1, g.x2) >= 10 && std::max(g.x1, g.x2) <= w && std::min(g.y1, g.y2) >= y &&
                        std::max(g.y1, g.y2) <= bottom)
                << name << ": " << g.x1 << "," << g.y1 << " " << g.x2 << "," << g.y2;
    }
    Picture p(w, h); // a band below the picture, or one starting right at its bottom, draws nothing
    TegnLinie(p, h + 1);
    TegnStreger(p, h + 1, 800, 250);
    TegnSkraveringA(p, h + 1, h + 800, 50);
    TegnSkraveringB(p, h + 1, h + 800, 50);
    TegnZigzag(p, h + 1, 800);
    TegnZigzag(p, h, 800);
    EXPECT_THROW(TegnStreger(p, 0, 400, 1), engine::RuntimeError); // a spacing that cannot move on
    EXPECT_THROW(TegnSkraveringA(p, 0, 400, 0), engine::RuntimeError);
    EXPECT_THROW(TegnSkraveringB(p, 0, 400, -50), engine::RuntimeError);
    EXPECT_TRUE(p.Segments().empty());
}

TEST_F(SketchTest, TypicalFloorIsDrawnBandByBandFromTheLoadLineDownWithItsCaptions) {
    EXPECT_TRUE(draw(typicalFloor()));
    // Load line 800 with one arrow in the middle; slab 800-1600 hatched both ways; the single layer drawn as the
    // lower one, 1600-2400; gravel 2400-3600 dashed for factor 1.3; the terrain hatched down to the bottom.
    Picture e(W, H);
    TegnLinie(e, 800);
    TegnPil(e, 3352, 0, 800);
    TegnLinie(e, 800);
    TegnSkraveringB(e, 800, 1600, 50);
    TegnSkraveringA(e, 800, 1600, 50);
    TegnLinie(e, 1600);
    TegnLinie(e, 1600);
    TegnZigzag(e, 1600, 800);
    TegnLinie(e, 2400);
    TegnLinie(e, 2400);
    TegnStreger(e, 2400, 1200, 350);
    TegnLinie(e, 3600);
    TegnLinie(e, 3600);
    TegnSkraveringA(e, 3600, H, 100);
    EXPECT_EQ(e.Segments(), picture.Segments());

    // Band captions an eighth in and centred on their band; the moduli, the U-value and the subgrade modulus (short
    // term under a wheel load) chained leftwards from the right edge.
    const QString e0 = "E(korttid): 5000 kN/m", e2 = ", E(langtid): 3000 kN/m", u = "Uværdi: 0,25 W/m",
                  k = "Res. ballasttal: 17105 kN/m";
    const float x5 = W - 60, x2 = x5 - 100 * e2.size(), x1 = x2 - 60, x0 = x1 - 100 * e0.size();
    const tuple<Skt, int, QString, float, float> labels[] = {{Skt::Lastnr, 1, "Last 1", 838, 320},
                                                             {Skt::Laststr, 1, "40,00 kN", 838, 560},
                                                             {Skt::Laststr1, 1, "", 1638, 560},
                                                             {Skt::Daektype, 0, " C25 ", 838, 1103},
                                                             {Skt::Ibund, 0, " EPS 150 ", 838, 1903},
                                                             {Skt::Ebund, 0, e0, x0, 1903},
                                                             {Skt::Ebund, 1, "2", x1, 1903},
                                                             {Skt::Ebund, 2, e2, x2, 1903},
                                                             {Skt::Ebund, 5, "2", x5, 1903},
                                                             {Skt::mlm, 0, " Grus ", 838, 2903},
                                                             {Skt::Terr, 0, " Sand ", 838, 3800},
                                                             {Skt::UV, 0, u, W - 160 - 100 * u.size(), H - 395},
                                                             {Skt::UV, 1, "2", W - 160, H - 395},
                                                             {Skt::UV, 2, "K", W - 100, H - 395},
                                                             {Skt::Ballast, 0, k, W - 60 - 100 * k.size(), 3800},
                                                             {Skt::Ballast, 1, "3", W - 60, 3800}};
    for (const auto &[s, i, caption, left, top] : labels) {
        const auto &l = captions(s, i);
        EXPECT_EQ(tuple(caption, left, top, true), tuple(l.caption, l.left, l.top, l.visible)) << int(s) << "," << i;
    }
    EXPECT_EQ(std::size(labels), captions.shown()); // and no other
}

TEST_F(SketchTest, BandsCaptionsAndArrowsFollowTheBuildUpAndTheLoads) {
    const Lines typical{800, 800, 1600, 1600, 2400, 2400, 3600, 3600};
    // Two layers: slab 800-1600, upper layer 1600-2000, lower 2000-2800, gravel 2800-4000.
    EXPECT_EQ(Lines({800, 800, 1600, 1600, 2000, 2000, 2800, 2800, 4000, 4000}), redraw([](FoundationResult &r) {
                  r.buildUp.upper = true, r.buildUp.layer1 = {"EPS 250", 50, 9000, 6500, 1, 1};
              }));
    EXPECT_EQ(tuple(QString(" EPS 250 "), QString("E(korttid): 9000 kN/m"), 1703.f, 1703.f, 2303.f, 2303.f, 4200.f),
              tuple(captions(Skt::Itop).caption, captions(Skt::Etop, 0).caption, captions(Skt::Itop).top,
                    captions(Skt::Etop, 0).top, captions(Skt::Ibund).top, captions(Skt::Ebund, 0).top,
                    captions(Skt::Terr).top));
    EXPECT_EQ(Lines({800, 800, 1600, 1600, 2400, 2400}), redraw([](FoundationResult &r) {
                  r.buildUp.intermediateText = "Intet", r.buildUp.tm = 0, r.buildUp.korr = 1;
              })); // no band and no caption
    EXPECT_EQ(tuple(false, 2600.f), tuple(captions(Skt::mlm).visible, captions(Skt::Terr).top));
    EXPECT_EQ(Lines(typical.begin() + 1, typical.end()), redraw([](FoundationResult &r) { r.loads = {}; }));
    EXPECT_TRUE(arrowShafts(picture, 800).empty() && !captions(Skt::Lastnr, 1).visible); // the slab still at 800

    redraw([](FoundationResult &r) { r.loads.size[0] = 0; }); // a load of size 0 shows its number only
    EXPECT_EQ(tuple(true, false, false, QString()),
              tuple(captions(Skt::Lastnr, 1).visible, captions(Skt::Laststr, 1).visible,
                    captions(Skt::Laststr1, 1).visible, captions(Skt::Laststr, 1).caption));
    // A type of no known kind (from a project file): no arrows, and no size caption left from the drawing before.
    EXPECT_EQ(typical, redraw([](FoundationResult &r) { r.loads.type[0] = "Snelast", r.loads.wheelLoad = false; }));
    EXPECT_EQ(tuple(Lines{}, QString("Last 1"), QString(), QString()),
              tuple(arrowShafts(picture, 800), captions(Skt::Lastnr, 1).caption, captions(Skt::Laststr, 1).caption,
                    captions(Skt::Laststr1, 1).caption));
}

TEST_F(SketchTest, EachLoadTypeHasItsArrowsAndCaptionsInItsOwnQuarter) {
    FoundationResult r = typicalFloor();
    r.loads = {4, {"Hjultryk", "Linielast", "Lastpar", "Fladelast"}, {40, 5, 12.5, 2.25}, {3, 4, 5, 6}, true};
    draw(r);
    // Quarters of 1676: a wheel load in the middle, a line load every 150, a pair 600 apart, an area load every 200
    // with a short arrow between.
    EXPECT_EQ(Lines({898,  1886, 2036, 2186, 2336, 2486, 2636, 2786, 2936, 3086, 3236,
                     3950, 4550, 5288, 5488, 5688, 5888, 6088, 6288, 6488, 6688}),
              arrowShafts(picture, 800));
    EXPECT_EQ(Lines({5188, 5388, 5588, 5788, 5988, 6188, 6388, 6588}), arrowShafts(picture, 650));
    const char *sizes[] = {"40,00 kN", "5,00 kN/m", "2 x 12,50 kN", "2,25 kN/m"}, *superscripts[] = {"", "", "", "2"};
    for (int i = 1; i <= 4; ++i) {
        const float left = (i - 1) * 1676 + 209;
        const auto &n = captions(Skt::Lastnr, i), &s = captions(Skt::Laststr, i), &s1 = captions(Skt::Laststr1, i);
        EXPECT_EQ(tuple(QStringLiteral("Last %1").arg(i + 2), QString(sizes[i - 1]), QString(superscripts[i - 1])),
                  tuple(n.caption, s.caption, s1.caption));
        EXPECT_EQ(tuple(left, left, left + 100 * s.caption.size(), true), tuple(n.left, s.left, s1.left, s1.visible));
    }
    for (const auto &[korr, spacing] : {std::pair(2.0, 200), std::pair(1.9, 250), std::pair(1.75, 250),
                                        std::pair(1.6, 300), std::pair(1.0, 400), std::pair(0.9, 450)})
        EXPECT_EQ(DashSpacing(korr), spacing) << korr; // denser dashes for a better intermediate layer
}

TEST_F(SketchTest, UnforcedRunDrawsOnlyWhenTheDrawnInputChanged) {
    FoundationResult r = typicalFloor();
    EXPECT_TRUE(draw(r, false)); // differs from the empty record
    // Not drawn themselves: the terrain's modulus, the correction factor, the conductivities, the layers' moduli.
    tie(r.buildUp.kT, r.buildUp.korr, r.buildUp.layer2.lambdaDry, r.values.isolballasto) = tuple(1, 1.4, 1, 1);
    captions(Skt::Daektype).caption = "untouched";
    EXPECT_FALSE(draw(r, false));
    EXPECT_EQ("untouched", captions(Skt::Daektype).caption);
    EXPECT_TRUE(draw(r, true)); // a forced run always draws
    int row = 0;
    using R = FoundationResult;
    for (const auto change :
         std::vector<void (*)(R &)>{[](R &x) { x.values.resBallastn += 1e-9; }, [](R &x) { x.values.Uvaerdi = 0.2463; },
                                    [](R &x) { x.loads.size[0] = 41; }, [](R &x) { x.loads.type[0] = "Punktlast"; },
                                    [](R &x) { x.loads.n = 2, x.loads.type[1] = "Punktlast", x.loads.id[1] = 2; },
                                    [](R &x) { x.buildUp.layer2.En = 3001; }, [](R &x) { x.buildUp.layer2.t = 101; },
                                    [](R &x) { x.buildUp.layer1 = {"EPS 250", 50, 9000, 6500, 1, 1}; },
                                    [](R &x) { x.buildUp.slabText = "c25"; }, [](R &x) { x.buildUp.tm = 151; },
                                    [](R &x) { x.buildUp.terrainText = "Ler"; }}) { // one drawn input at a time
        SCOPED_TRACE(::testing::Message() << "change " << row++);
        FoundationResult changed = r;
        change(changed);
        captions(Skt::Daektype).caption = "untouched";
        EXPECT_TRUE(draw(changed, false));
        EXPECT_EQ(" " + changed.buildUp.slabText + " ", captions(Skt::Daektype).caption);
        EXPECT_FALSE(draw(changed, false));
        draw(r, true);
    }
}

// The record is taken before the drawing, so a drawing that failed is not repeated by an unforced run with the
// same input; the picture keeps what was drawn before the failure.
TEST_F(SketchTest, FailedDrawingKeepsWhatWasDrawnAndIsNotRepeatedUnforced) {
    captions.failOn = Skt::Terr;
    EXPECT_THROW(draw(typicalFloor(), false), engine::RuntimeError);
    EXPECT_EQ(266, LogNr);
    EXPECT_EQ(Lines({800, 800, 1600, 1600, 2400, 2400, 3600, 3600}), boundaryLines(picture));
    EXPECT_TRUE(captions(Skt::mlm).visible && !captions(Skt::Terr).visible && !captions(Skt::UV).visible);
    captions.failOn.reset();
    EXPECT_FALSE(draw(typicalFloor(), false));
    EXPECT_TRUE(draw(typicalFloor(), true) && captions(Skt::UV).visible);
}
