#pragma once

#include <QWidget>
#include <array>

#include "machinespec.h"
#include "speceditor.h"

class PictureBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace specboard {

// The bonus page: how often each flag is won per setting, bet and play state, the machine's
// switches, the super big table, the bonus end conditions and CT, with the pay-line group. It
// fills its frame, in the frame's coordinates.
class BonusPage : public QWidget {
    Q_OBJECT
public:
    BonusPage(SpecEditor& editor, QWidget* frame);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeProbabilityGroup(QWidget* group);
    void makeSuperBigGroup(QWidget* group);
    void makeBonusEndGroup(QWidget* group);
    void makeCTGroup(QWidget* group);
    void makeBoxes(const std::array<QWidget*, 4>& groups);

    // The flag, setting and bet shown: their labels, probabilities, odds and flag symbols.
    void showProbabilities();
    // The odds of the four probabilities and the setting's subtraction value.
    void refreshOdds();
    void showFlagSymbols();
    void showSuperBig();
    void showCTEntry();
    // Everything a loaded machine brings.
    void showAll();

    SpecEditor& editor_;
    QCheckBox* Check3Bet = nullptr;
    QCheckBox* CheckReset = nullptr;
    QCheckBox* CheckCT = nullptr;
    QLabel* LabelFlagNo = nullptr;
    QLabel* LabelSet = nullptr;
    std::array<PictureBox*, reel::ReelCount> ImgFlag{};
    std::array<QRadioButton*, machine::StoredBets> OptionBets{};
    std::array<QLineEdit*, machine::StoredStates> PrizePr{};
    std::array<QLabel*, machine::StoredStates> LabelFlagPr{};
    QLineEdit* txtGensan = nullptr;
    QLineEdit* txtSPBNo = nullptr;
    std::array<QLineEdit*, machine::StoredBigs> txtBigPer{};
    QComboBox* ComboCTB = nullptr;
    QLineEdit* txtCTPr = nullptr;
    std::array<QLineEdit*, machine::StoredCTEnds> txtCTEndCon{};
    std::array<QLineEdit*, machine::BonusEndSlots>
        bonusEndBoxes{};  // txtBEndG, txtBEndB, txtREndG, txtREndB
};

}  // namespace specboard
