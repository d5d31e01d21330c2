#include "data/account.h"
#include "engine/checked.h"
#include "engine/engine.h"
#include "engine/transaction.h"
#include "support/databases.h"
#include "support/failing_disk.h"
#include "support/file_lock.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <sqlite3.h>

using namespace engine;

namespace {

const char *kScript = R"sql(
CREATE TABLE "inddata" ("daekType" TEXT DEFAULT '', "dæktykkelse" DOUBLE DEFAULT 0, "Uværdi" DOUBLE DEFAULT 0);
CREATE TABLE "inddatalast" ("lastid" DOUBLE DEFAULT 0, "Lasttype" TEXT DEFAULT '', "Størrelse" DOUBLE DEFAULT 0);
CREATE TABLE "ResultatArmering" ("ID" INTEGER PRIMARY KEY AUTOINCREMENT, "Staaltype" SMALLINT, "Diameter" INTEGER,
                                 "Overside" BIT, "As" DOUBLE);
CREATE TABLE "beta" ("x" VARCHAR(8) CHECK (length("x") <= 8));
INSERT INTO "inddata" DEFAULT VALUES;
)sql";

// Stands for any database error: their numbers are negative.
constexpr int kDbError = std::numeric_limits<int>::min();

int errorOf(const std::function<void()> &f) {
    try {
        f();
    } catch (const RuntimeError &e) {
        return e.number();
    }
    return 0;
}

QString errorText(const std::function<void()> &f) {
    try {
        f();
    } catch (const RuntimeError &e) {
        return e.description();
    }
    return {};
}

class EngineTest : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    Connection cn = created(folder);
    static Connection created(const testsupport::DatabaseFolder &folder) {
        CreateDatabase(folder.file("engine.mdb"), QString::fromUtf8(kScript), false, data::kUser, data::kPassword);
        return folder.open("engine.mdb");
    }
    Recordset table(const QString &name, int cursor = adOpenDynamic, int lock = adLockPessimistic) {
        Recordset rs;
        rs.Open(name, cn, cursor, lock, adCmdTable);
        return rs;
    }
    void fillLoads(int n) {
        for (int i = 1; i <= n; ++i)
            cn.Execute(QStringLiteral("INSERT INTO inddatalast (lastid, Lasttype) VALUES (%1, \"Punktlast\")").arg(i));
    }
};

// Names match in any case; a dynamic cursor sees another's write, a static one keeps its snapshot; Update writes
// only the fields it changed; Move(0) commits a pending edit; an edit of a row deleted meanwhile fails.
TEST_F(EngineTest, EditsOfOneRowThroughSeveralRecordsets) {
    Recordset a = table("INDDATA"), b = table("inddata"), c = table("inddata");
    Recordset snapshot = table("inddata", adOpenStatic, adLockReadOnly);
    EXPECT_DOUBLE_EQ(c.Fields("uværdi").Value().toDouble(), 0.0);
    a.Fields("DækTykkelse") = 120.0;
    b.Fields("UVÆRDI") = 0.25;
    b.Update();
    a.Move(0);
    EXPECT_EQ(a.EditMode(), adEditNone);
    cn.Execute("UPDATE INDDATA SET DÆKTYKKELSE = DÆKTYKKELSE + 1");
    EXPECT_DOUBLE_EQ(c.Fields("uværdi").Value().toDouble(), 0.25);
    EXPECT_DOUBLE_EQ(c.Fields("dæktykkelse").Value().toDouble(), 121.0);
    EXPECT_DOUBLE_EQ(snapshot.Fields("dæktykkelse").Value().toDouble(), 0.0);
    a.Fields("daekType") = "Træ";
    a.CancelUpdate();
    a.Move(0);
    EXPECT_EQ(c.Fields("daekType").Value().toString(), "");

    fillLoads(2);
    Recordset l = table("inddatalast");
    l.Fields("Størrelse") = 7.5;
    cn.Execute("DELETE FROM inddatalast WHERE lastid = 1");
    EXPECT_EQ(errorOf([&] { l.Update(); }), err::DbRowDeleted);
    EXPECT_EQ(l.EditMode(), adEditNone);
    EXPECT_EQ(errorOf([&] { l.Fields("Størrelse").Value(); }), err::NoCurrentRecord);
    l.MoveNext();
    EXPECT_EQ(l.Fields("lastid").Value().toLong(), 2);
}

