// The control window at its largest (twenty prizes, LastPrizeIndex 19), offscreen: a special
// paste with all sixteen boxes ticked, its undo and redo, the heap its steps take in a full
// history, and the control file's Save and Load through the window's buttons, each including
// the redraw that follows.
// Usage: special_paste_bench [OUTDIR]   (OUTDIR keeps the files written)

#include <malloc.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

#include "benchutil.h"
#include "form1.h"
#include "scripteddialogs.h"
#include "textfile.h"

using namespace stopboard;

namespace {

constexpr int Rounds = 21;

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Medians of the wall clock and of the processor time of this thread, which other work on a
// shared machine disturbs less.
struct Figures {
    double wallMs;
    double cpuMs;
};

Figures measure(const std::function<void()>& run) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double cpu0 = cpuMs();
        run();
        QApplication::processEvents();  // the repaint of what changed
        cpu.push_back(cpuMs() - cpu0);
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return {median(wall), median(cpu)};
}

void print(const char* what, const Figures& f, const char* aim) {
    std::printf("%-34s wall %8.3f ms   cpu %8.3f ms   %s\n", what, f.wallMs, f.cpuMs, aim);
}

// A reel data file with twenty prizes, each paying in every game state.
QString writeReelData(const QString& folder) {
    TextWriter w;
    w.rawLine("120");
    w.rawLine("# pics size");
    w.commaNumbers({1080, 540});
    w.rawLine("# pics name");
    for (int i = 0; i < 28; ++i) w.commaLine({""});
    w.rawLine("# real arrangement");
    for (int p = 20; p >= 0; --p) w.commaNumbers({p % 7 + 1, (p + 2) % 7 + 1, (p + 4) % 7 + 1});
    w.rawLine("# number of prize");
    w.commaNumbers({control::MaxLastPrizeIndex});
    w.rawLine("# prize composition");
    for (int e = 0; e <= control::MaxLastPrizeIndex; ++e) {
        w.commaNumbers({e % 7, 100, e % 7});
        w.commaNumbers({1, 1, 1});
        w.commaNumbers({0, 0, 0});
    }
    const QString path = QDir(folder).filePath(QStringLiteral("bench.sdf"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(w.take());
    return path;
}

std::size_t heapInUse() { return mallinfo2().uordblks; }

void click(Form1& w, const char* name) {
    if (auto* button = w.findChild<QAbstractButton*>(QLatin1String(name))) button->click();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    BenchSetup<QApplication> bench(argc, argv);
    ScriptedDialogs dialogs;
    Form1 window(dialogs);
    window.show();
    QApplication::processEvents();
    ControlEditor& editor = window.editor();
    dialogs.fileAnswers << writeReelData(bench.folder);
    click(window, "ComLoadRealFile");
    if (editor.document().lastPrizeIndex() != control::MaxLastPrizeIndex) {
        std::fprintf(stderr, "the reel data file did not load\n");
        return 1;
    }
    std::printf("median of %d rounds, platform %s, LastPrizeIndex %d (%lld assignment lines)\n",
                Rounds, qPrintable(QGuiApplication::platformName()), control::MaxLastPrizeIndex,
                static_cast<long long>(control::assignmentLineCount(control::MaxLastPrizeIndex)));

    bool ok = true;
    auto saveAndLoad = [&](const char* name, const char* saveLabel, const char* loadLabel,
                           const char* aim) {
        const QString path = QDir(bench.folder).filePath(QString::fromLatin1(name));
        print(saveLabel, measure([&] {
                  dialogs.fileAnswers << path;
                  click(window, "SaveConFile");
              }),
              aim);
        ok = ok && !editor.isModified();
        print(loadLabel, measure([&] {
                  dialogs.fileAnswers << path;
                  click(window, "LoadConFile");
              }),
              aim);
        ok = ok && !editor.isModified() && dialogs.shown.isEmpty();
    };
    saveAndLoad("bench_start.rcf", "Save, start values", "Load, start values",
                "(aim: under 60 ms)");

    // A full document: every stop table, base table and assignment holds something.
    QRandomGenerator rng(20240601);
    for (int t = 1; t <= control::StopTableCount; ++t) {
        for (int c = 0; c < reel::CellCount; ++c) editor.setStopIndex(t, c, int(rng.bounded(5)));
        for (int s = 0; s < control::SlotsPerBaseTable; ++s) {
            editor.setSlotTable(t, s, int(rng.bounded(1, 513)));
            editor.setSlotProbability(t, s, int(rng.bounded(257)));
        }
    }
    AssignmentKey k;
    for (k.playState = 0; k.playState < control::PlayStateCount; ++k.playState)
        for (k.bonusFlagState = 0; k.bonusFlagState < control::BonusFlagStateCount;
             ++k.bonusFlagState)
            for (k.bet = 0; k.bet < control::BetCount; ++k.bet)
                for (k.stopOrder = 0; k.stopOrder < control::StopOrderCount; ++k.stopOrder)
                    for (k.flag = 0; k.flag < control::FlagCount; ++k.flag)
                        for (k.bigType = 0; k.bigType < control::BigTypeCount; ++k.bigType)
                            for (k.firstStop = 1; k.firstStop <= control::FirstStopCount;
                                 ++k.firstStop)
                                editor.setAssignment(k, int(rng.bounded(1, 513)));
    for (QCheckBox* box : window.findChildren<QCheckBox*>()) box->setChecked(true);
    for (int i = 0; i < 7; ++i) click(window, "NeSPFNo");
    print("special paste, all 16 ticked", measure([&] { click(window, "Command3"); }),
          "(aim: under 5 ms)");
    AssignmentKey target = editor.key();
    target.playState = 3;
    target.flag = 7;
    target.bigType = 4;
    target.firstStop = 21;
    AssignmentKey source = editor.key();
    source.firstStop = 21;
    ok = ok && dialogs.shown.isEmpty() &&
         editor.document().assignment(target) == editor.document().assignment(source);

    // Undo and redo of that paste, which wrote over every one of its entries.
    std::vector<double> undoWall, undoCpu, redoWall, redoCpu;
    for (int i = 0; i < Rounds && ok; ++i) {
        for (bool redo : {false, true}) {
            QElapsedTimer timer;
            timer.start();
            const double cpu0 = cpuMs();
            redo ? editor.redo() : editor.undo();
            QApplication::processEvents();
            (redo ? redoCpu : undoCpu).push_back(cpuMs() - cpu0);
            (redo ? redoWall : undoWall).push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        ok = editor.document().assignment(target) == editor.document().assignment(source);
    }
    print("undo of that special paste", {median(undoWall), median(undoCpu)}, "(aim: under 5 ms)");
    print("redo of that special paste", {median(redoWall), median(redoCpu)}, "(aim: under 5 ms)");

    // A full history of such pastes, from two keys in turn, so each rewrites all its entries.
    saveAndLoad("bench_varied.rcf", "Save, varied values", "Load, varied values", "");
    const std::size_t heapBefore = heapInUse();
    int changedAll = 0;
    std::vector<double> pasteWall;
    for (int i = 0; i < EditorSession::HistoryLimit; ++i) {
        i % 2 ? editor.previousFlag() : editor.nextFlag();
        const int before = editor.history().count();
        QElapsedTimer timer;
        timer.start();
        click(window, "Command3");
        pasteWall.push_back(double(timer.nsecsElapsed()) / 1e6);
        changedAll += editor.history().count() > before;
    }
    const double heapMb = double(heapInUse() - heapBefore) / (1024.0 * 1024.0);
    std::printf("special paste rewriting all entries wall %8.3f ms (median)\n", median(pasteWall));
    std::printf("history of %d special pastes (%d held): %.1f MB of heap   (aim: under 64 MB)\n",
                changedAll, editor.history().count(), heapMb);
    ok = ok && changedAll == EditorSession::HistoryLimit;
    if (!ok) std::fprintf(stderr, "a command did not run as it should\n");
    return ok ? 0 : 1;
}
