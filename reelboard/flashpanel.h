#pragma once

#include <QWidget>

#include "reeleditor.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace reelboard {

// The flash editor around the check window: walks through flash actions and their frames,
// switches the lamps of the shown frame, sets each frame's wait and plays an action on the
// check window ("くらわす"). It fills its frame, in the frame's coordinates, below the check
// window, which it draws on through flashShown.
class FlashPanel : public QWidget {
    Q_OBJECT
public:
    FlashPanel(ReelEditor& editor, QWidget* frame);

    // Plays the current action, letting window events run while each frame waits.
    void preview();
    bool previewRunning() const { return previewing_; }
    // Asks a running preview to end after its current pass.
    void stopPreview() { stopRequested_ = true; }

signals:
    // The check window is to show this frame's lamps.
    void flashShown(const FlashFrame& frame);
    void previewFinished();

private:
    // The wait box and the frame and action numbers of the current frame.
    void showNavigation();
    // The check window shows the current frame's lamps.
    void showFlashView();

    ReelEditor& editor_;
    QLabel* LabelFLIndex = nullptr;
    QLabel* LabelFLFlame = nullptr;
    QLineEdit* TextFLWait = nullptr;
    QPushButton* Command10 = nullptr;  // preview
    bool previewing_ = false;
    bool stopRequested_ = false;
};

}  // namespace reelboard
