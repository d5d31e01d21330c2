#include "support/failing_disk.h"

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

// The wrapper's own handle, with the real file's handle behind it in the same block.
struct File {
    sqlite3_file base;
    sqlite3_file *real;
    std::string name;
    bool database;
};

sqlite3_file *real(sqlite3_file *f) { return reinterpret_cast<File *>(f)->real; }

int xClose(sqlite3_file *f) {
    const int rc = real(f)->pMethods->xClose(real(f));
    reinterpret_cast<File *>(f)->name.~basic_string();
    return rc;
}

int xRead(sqlite3_file *f, void *buf, int n, sqlite3_int64 at) {
    const File *file = reinterpret_cast<File *>(f);
    if (state && file->database) {
        ++state->reads;
        const bool refused = state->reads == state->failAt || (state->lasting && state->failed == file->name &&
                                                               at < state->failedEnd && state->failedAt < at + n);
        if (refused) {
            if (state->failed.empty()) {
                state->failed = file->name;
                state->failedAt = at;
                state->failedEnd = at + n;
            }
            return SQLITE_IOERR_READ;
        }
    }
    return real(f)->pMethods->xRead(real(f), buf, n, at);
}

int xWrite(sqlite3_file *f, const void *buf, int n, sqlite3_int64 at) {
    if (state && state->full && reinterpret_cast<File *>(f)->database)
        return SQLITE_FULL;
    return real(f)->pMethods->xWrite(real(f), buf, n, at);
}
int xTruncate(sqlite3_file *f, sqlite3_int64 size) { return real(f)->pMethods->xTruncate(real(f), size); }
int xSync(sqlite3_file *f, int flags) { return real(f)->pMethods->xSync(real(f), flags); }
int xFileSize(sqlite3_file *f, sqlite3_int64 *size) { return real(f)->pMethods->xFileSize(real(f), size); }
int xLock(sqlite3_file *f, int level) { return real(f)->pMethods->xLock(real(f), level); }
int xUnlock(sqlite3_file *f, int level) { return real(f)->pMethods->xUnlock(real(f), level); }
int xCheckReservedLock(sqlite3_file *f, int *out) { return real(f)->pMethods->xCheckReservedLock(real(f), out); }
int xFileControl(sqlite3_file *f, int op, void *arg) { return real(f)->pMethods->xFileControl(real(f), op, arg); }
int xSectorSize(sqlite3_file *f) { return real(f)->pMethods->xSectorSize(real(f)); }
int xDeviceCharacteristics(sqlite3_file *f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); }

// Version 1: no shared memory and no memory mapping, so that every page comes through xRead.
const sqlite3_io_methods kMethods = {1,
                                     xClose,
                                     xRead,
                                     xWrite,
                                     xTruncate,
                                     xSync,
                                     xFileSize,
                                     xLock,
                                     xUnlock,
                                     xCheckReservedLock,
                                     xFileControl,
                                     xSectorSize,
                                     xDeviceCharacteristics,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr};

int xOpen(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *f, int flags, int *outFlags) {
    File *file = reinterpret_cast<File *>(f);
    file->base.pMethods = nullptr;
    file->real = reinterpret_cast<sqlite3_file *>(file + 1);
    const int rc = state->real->xOpen(state->real, name, file->real, flags, outFlags);
    if (rc != SQLITE_OK) {
        if (file->real->pMethods)
            file->real->pMethods->xClose(file->real);
        return rc;
    }
    new (&file->name) std::string(name ? name : "");
    file->database = (flags & SQLITE_OPEN_MAIN_DB) != 0;
    file->base.pMethods = &kMethods;
    return SQLITE_OK;
}

int xDelete(sqlite3_vfs *, const char *name, int sync) { return state->real->xDelete(state->real, name, sync); }
int xAccess(sqlite3_vfs *, const char *name, int flags, int *out) {
    return state->real->xAccess(state->real, name, flags, out);
}
int xFullPathname(sqlite3_vfs *, const char *name, int n, char *out) {
    return state->real->xFullPathname(state->real, name, n, out);
}
int xRandomness(sqlite3_vfs *, int n, char *out) { return state->real->xRandomness(state->real, n, out); }
int xSleep(sqlite3_vfs *, int us) { return state->real->xSleep(state->real, us); }
int xCurrentTime(sqlite3_vfs *, double *t) { return state->real->xCurrentTime(state->real, t); }
int xGetLastError(sqlite3_vfs *, int n, char *out) { return state->real->xGetLastError(state->real, n, out); }

} // namespace

FailingDisk::FailingDisk() : state_(std::make_unique<State>()) {
    if (state)
        throw std::logic_error("one failing disk at a time");
    state = state_.get();
    state->real = sqlite3_vfs_find(nullptr);
    sqlite3_vfs &v = state->vfs;
    v.iVersion = 1;
    v.szOsFile = static_cast<int>(sizeof(File)) + state->real->szOsFile;
    v.mxPathname = state->real->mxPathname;
    v.zName = "failing-disk";
    v.xOpen = xOpen;
    v.xDelete = xDelete;
    v.xAccess = xAccess;
    v.xFullPathname = xFullPathname;
    v.xRandomness = xRandomness;
    v.xSleep = xSleep;
    v.xCurrentTime = xCurrentTime;
    v.xGetLastError = xGetLastError;
    sqlite3_vfs_register(&v, 1);
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
