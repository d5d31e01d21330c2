// The analysis driver on real databases: reading the input, the two passes, the result row, and what a run-time
// error shows and leaves behind.

#include "calc/analysis_state.h"
#include "calc/design_input.h"
#include "data/connections.h"
#include "data/table_helpers.h"
#include "engine/errors.h"
#include "platform/message_box.h"
#include "support/databases.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace M1 = Module1;
using engine::Variant;
using tablehelpers::column;

namespace {

const QString kTitle = QStringLiteral("Der opstod et problem under eksekvering af beregningsrutine1!");

void expectRel(double expected, double actual, double rel) {
    EXPECT_NEAR(expected, actual, std::abs(expected) * rel) << "expected " << expected << ", got " << actual;
}

class Analysis : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();

    void SetUp() override {
        platform::setMessageService(messages);
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        designinput::writeConcreteInput(); // 150 mm concrete, one point load of 40 kN in the middle, PartialK 1.5
        M1::MmaxDim = M1::MminDim = M1::umaxDim = 0.0;
    }
    void TearDown() override {
        modMain::cnInddata.Close();
        platform::setMessageService(std::make_shared<platform::RecordingMessages>());
    }
    long rows(const char *table) { return static_cast<long>(column(modMain::cnInddata, table, "Deformation").size()); }
    long count(const char *table, const char *field) {
        return static_cast<long>(column(modMain::cnInddata, table, field).size());
    }
    double first(const char *table, const char *field) {
        const auto values = column(modMain::cnInddata, table, field);
        EXPECT_EQ(1u, values.size());
        return values.empty() ? 0.0 : values.front().toDouble();
    }
    // A row in every result table, as a previous calculation leaves them.
    void fillResultTables() {
        modMain::cnInddata.Execute("INSERT INTO ResultatBeton (Deformation) VALUES (9.0)");
        modMain::cnInddata.Execute("INSERT INTO ResultatBrugdef (Deformation) VALUES (9.0)");
        modMain::cnInddata.Execute("INSERT INTO ResultatArmering (Diameter) VALUES (8)");
        modMain::cnInddata.Execute("INSERT INTO ResultatOplysning (Oplysning) VALUES ('x')");
    }
    QString shownText() {
        EXPECT_EQ(1u, messages->shown.size());
        if (messages->shown.empty())
            return {};
        EXPECT_EQ(platform::Icon::Critical, messages->shown[0].icon);
        EXPECT_EQ(platform::Buttons::Ok, messages->shown[0].buttons);
        return messages->shown[0].text;
    }
    static QString message(const char *function, int logNr, int number, const QString &text) {
        const QChar cr(13);
        return kTitle + cr + QStringLiteral("Function: %1, Log nr. %2").arg(QString::fromUtf8(function)).arg(logNr) +
               cr + QStringLiteral("Fejlnr.: %1, ").arg(number) + text + cr +
               QStringLiteral("Gem venligst sessionsdata og kontakt Polystra");
    }
};

TEST_F(Analysis, ReadsTheSlabAndTheLoadsInTableOrderSkippingEmptyRows) {
    designinput::setLoad(1, {{"Lasttype", ""}});
    designinput::setLoad(3, {{"Lasttype", "Hjultryk"},
                             {"LastForm", "Rektangel"},
                             {"bredde", 200.0},
                             {"længde", 300.0},
                             {"Placering", "Fuge"},
                             {"Afstandfra", 500.0},
                             {"Størrelse", 50.0},
                             {"PartialK", 1.3}});
    designinput::setLoad(7, {{"Lasttype", "Lastpar"},
                             {"LastForm", "Cirkel"},
                             {"bredde", 100.0},
                             {"Placering", "Kant"},
                             {"Afstand", 1.2},
                             {"Størrelse", 20.0},
                             {"PartialK", 1.5}});
    M1::Dimensionering = false;
    M1::Laesdata();
    EXPECT_DOUBLE_EQ(31000.0e3, M1::Eo);
    EXPECT_DOUBLE_EQ(10300.0e3, M1::En);
    EXPECT_DOUBLE_EQ(12900.0e3, M1::Go);
    EXPECT_DOUBLE_EQ(4300.0e3, M1::Gn);
    EXPECT_DOUBLE_EQ(18750.0, M1::resBallasto);
    EXPECT_DOUBLE_EQ(0.15, M1::t);
    EXPECT_DOUBLE_EQ(700.0, M1::tau);
    EXPECT_TRUE(M1::ErBeton);

    const auto &L = M1::Laster;
    ASSERT_EQ(2, L.AntalLaster);
    EXPECT_EQ(QStringLiteral("H"), L.Kode[1]);
    EXPECT_EQ(QStringLiteral("R"), L.FormBogstav[1]);
    EXPECT_EQ(QStringLiteral("F"), L.PlaceringBogstav[1]);
    EXPECT_DOUBLE_EQ(0.2, L.Bredde[1]);
    EXPECT_DOUBLE_EQ(0.3, L.Laengde[1]);
    EXPECT_DOUBLE_EQ(0.5, L.AfstandFra[1]);
    EXPECT_DOUBLE_EQ(50.0, L.Stoerrelse[1]);
    EXPECT_DOUBLE_EQ(1.3, L.PartialK[1]);
    EXPECT_EQ(QStringLiteral("L"), L.Kode[2]);
    EXPECT_EQ(QStringLiteral("C"), L.FormBogstav[2]);
    EXPECT_EQ(QStringLiteral("K"), L.PlaceringBogstav[2]);
    EXPECT_DOUBLE_EQ(1.2, L.Afstand[2]);
    EXPECT_TRUE(L.Kode[3].isEmpty());

    M1::Dimensionering = true;
    M1::Laesdata();
    EXPECT_DOUBLE_EQ(50.0 * 1.3, M1::Laster.Stoerrelse[1]);
    EXPECT_DOUBLE_EQ(20.0 * 1.5, M1::Laster.Stoerrelse[2]);
}

