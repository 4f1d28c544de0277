#pragma once

#include <QWidget>
#include <array>

#include "reeleditor.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace reelboard {

class PictureCell;

// The prize editor: one prize entry at a time, its combination (a symbol or any symbol per
// reel) and, per game state, the medals paid and the bonus or replay it gives. The table
// grows when the author steps past its last entry. It fills its frame, in the frame's
// coordinates.
class PrizePanel : public QWidget {
    Q_OBJECT
public:
    PrizePanel(ReelEditor& editor, QWidget* frame);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Index label, pay boxes and kind boxes of the current entry.
    void refreshFields();
    // The pay and kind boxes; `overTyping` also the pay box being typed into.
    void showFields(bool overTyping);
    // The combination pictures of the current entry.
    void refreshPictures();
    void showKind(int state, int kind);

    ReelEditor& editor_;
    std::array<PictureCell*, reel::ReelCount> ImgHantei{};
    QLabel* LabelBonusIndex = nullptr;
    std::array<QLineEdit*, reel::GameStateCount> TextPay{};
    std::array<QComboBox*, reel::GameStateCount> ComboBID{};
};

}  // namespace reelboard
