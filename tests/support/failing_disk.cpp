#include "support/failing_disk.h"

#include <cstdlib>
#include <map>
#include <sqlite3.h>
#include <stdexcept>
#include <string>

namespace testsupport {

struct FailingDisk::State {
    sqlite3_vfs vfs{};
    sqlite3_vfs *real = nullptr;
    int reads = 0;
    int failAt = 0;
    bool lasting = false;
    bool full = false;
    std::string failed;
    sqlite3_int64 failedAt = 0, failedEnd = 0;
};

namespace {

FailingDisk::State *state = nullptr;
// Kept past the disk's life for the files that it opened and that outlive it.
const sqlite3_io_methods *realMethods = nullptr;
sqlite3_io_methods methods{};
std::map<const sqlite3_file *, std::string> databases; // the open database files by name

int xRead(sqlite3_file *f, void *buf, int n, sqlite3_int64 at) {
    if (!state)
        return realMethods->xRead(f, buf, n, at);
    const std::string &name = databases.at(f);
    ++state->reads;
    const bool refused = state->reads == state->failAt ||
                         (state->lasting && state->failed == name && at < state->failedEnd && state->failedAt < at + n);
    if (refused) {
        if (state->failed.empty()) {
            state->failed = name;
            state->failedAt = at;
            state->failedEnd = at + n;
        }
        return SQLITE_IOERR_READ;
    }
    return realMethods->xRead(f, buf, n, at);
}

int xWrite(sqlite3_file *f, const void *buf, int n, sqlite3_int64 at) {
    return state && state->full ? SQLITE_FULL : realMethods->xWrite(f, buf, n, at);
}

int xClose(sqlite3_file *f) {
    databases.erase(f);
    return realMethods->xClose(f);
}

// Only database files fail: their pages are what the checks read and what a commit writes.
int xOpen(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *f, int flags, int *outFlags) {
    const int rc = state->real->xOpen(state->real, name, f, flags, outFlags);
    if (rc != SQLITE_OK || !f->pMethods || !(flags & SQLITE_OPEN_MAIN_DB))
        return rc;
    if (!realMethods) {
        realMethods = f->pMethods;
        methods = *f->pMethods;
        // No shared memory and no memory mapping, so that every page comes through xRead.
        methods.iVersion = 1;
        methods.xRead = xRead;
        methods.xWrite = xWrite;
        methods.xClose = xClose;
    }
    if (f->pMethods != realMethods)
        std::abort(); // a database file of another kind would not fail
    databases[f] = name ? name : "";
    f->pMethods = &methods;
    return SQLITE_OK;
}

} // namespace

FailingDisk::FailingDisk() : state_(std::make_unique<State>()) {
    if (state)
        throw std::logic_error("one failing disk at a time");
    state = state_.get();
    state->real = sqlite3_vfs_find(nullptr);
    state->vfs = *state->real;
    state->vfs.zName = "failing-disk";
    state->vfs.xOpen = xOpen;
    sqlite3_vfs_register(&state->vfs, 1);
}

FailingDisk::~FailingDisk() {
    sqlite3_vfs_unregister(&state->vfs);
    sqlite3_vfs_register(state->real, 1);
    state = nullptr;
}

void FailingDisk::failRead(int n, bool lasting) {
    state_->reads = 0;
    state_->failAt = n;
    state_->lasting = lasting;
    state_->failed.clear();
}

int FailingDisk::reads() const { return state_->reads; }

QString FailingDisk::failedFile() const { return QString::fromStdString(state_->failed); }

void FailingDisk::setFull(bool full) { state_->full = full; }

} // namespace testsupport
