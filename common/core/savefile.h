#pragma once

#include <QByteArray>
#include <QHashFunctions>
#include <QString>

class QFile;

// Writes a whole file so that a failed save (folder gone, no permission, disk full, a file
// size limit) leaves the old file whole. The file keeps its mode, owner, group and other
// hard links; a link is followed to the file it names. Usually the new content goes into a
// temporary beside it that is renamed into place; a file with more than one name, or whose
// owner or group the saver cannot give a new file, is written over after a whole copy of its
// old content is put beside it, and that copy goes back on any failure.
// Returns true only when every byte reached the disk and the file took its place;
// otherwise false, nothing left behind, and a Japanese reason in *error.
bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Past a file size limit a write then fails (EFBIG) and the save says so, instead of the
// signal ending the program with the author's unsaved work. First thing in every main.
void ignoreFileSizeSignal();

// Reads a whole file; false and a reason naming the file when it cannot (missing, a folder,
// a FIFO or device, unreadable, larger than maxSize). At most maxSize + 1 bytes are read,
// whatever size the file system reports.
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
