#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "archive.h"
#include "rcfformat.h"
#include "textfile.h"

using namespace control;

Q_DECLARE_METATYPE(AssignmentKey)

namespace {

constexpr int Section1Lines = 512 * 22;
constexpr int Section2Lines = 512 * 8;

QByteArray readData(const char* name) {
    QFile file(QStringLiteral(TEST_DATA_DIR "/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) qFatal("missing test data %s", name);
    return file.readAll();
}

void forEachKey(const std::function<void(const AssignmentKey&)>& f) {
    AssignmentKey k;
    for (k.playState = 0; k.playState < PlayStateCount; ++k.playState)
        for (k.bonusFlagState = 0; k.bonusFlagState < BonusFlagStateCount; ++k.bonusFlagState)
            for (k.bet = 0; k.bet < BetCount; ++k.bet)
                for (k.stopOrder = 0; k.stopOrder < StopOrderCount; ++k.stopOrder)
                    for (k.flag = 0; k.flag < FlagCount; ++k.flag)
                        for (k.bigType = 0; k.bigType < BigTypeCount; ++k.bigType)
                            for (k.firstStop = 1; k.firstStop <= FirstStopCount; ++k.firstStop)
                                f(k);
}

// Whether the control file written with this LastPrizeIndex carries the key.
bool inLayout(const AssignmentKey& k, int last) {
    if (k.flag > last + 1) return false;
    return k.playState != 2 || (k.bonusFlagState == 0 && k.bet == 0 && k.stopOrder == 0);
}

// 0-based line of the key within the assignment section: 54 groups each for play
// states 0 and 1, one for the regular bonus, 54 for CT.
int fileLine(const AssignmentKey& k, int last) {
    const int within = k.bonusFlagState * 18 + k.bet * 6 + k.stopOrder;
    const int group = k.playState < 2    ? k.playState * 54 + within
                      : k.playState == 2 ? 108
                                         : 109 + within;
    return (group * (last + 2) + k.flag) * 105 + k.bigType * 21 + k.firstStop - 1;
}

// Lines without their CR LF; fails the test when a line ends otherwise.
QList<QByteArray> splitLines(const QByteArray& text) {
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QByteArray& line : lines) {
        if (!line.endsWith('\r') || line.count('\r') != 1) {
            QTest::qFail("a line does not end with CR LF", __FILE__, __LINE__);
            return {};
        }
        line.chop(1);
    }
    return lines;
}

// The document whose first stop tables, base table and assignments the data files show.
ControlDocument fixtureDoc() {
    ControlDocument doc;
    doc.setComment(1, QStringLiteral("ＢＢ揃い・中段"));
    for (int r = 0; r < 3; ++r)
        for (int p = 0; p < 21; ++p)
            doc.setStopIndex(1, reel::cellOf(r, p), std::int16_t((p + 2 * r) % 5));
    doc.setStopIndex(1, reel::cellOf(0, 20), -3);
    doc.setStopIndex(1, reel::cellOf(1, 5), 12);
    const BaseSlot table1[] = {{128, 5},        {256, 512}, {-1, -300}, {0, 0},
                               {32767, -32768}, {0, 1},     {7, 0},     {64, 64}};
    for (int s = 0; s < 8; ++s) doc.baseSlot(1, s) = table1[s];
    doc.setAssignment({0, 0, 0, 0, 0, 0, 1}, 7);
    doc.setAssignment({0, 0, 0, 0, 0, 0, 2}, -2);
    doc.setAssignment({0, 0, 0, 0, 0, 0, 3}, 512);
    return doc;
}

// Varied values everywhere the file reaches, negative ones included.
ControlDocument randomDoc(int last, quint32 seed) {
    QRandomGenerator rng(seed);
    ControlDocument doc;
    doc.setLastPrizeIndex(last);
    const QString comments[] = {QString(), QStringLiteral("リプレイ外し"),
                                QStringLiteral("BB 左下段"), QStringLiteral("trailing  "),
                                QStringLiteral("引き込み\"強\"")};
    for (int t = 1; t <= StopTableCount; ++t) {
        doc.setComment(t, comments[rng.bounded(5)]);
        for (std::int16_t& v : doc.stopTable(t)) v = std::int16_t(rng.bounded(-1, 5));
        for (int s = 0; s < SlotsPerBaseTable; ++s)
            doc.baseSlot(t, s) = {std::int16_t(rng.bounded(-2, 257)),
                                  std::int16_t(rng.bounded(-2, 513))};
    }
    forEachKey([&](const AssignmentKey& k) {
        if (inLayout(k, last)) doc.setAssignment(k, std::int16_t(rng.bounded(-3, 513)));
    });
    return doc;
}

QByteArray firstLines(const QByteArray& text, int count) {
    qsizetype pos = 0;
    for (int i = 0; i < count; ++i) pos = text.indexOf('\n', pos) + 1;
    return text.left(pos);
}

QByteArray afterLines(const QByteArray& text, int count) {
    return text.mid(firstLines(text, count).size());
}

}  // namespace

class TestRcfFormat : public QObject {
    Q_OBJECT

private slots:
    void exactBytes_data();
    void exactBytes();
    void lineCounts_data();
    void lineCounts();
    void keyOrder_data();
    void keyOrder();
    void textRoundTrip_data();
    void textRoundTrip();
    void otherLayout_data();
    void otherLayout();
    void brokenTables_data();
    void brokenTables();
    void assignmentsReadAsTheFieldReaderReads();
    void lenientAssignments_data();
    void lenientAssignments();
    void comments_data();
    void comments();

