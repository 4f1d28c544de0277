#pragma once

#include <QImage>
#include <QObject>
#include <array>
#include <functional>

#include "reeleditor.h"

class PictureCell;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The symbol pictures at the top right: one visible view of the 28 (7 symbols x lit,
// unlit, flash, blink), the state selectors, picture loading and symbol stepping. The
// visible lit view is where every symbol drag starts.
class PicturePanel : public QObject {
    Q_OBJECT
public:
    PicturePanel(ReelEditor& editor, QWidget* form);

    // Called after a picture load: everything that shows symbol pictures (strips, check
    // window, prize cells) redraws.
    std::function<void()> picturesChanged;

    // Start-up: symbol 1's lit view with the lit selector chosen.
    void showStartUp();
    // After a reel file was read: symbol 1 in the chosen state, and the file's lit
    // pictures become the measuring pictures.
    void refreshAfterLoad();

    PictureState selectedState() const;
    // The lit picture of a symbol at natural size, which PictureSize is measured from.
    const QImage& measuringPicture(int symbol) const { return measuring_[symbol]; }

    void chooseState(PictureState state);
    void previousSymbol();
    void nextSymbol();
    // "Load": false when nothing was loaded (cancelled or refused).
    bool loadPicture();

    std::array<PictureCell*, reel::SymbolCount> ImgFile{};   // lit
    std::array<PictureCell*, reel::SymbolCount> ImgFileD{};  // unlit
    std::array<PictureCell*, reel::SymbolCount> ImgFileF{};  // flash
    std::array<PictureCell*, reel::SymbolCount> ImgFileP{};  // blink
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Option4 = nullptr;
    QPushButton* ComLoadPic = nullptr;
    QLineEdit* TextFilename = nullptr;
    QLabel* LabelPicIndex = nullptr;
    QPushButton* Command2 = nullptr;  // previous symbol
    QPushButton* Command3 = nullptr;  // next symbol

private:
    PictureCell* view(int symbol, PictureState state) const;
    // Shows exactly one view: the current symbol in the chosen state, with its name.
    void showCurrentView();
    void step(int delta);
    void measurePictureSize();
    void refuse(const QString& text, const QString& detail = {});

    ReelEditor& editor_;
    QWidget* form_;
    std::array<QImage, reel::SymbolCount> measuring_;
};
