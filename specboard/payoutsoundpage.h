#pragma once

#include <QWidget>
#include <array>

#include "reeltypes.h"
#include "soundtables.h"
#include "speceditor.h"

class PictureBox;
class QCheckBox;
class QLabel;
class QLineEdit;

namespace specboard {

// The payout sound and music page: for each flag the sounds when its combination lines up and
// when its medals are paid out, in ordinary play and during a big or regular bonus; whether the
// payout sound comes first; the music of the bonuses and the wait. It fills its frame, in the
// frame's coordinates.
class PayoutSoundPage : public QWidget {
    Q_OBJECT
public:
    PayoutSoundPage(SpecEditor& editor, QWidget* frame);

private:
    // The flag number, its symbols and its payout sounds.
    void showFlag();
    void showAll();

    SpecEditor& editor_;
    // While the page shows the tables its boxes store nothing.
    bool showing_ = false;
    QLabel* Label36 = nullptr;
    std::array<PictureBox*, reel::ReelCount> ImgFlagS{};
    std::array<QLineEdit*, sound::StoredPayStates * sound::StoredPayTimings> txtPaySound{};
    QCheckBox* CheckSETiming = nullptr;
    std::array<QLineEdit*, sound::StoredBgm> BGM{};
};

}  // namespace specboard
