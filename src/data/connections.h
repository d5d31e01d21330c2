#pragma once
// The three connections that start-up opens and every part of the program uses for the rest of the run.

#include "engine/engine.h"

#include <QStringList>

namespace modMain {

extern engine::Connection cnInddata; // inddata.mdb: input, company, project, results, print table
extern engine::Connection cnParam;   // param.mdb: parameter tables
extern engine::Connection cnIsol;    // isol.mdb: insulation products

// The program's own files, in its folder and, for the connections, in the current folder.
inline const QStringList kDatabaseFiles = {QStringLiteral("inddata.mdb"), QStringLiteral("param.mdb"),
                                           QStringLiteral("isol.mdb"), QStringLiteral("system.mdw")};
// The copy that start-up compacts into, beside the working database.
inline const QString kCompactionCopy = QStringLiteral("inddata.tmp");

} // namespace modMain
