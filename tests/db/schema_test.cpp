// The delivered databases as the program finds them: every table and column under its stored name, in its
// stored order and of its field type, the single rows, the column defaults and the parameter rows.

#include "engine/engine.h"
#include "support/databases.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

using engine::Connection;
using engine::Recordset;

constexpr int Txt = engine::adVarWChar;
constexpr int Dbl = engine::adDouble;
constexpr int Lng = engine::adInteger;
constexpr int Int = engine::adSmallInt;
constexpr int Bool = engine::adBoolean;

struct Column {
    std::string name;
    int type;
};
using Columns = std::vector<Column>;

// "name:T name:D ..." with T text, D double, L long, I small integer, B truth value.
Columns cols(const char *list) {
    static const std::map<char, int> types = {{'T', Txt}, {'D', Dbl}, {'L', Lng}, {'I', Int}, {'B', Bool}};
    Columns out;
    for (const QString &item : QString::fromUtf8(list).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        out.push_back({item.section(QLatin1Char(':'), 0, -2).toStdString(), types.at(item.back().toLatin1())});
    return out;
}

// "name type" per column, so that a mismatch prints the whole list.
std::vector<std::string> describe(const Columns &cs) {
    std::vector<std::string> out;
    for (const auto &c : cs)
        out.push_back(c.name + " " + std::to_string(c.type));
    return out;
}

Recordset openTable(const Connection &cn, const QString &table) {
    Recordset rs;
    rs.Open(table, cn, engine::adOpenKeyset, engine::adLockPessimistic, engine::adCmdTable);
    return rs;
}

Columns columnsOf(const Recordset &rs) {
    Columns out;
    for (int i = 0; i < rs.FieldCount(); ++i)
        out.push_back({rs.Fields(i).Name().toStdString(), rs.Fields(i).Type()});
    return out;
}

bool hasAutoIncrement(const Recordset &rs) {
    for (int i = 0; i < rs.FieldCount(); ++i)
        if (rs.Fields(i).Property(QStringLiteral("ISAUTOINCREMENT")).toBool())
            return true;
    return false;
}

long rowCount(Recordset &rs) {
    if (rs.Bof() && rs.Eof())
        return 0;
    rs.MoveLast();
    return rs.RecordCount();
}

const std::vector<std::pair<QString, Columns>> &inputTables() {
    static const std::vector<std::pair<QString, Columns>> tables = {
        {"inddata", cols("InddataID:L daekType:T sikkerhedsklassetext:T kvalitettext:T TrykstyrkeRgm:D tau:D "
                         "TraekstyrkeRgm:D TraekstyrkeKar:D Eo:D En:D Go:D GN:D dæktykkelse:D Miljøklasse:T "
                         "dæklag:D Revnevidde:D mellemlag:T mellemlagtykkelse:D mellemlagkorr:D mellemlaglambda:D "
                         "terræn:T terrænballast:D terrænzigma:D isolballasto:D isolballastn:D resBallasto:D "
                         "resBallastn:D Uværdi:D")},
        {"inddatalast", cols("InddataID:L lastid:L Lasttype:T Afstand:D LastForm:T bredde:D længde:D Placering:T "
                             "Afstandfra:D Størrelse:D PartialK:D")},
        {"inddataisolering", cols("InddataID:L lagnr:L IsoleringType:T IsoleringTykkelse:D Zigmao:D Zigman:D "
                                  "LambdaTør:D LambdaVåd:D Eo:D En:D")},
        {"projekt", cols("projektid:T beregner:T dato:T tekst:T")},
    };
    return tables;
}

const Columns firmaColumns = cols("Navn:T Adresse:T Postnr:T By:T Tlf:T Fax:T DirekteTlf:T Kontakt:T e-mail:T");

Columns withOplysninger(Columns cs) {
    for (const auto &c : cols("Oplysning1:T Oplysning2:T Oplysning3:T Oplysning4:T Oplysning5:T"))
        cs.push_back(c);
    return cs;
}

const std::vector<std::pair<QString, Columns>> &resultTables() {
    static const std::vector<std::pair<QString, Columns>> tables = {
        {"ResultatBeton",
         withOplysninger(cols("KarakteristiskMaxPos:D KarakteristiskMaxNeg:D Deformation:D Uværdi:D "
                              "RetningsmMaxPos:D RetningsmMaxNeg:D RetningsmKapUarm:D IsoFaktisk:D IsoTilladt:D "
                              "IsoFaktisk2:D IsoTilladt2:D"))},
        {"ResultatBrugdef",
         withOplysninger(cols("KarakteristiskMax:D KarakteristiskMin:D RetningsmSpaendTraekTil:D "
                              "RetningsmSpaendTrykTil:D Deformation:D Uværdi:D RetningsmMax:D RetningsmMin:D "
                              "IsoFaktisk:D IsoTilladt:D IsoFaktisk2:D IsoTilladt2:D RetningsmSpaendTraekFak:D "
                              "RetningsmSpaendTrykFak:D"))},
        {"ResultatArmering", cols("Diameter:I StaalType:I Overside:B As:D a:D")},
        {"ResultatOplysning", cols("Oplysning:T")},
    };
    return tables;
}

// The print row: each layer's fields with the layer's number, then area and spacing per diameter, side and
// steel type in the order the print preparation fills them (58 in all).
Columns udskriftColumns() {
    const Columns layer =
        cols("Lagnr:L IsoleringType:T Eo:D En:D IsoleringTykkelse:D Zigmao:D Zigman:D LambdaTør:D LambdaVåd:D");
    Columns out;
    for (const char *n : {"1", "2"})
        for (const auto &c : layer)
            out.push_back({c.name + n, c.type});
    for (int d : {6, 8, 10, 12, 16})
        for (const char *side : {"Over", "Under"})
            for (const char *steel : {"1", "2"})
                for (const char *what : {"as", "a"})
                    out.push_back({std::to_string(d) + side + steel + what, Dbl});
    return out;
}

class InddataDatabase : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    Connection cn = folder.open(QStringLiteral("inddata.mdb"));
};