    void archiveHoldsOneTextMember_data();
    void archiveHoldsOneTextMember();
    void fileRoundTripLeavesNoTemporary_data();
    void fileRoundTripLeavesNoTemporary();
    void independentArchives_data();
    void independentArchives();
    void badArchive_data();
    void badArchive();
    void saveFailureIsReported();
};

void TestRcfFormat::exactBytes_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("skipLines");
    QTest::newRow("stop tables 1 and 2") << "stop_tables_1_2.txt" << 0;
    QTest::newRow("base table 1") << "base_table_1.txt" << Section1Lines;
    QTest::newRow("first assignments") << "assignment_head.txt" << Section1Lines + Section2Lines;
}

// Code page 932, CR LF, comma lines for stop tables, sign positions for the rest.
void TestRcfFormat::exactBytes() {
    QFETCH(QString, file);
    QFETCH(int, skipLines);
    const QByteArray expected = readData(file.toLatin1().constData());
    const QByteArray text = rcf::writeText(fixtureDoc());
    QCOMPARE(afterLines(text, skipLines).left(expected.size()), expected);
}

void TestRcfFormat::lineCounts_data() {
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("assignmentLines");
    QTest::newRow("no prize data") << 0 << 34230;
    QTest::newRow("one") << 1 << 51345;
    QTest::newRow("twenty prizes") << 19 << 359415;
}

void TestRcfFormat::lineCounts() {
    QFETCH(int, last);
    QFETCH(int, assignmentLines);
    ControlDocument doc;
    QVERIFY(doc.setLastPrizeIndex(last));
    // Every regular bonus entry, carried or not, is marked; only one key group is written.
    forEachKey([&](const AssignmentKey& k) {
        if (k.playState == 2) doc.setAssignment(k, 9);
    });
    const QList<QByteArray> lines = splitLines(rcf::writeText(doc));
    QCOMPARE(lines.size(), Section1Lines + Section2Lines + assignmentLines);
    QCOMPARE(qsizetype(assignmentLines), assignmentLineCount(last));
    QCOMPARE(lines.count(" 9 "), 105 * (last + 2));
    // Flag 20 is written only for twenty prizes, and it starts at 0.
    QCOMPARE(lines.count(" 0 ") > 0, last == 19);
}

