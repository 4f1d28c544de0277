#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QtTest>
#include <functional>

#include "archive.h"
#include "checker.h"
#include "orfformat.h"
#include "ppfformat.h"
#include "rcfformat.h"
#include "samplecopy.h"
#include "sdfformat.h"
#include "writemachine.h"

using check::Finding;
using check::Severity;
using Mutation = std::function<bool(const QDir&)>;
Q_DECLARE_METATYPE(Mutation)
using FolderMaker = std::function<QString(const QDir&)>;  // the path to check
Q_DECLARE_METATYPE(FolderMaker)

namespace {

// The sample's layout: LastPrizeIndex 6; the .orf's description is three lines long, so
// its sections start on lines 11, 568 and 1251.
constexpr int SampleLastPrize = 6;

bool editReelData(const QDir& dir, const std::function<void(ReelDataDocument&)>& edit) {
    ReelDataDocument doc;
    const QString path = dir.filePath(QStringLiteral("machine.sdf"));
    if (!sdf::readFile(path, doc, nullptr, nullptr)) return false;
    edit(doc);
    return sdf::writeFile(path, doc, nullptr);
}

bool editControl(const QDir& dir, const std::function<void(ControlDocument&)>& edit) {
    ControlDocument doc;
    doc.setLastPrizeIndex(SampleLastPrize);
    const QString path = dir.filePath(QStringLiteral("machine.rcf"));
    if (!rcf::readFile(path, doc, nullptr, nullptr)) return false;
    edit(doc);
    return rcf::writeFile(path, doc, nullptr);
}

bool editMachine(const QDir& dir, const std::function<void(MachineSpec&)>& edit) {
    MachineSpec doc;
    const QString path = dir.filePath(QStringLiteral("machine.orf"));
    if (!orf::readFile(path, doc, nullptr, nullptr)) return false;
    edit(doc);
    return orf::writeFile(path, doc, nullptr);
}

bool editPositions(const QDir& dir, const std::function<void(PositionDocument&)>& edit) {
    PositionDocument doc;
    const QString path = dir.filePath(QStringLiteral("machine.ppf"));
    if (!ppf::readFile(path, doc, nullptr, nullptr)) return false;
    edit(doc);
    return ppf::writeFile(path, doc, nullptr);
}

bool removeFile(const QDir& dir, const char* name) {
    return QFile::remove(dir.filePath(QLatin1String(name)));
}

// `name` of the sample replaced by another kind of folder entry.
bool replaceByFifo(const QDir& dir, const char* name) {
    const QString path = dir.filePath(QLatin1String(name));
    QFile::remove(path);
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}
bool replaceByLink(const QDir& dir, const char* name, const char* target) {
    QFile::remove(dir.filePath(QLatin1String(name)));
    return QFile::link(QLatin1String(target), dir.filePath(QLatin1String(name)));
}

// Folders nested under `dir` until the path passes `length` characters; made through
// each folder's own descriptor, as no single path that long can be opened.
QString deepFolder(const QDir& dir, int length) {
    const QByteArray name(200, 'd');
    QString path = dir.path();
    int fd = ::open(QFile::encodeName(path).constData(), O_DIRECTORY | O_RDONLY);
    while (fd >= 0 && path.size() < length) {
        ::mkdirat(fd, name.constData(), 0755);
        const int next = ::openat(fd, name.constData(), O_DIRECTORY | O_RDONLY);
        ::close(fd);
        fd = next;
        path += QLatin1Char('/') + QLatin1String(name);
    }
    if (fd < 0) return {};
    ::close(fd);
    return path;
}

// "name:line: error: fragment" (line 0: no line) against the findings, each matched once.
QString unmatched(QList<Finding> found, const QStringList& expected, const QString& folder) {
    QStringList missing;
    for (const QString& e : expected) {
        const QStringList parts = e.split(QStringLiteral(": "));
        const QString fileAndLine = parts[0];
        const QString file =
            QDir::cleanPath(folder + QLatin1Char('/') + fileAndLine.section(u':', 0, 0));
        const int line = fileAndLine.section(u':', 1, 1).toInt();
        const Severity severity =
            parts[1] == QLatin1String("error") ? Severity::Error : Severity::Warning;
        const QString fragment = parts.mid(2).join(QStringLiteral(": "));
        const auto it = std::find_if(found.begin(), found.end(), [&](const Finding& f) {
            return f.file == file && f.line == line && f.severity == severity &&
                   f.text.contains(fragment);
        });
        if (it == found.end())
            missing << e;
        else
            found.erase(it);
    }
    QString out;
    if (!missing.isEmpty())
        out += QStringLiteral("not found: ") + missing.join(QStringLiteral(" | "));
    if (!found.isEmpty()) out += QStringLiteral(" unexpected: ") + check::formatText(found);
    return out;
}

}  // namespace

