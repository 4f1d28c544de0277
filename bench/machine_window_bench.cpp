// The machine window, offscreen: how long one typed key takes in a description of 10, 1,000 and
// 9,999 lines (every key is checked against what the file can carry), and the undo and redo of
// such a key in 9,999 lines; how long a Load of a machine with 21 flags takes through the
// window, one flag step on the bonus page, and the undo and redo of a sound table value.

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
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

using namespace specboard;

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
    // Ctrl+Z and Ctrl+Y as the author presses them, on one key that is a step of its own.
    const auto undoAndRedo = [&](QWidget* focused, const char* what, auto check) {
        std::vector<double> undo, redo;
        for (int i = 0; i < Rounds; ++i) {
            QElapsedTimer timer;
            timer.start();
            QTest::keyClick(focused, Qt::Key_Z, Qt::ControlModifier);
            undo.push_back(timer.nsecsElapsed() / 1e6);
            if (!check(false)) return false;
            timer.start();
            QTest::keyClick(focused, Qt::Key_Y, Qt::ControlModifier);
            redo.push_back(timer.nsecsElapsed() / 1e6);
            if (!check(true)) return false;
        }
        std::printf("undo, redo of %-22s %8.3f, %8.3f ms\n", what, median(undo), median(redo));
        return true;
    };
    window.editor().endTyping();
    QTest::keyClick(exp, 'b');
    const auto keyShown = [&](bool made) {
        return window.document().explanation.endsWith(made ? QStringLiteral("ab")
                                                           : QStringLiteral("aa")) &&
               exp->toPlainText().endsWith(made ? QStringLiteral("ab") : QStringLiteral("aa"));
    };
    if (!undoAndRedo(exp, "a key in 9,999 lines:", keyShown)) {
        std::fprintf(stderr, "the key was not taken back or made again\n");
        return 1;
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
        // The unsaved description is thrown away.
        if (window.isModified()) dialogs.answers << Dialogs::Answer::No;
        dialogs.fileAnswers << machineFile;
        window.loadMachineFile();
    });
    dialogs.shown.clear();
    if (window.document().reelData.flagCount != 20) {
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

    // A candidate's sound of reel stop, reel 2: the effect sound page shows it again.
    window.findChild<QAbstractButton*>(QStringLiteral("OptionSound_2"))->click();
    window.findChild<QAbstractButton*>(QStringLiteral("NeRealStop"))->click();
    auto* sound = window.findChild<QLineEdit*>(QStringLiteral("BetSound_3"));
    sound->setFocus();
    QTest::keyClick(sound, Qt::Key_Backspace);
    QTest::keyClicks(sound, QStringLiteral("12"));
    const auto soundShown = [&](bool made) {
        const auto held = window.editor().effectCandidate(window.editor().effectPlace(), 3);
        return held && held->sound == (made ? 12 : 0) && sound->text().toInt() == held->sound;
    };
    if (!undoAndRedo(sound, "a sound table value:", soundShown)) {
        std::fprintf(stderr, "the sound value was not taken back or made again\n");
        return 1;
    }
    return 0;
}
