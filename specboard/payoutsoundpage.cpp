#include "payoutsoundpage.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls.h"
#include "numberbox.h"
#include "pagecontrols.h"
#include "picturebox.h"

namespace specboard {

namespace {

using namespace sound;

constexpr int Left = 8;
constexpr int TableX = 96;  // the payout columns, 60 apart
constexpr int ColumnStep = 60;
constexpr int TableY = 76;  // the two payout rows, 22 apart
constexpr int RowStep = 22;
constexpr int BgmY = 174;  // the music rows
constexpr int BgmBoxX = 160;

}  // namespace

PayoutSoundPage::PayoutSoundPage(SpecEditor& editor, QWidget* frame)
    : QWidget(frame), editor_(editor) {
    setObjectName(QStringLiteral("PayoutSoundPage"));
    setGeometry(frame->rect());

    makeLabel(this, QStringLiteral("Index"), Left, 25);
    Label36 = makeValueLabel(this, QStringLiteral("1"), "Label36", 44, 24, 22);
    connect(makeStepButton(this, u"<<", "Command5", 70, 24), &QPushButton::clicked, &editor_,
            &SpecEditor::previousPayoutFlag);
    connect(makeStepButton(this, u">>", "Command6", 96, 24), &QPushButton::clicked, &editor_,
            &SpecEditor::nextPayoutFlag);
    for (int r = 0; r < reel::ReelCount; ++r)
        ImgFlagS[r] = new PictureBox(this, QStringLiteral("ImgFlagS_%1").arg(r),
                                     QRect(136 + 50 * r, 21, 48, 24));

    // Field k is state k / 2 (a column) and timing k % 2 (a row).
    const QString states[StoredPayStates] = {QStringLiteral("通常時"), QStringLiteral("BB中"),
                                             QStringLiteral("RB中")};
    const QString timings[StoredPayTimings] = {QStringLiteral("揃った時"),
                                               QStringLiteral("払い出し")};
    for (int state = 0; state < StoredPayStates; ++state)
        makeLabel(this, states[state], TableX + ColumnStep * state, TableY - 20, 56, 17)
            ->setAlignment(Qt::AlignCenter);
    for (int timing = 0; timing < StoredPayTimings; ++timing)
        makeLabel(this, timings[timing], Left, TableY + RowStep * timing + 1);
    const NumberBoxRule rule = boxRule(LastSoundNumber, QStringLiteral("0"), QStringLiteral("0"));
    for (int k = 0; k < StoredPayStates * StoredPayTimings; ++k) {
        const int state = k / StoredPayTimings, timing = k % StoredPayTimings;
        txtPaySound[k] =
            makeNumberBox(
                this, QStringLiteral("txtPaySound_%1").arg(k),
                QRect(TableX + ColumnStep * state + 10, TableY + RowStep * timing, 36, 18), rule,
                [this, state, timing](std::int64_t v) {
                    if (showing_) return;
                    editor_.setPaySound(editor_.selection().payoutFlag - 1, state, timing, v);
                })
                ->edit();
    }
    CheckSETiming = makeCheck(this, QStringLiteral("払い出し音が先"),
                              QStringLiteral("CheckSETiming"), Left, TableY + 2 * RowStep + 6, 160);
    connect(CheckSETiming, &QCheckBox::clicked, &editor_, &SpecEditor::setPaySoundFirst);

    makeLabel(this, QStringLiteral("BGM設定"), Left, BgmY - 22);
    makeLabel(this, QStringLiteral("効果音No"), BgmBoxX - 6, BgmY - 22);
    QStringList music{QStringLiteral("レギラーボーナス")};
    for (int big = 1; big <= LastBigFirstPlay; ++big)
        music << QStringLiteral("ビッグボーナス %1").arg(big);
    music << QStringLiteral("ビッグ終了時") << QStringLiteral("ウェイト音");
    for (int i = 0; i < StoredBgm; ++i) {
        makeLabel(this, music[i], Left + 16, BgmY + RowStep * i + 1);
        BGM[i] = makeNumberBox(this, QStringLiteral("BGM_%1").arg(i),
                               QRect(BgmBoxX, BgmY + RowStep * i, 36, 18), rule,
                               [this, i](std::int64_t v) {
                                   if (!showing_) editor_.setBgmSound(i, v);
                               })
                     ->edit();
    }

    connect(&editor_, &SpecEditor::payoutFlagSelected, this, &PayoutSoundPage::showFlag);
    connect(&editor_, &SpecEditor::reelDataRead, this, &PayoutSoundPage::showFlag);
    connect(&editor_, &SpecEditor::documentReplaced, this, &PayoutSoundPage::showAll);
    connect(&editor_, &SpecEditor::documentEdited, this, &PayoutSoundPage::showAll);
    showFlag();
}

void PayoutSoundPage::showFlag() {
    const int flag = editor_.selection().payoutFlag - 1;
    const ReelDataInfo& reels = editor_.document().reelData;
    Label36->setText(QString::number(flag + 1));
    for (int r = 0; r < reel::ReelCount; ++r)
        ImgFlagS[r]->setPicture(reels.picture(reels.flagPrize[flag].symbols[r]));
    const auto& sounds = editor_.document().sound.paySound[flag];
    showing_ = true;
    for (int k = 0; k < StoredPayStates * StoredPayTimings; ++k)
        txtPaySound[k]->setText(
            QString::number(sounds[k / StoredPayTimings][k % StoredPayTimings]));
    showing_ = false;
}

void PayoutSoundPage::showAll() {
    const SoundTables& t = editor_.document().sound;
    CheckSETiming->setChecked(t.paySoundFirst != 0);
    showing_ = true;
    for (int i = 0; i < StoredBgm; ++i) BGM[i]->setText(QString::number(t.bgmSound[i]));
    showing_ = false;
    showFlag();
}

}  // namespace specboard
