#pragma once

// Shared steps of the position window tests: pictures on disk whose every pixel tells where
// it lies, slot choice and picture loads through the window's own controls, caption clicks
// and drags on the canvas delivered as mouse events.

#include <QAbstractItemView>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include "captionlabel.h"
#include "form1.h"
#include "placementcanvas.h"
#include "windowtest.h"

namespace postest {

using wintest::child;
using wintest::click;
using wintest::showWindow;
using Mode = PlacementCanvas::EditMode;

// A picture pixel's colour names its place, and is never the black or white of an outline.
inline QRgb patternColour(int x, int y) {
    return qRgb(x & 0xff, y & 0xff, 100 + ((x >> 8) + (y >> 8) * 8) % 100);
}

inline QImage patternPicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) line[x] = patternColour(x, y);
    }
    return image;
}

inline QString writePicture(const QTemporaryDir& dir, const QString& name, int w, int h) {
    const QString path = dir.filePath(name);
    if (!patternPicture(w, h).save(path, "BMP")) qWarning("could not write %s", qPrintable(path));
    return path;
}

inline QWidget* surface(Form1& w) { return child(w, QStringLiteral("Picture1")); }
inline QScrollBar* bar(Form1& w, const char* name) {
    return child<QScrollBar>(w, QLatin1String(name));
}
inline QString status(Form1& w, int panel) {
    return child<QLabel>(w, QStringLiteral("StatusBar1_%1").arg(panel))->text();
}
inline QString coordinates(Form1& w, int entry) {
    return child<QLabel>(w, QStringLiteral("LabelPosP_%1").arg(entry))->text();
}
inline CaptionLabel* caption(Form1& w, int entry) {
    return child<CaptionLabel>(w, QStringLiteral("LabelPos_%1").arg(entry));
}
inline QLineEdit* valueField(Form1& w, int entry) {
    return child<QLineEdit>(
        w, entry < pos::CorrectionEntryCount
               ? QStringLiteral("txtHosei_%1").arg(entry)
               : QStringLiteral("txtPicNo_%1").arg(entry - pos::CorrectionEntryCount));
}

// Picks a slot from the selector's list, as the author does.
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

// Turns the pages with the page buttons until the entry's page shows.
inline void turnToPageOf(Form1& w, int entry) {
    while (w.editor().currentPage() < pos::entryPage(entry)) click(w, QStringLiteral("Command2"));
    while (w.editor().currentPage() > pos::entryPage(entry)) click(w, QStringLiteral("PrePage"));
}

inline void clickCaption(Form1& w, int entry) {
    turnToPageOf(w, entry);
    QTest::mouseClick(caption(w, entry), Qt::LeftButton);
}

// A left-button drag over the canvas: press, moves in `steps` even steps, release.
inline void drag(Form1& w, QPoint from, QPoint to, int steps = 4) {
    QWidget* s = surface(w);
    QTest::mousePress(s, Qt::LeftButton, {}, from);
    for (int k = 1; k <= steps; ++k) QTest::mouseMove(s, from + (to - from) * k / steps);
    QTest::mouseRelease(s, Qt::LeftButton, {}, to);
}

// The blink timer's tick, delivered at once.
inline void blinkTick(Form1& w) {
    auto* timer = w.findChild<QTimer*>(QStringLiteral("Timer1"));
    QTimerEvent tick(timer->timerId());
    QCoreApplication::sendEvent(timer, &tick);
}

inline bool isOutline(QRgb pixel) {
    pixel |= 0xff000000u;
    return pixel == 0xff000000u || pixel == 0xffffffffu;
}

// Every pixel of the view shows the picture at the view offset, except those in `outline`.
inline bool viewShowsPicture(Form1& w, const QImage& picture, const QRect& outlineInView = {}) {
    const QImage& view = w.canvas().shownView();
    const QPoint offset = w.canvas().viewOffset();
    const QRect& o = outlineInView;
    for (int y = 0; y < view.height(); ++y)
        for (int x = 0; x < view.width(); ++x) {
            const bool onOutline =
                o.isValid() && o.contains(x, y) &&
                (x == o.left() || x == o.right() || y == o.top() || y == o.bottom());
            const QRgb shown = view.pixel(x, y) | 0xff000000u;
            const QRgb expected = picture.pixel(x + offset.x(), y + offset.y()) | 0xff000000u;
            if (onOutline ? !isOutline(shown) : shown != expected) {
                qWarning("view pixel (%d, %d) is %08x", x, y, shown);
                return false;
            }
        }
    return true;
}

}  // namespace postest
