#pragma once
// The file functions start-up relies on, with the old platform's rule that names are found without regard
// to case. Failures raise the runtime's file errors (53 not found, 57, 58 already exists, 61 disk full, 70, 75).

#include <QByteArray>
#include <QString>
#include <functional>

namespace platform {

// The name, as it stands on disk, of the plain file in path's folder whose name equals path's file name
// without regard to case; empty when there is none. Hidden files and folders are not listed. When several
// names differ only in case, the exact spelling wins, then the first in name order.
QString ListFile(const QString &path);

// Deletes the file that ListFile finds for path.
void DeleteFile(const QString &path);

// Gives the file that ListFile finds for from the name of to (spelled as given). Refuses (58) when something
// stands under exactly that name already; other spellings of it are other files and stay as they are.
void RenameFile(const QString &from, const QString &to);

// Writes the file's data and its folder's entry to disk, so a later rename or delete cannot outrun them.
void SyncFile(const QString &path);
void SyncFolder(const QString &folder);

// True when both paths name one existing file, however they are spelt (relative, "..", links of either kind).
bool SameFile(const QString &a, const QString &b);

// Replaces the file at path by one holding bytes: written beside it under a temporary name, every write and
// the flush to disk checked, then renamed over it. On any failure the temporary file is gone and a file that
// stood at path is as it was; nothing is ever written in place. Once the new file is in place the write has
// succeeded. A file without any write bit is refused, whoever runs the program, and so is a name that cannot
// be spelt on disk (52).
void WriteFileWhole(const QString &path, const QByteArray &bytes);

// The file that WriteFileWhole(path) replaces, as an absolute path: the file that a link leads to (the link
// stays), else path itself.
QString WrittenFile(const QString &path);

// The whole contents of a plain file. A pipe, a folder or a device is refused without waiting on it, and so
// is a file larger than maxSize.
QByteArray ReadPlainFile(const QString &path, qint64 maxSize);

// Tests only: called before each system call of WriteFileWhole with its name ("access", "open", "write",
// "fsync", "close", "rename", "syncfolder"); a nonzero errno it returns makes that call fail with it.
extern std::function<int(const char *call)> FileFault;

// A hold on a folder for as long as the object lives (or until Release): the one program that may work on
// the databases there. The system lets it go when the process ends, however it ends, so none is ever stale.
class FolderLock {
public:
    FolderLock() = default;
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;
    ~FolderLock() { Release(); }
    // False when another holds the folder; true when this one now holds it (also when it already did).
    bool Take(const QString &folder);
    void Release();

private:
    int fd_ = -1;
    QString folder_;
};

} // namespace platform
