// The slab analysis: the grid, the loads, the solver, whole passes against a separate model, punching, and the
// driver on real databases.

#include "calc/analysis_solver.h"
#include "calc/analysis_state.h"
#include "calc/design_checks.h"
#include "calc/design_input.h"
#include "data/table_helpers.h"
#include "engine/errors.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <tuple>
#include <vector>

namespace M1 = Module1;
using designchecks::expectNear;
using designchecks::expectRaises;
using std::tie, std::tuple;
namespace err = engine::err;

namespace {

int wDof(int row, int column) { return 3 * (9 * (row - 1) + column - 1) + 1; }

void addLoad(const char *kode, const char *placering, double size, double afstandFra = 0, double afstand = 0) {
    auto &L = M1::Laster;
    const int i = ++L.AntalLaster;
    tie(L.Kode[i], L.FormBogstav[i], L.PlaceringBogstav[i]) = tuple(kode, "K", QString::fromUtf8(placering));
    tie(L.Stoerrelse[i], L.Bredde[i], L.Laengde[i], L.PartialK[i]) = tuple(size, 0.1, 0.1, 1.0);
    tie(L.AfstandFra[i], L.Afstand[i]) = tuple(afstandFra, afstand);
}

// Concrete on 18750 kN/m³ short term, no loads.
void slab(double t = 0.15, double En = 10300e3, double Gn = 4300e3, double resBallastn = 11538) {
    M1::resetState();
    M1::Laster = {};
    tie(M1::Eo, M1::Go, M1::resBallasto, M1::tau, M1::ErBeton, M1::umaxDim) = tuple(31000e3, 12900e3, 18750, 700, 1, 0);
    tie(M1::t, M1::En, M1::Gn, M1::resBallastn) = tuple(t, En, Gn, resBallastn);
    M1::Topologi();
}

} // namespace

TEST(Loads, LandOnTheirNodesWithTheWeightsOfTheirPositionAndAreReducedAtAJoint) {
    struct Row {
        const char *kode, *placering;
        double size, afstandFra, afstand, reduced;
        std::vector<tuple<int, int, double>> entries; // deflection load at node (row, column), column 0: all nine
    } rows[] = {
        {"S", "M", 40.0, 1.0, 0.0, 40.0, {{5, 5, 40.0}}},               // the middle: wholly on the centre node
        {"H", "M", 50.0, 0.0, 0.0, 50.0, {{5, 5, 50.0}}},               // a wheel load: short term only
        {"S", "K", 10.0, 0.0, 0.0, 10.0, {{1, 5, 15.0}, {2, 5, -5.0}}}, // y = 0: extrapolated from two rows
        {"L", "M", 20.0, 0.0, 6.0, 20.0, {{5, 1, 30.0}, {5, 2, -10.0}, {5, 8, -10.0}, {5, 9, 30.0}}}, // field edges
        // Nodes lie mid-cell, 1/3 m in: x = 2.0 and 4.0 fall halfway between columns; the pair is halved once.
        {"L",
         "F",
         20.0,
         0.0,
         2.0,
         10.0,
         {{1, 3, 7.5}, {1, 4, 7.5}, {2, 3, -2.5}, {2, 4, -2.5}, {1, 6, 7.5}, {1, 7, 7.5}, {2, 6, -2.5}, {2, 7, -2.5}}},
        {"S", "F", 100.0, 1.5, 0.0, 62.5, {{2, 5, 15.625}, {3, 5, 46.875}}}, // 1 - (1 - 0.5²) / 2 at half the reach
        {"S", "F", 100.0, 3.0, 0.0, 100.0, {{5, 5, 100.0}}},
        {"V", "K", 5.0, 1.5, 0.0, 5.0, {{2, 0, 5.0 / 6}, {3, 0, 2.5}}}, // 6/9 m a node, a quarter on row 2 (1.0 m)
    };
    for (const Row &r : rows) {
        slab();
        addLoad(r.kode, r.placering, r.size, r.afstandFra, r.afstand);
        M1::Hoejreside(M1::Laster);
        M1::DofVector expected = {};
        for (const auto &[row, column, value] : r.entries)
            for (int c = column ? column : 1; c <= (column ? column : 9); ++c)
                expected[wDof(row, c)] = value;
        const bool wheel = r.kode == std::string("H");
        for (int i = 1; i <= 243; ++i) {
            ASSERT_NEAR(expected[i], (wheel ? M1::FKort : M1::FLang)[i], 1e-11) << r.kode << r.placering << i;
            ASSERT_EQ(0.0, (wheel ? M1::FLang : M1::FKort)[i]) << r.kode << r.placering << i;
        }
        EXPECT_NEAR(r.reduced, M1::Laster.Stoerrelse[1], 1e-12) << r.kode << r.placering;
    }
    slab();
    addLoad("S", "K", 10.0, 6.0); // past the last row that the input check allows
    expectRaises([] { M1::Hoejreside(M1::Laster); }, err::SubscriptOutOfRange, "Punktlast", 4);
}

