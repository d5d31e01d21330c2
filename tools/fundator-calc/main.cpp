// fundator-calc DIR [--epx FILE] [--save OUT]: a test tool, not part of the program. Runs one calculation on the
// input that DIR/inddata.mdb holds (the input is kept as it is, or first replaced by FILE through the
// project-file load), saves the input to OUT as the "Fil" dialog does, and prints the result tables and the
// foundation values as JSON. A failed step exits nonzero with its message on standard error; no message box is
// shown. It starts as the program does on DIR, holding and compacting it.

#include "calculation.h"

#include "data/modmain.h"
#include "data/save_load.h"
#include "engine/engine.h"
#include "platform/message_box.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <memory>
#include <string_view>

namespace {

constexpr int kUsage = 64;
constexpr int kNoDatabases = 4;
constexpr int kFolderInUse = 5;
constexpr int kLoadFailed = 6;
constexpr int kSaveFailed = 7;

void printError(const QString &text) {
    // The program's messages break lines with a carriage return alone.
    QString lines = text;
    lines.replace(QChar(13), QChar(10));
    std::fputs(lines.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

void printShown(const platform::RecordingMessages &messages) {
    for (const auto &m : messages.shown)
        printError(m.text);
}

QString errorLine(const engine::RuntimeError &e) {
    return QStringLiteral("Fejlnr.: ") + QString::number(e.number()) + QStringLiteral(", ") + e.description();
}

// The dialog's save with its checks; a failed one leaves OUT as it was.
int saveInput(const QString &out) {
    try {
        SaveLoad::SaveProjectFile(modMain::cnInddata, out, static_cast<std::int16_t>(SaveLoad::kInputTables.size()),
                                  SaveLoad::kInputTables);
        return 0;
    } catch (const engine::RuntimeError &e) {
        printError(QStringLiteral("Data kan ikke gemmes"));
        printError(errorLine(e));
        return kSaveFailed;
    }
}

// The value of an option given as "--name VALUE" after DIR; null when it is not given.
QString option(int argc, char **argv, std::string_view name) {
    for (int i = 2; i + 1 < argc; i += 2)
        if (argv[i] == name)
            return QFileInfo(QString::fromLocal8Bit(argv[i + 1])).absoluteFilePath();
    return {};
}

} // namespace

int main(int argc, char **argv) {
    const QString epx = option(argc, argv, "--epx");
    const QString save = option(argc, argv, "--save");
    const bool withFile = !epx.isNull();
    if (argc < 2 || argc != 2 + 2 * (withFile + !save.isNull())) {
        std::fputs("usage: fundator-calc DIR [--epx FILE] [--save OUT]\n", stderr);
        return kUsage;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir::setCurrent(dir)) {
        printError(QStringLiteral("Mappen \"") + dir + QStringLiteral("\" findes ikke"));
        return kUsage;
    }

    auto messages = std::make_shared<platform::RecordingMessages>();
    platform::setMessageService(messages);

    // The program's own start-up up to the input, which the calculation takes as it is.
    const modMain::Opening opening = modMain::OpenDatabases(QDir::currentPath());
    if (opening != modMain::Opening::Opened) {
        printShown(*messages);
        return opening == modMain::Opening::FolderInUse ? kFolderInUse : kNoDatabases;
    }

    if (withFile) {
        try {
            SaveLoad::LoadProjectFile(modMain::cnInddata, epx);
        } catch (const engine::RuntimeError &e) {
            printError(QStringLiteral("De valgte data kan ikke indlæses"));
            printError(errorLine(e));
            return kLoadFailed;
        }
    }

    int status = 0;
    try {
        status = fundatorcalc::RunCalculation();
    } catch (const engine::RuntimeError &e) {
        // Only the design lets an error escape (see Beregn2), after its own message.
        printShown(*messages);
        printError(errorLine(e));
        return 2;
    }
    if (status != 0) {
        printShown(*messages);
        return status;
    }
    if (!save.isNull())
        if (const int failed = saveInput(save))
            return failed;

    std::string json;
    try {
        json = fundatorcalc::ResultJson();
    } catch (const engine::RuntimeError &e) {
        printError(errorLine(e));
        return kNoDatabases;
    }
    std::fwrite(json.data(), 1, json.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
