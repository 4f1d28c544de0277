#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "dialogs.h"
#include "filelookup.h"
#include "pictures.h"
#include "savefile.h"
#include "singleinstance.h"

class FileSupportTest : public QObject {
    Q_OBJECT
private slots:
    void filterConversion_data();
    void filterConversion();
    void lookup();
    void pathParts();
    void saveReplacesWhole();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void readRefusesFolders();
    void builtInPictures();
    void undecodablePicture();
    void decodesEveryPictureFormat_data();
    void decodesEveryPictureFormat();
    void secondCopyRefusedAndCrashForgiven();
};

void FileSupportTest::filterConversion_data() {
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QString>("qt");
    QTest::newRow("reel data") << "SlotDataFile|*.sdf|All Files|*.*|"
                               << "SlotDataFile (*.sdf);;All Files (*)";
    QTest::newRow("pictures") << QStringLiteral("画像ファイル|*.gif;*.jpg;*.bmp|All Files|*.*|")
                              << QStringLiteral("画像ファイル (*.gif *.jpg *.bmp);;All Files (*)");
    QTest::newRow("no trailing bar") << "A|*.a"
                                     << "A (*.a)";
}

void FileSupportTest::filterConversion() {
    QFETCH(QString, bar);
    QFETCH(QString, qt);
    QCOMPARE(toQtFilter(bar), qt);
}

void FileSupportTest::lookup() {
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("Seven.GIF")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    QCOMPARE(findFileInFolder(dir.path(), QStringLiteral("Seven.GIF")),
             dir.filePath(QStringLiteral("Seven.GIF")));
    QCOMPARE(findFileInFolder(dir.path() + QLatin1Char('/'), QStringLiteral("seven.gif")),
             QDir(dir.path() + QLatin1Char('/')).filePath(QStringLiteral("Seven.GIF")));
    QVERIFY(findFileInFolder(dir.path(), QStringLiteral("cherry.gif")).isEmpty());
    QVERIFY(findFileInFolder(dir.path(), QStringLiteral("sub")).isEmpty());
    QVERIFY(findFileInFolder(dir.path(), QStringLiteral("../x")).isEmpty());
    QVERIFY(findFileInFolder(dir.path(), QString()).isEmpty());
}

void FileSupportTest::pathParts() {
    QCOMPARE(folderOfPath(QStringLiteral("/m/a/b.sdf")), QStringLiteral("/m/a/"));
    QCOMPARE(bareNameOfPath(QStringLiteral("/m/a/b.sdf")), QStringLiteral("b.sdf"));
    QCOMPARE(folderOfPath(QStringLiteral("b.sdf")), QString());
    QCOMPARE(bareNameOfPath(QStringLiteral("b.sdf")), QStringLiteral("b.sdf"));
}

void FileSupportTest::saveReplacesWhole() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("m.sdf"));
    QVERIFY(saveFileAtomically(path, QByteArray(1000, 'x')));
    QVERIFY(saveFileAtomically(path, QByteArray("short")));
    QByteArray back;
    QVERIFY(readWholeFile(path, back));
    QCOMPARE(back, QByteArray("short"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // no temporary left behind
}

void FileSupportTest::failedSaveKeepsOldFile_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("folder gone") << "gone/m.sdf";
    QTest::newRow("a folder in the way") << "folder";
}

void FileSupportTest::failedSaveKeepsOldFile() {
    QFETCH(QString, target);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const QString old = dir.filePath(QStringLiteral("old.sdf"));
    QVERIFY(saveFileAtomically(old, QByteArray("old")));
    QString why;
    QVERIFY(!saveFileAtomically(dir.filePath(target), QByteArray("new"), &why));
    QVERIFY(!why.isEmpty());
    QByteArray back;
    QVERIFY(readWholeFile(old, back));
    QCOMPARE(back, QByteArray("old"));
}