TEST_F(InddataDatabase, HoldsExactlyTheProgramsTables) {
    std::vector<std::string> listed;
    Recordset rs = cn.OpenSchema(engine::adSchemaTables);
    for (; !rs.Eof(); rs.MoveNext())
        listed.push_back(rs.Fields(QStringLiteral("TABLE_NAME")).Value().toString().toStdString());
    const std::vector<std::string> expected = {
        "Firma",         "inddata",         "inddataisolering",  "inddatalast", "projekt", "ResultatArmering",
        "ResultatBeton", "ResultatBrugdef", "ResultatOplysning", "Udskrift"};
    EXPECT_EQ(expected, listed);
}

TEST_F(InddataDatabase, EveryTableHasItsColumnsInOrderWithoutAutoIncrement) {
    auto all = inputTables();
    all.insert(all.end(), resultTables().begin(), resultTables().end());
    all.push_back({"Firma", firmaColumns});
    all.push_back({"Udskrift", udskriftColumns()});
    ASSERT_EQ(58u, all.back().second.size());
    for (const auto &[table, expected] : all) {
        SCOPED_TRACE(table.toStdString());
        Recordset rs = openTable(cn, table);
        EXPECT_EQ(table, rs.tableName());
        EXPECT_EQ(describe(expected), describe(columnsOf(rs)));
        EXPECT_FALSE(hasAutoIncrement(rs));
    }
}

TEST_F(InddataDatabase, DeliversOneEmptyCompanyRowOnePrintRowAndNoOtherRows) {
    Recordset firma = openTable(cn, QStringLiteral("Firma"));
    ASSERT_EQ(1, rowCount(firma));
    firma.MoveFirst();
    for (const auto &c : firmaColumns)
        EXPECT_EQ(QString(), firma.Fields(QString::fromStdString(c.name)).Value().toString()) << c.name;

    Recordset udskrift = openTable(cn, QStringLiteral("Udskrift"));
    EXPECT_EQ(1, rowCount(udskrift));

    for (const auto *group : {&inputTables(), &resultTables()})
        for (const auto &entry : *group) {
            Recordset rs = openTable(cn, entry.first);
            EXPECT_EQ(0, rowCount(rs)) << entry.first.toStdString();
        }
}

