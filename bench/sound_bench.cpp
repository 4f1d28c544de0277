// The sound output over SDL2_mixer (the silent device unless SDL_AUDIODRIVER says otherwise):
// how long Play takes to refuse a 1 MB MIDI of 131,072 notes at one tick and a 1 MB WAV at
// 1 Hz, what three presses of a long WAV hold before and after Stop, and, under the densest
// tune that is played (1,000 notes every 52 ms), how long Stop, a new Play and the shut-down
// take, and how long the sound thread goes on after the shut-down.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QtEndian>
#include <cstdio>
#include <ctime>
#include <vector>

#include "benchutil.h"
#include "sdlsound.h"
#include "soundplayer.h"
#include "soundthread.h"

namespace {

QByteArray wavFile(quint32 rate, qsizetype samples) {
    char head[44];
    memcpy(head, "RIFF....WAVEfmt ", 16);
    qToLittleEndian<quint32>(quint32(36 + samples), head + 4);
    qToLittleEndian<quint32>(16, head + 16);
    qToLittleEndian<quint16>(1, head + 20);
    qToLittleEndian<quint16>(1, head + 22);
    qToLittleEndian<quint32>(rate, head + 24);
    qToLittleEndian<quint32>(rate, head + 28);
    qToLittleEndian<quint16>(1, head + 32);
    qToLittleEndian<quint16>(8, head + 34);
    memcpy(head + 36, "data", 4);
    qToLittleEndian<quint32>(quint32(samples), head + 40);
    QByteArray wav(head, 44);
    for (qsizetype i = 0; i < samples; ++i) wav += char(128 + ((i / 8) % 2 ? 40 : -40));
    return wav;
}

// Groups of `chord` notes `gap` ticks apart (96 ticks a quarter at 120 beats a minute: a
// tick is 5.2 ms), each ended one tick before the next starts.
QByteArray midiFile(int groups, int chord, int gap) {
    QByteArray events;
    for (int g = 0; g < groups; ++g) {
        for (int n = 0; n < chord; ++n)
            events += QByteArray(1, char(n || !g ? 0 : 1)) + char(0x90 | (n % 9)) +
                      char(36 + n % 60) + char(100);
        for (int n = 0; n < chord; ++n)
            events += QByteArray(1, char(n ? 0 : gap - 1)) + char(0x80 | (n % 9)) +
                      char(36 + n % 60) + char(0);
    }
    events += QByteArray("\0\xff\x2f\0", 4);
    QByteArray file("MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\0", 22);
    qToBigEndian<quint32>(quint32(events.size()), file.data() + 18);
    return file + events;
}

bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

double msOf(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e6; }

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double lastCpuMs = 0;  // the window thread's own time in the last step timed

template <typename Step>
double timed(Step step) {
    QElapsedTimer timer;
    const double cpu = threadCpuMs();
    timer.start();
    step();
    lastCpuMs = threadCpuMs() - cpu;
    return msOf(timer);
}

long residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
    BenchSetup<QApplication> setup(argc, argv);
    const QString folder = setup.folder + u'/';
    if (!write(folder + "dense.mid", midiFile(1, 131072, 96)) ||
        !write(folder + "low.wav", wavFile(1, 1 << 20)) ||
        !write(folder + "long.wav", wavFile(4000, 1400000)) ||
        !write(folder + "busy.mid", midiFile(380, 1000, 10)))
        return 1;

    SdlSoundDevice device;
    SdlMusicCommands music;
    SoundPlayer player(device, music);
    if (const auto failure = player.start(0)) {
        std::fprintf(stderr, "no sound output: %s\n", qPrintable(failure->detail));
        return 1;
    }
    int refused = 0;
    const auto play = [&](const char* name) {
        return timed([&] {
            if (player.play(QStringLiteral("1"), QString::fromLatin1(name), folder).failure)
                ++refused;
        });
    };

    const double dense = play("dense.mid");
    const double low = play("low.wav");
    if (refused != 2 || music.isOpen() || device.heldBuffers() != 0) {
        std::fprintf(stderr, "the 1 MB MIDI or the 1 Hz WAV was not refused\n");
        return 1;
    }
    std::printf("Play refusing a 1 MB MIDI of 131,072 notes: %8.1f ms\n", dense);
    std::printf("Play refusing a 1 MB WAV at 1 Hz:           %8.1f ms\n", low);

    const long before = residentKb();
    for (int i = 0; i < 3; ++i) play("long.wav");
    const long pressed = residentKb();
    const double stopWav = timed([&] { player.stop(); });
    std::printf("three presses of a 62 MB WAV: %ld MB held, %ld MB after Stop (%.1f ms)\n",
                (pressed - before) / 1024, (residentKb() - before) / 1024, stopWav);

    std::vector<double> stops, plays, playCpu;
    for (int round = 0; round < 5; ++round) {
        play("busy.mid");
        QThread::msleep(1500);  // the synthesizer at its densest
        stops.push_back(timed([&] { player.stop(); }));
        plays.push_back(play("busy.mid"));
        playCpu.push_back(lastCpuMs);
        QThread::msleep(300);
        player.stop();
    }
    std::printf(
        "under 1,000 notes every 52 ms: Stop %.1f ms, a new Play %.1f ms, %.1f ms of it "
        "the window thread's own (median of %zu; most %.1f and %.1f)\n",
        median(stops), median(plays), median(playCpu), stops.size(),
        *std::max_element(stops.begin(), stops.end()),
        *std::max_element(plays.begin(), plays.end()));

    play("busy.mid");
    QThread::msleep(1500);
    const double shutDown = timed([&] { player.shutDown(); });
    const double after = timed([] { soundthread::waitUntilIdle(60000); });
    std::printf("shut-down while it plays: %8.1f ms, the sound thread %8.1f ms more\n", shutDown,
                after);
    return 0;
}