void FileSupportTest::readRefusesFolders() {
    QTemporaryDir dir;
    QByteArray bytes("keep");
    QString why;
    QVERIFY(!readWholeFile(dir.path(), bytes, &why));
    QCOMPARE(bytes, QByteArray("keep"));
    QVERIFY(!readWholeFile(dir.filePath(QStringLiteral("none")), bytes, &why));
    QVERIFY(!why.isEmpty());
}

void FileSupportTest::builtInPictures() {
    const QImage blank = pictures::blankPicture();
    QCOMPARE(blank.size(), QSize(72, 36));
    const QImage any = pictures::anyPicture();
    QCOMPARE(any.size(), QSize(72, 36));
    int black = 0;
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 72; ++x) {
            const bool inside = x >= 9 && x <= 62 && y >= 10 && y <= 25;
            QCOMPARE(any.pixel(x, y) == qRgb(0, 0, 0), inside);
            QCOMPARE(blank.pixel(x, y), qRgb(255, 255, 255));
            black += inside;
        }
    QCOMPARE(black, 54 * 16);
}

void FileSupportTest::undecodablePicture() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.gif"));
    QVERIFY(saveFileAtomically(path, QByteArray("GIF89a not really")));
    QImage keep = pictures::blankPicture();
    QString why;
    QVERIFY(!pictures::loadPicture(path, keep, &why));
    QCOMPARE(keep.size(), QSize(72, 36));
    QVERIFY(!why.isEmpty());
    const QString bmp = dir.filePath(QStringLiteral("ok.bmp"));
    QImage(40, 20, QImage::Format_RGB32).save(bmp, "BMP");
    QVERIFY(pictures::loadPicture(bmp, keep));
    QCOMPARE(keep.size(), QSize(40, 20));
}

void FileSupportTest::decodesEveryPictureFormat_data() {
    QTest::addColumn<QString>("format");
    QTest::newRow("GIF") << "GIF";
    QTest::newRow("JPEG") << "JPEG";
    QTest::newRow("BMP") << "BMP";
}

void FileSupportTest::decodesEveryPictureFormat() {
    QFETCH(QString, format);
    QTemporaryDir dir;
    QString path = QStringLiteral(TEST_DATA_DIR "/blue.gif");  // Qt writes no GIF: a committed one
    if (format != QLatin1String("GIF")) {
        path = dir.filePath(QStringLiteral("blue.") + format.toLower());
        QImage blue(72, 36, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        QVERIFY(blue.save(path, format.toLatin1()));
    }
    QImage picture;
    QString why;
    QVERIFY2(pictures::loadPicture(path, picture, &why), qPrintable(why));
    QCOMPARE(picture.size(), QSize(72, 36));
    const QColor corner = picture.pixelColor(1, 1);
    QVERIFY(corner.blue() > 200 && corner.red() < 60 && corner.green() < 60);
}

void FileSupportTest::secondCopyRefusedAndCrashForgiven() {
    const QString name = QStringLiteral("tst-single-%1").arg(QCoreApplication::applicationPid());
    // Another process holds the lock: a second copy is refused.
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold"), name});
    QVERIFY(holder.waitForReadyRead(10000));
    {
        SingleInstance second(name);
        QVERIFY(!second.acquired());
    }
    // The holder dies without unlocking: the next start is not blocked.
    holder.kill();
    QVERIFY(holder.waitForFinished(10000));
    SingleInstance next(name);
    QVERIFY(next.acquired());
}

int main(int argc, char** argv) {
    if (argc == 3 && QByteArray(argv[1]) == "--hold") {
        QCoreApplication app(argc, argv);
        SingleInstance instance(QString::fromLocal8Bit(argv[2]));
        fprintf(stdout, instance.acquired() ? "held\n" : "refused\n");
        fflush(stdout);
        QThread::sleep(60);
        return 0;
    }
    QApplication app(argc, argv);
    FileSupportTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_filesupport.moc"
