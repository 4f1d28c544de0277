#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "reeldatadocument.h"
#include "sdfformat.h"
#include "sjis.h"
#include "textfile.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A document with varied values everywhere the file reaches.
ReelDataDocument randomDocument(quint32 seed) {
    QRandomGenerator rng(seed);
    ReelDataDocument doc;
    doc.pictureWidth = static_cast<std::int16_t>(rng.bounded(0, 32768));
    doc.pictureHeight = static_cast<std::int16_t>(rng.bounded(0, 32768));
    for (auto& slot : doc.symbols)
        for (QString& name : slot.names)
            if (rng.bounded(3)) name = QStringLiteral("図柄%1,x.gif").arg(rng.bounded(100));
    for (auto& cell : doc.arrangement) cell = static_cast<std::int16_t>(rng.bounded(7));
    doc.lastPrizeIndex = static_cast<std::int16_t>(rng.bounded(0, 101));
    for (int e = 0; e <= 100; ++e) {
        auto& entry = doc.prizes[e];
        for (auto& s : entry.symbols)
            s = rng.bounded(4) ? static_cast<std::int16_t>(rng.bounded(7)) : reel::AnySymbol;
        for (auto& p : entry.pays) p = static_cast<std::int16_t>(rng.bounded(16));
        for (auto& k : entry.kinds) k = static_cast<std::int16_t>(rng.bounded(8));
    }
    doc.flashActionCount = static_cast<std::int16_t>(rng.bounded(1, 100));
    for (int a = 1; a <= 99; ++a) {
        const int length = rng.bounded(1, 100);
        for (int f = 1; f <= 99; ++f) {
            auto& frame = doc.frame(a, f);
            for (auto& lamp : frame.lamps) lamp = static_cast<std::int16_t>(rng.bounded(2));
            frame.wait =
                f == length && length < 99 ? 0 : static_cast<std::int16_t>(rng.bounded(1, 32768));
        }
    }
    return doc;
}

// Names of all pictures cleared so a read needs no picture files.
ReelDataDocument withoutNames(ReelDataDocument doc) {
    for (auto& slot : doc.symbols) slot.names.fill(QString());
    return doc;
}

bool readBytes(const QByteArray& bytes, ReelDataDocument& doc, int* version = nullptr) {
    int v = 0;
    QString why;
    const bool ok = sdf::readText(bytes, doc, v, &why);
    if (version) *version = v;
    return ok;
}

}  // namespace

class SdfFormatTest : public QObject {
    Q_OBJECT
private slots:
    void newDocumentIsTheSeventyThreeLines();
    void roundTripIsByteIdentical_data();
    void roundTripIsByteIdentical();
    void lineCounts_data();
    void lineCounts();
    void framesAfterTheFirstZeroWaitAreNotWritten();
    void fileWithoutVersionLineHasThreeLampRows();
    void firstFieldHundredIsBad();
    void endingAfterArrangementKeepsPrizesAndFlash();
    void fewerEntriesKeepTheSurplus();
    void badFiles_data();
    void badFiles();
    void everyTruncationIsSafe();
    void failedReadLeavesDocumentAsItWas();
    void picturesFoundInTheFilesFolder();
    void missingPictureMakesFileBad();
    void largestPicturesReadBack();
    void failedWriteKeepsOldFile();
};

void SdfFormatTest::newDocumentIsTheSeventyThreeLines() {
    const QByteArray expected = readAll(QStringLiteral(TEST_DATA_DIR "/new.sdf"));
    QCOMPARE(expected.count("\r\n"), 73);
    QCOMPARE(sdf::write(ReelDataDocument()), expected);
}

void SdfFormatTest::roundTripIsByteIdentical_data() {
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 2u, 3u, 42u, 1000u})
        QTest::newRow(qPrintable(QString::number(seed))) << seed;
}

void SdfFormatTest::roundTripIsByteIdentical() {
    QFETCH(quint32, seed);
    const ReelDataDocument doc = randomDocument(seed);
    const QByteArray first = sdf::write(doc);
    ReelDataDocument back;
    QVERIFY(readBytes(first, back));
    QCOMPARE(sdf::write(back), first);
    // Names with commas and Japanese come back whole.
    for (int s = 0; s < 7; ++s) QCOMPARE(back.symbols[s].names, doc.symbols[s].names);
    QCOMPARE(back.arrangement, doc.arrangement);
    for (int e = 0; e <= doc.lastPrizeIndex; ++e) QCOMPARE(back.prizes[e], doc.prizes[e]);
    for (int a = 1; a <= doc.flashActionCount; ++a)
        for (int f = 1; f <= doc.actionLength(a); ++f) QCOMPARE(back.frame(a, f), doc.frame(a, f));
}