void TestRcfFormat::keyOrder_data() {
    QTest::addColumn<int>("last");
    QTest::addColumn<AssignmentKey>("key");
    for (int last : {0, 19}) {
        const QByteArray l = QByteArray::number(last);
        QTest::newRow("first " + l) << last << AssignmentKey{0, 0, 0, 0, 0, 0, 1};
        QTest::newRow("first stop 21 " + l) << last << AssignmentKey{0, 0, 0, 0, 0, 0, 21};
        QTest::newRow("big type 5 " + l) << last << AssignmentKey{0, 0, 0, 0, 0, 4, 1};
        QTest::newRow("last flag " + l) << last << AssignmentKey{0, 0, 0, 0, last + 1, 4, 21};
        QTest::newRow("stop order " + l) << last << AssignmentKey{0, 0, 0, 5, 1, 2, 3};
        QTest::newRow("bet " + l) << last << AssignmentKey{0, 0, 2, 0, 0, 0, 1};
        QTest::newRow("bonus flag " + l) << last << AssignmentKey{0, 2, 0, 0, 0, 0, 1};
        QTest::newRow("BB " + l) << last << AssignmentKey{1, 1, 2, 3, last, 1, 8};
        QTest::newRow("RB " + l) << last << AssignmentKey{2, 0, 0, 0, 1, 3, 20};
        QTest::newRow("CT first " + l) << last << AssignmentKey{3, 0, 0, 0, 0, 0, 1};
        QTest::newRow("very last " + l) << last << AssignmentKey{3, 2, 2, 5, last + 1, 4, 21};
        QTest::newRow("RB second bet not carried " + l)
            << last << AssignmentKey{2, 0, 1, 0, 0, 0, 1};
        QTest::newRow("RB second order not carried " + l)
            << last << AssignmentKey{2, 0, 0, 1, 0, 0, 1};
        if (last + 2 < FlagCount)
            QTest::newRow("flag past the prizes not carried " + l)
                << last << AssignmentKey{1, 0, 0, 0, last + 2, 0, 1};
    }
}

// Each key lands on its own line in play state, bonus flag, bet, order, flag, big type,
// first stop order; keys the layout does not carry are not written at all.
void TestRcfFormat::keyOrder() {
    QFETCH(int, last);
    QFETCH(AssignmentKey, key);
    ControlDocument doc;
    QVERIFY(doc.setLastPrizeIndex(last));
    doc.setAssignment(key, 30000);
    const QByteArray text = rcf::writeText(doc);
    const QByteArray marker = "\n 30000 \r\n";
    const qsizetype at = text.indexOf(marker);
    if (!inLayout(key, last)) {
        QCOMPARE(at, qsizetype(-1));
        return;
    }
    QVERIFY(at > 0);
    QCOMPARE(text.left(at + 1).count('\n'),
             qsizetype(Section1Lines + Section2Lines + fileLine(key, last)));
    QCOMPARE(text.count(marker), qsizetype(1));
}

void TestRcfFormat::textRoundTrip_data() {
    QTest::addColumn<int>("last");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("0") << 0 << 1u;
    QTest::newRow("1") << 1 << 2u;
    QTest::newRow("7") << 7 << 3u;
    QTest::newRow("19") << 19 << 4u;
    QTest::newRow("19 again") << 19 << 5u;
}

void TestRcfFormat::textRoundTrip() {
    QFETCH(int, last);
    QFETCH(quint32, seed);
    const ControlDocument original = randomDoc(last, seed);
    const QByteArray text = rcf::writeText(original);
    ControlDocument read;
    QVERIFY(read.setLastPrizeIndex(last));
    rcf::ReadReport report;
    QString error;
    QVERIFY2(rcf::readText(text, read, &report, &error), qPrintable(error));
    QVERIFY(read == original);
    QCOMPARE(report.assignmentLines, assignmentLineCount(last));
    QCOMPARE(report.writtenLastPrizeIndex, std::optional<int>(last));
    QCOMPARE(rcf::writeText(read), text);
}

void TestRcfFormat::otherLayout_data() {
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("loaded");
    QTest::newRow("larger file") << 3 << 1;
    QTest::newRow("smaller file") << 1 << 3;
    QTest::newRow("twenty prizes into none") << 19 << 0;
    QTest::newRow("none into twenty prizes") << 0 << 19;
}