TEST_F(Analysis, ConcreteCalculationLeavesOneRowInResultatBeton) {
    fillResultTables();
    ASSERT_EQ(0, M1::Beregn1(true));
    EXPECT_EQ(0, rows("ResultatBeton")) << "the design pass stores nothing";
    EXPECT_EQ(0, rows("ResultatBrugdef"));
    const double MmaxDim = M1::Mmax, MminDim = M1::Mmin, umaxDim = M1::umax;
    EXPECT_EQ(MmaxDim, M1::MmaxDim);
    EXPECT_EQ(umaxDim, M1::umaxDim);

    ASSERT_EQ(0, M1::Beregn1(false));
    EXPECT_TRUE(messages->shown.empty());
    // A linear slab: the design pass is the characteristic one times the partial coefficient.
    expectRel(1.5 * M1::Mmax, MmaxDim, 1e-9);
    expectRel(1.5 * M1::umax, umaxDim, 1e-9);
    EXPECT_GT(M1::Mmax, 0.0);

    EXPECT_EQ(0, rows("ResultatBrugdef"));
    EXPECT_EQ(0, count("ResultatArmering", "Diameter"));
    EXPECT_EQ(0, count("ResultatOplysning", "Oplysning"));
    EXPECT_EQ(M1::Mmax, first("ResultatBeton", "KarakteristiskMaxPos"));
    EXPECT_EQ(M1::Mmin, first("ResultatBeton", "KarakteristiskMaxNeg"));
    EXPECT_EQ(M1::umax * 1000.0, first("ResultatBeton", "Deformation"));
    EXPECT_EQ(0.15, first("ResultatBeton", "Uværdi"));
    EXPECT_EQ(MmaxDim, first("ResultatBeton", "RetningsmMaxPos"));
    EXPECT_EQ(MminDim, first("ResultatBeton", "RetningsmMaxNeg"));
    EXPECT_TRUE(column(modMain::cnInddata, "ResultatBeton", "RetningsmKapUarm").front().isNull());

    // Only the characteristic pass's punching remark survives.
    ASSERT_EQ(1, M1::AntalOplysninger);
    EXPECT_EQ(QStringLiteral("Sikkerhed for gennemlokning er i orden"), M1::Oplysninger[1]);
}

TEST_F(Analysis, OtherSlabTypeLeavesOneRowInResultatBrugdef) {
    designinput::setInddata({{"daekType", "Træ"}, {"TraekstyrkeRgm", 2.5}, {"TrykstyrkeRgm", 11.0}});
    fillResultTables();
    ASSERT_EQ(0, M1::Beregn1(true));
    ASSERT_EQ(0, M1::Beregn1(false));
    EXPECT_EQ(0, rows("ResultatBeton"));
    EXPECT_EQ(M1::Mmax, first("ResultatBrugdef", "KarakteristiskMax"));
    EXPECT_EQ(M1::Mmin, first("ResultatBrugdef", "KarakteristiskMin"));
    EXPECT_EQ(2.5, first("ResultatBrugdef", "RetningsmSpaendTraekTil"));
    EXPECT_EQ(11.0, first("ResultatBrugdef", "RetningsmSpaendTrykTil"));
    EXPECT_EQ(M1::umax * 1000.0, first("ResultatBrugdef", "Deformation"));
    EXPECT_EQ(0.15, first("ResultatBrugdef", "Uværdi"));
    EXPECT_EQ(M1::MmaxDim, first("ResultatBrugdef", "RetningsmMax"));
    EXPECT_EQ(M1::MminDim, first("ResultatBrugdef", "RetningsmMin"));
    ASSERT_EQ(1, M1::AntalOplysninger);
    EXPECT_EQ(QStringLiteral("Der er ikke undersøgt for gennemlokning !"), M1::Oplysninger[1]);
}

