// The layout of the cross-section sketch for typical floors, and the test whether it is drawn at all.

#include "engine/errors.h"
#include "sketch/sketch.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <algorithm>
#include <map>
#include <optional>

using namespace sketch;

namespace {

constexpr float W = 6705, H = 6585;

struct Label {
    QString caption;
    float left = -1, top = -1;
    bool visible = true;
    bool cleared = false;
};

// Labels that size themselves at 100 a character (60 for a superscript) and 195 high (120).
class FakeCaptions : public Captions {
public:
    std::map<std::pair<Skt, int>, Label> labels;
    std::optional<Skt> failOn; // a caption that cannot be set

    FakeCaptions() {
        for (const CaptionLabel &c : kCaptionLabels)
            for (int i = c.first; i <= c.last; ++i)
                labels[{c.label, i}].caption = FixedCaption(c.label, i);
    }
    Label &operator()(Skt s, int i = 0) { return labels.at({s, i}); }

    void Clear(Skt s, int i) override {
        Label &l = (*this)(s, i);
        l.visible = false;
        l.top = 0;
        l.cleared = true;
    }
    void SetCaption(Skt s, int i, const QString &caption) override {
        if (failOn == s)
            engine::raise(engine::err::Overflow);
        (*this)(s, i).caption = caption;
    }
    float Width(Skt s, int i) const override {
        return float(labels.at({s, i}).caption.size() * (IsSuperscript(s, i) ? 60 : 100));
    }
    float Height(Skt s, int i) const override { return IsSuperscript(s, i) ? 120 : 195; }
    float Left(Skt s, int i) const override { return labels.at({s, i}).left; }
    void SetLeft(Skt s, int i, float left) override { (*this)(s, i).left = left; }
    void SetTop(Skt s, int i, float top) override { (*this)(s, i).top = top; }
    void Show(Skt s, int i) override { (*this)(s, i).visible = true; }

    std::vector<std::pair<Skt, int>> visible() const {
        std::vector<std::pair<Skt, int>> v;
        for (const auto &[key, l] : labels)
            if (l.visible)
                v.push_back(key);
        return v;
    }
};

Layer layer(const char *type, int t, double Eo, double En) { return {QString::fromUtf8(type), t, Eo, En, 0.04, 0.035}; }

// A concrete slab of 100 mm on one layer of 100 mm, 150 mm of gravel and sand, one wheel load of 40 kN.
FoundationResult typicalFloor() {
    FoundationResult r;
    r.loads.n = 1;
    r.loads.type[0] = QStringLiteral("Hjultryk");
    r.loads.size[0] = 40;
    r.loads.id[0] = 1;
    r.loads.wheelLoad = true;
    BuildUp &b = r.buildUp;
    b.lower = true;
    b.layer1 = Layer{QString(), 0, 1, 1, 1, 1};
    b.layer2 = layer("EPS 150", 100, 5000, 3000);
    b.slab = true;
    b.slabText = QStringLiteral("C25");
    b.ts = 100;
    b.terrain = true;
    b.terrainText = QStringLiteral("Sand");
    b.kT = 20000;
    b.intermediate = true;
    b.intermediateText = QStringLiteral("Grus");
    b.tm = 150;
    b.korr = 1.3;
    r.values = {50000, 30000, 17105.26, 13928.57, 0.2462};
    return r;
}

// The full-width boundary lines, by height.
std::vector<double> boundaryLines(const Picture &p) {
    std::vector<double> ys;
    for (const Segment &g : p.Segments())
        if (g.x1 == kLeftMargin && g.x2 == W && g.y1 == g.y2)
            ys.push_back(g.y1);
    return ys;
}

// The tops of the arrows' shafts (which all start at 0), as x positions.
std::vector<double> arrowShafts(const Picture &p, double length) {
    std::vector<double> xs;
    for (const Segment &g : p.Segments())
        if (g.x1 == g.x2 && g.y1 == 0 && g.y2 == length - 100)
            xs.push_back(g.x1);
    return xs;
}

// The segments other than boundary lines that lie within a band, its edges included.
long countBetween(const Picture &p, double top, double bottom) {
    return std::count_if(p.Segments().begin(), p.Segments().end(), [&](const Segment &g) {
        const bool boundary = g.x1 == kLeftMargin && g.x2 == W && g.y1 == g.y2;
        return !boundary && std::min(g.y1, g.y2) >= top && std::max(g.y1, g.y2) <= bottom;
    });
}

class SketchTest : public ::testing::Test {
protected:
    Picture picture{W, H};
    FakeCaptions captions;
    SidsteTegning last;
    std::int32_t LogNr = 0;

