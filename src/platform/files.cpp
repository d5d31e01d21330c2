#include "platform/files.h"

#include "engine/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString folderOf(const QString &path) { return QFileInfo(path).absolutePath(); }

[[noreturn]] void raiseFromErrno(int e) {
    switch (e) {
    case ENOENT:
        engine::raise(engine::err::FileNotFound);
    case ENOSPC:
    case EDQUOT:
        engine::raise(engine::err::DiskFull);
    case EIO:
        engine::raise(engine::err::DeviceIO);
    case EEXIST:
        engine::raise(engine::err::FileAlreadyExists);
    case EACCES:
    case EPERM:
    case EROFS:
        engine::raise(engine::err::PermissionDenied);
    default:
        engine::raise(engine::err::PathFileAccess);
    }
}

// The file on disk that path names, in its own spelling; raises 53 when there is none.
QString existing(const QString &path) {
    const QString name = ListFile(path);
    if (name.isEmpty())
        engine::raise(engine::err::FileNotFound);
    return QDir(folderOf(path)).filePath(name);
}

// 0 when the file's data, or the folder's entries, are on disk; else the errno of the failed call.
int syncResult(const QString &path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int rc = ::fsync(fd);
    const int e = errno;
    ::close(fd);
    return rc == 0 ? 0 : e;
}

void syncPath(const QString &path, int flags) {
    if (const int e = syncResult(path, flags))
        raiseFromErrno(e);
}

// Runs one system call of WriteFileWhole, or fails it as the test seam says.
template <class Call> auto faultable(const char *name, Call &&call) -> decltype(call()) {
    if (FileFault)
        if (const int e = FileFault(name)) {
            errno = e;
            return -1;
        }
    return call();
}

// The name on disk. A name that came from bytes which are no UTF-8 (an old disk's Latin-1) holds replacement
// characters and would address another file than the one it was read from: it is refused.
QByteArray encoded(const QString &path) {
    const QByteArray name = QFile::encodeName(path);
    if (path.contains(QChar::ReplacementCharacter) || QFile::decodeName(name) != path)
        engine::raise(engine::err::BadFileName);
    return name;
}

} // namespace

std::function<int(const char *call)> FileFault;

QString ListFile(const QString &path) {
    const QFileInfo info(path);
    const QString wanted = info.fileName();
    if (wanted.isEmpty())
        return {};
    // Without QDir::Hidden and QDir::System only visible plain files are listed.
    const QStringList names = QDir(info.absolutePath()).entryList(QDir::Files, QDir::Name);
    QString found;
    for (const QString &name : names) {
        if (name == wanted)
            return name;
        if (found.isEmpty() && name.compare(wanted, Qt::CaseInsensitive) == 0)
            found = name;
    }
    return found;
}

void DeleteFile(const QString &path) {
    if (::unlink(QFile::encodeName(existing(path)).constData()) != 0)
        raiseFromErrno(errno);
}

void RenameFile(const QString &from, const QString &to) {
    const QString source = existing(from);
    const QString target = QDir(folderOf(to)).filePath(QFileInfo(to).fileName());
    // Only what stands under exactly the new name would be replaced; on a file system that ignores case that
    // may be the file itself.
    struct stat st {};
    if (::lstat(QFile::encodeName(target).constData(), &st) == 0 && !SameFile(source, target))
        engine::raise(engine::err::FileAlreadyExists);
    if (::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0)
        raiseFromErrno(errno);
}

void SyncFile(const QString &path) {
    syncPath(existing(path), O_RDONLY);
    SyncFolder(folderOf(path));
}

void SyncFolder(const QString &folder) { syncPath(folder, O_RDONLY | O_DIRECTORY); }

bool SameFile(const QString &a, const QString &b) {
    struct stat x {};
    struct stat y {};
    return ::stat(encoded(a).constData(), &x) == 0 && ::stat(encoded(b).constData(), &y) == 0 && x.st_dev == y.st_dev &&
           x.st_ino == y.st_ino;
}

QString WrittenFile(const QString &path) {
    const QFileInfo target(path);
    return target.isSymLink() && target.exists() ? target.canonicalFilePath() : target.absoluteFilePath();
}

