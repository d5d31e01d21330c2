// The test tool fundator-calc, run as a process on a folder of databases.

#include "calc/design_input.h"
#include "data/connections.h"
#include "data/table_helpers.h"
#include "support/databases.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

using engine::Variant;

namespace {

const QString kTool = QStringLiteral(FUNDATOR_APP_DIR "/../tools/fundator-calc");

struct ToolRun {
    int exitCode = -1;
    QByteArray out, err;
};

class FundatorCalc : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;

    void SetUp() override {
        ASSERT_TRUE(QFileInfo(kTool).isExecutable()) << "build the tool first: " << kTool.toStdString();
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        designinput::writeConcreteInput();
        // Foundation values that the run must replace: one layer of 200 mm, Eo 6000 and En 3000 kN/m².
        designinput::setInddata({{"resBallasto", 1.0}, {"resBallastn", 1.0}});
    }
    void TearDown() override { modMain::cnInddata.Close(); }

    ToolRun run() {
        modMain::cnInddata.Close();
        QProcess p;
        p.start(kTool, {folder.path()});
        ToolRun r;
        if (!p.waitForFinished(30000))
            return r;
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput();
        r.err = p.readAllStandardError();
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        return r;
    }

    std::vector<Variant> stored(const char *table, const char *field) const {
        return tablehelpers::column(modMain::cnInddata, QString::fromUtf8(table), QString::fromUtf8(field));
    }
};

} // namespace

TEST_F(FundatorCalc, PrintsWhatTheCalculationStoredInFullPrecision) {
    const ToolRun r = run();
    ASSERT_EQ(0, r.exitCode) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    QJsonParseError error{};
    const QJsonObject json = QJsonDocument::fromJson(r.out, &error).object();
    ASSERT_EQ(QJsonParseError::NoError, error.error) << r.out.toStdString();
    EXPECT_EQ((QStringList{QStringLiteral("ResultatArmering"), QStringLiteral("ResultatBeton"),
                           QStringLiteral("ResultatOplysning"), QStringLiteral("inddata")}),
              json.keys());

    // The foundation values were stored by the run (30000 / 0.2 and 3000 / 0.2 in series with the terrain).
    const QJsonObject ind = json[QStringLiteral("inddata")].toObject();
    EXPECT_EQ(stored("inddata", "resBallasto").front(), Variant(ind[QStringLiteral("resBallasto")].toDouble()));
    EXPECT_DOUBLE_EQ(30000.0 * 50000.0 / (50000.0 + 30000.0), ind[QStringLiteral("resBallasto")].toDouble());
    EXPECT_DOUBLE_EQ(15000.0 * 50000.0 / (50000.0 + 15000.0), ind[QStringLiteral("resBallastn")].toDouble());
    EXPECT_TRUE(ind.contains(QStringLiteral("Uværdi")));

    const QJsonArray beton = json[QStringLiteral("ResultatBeton")].toArray();
    ASSERT_EQ(1, beton.size());
    for (const char *f : {"KarakteristiskMaxPos", "RetningsmKapUarm", "IsoFaktisk", "Deformation"})
        EXPECT_EQ(stored("ResultatBeton", f).front(), Variant(beton[0].toObject()[QLatin1String(f)].toDouble())) << f;
    EXPECT_EQ(stored("ResultatBeton", "Oplysning1").front(),
              Variant(beton[0].toObject()[QStringLiteral("Oplysning1")].toString()));

    const QJsonArray arm = json[QStringLiteral("ResultatArmering")].toArray();
    ASSERT_EQ(20, arm.size());
    const auto as = stored("ResultatArmering", "As");
    const auto diameter = stored("ResultatArmering", "Diameter");
    const auto overside = stored("ResultatArmering", "Overside");
    for (int i = 0; i < 20; ++i) {
        const QJsonObject row = arm[i].toObject();
        EXPECT_EQ(as[i], Variant(row[QStringLiteral("As")].toDouble())) << i;
        EXPECT_EQ(diameter[i], Variant(row[QStringLiteral("Diameter")].toInt())) << i;
        EXPECT_EQ(overside[i], Variant(row[QStringLiteral("Overside")].toInt())) << i;
    }
    EXPECT_EQ(stored("ResultatOplysning", "Oplysning").size(),
              size_t(json[QStringLiteral("ResultatOplysning")].toArray().size()));

    // The input was not reset: the load is still there.
    EXPECT_EQ(Variant("Punktlast"), stored("inddatalast", "Lasttype").front());
}

TEST_F(FundatorCalc, OtherSlabTypePrintsItsOwnResultTable) {
    designinput::setInddata({{"daekType", "Spånplade P5, 22 mm"}, {"dæktykkelse", 22.0}});
    const ToolRun r = run();
    ASSERT_EQ(0, r.exitCode) << r.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(r.out).object();
    EXPECT_TRUE(json.contains(QStringLiteral("ResultatBrugdef")));
    EXPECT_FALSE(json.contains(QStringLiteral("ResultatBeton")));
    EXPECT_EQ(0, json[QStringLiteral("ResultatArmering")].toArray().size());
}

TEST_F(FundatorCalc, DesignErrorExitsWithTheDriversMessage) {
    designinput::setInddata({{"TrykstyrkeRgm", 0.0}});
    const ToolRun r = run();
    EXPECT_EQ(2, r.exitCode);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(QStringLiteral("Der opstod et problem under eksekvering af beregningsrutine2!\n"
                             "Function: BeregnArmering, Log nr. 2\n"
                             "Fejlnr.: 11, Division by zero\n"
                             "Gem venligst sessionsdata og kontakt Polystra\n"),
              QString::fromUtf8(r.err));
    // What the steps wrote before the error stays written: the foundation values and the analysis row.
    EXPECT_EQ(Variant(30000.0 * 50000.0 / (50000.0 + 30000.0)), stored("inddata", "resBallasto").front());
    EXPECT_EQ(1u, stored("ResultatBeton", "Deformation").size());
    EXPECT_TRUE(stored("ResultatBeton", "RetningsmKapUarm").front().isNull());
}

TEST_F(FundatorCalc, FoundationValuesErrorExitsWithTheErrorReport) {
    designinput::setInddata({{"terrænballast", Variant::Null()}});
    const ToolRun r = run();
    EXPECT_EQ(3, r.exitCode);
    EXPECT_TRUE(r.out.isEmpty());
    const QString err = QString::fromUtf8(r.err);
    EXPECT_TRUE(err.startsWith(QStringLiteral("Der opstod et problem under eksekvering af Fundator!\n"
                                              "Function: frmMain, Log nr. ")))
        << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("\nFejlnr.: 94, "))) << err.toStdString();
    // Nothing was calculated and nothing stored.
    EXPECT_EQ(Variant(1.0), stored("inddata", "resBallasto").front());
    EXPECT_TRUE(stored("ResultatBeton", "Deformation").empty());
}

TEST_F(FundatorCalc, AnalysisErrorExitsWithItsMessage) {
    designinput::setInddata({{"tau", Variant::Null()}});
    const ToolRun r = run();
    EXPECT_EQ(1, r.exitCode);
    EXPECT_TRUE(QString::fromUtf8(r.err).startsWith(
        QStringLiteral("Der opstod et problem under eksekvering af beregningsrutine1!\n")));
}

TEST_F(FundatorCalc, MissingDatabaseIsReported) {
    QFile::remove(folder.file(QStringLiteral("param.mdb")));
    const ToolRun r = run();
    EXPECT_NE(0, r.exitCode);
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_TRUE(r.out.isEmpty());
}
