// Real playback over SDL2_mixer on the silent device (SDL_AUDIODRIVER=dummy): a WAV made
// here and the committed notes.mid start playing, Stop ends them and frees the samples,
// shut-down while they play returns, sounds past the bounds are refused, a synthesizer that
// hangs holds up no command, and the MIDI commands answer what the command interface would.

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cmath>
#include <memory>
#include <mutex>

#include "machinewindowtest.h"
#include "scripteddialogs.h"
#include "sdlsound.h"
#include "soundplayer.h"
#include "soundthread.h"

namespace {

// A 440 Hz tone, 16-bit mono; by default three seconds at 22050 samples a second: long
// enough to be still playing after a MIDI file has been loaded beside it.
QByteArray toneWav(int rate = 22050, int samples = 22050 * 3) {
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

// What the sound thread was given is done (the mixer's closing included).
void settle() { QVERIFY(soundthread::waitUntilIdle(60000)); }

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
    SoundPlayer player{device, music};
    // What the player returned for the window to tell.
    QList<SoundFailure> failures;

    Output() {
        if (auto failure = player.start(0)) failures.append(*failure);
    }
    int play(const QString& number, const QString& name, const QString& folder) {
        const SoundPlayer::PlayResult played = player.play(number, name, folder);
        if (played.failure) failures.append(*played.failure);
        return played.music;
    }
    int playWav(const QString& folder) {
        return play(QStringLiteral("1"), QStringLiteral("tone.wav"), folder);
    }
    int playMidi(const QString& folder) {
        return play(QStringLiteral("2"), QStringLiteral("notes.mid"), folder);
    }
};

}  // namespace

class TestSdlSound : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void wavAndMidiPlayAndStop();
    void newWavPlaysBesideTheOldOne();
    void windowStopSilencesEveryPress();
    void shutDownWhilePlaying();
    void deviceRefusesWhatItCannotPlay();
    void soundsPastTheBoundsRefused();
    void hangingSynthHoldsUpNoCommand();
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
    QFile low(folder_ + QStringLiteral("low.wav"));
    QVERIFY(low.open(QIODevice::WriteOnly));
    low.write(toneWav(1, 1000));
    low.close();
    // 1001 notes at tick 0.
    QByteArray notes;
    for (int i = 0; i < 1001; ++i) notes += QByteArray("\0\x90\x3c\x40", 4);
    notes += QByteArray("\0\xff\x2f\0", 4);
    char length[4];
    qToBigEndian(quint32(notes.size()), length);
    QFile dense(folder_ + QStringLiteral("dense.mid"));
    QVERIFY(dense.open(QIODevice::WriteOnly));
    dense.write(QByteArray("MThd\0\0\0\6\0\0\0\1\0\x60MTrk", 18) + QByteArray(length, 4) + notes);
    dense.close();
    QCOMPARE(qgetenv("SDL_AUDIODRIVER"), QByteArray("dummy"));
}

void TestSdlSound::wavAndMidiPlayAndStop() {
    Output out;
    // The silent device starts, and so does MIDI with the General MIDI sound font.
    QCOMPARE(out.failures.size(), 0);

    QCOMPARE(out.playWav(folder_), 0);
    QVERIFY(out.player.currentBuffer() != 0);
    QVERIFY(out.device.isPlaying(out.player.currentBuffer()));
    QCOMPARE(out.playMidi(folder_), 0);
    QVERIFY(out.music.isOpen());
    settle();
    QVERIFY(Mix_PlayingMusic());
    QCOMPARE(Mix_Playing(-1), 1);

    out.player.stop();
    QCOMPARE(Mix_Playing(-1), 0);
    QCOMPARE(out.device.heldBuffers(), 0);  // the stopped sound's samples are freed
    QVERIFY(!out.music.isOpen());
    settle();
    QVERIFY(!Mix_PlayingMusic());
    QCOMPARE(out.failures.size(), 0);

    out.player.shutDown();
    settle();
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
    QCOMPARE(out.device.heldBuffers(), 2);
    // Stop silences both presses and frees both.
    out.player.stop();
    QCOMPARE(Mix_Playing(-1), 0);
    QCOMPARE(out.device.heldBuffers(), 0);
    out.player.shutDown();
    settle();
    QVERIFY(!mixerOpen());
}

