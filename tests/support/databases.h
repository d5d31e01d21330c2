#pragma once
// Fresh copies of the delivered databases in a temporary folder, made from the scripts in db/.

#include "engine/engine.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace testsupport {

QString dbScript(const QString &name); // the text of db/<name>.sql

// A temporary folder holding inddata.mdb, param.mdb, isol.mdb and system.mdw, made the current folder
// while the object lives (the connection strings name files without a folder).
class DatabaseFolder {
public:
    DatabaseFolder();
    ~DatabaseFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString &name) const { return dir_.filePath(name); }
    // Opens a connection on one of the databases with the fixed account.
    engine::Connection open(const QString &dataSource) const;

private:
    QTemporaryDir dir_;
    QString previous_;
};

// Writes the four files into dir (which must exist).
void makeDatabases(const QString &dir);

} // namespace testsupport
