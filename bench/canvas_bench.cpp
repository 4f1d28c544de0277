// The placement canvas over an 8000 x 8000 cabinet picture, offscreen: how long a repaint of
// the full canvas takes (one scroll step), how long each of 200 pointer moves of a drag
// takes, its painting included, and Ctrl+Z and Ctrl+Y of a move, the repaint included. Once
// for a full-colour picture (JPEG) and once for a palette picture (8-bit BMP, decoded like a
// GIF). Prints the medians. Then the resident memory after 1,000 picture changes between two
// 8000 x 8000 full-colour pictures, every one an undo step.
// Usage: canvas_bench [OUTDIR]  (the pictures stay in OUTDIR when given).

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "benchutil.h"
#include "form1.h"
#include "placementcanvas.h"
#include "scripteddialogs.h"

using namespace posboard;

namespace {

constexpr int Side = 8000;
constexpr int Moves = 200;
constexpr int Repaints = 200;
constexpr double AimMs = 4.0;
constexpr int HistoryRounds = 100;
constexpr int PictureChanges = 1000;
constexpr long AimMemoryMb = 600;

QImage cabinetPicture() {
    QImage image(Side, Side, QImage::Format_RGB32);
    image.fill(QColor(40, 60, 90));
    QPainter painter(&image);
    for (int k = 0; k < Side; k += 50) {
        painter.setPen(QColor::fromHsv(k % 360, 200, 230));
        painter.drawLine(k, 0, Side - 1 - k, Side - 1);
        painter.drawLine(0, k, Side - 1, k);
    }
    return image;
}

double elapsedMs(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e6; }

void send(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, held, {});
    QCoreApplication::sendEvent(target, &event);
}

struct Figures {
    double loadMs = 0;
    double repaintMs = 0;
    double moveMs = 0;
    double worstMoveMs = 0;
    int worstMove = 0;
    double undoMs = 0;
    double redoMs = 0;
};

// Ctrl+Z or Ctrl+Y as the author presses it, and the repaint it leads to.
double historyKeyMs(QWidget& window, Qt::Key key) {
    QElapsedTimer timer;
    timer.start();
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier);
    QCoreApplication::sendEvent(&window, &press);
    QCoreApplication::sendEvent(&window, &release);
    QCoreApplication::processEvents();
    return elapsedMs(timer);
}

