// The print table filled before each print.

#include "results/print_prepare.h"
#include "results_fixture.h"

using engine::Variant;
using PrintPrepare::PrintFormat;

namespace {

class PrintFormatTest : public resultstest::ResultsFixture {
protected:
    // clang-format off
    inline static const std::vector<std::pair<const char *, Variant>> kLower = {
        {"IsoleringType", "EPS 150"}, {"IsoleringTykkelse", 100}, {"Zigmao", 45.5}, {"Zigman", 30.25},
        {"LambdaTør", 0.036}, {"LambdaVåd", 0.039}, {"Eo", 5000}, {"En", 3000}};
    inline static const std::vector<std::pair<const char *, Variant>> kUpper = {
        {"IsoleringType", "EPS 250"}, {"IsoleringTykkelse", 50}, {"Zigmao", 75}, {"Zigman", 50},
        {"LambdaTør", 0.034}, {"LambdaVåd", 0.037}, {"Eo", 8000}, {"En", 6000}};
    // clang-format on

    void SetUp() override {
        ResultsFixture::SetUp();
        set("inddata", {{"daekType", "Beton"}});
        for (const auto &[name, value] : kLower)
            set("inddataisolering", {{name, value}});
        for (const auto &[name, value] : kUpper)
            set("inddataisolering", {{name, value}}, 1);
    }

    static Variant printed(const QString &field) { return first("Udskrift", field); }

    // Marks every print field with a value no print writes, to see what a call leaves alone.
    static void markUdskrift() {
        engine::Recordset rs;
        rs.Open(QStringLiteral("Udskrift"), modMain::cnInddata, engine::adOpenKeyset, engine::adLockPessimistic,
                engine::adCmdTable);
        for (int i = 0; i < rs.FieldCount(); ++i)
            rs.Fields(i) = rs.Fields(i).Type() == engine::adVarWChar || rs.Fields(i).Type() == engine::adLongVarWChar
                               ? Variant("old")
                               : Variant(-7);
        rs.Update();
    }

    static void expectUdskriftMarked() {
        engine::Recordset rs;
        rs.Open(QStringLiteral("Udskrift"), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly,
                engine::adCmdTable);
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const Variant v = rs.Fields(i).Value();
            EXPECT_TRUE(v == Variant("old") || v == Variant(-7)) << rs.Fields(i).Name().toStdString();
        }
    }

    void expectFailure(int logNr, int errNumber) {
        ASSERT_EQ(messages->shown.size(), 1u);
        const auto &m = messages->shown[0];
        const QString start = QStringLiteral("Fejl opstået ved udskrift af beregning.\rFunktion: PrintFormat, "
                                             "Lognr.: %1\rFejl: %2, ")
                                  .arg(logNr)
                                  .arg(errNumber);
        EXPECT_TRUE(m.text.startsWith(start)) << m.text.toStdString();
        EXPECT_GT(m.text.size(), start.size()) << "the error text is missing";
        EXPECT_EQ(m.buttons, platform::Buttons::Ok);
        EXPECT_EQ(m.icon, platform::Icon::None);
        EXPECT_EQ(PrintPrepare::LogNr, logNr);
    }
};

TEST_F(PrintFormatTest, CopiesBothLayersSideBySideWithTheirOwnNumbers) {
    set("inddataisolering", {{"lagnr", 7}});
    set("inddataisolering", {{"lagnr", 4}}, 1);
    addAllArmering();
    PrintFormat();
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(printed("Lagnr1"), Variant(7));
    EXPECT_EQ(printed("Lagnr2"), Variant(4));
    for (const auto &[layer, fields] : {std::pair{"1", &kLower}, std::pair{"2", &kUpper}})
        for (const auto &[name, value] : *fields)
            EXPECT_EQ(printed(QString::fromUtf8(name) + layer), value) << name << layer;
}

