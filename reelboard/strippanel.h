#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "reeleditor.h"

class PictureCell;
class QLabel;

// The three reel strips at the left, 21 cells each with position 0 at the bottom. A symbol
// is placed on a cell by dropping the picture panel's lit picture on it or by
// double-clicking it; either places the picture panel's current symbol.
class StripPanel : public QObject {
    Q_OBJECT
public:
    StripPanel(ReelEditor& editor, QWidget* form);

    // Called after a placement so the check window shows the new arrangement.
    std::function<void()> showArrangement;

    // Start-up: every cell shows the blank picture.
    void showBlank();
    // Every cell shows the lit picture of the symbol it holds.
    void refresh();
    void place(int cell);

    std::array<PictureCell*, reel::CellCount> ImgReal{};  // cell = reel * 21 + position
    std::array<QLabel*, reel::PositionCount> LabelPos{};  // index = position

private:
    ReelEditor& editor_;
};
