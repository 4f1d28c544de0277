#include "strippanel.h"

#include <QLabel>

#include "controls.h"
#include "picturecell.h"
#include "pictures.h"

namespace reelboard {

namespace {

constexpr int ReelX[reel::ReelCount] = {32, 104, 176};
constexpr int BottomY = 512;  // position 0
constexpr int RowStep = 24;

}  // namespace

StripPanel::StripPanel(ReelEditor& editor, QWidget* parent) : QWidget(parent), editor_(editor) {
    setObjectName(QStringLiteral("StripPanel"));
    setGeometry(0, 0, ReelX[2] + 49 + 1, BottomY + 25 + 1);
    makeLabel(this, QStringLiteral("左リール"), ReelX[0], 8);
    makeLabel(this, QStringLiteral("中リール"), ReelX[1], 8);
    makeLabel(this, QStringLiteral("右リール"), ReelX[2], 8);
    for (int p = 0; p < reel::PositionCount; ++p) {
        QLabel* label = makeLabel(this, reel::positionLabel(p), 8, BottomY - RowStep * p, 22, 25,
                                  qPrintable(QStringLiteral("LabelPos_%1").arg(p)));
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    // Start-up: every cell shows the blank picture until a reel file is read.
    const QImage blank = pictures::blankPicture();
    for (int r = 0; r < reel::ReelCount; ++r) {
        for (int p = 0; p < reel::PositionCount; ++p) {
            const int c = reel::cellOf(r, p);
            auto* cell = new PictureCell(this, QStringLiteral("ImgReal_%1").arg(c));
            cell->setGeometry(ReelX[r], BottomY - RowStep * p, 49, 25);
            cell->setDropTarget(true);
            cell->setPicture(blank);
            auto place = [this, c] { editor_.placeSymbol(c, editor_.currentSymbol()); };
            connect(cell, &PictureCell::dropped, this, place);
            connect(cell, &PictureCell::doubleClicked, this, place);
            ImgReal[c] = cell;
        }
    }
    connect(&editor_, &ReelEditor::arrangementChanged, this, &StripPanel::showCell);
    connect(&editor_, &ReelEditor::picturesChanged, this, &StripPanel::refresh);
    connect(&editor_, &ReelEditor::documentReplaced, this, &StripPanel::refresh);
}

void StripPanel::showCell(int cell) {
    if (cell < 0 || cell >= reel::CellCount) return;
    const ReelDataDocument& doc = editor_.document();
    const int symbol = doc.arrangement[cell];
    ImgReal[cell]->setPicture(
        reel::isSymbol(symbol) ? doc.symbols[symbol].picture(PictureState::Lit) : QImage());
}

void StripPanel::refresh() {
    for (int c = 0; c < reel::CellCount; ++c) showCell(c);
}

}  // namespace reelboard
