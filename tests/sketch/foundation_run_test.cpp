// The foundation values read from and stored into inddata.mdb.

#include "data/connections.h"
#include "data/error_report.h"
#include "data/modmain.h"
#include "platform/message_box.h"
#include "sketch/foundation.h"
#include "support/databases.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

using engine::Variant;
using namespace sketch;
using Stored = std::array<Variant, 5>;

namespace {

constexpr double kIso = 5000 / 0.1, kIsoN = 3000 / 0.1, kGround = 20000 * 1.3;
const Stored kExample{kIso, kIsoN, kIso *kGround / (kGround + kIso), kIsoN *kGround / (kGround + kIsoN),
                      1 / (1.5 + 2.5 + 0.0625)};
const Stored kStale{1.0, 2.0, 3.0, 4.0, 5.0};

class FoundationRunTest : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();
    std::int32_t LogNr = 0;

    // The worked U-value example: slab 100 mm, one layer of 100 mm stored as the upper one, an intermediate
    // layer of 150 mm with a conductivity of 0, a terrain, one load.
    void SetUp() override {
        platform::setMessageService(messages);
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        modMain::ClearInddata();
        modMain::InitInddata();
        setInddata({{"daekType", "Beton"},
                    {"kvalitettext", "C25"},
                    {"dæktykkelse", 100},
                    {"terræn", "Sand"},
                    {"terrænballast", 20000},
                    {"mellemlag", "Grus"},
                    {"mellemlagkorr", 1.3},
                    {"mellemlaglambda", 0},
                    {"mellemlagtykkelse", 150}});
        setLayer({{"IsoleringType", "EPS 150"},
                  {"IsoleringTykkelse", 100},
                  {"Eo", 5000},
                  {"En", 3000},
                  {"LambdaVåd", 0.045},
                  {"LambdaTør", 0.04}});
        set("inddatalast", {{"Lasttype", "Hjultryk"}, {"Størrelse", 40.0}});
    }
    void TearDown() override { modMain::cnInddata.Close(); }

    using Fields = std::initializer_list<std::pair<const char *, Variant>>;
    // Sets fields of the table's row at the given position (0 the first).
    void set(const char *table, Fields fields, int row = 0) {
        engine::Recordset rs;
        rs.Open(QLatin1String(table), modMain::cnInddata, engine::adOpenKeyset, engine::adLockPessimistic,
                engine::adCmdTable);
        rs.Move(row);
        for (const auto &[name, value] : fields)
            rs.Fields(QString::fromUtf8(name)) = value;
        rs.Update();
        rs.Close();
    }
    void setInddata(Fields fields) { set("inddata", fields); }
    void setLayer(Fields fields, int row = 0) { set("inddataisolering", fields, row); }
    void setStored(const Stored &v) {
        setInddata({{"isolballasto", v[0]},
                    {"isolballastn", v[1]},
                    {"resBallasto", v[2]},
                    {"resBallastn", v[3]},
                    {"Uværdi", v[4]}});
    }
    Stored stored() const {
        engine::Recordset rs;
        rs.Open(QStringLiteral("inddata"), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly,
                engine::adCmdTable);
        Stored v;
        const char *names[] = {"isolballasto", "isolballastn", "resBallasto", "resBallastn", "Uværdi"};
        for (int i = 0; i < 5; ++i)
            v[i] = rs.Fields(QString::fromUtf8(names[i])).Value();
        rs.Close();
        return v;
    }
};

void expectValues(const Stored &expected, const Stored &actual) {
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(expected[i].toDouble(), actual[i].toDouble(), 1e-12 * std::abs(expected[i].toDouble()))
            << "value " << i;
}

} // namespace

TEST_F(FoundationRunTest, AnUnforcedRunStoresTheFiveValuesOnlyWhenOneDiffers) {
    const FoundationResult r = ComputeFoundationValues(false, LogNr);
    EXPECT_TRUE(r.stored);
    EXPECT_EQ(QStringLiteral("EPS 150"), r.buildUp.layer2.type);
    EXPECT_EQ(1, r.loads.n);
    EXPECT_TRUE(r.loads.wheelLoad);
    expectValues(kExample, stored());
    EXPECT_FALSE(ComputeFoundationValues(false, LogNr).stored);
    EXPECT_TRUE(messages->shown.empty());
}

