#include "data/account.h"
#include "engine/checked.h"
#include "engine/engine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

using namespace engine;

namespace {

const char *kScript = R"sql(
CREATE TABLE "inddata" ("InddataID" DOUBLE DEFAULT 1, "daekType" TEXT DEFAULT '', "dæktykkelse" DOUBLE DEFAULT 0,
                        "Uværdi" DOUBLE DEFAULT 0);
CREATE TABLE "inddatalast" ("lastid" DOUBLE DEFAULT 0, "Lasttype" TEXT DEFAULT '', "Størrelse" DOUBLE DEFAULT 0);
CREATE TABLE "ResultatArmering" ("ID" INTEGER PRIMARY KEY AUTOINCREMENT, "Staaltype" SMALLINT, "Diameter" INTEGER,
                                 "Overside" BIT, "As" DOUBLE);
CREATE TABLE "txtTerræn" ("RkFlg" INTEGER, "Terræn" TEXT);
CREATE TABLE "Alpha" ("x" TEXT);
CREATE TABLE "beta" ("x" TEXT);
INSERT INTO "inddata" DEFAULT VALUES;
INSERT INTO "txtTerræn" VALUES (2, 'Sand'), (1, 'Ler'), (3, 'Grus');
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

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        CreateDatabase(dir.filePath("inddata.mdb"), QString::fromUtf8(kScript), false, data::kUser, data::kPassword);
        CreateDatabase(dir.filePath("system.mdw"), QString(), true, data::kUser, data::kPassword);
        cn = open();
    }
    void TearDown() override { QDir::setCurrent(previous); }
    static Connection open(const QString &file = "inddata.mdb") {
        Connection c;
        c.Open(data::ConnectionString(file), {}, {}, -1);
        return c;
    }
    Recordset table(const QString &name, int cursor = adOpenDynamic, int lock = adLockPessimistic) {
        Recordset rs;
        rs.Open(name, cn, cursor, lock, adCmdTable);
        return rs;
    }
    // One field of the first row, read afresh.
    Variant stored(const QString &tableName, const QString &field) {
        return table(tableName, adOpenStatic, adLockReadOnly).Fields(field).Value();
    }
    QList<int> loadIds() {
        QList<int> ids;
        for (Recordset s = table("inddatalast", adOpenStatic, adLockReadOnly); !s.Eof(); s.MoveNext())
            ids << s.Fields("lastid").Value().toLong();
        return ids;
    }
    void fillLoads(int n) {
        for (int i = 1; i <= n; ++i)
            cn.Execute(QStringLiteral("INSERT INTO inddatalast (lastid, Lasttype) VALUES (%1, \"Punktlast\")").arg(i));
    }
    QTemporaryDir dir;
    QString previous;
    Connection cn;
};

TEST_F(EngineTest, RecordsetsFindNamesInAnyCaseShareTheRowAndWriteOnlyWhatChanged) {
    Recordset a = table("INDDATA"), b = table("inddata"), c = table("inddata"), alias;
    Recordset snapshot = table("inddata", adOpenStatic, adLockReadOnly);
    EXPECT_DOUBLE_EQ(c.Fields("uværdi").Value().toDouble(), 0.0);
    a.Fields("DækTykkelse") = 120.0;
    b.Fields("UVÆRDI") = 0.25;
    b.Update();
    a.Update(); // its own change only: b's value stays
    EXPECT_EQ(a.Fields("dæktykkelse").Name(), "dæktykkelse");
    EXPECT_DOUBLE_EQ(c.Fields("uværdi").Value().toDouble(), 0.25) << "a dynamic cursor sees another's write";
    EXPECT_DOUBLE_EQ(snapshot.Fields("dæktykkelse").Value().toDouble(), 0.0) << "a static cursor keeps its snapshot";
    cn.Execute("UPDATE INDDATA SET DÆKTYKKELSE = DÆKTYKKELSE + 1");
    EXPECT_DOUBLE_EQ(stored("inddata", "Dæktykkelse").toDouble(), 121.0);
    EXPECT_DOUBLE_EQ(stored("inddata", "uværdi").toDouble(), 0.25);

    // Copies of a handle share its open and close.
    Recordset copy = alias;
    alias.Open("inddata", cn, adOpenDynamic, adLockPessimistic, adCmdTable);
    EXPECT_TRUE(copy.IsOpen());
    copy.Fields("daekType") = "Beton";
    alias.Update();
    alias.Close();
    EXPECT_FALSE(copy.IsOpen());
    EXPECT_EQ(stored("inddata", "daekType").toString(), "Beton");
}

