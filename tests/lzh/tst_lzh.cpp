#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

#include "archive.h"
#include "crc16.h"

namespace {

constexpr qint64 kStamp = 1700000000;  // a fixed time stamp keeps the archives comparable

QByteArray readData(const QString& name) {
    QFile f(QStringLiteral(TEST_DATA_DIR "/") + name);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

// Text laid out like a reel control text: stop tables, base tables, then one line per
// assignment. With start values it is long runs of equal lines; with varied values it
// is random stop indexes and base tables, assignments drawn from a pool of tables.
QByteArray controlText(int lastPrize, bool varied, quint32 seed = 1) {
    QRandomGenerator rng(seed);
    QByteArray b;
    const auto spaced = [&b](int v) {
        b += v < 0 ? '-' : ' ';
        b += QByteArray::number(v < 0 ? -v : v);
        b += ' ';
    };
    for (int t = 0; t < 512; ++t) {
        b += "\r\n";
        for (int p = 0; p < 21; ++p) {
            for (int r = 0; r < 3; ++r) {
                if (r) b += ',';
                b += QByteArray::number(varied ? rng.bounded(5) : 0);
            }
            b += "\r\n";
        }
    }
    for (int i = 0; i < 4096; ++i) {
        spaced(varied ? rng.bounded(257) : 0);
        spaced(varied ? rng.bounded(1, 513) : 0);
        b += "\r\n";
    }
    QList<int> pool(300);
    for (int& v : pool) v = rng.bounded(1, 513);
    for (int state = 0; state < 4; ++state) {
        const int groups = state == 2 ? 1 : 54;
        for (int g = 0; g < groups; ++g)
            for (int flag = 0; flag <= lastPrize + 1; ++flag)
                for (int k = 0; k < 105; ++k) {
                    spaced(varied ? pool[rng.bounded(pool.size())] : (flag <= 19 ? 1 : 0));
                    b += "\r\n";
                }
    }
    return b;
}

QByteArray randomBytes(qsizetype size, quint32 seed) {
    QRandomGenerator rng(seed);
    QByteArray b(size, Qt::Uninitialized);
    for (char& c : b) c = static_cast<char>(rng.bounded(256));
    return b;
}

// Lines from a small vocabulary: compressible, but with matches of every length.
QByteArray wordText(qsizetype size, quint32 seed) {
    static const char* const words[] = {"reel", "stop", "table", "prize", "flag",   "bonus",
                                        " 1 ",  " 0 ",  "0,2,4", "\r\n",  "リール", "停止"};
    QRandomGenerator rng(seed);
    QByteArray b;
    while (b.size() < size) b += QByteArray(words[rng.bounded(12)]) + ' ';
    b.truncate(size);
    return b;
}

QByteArray repeated(const QByteArray& unit, qsizetype size) {
    QByteArray b;
    b.reserve(size + unit.size());
    while (b.size() < size) b += unit;
    b.truncate(size);
    return b;
}

quint16 get16(const QByteArray& b, qsizetype at) {
    return static_cast<quint16>(static_cast<quint8>(b[at]) | (static_cast<quint8>(b[at + 1]) << 8));
}
void put16(QByteArray& b, qsizetype at, quint16 v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}

// Where the common extended header of the first (level 2) header keeps the header CRC.
qsizetype headerCrcAt(const QByteArray& archive) {
    qsizetype at = 24;
    while (at + 2 < archive.size()) {
        const quint16 size = get16(archive, at);
        if (size == 0) break;
        if (archive[at + 2] == '\0') return at + 3;
        at += size;
    }
    return -1;
}
// Recomputes the header CRC of the first header after it was changed on purpose.
void resealHeader(QByteArray& archive) {
    const qsizetype crcAt = headerCrcAt(archive);
    QVERIFY(crcAt > 0);
    put16(archive, crcAt, 0);
    const quint16 size = get16(archive, 0);
    put16(archive, crcAt, lzh::crc16(archive.constData(), size));
}

}  // namespace

class LzhTest : public QObject {
    Q_OBJECT
private slots:
    void crc16KnownValues();
    void roundTrip_data();
    void roundTrip();
    void compressesControlText_data();
    void compressesControlText();
    void manyMembers();
    void levelTwoHeader();
    void headerSizeAvoidsZeroLowByte();
    void refusesMembersTheFormatCannotHold();
    void readsIndependentArchives_data();
    void readsIndependentArchives();
    void readsNamesOfIndependentArchives();
    void damagedArchives_data();
    void damagedArchives();
    void crcMismatchIsDamage();
    void unsupportedMethod();
    void memberSizeLimit();
    void memberCountLimit();
    void failedOpenForgetsTheOldArchive();
    void openFile();
};

void LzhTest::crc16KnownValues() {
    // The check value of the CRC-16 that LZH uses (reflected 0x8005, start 0).
    QCOMPARE(lzh::crc16("123456789", 9), quint16(0xBB3D));
    QCOMPARE(lzh::crc16("", 0), quint16(0));
    // Every length and start against the plain bitwise definition, so the eight-byte
    // steps and the tail agree.
    const QByteArray data = randomBytes(300, 7);
    for (int start = 0; start < 9; ++start) {
        for (int len = 0; start + len <= data.size(); len += 1 + len / 8) {
            unsigned crc = 0;
            for (int i = start; i < start + len; ++i) {
                crc ^= static_cast<quint8>(data[i]);
                for (int k = 0; k < 8; ++k) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
            }
            QCOMPARE(lzh::crc16(data.constData() + start, static_cast<std::size_t>(len)),
                     quint16(crc));
        }
    }
    // Going on from an earlier value equals one pass.
    const quint16 half = lzh::crc16(data.constData(), 123);
    QCOMPARE(lzh::crc16(data.constData() + 123, 177, half), lzh::crc16(data.constData(), 300));
}

void LzhTest::roundTrip_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("method");

