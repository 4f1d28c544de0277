#pragma once

#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>

// Pictures of the machine sheet as data: URIs, each scaled down to the size it is shown
// at and encoded once, however often the sheet shows it.
namespace sheet {

class PictureCache {
public:
    // A symbol picture fitted into `box`, as PNG (symbols are few-coloured and small).
    QString symbol(const QString& name, const QImage& image, QSize box);
    // A cabinet picture fitted into `box`, as PNG or JPEG, whichever is smaller.
    QString cabinet(const QString& name, const QImage& image, QSize box);

private:
    QHash<QString, QString> uris_;  // by name and box
};

// The base64 data: URI of `image` encoded as `format` ("PNG" or "JPEG").
QString dataUri(const QImage& image, const char* format, int quality = -1);

}  // namespace sheet
