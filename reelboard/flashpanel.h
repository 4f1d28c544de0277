#pragma once

#include <QObject>
#include <functional>

#include "reeleditor.h"

class NumberBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The flash editor below the check window: walks through flash actions and their frames,
// switches the lamps of the shown frame, sets each frame's wait and plays an action on the
// check window ("くらわす").
class FlashPanel : public QObject {
    Q_OBJECT
public:
    FlashPanel(ReelEditor& editor, QGroupBox* frame);

    // Draws a frame's lamps on the check window.
    std::function<void(const FlashFrame&)> showFlash;

    // Moves by `actionDelta` actions to frame `frameNumber` and shows its wait and numbers.
    void navigate(int actionDelta, int frameNumber);
    // The check window shows the current frame's lamps.
    void showFlashView();

    void previousAction();
    void nextAction();
    void previousFrame();
    void nextFrame();
    void toggleLamp(int cell);
    void setAllLamps(bool on);

    // Plays the current action, letting window events run while each frame waits.
    void preview();
    bool previewRunning() const { return previewing_; }
    // Asks a running preview to end after its current pass.
    void stopPreview() { stopRequested_ = true; }

    QLabel* LabelFLIndex = nullptr;
    QLabel* LabelFLFlame = nullptr;
    QLineEdit* TextFLWait = nullptr;
    QPushButton* Command6 = nullptr;   // previous action
    QPushButton* Command7 = nullptr;   // next action
    QPushButton* Command8 = nullptr;   // previous frame
    QPushButton* Command9 = nullptr;   // next frame
    QPushButton* Command10 = nullptr;  // preview
    QPushButton* Command11 = nullptr;  // all lamps on
    QPushButton* Command12 = nullptr;  // all lamps off

signals:
    void previewFinished();

private:
    FlashFrame& currentFrame();

    ReelEditor& editor_;
    NumberBox* waitBox_ = nullptr;
    bool previewing_ = false;
    bool stopRequested_ = false;
};