    QTest::newRow("empty") << QByteArray() << QByteArray("-lh0-");
    QTest::newRow("one byte") << QByteArray("A") << QByteArray("-lh0-");
    QTest::newRow("three equal bytes") << QByteArray("zzz") << QByteArray("-lh0-");
    for (const int size : {8191, 8192, 8193, 16383, 16384, 16385})
        QTest::newRow(qPrintable(QStringLiteral("text of %1").arg(size)))
            << wordText(size, static_cast<quint32>(size)) << QByteArray("-lh5-");
    // Repeats exactly at the farthest distance the window reaches, and just beyond it.
    QTest::newRow("repeat at 8192") << repeated(randomBytes(8192, 1), 40000) << QByteArray("-lh5-");
    QTest::newRow("repeat at 8193") << repeated(randomBytes(8193, 2), 40000) << QByteArray("-lh0-");
    QTest::newRow("repeat at 8191") << repeated(randomBytes(8191, 3), 40000) << QByteArray("-lh5-");
    QTest::newRow("run of one byte") << QByteArray(1 << 20, 'x') << QByteArray("-lh5-");
    QTest::newRow("run of zero bytes") << QByteArray(300000, '\0') << QByteArray("-lh5-");
    QTest::newRow("run of lines") << repeated(" 1 \r\n", 2000000) << QByteArray("-lh5-");
    QTest::newRow("run ending inside a match")
        << repeated("0,0,0\r\n", 100003) << QByteArray("-lh5-");
    QTest::newRow("random bytes") << randomBytes(100000, 4) << QByteArray("-lh0-");
    QTest::newRow("random then text")
        << randomBytes(20000, 5) + wordText(200000, 6) << QByteArray("-lh5-");
    // Small alphabet: many literals, more codes than one block can hold.
    QByteArray digits = randomBytes(400000, 8);
    for (char& c : digits) c = static_cast<char>('0' + static_cast<quint8>(c) % 3);
    QTest::newRow("many literals") << digits << QByteArray("-lh5-");
    QByteArray everyByte;
    for (int i = 0; i < 60000; ++i) everyByte += static_cast<char>((i * 7 + i / 256) & 0xFF);
    QTest::newRow("every byte value") << everyByte << QByteArray("-lh5-");
    QTest::newRow("2 MB of varied control text") << controlText(19, true) << QByteArray("-lh5-");
    QTest::newRow("control text of start values") << controlText(19, false) << QByteArray("-lh5-");
}

