#include <QtEndian>
#include <QtTest>

#include "soundcheck.h"

namespace {

QByteArray le32(quint32 v) {
    char d[4];
    qToLittleEndian(v, d);
    return QByteArray(d, 4);
}
QByteArray be32(quint32 v) {
    char d[4];
    qToBigEndian(v, d);
    return QByteArray(d, 4);
}
QByteArray be16(quint16 v) {
    char d[2];
    qToBigEndian(v, d);
    return QByteArray(d, 2);
}

QByteArray riffChunk(const char* id, const QByteArray& body) {
    QByteArray c = QByteArray(id, 4) + le32(quint32(body.size())) + body;
    if (body.size() % 2) c.append('\0');
    return c;
}

// PCM, by default mono, 8000 Hz, 16 bits.
QByteArray fmtBody(quint16 channels = 1, quint16 bits = 16, quint32 rate = 8000) {
    char d[16];
    qToLittleEndian<quint16>(1, d);
    qToLittleEndian<quint16>(channels, d + 2);
    qToLittleEndian<quint32>(rate, d + 4);
    qToLittleEndian<quint32>(rate * channels * bits / 8, d + 8);
    qToLittleEndian<quint16>(quint16(channels * bits / 8), d + 12);
    qToLittleEndian<quint16>(bits, d + 14);
    return QByteArray(d, 16);
}

QByteArray waveFile(const QByteArray& chunks) {
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

QByteArray midiHeader(quint16 format, quint16 tracks, quint16 division = 96) {
    return "MThd" + be32(6) + be16(format) + be16(tracks) + be16(division);
}
QByteArray track(const QByteArray& events = QByteArray("\x00\xff\x2f\x00", 4)) {
    return "MTrk" + be32(quint32(events.size())) + events;
}

// `problem` is a part of the message expected; empty when the sound must pass.
void verifyProblem(const QString& found, const QString& problem) {
    if (problem.isEmpty())
        QVERIFY2(found.isEmpty(), qPrintable(found));
    else
        QVERIFY2(found.contains(problem), qPrintable(found));
}

}  // namespace

class TestSoundCheck : public QObject {
    Q_OBJECT
private slots:
    void wav_data();
    void wav();
    void midi_data();
    void midi();
};

void TestSoundCheck::wav_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");  // a part of the message; empty: playable
    const QByteArray data = riffChunk("data", QByteArray(100, '\x10'));
    QTest::newRow("plain") << waveFile(riffChunk("fmt ", fmtBody()) + data) << QString();
    QTest::newRow("an odd chunk before, padded")
        << waveFile(riffChunk("LIST", "abc") + riffChunk("fmt ", fmtBody()) + data) << QString();
    QTest::newRow("RIFF size past the end, chunks whole")
        << ("RIFF" + le32(100000) + "WAVE" + riffChunk("fmt ", fmtBody()) + data) << QString();
    QTest::newRow("empty") << QByteArray() << QStringLiteral("not a WAV file");
    QTest::newRow("not RIFF") << ("RIFX" + le32(4) + "WAVE") << QStringLiteral("not a WAV file");
    QTest::newRow("RIFF, not WAVE")
        << ("RIFF" + le32(4) + "AVI ") << QStringLiteral("not a WAV file");
    QTest::newRow("no fmt") << waveFile(data) << QStringLiteral("before any \"fmt \"");
    QTest::newRow("nothing after the header")
        << waveFile({}) << QStringLiteral("no \"fmt \" chunk");
    QTest::newRow("no data") << waveFile(riffChunk("fmt ", fmtBody()))
                             << QStringLiteral("no \"data\" chunk");
    QTest::newRow("fmt too short")
        << waveFile(riffChunk("fmt ", fmtBody().left(14)) + data) << QStringLiteral("too short");
    QTest::newRow("no channels") << waveFile(riffChunk("fmt ", fmtBody(0)) + data)
                                 << QStringLiteral("gives no channels");
    QTest::newRow("no sample size")
        << waveFile(riffChunk("fmt ", fmtBody(1, 0)) + data) << QStringLiteral("gives no channels");
    QTest::newRow("data cut short")
        << waveFile(riffChunk("fmt ", fmtBody()) + riffChunk("data", QByteArray(100, 'x')).left(60))
        << QStringLiteral("\"data\" chunk runs past the end");
    QTest::newRow("a chunk size near 4 GiB")
        << waveFile(riffChunk("fmt ", fmtBody()) + "junk" + le32(0xfffffff0u))
        << QStringLiteral("\"junk\" chunk runs past");
    // specboard's bounds are machinecheck's too, beside the structure.
    QTest::newRow("1 Hz, cut short")
        << waveFile(riffChunk("fmt ", fmtBody(1, 16, 1)) + data.left(60))
        << QStringLiteral("past the end of the file; the sample rate is 1 Hz");
}

void TestSoundCheck::wav() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    verifyProblem(check::wavProblem(bytes), problem);
}

void TestSoundCheck::midi_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");
    QTest::newRow("format 0") << (midiHeader(0, 1) + track()) << QString();
    QTest::newRow("format 1, two tracks") << (midiHeader(1, 2) + track() + track()) << QString();
    QTest::newRow("an unknown chunk between")
        << (midiHeader(1, 2) + track() + "XFIH" + be32(3) + "abc" + track()) << QString();
    QTest::newRow("a longer header")
        << ("MThd" + be32(8) + be16(0) + be16(1) + be16(96) + be16(0) + track()) << QString();
    QTest::newRow("empty") << QByteArray() << QStringLiteral("not a MIDI file");
    QTest::newRow("RIFF MIDI") << ("RIFF" + le32(4) + "RMID" + QByteArray(10, '\0'))
                               << QStringLiteral("not a MIDI file");
    QTest::newRow("header length 5") << ("MThd" + be32(5) + be16(0) + be16(1) + be16(96) + track())
                                     << QStringLiteral("bad length");
    QTest::newRow("header length past the end")
        << ("MThd" + be32(600) + be16(0) + be16(1) + be16(96)) << QStringLiteral("bad length");
    QTest::newRow("format 3") << (midiHeader(3, 1) + track())
                              << QStringLiteral("unknown MIDI file format 3");
    QTest::newRow("no track announced") << midiHeader(1, 0) << QStringLiteral("announces no track");
    QTest::newRow("format 0, two tracks") << (midiHeader(0, 2) + track() + track())
                                          << QStringLiteral("format 0 MIDI file has one track");
    QTest::newRow("no division") << (midiHeader(0, 1, 0) + track())
                                 << QStringLiteral("no time division");
    QTest::newRow("a track cut short") << (midiHeader(0, 1) + track(QByteArray(40, '\0')).left(30))
                                       << QStringLiteral("chunk 1 runs past the end");
    QTest::newRow("a track missing") << (midiHeader(1, 3) + track() + track())
                                     << QStringLiteral("announces 3 tracks, the file holds 2");
    QTest::newRow("a stray tail") << (midiHeader(0, 1) + track() + "MTr")
                                  << QStringLiteral("inside a chunk header");
    QByteArray chord;
    for (int i = 0; i < 1200; ++i) chord += QByteArray("\x00\x90\x40\x7f", 4);
    QTest::newRow("1200 notes at once")
        << (midiHeader(0, 1) + track(chord + QByteArray("\x00\xff\x2f\x00", 4)))
        << QStringLiteral("1200 notes start within 50 ms");
}

void TestSoundCheck::midi() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    verifyProblem(check::midiProblem(bytes), problem);
}

QTEST_GUILESS_MAIN(TestSoundCheck)
#include "tst_soundcheck.moc"
