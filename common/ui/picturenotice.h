#pragma once

#include <QStringList>

#include "dialogs.h"

class QWidget;

// After a load, one message naming the pictures that were PNG files: the editors show them,
// but the machine reads only GIF, JPEG and BMP pictures and may not show them. Nothing is
// shown when `pngNames` is empty.
void tellPngPictures(Dialogs& dialogs, QWidget* window, const QString& title,
                     const QStringList& pngNames);
