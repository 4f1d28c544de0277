#include "placementcanvas.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

namespace posboard {

namespace {

constexpr int BlinkMs = 300;
// A rectangle's corners are 16-bit numbers in the position file.
constexpr int MinCoordinate = -32768;
constexpr int MaxCoordinate = 32767;

// Moves a rectangle's left (or top) edge by `by`, keeping both edges within the file's range.
int shifted(int edge, int by, int extent) {
    return std::clamp(edge + by, MinCoordinate, MaxCoordinate - std::max(extent - 1, 0));
}

PlacementEntry asEntry(int left, int top, int width, int height) {
    PlacementEntry e;
    e.left = static_cast<std::int16_t>(std::clamp(left, MinCoordinate, MaxCoordinate));
    e.top = static_cast<std::int16_t>(std::clamp(top, MinCoordinate, MaxCoordinate));
    e.right = static_cast<std::int16_t>(std::clamp(left + width - 1, MinCoordinate, MaxCoordinate));
    e.bottom =
        static_cast<std::int16_t>(std::clamp(top + height - 1, MinCoordinate, MaxCoordinate));
    return e;
}

// The box with both points as corners, both included (QRect::normalized would shrink it).
QRect spanned(QPoint a, QPoint b) {
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

bool directlyDrawable(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

}  // namespace

// Picture1: shows the canvas's own picture and, while no slot picture is shown, a border.
class PlacementCanvas::Surface : public QWidget {
public:
    Surface(const QImage& shown, const bool& border, QWidget* parent)
        : QWidget(parent), shown_(shown), border_(border) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
        setFocusPolicy(Qt::ClickFocus);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        const QRect dirty = event->rect();
        painter.drawImage(dirty.topLeft(), shown_, dirty);
        if (border_) {
            painter.setPen(palette().color(QPalette::Dark));
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }

private:
    const QImage& shown_;
    const bool& border_;
};

PlacementCanvas::PlacementCanvas(PositionEditor& editor, QWidget* window, QPoint origin)
    : QWidget(window), editor_(editor) {
    setObjectName(QStringLiteral("PlacementCanvas"));
    setGeometry(QRect(origin, QSize(MaxViewWidth + BarThickness, MaxViewHeight + BarThickness)));
    setMouseTracking(true);

    const QSize maxView(MaxViewWidth, MaxViewHeight);
    viewBuffer_ = QImage(maxView, QImage::Format_RGB32);
    viewBuffer_.fill(Qt::white);
    // Not drawn at start-up: blank, with its border and the prompt.
    shown_ = QImage(maxView, QImage::Format_RGB32);
    shown_.fill(palette().color(QPalette::Button));

    Picture1 = new Surface(shown_, border_, this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(QRect(QPoint(0, 0), maxView));
    Picture1->installEventFilter(this);

    Label7 = new QLabel(QStringLiteral("画像をロードして下さい。"), Picture1);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setAlignment(Qt::AlignCenter);
    Label7->setGeometry(0, MaxViewHeight / 2 - 10, MaxViewWidth, 20);
    Label7->setAttribute(Qt::WA_TransparentForMouseEvents);

    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    for (QScrollBar* bar : {HScroll1, VScroll1}) {
        bar->setRange(0, 0);
        bar->setSingleStep(1);  // one pixel per arrow click
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
        bar->installEventFilter(this);
        connect(bar, &QScrollBar::valueChanged, this, &PlacementCanvas::scrolled);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(BlinkMs);
    connect(Timer1, &QTimer::timeout, this, &PlacementCanvas::blink);
    Timer1->start();

    connect(&editor_, &PositionEditor::slotSelected, this, &PlacementCanvas::slotChosen);
    connect(&editor_, &PositionEditor::slotPictureChanged, this,
            &PlacementCanvas::slotPictureLoaded);
    connect(&editor_, &PositionEditor::documentReplaced, this, &PlacementCanvas::fileRead);
    connect(&editor_, &PositionEditor::entryRevealed, this, &PlacementCanvas::entryRevealed);
}

// ---- Events

bool PlacementCanvas::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel &&
        (watched == Picture1 || watched == HScroll1 || watched == VScroll1)) {
        wheel(*static_cast<QWheelEvent*>(event),
              watched == Picture1 ? nullptr : static_cast<QScrollBar*>(watched));
        return true;
    }
    if (watched != Picture1) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:  // the second press of a double-click is a press too
            press(*static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            move(*static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonRelease:
            release(*static_cast<QMouseEvent*>(event));
            return true;
        default:
            return false;
    }
}

void PlacementCanvas::mouseMoveEvent(QMouseEvent*) {
    emit statusShown(1, QStringLiteral("x : "));
    emit statusShown(2, QStringLiteral("y : "));
}

void PlacementCanvas::captionClicked(int entry) {
    if (mode_ == EditMode::NoPicture) return;
    editor_.dropPreview();
    anchorSet_ = false;
    buttonHeld_ = false;
    mode_ = EditMode::Idle;
    clearRectangleStatus();
    editor_.clickEntry(entry);
    repaintView();  // with the mark of the entry now selected
}

void PlacementCanvas::press(const QMouseEvent& event) {
    // Without a picture there is nothing to place a rectangle on.
    if (editor_.selectedEntry() < 0 || mode_ == EditMode::NoPicture) return;
    const QPoint point = event.position().toPoint();
    if (event.button() == Qt::LeftButton) {
        buttonHeld_ = true;
        movedSincePress_ = false;
        if ((mode_ == EditMode::Drawing || mode_ == EditMode::Moving) && insideCurrentRect(point)) {
            mode_ = EditMode::Moving;
            dragOffset_ = {0, 0};
            if (!anchorSet_) {
                anchor_ = point;
                anchorSet_ = true;
            }
        } else {
            mode_ = EditMode::Drawing;
            drawStart_ = point;
        }
    } else if (event.button() == Qt::RightButton) {
        // Gives up the rectangle on the canvas; the entry keeps the one it has stored.
        repaintView();
        buttonHeld_ = false;
        mode_ = EditMode::Idle;
        clearRectangleStatus();
        editor_.clearCoordinates(editor_.selectedEntry());
    }
}

void PlacementCanvas::move(const QMouseEvent& event) {
    // A rectangle drawn in one drag lies within the visible part of the picture.
    const QPoint raw = event.position().toPoint();
    const QPoint point(std::clamp(raw.x(), 0, Picture1->width() - 1),
                       std::clamp(raw.y(), 0, Picture1->height() - 1));
    emit statusShown(1, QStringLiteral("x : %1").arg(point.x() + viewOffset_.x()));
    emit statusShown(2, QStringLiteral("y : %1").arg(point.y() + viewOffset_.y()));
    if (!buttonHeld_) return;
    movedSincePress_ = true;
    if (mode_ == EditMode::Drawing) {
        drawTo(point);
    } else if (mode_ == EditMode::Moving) {
        repaintView();
        dragOffset_ = point - anchor_;
        drawCurrentRect(dragOffset_);
    }
}

void PlacementCanvas::release(const QMouseEvent& event) {
    // Only the left button draws and moves; releasing another one ends nothing.
    if (event.button() != Qt::LeftButton) return;
    const bool endsDrag = buttonHeld_;
    buttonHeld_ = false;
    if (endsDrag && mode_ == EditMode::Moving) {
        rectLeft_ = shifted(rectLeft_, dragOffset_.x(), rectWidth_);
        rectTop_ = shifted(rectTop_, dragOffset_.y(), rectHeight_);
        showCurrentRect(false);
    } else if (endsDrag && mode_ == EditMode::Drawing && !movedSincePress_) {
        drawTo(drawStart_);  // a click places a one-pixel rectangle
    }
    anchorSet_ = false;
    const int entry = editor_.selectedEntry();
    if (endsDrag && entry >= 0 && (mode_ == EditMode::Drawing || mode_ == EditMode::Moving)) {
        const PlacementEntry r = asEntry(rectLeft_, rectTop_, rectWidth_, rectHeight_);
        editor_.setRectangle(entry, r.left, r.top, r.right, r.bottom);
        // The mark follows the stored rectangle, under the outline as it was drawn.
        repaintView();
        drawCurrentRect();
    }
    // The mode stays, so the next press inside the rectangle moves it.
}

void PlacementCanvas::wheel(const QWheelEvent& event, QScrollBar* overBar) {
    const QPoint pixels = event.pixelDelta();
    const QPoint delta = pixels.isNull()
                             ? event.angleDelta() * WheelStep / QWheelEvent::DefaultDeltasPerStep
                             : pixels;
    // A tilted wheel scrolls across; Shift turns the wheel across as well.
    const int along = delta.y() != 0 ? delta.y() : delta.x();
    QScrollBar* bar = overBar;
    if (!bar) bar = (event.modifiers() & Qt::ShiftModifier) || delta.y() == 0 ? HScroll1 : VScroll1;
    bar->setValue(bar->value() - along);
}

void PlacementCanvas::blink() {
    blinkBlack_ = !blinkBlack_;
    if (mode_ != EditMode::Drawing) return;
    repaintView();
    drawCurrentRect();
}

void PlacementCanvas::scrolled() {
    viewOffset_ = QPoint(HScroll1->value(), VScroll1->value());
    repaintView();
    if (mode_ != EditMode::Idle) drawCurrentRect();
}

// ---- The slot shown

void PlacementCanvas::endDrag() {
    anchorSet_ = false;
    if (!buttonHeld_) return;
    buttonHeld_ = false;
    editor_.dropPreview();
    mode_ = EditMode::Idle;
    clearRectangleStatus();
    repaintView();
}

void PlacementCanvas::entryRevealed(int entry) {
    if (mode_ == EditMode::NoPicture || entry != editor_.selectedEntry()) return;
    buttonHeld_ = false;
    anchorSet_ = false;
    const PlacementEntry& e = editor_.document().entries[entry];
    // An emptied coordinate text, a rectangle never placed or corners the wrong way round
    // (from a file) leave nothing to move: the mark alone shows where the entry lies.
    const bool placed = !editor_.coordinateText(entry).isEmpty() && e.width() >= 1 &&
                        e.height() >= 1 &&
                        !(e.left == 0 && e.top == 0 && e.right == 0 && e.bottom == 0);
    if (!placed) {
        mode_ = EditMode::Idle;
        clearRectangleStatus();
        repaintView();
        return;
    }
    rectLeft_ = e.left;
    rectTop_ = e.top;
    rectWidth_ = e.width();
    rectHeight_ = e.height();
    dragOffset_ = {0, 0};
    mode_ = EditMode::Drawing;
    // Scrolled so that the rectangle lies in the view, centred where it is smaller than it.
    const QRect box(rectLeft_, rectTop_, rectWidth_, rectHeight_);
    const QRect view(viewOffset_, Picture1->size());
    if (!view.contains(box)) {
        const QSignalBlocker h(HScroll1), v(VScroll1);
        HScroll1->setValue(box.left() - std::max(view.width() - box.width(), 0) / 2);
        VScroll1->setValue(box.top() - std::max(view.height() - box.height(), 0) / 2);
        viewOffset_ = QPoint(HScroll1->value(), VScroll1->value());
    }
    repaintView();
    drawCurrentRect();
    emit statusShown(3, rectangleText(e));
    emit statusShown(4, sizeText(e));
}

void PlacementCanvas::slotChosen(int slot) {
    editor_.dropPreview();
    showSlot();
    buttonHeld_ = false;
    mode_ = EditMode::NoPicture;
    clearRectangleStatus();
    if (editor_.slotHasPicture(slot)) mode_ = EditMode::Idle;
}

void PlacementCanvas::slotPictureLoaded(int slot) {
    if (slot != editor_.selectedSlot()) return;
    editor_.dropPreview();
    showSlot();
    buttonHeld_ = false;
    // An undo may take the slot back to no picture.
    mode_ = editor_.slotHasPicture(slot) ? EditMode::Idle : EditMode::NoPicture;
    clearRectangleStatus();
}

void PlacementCanvas::fileRead() {
    // The mode follows the selected slot: a slot left without a picture has nothing to draw on.
    mode_ = editor_.slotHasPicture(editor_.selectedSlot()) ? EditMode::Idle : EditMode::NoPicture;
    showSlot();
}

void PlacementCanvas::showPicture(const QImage& picture) {
    if (!picture.isNull()) showOnView(picture);
}

void PlacementCanvas::showSlot() {
    const int slot = editor_.selectedSlot();
    if (editor_.slotHasPicture(slot))
        showOnView(editor_.document().pictureSlots[slot].image);
    else
        showNoPicture();
}

void PlacementCanvas::resizeView(QSize size) {
    Picture1->setGeometry(QRect(QPoint(0, 0), size));
    if (shown_.size() != size) shown_ = QImage(size, QImage::Format_RGB32);
}

void PlacementCanvas::showOnView(const QImage& picture) {
    border_ = false;
    viewBuffer_ = picture;  // shared, not copied
    const QSize view(std::min(picture.width(), MaxViewWidth),
                     std::min(picture.height(), MaxViewHeight));
    resizeView(view);
    // The bars range over the overhang of the picture and page by what the view shows.
    HScroll1->setRange(0, picture.width() - view.width());
    HScroll1->setPageStep(view.width());
    HScroll1->setVisible(picture.width() > view.width());
    VScroll1->setRange(0, picture.height() - view.height());
    VScroll1->setPageStep(view.height());
    VScroll1->setVisible(picture.height() > view.height());
    HScroll1->setGeometry(0, view.height(), view.width(), BarThickness);
    VScroll1->setGeometry(view.width(), 0, BarThickness, view.height());
    HScroll1->setValue(0);
    VScroll1->setValue(0);
    viewOffset_ = {0, 0};
    repaintView();
    Label7->hide();
}

void PlacementCanvas::showNoPicture() {
    resizeView(QSize(MaxViewWidth, MaxViewHeight));
    shown_.fill(Qt::white);
    border_ = true;
    {
        const QSignalBlocker h(HScroll1), v(VScroll1);
        HScroll1->setRange(0, 0);
        VScroll1->setRange(0, 0);
    }
    viewOffset_ = {0, 0};
    HScroll1->hide();
    VScroll1->hide();
    Label7->show();
    Picture1->update();
}

// ---- Drawing

void PlacementCanvas::repaintView() {
    const QRect block(viewOffset_, shown_.size());
    QPainter painter(&shown_);
    if (!viewBuffer_.rect().contains(block) || viewBuffer_.hasAlphaChannel()) {
        // See-through parts of a picture, and any part beyond it, show the canvas white.
        painter.fillRect(shown_.rect(), Qt::white);
    } else {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    }
    if (directlyDrawable(viewBuffer_.format())) {
        painter.drawImage(QPoint(0, 0), viewBuffer_, block);
    } else {
        // Palette pictures (GIF) and the like: only the block is converted, so a move costs
        // the same whatever the picture's size.
        const auto format = viewBuffer_.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                          : QImage::Format_RGB32;
        painter.drawImage(QPoint(0, 0), viewBuffer_.copy(block).convertToFormat(format));
    }
    painter.end();
    markStoredRect();
    Picture1->update();
}

void PlacementCanvas::markStoredRect() {
    const int entry = editor_.selectedEntry();
    if (entry < 0 || border_) return;
    const PlacementEntry& e = editor_.document().entries[entry];
    if (e.left == 0 && e.top == 0 && e.right == 0 && e.bottom == 0) return;  // never placed
    const QRect box =
        spanned(QPoint(e.left, e.top), QPoint(e.right, e.bottom)).translated(-viewOffset_);
    const QRect view = shown_.rect();
    // Dashes of 4 pixels in two colours, only where they fall in the view.
    auto dot = [&](int x, int y) {
        if (view.contains(x, y)) shown_.setPixelColor(x, y, storedMarkColour((x + y) / 4));
    };
    for (int x = std::max(box.left(), 0); x <= std::min(box.right(), view.right()); ++x) {
        dot(x, box.top());
        dot(x, box.bottom());
    }
    for (int y = std::max(box.top(), 0); y <= std::min(box.bottom(), view.bottom()); ++y) {
        dot(box.left(), y);
        dot(box.right(), y);
    }
}

void PlacementCanvas::drawOutline(QPoint a, QPoint b) {
    const QRect box = spanned(a, b);
    QPainter painter(&shown_);
    const QColor colour = blinkColour();
    painter.fillRect(box.left(), box.top(), box.width(), 1, colour);
    painter.fillRect(box.left(), box.bottom(), box.width(), 1, colour);
    painter.fillRect(box.left(), box.top(), 1, box.height(), colour);
    painter.fillRect(box.right(), box.top(), 1, box.height(), colour);
    painter.end();
    Picture1->update();
}

void PlacementCanvas::drawCurrentRect(QPoint shift) {
    if (rectWidth_ < 1 || rectHeight_ < 1) return;  // nothing drawn yet
    const QPoint topLeft = QPoint(rectLeft_, rectTop_) - viewOffset_ + shift;
    drawOutline(topLeft, topLeft + QPoint(rectWidth_ - 1, rectHeight_ - 1));
}

void PlacementCanvas::drawTo(QPoint pointer) {
    repaintView();
    drawOutline(pointer, drawStart_);
    const QRect box = spanned(pointer, drawStart_).translated(viewOffset_);
    rectLeft_ = box.left();
    rectTop_ = box.top();
    rectWidth_ = box.width();
    rectHeight_ = box.height();
    dragOffset_ = {0, 0};
    showCurrentRect(true);
}

void PlacementCanvas::showCurrentRect(bool withSize) {
    const PlacementEntry r = asEntry(rectLeft_, rectTop_, rectWidth_, rectHeight_);
    editor_.showCoordinates(editor_.selectedEntry(), r.left, r.top, r.right, r.bottom);
    emit statusShown(3, rectangleText(r));
    if (withSize) emit statusShown(4, sizeText(r));
}

void PlacementCanvas::clearRectangleStatus() {
    emit statusShown(3, QString());
    emit statusShown(4, QString());
}

bool PlacementCanvas::insideCurrentRect(QPoint point) const {
    // The left column and top row of the outline are outside, the right column and bottom
    // row inside.
    const int left = rectLeft_ - viewOffset_.x();
    const int top = rectTop_ - viewOffset_.y();
    return left < point.x() && point.x() < left + rectWidth_ && top < point.y() &&
           point.y() < top + rectHeight_;
}

}  // namespace posboard