// A file written for another reel data file is read line by line in the loaded layout:
// values move to other keys, surplus lines are ignored, missing lines leave entries as
// they were. The report tells which LastPrizeIndex the file was written with.
void TestRcfFormat::otherLayout() {
    QFETCH(int, written);
    QFETCH(int, loaded);
    ControlDocument writer;
    QVERIFY(writer.setLastPrizeIndex(written));
    auto lineValue = [](int line) { return std::int16_t(line % 30000 + 1); };
    forEachKey([&](const AssignmentKey& k) {
        if (inLayout(k, written)) writer.setAssignment(k, lineValue(fileLine(k, written)));
    });
    ControlDocument reader;
    QVERIFY(reader.setLastPrizeIndex(loaded));
    for (std::int16_t& v : reader.assignments()) v = -7;

    rcf::ReadReport report;
    QString error;
    QVERIFY2(rcf::readText(rcf::writeText(writer), reader, &report, &error), qPrintable(error));
    QCOMPARE(report.writtenLastPrizeIndex, std::optional<int>(written));
    const int writtenLines = int(assignmentLineCount(written));
    int wrong = 0;
    forEachKey([&](const AssignmentKey& k) {
        std::int16_t expected = -7;
        if (inLayout(k, loaded) && fileLine(k, loaded) < writtenLines)
            expected = lineValue(fileLine(k, loaded));
        if (reader.assignment(k) != expected) ++wrong;
    });
    QCOMPARE(wrong, 0);
}

void TestRcfFormat::brokenTables_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("where");
    const QByteArray good = rcf::writeText(fixtureDoc());
    auto replaceLine = [&](int line, const QByteArray& with) {
        QList<QByteArray> lines = good.split('\n');
        lines[line] = with + '\r';
        return lines.join('\n');
    };
    QTest::newRow("empty") << QByteArray() << "停止テーブル 1 ";
    QTest::newRow("comment only") << firstLines(good, 1) << "停止テーブル 1 ";
    QTest::newRow("inside stop tables") << firstLines(good, 100).chopped(5) << "停止テーブル 5 ";
    QTest::newRow("after stop tables")
        << firstLines(good, Section1Lines) << "基本テーブル 1 のテーブル1 ";
    QTest::newRow("inside base tables") << firstLines(good, Section1Lines + 20) + " 5 "
                                        << "基本テーブル 3 のテーブル5 ";
    QTest::newRow("word in stop table") << replaceLine(30, "0,x,4") << "停止テーブル 2 ";
    QTest::newRow("over 16 bits in stop table") << replaceLine(1, "40000,0,0") << "停止テーブル 1 ";
    QTest::newRow("fraction in base table")
        << replaceLine(Section1Lines + 9, " 1.5  3 ") << "基本テーブル 2 のテーブル2 ";
    QTest::newRow("word in base table")
        << replaceLine(Section1Lines + 4095, " 1 abc ") << "基本テーブル 512 のテーブル8 ";
}

// Stop and base tables must be complete: otherwise nothing of the file is taken.
void TestRcfFormat::brokenTables() {
    QFETCH(QByteArray, text);
    QFETCH(QString, where);
    ControlDocument doc = randomDoc(0, 9);
    const ControlDocument before = doc;
    rcf::ReadReport report;
    report.assignmentLines = -1;
    QString error;
    QVERIFY(!rcf::readText(text, doc, &report, &error));
    QVERIFY(doc == before);
    QVERIFY2(error.startsWith(where), qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("行目")), qPrintable(error));
    QCOMPARE(report.assignmentLines, qsizetype(-1));
}

