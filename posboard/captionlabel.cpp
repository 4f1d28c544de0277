#include "captionlabel.h"

#include <QMouseEvent>
#include <QPainter>

namespace posboard {

CaptionLabel::CaptionLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    // Room for the border on every side.
    setContentsMargins(2, 0, 2, 0);
}

void CaptionLabel::setSelected(bool selected) {
    if (selected_ == selected) return;
    selected_ = selected;
    update();
}

void CaptionLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!selected_) return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CaptionLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
}

void CaptionLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a press and a release on the caption, as a label's click always was.
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    if (rect().contains(event->position().toPoint())) emit clicked();
}

}  // namespace posboard