// Reference values from a separate model of the same grillage, solved densely by Gaussian elimination. NaN: the
// model gave no value.
TEST(Pass, AgreesWithASeparateDenseModel) {
    struct Row {
        const char *kode, *placering;
        double size, afstandFra, Mmax, Mmin, umax, reducedSize;
    } rows[] = {
        {"S", "M", 40.0, 0.0, 8.0240970052725764, -1.1257498505711898, 8.522177565568449e-4, 40},
        {"H", "F", 50.0, 0.5, 7.2161023077953814, -1.2032233283263851, 5.1724038947212607e-4, 25.694444444444443},
        {"V", "K", 10.0, 0.2, 0.44375409292154333, -1.7944743809722354, 1.6299565565904394e-3, 10},
        {"F", "M", 5.0, 0.0, 0.0, 0.0, 5.0 / 11538, 5.0}, // settles the slab, bends nothing
        // 22 mm, En 4000 MPa on 5000 kN/m³: the edge rotates more than any node deflects, the deflection counts.
        {"S", "K", 3.0, 0.1, NAN, NAN, 3.2300036496433894e-3, 3.0},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(::testing::Message() << r.kode << r.placering << " " << r.size);
        std::isnan(r.Mmax) ? slab(0.022, 4000e3, 4000e3 / 2.4, 5000) : slab();
        addLoad(r.kode, r.placering, r.size, r.afstandFra);
        M1::analysePass();
        if (!std::isnan(r.Mmax)) {
            expectNear(r.Mmax, M1::Mmax, 1e-10);
            expectNear(r.Mmin, M1::Mmin, 1e-10);
        }
        EXPECT_NEAR(r.umax, M1::umax, 1e-10 * r.umax);
        EXPECT_NEAR(r.reducedSize, M1::Laster.Stoerrelse[1], 1e-12 * r.size);
    }
}

// t = 0.25, tau = 3, umaxDim = 0.001: R = tau t u + relief, relief = (2t + b) (2t + l) k umaxDim, tied at R = Fd.
TEST(Punching, ResistanceOfEachShapeAgainstTheDesignLoad) {
    const QString safe = QStringLiteral("Sikkerhed for gennemlokning er i orden"),
                  failure = QStringLiteral("Brud ! Fare for gennemlokning"),
                  notChecked = QStringLiteral("Der er ikke undersøgt for gennemlokning !");
    struct Row {
        const char *kode, *form;
        double size, b, l, partialK;
        int loads;
        bool concrete;
        QString remark;
    } rows[] = {
        {"S", "K", 4.0, 0.5, 0.0, 1, 1, true, safe}, // square 1.0: u = 4, relief 1.0; R = 3 + 1
        {"S", "K", 4.000001, 0.5, 0.0, 1, 1, true, failure},
        {"S", "C", 4.000001, 0.5, 0.0, 1, 1, true, failure}, // a circle counts as a square of its diameter
        {"H", "K", 5.0, 0.5, 0.0, 1, 1, true, safe},         // a wheel: relief 2.0 with the short-term 2000
        {"S", "R", 6.5, 0.5, 1.5, 1, 1, true, safe},         // u = 2 (1.5 + 0.5 + 1.0) = 6, relief 2
        {"S", "R", 6.500001, 0.5, 1.5, 1, 1, true, failure},
        {"V", "L", 5.25, 0.5, 0.0, 1, 1, true, safe}, // a line as 1.0 m long: u = 5, relief 1.5
        {"V", "L", 5.250001, 0.5, 0.0, 1, 1, true, failure},
        {"S", "X", 0.000001, 0.5, 0.0, 1, 1, true, failure}, // no perimeter and no relief
        {"S", "K", 3.5, 0.5, 0.0, 1.2, 1, true, failure},    // the design load 4.2 against 4.0
        {"S", "K", 1.0, 0.5, 0.0, 1, 2, true, notChecked},
        {"S", "K", 1.0, 0.5, 0.0, 1, 1, false, notChecked},
        {"F", "", 100.0, 0.0, 0.0, 1, 1, true, QString()}, // an area load is not checked, silently
    };
    for (const Row &r : rows) {
        slab(0.25);
        tie(M1::tau, M1::resBallasto, M1::resBallastn, M1::umaxDim, M1::ErBeton) =
            tuple(3, 2000, 1000, 0.001, r.concrete);
        addLoad(r.kode, "M", r.size);
        auto &L = M1::Laster;
        tie(L.AntalLaster, L.FormBogstav[1], L.Bredde[1], L.Laengde[1], L.PartialK[1]) =
            tuple(r.loads, r.form, r.b, r.l, r.partialK);
        M1::Gennemlokning(M1::Laster);
        EXPECT_EQ(r.remark.isEmpty() ? 0 : 1, M1::AntalOplysninger);
        EXPECT_EQ(r.remark, M1::Oplysninger[1]) << r.kode << r.form << " " << r.size;
    }
    M1::resetState();
    for (int i = 1; i <= 11; ++i) // ten remarks are kept, an eleventh dropped
        M1::saveopl(QString::number(i));
    EXPECT_EQ(10, M1::AntalOplysninger);
    EXPECT_EQ(QStringLiteral("10"), M1::Oplysninger[10]);
}

