// Hostile files and folders against the formats: a folder entry that is not a regular file,
// picture bombs and pictures that are not pictures, quoted numbers, and bytes that do not
// decode as code page 932. (That every writer reports a full disk is the rule of savefile,
// which all four go through.)
#include <sys/stat.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "controldocument.h"
#include "machinespec.h"
#include "orfformat.h"
#include "positiondocument.h"
#include "ppfformat.h"
#include "rcfformat.h"
#include "reeldatadocument.h"
#include "sdfformat.h"

namespace {

bool put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray bmp(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// A 44-byte GIF: one 1 x 1 frame on a logical screen of width x height, which Qt decodes
// at the size of the screen.
QByteArray gifBomb(int width, int height) {
    QByteArray b("GIF89a");
    b += char(width & 0xFF);
    b += char(width >> 8);
    b += char(height & 0xFF);
    b += char(height >> 8);
    b += QByteArray("\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF", 9);  // two colours
    b += QByteArray("\x2C\0\0\0\0\x01\0\x01\0\0", 10);           // the frame
    b += QByteArray("\x02\x02\x44\x01\x00\x3B", 6);              // its pixel, end
    return b;
}

const QByteArray SvgNamingOtherFiles(
    "<?xml version='1.0'?><svg xmlns='http://www.w3.org/2000/svg' "
    "xmlns:xlink='http://www.w3.org/1999/xlink' width='72' height='36'>"
    "<image xlink:href='/etc/passwd' width='8' height='8'/>"
    "<image xlink:href='../../../outside.gif' width='8' height='8'/>"
    "<image xlink:href='/dev/stdin' width='8' height='8'/></svg>");

// A machine folder holding one picture and the data file naming it; the data file's path.
QString folderWith(const QTemporaryDir& dir, const QString& pictureName, const QByteArray& picture,
                   const QString& fileName, const QByteArray& text) {
    const QString path = dir.filePath(fileName);
    return put(dir.filePath(pictureName), picture) && put(path, text) ? path : QString();
}

// A name in the n-th of many letter cases.
QString inCase(const QString& name, int n) {
    QString out = name;
    for (qsizetype i = 0; i < out.size(); ++i)
        if (n >> (i % 8) & 1) out[i] = out[i].toUpper();
    return out;
}

// A reel data file naming `name` in all 28 picture places, each in its own letter case.
ReelDataDocument reelDataNaming(const QString& name) {
    ReelDataDocument doc;
    int n = 0;
    for (SymbolSlot& slot : doc.symbols)
        for (QString& picture : slot.names) picture = inCase(name, n++);
    return doc;
}

PositionDocument positionsNaming(const QString& name) {
    PositionDocument doc;
    for (int s = 0; s < pos::SlotCount; ++s) doc.pictureSlots[s].fileName = inCase(name, s);
    return doc;
}

}  // namespace

class HostileFilesTest : public QObject {
    Q_OBJECT
private slots:
    void machineFileNamingAFifo();
    void reelDataNamingOnePictureEverywhere_data();
    void reelDataNamingOnePictureEverywhere();
    void positionsNamingOnePictureEverywhere_data();
    void positionsNamingOnePictureEverywhere();
    void svgIsNotAPicture();
    void quotedNumbersRead();
    void undecodableBytesComeBack_data();
    void undecodableBytesComeBack();
};

void HostileFilesTest::machineFileNamingAFifo() {
    QTemporaryDir dir;
    // The file names its reel data in lower case; the folder holds a FIFO and a folder under
    // other letter cases, which a read would wait on for ever or fail inside.
    QCOMPARE(
        ::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("MACHINE.SDF"))).constData(), 0600),
        0);
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Machine.sdf")));
    MachineSpec spec;
    spec.reelFileName = QStringLiteral("machine.sdf");
    const QString path = dir.filePath(QStringLiteral("machine.orf"));
    QVERIFY(put(path, orf::write(spec)));
    MachineSpec doc;
    orf::ReadReport report;
    QString why;
    QVERIFY(!orf::readFile(path, doc, &report, &why));
    QVERIFY2(why.contains(QStringLiteral("machine.sdf")), qPrintable(why));
    QVERIFY(doc == MachineSpec());
}

