#pragma once
// A disk that starts failing: while the object lives it stands under every database file that SQLite opens; the
// reads it is told to refuse fail with SQLITE_IOERR_READ, as reads that the system answers with EIO do, and while
// it is full every write to a database file fails with SQLITE_FULL.

#include <QString>
#include <memory>

namespace testsupport {

class FailingDisk {
public:
    FailingDisk();
    ~FailingDisk();
    FailingDisk(const FailingDisk &) = delete;
    FailingDisk &operator=(const FailingDisk &) = delete;

    // Counts the reads of database files afresh and refuses the n-th (from 1; 0 refuses none); when lasting,
    // also every later read of the same bytes, as of a bad sector.
    void failRead(int n, bool lasting);
    // Reads of database files since the last failRead.
    int reads() const;
    // The file of the first refused read; empty while none was refused.
    QString failedFile() const;
    void setFull(bool full);

    struct State;

private:
    std::unique_ptr<State> state_;
};

} // namespace testsupport
