// The machine window, offscreen: how long one typed key takes in a description of 10, 1,000 and
// 9,999 lines (every key is checked against what the file can carry), how long a Load of a
// machine with 21 flags takes through the window, and one flag step on the bonus page.

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <vector>

#include "benchutil.h"
#include "form1.h"
#include "recordingsound.h"
#include "savefile.h"
#include "scripteddialogs.h"
#include "sdfformat.h"

namespace {

constexpr int Rounds = 15;

template <typename Step>
double medianMs(Step step) {
    std::vector<double> ms;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        step();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    return median(ms);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    BenchSetup<QApplication> setup(argc, argv);
    ScriptedDialogs dialogs;
    // The recording sound output: a bench opens no audio device.
    QStringList soundLog;
    RecordingSoundDevice soundDevice(soundLog);
    RecordingMusicCommands musicCommands(soundLog);
    Form1 window(dialogs, soundDevice, musicCommands);
    window.show();

    auto* exp = window.findChild<QPlainTextEdit*>(QStringLiteral("txtExp"));
    for (int lines : {10, 1000, 9999}) {
        exp->setPlainText(QStringLiteral("説明の一行です") +
                          QStringLiteral("\n説明の一行です").repeated(lines - 1));
        exp->moveCursor(QTextCursor::End);
        const double ms = medianMs([&] { QTest::keyClick(exp, 'a'); });
        if (!window.document().explanation.endsWith(QStringLiteral("aaa"))) return 1;
        std::printf("key in a description of %5d lines: %8.3f ms\n", lines, ms);
    }

    ReelDataDocument reels;
    reels.lastPrizeIndex = 20;
    MachineSpec machine;
    machine.reelFileName = QStringLiteral("reels.sdf");
    machine.reelData.flagCount = 20;
    const QString machineFile = QDir(setup.folder).filePath(QStringLiteral("bench.orf"));
    if (!sdf::writeFile(QDir(setup.folder).filePath(QStringLiteral("reels.sdf")), reels, nullptr) ||
        !saveFileAtomically(machineFile, orf::write(machine)))
        return 1;
    const double load = medianMs([&] {
        dialogs.fileAnswers << machineFile;
        window.loadMachineFile();
    });
    if (!dialogs.shown.isEmpty() || window.document().reelData.flagCount != 20) {
        std::fprintf(stderr, "the machine did not load\n");
        return 1;
    }
    std::printf("Load of a machine with 21 flags:    %8.3f ms\n", load);

    auto* next = window.findChild<QPushButton*>(QStringLiteral("NeFlagNo"));
    auto* previous = window.findChild<QPushButton*>(QStringLiteral("PrFlagNo"));
    const double step = medianMs([&] {
        next->click();
        previous->click();
    });
    std::printf("flag step forth and back:           %8.3f ms\n", step);
    return 0;
}
