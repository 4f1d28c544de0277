#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "machinesamples.h"
#include "orfformat.h"
#include "savefile.h"
#include "sjis.h"

using samples::difference;

namespace {

const QString DataDir = QStringLiteral(TEST_DATA_DIR "/");

QByteArray fileBytes(const QString& path) {
    QByteArray bytes;
    readWholeFile(path, bytes);
    return bytes;
}

QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QByteArray& line : lines) line.chop(1);  // the CR
    return lines;
}

QByteArray joinLines(const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines) bytes += line + "\r\n";
    return bytes;
}

// Line index (0-based) of a header line.
qsizetype lineOf(const QList<QByteArray>& lines, const char* header) {
    return lines.indexOf(QByteArray(header));
}

// The sample file's lines and the files it names, ready for readText.
struct Sample {
    QList<QByteArray> lines = linesOf(fileBytes(DataDir + "sample.orf"));
    orf::MemoryFiles files;
    Sample() {
        files.reelFiles.insert(QStringLiteral("machine.sdf"), fileBytes(DataDir + "Machine.sdf"));
    }
};

// A machine unlike the sample in every part, to see what a read keeps.
MachineSpec previousMachine() {
    MachineSpec m = samples::randomMachine(99, 7, nullptr);
    m.reelData.symbolPictures[0] = QImage(3, 3, QImage::Format_RGB32);
    m.reelData.symbolPictures[0].fill(Qt::red);
    return m;
}

}  // namespace

class OrfFormatTest : public QObject {
    Q_OBJECT
private slots:
    void sampleFileReadsAndWritesByLayout();
    void randomMachinesRoundTrip_data();
    void randomMachinesRoundTrip();
    void slotsOutsideTheFileAreKept();
    void payoutLinesFollowFlagCount_data();
    void payoutLinesFollowFlagCount();
    void numberLineFormat_data();
    void numberLineFormat();
    void skipsLinesOutsideSections_data();
    void skipsLinesOutsideSections();
    void fileEndingAfterMachineDataKeepsSounds_data();
    void fileEndingAfterMachineDataKeepsSounds();
    void refusesDamagedFile_data();
    void refusesDamagedFile();
    void loadingTwiceGivesSameExplanation();
    void longestDescriptionReadsBack();
    void switchesReadAsZeroOrOne();
    void emptyReelFileNameKeepsReelData();
    void reelDataFoundInAnyCaseWithPictures();
    void reportsFlagCountOfPayoutSection_data();
    void reportsFlagCountOfPayoutSection();
    void saveRefusesTextsTheFileCannotHold_data();
    void saveRefusesTextsTheFileCannotHold();
    void failedSaveKeepsOldFile();
};

void OrfFormatTest::sampleFileReadsAndWritesByLayout() {
    MachineSpec read;
    orf::ReadReport report;
    QString error;
    QVERIFY2(orf::readFile(DataDir + "sample.orf", read, &report, &error), qPrintable(error));
    MachineSpec expected = samples::sampleMachine();
    QVERIFY2(read == expected, qPrintable(difference(read, expected)));
    QVERIFY(report.reelDataRead && report.soundSectionRead && report.effectSectionRead);
    QCOMPARE(report.writtenFlagCount, 4);
    QVERIFY(!report.flagCountMismatch);
    // The writer gives the same lines, without the line the sample has before its header.
    QCOMPARE(orf::write(read), joinLines(Sample().lines.mid(1)));
}

void OrfFormatTest::randomMachinesRoundTrip_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("flagCount");
    QTest::newRow("no reel data") << 1u << -1;
    QTest::newRow("one flag") << 2u << 0;
    QTest::newRow("five flags") << 3u << 4;
    QTest::newRow("21 flags") << 4u << 20;
    QTest::newRow("21 flags, other values") << 5u << 20;
}

void OrfFormatTest::randomMachinesRoundTrip() {
    QFETCH(quint32, seed);
    QFETCH(int, flagCount);
    orf::MemoryFiles files;
    const MachineSpec machine =
        samples::randomMachine(seed, flagCount, &files.reelFiles["reels.sdf"]);
    QVERIFY(orf::unstorableText(machine).isEmpty());
    MachineSpec read;
    orf::ReadReport report;
    QString error;
    QVERIFY2(orf::readText(orf::write(machine), files, read, &report, &error), qPrintable(error));
    QVERIFY2(read == machine, qPrintable(difference(read, machine)));
    QVERIFY(report.effectSectionRead && !report.flagCountMismatch);
}

