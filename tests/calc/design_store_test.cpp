// The design driver and its store on real databases: what ends up in the result tables, and what a run-time
// error shows and leaves behind.

#include "calc/analysis_state.h"
#include "calc/design.h"
#include "calc/design_checks.h"
#include "calc/design_input.h"
#include "data/connections.h"
#include "data/error_report.h"
#include "data/table_helpers.h"
#include "engine/errors.h"
#include "platform/message_box.h"
#include "support/databases.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace M2 = Module2;
using engine::Variant;
using tablehelpers::column;

namespace {

const QString kTitle = QStringLiteral("Der opstod et problem under eksekvering af beregningsrutine2!");

class DesignStore : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();

    void SetUp() override {
        platform::setMessageService(messages);
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        designinput::writeConcreteInput();
        designchecks::analysisLeft(5, 8, -1, -1);
    }
    void TearDown() override {
        modMain::cnInddata.Close();
        platform::setMessageService(std::make_shared<platform::RecordingMessages>());
    }

    // The row that the characteristic pass leaves for the design to complete.
    void addResultRow(const char *table) {
        engine::Recordset rs;
        rs.Open(QString::fromUtf8(table), modMain::cnInddata, engine::adOpenDynamic, engine::adLockPessimistic,
                engine::adCmdTable);
        rs.AddNew();
        rs.Fields(QStringLiteral("Deformation")) = 1.25;
        rs.Update();
        rs.Close();
    }
    static void setRemarks(int n) {
        Module1::AntalOplysninger = 0;
        for (int i = 1; i <= n; ++i)
            Module1::saveopl(QStringLiteral("Oplysning nr. %1").arg(i));
    }
    static void setDesignValues() {
        M2::resetState();
        M2::Mkap = 3.5;
        M2::IsoFaktisk = 41.5;
        M2::IsoTilladt = 45;
        M2::IsoFaktisk2 = 0;
        M2::IsoTilladt2 = 0;
        M2::SpaendTraek = 0.8;
        M2::SpaendTryk = 0.9;
        for (int s = 1; s <= 2; ++s)
            for (int k = 1; k <= 5; ++k) {
                M2::AsU[s][k] = 100 * s + k;
                M2::aU[s][k] = 10 * s + k;
                M2::AsO[s][k] = -(100 * s + k);
                M2::aO[s][k] = -(10 * s + k);
            }
    }
    Variant first(const char *table, const char *field) const {
        const auto values = column(modMain::cnInddata, QString::fromUtf8(table), QString::fromUtf8(field));
        return values.empty() ? Variant() : values.front();
    }
    long rows(const char *table) const {
        return long(column(modMain::cnInddata, QString::fromUtf8(table), QStringLiteral("Oplysning")).size());
    }
};

std::vector<Variant> texts(std::initializer_list<const char *> xs) {
    std::vector<Variant> v;
    for (const char *x : xs)
        v.emplace_back(QString::fromUtf8(x));
    return v;
}

} // namespace

TEST_F(DesignStore, ConcreteRowGetsCapacityPressuresAndTwentyReinforcementRowsInOrder) {
    addResultRow("ResultatBeton");
    setDesignValues();
    setRemarks(3);
    M2::StoreDB2();

    EXPECT_EQ(Variant(3.5), first("ResultatBeton", "RetningsmKapUarm"));
    EXPECT_EQ(Variant(41.5), first("ResultatBeton", "IsoFaktisk"));
    EXPECT_EQ(Variant(45.0), first("ResultatBeton", "IsoTilladt"));
    EXPECT_EQ(Variant(0.0), first("ResultatBeton", "IsoFaktisk2"));
    EXPECT_EQ(Variant(0.0), first("ResultatBeton", "IsoTilladt2"));
    EXPECT_EQ(Variant(1.25), first("ResultatBeton", "Deformation"));
    EXPECT_EQ(Variant("Oplysning nr. 3"), first("ResultatBeton", "Oplysning3"));
    EXPECT_EQ(Variant(""), first("ResultatBeton", "Oplysning4"));
    EXPECT_EQ(Variant(""), first("ResultatBeton", "Oplysning5"));

    const auto &cn = modMain::cnInddata;
    const auto arm = [&](const char *f) { return column(cn, QStringLiteral("ResultatArmering"), QLatin1String(f)); };
    const std::vector<int> diam = {6, 6, 8, 8, 10, 10, 12, 12, 16, 16};
    std::vector<Variant> d, s, over, as, a;
    for (int st = 1; st <= 2; ++st)
        for (int i = 0; i < 10; ++i) {
            const int k = i / 2 + 1;
            const bool top = i % 2 == 1;
            d.emplace_back(diam[i]);
            s.emplace_back(st);
            over.emplace_back(top);
            as.emplace_back(double(top ? -(100 * st + k) : 100 * st + k));
            a.emplace_back(double(top ? -(10 * st + k) : 10 * st + k));
        }
    EXPECT_EQ(d, arm("Diameter"));
    EXPECT_EQ(s, arm("StaalType"));
    EXPECT_EQ(over, arm("Overside"));
    EXPECT_EQ(as, arm("As"));
    EXPECT_EQ(a, arm("a"));
    EXPECT_EQ(texts({"Oplysning nr. 1", "Oplysning nr. 2", "Oplysning nr. 3"}),
              column(cn, QStringLiteral("ResultatOplysning"), QStringLiteral("Oplysning")));
    EXPECT_EQ(0L, long(column(cn, QStringLiteral("ResultatBrugdef"), QStringLiteral("IsoFaktisk")).size()));
}

