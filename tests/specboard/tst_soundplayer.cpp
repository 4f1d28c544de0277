// The order of the sound output calls that Play, Stop, start-up and shut-down make, with
// the recording doubles: which file is read, which buffer is played or freed, which MIDI
// commands go out, and which messages are shown.

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cstring>

#include "recordingsound.h"
#include "soundplayer.h"
#include "soundrules.h"

namespace {

// A PCM WAV file of 8-bit mono samples at a rate.
QByteArray wavFile(quint32 rate, qsizetype samples) {
    char head[44];
    const auto put32 = [&head](int at, quint32 v) { qToLittleEndian(v, head + at); };
    const auto put16 = [&head](int at, quint16 v) { qToLittleEndian(v, head + at); };
    memcpy(head, "RIFF....WAVEfmt ", 16);
    put32(4, quint32(36 + samples));
    put32(16, 16);
    put16(20, 1);
    put16(22, 1);
    put32(24, rate);
    put32(28, rate);
    put16(32, 1);
    put16(34, 8);
    memcpy(head + 36, "data", 4);
    put32(40, quint32(samples));
    return QByteArray(head, 44) + QByteArray(samples, '\x80');
}

// A MIDI file of "tracks" tracks, each starting "notes" notes "gap" ticks apart (96 ticks a
// quarter), after a tempo of "tempo" microseconds a quarter when one is given.
QByteArray midiFile(int tracks, int notes, int gap, quint32 tempo = 0) {
    QByteArray file("MThd\0\0\0\6\0\1\0\0\0\x60", 14);
    file[11] = char(tracks);
    for (int t = 0; t < tracks; ++t) {
        QByteArray events;
        if (tempo)
            events += QByteArray("\0\xff\x51\x03", 4) + char(tempo >> 16) + char(tempo >> 8) +
                      char(tempo);
        for (int n = 0; n < notes; ++n) events += QByteArray(1, char(n ? gap : 0)) + "\x90\x3c\x40";
        events += QByteArray("\0\xff\x2f\0", 4);
        char length[4];
        qToBigEndian(quint32(events.size()), length);
        file += "MTrk" + QByteArray(length, 4) + events;
    }
    return file;
}

// A machine folder with a blank in its name, holding the sound files a case asks for:
// "name" holds the text "wav:name" (or "mid:name"), "fifo:name" is a pipe, "empty:name"
// an empty file, "huge:name" a file above the size read into memory, "wav:rate:samples:name"
// a WAV file and "mid:tracks:notes:gap:tempo:name" a MIDI file.
class SoundFolder {
public:
    SoundFolder() : path_(dir_.path() + QStringLiteral("/machine folder/")) {
        QDir().mkpath(path_);
    }

    const QString& path() const { return path_; }

    void make(const QString& spec) {
        const bool plain = !spec.contains(u':');
        const QString kind = spec.section(u':', 0, 0);
        const QString name = spec.section(u':', -1);
        const QString file = path_ + name;
        if (kind == QLatin1String("fifo")) {
            QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
            return;
        }
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        const QStringList arg = spec.split(u':');
        if (kind == QLatin1String("huge"))
            QVERIFY(out.resize(soundrules::MaxWavFileBytes + 1));  // sparse
        else if (kind == QLatin1String("wav"))
            out.write(wavFile(arg[1].toUInt(), arg[2].toInt()));
        else if (kind == QLatin1String("mid"))
            out.write(midiFile(arg[1].toInt(), arg[2].toInt(), arg[3].toInt(), arg[4].toUInt()));
        if (plain) {
            const bool wav = name.endsWith(QLatin1String("v"), Qt::CaseInsensitive);
            out.write((wav ? QStringLiteral("wav:") : QStringLiteral("mid:")).toUtf8() +
                      name.toUtf8());
        }
    }

private:
    QTemporaryDir dir_;
    QString path_;
};

// Runs steps on a player: "play|number text|file name" in the machine folder, "playcwd|..."
// with no folder while the working folder is the machine folder, "stop" and "shutdown".
// Returns the result of the last play; the failures the plays returned go to *failures.
int runSteps(SoundPlayer& player, const QStringList& steps, const QString& folder,
             QList<SoundFailure>* failures = nullptr) {
    int result = 0;
    const auto keep = [&](const SoundPlayer::PlayResult& played) {
        if (played.failure && failures) failures->append(*played.failure);
        return played.music;
    };
    for (const QString& step : steps) {
        const QStringList part = step.split(u'|');
        if (part[0] == QLatin1String("play")) {
            result = keep(player.play(part[1], part[2], folder));
        } else if (part[0] == QLatin1String("playcwd")) {
            const QString before = QDir::currentPath();
            QDir::setCurrent(folder);
            result = keep(player.play(part[1], part[2], QString()));
            QDir::setCurrent(before);
        } else if (part[0] == QLatin1String("stop")) {
            player.stop();
        } else if (part[0] == QLatin1String("shutdown")) {
            player.shutDown();
        }
    }
    return result;
}

QStringList inFolder(QStringList lines, const QString& folder) {
    for (QString& line : lines) line.replace(QLatin1String("%F"), folder);
    return lines;
}

const QString Stop = QStringLiteral("send \"stop midifile \"");
const QString Close = QStringLiteral("send \"close midifile\"");
const QString PlayMidi = QStringLiteral("send \"play midifile from 0\"");
QString openMidi(const QString& name) {
    return QStringLiteral("send \"open %F") + name +
           QStringLiteral(" type sequencer alias midifile\"");
}

}  // namespace