void WriteFileWhole(const QString &path, const QByteArray &bytes) {
    const QString file = WrittenFile(path);
    // A write-protected file stays as it is, although the folder would let it be replaced. access() always lets
    // root write, so a file without any write bit is refused by its mode.
    struct stat old {};
    const bool replacing = ::stat(encoded(file).constData(), &old) == 0;
    if (replacing && (old.st_mode & 0222) == 0)
        engine::raise(engine::err::PermissionDenied);
    if (replacing && faultable("access", [&] { return ::access(encoded(file).constData(), W_OK); }) != 0)
        raiseFromErrno(errno);
    // A killed save leaves its temporary file behind; under the same process id (a container) every later save
    // would pick that name again, so the next free one is taken.
    int fd = -1;
    QString temp;
    for (int serial = 0; fd < 0 && serial < 1000; ++serial) {
        // Short, so that a long project name still leaves room for it.
        temp = QDir(folderOf(file)).filePath(QStringLiteral(".fundator-%1-%2.tmp").arg(::getpid()).arg(serial));
        fd = faultable(
            "open", [&] { return ::open(encoded(temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); });
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        raiseFromErrno(errno);
    int failure = 0;
    if (replacing)
        ::fchmod(fd, old.st_mode & 07777);
    for (qsizetype done = 0; failure == 0 && done < bytes.size();) {
        const ssize_t n = faultable("write", [&] {
            return ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        });
        if (n > 0)
            done += n;
        else if (n == 0 || errno != EINTR)
            failure = n == 0 ? EIO : errno;
    }
    if (failure == 0 && faultable("fsync", [&] { return ::fsync(fd); }) != 0)
        failure = errno;
    if (faultable("close", [&] { return ::close(fd); }) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 &&
        faultable("rename", [&] { return ::rename(encoded(temp).constData(), encoded(file).constData()); }) != 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(encoded(temp).constData());
        raiseFromErrno(failure);
    }
    // The new file is in place and the save has succeeded, even where the folder's entry cannot be synced (a
    // folder that may be written but not read, a file system that refuses).
    faultable("syncfolder", [&] { return syncResult(folderOf(file), O_RDONLY | O_DIRECTORY) == 0 ? 0 : -1; });
}

QByteArray ReadPlainFile(const QString &path, qint64 maxSize) {
    // A device is refused before it is opened: opening some has effects of its own.
    struct stat named {};
    if (::stat(encoded(path).constData(), &named) != 0)
        raiseFromErrno(errno);
    if (!S_ISREG(named.st_mode))
        engine::raise(engine::err::PathFileAccess);
    // Without O_NONBLOCK, opening a pipe would wait for a writer that never comes.
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        raiseFromErrno(errno);
    struct stat st {};
    QByteArray bytes;
    int failure = 0;
    if (::fstat(fd, &st) != 0)
        failure = errno;
    else if (!S_ISREG(st.st_mode) || st.st_size > maxSize)
        failure = EINVAL;
    else {
        bytes.resize(static_cast<qsizetype>(st.st_size));
        qsizetype done = 0;
        while (failure == 0 && done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, static_cast<std::size_t>(bytes.size() - done));
            if (n < 0 && errno != EINTR)
                failure = errno;
            else if (n == 0)
                bytes.truncate(done); // shrank while being read
            else if (n > 0)
                done += n;
        }
    }
    ::close(fd);
    if (failure == EINVAL)
        engine::raise(engine::err::PathFileAccess);
    if (failure != 0)
        raiseFromErrno(failure);
    return bytes;
}

bool FolderLock::Take(const QString &folder) {
    const QString path = QFileInfo(folder).canonicalFilePath();
    if (fd_ >= 0 && path == folder_)
        return true;
    Release();
    const int fd = ::open(encoded(path.isEmpty() ? folder : path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        raiseFromErrno(errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        ::close(fd);
        if (e == EWOULDBLOCK)
            return false;
        raiseFromErrno(e);
    }
    fd_ = fd;
    folder_ = path;
    return true;
}

void FolderLock::Release() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    folder_.clear();
}

} // namespace platform