TEST_F(DesignStore, RowShowsTheFirstFiveRemarksAndTheTableAllTen) {
    addResultRow("ResultatBeton");
    setDesignValues();
    setRemarks(10);
    M2::StoreDB2();
    EXPECT_EQ(Variant("Oplysning nr. 1"), first("ResultatBeton", "Oplysning1"));
    EXPECT_EQ(Variant("Oplysning nr. 5"), first("ResultatBeton", "Oplysning5"));
    EXPECT_EQ(10L, rows("ResultatOplysning"));
    EXPECT_EQ(Variant("Oplysning nr. 10"),
              column(modMain::cnInddata, QStringLiteral("ResultatOplysning"), QStringLiteral("Oplysning")).back());
}

TEST_F(DesignStore, OtherSlabTypesGetStressesAndNoReinforcementRows) {
    addResultRow("ResultatBrugdef");
    Module1::ErBeton = false;
    setDesignValues();
    setRemarks(0);
    M2::StoreDB2();
    EXPECT_EQ(Variant(0.8), first("ResultatBrugdef", "RetningsmSpaendTraekFak"));
    EXPECT_EQ(Variant(0.9), first("ResultatBrugdef", "RetningsmSpaendTrykFak"));
    EXPECT_EQ(Variant(41.5), first("ResultatBrugdef", "IsoFaktisk"));
    for (const char *f : {"Oplysning1", "Oplysning5"})
        EXPECT_EQ(Variant(""), first("ResultatBrugdef", f));
    EXPECT_TRUE(column(modMain::cnInddata, QStringLiteral("ResultatArmering"), QStringLiteral("As")).empty());
    EXPECT_TRUE(column(modMain::cnInddata, QStringLiteral("ResultatBeton"), QStringLiteral("IsoFaktisk")).empty());
    EXPECT_EQ(0L, rows("ResultatOplysning"));
}

TEST_F(DesignStore, WholeCalculationCompletesTheResultTables) {
    ASSERT_EQ(0, Module1::Beregn1(true));
    ASSERT_EQ(0, Module1::Beregn1(false));
    ASSERT_EQ(0, M2::Beregn2());
    EXPECT_TRUE(messages->shown.empty());

    // 40 kN x 1.5 in the middle of a 150 mm slab: more than the plain section carries, little steel needed.
    // Capacity by hand: kh = (1 / 1.5)^0.25, fbt = kh x 1.6 x 1800 / 2.5, W = 0.15² / 6.
    designchecks::expectNear(std::pow(1 / 1.5, 0.25) * 1.6 * 720.0 * 0.0225 / 6.0, M2::Mkap);
    EXPECT_EQ(Variant(M2::Mkap), first("ResultatBeton", "RetningsmKapUarm"));
    // A long-term load only: the pressure is the deflection times the long-term modulus.
    designchecks::expectNear(Module1::umax * 11538.461538461539, M2::IsoFaktisk);
    EXPECT_GT(Module1::MmaxDim, M2::Mkap);
    EXPECT_EQ(20L, long(column(modMain::cnInddata, QStringLiteral("ResultatArmering"), QStringLiteral("a")).size()));
    EXPECT_EQ(Variant(M2::aU[1][3]),
              column(modMain::cnInddata, QStringLiteral("ResultatArmering"), QStringLiteral("a"))[4]);
    EXPECT_GT(M2::aU[1][3], 0.0);
    EXPECT_EQ(Variant(M2::IsoFaktisk), first("ResultatBeton", "IsoFaktisk"));
    EXPECT_EQ(Variant(Module1::Oplysninger[1]), first("ResultatBeton", "Oplysning1"));
    EXPECT_EQ(Variant("Sikkerhed for gennemlokning er i orden"), first("ResultatBeton", "Oplysning1"));
    EXPECT_EQ(long(Module1::AntalOplysninger), rows("ResultatOplysning"));
}