TEST_F(EngineTest, PendingEditsCommitOnMoveZeroAndDropOnCancelOrWhenTheRowIsGone) {
    Recordset a = table("inddata");
    a.Fields("daekType") = "Beton";
    EXPECT_EQ(a.EditMode(), adEditInProgress);
    a.Move(0);
    EXPECT_EQ(a.EditMode(), adEditNone);
    a.Fields("daekType") = "Træ";
    a.CancelUpdate();
    EXPECT_EQ(a.Fields("daekType").Value().toString(), "Beton");
    a.Move(0); // nothing pending: writes nothing
    EXPECT_EQ(stored("inddata", "daekType").toString(), "Beton");

    fillLoads(2);
    Recordset l = table("inddatalast");
    l.Fields("Størrelse") = 7.5;
    cn.Execute("DELETE FROM inddatalast WHERE lastid = 1");
    EXPECT_EQ(errorOf([&] { l.Update(); }), err::DbRowDeleted);
    EXPECT_EQ(l.EditMode(), adEditNone);
    EXPECT_EQ(errorOf([&] { l.Fields("Størrelse").Value(); }), err::NoCurrentRecord);
    l.MoveNext();
    EXPECT_EQ(l.Fields("lastid").Value().toLong(), 2);
    EXPECT_EQ(cn.Execute("UPDATE inddatalast SET lastid = lastid"), 1);
}

TEST_F(EngineTest, AddNewDeleteAndMoveLastKeepTheOrderOfTheRows) {
    Recordset rs = table("inddatalast", adOpenKeyset, adLockPessimistic);
    EXPECT_TRUE(rs.Bof() && rs.Eof());
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
    EXPECT_EQ(loadIds(), QList<int>({5, 1, 3}));

    // The last live row is the first: MoveLast stops on it, not at the end.
    rs.MoveLast();
    rs.Delete();
    rs.MoveLast();
    rs.Delete();
    rs.MoveLast();
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Fields("lastid").Value().toLong(), 5);

    fillLoads(12);
    int deleted = 0;
    for (rs = table("inddatalast", adOpenKeyset, adLockPessimistic); !rs.Eof(); rs.MoveNext(), ++deleted)
        rs.Delete();
    EXPECT_EQ(deleted, 13);
    EXPECT_TRUE(loadIds().isEmpty());

    cn.BeginTrans();
    fillLoads(3);
    cn.RollbackTrans();
    cn.BeginTrans();
    fillLoads(1);
    cn.CommitTrans();
    EXPECT_EQ(loadIds(), QList<int>({1}));
}

TEST_F(EngineTest, FiltersInTheFormsTheProgramWrites) {
    Recordset rs = table("ResultatArmering");
    for (int st = 1; st <= 2; ++st)
        for (int d : {6, 8})
            for (bool top : {false, true}) {
                rs.AddNew();
                rs.Fields("Staaltype") = st;
                rs.Fields("Diameter") = d;
                rs.Fields("Overside") = top;
                rs.Fields("As") = st * 100.0 + d + (top ? 0.5 : 0.0);
                rs.Update();
            }
    EXPECT_EQ(cn.Execute("UPDATE ResultatArmering SET [As] = [As] WHERE Overside = True"), 4);
    const struct {
        const char *filter;
        int count;
        double as;
        int overside; // truth values are stored as -1
    } cases[] = {{"Staaltype = 1 AND Diameter = 6 AND Overside = False", 1, 106.0, 0},
                 {"Overside = true and Staaltype = 1 and Diameter = 6", 1, 106.5, -1},
                 {"Staaltype = 3", 0, 0, 0},
                 {"", 8, 106.0, 0}};
    for (const auto &c : cases) {
        rs.setFilter(c.filter);
        ASSERT_EQ(rs.RecordCount(), c.count) << c.filter;
        if (c.count == 0) {
            EXPECT_TRUE(rs.Bof() && rs.Eof());
            EXPECT_EQ(errorOf([&] { rs.Fields("As").Value(); }), err::NoCurrentRecord);
            continue;
        }
        EXPECT_DOUBLE_EQ(rs.Fields("As").Value().toDouble(), c.as) << c.filter;
        EXPECT_EQ(rs.Fields("Overside").Value().integer(), c.overside) << c.filter;
    }
    fillLoads(4);
    cn.Execute("UPDATE inddatalast SET Lasttype = 'Hjultryk' WHERE lastid = 2");
    Recordset loads = table("inddatalast");
    loads.setFilter("LastID=3");
    EXPECT_EQ(loads.Fields("lastid").Value().toLong(), 3);
    loads.setFilter("Lasttype = 'Hjultryk'");
    ASSERT_EQ(loads.RecordCount(), 1);
    EXPECT_EQ(loads.Fields("lastid").Value().toLong(), 2);
}