void OrfFormatTest::slotsOutsideTheFileAreKept() {
    MachineSpec machine = samples::sampleMachine();
    const QByteArray written = orf::write(machine);
    // Slots the file never holds: setting slot 0 of the subtraction, bet 3, state 4,
    // line 6, cell 15, the reel-stop flag 20, payout state 3 and timing 2, music 8..10.
    machine.gensan[0] = 7;
    machine.flagProb[3][2][3][1] = 8;
    machine.flagProb[3][2][1][4] = 9;
    machine.lineCell[1][5][15] = 1;
    machine.lineArea[3][0] = 4;
    machine.sound.stopFlagCandidates[1][20][2] = {5, 6, 1};
    machine.sound.stopBonusCandidates[3][0][0] = {5, 6};
    machine.sound.paySound[1][3][2] = 11;
    machine.sound.bgmSound[9] = 12;
    machine.sound.files[0] = sound::silenceName();
    QCOMPARE(orf::write(machine), written);
    MachineSpec read = machine;
    orf::ReadReport report;
    QVERIFY(orf::readText(written, Sample().files, read, &report, nullptr));
    QVERIFY2(read == machine, qPrintable(difference(read, machine)));
}

void OrfFormatTest::payoutLinesFollowFlagCount_data() {
    QTest::addColumn<int>("flagCount");
    QTest::addColumn<int>("payoutLines");
    QTest::newRow("no reel data") << -1 << 2;
    QTest::newRow("last prize 0") << 0 << 2;
    QTest::newRow("last prize 4") << 4 << 10;
    QTest::newRow("last prize 20") << 20 << 42;
}

void OrfFormatTest::payoutLinesFollowFlagCount() {
    QFETCH(int, flagCount);
    QFETCH(int, payoutLines);
    orf::MemoryFiles files;
    const MachineSpec machine = samples::randomMachine(7, flagCount, &files.reelFiles["reels.sdf"]);
    const QList<QByteArray> lines = linesOf(orf::write(machine));
    const qsizetype header = lineOf(lines, "# Sound Effect and BGM setting");
    QVERIFY(header > 0);
    QCOMPARE(lines.size() - header - 1, payoutLines + 1 + 8);
    QCOMPARE(lines.size(), 8 + machine.explanation.count(u'\n') + 557 + 683 + 1 + payoutLines + 9);
}

void OrfFormatTest::numberLineFormat_data() {
    QTest::addColumn<std::function<void(MachineSpec&)>>("set");
    QTest::addColumn<int>("line");  // 1-based, with a one-line explanation
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("zero") << std::function<void(MachineSpec&)>([](MachineSpec& m) {
        m.gensan[1] = 0;
    }) << 10 << QByteArray(" 0 ");
    QTest::newRow("negative") << std::function<void(MachineSpec&)>([](MachineSpec& m) {
        m.gensan[2] = -3;
    }) << 11 << QByteArray("-3 ");
    QTest::newRow("four per line") << std::function<void(MachineSpec&)>([](MachineSpec& m) {
        m.flagProb[0][0][0] = {0, 12, -3, 65536};
    }) << 16 << QByteArray(" 0  12 -3  65536 ");
    QTest::newRow("32-bit extremes") << std::function<void(MachineSpec&)>([](MachineSpec& m) {
        m.flagProb[20][6][2] = {-2147483647 - 1, 2147483647, 0, -1};
    }) << 456 << QByteArray("-2147483648  2147483647  0 -1 ");
    QTest::newRow("pay line row across reels")
        << std::function<void(MachineSpec&)>([](MachineSpec& m) {
               m.lineCell[0][0][1] = 1;
               m.lineCell[0][0][6] = 0;
               m.lineCell[0][0][11] = 1;
           })
        << 477 << QByteArray(" 1  0  1 ");
    QTest::newRow("empty box text") << std::function<void(MachineSpec&)>([](MachineSpec& m) {
        m.setBonusEndText(2, QString());
    }) << 474 << QByteArray();
}

void OrfFormatTest::numberLineFormat() {
    QFETCH(std::function<void(MachineSpec&)>, set);
    QFETCH(int, line);
    QFETCH(QByteArray, expected);
    MachineSpec machine;
    set(machine);
    const QByteArray bytes = orf::write(machine);
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
    QCOMPARE(linesOf(bytes).value(line - 1), expected);
}