// Our writer, then liblhasa: the same bytes come back, compressed when they shrink.
void LzhTest::roundTrip() {
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, method);
    const QByteArray archive = lzh::writeArchive({{QStringLiteral("dummy.dat"), data}}, kStamp);
    QVERIFY(!archive.isEmpty());
    QCOMPARE(archive.mid(2, 5), method);
    if (method == "-lh0-") QCOMPARE(archive.size(), get16(archive, 0) + data.size() + 1);
    lzh::Archive a;
    QVERIFY2(a.openBytes(archive), qPrintable(a.errorString()));
    QCOMPARE(a.memberNames(), QStringList{QStringLiteral("dummy.dat")});
    const std::optional<QByteArray> back = a.read(QStringLiteral("dummy.dat"));
    QVERIFY2(back.has_value(), qPrintable(a.errorString()));
    QCOMPARE(back->size(), data.size());
    QVERIFY(*back == data);
}

void LzhTest::compressesControlText_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("start values, last prize 19") << controlText(19, false);
    QTest::newRow("start values, last prize 0") << controlText(0, false);
    QTest::newRow("varied values, last prize 19") << controlText(19, true, 11);
    QTest::newRow("varied values, last prize 1") << controlText(1, true, 12);
}

// The archive is no larger than what gzip -9 makes of the same text (zlib's best
// deflate with the 18 bytes of a gzip header and trailer).
void LzhTest::compressesControlText() {
    QFETCH(QByteArray, text);
    const QByteArray archive = lzh::writeArchive({{QStringLiteral("dummy.dat"), text}}, kStamp);
    const qsizetype deflated = qCompress(text, 9).size() - 4 - 2 - 4;
    QVERIFY2(archive.size() <= deflated + 18,
             qPrintable(QStringLiteral("%1 > %2").arg(archive.size()).arg(deflated + 18)));
}

void LzhTest::manyMembers() {
    QList<lzh::Member> members;
    members.append({QStringLiteral("dummy.dat"), controlText(0, true, 3)});
    members.append({QStringLiteral("リール制御.txt"), QByteArray("テキスト\r\n").repeated(50)});
    members.append({QStringLiteral("empty.bin"), QByteArray()});
    members.append({QStringLiteral("machine/reels.sdf"), wordText(30000, 9)});
    members.append({QStringLiteral("Mixed Case.Txt"), randomBytes(500, 10)});
    members.append({QStringLiteral("a/b/c.dat"), QByteArray("x")});
    const QByteArray archive = lzh::writeArchive(members, kStamp);
    lzh::Archive a;
    QVERIFY2(a.openBytes(archive), qPrintable(a.errorString()));
    QStringList names;
    for (const lzh::Member& m : members) names << m.name;
    QCOMPARE(a.memberNames(), names);
    // Read in another order than written.
    for (qsizetype i = members.size() - 1; i >= 0; --i) {
        const std::optional<QByteArray> back = a.read(members[i].name);
        QVERIFY2(back.has_value(), qPrintable(a.errorString()));
        QVERIFY(*back == members[i].data);
    }
    QVERIFY(!a.read(QStringLiteral("missing.dat")).has_value());
    QCOMPARE(a.errorString(), QStringLiteral("書庫に「missing.dat」がありません。"));
}

