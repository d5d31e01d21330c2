#pragma once
// Another program reading a database file (a viewer, a backup tool): while its read transaction lasts, no
// writer's commit can go through.

#include "engine/engine_impl.h"

#include <QFile>
#include <QString>
#include <sqlite3.h>

namespace testsupport {

class FileReader {
public:
    explicit FileReader(const QString &file) {
        sqlite3_open_v2(QFile::encodeName(file).constData(), &db_, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_exec(db_, "BEGIN; SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    ~FileReader() { release(); }
    FileReader(const FileReader &) = delete;
    FileReader &operator=(const FileReader &) = delete;
    void release() {
        if (db_)
            sqlite3_close_v2(db_);
        db_ = nullptr;
    }

private:
    sqlite3 *db_ = nullptr;
};

// The connection's busy wait cut short, so that a test meets a held file at once.
inline void shortenBusyWait(const engine::Connection &cn) { sqlite3_busy_timeout(cn.impl()->db, 20); }

} // namespace testsupport