class TestCheck : public QObject {
    Q_OBJECT
private slots:
    void faults_data();
    void faults();
    void folderRefused_data();
    void folderRefused();
    void repeatedFindingsAreSummed();
    void largeMachineIsClean();
    void lineOfReason_data();
    void lineOfReason();
};

void TestCheck::faults_data() {
    QTest::addColumn<Mutation>("mutation");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("the sample") << Mutation([](const QDir&) { return true; }) << QStringList();
    QTest::newRow("no .orf: every file, the .rcf after the .sdf of its name")
        << Mutation([](const QDir& d) { return removeFile(d, "machine.orf"); }) << QStringList();

    // The faults the author makes.
    QTest::newRow("a prize added to the .sdf only")
        << Mutation([](const QDir& d) {
               return editReelData(d, [](ReelDataDocument& doc) {
                   doc.lastPrizeIndex = 7;
                   doc.prizes[7] = {{3, 3, 4}, {1, 1, 1}, {0, 0, 0}};
               });
           })
        << QStringList{
               QStringLiteral("machine.rcf:15361: error: written for LastPrizeIndex 6, "
                              "but machine.sdf has LastPrizeIndex 7"),
               QStringLiteral("machine.orf:1251: error: written for 7 flags (LastPrizeIndex "
                              "6), but machine.sdf has LastPrizeIndex 7")};
    QTest::newRow("a missing picture")
        << Mutation([](const QDir& d) { return removeFile(d, "sym3_off.bmp"); })
        << QStringList{QStringLiteral("machine.sdf:14: error: the unlit picture of symbol 3 "
                                      "\"sym3_off.bmp\" is missing")};
    QTest::newRow("a damaged .rcf")
        << Mutation([](const QDir& d) {
               QByteArray bytes = fileBytes(d.filePath(QStringLiteral("machine.rcf")));
               for (qsizetype i = bytes.size() / 2; i < bytes.size() / 2 + 16; ++i)
                   bytes[i] = char(~bytes[i]);
               return putBytes(d.filePath(QStringLiteral("machine.rcf")), bytes);
           })
        << QStringList{
               QStringLiteral("machine.rcf:0: error: stopboard refuses this reel control file")};
    // An archive the reader refuses for its members: dummy.dat twice, or too many members.
    for (const int extra : {1, lzh::Archive::kMaxMembers})
        QTest::newRow(qPrintable(QStringLiteral("a .rcf with %1 more members").arg(extra)))
            << Mutation([extra](const QDir& d) {
                   const QString path = d.filePath(QStringLiteral("machine.rcf"));
                   lzh::Archive a;
                   if (!a.openFile(path)) return false;
                   QList<lzh::Member> members{{QStringLiteral("dummy.dat"),
                                               a.read(QStringLiteral("dummy.dat")).value_or("")}};
                   members += QList<lzh::Member>(extra, members.front());
                   return putBytes(path, lzh::writeArchive(members));
               })
            << QStringList{QStringLiteral(
                   "machine.rcf:0: error: stopboard refuses this reel control file")};
    QTest::newRow("a base table that does not add up")
        << Mutation([](const QDir& d) {
               return editControl(
                   d, [](ControlDocument& doc) { doc.baseSlot(5, 1).probability = 32; });
           })
        << QStringList{QStringLiteral("machine.rcf:11297: warning: base table 5 (assigned): the "
                                      "probabilities of its slots add up to 224, not 256")};
    QTest::newRow("a pay line of two cells") << Mutation([](const QDir& d) {
        return editMachine(d, [](MachineSpec& m) { m.lineCell[2][4][2 * 5 + 1] = 0; });
    }) << QStringList{QStringLiteral("machine.orf:562: error: pay line 5 of 3BET has 2 cells")};

    // Files and names.
    QTest::newRow("a picture found only in another case")
        << Mutation([](const QDir& d) {
               return QFile::rename(d.filePath(QStringLiteral("sym5.bmp")),
                                    d.filePath(QStringLiteral("SYM5.bmp")));
           })
        << QStringList{QStringLiteral("machine.sdf:21: warning: the lit picture of symbol 5 "
                                      "\"sym5.bmp\" is found only as \"SYM5.bmp\": the "
                                      "editors find it"),
                       QStringLiteral("machine.sdf:24: warning: the blink picture of symbol 5")};
    QTest::newRow("a picture that cannot be decoded")
        << Mutation([](const QDir& d) {
               return putBytes(d.filePath(QStringLiteral("digits.bmp")),
                               QByteArray("BM not a picture"));
           })
        << QStringList{QStringLiteral("digits.bmp:0: error: the picture cannot be decoded (the "
                                      "picture of slot 5 - 数値画像 1, line 6 of machine.ppf)")};
    QTest::newRow("a sound that cannot be decoded")
        << Mutation([](const QDir& d) {
               const QString path = d.filePath(QStringLiteral("fanfare.mid"));
               return putBytes(path, fileBytes(path).left(30));
           })
        << QStringList{QStringLiteral("fanfare.mid:0: error: the sound cannot be decoded (sound 2, "
                                      "line 570 of machine.orf): chunk 1 runs past the end")};
    QTest::newRow("a missing sound")
        << Mutation([](const QDir& d) { return removeFile(d, "medal.wav"); })
        << QStringList{QStringLiteral("machine.orf:569: error: sound 1 \"medal.wav\" is missing")};
    QTest::newRow("a FIFO named like a machine file")
        << Mutation([](const QDir& d) { return replaceByFifo(d, "other.orf"); })
        << QStringList{QStringLiteral("other.orf:0: error: \"other.orf\" is a FIFO, not a file")};
    QTest::newRow("a FIFO under a picture's name")
        << Mutation([](const QDir& d) { return replaceByFifo(d, "sym3_off.bmp"); })
        << QStringList{QStringLiteral("machine.sdf:14: error: the unlit picture of symbol 3 "
                                      "\"sym3_off.bmp\" is a FIFO in the folder")};
    QTest::newRow("a link to a device under a sound's name")
        << Mutation([](const QDir& d) { return replaceByLink(d, "medal.wav", "/dev/null"); })
        << QStringList{QStringLiteral("machine.orf:569: error: sound 1 \"medal.wav\" is a device")};
    QTest::newRow("a folder under the .ppf's name")
        << Mutation([](const QDir& d) {
               return removeFile(d, "machine.ppf") && d.mkdir(QStringLiteral("machine.ppf"));
           })
        << QStringList{QStringLiteral("machine.orf:4: error: the picture position file "
                                      "\"machine.ppf\" is a folder")};
    // As the editors do: the picture in another case, when the exact name leads nowhere.
    QTest::newRow("a link to nothing, the picture beside it in another case")
        << Mutation([](const QDir& d) {
               return QFile::rename(d.filePath(QStringLiteral("sym5.bmp")),
                                    d.filePath(QStringLiteral("SYM5.bmp"))) &&
                      replaceByLink(d, "sym5.bmp", "gone.bmp");
           })
        << QStringList{QStringLiteral("machine.sdf:21: warning: \"sym5.bmp\" is found only as "
                                      "\"SYM5.bmp\""),
                       QStringLiteral("machine.sdf:24: warning: the blink picture of symbol 5")};
    // The editors read PNG too; the simulator takes GIF, JPEG and BMP.
    QTest::newRow("a PNG under a picture's name, and one named so")
        << Mutation([](const QDir& d) {
               const QImage symbol(d.filePath(QStringLiteral("sym4_fl.bmp")));
               return symbol.save(d.filePath(QStringLiteral("sym4_fl.bmp")), "PNG") &&
                      editPositions(d,
                                    [&](PositionDocument& doc) {
                                        doc.pictureSlots[2].fileName = QStringLiteral("lamps.png");
                                    }) &&
                      symbol.save(d.filePath(QStringLiteral("lamps.png")));
           })
        << QStringList{QStringLiteral("machine.sdf:19: warning: the flash picture of symbol 4 "
                                      "\"sym4_fl.bmp\" is a PNG picture"),
                       QStringLiteral("machine.ppf:3: warning: \"lamps.png\" is a PNG picture: "
                                      "the editors show it, but the simulator takes GIF, JPEG "
                                      "and BMP pictures")};
    // posboard takes cabinet pictures far larger than a symbol.
    QTest::newRow("a cabinet picture of 5000 x 440") << Mutation([](const QDir& d) {
        QImage wide(5000, 440, QImage::Format_RGB32);
        wide.fill(Qt::darkGray);
        return wide.save(d.filePath(QStringLiteral("cabinet_on.bmp")), "BMP");
    }) << QStringList();
    QTest::newRow("a missing .ppf")
        << Mutation([](const QDir& d) { return removeFile(d, "machine.ppf"); })
        << QStringList{QStringLiteral("machine.orf:4: error: the picture position file "
                                      "\"machine.ppf\" is missing")};
    QTest::newRow("a slot picture missing")
        << Mutation([](const QDir& d) { return removeFile(d, "cabinet_on.bmp"); })
        << QStringList{QStringLiteral("machine.ppf:2: error: the picture of slot 1 - 筐体画像 2 "
                                      "\"cabinet_on.bmp\" is missing")};

    // Files the editors refuse, with the reader's line.
    QTest::newRow("a .sdf arrangement that is not a number")
        << Mutation([](const QDir& d) {
               return replaceLine(d.filePath(QStringLiteral("machine.sdf")), 40, "1,x,3");
           })
        << QStringList{
               QStringLiteral("machine.sdf:40: error: reelboard refuses this reel data file: "
                              "数値が必要な所に「x」があります。")};
    QTest::newRow("a .orf machine data line that is not a number") << Mutation([](const QDir& d) {
        return replaceLine(d.filePath(QStringLiteral("machine.orf")), 15, " abc ");
    }) << QStringList{QStringLiteral("machine.orf:15: error: specboard refuses this machine file")};

    // Too many prizes for the control file, and for the machine file.
    QTest::newRow("LastPrizeIndex 20")
        << Mutation([](const QDir& d) {
               return editReelData(d, [](ReelDataDocument& doc) { doc.lastPrizeIndex = 20; });
           })
        << QStringList{
               QStringLiteral("machine.sdf:56: error: LastPrizeIndex 20 is above 19"),
               QStringLiteral("machine.orf:1251: error: but machine.sdf has LastPrizeIndex 20")};
    QTest::newRow("LastPrizeIndex 21")
        << Mutation([](const QDir& d) {
               return editReelData(d, [](ReelDataDocument& doc) { doc.lastPrizeIndex = 21; });
           })
        << QStringList{
               QStringLiteral("machine.sdf:56: error: and it is above 20, the most a machine "
                              "file (.orf) holds")};

    // Values outside what the editors accept.
    QTest::newRow("a pay of 16")
        << Mutation([](const QDir& d) {
               return editReelData(d, [](ReelDataDocument& doc) { doc.prizes[3].pays[0] = 16; });
           })
        << QStringList{
               QStringLiteral("machine.sdf:68: error: prize 4, 通常時: pay 16 is outside 0..15")};
    QTest::newRow("a prize kind of 8 and a symbol of 7")
        << Mutation([](const QDir& d) {
               return editReelData(d, [](ReelDataDocument& doc) {
                   doc.prizes[6].kinds[1] = 8;
                   doc.prizes[5].symbols[2] = 7;
               });
           })
        << QStringList{
               QStringLiteral("machine.sdf:78: error: prize 7, BB中: kind 8 is outside 0..7"),
               QStringLiteral("machine.sdf:73: error: prize 6, right reel: symbol 7 is "
                              "neither 0 to 6 nor 100")};
    QTest::newRow("a stop index of 5")
        << Mutation([](const QDir& d) {
               return editControl(
                   d, [](ControlDocument& doc) { doc.setStopIndex(3, reel::cellOf(1, 4), 5); });
           })
        << QStringList{
               QStringLiteral("machine.rcf:50: error: stop table 3, centre reel, position 05: "
                              "stop index 5 is outside 0..4")};
    QTest::newRow("an assignment of base table 600")
        << Mutation([](const QDir& d) {
               return editControl(d, [](ControlDocument& doc) {
                   doc.setAssignment({1, 2, 0, 0, 3, 0, 2}, 600);
               });
           })
        // Play state 1 starts after 54 groups of 8 flags of 105 lines; bonus flag state 2
        // after 36 more groups; flag 3, first stop 2.
        << QStringList{
               QStringLiteral("machine.rcf:%1: error: assignment of BB中, RB成立後, 1BET, 左中右, "
                              "flag 3, big type 1, first stop position 2: base table 600 is "
                              "outside 1..512")
                   .arg(15361 + (54 + 36) * 8 * 105 + 3 * 105 + 1)};
    QTest::newRow("a base slot naming stop table 0")
        << Mutation([](const QDir& d) {
               return editControl(d, [](ControlDocument& doc) { doc.baseSlot(9, 2) = {256, 0}; });
           })
        << QStringList{
               QStringLiteral("machine.rcf:11331: error: base table 9, slot 3: stop table 0 "
                              "is outside 1..512")};
    QTest::newRow("a sound naming an empty registry entry, one above 128")
        << Mutation([](const QDir& d) {
               return editMachine(d, [](MachineSpec& m) {
                   m.sound.bgmSound[7] = 3;
                   m.sound.normalSound[sound::ReelSpin] = 200;
               });
           })
        << QStringList{
               QStringLiteral("machine.orf:1274: error: BGM ウェイト音: sound 3 names an empty "
                              "entry of the sound registry"),
               QStringLiteral("machine.orf:715: error: リール回転音, 通常: sound number 200 is "
                              "outside 0..128")};
    QTest::newRow("flag probabilities above 65536 in all")
        << Mutation([](const QDir& d) {
               return editMachine(d, [](MachineSpec& m) { m.flagProb[3][2][0][0] = 60000; });
           })
        << QStringList{QStringLiteral("machine.orf:24: warning: setting 2, 1BET, 低確率時: the "
                                      "probabilities of the 7 flags add up to 71975, above 65536")};
    QTest::newRow("a bonus end text above its box")
        << Mutation([](const QDir& d) {
               return replaceLine(d.filePath(QStringLiteral("machine.orf")), 474, "100");
           })
        << QStringList{
               QStringLiteral("machine.orf:474: error: bonus end BB games (G行うか): \"100\" "
                              "is not a number from 0 to 99")};
    QTest::newRow("a lamp naming a slot without picture, one outside its picture")
        << Mutation([](const QDir& d) {
               return editPositions(d, [](PositionDocument& doc) {
                   doc.entries[10].value = QStringLiteral("7");
                   doc.entries[15].right = 400;
               });
           })
        << QStringList{
               QStringLiteral("machine.ppf:21: error: 「2BETボタン」 names picture slot 7 - "
                              "数値画像 3, which holds no picture"),
               QStringLiteral("machine.ppf:26: warning: 「ウェイトランプ」: the rectangle 20 , "
                              "20 - 400 , 39 reaches outside its picture")};
}