void LzhTest::levelTwoHeader() {
    const QByteArray text = controlText(0, false);
    const QByteArray archive = lzh::writeArchive({{QStringLiteral("dummy.dat"), text}}, kStamp);
    const quint16 headerSize = get16(archive, 0);
    QCOMPARE(archive.mid(2, 5), QByteArray("-lh5-"));
    const auto get32 = [&archive](qsizetype at) {
        return static_cast<quint32>(get16(archive, at)) |
               (static_cast<quint32>(get16(archive, at + 2)) << 16);
    };
    QCOMPARE(get32(7) + headerSize + 1, static_cast<quint32>(archive.size()));  // then the end mark
    QCOMPARE(get32(11), static_cast<quint32>(text.size()));
    QCOMPARE(get32(15), static_cast<quint32>(kStamp));
    QCOMPARE(archive[20], '\x02');
    QCOMPARE(get16(archive, 21),
             lzh::crc16(text.constData(), static_cast<std::size_t>(text.size())));
    QVERIFY(archive.mid(24, headerSize - 24).contains("dummy.dat"));
    QCOMPARE(archive.back(), '\0');
    // The header CRC covers the header with its own field zero.
    QByteArray header = archive.left(headerSize);
    const qsizetype crcAt = headerCrcAt(archive);
    QVERIFY(crcAt > 0);
    const quint16 stored = get16(header, crcAt);
    put16(header, crcAt, 0);
    QCOMPARE(lzh::crc16(header.constData(), headerSize), stored);
}

// A header size whose low byte is zero would read as the end of the archive.
void LzhTest::headerSizeAvoidsZeroLowByte() {
    for (int nameLength = 200; nameLength < 240; ++nameLength) {
        const QString name = QString(nameLength - 4, QLatin1Char('n')) + QStringLiteral(".dat");
        const QByteArray archive = lzh::writeArchive({{name, QByteArray("data")}}, kStamp);
        QVERIFY(get16(archive, 0) % 256 != 0);
        lzh::Archive a;
        QVERIFY2(a.openBytes(archive), qPrintable(a.errorString()));
        QCOMPARE(a.memberNames(), QStringList{name});
        QCOMPARE(a.read(name).value_or(QByteArray()), QByteArray("data"));
    }
}

void LzhTest::refusesMembersTheFormatCannotHold() {
    for (const QString& name :
         {QString(), QStringLiteral("folder/"), QString(70000, QLatin1Char('n'))}) {
        QString why;
        QVERIFY(lzh::writeArchive({{name, QByteArray("x")}}, &why).isEmpty());
        QVERIFY(!why.isEmpty());  // the caller can tell the user why nothing was written
    }
    // No members at all is still an archive of its end mark.
    QCOMPARE(lzh::writeArchive({}), QByteArray(1, '\0'));
}

void LzhTest::readsIndependentArchives_data() {
    QTest::addColumn<QString>("file");
    for (const char* method : {"lh5", "lh6", "lh7"})
        for (int level = 0; level <= 2; ++level)
            QTest::newRow(qPrintable(QStringLiteral("-%1- level %2").arg(method).arg(level)))
                << QStringLiteral("%1_level%2.lzh").arg(method).arg(level);
    QTest::newRow("-lh0- level 2") << QStringLiteral("lh0_level2.lzh");
}

// Archives made by another LZH program (jlha; see data/make_archives.sh).
void LzhTest::readsIndependentArchives() {
    QFETCH(QString, file);
    const QByteArray expected = readData(QStringLiteral("dummy.dat"));
    QVERIFY(!expected.isEmpty());
    lzh::Archive a;
    QVERIFY2(a.openFile(QStringLiteral(TEST_DATA_DIR "/") + file), qPrintable(a.errorString()));
    QCOMPARE(a.memberNames(), QStringList{QStringLiteral("dummy.dat")});
    const std::optional<QByteArray> text = a.read(QStringLiteral("dummy.dat"));
    QVERIFY2(text.has_value(), qPrintable(a.errorString()));
    QVERIFY(*text == expected);
}

void LzhTest::readsNamesOfIndependentArchives() {
    lzh::Archive a;
    QVERIFY(a.openFile(QStringLiteral(TEST_DATA_DIR "/two_level0.lzh")));
    QCOMPARE(a.memberNames(),
             (QStringList{QStringLiteral("dummy.dat"), QStringLiteral("second.txt")}));
    QCOMPARE(a.read(QStringLiteral("second.txt")).value_or(QByteArray()),
             readData(QStringLiteral("second.txt")));
    QCOMPARE(a.read(QStringLiteral("dummy.dat")).value_or(QByteArray()),
             readData(QStringLiteral("dummy.dat")));

    // A name in code page 932.
    QVERIFY(a.openFile(QStringLiteral(TEST_DATA_DIR "/jpname_level2.lzh")));
    QCOMPARE(a.memberNames(), QStringList{QStringLiteral("リール.txt")});
    QCOMPARE(a.read(QStringLiteral("リール.txt")).value_or(QByteArray()), QByteArray("jp\n"));

    // A DOS name in capitals is listed in lower case and found either way.
    QVERIFY(a.openFile(QStringLiteral(TEST_DATA_DIR "/upper_level0.lzh")));
    QCOMPARE(a.memberNames(), QStringList{QStringLiteral("upper.dat")});
    QCOMPARE(a.read(QStringLiteral("UPPER.DAT")).value_or(QByteArray()),
             readData(QStringLiteral("dummy.dat")));
}

