// The test tool fundator-calc, run as a process on a folder of databases: whole cases and its failures.

#include "calc/design_input.h"
#include "data/save_load.h"
#include "data/table_helpers.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "results/print_prepare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <cmath>
#include <map>

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

// Whole cases as project files (cases/*.epx) through the tool, which loads and calculates them as the program
// does, against the results that cases/model.py worked out with a separate dense model (cases/expected.txt).
TEST_F(FundatorCalc, ProjectFilesGiveTheResultsOfASeparateModel) {
    const QString cases = QStringLiteral(FUNDATOR_SOURCE_DIR "/tests/calc/cases/");
    QFile file(cases + QStringLiteral("expected.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // case -> (table, field) -> the values of its rows in order
    std::map<QString, std::map<std::pair<QString, QString>, std::vector<Variant>>> expected;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList w = line.split(QLatin1Char(' '));
        const QString value = line.section(QLatin1Char(' '), 3);
        if (!line.startsWith(QLatin1Char('#')))
            expected[w[0]][{w[1], w[2]}].push_back(value.startsWith(QLatin1Char('"')) ? Variant(value.mid(1).chopped(1))
                                                                                      : Variant(value.toDouble()));
    }
    ASSERT_EQ(4u, expected.size());
    auto messages = std::make_shared<platform::RecordingMessages>();
    platform::setMessageService(messages);
    for (const auto &[name, tables] : expected) {
        // --save before --epx: either order; the input after the run saved as the dialog saves it
        const ToolRun r = run({QStringLiteral("--save"), QStringLiteral("ud.epx"), QStringLiteral("--epx"),
                               cases + name + QStringLiteral(".epx")});
        ASSERT_EQ(0, r.exitCode) << name.toStdString() << r.err.toStdString();
        ASSERT_TRUE(SaveLoad::SaveInddata(modMain::cnInddata, QStringLiteral("dialog.epx"), 4, SaveLoad::kInputTables));
        EXPECT_EQ(read(QStringLiteral("ud.epx")), read(QStringLiteral("dialog.epx"))) << name.toStdString();
        PrintPrepare::PrintFormat();
        const QJsonObject json = QJsonDocument::fromJson(r.out).object(); // what it stored, unrounded
        for (const auto &[where, values] : tables) {
            const auto got = tablehelpers::column(modMain::cnInddata, where.first, where.second);
            const QJsonValue printed = json[where.first];
            const std::string at =
                (name + QLatin1Char(' ') + where.first + QLatin1Char('.') + where.second).toStdString();
            ASSERT_EQ(values.size(), got.size()) << at;
            for (std::size_t i = 0; i < got.size(); ++i) {
                const double v = values[i].isString() ? 0.0 : values[i].real();
                const double g = got[i].isInteger()  ? double(got[i].integer())
                                 : got[i].isDouble() ? got[i].real()
                                                     : NAN;
                EXPECT_TRUE(values[i].isString() ? values[i] == got[i] : std::fabs(g - v) <= 1e-9 * std::fabs(v))
                    << at << ": " << g << " for " << v;
                const QJsonValue p = printed.isArray() ? printed[qsizetype(i)][where.second] : printed[where.second];
                EXPECT_TRUE(printed.isUndefined() ||
                            (p.isString() ? Variant(p.toString()) == got[i] : p.toDouble() == g))
                    << at << " printed";
            }
        }
    }
    EXPECT_TRUE(messages->shown.empty());
    platform::setMessageService(std::make_shared<platform::RecordingMessages>());
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
    // The program's start-up finds the database missing before any connection is tried.
    ASSERT_TRUE(QFile::rename(folder.file(QStringLiteral("isol.mdb")), folder.file(QStringLiteral("isol.old"))));
    r = run();
    EXPECT_EQ(4, r.exitCode);
    EXPECT_EQ(QString::fromUtf8(r.err), "Filen \"" + QDir(folder.path()).filePath("isol.mdb") + "\" mangler !\n");
}

} // namespace
