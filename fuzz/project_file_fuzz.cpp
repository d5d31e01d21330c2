// Any bytes as a project file: the reader either raises a run-time error or hands over statements that fill
// an input table, never one that touches another table, and never crashes.

#include "data/save_load.h"

#include <QBuffer>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        SaveLoad::ReadStatements(buffer, [](const QString &sql) {
            bool known = false;
            for (const QString &table : SaveLoad::kInputTables)
                for (const char *verb : {"DELETE * FROM [", "INSERT INTO ["})
                    known = known ||
                            sql.startsWith(QLatin1String(verb) + table + QStringLiteral("] "), Qt::CaseInsensitive);
            if (!known)
                std::abort();
        });
    } catch (const engine::RuntimeError &) {
    }
    return 0;
}
