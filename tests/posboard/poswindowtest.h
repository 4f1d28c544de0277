#pragma once

// Steps of the position window tests: pictures whose every pixel tells where it lies, slot
// choice and picture loads through the window's own controls, caption clicks and drags on
// the canvas as mouse events, and what the canvas shows.

#include <QAbstractItemView>
#include <QBuffer>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include "captionlabel.h"
#include "form1.h"
#include "placementcanvas.h"
#include "savefile.h"
#include "windowtest.h"

namespace postest {

using namespace posboard;
using wintest::child;
using wintest::click;
using wintest::showWindow;
using Mode = PlacementCanvas::EditMode;

// Never the black or white of an outline.
inline QImage patternPicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x & 0xff, y & 0xff, 100 + ((x >> 8) + (y >> 8) * 8) % 100));
    return image;
}

inline QString writePicture(const QTemporaryDir& dir, const QString& name, int w, int h) {
    const QString path = dir.filePath(name);
    if (!patternPicture(w, h).save(path, "BMP")) qWarning("cannot write %s", qPrintable(path));
    return path;
}

// The first 3000 bytes of a 400 x 300 BMP of 24-bit pixels: the header whole, the rows not.
inline QByteArray cutPicture() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    patternPicture(400, 300).save(&buffer, "BMP");
    return bytes.left(3000);
}

inline QByteArray readAll(const QString& path) {
    QByteArray bytes;
    readWholeFile(path, bytes);
    return bytes;
}

// The scripted dialogs a window asks and a folder for its files, made before the window.
struct WindowParts {
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
};

// A shown window.
struct Window : WindowParts, Form1 {
    Window() : Form1(dialogs) { showWindow(*this); }
};

// What the window holds counts as saved from here on.
inline void forgetChanges(Form1& w) { w.editor().documentSaved(w.editor().filePath()); }

inline QWidget* surface(Form1& w) { return child(w, QStringLiteral("Picture1")); }
inline QScrollBar* bar(Form1& w, const char* name) {
    return child<QScrollBar>(w, QLatin1String(name));
}
inline QString text(Form1& w, const QString& labelName) {
    return child<QLabel>(w, labelName)->text();
}
inline QString status(Form1& w, int panel) {
    return text(w, QStringLiteral("StatusBar1_%1").arg(panel));
}
inline QString coordinates(Form1& w, int entry) {
    return text(w, QStringLiteral("LabelPosP_%1").arg(entry));
}
inline bool captionSelected(Form1& w, int entry) {
    return child<CaptionLabel>(w, QStringLiteral("LabelPos_%1").arg(entry))->isSelected();
}
inline QLineEdit* valueField(Form1& w, int entry) {
    const int k = entry - pos::CorrectionEntryCount;
    return child<QLineEdit>(
        w, k < 0 ? QStringLiteral("txtHosei_%1").arg(entry) : QStringLiteral("txtPicNo_%1").arg(k));
}

inline void chooseSlot(Form1& w, int slot) {
    auto* box = child<QComboBox>(w, QStringLiteral("ComboBodyFile"));
    box->showPopup();
    QAbstractItemView* view = box->view();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(slot, 0)).center());
}

// "Load" of a slot picture answered with `path`.
inline void loadSlotPicture(Form1& w, ScriptedDialogs& dialogs, int slot, const QString& path) {
    if (w.editor().selectedSlot() != slot) chooseSlot(w, slot);
    wintest::clickAnswering(w, dialogs, QStringLiteral("Command1"), path);
}

inline void turnToPageOf(Form1& w, int entry) {
    while (w.editor().currentPage() < pos::entryPage(entry)) click(w, QStringLiteral("Command2"));
    while (w.editor().currentPage() > pos::entryPage(entry)) click(w, QStringLiteral("PrePage"));
}

inline void clickCaption(Form1& w, int entry) {
    turnToPageOf(w, entry);
    click(w, QStringLiteral("LabelPos_%1").arg(entry));
}

// Press, `steps` even pointer moves, release.
inline void drag(Form1& w, QPoint from, QPoint to, int steps = 4) {
    QWidget* s = surface(w);
    QTest::mousePress(s, Qt::LeftButton, {}, from);
    for (int k = 1; k <= steps; ++k) QTest::mouseMove(s, from + (to - from) * k / steps);
    QTest::mouseRelease(s, Qt::LeftButton, {}, to);
}

// One tick of the blink timer, delivered at once.
inline void blinkTick(Form1& w) {
    auto* timer = w.findChild<QTimer*>(QStringLiteral("Timer1"));
    QTimerEvent tick(timer->timerId());
    QCoreApplication::sendEvent(timer, &tick);
}

// The view shows `picture` at the view offset, pixel for pixel, but for a black or white
// outline of the box `outline` and the dashes of the stored rectangle's mark around `mark`
// (view coordinates, corners included; the outline lies over the mark).
inline bool viewShows(Form1& w, const QImage& picture, const QRect& outline = {},
                      const QRect& mark = {}) {
    const QImage& view = w.canvas().shownView();
    const QPoint at = w.canvas().viewOffset();
    const auto onEdge = [](const QRect& r, int x, int y) {
        return r.isValid() && r.contains(x, y) &&
               (x == r.left() || x == r.right() || y == r.top() || y == r.bottom());
    };
    for (int y = 0; y < view.height(); ++y)
        for (int x = 0; x < view.width(); ++x) {
            const QRgb shown = view.pixel(x, y) | 0xff000000u;
            const bool fits = onEdge(outline, x, y) ? shown == 0xff000000u || shown == 0xffffffffu
                              : onEdge(mark, x, y)
                                  ? shown == PlacementCanvas::storedMarkColour(0).rgb() ||
                                        shown == PlacementCanvas::storedMarkColour(1).rgb()
                                  : shown == (picture.pixel(x + at.x(), y + at.y()) | 0xff000000u);
            if (!fits) return false;
        }
    return true;
}

}  // namespace postest
