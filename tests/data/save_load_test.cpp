#include "data/save_load.h"

#include "data/modmain.h"
#include "platform/files.h"
#include "table_helpers.h"

#include <QDir>
#include <QLocale>
#include <cctype>
#include <cstdio>
#include <sys/stat.h> // mkfifo
#include <unistd.h>

using engine::Variant;

namespace {

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
        modMain::InitInddata();
    }
    void TearDown() override {
        platform::FileFault = nullptr;
        cn.Close();
    }
    bool save(const QStringList &tables = SaveLoad::kInputTables, const QString &file = {}) {
        return SaveLoad::SaveInddata(cn, file.isEmpty() ? epx : file, static_cast<std::int16_t>(tables.size()), tables);
    }
    QByteArray read(const QString &file = {}) const {
        QFile f(file.isEmpty() ? epx : file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    }
    // The number of the load's fault, 0 when it loaded.
    std::int32_t load(const QByteArray &bytes) {
        QFile f(epx);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        try {
            SaveLoad::LoadProjectFile(cn, epx);
            return 0;
        } catch (const engine::RuntimeError &e) {
            return e.number();
        }
    }
    void set(const char *table, const char *field, const Variant &v) {
        tablehelpers::setFirst(cn, QLatin1String(table), QString::fromUtf8(field), v);
    }
    std::vector<Variant> col(const char *table, const char *field) const {
        return tablehelpers::column(cn, QLatin1String(table), QString::fromUtf8(field));
    }
    // The four input tables and Firma, as a project file holds them.
    QByteArray tables() {
        EXPECT_TRUE(save(SaveLoad::kInputTables + QStringList{"Firma"}, folder.file(QStringLiteral("snapshot"))));
        return read(folder.file(QStringLiteral("snapshot")));
    }
};

// Blocks in the order of the table listing, names as the database spells them in Windows-1252, numbers with a
// period whatever the locale, a missing value bare.
TEST_F(SaveLoadTest, SavedFileLayout) {
    QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
    set("inddata", "dæktykkelse", 150.5);
    set("inddataisolering", "En", Variant::Null());
    ASSERT_TRUE(save({QStringLiteral("IndDataLast"), QStringLiteral("Projekt"), QStringLiteral("inddata"),
                      QStringLiteral("Findes ikke"), QStringLiteral("InddataIsolering")}));
    QLocale::setDefault(QLocale::c());
    const QList<QByteArray> lines = read().split('\n');
    const std::pair<int, const char *> expected[] = {{0, "\"inddata\",28,1\r"},
                                                     {13, "\"d\xE6ktykkelse\"\r"},
                                                     {29, "1,4\r"},
                                                     {30, "\"\",10\r"},
                                                     {41, "150.5,7\r"},
                                                     {57, "\"inddataisolering\",10,2\r"},
                                                     {76, "1,7\r"},
                                                     {77, "#NULL#,7\r"},
                                                     {88, "\"inddatalast\",11,10\r"}};
    for (const auto &[line, text] : expected)
        EXPECT_EQ(lines.value(line), text) << line;
    EXPECT_TRUE(read().endsWith("\"projekt\",4,1\r\n\"projektid\"\r\n\"beregner\"\r\n\"dato\"\r\n\"tekst\"\r\n"
                                "\"\",10\r\n\"\",10\r\n\"\",10\r\n\"\",10\r\n"));
}