class TestSoundPlayer : public QObject {
    Q_OBJECT
private slots:
    void callOrder_data();
    void callOrder();
    void startUp_data();
    void startUp();
};

void TestSoundPlayer::callOrder_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("scripted");  // "buffer|handle|error" or "midi|word|answer"
    QTest::addColumn<QStringList>("calls");
    // "text|detail after the folder", each Warning with OK; the text up to its figures
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("currentBuffer");
    QTest::addColumn<int>("result");

    const QStringList none;
    const QStringList midiSequence{Stop, Close, openMidi("tune.mid"), PlayMidi};

    QTest::newRow("WAV") << QStringList{"bell.wav"} << QStringList{"play|1|bell.wav"} << none
                         << QStringList{"createBuffer \"wav:bell.wav\" 3", "play 1"} << none << 1
                         << 0;
    QTest::newRow("MIDI, unquoted path with a blank")
        << QStringList{"tune.mid"} << QStringList{"play|2|tune.mid"} << none << midiSequence << none
        << 0 << 0;
    QTest::newRow("MIDI while another plays")
        << QStringList{"tune.mid", "other.mid"}
        << QStringList{"play|2|tune.mid", "play|3|other.mid"} << none
        << midiSequence + QStringList{Stop, Close, openMidi("other.mid"), PlayMidi} << none << 0
        << 0;
    QTest::newRow("MIDI that will not open: no play, nothing shown")
        << QStringList{"tune.mid"} << QStringList{"play|2|tune.mid"} << QStringList{"midi|open|296"}
        << QStringList{Stop, Close, openMidi("tune.mid")} << none << 0 << 296;
    QTest::newRow("missing MIDI still goes to the command interface")
        << none << QStringList{"play|2|gone.mid"} << QStringList{"midi|open|275"}
        << QStringList{Stop, Close, openMidi("gone.mid")} << none << 0 << 275;
    QTest::newRow("sound number 0") << QStringList{"bell.wav"} << QStringList{"play|0|bell.wav"}
                                    << none << none << none << 0 << 0;
    QTest::newRow("empty sound number") << QStringList{"bell.wav"} << QStringList{"play||bell.wav"}
                                        << none << none << none << 0 << 0;
    QTest::newRow("upper-case WAV extension")
        << QStringList{"BELL.WAV"} << QStringList{"play|1|BELL.WAV"} << none << none << none << 0
        << 0;
    QTest::newRow("missing WAV: play 0, nothing shown")
        << none << QStringList{"play|1|gone.wav"} << none << QStringList{"play 0"} << none << 0
        << 0;
    QTest::newRow("previous buffer released by a new WAV")
        << QStringList{"bell.wav", "gong.wav"} << QStringList{"play|1|bell.wav", "play|4|gong.wav"}
        << none
        << QStringList{"createBuffer \"wav:bell.wav\" 3", "play 1", "free 1",
                       "createBuffer \"wav:gong.wav\" 3", "play 2"}
        << none << 2 << 0;
    QTest::newRow("previous buffer released by a missing WAV")
        << QStringList{"bell.wav"} << QStringList{"play|1|bell.wav", "play|4|gone.wav"} << none
        << QStringList{"createBuffer \"wav:bell.wav\" 3", "play 1", "free 1", "play 0"} << none << 0
        << 0;
    // A pipe under a sound's name is no sound file: it is passed over like a missing one and
    // never opened, so the editor cannot hang on it.
    QTest::newRow("a pipe under the WAV's name plays nothing, play 0")
        << QStringList{"fifo:pipe.wav"} << QStringList{"play|1|pipe.wav"} << none
        << QStringList{"play 0"} << none << 0 << 0;
    QTest::newRow("empty WAV") << QStringList{"empty:empty.wav"} << QStringList{"play|1|empty.wav"}
                               << none << QStringList{"play 0"}
                               << QStringList{"ファイルが空です。|empty.wav"} << 0 << 0;
    QTest::newRow("WAV too big to read")
        << QStringList{"huge:huge.wav"} << QStringList{"play|1|huge.wav"} << none
        << QStringList{"play 0"} << QStringList{"ファイルが大きすぎます|huge.wav"} << 0 << 0;
    QTest::newRow("WAV the device cannot decode: its reason in Japanese, play 0")
        << QStringList{"bell.wav"} << QStringList{"play|1|bell.wav"}
        << QStringList{"buffer|0|Unknown WAVE format tag: 0x0055"}
        << QStringList{"createBuffer \"wav:bell.wav\" 3", "play 0"}
        << QStringList{"この形式のWAVファイルには対応していません。|bell.wav\nUnknown WAVE format tag: 0x0055"}
        << 0 << 0;
    // Sounds past the bounds never reach the device or the synthesizer.
    QTest::newRow("1 Hz WAV refused before decoding")
        << QStringList{"wav:1:1000:low.wav"} << QStringList{"play|1|low.wav"} << none
        << QStringList{"play 0"} << QStringList{"WAVファイルのサンプリング周波数が 1 Hz|low.wav"}
        << 0 << 0;
    QTest::newRow("WAV of 70 MB of mixer samples refused")
        << QStringList{"wav:4000:1600000:long.wav"} << QStringList{"play|1|long.wav"} << none
        << QStringList{"play 0"}
        << QStringList{"WAVファイルが長すぎます。再生用に変換すると 68 MB|long.wav"} << 0 << 0;
    QTest::newRow("1001 notes at once refused")
        << QStringList{"mid:1:1001:0:0:dense.mid"} << QStringList{"play|2|dense.mid"} << none
        << QStringList{Stop, Close}
        << QStringList{"MIDIファイルの音符が密集しすぎています。50 ミリ秒の間に 1001 |dense.mid"}
        << 0 << 296;
    QTest::newRow("two tracks of 501 notes at once refused together")
        << QStringList{"mid:2:501:0:0:dense.mid"} << QStringList{"play|2|dense.mid"} << none
        << QStringList{Stop, Close}
        << QStringList{"MIDIファイルの音符が密集しすぎています。50 ミリ秒の間に 1002 |dense.mid"}
        << 0 << 296;
    QTest::newRow("a fast tempo packs spread notes together")
        << QStringList{"mid:1:1001:1:1000:fast.mid"} << QStringList{"play|2|fast.mid"} << none
        << QStringList{Stop, Close}
        << QStringList{"MIDIファイルの音符が密集しすぎています。|fast.mid"} << 0 << 296;
    QTest::newRow("1000 notes at once play")
        << QStringList{"mid:1:1000:0:0:chord.mid"} << QStringList{"play|2|chord.mid"} << none
        << QStringList{Stop, Close, openMidi("chord.mid"), PlayMidi} << none << 0 << 0;
    QTest::newRow("1001 notes a tick apart play")
        << QStringList{"mid:1:1001:1:0:run.mid"} << QStringList{"play|2|run.mid"} << none
        << QStringList{Stop, Close, openMidi("run.mid"), PlayMidi} << none << 0 << 0;
    QTest::newRow("no device to make a buffer on: nothing shown")
        << QStringList{"bell.wav"} << QStringList{"play|1|bell.wav"} << QStringList{"buffer|0|"}
        << QStringList{"createBuffer \"wav:bell.wav\" 3", "play 0"} << none << 0 << 0;
    QTest::newRow("WAV found in another letter case")
        << QStringList{"bell.WAV"} << QStringList{"play|1|Bell.wav"} << none
        << QStringList{"createBuffer \"wav:bell.WAV\" 3", "play 1"} << none << 1 << 0;
    QTest::newRow("MIDI found in another letter case")
        << QStringList{"TUNE.MID"} << QStringList{"play|2|Tune.mid"} << none
        << QStringList{Stop, Close, openMidi("TUNE.MID"), PlayMidi} << none << 0 << 0;
    QTest::newRow("WAV in the working folder while there is no machine folder")
        << QStringList{"bell.wav"} << QStringList{"playcwd|1|bell.wav"} << none
        << QStringList{"createBuffer \"wav:bell.wav\" 3", "play 1"} << none << 1 << 0;
    QTest::newRow("MIDI in the working folder while there is no machine folder")
        << QStringList{"tune.mid"} << QStringList{"playcwd|2|tune.mid"} << none << midiSequence
        << none << 0 << 0;
    QTest::newRow("Stop releases the buffer")
        << QStringList{"bell.wav"} << QStringList{"play|1|bell.wav", "stop", "stop"} << none
        << QStringList{"createBuffer \"wav:bell.wav\" 3",
                       "play 1",
                       "stop 1",
                       "free 1",
                       Stop,
                       Close,
                       "stop 0",
                       Stop,
                       Close}
        << none << 0 << 0;
    QTest::newRow("Stop with nothing playing")
        << none << QStringList{"stop"} << none << QStringList{"stop 0", Stop, Close} << none << 0
        << 0;
    QTest::newRow("shut-down while a WAV and a MIDI play")
        << QStringList{"bell.wav", "tune.mid"}
        << QStringList{"play|1|bell.wav", "play|2|tune.mid", "shutdown"} << none
        << QStringList{"createBuffer \"wav:bell.wav\" 3", "play 1"} + midiSequence +
               QStringList{"free 1", "quitMusic", "quit", Stop, Close}
        << none << 0 << 0;
}

