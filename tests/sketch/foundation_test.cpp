// The foundation values: worked examples on plain rows, then read from and stored into inddata.mdb.

#include "data/connections.h"
#include "data/error_report.h"
#include "data/modmain.h"
#include "platform/message_box.h"
#include "sketch/foundation.h"
#include "support/databases.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using engine::Variant;
using namespace sketch;

namespace {

LayerRow layer(int lagnr, Variant type, Variant thickness, double Eo = 1, double En = 1, double wet = 0.045,
               double dry = 0.04) {
    return {type, thickness, lagnr, Eo, En, wet, dry};
}

// Slab of 100 mm, an intermediate layer of gravel, a terrain of 20000 kN/m³.
InddataRow floorRow(Variant tm, Variant korr, double lambdaM, const char *slab = "Beton") {
    return {slab, "C25", 100.0, "Sand", 20000.0, korr, "Grus", lambdaM, tm};
}
const InddataRow kNoFloor{"", "", 0.0, "", 0.0, 0.0, "", 0.0, 0.0};

// The build-up read (upper and lower thickness, slab, intermediate layer, its factor) and the five values.
void expectValues(const std::vector<LayerRow> &layers, const InddataRow &row, std::array<double, 5> buildUp,
                  std::array<double, 5> values) {
    std::int32_t LogNr = 0;
    BuildUp b = ReadLayers(layers, LogNr);
    ReadSlabTerrainIntermediate(row, b, LogNr);
    const FoundationValues v = DeriveValues(b, LogNr);
    EXPECT_EQ(buildUp,
              (std::array<double, 5>{double(b.layer1.t), double(b.layer2.t), double(b.ts), double(b.tm), b.korr}));
    const double actual[] = {v.isolballasto, v.isolballastn, v.resBallasto, v.resBallastn, v.Uvaerdi};
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(values[i], actual[i], 1e-12 * values[i]) << "value " << i;
}

} // namespace

TEST(Foundation, ValuesOfWorkedExamples) {
    // No thickness, no type, Nulls, or a thickness the field refuses: no layer at all.
    expectValues({layer(1, "EPS", 0, 5000, 3000), layer(2, "", 100)}, kNoFloor, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0});
    expectValues({layer(1, Variant::Null(), 100), layer(2, "EPS", Variant::Null())}, kNoFloor, {}, {});
    expectValues({layer(1, "EPS", 10000.5, 5000, 3000), layer(2, "EPS", -5, 5000, 3000)}, kNoFloor, {}, {});
    // One layer, whatever its number, is the lower one; a refused one does not take the valid one's place.
    expectValues({layer(1, "EPS 150", 200, 6000, 4000), layer(2, "", 0)}, kNoFloor, {0, 200, 0, 0, 0},
                 {30000, 20000, 0, 0, 0});
    expectValues({layer(2, "XPS", 12000, 9000, 9000), layer(1, "EPS", 100, 5000, 3000)}, kNoFloor, {0, 100, 0, 0, 0},
                 {50000, 30000, 0, 0, 0});
    expectValues({layer(1, "A", 100, 5000, 2500), layer(2, "B", 100, 10000, 5000)}, kNoFloor, {100, 100, 0, 0, 0},
                 {5e7 / 1500, 1.25e7 / 750, 0, 0, 0}); // in series: a b / (ta b + tb a)
    // Of two layers, a lower one too thick for its field counts with no thickness.
    expectValues({layer(1, "A", 100, 5000, 3000), layer(2, "B", 100, 10000, 6000), layer(2, "C", 12000, 9000, 9000)},
                 kNoFloor, {100, 0, 0, 0, 0}, {50000, 30000, 0, 0, 0});
    // Halves round to even; a refused slab thickness counts as none, the rounded 150 mm of gravel keeps its factor.
    expectValues({layer(1, "A", 100.5), layer(2, "B", 101.5)}, floorRow(150.5, 1.5, 1.0), {100, 102, 100, 150, 1.5},
                 {10 / 2.02, 10 / 2.02, 4.9496782709123899, 4.9496782709123899, 0.14787430683918668});
    InddataRow wood = floorRow(149.5, 1.5, 1.0, "Træ");
    wood.daektykkelse = 10001.0;
    expectValues({}, wood, {0, 0, 0, 150, 1.5}, {0, 0, 0, 0, 0});
    // Below 150 mm of gravel the factor is 1; a refused thickness keeps it; factor 0 or Null: no intermediate layer.
    const std::vector<LayerRow> one{layer(2, "EPS", 100, 5000, 3000)};
    expectValues(one, floorRow(149, 1.8, 2.0), {0, 100, 100, 149, 1},
                 {50000, 30000, 1e9 / 70000, 6e8 / 50000, 0.24172105390379506});
    expectValues(one, floorRow(150, 1.8, 2.0), {0, 100, 100, 150, 1.8},
                 {50000, 30000, 1.8e9 / 86000, 1.08e9 / 66000, 0.2416918429003021});
    expectValues(one, floorRow(12000, 1.8, 2.0), {0, 100, 100, 0, 1.8},
                 {50000, 30000, 1.8e9 / 86000, 1.08e9 / 66000, 0.25945945945945942});
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
    // By hand: 80.5 and 120.5 mm round down to even, 39.5 up; 50 mm of gravel leaves the lowest 75 mm wet and
    // takes factor 1 whatever is stored.
    expectValues({layer(1, "EPS 80", 80.5, 7000, 4500, 0.05, 0.038), layer(2, "XPS", 39.5, 12000, 8000, 0.048, 0.036)},
                 {"Beton", "C30", 120.5, "Ler", 30000.0, 1.6, "Singels", 2.0, 50.0}, {80, 40, 120, 50, 1},
                 {84e6 / 1240, 36e6 / 820, 20792.079207920793, 17821.782178217822,
                  1 / (1.5 + 0.035 / 0.05 + 0.045 / 0.038 + 0.04 / 0.048 + 0.075)});
}