namespace {

M1::BandMatrix K, K0;
M1::DofVector F, u;

// A random symmetric positive-definite band matrix B Bᵀ (B a lower band with a dominant diagonal), and a load.
void randomBand(int n, int m, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> B(static_cast<size_t>(n + 1) * (n + 1), 0.0);
    for (int r = 1; r <= n; ++r)
        for (int p = std::max(1, r - m + 1); p <= r; ++p)
            B[r * (n + 1) + p] = p == r ? m + dist(rng) * 0.5 : dist(rng);
    std::memset(K0, 0, sizeof K0);
    for (int r = 1; r <= n; ++r)
        for (int p = std::max(1, r - m + 1); p <= r; ++p)
            for (int q = 1; q <= p; ++q)
                K0[r][p - r + m] += B[r * (n + 1) + q] * B[p * (n + 1) + q];
    for (int i = 1; i <= n; ++i)
        F[i] = dist(rng);
}

// Every vector width the processor offers, then back to the widest.
template <class Body> void forEachWidth(Body body) {
    for (int lanes : {8, 4, 2})
        if (M1::useSolverLanes(lanes)) {
            SCOPED_TRACE(::testing::Message() << lanes << " lanes");
            std::memcpy(K, K0, sizeof K);
            body();
        }
    M1::useSolverLanes(0);
}

} // namespace

TEST(Solver, SolvesRandomBandsAtEveryWidth) {
    for (const auto &[n, m] : {std::pair(243, 30), std::pair(60, 8), std::pair(40, 1), std::pair(7, 3)}) {
        randomBand(n, m, 1234u + n + m);
        forEachWidth([n, m] {
            M1::Solver(n, m, K, F, u);
            for (int r = 1; r <= n; ++r) { // A u = F, with A from the band kept aside
                double s = 0.0;
                for (int p = std::max(1, r - m + 1); p <= std::min(n, r + m - 1); ++p)
                    s += (p <= r ? K0[r][p - r + m] : K0[p][r - p + m]) * u[p];
                ASSERT_NEAR(F[r], s, 1e-12 * m) << n << "x" << m << ", row " << r;
            }
        });
    }
    EXPECT_THROW(M1::Solver(244, 30, K, F, u), engine::RuntimeError); // shapes outside the storage
    EXPECT_THROW(M1::Solver(243, 31, K, F, u), engine::RuntimeError);
}