void LzhTest::damagedArchives_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("opens");  // the damage shows only when the member is read

    const QByteArray text = wordText(20000, 21);
    const QByteArray good = lzh::writeArchive({{QStringLiteral("dummy.dat"), text}}, kStamp);
    const int headerSize = get16(good, 0);
    const int dataEnd = good.size() - 1;

    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("only the end mark") << QByteArray(1, '\0') << false;
    QTest::newRow("text, not an archive") << QByteArray("0,0,0\r\n 1 \r\n") << false;
    QTest::newRow("random bytes") << randomBytes(5000, 22) << false;
    QTest::newRow("cut in the header") << good.left(headerSize - 5) << false;
    QTest::newRow("cut after the header") << good.left(headerSize) << false;
    QTest::newRow("cut in the data") << good.left(headerSize + 100) << false;
    QTest::newRow("cut one byte before the end mark") << good.left(dataEnd - 1) << false;
    QByteArray flipped = good;
    flipped[headerSize + (dataEnd - headerSize) / 2] ^= 0x10;
    QTest::newRow("flipped bit in the data") << flipped << true;
    QByteArray early = good;
    early[headerSize + 3] ^= 0x55;
    QTest::newRow("changed byte at the start of the data") << early << true;
    QByteArray badHeader = good;
    badHeader[headerSize - 5] ^= 0x01;  // in the name; the header CRC no longer fits
    QTest::newRow("changed header") << badHeader << false;
    QByteArray longer = good;
    put16(longer, 7, static_cast<quint16>(get16(longer, 7) + 10));
    resealHeader(longer);
    QTest::newRow("stated packed size beyond the end") << longer << false;
    QByteArray twoMembers = lzh::writeArchive(
        {{QStringLiteral("dummy.dat"), text}, {QStringLiteral("second.dat"), text}}, kStamp);
    QTest::newRow("second header cut") << twoMembers.left(dataEnd + 10) << false;
    QTest::newRow("garbage after a member") << good.left(dataEnd) + QByteArray("garbage") << false;
}

// Damage gives false and a reason, never a crash or a wrong text.
void LzhTest::damagedArchives() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, opens);
    lzh::Archive a;
    const bool opened = a.openBytes(bytes);
    QCOMPARE(opened, opens);
    if (!opened) {
        QVERIFY(!a.errorString().isEmpty());
        QVERIFY(a.memberNames().isEmpty());
        QVERIFY(!a.read(QStringLiteral("dummy.dat")).has_value());
        return;
    }
    QVERIFY(!a.read(QStringLiteral("dummy.dat")).has_value());
    QVERIFY2(a.errorString().startsWith(QStringLiteral("書庫が壊れています")),
             qPrintable(a.errorString()));
}

// The member's CRC-16 is checked: a header that promises other bytes is damage.
void LzhTest::crcMismatchIsDamage() {
    const QByteArray text = wordText(5000, 31);
    for (const QByteArray& data : {text, randomBytes(3000, 32)}) {  // packed and stored
        QByteArray archive = lzh::writeArchive({{QStringLiteral("dummy.dat"), data}}, kStamp);
        put16(archive, 21, get16(archive, 21) ^ 0x0100);
        resealHeader(archive);
        lzh::Archive a;
        QVERIFY2(a.openBytes(archive), qPrintable(a.errorString()));
        QVERIFY(!a.read(QStringLiteral("dummy.dat")).has_value());
        QCOMPARE(a.errorString(),
                 QStringLiteral("書庫が壊れています（「dummy.dat」のCRCが一致しません）。"));
    }
}

