#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The archiver layer: LZH archives read through liblhasa (every method, header levels
// 0 to 2) and written by our own -lh5- encoder with level 2 headers.
namespace lzh {

struct Member {
    QString name;     // as stored (code page 932 in the archive)
    QByteArray data;  // the member's uncompressed bytes
};

class Archive {
public:
    // Opens an archive held in memory or in a file; false and errorString() when the
    // bytes are not a readable LZH archive.
    bool openBytes(const QByteArray& bytes);
    bool openFile(const QString& path);

    QStringList memberNames() const;
    // The uncompressed bytes of the first member with this name; nullopt and
    // errorString() when it is missing or damaged (a CRC-16 mismatch included).
    std::optional<QByteArray> read(const QString& name);

    QString errorString() const { return error_; }

private:
    QByteArray bytes_;
    QStringList names_;
    QString error_;
};

// A complete archive holding the given members, each compressed with -lh5- (stored as
// -lh0- when it does not shrink), level 2 headers, CRC-16 and time stamp.
QByteArray writeArchive(const QList<Member>& members);

}  // namespace lzh
