#include "pictures.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>

#include "filelookup.h"

namespace pictures {

namespace {

constexpr qint64 MB = 1024 * 1024;
constexpr qint64 BytesPerPixel = 4;

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

PictureLoader::Outcome PictureLoader::decode(QIODevice& file, const QString& shownName) {
    auto refused = [](const QString& why) { return Outcome{QImage(), why}; };
    // A picture as large as the limit may take, as a 32-bit BMP, this much room on disk.
    if (file.size() > limits_.maxBytes + MB)
        return refused(QStringLiteral("画像ファイル「%1」が大きすぎます。").arg(shownName));
    const QByteArray head = file.peek(16);
    const QByteArray format = formatOf(head);
    if (format.isEmpty())
        return refused(QStringLiteral("「%1」は画像ファイル（GIF、JPEG、BMP、PNG）ではありません。")
                           .arg(shownName));

    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);  // never hand the bytes to another decoder
    QSize size = reader.size();
    if (format == "gif") size = size.expandedTo(gifScreenSize(head));
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

    // Should a decoder still make a larger picture than its header said, Qt stops it here.
    const qint64 room = std::min(limits_.maxBytes, budget_ - used_);
    const int allocationLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(int(std::max<qint64>(1, (room + MB - 1) / MB)));
    QImage image = reader.read();
    QImageReader::setAllocationLimit(allocationLimit);
    if (image.isNull())
        return refused(
            QStringLiteral("画像「%1」を読めません（%2）。").arg(shownName, reader.errorString()));
    const qint64 held = std::max(bytesOf(image.size()), qint64(image.sizeInBytes()));
    if (tooLarge(image.size())) return refused(tooLargeMessage(image.size()));
    if (used_ + held > budget_) return refused(overBudgetMessage(image.size()));
    used_ += held;
    ++decoded_;
    return {std::move(image), QString()};
}

bool PictureLoader::loadNamed(const QString& path, const QString& shownName, QImage& picture,
                              QString* error) {
    QFile file;
    FileIdentity identity;
    QString why;
    if (!openRegularFile(path, file, &why, &identity)) {
        if (error)
            *error = QStringLiteral("画像ファイル「%1」を読めません。%2").arg(shownName, why);
        return false;
    }
    auto it = byFile_.constFind(identity);
    if (it == byFile_.constEnd()) it = byFile_.insert(identity, decode(file, shownName));
    if (!it->error.isEmpty()) {
        if (error) *error = it->error;
        return false;
    }
    picture = it->picture;
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

bool loadPicture(const QString& path, QImage& picture, QString* error,
                 const PictureLimits& limits) {
    PictureLoader loader(limits);
    return loader.load(path, picture, error);
}

}  // namespace pictures
