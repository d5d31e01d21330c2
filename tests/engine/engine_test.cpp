#include "data/account.h"
#include "engine/engine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    Connection open(const QString &file = "inddata.mdb") {
        Connection c;
        c.Open(data::ConnectionString(file), {}, {}, -1);
        return c;
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
    QTemporaryDir dir;
    QString previous;
    Connection cn;
};

int errorNumber(const std::function<void()> &f) {
    try {
        f();
    } catch (const RuntimeError &e) {
        return e.number();
    }
    return 0;
}

TEST_F(EngineTest, NamesMatchWithoutRegardToCaseIncludingDanishLetters) {
    Recordset rs = table("INDDATA");
    rs.MoveFirst();
    rs.Fields("DækTykkelse") = 120.0;
    rs.Fields("UVÆRDI") = 0.25;
    rs.Update();
    EXPECT_EQ(rs.Fields("dæktykkelse").Name(), "dæktykkelse");
    cn.Execute("UPDATE INDDATA SET DÆKTYKKELSE = DÆKTYKKELSE + 1");
    Recordset check = table("inddata", adOpenStatic, adLockReadOnly);
    EXPECT_DOUBLE_EQ(check.Fields("Dæktykkelse").Value().toDouble(), 121.0);
    EXPECT_DOUBLE_EQ(check.Fields("uværdi").Value().toDouble(), 0.25);
    EXPECT_EQ(errorNumber([&] { check.Fields("nosuchfield"); }), err::ItemNotFound);
}

TEST_F(EngineTest, DynamicCursorSeesWhatAnotherRecordsetWrote) {
    Recordset a = table("inddata");
    Recordset b = table("inddata");
    a.MoveFirst();
    b.MoveFirst();
    EXPECT_DOUBLE_EQ(a.Fields("dæktykkelse").Value().toDouble(), 0.0);
    b.Fields("dæktykkelse") = 150.0;
    b.Update();
    EXPECT_DOUBLE_EQ(a.Fields("dæktykkelse").Value().toDouble(), 150.0);
    // A static cursor keeps its snapshot.
    Recordset s = table("inddata", adOpenStatic, adLockReadOnly);
    b.Fields("dæktykkelse") = 160.0;
    b.Update();
    EXPECT_DOUBLE_EQ(s.Fields("dæktykkelse").Value().toDouble(), 150.0);
}

TEST_F(EngineTest, UpdateWritesOnlyTheFieldsItChanged) {
    Recordset a = table("inddata");
    Recordset b = table("inddata");
    a.MoveFirst();
    b.MoveFirst();
    a.Fields("daekType") = "Beton";
    b.Fields("Uværdi") = 0.3;
    b.Update();
    a.Update();
    Recordset s = table("inddata", adOpenStatic, adLockReadOnly);
    EXPECT_EQ(s.Fields("daekType").Value().toString(), "Beton");
    EXPECT_DOUBLE_EQ(s.Fields("Uværdi").Value().toDouble(), 0.3);
}

TEST_F(EngineTest, AnEditOfARowAnotherRecordsetDeletedIsAnError) {
    fillLoads(2);
    Recordset a = table("inddatalast");
    a.MoveFirst();
    a.Fields("Størrelse") = 7.5;
    cn.Execute("DELETE FROM inddatalast WHERE lastid = 1");
    EXPECT_EQ(errorNumber([&] { a.Update(); }), err::DbRowDeleted);
    EXPECT_EQ(a.EditMode(), adEditNone);
    EXPECT_EQ(errorNumber([&] { a.Fields("Størrelse").Value(); }), err::NoCurrentRecord);
    a.MoveNext();
    EXPECT_EQ(a.Fields("lastid").Value().toLong(), 2);
    EXPECT_EQ(cn.Execute("UPDATE inddatalast SET lastid = lastid"), 1);
}

TEST_F(EngineTest, MoveZeroCommitsAPendingEditAndCancelUpdateDropsIt) {
    Recordset a = table("inddata");
    a.MoveFirst();
    a.Fields("daekType") = "Beton";
    EXPECT_EQ(a.EditMode(), adEditInProgress);
    a.Move(0);
    EXPECT_EQ(a.EditMode(), adEditNone);
    EXPECT_EQ(table("inddata", adOpenStatic, adLockReadOnly).Fields("daekType").Value().toString(), "Beton");

    a.Fields("daekType") = "Træ";
    a.CancelUpdate();
    EXPECT_EQ(a.Fields("daekType").Value().toString(), "Beton");
    a.Move(0); // nothing pending: writes nothing
    EXPECT_EQ(table("inddata", adOpenStatic, adLockReadOnly).Fields("daekType").Value().toString(), "Beton");
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
    rs.setFilter("Staaltype = 1 AND Diameter = 6 AND Overside = False");
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_DOUBLE_EQ(rs.Fields("As").Value().toDouble(), 106.0);
    EXPECT_EQ(rs.Fields("Overside").Value().integer(), 0);
    rs.setFilter("Overside = true and Staaltype = 1 and Diameter = 6");
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_DOUBLE_EQ(rs.Fields("As").Value().toDouble(), 106.5);
    EXPECT_EQ(rs.Fields("Overside").Value().integer(), -1); // truth values are stored as -1
    rs.setFilter("Staaltype = 3");
    EXPECT_TRUE(rs.Bof());
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(errorNumber([&] { rs.Fields("As").Value(); }), err::NoCurrentRecord);
    rs.setFilter("");
    EXPECT_EQ(rs.RecordCount(), 8);

    fillLoads(4);
    Recordset loads = table("inddatalast");
    loads.setFilter("LastID=3");
    EXPECT_EQ(loads.Fields("lastid").Value().toLong(), 3);
}