TEST_F(EngineTest, AddNewDeleteAndMoveLastKeepTheOrderOfTheRows) {
    Recordset rs = table("inddatalast", adOpenKeyset, adLockPessimistic);
    for (int i : {5, 1, 3}) {
        rs.AddNew();
        EXPECT_EQ(rs.Fields("Størrelse").Value(), Variant(0)) << "the column's numeric default";
        EXPECT_EQ(rs.Fields("Lasttype").Value(), Variant(QString())) << "the column's text default";
        rs.Fields("lastid") = i;
        rs.Update();
        EXPECT_EQ(rs.Fields("lastid").Value().toLong(), i);
    }
    Recordset s = table("inddatalast", adOpenStatic, adLockReadOnly);
    s.MoveLast();
    EXPECT_EQ(s.RecordCount(), 3);
    EXPECT_EQ(s.Fields("lastid").Value().toLong(), 3);
    // The last live row is the first: MoveLast stops on it, not at the end.
    for (int k = 0; k < 2; ++k, rs.Delete())
        rs.MoveLast();
    rs.MoveLast();
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Fields("lastid").Value().toLong(), 5);

    cn.BeginTrans();
    fillLoads(3);
    cn.RollbackTrans();
    cn.BeginTrans();
    fillLoads(12);
    cn.CommitTrans();
    int deleted = 0;
    for (rs = table("inddatalast", adOpenKeyset, adLockPessimistic); !rs.Eof(); rs.MoveNext(), ++deleted)
        rs.Delete();
    EXPECT_EQ(deleted, 13);
    EXPECT_TRUE(table("inddatalast").Eof());
}

// A commit that fails (another program reading the file past the busy wait, a full disk) takes its group back
// and leaves the connection out of it: a later write is in the file when it is opened again.
TEST_F(EngineTest, AFailedCommitKeepsNoneOfItsGroupAndLaterWritesAreStored) {
    cn.Close();
    testsupport::FailingDisk disk;
    // clang-format off
    const struct { bool reader, allOrNothing, bodyFails; const char *error; } cases[] = {
        {true, false, false, "file already in use."}, {true, false, true, "Overflow"},
        {true, true, false, "file already in use."}, {false, false, false, "Not enough space on disk."},
        {false, false, true, "Overflow"}, {false, true, false, "Not enough space on disk."},
    };
    // clang-format on
    for (const auto &c : cases) {
        const std::string name = std::string(c.reader ? "reader" : "disk full") + (c.allOrNothing ? " all" : "") +
                                 (c.bodyFails ? " body fails" : "");
        cn = folder.open("engine.mdb");
        testsupport::shortenBusyWait(cn);
        cn.Execute("DELETE FROM beta");
        std::optional<testsupport::FileReader> reader;
        const auto body = [&] {
            cn.Execute("INSERT INTO beta (x) VALUES ('group')");
            if (c.reader)
                reader.emplace(folder.file("engine.mdb"));
            disk.setFull(!c.reader);
            if (c.bodyFails)
                engine::raise(err::Overflow);
        };
        const QString error = errorText([&] { c.allOrNothing ? AllOrNothing(cn, body) : AsOneWrite(cn, body); });
        EXPECT_TRUE(error.contains(QLatin1String(c.error))) << name << ": " << error.toStdString();
        disk.setFull(false);
        reader.reset();
        EXPECT_EQ(errorText([&] { cn.RollbackTrans(); }), "No transaction is active.") << name;
        cn.Execute("INSERT INTO beta (x) VALUES ('later')");
        cn.Close();
        cn = folder.open("engine.mdb");
        QStringList rows;
        for (Recordset rs = table("beta"); !rs.Eof(); rs.MoveNext())
            rows << rs.Fields("x").Value().toString();
        EXPECT_EQ(rows, QStringList({"later"})) << name;
        cn.Close();
    }
}

