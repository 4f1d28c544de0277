// Picture loading: the content decides the decoder among GIF, JPEG, BMP and PNG, sizes are
// checked from the header before anything is decoded, a file cut short is refused, one file
// is decoded once per load, and one load holds at most its budget.
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "pictures.h"

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A committed GIF (Qt writes none): 72 x 36, blue.
QByteArray blueGif() { return fileBytes(QStringLiteral(TEST_DATA_DIR "/blue.gif")); }

QByteArray encoded(const QByteArray& format, int width, int height,
                   QImage::Format kind = QImage::Format_RGB32) {
    if (format == "gif") return blueGif();
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    image = image.convertToFormat(kind);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format.constData());
    return bytes;
}

void putLE(QByteArray& b, qsizetype at, quint32 v, int n) {
    for (int i = 0; i < n; ++i) b[at + i] = char(v >> (8 * i) & 0xFF);
}
void putBE(QByteArray& b, qsizetype at, quint32 v, int n) {
    for (int i = 0; i < n; ++i) b[at + i] = char(v >> (8 * (n - 1 - i)) & 0xFF);
}

quint32 crc32(const char* data, qsizetype size) {
    quint32 crc = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= static_cast<unsigned char>(data[i]);
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

// A small picture whose header claims width x height (GIF and BMP cut short after it): a
// reader that did not check the header would make a picture that large from it.
QByteArray claiming(const QByteArray& format, int width, int height) {
    QByteArray b = encoded(format, 8, 8);
    if (format == "gif") {
        putLE(b, 6, quint32(width), 2);  // the logical screen Qt decodes at
        putLE(b, 8, quint32(height), 2);
        return b.left(200);
    }
    if (format == "bmp") {
        putLE(b, 18, quint32(width), 4);
        putLE(b, 22, quint32(height), 4);
        return b.left(54);
    }
    if (format == "png") {
        putBE(b, 16, quint32(width), 4);
        putBE(b, 20, quint32(height), 4);
        putBE(b, 29, crc32(b.constData() + 12, 17), 4);
        return b;
    }
    const qsizetype sof = b.indexOf("\xFF\xC0");  // jpeg: the baseline frame header
    putBE(b, sof + 5, quint32(height), 2);
    putBE(b, sof + 7, quint32(width), 2);
    return b;
}

// A run-length BMP of 16 x 8 in its one colour: a run fills the bottom row, then the codes
// end the picture, so the decoder writes no other pixel.
QByteArray runLengthBmp() {
    QByteArray b = encoded("bmp", 16, 8, QImage::Format_Indexed8);
    b.truncate(static_cast<unsigned char>(b[10]));  // up to the pixels
    putLE(b, 30, 2, 4);                             // run-length, 4 bits
    return b + QByteArray("\x10\x00\x00\x01", 4);
}

QByteArray topDownBmp(int width, int height) {
    QByteArray b = encoded("bmp", width, height);
    putLE(b, 22, quint32(-height), 4);
    return b;
}

QString write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return {};
    return path;
}

}  // namespace

class PicturesTest : public QObject {
    Q_OBJECT
private slots:
    void contentDecides_data();
    void contentDecides();
    void sizeFromTheHeader_data();
    void sizeFromTheHeader();
    void cutShort_data();
    void cutShort();
    void oneDecodePerFile();
    void budgetOfOneLoad();
};

void PicturesTest::contentDecides_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("decoded");
    QTest::newRow("GIF under a BMP name") << "a.bmp" << blueGif() << true;
    QTest::newRow("JPEG under a GIF name") << "a.gif" << encoded("jpeg", 72, 36) << true;
    QTest::newRow("BMP under a JPEG name") << "a.jpg" << encoded("bmp", 72, 36) << true;
    QTest::newRow("PNG under a BMP name") << "a.bmp" << encoded("png", 72, 36) << true;
    QTest::newRow("BMP stored top row first") << "a.bmp" << topDownBmp(72, 36) << true;
    QTest::newRow("SVG") << "a.gif"
                         << QByteArray(
                                "<svg xmlns='http://www.w3.org/2000/svg' width='72' "
                                "height='36'><rect width='72' height='36'/></svg>")
                         << false;
    QTest::newRow("SVG naming files outside the folder")
        << "a.bmp"
        << QByteArray(
               "<?xml version='1.0'?><svg xmlns='http://www.w3.org/2000/svg' "
               "xmlns:xlink='http://www.w3.org/1999/xlink' width='8' height='8'>"
               "<image xlink:href='/etc/passwd' width='8' height='8'/>"
               "<image xlink:href='../../x.png' width='8' height='8'/>"
               "<image xlink:href='/dev/stdin' width='8' height='8'/></svg>")
        << false;
    QTest::newRow("PPM") << "a.bmp" << encoded("ppm", 8, 8) << false;
    QTest::newRow("XPM") << "a.gif" << encoded("xpm", 8, 8) << false;
    QTest::newRow("XBM") << "a.gif" << encoded("xbm", 8, 8) << false;
    QTest::newRow("ICO") << "a.bmp" << encoded("ico", 16, 16) << false;
    QTest::newRow("text") << "a.gif" << QByteArray("GIF picture of a cherry") << false;
    QTest::newRow("empty file") << "a.gif" << QByteArray() << false;
}

