#pragma once

#include <QWidget>
#include <array>

#include "reeleditor.h"

class Dialogs;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace reelboard {

class PictureCell;

// The symbol pictures at the top right: one visible view of the 28 (7 symbols x lit,
// unlit, flash, blink), the state selectors, picture loading and symbol stepping. The
// visible lit view is where every symbol drag starts.
class PicturePanel : public QWidget {
    Q_OBJECT
public:
    // `origin` is where the panel stands in the window; its controls keep the window's layout.
    PicturePanel(ReelEditor& editor, Dialogs& dialogs, QWidget* window, QPoint origin);

    PictureState selectedState() const;

private:
    PictureCell* view(int symbol, PictureState state) const;
    // Shows exactly one view: the current symbol in the chosen state, with its name.
    void showCurrentView();
    void chooseState(PictureState state);
    // "Load": false when nothing was loaded (cancelled or refused).
    bool loadPicture();
    void refuse(const QString& text, const QString& detail = {});

    ReelEditor& editor_;
    Dialogs& dialogs_;
    std::array<std::array<PictureCell*, reel::SymbolCount>, PictureStateCount> views_{};
    std::array<QRadioButton*, PictureStateCount> options_{};
    QLineEdit* TextFilename = nullptr;
    QLabel* LabelPicIndex = nullptr;
    // The folder of the picture last chosen, where the dialog starts while no reel file
    // has been read ("" until then: the working folder).
    QString pictureFolder_;
};

}  // namespace reelboard
