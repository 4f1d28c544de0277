// The reel window, offscreen: what one typed key costs in a pay box and in the wait box; how
// long Ctrl+Z and Ctrl+Y take for each kind of step (the key, the step and the redraw that
// follows), also for a step merged from 1,000 keystrokes; and how much memory the history of
// 1,000 steps holds.

#include <malloc.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

#include "benchutil.h"
#include "form1.h"
#include "scripteddialogs.h"
#include "sdfformat.h"

// Built on a tree from before the edit history, the bench times the typing only: the figure
// to compare with.
#if __has_include("editorsession.h")
#define HAS_HISTORY 1
#else
#define HAS_HISTORY 0
#endif

using namespace reelboard;

namespace {

constexpr int Rounds = 15;
constexpr int Keys = 1000;

// Keys typed into `box`: a digit, then Backspace, and so on, so that every other key stores
// a value.
void typeKeys(QLineEdit* box, int keys) {
    for (int k = 0; k < keys; ++k) {
        if (k % 2 == 0)
            QTest::keyClick(box, char('1' + k % 9));
        else
            QTest::keyClick(box, Qt::Key_Backspace);
    }
}

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Microseconds per key of `Keys` keys typed into `box`, wall and processor time (medians).
std::pair<double, double> typingUs(QLineEdit* box) {
    std::vector<double> wall, cpu;
    box->setFocus();
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        const double cpu0 = threadCpuMs();
        timer.start();
        typeKeys(box, Keys);
        wall.push_back(double(timer.nsecsElapsed()) / 1e3 / Keys);
        cpu.push_back((threadCpuMs() - cpu0) * 1e3 / Keys);
    }
    return {median(wall), median(cpu)};
}

#if HAS_HISTORY
// Ctrl+Z or Ctrl+Y in the window, and the redraw it leads to: wall and processor
// milliseconds (on a shared machine the wall time also holds the time slices of others).
std::pair<double, double> historyKeyMs(Form1& window, bool redo) {
    QElapsedTimer timer;
    const double cpu = threadCpuMs();
    timer.start();
    QTest::keyClick(&window, redo ? Qt::Key_Y : Qt::Key_Z, Qt::ControlModifier);
    QApplication::processEvents();
    return {double(timer.nsecsElapsed()) / 1e6, threadCpuMs() - cpu};
}

double largest(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

std::size_t heapInUse() { return mallinfo2().uordblks; }
#endif

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    BenchSetup<QApplication> setup(argc, argv);
    ScriptedDialogs dialogs;
    Form1 window(dialogs);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    window.activateWindow();
    auto* payBox = window.findChild<QLineEdit*>(QStringLiteral("TextPay_0"));
    auto* waitBox = window.findChild<QLineEdit*>(QStringLiteral("TextFLWait"));
    if (!payBox || !waitBox) return 1;

    for (QLineEdit* box : {payBox, waitBox}) {
        const auto [wall, cpu] = typingUs(box);
        std::printf(
            "typing into %-10s: %7.2f us wall, %7.2f us cpu per key (medians of %d rounds of %d "
            "keys)\n",
            qPrintable(box->objectName()), wall, cpu, Rounds, Keys);
    }
#if HAS_HISTORY

    ReelEditor& editor = window.editor();
    QImage red(72, 36, QImage::Format_RGB32), blue(72, 36, QImage::Format_RGB32);
    red.fill(Qt::red);
    blue.fill(Qt::blue);
    const ReelDataDocument& doc = editor.document();
    int n = 0;
    // Each kind of step as the window makes it; every call changes a value, so it is a step.
    const std::vector<std::pair<const char*, std::function<void()>>> kinds = {
        {"symbol picture",
         [&] {
             const bool isRed = doc.symbols[0].pictures[0].cacheKey() == red.cacheKey();
             editor.setSymbolPicture(0, PictureState::Lit, isRed ? "b.bmp" : "r.bmp",
                                     isRed ? blue : red);
         }},
        {"strip cell",
         [&] {
             const int c = ++n % reel::CellCount;
             editor.placeSymbol(c, (doc.arrangement[c] + 1) % reel::SymbolCount);
         }},
        {"prize symbol",
         [&] { editor.setPrizeSymbol(0, 0, doc.prizes[0].symbols[0] == 3 ? reel::AnySymbol : 3); }},
        {"pay", [&] { editor.setPay(0, 1, doc.prizes[0].pays[1] == 5 ? 9 : 5); }},
        {"kind", [&] { editor.setKind(0, 2, doc.prizes[0].kinds[2] == 6 ? 7 : 6); }},
        {"flash wait", [&] { editor.setFrameWait(1, 1, doc.frame(1, 1).wait == 100 ? 300 : 100); }},
        {"lamp", [&] { editor.toggleLamp(1, 1, 3); }},
        {"all lamps", [&] { editor.setAllLamps(1, 1, doc.frame(1, 1).lamps[0] == 0); }},
        {"prize table grown",
         [&] {
             // Up to the last entry in use, then one step past it.
             while (editor.currentPrize() < doc.lastPrizeIndex) {
                 editor.setPrizeSymbol(editor.currentPrize(), 1, 2);
                 editor.nextPrize();
             }
             editor.setPrizeSymbol(editor.currentPrize(), 1, 2);
             editor.nextPrize();
         }},
        {"1000 keystrokes, merged",
         [&] {
             // From an emptied box, ending on another value than the last round's: typing
             // that ends on the value it began with is no step.
             waitBox->setFocus();
             waitBox->selectAll();
             typeKeys(waitBox, Keys - 1);
             QTest::keyClick(waitBox, char('5' + ++n % 2));
             editor.endTyping();
         }},
    };
    std::printf("%-24s %-23s %-23s\n", "", "Ctrl+Z ms", "Ctrl+Y ms");
    std::printf("%-24s %-23s %-23s\n", "step", "wall median, cpu max", "wall median, cpu max");
    for (const auto& [name, step] : kinds) {
        std::vector<double> undo, redo, undoCpu, redoCpu;
        for (int round = 0; round < Rounds; ++round) {
            const int steps = editor.history().index();
            step();
            if (editor.history().index() == steps) return 1;  // no step was made
            const QByteArray edited = sdf::write(doc);
            const auto [undoWall, undoProcessor] = historyKeyMs(window, false);
            undo.push_back(undoWall);
            undoCpu.push_back(undoProcessor);
            if (sdf::write(doc) == edited) return 1;  // nothing was undone
            const auto [redoWall, redoProcessor] = historyKeyMs(window, true);
            redo.push_back(redoWall);
            redoCpu.push_back(redoProcessor);
            if (sdf::write(doc) != edited) return 1;
        }
        std::printf("%-24s %8.3f %8.3f      %8.3f %8.3f\n", name, median(undo), largest(undoCpu),
                    median(redo), largest(redoCpu));
    }

    // A history of 1,000 steps of every kind above but the typing: what it holds beyond the
    // document. The pictures are shared with the document, not copied.
    editor.documentCleared();
    const std::size_t before = heapInUse();
    for (int i = 0; i < EditorSession::HistoryLimit; ++i)
        kinds[std::size_t(i) % (kinds.size() - 1)].second();
    const std::size_t after = heapInUse();
    std::printf("history of %d steps: %d held, %.1f KB of heap (%.0f bytes a step)\n",
                EditorSession::HistoryLimit, editor.history().count(),
                double(after - before) / 1024, double(after - before) / editor.history().count());
#endif
    return 0;
}
