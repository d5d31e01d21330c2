// The input tables: the default input, and the snapshot that tells whether the input changed.

#include "data/change_check.h"
#include "data/connections.h"
#include "data/modmain.h"
#include "platform/message_box.h"
#include "support/databases.h"
#include "table_helpers.h"

#include <functional>
#include <gtest/gtest.h>

using engine::Variant;
using tablehelpers::numbers;

namespace {

class InputTablesTest : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();
    void SetUp() override {
        platform::setMessageService(messages);
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
    }
    void TearDown() override { modMain::cnInddata.Close(); }
    static std::vector<Variant> col(const char *table, const char *field) {
        return tablehelpers::column(modMain::cnInddata, QLatin1String(table), QString::fromUtf8(field));
    }
    // Counted on a connection of its own, so only what was committed counts.
    std::size_t count(const char *table) const {
        return tablehelpers::column(folder.open(QStringLiteral("inddata.mdb")), QLatin1String(table),
                                    QStringLiteral("InddataID"))
            .size();
    }
    void sql(const QString &text) { tablehelpers::alterInddata(folder, text); }
    static void set(const char *table, const char *field, const Variant &v) {
        tablehelpers::setFirst(modMain::cnInddata, QLatin1String(table), QString::fromUtf8(field), v);
    }
    static std::int32_t failingNumber(void (*procedure)()) {
        modMain::LogNr = 0;
        try {
            procedure();
        } catch (const engine::RuntimeError &) {
            return modMain::LogNr;
        }
        return 0;
    }
    // The lines of the one report shown, which is critical.
    QStringList reported() {
        EXPECT_EQ(messages->shown.size(), 1u);
        if (messages->shown.empty())
            return {};
        EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
        const QStringList lines = messages->shown[0].text.split(QChar(13));
        messages->shown.clear();
        return lines;
    }
};

TEST_F(InputTablesTest, InitTopsUpEachTableAndClearEmptiesTheInputOnly) {
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

    set("Firma", "Navn", QStringLiteral("Byg ApS"));
    set("inddata", "daekType", QStringLiteral("Beton"));
    modMain::InitInddata(); // an existing record is kept
    EXPECT_EQ(col("inddata", "daekType"), std::vector<Variant>{QStringLiteral("Beton")});
    modMain::ClearInddata();
    for (const char *table : {"inddata", "inddatalast", "inddataisolering"})
        EXPECT_EQ(count(table), 0u) << table;
    EXPECT_TRUE(col("projekt", "tekst").empty());
    EXPECT_EQ(col("Firma", "Navn"), std::vector<Variant>{QStringLiteral("Byg ApS")});

    // Loads are topped up by count, not by key; more than ten stay as they are.
    sql("INSERT INTO inddatalast (lastid, Lasttype) VALUES (7, 'Punktlast'), (8, ''), (9, '')");
    modMain::InitInddata();
    EXPECT_EQ(col("inddatalast", "lastid"), numbers({7, 8, 9, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(col("inddatalast", "Lasttype")[0], Variant(QStringLiteral("Punktlast")));
    sql("INSERT INTO inddatalast (lastid) VALUES (11), (12)");
    modMain::InitInddata();
    EXPECT_EQ(count("inddatalast"), 12u);
}

TEST_F(InputTablesTest, AFailureStopsAtItsStepAndKeepsWhatWasDone) {
    modMain::InitInddata();
    sql("DROP TABLE inddataisolering");
    EXPECT_EQ(failingNumber(modMain::ClearInddata), 114);
    EXPECT_EQ(count("inddata") + count("inddatalast"), 0u);
    EXPECT_EQ(failingNumber(modMain::InitInddata), 140);
    EXPECT_EQ(count("inddata"), 1u);
    EXPECT_EQ(count("inddatalast"), 10u);

    // A failure that takes the database's transaction with it is what rises; the connection takes the next write.
    sql("CREATE TRIGGER spaerret BEFORE DELETE ON inddatalast BEGIN SELECT RAISE(ROLLBACK, 'spærret'); END");
    try {
        modMain::ClearInddata();
        ADD_FAILURE() << "no error";
    } catch (const engine::RuntimeError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("spærret"))) << e.what();
        EXPECT_EQ(modMain::LogNr, 111);
    }
    sql("DROP TRIGGER spaerret");
    EXPECT_EQ(failingNumber(modMain::ClearInddata), 114);
    EXPECT_EQ(count("inddatalast"), 0u);
}

// Numbers compare as the runtime writes them, to 15 significant digits; Null is a value like any other; a table
// without records is input like any other; the company record is not input.
TEST_F(InputTablesTest, ChangeCheckSeesEveryChangeOfTheInput) {
    const struct {
        const char *what;
        std::function<void()> edit;
        bool changed;
    } cases[] = {
        {"nothing written", [] {}, false},
        {"one character", [] { set("projekt", "tekst", QStringLiteral("Hal 2")); }, true},
        {"only the case", [] { set("inddata", "daekType", QStringLiteral("beton")); }, true},
        {"changed and changed back", [] { set("inddatalast", "Størrelse", 12.5), set("inddatalast", "Størrelse", 0); },
         false},
        {"the same to 15 digits", [] { set("inddata", "Uværdi", 0.1 + 0.2); }, false},
        {"the 14th decimal", [] { set("inddata", "Uværdi", 0.30000000000001); }, true},
        {"company data", [] { set("Firma", "Navn", QStringLiteral("Byg ApS")); }, false},
        {"a Null", [] { set("inddataisolering", "IsoleringType", Variant::Null()); }, true},
        {"a table without records",
         [this] {
             sql("DELETE FROM projekt");
             ChangeCheck::SaveInddataValues();
             set("inddata", "daekType", QStringLiteral("Træ"));
         },
         true},
    };
    for (const auto &c : cases) {
        modMain::ClearInddata();
        modMain::InitInddata();
        set("inddata", "daekType", QStringLiteral("Beton"));
        set("inddata", "Uværdi", 0.3);
        ChangeCheck::SaveInddataValues();
        c.edit();
        EXPECT_EQ(ChangeCheck::InddataChanged(), c.changed) << c.what;
        ChangeCheck::SaveInddataValues();
        EXPECT_FALSE(ChangeCheck::InddataChanged()) << c.what << ", after a new snapshot";
    }
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(InputTablesTest, ChangeCheckFailuresAreReportedAndCountAsAChange) {
    modMain::InitInddata();
    ChangeCheck::SaveInddataValues();
    sql("DELETE FROM inddatalast WHERE lastid = 10");
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    EXPECT_EQ(reported().value(1), "Function: InddataChanged, Log nr. 8");
    ChangeCheck::SaveInddataValues();

    sql("ALTER TABLE inddataisolering RENAME TO gemt");
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    const QStringList lines = reported();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "Der opstod et problem under eksekvering af Fundator!");
    EXPECT_EQ(lines[1], "Function: InddataChanged, Log nr. 10");
    EXPECT_TRUE(lines[2].startsWith("Fejlnr.: -2147217865, ")) << lines[2].toStdString();
    EXPECT_EQ(lines[3], "Gem venligst sessionsdata og kontakt Polystra");

    // A failed snapshot keeps the tables it reached.
    ChangeCheck::SaveInddataValues();
    EXPECT_EQ(reported().value(1), "Function: SaveInddataValues, Log nr. 13");
    sql("ALTER TABLE gemt RENAME TO inddataisolering");
    EXPECT_FALSE(ChangeCheck::InddataChanged());
}

} // namespace