// Worked out by hand: one layer stored as the lower one, 200 mm with Eo 5000 and En 3000, on 200 mm of an
// intermediate layer (dry, factor 1.1 applies) over a terrain of 50000; a wooden slab of 22 mm.
TEST_F(FoundationRunTest, OneLowerLayerOnAThickIntermediateLayerWorkedByHand) {
    setLayer({{"IsoleringType", ""}, {"IsoleringTykkelse", 0}});
    setLayer({{"IsoleringType", "EPS 60"},
              {"IsoleringTykkelse", 200},
              {"Eo", 5000},
              {"En", 3000},
              {"LambdaVåd", 0.044},
              {"LambdaTør", 0.035}},
             1);
    setInddata({{"daekType", "Træ"},
                {"dæktykkelse", 22},
                {"terrænballast", 50000},
                {"mellemlagkorr", 1.1},
                {"mellemlaglambda", 2.0},
                {"mellemlagtykkelse", 200}});
    const FoundationResult r = ComputeFoundationValues(false, LogNr);
    EXPECT_EQ(QStringLiteral("Træ"), r.buildUp.slabText);
    EXPECT_FALSE(r.buildUp.upper);
    EXPECT_TRUE(r.buildUp.lower);
    // 25000 · 55000 / 80000 is exactly 17187.5, which the product taken left to right keeps.
    EXPECT_EQ(17187.5, r.values.resBallasto);
    expectValues({25000.0, 15000.0, 17187.5, 11785.714285714288, 0.13646221702366157}, stored());
}

TEST_F(FoundationRunTest, AForcedRunNeverWrites) {
    setStored(kStale);
    const FoundationResult r = ComputeFoundationValues(true, LogNr);
    EXPECT_FALSE(r.stored);
    EXPECT_NEAR(kIso, r.values.isolballasto, 1e-9);
    EXPECT_EQ(kStale, stored());
}

TEST_F(FoundationRunTest, AStoredNullAloneCausesNoStoreButARealDifferenceWritesAllFive) {
    ComputeFoundationValues(false, LogNr);
    setInddata({{"resBallasto", Variant::Null()}});
    EXPECT_FALSE(ComputeFoundationValues(false, LogNr).stored);
    EXPECT_TRUE(stored()[2].isNull());

    setInddata({{"Uværdi", 0.3}});
    EXPECT_TRUE(ComputeFoundationValues(false, LogNr).stored);
    expectValues(kExample, stored());
}

TEST_F(FoundationRunTest, EmptyLoadAndLayerTablesHoldNothing) {
    modMain::cnInddata.Execute(QStringLiteral("DELETE * FROM inddatalast"));
    modMain::cnInddata.Execute(QStringLiteral("DELETE * FROM inddataisolering"));
    const FoundationResult r = ComputeFoundationValues(false, LogNr);
    EXPECT_EQ(0, r.loads.n);
    EXPECT_EQ(FoundationValues{}, r.values);
}

TEST_F(FoundationRunTest, ADivisionByZeroIsReportedForTheMainWindowAndStoresNothing) {
    setInddata({{"mellemlagtykkelse", 0}}); // wet case: the lowest 75 mm use LambdaVåd
    setLayer({{"LambdaVåd", 0}});
    setStored(kStale);

    EXPECT_FALSE(ComputeFoundationValuesReported(false, LogNr));
    ASSERT_EQ(1u, messages->shown.size());
    EXPECT_EQ(data::ErrorReportText(QStringLiteral("Der opstod et problem under eksekvering af Fundator!"),
                                    QStringLiteral("frmMain"), 199, engine::err::DivisionByZero,
                                    engine::runtimeErrorText(engine::err::DivisionByZero)),
              messages->shown[0].text);
    EXPECT_EQ(platform::Icon::Critical, messages->shown[0].icon);
    EXPECT_EQ(kStale, stored());

    // The failed run let go of its recordsets: the next one reads and writes as usual.
    setLayer({{"LambdaVåd", 0.045}});
    EXPECT_TRUE(ComputeFoundationValuesReported(false, LogNr));
    EXPECT_EQ(1u, messages->shown.size());
    EXPECT_NE(kStale, stored());
}

TEST_F(FoundationRunTest, TheWindowlessRunRethrowsWithTheStatementNumberSet) {
    setLayer({{"Eo", Variant::Null()}});
    try {
        ComputeFoundationValues(false, LogNr);
        FAIL() << "no error";
    } catch (const engine::RuntimeError &e) {
        EXPECT_EQ(engine::err::InvalidUseOfNull, e.number());
        EXPECT_EQ(179, LogNr);
    }
    EXPECT_TRUE(messages->shown.empty());
}