void PicturesTest::contentDecides() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, decoded);
    QTemporaryDir dir;
    const QString path = write(dir, name, bytes);
    QVERIFY(!path.isEmpty());
    QImage picture = pictures::blankPicture();
    QString why;
    bool png = true;
    QCOMPARE(pictures::loadPicture(path, picture, &why, pictures::SymbolPictureLimits, &png),
             decoded);
    QCOMPARE(png, decoded && bytes.startsWith("\x89PNG"));  // told by the bytes, not the name
    if (decoded) {
        QCOMPARE(picture.size(), QSize(72, 36));
        QVERIFY(picture.pixelColor(4, 4).blue() > 200);
    } else {
        QCOMPARE(picture, pictures::blankPicture());
        QVERIFY2(why.contains(path) && why.contains(QStringLiteral("ではありません")),
                 qPrintable(why));
    }
}

void PicturesTest::sizeFromTheHeader_data() {
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<bool>("cabinet");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("GIF screen 7900 x 7900 behind a 72 x 36 frame")
        << QByteArray("gif") << false << 7900 << 7900 << false;
    QTest::newRow("GIF screen 4097 wide") << QByteArray("gif") << false << 4097 << 36 << false;
    QTest::newRow("BMP 4097 wide") << QByteArray("bmp") << false << 4097 << 8 << false;
    QTest::newRow("BMP 4097 high") << QByteArray("bmp") << false << 8 << 4097 << false;
    QTest::newRow("PNG 10000 x 10000") << QByteArray("png") << false << 10000 << 10000 << false;
    QTest::newRow("JPEG 4097 x 8") << QByteArray("jpeg") << false << 4097 << 8 << false;
    QTest::newRow("symbol at the limit") << QByteArray("bmp") << false << 4096 << 2 << true;
    QTest::newRow("cabinet 16385 wide") << QByteArray("bmp") << true << 16385 << 8 << false;
    QTest::newRow("cabinet over 256 MB") << QByteArray("png") << true << 8193 << 8192 << false;
    QTest::newRow("JPEG cabinet 65000 x 65000")
        << QByteArray("jpeg") << true << 65000 << 65000 << false;
    QTest::newRow("cabinet 16384 wide") << QByteArray("png") << true << 16384 << 4 << true;
}

void PicturesTest::sizeFromTheHeader() {
    QFETCH(QByteArray, format);
    QFETCH(bool, cabinet);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, accepted);
    QTemporaryDir dir;
    const QString path =
        write(dir, QStringLiteral("big.") + QString::fromLatin1(format),
              accepted ? encoded(format, width, height) : claiming(format, width, height));
    QImage picture;
    QString why;
    const bool ok = cabinet
                        ? pictures::loadPicture(path, picture, &why, pictures::CabinetPictureLimits)
                        : pictures::loadPicture(path, picture, &why);
    QVERIFY2(ok == accepted, qPrintable(why));
    if (accepted) {
        QCOMPARE(picture.size(), QSize(width, height));
    } else {
        QVERIFY(picture.isNull());
        QVERIFY2(why.contains(path) && why.contains(QStringLiteral("大きすぎます")) &&
                     why.contains(QStringLiteral("%1 × %2").arg(width).arg(height)),
                 qPrintable(why));
    }
}

void PicturesTest::cutShort_data() {
    QTest::addColumn<QByteArray>("bytes");  // a whole blue picture file
    QTest::newRow("GIF") << blueGif();
    QTest::newRow("JPEG") << encoded("jpeg", 32, 16);
    QTest::newRow("PNG") << encoded("png", 32, 16);
    QTest::newRow("BMP 24-bit") << encoded("bmp", 21, 7);
    QTest::newRow("BMP 8-bit palette") << encoded("bmp", 21, 7, QImage::Format_Indexed8);
    QTest::newRow("BMP top row first") << topDownBmp(5, 3);
    QTest::newRow("BMP run-length") << runLengthBmp();
}