void TestSoundPlayer::callOrder() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, scripted);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, messages);
    QFETCH(int, currentBuffer);
    QFETCH(int, result);

    SoundFolder folder;
    for (const QString& file : files) folder.make(file);
    QStringList log;
    RecordingSoundDevice device(log);
    RecordingMusicCommands music(log);
    for (const QString& line : scripted) {
        const QStringList part = line.split(u'|');
        if (part[0] == QLatin1String("buffer"))
            device.bufferAnswers.append({part[1].toInt(), part[2]});
        else
            music.answers.insert(part[1], part[2].toInt());
    }
    SoundPlayer player(device, music);

    QList<SoundFailure> failures;
    QCOMPARE(runSteps(player, steps, folder.path(), &failures), result);
    QCOMPARE(log, inFolder(calls, folder.path()));
    QCOMPARE(player.currentBuffer(), currentBuffer);
    QCOMPARE(failures.size(), messages.size());
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const SoundFailure& failure = failures[i];
        QVERIFY2(failure.text.startsWith(messages[i].section(u'|', 0, 0)),
                 qPrintable(failure.text));
        QCOMPARE(failure.detail, folder.path() + messages[i].section(u'|', 1));
        QVERIFY(failure.warning);
    }
}

void TestSoundPlayer::startUp_data() {
    QTest::addColumn<bool>("deviceStarts");
    QTest::addColumn<bool>("musicStarts");
    QTest::addColumn<QStringList>("startCalls");
    QTest::addColumn<QString>("message");

    QTest::newRow("both start") << true << true << QStringList{"start 77 2", "startMusic"}
                                << QString();
    QTest::newRow("sound device fails") << false << true << QStringList{"start 77 2"}
                                        << QStringLiteral("DirectSoundは使えません。");
    QTest::newRow("music device fails") << true << false << QStringList{"start 77 2", "startMusic"}
                                        << QStringLiteral("DirectMusicは使えません。");
}