void LzhTest::unsupportedMethod() {
    QByteArray archive =
        lzh::writeArchive({{QStringLiteral("dummy.dat"), wordText(5000, 41)}}, kStamp);
    std::memcpy(archive.data() + 2, "-lh9-", 5);
    resealHeader(archive);
    lzh::Archive a;
    QVERIFY2(a.openBytes(archive), qPrintable(a.errorString()));
    QVERIFY(!a.read(QStringLiteral("dummy.dat")).has_value());
    QVERIFY2(a.errorString().contains(QStringLiteral("-lh9-")), qPrintable(a.errorString()));
}

// A header may state any size; the reader refuses a size beyond its bound before it
// allocates anything.
void LzhTest::memberSizeLimit() {
    const QByteArray text = wordText(5000, 51);
    QByteArray archive = lzh::writeArchive({{QStringLiteral("dummy.dat"), text}}, kStamp);
    lzh::Archive a;
    QVERIFY(a.openBytes(archive));
    a.setMaxMemberSize(4999);
    QVERIFY(!a.read(QStringLiteral("dummy.dat")).has_value());
    QVERIFY(a.errorString().contains(QStringLiteral("大きすぎます")));
    a.setMaxMemberSize(5000);
    QVERIFY(a.read(QStringLiteral("dummy.dat")).has_value());

    // 4 GiB stated for a few bytes of data: refused under the default bound.
    put16(archive, 11, 0xFFFF);
    put16(archive, 13, 0xFFFF);
    resealHeader(archive);
    lzh::Archive b;
    QVERIFY(b.openBytes(archive));
    QVERIFY(!b.read(QStringLiteral("dummy.dat")).has_value());
    QVERIFY(b.errorString().contains(QStringLiteral("大きすぎます")));
}

// Up to kMaxMembers members are listed; one more and the archive is refused unread.
void LzhTest::memberCountLimit() {
    QList<lzh::Member> members;
    for (int i = 0; i < lzh::Archive::kMaxMembers; ++i)
        members.append({QStringLiteral("m%1").arg(i), QByteArray()});
    lzh::Archive a;
    QVERIFY2(a.openBytes(lzh::writeArchive(members, kStamp)), qPrintable(a.errorString()));
    QCOMPARE(a.memberNames().size(), lzh::Archive::kMaxMembers);
    members.append({QStringLiteral("one more"), QByteArray("x")});
    QVERIFY(!a.openBytes(lzh::writeArchive(members, kStamp)));
    QVERIFY(a.memberNames().isEmpty());
    QVERIFY2(a.errorString().contains(QStringLiteral("多すぎます")), qPrintable(a.errorString()));
}

void LzhTest::failedOpenForgetsTheOldArchive() {
    lzh::Archive a;
    QVERIFY(a.openBytes(lzh::writeArchive({{QStringLiteral("dummy.dat"), QByteArray("abc")}})));
    QVERIFY(!a.openBytes(QByteArray("not an archive")));
    QVERIFY(a.memberNames().isEmpty());
    QVERIFY(!a.read(QStringLiteral("dummy.dat")).has_value());
}

void LzhTest::openFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    lzh::Archive a;
    QVERIFY(!a.openFile(dir.filePath(QStringLiteral("missing.rcf"))));
    QVERIFY(!a.errorString().isEmpty());
    QVERIFY(!a.openFile(dir.path()));  // a folder
    QVERIFY(!a.errorString().isEmpty());

    const QByteArray text = controlText(1, true, 61);
    QFile f(dir.filePath(QStringLiteral("control.rcf")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(lzh::writeArchive({{QStringLiteral("dummy.dat"), text}}));
    f.close();
    QVERIFY2(a.openFile(f.fileName()), qPrintable(a.errorString()));
    QVERIFY(a.read(QStringLiteral("dummy.dat")).value_or(QByteArray()) == text);
}

QTEST_GUILESS_MAIN(LzhTest)
#include "tst_lzh.moc"
