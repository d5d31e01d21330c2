#pragma once
// The file functions start-up relies on, with the old platform's rule that names are found without regard
// to case. Failures raise the runtime's file errors (53 not found, 58 already exists, 70, 75).

#include <QString>

namespace platform {

// The name, as it stands on disk, of the plain file in path's folder whose name equals path's file name
// without regard to case; empty when there is none. Hidden files and folders are not listed. When several
// names differ only in case, the exact spelling wins, then the first in name order.
QString ListFile(const QString &path);

// Deletes the file that ListFile finds for path.
void DeleteFile(const QString &path);

// Gives the file that ListFile finds for from the name of to (spelled as given). Refuses when a file of
// that name already exists in any case.
void RenameFile(const QString &from, const QString &to);

// Writes the file's data and its folder's entry to disk, so a later rename or delete cannot outrun them.
void SyncFile(const QString &path);
void SyncFolder(const QString &folder);

} // namespace platform
