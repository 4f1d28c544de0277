#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "numberbox.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QRect;
class QWidget;

namespace specboard {

// The controls the machine pages share, at their fixed places and with their names.

// A number box rule with its limit, the text above it and the text a box left empty takes.
NumberBoxRule boxRule(std::optional<std::int64_t> limit, const QString& overflow,
                      std::optional<QString> leftEmpty);

// A sunken label that shows a value the page steps through (a flag, a setting, a reel).
QLabel* makeValueLabel(QWidget* parent, const QString& text, const char* name, int x, int y, int w);
// A "<<" or ">>" button beside such a label.
QPushButton* makeStepButton(QWidget* parent, const char16_t* caption, const char* name, int x,
                            int y);
QRadioButton* makeOption(QWidget* parent, const QString& text, const QString& name, int x, int y,
                         int w = 54);
QCheckBox* makeCheck(QWidget* parent, const QString& text, const QString& name, int x, int y,
                     int w);
QGroupBox* makeGroup(QWidget* parent, const QString& caption, const QRect& place);

}  // namespace specboard
