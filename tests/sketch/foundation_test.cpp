// The foundation values on plain rows: worked examples, the loads gathered, and when the values are stored.

#include "sketch/foundation.h"

#include <gtest/gtest.h>
#include <vector>

using engine::Variant;
using namespace sketch;

namespace {

LayerRow layer(int nr, Variant type, Variant t, double Eo = 1, double En = 1, double wet = 0.045, double dry = 0.04) {
    return {type, t, nr, Eo, En, wet, dry};
}

// Slab of 100 mm, an intermediate layer of gravel, a terrain of 20000 kN/m³.
InddataRow floorRow(Variant tm, Variant korr, double lambdaM, const char *slab = "Beton") {
    return {slab, "C25", 100.0, "Sand", 20000.0, korr, "Grus", lambdaM, tm};
}
const InddataRow kNoFloor{"", "", 0.0, "", 0.0, 0.0, "", 0.0, 0.0};

// The build-up read (upper and lower thickness, slab, intermediate layer, its factor) and the five values.
using Five = std::array<double, 5>;
void expectValues(const std::vector<LayerRow> &layers, const InddataRow &row, Five buildUp, Five values) {
    std::int32_t LogNr = 0;
    BuildUp b = ReadLayers(layers, LogNr);
    ReadSlabTerrainIntermediate(row, b, LogNr);
    const FoundationValues v = DeriveValues(b, LogNr);
    EXPECT_EQ(buildUp, (Five{double(b.layer1.t), double(b.layer2.t), double(b.ts), double(b.tm), b.korr}));
    const double actual[] = {v.isolballasto, v.isolballastn, v.resBallasto, v.resBallastn, v.Uvaerdi};
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(values[i], actual[i], 1e-12 * values[i]) << "value " << i;
}

} // namespace