// A project file may name only some columns of a table: the others take the default input's values.
TEST_F(InddataDatabase, InputColumnsLeftOutOfAnInsertTakeTheDefaultInput) {
    const std::map<QString, std::pair<std::string, QString>> namedColumn = {{"inddata", {"Uværdi", "0.5"}},
                                                                            {"inddatalast", {"lastid", "3"}},
                                                                            {"inddataisolering", {"lagnr", "2"}},
                                                                            {"projekt", {"tekst", "'x'"}}};
    // Columns whose default is not the empty text or 0.
    const std::map<std::string, double> ones = {{"inddata.InddataID", 1},    {"inddatalast.InddataID", 1},
                                                {"inddatalast.PartialK", 1}, {"inddataisolering.InddataID", 1},
                                                {"inddataisolering.Eo", 1},  {"inddataisolering.En", 1}};
    for (const auto &[table, columns] : inputTables()) {
        SCOPED_TRACE(table.toStdString());
        const auto &[named, literal] = namedColumn.at(table);
        cn.Execute("INSERT INTO [" + table + "] ([" + QString::fromStdString(named) + "]) VALUES (" + literal + ") ");
        Recordset rs = openTable(cn, table);
        ASSERT_FALSE(rs.Eof());
        for (const auto &c : columns) {
            if (c.name == named)
                continue;
            const engine::Variant v = rs.Fields(QString::fromStdString(c.name)).Value();
            if (c.type == Txt) {
                EXPECT_EQ(QString(), v.toString()) << c.name;
            } else {
                const auto one = ones.find(table.toStdString() + "." + c.name);
                EXPECT_EQ(one == ones.end() ? 0.0 : one->second, v.toDouble()) << c.name;
            }
        }
    }
}

TEST_F(InddataDatabase, InputColumnsAcceptNull) {
    for (const auto &[table, columns] : inputTables()) {
        SCOPED_TRACE(table.toStdString());
        QStringList names, nulls;
        for (const auto &c : columns) {
            names << "[" + QString::fromStdString(c.name) + "]";
            nulls << QStringLiteral("NULL");
        }
        cn.Execute("INSERT INTO [" + table + "] (" + names.join(", ") + ") VALUES (" + nulls.join(", ") + ") ");
        Recordset rs = openTable(cn, table);
        ASSERT_FALSE(rs.Eof());
        for (int i = 0; i < rs.FieldCount(); ++i)
            EXPECT_TRUE(rs.Fields(i).Value().isNull()) << rs.Fields(i).Name().toStdString();
    }
}

// Company and project texts are typed freely; the column refuses what does not fit and keeps its value.
TEST_F(InddataDatabase, CompanyAndProjectTextsHoldAtMost255Characters) {
    cn.Execute(QStringLiteral("INSERT INTO [projekt] ([tekst]) VALUES ('') "));
    const QString fits(255, QChar(u'ø'));
    const QString tooLong(256, QChar(u'x'));
    for (const QString table : {"Firma", "projekt"}) {
        Recordset rs = openTable(cn, table);
        for (int i = 0; i < rs.FieldCount(); ++i) {
            SCOPED_TRACE((table + "." + rs.Fields(i).Name()).toStdString());
            rs.Fields(i).setValue(fits);
            EXPECT_NO_THROW(rs.Update());
            rs.Fields(i).setValue(tooLong);
            EXPECT_THROW(rs.Update(), engine::RuntimeError);
            rs.CancelUpdate();
            Recordset check = openTable(cn, table);
            EXPECT_EQ(fits, check.Fields(i).Value().toString());
        }
    }
}

struct ParameterTable {
    QString file;
    QString table;
    Columns columns;
    std::vector<QString> keys;
};

