#include "checkwindow.h"

#include <QLabel>
#include <QPushButton>

#include "controls.h"
#include "picturecell.h"

namespace reelboard {

namespace {

constexpr int RowsPerReel = 5;
constexpr int ReelX[reel::ReelCount] = {24, 96, 168};
constexpr int RowY[RowsPerReel] = {32, 56, 80, 104, 128};
constexpr const char* LabelNames[CheckCellCount] = {
    "LabelLUU", "LabelLU", "LabelLM", "LabelLD", "LabelLDD",  //
    "LabelCUU", "LabelCU", "LabelCM", "LabelCD", "LabelCDD",  //
    "LabelRUU", "LabelRU", "LabelRM", "LabelRD", "LabelRDD"};
constexpr const char* UpNames[reel::ReelCount] = {"ComLUp", "ComCUp", "ComRUp"};
constexpr const char* DownNames[reel::ReelCount] = {"ComLDown", "ComCDown", "ComRDown"};

}  // namespace

CheckWindow::CheckWindow(ReelEditor& editor, QWidget* frame) : QWidget(frame), editor_(editor) {
    setObjectName(QStringLiteral("CheckWindow"));
    // Ends above the flash editor's row and left of its lamp buttons.
    setGeometry(0, 0, ReelX[2] + 49 + 2, 152 + 17 + 2);
    for (int r = 0; r < reel::ReelCount; ++r) {
        for (int k = 0; k < RowsPerReel; ++k) {
            const int i = r * RowsPerReel + k;
            auto* cell = new PictureCell(this, QStringLiteral("ImgChk_%1").arg(i));
            cell->setGeometry(ReelX[r], RowY[k], 49, 25);
            connect(cell, &PictureCell::clicked, this, [this, i] { emit cellClicked(i); });
            ImgChk[i] = cell;

            QLabel* label =
                makeLabel(this, QString(), ReelX[r] - 21, RowY[k], 18, 25, LabelNames[i]);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            positionLabels[i] = label;
        }
        QPushButton* up = makeButton(this, QStringLiteral("↑"), UpNames[r], ReelX[r], 16, 49, 17);
        QPushButton* down =
            makeButton(this, QStringLiteral("↓"), DownNames[r], ReelX[r], 152, 49, 17);
        connect(up, &QPushButton::clicked, this, [this, r] { editor_.scrollCheckReel(r, true); });
        connect(down, &QPushButton::clicked, this,
                [this, r] { editor_.scrollCheckReel(r, false); });
        showLabels(r);
    }
    connect(&editor_, &ReelEditor::checkViewScrolled, this, [this](int reelIndex) {
        showLabels(reelIndex);
        showArrangement();
    });
    connect(&editor_, &ReelEditor::arrangementChanged, this, &CheckWindow::showArrangement);
    connect(&editor_, &ReelEditor::picturesChanged, this, &CheckWindow::showArrangement);
    showArrangement();
}

void CheckWindow::showLabels(int reelIndex) {
    for (int k = 0; k < RowsPerReel; ++k) {
        const int i = reelIndex * RowsPerReel + k;
        positionLabels[i]->setText(QString::number(editor_.checkPositions()[i] + 1));
    }
}

int CheckWindow::symbolAt(int cell) const {
    const int reelIndex = cell / RowsPerReel;
    const int position = editor_.checkPositions()[cell];
    if (position < 0 || position >= reel::PositionCount) return -1;
    const int symbol = editor_.document().arrangement[reel::cellOf(reelIndex, position)];
    return reel::isSymbol(symbol) ? symbol : -1;
}

void CheckWindow::showArrangement() {
    const ReelDataDocument& doc = editor_.document();
    for (int i = 0; i < CheckCellCount; ++i) {
        const int symbol = symbolAt(i);
        ImgChk[i]->setPicture(symbol < 0 ? QImage()
                                         : doc.symbols[symbol].picture(PictureState::Lit));
    }
    emit redrawn();
}

void CheckWindow::showFlash(const FlashFrame& frame) {
    const ReelDataDocument& doc = editor_.document();
    for (int i = 0; i < CheckCellCount; ++i) {
        const int symbol = symbolAt(i);
        const PictureState state = frame.lamps[i] != 0 ? PictureState::Flash : PictureState::Unlit;
        ImgChk[i]->setPicture(symbol < 0 ? QImage() : doc.symbols[symbol].picture(state));
    }
    emit redrawn();
}

}  // namespace reelboard