// Random edits of the assignment section (blanks, signs, letters, commas, quotes, lone
// line ends, long digit runs, cuts): the document and the line count are those that the
// field reader gives value by value.
void TestRcfFormat::assignmentsReadAsTheFieldReaderReads() {
    const QByteArray good = rcf::writeText(randomDoc(1, 41));
    const QByteArray tables = firstLines(good, Section1Lines + Section2Lines);
    const QByteArray pieces[] = {" ",  "-",  "+",    "x",       ",", "\"",
                                 "\r", "\n", "\r\n", "1234567", "\t"};
    QRandomGenerator rng(42);
    for (int round = 0; round < 60; ++round) {
        QByteArray section = good.mid(tables.size());
        for (int k = rng.bounded(1, 12); k > 0; --k) {
            const qsizetype at = rng.bounded(section.size() + 1);
            if (rng.bounded(3) == 0)
                section.remove(at, rng.bounded(1, 4));
            else
                section.insert(at, pieces[rng.bounded(int(std::size(pieces)))]);
        }
        if (round % 4 == 0) section.truncate(rng.bounded(section.size() + 1));
        ControlDocument doc, expected;
        doc.setLastPrizeIndex(1);
        expected.setLastPrizeIndex(1);
        rcf::ReadReport report;
        QVERIFY(rcf::readText(tables + section, doc, &report, nullptr));
        QVERIFY(rcf::readText(tables, expected, nullptr, nullptr));
        FieldReader r(section);
        const qsizetype lines = r.remainingLines();
        forEachFileKey(1, [&](const AssignmentKey& key) {
            std::int16_t v = expected.assignment(key);
            if (!r.atEnd() && r.readInt16(v)) expected.setAssignment(key, v);
        });
        QCOMPARE(report.assignmentLines, lines);
        QVERIFY2(doc == expected, qPrintable(QString::number(round)));
    }
}

void TestRcfFormat::lenientAssignments_data() {
    QTest::addColumn<QByteArray>("assignments");
    QTest::addColumn<QList<int>>("expected");  // first entries after the read, others kept
    QTest::addColumn<int>("lines");
    QTest::newRow("absent") << QByteArray() << QList<int>{-7, -7, -7} << 0;
    QTest::newRow("word skipped") << QByteArray(" 5 \r\n x \r\n 6 \r\n") << QList<int>{5, -7, 6}
                                  << 3;
    QTest::newRow("over 16 bits skipped")
        << QByteArray(" 40000 \r\n-2 \r\n") << QList<int>{-7, -2, -7} << 2;
    QTest::newRow("empty line skipped")
        << QByteArray(" 5 \r\n\r\n 6 \r\n") << QList<int>{5, -7, 6} << 3;
    QTest::newRow("last line without line end")
        << QByteArray(" 5 \r\n 6") << QList<int>{5, 6, -7} << 2;
}

// The assignment section may be short or hold bad values: the entries not read keep
// their values and no failure is reported.
void TestRcfFormat::lenientAssignments() {
    QFETCH(QByteArray, assignments);
    QFETCH(QList<int>, expected);
    QFETCH(int, lines);
    const QByteArray text =
        firstLines(rcf::writeText(fixtureDoc()), Section1Lines + Section2Lines) + assignments;
    ControlDocument doc;
    for (std::int16_t& v : doc.assignments()) v = -7;
    rcf::ReadReport report;
    QString error;
    QVERIFY2(rcf::readText(text, doc, &report, &error), qPrintable(error));
    QCOMPARE(report.assignmentLines, qsizetype(lines));
    QCOMPARE(report.writtenLastPrizeIndex, std::optional<int>());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(doc.assignment({0, 0, 0, 0, 0, 0, i + 1}), std::int16_t(expected[i]));
    int kept = 0;
    for (std::int16_t v : doc.assignments()) kept += v == -7;
    QCOMPARE(kept, AssignmentCount - int(expected.size() - expected.count(-7)));
    // The tables were still taken.
    QCOMPARE(doc.baseSlot(1, 1), (BaseSlot{256, 512}));
}