TEST(Solver, MatrixThatIsNotPositiveDefiniteRaisesWhereThePlainLoopWould) {
    struct Row {
        int isolated; // row and column uncoupled from the others, so that its pivot is exactly what is set
        std::vector<std::tuple<int, int, double>> set;
        int number, logNr;
    } rows[] = {
        {1, {{1, 30, -1.0}}, err::InvalidProcedureCall, 2},
        {240, {{240, 30, -1.0}}, err::InvalidProcedureCall, 7},
        {1, {{1, 30, 0.0}}, err::Overflow, 5}, // 0 / 0 below an uncoupled zero pivot
        {230, {{230, 30, 0.0}}, err::Overflow, 10},
        {243, {{243, 30, 0.0}}, err::DivisionByZero, 16}, // a load over it
        {50, {{50, 30, 0.0}, {51, 29, 1.0}}, err::DivisionByZero, 5},
        {40, {{40, 30, 1e-300}, {41, 29, 1e200}}, err::Overflow, 5}, // L (41, 40) = 1e200 / 1e-150
        // The sum for L (102, 101) holds 1e300 x 1e10 and is reported before the division of its row.
        {100, {{100, 30, 1.0}, {101, 29, 1e10}, {102, 28, 1e300}, {101, 30, 1e21}}, err::Overflow, 4},
    };
    for (const Row &r : rows) {
        randomBand(243, 30, 5u);
        for (int c = 1; c < 30; ++c)
            K0[r.isolated][c] = 0.0;
        for (int i = r.isolated + 1; i <= std::min(243, r.isolated + 29); ++i)
            K0[i][r.isolated - i + 30] = 0.0;
        for (const auto &[row, column, value] : r.set)
            K0[row][column] = value;
        forEachWidth([&r] {
            SCOPED_TRACE(::testing::Message() << "row " << r.isolated);
            expectRaises([] { M1::Solver(243, 30, K, F, u); }, r.number, "Solver", r.logNr);
        });
    }
}

using Driver = designchecks::CalcDatabase;
using engine::Variant;

TEST_F(Driver, ReadsTheSlabAndTheLoadsInTableOrderSkippingEmptyRows) {
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
                             {"Placering", "Kant"},
                             {"Afstand", 1.2},
                             {"Størrelse", 20.0},
                             {"PartialK", 1.5}});
    M1::Dimensionering = false;
    M1::Laesdata();
    const double slab[] = {M1::Eo, M1::En, M1::Go, M1::Gn, M1::resBallasto, M1::t, M1::tau};
    EXPECT_EQ((std::vector<double>{31000e3, 10300e3, 12900e3, 4300e3, 18750, 0.15, 700}),
              std::vector<double>(std::begin(slab), std::end(slab)));
    const auto &L = M1::Laster;
    ASSERT_EQ(2, L.AntalLaster);
    EXPECT_EQ((QStringList{"H", "R", "F", "L", "C", "K"}),
              (QStringList{L.Kode[1], L.FormBogstav[1], L.PlaceringBogstav[1], L.Kode[2], L.FormBogstav[2],
                           L.PlaceringBogstav[2]}));
    const double load[] = {L.Bredde[1], L.Laengde[1], L.AfstandFra[1], L.Stoerrelse[1], L.PartialK[1], L.Afstand[2]};
    EXPECT_EQ((std::vector<double>{0.2, 0.3, 0.5, 50.0, 1.3, 1.2}), std::vector<double>(load, load + 6));
    M1::Dimensionering = true; // the design pass: sizes times their partial coefficients
    M1::Laesdata();
    EXPECT_DOUBLE_EQ(50.0 * 1.3, M1::Laster.Stoerrelse[1]);
    EXPECT_DOUBLE_EQ(20.0 * 1.5, M1::Laster.Stoerrelse[2]);
}

