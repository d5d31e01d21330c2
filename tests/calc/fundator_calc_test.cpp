// The test tool fundator-calc, run as a process on a folder of databases.

#include "calc/design_input.h"
#include "data/save_load.h"
#include "data/table_helpers.h"
#include "platform/files.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

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
        const bool ended = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit;
        const ToolRun r{ended ? p.exitCode() : -1, p.readAllStandardOutput(), p.readAllStandardError()};
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        return r;
    }
    std::vector<Variant> stored(const char *table, const char *field) const {
        return tablehelpers::column(modMain::cnInddata, QString::fromUtf8(table), QString::fromUtf8(field));
    }

    static QByteArray read(const QString &file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// With --epx the file's input is calculated; the JSON holds what the calculation stored, in full precision.
// With --save the input after the calculation is saved as the dialog saves it.
TEST_F(FundatorCalc, LoadsTheProjectFileAndPrintsWhatTheCalculationStored) {
    const QString epx = folder.file(QStringLiteral("hal.epx"));
    ASSERT_TRUE(SaveLoad::SaveInddata(modMain::cnInddata, epx, 4, SaveLoad::kInputTables));
    designinput::setInddata({{"daekType", "Spånplade P5, 22 mm"}, {"dæktykkelse", 22.0}});
    const ToolRun r = run({QStringLiteral("--save"), QStringLiteral("ud.epx"), QStringLiteral("--epx"), epx});
    ASSERT_EQ(0, r.exitCode) << r.err.toStdString();
    ASSERT_TRUE(SaveLoad::SaveInddata(modMain::cnInddata, epx, 4, SaveLoad::kInputTables));
    EXPECT_EQ(read(QStringLiteral("ud.epx")), read(epx));
    const QJsonObject json = QJsonDocument::fromJson(r.out).object();
    // The foundation values were stored by the run (30000 / 0.2 and 3000 / 0.2 in series with the terrain).
    const QJsonObject ind = json[QStringLiteral("inddata")].toObject();
    EXPECT_DOUBLE_EQ(30000.0 * 50000.0 / (50000.0 + 30000.0), ind[QStringLiteral("resBallasto")].toDouble());
    const QJsonArray beton = json[QStringLiteral("ResultatBeton")].toArray();
    EXPECT_EQ(stored("ResultatBeton", "Deformation"),
              std::vector<Variant>{beton[0][QStringLiteral("Deformation")].toDouble()});
}

// A file that fails to load or a folder that a program holds: nothing is loaded or calculated.
TEST_F(FundatorCalc, FailuresExitWithTheirMessage) {
    ToolRun r = run({QStringLiteral("--epx"), folder.path()}); // a folder is no project file
    EXPECT_EQ(6, r.exitCode);
    EXPECT_EQ(QString::fromUtf8(r.err), "De valgte data kan ikke indlæses\nFejlnr.: 75, Path/File access error\n");
    {
        platform::FolderLock running;
        ASSERT_TRUE(running.Take(folder.path()));
        r = run();
        EXPECT_EQ(5, r.exitCode);
        EXPECT_EQ(QString::fromUtf8(r.err), QStringLiteral("Fundator kører allerede fra denne mappe.\n"));
    }
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(stored("ResultatBeton", "Deformation").empty());
    // A save in a database's place is refused after the calculation, and the database is kept.
    const QByteArray param = read(folder.file(QStringLiteral("param.mdb")));
    r = run({QStringLiteral("--save"), folder.path() + QStringLiteral("/../") + QFileInfo(folder.path()).fileName() +
                                           QStringLiteral("/param.mdb")});
    EXPECT_EQ(7, r.exitCode);
    EXPECT_EQ(QString::fromUtf8(r.err), "Data kan ikke gemmes\nFejlnr.: 70, Permission denied\n");
    EXPECT_EQ(read(folder.file(QStringLiteral("param.mdb"))), param);
}

} // namespace
