#include "machinefiles.h"

#include "archive.h"
#include "savefile.h"
#include "sdfformat.h"

namespace machinefiles {

namespace {

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
    if (!readBytes(path, bytes, error)) return false;
    return rcf::unpackText(bytes, text, error);
}

QByteArray packControlText(const QByteArray& text, QString* error) {
    QString why;
    QByteArray archive = lzh::writeArchive({lzh::Member{QString::fromLatin1(rcf::MemberName), text}}, &why);
    if (archive.isEmpty() && error) *error = QStringLiteral("the text cannot be packed: %1").arg(why);
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

}  // namespace machinefiles