void TestSdlSound::windowStopSilencesEveryPress() {
    using namespace machinetest;
    SdlSoundDevice device;
    SdlMusicCommands music;
    ScriptedDialogs dialogs;
    {
        Form1 w(dialogs, device, music);
        QVERIFY(activeWindow(w));
        QVERIFY(readReels(w, dialogs, writeReels(folder_, "reels.sdf", 2)));
        QVERIFY(saveMachine(w, dialogs, folder_ + "m.orf"));
        showTab(w, 2);
        // Two five-second sounds, each played in turn, the first still sounding.
        for (int n : {1, 2}) {
            const QString name = QStringLiteral("five%1.wav").arg(n);
            QVERIFY(saveFileAtomically(folder_ + name, toneWav(22050, 22050 * 5)));
            typeInto(w, "txtSoundNo", QString::number(n));
            clickAnswering(w, dialogs, "LoadSound", folder_ + name);
            click(w, "PlaySound");
        }
        QCOMPARE(Mix_Playing(-1), 2);
        click(w, "Command8");
        QCOMPARE(Mix_Playing(-1), 0);
        QCOMPARE(device.heldBuffers(), 0);
        QVERIFY(dialogs.shown.isEmpty());
        w.editor().documentSaved(w.editor().filePath());
    }
    settle();
    QVERIFY(!mixerOpen());
}

void TestSdlSound::shutDownWhilePlaying() {
    {
        Output out;
        out.playWav(folder_);
        out.playMidi(folder_);
        settle();
        QVERIFY(Mix_PlayingMusic());
        QCOMPARE(Mix_Playing(-1), 1);
        out.player.shutDown();
        settle();
        QVERIFY(!mixerOpen());
        out.player.shutDown();  // a second unload finds nothing left to stop
        QCOMPARE(out.failures.size(), 0);
    }
    {
        // The objects going away while a WAV and a MIDI play also closes everything.
        Output out;
        out.playWav(folder_);
        out.playMidi(folder_);
        settle();
        QVERIFY(Mix_PlayingMusic());
    }
    settle();
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
    settle();
    QVERIFY(!mixerOpen());
}

void TestSdlSound::soundsPastTheBoundsRefused() {
    Output out;
    QCOMPARE(out.play(QStringLiteral("1"), QStringLiteral("low.wav"), folder_), 0);
    QCOMPARE(out.player.currentBuffer(), 0);
    QCOMPARE(out.device.heldBuffers(), 0);
    QCOMPARE(out.play(QStringLiteral("2"), QStringLiteral("dense.mid"), folder_),
             int(SdlMusicCommands::InvalidFile));
    QVERIFY(!out.music.isOpen());
    QCOMPARE(out.failures.size(), 2);
    QVERIFY(out.failures[0].text.contains(QStringLiteral("1 Hz")));
    QVERIFY(out.failures[1].text.contains(QStringLiteral("1001")));
    // Sent straight to the command interface, the tune is refused just the same.
    QCOMPARE(out.music.send("open " + folder_ + "dense.mid type sequencer alias midifile"),
             int(SdlMusicCommands::InvalidFile));
    out.player.shutDown();
    settle();
}

namespace {

// A synthesizer that hangs in halt until the test lets it go, as one does under a tune
// of a hundred thousand notes.
struct SynthCalls {
    std::mutex lock;
    QStringList made;
    QSemaphore haltEntered;
    QSemaphore haltMayEnd;
    void note(const char* call) {
        const std::lock_guard<std::mutex> hold(lock);
        made << QString::fromLatin1(call);
    }
};

class HangingSynth : public MusicSynth {
public:
    explicit HangingSynth(std::shared_ptr<SynthCalls> calls) : calls_(std::move(calls)) {}
    void load(const QByteArray&) override { calls_->note("load"); }
    void play() override { calls_->note("play"); }
    void halt() override {
        calls_->note("halt");
        calls_->haltEntered.release();
        calls_->haltMayEnd.acquire();
    }
    void unload() override { calls_->note("unload"); }

private:
    std::shared_ptr<SynthCalls> calls_;
};

}  // namespace

void TestSdlSound::hangingSynthHoldsUpNoCommand() {
    auto calls = std::make_shared<SynthCalls>();
    auto music = std::make_unique<SdlMusicCommands>(std::make_unique<HangingSynth>(calls));
    const QString open = "open " + folder_ + "notes.mid type sequencer alias midifile";
    const QString play = QStringLiteral("play midifile from 0");
    const QString stop = QStringLiteral("stop midifile ");
    const QString close = QStringLiteral("close midifile");
    for (const QString& command : {open, play, stop}) QCOMPARE(music->send(command), 0);
    QVERIFY(calls->haltEntered.tryAcquire(1, 60000));
    // While it hangs: Stop, a new Play, and the window's end all answer at once, and the
    // tunes given meanwhile are never loaded.
    for (const QString& command : {close, open, play, stop, close, open})
        QCOMPARE(music->send(command), 0);
    music.reset();
    calls->haltMayEnd.release(100);
    settle();
    QCOMPARE(calls->made, (QStringList{"load", "play", "halt", "unload", "unload", "unload"}));
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
    {
        SdlMusicCommands music;
        for (qsizetype i = 0; i < commands.size(); ++i) {
            QString command = commands[i];
            command.replace(QLatin1String("%F"), folder_);
            QCOMPARE(music.send(command), answers[i]);
        }
    }
    settle();
}

QTEST_MAIN(TestSdlSound)
#include "tst_sdlsound.moc"
