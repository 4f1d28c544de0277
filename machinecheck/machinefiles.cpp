#include "machinefiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "archive.h"
#include "sdfformat.h"

namespace machinefiles {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(MachineFiles)
};

// No machine file comes near this; the control archive of twenty prizes is under 1 MiB.
constexpr qint64 MaxFileSize = 64LL * 1024 * 1024;

// Answers the .orf reader's request for its reel data file with the bytes the checker
// already holds. Symbol pictures are the checker's own business: none is decoded here.
class GivenReelData : public orf::ReferencedFiles {
public:
    explicit GivenReelData(const QByteArray& bytes) : bytes_(bytes) {}
    bool reelData(const QString&, QByteArray& bytes, QString*) const override {
        bytes = bytes_;
        return true;
    }
    bool picture(const QString&, QImage& image, QString*) const override {
        image = QImage();
        return true;
    }

private:
    const QByteArray& bytes_;
};

}  // namespace

bool readBytes(const QString& path, QByteArray& bytes, QString* error) {
    return readWholeFile(path, bytes, error, MaxFileSize);
}

bool readInput(const QString& path, QByteArray& bytes, QString* error) {
    if (path != QLatin1String("-")) return readBytes(path, bytes, error);
    // A pipe tells no size: read in pieces, never more than one byte past the limit.
    QByteArray data;
    char piece[65536];
    for (;;) {
        const size_t room = size_t(std::min<qint64>(sizeof piece, MaxFileSize + 1 - data.size()));
        const ssize_t n = ::read(STDIN_FILENO, piece, room);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            if (error)
                *error = Text::tr("cannot read standard input: %1")
                             .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        if (n == 0) break;
        data.append(piece, n);
        if (data.size() > MaxFileSize) {
            if (error)
                *error = QStringLiteral(
                             "standard input holds more than %1 MB, more than any "
                             "machine file")
                             .arg(MaxFileSize / (1024 * 1024));
            return false;
        }
    }
    bytes = std::move(data);
    return true;
}

bool readReelData(const QByteArray& bytes, ReelDataDocument& doc, QString* error) {
    int version = 0;
    return sdf::readText(bytes, doc, version, error);
}

bool readReelSummary(const QByteArray& bytes, ReelDataSummary& summary, QString* error) {
    return readReelDataSummary(bytes, summary, error);
}

QByteArray standInReelData(int lastPrizeIndex) {
    ReelDataDocument doc;
    doc.lastPrizeIndex = static_cast<std::int16_t>(lastPrizeIndex);
    return sdf::write(doc);
}

bool readControlFile(const QString& path, int lastPrizeIndex, ControlDocument& doc,
                     rcf::ReadReport& report, QString* error) {
    if (!doc.setLastPrizeIndex(lastPrizeIndex, error)) return false;
    return rcf::readFile(path, doc, &report, error);
}

bool readControlText(const QByteArray& text, int lastPrizeIndex, ControlDocument& doc,
                     rcf::ReadReport& report, QString* error) {
    if (!doc.setLastPrizeIndex(lastPrizeIndex, error)) return false;
    return rcf::readText(text, doc, &report, error);
}

QByteArray controlText(const ControlDocument& doc) { return rcf::writeText(doc); }

bool unpackControlText(const QString& path, QByteArray& text, QString* error) {
    QByteArray bytes;
    if (!readInput(path, bytes, error)) return false;
    return rcf::unpackText(bytes, text, error);
}

QByteArray packControlText(const QByteArray& text, QString* error) {
    QString why;
    QByteArray archive =
        lzh::writeArchive({lzh::Member{QString::fromLatin1(rcf::MemberName), text}}, &why);
    if (archive.isEmpty() && error) *error = Text::tr("the text cannot be packed: %1").arg(why);
    return archive;
}

bool readMachine(const QByteArray& bytes, const QByteArray& reelData, MachineSpec& doc,
                 orf::ReadReport& report, QString* error) {
    return orf::readText(bytes, GivenReelData(reelData), doc, &report, error);
}

bool readPositions(const QByteArray& bytes, PositionDocument& doc, ppf::ReadReport& report,
                   QString* error) {
    return ppf::readText(bytes, doc, &report, error);
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString* error) {
    return saveFileAtomically(path, bytes, error);
}

bool writeOutput(const QString& path, const QByteArray& bytes, QString* error) {
    if (path != QLatin1String("-")) return writeBytes(path, bytes, error);
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) ||
        std::fflush(stdout) != 0) {
        if (error)
            *error = Text::tr("cannot write standard output: %1")
                         .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

std::optional<FileIdentity> regularFileIdentity(const QString& path, int standardFd) {
    struct stat st {};
    const int status = path == QLatin1String("-")
                           ? ::fstat(standardFd, &st)
                           : ::stat(QFile::encodeName(path).constData(), &st);
    if (status != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return FileIdentity{quint64(st.st_dev), quint64(st.st_ino)};
}

}  // namespace machinefiles