// Every prefix of a saved file loads to the same tables as the whole file, or fails and changes nothing.
TEST_F(SaveLoadTest, EveryPrefixLoadsWholeOrNotAtAll) {
    set("projekt", "tekst", QStringLiteral("Hal \"A\", 2. sal\r\nside 2"));
    set("projekt", "beregner", QStringLiteral("#NULL#"));
    set("projekt", "dato", QStringLiteral("Łódź 1.5.2024")); // beyond Windows-1252: the file is UTF-8
    set("inddata", "dæktykkelse", 0.1 + 0.2);
    set("inddata", "Miljøklasse", Variant::Null());
    // Read from the database, not saved: a save after each load spent the run on syncing its file to disk.
    const auto rows = [this] {
        std::vector<Variant> all;
        for (const QString &table : SaveLoad::kInputTables + QStringList{"Firma"}) {
            engine::Recordset rs;
            rs.Open(table, cn, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
            all.push_back(table);
            for (; !rs.Eof(); rs.MoveNext())
                for (int i = 0; i < rs.FieldCount(); ++i)
                    all.push_back(rs.Fields(i).Value());
            rs.Close();
        }
        return all;
    };
    const auto saved = tables();
    const auto savedRows = rows();
    ASSERT_TRUE(save());
    const QByteArray whole = read();
    modMain::ClearInddata();
    modMain::InitInddata();
    const auto before = rows();
    // A cut inside a line of nothing but names and numbers meets the reader as the cuts beside it do: of those,
    // every sixth is tried; every cut at a line end and in any other line is.
    const auto tried = [&whole](qsizetype n) {
        if (n % 6 == 0 || whole[n - 1] == '\n')
            return true;
        const qsizetype end = whole.indexOf('\n', n);
        for (qsizetype i = whole.lastIndexOf('\n', n - 1) + 1; i < (end < 0 ? whole.size() : end); ++i)
            if (!std::isalnum(static_cast<unsigned char>(whole[i])) && !QByteArray("\",\r").contains(whole[i]))
                return true;
        return false;
    };
    for (qsizetype n = 0; n <= whole.size(); ++n) {
        if (!tried(n))
            continue;
        if (load(whole.left(n)) != 0) {
            ASSERT_EQ(rows(), before) << "prefix " << n;
            continue;
        }
        ASSERT_EQ(rows(), savedRows) << "prefix " << n;
        modMain::ClearInddata();
        modMain::InitInddata();
    }
    EXPECT_EQ(load(whole + "\r\n \r\n"), 0);
    EXPECT_EQ(tables(), saved);
}

// Each fault of the old program's file fails the whole load, with the error of the check that found it, and
// changes no table.
TEST_F(SaveLoadTest, MalformedFilesFailAndChangeNothing) {
    set("projekt", "tekst", QStringLiteral("Hal 2"));
    set("Firma", "Navn", QStringLiteral("Byg ApS"));
    const auto before = tables();
    const auto edit = [](const char *from, const char *to) { return QByteArray(kOldFile).replace(from, to); };
    QByteArray names, values;
    for (int f = 0; f < 256; ++f)
        names += "\"f" + QByteArray::number(f) + "\"\r\n", values += "\"\",10\r\n";
    const QByteArray wide =
        edit("\"projekt\",1,1\r\n\"tekst\"\r\n\"Hal \xC6\",10\r\n", "\"projekt\",256,1\r\n" + names + values);
    using namespace engine::err;
    const std::pair<QByteArray, std::int32_t> cases[] = {
        {QByteArray(), InvalidFileFormat},
        {kOldFile.left(kOldFile.indexOf("\"projekt\"")), InvalidFileFormat}, // a block missing
        {kOldFile.chopped(3), TypeMismatch},                                 // cut inside the last code
        {kOldFile.chopped(4), InputPastEnd},
        {edit("2,1\r\n\"InddataID\"\r\n\"d\xE6ktykkelse\"\r\n1,3\r\n.15,7", "2,0\r\n\"InddataID\"\r\n\"x\""),
         InvalidFileFormat}, // inddata without its record
        {edit(".15,7", ".15,7\r\n2,3\r\n.15,7").replace("\"inddata\",2,1", "\"inddata\",2,2"), InvalidFileFormat},
        {edit("\"IndDataLast\",2,1", "\"IndDataLast\",2,2"), InvalidFileFormat}, // more records declared
        {edit("\"InddataIsolering\",2,2", "\"InddataIsolering\",2,1"), DbNoSuchTable},
        {edit("\"Hjultryk\",10", "\"Hjultryk\",4"), TypeMismatch}, // codes of the other kind
        {edit("\"Hjultryk\",10", "#TRUE#,1"), TypeMismatch},
        {edit(".15,7", "(SELECT 1),7"), TypeMismatch},
        {kOldFile + "\"projekt\",1,1\r\n\"tekst\"\r\n\"igen\",10\r\n", InvalidFileFormat},
        {edit("\"projekt\",1,1\r\n\"tekst\"", "\"Firma\",1,1\r\n\"Navn\""), DbNoSuchTable},
        {edit("\"tekst\"", "\"findes ikke\""), ItemNotFound},
        {edit("\"lastid\"", "\"Lasttype\""), InvalidFileFormat},
        {edit("1,4", "1,4,4"), InvalidFileFormat},
        {edit("\"IndDataLast\",2,1", "\"IndDataLast\",2\r\n1"), InvalidFileFormat},
        {wide, InvalidFileFormat}, // more fields than any table has
    };
    for (const auto &[bytes, number] : cases) {
        EXPECT_EQ(load(bytes), number) << bytes.toStdString();
        ASSERT_EQ(tables(), before) << bytes.toStdString();
    }
    // Only a plain file is read: a pipe would hang the program, a folder or a device is no project file.
    const QString fifo = folder.file(QStringLiteral("pipe.epx"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {fifo, folder.path(), QStringLiteral("/dev/zero"), folder.file(QStringLiteral("x"))})
        EXPECT_FALSE(SaveLoad::LoadInddata(cn, path)) << path.toStdString();
    // The file itself loads.
    ASSERT_EQ(load(kOldFile), 0);
    EXPECT_EQ(col("inddata", "dæktykkelse"), std::vector<Variant>{0.15});
    EXPECT_EQ(col("inddataisolering", "IsoleringType"),
              (std::vector<Variant>{QStringLiteral("Flækket"), Variant::Null()}));
    EXPECT_EQ(col("projekt", "tekst"), std::vector<Variant>{QStringLiteral("Hal Æ")});
}

// A save that fails at any step before the rename keeps the earlier file byte for byte and leaves no file of
// its own; once renamed, it has succeeded.
TEST_F(SaveLoadTest, FailedSaveKeepsTheEarlierFile) {
    ASSERT_EQ(load("earlier project"), engine::err::InvalidFileFormat);
    const QStringList listing = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    for (const char *step : {"access", "open", "write", "fsync", "close", "rename"}) {
        // A write-protected file or a read-only folder refuses the write; a full disk fails a later step.
        const int e = std::string_view(step) == "access" || std::string_view(step) == "open" ? EACCES : ENOSPC;
        platform::FileFault = [step, e](const char *call) { return std::string_view(call) == step ? e : 0; };
        EXPECT_FALSE(save()) << step;
        EXPECT_EQ(read(), "earlier project") << step;
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), listing) << step;
    }
    platform::FileFault = nullptr;
    // Root may write anywhere, yet a file without a write bit is kept, as a read-only file always was.
    ASSERT_TRUE(QFile::setPermissions(epx, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    EXPECT_FALSE(save());
    EXPECT_EQ(read(), "earlier project");
    // A temporary file that an ended save left under this process id takes no name from a later save, and a
    // folder that cannot be synced after the rename does not undo the success.
    ASSERT_TRUE(QFile::setPermissions(epx, QFile::ReadOwner | QFile::WriteOwner));
    const QString leftover = folder.file(QStringLiteral(".fundator-%1-0.tmp").arg(::getpid()));
    ASSERT_TRUE(QFile::copy(epx, leftover));
    platform::FileFault = [](const char *call) { return std::string_view(call) == "syncfolder" ? EACCES : 0; };
    EXPECT_TRUE(save());
    EXPECT_TRUE(read().startsWith("\"inddata\",28,1\r\n"));
    EXPECT_EQ(read(leftover), "earlier project");
}

// A name that reaches one of the program's databases, however it is spelt, any spelling of their names (and of
// the compaction's copy) beside them, whether such a file is there yet or not, or a name that cannot be spelt
// back on disk (an old disk's Latin-1 name, read as replacement characters) is refused, and no file changes.
TEST_F(SaveLoadTest, ANameThatReachesAnotherFileIsRefused) {
    const QString data = folder.file(QStringLiteral("data"));
    ASSERT_TRUE(QFile::copy(folder.file(QStringLiteral("inddata.mdb")), folder.file(QStringLiteral("INDDATA.MDB"))));
    ASSERT_TRUE(QDir().mkdir(data) && QFile::link(folder.file(QStringLiteral("isol.mdb")), data + "/isol.epx") &&
                QFile::link(folder.file(QStringLiteral("INDDATA.MDB")), data + "/kopi.epx") &&
                QFile::link(folder.path(), folder.file(QStringLiteral("program"))) &&
                ::link(QFile::encodeName(folder.file(QStringLiteral("system.mdw"))).constData(),
                       QFile::encodeName(data + "/hard.epx").constData()) == 0);
    const QByteArray latin1 = QFile::encodeName(data) + "/hal \xE6\xF8\xE5.epx";
    QFile old;
    ASSERT_TRUE(old.open(std::fopen(latin1.constData(), "w"), QIODevice::WriteOnly, QFile::AutoCloseHandle) &&
                old.write("earlier") == 7);
    old.close();
    const QString listed = QFile::decodeName(latin1); // as a dialog or the command line hands it over
    const auto image = [&] {
        QByteArrayList all;
        for (const QString &dir : {folder.path(), data})
            for (const QString &f : QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name))
                all << f.toUtf8() << read(dir + "/" + f);
        char bytes[16] = {};
        std::FILE *raw = std::fopen(latin1.constData(), "r"); // a name Qt cannot list
        all << QByteArray(bytes, raw ? static_cast<int>(std::fread(bytes, 1, sizeof bytes, raw)) : -1);
        return raw && std::fclose(raw) == 0 ? all : QByteArrayList();
    };
    const QByteArrayList before = image();
    for (const QString &path : {QStringLiteral("inddata.mdb"), data + "/../param.mdb", data + "/isol.epx",
                                folder.file(QStringLiteral("program/system.mdw")), data + "/hard.epx", listed,
                                QStringLiteral("INDDATA.MDB"), data + "/kopi.epx", QStringLiteral("inddata.tmp"),
                                data + "/../Param.mdb", folder.file(QStringLiteral("program/System.MDW"))}) {
        EXPECT_FALSE(save(SaveLoad::kInputTables, path)) << path.toStdString();
        EXPECT_EQ(image(), before) << path.toStdString();
    }
    // Away from the databases those names are a project file's like any other.
    EXPECT_TRUE(save(SaveLoad::kInputTables, data + "/INDDATA.MDB"));
    // A file under the name it reads as, as an earlier save made it, is not the one chosen and is not loaded.
    ASSERT_TRUE(save() && QFile::copy(epx, listed));
    EXPECT_FALSE(SaveLoad::LoadInddata(cn, listed));
    ::unlink(latin1.constData()); // the temporary folder cannot list it to remove it
}

} // namespace
