// Real playback over SDL2_mixer on the silent device (SDL_AUDIODRIVER=dummy): a WAV made
// here and the committed notes.mid start playing, Stop ends them, shut-down while they
// play returns, and the MIDI commands answer what the command interface would.

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cmath>

#include "scripteddialogs.h"
#include "sdlsound.h"
#include "soundplayer.h"

namespace {

// Three seconds of a 440 Hz tone, 22050 samples a second, 16-bit mono: long enough to be
// still playing after a MIDI file has been loaded beside it.
QByteArray toneWav() {
    constexpr int rate = 22050;
    constexpr int samples = rate * 3;
    QByteArray data(samples * 2, Qt::Uninitialized);
    for (int i = 0; i < samples; ++i)
        qToLittleEndian<qint16>(qint16(8000 * std::sin(2 * M_PI * 440 * i / rate)),
                                data.data() + 2 * i);
    QByteArray wav;
    const auto u32 = [&wav](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    const auto u16 = [&wav](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    wav.append("RIFF");
    u32(36 + data.size());
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    wav.append("data");
    u32(data.size());
    return wav + data;
}

// Whether the mixer is open; the mixer's other calls must not be made once it is closed.
bool mixerOpen() {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    return Mix_QuerySpec(&rate, &format, &channels) != 0;
}

// The real output with the player on it, started as the window starts it.
struct Output {
    SdlSoundDevice device;
    SdlMusicCommands music;
    ScriptedDialogs dialogs;
    SoundPlayer player{device, music, dialogs, nullptr, QStringLiteral("specboard")};

    Output() { player.start(0); }
    int playWav(const QString& folder) {
        return player.play(QStringLiteral("1"), QStringLiteral("tone.wav"), folder);
    }
    int playMidi(const QString& folder) {
        return player.play(QStringLiteral("2"), QStringLiteral("notes.mid"), folder);
    }
};

}  // namespace

class TestSdlSound : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void wavAndMidiPlayAndStop();
    void newWavPlaysBesideTheOldOne();
    void shutDownWhilePlaying();
    void deviceRefusesWhatItCannotPlay();
    void musicCommands_data();
    void musicCommands();

private:
    QTemporaryDir dir_;
    QString folder_;  // the machine folder, with a blank in its name
};

void TestSdlSound::initTestCase() {
    QVERIFY(dir_.isValid());
    folder_ = dir_.path() + QStringLiteral("/machine folder/");
    QVERIFY(QDir().mkpath(folder_));
    QFile wav(folder_ + QStringLiteral("tone.wav"));
    QVERIFY(wav.open(QIODevice::WriteOnly));
    QVERIFY(wav.write(toneWav()) > 0);
    wav.close();
    QVERIFY(QFile::copy(QStringLiteral(TEST_DATA_DIR "/notes.mid"), folder_ + "notes.mid"));
    QFile text(folder_ + QStringLiteral("text.mid"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a MIDI file\r\n");
    text.close();
    QVERIFY(::mkfifo(QFile::encodeName(folder_ + "pipe.mid").constData(), 0600) == 0);
    QCOMPARE(qgetenv("SDL_AUDIODRIVER"), QByteArray("dummy"));
}

void TestSdlSound::wavAndMidiPlayAndStop() {
    Output out;
    // The silent device starts, and so does MIDI with the General MIDI sound font.
    QCOMPARE(out.dialogs.shown.size(), 0);

    QCOMPARE(out.playWav(folder_), 0);
    QVERIFY(out.player.currentBuffer() != 0);
    QVERIFY(out.device.isPlaying(out.player.currentBuffer()));
    QCOMPARE(out.playMidi(folder_), 0);
    QVERIFY(out.music.isOpen());
    QVERIFY(Mix_PlayingMusic());
    QCOMPARE(Mix_Playing(-1), 1);

    out.player.stop();
    QCOMPARE(Mix_Playing(-1), 0);
    QVERIFY(!Mix_PlayingMusic());
    QVERIFY(!out.music.isOpen());
    QCOMPARE(out.dialogs.shown.size(), 0);

    out.player.shutDown();
    QVERIFY(!mixerOpen());
}

void TestSdlSound::newWavPlaysBesideTheOldOne() {
    Output out;
    out.playWav(folder_);
    const SoundDevice::Buffer first = out.player.currentBuffer();
    out.playWav(folder_);
    // The first buffer is released, yet its sound plays on beside the new one.
    QVERIFY(out.player.currentBuffer() != first);
    QVERIFY(out.device.isPlaying(first));
    QCOMPARE(Mix_Playing(-1), 2);
    // A released handle names nothing: playing it again starts nothing.
    out.device.play(first);
    QCOMPARE(Mix_Playing(-1), 2);
    out.player.stop();
    QVERIFY(!out.device.isPlaying(out.player.currentBuffer()));
    out.player.shutDown();
    QVERIFY(!mixerOpen());
}

void TestSdlSound::shutDownWhilePlaying() {
    {
        Output out;
        out.playWav(folder_);
        out.playMidi(folder_);
        QVERIFY(Mix_PlayingMusic());
        QCOMPARE(Mix_Playing(-1), 1);
        out.player.shutDown();
        QVERIFY(!mixerOpen());
        out.player.shutDown();  // a second unload finds nothing left to stop
        QCOMPARE(out.dialogs.shown.size(), 0);
    }
    {
        // The objects going away while a WAV and a MIDI play also closes everything.
        Output out;
        out.playWav(folder_);
        out.playMidi(folder_);
        QVERIFY(Mix_PlayingMusic());
    }
    QVERIFY(!mixerOpen());
}

void TestSdlSound::deviceRefusesWhatItCannotPlay() {
    SdlSoundDevice device;
    const QByteArray tone = toneWav();
    // No output yet: no buffer, and nothing to say about the bytes.
    SoundDevice::BufferResult made = device.createBuffer(tone, SoundPlayer::BufferFlags);
    QCOMPARE(made.handle, 0);
    QVERIFY(made.error.isEmpty());

    QVERIFY(device.start(0, SoundPlayer::DeviceMode));
    made =
        device.createBuffer(QByteArray("RIFF\x10\0\0\0WAVEjunkjunk", 20), SoundPlayer::BufferFlags);
    QCOMPARE(made.handle, 0);
    QVERIFY(!made.error.isEmpty());

    // Handles that name nothing are taken without harm.
    for (SoundDevice::Buffer handle : {0, 12345, -1}) {
        device.play(handle);
        device.stop(handle);
        device.free(handle);
    }
    QCOMPARE(Mix_Playing(-1), 0);
    device.quit();
    QVERIFY(!mixerOpen());
}

void TestSdlSound::musicCommands_data() {
    // "%F" stands for the machine folder; open commands are built as the player builds them.
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QList<int>>("answers");

    using E = SdlMusicCommands;
    const QString open = QStringLiteral("open %Fnotes.mid type sequencer alias midifile");
    QTest::newRow("open, play, stop, close")
        << QStringList{open, "play midifile from 0", "stop midifile ", "close midifile",
                       "close midifile"}
        << QList<int>{0, 0, 0, 0, E::DeviceNotOpen};
    QTest::newRow("nothing open") << QStringList{"stop midifile ", "close midifile",
                                                 "play midifile from 0"}
                                  << QList<int>{E::DeviceNotOpen, E::DeviceNotOpen,
                                                E::DeviceNotOpen};
    QTest::newRow("second open under the same alias")
        << QStringList{open, open, "close midifile", open}
        << QList<int>{0, E::DuplicateAlias, 0, 0};
    QTest::newRow("missing file") << QStringList{"open %Fgone.mid type sequencer alias midifile"}
                                  << QList<int>{E::FileNotFound};
    QTest::newRow("not a MIDI file")
        << QStringList{"open %Ftext.mid type sequencer alias midifile", "play midifile from 0"}
        << QList<int>{E::InvalidFile, E::DeviceNotOpen};
    QTest::newRow("a pipe under a MIDI name is not read")
        << QStringList{"open %Fpipe.mid type sequencer alias midifile"}
        << QList<int>{E::InvalidFile};
    QTest::newRow("no path") << QStringList{"open  type sequencer alias midifile",
                                            "open type sequencer alias midifile"}
                             << QList<int>{E::FilenameRequired, E::FilenameRequired};
    QTest::newRow("unknown commands")
        << QStringList{"pause midifile", "", "open %Fnotes.mid", "play midifile"}
        << QList<int>{E::UnrecognizedCommand, E::UnrecognizedCommand, E::UnrecognizedCommand,
                      E::UnrecognizedCommand};
}

void TestSdlSound::musicCommands() {
    QFETCH(QStringList, commands);
    QFETCH(QList<int>, answers);
    SdlMusicCommands music;
    for (qsizetype i = 0; i < commands.size(); ++i) {
        QString command = commands[i];
        command.replace(QLatin1String("%F"), folder_);
        QCOMPARE(music.send(command), answers[i]);
    }
}

QTEST_GUILESS_MAIN(TestSdlSound)
#include "tst_sdlsound.moc"
