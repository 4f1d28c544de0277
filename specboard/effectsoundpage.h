#pragma once

#include <QWidget>
#include <array>

#include "soundtables.h"
#include "speceditor.h"

class Dialogs;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace specboard {

// The effect sound page: the registered sound files with Load, Play and Stop, and the sounds
// of medal insert, reel spin and reel stop - the ordinary sound, the candidates after a big or
// regular bonus is won and when a flag is won (per reel for reel stop), and the first play of
// each big bonus. It fills its frame, in the frame's coordinates.
class EffectSoundPage : public QWidget {
    Q_OBJECT
public:
    EffectSoundPage(SpecEditor& editor, Dialogs& dialogs, QWidget* frame);

signals:
    // "Play" with the sound number field's text and the file name shown; "Stop".
    void playRequested(const QString& soundNumberText, const QString& fileName);
    void stopRequested();

private:
    void makeBoxes();
    void makeSoundFileRows();
    void makeGroupRows();
    void makeCandidateBlocks();

    // The number in the sound number field; 0 while it is empty.
    int soundNumber() const;
    void stepSoundNumber(int step);
    void showFileName();
    void registerSoundFile();
    // Sets the area up for the group, the reel and the flag chosen, from the tables.
    void showGroup();
    // The flag block and its checks for the flag chosen.
    void showFlagRows();
    void showCandidate(int field);

    SpecEditor& editor_;
    Dialogs& dialogs_;
    // While the page shows the tables its boxes store nothing.
    bool showing_ = false;

    QLineEdit* txtSoundNo = nullptr;
    QLabel* LabelSoundFile = nullptr;
    std::array<QRadioButton*, sound::GroupCount> OptionSound{};
    QLabel* StopReal = nullptr;
    QPushButton* PrRealStop = nullptr;
    QPushButton* NeRealStop = nullptr;
    QLineEdit* BetSoundN = nullptr;
    QLineEdit* txtSSFlag = nullptr;
    std::array<QLineEdit*, sound::EffectFields> txtSBBonus{};
    // 0..17 the candidates' sounds, 18..22 the first play of big bonus 1..5.
    std::array<QLineEdit*, sound::EffectFields + sound::LastBigFirstPlay> BetSound{};
    std::array<QCheckBox*, sound::EffectFields> Check12Sound{};
};

}  // namespace specboard