void TestSoundPlayer::startUp() {
    QFETCH(bool, deviceStarts);
    QFETCH(bool, musicStarts);
    QFETCH(QStringList, startCalls);
    QFETCH(QString, message);

    SoundFolder folder;
    folder.make(QStringLiteral("bell.wav"));
    QStringList log;
    RecordingSoundDevice device(log);
    device.startAnswer = deviceStarts;
    device.startMusicAnswer = musicStarts;
    RecordingMusicCommands music(log);
    SoundPlayer player(device, music);

    const std::optional<SoundFailure> failure = player.start(77);
    QCOMPARE(failure.has_value(), !message.isEmpty());
    if (failure) {
        QCOMPARE(failure->text, message);
        QVERIFY(!failure->warning);
    }
    // The editor goes on: Play and Stop make their calls whatever failed.
    QList<SoundFailure> later;
    runSteps(player, {"play|1|bell.wav", "stop"}, folder.path(), &later);
    const QStringList afterStart{
        "createBuffer \"wav:bell.wav\" 3", "play 1", "stop 1", "free 1", Stop, Close};
    QCOMPARE(log, startCalls + afterStart);
    QVERIFY(later.isEmpty());
}

QTEST_GUILESS_MAIN(TestSoundPlayer)
#include "tst_soundplayer.moc"
