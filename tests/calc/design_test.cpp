// The design: the plain section's capacity, reinforcement layouts, pressure on the insulation, the stresses of other
// slab types, and the store and its errors on real databases.

#include "calc/design.h"
#include "calc/design_checks.h"

#include <cmath>
#include <gtest/gtest.h>

namespace M1 = Module1;
namespace M2 = Module2;
using designchecks::expectNear;
namespace err = engine::err;
using designchecks::remarks;
using engine::Variant;
using std::tie, std::tuple;

namespace {

const QString kUarmeret = QStringLiteral("Pladen kan holde uarmeret"),
              kBrud = QStringLiteral("Brud ! Pladen kan ikke holde"),
              kTrykBrud = QStringLiteral("Brud ! Tryk på isolering er for stort");

bool anySaved(const M2::Skema &spacing, int s) {
    return std::any_of(spacing[s] + 1, spacing[s] + 1 + M2::kDiametre, [](double a) { return a != 0; });
}

// The area per metre of bars of diameter d that gives the spacing s.
double areaFor(int d, double s) { return 3.14159 / 4.0 * (d * d) * 1000.0 / s; }

// A 150 mm slab of C25 after the analysis left these design moments, on one 200 mm layer, 1 mm deflection.
void analysisLeft(double MmaxDim, double MminDim, double fcd = 17, double t = 0.15) {
    tie(M1::AntalOplysninger, M1::ErBeton, M1::KortLast, M1::umax) = tuple(0, true, false, 0.001);
    tie(M1::Mmax, M1::MmaxDim, M1::Mmin, M1::MminDim, M1::Laster) = tuple(5, MmaxDim, -2, MminDim, M1::LastRecord{});
    tie(M2::t, M2::ftk, M2::c, M2::fcd, M2::ftd, M2::wmax, M2::k0, M2::kn) =
        tuple(t, 1700, 25, fcd, 1.2, 0, 15e3, 15e3);
    tie(M2::h1, M2::Zigmao1, M2::Zigman1, M2::h2, M2::Zigmao2, M2::Zigman2) = tuple(0.2, 100, 100, 0, 0, 0);
    M2::resetState();
}

} // namespace

TEST(DesignPass, PlainCapacityDecidesTheRemarkAndWhichSidesGetReinforcement) {
    for (const auto &[t, kh] : {std::pair(0.08, 1.0), std::pair(0.1, 1.0), std::pair(0.16, 0.8891397050194614),
                                std::pair(0.15, 0.9036020036098448)}) {
        analysisLeft(5, -3, 17, t);
        M2::designPass();
        EXPECT_NEAR(kh, M2::kh, 1e-15) << t; // a size bonus only above 100 mm
        expectNear(t * t / 6 * kh * 1.6 * 1700 / 2.5, M2::Mkap);
    }
    const double Mkap = M2::Mkap, above = std::nextafter(Mkap, 1e9);
    struct Row {
        double MmaxDim, MminDim, fcd;
        int bottom, top; // layouts saved for both steel types, -1 not looked at
        std::vector<QString> remarks;
    } rows[] = {
        {Mkap, -Mkap, 17, 1, 0, {kUarmeret}}, // equal counts as unreinforced but is reinforced anyway
        {above, -above, 17, 1, 1, {}},
        {500, -500, 17, 0, 0, {kBrud}},  // once for both sides; no layout left from an earlier run
        {7, -500, 17, 1, 0, {}},         // a failing top after a saved bottom adds no remark
        {1686, -3, 500, -1, 0, {kBrud}}, // within the ratio limits but more steel than a 25 mm spacing holds
    };
    for (const Row &r : rows) {
        analysisLeft(r.MmaxDim, r.MminDim, r.fcd);
        M2::designPass();
        EXPECT_EQ(r.remarks, remarks()) << r.MmaxDim;
        for (int s = 1; s <= 2; ++s) {
            EXPECT_TRUE(r.bottom < 0 || bool(r.bottom) == (anySaved(M2::aU, s) && anySaved(M2::AsU, s))) << r.MmaxDim;
            EXPECT_EQ(bool(r.top), anySaved(M2::aO, s) && anySaved(M2::AsO, s)) << r.MminDim << " type " << s;
        }
    }
    analysisLeft(0.1, -3);
    M1::umax = 0.01; // 150 kN/m² on the insulation
    M1::saveopl(QStringLiteral("Sikkerhed for gennemlokning er i orden"));
    M2::designPass();
    EXPECT_EQ((std::vector<QString>{QStringLiteral("Sikkerhed for gennemlokning er i orden"), kUarmeret, kTrykBrud}),
              remarks());

    analysisLeft(1, -3); // other slab types: stresses instead of reinforcement
    tie(M1::ErBeton, M2::ftd, M2::Mkap) = tuple(false, 0.5, 0);
    M2::designPass();
    EXPECT_FALSE(anySaved(M2::aU, 1) || anySaved(M2::aU, 2));
    EXPECT_EQ(0.0, M2::Mkap);
    expectNear(6 * 3.0 / (0.15 * 0.15 * 1000), M2::SpaendTryk);
    EXPECT_EQ(std::vector<QString>{QStringLiteral("Pladen kan ikke holde !")}, remarks());
}