TEST(Foundation, OnlyTheFirstFourTypedLoadsAreGatheredAndSeenForTheWheelLoad) {
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

namespace {

using Stored = std::array<Variant, 5>;
constexpr double kIso = 5000 / 0.1, kIsoN = 3000 / 0.1, kGround = 20000 * 1.3;
const Stored kExample{kIso, kIsoN, kIso *kGround / (kGround + kIso), kIsoN *kGround / (kGround + kIsoN),
                      1 / (1.5 + 2.5 + 0.0625)};
const Stored kStale{1.0, 2.0, 3.0, 4.0, 5.0};
const char *const kNames[] = {"isolballasto", "isolballastn", "resBallasto", "resBallastn", "Uværdi"};

class FoundationRunTest : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();
    std::int32_t LogNr = 0;

    // The worked U-value example: slab 100 mm, one layer of 100 mm stored as the upper one, 150 mm of gravel with
    // a conductivity of 0, a terrain, one wheel load.
    void SetUp() override {
        platform::setMessageService(messages);
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        modMain::ClearInddata();
        modMain::InitInddata();
        set("inddata", {"daekType", "kvalitettext", "dæktykkelse", "terræn", "terrænballast", "mellemlag"},
            {"Beton", "C25", 100, "Sand", 20000, "Grus"});
        set("inddata", {"mellemlagkorr", "mellemlaglambda", "mellemlagtykkelse"}, {1.3, 0, 150});
        set("inddataisolering", {"IsoleringType", "IsoleringTykkelse", "Eo", "En", "LambdaVåd", "LambdaTør"},
            {"EPS 150", 100, 5000, 3000, 0.045, 0.04});
        set("inddatalast", {"Lasttype", "Størrelse"}, {"Hjultryk", 40.0});
    }
    void TearDown() override {
        modMain::cnInddata.Close();
        platform::setMessageService(std::make_shared<platform::RecordingMessages>());
    }
    // Sets fields of the table's row at the given position (0 the first).
    void set(const char *table, std::vector<const char *> names, std::vector<Variant> values, int row = 0) {
        engine::Recordset rs;
        rs.Open(QString::fromUtf8(table), modMain::cnInddata, engine::adOpenKeyset, engine::adLockPessimistic,
                engine::adCmdTable);
        rs.Move(row);
        for (std::size_t i = 0; i < names.size(); ++i)
            rs.Fields(QString::fromUtf8(names[i])) = values[i];
        rs.Update();
        rs.Close();
    }
    void setStored(const Stored &v) {
        set("inddata", std::vector<const char *>(std::begin(kNames), std::end(kNames)),
            std::vector<Variant>(v.begin(), v.end()));
    }
    Stored stored() const {
        engine::Recordset rs;
        rs.Open(QStringLiteral("inddata"), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly,
                engine::adCmdTable);
        Stored v;
        for (int i = 0; i < 5; ++i)
            v[i] = rs.Fields(QString::fromUtf8(kNames[i])).Value();
        rs.Close();
        return v;
    }
    void expectStored(const Stored &expected) {
        const Stored actual = stored();
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_NEAR(expected[i].toDouble(), actual[i].toDouble(), 1e-12 * std::abs(expected[i].toDouble())) << i;
    }
};

} // namespace

