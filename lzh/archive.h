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
    // bytes are not a readable LZH archive or hold more than kMaxMembers members.
    bool openBytes(const QByteArray& bytes);
    bool openFile(const QString& path);

    QStringList memberNames() const;
    // The uncompressed bytes of the first member with this name; nullopt and
    // errorString() when it is missing or damaged (a CRC-16 mismatch included).
    std::optional<QByteArray> read(const QString& name);

    QString errorString() const { return error_; }

    // Members whose stated size is above this are refused by read() before anything is
    // allocated, so a damaged or hostile header cannot ask for gigabytes.
    static constexpr qint64 kDefaultMaxMemberSize = 64LL * 1024 * 1024;
    // An archive with more members than this is refused when it is opened: the headers
    // of millions of empty members would otherwise take minutes to list.
    static constexpr int kMaxMembers = 1000;
    void setMaxMemberSize(qint64 bytes) { maxMemberSize_ = bytes; }

private:
    struct Entry {
        qsizetype dataStart;  // where the member's packed data begins in bytes_
        qsizetype packedSize;
        quint64 size;  // as the header states it
        quint16 crc;
        char method[6];
    };
    QByteArray bytes_;
    QStringList names_;
    QList<Entry> entries_;  // one for each name
    QString error_;
    qint64 maxMemberSize_ = kDefaultMaxMemberSize;
};

// A complete archive holding the given members, each compressed with -lh5- (stored as
// -lh0- when it does not shrink), level 2 headers, CRC-16 and time stamp.
// A name may hold folders ("a/b.txt"). A member the format cannot hold (no name, a name
// longer than a header can carry, 4 GiB or more of data) gives an empty result, and *error
// says which and why.
QByteArray writeArchive(const QList<Member>& members, QString* error = nullptr);
// The same with a given time stamp (seconds since 1970, UTC) for every member.
QByteArray writeArchive(const QList<Member>& members, qint64 unixTime, QString* error = nullptr);

}  // namespace lzh
