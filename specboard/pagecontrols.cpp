#include "pagecontrols.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "controls.h"

namespace specboard {

NumberBoxRule boxRule(std::optional<std::int64_t> limit, const QString& overflow,
                      std::optional<QString> leftEmpty) {
    NumberBoxRule rule;
    rule.limit = limit;
    rule.overflowText = overflow;
    rule.textWhenLeftEmpty = std::move(leftEmpty);
    return rule;
}

QLabel* makeValueLabel(QWidget* parent, const QString& text, const char* name, int x, int y,
                       int w) {
    QLabel* label = makeLabel(parent, text, x, y, w, 18, name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QPushButton* makeStepButton(QWidget* parent, const char16_t* caption, const char* name, int x,
                            int y) {
    return makeButton(parent, QString::fromUtf16(caption), name, x, y, 26, 18);
}

QRadioButton* makeOption(QWidget* parent, const QString& text, const QString& name, int x, int y,
                         int w) {
    auto* option = new QRadioButton(text, parent);
    option->setObjectName(name);
    option->setGeometry(x, y, w, 18);
    return option;
}

QCheckBox* makeCheck(QWidget* parent, const QString& text, const QString& name, int x, int y,
                     int w) {
    auto* check = new QCheckBox(text, parent);
    check->setObjectName(name);
    check->setGeometry(x, y, w, 18);
    return check;
}

QGroupBox* makeGroup(QWidget* parent, const QString& caption, const QRect& place) {
    auto* group = new QGroupBox(caption, parent);
    group->setGeometry(place);
    return group;
}

}  // namespace specboard