// One bottom layout of steel type 1 from the minimum area (the area for the spacing computed) or a crack width.
TEST(Reinforcement, SpacingIsRoundedDownInStepsCappedWithEnoughSteelAndNarrowedForCracks) {
    struct Row {
        double t;
        int d;
        double computed, saved, area; // area 0: the area of the saved spacing
        double M = 0, wmax = 0;
    } rows[] = {
        {0.2, 10, 237.6, 225.0, 0},        // whole steps of 25 mm, rounded down
        {0.2, 6, 140.0, 125.0, 226.19448}, // 3.14159 / 4 x 36 x (1000 / 125), bit for bit
        {0.2, 10, 300.0, 300.0, 0},        // the limit of a 200 mm slab
        {0.1, 12, 250.0, 250.0, 0},        // 2.5 times 100 mm
        {0.2, 10, 330.0, 300.0, 262.0},    // 325: the capped layout
        {0.2, 6, 330.0, 150.0, 188.0},
        // 100 mm: the table's layout only where it holds the area needed, else 2.5 t in whole steps
        {0.1, 16, 305.0, 250.0, 804.24704}, // 300: needs 670.21, the table holds 670.0
        {0.1, 10, 305.0, 300.0, 262.0},     // 300: 261.8 needed, 262.0 held
        {0.095, 8, 255.0, 225.0, 0},        // 250 needs 201.1, the table holds 168.0
        {0.2, 10, 49.0, 0.0, 0.0},          // one step: not saved
        // 150 mm, 25 mm cover: 200 mm would crack 0.51 mm at 10 kNm/m, 150 mm still more than 0.3
        {0.15, 10, 200.0, 125.0, 0, 10.0, 0.3},
        {0.15, 10, 200.0, 0.0, 0, 10.0, 0.001}, // cannot be met: nothing saved
    };
    for (const Row &r : rows) {
        M2::resetState();
        tie(M2::t, M2::c, M2::fcd, M2::ftk, M2::wmax, M2::kh, M2::fyd) =
            tuple(r.t, r.t < 0.12 ? 10 : 20, 20, 0, r.wmax, 1, 293);
        if (r.wmax)
            M2::c = 25;
        M2::AsMin = areaFor(r.d, r.computed);
        const int i = int(std::find(M2::kDiameter, M2::kDiameter + 6, r.d) - M2::kDiameter);
        M2::BeregnArmering(1, r.d, i, r.M, r.M, QStringLiteral("u"), 0.505);
        EXPECT_EQ(r.saved, M2::aU[1][i]) << r.t << " " << r.d << " " << r.computed;
        expectNear(r.area != 0 || r.saved == 0 ? r.area : areaFor(r.d, r.saved), M2::AsU[1][i], 1e-12);
        EXPECT_EQ(0.0, M2::aO[1][i]);
    }
    // Both steel types at their own minimum area: 0.9 x 1760 x 1.6 MPa x 0.2 / 2122.2, 320.4 mm²/m for type 1.
    analysisLeft(0, 0, 20, 0.2);
    tie(M2::c, M2::ftk, M2::kh) = tuple(20, 1600.0, 0.9);
    M2::BeregnArmeringsSkema(0.0, 0.0, QStringLiteral("u"));
    expectNear(0.9 * 1760.0 * 1600.0 * 0.2 / 2122.2, M2::AsMin);
    EXPECT_EQ(150.0, M2::aU[1][2]); // 8 mm bars: 156.9 mm, so 150
    EXPECT_TRUE(anySaved(M2::aU, 2));
}