TEST_F(FoundationRunTest, StoresTheFiveValuesOnlyWhenOneDiffersAndNeverWhenForced) {
    setStored(kStale);
    FoundationResult r = ComputeFoundationValues(true, LogNr);
    EXPECT_FALSE(r.stored);
    EXPECT_EQ(kIso, r.values.isolballasto);
    EXPECT_EQ(kStale, stored());

    r = ComputeFoundationValues(false, LogNr);
    EXPECT_TRUE(r.stored);
    EXPECT_EQ(QStringLiteral("EPS 150"), r.buildUp.layer2.type);
    EXPECT_TRUE(r.loads.n == 1 && r.loads.wheelLoad);
    expectStored(kExample);
    EXPECT_FALSE(ComputeFoundationValues(false, LogNr).stored);

    set("inddata", {"resBallasto"}, {Variant::Null()}); // a stored Null alone causes no store
    EXPECT_FALSE(ComputeFoundationValues(false, LogNr).stored);
    EXPECT_TRUE(stored()[2].isNull());
    set("inddata", {"Uværdi"}, {0.3}); // a real difference writes all five
    EXPECT_TRUE(ComputeFoundationValues(false, LogNr).stored);
    expectStored(kExample);
    EXPECT_TRUE(messages->shown.empty());

    modMain::cnInddata.Execute(QStringLiteral("DELETE * FROM inddatalast"));
    modMain::cnInddata.Execute(QStringLiteral("DELETE * FROM inddataisolering"));
    r = ComputeFoundationValues(false, LogNr);
    EXPECT_EQ(0, r.loads.n);
    EXPECT_EQ(FoundationValues{}, r.values);
}

// By hand: one layer stored as the lower one, 200 mm with Eo 5000 and En 3000, on 200 mm of dry gravel (factor
// 1.1 applies) over a terrain of 50000; a wooden slab of 22 mm.
TEST_F(FoundationRunTest, OneLowerLayerOnAThickIntermediateLayerWorkedByHand) {
    set("inddataisolering", {"IsoleringType", "IsoleringTykkelse"}, {"", 0});
    set("inddataisolering", {"IsoleringType", "IsoleringTykkelse", "Eo", "En", "LambdaVåd", "LambdaTør"},
        {"EPS 60", 200, 5000, 3000, 0.044, 0.035}, 1);
    set("inddata",
        {"daekType", "dæktykkelse", "terrænballast", "mellemlagkorr", "mellemlaglambda", "mellemlagtykkelse"},
        {"Træ", 22, 50000, 1.1, 2.0, 200});
    const FoundationResult r = ComputeFoundationValues(false, LogNr);
    EXPECT_EQ(QStringLiteral("Træ"), r.buildUp.slabText);
    EXPECT_TRUE(!r.buildUp.upper && r.buildUp.lower);
    EXPECT_EQ(17187.5, r.values.resBallasto); // 25000 · 55000 / 80000 exactly, the product taken left to right
    expectStored({25000.0, 15000.0, 17187.5, 11785.714285714288, 0.13646221702366157});
}

TEST_F(FoundationRunTest, ErrorIsReportedForTheMainWindowOrRethrownAndNothingIsStored) {
    setStored(kStale);
    set("inddataisolering", {"Eo"}, {Variant::Null()});
    try {
        ComputeFoundationValues(false, LogNr);
        ADD_FAILURE() << "no error";
    } catch (const engine::RuntimeError &e) {
        EXPECT_EQ(engine::err::InvalidUseOfNull, e.number());
        EXPECT_EQ(179, LogNr);
    }
    EXPECT_TRUE(messages->shown.empty());

    set("inddataisolering", {"Eo", "LambdaVåd"}, {5000, 0}); // wet without gravel: the lowest 75 mm use LambdaVåd
    set("inddata", {"mellemlagtykkelse"}, {0});
    EXPECT_FALSE(ComputeFoundationValuesReported(false, LogNr));
    ASSERT_EQ(1u, messages->shown.size());
    EXPECT_EQ(data::ErrorReportText(QStringLiteral("Der opstod et problem under eksekvering af Fundator!"),
                                    QStringLiteral("frmMain"), 199, engine::err::DivisionByZero,
                                    engine::runtimeErrorText(engine::err::DivisionByZero)),
              messages->shown[0].text);
    EXPECT_EQ(platform::Icon::Critical, messages->shown[0].icon);
    EXPECT_EQ(kStale, stored());

    set("inddataisolering", {"LambdaVåd"}, {0.045}); // the failed run let go of its recordsets
    EXPECT_TRUE(ComputeFoundationValuesReported(false, LogNr));
    EXPECT_NE(kStale, stored());
}