void OrfFormatTest::skipsLinesOutsideSections_data() {
    QTest::addColumn<QByteArray>("before");  // junk goes before this header
    QTest::newRow("before the first header")
        << QByteArray("# using filename and orvane infomation");
    QTest::newRow("between description and machine data")
        << QByteArray("# orvane basic data and spec infomation");
    QTest::newRow("between machine data and sounds")
        << QByteArray("# using soundfilename and playtiming");
}

void OrfFormatTest::skipsLinesOutsideSections() {
    QFETCH(QByteArray, before);
    Sample sample;
    const QList<QByteArray> junk{"", "some words, with a comma", "\"quoted\"", " 1  2 "};
    const qsizetype at = sample.lines.indexOf(before);
    QVERIFY(at > 0);
    QList<QByteArray> lines = sample.lines;
    for (qsizetype i = junk.size() - 1; i >= 0; --i) lines.insert(at, junk[i]);
    MachineSpec read;
    orf::ReadReport report;
    QString error;
    QVERIFY2(orf::readText(joinLines(lines), sample.files, read, &report, &error),
             qPrintable(error));
    const MachineSpec expected = samples::sampleMachine();
    QVERIFY2(read == expected, qPrintable(difference(read, expected)));
}

void OrfFormatTest::fileEndingAfterMachineDataKeepsSounds_data() {
    QTest::addColumn<QByteArray>("cutBefore");  // the file ends before this line
    QTest::addColumn<QByteArray>("damage");     // or this line is replaced by " x "
    QTest::addColumn<bool>("soundRead");
    QTest::addColumn<bool>("effectRead");
    QTest::newRow("ends after item 17")
        << QByteArray("# using soundfilename and playtiming") << QByteArray() << false << false;
    QTest::newRow("ends among sound names")
        << QByteArray("se020.wav") << QByteArray() << false << false;
    QTest::newRow("non-number in sounds") << QByteArray() << QByteArray(" 101 ") << false << false;
    QTest::newRow("ends before payout header")
        << QByteArray("# Sound Effect and BGM setting") << QByteArray() << true << false;
    QTest::newRow("ends among music") << QByteArray(" 125 ") << QByteArray() << true << false;
}

void OrfFormatTest::fileEndingAfterMachineDataKeepsSounds() {
    QFETCH(QByteArray, cutBefore);
    QFETCH(QByteArray, damage);
    QFETCH(bool, soundRead);
    QFETCH(bool, effectRead);
    Sample sample;
    QList<QByteArray> lines = sample.lines;
    if (!cutBefore.isEmpty()) lines = lines.mid(0, lines.indexOf(cutBefore));
    if (!damage.isEmpty()) lines[lines.indexOf(damage)] = " x ";
    const MachineSpec previous = previousMachine();
    MachineSpec read = previous;
    orf::ReadReport report;
    QString error;
    QVERIFY2(orf::readText(joinLines(lines), sample.files, read, &report, &error),
             qPrintable(error));
    QCOMPARE(report.soundSectionRead, soundRead);
    QCOMPARE(report.effectSectionRead, effectRead);
    QVERIFY(!report.stoppedReason.isEmpty());
    // Sections 1 and 2 are the sample's; the sound tables read so far are the sample's
    // and the rest keep the values held before.
    MachineSpec expected = samples::sampleMachine();
    const sound::SoundTables sampleSound = expected.sound;
    // The sample's reel data names no pictures and five flags: the rest stays.
    const ReelDataInfo sampleReels = expected.reelData;
    expected.reelData = previous.reelData;
    // An empty box text stores no number: the sample's empty boxes keep the numbers held before.
    for (auto [ct, box] : {std::pair{true, 1}, std::pair{false, 2}}) {
        if (ct) {
            expected.setCTEndConText(box, previous.ctEndConText(box));
            expected.setCTEndConText(box, QString());
        } else {
            expected.setBonusEndText(box, previous.bonusEndText(box));
            expected.setBonusEndText(box, QString());
        }
    }
    expected.reelData.flagCount = sampleReels.flagCount;
    std::copy(sampleReels.flagPrize.begin(), sampleReels.flagPrize.begin() + 5,
              expected.reelData.flagPrize.begin());
    sound::SoundTables& t = expected.sound;
    t = previous.sound;
    if (cutBefore == "se020.wav") {
        std::copy(sampleSound.files.begin(), sampleSound.files.begin() + 20, t.files.begin());
    } else if (!damage.isEmpty()) {  // the reel-spin ordinary sound is damaged
        t.files = sampleSound.files;
        t.normalSound[0] = sampleSound.normalSound[0];
        t.bonusCandidates[0] = sampleSound.bonusCandidates[0];
        t.bigFirstPlaySound = sampleSound.bigFirstPlaySound;
    } else if (soundRead) {
        t = sampleSound;
        t.paySound = previous.sound.paySound;
        t.paySoundFirst = previous.sound.paySoundFirst;
        t.bgmSound = previous.sound.bgmSound;
        if (cutBefore == " 125 ") {  // payout lines read, music up to the fifth
            for (int f = 0; f <= 4; ++f) t.paySound[f] = sampleSound.paySound[f];
            t.paySoundFirst = sampleSound.paySoundFirst;
            std::copy(sampleSound.bgmSound.begin(), sampleSound.bgmSound.begin() + 5,
                      t.bgmSound.begin());
        }
    }
    QVERIFY2(read == expected, qPrintable(difference(read, expected)));
}

