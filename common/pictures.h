#pragma once

#include <QImage>
#include <QString>

namespace pictures {

// A plain white 72 x 36 picture: what an empty strip cell shows at start-up.
QImage blankPicture();
// White 72 x 36 with a solid black block from (9, 10) to (62, 25): "any symbol".
QImage anyPicture();

// Decodes a GIF, JPEG or BMP file (any format Qt reads). On failure the picture is
// left untouched and *error says why.
bool loadPicture(const QString& path, QImage& picture, QString* error = nullptr);

// Twips of a picture's natural size (15 twips per pixel at 96 dots per inch).
constexpr int TwipsPerPixel = 15;

}  // namespace pictures