const std::vector<ParameterTable> &parameterTables() {
    static const std::vector<ParameterTable> tables = {
        {"param.mdb",
         "txtDaekType",
         cols("RkFlg:L daekType:T traekstyrke:D trykstyrke:D Eo:D En:D Go:D GN:D tykkelse:D"),
         {"Spånplade P5, 22 mm", "Spånplade P6, 22 mm", "Spånplade P7, 22 mm", "OSB/3, 22 mm",
          "Krydsfiner, nåletræ, 21 mm", "Gipsfiberplade, 2 x 12,5 mm"}},
        {"param.mdb", "txtSikkerhedsKlasse", cols("RkFlg:L Klasse:T gamma:D"), {"Lav", "Normal", "Høj"}},
        {"param.mdb",
         "txtBetonKvalitet",
         cols("RkFlg:L kvalitet:T Styrke:D"),
         {"C12/15", "C16/20", "C20/25", "C25/30", "C30/37", "C35/45", "C40/50", "C45/55"}},
        {"param.mdb",
         "txtDaekLag",
         cols("RkFlg:L Miljøklasse:T tykkelse:D Wmax:D"),
         {"Passiv", "Moderat", "Aggressiv", "Ekstra aggressiv"}},
        {"param.mdb",
         "txtMellemlag",
         cols("RkFlg:L Type:T Korrektionsfaktor:D Varmeledningstal:D"),
         {"Singels 4-8 mm", "Skærver 16-32 mm", "Stabilgrus", "Letklinker 10-20 mm"}},
        {"param.mdb",
         "txtTerræn",
         cols("RkFlg:L Type:T ballasttal:D"),
         {"Moræneler", "Morænesand", "Ler, fedt", "Sand, løst lejret", "Sand, middelfast lejret", "Sand, fast lejret",
          "Fyldsand, komprimeret", "Grus, velgraderet"}},
        {"isol.mdb",
         "txtIsolering",
         cols("RkFlg:L Type:T MaxLastKort:D MaxLastLang:D LambdaTør:D LambdaVåd:D Elang:D Ekort:D"),
         {"EPS 80", "EPS 100", "EPS 150", "EPS 200", "EPS 250", "XPS 300", "XPS 500", "XPS 700"}},
    };
    return tables;
}

// Read as the main window reads them: the whole table sorted by RkFlg. The look-ups copy every value and
// fail on a Null, so each row is filled; no key is one of the pick lists' fixed entries.
TEST(ParameterDatabases, HoldEveryTableWithItsKeysInRkFlgOrder) {
    testsupport::DatabaseFolder folder;
    for (const auto &p : parameterTables()) {
        SCOPED_TRACE(p.table.toStdString());
        Connection cn = folder.open(p.file);
        Recordset rs;
        rs.Open("SELECT * FROM " + p.table + " ORDER BY RkFlg;", cn, engine::adOpenStatic, engine::adLockReadOnly);
        EXPECT_EQ(describe(p.columns), describe(columnsOf(rs)));
        std::vector<QString> keys;
        for (; !rs.Eof(); rs.MoveNext()) {
            keys.push_back(rs.Fields(1).Value().toString());
            for (int i = 2; i < rs.FieldCount(); ++i)
                EXPECT_TRUE(rs.Fields(i).Value().isNumber()) << keys.back().toStdString() << " column " << i;
        }
        EXPECT_EQ(p.keys, keys);
        for (const QString fixed : {"Beton", "Brugerdefineret", "Intet", "<ingen isolering>", ""})
            EXPECT_EQ(std::find(keys.begin(), keys.end(), fixed), keys.end()) << fixed.toStdString();
    }
}

// Concrete strengths are used as whole numbers, and a safety class of gamma 0 counts as none chosen.
TEST(ParameterDatabases, ConcreteStrengthsAreWholeAndSafetyFactorsPositive) {
    testsupport::DatabaseFolder folder;
    Connection cn = folder.open(QStringLiteral("param.mdb"));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM txtBetonKvalitet ORDER BY RkFlg;"), cn, engine::adOpenStatic,
            engine::adLockReadOnly);
    for (; !rs.Eof(); rs.MoveNext()) {
        const double styrke = rs.Fields(QStringLiteral("Styrke")).Value().toDouble();
        EXPECT_EQ(static_cast<double>(static_cast<long>(styrke)), styrke);
        EXPECT_GT(styrke, 0.0);
    }
    rs.Close();
    rs.Open(QStringLiteral("SELECT * FROM txtSikkerhedsKlasse ORDER BY RkFlg;"), cn, engine::adOpenStatic,
            engine::adLockReadOnly);
    for (; !rs.Eof(); rs.MoveNext())
        EXPECT_GT(rs.Fields(QStringLiteral("gamma")).Value().toDouble(), 0.0);
}

} // namespace
