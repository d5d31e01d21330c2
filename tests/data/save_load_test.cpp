#include "data/save_load.h"

#include "data/connections.h"
#include "data/modmain.h"
#include "platform/files.h"
#include "support/databases.h"
#include "table_helpers.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>
#include <sys/stat.h>

using engine::Variant;
using tablehelpers::column;
using tablehelpers::setFirst;

namespace {

// Every field of every record of the four input tables and of Firma, in table order.
using Tables = std::vector<std::vector<Variant>>;

// A file as the old program wrote it: Windows-1252, short number forms, blocks of some columns only.
const QByteArray kOldFile("\"inddata\",2,1\r\n\"InddataID\"\r\n\"d\xE6ktykkelse\"\r\n1,3\r\n.15,7\r\n"
                          "\"InddataIsolering\",2,2\r\n\"lagnr\"\r\n\"IsoleringType\"\r\n"
                          "1,3\r\n\"Fl\xE6kket\",10\r\n2,3\r\n#NULL#,10\r\n"
                          "\"IndDataLast\",2,1\r\n\"lastid\"\r\n\"Lasttype\"\r\n1,4\r\n\"Hjultryk\",10\r\n"
                          "\"projekt\",1,1\r\n\"tekst\"\r\n\"Hal \xC6\",10\r\n");

class SaveLoadTest : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    engine::Connection &cn = modMain::cnInddata;
    const QString epx = folder.file(QStringLiteral("p.epx"));

