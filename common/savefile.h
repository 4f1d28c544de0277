#pragma once

#include <QByteArray>
#include <QHashFunctions>
#include <QString>

class QFile;

// Writes a whole file through a temporary beside it and renames it into place, so a
// failed save (folder gone, no permission, disk full) leaves the old file whole. The new
// file keeps the old one's permissions; a link is followed to the file it names.
// Returns true only when every byte reached the disk and the file took its place;
// otherwise false, no temporary left behind, and a Japanese reason in *error.
bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Reads a whole file; false and a reason when it cannot (missing, a folder, a FIFO or
// device, unreadable, larger than maxSize).
bool readWholeFile(const QString& path, QByteArray& bytes, QString* error = nullptr,
                   qint64 maxSize = 256LL * 1024 * 1024);

// Which file on disk a path leads to, whatever name or link led there.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
inline size_t qHash(const FileIdentity& id, size_t seed = 0) {
    return qHashMulti(seed, id.device, id.inode);
}

// Opens a regular file for reading without ever waiting: a FIFO, socket, device or folder
// under a data file's name is refused with a reason. `file` is left closed on failure.
bool openRegularFile(const QString& path, QFile& file, QString* error = nullptr,
                     FileIdentity* identity = nullptr);
