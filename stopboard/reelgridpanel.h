#pragma once

#include <QWidget>
#include <array>

#include "controleditor.h"

class PictureBox;
class QLineEdit;

namespace stopboard {

// The stop table grid: for each reel a column of symbol pictures and, beside it, a column of
// stop index boxes, position "01" at the bottom. Typing a digit 0 to 4 replaces a box's
// value; the arrow keys and Enter move between boxes. It stands at its origin on the window.
class ReelGridPanel : public QWidget {
    Q_OBJECT
public:
    ReelGridPanel(ControlEditor& editor, QWidget* window, QPoint origin);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPictures();
    void showStopTable();
    // The box a movement key leads to from box `cell`, or -1 when it leads nowhere.
    static int moveTarget(int cell, int key);

    ControlEditor& editor_;
    std::array<PictureBox*, reel::CellCount> ImgReal{};
    std::array<QLineEdit*, reel::CellCount> StopIndex{};
};

}  // namespace stopboard