void TestCheck::faults() {
    QFETCH(Mutation, mutation);
    QFETCH(QStringList, expected);
    QTemporaryDir temp;
    QVERIFY(copySample(temp.path()));
    QVERIFY(mutation(QDir(temp.path())));
    check::Findings findings;
    QString error;
    QVERIFY2(check::checkFolder(temp.path(), findings, &error), qPrintable(error));
    const QString problem = unmatched(findings.sorted(), expected, temp.path());
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestCheck::folderRefused_data() {
    QTest::addColumn<FolderMaker>("make");
    QTest::addColumn<QString>("message");
    QTest::newRow("no machine file") << FolderMaker([](const QDir& d) { return d.path(); })
                                     << QStringLiteral("holds no .orf, .sdf, .rcf or .ppf file");
    QTest::newRow("no such folder")
        << FolderMaker([](const QDir& d) { return d.filePath(QStringLiteral("none")); })
        << QStringLiteral("none: there is no such folder");
    QTest::newRow("a file") << FolderMaker([](const QDir& d) {
        putBytes(d.filePath(QStringLiteral("f")), "x");
        return d.filePath(QStringLiteral("f"));
    }) << QStringLiteral("/f is not a folder");
    QTest::newRow("a path through a file") << FolderMaker([](const QDir& d) {
        putBytes(d.filePath(QStringLiteral("f")), "x");
        return d.filePath(QStringLiteral("f/g"));
    }) << QStringLiteral("a part of the path is not a folder");
    QTest::newRow("a 10,000-character path that exists")
        << FolderMaker([](const QDir& d) { return deepFolder(d, 10000); })
        << QStringLiteral("bytes long, longer than the 4095 the system takes");
    QTest::newRow("a name of 300 bytes")
        << FolderMaker([](const QDir& d) { return d.filePath(QString(300, u'n')); })
        << QStringLiteral("a name in the path is 300 bytes long");
    QTest::newRow("a folder that may not be entered") << FolderMaker([](const QDir& d) {
        d.mkdir(QStringLiteral("closed"));
        QFile::setPermissions(d.filePath(QStringLiteral("closed")), QFileDevice::ReadOwner);
        return d.filePath(QStringLiteral("closed"));
    }) << QStringLiteral("permission denied");
}

void TestCheck::folderRefused() {
    QFETCH(FolderMaker, make);
    QFETCH(QString, message);
    if (message.contains(QStringLiteral("permission")) && ::geteuid() == 0)
        QSKIP("root enters every folder");
    QTemporaryDir temp;
    const QString path = make(QDir(temp.path()));
    QVERIFY(!path.isEmpty());
    check::Findings findings;
    QString error;
    QVERIFY(!check::checkFolder(path, findings, &error));
    QVERIFY2(error.contains(message), qPrintable(error.left(200)));
    // QTemporaryDir cannot remove a tree deeper than a path can be.
    QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), temp.path()});
}

