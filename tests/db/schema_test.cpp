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

// "name type" per column, so that a mismatch prints the whole list.
std::vector<std::string> describe(const Columns &cols) {
    std::vector<std::string> out;
    for (const auto &c : cols)
        out.push_back(c.name + " " + std::to_string(c.type));
    return out;
}

Recordset openTable(const Connection &cn, const QString &table) {
    Recordset rs;
    rs.Open(table, cn, engine::adOpenKeyset, engine::adLockPessimistic, engine::adCmdTable);
    return rs;
}

Columns columnsOf(const Recordset &rs) {
    Columns cols;
    for (int i = 0; i < rs.FieldCount(); ++i)
        cols.push_back({rs.Fields(i).Name().toStdString(), rs.Fields(i).Type()});
    return cols;
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
        {"inddata",
         {{"InddataID", Lng},
          {"daekType", Txt},
          {"sikkerhedsklassetext", Txt},
          {"kvalitettext", Txt},
          {"TrykstyrkeRgm", Dbl},
          {"tau", Dbl},
          {"TraekstyrkeRgm", Dbl},
          {"TraekstyrkeKar", Dbl},
          {"Eo", Dbl},
          {"En", Dbl},
          {"Go", Dbl},
          {"GN", Dbl},
          {"dæktykkelse", Dbl},
          {"Miljøklasse", Txt},
          {"dæklag", Dbl},
          {"Revnevidde", Dbl},
          {"mellemlag", Txt},
          {"mellemlagtykkelse", Dbl},
          {"mellemlagkorr", Dbl},
          {"mellemlaglambda", Dbl},
          {"terræn", Txt},
          {"terrænballast", Dbl},
          {"terrænzigma", Dbl},
          {"isolballasto", Dbl},
          {"isolballastn", Dbl},
          {"resBallasto", Dbl},
          {"resBallastn", Dbl},
          {"Uværdi", Dbl}}},
        {"inddatalast",
         {{"InddataID", Lng},
          {"lastid", Lng},
          {"Lasttype", Txt},
          {"Afstand", Dbl},
          {"LastForm", Txt},
          {"bredde", Dbl},
          {"længde", Dbl},
          {"Placering", Txt},
          {"Afstandfra", Dbl},
          {"Størrelse", Dbl},
          {"PartialK", Dbl}}},
        {"inddataisolering",
         {{"InddataID", Lng},
          {"lagnr", Lng},
          {"IsoleringType", Txt},
          {"IsoleringTykkelse", Dbl},
          {"Zigmao", Dbl},
          {"Zigman", Dbl},
          {"LambdaTør", Dbl},
          {"LambdaVåd", Dbl},
          {"Eo", Dbl},
          {"En", Dbl}}},
        {"projekt", {{"projektid", Txt}, {"beregner", Txt}, {"dato", Txt}, {"tekst", Txt}}},
    };
    return tables;
}

const Columns firmaColumns = {{"Navn", Txt}, {"Adresse", Txt},    {"Postnr", Txt},  {"By", Txt},    {"Tlf", Txt},
                              {"Fax", Txt},  {"DirekteTlf", Txt}, {"Kontakt", Txt}, {"e-mail", Txt}};

const Columns oplysninger = {
    {"Oplysning1", Txt}, {"Oplysning2", Txt}, {"Oplysning3", Txt}, {"Oplysning4", Txt}, {"Oplysning5", Txt}};

