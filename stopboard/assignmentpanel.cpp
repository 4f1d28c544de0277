#include "assignmentpanel.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "controlboxes.h"
#include "controls.h"
#include "flagrow.h"

namespace stopboard {

namespace {

constexpr int PanelWidth = 239;

// Where each key frame stands and how its buttons are set out in columns.
struct KeyFrameLayout {
    int top;
    int columns;
    int columnWidth;
};
constexpr KeyFrameLayout KeyFrames[KeyGroups.size()] = {
    {0, 4, 56},    // 通常時 BB中 RB中 CT中
    {48, 2, 116},  // ボーナス否成立 BB成立後 / RB成立後
    {114, 3, 68},  // 1BET 2BET 3BET
    {162, 3, 76},  // 左中右 左右中 中左右 / 中右左 右左中 右中左
};
constexpr int FlagFrameTop = 228;

QGroupBox* makeFrame(QWidget* parent, const QString& title, const QRect& geometry) {
    auto* frame = new QGroupBox(title, parent);
    frame->setGeometry(geometry);
    return frame;
}

}  // namespace

AssignmentPanel::AssignmentPanel(ControlEditor& editor, QWidget* window, QPoint origin)
    : QWidget(window), editor_(editor) {
    setObjectName(QStringLiteral("AssignmentPanel"));
    setGeometry(QRect(origin, QSize(PanelWidth, FlagFrameTop + 114)));
    // Captions close to their buttons, so four play states fit one row.
    setStyleSheet(QStringLiteral("QRadioButton { spacing: 2px; }"));

    for (std::size_t g = 0; g < KeyGroups.size(); ++g) {
        const KeyGroup& group = KeyGroups[g];
        const KeyFrameLayout& place = KeyFrames[g];
        const int rows = (group.count + place.columns - 1) / place.columns;
        QGroupBox* frame = makeFrame(this, QString::fromUtf16(group.title),
                                     QRect(0, place.top, PanelWidth, 22 + rows * 20));
        for (int i = 0; i < group.count; ++i) {
            const int n = group.first + i;
            auto* option = new QRadioButton(QString::fromUtf16(group.captions[i]), frame);
            option->setObjectName(QStringLiteral("Options_%1").arg(n));
            option->setGeometry(8 + (i % place.columns) * place.columnWidth,
                                18 + (i / place.columns) * 20, place.columnWidth - 1, 20);
            option->setChecked(editor_.keyElementSelected(n));
            option->setEnabled(false);
            // A click from the user; the buttons the program selects follow the key.
            connect(option, &QRadioButton::clicked, this,
                    [this, n] { editor_.chooseKeyElement(n); });
            Options[n] = option;
        }
    }
    buildFlagFrame(
        makeFrame(this, QStringLiteral("成立フラグ"), QRect(0, FlagFrameTop, PanelWidth, 114)));

    connect(&editor_, &ControlEditor::keyChanged, this, &AssignmentPanel::showKey);
    connect(&editor_, &ControlEditor::flagViewShown, this, &AssignmentPanel::showFlagView);
    connect(&editor_, &ControlEditor::firstStopShown, this,
            [this](int position) { FirstStop->setText(QString::number(position)); });
    connect(&editor_, &ControlEditor::editingEnabledChanged, this, [this](bool on) {
        for (QWidget* w : alwaysUsable_) w->setEnabled(on);
        showKey();
    });
    showKey();
    showFlagView();
}

void AssignmentPanel::buildFlagFrame(QWidget* frame) {
    flagRow_ = makeFlagRow(frame, 20, {"Label51", "PrFlagNo", "LabelFlNo", "NeFlagNo", "ImgFlag"});
    connect(flagRow_.previous, &QPushButton::clicked, &editor_, &ControlEditor::previousFlag);
    connect(flagRow_.next, &QPushButton::clicked, &editor_, &ControlEditor::nextFlag);

    makeLabel(frame, QStringLiteral("ビッグの種類"), 8, 46, -1, 17, "Label52");
    PrBigID = makeButton(frame, QStringLiteral("<<"), "PrBigID", 124, 44, 24, 20);
    LabelBigID = makeLabel(frame, QStringLiteral("1"), 150, 45, 20, 18, "LabelBigID");
    LabelBigID->setAlignment(Qt::AlignCenter);
    NeBigID = makeButton(frame, QStringLiteral(">>"), "NeBigID", 172, 44, 24, 20);
    connect(PrBigID, &QPushButton::clicked, &editor_, &ControlEditor::previousBigType);
    connect(NeBigID, &QPushButton::clicked, &editor_, &ControlEditor::nextBigType);

    makeLabel(frame, QStringLiteral("第１リール停止位置"), 8, 68, -1, 17, "Label6");
    QPushButton* previousStop =
        makeButton(frame, QStringLiteral("<<"), "PrFirstStop", 124, 66, 24, 20);
    FirstStop = makeControlBox(frame, ControlBox::FirstStop, QStringLiteral("FirstStop"),
                               QRect(150, 66, 20, 20),
                               [this](int position) { editor_.setFirstStop(position); });
    FirstStop->setAlignment(Qt::AlignCenter);
    QPushButton* nextStop = makeButton(frame, QStringLiteral(">>"), "NeFirstStop", 172, 66, 24, 20);
    connect(previousStop, &QPushButton::clicked, &editor_, &ControlEditor::previousFirstStop);
    connect(nextStop, &QPushButton::clicked, &editor_, &ControlEditor::nextFirstStop);

    makeLabel(frame, QStringLiteral("割り当てるテーブルNo."), 8, 90, -1, 17, "Label53");
    FTableNumber = makeControlBox(
        frame, ControlBox::Assignment, QStringLiteral("FTableNumber"), QRect(140, 88, 36, 20),
        [this](int table) { editor_.setAssignment(editor_.key(), table); });
    makeLabel(frame, QStringLiteral("/ 512"), 180, 90, -1, 17, "Label54");

    alwaysUsable_ = {flagRow_.previous, flagRow_.next, previousStop,
                     FirstStop,         nextStop,      FTableNumber};
    for (QWidget* w : alwaysUsable_) w->setEnabled(false);
}

void AssignmentPanel::showKey() {
    const bool on = editor_.editingEnabled();
    for (int n = 0; n < KeyElementCount; ++n) {
        Options[n]->setChecked(editor_.keyElementSelected(n));
        Options[n]->setEnabled(on && editor_.keyElementAllowed(n));
    }
    const bool bigBonus = editor_.key().playState == BigBonusPlayState;
    PrBigID->setEnabled(on && bigBonus);
    NeBigID->setEnabled(on && bigBonus);
    LabelBigID->setText(QString::number(editor_.key().bigType + 1));
    // Outside a big bonus the type is dimmed: it does not take part in the key.
    QPalette palette = LabelBigID->palette();
    palette.setColor(QPalette::WindowText, bigBonus ? this->palette().color(QPalette::ButtonText)
                                                    : this->palette().color(QPalette::Dark));
    LabelBigID->setPalette(palette);
}

void AssignmentPanel::showFlagView() {
    flagRow_.show(editor_, editor_.key().flag);
    const bool bigBonus = editor_.key().playState == BigBonusPlayState;
    PrBigID->setEnabled(editor_.editingEnabled() && bigBonus);
    NeBigID->setEnabled(editor_.editingEnabled() && bigBonus);
    // Passes the box's own rule: an assignment of 0 shows (and becomes) 1.
    FTableNumber->setText(QString::number(editor_.document().assignment(editor_.key())));
}

}  // namespace stopboard
