#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

// Controls at the fixed pixel places the windows are laid out in. A name, when given, is
// also the objectName that tests look the control up by.

// A label sized to its text (w < 0) or to the given box.
QLabel* makeLabel(QWidget* parent, const QString& text, int x, int y, int w = -1, int h = 17,
                  const char* name = nullptr);
// A button that takes the focus by Tab only, so clicking it leaves the focus where it was; a
// press first runs the focused box's leaving rule, as leaving the box would.
QPushButton* makeButton(QWidget* parent, const QString& text, const char* name, int x, int y, int w,
                        int h);

// Makes a control's font smaller, a pixel at a time down to 8 pixels, until its text takes at
// most `room` pixels: captions at fixed places must not run into their neighbours or be cut.
void fitFontToWidth(QWidget* control, const QString& text, int room);
// A button's caption keeps a few pixels from its frame on either side.
void fitButtonCaption(QPushButton* button);