TEST(Foundation, ValuesOfWorkedExamples) {
    // No thickness, no type, Nulls, or a thickness the field refuses: no layer at all.
    expectValues({layer(1, "EPS", 0, 5000, 3000), layer(2, "", 100)}, kNoFloor, {}, {});
    expectValues({layer(1, Variant::Null(), 100), layer(2, "EPS", Variant::Null())}, kNoFloor, {}, {});
    expectValues({layer(1, "EPS", 10000.5, 5000, 3000), layer(2, "EPS", -5, 5000, 3000)}, kNoFloor, {}, {});
    // A refused layer does not take the valid one's place.
    expectValues({layer(2, "XPS", 12000, 9000, 9000), layer(1, "EPS", 100, 5000, 3000)}, kNoFloor, {0, 100, 0, 0, 0},
                 {50000, 30000, 0, 0, 0});
    // Of two layers, a lower one too thick for its field counts with no thickness.
    expectValues({layer(1, "A", 100, 5000, 3000), layer(2, "B", 100, 10000, 6000), layer(2, "C", 12000, 9000, 9000)},
                 kNoFloor, {100, 0, 0, 0, 0}, {50000, 30000, 0, 0, 0});
    // Halves round to even; a refused slab thickness counts as none, the rounded 150 mm of gravel keeps its factor.
    expectValues({layer(1, "A", 100.5), layer(2, "B", 101.5)}, floorRow(150.5, 1.5, 1.0), {100, 102, 100, 150, 1.5},
                 {10 / 2.02, 10 / 2.02, 4.9496782709123899, 4.9496782709123899, 0.14787430683918668});
    InddataRow wood = floorRow(149.5, 1.5, 1.0, "Træ");
    wood.daektykkelse = 10001.0;
    expectValues({}, wood, {0, 0, 0, 150, 1.5}, {0, 0, 0, 0, 0});
    // Thicknesses too large for a whole number are drawn as none too, not reported as a failure.
    wood.daektykkelse = 1e20;
    wood.mellemlagtykkelse = -1e20;
    expectValues({}, wood, {0, 0, 0, -10001, 1}, {0, 0, 0, 0, 0});
    wood.mellemlagtykkelse = 1e20;
    expectValues({}, wood, {0, 0, 0, 0, 1.5}, {0, 0, 0, 0, 0});
    // Below 150 mm of gravel the factor is 1; factor 0 or Null: no intermediate layer.
    const std::vector<LayerRow> one{layer(2, "EPS", 100, 5000, 3000)};
    expectValues(one, floorRow(149, 1.8, 2.0), {0, 100, 100, 149, 1},
                 {50000, 30000, 1e9 / 70000, 6e8 / 50000, 0.24172105390379506});
    expectValues(one, floorRow(200, 0, 2.0), {0, 100, 100, 0, 0}, {50000, 30000, 0, 0, 0});
    expectValues(one, floorRow(200, Variant::Null(), 2.0), {0, 100, 100, 0, 0}, {50000, 30000, 0, 0, 0});
    // "Intet" (factor 1, no thickness): the lowest 75 mm of the insulation lie wet, all of it when thinner.
    InddataRow intet = floorRow(0, 1, 0);
    intet.mellemlag = "Intet";
    expectValues({layer(1, "A", 100, 5000, 3000, 0.05, 0.04), layer(2, "B", 50, 8000, 6000, 0.045, 0.035)}, intet,
                 {100, 50, 100, 0, 1},
                 {4e7 / 1050, 24000, 13114.754098360654, 10909.09090909091,
                  1 / (1.5 + 0.025 / 0.05 + 0.075 / 0.04 + 0.05 / 0.045 + 0.0625)});
    expectValues({layer(1, "A", 30, 1, 1, 0.05, 0.04), layer(2, "B", 40, 1, 1, 0.045, 0.035)}, intet,
                 {30, 40, 100, 0, 1},
                 {1 / 0.07, 1 / 0.07, 14.275517487508921, 14.275517487508921, 1 / (1.5 + 0.6 + 0.04 / 0.045 + 0.0625)});
    expectValues({layer(1, "A", 30, 1, 1, 0.05, 0.04), layer(2, "B", 200, 1, 1, 0.045, 0.035)}, intet,
                 {30, 200, 100, 0, 1},
                 {1 / 0.23, 1 / 0.23, 4.3468811128015652, 4.3468811128015652,
                  1 / (1.5 + 0.75 + 0.075 / 0.045 + 0.125 / 0.035 + 0.0625)});
    // 75 mm of gravel keeps the insulation dry; without a slab there is no U-value.
    expectValues({layer(1, "A", 50, 1, 1, 0.05, 0.04), layer(2, "B", 50, 1, 1, 0.045, 0.035)}, floorRow(75, 1, 2.0),
                 {50, 50, 100, 75, 1},
                 {10, 10, 9.9950024987506243, 9.9950024987506243, 1 / (1.5 + 1.25 + 0.05 / 0.035 + 0.0375 + 0.0625)});
    const std::vector<LayerRow> wet{layer(2, "EPS", 100, 5000, 3000, 0.045, 0.04)};
    expectValues(wet, floorRow(150, 1.3, 0), {0, 100, 100, 150, 1.3},
                 {50000, 30000, 17105.263157894737, 13928.571428571429, 1 / (1.5 + 2.5 + 0.0625)});
    expectValues(wet, floorRow(150, 1.3, 1.0, ""), {0, 100, 0, 150, 1.3},
                 {50000, 30000, 17105.263157894737, 13928.571428571429, 0});
}

TEST(Foundation, ValuesAreStoredWhenOneDiffers) {
    // A stored Null is no difference; an empty field counts as 0.
    const FoundationValues v{1, 2, 3, 4, 0};
    EXPECT_FALSE(StoreNeeded({1.0, 2.0, 3.0, 4.0, 0.0}, v));
    EXPECT_FALSE(StoreNeeded({1.0, Variant::Null(), 3.0, 4.0, Variant()}, v));
    EXPECT_TRUE(StoreNeeded({1.0, Variant::Null(), 3.0, 4.0, 0.1}, v));
    EXPECT_TRUE(StoreNeeded({1.0, 2.0, 3.0, 4.0 + 1e-12, 0.0}, v));
}
