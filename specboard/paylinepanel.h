#pragma once

#include <QWidget>
#include <array>

#include "machinespec.h"
#include "speceditor.h"

class PictureBox;
class QLineEdit;
class QRadioButton;

namespace specboard {

// The pay lines of each bet: a grid of the three reels by five rows (the row above the
// window, the three window rows and the row below), where one cell per reel is clicked to
// draw a line, the line being edited and its region number. It fills its frame, in the
// frame's coordinates.
class PayLinePanel : public QWidget {
    Q_OBJECT
public:
    PayLinePanel(SpecEditor& editor, QWidget* frame);

private:
    // The cells of the line being edited: the menu colour where the line does not pass, the
    // window frame colour where it does.
    void redrawCells();
    // The line number, its cells and its region number.
    void showLine();

    SpecEditor& editor_;
    std::array<QRadioButton*, machine::StoredBets> OptionBet{};
    QLineEdit* TextLine = nullptr;
    QLineEdit* Text1 = nullptr;
    std::array<PictureBox*, reel::ReelCount * machine::LineRows> PicReal{};
};

}  // namespace specboard
