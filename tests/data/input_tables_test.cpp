// The input tables: the default input, and the snapshot that tells whether the input changed.

#include "data/change_check.h"
#include "data/modmain.h"
#include "table_helpers.h"

#include <functional>

using engine::Variant;

namespace {

class InputTablesTest : public tablehelpers::InddataTest {
protected:
    // One field of every record, read on a connection of its own, so only what was committed counts.
    std::vector<Variant> col(const char *table, const char *field) const {
        return tablehelpers::column(folder.open(QStringLiteral("inddata.mdb")), QLatin1String(table),
                                    QString::fromUtf8(field));
    }
    void sql(const QString &text) { tablehelpers::alterInddata(folder, text); }
    static void set(const char *table, const char *field, const Variant &v) {
        tablehelpers::setFirst(modMain::cnInddata, QLatin1String(table), QString::fromUtf8(field), v);
    }
};

TEST_F(InputTablesTest, InitTopsUpEachTableAndClearEmptiesTheInputOnly) {
    modMain::ClearInddata();
    modMain::InitInddata();
    EXPECT_EQ(col("inddata", "daekType"), std::vector<Variant>{QString()});
    EXPECT_EQ(col("inddatalast", "lastid"), tablehelpers::numbers({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(col("inddatalast", "PartialK"), std::vector<Variant>(10, 1.0));
    EXPECT_EQ(col("inddataisolering", "lagnr"), tablehelpers::numbers({1, 2}));
    EXPECT_EQ(col("inddataisolering", "Eo"), tablehelpers::numbers({1, 1}));
    EXPECT_EQ(col("projekt", "tekst"), std::vector<Variant>{QString()});

    set("Firma", "Navn", QStringLiteral("Byg ApS"));
    set("inddata", "daekType", QStringLiteral("Beton"));
    modMain::InitInddata(); // an existing record is kept
    EXPECT_EQ(col("inddata", "daekType"), std::vector<Variant>{QStringLiteral("Beton")});
    modMain::ClearInddata();
    for (const char *table : {"inddata", "inddatalast", "inddataisolering", "projekt"})
        EXPECT_TRUE(col(table, table[0] == 'p' ? "tekst" : "InddataID").empty()) << table;
    EXPECT_EQ(col("Firma", "Navn"), std::vector<Variant>{QStringLiteral("Byg ApS")});

    // Loads are topped up by count, not by key; more than ten stay as they are.
    sql("INSERT INTO inddatalast (lastid, Lasttype) VALUES (7, 'Punktlast'), (8, ''), (9, '')");
    modMain::InitInddata();
    EXPECT_EQ(col("inddatalast", "lastid"), tablehelpers::numbers({7, 8, 9, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(col("inddatalast", "Lasttype")[0], Variant(QStringLiteral("Punktlast")));
    sql("INSERT INTO inddatalast (lastid) VALUES (11), (12)");
    modMain::InitInddata();
    EXPECT_EQ(col("inddatalast", "lastid").size(), 12u);
}

// Numbers compare as the runtime writes them, to 15 significant digits; Null is a value like any other; a table
// without records is input like any other; the company record is not input.
TEST_F(InputTablesTest, ChangeCheckSeesEveryChangeOfTheInput) {
    // clang-format off
    const struct { const char *what; std::function<void()> edit; bool changed; } cases[] = {
        {"nothing written", [] {}, false},
        {"one character", [] { set("projekt", "tekst", QStringLiteral("Hal 2")); }, true},
        {"only the case", [] { set("inddata", "daekType", QStringLiteral("beton")); }, true},
        {"changed back", [] { set("inddatalast", "Størrelse", 12.5), set("inddatalast", "Størrelse", 0); }, false},
        {"the same to 15 digits", [] { set("inddata", "Uværdi", 0.1 + 0.2); }, false},
        {"the 14th decimal", [] { set("inddata", "Uværdi", 0.30000000000001); }, true},
        {"company data", [] { set("Firma", "Navn", QStringLiteral("Byg ApS")); }, false},
        {"a Null", [] { set("inddataisolering", "IsoleringType", Variant::Null()); }, true},
        {"a table without records", [this] {
             sql("DELETE FROM projekt");
             ChangeCheck::SaveInddataValues();
             set("inddata", "daekType", QStringLiteral("Træ"));
         }, true},
    };
    // clang-format on
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
    EXPECT_EQ(reportedStep(), "Function: InddataChanged, Log nr. 8");
    ChangeCheck::SaveInddataValues();
    sql("ALTER TABLE inddataisolering RENAME TO gemt");
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
    EXPECT_TRUE(messages->shown[0].text.startsWith("Der opstod et problem under eksekvering af Fundator!\r"
                                                   "Function: InddataChanged, Log nr. 10\rFejlnr.: -2147217865, "));
    EXPECT_TRUE(messages->shown[0].text.endsWith("\rGem venligst sessionsdata og kontakt Polystra"));
    messages->shown.clear();
    // A failed snapshot keeps the tables it reached.
    ChangeCheck::SaveInddataValues();
    EXPECT_EQ(reportedStep(), "Function: SaveInddataValues, Log nr. 13");
    sql("ALTER TABLE gemt RENAME TO inddataisolering");
    EXPECT_FALSE(ChangeCheck::InddataChanged());
}

} // namespace