// 0.002 m of deflection on 20000 kN/m³ long term (40 kN/m²) or 30000 short term, one or two layers.
TEST(Insulation, PressureOfEachLayerAgainstWhatItAllows) {
    struct Row {
        double h1, zigman1, zigmao1, h2, zigman2, zigmao2, umax;
        std::vector<std::pair<const char *, double>> loads;
        double tilladt, tilladt2, faktisk, faktisk2; // NaN: not looked at
        bool broken;
    } rows[] = {
        {0.2, 60, 50, 0.0, 0, 0, 0.002, {}, 60, 0, 40, 0, false},
        {0.2, 60, 50, 0.0, 0, 0, 0.004, {}, 60, 0, 80, 0, true},
        {0.0, 0, 0, 0.2, 45, 55, 0.002, {}, 45, 0, 40, 0, false}, // the lower layer alone takes the upper's place
        {0.03, 60, 70, 0.02, 80, 90, 0.002, {}, 60 * 1.67, 80 * 1.67, 40, NAN, false}, // thin, long-term loads
        {0.05, 60, 70, 0.05, 80, 90, 0.002, {}, 60 * (1 + 2.0 / 9), 80 * (1 + 2.0 / 9), 40, NAN, false},
        {0.051, 60, 70, 0.0, 0, 0, 0.002, {}, 60 * (1 + 2.0 / 225 * 74), 0, 40, 0, false},
        {0.075, 60, 70, 0.05, 80, 90, 0.002, {}, 60, 80, 40, NAN, false},
        {0.03, 60, 70, 0.02, 80, 90, 0.002, {{"H", 50}}, 70, 90, 60, NAN, false},      // a wheel: no raise for k0
        {0.1, 60, 70, 0.1, 80, 90, 0.002, {{"F", 5}, {"F", 3}}, 60, 80, 40, 8, false}, // area loads pass unchanged
        {0.1, 60, 70, 0.1, 80, 90, 0.25, {{"F", 5}, {"F", 3}}, 60, 80, 5000, 8, true},
        // 60 kN spread through 100 mm: r = (60 / 38)^0.5, (r / (0.2 + r))² 38 + 2
        {0.1, 60, 70, 0.1, 80, 90, 0.002, {{"V", 10}, {"F", 2}}, 60, 80, 40, 30.280915448173438, false}, // 6 m
        {0.1, 60, 70, 0.1, 80, 90, 0.002, {{"S", 40}, {"L", 20}, {"F", 2}}, 60, 80, 40, 30.280915448173438, false},
        {0.2, 40, 0, 0.1, 10, 0, 0.002, {{"S", 100}}, 40, 10, 40, 25.478284314644025, true}, // upper at its limit
        {0.2, 40, 0, 0.1, 1000, 0, 0.002, {{"S", 100}}, 40, 1000, 40, 25.478284314644025, false},
    };
    for (const Row &r : rows) {
        analysisLeft(0, 0);
        tie(M1::umax, M2::k0, M2::kn) = tuple(r.umax, 30000, 20000);
        tie(M2::h1, M2::Zigman1, M2::Zigmao1, M2::h2, M2::Zigman2, M2::Zigmao2) =
            tuple(r.h1, r.zigman1, r.zigmao1, r.h2, r.zigman2, r.zigmao2);
        for (const auto &[kode, size] : r.loads) {
            auto &L = M1::Laster;
            const int i = ++L.AntalLaster;
            tie(L.Kode[i], L.Stoerrelse[i]) = tuple(kode, size);
            M1::KortLast |= kode == std::string("H");
        }
        M2::Isoleringstryk();
        SCOPED_TRACE(::testing::Message() << r.h1 << " / " << r.h2 << ", " << r.loads.size() << " loads");
        expectNear(r.tilladt, M2::IsoTilladt);
        expectNear(r.tilladt2, M2::IsoTilladt2);
        expectNear(r.faktisk, M2::IsoFaktisk);
        if (!std::isnan(r.faktisk2))
            expectNear(r.faktisk2, M2::IsoFaktisk2);
        EXPECT_EQ(r.broken ? std::vector<QString>{kTrykBrud} : std::vector<QString>{}, remarks());
    }
}

