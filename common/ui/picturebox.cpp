#include "picturebox.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget* parent, const QString& name, const QRect& geometry)
    : QWidget(parent) {
    setObjectName(name);
    setGeometry(geometry);
    setAttribute(Qt::WA_OpaquePaintEvent);
    colour_ = palette().color(QPalette::Window);
}

void PictureBox::setPicture(const QImage& picture) {
    // The same picture again (a table shown anew) needs no repaint.
    if (picture.cacheKey() == picture_.cacheKey()) return;
    picture_ = picture;
    update();
}

void PictureBox::setColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    painter.fillRect(rect(), colour_);
    if (!picture_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(inner, picture_);
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    pressed_ = true;
    event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (pressed_ && rect().contains(event->position().toPoint())) emit clicked();
    pressed_ = false;
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double-click is not a second click.
    pressed_ = false;
    event->accept();
}
