#include "checkwindow.h"

#include "controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "picturecell.h"

namespace {

constexpr int RowsPerReel = 5;
constexpr int ReelX[reel::ReelCount] = {24, 96, 168};
constexpr int RowY[RowsPerReel] = {32, 56, 80, 104, 128};
constexpr const char* LabelNames[CheckCellCount] = {
    "LabelLUU", "LabelLU", "LabelLM", "LabelLD", "LabelLDD",  //
    "LabelCUU", "LabelCU", "LabelCM", "LabelCD", "LabelCDD",  //
    "LabelRUU", "LabelRU", "LabelRM", "LabelRD", "LabelRDD"};

}  // namespace

CheckWindow::CheckWindow(ReelEditor& editor, QGroupBox* frame) : QObject(frame), editor_(editor) {
    setObjectName(QStringLiteral("CheckWindow"));
    for (int r = 0; r < reel::ReelCount; ++r) {
        for (int k = 0; k < RowsPerReel; ++k) {
            const int i = r * RowsPerReel + k;
            auto* cell = new PictureCell(frame, QStringLiteral("ImgChk_%1").arg(i));
            cell->setGeometry(ReelX[r], RowY[k], 49, 25);
            connect(cell, &PictureCell::clicked, this, [this, i] { emit cellClicked(i); });
            ImgChk[i] = cell;

            auto* label = new QLabel(frame);
            label->setObjectName(QLatin1String(LabelNames[i]));
            label->setGeometry(ReelX[r] - 21, RowY[k], 18, 25);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            positionLabels[i] = label;
        }
    }
    auto button = [frame](const QString& text, const char* name, int x, int y) {
        return makeButton(frame, text, name, x, y, 49, 17);
    };
    ComLUp = button(QStringLiteral("↑"), "ComLUp", ReelX[0], 16);
    ComCUp = button(QStringLiteral("↑"), "ComCUp", ReelX[1], 16);
    ComRUp = button(QStringLiteral("↑"), "ComRUp", ReelX[2], 16);
    ComLDown = button(QStringLiteral("↓"), "ComLDown", ReelX[0], 152);
    ComCDown = button(QStringLiteral("↓"), "ComCDown", ReelX[1], 152);
    ComRDown = button(QStringLiteral("↓"), "ComRDown", ReelX[2], 152);
    const QPushButton* ups[] = {ComLUp, ComCUp, ComRUp};
    const QPushButton* downs[] = {ComLDown, ComCDown, ComRDown};
    for (int r = 0; r < reel::ReelCount; ++r) {
        connect(ups[r], &QPushButton::clicked, this, [this, r] { scroll(r, true); });
        connect(downs[r], &QPushButton::clicked, this, [this, r] { scroll(r, false); });
        showLabels(r);
    }
}

void CheckWindow::showLabels(int reelIndex) {
    for (int k = 0; k < RowsPerReel; ++k) {
        const int i = reelIndex * RowsPerReel + k;
        positionLabels[i]->setText(QString::number(editor_.checkPositions[i] + 1));
    }
}

void CheckWindow::scroll(int reelIndex, bool up) {
    // Only the view moves; the strip itself is unchanged.
    for (int k = 0; k < RowsPerReel; ++k) {
        int& position = editor_.checkPositions[reelIndex * RowsPerReel + k];
        position = (position + (up ? 1 : reel::PositionCount - 1)) % reel::PositionCount;
    }
    showLabels(reelIndex);
    showArrangement();
}

int CheckWindow::symbolAt(int cell) const {
    const int reelIndex = cell / RowsPerReel;
    const int position = editor_.checkPositions[cell];
    if (position < 0 || position >= reel::PositionCount) return -1;
    const int symbol = editor_.doc.arrangement[reel::cellOf(reelIndex, position)];
    return reel::isSymbol(symbol) ? symbol : -1;
}

void CheckWindow::showArrangement() {
    for (int i = 0; i < CheckCellCount; ++i) {
        const int symbol = symbolAt(i);
        ImgChk[i]->setPicture(symbol < 0 ? QImage()
                                         : editor_.doc.symbols[symbol].picture(PictureState::Lit));
    }
    emit redrawn();
}

void CheckWindow::showFlash(const FlashFrame& frame) {
    for (int i = 0; i < CheckCellCount; ++i) {
        const int symbol = symbolAt(i);
        const PictureState state = frame.lamps[i] != 0 ? PictureState::Flash : PictureState::Unlit;
        ImgChk[i]->setPicture(symbol < 0 ? QImage() : editor_.doc.symbols[symbol].picture(state));
    }
    emit redrawn();
}