TEST(DesignErrors, RaiseWithTheProcedureAndStatement) {
    struct Row {
        void (*setup)();
        void (*call)();
        int number;
        const char *function;
        int logNr;
    } rows[] = {
        {[] { M2::AsMin = 0; }, [] { M2::BeregnArmering(1, 10, 3, 0, 0, "u", 0.505); }, engine::err::DivisionByZero,
         "BeregnArmering", 8},
        {[] { M2::AsMin = 1e-6; }, [] { M2::BeregnArmering(1, 10, 3, 0, 0, "u", 0.505); }, engine::err::Overflow,
         "BeregnArmering", 9}, // a spacing of 7.9e10 mm
        {[] {                  // more area load than the slab presses with
             auto &L = M1::Laster;
             tie(M2::h1, M2::h2, M2::Zigman2, L.AntalLaster) = tuple(0.1, 0.1, 80, 2);
             tie(L.Kode[1], L.Stoerrelse[1], L.Kode[2], L.Stoerrelse[2]) = tuple("F", 50, "S", 10);
         },
         M2::Isoleringstryk, engine::err::InvalidProcedureCall, "Isoleringstryk", 4},
        {[] { M2::h1 = 40.0; }, M2::Isoleringstryk, engine::err::Overflow, "Isoleringstryk", 3}, // 40000 mm: 16 bits
        {[] { M2::t = 0; }, M2::DaekSpend, engine::err::DivisionByZero, "DaekSpend", 3},
    };
    for (const Row &r : rows) {
        analysisLeft(12, -15, 20, 0.2);
        tie(M2::c, M2::fyd, M2::kh) = tuple(20, 293, 1);
        r.setup();
        SCOPED_TRACE(r.function);
        designchecks::expectRaises(r.call, r.number, r.function, r.logNr);
    }
}

using Calculation = designchecks::CalcDatabase;

TEST_F(Calculation, CompletesTheResultRowAndItsTwentyReinforcementRows) {
    ASSERT_EQ(0, M1::Beregn1(true));
    const double MmaxDim = M1::Mmax, MminDim = M1::Mmin, umaxDim = M1::umax;
    ASSERT_EQ(0, M1::Beregn1(false));
    ASSERT_EQ(0, M2::Beregn2());
    EXPECT_TRUE(messages->shown.empty());
    expectNear(1.5 * M1::Mmax, MmaxDim, 1e-9); // a linear slab: the design pass times the partial coefficient
    expectNear(1.5 * M1::umax, umaxDim, 1e-9);
    // 40 kN x 1.5 in the middle of 150 mm: kh = (1 / 1.5)^0.25, fbt = kh x 1.6 x 1800 / 2.5, W = 0.15² / 6.
    expectNear(std::pow(1 / 1.5, 0.25) * 1.6 * 720.0 * 0.0225 / 6.0, M2::Mkap);
    EXPECT_GT(M1::MmaxDim, M2::Mkap);
    expectNear(M1::umax * 11538.461538461539, M2::IsoFaktisk); // a long-term load only
    const std::pair<const char *, Variant> row[] = {{"KarakteristiskMaxPos", M1::Mmax},
                                                    {"KarakteristiskMaxNeg", M1::Mmin},
                                                    {"RetningsmMaxPos", MmaxDim},
                                                    {"RetningsmMaxNeg", MminDim},
                                                    {"Deformation", M1::umax * 1000},
                                                    {"Uværdi", 0.15},
                                                    {"RetningsmKapUarm", M2::Mkap},
                                                    {"IsoFaktisk", M2::IsoFaktisk},
                                                    {"IsoTilladt", 45.0},
                                                    {"IsoFaktisk2", 0.0},
                                                    {"Oplysning2", ""},
                                                    {"Oplysning1", "Sikkerhed for gennemlokning er i orden"}};
    for (const auto &[field, value] : row)
        EXPECT_EQ(std::vector<Variant>{value}, column("ResultatBeton", field)) << field;
    EXPECT_EQ(std::vector<Variant>{Variant("Sikkerhed for gennemlokning er i orden")},
              column("ResultatOplysning", "Oplysning"));
    std::vector<Variant> diameter, type, top, spacing;
    for (int s = 1; s <= 2; ++s)
        for (int i = 0; i < 10; ++i) {
            diameter.emplace_back(M2::kDiameter[i / 2 + 1]);
            type.emplace_back(s);
            top.emplace_back(i % 2 == 1);
            spacing.emplace_back((i % 2 ? M2::aO : M2::aU)[s][i / 2 + 1]);
        }
    EXPECT_EQ(diameter, column("ResultatArmering", "Diameter"));
    EXPECT_EQ(type, column("ResultatArmering", "StaalType"));
    EXPECT_EQ(top, column("ResultatArmering", "Overside"));
    EXPECT_EQ(spacing, column("ResultatArmering", "a"));
    EXPECT_GT(M2::aU[1][3], 0.0);
}