void SdfFormatTest::lineCounts_data() {
    QTest::addColumn<int>("lastPrize");
    QTest::addColumn<int>("actions");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("lines");
    // 4 + 28 + 22 + 3 + 3 per entry + 3 + 6 per frame + end line
    QTest::newRow("one prize entry") << 0 << 1 << 1 << 4 + 28 + 22 + 3 + 3 + 3 + 6 + 1;
    QTest::newRow("101 prize entries") << 100 << 1 << 1 << 4 + 28 + 22 + 3 + 303 + 3 + 6 + 1;
    QTest::newRow("an action of 99 timed frames")
        << 1 << 1 << 99 << 4 + 28 + 22 + 3 + 6 + 3 + 594 + 1;
    QTest::newRow("99 actions of 3 frames")
        << 1 << 99 << 3 << 4 + 28 + 22 + 3 + 6 + 3 + 99 * 18 + 1;
}

void SdfFormatTest::lineCounts() {
    QFETCH(int, lastPrize);
    QFETCH(int, actions);
    QFETCH(int, frames);
    QFETCH(int, lines);
    ReelDataDocument doc;
    doc.lastPrizeIndex = static_cast<std::int16_t>(lastPrize);
    doc.flashActionCount = static_cast<std::int16_t>(actions);
    for (int a = 1; a <= actions; ++a)
        for (int f = 1; f <= 99; ++f) doc.frame(a, f).wait = f < frames || frames == 99 ? 50 : 0;
    const QByteArray bytes = sdf::write(doc);
    QCOMPARE(int(bytes.count("\r\n")), lines);
    ReelDataDocument back;
    QVERIFY(readBytes(bytes, back));
    QCOMPARE(int(back.flashActionCount), actions);
    QCOMPARE(back.actionLength(actions), frames);
}

void SdfFormatTest::framesAfterTheFirstZeroWaitAreNotWritten() {
    ReelDataDocument doc;
    doc.frame(1, 1).wait = 100;
    doc.frame(1, 2).wait = 0;
    doc.frame(1, 3).wait = 77;  // data behind the end of the action
    doc.frame(1, 3).lamps.fill(0);
    const QByteArray bytes = sdf::write(doc);
    QVERIFY(!bytes.contains("\r\n77\r\n"));
    ReelDataDocument back;
    back.frame(1, 3).wait = 5;
    QVERIFY(readBytes(bytes, back));
    QCOMPARE(int(back.frame(1, 3).wait), 5);  // neither written nor read
}

void SdfFormatTest::fileWithoutVersionLineHasThreeLampRows() {
    TextWriter w;
    w.rawLine("# pics size");
    w.commaNumbers({600, 300});
    w.rawLine("# pics name");
    for (int i = 0; i < 28; ++i) w.commaLine({QString()});
    w.rawLine("# real arrangement");
    for (int p = 0; p < 21; ++p) w.commaNumbers({1, 2, 3});
    w.rawLine("# number of prize");
    w.commaNumbers({0});
    w.rawLine("# prize composition");
    w.commaNumbers({0, 100, 6});
    w.commaNumbers({1, 2, 3});
    w.commaNumbers({0, 0, 0});
    w.rawLine("# number of flash action");
    w.commaNumbers({1});
    w.rawLine("# flash action composition");
    w.commaNumbers({2, 3, 4});  // row 0: cells 0, 3, 6
    w.commaNumbers({5, 6, 7});  // row 1: cells 1, 4, 7
    w.commaNumbers({8, 9, 10});
    w.commaNumbers({0});
    ReelDataDocument doc;
    doc.frame(1, 1).lamps.fill(-1);
    int version = 0;
    QVERIFY(readBytes(w.bytes(), doc, &version));
    QCOMPARE(version, 100);
    const std::array<std::int16_t, 15> lamps{2, 5, 8, 3, 6, 9, 4, 7, 10, -1, -1, -1, -1, -1, -1};
    QCOMPARE(doc.frame(1, 1).lamps, lamps);
    QCOMPARE(int(doc.pictureWidth), 600);
    QCOMPARE(int(doc.arrangement[reel::cellOf(2, 5)]), 2);
}

