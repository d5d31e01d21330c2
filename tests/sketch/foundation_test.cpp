// The foundation values on plain rows, without a database.

#include "sketch/foundation.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using engine::Variant;
using namespace sketch;

namespace {

void expectNear(double expected, double actual) {
    EXPECT_NEAR(expected, actual, 1e-12 * std::fabs(expected)) << "expected " << expected;
}

LayerRow layer(int lagnr, Variant type, Variant thickness, double Eo = 1, double En = 1, double wet = 0.045,
               double dry = 0.04) {
    return {type, thickness, lagnr, Eo, En, wet, dry};
}

// Slab of 100 mm, an intermediate layer, a terrain of 20000 kN/m³.
InddataRow floorRow(double tm, double korr, double lambdaM, const char *slab = "Beton") {
    return {slab, "C25", 100.0, "Sand", 20000.0, korr, "Grus", lambdaM, tm};
}
const InddataRow kNoFloor{"", "", 0.0, "", 0.0, 0.0, "", 0.0, 0.0};

struct Derived {
    std::int32_t LogNr = 0;
    BuildUp b;
    FoundationValues v;
    Derived(const std::vector<LayerRow> &layers, const InddataRow &row) {
        b = ReadLayers(layers, LogNr);
        ReadSlabTerrainIntermediate(row, b, LogNr);
        v = DeriveValues(b, LogNr);
    }
};

} // namespace

TEST(FoundationLoads, OnlyTheFirstFourTypedLoadsAreGatheredAndSeenForTheWheelLoad) {
    std::vector<LoadRow> rows{{"Punktlast", 1, 10.0}, {Variant::Null(), 2, Variant::Null()},
                              {"Fladelast", 3, 5.5},  {"Linielast", 4, 2.0},
                              {"", 5, 0.0},           {"Lastpar", 6, 30.0},
                              {"Hjultryk", 7, 40.0},  {"Punktlast", 8, 1.0}};
    std::int32_t LogNr = 0;
    Loads l = GatherLoads(rows, LogNr);
    EXPECT_EQ(4, l.n);
    EXPECT_EQ((std::array<std::int16_t, 4>{1, 3, 4, 6}), l.id);
    EXPECT_EQ(QStringLiteral("Lastpar"), l.type[3]);
    EXPECT_EQ(5.5, l.size[1]);
    EXPECT_FALSE(l.wheelLoad);

    rows[4].Lasttype = "Hjultryk";
    l = GatherLoads(rows, LogNr);
    EXPECT_EQ(5, l.id[3]);
    EXPECT_TRUE(l.wheelLoad);
}

TEST(FoundationLayers, NoValidLayerGivesFiveZeros) {
    // No thickness, no type, Nulls, and a thickness the field refuses.
    for (const auto &rows :
         std::vector<std::vector<LayerRow>>{{layer(1, "EPS", 0, 5000, 3000), layer(2, "", 100, 5000, 3000)},
                                            {layer(1, Variant::Null(), 100), layer(2, "EPS", Variant::Null())},
                                            {layer(1, "EPS", 10000.5, 5000, 3000), layer(2, "EPS", -5, 5000, 3000)}}) {
        const Derived r(rows, floorRow(200, 1.5, 2.0));
        EXPECT_FALSE(r.b.anyLayer());
        EXPECT_EQ(FoundationValues{}, r.v);
    }
}

TEST(FoundationLayers, OneLayerStoredAsUpperIsTheLowerLayer) {
    const Derived r({layer(1, "EPS 150", 200, 6000, 4000), layer(2, "", 0)}, kNoFloor);
    EXPECT_EQ(200, r.b.layer2.t);
    EXPECT_EQ(QStringLiteral("EPS 150"), r.b.layer2.type);
    EXPECT_EQ(0, r.b.layer1.t);
    expectNear(6000 / 0.2, r.v.isolballasto);
    expectNear(4000 / 0.2, r.v.isolballastn);
    EXPECT_EQ(0, r.v.resBallasto + r.v.Uvaerdi); // no terrain, no slab
}

TEST(FoundationLayers, TwoLayersActInSeries) {
    const Derived r({layer(1, "A", 100, 5000, 2500), layer(2, "B", 100, 10000, 5000)}, kNoFloor);
    expectNear(5000.0 * 10000 / (0.1 * 10000 + 0.1 * 5000), r.v.isolballasto);
    expectNear(2500.0 * 5000 / (0.1 * 5000 + 0.1 * 2500), r.v.isolballastn);
}

TEST(FoundationLayers, ARefusedThicknessDoesNotReplaceTheValidLayer) {
    const LayerRow valid = layer(1, "EPS", 100, 5000, 3000), refused = layer(2, "XPS", 12000, 9000, 9000);
    for (const auto &rows : {std::vector<LayerRow>{valid, refused}, std::vector<LayerRow>{refused, valid}}) {
        const Derived r(rows, kNoFloor);
        EXPECT_EQ(QStringLiteral("EPS"), r.b.layer2.type);
        expectNear(50000, r.v.isolballasto);
    }
}

TEST(FoundationBuildUp, ThicknessesRoundHalvesToEvenAndRefusedOnesAreDropped) {
    const Derived r({layer(1, "A", 100.5), layer(2, "B", 101.5)}, floorRow(150.5, 1.5, 1.0));
    EXPECT_EQ(100, r.b.layer1.t);
    EXPECT_EQ(102, r.b.layer2.t);
    EXPECT_EQ(150, r.b.tm);
    EXPECT_EQ(QStringLiteral("C25"), r.b.slabText);

    InddataRow row = floorRow(149.5, 1.5, 1.0, "Træ");
    row.daektykkelse = 10001.0;
    const Derived s({}, row);
    EXPECT_EQ(QStringLiteral("Træ"), s.b.slabText);
    EXPECT_EQ(0, s.b.ts);
    EXPECT_EQ(150, s.b.tm);
    EXPECT_EQ(1.5, s.b.korr); // the rounded thickness decides the factor
}