TEST_F(Calculation, RunTimeErrorIsShownWithItsProcedureAndStatementAndWhatWasWrittenStays) {
    // In full once: the design reads a Null, and nothing is written.
    ASSERT_EQ(0, M1::Beregn1(true));
    ASSERT_EQ(0, M1::Beregn1(false));
    designinput::setInddata({{"dæktykkelse", Variant::Null()}});
    EXPECT_EQ(2, M2::Beregn2());
    EXPECT_EQ(QStringLiteral("Der opstod et problem under eksekvering af beregningsrutine2!\r"
                             "Function: Beregn2, Log nr. 5\r"
                             "Fejlnr.: 94, Invalid use of Null\r"
                             "Gem venligst sessionsdata og kontakt Polystra"),
              shown());
    EXPECT_EQ(QStringLiteral("Fundator"), messages->shown[0].caption);
    EXPECT_TRUE(first("ResultatBeton", "RetningsmKapUarm").isNull());
    EXPECT_TRUE(column("ResultatArmering", "a").empty());

    struct Row {
        const char *sql; // run on the database before the failing step
        int step;        // 1 the design pass, 2 the characteristic pass, 3 the design
        const char *function;
        int logNr, number;
        const char *description; // nullptr: the engine's own
        std::size_t armering;    // reinforcement rows the design leaves
    } rows[] = {
        {"UPDATE inddata SET resBallastn = 0", 1, "Stivhedsmatrix", 6, err::Overflow, "Overflow", 0}, // 0 / 0
        {"UPDATE inddata SET resBallastn = 0; UPDATE inddatalast SET Lasttype = 'Fladelast'", 2, "Fladelast", 0,
         err::DivisionByZero, "Division by zero", 0},
        {"UPDATE inddata SET dæktykkelse = NULL", 1, "Laesdata", 4, err::InvalidUseOfNull, "Invalid use of Null", 0},
        // the result row fails after the punching check, whose names are left
        {"DROP TABLE ResultatBeton; CREATE TABLE ResultatBeton (Deformation DOUBLE)", 2, "saveopl", 0, 0, nullptr, 0},
        {"UPDATE inddata SET TrykstyrkeRgm = 0", 3, "BeregnArmering", 2, err::DivisionByZero, "Division by zero", 0},
        {"DELETE FROM inddataisolering WHERE lagnr = 2", 3, "Beregn2", 7, 0, nullptr, 0}, // the lower layer's row
        {"DROP TABLE ResultatOplysning", 3, "StoreDB2", 30, 0, nullptr, 20}, // late in the store: the rest is kept
        {"DROP TABLE ResultatArmering", 1, "init", 5, err::DbNoSuchTable, "no such table: ResultatArmering", 0},
    };
    for (const Row &r : rows) {
        testsupport::DatabaseFolder fresh; // each row breaks a table of its own
        modMain::cnInddata.Close();
        modMain::cnInddata = fresh.open(QStringLiteral("inddata.mdb"));
        designinput::writeConcreteInput();
        for (int step = 1; step < r.step; ++step)
            ASSERT_EQ(0, step < 3 ? M1::Beregn1(step == 1) : M2::Beregn2());
        tablehelpers::alterInddata(fresh, QString::fromUtf8(r.sql));
        messages->shown.clear();
        EXPECT_EQ(r.step < 3 ? 1 : 2, r.step < 3 ? M1::Beregn1(r.step == 1) : M2::Beregn2()) << r.sql;
        const QString text = shown(),
                      title = QStringLiteral("Der opstod et problem under eksekvering af beregningsrutine%1!")
                                  .arg(r.step < 3 ? 1 : 2);
        const QString expected = r.description
                                     ? data::ErrorReportText(title, r.function, r.logNr, r.number, r.description)
                                     : QStringLiteral("Function: %1, Log nr. %2\r").arg(r.function).arg(r.logNr);
        EXPECT_TRUE(r.description ? text == expected : text.contains(expected)) << text.toStdString();
        modMain::cnInddata.Close(); // reopened, so that nothing uncommitted could be read back
        modMain::cnInddata = fresh.open(QStringLiteral("inddata.mdb"));
        EXPECT_TRUE(r.step < 3 || r.armering == column("ResultatArmering", "a").size()) << r.sql;
        modMain::cnInddata.Close();
    }
    modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
    // A table that never opened fails to close, and that error goes to the caller.
    tablehelpers::alterInddata(folder, QStringLiteral("DROP TABLE inddataisolering"));
    messages->shown.clear();
    try {
        M2::Beregn2();
        ADD_FAILURE() << "no error from the close";
    } catch (const engine::RuntimeError &e) {
        EXPECT_EQ(engine::err::ObjectClosed, e.number());
    }
    EXPECT_TRUE(shown().contains(QStringLiteral("Function: Beregn2, Log nr. 3\r")));
}
