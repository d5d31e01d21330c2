#include "data/connections.h"
#include "data/modmain.h"
#include "support/databases.h"
#include "table_helpers.h"

#include <gtest/gtest.h>

using engine::Variant;
using tablehelpers::column;
using tablehelpers::numbers;

namespace {

class InputTablesTest : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    void SetUp() override { modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb")); }
    void TearDown() override { modMain::cnInddata.Close(); }
    static std::vector<Variant> col(const char *table, const char *field) {
        return column(modMain::cnInddata, QLatin1String(table), QString::fromUtf8(field));
    }
    // Counted on a connection of its own, so only what was committed counts.
    std::size_t count(const QString &table) const {
        return column(folder.open(QStringLiteral("inddata.mdb")), table,
                      table == QStringLiteral("projekt") ? QStringLiteral("tekst") : QStringLiteral("InddataID"))
            .size();
    }
    void addLoads(std::initializer_list<int> ids) {
        QString sql;
        for (int id : ids)
            sql += QStringLiteral("INSERT INTO inddatalast (lastid, Lasttype) VALUES (%1, 'Punktlast');").arg(id);
        tablehelpers::alterInddata(folder, sql);
    }
    std::int32_t failingNumber(void (*procedure)()) {
        modMain::LogNr = 0;
        try {
            procedure();
        } catch (const engine::RuntimeError &) {
            return modMain::LogNr;
        }
        return 0;
    }
};

TEST_F(InputTablesTest, DefaultInputAfterClearAndInit) {
    modMain::ClearInddata();
    modMain::InitInddata();
    engine::Recordset rs;
    rs.Open(QStringLiteral("inddata"), modMain::cnInddata, engine::adOpenStatic);
    ASSERT_EQ(rs.RecordCount(), 1);
    for (const auto &[field, value] : modMain::InddataDefaults())
        EXPECT_EQ(rs.Fields(field).Value(), value) << field.toStdString();
    rs.Close();
    EXPECT_EQ(col("inddatalast", "lastid"), numbers({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(col("inddatalast", "PartialK"), std::vector<Variant>(10, 1.0));
    EXPECT_EQ(col("inddatalast", "Lasttype"), std::vector<Variant>(10, QString()));
    EXPECT_EQ(col("inddataisolering", "lagnr"), numbers({1, 2}));
    EXPECT_EQ(col("inddataisolering", "Eo"), numbers({1, 1}));
    EXPECT_EQ(col("inddataisolering", "En"), numbers({1, 1}));
    EXPECT_EQ(col("projekt", "tekst"), std::vector<Variant>{QString()});
    EXPECT_EQ(modMain::LogNr, 149);
}

TEST_F(InputTablesTest, ClearEmptiesTheInputOnlyAndInitAddsToEachTable) {
    modMain::InitInddata();
    tablehelpers::setFirst(modMain::cnInddata, QStringLiteral("Firma"), QStringLiteral("Navn"),
                           QStringLiteral("Byg ApS"));
    modMain::ClearInddata();
    for (const char *table : {"inddata", "inddatalast", "inddataisolering", "projekt"})
        EXPECT_EQ(count(QLatin1String(table)), 0u) << table;
    EXPECT_EQ(col("Firma", "Navn"), std::vector<Variant>{QStringLiteral("Byg ApS")});
    EXPECT_EQ(modMain::LogNr, 126);
}

TEST_F(InputTablesTest, LoadsAreToppedUpByCountNotByKey) {
    addLoads({7, 8, 9});
    modMain::InitInddata();
    EXPECT_EQ(col("inddatalast", "lastid"), numbers({7, 8, 9, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(col("inddatalast", "Lasttype")[0], Variant(QStringLiteral("Punktlast")));
}

TEST_F(InputTablesTest, MoreThanTenLoadsStayAsTheyAre) {
    addLoads({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    modMain::InitInddata();
    EXPECT_EQ(col("inddatalast", "lastid"), numbers({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST_F(InputTablesTest, AnExistingInddataRecordIsKept) {
    modMain::InitInddata();
    tablehelpers::setFirst(modMain::cnInddata, QStringLiteral("inddata"), QStringLiteral("daekType"),
                           QStringLiteral("Beton"));
    modMain::InitInddata();
    EXPECT_EQ(col("inddata", "daekType"), std::vector<Variant>{QStringLiteral("Beton")});
}

TEST_F(InputTablesTest, AMissingTableStopsAtItsStepAndKeepsWhatWasDone) {
    modMain::InitInddata();
    tablehelpers::alterInddata(folder, QStringLiteral("DROP TABLE inddataisolering"));
    EXPECT_EQ(failingNumber(modMain::ClearInddata), 114);
    EXPECT_EQ(count(QStringLiteral("inddata")), 0u);
    EXPECT_EQ(count(QStringLiteral("inddatalast")), 0u);
    EXPECT_EQ(failingNumber(modMain::InitInddata), 140);
    EXPECT_EQ(count(QStringLiteral("inddata")), 1u);
    EXPECT_EQ(count(QStringLiteral("inddatalast")), 10u);
}

// A failure that takes the database's transaction with it: the failure is what rises, and the connection
// takes the next write.
TEST_F(InputTablesTest, AFailureThatEndsTheTransactionIsTheErrorThatRises) {
    modMain::InitInddata();
    tablehelpers::alterInddata(folder, QStringLiteral("CREATE TRIGGER spaerret BEFORE DELETE ON inddatalast "
                                                      "BEGIN SELECT RAISE(ROLLBACK, 'inddatalast er spærret'); END"));
    try {
        modMain::ClearInddata();
        FAIL() << "no error";
    } catch (const engine::RuntimeError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("inddatalast er spærret"))) << e.what();
        EXPECT_EQ(modMain::LogNr, 111);
    }
    tablehelpers::alterInddata(folder, QStringLiteral("DROP TRIGGER spaerret"));
    modMain::ClearInddata();
    EXPECT_EQ(count(QStringLiteral("inddatalast")), 0u);
}

} // namespace
