#include "picturecell.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace reelboard {

PictureCell::PictureCell(QWidget* parent, const QString& name, bool border)
    : QWidget(parent), border_(border) {
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureCell::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PictureCell::setDropTarget(bool on) { setAcceptDrops(on); }

QMimeData* PictureCell::symbolMimeData(int symbol) {
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(SymbolMimeType), QByteArray::number(symbol));
    return data;
}

void PictureCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect inner = border_ ? rect().adjusted(1, 1, -1, -1) : rect();
    painter.fillRect(rect(), palette().window());
    if (!picture_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(inner, picture_);
    }
    if (border_) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PictureCell::mousePressEvent(QMouseEvent* event) {
    if (dragSource_) {
        // Any button on the shown lit picture picks the symbol up at once.
        event->accept();
        auto* drag = new QDrag(this);
        drag->setMimeData(symbolMimeData(dragSymbol_));
        if (!picture_.isNull())
            drag->setPixmap(QPixmap::fromImage(picture_.scaled(size(), Qt::IgnoreAspectRatio)));
        emit dragStarting(drag);
        drag->exec(Qt::CopyAction);
        return;
    }
    pressed_ = true;
    releaseEndsDoubleClick_ = false;  // a new press starts a new click
    event->accept();
}

void PictureCell::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (releaseEndsDoubleClick_) {
        // The second release of a double-click is not a second click.
        releaseEndsDoubleClick_ = false;
        return;
    }
    if (wasPressed && rect().contains(event->position().toPoint())) emit clicked();
}

void PictureCell::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (dragSource_) return;  // its press has already started the drag
    pressed_ = false;
    releaseEndsDoubleClick_ = true;
    emit doubleClicked();
}

void PictureCell::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptDrops() && event->mimeData()->hasFormat(QString::fromLatin1(SymbolMimeType)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void PictureCell::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptDrops() && event->mimeData()->hasFormat(QString::fromLatin1(SymbolMimeType)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void PictureCell::dropEvent(QDropEvent* event) {
    if (!acceptDrops() || !event->mimeData()->hasFormat(QString::fromLatin1(SymbolMimeType))) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit dropped();
}

}  // namespace reelboard