TEST_F(PrintFormatTest, ALayerWithoutTypeIsUndefinedWithoutModuliButKeepsItsOtherValues) {
    set("inddataisolering", {{"IsoleringType", ""}}, 1);
    addAllArmering();
    PrintFormat();
    EXPECT_EQ(printed("IsoleringType2"), Variant("<ikke defineret>"));
    EXPECT_EQ(printed("Eo2"), Variant(0));
    EXPECT_EQ(printed("En2"), Variant(0));
    EXPECT_EQ(printed("IsoleringTykkelse2"), Variant(50));
    EXPECT_EQ(printed("Zigmao2"), Variant(75));
    EXPECT_EQ(printed("LambdaVåd2"), Variant(0.037));
    EXPECT_EQ(printed("IsoleringType1"), Variant("EPS 150"));

    // A type without any value is not the empty text: it goes over as it is, moduli and all.
    set("inddataisolering", {{"IsoleringType", Variant::Null()}});
    PrintFormat();
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_TRUE(printed("IsoleringType1").isNull());
    EXPECT_EQ(printed("Eo1"), Variant(5000));
}

TEST_F(PrintFormatTest, ConcreteSlabCopiesEveryReinforcementRowUnroundedIntoItsNamedFields) {
    addAllArmering();
    PrintFormat();
    ASSERT_TRUE(messages->shown.empty());
    for (const int d : {6, 8, 10, 12, 16})
        for (const int s : {1, 2})
            for (const bool top : {false, true}) {
                const QString name = QString::number(d) + (top ? "Over" : "Under") + QString::number(s);
                const int tail = s * 10 + (top ? 1 : 0);
                EXPECT_EQ(printed(name + "as"), Variant(d * 100 + tail)) << name.toStdString();
                EXPECT_EQ(printed(name + "a"), Variant(d * 1000 + tail)) << name.toStdString();
            }
    sql("DELETE FROM ResultatArmering");
    addAllArmering();
    sql("UPDATE ResultatArmering SET [As] = 161.57 WHERE Diameter = 8 AND StaalType = 2 AND Overside = True");
    PrintFormat();
    EXPECT_EQ(printed("8Over2as"), Variant(161.57));
}

TEST_F(PrintFormatTest, OtherSlabTypesLeaveTheReinforcementFieldsAsAnEarlierPrintLeftThem) {
    for (const char *type : {"Brugerdefineret", "beton", ""}) {
        markUdskrift();
        set("inddata", {{"daekType", type}});
        PrintFormat(); // no reinforcement rows: a concrete slab would fail on them
        EXPECT_TRUE(messages->shown.empty()) << type;
        EXPECT_EQ(printed("6Over1as"), Variant(-7)) << type;
        EXPECT_EQ(printed("16Under2a"), Variant(-7)) << type;
        EXPECT_EQ(printed("IsoleringType1"), Variant("EPS 150")) << type;
    }
    set("inddata", {{"daekType", Variant::Null()}});
    PrintFormat();
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(PrintFormatTest, MissingReinforcementRowFailsAtItsStatementAndSavesNothing) {
    markUdskrift();
    PrintFormat();
    expectFailure(22, engine::err::NoCurrentRecord);
    expectUdskriftMarked();
}

TEST_F(PrintFormatTest, EachMissingRowIsReportedWithTheStatementThatMetIt) {
    addAllArmering();
    markUdskrift();
    sql("DELETE FROM inddataisolering WHERE lagnr = 2");
    PrintFormat();
    expectFailure(10, engine::err::NoCurrentRecord);
    expectUdskriftMarked(); // the first layer was written but not saved

    messages->shown.clear();
    sql("DELETE FROM inddataisolering");
    PrintFormat();
    expectFailure(7, engine::err::NoCurrentRecord);

    messages->shown.clear();
    modMain::InitInddata();
    sql("DELETE FROM inddata");
    PrintFormat();
    expectFailure(21, engine::err::NoCurrentRecord);
    expectUdskriftMarked();

    messages->shown.clear();
    sql("DELETE FROM Udskrift");
    PrintFormat();
    expectFailure(5, engine::err::NoCurrentRecord);
    engine::Recordset rs;
    rs.Open(QStringLiteral("Udskrift"), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly,
            engine::adCmdTable);
    EXPECT_EQ(rs.RecordCount(), 0) << "the program never adds the print row";
}

} // namespace
