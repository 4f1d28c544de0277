#include "specialpastepanel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "busycursor.h"
#include "controls.h"
#include "dialogs.h"
#include "flagrow.h"

namespace stopboard {

namespace {

// The tick frames side by side: left edge, width and columns of each.
struct TickFrameLayout {
    int x;
    int width;
    int columns;
};
constexpr TickFrameLayout TickFrames[KeyGroups.size()] = {
    {6, 120, 2},    // 通常時 BB中 / RB中 CT中
    {130, 116, 1},  // ボーナス否成立 / BB成立後 / RB成立後
    {250, 70, 1},   // 1BET / 2BET / 3BET
    {324, 125, 2},  // 左中右 左右中 / 中左右 中右左 / 右左中 右中左
};

}  // namespace

SpecialPastePanel::SpecialPastePanel(ControlEditor& editor, Dialogs& dialogs, QWidget* frame)
    : QWidget(frame), editor_(editor), dialogs_(dialogs) {
    setObjectName(QStringLiteral("SpecialPastePanel"));
    setGeometry(frame->rect());
    setStyleSheet(QStringLiteral("QCheckBox { spacing: 2px; }"));

    for (std::size_t g = 0; g < KeyGroups.size(); ++g) {
        const KeyGroup& group = KeyGroups[g];
        const TickFrameLayout& place = TickFrames[g];
        auto* ticks = new QGroupBox(QString::fromUtf16(group.title), this);
        ticks->setGeometry(place.x, 16, place.width, 82);
        const int columnWidth = (place.width - 10) / place.columns;
        for (int i = 0; i < group.count; ++i) {
            auto* box = new QCheckBox(QString::fromUtf16(group.captions[i]), ticks);
            box->setObjectName(QStringLiteral("CheckSP_%1").arg(group.first + i));
            box->setGeometry(6 + (i % place.columns) * columnWidth, 18 + (i / place.columns) * 20,
                             columnWidth - 2, 20);
            box->setEnabled(false);
            CheckSP[group.first + i] = box;
        }
    }

    auto* flagFrame = new QGroupBox(QStringLiteral("成立フラグ"), this);
    flagFrame->setGeometry(6, 102, 240, 54);
    flagRow_ = makeFlagRow(flagFrame, 22, {"Label55", "PrSPFNo", "FSPno", "NeSPFNo", "ImgSP"});
    connect(flagRow_.previous, &QPushButton::clicked, &editor_, &ControlEditor::previousPasteFlag);
    connect(flagRow_.next, &QPushButton::clicked, &editor_, &ControlEditor::nextPasteFlag);

    QPushButton* pasteButton =
        makeButton(this, QStringLiteral("ペースト"), "Command3", 252, 120, 70, 26);
    QPushButton* untick =
        makeButton(this, QStringLiteral("全部のチェックを外す"), "Command4", 326, 120, 124, 26);
    fitButtonCaption(untick);
    connect(pasteButton, &QPushButton::clicked, this, &SpecialPastePanel::paste);
    connect(untick, &QPushButton::clicked, this, [this] {
        for (QCheckBox* box : CheckSP) box->setChecked(false);
    });
    buttons_ = {flagRow_.previous, flagRow_.next, pasteButton, untick};
    for (QWidget* w : buttons_) w->setEnabled(false);

    connect(&editor_, &ControlEditor::pasteFlagShown, this, &SpecialPastePanel::showPasteFlag);
    connect(&editor_, &ControlEditor::editingEnabledChanged, this, [this](bool on) {
        for (QWidget* w : buttons_) w->setEnabled(on);
        for (QCheckBox* box : CheckSP) box->setEnabled(on);
    });
    showPasteFlag();
}

void SpecialPastePanel::paste() {
    std::array<bool, KeyElementCount> ticked{};
    for (int n = 0; n < KeyElementCount; ++n) ticked[n] = CheckSP[n]->isChecked();
    if (!ControlEditor::everyGroupTicked(ticked)) {
        dialogs_.message(window(), QStringLiteral("チェックエラー"),
                         QStringLiteral("各項目、最低1つ選んで下さい"), Dialogs::Icon::Warning,
                         Dialogs::Buttons::Ok);
        return;
    }
    const BusyCursor busy;
    editor_.specialPaste(ticked);
}

void SpecialPastePanel::showPasteFlag() { flagRow_.show(editor_, editor_.pasteFlag()); }

}  // namespace stopboard
