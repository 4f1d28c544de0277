#include "strippanel.h"

#include <QLabel>

#include "picturecell.h"
#include "pictures.h"

namespace {

constexpr int ReelX[reel::ReelCount] = {32, 104, 176};
constexpr int BottomY = 512;  // position 0
constexpr int RowStep = 24;

}  // namespace

StripPanel::StripPanel(ReelEditor& editor, QWidget* form) : QObject(form), editor_(editor) {
    setObjectName(QStringLiteral("StripPanel"));
    for (int p = 0; p < reel::PositionCount; ++p) {
        auto* label = new QLabel(reel::positionLabel(p), form);
        label->setObjectName(QStringLiteral("LabelPos_%1").arg(p));
        label->setGeometry(8, BottomY - RowStep * p, 22, 25);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        LabelPos[p] = label;
    }
    for (int r = 0; r < reel::ReelCount; ++r) {
        for (int p = 0; p < reel::PositionCount; ++p) {
            const int c = reel::cellOf(r, p);
            auto* cell = new PictureCell(form, QStringLiteral("ImgReal_%1").arg(c));
            cell->setGeometry(ReelX[r], BottomY - RowStep * p, 49, 25);
            cell->setDropTarget(true);
            connect(cell, &PictureCell::dropped, this, [this, c] { place(c); });
            connect(cell, &PictureCell::doubleClicked, this, [this, c] { place(c); });
            ImgReal[c] = cell;
        }
    }
}

void StripPanel::showBlank() {
    const QImage blank = pictures::blankPicture();
    for (PictureCell* cell : ImgReal) cell->setPicture(blank);
}

void StripPanel::refresh() {
    for (int c = 0; c < reel::CellCount; ++c) {
        const int symbol = editor_.doc.arrangement[c];
        ImgReal[c]->setPicture(reel::isSymbol(symbol)
                                   ? editor_.doc.symbols[symbol].picture(PictureState::Lit)
                                   : QImage());
    }
}

void StripPanel::place(int cell) {
    if (cell < 0 || cell >= reel::CellCount || !reel::isSymbol(editor_.currentSymbol)) return;
    const int symbol = editor_.currentSymbol;
    ImgReal[cell]->setPicture(editor_.doc.symbols[symbol].picture(PictureState::Lit));
    editor_.doc.arrangement[cell] = static_cast<reel::SymbolIndex>(symbol);
    // A changed strip is unsaved work like any other edit.
    editor_.setModified();
    if (showArrangement) showArrangement();
}
