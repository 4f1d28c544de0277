#pragma once

#include <QWidget>
#include <array>

#include "controleditor.h"
#include "flagrow.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace stopboard {

// The assignment key and the base table assigned to it: the frames "プレイ状態",
// "ボーナスフラグ状態", "投入枚数" and "押し順" with their buttons, and "成立フラグ" with the
// won flag and its prize pictures, the big bonus type, the first stop position and the
// assigned base table. It stands at its origin on the window.
class AssignmentPanel : public QWidget {
    Q_OBJECT
public:
    AssignmentPanel(ControlEditor& editor, QWidget* window, QPoint origin);

private:
    void buildFlagFrame(QWidget* frame);
    // Which buttons are chosen and can be chosen, and the big bonus type.
    void showKey();
    void showFlagView();

    ControlEditor& editor_;
    std::array<QRadioButton*, KeyElementCount> Options{};
    FlagRow flagRow_;  // PrFlagNo, LabelFlNo, NeFlagNo, ImgFlag
    QLabel* LabelBigID = nullptr;
    QPushButton* PrBigID = nullptr;
    QPushButton* NeBigID = nullptr;
    QLineEdit* FirstStop = nullptr;
    QLineEdit* FTableNumber = nullptr;
    // Usable as soon as a reel data file is loaded, whatever the key.
    std::array<QWidget*, 6> alwaysUsable_{};
};

}  // namespace stopboard