void SdfFormatTest::firstFieldHundredIsBad() {
    QByteArray bytes = sdf::write(ReelDataDocument());
    bytes.replace(0, 3, "100");
    ReelDataDocument doc;
    QVERIFY(!readBytes(bytes, doc));
}

void SdfFormatTest::endingAfterArrangementKeepsPrizesAndFlash() {
    QByteArray bytes = sdf::write(ReelDataDocument());
    bytes.truncate(bytes.indexOf("# number of prize"));
    ReelDataDocument doc = randomDocument(7);
    doc = withoutNames(doc);
    const ReelDataDocument before = doc;
    QVERIFY(readBytes(bytes, doc));
    QCOMPARE(doc.lastPrizeIndex, before.lastPrizeIndex);
    QCOMPARE(doc.prizes, before.prizes);
    QCOMPARE(doc.flashActionCount, before.flashActionCount);
    QCOMPARE(doc.frame(3, 2), before.frame(3, 2));
    QCOMPARE(int(doc.arrangement[10]), 0);
}

void SdfFormatTest::fewerEntriesKeepTheSurplus() {
    ReelDataDocument doc = withoutNames(randomDocument(9));
    doc.lastPrizeIndex = 50;
    doc.flashActionCount = 40;
    const ReelDataDocument before = doc;
    QVERIFY(readBytes(sdf::write(ReelDataDocument()), doc));
    QCOMPARE(int(doc.lastPrizeIndex), 1);
    QCOMPARE(int(doc.flashActionCount), 1);
    QCOMPARE(doc.prizes[30], before.prizes[30]);
    QCOMPARE(doc.frame(20, 1), before.frame(20, 1));
}

void SdfFormatTest::badFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = sdf::write(ReelDataDocument());
    auto replaced = [&](const char* from, const char* to) {
        QByteArray b = good;
        b.replace(from, to);
        return b;
    };
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("arrangement 0")
        << replaced("# real arrangement\r\n1,1,1", "# real arrangement\r\n1,0,1");
    QTest::newRow("arrangement 8")
        << replaced("# real arrangement\r\n1,1,1", "# real arrangement\r\n8,1,1");
    QTest::newRow("prize count past the table")
        << replaced("# number of prize\r\n1", "# number of prize\r\n101");
    QTest::newRow("negative prize count")
        << replaced("# number of prize\r\n1", "# number of prize\r\n-1");
    QTest::newRow("flash count past the table")
        << replaced("# number of flash action\r\n1", "# number of flash action\r\n100");
    QTest::newRow("width past 16 bits") << replaced("0,0\r\n# pics name", "40000,0\r\n# pics name");
    QTest::newRow("a word where a number is due") << replaced("1,1,1", "1,x,1");
    QTest::newRow("first prize symbol not a symbol") << replaced("100,100,100", "100,7,100");
    QTest::newRow("picture name holding a double quote")
        << replaced("# pics name\r\n\"\"", "# pics name\r\nab\"c.gif");
    QTest::newRow("only a version line") << QByteArray("120\r\n");
    QTest::newRow("invalid code page bytes") << QByteArray("\x81\xFF\x80\r\n\xFE,\"\x81", 9);
}

void SdfFormatTest::badFiles() {
    QFETCH(QByteArray, bytes);
    ReelDataDocument doc;
    QString why;
    int version = 0;
    QVERIFY(!sdf::readText(bytes, doc, version, &why));
    QVERIFY(!why.isEmpty());
}

void SdfFormatTest::everyTruncationIsSafe() {
    // Each cut of a real file either reads (it ends after the arrangement) or is refused.
    ReelDataDocument source = withoutNames(randomDocument(5));
    source.lastPrizeIndex = 3;
    source.flashActionCount = 2;
    const QByteArray full = sdf::write(source);
    const qsizetype arrangementEnd = full.indexOf("# number of prize");
    for (qsizetype cut = 0; cut < full.size(); cut += 7) {
        ReelDataDocument doc;
        const bool ok = readBytes(full.left(cut), doc);
        if (ok) QVERIFY2(cut >= arrangementEnd - 2, qPrintable(QString::number(cut)));
    }
}

