#include "sheetpictures.h"

#include <QBuffer>
#include <QImageWriter>

namespace sheet {

namespace {

QImage fitted(const QImage& image, QSize box) {
    if (image.width() <= box.width() && image.height() <= box.height()) return image;
    return image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QByteArray encoded(const QImage& image, const char* format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0) writer.setQuality(quality);
    if (!writer.write(image)) return {};
    return bytes;
}

QString uriOf(const QByteArray& bytes, const char* mime) {
    return QStringLiteral("data:%1;base64,").arg(QLatin1String(mime)) +
           QString::fromLatin1(bytes.toBase64());
}

QString key(const QString& name, QSize box) {
    return QStringLiteral("%1x%2/").arg(box.width()).arg(box.height()) + name;
}

}  // namespace

QString dataUri(const QImage& image, const char* format, int quality) {
    const bool jpeg = qstrcmp(format, "JPEG") == 0;
    return uriOf(encoded(image, format, quality), jpeg ? "image/jpeg" : "image/png");
}

QString PictureCache::symbol(const QString& name, const QImage& image, QSize box) {
    const QString k = key(name, box);
    if (auto it = uris_.constFind(k); it != uris_.constEnd()) return *it;
    return uris_[k] = dataUri(fitted(image, box), "PNG");
}

QString PictureCache::cabinet(const QString& name, const QImage& image, QSize box) {
    const QString k = key(name, box);
    if (auto it = uris_.constFind(k); it != uris_.constEnd()) return *it;
    // A drawn cabinet packs best as PNG, a photographed one as JPEG.
    const QImage small = fitted(image, box);
    const QByteArray png = encoded(small, "PNG", -1);
    const QByteArray jpeg = encoded(
        small.hasAlphaChannel() ? small.convertToFormat(QImage::Format_RGB32) : small, "JPEG", 82);
    return uris_[k] = !jpeg.isEmpty() && jpeg.size() < png.size() ? uriOf(jpeg, "image/jpeg")
                                                                  : uriOf(png, "image/png");
}

}  // namespace sheet
