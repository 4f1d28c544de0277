#pragma once

#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

#include "savefile.h"

namespace pictures {

// A plain white 72 x 36 picture: what an empty strip cell shows at start-up.
QImage blankPicture();
// White 72 x 36 with a solid black block from (9, 10) to (62, 25): "any symbol".
QImage anyPicture();

// How large one decoded picture may be. Bytes count 4 a pixel, as the picture is drawn.
struct PictureLimits {
    int maxWidth;
    int maxHeight;
    qint64 maxBytes;
};
// A symbol picture of the reel strips (72 x 36 in the machines we know).
inline constexpr PictureLimits SymbolPictureLimits{4096, 4096, 4096LL * 4096 * 4};
// A cabinet or numeral picture of the picture position file.
inline constexpr PictureLimits CabinetPictureLimits{16384, 16384, 256LL * 1024 * 1024};
// What all the pictures of one document load may hold decoded together.
inline constexpr qint64 LoadBudgetBytes = 256LL * 1024 * 1024;
// The budget of a read of a document that names up to `pictures` different pictures: each
// may be as large as the editor let the author load it, and the file still reads back.
constexpr qint64 readBudget(const PictureLimits& limits, int pictures) {
    return limits.maxBytes * pictures;
}

// Loads the pictures of one document read. Only GIF, JPEG, BMP and PNG are decoded, the
// kind told by the content whatever the name says; anything else is "not a picture". The
// size is taken from the header and checked against the limits, and a file that ends before
// the data its header asks for is refused, before anything is decoded. A file reached by
// several names (other letter case, links) is decoded once and its picture shared; the
// shared picture counts once against the budget.
class PictureLoader {
public:
    explicit PictureLoader(const PictureLimits& limits, qint64 budgetBytes = LoadBudgetBytes)
        : limits_(limits), budget_(budgetBytes) {}

    // The picture `name` in `folder`: the exact name first, then any letter case. On
    // failure `picture` is untouched and *error names the picture and says why.
    bool loadFromFolder(const QString& folder, const QString& name, QImage& picture,
                        QString* error);
    // The picture at `path`; messages name the path.
    bool load(const QString& path, QImage& picture, QString* error);

    int decodedCount() const { return decoded_; }
    qint64 bytesHeld() const { return used_; }
    // The names of the pictures loaded from PNG files, each once, in the order loaded: the
    // editors show them, the machine takes only GIF, JPEG and BMP.
    const QStringList& pngNames() const { return pngNames_; }

private:
    struct Outcome {
        QImage picture;
        QString error;
        bool png = false;
    };
    bool loadNamed(const QString& path, const QString& shownName, QImage& picture, QString* error);
    // Decodes the picture `file` holds, which begins with `head`; `whole` is all of it when
    // it was read whole.
    Outcome decode(QIODevice& file, const QByteArray& head, const QByteArray* whole,
                   const QString& shownName);

    PictureLimits limits_;
    qint64 budget_;
    qint64 used_ = 0;
    int decoded_ = 0;
    QHash<FileIdentity, Outcome> byFile_;
    QStringList pngNames_;
};

// Decodes one GIF, JPEG, BMP or PNG file within `limits` (a single picture chosen by the
// user). On failure the picture is left untouched and *error says why. *png tells whether
// it was a PNG file.
bool loadPicture(const QString& path, QImage& picture, QString* error = nullptr,
                 const PictureLimits& limits = SymbolPictureLimits, bool* png = nullptr);

// Twips of a picture's natural size (15 twips per pixel at 96 dots per inch).
constexpr int TwipsPerPixel = 15;

}  // namespace pictures
