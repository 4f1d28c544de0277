#include "flashpanel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "controls.h"
#include "numberbox.h"

namespace reelboard {

namespace {

enum class Step { PreviousAction, NextAction, PreviousFrame, NextFrame };

// The stepping buttons of the flash editor and what each asks the editor to do.
struct ButtonPlace {
    const char* name;
    const char16_t* caption;
    QRect geometry;
    Step step;
};

void takeStep(ReelEditor& editor, Step step) {
    switch (step) {
        case Step::PreviousAction:
            return editor.previousAction();
        case Step::NextAction:
            return editor.nextAction();
        case Step::PreviousFrame:
            return editor.previousFrame();
        case Step::NextFrame:
            return editor.nextFrame();
    }
}

}  // namespace

FlashPanel::FlashPanel(ReelEditor& editor, QWidget* frame) : QWidget(frame), editor_(editor) {
    setObjectName(QStringLiteral("FlashPanel"));
    setGeometry(frame->rect());
    makeLabel(this, QStringLiteral("フラッシュNo."), 8, 176);
    LabelFLIndex = makeLabel(this, QStringLiteral("1"), 80, 176, 24, 15, "LabelFLIndex");
    // The frame number ends where its caption "コマ目" begins, however many digits it has.
    LabelFLFlame = makeLabel(this, QStringLiteral("1"), 106, 176, 21, 15, "LabelFLFlame");
    LabelFLFlame->setAlignment(Qt::AlignRight | Qt::AlignTop);
    makeLabel(this, QStringLiteral("コマ目"), 128, 176);
    // "Wait" ends before its box, whatever the font makes of it.
    QLabel* waitLabel = makeLabel(this, QStringLiteral("Wait"), 176, 176, 23, 15);
    fitFontToWidth(waitLabel, waitLabel->text(), waitLabel->width());

    // A frame's wait is a 16-bit field: digits that would pass it are dropped as typed.
    NumberBoxRule rule;
    rule.limit = MaxFrameWait;
    rule.discardOverflowKey = true;
    TextFLWait =
        makeNumberBox(this, QStringLiteral("TextFLWait"), QRect(200, 173, 33, 18), rule,
                      [this](std::int64_t value) {
                          editor_.setFrameWait(editor_.currentFlash(), editor_.currentFrame(),
                                               static_cast<int>(value));
                      })
            ->edit();
    QLabel* unit = makeLabel(this, QStringLiteral("/1000sec"), 235, 176);
    // The unit sits against the frame's right edge: a wide font must not cut it off.
    fitFontToWidth(unit, unit->text(), frame->width() - 2 - unit->x());
    unit->adjustSize();

    const ButtonPlace steps[] = {
        {"Command6", u"<<", {8, 200, 41, 17}, Step::PreviousAction},
        {"Command7", u">>", {48, 200, 41, 17}, Step::NextAction},
        {"Command8", u"<<", {96, 200, 41, 17}, Step::PreviousFrame},
        {"Command9", u">>", {136, 200, 41, 17}, Step::NextFrame},
    };
    for (const ButtonPlace& b : steps) {
        QPushButton* button =
            makeButton(this, QString::fromUtf16(b.caption), b.name, b.geometry.x(), b.geometry.y(),
                       b.geometry.width(), b.geometry.height());
        // Every press ends with the flash view, whether or not it moved.
        connect(button, &QPushButton::clicked, this, [this, step = b.step] {
            takeStep(editor_, step);
            showFlashView();
        });
    }
    Command10 = makeButton(this, QStringLiteral("くらわす"), "Command10", 192, 200, 89, 20);
    connect(Command10, &QPushButton::clicked, this, &FlashPanel::preview);
    const std::pair<const char*, bool> lampButtons[] = {{"Command11", true}, {"Command12", false}};
    for (const auto& [name, on] : lampButtons) {
        QPushButton* button =
            makeButton(this, on ? QStringLiteral("全点灯<Z>") : QStringLiteral("全消灯<X>"), name,
                       224, on ? 96 : 136, 57, 33);
        fitButtonCaption(button);
        connect(button, &QPushButton::clicked, this, [this, on = on] {
            editor_.setAllLamps(editor_.currentFlash(), editor_.currentFrame(), on);
        });
    }

    // Another frame: its wait and numbers; one that an undo or redo brought also its lamps.
    connect(&editor_, &ReelEditor::frameSelected, this, [this] {
        showNavigation();
        if (editor_.isReplaying()) showFlashView();
    });
    connect(&editor_, &ReelEditor::frameEdited, this, &FlashPanel::showFlashView);
    // A wait typed, undone or redone; the box being typed into keeps its text.
    connect(&editor_, &ReelEditor::frameWaitChanged, this, [this](int action, int frame) {
        if (action == editor_.currentFlash() && frame == editor_.currentFrame())
            showNumber(TextFLWait, editor_.document().frame(action, frame).wait,
                       editor_.isReplaying());
    });
    connect(&editor_, &ReelEditor::documentReplaced, this, [this] {
        showNavigation();
        showFlashView();
    });
}

void FlashPanel::showNavigation() {
    showNumber(TextFLWait,
               editor_.document().frame(editor_.currentFlash(), editor_.currentFrame()).wait, true);
    LabelFLFlame->setText(QString::number(editor_.currentFrame()));
    LabelFLIndex->setText(QString::number(editor_.currentFlash()));
}

void FlashPanel::showFlashView() {
    emit flashShown(editor_.document().frame(editor_.currentFlash(), editor_.currentFrame()));
}

void FlashPanel::preview() {
    if (previewing_) return;
    previewing_ = true;
    stopRequested_ = false;
    Command10->setEnabled(false);
    const QPointer<FlashPanel> alive(this);

    // Wakes each wait at least once a millisecond, so the clock is read on time without
    // spinning while nothing else happens.
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.start(1);
    QElapsedTimer clock;
    clock.start();
    const FlashFrame darkEnd;  // after frame 99: every lamp off, and the action ends
    for (int n = 1; n <= MaxFlashFrame + 1; ++n) {
        editor_.setPreviewFrame(n);
        // Lamps are read afresh at each frame: they may be edited while the preview runs.
        const FlashFrame shown =
            n <= MaxFlashFrame ? editor_.document().frame(editor_.currentFlash(), n) : darkEnd;
        emit flashShown(shown);
        const qint64 start = clock.nsecsElapsed();
        const qint64 wait = qint64(shown.wait) * 1'000'000;
        do {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (!alive) return;  // the window went away while events ran
        } while (!stopRequested_ && clock.nsecsElapsed() - start <= wait);
        if (shown.wait == 0 || stopRequested_) break;
    }

    // The action's last frame is the state its lamps end in: it stays in the check window
    // until the author's next step redraws it. Frame 1 is the current frame again, with its
    // number and wait.
    editor_.selectFrame(editor_.currentFlash(), 1);
    previewing_ = false;
    stopRequested_ = false;
    Command10->setEnabled(true);
    emit previewFinished();
}

}  // namespace reelboard