TEST_F(DesignStore, NullInputIsReportedWithTheReadingStatementAndNothingIsWritten) {
    addResultRow("ResultatBeton");
    designinput::setInddata({{"dæktykkelse", Variant::Null()}});
    EXPECT_EQ(2, M2::Beregn2());
    ASSERT_EQ(1u, messages->shown.size());
    const auto &m = messages->shown[0];
    EXPECT_EQ(QStringLiteral("Der opstod et problem under eksekvering af beregningsrutine2!\r"
                             "Function: Beregn2, Log nr. 5\r"
                             "Fejlnr.: 94, Invalid use of Null\r"
                             "Gem venligst sessionsdata og kontakt Polystra"),
              m.text);
    EXPECT_EQ(platform::Icon::Critical, m.icon);
    EXPECT_EQ(platform::Buttons::Ok, m.buttons);
    EXPECT_EQ(QStringLiteral("Fundator"), m.caption);
    EXPECT_TRUE(first("ResultatBeton", "RetningsmKapUarm").isNull());
    EXPECT_TRUE(column(modMain::cnInddata, QStringLiteral("ResultatArmering"), QStringLiteral("a")).empty());
}

TEST_F(DesignStore, MissingLowerLayerRowIsReportedWithItsStatement) {
    tablehelpers::alterInddata(folder, QStringLiteral("DELETE FROM inddataisolering WHERE lagnr = 2"));
    addResultRow("ResultatBeton");
    EXPECT_EQ(2, M2::Beregn2());
    ASSERT_EQ(1u, messages->shown.size());
    EXPECT_TRUE(messages->shown[0].text.contains(QStringLiteral("Function: Beregn2, Log nr. 7\r")));
}

TEST_F(DesignStore, MissingResultRowStopsTheStoreBeforeItWritesAnything) {
    EXPECT_EQ(2, M2::Beregn2());
    ASSERT_EQ(1u, messages->shown.size());
    // At the move to the row (5) or at its first field (7), as the engine reports an empty table.
    const QString &text = messages->shown[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("Function: StoreDB2, Log nr. "))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\rFejlnr.: 3021, "))) << text.toStdString();
    EXPECT_TRUE(column(modMain::cnInddata, QStringLiteral("ResultatArmering"), QStringLiteral("a")).empty());
}

TEST_F(DesignStore, ErrorLateInTheStoreKeepsWhatWasWrittenBeforeIt) {
    tablehelpers::alterInddata(folder, QStringLiteral("DROP TABLE ResultatOplysning"));
    addResultRow("ResultatBeton");
    setRemarks(2);
    EXPECT_EQ(2, M2::Beregn2());
    ASSERT_EQ(1u, messages->shown.size());
    EXPECT_TRUE(messages->shown[0].text.contains(QStringLiteral("Function: StoreDB2, Log nr. 30\r")));

    // Reopened, so that nothing uncommitted could be read back.
    modMain::cnInddata.Close();
    modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
    EXPECT_EQ(Variant(M2::Mkap), first("ResultatBeton", "RetningsmKapUarm"));
    EXPECT_EQ(Variant("Oplysning nr. 2"), first("ResultatBeton", "Oplysning2"));
    EXPECT_EQ(20L, long(column(modMain::cnInddata, QStringLiteral("ResultatArmering"), QStringLiteral("a")).size()));
}

TEST_F(DesignStore, TableThatNeverOpenedFailsToCloseAndThatErrorGoesToTheCaller) {
    tablehelpers::alterInddata(folder, QStringLiteral("DROP TABLE inddataisolering"));
    try {
        M2::Beregn2();
        FAIL() << "no error from the close";
    } catch (const engine::RuntimeError &e) {
        EXPECT_EQ(engine::err::ObjectClosed, e.number());
    }
    ASSERT_EQ(1u, messages->shown.size());
    EXPECT_TRUE(messages->shown[0].text.contains(QStringLiteral("Function: Beregn2, Log nr. 3\r")));
}

TEST_F(DesignStore, ArithmeticFaultNamesTheProcedureEnteredLast) {
    addResultRow("ResultatBeton");
    designinput::setInddata({{"TrykstyrkeRgm", 0.0}});
    EXPECT_EQ(2, M2::Beregn2());
    ASSERT_EQ(1u, messages->shown.size());
    EXPECT_EQ(data::ErrorReportText(kTitle, QStringLiteral("BeregnArmering"), 2, engine::err::DivisionByZero,
                                    QStringLiteral("Division by zero")),
              messages->shown[0].text);
}