Columns join(Columns a, const Columns &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<std::pair<QString, Columns>> &resultTables() {
    static const std::vector<std::pair<QString, Columns>> tables = {
        {"ResultatBeton", join({{"KarakteristiskMaxPos", Dbl},
                                {"KarakteristiskMaxNeg", Dbl},
                                {"Deformation", Dbl},
                                {"Uværdi", Dbl},
                                {"RetningsmMaxPos", Dbl},
                                {"RetningsmMaxNeg", Dbl},
                                {"RetningsmKapUarm", Dbl},
                                {"IsoFaktisk", Dbl},
                                {"IsoTilladt", Dbl},
                                {"IsoFaktisk2", Dbl},
                                {"IsoTilladt2", Dbl}},
                               oplysninger)},
        {"ResultatBrugdef", join({{"KarakteristiskMax", Dbl},
                                  {"KarakteristiskMin", Dbl},
                                  {"RetningsmSpaendTraekTil", Dbl},
                                  {"RetningsmSpaendTrykTil", Dbl},
                                  {"Deformation", Dbl},
                                  {"Uværdi", Dbl},
                                  {"RetningsmMax", Dbl},
                                  {"RetningsmMin", Dbl},
                                  {"IsoFaktisk", Dbl},
                                  {"IsoTilladt", Dbl},
                                  {"IsoFaktisk2", Dbl},
                                  {"IsoTilladt2", Dbl},
                                  {"RetningsmSpaendTraekFak", Dbl},
                                  {"RetningsmSpaendTrykFak", Dbl}},
                                 oplysninger)},
        {"ResultatArmering", {{"Diameter", Int}, {"StaalType", Int}, {"Overside", Bool}, {"As", Dbl}, {"a", Dbl}}},
        {"ResultatOplysning", {{"Oplysning", Txt}}},
    };
    return tables;
}

// The print row: each layer's fields with the layer's number, then area and spacing per diameter, side and
// steel type in the order the print preparation fills them.
Columns udskriftColumns() {
    const Columns layer = {{"Lagnr", Lng},  {"IsoleringType", Txt},     {"Eo", Dbl},
                           {"En", Dbl},     {"IsoleringTykkelse", Dbl}, {"Zigmao", Dbl},
                           {"Zigman", Dbl}, {"LambdaTør", Dbl},         {"LambdaVåd", Dbl}};
    Columns cols;
    for (const char *n : {"1", "2"})
        for (const auto &c : layer)
            cols.push_back({c.name + n, c.type});
    for (int d : {6, 8, 10, 12, 16})
        for (const char *side : {"Over", "Under"})
            for (const char *steel : {"1", "2"})
                for (const char *what : {"as", "a"})
                    cols.push_back({std::to_string(d) + side + steel + what, Dbl});
    return cols;
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
    for (const auto &[table, expected] : all) {
        SCOPED_TRACE(table.toStdString());
        Recordset rs = openTable(cn, table);
        EXPECT_EQ(table, rs.tableName());
        EXPECT_EQ(describe(expected), describe(columnsOf(rs)));
        EXPECT_FALSE(hasAutoIncrement(rs));
    }
}

TEST(PrintRow, Has18LayerAnd40ReinforcementFields) {
    const Columns cols = udskriftColumns();
    ASSERT_EQ(58u, cols.size());
    EXPECT_EQ("LambdaVåd2", cols[17].name);
    EXPECT_EQ("6Over1as", cols[18].name);
    EXPECT_EQ("16Under2a", cols[57].name);
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
    for (const auto &[table, cols] : inputTables()) {
        SCOPED_TRACE(table.toStdString());
        const auto &[named, literal] = namedColumn.at(table);
        cn.Execute("INSERT INTO [" + table + "] ([" + QString::fromStdString(named) + "]) VALUES (" + literal + ") ");
        Recordset rs = openTable(cn, table);
        ASSERT_FALSE(rs.Eof());
        for (const auto &c : cols) {
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
    for (const auto &[table, cols] : inputTables()) {
        SCOPED_TRACE(table.toStdString());
        QStringList names, nulls;
        for (const auto &c : cols) {
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
         {{"RkFlg", Lng},
          {"daekType", Txt},
          {"traekstyrke", Dbl},
          {"trykstyrke", Dbl},
          {"Eo", Dbl},
          {"En", Dbl},
          {"Go", Dbl},
          {"GN", Dbl},
          {"tykkelse", Dbl}},
         {"Spånplade P5, 22 mm", "Spånplade P6, 22 mm", "Spånplade P7, 22 mm", "OSB/3, 22 mm",
          "Krydsfiner, nåletræ, 21 mm", "Gipsfiberplade, 2 x 12,5 mm"}},
        {"param.mdb",
         "txtSikkerhedsKlasse",
         {{"RkFlg", Lng}, {"Klasse", Txt}, {"gamma", Dbl}},
         {"Lav", "Normal", "Høj"}},
        {"param.mdb",
         "txtBetonKvalitet",
         {{"RkFlg", Lng}, {"kvalitet", Txt}, {"Styrke", Dbl}},
         {"C12/15", "C16/20", "C20/25", "C25/30", "C30/37", "C35/45", "C40/50", "C45/55"}},
        {"param.mdb",
         "txtDaekLag",
         {{"RkFlg", Lng}, {"Miljøklasse", Txt}, {"tykkelse", Dbl}, {"Wmax", Dbl}},
         {"Passiv", "Moderat", "Aggressiv", "Ekstra aggressiv"}},
        {"param.mdb",
         "txtMellemlag",
         {{"RkFlg", Lng}, {"Type", Txt}, {"Korrektionsfaktor", Dbl}, {"Varmeledningstal", Dbl}},
         {"Singels 4-8 mm", "Skærver 16-32 mm", "Stabilgrus", "Letklinker 10-20 mm"}},
        {"param.mdb",
         "txtTerræn",
         {{"RkFlg", Lng}, {"Type", Txt}, {"ballasttal", Dbl}},
         {"Moræneler", "Morænesand", "Ler, fedt", "Sand, løst lejret", "Sand, middelfast lejret", "Sand, fast lejret",
          "Fyldsand, komprimeret", "Grus, velgraderet"}},
        {"isol.mdb",
         "txtIsolering",
         {{"RkFlg", Lng},
          {"Type", Txt},
          {"MaxLastKort", Dbl},
          {"MaxLastLang", Dbl},
          {"LambdaTør", Dbl},
          {"LambdaVåd", Dbl},
          {"Elang", Dbl},
          {"Ekort", Dbl}},
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
