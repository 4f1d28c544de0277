#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "reeleditor.h"

class PictureCell;
class QGroupBox;
class QLabel;
class QPushButton;

// The check window: five consecutive positions of each reel as they stand in and around
// the reel window (row 0 above the upper row, row 4 below the lower row). Each reel scrolls
// on its own; the cells show the arrangement's lit pictures or a flash frame's lamps.
class CheckWindow : public QObject {
    Q_OBJECT
public:
    CheckWindow(ReelEditor& editor, QGroupBox* frame);

    // Every cell shows the lit picture of the symbol at its position.
    void showArrangement();
    // Every cell shows its symbol's flash picture where the frame's lamp is on, else the
    // unlit picture.
    void showFlash(const FlashFrame& frame);
    // "↑" moves the reel's view one position up the strip, "↓" one down.
    void scroll(int reelIndex, bool up);

    std::array<PictureCell*, CheckCellCount> ImgChk{};     // cell = reel * 5 + row
    std::array<QLabel*, CheckCellCount> positionLabels{};  // LabelLUU .. LabelRDD
    QPushButton* ComLUp = nullptr;
    QPushButton* ComCUp = nullptr;
    QPushButton* ComRUp = nullptr;
    QPushButton* ComLDown = nullptr;
    QPushButton* ComCDown = nullptr;
    QPushButton* ComRDown = nullptr;

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
};
