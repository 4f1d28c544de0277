#include "flashpanel.h"

#include "controls.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "numberbox.h"

FlashPanel::FlashPanel(ReelEditor& editor, QGroupBox* frame) : QObject(frame), editor_(editor) {
    setObjectName(QStringLiteral("FlashPanel"));
    makeLabel(frame, QStringLiteral("フラッシュNo."), 8, 176);
    LabelFLIndex = new QLabel(QStringLiteral("1"), frame);
    LabelFLIndex->setObjectName(QStringLiteral("LabelFLIndex"));
    LabelFLIndex->setGeometry(80, 176, 24, 15);
    // The frame number ends where its caption "コマ目" begins, however many digits it has.
    LabelFLFlame = new QLabel(QStringLiteral("1"), frame);
    LabelFLFlame->setObjectName(QStringLiteral("LabelFLFlame"));
    LabelFLFlame->setGeometry(106, 176, 21, 15);
    LabelFLFlame->setAlignment(Qt::AlignRight | Qt::AlignTop);
    makeLabel(frame, QStringLiteral("コマ目"), 128, 176);
    makeLabel(frame, QStringLiteral("Wait"), 176, 176);
    TextFLWait = new QLineEdit(QStringLiteral("0"), frame);
    TextFLWait->setObjectName(QStringLiteral("TextFLWait"));
    TextFLWait->setGeometry(200, 173, 33, 18);
    TextFLWait->setTextMargins(0, 0, 0, 0);
    QLabel* unit = makeLabel(frame, QStringLiteral("/1000sec"), 235, 176);
    // The unit sits against the frame's right edge: a wide font must not cut it off.
    const int room = frame->width() - 2 - unit->x();
    for (QFont font = unit->font(); unit->sizeHint().width() > room && font.pixelSize() > 8;) {
        font.setPixelSize(font.pixelSize() - 1);
        unit->setFont(font);
        unit->adjustSize();
    }

    // A frame's wait is a 16-bit field: digits that would pass it are dropped as typed.
    NumberBoxRule rule;
    rule.limit = MaxFrameWait;
    rule.discardOverflowKey = true;
    waitBox_ = new NumberBox(TextFLWait, rule);
    connect(waitBox_, &NumberBox::valueChanged, this, [this](std::int64_t value) {
        currentFrame().wait =
            static_cast<std::int16_t>(std::clamp<std::int64_t>(value, 0, MaxFrameWait));
        editor_.setModified();
    });

    Command6 = makeButton(frame, QStringLiteral("<<"), "Command6", 8, 200, 41, 17);
    Command7 = makeButton(frame, QStringLiteral(">>"), "Command7", 48, 200, 41, 17);
    Command8 = makeButton(frame, QStringLiteral("<<"), "Command8", 96, 200, 41, 17);
    Command9 = makeButton(frame, QStringLiteral(">>"), "Command9", 136, 200, 41, 17);
    Command10 = makeButton(frame, QStringLiteral("くらわす"), "Command10", 192, 200, 89, 20);
    Command11 = makeButton(frame, QStringLiteral("全点灯<Z>"), "Command11", 224, 96, 57, 33);
    Command12 = makeButton(frame, QStringLiteral("全消灯<X>"), "Command12", 224, 136, 57, 33);
    connect(Command6, &QPushButton::clicked, this, &FlashPanel::previousAction);
    connect(Command7, &QPushButton::clicked, this, &FlashPanel::nextAction);
    connect(Command8, &QPushButton::clicked, this, &FlashPanel::previousFrame);
    connect(Command9, &QPushButton::clicked, this, &FlashPanel::nextFrame);
    connect(Command10, &QPushButton::clicked, this, &FlashPanel::preview);
    connect(Command11, &QPushButton::clicked, this, [this] { setAllLamps(true); });
    connect(Command12, &QPushButton::clicked, this, [this] { setAllLamps(false); });
}

FlashFrame& FlashPanel::currentFrame() {
    return editor_.doc.frame(editor_.currentFlash, editor_.currentFrame);
}

void FlashPanel::navigate(int actionDelta, int frameNumber) {
    editor_.currentFlash = std::clamp(editor_.currentFlash + actionDelta, 1, MaxFlashAction);
    editor_.currentFrame = std::clamp(frameNumber, 1, MaxFlashFrame);
    TextFLWait->setText(QString::number(currentFrame().wait));
    LabelFLFlame->setText(QString::number(editor_.currentFrame));
    LabelFLIndex->setText(QString::number(editor_.currentFlash));
    editor_.setModified();
}

void FlashPanel::showFlashView() {
    if (showFlash) showFlash(currentFrame());
    editor_.setModified();
}

void FlashPanel::previousAction() {
    if (editor_.currentFlash > 1) navigate(-1, 1);
    showFlashView();
}

void FlashPanel::nextAction() {
    // A new action can start only after the current one has a timed first frame.
    if (editor_.doc.frame(editor_.currentFlash, 1).wait != 0 &&
        editor_.currentFlash < MaxFlashAction) {
        navigate(+1, 1);
        if (editor_.doc.flashActionCount < editor_.currentFlash)
            editor_.doc.flashActionCount = static_cast<std::int16_t>(editor_.currentFlash);
    }
    showFlashView();
}

void FlashPanel::previousFrame() {
    if (editor_.currentFrame > 1) navigate(0, editor_.currentFrame - 1);
    showFlashView();
}

void FlashPanel::nextFrame() {
    // A new frame only after the current one has a time.
    if (currentFrame().wait != 0 && editor_.currentFrame < MaxFlashFrame)
        navigate(0, editor_.currentFrame + 1);
    showFlashView();
}

void FlashPanel::toggleLamp(int cell) {
    if (cell < 0 || cell >= CheckCellCount) return;
    std::int16_t& lamp = currentFrame().lamps[cell];
    lamp = lamp != 0 ? 0 : 1;
    showFlashView();
}

void FlashPanel::setAllLamps(bool on) {
    currentFrame().lamps.fill(on ? 1 : 0);
    showFlashView();
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
        editor_.currentFrame = n;
        const FlashFrame shown =
            n <= MaxFlashFrame ? editor_.doc.frame(editor_.currentFlash, n) : darkEnd;
        if (showFlash) showFlash(shown);
        editor_.setModified();
        const qint64 start = clock.nsecsElapsed();
        const qint64 wait = qint64(shown.wait) * 1'000'000;
        do {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (!alive) return;  // the window went away while events ran
        } while (!stopRequested_ && clock.nsecsElapsed() - start <= wait);
        if (shown.wait == 0 || stopRequested_) break;
    }

    // Frame 1 is shown whole again: its lamps, its wait and its number.
    navigate(0, 1);
    showFlashView();
    previewing_ = false;
    stopRequested_ = false;
    Command10->setEnabled(true);
    emit previewFinished();
}
