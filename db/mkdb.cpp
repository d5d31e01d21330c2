// Build tool: writes one delivered database from its SQL script.
//   mkdb [--replace|--keep] [--workgroup] SCRIPT OUT
// --keep leaves an existing OUT alone (inddata.mdb holds the company data).

#include "data/account.h"
#include "engine/engine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

int main(int argc, char **argv) {
    bool keep = false, workgroup = false;
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--keep"))
            keep = true;
        else if (a == QLatin1String("--replace"))
            keep = false;
        else if (a == QLatin1String("--workgroup"))
            workgroup = true;
        else
            files << a;
    }
    if (files.size() != 2) {
        std::fprintf(stderr, "usage: mkdb [--replace|--keep] [--workgroup] SCRIPT OUT\n");
        return 2;
    }
    if (keep) {
        // The working database may stand under another case, or only as the copy of an interrupted swap:
        // either way it holds the company data and start-up will take it.
        const QFileInfo out(files[1]);
        const QString stem = out.completeBaseName().toCaseFolded();
        for (const QString &n : out.absoluteDir().entryList(QDir::Files))
            if (n.toCaseFolded() == out.fileName().toCaseFolded() || n.toCaseFolded() == stem + QStringLiteral(".tmp"))
                return 0;
    }
    QFile script(files[0]);
    if (!script.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "mkdb: cannot read %s\n", qPrintable(files[0]));
        return 1;
    }
    const QString tmp = files[1] + QStringLiteral(".new");
    try {
        engine::CreateDatabase(tmp, QString::fromUtf8(script.readAll()), workgroup, data::kUser, data::kPassword);
    } catch (const engine::RuntimeError &e) {
        QFile::remove(tmp);
        std::fprintf(stderr, "mkdb: %s: %s\n", qPrintable(files[0]), qPrintable(e.description()));
        return 1;
    }
    QFile::remove(files[1]);
    if (!QFile::rename(tmp, files[1])) {
        std::fprintf(stderr, "mkdb: cannot write %s\n", qPrintable(files[1]));
        return 1;
    }
    return 0;
}