void HostileFilesTest::reelDataNamingOnePictureEverywhere_data() {
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<QString>("refusal");  // empty: the file loads
    QTest::newRow("a symbol picture") << bmp(72, 36, 0xffff0000) << QString();
    QTest::newRow("a GIF bomb of 7900 x 7900")
        << gifBomb(7900, 7900) << QStringLiteral("7900 × 7900");
}

void HostileFilesTest::reelDataNamingOnePictureEverywhere() {
    QFETCH(QByteArray, picture);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    // All 28 names, each in its own letter case, lead to the one file.
    const QString path =
        folderWith(dir, QStringLiteral("Seven.gif"), picture, QStringLiteral("machine.sdf"),
                   sdf::write(reelDataNaming(QStringLiteral("seven.gif"))));
    QVERIFY(!path.isEmpty());
    ReelDataDocument doc;
    doc.symbols[2].names[0] = QStringLiteral("kept.gif");
    doc.symbols[2].pictures[0] = QImage(4, 4, QImage::Format_RGB32);
    const ReelDataDocument before = doc;
    QString why;
    QCOMPARE(sdf::readFile(path, doc, nullptr, &why), refusal.isEmpty());
    if (!refusal.isEmpty()) {
        QVERIFY2(why.contains(QStringLiteral("seven.gif")) && why.contains(refusal),
                 qPrintable(why));
        QVERIFY(doc.sameData(before));
        QCOMPARE(doc.symbols[2].pictures[0].cacheKey(), before.symbols[2].pictures[0].cacheKey());
        return;
    }
    const qint64 key = doc.symbols[0].pictures[0].cacheKey();
    for (const SymbolSlot& slot : doc.symbols)
        for (const QImage& image : slot.pictures) {
            QCOMPARE(image.size(), QSize(72, 36));
            QCOMPARE(image.cacheKey(), key);  // one decode behind all 28 names
        }
}

void HostileFilesTest::positionsNamingOnePictureEverywhere_data() {
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<QString>("refusal");  // empty: the picture loads
    QTest::newRow("a cabinet picture") << bmp(640, 900, 0xff00ff00) << QString();
    QTest::newRow("GIF screen 16385 wide") << gifBomb(16385, 4) << QStringLiteral("16385 × 4");
    QTest::newRow("GIF screen over 256 MB") << gifBomb(8200, 8200) << QStringLiteral("8200 × 8200");
}

