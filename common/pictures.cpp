#include "pictures.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace pictures {

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

bool loadPicture(const QString& path, QImage& picture, QString* error) {
    if (!QFileInfo(path).isFile()) {
        if (error) *error = QStringLiteral("画像ファイルがありません: %1").arg(path);
        return false;
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    // A hostile header must not make us allocate gigabytes.
    QImageReader::setAllocationLimit(256);
    QImage image = reader.read();
    if (image.isNull()) {
        if (error) *error = QStringLiteral("画像を読めません: %1 (%2)").arg(path, reader.errorString());
        return false;
    }
    picture = std::move(image);
    return true;
}

}  // namespace pictures
