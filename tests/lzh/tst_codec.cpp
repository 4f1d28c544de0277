// The -lh5- codec beside liblhasa and the archivers of other systems: our decoder gives
// what liblhasa gives for every stream it takes, the encoder's bytes do not depend on its
// threads, and what we write every other LZH program reads.
#include <lhasa.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstring>

#include "archive.h"
#include "lh5encoder.h"
#include "lhdecoder.h"

namespace {

QByteArray readData(const QString& name) {
    QFile f(QStringLiteral(TEST_DATA_DIR "/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Lines like those of a reel control text: a pool of table numbers, runs of equal lines.
QByteArray tableLines(int lines, int pool, quint32 seed) {
    QRandomGenerator rng(seed);
    QByteArray b;
    for (int i = 0; i < lines; ++i) {
        const int run = rng.bounded(8) == 0 ? rng.bounded(1, 200) : 1;
        const QByteArray line = ' ' + QByteArray::number(rng.bounded(1, pool + 1)) + " \r\n";
        for (int k = 0; k < run; ++k) b += line;
    }
    return b;
}

struct Packed {
    QByteArray method;  // "-lh5-" ...
    QByteArray data;    // the packed stream
    quint64 size;       // the bytes it unpacks to
};

// The one member of a level 2 archive.
Packed memberOf(const QByteArray& archive) {
    const auto get32 = [&](int at) {
        quint32 v = 0;
        for (int k = 3; k >= 0; --k) v = v << 8 | quint8(archive[at + k]);
        return v;
    };
    const int header = quint8(archive[0]) | quint8(archive[1]) << 8;
    return {archive.mid(2, 5), archive.mid(header, get32(7)), get32(11)};
}

struct Feed {
    const QByteArray* data;
    qsizetype pos;
};

std::optional<QByteArray> liblhasa(const Packed& p) {
    QByteArray method = p.method;
    LHADecoderType* type = lha_decoder_for_name(method.data());
    if (!type) return std::nullopt;
    Feed feed{&p.data, 0};
    const auto callback = [](void* buf, std::size_t len, void* handle) -> std::size_t {
        auto* f = static_cast<Feed*>(handle);
        const auto n = std::min<qsizetype>(qsizetype(len), f->data->size() - f->pos);
        std::memcpy(buf, f->data->constData() + f->pos, std::size_t(n));
        f->pos += n;
        return std::size_t(n);
    };
    LHADecoder* decoder = lha_decoder_new(type, callback, &feed, p.size);
    QByteArray out(qsizetype(p.size), '\0');
    std::size_t got = 0;
    while (got < p.size) {
        const std::size_t n =
            lha_decoder_read(decoder, reinterpret_cast<uint8_t*>(out.data()) + got, p.size - got);
        if (n == 0) break;
        got += n;
    }
    lha_decoder_free(decoder);
    if (got != p.size) return std::nullopt;
    return out;
}

std::optional<QByteArray> ours(const Packed& p) {
    QByteArray out(qsizetype(p.size), '\0');
    if (!lzh::decodeLh(lzh::dictionaryBits(p.method.constData()),
                       reinterpret_cast<const std::uint8_t*>(p.data.constData()),
                       std::size_t(p.data.size()), reinterpret_cast<std::uint8_t*>(out.data()),
                       p.size))
        return std::nullopt;
    return out;
}

QByteArray compress(const QByteArray& data, int threads) {
    std::vector<std::uint8_t> out;
    if (!lzh::compressLh5(reinterpret_cast<const std::uint8_t*>(data.constData()),
                          std::size_t(data.size()), out, threads))
        return {};
    return QByteArray(reinterpret_cast<const char*>(out.data()), qsizetype(out.size()));
}

}  // namespace

class CodecTest : public QObject {
    Q_OBJECT
private slots:
    void decoderAgreesWithLiblhasa();
    void encoderThreadsGiveTheSameBytes();
    void otherArchiversRead_data();
    void otherArchiversRead();
};

// Streams of our encoder and of jlha (all three methods), whole and damaged: whenever our
// decoder takes a stream, liblhasa gives the same bytes from it. The whole ones it takes.
void CodecTest::decoderAgreesWithLiblhasa() {
    QList<Packed> streams;
    for (const QByteArray& text :
         {tableLines(3000, 40, 1), tableLines(20000, 300, 2), QByteArray(70000, ' '),
          QByteArray("0,2,4\r\n").repeated(3000) + tableLines(500, 5, 3)})
        streams.append(
            memberOf(lzh::writeArchive({{QStringLiteral("dummy.dat"), text}}, qint64{0})));
    for (const char* file : {"lh5_level2.lzh", "lh6_level2.lzh", "lh7_level2.lzh"})
        streams.append(memberOf(readData(QString::fromLatin1(file))));

    QRandomGenerator rng(77);
    for (const Packed& whole : streams) {
        QCOMPARE(whole.method.left(3), QByteArray("-lh"));
        const std::optional<QByteArray> expected = liblhasa(whole);
        QVERIFY(expected.has_value());
        QCOMPARE(ours(whole), expected);
        for (int round = 0; round < 300; ++round) {
            Packed p = whole;
            switch (round % 4) {
                case 0:  // a few flipped bits
                    for (int k = rng.bounded(1, 4); k > 0; --k)
                        p.data[rng.bounded(p.data.size())] ^= char(1 << rng.bounded(8));
                    break;
                case 1:  // cut short
                    p.data.truncate(rng.bounded(p.data.size()));
                    break;
                case 2:  // more bytes asked for than were packed
                    p.size += quint64(rng.bounded(1, 5000));
                    break;
                default:  // random bytes from some point on
                    for (qsizetype i = rng.bounded(p.data.size()); i < p.data.size(); ++i)
                        p.data[i] = char(rng.bounded(256));
            }
            const std::optional<QByteArray> mine = ours(p);
            if (mine) QCOMPARE(mine, liblhasa(p));
        }
    }
}

// The two halves of a large input are coded on two threads; the bytes are those of one.
void CodecTest::encoderThreadsGiveTheSameBytes() {
    for (const QByteArray& data : {tableLines(160000, 300, 4), tableLines(120000, 3, 5)}) {
        QVERIFY(data.size() > 600000);
        const QByteArray one = compress(data, 1);
        QVERIFY(!one.isEmpty());
        QCOMPARE(compress(data, 2), one);
        QCOMPARE(compress(data, 2), one);
    }
}

void CodecTest::otherArchiversRead_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("control lines") << tableLines(150000, 300, 6);
    QTest::newRow("runs of equal lines") << tableLines(60000, 2, 7);
    QByteArray bytes;
    for (int i = 0; i < 60000; ++i) bytes += char((i * 7 + i / 256) & 0xFF);
    QTest::newRow("every byte value") << bytes;
    QByteArray window = tableLines(1200, 500, 8).left(8192);
    QTest::newRow("repeats 8192 bytes back") << window.repeated(5);
    QTest::newRow("one byte") << QByteArray(300000, 'x');
}

// Our archive unpacked by lhasa, 7-Zip, bsdtar, unar and jlha (each where installed).
void CodecTest::otherArchiversRead() {
    QFETCH(QByteArray, text);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString archive = dir.filePath(QStringLiteral("control.rcf"));
    QFile f(archive);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(lzh::writeArchive({{QStringLiteral("dummy.dat"), text}}));
    f.close();
    const QList<QStringList> commands = {
        {QStringLiteral("lha"), QStringLiteral("xq"), archive},
        {QStringLiteral("7zz"), QStringLiteral("e"), QStringLiteral("-y"), archive},
        {QStringLiteral("bsdtar"), QStringLiteral("-xf"), archive},
        {QStringLiteral("unar"), QStringLiteral("-q"), QStringLiteral("-f"), archive},
        {QStringLiteral("jlha"), QStringLiteral("xq"), archive},
    };
    int ran = 0;
    for (const QStringList& command : commands) {
        if (QStandardPaths::findExecutable(command[0]).isEmpty()) {
            qWarning("%s is not installed", qPrintable(command[0]));
            continue;
        }
        const QString out = dir.filePath(command[0]);
        QVERIFY(QDir().mkpath(out));
        QProcess p;
        p.setWorkingDirectory(out);
        p.start(command[0], command.mid(1));
        QVERIFY2(p.waitForFinished(60000), qPrintable(command[0]));
        QFile extracted(out + QStringLiteral("/dummy.dat"));
        QVERIFY2(extracted.open(QIODevice::ReadOnly),
                 qPrintable(command[0] + QStringLiteral(": ") + p.readAllStandardError()));
        QVERIFY2(extracted.readAll() == text, qPrintable(command[0]));
        ++ran;
    }
    if (ran == 0) QSKIP("no other LZH archiver is installed");
}

QTEST_GUILESS_MAIN(CodecTest)
#include "tst_codec.moc"
