#pragma once

#include <QWidget>
#include <array>

#include "controleditor.h"
#include "flagrow.h"

class Dialogs;
class QCheckBox;

namespace stopboard {

// "特殊ペーストオプション": the play states, bonus flag states, bets and stop orders to paste
// onto, the won flag to paste onto with its prize pictures, and the paste itself, which copies
// the assignments of the current key. It fills its frame.
class SpecialPastePanel : public QWidget {
    Q_OBJECT
public:
    SpecialPastePanel(ControlEditor& editor, Dialogs& dialogs, QWidget* frame);

private:
    void paste();
    void showPasteFlag();

    ControlEditor& editor_;
    Dialogs& dialogs_;
    std::array<QCheckBox*, KeyElementCount> CheckSP{};
    FlagRow flagRow_;  // PrSPFNo, FSPno, NeSPFNo, ImgSP
    std::array<QWidget*, 4> buttons_{};
};

}  // namespace stopboard