void TestCheck::repeatedFindingsAreSummed() {
    // A stop table full of bad values is shown ten times, then once as a count.
    QTemporaryDir temp;
    QVERIFY(copySample(temp.path()));
    QVERIFY(editControl(QDir(temp.path()), [](ControlDocument& doc) {
        for (std::int16_t& v : doc.stopTable(2)) v = 9;
    }));
    check::Findings findings;
    QVERIFY(check::checkFolder(temp.path(), findings, nullptr));
    const QList<Finding> list = findings.sorted();
    QCOMPARE(list.size(), check::Findings::MaxPerKind + 1);
    QCOMPARE(list.last().text, QStringLiteral("... and 53 more like the one above"));
    QCOMPARE(list.last().line, list[list.size() - 2].line);
    QCOMPARE(findings.count(Severity::Error), 63);
}

void TestCheck::largeMachineIsClean() {
    // Twenty prizes: the last flag of the control file, and the longest payout section.
    QTemporaryDir temp;
    QString error;
    QVERIFY2(sample::writeMachine(temp.path(), sample::Variant::Large, &error), qPrintable(error));
    check::Findings findings;
    QVERIFY(check::checkFolder(temp.path(), findings, &error));
    QVERIFY2(findings.sorted().isEmpty(), qPrintable(check::formatText(findings.sorted())));
}

void TestCheck::lineOfReason_data() {
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("rest");
    QTest::newRow("at the start") << QStringLiteral("12 行目: ファイルが途中で終わっています。")
                                  << 12 << QStringLiteral("ファイルが途中で終わっています。");
    QTest::newRow("after a lead")
        << QStringLiteral("停止テーブル 3 を読めません。45 行目: 数値が必要な所に「x」があります。")
        << 45 << QStringLiteral("停止テーブル 3 を読めません。数値が必要な所に「x」があります。");
    QTest::newRow("none") << QStringLiteral("LZH 書庫として読めません。") << 0
                          << QStringLiteral("LZH 書庫として読めません。");
}

void TestCheck::lineOfReason() {
    QFETCH(QString, reason);
    QFETCH(int, line);
    QFETCH(QString, rest);
    QString out;
    QCOMPARE(check::lineOfReason(reason, &out), line);
    QCOMPARE(out, rest);
}

QTEST_GUILESS_MAIN(TestCheck)
#include "tst_check.moc"
