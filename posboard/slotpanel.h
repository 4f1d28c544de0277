#pragma once

#include <QImage>
#include <QWidget>

#include "positioneditor.h"

class Dialogs;
class QComboBox;
class QLabel;

namespace posboard {

// The picture slot row: the slot selector, the selected slot's picture name, "Load" to give
// the slot a picture and "表示" to read it again from disk. It stands at its origin in the
// window.
class SlotPanel : public QWidget {
    Q_OBJECT
public:
    SlotPanel(PositionEditor& editor, Dialogs& dialogs, QWidget* window, QPoint origin);

    // "Load": false when nothing was loaded (cancelled or refused).
    bool loadPicture();
    // "表示": false when nothing was shown (no picture name, or the picture cannot be read).
    bool showAgain();

signals:
    // "表示" read the selected slot's picture again; the canvas is to show it.
    void pictureReread(const QImage& picture);

private:
    void showSlotName();
    void refuse(const QString& text, const QString& detail);

    PositionEditor& editor_;
    Dialogs& dialogs_;
    QComboBox* ComboBodyFile = nullptr;
    QLabel* LabelBodyFile = nullptr;
};

}  // namespace posboard