void TestRcfFormat::comments_data() {
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("japanese") << QStringLiteral("ＢＢ揃い・中段")
                              << QStringLiteral("ＢＢ揃い・中段");
    QTest::newRow("quote inside") << QStringLiteral("引き込み\"強\"")
                                  << QStringLiteral("引き込み\"強\"");
    QTest::newRow("trailing blanks") << QStringLiteral("x  ") << QStringLiteral("x  ");
    QTest::newRow("comma") << QStringLiteral("左,中,右") << QStringLiteral("左，中，右");
    QTest::newRow("opening quote")
        << QStringLiteral("\"強\" 引き込み") << QStringLiteral("＂強\" 引き込み");
    QTest::newRow("quote after blanks") << QStringLiteral("  \"a") << QStringLiteral("＂a");
    QTest::newRow("line breaks") << QStringLiteral("上段\r\n下段\n")
                                 << QStringLiteral("上段  下段 ");
    QTest::newRow("leading blanks dropped") << QStringLiteral("  x") << QStringLiteral("x");
    QTest::newRow("outside code page 932")
        << QStringLiteral("\u00e9t\u00e9") << QStringLiteral("?t?");
}

// Whatever a comment holds, it reads back as one field and the stop values after it stay
// in place.
void TestRcfFormat::comments() {
    QFETCH(QString, comment);
    QFETCH(QString, readBack);
    ControlDocument doc = fixtureDoc();
    doc.setComment(1, comment);
    doc.setComment(2, comment);
    ControlDocument read;
    QString error;
    QVERIFY2(rcf::readText(rcf::writeText(doc), read, nullptr, &error), qPrintable(error));
    QCOMPARE(read.comment(1), readBack);
    QCOMPARE(read.comment(2), readBack);
    read.setComment(1, comment);
    read.setComment(2, comment);
    QVERIFY(read == doc);
}

void TestRcfFormat::archiveHoldsOneTextMember_data() {
    QTest::addColumn<int>("last");
    QTest::newRow("start values, no prize data") << 0;
    QTest::newRow("varied, one") << 1;
    QTest::newRow("varied, twenty prizes") << 19;
}

// The simulator takes the one member "dummy.dat" and expects exactly the text.
void TestRcfFormat::archiveHoldsOneTextMember() {
    QFETCH(int, last);
    const ControlDocument doc = last == 0 ? ControlDocument() : randomDoc(last, 11);
    QString error;
    const QByteArray bytes = rcf::packArchive(doc, &error);
    QVERIFY2(!bytes.isEmpty(), qPrintable(error));
    lzh::Archive archive;
    QVERIFY2(archive.openBytes(bytes), qPrintable(archive.errorString()));
    QCOMPARE(archive.memberNames(), QStringList{QStringLiteral("dummy.dat")});
    const auto member = archive.read(QStringLiteral("dummy.dat"));
    QVERIFY(member.has_value());
    QVERIFY(*member == rcf::writeText(doc));
}

void TestRcfFormat::fileRoundTripLeavesNoTemporary_data() {
    QTest::addColumn<int>("last");
    QTest::newRow("0") << 0;
    QTest::newRow("1") << 1;
    QTest::newRow("19") << 19;
}

// Save and load go through memory only: the folders of the archive and of the program
// get no "dummy.dat", and an author's own "dummy.dat" there is left alone.
void TestRcfFormat::fileRoundTripLeavesNoTemporary() {
    QFETCH(int, last);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString authorFile = dir.filePath(QStringLiteral("dummy.dat"));
    {
        QFile own(authorFile);
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write("author's notes");
    }
    const QString oldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const QString path = dir.filePath(QStringLiteral("machine.rcf"));

    const ControlDocument original = randomDoc(last, 21 + last);
    QString error;
    const bool saved = rcf::writeFile(path, original, &error);
    ControlDocument read;
    QVERIFY(read.setLastPrizeIndex(last));
    rcf::ReadReport report;
    QString readError;
    const bool loaded = saved && rcf::readFile(path, read, &report, &readError);
    QDir::setCurrent(oldCurrent);

    QVERIFY2(saved, qPrintable(error));
    QVERIFY2(loaded, qPrintable(readError));
    QVERIFY(read == original);
    QCOMPARE(report.writtenLastPrizeIndex, std::optional<int>(last));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{QStringLiteral("dummy.dat"), QStringLiteral("machine.rcf")}));
    QFile own(authorFile);
    QVERIFY(own.open(QIODevice::ReadOnly));
    QCOMPARE(own.readAll(), QByteArray("author's notes"));
    QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/dummy.dat")));
}

