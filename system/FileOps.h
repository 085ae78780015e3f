// File-system services of the Linux platform: the settings file, the single-instance lock and the
// desktop's recently-used list. Plain POSIX calls, so that no crash or full disk can leave a
// half-written file behind.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace file_ops
{

// The XDG base folders: the variable when it holds an absolute path, else the default under the
// home folder ($HOME, or the password database's home when HOME is unset).
QString configHome();
QString dataHome();
// $XDG_RUNTIME_DIR when absolute, else the empty string.
QString runtimeDir();

// A file's bytes: empty when it does not exist, nullopt when it exists but cannot be read or is
// not a regular file. Never blocks on a FIFO.
std::optional<QByteArray> readFile(const QString& path);

// Replaces a file atomically: a private temporary file in the same folder, flushed to disk, then
// renamed over the old one. A symbolic link is followed to its target, which is replaced, so the
// link stays. The old file's permissions are kept; a file whose mode gives no write permission,
// or that the effective user may not write, is never replaced. Missing parent folders are
// created (0700). Copies that earlier saves killed midway left beside the file are removed.
// False, with the old file untouched, on any failure.
bool replaceFile(const QString& path, const QByteArray& bytes);

// Creates a folder and its missing parents with mode 0700; false when it is not a folder then.
bool makeFolders(const QString& dir);

// Takes an exclusive, non-blocking lock on the file, held until the process ends. False when
// another process holds it. The file is created with mode 0600 and no link is followed.
bool lockForLifetime(const QString& path);

// Empties the recently-used list of the data folder: a regular recently-used.xbel is replaced with
// an empty document (a link there is left alone); the *.desktop entries of RecentDocuments/ are
// removed without recursion and without following links.
void purgeRecentDocuments(const QString& dataDir);

} // namespace file_ops