// The filters, SQL texts and schema in the forms the program uses them; truth values are stored as -1.
TEST_F(EngineTest, JetFiltersSqlAndSchema) {
    cn.Execute("INSERT INTO ResultatArmering (Staaltype, Diameter, Overside, [As]) VALUES (1, 6, 0, 106), "
               "(1, 6, -1, 106.5), (1, 8, 0, 108), (2, 6, True, 206)");
    EXPECT_EQ(cn.Execute("UPDATE ResultatArmering SET [As] = [As] WHERE Overside = True"), 2);
    EXPECT_EQ(cn.Execute("INSERT INTO [inddata] ([daekType]) VALUES (\"12\"\" it's\") "), 1);
    EXPECT_EQ(cn.Execute("DELETE * From [Inddata] WHERE daekType = '12\" it''s'"), 1);
    fillLoads(4);
    cn.Execute("UPDATE inddatalast SET Lasttype = 'Hjultryk' WHERE lastid = 2");
    // clang-format off
    const struct { const char *table, *filter; int count; const char *field; double value; } cases[] = {
        {"ResultatArmering", "Staaltype = 1 AND Diameter = 6 AND Overside = False", 1, "As", 106.0},
        {"ResultatArmering", "Overside = true and Staaltype = 1 and Diameter = 6", 1, "As", 106.5},
        {"ResultatArmering", "Staaltype = 3", 0, "As", 0}, {"ResultatArmering", "", 4, "As", 106},
        {"inddatalast", "LastID=3", 1, "lastid", 3}, {"inddatalast", "Lasttype = 'Hjultryk'", 1, "lastid", 2},
    };
    // clang-format on
    for (const auto &c : cases) {
        Recordset rs = table(c.table);
        rs.setFilter(c.filter);
        EXPECT_EQ(rs.RecordCount(), c.count) << c.filter;
        EXPECT_EQ(rs.Eof(), c.count == 0) << c.filter;
        if (c.count > 0) {
            EXPECT_DOUBLE_EQ(rs.Fields(c.field).Value().toDouble(), c.value) << c.filter;
        }
    }
    QStringList names;
    for (Recordset rs = cn.OpenSchema(adSchemaTables); !rs.Eof(); rs.MoveNext())
        names << rs.Fields("TABLE_NAME").Value().toString() + " " + rs.Fields("TABLE_TYPE").Value().toString();
    EXPECT_EQ(names, QStringList({"beta TABLE", "inddata TABLE", "inddatalast TABLE", "ResultatArmering TABLE"}));
    Recordset rs = table("ResultatArmering", adOpenStatic, adLockReadOnly);
    EXPECT_TRUE(rs.Fields("ID").Property("ISAUTOINCREMENT").toBool());
    EXPECT_FALSE(rs.Fields("As").Property("IsAutoIncrement").toBool());
    EXPECT_EQ(rs.Fields("Overside").Value(), Variant(0));
    const int types[] = {adInteger, adSmallInt, adInteger, adBoolean, adDouble};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(rs.Fields(i).Type(), types[i]) << i;
}

// Every refusal has its number, and a database error changes nothing.
TEST_F(EngineTest, RefusalsRaiseTheirNumbers) {
    cn.Execute("UPDATE inddata SET [dæktykkelse] = NULL, daekType = NULL");
    Recordset in = table("inddata");
    Recordset loads = table("inddatalast", adOpenStatic, adLockReadOnly);
    Connection bad;
    QString wrongPassword = data::ConnectionString("engine.mdb");
    wrongPassword.replace("Database Password=" + data::kPassword, "Database Password=wrong");
    // Fields handed out before their recordset closed, or opened again on fewer columns.
    Recordset closed = table("inddata"), reopened = table("inddata"), beta = table("beta");
    const Field type = closed.Fields("daekType"), third = reopened.Fields(2);
    closed.Close();
    reopened.Close();
    reopened.Open("beta", cn, adOpenDynamic, adLockPessimistic, adCmdTable);
    // clang-format off
    const std::pair<std::function<void()>, int> cases[] = {
        {[&] { type.Name(); }, err::ObjectClosed}, {[&] { type.Type(); }, err::ObjectClosed},
        {[&] { type.Property("ISAUTOINCREMENT"); }, err::ObjectClosed}, {[&] { type.Value(); }, err::NoCurrentRecord},
        {[&] { third.Name(); }, err::ItemNotFound}, {[&] { reopened.AddNew(), third.Value(); }, err::ItemNotFound},
        {[&] { cn.Execute("INSERT INTO beta (x) VALUES ('123456789')"); }, err::FieldTooSmall},
        {[&] { beta.AddNew(), beta.Fields("X") = "123456789", beta.Update(); }, err::FieldTooSmall},
        {[&] { in.Fields("nosuchfield"); }, err::ItemNotFound},
        {[&] { in.Fields(in.FieldCount()); }, err::ItemNotFound},
        {[&] { in.Fields("dæktykkelse").Value().toDouble(); }, err::InvalidUseOfNull},
        {[&] { in.Fields("daekType").Value().toString(); }, err::InvalidUseOfNull},
        {[&] { loads.MoveLast(); }, err::NoCurrentRecord}, {[&] { loads.MoveFirst(); }, err::NoCurrentRecord},
        {[&] { loads.Fields("lastid") = 1; }, 3251}, {[&] { table("nosuchtable"); }, kDbError},
        {[&] { cn.Execute("SELEKT nothing"); }, kDbError},
        {[&] { cn.Execute("UPDATE inddata SET nosuchcolumn = 1"); }, kDbError},
        {[&] { cn.Execute("INSERT INTO inddatalast (lastid) VALUES (\"abc\")"); }, kDbError},
        {[&] { bad.Open(data::ConnectionString("none.mdb")); }, kDbError},
        {[&] { bad.Open(wrongPassword); }, kDbError},
        {[&] { bad.Open("Data Source inddata.mdb"); }, err::DbFailure},
    };
    // clang-format on
    for (size_t i = 0; i < std::size(cases); ++i) {
        const int number = errorOf(cases[i].first);
        EXPECT_EQ(cases[i].second == kDbError && number < 0 ? kDbError : number, cases[i].second) << "case " << i;
    }
    EXPECT_TRUE(loads.Bof() && loads.Eof());
    EXPECT_TRUE(table("beta").Eof());
    EXPECT_FALSE(QFile::exists(folder.file("none.mdb"))) << "a missing database is never made";
    QFile::rename(folder.file("engine.mdb"), folder.file("ENGINE.MDB"));
    // A failed open leaves the connection closed (an open one refuses a second open), also when it fails after
    // the file is open: here another program keeps it in WAL mode and reads, so the journal mode cannot change.
    cn.Close();
    sqlite3 *other = nullptr;
    sqlite3_open(QFile::encodeName(folder.file("ENGINE.MDB")).constData(), &other);
    sqlite3_exec(other, "PRAGMA journal_mode=WAL; BEGIN; SELECT count(*) FROM beta", nullptr, nullptr, nullptr);
    EXPECT_LT(errorOf([&] { bad.Open(data::ConnectionString("engine.mdb")); }), 0);
    sqlite3_close(other);
    EXPECT_NO_THROW(bad.Open(data::ConnectionString("engine.mdb"))) << "file names are found in any case";
    EXPECT_NO_THROW(Recordset().Open("beta", bad)) << "the tables are known";
}