    void SetUp() override {
        cn = folder.open(QStringLiteral("inddata.mdb"));
        modMain::ClearInddata();
        modMain::InitInddata();
    }
    void TearDown() override {
        platform::FileFault = nullptr;
        cn.Close();
    }
    bool save(const QStringList &tables = SaveLoad::kInputTables) {
        return SaveLoad::SaveInddata(cn, epx, static_cast<std::int16_t>(tables.size()), tables);
    }
    QByteArray read() const {
        QFile f(epx);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    }
    void write(const QByteArray &bytes) const {
        QFile f(epx);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // The number of the load's fault, 0 when it loaded.
    std::int32_t load(const QByteArray &bytes) {
        write(bytes);
        try {
            SaveLoad::LoadProjectFile(cn, epx);
            return 0;
        } catch (const engine::RuntimeError &e) {
            return e.number();
        }
    }
    void set(const char *table, const char *field, const Variant &v) {
        setFirst(cn, QLatin1String(table), QString::fromUtf8(field), v);
    }
    std::vector<Variant> col(const char *table, const char *field) const {
        return column(cn, QLatin1String(table), QString::fromUtf8(field));
    }
    Tables tables() const {
        Tables all;
        for (const char *t : {"projekt", "inddata", "inddataisolering", "inddatalast", "Firma"}) {
            engine::Recordset rs;
            rs.Open(QLatin1String(t), cn, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
            for (; !rs.Eof(); rs.MoveNext()) {
                all.emplace_back();
                for (int i = 0; i < rs.FieldCount(); ++i)
                    all.back().push_back(rs.Fields(i).Value());
            }
        }
        return all;
    }
    void changeInput() {
        set("projekt", "tekst", QStringLiteral("Hal \"A\", 2. sal\r\nside 2"));
        set("projekt", "beregner", QStringLiteral("#NULL#"));
        set("inddata", "daekType", QStringLiteral("Beton"));
        set("inddata", "dæktykkelse", 0.1 + 0.2);
        set("inddata", "Uværdi", 1.5e-7);
        set("inddata", "resBallasto", 1e20);
        set("inddata", "Miljøklasse", Variant::Null());
        set("inddatalast", "Størrelse", 12.75);
        set("inddataisolering", "LambdaTør", 0.037);
    }
};

// The file's layout: blocks in the order of the table listing, names as the database spells them, numbers
// with a period whatever the locale, a missing value bare.
TEST_F(SaveLoadTest, SavedFileLayout) {
    QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
    set("inddata", "dæktykkelse", 150.5);
    set("inddataisolering", "En", Variant::Null());
    ASSERT_TRUE(save({QStringLiteral("IndDataLast"), QStringLiteral("Projekt"), QStringLiteral("inddata"),
                      QStringLiteral("Findes ikke"), QStringLiteral("InddataIsolering")}));
    QLocale::setDefault(QLocale::c());
    const QList<QByteArray> lines = read().split('\n');
    QList<QByteArray> headers;
    for (const QByteArray &l : lines)
        if (l.count(',') == 2 && l.startsWith('"'))
            headers << l;
    EXPECT_EQ(headers, (QList<QByteArray>{"\"inddata\",28,1\r", "\"inddataisolering\",10,2\r",
                                          "\"inddatalast\",11,10\r", "\"projekt\",4,1\r"}));
    EXPECT_EQ(lines[13], "\"d\xE6ktykkelse\"\r");
    EXPECT_EQ(lines[29], "1,4\r");
    EXPECT_EQ(lines[30], "\"\",10\r");
    EXPECT_EQ(lines[41], "150.5,7\r");
    EXPECT_EQ(lines[57 + 10 + 9], "1,7\r");       // Eo of layer 1
    EXPECT_EQ(lines[57 + 10 + 10], "#NULL#,7\r"); // En of layer 1
    EXPECT_TRUE(read().endsWith("\"projekt\",4,1\r\n\"projektid\"\r\n\"beregner\"\r\n\"dato\"\r\n\"tekst\"\r\n"
                                "\"\",10\r\n\"\",10\r\n\"\",10\r\n\"\",10\r\n"));
}

// Every prefix of a saved file loads to the same tables as the whole file, or fails and changes nothing.
TEST_F(SaveLoadTest, EveryPrefixLoadsWholeOrNotAtAll) {
    changeInput();
    set("projekt", "dato", QStringLiteral("Łódź 1.5.2024")); // beyond Windows-1252: the file is UTF-8
    const Tables saved = tables();
    ASSERT_TRUE(save());
    const QByteArray whole = read();
    modMain::ClearInddata();
    modMain::InitInddata();
    const Tables before = tables();
    ASSERT_NE(before, saved);
    for (qsizetype n = 0; n <= whole.size(); ++n) {
        if (load(whole.left(n)) == 0) {
            ASSERT_EQ(tables(), saved) << "prefix " << n;
            modMain::ClearInddata();
            modMain::InitInddata();
        } else {
            ASSERT_EQ(tables(), before) << "prefix " << n;
        }
    }
    EXPECT_EQ(load(whole + "\r\n \r\n"), 0);
    EXPECT_EQ(tables(), saved);
}

TEST_F(SaveLoadTest, FileOfTheOldProgramLoads) {
    ASSERT_EQ(load(kOldFile), 0);
    EXPECT_EQ(col("inddata", "dæktykkelse"), std::vector<Variant>{0.15});
    EXPECT_EQ(col("inddataisolering", "IsoleringType"), (std::vector<Variant>{QStringLiteral("Flækket"), Variant::Null()}));
    EXPECT_EQ(col("inddatalast", "Lasttype"), std::vector<Variant>{QStringLiteral("Hjultryk")});
    EXPECT_EQ(col("projekt", "tekst"), std::vector<Variant>{QStringLiteral("Hal Æ")});
}

// Each fault fails the whole load, with the error of the check that found it, and changes no table.
TEST_F(SaveLoadTest, MalformedFilesFailAndChangeNothing) {
    changeInput();
    set("Firma", "Navn", QStringLiteral("Byg ApS"));
    const Tables before = tables();
    const auto edit = [](const char *from, const char *to) { return QByteArray(kOldFile).replace(from, to); };
    using namespace engine::err;
    const std::pair<QByteArray, std::int32_t> cases[] = {
        {QByteArray(), InvalidFileFormat},
        {kOldFile.left(kOldFile.indexOf("\"projekt\"")), InvalidFileFormat},          // a block missing
        {kOldFile.left(kOldFile.size() - 3), TypeMismatch},                           // cut inside the last code
        {kOldFile.left(kOldFile.size() - 4), InputPastEnd},                           // cut after the last value
        {edit("\"inddata\",2,1\r\n\"InddataID\"\r\n\"d\xE6ktykkelse\"\r\n1,3\r\n.15,7", // inddata without a record
              "\"inddata\",2,0\r\n\"InddataID\"\r\n\"d\xE6ktykkelse\""),
         InvalidFileFormat},
        {edit("1,3\r\n.15,7", "1,3\r\n.15,7\r\n2,3\r\n.15,7").replace("\"inddata\",2,1", "\"inddata\",2,2"),
         InvalidFileFormat},
        {edit("\"IndDataLast\",2,1", "\"IndDataLast\",2,2"), InvalidFileFormat}, // more records declared
        {edit("\"InddataIsolering\",2,2", "\"InddataIsolering\",2,1"), DbNoSuchTable},
        {edit("\"Hjultryk\",10", "\"Hjultryk\",4"), TypeMismatch}, // codes of the other kind
        {edit("1,4", "1,10"), TypeMismatch},
        {edit("\"Hjultryk\",10", "#TRUE#,1"), TypeMismatch},
        {edit("1,4", "1,1003"), TypeMismatch},
        {edit(".15,7", "(SELECT 1),7"), TypeMismatch},
        {kOldFile + "x", InvalidFileFormat},
        {kOldFile + "\"projekt\",1,1\r\n\"tekst\"\r\n\"igen\",10\r\n", InvalidFileFormat},
        {edit("\"projekt\",1,1\r\n\"tekst\"", "\"Firma\",1,1\r\n\"Navn\""), DbNoSuchTable},
        {edit("\"tekst\"", "\"findes ikke\""), engine::err::ItemNotFound},
        {edit("\"tekst\"", "\"tek]st\""), engine::err::ItemNotFound},
        {edit("\"lastid\"", "\"Lasttype\""), InvalidFileFormat},
        {edit("1,4", "1,4,4"), InvalidFileFormat},
        {edit("\"lastid\"", "\"lastid\",\"x\""), InvalidFileFormat},
        {edit("\"IndDataLast\",2,1", "\"IndDataLast\",2\r\n1"), InvalidFileFormat},
        {edit("\"IndDataLast\",2,1", "\"IndDataLast\",-2,1"), InvalidFileFormat},
    };
    for (const auto &[bytes, number] : cases) {
        EXPECT_EQ(load(bytes), number) << bytes.toStdString();
        ASSERT_EQ(tables(), before) << bytes.toStdString();
    }
}

// Only a plain file is read: a pipe would hang the program, a folder or a device is no project file.
TEST_F(SaveLoadTest, OnlyPlainFilesAreOpened) {
    const QString fifo = folder.file(QStringLiteral("pipe.epx"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {fifo, folder.path(), QStringLiteral("/dev/zero"), folder.file(QStringLiteral("x"))})
        EXPECT_FALSE(SaveLoad::LoadInddata(cn, path)) << path.toStdString();
}

// A save that fails at any step keeps the earlier file byte for byte and leaves no file of its own.
TEST_F(SaveLoadTest, FailedSaveKeepsTheEarlierFile) {
    write("earlier project");
    const QStringList listing = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    for (const char *step : {"open", "write", "fsync", "close", "rename"}) {
        platform::FileFault = [step](const char *call) { return std::string_view(call) == step ? ENOSPC : 0; };
        EXPECT_FALSE(save()) << step;
        EXPECT_EQ(read(), "earlier project") << step;
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), listing) << step;
    }
    platform::FileFault = nullptr;
    EXPECT_FALSE(SaveLoad::SaveInddata(cn, epx, 2, {QStringLiteral("projekt")})); // a name short
    EXPECT_FALSE(SaveLoad::SaveInddata(cn, folder.file(QStringLiteral("mangler/p.epx")), 4, SaveLoad::kInputTables));
    ASSERT_EQ(::chmod(QFile::encodeName(epx).constData(), 0640), 0);
    ASSERT_TRUE(save());
    struct stat st{};
    ASSERT_EQ(::stat(QFile::encodeName(epx).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the replaced file keeps its permissions";
}

TEST(SaveLoadValues, SqlLiteralsByCode) {
    using SaveLoad::FormatSqlValue;
    const std::tuple<const char *, int, bool, const char *> cases[] = {
        {"#TRUE#", 1, false, "TRUE"},  {"#NULL#", 1, false, "FALSE"},  {"#true#", 1, false, "FALSE"},
        {"memo", 12, false, "\"memo\""}, {"", 10, false, "\"\""},     {"#NULL#", 10, false, "NULL"},
        {"#NULL#", 10, true, "\"#NULL#\""}, {"#NULL#", 7, false, "NULL"}, {"1.35", 7, false, "1.35"},
        {"-2", 1005, false, "-2"},     {"a\"b", 10, false, "\"a\"\"b\""}};
    for (const auto &[value, code, quoted, literal] : cases)
        EXPECT_EQ(FormatSqlValue(QString::fromUtf8(value), code, true, quoted), QLatin1String(literal)) << value;
    EXPECT_EQ(FormatSqlValue(QStringLiteral("Beton"), 10, false), QStringLiteral("\"Beton\", "));
    for (const char *bad : {"abc", "1); DELETE * FROM Firma", "(SELECT Navn FROM Firma)", "#TRUE#", ""}) {
        try {
            FormatSqlValue(QString::fromUtf8(bad), 7, true);
            ADD_FAILURE() << bad;
        } catch (const engine::RuntimeError &e) {
            EXPECT_EQ(e.number(), engine::err::TypeMismatch);
        }
    }
    const std::pair<int, int> codes[] = {
        {engine::adSmallInt, 3},  {engine::adInteger, 4},    {engine::adDouble, 7},          {200, 10},
        {engine::adVarWChar, 10}, {engine::adBoolean, 1011}, {engine::adLongVarWChar, 1203}, {engine::adSingle, 1004}};
    for (const auto &[type, code] : codes)
        EXPECT_EQ(SaveLoad::FieldTypeCode(type), code) << type;
}

} // namespace
