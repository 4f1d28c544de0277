#include "controls.h"

#include <QLabel>
#include <QPushButton>

QLabel* makeLabel(QWidget* parent, const QString& text, int x, int y, int w, int h, const char* name) {
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
    return button;
}