bool run(const QString& path, Figures& figures) {
    ScriptedDialogs dialogs;
    Form1 window(dialogs);
    window.show();
    QCoreApplication::processEvents();

    QElapsedTimer timer;
    dialogs.fileAnswers << path;
    timer.start();
    window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    QCoreApplication::processEvents();
    figures.loadMs = elapsedMs(timer);
    if (window.document().pictureSlots[0].image.size() != QSize(Side, Side)) {
        std::fprintf(stderr, "the picture was not loaded: %s\n",
                     dialogs.shown.isEmpty() ? "" : qPrintable(dialogs.shown.last().detail));
        return false;
    }

    // Repaint of the full canvas: one scroll step each.
    auto* h = window.findChild<QScrollBar*>(QStringLiteral("HScroll1"));
    auto* v = window.findChild<QScrollBar*>(QStringLiteral("VScroll1"));
    std::vector<double> repaints;
    for (int k = 0; k < Repaints; ++k) {
        timer.start();
        (k % 2 ? v : h)->setValue(3000 + k * 7);
        QCoreApplication::processEvents();
        repaints.push_back(elapsedMs(timer));
    }

    // A drag over the scrolled canvas with entry 4 selected.
    window.editor().clickEntry(4);
    QWidget* surface = window.findChild<QWidget*>(QStringLiteral("Picture1"));
    send(surface, QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton, Qt::LeftButton);
    std::vector<double> moves;
    for (int k = 1; k <= Moves; ++k) {
        const QPoint at(20 + k * 2, 20 + k * 2 % 430);
        timer.start();
        send(surface, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        QCoreApplication::processEvents();
        moves.push_back(elapsedMs(timer));
        if (moves.back() > figures.worstMoveMs) {
            figures.worstMoveMs = moves.back();
            figures.worstMove = k;
        }
    }
    send(surface, QEvent::MouseButtonRelease, QPoint(420, 420), Qt::LeftButton, Qt::NoButton);
    if (window.document().entries[4].width() < 2) {
        std::fprintf(stderr, "the drag stored nothing\n");
        return false;
    }
    figures.repaintMs = median(repaints);
    figures.moveMs = median(moves);

    // A move of the rectangle just drawn, then its undo and redo in turn.
    send(surface, QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton, Qt::LeftButton);
    send(surface, QEvent::MouseMove, QPoint(160, 130), Qt::NoButton, Qt::LeftButton);
    send(surface, QEvent::MouseButtonRelease, QPoint(160, 130), Qt::LeftButton, Qt::NoButton);
    const PlacementEntry moved = window.document().entries[4];
    std::vector<double> undos, redos;
    for (int k = 0; k < HistoryRounds; ++k) {
        undos.push_back(historyKeyMs(window, Qt::Key_Z));
        redos.push_back(historyKeyMs(window, Qt::Key_Y));
    }
    if (!(window.document().entries[4] == moved) || window.editor().canRedo()) {
        std::fprintf(stderr, "undo and redo of the move did not come back to it\n");
        return false;
    }
    figures.undoMs = median(undos);
    figures.redoMs = median(redos);
    window.editor().documentSaved(QString());
    return true;
}

// Resident memory in MB after `PictureChanges` picture "Load"s of slot 0, between two files.
bool pictureChanges(const QString& one, const QString& other, long& beforeMb, long& afterMb) {
    ScriptedDialogs dialogs;
    Form1 window(dialogs);
    window.show();
    QCoreApplication::processEvents();
    auto* load = window.findChild<QPushButton*>(QStringLiteral("Command1"));
    beforeMb = residentMemoryKb() / 1024;
    for (int k = 0; k < PictureChanges; ++k) {
        dialogs.fileAnswers << (k % 2 ? other : one);
        load->click();
        QCoreApplication::processEvents();
    }
    afterMb = residentMemoryKb() / 1024;
    if (window.editor().history().count() != PictureChanges || !dialogs.shown.isEmpty()) {
        std::fprintf(stderr, "the pictures were not all loaded\n");
        return false;
    }
    window.editor().documentSaved(QString());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    BenchSetup<QApplication> bench(argc, argv);
    const QDir dir(bench.folder);

    std::printf("canvas_bench: %d x %d picture, canvas %d x %d, platform %s\n", Side, Side,
                PlacementCanvas::MaxViewWidth, PlacementCanvas::MaxViewHeight,
                qPrintable(QGuiApplication::platformName()));
    QImage picture = cabinetPicture();
    const QString jpeg = dir.filePath(QStringLiteral("cabinet.jpg"));
    const QString palette = dir.filePath(QStringLiteral("cabinet8.bmp"));
    const QString jpeg2 = dir.filePath(QStringLiteral("cabinet2.jpg"));
    if (!picture.save(jpeg, "JPEG", 80) || !picture.mirrored(true, false).save(jpeg2, "JPEG", 80) ||
        !picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither)
             .save(palette, "BMP")) {
        std::fprintf(stderr, "cannot write the pictures in %s\n", qPrintable(bench.folder));
        return 1;
    }
    picture = QImage();

    bool met = true;
    for (const QString& path : {jpeg, palette}) {
        Figures f;
        if (!run(path, f)) return 1;
        std::printf(
            "  %-13s load %.0f ms; repaint of the full canvas median %.3f ms; "
            "drag of %d moves: median %.3f ms per move, slowest %.3f ms (move %d); "
            "move undone %.3f ms, redone %.3f ms (medians of %d)\n",
            qPrintable(QFileInfo(path).fileName()), f.loadMs, f.repaintMs, Moves, f.moveMs,
            f.worstMoveMs, f.worstMove, f.undoMs, f.redoMs, HistoryRounds);
        met = met && f.moveMs < AimMs && f.undoMs < AimMs && f.redoMs < AimMs;
    }
    std::printf("  aim: under %.0f ms per move, undo and redo: %s\n", AimMs,
                met ? "met" : "NOT met");
    long beforeMb = 0, afterMb = 0;
    if (!pictureChanges(jpeg, jpeg2, beforeMb, afterMb)) return 1;
    std::printf(
        "  %d picture changes between two %d x %d pictures: resident %ld MB before, "
        "%ld MB after; aim under %ld MB: %s\n",
        PictureChanges, Side, Side, beforeMb, afterMb, AimMemoryMb,
        afterMb < AimMemoryMb ? "met" : "NOT met");
    if (argc > 1) std::printf("  pictures left in %s\n", qPrintable(bench.folder));
    return 0;
}