    void SetUp() override { QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    // The label's caption and, where given, its place.
    void expectLabel(Skt s, int i, const QString &caption, float left = -1, float top = -1) {
        const Label &l = captions(s, i);
        EXPECT_EQ(l.caption, caption) << int(s) << "," << i;
        if (left != -1) {
            EXPECT_EQ(l.left, left) << int(s) << "," << i;
        }
        if (top != -1) {
            EXPECT_EQ(l.top, top) << int(s) << "," << i;
        }
    }
    bool draw(const FoundationResult &r, bool Tvungen = true) {
        return DrawSketch(Tvungen, r, last, picture, captions, LogNr);
    }
};

} // namespace

TEST_F(SketchTest, ATypicalFloorIsDrawnBandByBandFromTheLoadLineDown) {
    EXPECT_TRUE(draw(typicalFloor()));
    // Load line 800; slab 800-1600; the single layer drawn as the lower one 1600-2400; gravel 2400-3600,
    // whose bottom line is also the terrain's top line.
    EXPECT_EQ(boundaryLines(picture), std::vector<double>({800, 800, 1600, 1600, 2400, 2400, 3600, 3600}));
    EXPECT_GT(countBetween(picture, 800, 1600), 50);   // two hatches
    EXPECT_GT(countBetween(picture, 2400, 3600), 100); // dashes
    EXPECT_EQ(arrowShafts(picture, 800), std::vector<double>({3352 + 60}));

    expectLabel(Skt::Daektype, 0, " C25 ", 838, 1200 - 97);
    expectLabel(Skt::Ibund, 0, " EPS 150 ", -1, 2000 - 97);
    expectLabel(Skt::mlm, 0, " Grus ", -1, 3000 - 97);
    expectLabel(Skt::Terr, 0, " Sand ", 838, 3800);
    expectLabel(Skt::Lastnr, 1, "Last 1", 838, 320);
    expectLabel(Skt::Laststr, 1, "40,00 kN", -1, 560);
    EXPECT_EQ(captions(Skt::Laststr1, 1).left, 838 + 800);

    using Shown = std::vector<std::pair<Skt, int>>;
    const Shown shown{{Skt::Lastnr, 1}, {Skt::Laststr, 1}, {Skt::Laststr1, 1}, {Skt::Daektype, 0},
                      {Skt::Ibund, 0},  {Skt::Ebund, 0},   {Skt::Ebund, 1},    {Skt::Ebund, 2},
                      {Skt::Ebund, 5},  {Skt::mlm, 0},     {Skt::Terr, 0},     {Skt::UV, 0},
                      {Skt::UV, 1},     {Skt::UV, 2},      {Skt::Ballast, 0},  {Skt::Ballast, 1}};
    EXPECT_EQ(shown, captions.visible());
}

TEST_F(SketchTest, TheModuliOfALayerEndAtTheRightEdgeCentredOnTheLayer) {
    draw(typicalFloor());
    const QString shortTerm = "E(korttid): 5000 kN/m", longTerm = ", E(langtid): 3000 kN/m";
    const float l5 = W - 60, l2 = l5 - 100 * longTerm.size(), l1 = l2 - 60, l0 = l1 - 100 * shortTerm.size();
    expectLabel(Skt::Ebund, 0, shortTerm, l0, 2000 - 97);
    expectLabel(Skt::Ebund, 1, captions(Skt::Ebund, 1).caption, l1, 2000 - 97);
    expectLabel(Skt::Ebund, 2, longTerm, l2, 2000 - 97);
    expectLabel(Skt::Ebund, 5, captions(Skt::Ebund, 5).caption, l5, 2000 - 97);
    EXPECT_FALSE(captions(Skt::Ebund, 3).visible);
    EXPECT_FALSE(captions(Skt::Ebund, 4).visible);
}

TEST_F(SketchTest, TheUValueSitsBottomRightAndTheSubgradeModulusOnTheTerrainLine) {
    draw(typicalFloor());
    const QString u = "Uværdi: 0,25 W/m";
    expectLabel(Skt::UV, 0, u, W - 160 - 100 * u.size(), H - 195 - 200);
    expectLabel(Skt::UV, 1, captions(Skt::UV, 1).caption, W - 160, H - 195 - 200);
    expectLabel(Skt::UV, 2, "K", W - 100, H - 195 - 200);
    const QString b = "Res. ballasttal: 17105 kN/m";
    expectLabel(Skt::Ballast, 0, b, W - 60 - 100 * b.size(), 3800);
    expectLabel(Skt::Ballast, 1, "3", W - 60, 3800);

    // Without a wheel load the long-term modulus is the one the slab is analysed with.
    FoundationResult r = typicalFloor();
    r.loads.wheelLoad = false;
    draw(r);
    EXPECT_EQ(captions(Skt::Ballast, 0).caption, "Res. ballasttal: 13929 kN/m");
}

TEST_F(SketchTest, TwoLayersLieUpperAboveLowerEachWithItsModuli) {
    FoundationResult r = typicalFloor();
    r.buildUp.upper = true;
    r.buildUp.layer1 = layer("EPS 250", 50, 9000, 6500);
    draw(r);
    // Slab 800-1600, upper layer 1600-2000, lower layer 2000-2800, gravel 2800-4000.
    EXPECT_EQ(boundaryLines(picture), std::vector<double>({800, 800, 1600, 1600, 2000, 2000, 2800, 2800, 4000, 4000}));
    expectLabel(Skt::Itop, 0, " EPS 250 ", -1, 1800 - 97);
    expectLabel(Skt::Etop, 0, "E(korttid): 9000 kN/m", -1, 1800 - 97);
    EXPECT_EQ(captions(Skt::Ibund).top, 2400 - 97);
    EXPECT_EQ(captions(Skt::Ebund, 0).top, 2400 - 97);
    EXPECT_EQ(captions(Skt::Terr).top, 4200);
}

TEST_F(SketchTest, TheIntermediateLayerIntetHasNoBandAndNoCaption) {
    FoundationResult r = typicalFloor();
    r.buildUp.intermediateText = QStringLiteral("Intet");
    r.buildUp.tm = 0;
    r.buildUp.korr = 1;
    draw(r);
    EXPECT_EQ(boundaryLines(picture), std::vector<double>({800, 800, 1600, 1600, 2400, 2400}));
    EXPECT_FALSE(captions(Skt::mlm).visible);
    EXPECT_EQ(captions(Skt::Terr).top, 2600);
}

TEST_F(SketchTest, EachLoadTypeHasItsArrowsInItsOwnQuarter) {
    FoundationResult r = typicalFloor();
    const char *types[] = {"Hjultryk", "Linielast", "Lastpar", "Fladelast"};
    const double sizes[] = {40, 5, 12.5, 2.25};
    r.loads.n = 4;
    for (int i = 0; i < 4; ++i) {
        r.loads.type[i] = QString::fromLatin1(types[i]);
        r.loads.size[i] = sizes[i];
        r.loads.id[i] = std::int16_t(i + 3);
    }
    draw(r);
    const int seg = 6705 / 4; // 1676
    std::vector<double> expected = {double(seg / 2 + 60)};
    for (int x = 150; x < seg - 50; x += 150)
        expected.push_back(seg + x + 60);
    expected.push_back(2 * seg + seg / 2 - 300 + 60);
    expected.push_back(2 * seg + seg / 2 + 300 + 60);
    std::vector<double> shortOnes;
    for (int x = 200; x < seg - 50; x += 200) {
        expected.push_back(3 * seg + x + 60);
        shortOnes.push_back(3 * seg + x - 100 + 60);
    }
    EXPECT_EQ(arrowShafts(picture, 800), expected);
    EXPECT_EQ(arrowShafts(picture, 650), shortOnes);
    EXPECT_EQ(shortOnes.size(), 8u);

    const char *sizeCaptions[] = {"40,00 kN", "5,00 kN/m", "2 x 12,50 kN", "2,25 kN/m"};
    const char *superscripts[] = {"", "", "", "2"};
    for (int i = 1; i <= 4; ++i) {
        expectLabel(Skt::Lastnr, i, QStringLiteral("Last %1").arg(i + 2), (i - 1) * seg + seg / 8);
        expectLabel(Skt::Laststr, i, sizeCaptions[i - 1], (i - 1) * seg + seg / 8);
        expectLabel(Skt::Laststr1, i, superscripts[i - 1],
                    captions(Skt::Laststr, i).left + 100 * captions(Skt::Laststr, i).caption.size());
        EXPECT_TRUE(captions(Skt::Laststr1, i).visible);
    }
}

// A type that no page offers can come from a project file: it gets no arrows, and its size caption must not
// show the text an earlier drawing left in the label.
TEST_F(SketchTest, ALoadOfSizeZeroOrOfUnknownTypeShowsItsNumberButNoSize) {
    FoundationResult r = typicalFloor();
    r.loads.size[0] = 0;
    draw(r);
    EXPECT_TRUE(captions(Skt::Lastnr, 1).visible);
    EXPECT_EQ(captions(Skt::Laststr, 1).caption, "");
    EXPECT_FALSE(captions(Skt::Laststr, 1).visible);
    EXPECT_FALSE(captions(Skt::Laststr1, 1).visible);

    r = typicalFloor();
    draw(r);
    ASSERT_EQ(captions(Skt::Laststr, 1).caption, "40,00 kN");
    r.loads.type[0] = QStringLiteral("Snelast");
    r.loads.wheelLoad = false;
    draw(r);
    EXPECT_TRUE(arrowShafts(picture, 800).empty());
    EXPECT_EQ(boundaryLines(picture).front(), 800) << "the line under the arrows is still drawn";
    expectLabel(Skt::Lastnr, 1, "Last 1");
    EXPECT_TRUE(captions(Skt::Lastnr, 1).visible);
    EXPECT_EQ(captions(Skt::Laststr, 1).caption, "");
    EXPECT_EQ(captions(Skt::Laststr1, 1).caption, "");

    r.loads = {}; // without loads the slab still starts at 800
    draw(r);
    EXPECT_EQ(boundaryLines(picture).front(), 800);
    EXPECT_EQ(boundaryLines(picture)[1], 1600);
    EXPECT_TRUE(arrowShafts(picture, 800).empty());
    for (int i = 1; i <= 4; ++i)
        EXPECT_FALSE(captions(Skt::Lastnr, i).visible);
}

TEST_F(SketchTest, WithoutTerrainNeitherUValueNorSubgradeModulusIsShown) {
    FoundationResult r = typicalFloor();
    r.buildUp.terrain = false;
    r.buildUp.terrainText.clear();
    draw(r);
    EXPECT_EQ(boundaryLines(picture).back(), 3600);
    EXPECT_EQ(countBetween(picture, 3600, H), 0);
    for (Skt s : {Skt::Terr, Skt::UV, Skt::Ballast})
        EXPECT_FALSE(captions(s).visible);
}

TEST_F(SketchTest, TheDashSpacingFollowsTheCorrectionFactor) {
    for (const auto &[korr, spacing] : {std::pair(2.0, 200), std::pair(1.9, 250), std::pair(1.75, 250),
                                        std::pair(1.6, 300), std::pair(1.0, 400), std::pair(0.9, 450)})
        EXPECT_EQ(DashSpacing(korr), spacing) << korr;

    FoundationResult r = typicalFloor();
    r.buildUp.korr = 2.0;
    draw(r);
    // Rows 100 apart from 2450; dashes every 200.
    std::vector<double> firstRow;
    for (const Segment &g : picture.Segments())
        if (g.y1 == 2450 && g.y2 == 2450)
            firstRow.push_back(g.x1);
    ASSERT_GE(firstRow.size(), 2u);
    EXPECT_EQ(firstRow[1] - firstRow[0], 200);
}

TEST_F(SketchTest, EveryCaptionIsClearedBeforeADrawing) {
    for (auto &[key, l] : captions.labels) {
        l.visible = true;
        l.top = 999;
    }
    FoundationResult empty;
    draw(empty);
    for (const auto &[key, l] : captions.labels) {
        EXPECT_TRUE(l.cleared);
        EXPECT_FALSE(l.visible);
        EXPECT_EQ(l.top, 0);
    }
    EXPECT_TRUE(picture.Segments().empty());
}

TEST_F(SketchTest, AnUnforcedRunDrawsOnlyWhenTheDrawnInputChanged) {
    FoundationResult r = typicalFloor();
    EXPECT_TRUE(draw(r, false)); // differs from the empty record
    const std::vector<Segment> drawn = picture.Segments();
    captions(Skt::Daektype).caption = "untouched";

    // Not drawn themselves: the terrain's ballast, the correction factor, the conductivities.
    r.buildUp.kT = 1;
    r.buildUp.korr = 1.4;
    r.buildUp.layer2.lambdaDry = 1;
    r.values.isolballasto = 1;
    EXPECT_FALSE(draw(r, false));
    EXPECT_EQ(captions(Skt::Daektype).caption, "untouched");
    EXPECT_EQ(picture.Segments(), drawn);

    // A forced run always draws.
    EXPECT_TRUE(draw(r, true));
    EXPECT_EQ(captions(Skt::Daektype).caption, " C25 ");

    const auto changes = std::vector<void (*)(FoundationResult &)>{
        [](FoundationResult &x) { x.values.resBallastn += 1e-9; },
        [](FoundationResult &x) { x.loads.size[0] = 41; },
        [](FoundationResult &x) { x.loads.type[0] = QStringLiteral("Punktlast"); },
        [](FoundationResult &x) { x.buildUp.layer2.En = 3001; },
        [](FoundationResult &x) { x.buildUp.slabText = QStringLiteral("c25"); },
        [](FoundationResult &x) { x.buildUp.tm = 151; },
        [](FoundationResult &x) { x.loads.id[0] = 2; },
        [](FoundationResult &x) {
            x.loads.n = 2;
            x.loads.type[1] = QStringLiteral("Punktlast");
            x.loads.id[1] = 2;
        },
        [](FoundationResult &x) { x.buildUp.layer2.t = 101; },
        [](FoundationResult &x) { x.buildUp.terrainText = QStringLiteral("Ler"); },
        [](FoundationResult &x) { x.values.Uvaerdi = 0.2463; },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        FoundationResult changed = r;
        changes[i](changed);
        captions(Skt::Daektype).caption = "untouched";
        EXPECT_TRUE(draw(changed, false)) << i;
        EXPECT_EQ(captions(Skt::Daektype).caption, " " + changed.buildUp.slabText + " ") << i;
        EXPECT_FALSE(draw(changed, false)) << i;
        draw(r, true);
    }
}

// The record is taken before the drawing, so a drawing that failed is not repeated by an unforced run with
// the same input; the picture keeps what was drawn before the failure.
TEST_F(SketchTest, AFailedDrawingKeepsWhatWasDrawnAndIsNotRepeatedUnforced) {
    captions.failOn = Skt::Terr;
    const FoundationResult r = typicalFloor();
    try {
        draw(r, false);
        FAIL() << "no error";
    } catch (const engine::RuntimeError &e) {
        EXPECT_EQ(e.number(), engine::err::Overflow);
    }
    EXPECT_EQ(LogNr, 266);
    EXPECT_EQ(boundaryLines(picture), std::vector<double>({800, 800, 1600, 1600, 2400, 2400, 3600, 3600}));
    EXPECT_TRUE(captions(Skt::mlm).visible);
    EXPECT_FALSE(captions(Skt::Terr).visible);
    EXPECT_FALSE(captions(Skt::UV).visible);

    captions.failOn.reset();
    EXPECT_FALSE(draw(r, false));
    EXPECT_TRUE(draw(r, true));
    EXPECT_TRUE(captions(Skt::UV).visible);
}