// Whatever its last byte, a file that stops before its end is refused before it is decoded
// and the picture in hand stays; the whole file decodes, nothing unwritten left in it.
void PicturesTest::cutShort() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    for (qsizetype n = 0; n < bytes.size(); ++n) {
        // A new file each time: rewriting one with data in it waits for the disk.
        const QString path = write(dir, QStringLiteral("cut%1.bmp").arg(n), bytes.left(n));
        QImage picture = pictures::blankPicture();
        QString why;
        QVERIFY2(!pictures::loadPicture(path, picture, &why), qPrintable(QString::number(n)));
        QCOMPARE(picture, pictures::blankPicture());
        QVERIFY2(why.contains(path), qPrintable(why));
        if (n > bytes.size() - 4)
            QVERIFY2(why.contains(QStringLiteral("途中で切れています")), qPrintable(why));
    }
    QImage picture;
    QVERIFY(pictures::loadPicture(write(dir, QStringLiteral("whole.bmp"), bytes), picture));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) QVERIFY(picture.pixelColor(x, y).blue() > 200);
}

void PicturesTest::oneDecodePerFile() {
    QTemporaryDir dir;
    QVERIFY(!write(dir, QStringLiteral("Seven.gif"), blueGif()).isEmpty());
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("Seven.gif")),
                        dir.filePath(QStringLiteral("link.gif"))));
    QCOMPARE(::link(QFile::encodeName(dir.filePath(QStringLiteral("Seven.gif"))).constData(),
                    QFile::encodeName(dir.filePath(QStringLiteral("hard.gif"))).constData()),
             0);
    QVERIFY(!write(dir, QStringLiteral("copy.gif"), blueGif()).isEmpty());

    pictures::PictureLoader loader(pictures::SymbolPictureLimits);
    const QStringList sameFile{"Seven.gif", "SEVEN.GIF", "seven.gif",
                               "sEvEn.GiF", "link.gif",  "hard.gif"};
    QImage first;
    for (const QString& name : sameFile) {
        QImage picture;
        QString why;
        QVERIFY2(loader.loadFromFolder(dir.path(), name, picture, &why), qPrintable(why));
        if (first.isNull()) first = picture;
        QCOMPARE(picture.cacheKey(), first.cacheKey());  // the same decoded pixels
    }
    QCOMPARE(loader.decodedCount(), 1);
    QCOMPARE(loader.bytesHeld(), qint64(72 * 36 * 4));
    QImage copy;
    QVERIFY(loader.loadFromFolder(dir.path(), QStringLiteral("COPY.gif"), copy, nullptr));
    QVERIFY(copy.cacheKey() != first.cacheKey());
    QCOMPARE(loader.decodedCount(), 2);
}

void PicturesTest::budgetOfOneLoad() {
    QTemporaryDir dir;
    for (int i = 1; i <= 4; ++i)
        QVERIFY(!write(dir, QStringLiteral("p%1.bmp").arg(i), encoded("bmp", 50, 50)).isEmpty());
    QVERIFY(!write(dir, QStringLiteral("small.bmp"), encoded("bmp", 10, 10)).isEmpty());
    // Three pictures of 50 x 50 (10000 bytes each) fit, a fourth does not.
    pictures::PictureLoader loader({100, 100, 40000}, 35000);
    QImage picture;
    QString why;
    for (int i = 1; i <= 3; ++i)
        QVERIFY(loader.loadFromFolder(dir.path(), QStringLiteral("p%1.bmp").arg(i), picture, &why));
    // A name of a picture already held costs nothing more.
    QVERIFY(loader.loadFromFolder(dir.path(), QStringLiteral("P1.BMP"), picture, &why));
    QImage kept = pictures::blankPicture();
    QVERIFY(!loader.loadFromFolder(dir.path(), QStringLiteral("p4.bmp"), kept, &why));
    QCOMPARE(kept, pictures::blankPicture());
    QVERIFY2(why.contains(QStringLiteral("「p4.bmp」")) && why.contains(QStringLiteral("合計")),
             qPrintable(why));
    QCOMPARE(loader.bytesHeld(), qint64(30000));
    QVERIFY(loader.loadFromFolder(dir.path(), QStringLiteral("small.bmp"), picture, &why));
    QCOMPARE(loader.decodedCount(), 4);
}

QTEST_GUILESS_MAIN(PicturesTest)
#include "tst_pictures.moc"