TEST(FoundationBuildUp, BelowOneHundredAndFiftyMillimetresTheFactorIsOne) {
    const std::vector<LayerRow> one{layer(2, "EPS", 100, 5000, 3000)};
    expectNear(50000.0 * 20000 / (20000 + 50000), Derived(one, floorRow(149, 1.8, 2.0)).v.resBallasto);
    const Derived thick(one, floorRow(150, 1.8, 2.0));
    expectNear(50000.0 * 36000 / (36000 + 50000), thick.v.resBallasto);
    expectNear(30000.0 * 36000 / (36000 + 30000), thick.v.resBallastn);
    const Derived refused(one, floorRow(12000, 1.8, 2.0));
    EXPECT_EQ(1.8, refused.b.korr);
    EXPECT_EQ(0, refused.b.tm);
    // The flag follows the factor: none after new input, none when it is Null.
    EXPECT_EQ(0, Derived(one, floorRow(200, 0, 2.0)).v.resBallasto);
    InddataRow nullFactor = floorRow(200, 1.8, 2.0);
    nullFactor.mellemlagkorr = Variant::Null();
    EXPECT_FALSE(Derived(one, nullFactor).b.intermediate);
}

TEST(FoundationUValue, IntetWithTerrainTakesTheLowest75mmAsWet) {
    InddataRow row = floorRow(0, 1, 0);
    row.mellemlag = "Intet";
    const Derived r({layer(1, "A", 100, 5000, 3000, 0.05, 0.04), layer(2, "B", 50, 8000, 6000, 0.045, 0.035)}, row);
    EXPECT_TRUE(r.b.intermediate);
    const double iso = 5000.0 * 8000 / (0.1 * 8000 + 0.05 * 5000);
    expectNear(iso * 20000 / (20000 + iso), r.v.resBallasto);
    expectNear(1 / (1.5 + 0.025 / 0.05 + 0.075 / 0.04 + 0.05 / 0.045 + 0.0625), r.v.Uvaerdi);

    // All of thin insulation is wet; of a thick lower layer only its lowest 75 mm.
    const Derived thin({layer(1, "A", 30, 1, 1, 0.05, 0.04), layer(2, "B", 40, 1, 1, 0.045, 0.035)}, row);
    expectNear(1 / (1.5 + 0.03 / 0.05 + 0.04 / 0.045 + 0.0625), thin.v.Uvaerdi);
    const Derived thick({layer(1, "A", 30, 1, 1, 0.05, 0.04), layer(2, "B", 200, 1, 1, 0.045, 0.035)}, row);
    expectNear(1 / (1.5 + 0.03 / 0.04 + 0.075 / 0.045 + 0.125 / 0.035 + 0.0625), thick.v.Uvaerdi);
}

TEST(FoundationUValue, AnIntermediateLayerOfExactly75mmKeepsTheInsulationDry) {
    const Derived r({layer(1, "A", 50, 1, 1, 0.05, 0.04), layer(2, "B", 50, 1, 1, 0.045, 0.035)}, floorRow(75, 1, 2.0));
    expectNear(1 / (1.5 + 0.05 / 0.04 + 0.05 / 0.035 + 0.075 / 2.0 + 0.0625), r.v.Uvaerdi);
}

TEST(FoundationUValue, TheWorkedExampleAndNoSlab) {
    const std::vector<LayerRow> one{layer(2, "EPS", 100, 5000, 3000, 0.045, 0.04)};
    expectNear(1 / (1.5 + 2.5 + 0.0625), Derived(one, floorRow(150, 1.3, 0)).v.Uvaerdi);
    const Derived noSlab(one, floorRow(150, 1.3, 1.0, ""));
    EXPECT_EQ(0, noSlab.v.Uvaerdi);
    EXPECT_GT(noSlab.v.resBallasto, 0);
}

// Worked out by hand: 80.5 and 120.5 mm round down to even, 39.5 up; the intermediate layer of 50 mm leaves the
// lowest 75 mm of insulation wet and takes factor 1 whatever is stored.
TEST(FoundationUValue, TwoLayersOnAThinIntermediateLayerWorkedByHand) {
    const Derived r(
        {layer(1, "EPS 80", 80.5, 7000, 4500, 0.05, 0.038), layer(2, "XPS", 39.5, 12000, 8000, 0.048, 0.036)},
        {"Beton", "C30", 120.5, "Ler", 30000.0, 1.6, "Singels", 2.0, 50.0});
    EXPECT_EQ(80, r.b.layer1.t);
    EXPECT_EQ(40, r.b.layer2.t);
    EXPECT_EQ(120, r.b.ts);
    EXPECT_EQ(1.0, r.b.korr);
    expectNear(67741.93548387097, r.v.isolballasto);  // 84e6 / 1240
    expectNear(43902.439024390245, r.v.isolballastn); // 36e6 / 820
    expectNear(20792.079207920793, r.v.resBallasto);
    expectNear(17821.78217821782, r.v.resBallastn);
    expectNear(0.23296209257177888, r.v.Uvaerdi); // 1 / (1.5 + 0.7 + 1.1842 + 0.8333 + 0.075)
}