TEST_F(EngineTest, OpenSchemaListsUserTablesSortedWithoutRegardToCase) {
    Recordset rs = cn.OpenSchema(adSchemaTables);
    QStringList names;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        EXPECT_EQ(rs.Fields("TABLE_TYPE").Value().toString(), "TABLE");
        names << rs.Fields("TABLE_NAME").Value().toString();
    }
    EXPECT_EQ(names, QStringList({"Alpha", "beta", "inddata", "inddatalast", "ResultatArmering", "txtTerræn"}));
}

TEST_F(EngineTest, DeleteThenMoveNextEmptiesATwelveRowTable) {
    fillLoads(12);
    Recordset rs = table("inddatalast", adOpenKeyset, adLockPessimistic);
    ASSERT_FALSE(rs.Bof() && rs.Eof());
    rs.MoveFirst();
    int deleted = 0;
    while (!rs.Eof()) {
        rs.Delete();
        ++deleted;
        rs.MoveNext();
    }
    EXPECT_EQ(deleted, 12);
    rs.Close();
    Recordset again = table("inddatalast", adOpenStatic, adLockReadOnly);
    EXPECT_TRUE(again.Bof() && again.Eof());
}

TEST_F(EngineTest, AddNewKeepsInsertionOrderAndCountsAfterMoveLast) {
    Recordset rs = table("inddatalast", adOpenKeyset, adLockPessimistic);
    EXPECT_TRUE(rs.Bof() && rs.Eof());
    // An empty recordset has no first or last record to move to.
    EXPECT_EQ(errorNumber([&] { rs.MoveLast(); }), err::NoCurrentRecord);
    EXPECT_EQ(errorNumber([&] { rs.MoveFirst(); }), err::NoCurrentRecord);
    for (int i : {5, 1, 3}) {
        rs.AddNew();
        rs.Fields("lastid") = i;
        rs.Update();
        EXPECT_EQ(rs.Fields("lastid").Value().toLong(), i);
        EXPECT_EQ(rs.Fields("Lasttype").Value().toString(), ""); // the column default
    }
    Recordset s = table("inddatalast", adOpenStatic, adLockReadOnly);
    s.MoveLast();
    EXPECT_EQ(s.RecordCount(), 3);
    QList<int> order;
    for (s.MoveFirst(); !s.Eof(); s.MoveNext())
        order << s.Fields("lastid").Value().toLong();
    EXPECT_EQ(order, QList<int>({5, 1, 3}));
}

TEST_F(EngineTest, JetSqlTextsRunAsWritten) {
    fillLoads(2);
    EXPECT_EQ(cn.Execute("DELETE * FROM inddatalast"), 2);
    fillLoads(1);
    EXPECT_EQ(cn.Execute("DELETE * From [InddataLast] "), 1);
    cn.Execute("INSERT INTO [inddata] ([daekType], [DÆKTYKKELSE]) VALUES (\"it's\", 1.5) ");
    Recordset q;
    q.Open("SELECT * FROM inddata WHERE daekType = 'it''s'", cn, adOpenStatic, adLockReadOnly, adCmdUnspecified);
    EXPECT_DOUBLE_EQ(q.Fields("dæktykkelse").Value().toDouble(), 1.5);

    // A quote inside a double-quoted text is doubled, as in Jet.
    cn.Execute("INSERT INTO [inddata] ([daekType]) VALUES (\"12\"\" \"\"\") ");
    q.Close();
    q.Open("SELECT * FROM inddata WHERE daekType LIKE '12%'", cn, adOpenStatic, adLockReadOnly, adCmdUnspecified);
    EXPECT_EQ(q.Fields("daekType").Value().toString(), "12\" \"");

    Recordset t;
    t.Open("SELECT * FROM txtTerræn ORDER BY RkFlg;", cn, adOpenStatic, adLockReadOnly, adCmdUnspecified);
    QStringList terrain;
    for (; !t.Eof(); t.MoveNext())
        terrain << t.Fields("terræn").Value().toString();
    EXPECT_EQ(terrain, QStringList({"Ler", "Sand", "Grus"}));
}

TEST_F(EngineTest, FieldTypesAsAdoNumbersAndAutoIncrement) {
    Recordset rs = table("ResultatArmering", adOpenStatic, adLockReadOnly);
    EXPECT_EQ(rs.Fields("ID").Type(), adInteger);
    EXPECT_TRUE(rs.Fields("ID").Property("ISAUTOINCREMENT").toBool());
    EXPECT_FALSE(rs.Fields("As").Property("IsAutoIncrement").toBool());
    EXPECT_EQ(rs.Fields("Staaltype").Type(), adSmallInt);
    EXPECT_EQ(rs.Fields("Overside").Type(), adBoolean);
    EXPECT_EQ(rs.Fields("As").Type(), adDouble);
    EXPECT_EQ(table("inddata").Fields("daekType").Type(), adVarWChar);
}