TEST_F(Driver, CharacteristicPassStoresOneRowOfItsSlabType) {
    struct Row {
        const char *daekType, *table, *other, *max, *min, *maxDim, *minDim, *remark;
    } rows[] = {{"Beton", "ResultatBeton", "ResultatBrugdef", "KarakteristiskMaxPos", "KarakteristiskMaxNeg",
                 "RetningsmMaxPos", "RetningsmMaxNeg", "Sikkerhed for gennemlokning er i orden"},
                {"Træ", "ResultatBrugdef", "ResultatBeton", "KarakteristiskMax", "KarakteristiskMin", "RetningsmMax",
                 "RetningsmMin", "Der er ikke undersøgt for gennemlokning !"}};
    for (const Row &r : rows) {
        SCOPED_TRACE(r.daekType);
        designinput::setInddata({{"daekType", r.daekType}, {"TraekstyrkeRgm", 2.5}, {"TrykstyrkeRgm", 11.0}});
        for (const char *table : {"ResultatBeton", "ResultatBrugdef"})
            modMain::cnInddata.Execute(QStringLiteral("INSERT INTO %1 (Deformation) VALUES (9.0)").arg(table));
        modMain::cnInddata.Execute("INSERT INTO ResultatArmering (Diameter) VALUES (8)");
        modMain::cnInddata.Execute("INSERT INTO ResultatOplysning (Oplysning) VALUES ('x')");
        ASSERT_EQ(0, M1::Beregn1(true));
        EXPECT_TRUE(column(r.table, "Deformation").empty()) << "the design pass stores nothing";
        const double MmaxDim = M1::Mmax, MminDim = M1::Mmin, umaxDim = M1::umax;
        ASSERT_EQ(0, M1::Beregn1(false));
        EXPECT_TRUE(messages->shown.empty());
        expectNear(1.5 * M1::Mmax, MmaxDim, 1e-9); // a linear slab: the design pass times the partial coefficient
        expectNear(1.5 * M1::umax, umaxDim, 1e-9);
        EXPECT_EQ(std::vector<Variant>{M1::umax * 1000.0}, column(r.table, "Deformation"));
        EXPECT_EQ(Variant(M1::Mmax), first(r.table, r.max));
        EXPECT_EQ(Variant(M1::Mmin), first(r.table, r.min));
        EXPECT_EQ(Variant(MmaxDim), first(r.table, r.maxDim));
        EXPECT_EQ(Variant(MminDim), first(r.table, r.minDim));
        EXPECT_EQ(Variant(0.15), first(r.table, "Uværdi"));
        for (const auto &[table, field] : {std::pair(r.other, "Deformation"), std::pair("ResultatArmering", "Diameter"),
                                           std::pair("ResultatOplysning", "Oplysning")})
            EXPECT_TRUE(column(table, field).empty()) << table;
        EXPECT_EQ(std::vector<QString>{QString::fromUtf8(r.remark)}, designchecks::remarks());
    }
    EXPECT_EQ(Variant(2.5), first("ResultatBrugdef", "RetningsmSpaendTraekTil"));
    EXPECT_EQ(Variant(11.0), first("ResultatBrugdef", "RetningsmSpaendTrykTil"));
}

TEST_F(Driver, RunTimeErrorIsShownWithItsProcedureAndStatementAndTheTablesStayEmptied) {
    const QString title = QStringLiteral("Der opstod et problem under eksekvering af beregningsrutine1!");
    struct Row {
        void (*setup)(const testsupport::DatabaseFolder &);
        bool design;
        const char *function;
        int logNr, number;
        const char *description;
        long remarksLeft; // rows left in ResultatOplysning
    } rows[] = {
        {[](auto &) {
             designinput::setInddata({{"resBallastn", 0.0}});
         },
         true, "Stivhedsmatrix", 6, err::Overflow, "Overflow", 0}, // 0 / 0 in the stiffness terms
        {[](auto &) {
             designinput::setInddata({{"resBallastn", 0.0}});
             designinput::setLoad(1, {{"Lasttype", "Fladelast"}});
         },
         false, "Fladelast", 0, err::DivisionByZero, "Division by zero", 0},
        {[](auto &) {
             designinput::setInddata({{"dæktykkelse", Variant::Null()}});
         },
         true, "Laesdata", 4, err::InvalidUseOfNull, "Invalid use of Null", 0},
        // The result row fails after the punching check, whose names are left.
        {[](auto &f) {
             M1::Beregn1(true);
             tablehelpers::alterInddata(f, QStringLiteral("DROP TABLE ResultatBeton; "
                                                          "CREATE TABLE ResultatBeton (KarakteristiskMaxPos DOUBLE)"));
         },
         false, "saveopl", 0, 0, nullptr, 0},
        {[](auto &f) { tablehelpers::alterInddata(f, QStringLiteral("DROP TABLE ResultatArmering")); }, true, "init", 5,
         err::DbNoSuchTable, "no such table: ResultatArmering", 1}, // the commands after it never ran
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.function);
        designinput::writeConcreteInput();
        modMain::cnInddata.Execute("INSERT INTO ResultatBeton (KarakteristiskMaxPos) VALUES (9.0)");
        modMain::cnInddata.Execute("INSERT INTO ResultatOplysning (Oplysning) VALUES ('x')");
        r.setup(folder);
        messages->shown.clear();
        EXPECT_EQ(1, M1::Beregn1(r.design));
        const QString text = shown();
        const QString expected = r.description
                                     ? data::ErrorReportText(title, r.function, r.logNr, r.number, r.description)
                                     : title + "\rFunction: " + r.function + ", Log nr. 0\r";
        EXPECT_TRUE(r.description ? text == expected : text.startsWith(expected)) << text.toStdString();
        EXPECT_TRUE(column("ResultatBeton", "KarakteristiskMaxPos").empty());
        EXPECT_EQ(r.remarksLeft, long(column("ResultatOplysning", "Oplysning").size()));
    }
}
