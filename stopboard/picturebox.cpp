#include "picturebox.h"

#include <QPainter>

PictureBox::PictureBox(QWidget* parent, const QString& name, const QRect& geometry)
    : QWidget(parent) {
    setObjectName(name);
    setGeometry(geometry);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setPicture(const QImage& picture) {
    // The same picture again (a table shown anew) needs no repaint.
    if (picture.cacheKey() == picture_.cacheKey()) return;
    picture_ = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!picture_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect().adjusted(1, 1, -1, -1), picture_);
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
