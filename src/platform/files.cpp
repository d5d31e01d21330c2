#include "platform/files.h"

#include "engine/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

QString folderOf(const QString &path) { return QFileInfo(path).absolutePath(); }

[[noreturn]] void raiseFromErrno(int e) {
    switch (e) {
    case ENOENT:
        engine::raise(engine::err::FileNotFound);
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

void syncPath(const QString &path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        raiseFromErrno(errno);
    const int rc = ::fsync(fd);
    const int e = errno;
    ::close(fd);
    if (rc != 0)
        raiseFromErrno(e);
}

} // namespace

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
    const QString clash = ListFile(target);
    // A change of case only is a rename of the file onto itself, not a clash.
    if (!clash.isEmpty() && QDir(folderOf(target)).filePath(clash) != source)
        engine::raise(engine::err::FileAlreadyExists);
    if (::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0)
        raiseFromErrno(errno);
}

void SyncFile(const QString &path) {
    syncPath(existing(path), O_RDONLY);
    SyncFolder(folderOf(path));
}

void SyncFolder(const QString &folder) { syncPath(folder, O_RDONLY | O_DIRECTORY); }

} // namespace platform