// A working database made before the password carried a check value opens as it did, and a wrong password in
// it still reads as one, naming the file.
TEST_F(EngineTest, ADatabaseWithoutACheckValueOpensAsBefore) {
    cn.Close();
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(folder.file("engine.mdb")).constData(), &db), SQLITE_OK);
    const QByteArray old = "DROP TABLE MSysDatabase; CREATE TABLE MSysDatabase (Password TEXT); "
                           "INSERT INTO MSysDatabase VALUES ('" +
                           data::kPassword.toUtf8() + "')";
    EXPECT_EQ(sqlite3_exec(db, old.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    EXPECT_NO_THROW(folder.open("engine.mdb"));
    QString wrongPassword = data::ConnectionString("engine.mdb");
    wrongPassword.replace("Database Password=" + data::kPassword, "Database Password=wrong");
    try {
        Connection().Open(wrongPassword);
        ADD_FAILURE() << "opened with a wrong password";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.number(), err::DbNotValidPassword);
        EXPECT_EQ(e.description(), "Not a valid password. ('" + folder.file("engine.mdb") + "')");
    }
}

// Arithmetic faults raise the old runtime's errors instead of NaN or infinity; whole numbers round halves to
// even; a text converts to a number only when the whole text is one.
TEST(Conversions, ValuesAndRefusals) {
    // clang-format off
    const struct { std::function<double()> f; double value; int number; } cases[] = {
        {[] { return checked::div(1.0, 4.0); }, 0.25, 0}, {[] { return checked::div(0.0, 0.0); }, 0, err::Overflow},
        {[] { return checked::div(1.0, 0.0); }, 0, err::DivisionByZero},
        {[] { return checked::sqrt(-1.0); }, 0, err::InvalidProcedureCall},
        {[] { return checked::pow(-8.0, 0.5); }, 0, err::InvalidProcedureCall},
        {[] { return checked::fin(std::numeric_limits<double>::infinity()); }, 0, err::Overflow},
        {[] { return checked::CLng(2.5) + checked::CLng(3.5) * 10 + checked::CInt(-2.5) * 100; }, 2 + 40 - 200, 0},
        {[] { return checked::CInt(32767.5); }, 0, err::Overflow}, {[] { return checked::idiv(-7.0, 2.0); }, -3, 0},
        {[] { return checked::idiv(1.0, 0.4); }, 0, err::DivisionByZero},
        {[] { return Variant(QStringLiteral(" 1.5")).toDouble(); }, 1.5, 0},
        {[] { return Variant(Variant(-2e3).toString()).toDouble(); }, -2000, 0},
        {[] { return Variant(QStringLiteral("1.5x")).toDouble(); }, 0, err::TypeMismatch},
        {[] { return Variant(QString()).toDouble(); }, 0, err::TypeMismatch},
    };
    // clang-format on
    for (size_t i = 0; i < std::size(cases); ++i) {
        double value = 0;
        EXPECT_EQ(errorOf([&] { value = cases[i].f(); }), cases[i].number) << "case " << i;
        EXPECT_DOUBLE_EQ(value, cases[i].value) << "case " << i;
    }
}

} // namespace
