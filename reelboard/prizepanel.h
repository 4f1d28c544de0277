#pragma once

#include <QObject>
#include <array>

#include "reeleditor.h"

class NumberBox;
class PictureCell;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The prize editor: one prize entry at a time, its combination (a symbol or any symbol per
// reel) and, per game state, the medals paid and the bonus or replay it gives. The table
// grows when the author steps past its last entry.
class PrizePanel : public QObject {
    Q_OBJECT
public:
    PrizePanel(ReelEditor& editor, QGroupBox* frame);

    // Index label, pay boxes and kind boxes of the current entry.
    void refreshFields();
    // The combination pictures of the current entry.
    void refreshPictures();

    void previous();
    void next();
    // Drop of the picture panel's symbol, and double-click for "any symbol".
    void placeSymbol(int reelIndex);
    void clearSymbol(int reelIndex);

    std::array<PictureCell*, reel::ReelCount> ImgHantei{};
    QLabel* LabelBonusIndex = nullptr;
    QPushButton* ComBIPre = nullptr;
    QPushButton* ComBINe = nullptr;
    std::array<QLineEdit*, reel::GameStateCount> TextPay{};
    std::array<QComboBox*, reel::GameStateCount> ComboBID{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    reel::PrizeEntry& entry();
    void showKind(int state, int kind);
    void chooseKind(int state, int index);

    ReelEditor& editor_;
    std::array<NumberBox*, reel::GameStateCount> payBoxes_{};
};