void TestRcfFormat::independentArchives_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("-lh5-, header level 0") << "fixture_lh5_level0.rcf";
    QTest::newRow("-lh7-, header level 2") << "fixture_lh7_level2.rcf";
}

// Archives packed by another LZH program around a text made apart from our writer: the
// member is exactly our text, and it loads into the fixture document.
void TestRcfFormat::independentArchives() {
    QFETCH(QString, file);
    const QString path = QStringLiteral(TEST_DATA_DIR "/") + file;
    lzh::Archive archive;
    QVERIFY2(archive.openFile(path), qPrintable(archive.errorString()));
    const auto member = archive.read(QStringLiteral("dummy.dat"));
    QVERIFY(member.has_value());
    QVERIFY(*member == rcf::writeText(fixtureDoc()));

    ControlDocument doc = randomDoc(0, 41);
    rcf::ReadReport report;
    QString error;
    QVERIFY2(rcf::readFile(path, doc, &report, &error), qPrintable(error));
    QVERIFY(doc == fixtureDoc());
    QCOMPARE(report.writtenLastPrizeIndex, std::optional<int>(0));
}

void TestRcfFormat::badArchive_data() {
    QTest::addColumn<QByteArray>("bytes");  // empty: no file at all
    QTest::addColumn<QString>("reason");
    const QByteArray text = rcf::writeText(fixtureDoc());
    const QByteArray good = lzh::writeArchive({{QStringLiteral("dummy.dat"), text}});
    QByteArray damaged = good;
    if (damaged.size() > 200)
        damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x55);
    QTest::newRow("missing file") << QByteArray() << QStringLiteral("ありません");
    QTest::newRow("not an archive") << QByteArray("0,0,0\r\n0,0,0\r\n") << QStringLiteral("LZH");
    QTest::newRow("cut archive") << good.left(good.size() / 2) << QString();
    QTest::newRow("damaged member") << damaged << QString();
    QTest::newRow("no dummy.dat") << lzh::writeArchive({{QStringLiteral("other.dat"), text}})
                                  << QStringLiteral("dummy.dat がありません");
    QTest::newRow("dummy.dat twice") << lzh::writeArchive({{QStringLiteral("dummy.dat"), text},
                                                           {QStringLiteral("DUMMY.DAT"), text}})
                                     << QStringLiteral("dummy.dat が 2 個あります");
    QList<lzh::Member> many(lzh::Archive::kMaxMembers, {QStringLiteral("a.txt"), QByteArray()});
    many.append({QStringLiteral("dummy.dat"), text});
    QTest::newRow("too many members") << lzh::writeArchive(many) << QStringLiteral("多すぎます");
    QTest::newRow("text cut in the base tables")
        << lzh::writeArchive({{QStringLiteral("dummy.dat"), firstLines(text, Section1Lines + 3)}})
        << QStringLiteral("基本テーブル 1 のテーブル4");
}

// A load that cannot complete says why and leaves the open document as it was.
void TestRcfFormat::badArchive() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.rcf"));
    if (!bytes.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    ControlDocument doc = randomDoc(1, 31);
    const ControlDocument before = doc;
    QString error;
    QVERIFY(!rcf::readFile(path, doc, nullptr, &error));
    QVERIFY(doc == before);
    QVERIFY(!error.isEmpty());
    QVERIFY2(error.contains(reason), qPrintable(error));
}

// A save into a folder that does not exist fails with a reason and creates nothing; a
// member stored as "DUMMY.DAT" (archivers on Windows may do so) still loads.
void TestRcfFormat::saveFailureIsReported() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gone/machine.rcf"));
    QString error;
    QVERIFY(!rcf::writeFile(path, fixtureDoc(), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(path));

    const QByteArray upper =
        lzh::writeArchive({{QStringLiteral("DUMMY.DAT"), rcf::writeText(fixtureDoc())}});
    ControlDocument doc;
    QVERIFY2(rcf::unpackArchive(upper, doc, nullptr, &error), qPrintable(error));
    QVERIFY(doc == fixtureDoc());
}

QTEST_GUILESS_MAIN(TestRcfFormat)
#include "tst_rcfformat.moc"