TEST_F(EngineTest, JetSqlSchemaAndFieldTypes) {
    fillLoads(2);
    EXPECT_EQ(cn.Execute("DELETE * FROM inddatalast"), 2);
    fillLoads(1);
    EXPECT_EQ(cn.Execute("DELETE * From [InddataLast] "), 1);
    // A quote inside a double-quoted text is doubled, as in Jet.
    cn.Execute("INSERT INTO [inddata] ([daekType], [DÆKTYKKELSE]) VALUES (\"12\"\" it's\", 1.5) ");
    Recordset q;
    q.Open("SELECT * FROM inddata WHERE daekType = '12\" it''s'", cn, adOpenStatic, adLockReadOnly, adCmdUnspecified);
    EXPECT_DOUBLE_EQ(q.Fields("dæktykkelse").Value().toDouble(), 1.5);

    q.Close();
    q.Open("SELECT * FROM txtTerræn ORDER BY RkFlg;", cn, adOpenStatic, adLockReadOnly, adCmdUnspecified);
    QStringList terrain;
    for (; !q.Eof(); q.MoveNext())
        terrain << q.Fields("terræn").Value().toString();
    EXPECT_EQ(terrain, QStringList({"Ler", "Sand", "Grus"}));

    QStringList names;
    for (Recordset rs = cn.OpenSchema(adSchemaTables); !rs.Eof(); rs.MoveNext()) {
        EXPECT_EQ(rs.Fields("TABLE_TYPE").Value().toString(), "TABLE");
        names << rs.Fields("TABLE_NAME").Value().toString();
    }
    EXPECT_EQ(names, QStringList({"Alpha", "beta", "inddata", "inddatalast", "ResultatArmering", "txtTerræn"}));

    Recordset rs = table("ResultatArmering", adOpenStatic, adLockReadOnly);
    EXPECT_TRUE(rs.Fields("ID").Property("ISAUTOINCREMENT").toBool());
    EXPECT_FALSE(rs.Fields("As").Property("IsAutoIncrement").toBool());
    const std::pair<const char *, int> types[] = {
        {"ID", adInteger}, {"Staaltype", adSmallInt}, {"Overside", adBoolean}, {"As", adDouble}};
    for (const auto &[field, type] : types)
        EXPECT_EQ(rs.Fields(field).Type(), type) << field;
    EXPECT_EQ(table("inddata").Fields("daekType").Type(), adVarWChar);
}

// Every refusal has its number, and a database error changes nothing.
TEST_F(EngineTest, RefusalsRaiseTheirNumbers) {
    cn.Execute("UPDATE inddata SET [dæktykkelse] = NULL, daekType = NULL");
    Recordset in = table("inddata");
    Recordset loads = table("inddatalast", adOpenStatic, adLockReadOnly);
    Connection bad;
    QString wrongPassword = data::ConnectionString("inddata.mdb");
    wrongPassword.replace("Database Password=" + data::kPassword, "Database Password=wrong");
    const struct {
        const char *what;
        std::function<void()> action;
        int number;
    } cases[] = {
        {"unknown field", [&] { in.Fields("nosuchfield"); }, err::ItemNotFound},
        {"field index past the last", [&] { in.Fields(in.FieldCount()); }, err::ItemNotFound},
        {"null number", [&] { in.Fields("dæktykkelse").Value().toDouble(); }, err::InvalidUseOfNull},
        {"null text", [&] { in.Fields("daekType").Value().toString(); }, err::InvalidUseOfNull},
        {"MoveLast on no rows", [&] { loads.MoveLast(); }, err::NoCurrentRecord},
        {"MoveFirst on no rows", [&] { loads.MoveFirst(); }, err::NoCurrentRecord},
        {"write to a read-only recordset", [&] { loads.Fields("lastid") = 1; }, 3251},
        {"unknown table", [&] { table("nosuchtable"); }, kDbError},
        {"no SQL", [&] { cn.Execute("SELEKT nothing"); }, kDbError},
        {"unknown column", [&] { cn.Execute("UPDATE inddata SET nosuchcolumn = 1"); }, kDbError},
        {"text into a number", [&] { cn.Execute("INSERT INTO inddatalast (lastid) VALUES (\"abc\")"); }, kDbError},
        {"date into a number", [&] { cn.Execute("INSERT INTO inddatalast (lastid) VALUES (#TRUE#)"); }, kDbError},
        {"missing database", [&] { open("param.mdb"); }, kDbError},
        {"wrong password", [&] { bad.Open(wrongPassword); }, kDbError},
        {"no key=value string", [&] { bad.Open("Data Source inddata.mdb"); }, err::DbFailure},
    };
    for (const auto &c : cases) {
        const int number = errorOf(c.action);
        EXPECT_EQ(c.number == kDbError && number < 0 ? kDbError : number, c.number) << c.what;
    }
    EXPECT_TRUE(loads.Bof() && loads.Eof());
    EXPECT_FALSE(bad.IsOpen());
    EXPECT_FALSE(QFile::exists(dir.filePath("param.mdb"))) << "a missing database is never made";
}

