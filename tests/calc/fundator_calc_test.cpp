// The test tool fundator-calc, run as a process on a folder of databases.

#include "calc/design_input.h"
#include "data/connections.h"
#include "data/save_load.h"
#include "data/table_helpers.h"
#include "platform/files.h"
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
    }
    void TearDown() override { modMain::cnInddata.Close(); }

    ToolRun run(const QStringList &more = {}) {
        modMain::cnInddata.Close();
        QProcess p;
        p.start(kTool, QStringList{folder.path()} + more);
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

// With --epx the file's input is calculated; the JSON holds what the calculation stored, in full precision.
TEST_F(FundatorCalc, LoadsTheProjectFileAndPrintsWhatTheCalculationStored) {
    const QString epx = folder.file(QStringLiteral("hal.epx"));
    ASSERT_TRUE(SaveLoad::SaveInddata(modMain::cnInddata, epx, 4, SaveLoad::kInputTables));
    designinput::setInddata({{"daekType", "Spånplade P5, 22 mm"}, {"dæktykkelse", 22.0}});
    const ToolRun r = run({QStringLiteral("--epx"), epx});
    ASSERT_EQ(0, r.exitCode) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    const QJsonObject json = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(json.keys(), (QStringList{"ResultatArmering", "ResultatBeton", "ResultatOplysning", "inddata"}));
    // The foundation values were stored by the run (30000 / 0.2 and 3000 / 0.2 in series with the terrain).
    const QJsonObject ind = json[QStringLiteral("inddata")].toObject();
    EXPECT_EQ(stored("inddata", "resBallasto").front(), Variant(ind[QStringLiteral("resBallasto")].toDouble()));
    EXPECT_DOUBLE_EQ(30000.0 * 50000.0 / (50000.0 + 30000.0), ind[QStringLiteral("resBallasto")].toDouble());
    const QJsonArray beton = json[QStringLiteral("ResultatBeton")].toArray();
    ASSERT_EQ(1, beton.size());
    for (const char *f : {"KarakteristiskMaxPos", "RetningsmKapUarm", "IsoFaktisk", "Deformation"})
        EXPECT_EQ(stored("ResultatBeton", f).front(), Variant(beton[0].toObject()[QLatin1String(f)].toDouble())) << f;
    const QJsonArray arm = json[QStringLiteral("ResultatArmering")].toArray();
    const auto as = stored("ResultatArmering", "As");
    ASSERT_EQ(as.size(), std::size_t(arm.size()));
    for (qsizetype i = 0; i < arm.size(); ++i)
        EXPECT_EQ(as[std::size_t(i)], Variant(arm[i].toObject()[QStringLiteral("As")].toDouble())) << i;
}

// A file that fails to load, a folder that a program holds and a calculation error: nothing is calculated.
TEST_F(FundatorCalc, FailuresExitWithTheirMessage) {
    QFile bad(folder.file(QStringLiteral("bad.epx")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("\"projekt\",1,1\r\n\"tekst\"\r\n\"Hal\",10\r\n");
    bad.close();
    ToolRun r = run({QStringLiteral("--epx"), bad.fileName()});
    EXPECT_EQ(6, r.exitCode);
    EXPECT_TRUE(r.err.startsWith("De valgte data kan ikke indl\xC3\xA6ses\nFejlnr.: 321, ")) << r.err.toStdString();
    EXPECT_EQ(stored("projekt", "tekst"), std::vector<Variant>{QString()});
    {
        platform::FolderLock running;
        ASSERT_TRUE(running.Take(folder.path()));
        r = run();
        EXPECT_EQ(5, r.exitCode);
        EXPECT_EQ(QString::fromUtf8(r.err), QStringLiteral("Fundator kører allerede fra denne mappe.\n"));
    }
    EXPECT_TRUE(stored("ResultatBeton", "Deformation").empty());
    designinput::setInddata({{"TrykstyrkeRgm", 0.0}});
    r = run();
    EXPECT_EQ(2, r.exitCode);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(QString::fromUtf8(r.err), QStringLiteral("Der opstod et problem under eksekvering af beregningsrutine2!\n"
                                                       "Function: BeregnArmering, Log nr. 2\n"
                                                       "Fejlnr.: 11, Division by zero\n"
                                                       "Gem venligst sessionsdata og kontakt Polystra\n"));
    // What the steps wrote before the error stays written: the analysis row.
    EXPECT_EQ(1u, stored("ResultatBeton", "Deformation").size());
}

} // namespace
