#include "controls.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "lifecycle.h"

QLabel* makeLabel(QWidget* parent, const QString& text, int x, int y, int w, int h,
                  const char* name) {
    auto* label = new QLabel(text, parent);
    if (name) label->setObjectName(QLatin1String(name));
    if (w < 0) {
        label->move(x, y);
        label->adjustSize();
    } else {
        label->setGeometry(x, y, w, h);
    }
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& text, const char* name, int x, int y, int w,
                        int h) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(x, y, w, h);
    button->setFocusPolicy(Qt::TabFocus);
    // The box being typed into keeps the focus: its leaving rule runs before the button's step
    // reads what the box holds.
    QObject::connect(button, &QPushButton::pressed, button,
                     [button] { lifecycle::leaveFocusedBox(button); });
    return button;
}

void fitFontToWidth(QWidget* control, const QString& text, int room) {
    QFont font = control->font();
    if (font.pixelSize() <= 0) font.setPixelSize(QFontMetrics(font).height());
    while (QFontMetrics(font).horizontalAdvance(text) > room && font.pixelSize() > 8)
        font.setPixelSize(font.pixelSize() - 1);
    control->setFont(font);
}

void fitButtonCaption(QPushButton* button) {
    constexpr int FrameAndGap = 3;  // per side
    fitFontToWidth(button, button->text(), button->width() - 2 * FrameAndGap);
}
