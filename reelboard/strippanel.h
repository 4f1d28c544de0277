#pragma once

#include <QWidget>
#include <array>

#include "reeleditor.h"

namespace reelboard {

class PictureCell;

// The three reel strips at the left, 21 cells each with position 0 at the bottom. A symbol
// is placed on a cell by dropping the picture panel's lit picture on it or by
// double-clicking it; either places the picture panel's current symbol. The panel's origin
// is the window's: its cells stand where the window's layout puts them.
class StripPanel : public QWidget {
    Q_OBJECT
public:
    StripPanel(ReelEditor& editor, QWidget* parent);

private:
    // Every cell shows the lit picture of the symbol it holds.
    void refresh();
    void showCell(int cell);

    ReelEditor& editor_;
    std::array<PictureCell*, reel::CellCount> ImgReal{};  // cell = reel * 21 + position
};

}  // namespace reelboard
