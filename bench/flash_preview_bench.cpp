// Plays one flash action of 20 frames of 50 ms each in the reel window, offscreen, and
// prints by how much each frame outlasted its wait and how much processor time the
// preview took.

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "checkwindow.h"
#include "flashpanel.h"
#include "form1.h"
#include "scripteddialogs.h"

using namespace reelboard;

namespace {

constexpr int Frames = 20;
constexpr int WaitMs = 50;
constexpr int Runs = 3;

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScriptedDialogs dialogs;
    Form1 window(dialogs);
    window.show();

    ReelEditor& editor = window.editor();
    for (int f = 1; f <= Frames; ++f) {
        editor.setFrameWait(1, f, WaitMs);
        editor.setAllLamps(1, f, f % 2 != 0);
    }
    editor.setFrameWait(1, Frames + 1, 0);

    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> shownAt;  // when each frame of the preview was drawn, ns
    QObject::connect(window.checkWindow(), &CheckWindow::redrawn, [&] {
        if (window.flashPanel()->previewRunning()) shownAt.push_back(clock.nsecsElapsed());
    });

    std::printf("flash preview: %d frames of %d ms, %d runs, platform %s\n", Frames, WaitMs, Runs,
                qPrintable(QGuiApplication::platformName()));
    double worstMean = 0, worstMax = 0, worstCpu = 0;
    for (int run = 1; run <= Runs; ++run) {
        shownAt.clear();
        const double cpu0 = cpuSeconds();
        const qint64 wall0 = clock.nsecsElapsed();
        window.findChild<QPushButton*>(QStringLiteral("Command10"))->click();
        const qint64 wall = clock.nsecsElapsed() - wall0;
        const double cpu = cpuSeconds() - cpu0;

        // Frame n lasts from its drawing to the next one; frame 21 (wait 0) ends the action.
        double sum = 0, largest = 0;
        for (int n = 0; n < Frames && n + 1 < int(shownAt.size()); ++n) {
            const double over = double(shownAt[n + 1] - shownAt[n]) / 1e6 - WaitMs;
            sum += over;
            largest = std::max(largest, over);
        }
        const double mean = sum / Frames;
        const double cpuShare = 100.0 * cpu / (double(wall) / 1e9);
        std::printf(
            "run %d: frames drawn %zu, over the wait: mean %.3f ms, largest %.3f ms; "
            "wall %.1f ms, cpu %.1f ms (%.2f%%)\n",
            run, shownAt.size(), mean, largest, double(wall) / 1e6, cpu * 1e3, cpuShare);
        worstMean = std::max(worstMean, mean);
        worstMax = std::max(worstMax, largest);
        worstCpu = std::max(worstCpu, cpuShare);
    }
    std::printf(
        "worst of %d runs: mean over %.3f ms, largest over %.3f ms, cpu %.2f%% of wall time\n",
        Runs, worstMean, worstMax, worstCpu);
    return 0;
}