void HostileFilesTest::positionsNamingOnePictureEverywhere() {
    QFETCH(QByteArray, picture);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    // Slots 0 to 7 name the picture, each in its own letter case; slot 8 another one.
    PositionDocument file = positionsNaming(QStringLiteral("cabinet.gif"));
    file.pictureSlots[8].fileName = QStringLiteral("ok.bmp");
    const QString path = folderWith(dir, QStringLiteral("Cabinet.gif"), picture,
                                    QStringLiteral("machine.ppf"), ppf::write(file));
    QVERIFY(!path.isEmpty() &&
            put(dir.filePath(QStringLiteral("ok.bmp")), bmp(20, 10, 0xff0000ff)));

    PositionDocument doc;
    const QImage earlier(3, 3, QImage::Format_RGB32);
    doc.pictureSlots[1].image = earlier;
    ppf::ReadReport report;
    QString why;
    QVERIFY2(ppf::readFile(path, doc, &report, &why), qPrintable(why));
    QCOMPARE(doc.pictureSlots[8].image.size(), QSize(20, 10));
    if (refusal.isEmpty()) {
        QVERIFY(report.skippedPictures.isEmpty());
        for (int s = 0; s < 8; ++s)
            QCOMPARE(doc.pictureSlots[s].image.cacheKey(), doc.pictureSlots[0].image.cacheKey());
        return;
    }
    QCOMPARE(report.skippedPictures, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    QCOMPARE(report.warnings.size(), 8);
    for (const QString& warning : report.warnings)
        QVERIFY2(warning.contains(QStringLiteral("cabinet.gif"), Qt::CaseInsensitive) &&
                     warning.contains(refusal),
                 qPrintable(warning));
    QVERIFY(doc.pictureSlots[1].image.isNull());  // not the earlier picture under a new name
}

void HostileFilesTest::svgIsNotAPicture() {
    QTemporaryDir dir;
    ReelDataDocument file;
    file.symbols[0].names[0] = QStringLiteral("sym1.gif");
    const QString path = folderWith(dir, QStringLiteral("sym1.gif"), SvgNamingOtherFiles,
                                    QStringLiteral("machine.sdf"), sdf::write(file));
    QVERIFY(!path.isEmpty());
    ReelDataDocument doc;
    QString why;
    QVERIFY(!sdf::readFile(path, doc, nullptr, &why));
    QVERIFY2(
        why.contains(QStringLiteral("sym1.gif")) && why.contains(QStringLiteral("ではありません")),
        qPrintable(why));
    QVERIFY(doc.sameData(ReelDataDocument()));
}

void HostileFilesTest::quotedNumbersRead() {
    // A hand-edited reel data file with its picture size in quotes.
    QByteArray text = sdf::write(ReelDataDocument());
    text.replace("# pics size\r\n0,0\r\n", "# pics size\r\n\"2070\",1035\r\n");
    ReelDataDocument doc;
    int version = 0;
    QString why;
    QVERIFY2(sdf::readText(text, doc, version, &why), qPrintable(why));
    QCOMPARE(doc.pictureWidth, std::int16_t(2070));
    QCOMPARE(doc.pictureHeight, std::int16_t(1035));
    text.replace("\"2070\"", "\"20x\"");
    QVERIFY(!sdf::readText(text, doc, version, &why));
}

void HostileFilesTest::undecodableBytesComeBack_data() {
    QTest::addColumn<QString>("format");
    for (const char* format : {"sdf", "rcf", "orf", "ppf"})
        QTest::newRow(format) << QString::fromLatin1(format);
}

void HostileFilesTest::undecodableBytesComeBack() {
    QFETCH(QString, format);
    // 0x80, 0xA0 and 0xFD to 0xFF, a broken pair, a lead byte of an empty row between kanji,
    // and a lone lead byte at the end of the text.
    const QByteArray bytes("\x80\xA0\xFD\xFE\xFF \x81 pair \x90\x7D\x85\x40\x95\xBF end\x9F");
    // Each file is first written with marker texts where the bytes then go.
    const QString marker = QStringLiteral("MARK");
    QByteArray file;
    std::function<QByteArray(const QByteArray&)> readAndWrite;
    if (format == QLatin1String("sdf")) {
        ReelDataDocument doc;
        doc.symbols[3].names[1] = marker;  // a picture name
        file = sdf::write(doc);
        readAndWrite = [](const QByteArray& text) {
            ReelDataDocument back;
            int version = 0;
            return sdf::readText(text, back, version, nullptr) ? sdf::write(back) : QByteArray();
        };
    } else if (format == QLatin1String("rcf")) {
        ControlDocument doc;
        doc.setComment(1, marker);
        doc.setComment(512, marker + marker);
        file = rcf::writeText(doc);
        readAndWrite = [](const QByteArray& text) {
            ControlDocument back;
            return rcf::readText(text, back, nullptr, nullptr) ? rcf::writeText(back)
                                                               : QByteArray();
        };
    } else if (format == QLatin1String("orf")) {
        MachineSpec doc;
        doc.machineName = marker;
        doc.makerName = marker;
        doc.explanation = marker + QStringLiteral("\r\n") + marker;
        doc.setCTEndConText(0, marker);
        doc.sound.files[5] = marker;
        file = orf::write(doc);
        readAndWrite = [](const QByteArray& text) {
            MachineSpec back;
            orf::ReadReport report;
            if (!orf::readText(text, orf::MemoryFiles(), back, &report, nullptr))
                return QByteArray();
            // The writer refuses only what a user typed that the file cannot hold.
            return orf::unstorableText(back).isEmpty() ? orf::write(back) : QByteArray("refused");
        };
    } else {
        PositionDocument doc;
        doc.pictureSlots[4].fileName = marker;
        doc.entries[20].value = marker;
        file = ppf::write(doc);
        readAndWrite = [](const QByteArray& text) {
            PositionDocument back;
            if (!ppf::readText(text, back, nullptr, nullptr)) return QByteArray();
            return ppf::storeProblem(back).isEmpty() ? ppf::write(back) : QByteArray("refused");
        };
    }
    QVERIFY(file.contains("MARK"));
    file.replace("MARK", bytes);
    QCOMPARE(readAndWrite(file), file);
}

QTEST_GUILESS_MAIN(HostileFilesTest)
#include "tst_hostilefiles.moc"