void SdfFormatTest::failedReadLeavesDocumentAsItWas() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.sdf"));
    QByteArray bytes = sdf::write(randomDocument(11));
    bytes.replace("# number of flash action", "# number of flash action\r\nzz");
    writeBytes(path, bytes);
    ReelDataDocument doc = withoutNames(randomDocument(12));
    doc.symbols[0].pictures[0] = QImage(8, 8, QImage::Format_RGB32);
    const ReelDataDocument before = doc;
    sdf::ReadReport report;
    QString why;
    QVERIFY(!sdf::readFile(path, doc, &report, &why));
    QVERIFY(doc.sameData(before));
    QCOMPARE(doc.symbols[0].pictures[0].size(), QSize(8, 8));
    QVERIFY(!sdf::readFile(dir.path(), doc, &report, &why));  // a folder chosen as file
    QVERIFY(doc.sameData(before));
}

void SdfFormatTest::picturesFoundInTheFilesFolder() {
    QTemporaryDir dir;
    QImage lit(40, 20, QImage::Format_RGB32);
    lit.fill(Qt::red);
    QVERIFY(lit.save(dir.filePath(QStringLiteral("SEVEN.BMP")), "BMP"));
    ReelDataDocument doc;
    doc.symbols[0].names = {QStringLiteral("seven.bmp"), QStringLiteral("Seven.bmp"), QString(),
                            QString()};
    const QString path = dir.filePath(QStringLiteral("m.sdf"));
    QVERIFY(sdf::writeFile(path, doc, nullptr));
    ReelDataDocument back;
    sdf::ReadReport report;
    QString why;
    QVERIFY2(sdf::readFile(path, back, &report, &why), qPrintable(why));
    QCOMPARE(back.symbols[0].pictures[0].size(), QSize(40, 20));
    QCOMPARE(back.symbols[0].pictures[1].size(), QSize(40, 20));
    QVERIFY(back.symbols[0].pictures[2].isNull());
    QCOMPARE(report.formatVersion, 120);
}

void SdfFormatTest::missingPictureMakesFileBad() {
    QTemporaryDir dir;
    ReelDataDocument doc;
    doc.symbols[6].names[3] = QStringLiteral("gone.gif");
    const QString path = dir.filePath(QStringLiteral("m.sdf"));
    QVERIFY(sdf::writeFile(path, doc, nullptr));
    ReelDataDocument back;
    sdf::ReadReport report;
    QString why;
    QVERIFY(!sdf::readFile(path, back, &report, &why));
    QVERIFY(why.contains(QStringLiteral("gone.gif")));
}

// Five symbols with different lit pictures as large as "Load" takes (two-colour: 2 MB each,
// counted as 4 bytes a pixel) all come back with the file.
void SdfFormatTest::largestPicturesReadBack() {
    QTemporaryDir dir;
    QImage lit(4096, 4096, QImage::Format_Mono);
    lit.fill(0);
    ReelDataDocument doc;
    for (int s = 0; s < 5; ++s) {
        doc.symbols[s].names[0] = QStringLiteral("lit%1.bmp").arg(s);
        QVERIFY(lit.save(dir.filePath(doc.symbols[s].names[0]), "BMP"));
    }
    const QString path = dir.filePath(QStringLiteral("m.sdf"));
    QVERIFY(sdf::writeFile(path, doc, nullptr));
    QString why;
    QVERIFY2(sdf::readFile(path, doc, nullptr, &why), qPrintable(why));
    for (int s = 0; s < 5; ++s) QCOMPARE(doc.symbols[s].pictures[0].size(), QSize(4096, 4096));
}

void SdfFormatTest::failedWriteKeepsOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("m.sdf"));
    QVERIFY(sdf::writeFile(path, ReelDataDocument(), nullptr));
    QString why;
    QVERIFY(
        !sdf::writeFile(dir.filePath(QStringLiteral("missing/m.sdf")), ReelDataDocument(), &why));
    QVERIFY(!why.isEmpty());
    QCOMPARE(readAll(path), sdf::write(ReelDataDocument()));
}

QTEST_GUILESS_MAIN(SdfFormatTest)
#include "tst_sdfformat.moc"