TEST_F(EngineTest, FilesAreFoundInAnyCaseAndCompactionNeverOverwrites) {
    cn.Execute("UPDATE inddata SET daekType = 'Beton'");
    Engine::CompactDatabase(dir.filePath("inddata.mdb"), dir.filePath("inddata.tmp"));
    QFile::rename(dir.filePath("inddata.tmp"), dir.filePath("COPY.MDB"));
    Recordset rs;
    rs.Open("inddata", open("copy.mdb"), adOpenStatic, adLockReadOnly, adCmdTable);
    EXPECT_EQ(rs.Fields("daekType").Value().toString(), "Beton");
    EXPECT_NE(errorOf([&] { Engine::CompactDatabase(dir.filePath("inddata.mdb"), dir.filePath("Copy.mdb")); }), 0);
    EXPECT_NE(errorOf([&] { Engine::CompactDatabase(dir.filePath("none.mdb"), dir.filePath("x.tmp")); }), 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("x.tmp")));
}

// Arithmetic faults raise the old runtime's errors instead of NaN or infinity; whole numbers round halves to
// even; texts convert to numbers only when the whole text is one.
TEST(Conversions, ValuesAndRefusals) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char *what;
        std::function<double()> f;
        double value;
        int number;
    } cases[] = {
        {"1/4", [] { return checked::div(1.0, 4.0); }, 0.25, 0},
        {"1/0", [] { return checked::div(1.0, 0.0); }, 0, err::DivisionByZero},
        {"0/0", [] { return checked::div(0.0, 0.0); }, 0, err::Overflow},
        {"1e300/1e-300", [] { return checked::div(1e300, 1e-300); }, 0, err::Overflow},
        {"sqrt -1", [] { return checked::sqrt(-1.0); }, 0, err::InvalidProcedureCall},
        {"-2^3", [] { return checked::pow(-2.0, 3.0); }, -8, 0},
        {"-8^0.5", [] { return checked::pow(-8.0, 0.5); }, 0, err::InvalidProcedureCall},
        {"infinity", [inf] { return checked::fin(inf); }, 0, err::Overflow},
        {"CLng 2.5", [] { return checked::CLng(2.5); }, 2, 0},
        {"CLng 3.5", [] { return checked::CLng(3.5); }, 4, 0},
        {"CLng -2.5", [] { return checked::CLng(-2.5); }, -2, 0},
        {"CInt 0.5", [] { return checked::CInt(0.5); }, 0, 0},
        {"CInt 32767.5", [] { return checked::CInt(32767.5); }, 0, err::Overflow},
        {"CLng 3e9", [] { return checked::CLng(3e9); }, 0, err::Overflow},
        {"275 \\ 25", [] { return checked::idiv(275.0, 25.0); }, 11, 0},
        {"-7 \\ 2", [] { return checked::idiv(-7.0, 2.0); }, -3, 0},
        {"1 \\ 0.4", [] { return checked::idiv(1.0, 0.4); }, 0, err::DivisionByZero},
        {"text 1.5", [] { return Variant(QStringLiteral(" 1.5")).toDouble(); }, 1.5, 0},
        {"text -2e3", [] { return Variant(QStringLiteral("-2e3")).toDouble(); }, -2000, 0},
        {"text 1.5x", [] { return Variant(QStringLiteral("1.5x")).toDouble(); }, 0, err::TypeMismatch},
        {"text abc", [] { return Variant(QStringLiteral("abc")).toDouble(); }, 0, err::TypeMismatch},
        {"empty text", [] { return Variant(QString()).toDouble(); }, 0, err::TypeMismatch},
        {"number 1.5 to text", [] { return Variant(Variant(1.5).toString()).toDouble(); }, 1.5, 0},
    };
    for (const auto &c : cases) {
        double value = 0;
        EXPECT_EQ(errorOf([&] { value = c.f(); }), c.number) << c.what;
        EXPECT_DOUBLE_EQ(value, c.value) << c.what;
    }
}

} // namespace
