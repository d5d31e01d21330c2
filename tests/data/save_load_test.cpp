#include "data/save_load.h"

#include "data/connections.h"
#include "data/modmain.h"
#include "support/databases.h"
#include "table_helpers.h"

#include <QBuffer>
#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

using engine::Variant;
using tablehelpers::column;
using tablehelpers::setFirst;

namespace {

// A whole table: field names and every record's values, in table order.
struct TableContents {
    QStringList fields;
    std::vector<std::vector<Variant>> records;
    bool operator==(const TableContents &) const = default;
};

TableContents contents(const engine::Connection &cn, const QString &table) {
    TableContents t;
    engine::Recordset rs;
    rs.Open(table, cn, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
    for (int i = 0; i < rs.FieldCount(); ++i)
        t.fields << rs.Fields(i).Name();
    for (; !rs.Eof(); rs.MoveNext()) {
        std::vector<Variant> r;
        for (int i = 0; i < rs.FieldCount(); ++i)
            r.push_back(rs.Fields(i).Value());
        t.records.push_back(std::move(r));
    }
    rs.Close();
    return t;
}

const QByteArray kDefaultProjectBlock("\"projekt\",4,1\r\n"
                                      "\"projektid\"\r\n"
                                      "\"beregner\"\r\n"
                                      "\"dato\"\r\n"
                                      "\"tekst\"\r\n"
                                      "\"\",10\r\n"
                                      "\"\",10\r\n"
                                      "\"\",10\r\n"
                                      "\"\",10\r\n");

const QStringList kTables = {QStringLiteral("projekt"), QStringLiteral("inddata"), QStringLiteral("inddataisolering"),
                             QStringLiteral("inddatalast")};

class SaveLoadTest : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    engine::Connection &cn = modMain::cnInddata;

    void SetUp() override {
        cn = folder.open(QStringLiteral("inddata.mdb"));
        modMain::ClearInddata();
        modMain::InitInddata();
    }
    void TearDown() override { cn.Close(); }

    QString path(const QString &name) const { return folder.file(name); }
    const QString epx = folder.file(QStringLiteral("p.epx"));
    bool save(const QString &file, const QStringList &tables = SaveLoad::kInputTables) {
        return SaveLoad::SaveInddata(cn, file, static_cast<std::int16_t>(tables.size()), tables);
    }
    QByteArray read(const QString &file) const {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    void write(const QString &file, const QByteArray &bytes) const {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    bool load(const QByteArray &bytes) {
        write(epx, bytes);
        return SaveLoad::LoadInddata(cn, epx);
    }
    void set(const char *table, const char *field, const Variant &v) {
        setFirst(cn, QLatin1String(table), QString::fromUtf8(field), v);
    }
    std::vector<Variant> col(const char *table, const char *field) const {
        return column(cn, QLatin1String(table), QString::fromUtf8(field));
    }
    std::vector<TableContents> input() const {
        std::vector<TableContents> all;
        for (const QString &t : kTables)
            all.push_back(contents(cn, t));
        return all;
    }
};

TEST_F(SaveLoadTest, ProjectBlockOfTheDefaultInputIsNineLines) {
    ASSERT_TRUE(save(epx, {QStringLiteral("Projekt")}));
    EXPECT_EQ(read(epx), kDefaultProjectBlock);
}

// The blocks follow the database's table listing, and each header spells the name as the database does.
TEST_F(SaveLoadTest, BlocksInTheOrderOfTheTableListing) {
    QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
    set("inddata", "dæktykkelse", 150.5);
    ASSERT_TRUE(save(epx));
    QLocale::setDefault(QLocale::c());
    const QList<QByteArray> lines = read(epx).split('\n');
    QList<QByteArray> headers;
    for (const QByteArray &l : lines)
        if (l.count(',') == 2 && l.startsWith('"'))
            headers << l;
    EXPECT_EQ(headers, (QList<QByteArray>{"\"inddata\",28,1\r", "\"inddataisolering\",10,2\r",
                                          "\"inddatalast\",11,10\r", "\"projekt\",4,1\r"}));
    EXPECT_EQ(lines[1], "\"InddataID\"\r");
    EXPECT_EQ(lines[13], "\"d\xE6ktykkelse\"\r"); // Windows-1252, as the old program wrote Danish names
    EXPECT_EQ(lines[29], "1,4\r");                // InddataID, an integer column
    EXPECT_EQ(lines[30], "\"\",10\r");            // daekType
    EXPECT_EQ(lines[41], "150.5,7\r");            // dæktykkelse, a double, with a period whatever the locale
}

TEST_F(SaveLoadTest, DoubleColumnWritesOneAndAMissingValueBare) {
    set("inddataisolering", "En", Variant::Null());
    ASSERT_TRUE(save(epx, {QStringLiteral("inddataisolering")}));
    const QList<QByteArray> lines = read(epx).split('\n');
    ASSERT_GT(lines.size(), 20);
    EXPECT_EQ(lines[9], "\"Eo\"\r");
    EXPECT_EQ(lines[19], "1,7\r");
    EXPECT_EQ(lines[20], "#NULL#,7\r");
}

TEST_F(SaveLoadTest, TableNamesMatchInAnyCaseAndUnknownNamesAreIgnored) {
    ASSERT_TRUE(save(epx, {QStringLiteral("IndDataLast"), QStringLiteral("Findes ikke")}));
    const QByteArray file = read(epx);
    EXPECT_TRUE(file.startsWith("\"inddatalast\",11,10\r\n"));
    EXPECT_EQ(file.count("\r\n"), 1 + 11 + 10 * 11);
}

TEST_F(SaveLoadTest, SavedInputLoadsBackFieldForField) {
    set("projekt", "tekst", QStringLiteral("Hal \"A\", 2. sal\r\nside 2"));
    set("projekt", "beregner", QStringLiteral("#NULL#"));
    set("projekt", "dato", QStringLiteral("Łódź 1.5.2024"));
    set("inddata", "daekType", QStringLiteral("Beton"));
    set("inddata", "dæktykkelse", 0.1 + 0.2);
    set("inddata", "Uværdi", 1.5e-7);
    set("inddata", "resBallasto", 1e20);
    set("inddata", "tau", -2.5);
    set("inddata", "Miljøklasse", Variant::Null());
    set("inddatalast", "Størrelse", 12.75);
    set("inddatalast", "Lasttype", QStringLiteral("Punktlast"));
    set("inddataisolering", "LambdaTør", 0.037);
    const std::vector<TableContents> before = input();
    ASSERT_TRUE(save(epx));

    modMain::ClearInddata();
    modMain::InitInddata();
    ASSERT_NE(input(), before);
    ASSERT_TRUE(SaveLoad::LoadInddata(cn, epx));
    EXPECT_EQ(input(), before);
}

// The file is written completely or not at all, so a failed save never destroys the project saved before.
TEST_F(SaveLoadTest, AnExistingFileIsReplacedOnlyByACompleteOne) {
    write(epx, "earlier project");
    const QStringList names = {QStringLiteral("projekt")};
    EXPECT_FALSE(SaveLoad::SaveInddata(cn, epx, 2, names)); // a name short
    EXPECT_EQ(read(epx), "earlier project");
    EXPECT_FALSE(save(path(QStringLiteral("mangler/p.epx"))));
    ASSERT_TRUE(save(epx, names));
    EXPECT_EQ(read(epx), kDefaultProjectBlock);
    cn.Close();
    EXPECT_FALSE(save(epx));
    EXPECT_EQ(read(epx), kDefaultProjectBlock);
}

// A project file may leave a table empty; the input is saved all the same, as a block without records.
TEST_F(SaveLoadTest, EmptyTableIsABlockWithoutRecords) {
    cn.Execute(QStringLiteral("DELETE * FROM projekt"));
    ASSERT_TRUE(save(epx, {QStringLiteral("projekt")}));
    EXPECT_TRUE(read(epx).startsWith("\"projekt\",4,0\r\n"));
    modMain::InitInddata();
    ASSERT_TRUE(SaveLoad::LoadInddata(cn, epx));
    EXPECT_TRUE(col("projekt", "tekst").empty());
}

TEST(SaveLoadStatements, JetTextsOfOneBlock) {
    QByteArray bytes = kDefaultProjectBlock;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QStringList sql;
    SaveLoad::ReadStatements(buffer, [&sql](const QString &s) { sql << s; });
    EXPECT_EQ(sql, (QStringList{QStringLiteral("DELETE * FROM [projekt] "),
                                QStringLiteral("INSERT INTO [projekt] ([projektid], [beregner], [dato], [tekst]) "
                                               "VALUES (\"\", \"\", \"\", \"\") ")}));
}

TEST(SaveLoadStatements, SqlLiteralsByCode) {
    using SaveLoad::FormatSqlValue;
    EXPECT_EQ(FormatSqlValue(QStringLiteral("#TRUE#"), 1, true), QStringLiteral("TRUE"));
    EXPECT_EQ(FormatSqlValue(QStringLiteral("#NULL#"), 1, true), QStringLiteral("FALSE"));
    EXPECT_EQ(FormatSqlValue(QStringLiteral("#true#"), 1, true), QStringLiteral("FALSE"));
    EXPECT_EQ(FormatSqlValue(QStringLiteral("Beton"), 10, false), QStringLiteral("\"Beton\", "));
    EXPECT_EQ(FormatSqlValue(QStringLiteral("memo"), 12, true), QStringLiteral("\"memo\""));
    EXPECT_EQ(FormatSqlValue(QString(), 10, true), QStringLiteral("\"\""));
    EXPECT_EQ(FormatSqlValue(QStringLiteral("#NULL#"), 10, true), QStringLiteral("NULL"));
    EXPECT_EQ(FormatSqlValue(QStringLiteral("#NULL#"), 10, true, true), QStringLiteral("\"#NULL#\""));
    EXPECT_EQ(FormatSqlValue(QStringLiteral("#NULL#"), 7, false), QStringLiteral("NULL, "));
    EXPECT_EQ(FormatSqlValue(QStringLiteral("1.35"), 7, false), QStringLiteral("1.35, "));
    EXPECT_EQ(FormatSqlValue(QStringLiteral("-2"), 1005, true), QStringLiteral("-2"));
    EXPECT_EQ(FormatSqlValue(QStringLiteral("a\"b"), 10, true), QStringLiteral("\"a\"\"b\""));
    for (const char *bad : {"abc", "1); DELETE * FROM Firma", "(SELECT Navn FROM Firma)", "#TRUE#", ""}) {
        try {
            FormatSqlValue(QString::fromUtf8(bad), 7, true);
            ADD_FAILURE() << bad;
        } catch (const engine::RuntimeError &e) {
            EXPECT_EQ(e.number(), engine::err::TypeMismatch);
        }
    }
}

TEST(SaveLoadStatements, TypeCodes) {
    const std::pair<int, int> codes[] = {
        {engine::adSmallInt, 3},  {engine::adInteger, 4},    {engine::adDouble, 7},          {200, 10},
        {engine::adVarWChar, 10}, {engine::adBoolean, 1011}, {engine::adLongVarWChar, 1203}, {engine::adSingle, 1004}};
    for (const auto &[type, code] : codes)
        EXPECT_EQ(SaveLoad::FieldTypeCode(type), code) << type;
}

TEST_F(SaveLoadTest, EmptyFileLoadsAndChangesNothing) {
    set("projekt", "tekst", QStringLiteral("uændret"));
    const std::vector<TableContents> before = input();
    EXPECT_TRUE(load(QByteArray()));
    EXPECT_TRUE(load(QByteArray("\r\n\r\n")));
    EXPECT_EQ(input(), before);
}

// A file of the old program: Windows-1252 names, only some columns, a missing value.
TEST_F(SaveLoadTest, BlockWithSomeColumnsTakesTheDefaultsForTheRest) {
    ASSERT_TRUE(load(QByteArray("\"IndDataLast\",3,2\r\n\"lastid\"\r\n\"Lasttype\"\r\n\"St\xF8rrelse\"\r\n"
                                "1,4\r\n\"Hjultryk\",10\r\n45.5,7\r\n"
                                "2,4\r\n#NULL#,10\r\n#NULL#,7\r\n")));
    EXPECT_EQ(col("inddatalast", "lastid"), tablehelpers::numbers({1, 2}));
    EXPECT_EQ(col("inddatalast", "Lasttype"), (std::vector<Variant>{QStringLiteral("Hjultryk"), Variant::Null()}));
    EXPECT_EQ(col("inddatalast", "Størrelse"), (std::vector<Variant>{45.5, Variant::Null()}));
    EXPECT_EQ(col("inddatalast", "PartialK"), (std::vector<Variant>{1.0, 1.0}));
}

// A file of the old program: the project block of the input after start-up, the table names as its database
// spelled them, numbers in the runtime's short forms and a text whose inner quote it did not double, which
// reads up to that quote.
TEST_F(SaveLoadTest, FileOfTheOldProgramLoads) {
    set("projekt", "tekst", QStringLiteral("Hal 2"));
    ASSERT_TRUE(load(kDefaultProjectBlock +
                     QByteArray("\"InddataIsolering\",4,2\r\n\"lagnr\"\r\n\"IsoleringType\"\r\n\"LambdaT\xF8r\"\r\n"
                                "\"Eo\"\r\n1,3\r\n\"Fl\xE6kket \"A\" 2\",10\r\n.037,7\r\n1E+16,7\r\n"
                                "2,3\r\n\"\",10\r\n-.5,7\r\n#NULL#,7\r\n")));
    EXPECT_EQ(col("projekt", "tekst"), std::vector<Variant>{QString()});
    EXPECT_EQ(col("projekt", "projektid"), std::vector<Variant>{QString()});
    EXPECT_EQ(col("inddataisolering", "lagnr"), tablehelpers::numbers({1, 2}));
    EXPECT_EQ(col("inddataisolering", "IsoleringType"), (std::vector<Variant>{QStringLiteral("Flækket "), QString()}));
    EXPECT_EQ(col("inddataisolering", "LambdaTør"), (std::vector<Variant>{0.037, -0.5}));
    EXPECT_EQ(col("inddataisolering", "Eo"), (std::vector<Variant>{1e16, Variant::Null()}));
}

// The blocks before the fault stay; the failing table may be left partly filled.
TEST_F(SaveLoadTest, FileThatEndsInsideABlockFailsAfterTheEarlierBlocks) {
    EXPECT_FALSE(load(QByteArray("\"projekt\",1,1\r\n\"tekst\"\r\n\"Hal 2\",10\r\n"
                                 "\"inddataisolering\",1,3\r\n\"lagnr\"\r\n7,4\r\n8,4\r\n")));
    EXPECT_EQ(col("projekt", "tekst"), std::vector<Variant>{QStringLiteral("Hal 2")});
    EXPECT_EQ(col("inddataisolering", "lagnr"), tablehelpers::numbers({7, 8}));
}

TEST_F(SaveLoadTest, FaultyFilesFail) {
    const std::vector<TableContents> before = input();
    EXPECT_FALSE(SaveLoad::LoadInddata(cn, path(QStringLiteral("findes-ikke.epx"))));
    EXPECT_FALSE(SaveLoad::LoadInddata(cn, folder.path()));
    EXPECT_FALSE(load(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)));
    EXPECT_FALSE(load(QByteArray("\"projekt\",x,1\r\n"))); // a count that is no number
    EXPECT_EQ(input(), before) << "nothing but the failing block's table may change";
}

TEST_F(SaveLoadTest, UnknownFieldOrRefusedValueFails) {
    EXPECT_FALSE(load(QByteArray("\"projekt\",1,1\r\n\"findes ikke\"\r\n\"x\",10\r\n")));
    EXPECT_FALSE(load(QByteArray("\"inddata\",1,1\r\n\"Eo\"\r\n\"tekst\",10\r\n")));       // text in a number column
    EXPECT_FALSE(load(QByteArray("\"projekt\",1,1\r\n\"tekst\"\r\nhukommelse,1203\r\n"))); // a memo's bare text
    EXPECT_FALSE(load(QByteArray("\"projekt\",1,1\r\n\"tekst\"\r\n#TRUE#,1011\r\n")));
    EXPECT_FALSE(load(QByteArray("\"projekt\",1,1\r\n\"tek]st\"\r\n\"x\",10\r\n")));
}

// A project file holds the input and nothing else: a block for another table fails before it empties it.
TEST_F(SaveLoadTest, BlockForATableOutsideTheInputFailsAndTouchesNothing) {
    set("Firma", "Navn", QStringLiteral("Byg ApS"));
    const TableContents firma = contents(cn, QStringLiteral("Firma"));
    EXPECT_FALSE(load(QByteArray("\"Firma\",1,1\r\n\"Navn\"\r\n\"Andet\",10\r\n")));
    EXPECT_FALSE(load(QByteArray("\"MSysDatabase\",0,0\r\n")));
    EXPECT_FALSE(load(QByteArray("\"Udskrift\",0,0\r\n")));
    EXPECT_EQ(contents(cn, QStringLiteral("Firma")), firma);
    EXPECT_EQ(col("Udskrift", "Lagnr1").size(), 1u);
}

TEST_F(SaveLoadTest, ValueThatIsNoNumberNeverReachesTheSql) {
    set("inddata", "Eo", 5.0);
    EXPECT_FALSE(load(QByteArray("\"inddata\",1,1\r\n\"Eo\"\r\n(SELECT length(Navn) FROM Firma),7\r\n")));
    EXPECT_TRUE(col("inddata", "Eo").empty());
}

} // namespace
