#pragma once

#include <QWidget>
#include <array>

#include "reeleditor.h"

class QLabel;

namespace reelboard {

class PictureCell;

// The check window: five consecutive positions of each reel as they stand in and around
// the reel window (row 0 above the upper row, row 4 below the lower row). Each reel scrolls
// on its own; the cells show the arrangement's lit pictures or a flash frame's lamps. It
// stands at the top left of its frame, in the frame's coordinates.
class CheckWindow : public QWidget {
    Q_OBJECT
public:
    CheckWindow(ReelEditor& editor, QWidget* frame);

    // Every cell shows the lit picture of the symbol at its position.
    void showArrangement();
    // Every cell shows its symbol's flash picture where the frame's lamp is on, else the
    // unlit picture.
    void showFlash(const FlashFrame& frame);

signals:
    // A lamp cell was clicked (a double-click counts once).
    void cellClicked(int cell);
    // All 15 cells were drawn anew.
    void redrawn();

private:
    void showLabels(int reelIndex);
    // The symbol at a check cell's position, or -1 when the strip holds no symbol there.
    int symbolAt(int cell) const;

    ReelEditor& editor_;
    std::array<PictureCell*, CheckCellCount> ImgChk{};     // cell = reel * 5 + row
    std::array<QLabel*, CheckCellCount> positionLabels{};  // LabelLUU .. LabelRDD
};

}  // namespace reelboard
