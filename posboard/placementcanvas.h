#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include "positioneditor.h"

class QLabel;
class QMouseEvent;
class QScrollBar;
class QTimer;
class QWheelEvent;

namespace posboard {

// The placement canvas and its view: the visible block of the selected slot's picture, on
// which the author drags the rectangle of the selected entry with the left button, moves the
// rectangle just drawn by pressing inside it, and scrolls over a picture larger than the
// canvas. The outline blinks black and white. The canvas draws into a buffer of its own, so
// its outline survives being covered, and copies only the visible block of the picture.
// It stands at its origin in the window, with its scroll bars below and to the right.
class PlacementCanvas : public QWidget {
    Q_OBJECT
public:
    enum class EditMode { NoPicture, Idle, Drawing, Moving };

    // The canvas's design size (8415 x 6855 twips); it never grows beyond it.
    static constexpr int MaxViewWidth = 561;
    static constexpr int MaxViewHeight = 457;
    static constexpr int BarThickness = 17;

    PlacementCanvas(PositionEditor& editor, QWidget* window, QPoint origin);

    EditMode editMode() const { return mode_; }
    // CurrentRect, in picture coordinates (width and height 0 until a rectangle is drawn).
    QRect currentRect() const { return {rectLeft_, rectTop_, rectWidth_, rectHeight_}; }
    QPoint viewOffset() const { return viewOffset_; }  // ViewOffset: h, v
    QColor blinkColour() const { return blinkBlack_ ? QColor(Qt::black) : QColor(Qt::white); }
    // The two colours of the dashes that mark the selected entry's stored rectangle; neither
    // is a colour of the blinking outline.
    static QColor storedMarkColour(int dash) { return dash % 2 ? Qt::magenta : Qt::cyan; }
    // Pixels scrolled by one notch of the mouse wheel.
    static constexpr int WheelStep = 60;
    // ViewBuffer: the whole picture the view copies its blocks from.
    const QImage& viewBuffer() const { return viewBuffer_; }
    // What the canvas shows, pixel for pixel (picture block and outline).
    const QImage& shownView() const { return shown_; }

    // A click on an entry's caption.
    void captionClicked(int entry);
    // "表示": shows a picture read again from disk, from its top-left corner.
    void showPicture(const QImage& picture);
    // Ends a drag still held (an undo or redo comes): nothing of it is stored and the
    // coordinate text shows again what it showed before.
    void endDrag();

signals:
    // A status bar panel (1..4) is to show this text.
    void statusShown(int panel, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The pointer over the canvas's surroundings.
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    class Surface;

    void press(const QMouseEvent& event);
    void move(const QMouseEvent& event);
    void release(const QMouseEvent& event);
    // The wheel over the canvas scrolls it up and down, with Shift across; over a bar, along it.
    void wheel(const QWheelEvent& event, QScrollBar* overBar);
    void blink();
    void scrolled();

    // What the selector choice, a slot picture's "Load" and a position file read do to the view.
    void slotChosen(int slot);
    void slotPictureLoaded(int slot);
    void fileRead();
    // An undo or redo changed the selected entry: its stored rectangle becomes the current one,
    // outlined and scrolled into view, so that the author sees it and can move it again.
    void entryRevealed(int entry);

    // The selected slot's picture, or the empty canvas with its prompt.
    void showSlot();
    void showOnView(const QImage& picture);
    void showNoPicture();
    void resizeView(QSize size);

    // Copies the visible block of ViewBuffer over the whole view, erasing every outline, and
    // marks the selected entry's stored rectangle.
    void repaintView();
    // Dashes around the selected entry's stored rectangle, so the author sees where it lies.
    void markStoredRect();
    // A one-pixel outline between two corners in view coordinates, both corners included.
    void drawOutline(QPoint a, QPoint b);
    void drawCurrentRect(QPoint shift = {});
    // Sets CurrentRect to the box between the pointer and the draw start point and draws it.
    void drawTo(QPoint pointer);
    // CurrentRect in the selected entry's coordinate text and status panel 3 (and 4).
    void showCurrentRect(bool withSize);
    void clearRectangleStatus();
    bool insideCurrentRect(QPoint point) const;

    PositionEditor& editor_;
    Surface* Picture1 = nullptr;
    QLabel* Label7 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QTimer* Timer1 = nullptr;

    QImage viewBuffer_;  // ViewBuffer
    QImage shown_;       // the canvas's own picture
    bool border_ = true;

    EditMode mode_ = EditMode::NoPicture;
    bool buttonHeld_ = false;
    bool movedSincePress_ = false;
    QPoint drawStart_;
    QPoint anchor_;
    bool anchorSet_ = false;
    QPoint dragOffset_;
    QPoint viewOffset_;
    int rectLeft_ = 0;
    int rectTop_ = 0;
    int rectWidth_ = 0;
    int rectHeight_ = 0;
    bool blinkBlack_ = true;
};

}  // namespace posboard