void OrfFormatTest::refusesDamagedFile_data() {
    QTest::addColumn<std::function<QByteArray(const QList<QByteArray>&)>>("make");
    QTest::addColumn<QString>("sdf");  // "-" no reel data file, else its last prize index
    QTest::addColumn<QString>("reason");
    using Make = std::function<QByteArray(const QList<QByteArray>&)>;
    auto cutBefore = [](const char* line, int more = 0) {
        return Make([=](const QList<QByteArray>& l) {
            return joinLines(l.mid(0, l.indexOf(line) + more));
        });
    };
    const Make whole([](const QList<QByteArray>& l) { return joinLines(l); });
    auto replace = [](const char* line, QByteArray by) {
        return Make([=](QList<QByteArray> l) {
            l[l.indexOf(line)] = by;
            return joinLines(l);
        });
    };
    QTest::newRow("empty file") << Make([](auto&) { return QByteArray(); }) << "4"
                                << QStringLiteral("見出し");
    QTest::newRow("no header line") << Make([](auto&) { return QByteArray("a\r\nb, c\r\n\r\n"); })
                                    << "4" << QStringLiteral("見出し");
    QTest::newRow("ends after reel file name")
        << cutBefore("machine.rcf") << "4" << QStringLiteral("途中で終わって");
    QTest::newRow("ends in the description")
        << cutBefore("End Of Exp") << "4" << QStringLiteral("End Of Exp");
    QTest::newRow("no end of description in 10000 items") << Make([](const QList<QByteArray>& l) {
        QList<QByteArray> lines = l.mid(0, l.indexOf("End Of Exp"));
        for (int i = 0; i < 10'000; ++i) lines << "x";
        return joinLines(lines + l.mid(l.indexOf("End Of Exp")));
    }) << "4" << QStringLiteral("10000 項目");
    QTest::newRow("ends at machine data header")
        << cutBefore("# orvane basic data and spec infomation", 1) << "4"
        << QStringLiteral("途中で終わって");
    QTest::newRow("ends in machine data")
        << cutBefore("120") << "4" << QStringLiteral("途中で終わって");
    QTest::newRow("ends in pay lines") << cutBefore("# using soundfilename and playtiming", -3)
                                       << "4" << QStringLiteral("途中で終わって");
    QTest::newRow("word in probabilities")
        << replace("-40000 -29033 -18066 -7099 ", "-40000 -29033 abc -7099 ") << "4"
        << QStringLiteral("abc");
    QTest::newRow("subtraction beyond 16 bits")
        << replace("-25 ", " 40000 ") << "4" << QStringLiteral("範囲");
    QTest::newRow("reel data file missing") << whole << "-" << QStringLiteral("見つかりません");
    QTest::newRow("reel data file damaged") << whole << "damaged" << QStringLiteral("不正");
    QTest::newRow("reel data with 22 flags") << whole << "21" << QStringLiteral("役が多すぎます");
}

void OrfFormatTest::refusesDamagedFile() {
    QFETCH(std::function<QByteArray(const QList<QByteArray>&)>, make);
    QFETCH(QString, sdf);
    QFETCH(QString, reason);
    Sample sample;
    sample.files.reelFiles.clear();
    if (sdf == "damaged")
        sample.files.reelFiles["machine.sdf"] = "120\r\n# pics size\r\n";
    else if (sdf != "-")
        sample.files.reelFiles["machine.sdf"] = samples::reelFile(sdf.toInt());
    const MachineSpec previous = previousMachine();
    MachineSpec doc = previous;
    orf::ReadReport report;
    report.warnings << "kept";
    QString error;
    QVERIFY(!orf::readText(make(sample.lines), sample.files, doc, &report, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY2(doc == previous, qPrintable(difference(doc, previous)));
    QCOMPARE(report.warnings, QStringList{"kept"});
}

void OrfFormatTest::loadingTwiceGivesSameExplanation() {
    MachineSpec doc;
    orf::ReadReport report;
    for (int i = 0; i < 2; ++i)
        QVERIFY(orf::readFile(DataDir + "sample.orf", doc, &report, nullptr));
    QCOMPARE(doc.explanation, samples::sampleMachine().explanation);
}

void OrfFormatTest::longestDescriptionReadsBack() {
    MachineSpec machine;
    machine.explanation = QString("x\r\n").repeated(9998) + "x";
    QVERIFY(orf::explanationProblem(machine.explanation).isEmpty());
    MachineSpec back;
    QVERIFY(orf::readText(orf::write(machine), orf::MemoryFiles(), back, nullptr, nullptr));
    QCOMPARE(back.explanation, machine.explanation);
}

void OrfFormatTest::switchesReadAsZeroOrOne() {
    Sample sample;
    QList<QByteArray> lines = sample.lines;
    const qsizetype switches =
        lineOf(lines, "# orvane basic data and spec infomation") + 1 + 6 + 441;
    lines[switches] = " 2 ";
    lines[switches + 1] = "-1 ";
    lines[switches + 2] = " 0 ";
    lines[lineOf(lines, "# Sound Effect and BGM setting") + 11] = " 5 ";
    MachineSpec doc;
    orf::ReadReport report;
    QVERIFY(orf::readText(joinLines(lines), sample.files, doc, &report, nullptr));
    QCOMPARE(int(doc.counterReset), 1);
    QCOMPARE(int(doc.threeBetOnly), 1);
    QCOMPARE(int(doc.hasCT), 0);
    QCOMPARE(int(doc.sound.paySoundFirst), 1);
}

void OrfFormatTest::emptyReelFileNameKeepsReelData() {
    MachineSpec machine = samples::sampleMachine();
    machine.reelFileName.clear();
    machine.reelData.flagCount = 2;  // as if read before; the file then holds three payout flags
    const QByteArray bytes = orf::write(machine);
    MachineSpec doc = previousMachine();
    doc.reelData = samples::sampleMachine().reelData;
    doc.reelData.flagCount = 2;
    doc.reelData.symbolPictures[3] = QImage(2, 2, QImage::Format_RGB32);
    const ReelDataInfo reelData = doc.reelData;
    orf::ReadReport report;
    QVERIFY(orf::readText(bytes, orf::MemoryFiles(), doc, &report, nullptr));
    QVERIFY(!report.reelDataRead && report.effectSectionRead && !report.flagCountMismatch);
    QVERIFY(doc.reelData == reelData);
    QVERIFY(doc.reelFileName.isEmpty());
    for (int f = 0; f <= 2; ++f) QVERIFY(doc.sound.paySound[f] == machine.sound.paySound[f]);
}

void OrfFormatTest::reelDataFoundInAnyCaseWithPictures() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QImage lit(72, 36, QImage::Format_RGB32);
    lit.fill(Qt::blue);
    QVERIFY(lit.save(dir.filePath("sym1.bmp"), "BMP"));
    QVERIFY(saveFileAtomically(dir.filePath("sym3.bmp"), "not a picture"));
    // Named in other cases than the files have; symbol 2 has no picture file at all.
    const QByteArray sdf = samples::reelFile(6, {"SYM1.BMP", "missing.gif", "sym3.bmp", ""});
    QVERIFY(saveFileAtomically(dir.filePath("MACHINE.SDF"), sdf));
    MachineSpec machine = samples::sampleMachine();
    machine.reelData.flagCount = 6;
    QVERIFY(orf::writeFile(dir.filePath("m.orf"), machine, nullptr));

    MachineSpec doc;
    QImage marker(5, 5, QImage::Format_RGB32);
    marker.fill(Qt::green);
    doc.reelData.symbolPictures.fill(marker);
    orf::ReadReport report;
    QString error;
    QVERIFY2(orf::readFile(dir.filePath("m.orf"), doc, &report, &error), qPrintable(error));
    QCOMPARE(int(doc.reelData.flagCount), 6);
    QCOMPARE(doc.reelData.symbolPictures[0].pixel(10, 10), QColor(Qt::blue).rgb());
    QCOMPARE(doc.reelData.symbolPictures[1], marker);  // missing
    QCOMPARE(doc.reelData.symbolPictures[2], marker);  // not a picture
    QCOMPARE(doc.reelData.symbolPictures[3], marker);  // no name
    QCOMPARE(report.warnings.size(), 2);
}

void OrfFormatTest::reportsFlagCountOfPayoutSection_data() {
    QTest::addColumn<int>("writtenWith");
    QTest::addColumn<int>("readWith");
    QTest::addColumn<int>("extraLines");
    QTest::addColumn<int>("reported");
    QTest::newRow("same") << 4 << 4 << 0 << 4;
    QTest::newRow("fewer flags now") << 4 << 2 << 0 << 4;
    QTest::newRow("more flags now") << 0 << 20 << 0 << 0;
    QTest::newRow("length fits no flag count") << 4 << 4 << 1 << -1;
}

void OrfFormatTest::reportsFlagCountOfPayoutSection() {
    QFETCH(int, writtenWith);
    QFETCH(int, readWith);
    QFETCH(int, extraLines);
    QFETCH(int, reported);
    MachineSpec machine = samples::sampleMachine();
    machine.reelData.flagCount = static_cast<std::int16_t>(writtenWith);
    QByteArray bytes = orf::write(machine);
    for (int i = 0; i < extraLines; ++i) bytes += " 0 \r\n";
    orf::MemoryFiles files;
    files.reelFiles["machine.sdf"] = samples::reelFile(readWith);
    MachineSpec doc;
    orf::ReadReport report;
    QVERIFY(orf::readText(bytes, files, doc, &report, nullptr));
    QCOMPARE(report.writtenFlagCount, reported);
    QCOMPARE(report.flagCountMismatch, reported != readWith);
    // The payout lines are still read for the flags now loaded.
    const int common = std::min(writtenWith, readWith);
    for (int f = 0; f <= common; ++f) QVERIFY(doc.sound.paySound[f] == machine.sound.paySound[f]);
}

void OrfFormatTest::saveRefusesTextsTheFileCannotHold_data() {
    QTest::addColumn<std::function<void(MachineSpec&)>>("spoil");
    using Spoil = std::function<void(MachineSpec&)>;
    QTest::newRow("comma in name") << Spoil([](MachineSpec& m) { m.machineName = "a,b"; });
    QTest::newRow("quote in maker") << Spoil([](MachineSpec& m) { m.makerName = "\"x"; });
    QTest::newRow("line break in file name")
        << Spoil([](MachineSpec& m) { m.bodyFileName = "a\nb.ppf"; });
    QTest::newRow("not in code page 932")
        << Spoil([](MachineSpec& m) { m.reelFileName = QStringLiteral("😀.sdf"); });
    QTest::newRow("end line in description")
        << Spoil([](MachineSpec& m) { m.explanation = "a\r\n  End Of Exp\r\nb"; });
    QTest::newRow("comma in description")
        << Spoil([](MachineSpec& m) { m.explanation = "a\r\nb,c"; });
    // The reader gives up on a description that has not ended after 10,000 items.
    QTest::newRow("more description lines than the reader takes")
        << Spoil([](MachineSpec& m) { m.explanation = QString("x\r\n").repeated(9999) + "x"; });
    QTest::newRow("comma in sound name")
        << Spoil([](MachineSpec& m) { m.sound.files[128] = "a,b.wav"; });
    QTest::newRow("comma in box text")
        << Spoil([](MachineSpec& m) { m.setBonusEndText(3, "1,2"); });
}

void OrfFormatTest::saveRefusesTextsTheFileCannotHold() {
    QFETCH(std::function<void(MachineSpec&)>, spoil);
    QTemporaryDir dir;
    const QString path = dir.filePath("m.orf");
    QVERIFY(saveFileAtomically(path, "old contents"));
    MachineSpec machine = samples::sampleMachine();
    spoil(machine);
    QString error;
    QVERIFY(!orf::writeFile(path, machine, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(fileBytes(path), QByteArray("old contents"));
}

void OrfFormatTest::failedSaveKeepsOldFile() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder.orf"));
    MachineSpec machine = samples::sampleMachine();
    QString error;
    QVERIFY(!orf::writeFile(dir.filePath("folder.orf"), machine, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!orf::writeFile(dir.filePath("no/such/folder/m.orf"), machine, &error));
    QVERIFY(orf::writeFile(dir.filePath("m.orf"), machine, &error));
    QCOMPARE(fileBytes(dir.filePath("m.orf")), orf::write(machine));
}

QTEST_GUILESS_MAIN(OrfFormatTest)
#include "tst_orfformat.moc"