TEST_F(EngineTest, NullReadsAsNullAndFailsOnlyWhenConverted) {
    cn.Execute("UPDATE inddata SET [dæktykkelse] = NULL, daekType = NULL");
    Recordset rs = table("inddata");
    const Variant v = rs.Fields("dæktykkelse").Value();
    EXPECT_TRUE(v.isNull());
    EXPECT_EQ(errorNumber([&] { v.toDouble(); }), err::InvalidUseOfNull);
    EXPECT_EQ(errorNumber([&] { rs.Fields("daekType").Value().toString(); }), err::InvalidUseOfNull);
}

TEST_F(EngineTest, DatabaseErrorsCarryNegativeNumbersAndChangeNothing) {
    EXPECT_LT(errorNumber([&] { table("nosuchtable"); }), 0);
    EXPECT_LT(errorNumber([&] { cn.Execute("SELEKT nothing"); }), 0);
    EXPECT_LT(errorNumber([&] { cn.Execute("UPDATE inddata SET nosuchcolumn = 1"); }), 0);
    // A number column refuses a text, as the old engine did.
    EXPECT_LT(errorNumber([&] { cn.Execute("INSERT INTO inddatalast (lastid) VALUES (\"abc\")"); }), 0);
    EXPECT_LT(errorNumber([&] { cn.Execute("INSERT INTO inddatalast (lastid) VALUES (#TRUE#)"); }), 0);
    Recordset loads = table("inddatalast", adOpenStatic, adLockReadOnly);
    EXPECT_TRUE(loads.Bof() && loads.Eof());
    EXPECT_NE(errorNumber([&] { loads.Fields("lastid") = 1; }), 0); // read-only
}

TEST_F(EngineTest, MissingDatabaseIsAnErrorAndNoFileIsMade) {
    EXPECT_LT(errorNumber([&] { open("param.mdb"); }), 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("param.mdb")));
    // A connection string that is not key=value entries is refused.
    Connection bad;
    EXPECT_EQ(errorNumber([&] { bad.Open("Data Source inddata.mdb"); }), err::DbFailure);
    EXPECT_FALSE(bad.IsOpen());
    // A wrong database password is refused.
    Connection c;
    QString cs = data::ConnectionString("inddata.mdb");
    cs.replace("Database Password=" + data::kPassword, "Database Password=wrong");
    EXPECT_LT(errorNumber([&] { c.Open(cs); }), 0);
    EXPECT_FALSE(c.IsOpen());
    // File names are found without regard to case.
    QFile::rename(dir.filePath("inddata.mdb"), dir.filePath("INDDATA.MDB"));
    EXPECT_TRUE(open("inddata.mdb").IsOpen());
}

TEST_F(EngineTest, CompactionWritesAValidCopyAndNeverOverwrites) {
    cn.Execute("UPDATE inddata SET daekType = 'Beton'");
    Engine::CompactDatabase(dir.filePath("inddata.mdb"), dir.filePath("inddata.tmp"));
    ASSERT_TRUE(QFile::exists(dir.filePath("inddata.tmp")));
    QFile::copy(dir.filePath("inddata.tmp"), dir.filePath("copy.mdb"));
    Connection c = open("copy.mdb");
    Recordset rs;
    rs.Open("inddata", c, adOpenStatic, adLockReadOnly, adCmdTable);
    EXPECT_EQ(rs.Fields("daekType").Value().toString(), "Beton");
    EXPECT_NE(errorNumber([&] { Engine::CompactDatabase(dir.filePath("inddata.mdb"), dir.filePath("INDDATA.TMP")); }),
              0);
    EXPECT_NE(errorNumber([&] { Engine::CompactDatabase(dir.filePath("none.mdb"), dir.filePath("x.tmp")); }), 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("x.tmp")));
}

TEST_F(EngineTest, TransactionsRollBack) {
    cn.BeginTrans();
    fillLoads(3);
    cn.RollbackTrans();
    cn.BeginTrans();
    fillLoads(1);
    cn.CommitTrans();
    Recordset rs = table("inddatalast", adOpenStatic, adLockReadOnly);
    rs.MoveLast();
    EXPECT_EQ(rs.RecordCount(), 1);
}

TEST_F(EngineTest, CopiesOfARecordsetHandleShareItsOpenAndClose) {
    Recordset rs;
    Recordset alias = rs;
    rs.Open("inddata", cn, adOpenDynamic, adLockPessimistic, adCmdTable);
    EXPECT_TRUE(alias.IsOpen());
    alias.Fields("daekType") = "Beton";
    rs.Update();
    rs.Close();
    EXPECT_FALSE(alias.IsOpen());
    EXPECT_EQ(table("inddata", adOpenStatic, adLockReadOnly).Fields("daekType").Value().toString(), "Beton");
}

} // namespace