TEST_F(Analysis, DeformationIsStoredInMillimetres) {
    M1::ErBeton = true;
    M1::Mmax = 12.25;
    M1::Mmin = -3.5;
    M1::umax = 0.0042;
    M1::MmaxDim = 18.0;
    M1::MminDim = -5.0;
    M1::StoreDB1();
    EXPECT_EQ(4.2, first("ResultatBeton", "Deformation"));
    EXPECT_EQ(12.25, first("ResultatBeton", "KarakteristiskMaxPos"));
    EXPECT_EQ(-5.0, first("ResultatBeton", "RetningsmMaxNeg"));
}

TEST_F(Analysis, ZeroSubgradeModulusIsReportedFromStivhedsmatrix) {
    designinput::setInddata({{"resBallastn", 0.0}});
    fillResultTables();
    EXPECT_EQ(1, M1::Beregn1(true));
    // k = 0 makes the stiffness terms 0/0, an overflow in the old runtime.
    EXPECT_EQ(message("Stivhedsmatrix", 6, 6, QStringLiteral("Overflow")), shownText());
    // The tables emptied before the error stay empty.
    EXPECT_EQ(0, rows("ResultatBeton"));
    EXPECT_EQ(0, rows("ResultatBrugdef"));
    EXPECT_EQ(0, count("ResultatArmering", "Diameter"));
    EXPECT_EQ(0, count("ResultatOplysning", "Oplysning"));
}

TEST_F(Analysis, AreaLoadOnZeroSubgradeModulusIsReportedFromFladelast) {
    designinput::setInddata({{"resBallastn", 0.0}});
    designinput::setLoad(1, {{"Lasttype", "Fladelast"}});
    EXPECT_EQ(1, M1::Beregn1(false));
    EXPECT_EQ(message("Fladelast", 0, 11, QStringLiteral("Division by zero")), shownText());
    EXPECT_EQ(0, rows("ResultatBeton"));
}

TEST_F(Analysis, NullInputIsReportedFromLaesdata) {
    designinput::setInddata({{"dæktykkelse", Variant::Null()}});
    EXPECT_EQ(1, M1::Beregn1(true));
    EXPECT_EQ(message("Laesdata", 4, 94, QStringLiteral("Invalid use of Null")), shownText());
}

TEST_F(Analysis, FailedEmptyingIsReportedFromInitAndKeepsWhatWasEmptied) {
    fillResultTables();
    tablehelpers::alterInddata(folder, QStringLiteral("DROP TABLE ResultatArmering"));
    EXPECT_EQ(1, M1::Beregn1(true));
    EXPECT_EQ(message("init", 5, engine::err::DbNoSuchTable, QStringLiteral("no such table: ResultatArmering")),
              shownText());
    EXPECT_EQ(0, rows("ResultatBeton"));
    EXPECT_EQ(0, rows("ResultatBrugdef"));
    EXPECT_EQ(1, count("ResultatOplysning", "Oplysning")) << "the commands after the failing one never ran";
}

TEST_F(Analysis, FailedResultRowIsReportedWithTheNamesThePunchingCheckLeft) {
    ASSERT_EQ(0, M1::Beregn1(true));
    tablehelpers::alterInddata(folder, QStringLiteral("DROP TABLE ResultatBeton; "
                                                      "CREATE TABLE ResultatBeton (KarakteristiskMaxPos DOUBLE)"));
    EXPECT_EQ(1, M1::Beregn1(false));
    const QString text = shownText();
    EXPECT_TRUE(text.startsWith(kTitle + QChar(13) + QStringLiteral("Function: saveopl, Log nr. 0") + QChar(13)))
        << text.toStdString();
    EXPECT_EQ(0, count("ResultatBeton", "KarakteristiskMaxPos"));
}

} // namespace
