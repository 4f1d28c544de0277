#include "pictures.h"

#include <sys/stat.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <limits>

#include "filelookup.h"

namespace pictures {

namespace {

constexpr qint64 MB = 1024 * 1024;
constexpr qint64 BytesPerPixel = 4;
// The start of a file that tells its kind and, for a BMP, where its pixels lie.
constexpr qint64 HeadBytes = 64;

// The decoder to use, from the first bytes; empty for anything that is not one of the
// four picture kinds (SVG, or any other format a Qt plugin would take).
QByteArray formatOf(const QByteArray& head) {
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a")) return "gif";
    if (head.startsWith("\xFF\xD8\xFF")) return "jpeg";
    if (head.startsWith("BM")) return "bmp";
    if (head.startsWith("\x89PNG\r\n\x1A\n")) return "png";
    return {};
}

// Qt decodes a GIF at its logical screen size, which its reader does not report.
QSize gifScreenSize(const QByteArray& head) {
    if (head.size() < 10) return {};
    auto at = [&](int i) { return int(static_cast<unsigned char>(head[i])); };
    return {at(6) | at(7) << 8, at(8) | at(9) << 8};
}

qint64 bytesOf(const QSize& size) { return qint64(size.width()) * size.height() * BytesPerPixel; }

// ---- Whether a file holds all the data its header asks for

// Bytes of the file read as numbers; a read past the end gives 0, and every caller checks
// the length it needs first.
struct Bytes {
    const QByteArray& b;
    qint64 size() const { return b.size(); }
    quint32 at(qint64 i) const { return i < b.size() ? static_cast<unsigned char>(b[i]) : 0; }
    quint32 le16(qint64 i) const { return at(i) | at(i + 1) << 8; }
    quint32 le32(qint64 i) const { return le16(i) | le16(i + 2) << 16; }
    quint32 be16(qint64 i) const { return at(i) << 8 | at(i + 1); }
    quint32 be32(qint64 i) const { return be16(i) << 16 | be16(i + 2); }
};

struct DataCheck {
    QString shortBy;         // why the data ends too soon; empty when it is all there
    bool fillFirst = false;  // the decoder may leave pixels unwritten
};

const QString HeaderCut = QStringLiteral("ヘッダーの途中で終わっています");

// Where a BMP's pixels lie, as its decoder reads them: after the headers (any size but the
// four it knows read like the oldest, with 16-bit sizes), masks and colour table, or at the
// file's pixel offset when that is further; rows of pixels, or run-length codes.
struct BmpLayout {
    qint64 pixelsAt = 0;
    qint64 end = 0;  // where the last row ends; run-length codes end where they say
    bool runLength = false;
};

BmpLayout bmpLayout(const Bytes& d) {
    const qint64 headerSize = d.le32(14);
    const bool wide =
        headerSize == 40 || headerSize == 64 || headerSize == 108 || headerSize == 124;
    const qint64 width = wide ? qint32(d.le32(18)) : qint16(d.le16(18));
    const qint64 height = std::abs(wide ? qint64(qint32(d.le32(22))) : qint16(d.le16(20)));
    const int bits = int(d.le16(wide ? 28 : 24));
    const quint32 compression = wide ? d.le32(30) : 0;
    const quint32 coloursUsed = wide ? d.le32(46) : 0;
    BmpLayout layout;
    qint64& at = layout.pixelsAt;
    at = 14 + std::min<qint64>(headerSize, 108) + (headerSize == 124 ? 16 : 0);
    if (headerSize < 108 && compression == 3 && (bits == 16 || bits == 32)) at += 12;  // masks
    if (bits <= 8)
        at += qint64(coloursUsed ? coloursUsed : 1u << bits) * (headerSize == 12 ? 3 : 4);
    at = std::max<qint64>(at, qint32(d.le32(10)));
    layout.runLength = compression == 1 || compression == 2;
    layout.end = at + (width * bits + 31) / 32 * 4 * height;
    return layout;
}

QString rowsShort(qint64 end) {
    return QStringLiteral("画素データがヘッダーの示す %1 バイト目まで届いていません").arg(end);
}

DataCheck checkBmp(const Bytes& d) {
    const BmpLayout layout = bmpLayout(d);
    if (!layout.runLength) return {d.size() >= layout.end ? QString() : rowsShort(layout.end)};
    // Codes of two bytes: a run, or after a 0 the end of a line, the end of the picture, a
    // jump, or so many pixels as they stand (padded to two bytes).
    const bool eightBits = d.le32(30) == 1;
    const qint64 height = std::abs(qint64(qint32(d.le32(22))));
    qint64 at = layout.pixelsAt;
    qint64 line = 0;
    while (at + 2 <= d.size()) {
        const quint32 count = d.at(at), code = d.at(at + 1);
        at += 2;
        if (count != 0) continue;
        if (code == 1 || (code == 0 && ++line >= height)) return {{}, true};
        if (code == 2) {
            line = std::min(line + d.at(at + 1), height - 1);
            at += 2;
        } else if (code > 2) {
            at += ((eightBits ? code : (code + 1) / 2) + 1) & ~1u;
        }
    }
    return {QStringLiteral("圧縮された画素データが最後までありません")};
}

// An uncompressed BMP decoded straight from its file: one byte read where its last row ends
// shows the rows are all there, whatever size the file system tells.
DataCheck checkBmpOnDisk(QIODevice& file, const QByteArray& head) {
    const qint64 end = bmpLayout(Bytes{head}).end;
    const qint64 at = file.pos();
    char last = 0;
    const bool whole = end > 0 && file.seek(end - 1) && file.read(&last, 1) == 1;
    file.seek(at);
    return {whole ? QString() : rowsShort(end)};
}

// A JPEG's segments up to its first scan, then its end marker after the scan: the bytes
// FF D9 stand nowhere inside coded data.
DataCheck checkJpeg(const Bytes& d) {
    qint64 at = 2;
    while (true) {
        if (at + 2 > d.size()) return {HeaderCut};
        if (d.at(at) != 0xFF) return {};  // not a marker: the decoder judges it
        const quint32 marker = d.at(at + 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        at += 2;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (marker == 0xD9) return {};  // ends before any scan: the decoder refuses it
        if (at + 2 > d.size()) return {HeaderCut};
        at += d.be16(at);
        if (marker == 0xDA) break;
    }
    if (at <= d.size() && d.b.lastIndexOf("\xFF\xD9") >= at) return {};
    return {QStringLiteral("終わりの印 (EOI) がありません")};
}

// A GIF's blocks up to its trailer: extensions and pictures, each with its chain of
// sub-blocks, a length byte before each and a 0 after the last.
DataCheck checkGif(const Bytes& d) {
    const QString cut = QStringLiteral("終わりの印 (トレーラー) の前でファイルが終わっています");
    auto colourTable = [&](qint64 flagsAt) -> qint64 {
        const quint32 flags = d.at(flagsAt);
        return flags & 0x80 ? 3 << ((flags & 7) + 1) : 0;
    };
    auto subBlocks = [&](qint64& at) {
        while (at < d.size()) {
            const quint32 length = d.at(at++);
            if (length == 0) return true;
            at += length;
        }
        return false;
    };
    if (d.size() < 13) return {HeaderCut};
    qint64 at = 13 + colourTable(10);
    while (at < d.size()) {
        switch (d.at(at)) {
            case 0x3B:
                return {};
            case 0x21:
                at += 2;
                break;
            case 0x2C:
                at += 10 + colourTable(at + 9) + 1;  // descriptor, colours, LZW code size
                break;
            default:
                return {};  // not a block: the decoder judges what came before
        }
        if (!subBlocks(at)) return {cut};
    }
    return {cut};
}

// A PNG's chunks, each its length, type, data and CRC, up to the IEND chunk.
DataCheck checkPng(const Bytes& d) {
    qint64 at = 8;
    while (at + 12 <= d.size()) {
        const qint64 length = d.be32(at);
        const bool end = d.b.mid(at + 4, 4) == "IEND";
        at += 12 + length;
        if (at > d.size()) break;
        if (end) return {};
    }
    return {QStringLiteral("終わりのチャンク (IEND) がありません")};
}

DataCheck checkData(const QByteArray& format, const QByteArray& bytes) {
    const Bytes d{bytes};
    if (format == "bmp") return checkBmp(d);
    if (format == "jpeg") return checkJpeg(d);
    if (format == "gif") return checkGif(d);
    return checkPng(d);
}

}  // namespace

QImage blankPicture() {
    QImage image(72, 36, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QImage anyPicture() {
    QImage image = blankPicture();
    for (int y = 10; y <= 25; ++y)
        for (int x = 9; x <= 62; ++x) image.setPixel(x, y, qRgb(0, 0, 0));
    return image;
}

PictureLoader::Outcome PictureLoader::decode(QIODevice& file, const QByteArray& head,
                                             const QByteArray* whole, const QString& shownName) {
    auto refused = [](const QString& why) { return Outcome{QImage(), why}; };
    const QByteArray format = formatOf(head);
    if (format.isEmpty())
        return refused(QStringLiteral("「%1」は画像ファイル（GIF、JPEG、BMP、PNG）ではありません。")
                           .arg(shownName));

    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);  // never hand the bytes to another decoder
    QSize size = reader.size();
    if (format == "gif") size = size.expandedTo(gifScreenSize(head));
    // A BMP stored top row first tells a negative height.
    if (format == "bmp" && size.height() < 0 && size.height() > std::numeric_limits<int>::min())
        size.setHeight(-size.height());
    if (!size.isValid() || size.isEmpty())
        return refused(
            QStringLiteral("画像「%1」を読めません（%2）。").arg(shownName, reader.errorString()));
    auto tooLarge = [&](const QSize& s) {
        return s.width() > limits_.maxWidth || s.height() > limits_.maxHeight ||
               bytesOf(s) > limits_.maxBytes;
    };
    auto tooLargeMessage = [&](const QSize& s) {
        return QStringLiteral(
                   "画像「%1」が大きすぎます（%2 × %3 ピクセル。%4 × %5 ピクセル、%6 MB まで）。")
            .arg(shownName)
            .arg(s.width())
            .arg(s.height())
            .arg(limits_.maxWidth)
            .arg(limits_.maxHeight)
            .arg(limits_.maxBytes / MB);
    };
    auto overBudgetMessage = [&](const QSize& s) {
        return QStringLiteral(
                   "画像「%1」（%2 × %3 ピクセル）を読み込むと、一度に読み込める画像の合計 %4 MB "
                   "を超えます。")
            .arg(shownName)
            .arg(s.width())
            .arg(s.height())
            .arg(budget_ / MB);
    };
    if (tooLarge(size)) return refused(tooLargeMessage(size));
    if (used_ + bytesOf(size) > budget_) return refused(overBudgetMessage(size));
    // The decoders hand back what they got from a file cut short, the rest of the picture
    // left as it was in memory; such a file is refused before it is decoded.
    const DataCheck check = whole ? checkData(format, *whole) : checkBmpOnDisk(file, head);
    if (!check.shortBy.isEmpty())
        return refused(QStringLiteral("画像「%1」はファイルが途中で切れています（%2）。")
                           .arg(shownName, check.shortBy));

    // Should a decoder still make a larger picture than its header said, Qt stops it here.
    const qint64 room = std::min(limits_.maxBytes, budget_ - used_);
    const int allocationLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(int(std::max<qint64>(1, (room + MB - 1) / MB)));
    QImage image;
    // The decoder reuses a picture of the size and kind it makes, so the pixels a run-length
    // BMP skips show colour 0 instead of what the memory held.
    if (check.fillFirst) {
        image = QImage(size, reader.imageFormat());
        image.fill(0);
    }
    const bool read = reader.read(&image);
    QImageReader::setAllocationLimit(allocationLimit);
    if (!read || image.isNull())
        return refused(
            QStringLiteral("画像「%1」を読めません（%2）。").arg(shownName, reader.errorString()));
    const qint64 held = std::max(bytesOf(image.size()), qint64(image.sizeInBytes()));
    if (tooLarge(image.size())) return refused(tooLargeMessage(image.size()));
    if (used_ + held > budget_) return refused(overBudgetMessage(image.size()));
    used_ += held;
    ++decoded_;
    return {std::move(image), QString(), format == "png"};
}

bool PictureLoader::loadNamed(const QString& path, const QString& shownName, QImage& picture,
                              QString* error) {
    QFile file;
    FileIdentity identity;
    QString why;
    auto unreadable = [&] {
        if (error)
            *error = QStringLiteral("画像ファイル「%1」を読めません。%2").arg(shownName, why);
        return false;
    };
    if (!openRegularFile(path, file, &why, &identity)) return unreadable();
    auto it = byFile_.constFind(identity);
    if (it == byFile_.constEnd()) {
        // An uncompressed BMP is as large on disk as decoded: it is decoded from the file,
        // which its decoder reads no further than the header says. Any other picture is far
        // smaller than its pixels and is read whole, so that where it ends can be checked; as
        // large as the limit may take, as a 32-bit BMP, this much room on disk.
        const QByteArray head = file.peek(HeadBytes);
        if (formatOf(head) == "bmp" && !bmpLayout(Bytes{head}).runLength) {
            it = byFile_.insert(identity, decode(file, head, nullptr, shownName));
        } else {
            file.close();
            QByteArray bytes;
            if (!readWholeFile(path, bytes, &why, limits_.maxBytes + MB)) return unreadable();
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::ReadOnly);
            it = byFile_.insert(identity, decode(buffer, bytes.left(HeadBytes), &bytes, shownName));
        }
    }
    if (!it->error.isEmpty()) {
        if (error) *error = it->error;
        return false;
    }
    picture = it->picture;
    if (it->png && !pngNames_.contains(shownName)) pngNames_.append(shownName);
    return true;
}

bool PictureLoader::loadFromFolder(const QString& folder, const QString& name, QImage& picture,
                                   QString* error) {
    const QString path = findFileInFolder(folder, name);
    if (path.isEmpty()) {
        if (error) *error = QStringLiteral("画像ファイル「%1」が見つかりません。").arg(name);
        return false;
    }
    return loadNamed(path, name, picture, error);
}

bool PictureLoader::load(const QString& path, QImage& picture, QString* error) {
    return loadNamed(path, path, picture, error);
}

bool loadPicture(const QString& path, QImage& picture, QString* error, const PictureLimits& limits,
                 bool* png) {
    PictureLoader loader(limits);
    const bool loaded = loader.load(path, picture, error);
    if (png) *png = loaded && !loader.pngNames().isEmpty();
    return loaded;
}

}  // namespace pictures
