// Any bytes as a picture file: a refused picture leaves the one in hand and says why; an
// accepted one is within the limits.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

#include "pictures.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_pictures";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);  // finds the GIF and JPEG decoders
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("picture"));
    // Small limits keep each decode quick; the rules are the same at any size.
    static constexpr pictures::PictureLimits limits{512, 512, 512 * 512 * 4};
    {
        QFile::remove(path);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            __builtin_trap();
    }
    const QImage before = pictures::blankPicture();
    QImage picture = before;
    QString why;
    if (!pictures::loadPicture(path, picture, &why, limits)) {
        if (picture != before || why.isEmpty()) __builtin_trap();
        return 0;
    }
    if (picture.isNull() || picture.width() > limits.maxWidth ||
        picture.height() > limits.maxHeight)
        __builtin_trap();
    return 0;
}
