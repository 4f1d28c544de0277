#include "bonuspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "boxkeys.h"
#include "controls.h"
#include "numberbox.h"
#include "pagecontrols.h"
#include "paylinepanel.h"
#include "picturebox.h"

namespace specboard {

namespace {

using namespace machine;

// What a box of the page stores into, at the selection the page shows.
enum class Target { FlagProb, Gensan, BigNo, BigPer, CTPr, CTEndCon, BonusEnd };
enum Group { ProbabilityGroup, SuperBigGroup, BonusEndGroup, CTGroup };

struct BoxRow {
    const char* name;
    int index;    // the family member, or the field's slot
    bool family;  // named name_index
    Group group;
    QRect place;
    NumberBoxRule rule;
    Target target;
    // A box that holds one key: the keys it takes, and whether Backspace empties it.
    const char16_t* oneKey = nullptr;
    bool oneKeyBackspace = false;
};

constexpr int ProbabilityY = 90;  // first probability row; rows and big rows are 20 apart
constexpr int BigY = 40;
constexpr int RowStep = 20;

std::vector<BoxRow> boxRows() {
    const QString zero = QStringLiteral("0");
    std::vector<BoxRow> rows;
    for (int i = 0; i < StoredStates; ++i)
        rows.push_back({"PrizePr", i, true, ProbabilityGroup,
                        QRect(64, ProbabilityY + RowStep * i, 48, 18), boxRule(65536, {}, zero),
                        Target::FlagProb});
    rows.push_back({"txtGensan", 0, false, ProbabilityGroup, QRect(306, ProbabilityY, 36, 18),
                    boxRule(256, {}, zero), Target::Gensan});
    rows.push_back({"txtSPBNo", 0, false, SuperBigGroup, QRect(46, 18, 20, 18),
                    boxRule(std::nullopt, {}, QStringLiteral("1")), Target::BigNo, u"12345",
                    false});
    for (int i = 0; i < StoredBigs; ++i)
        rows.push_back({"txtBigPer", i, true, SuperBigGroup, QRect(24, BigY + RowStep * i, 36, 18),
                        boxRule(100, zero, zero), Target::BigPer});
    rows.push_back({"txtBEndG", 0, false, BonusEndGroup, QRect(26, 18, 26, 18),
                    boxRule(99, zero, zero), Target::BonusEnd});
    rows.push_back({"txtBEndB", 1, false, BonusEndGroup, QRect(106, 18, 18, 18),
                    boxRule(std::nullopt, {}, zero), Target::BonusEnd, u"0123456789", true});
    rows.push_back({"txtREndG", 2, false, BonusEndGroup, QRect(26, 40, 26, 18),
                    boxRule(99, zero, zero), Target::BonusEnd});
    rows.push_back({"txtREndB", 3, false, BonusEndGroup, QRect(106, 40, 18, 18),
                    boxRule(std::nullopt, {}, zero), Target::BonusEnd, u"0123456789", true});
    rows.push_back({"txtCTPr", 0, false, CTGroup, QRect(236, 40, 32, 18),
                    boxRule(100, {}, std::nullopt), Target::CTPr});
    for (int i = 0; i < StoredCTEnds; ++i)
        rows.push_back({"txtCTEndCon", i, true, CTGroup, QRect(i == 0 ? 146 : 236, 18, 40, 18),
                        boxRule(9999, zero, zero), Target::CTEndCon});
    return rows;
}

}  // namespace

BonusPage::BonusPage(SpecEditor& editor, QWidget* frame) : QWidget(frame), editor_(editor) {
    setObjectName(QStringLiteral("BonusPage"));
    setGeometry(frame->rect());
    const std::array<QWidget*, 4> groups{
        makeGroup(this, QStringLiteral("ボーナス・小役確率設定"), QRect(6, 18, 355, 174)),
        makeGroup(this, QStringLiteral("スーパービッグ設定"), QRect(6, 194, 172, 146)),
        makeGroup(this, QStringLiteral("ボーナス終了条件"), QRect(6, 342, 172, 66)),
        makeGroup(this, QStringLiteral("CT設定"), QRect(6, 410, 355, 66)),
    };
    makeBoxes(groups);
    makeProbabilityGroup(groups[ProbabilityGroup]);
    makeSuperBigGroup(groups[SuperBigGroup]);
    makeBonusEndGroup(groups[BonusEndGroup]);
    makeCTGroup(groups[CTGroup]);
    new PayLinePanel(editor_,
                     makeGroup(this, QStringLiteral("有効ライン設定"), QRect(184, 194, 177, 214)));

    connect(&editor_, &SpecEditor::probabilitySelected, this, &BonusPage::showProbabilities);
    connect(&editor_, &SpecEditor::reelDataRead, this, &BonusPage::showFlagSymbols);
    connect(&editor_, &SpecEditor::bigNoSelected, this, &BonusPage::showSuperBig);
    connect(&editor_, &SpecEditor::ctBigSelected, this, &BonusPage::showCTEntry);
    connect(&editor_, &SpecEditor::documentReplaced, this, &BonusPage::showAll);
    connect(&editor_, &SpecEditor::documentEdited, this, [this] {
        // The big bonus an undo or redo went back to; typed, the box itself chose it.
        const QString big = QString::number(editor_.selection().curBigNo);
        if (txtSPBNo->text() != big) txtSPBNo->setText(big);
        showAll();
    });
    showFlagSymbols();
}

void BonusPage::makeBoxes(const std::array<QWidget*, 4>& groups) {
    for (const BoxRow& row : boxRows()) {
        const QString name =
            row.family ? QStringLiteral("%1_%2").arg(QLatin1String(row.name)).arg(row.index)
                       : QString::fromLatin1(row.name);
        const int i = row.index;
        QLineEdit** slot = nullptr;
        std::function<void(std::int64_t)> store;
        // The file keeps the texts of the CT and bonus end boxes: they are stored as they change.
        std::function<void(const QString&)> storeText;
        switch (row.target) {
            case Target::FlagProb:
                slot = &PrizePr[i];
                store = [this, i](std::int64_t v) {
                    const SpecSelection& s = editor_.selection();
                    editor_.setFlagProb(s.curFlag - 1, s.curSetting, s.curBet, i, v);
                };
                break;
            case Target::Gensan:
                slot = &txtGensan;
                store = [this](std::int64_t v) {
                    editor_.setGensan(editor_.selection().curSetting, v);
                };
                break;
            case Target::BigNo:
                slot = &txtSPBNo;
                store = [this](std::int64_t v) { editor_.selectBigNo(static_cast<int>(v)); };
                break;
            case Target::BigPer:
                slot = &txtBigPer[i];
                store = [this, i](std::int64_t v) {
                    editor_.setSuperBigPct(editor_.selection().curBigNo - 1, i, v);
                };
                break;
            case Target::CTPr:
                slot = &txtCTPr;
                store = [this](std::int64_t v) {
                    editor_.setCTEntryPct(editor_.selection().curCTBig - 1, v);
                };
                break;
            case Target::CTEndCon:
                slot = &txtCTEndCon[i];
                storeText = [this, i](const QString& text) { editor_.setCTEndConText(i, text); };
                break;
            case Target::BonusEnd:
                slot = &bonusEndBoxes[i];
                storeText = [this, i](const QString& text) { editor_.setBonusEndText(i, text); };
                break;
        }
        const QString start =
            row.target == Target::BigNo ? QStringLiteral("1") : QStringLiteral("0");
        QLineEdit* box =
            makeNumberBox(groups[row.group], name, row.place, row.rule, store, start)->edit();
        if (row.oneKey) new OneKeyBox(box, QString::fromUtf16(row.oneKey), row.oneKeyBackspace);
        if (storeText) connect(box, &QLineEdit::textChanged, this, storeText);
        *slot = box;
    }

    auto* moves = new FocusMoves(this);
    auto column = [moves](auto& boxes) {
        for (std::size_t i = 0; i + 1 < boxes.size(); ++i) {
            moves->add(boxes[i], Qt::Key_Down, boxes[i + 1]);
            moves->add(boxes[i + 1], Qt::Key_Up, boxes[i]);
        }
    };
    column(PrizePr);
    column(txtBigPer);
    column(bonusEndBoxes);
    moves->add(txtCTPr, Qt::Key_Down, txtCTEndCon[0]);
    moves->add(txtCTPr, Qt::Key_Return, txtCTEndCon[0]);
}

void BonusPage::makeProbabilityGroup(QWidget* group) {
    Check3Bet =
        makeCheck(group, QStringLiteral("3枚掛け専用機"), QStringLiteral("Check3Bet"), 8, 18, 118);
    CheckReset = makeCheck(group, QStringLiteral("カウンタリセット機"),
                           QStringLiteral("CheckReset"), 136, 18, 140);
    connect(Check3Bet, &QCheckBox::clicked, &editor_, &SpecEditor::setThreeBetOnly);
    connect(CheckReset, &QCheckBox::clicked, &editor_, &SpecEditor::setCounterReset);

    makeLabel(group, QStringLiteral("Index"), 8, 42);
    LabelFlagNo = makeValueLabel(group, QStringLiteral("1"), "LabelFlagNo", 44, 40, 22);
    connect(makeStepButton(group, u"<<", "PrFlagNo", 70, 40), &QPushButton::clicked, &editor_,
            &SpecEditor::previousFlag);
    connect(makeStepButton(group, u">>", "NeFlagNo", 96, 40), &QPushButton::clicked, &editor_,
            &SpecEditor::nextFlag);
    for (int r = 0; r < reel::ReelCount; ++r)
        ImgFlag[r] = new PictureBox(group, QStringLiteral("ImgFlag_%1").arg(r),
                                    QRect(136 + 50 * r, 37, 48, 24));

    makeLabel(group, QStringLiteral("設定"), 8, 68);
    LabelSet = makeValueLabel(group, QStringLiteral("1"), "LabelSet", 44, 66, 22);
    connect(makeStepButton(group, u"<<", "PrSet", 70, 66), &QPushButton::clicked, &editor_,
            &SpecEditor::previousSetting);
    connect(makeStepButton(group, u">>", "NeSet", 96, 66), &QPushButton::clicked, &editor_,
            &SpecEditor::nextSetting);
    for (int b = 0; b < StoredBets; ++b) {
        OptionBets[b] = makeOption(group, QStringLiteral("%1BET").arg(b + 1),
                                   QStringLiteral("OptionBets_%1").arg(b), 136 + 56 * b, 66);
        connect(OptionBets[b], &QRadioButton::clicked, this, [this, b] { editor_.selectBet(b); });
    }
    OptionBets[editor_.selection().curBet]->setChecked(true);

    const QString states[StoredStates] = {QStringLiteral("低確率時"), QStringLiteral("高確率時"),
                                          QStringLiteral("BB中"), QStringLiteral("RB中")};
    for (int i = 0; i < StoredStates; ++i) {
        const int y = ProbabilityY + RowStep * i;
        makeLabel(group, states[i], 8, y + 1);
        makeLabel(group, QStringLiteral("/65536"), 116, y + 1);
        makeLabel(group, QStringLiteral("1/ "), 164, y + 1);
        LabelFlagPr[i] =
            makeValueLabel(group, QStringLiteral("?"),
                           qPrintable(QStringLiteral("LabelFlagPr_%1").arg(i)), 182, y, 70);
        // Every change of a probability shows the odds again; a box the author empties shows "?".
        connect(PrizePr[i], &QLineEdit::textChanged, this, [this, i](const QString& text) {
            if (text.isEmpty())
                LabelFlagPr[i]->setText(QStringLiteral("?"));
            else
                refreshOdds();
        });
    }
    makeLabel(group, QStringLiteral("減算値"), 266, ProbabilityY + 1);
}

void BonusPage::makeSuperBigGroup(QWidget* group) {
    makeLabel(group, QStringLiteral("ビッグ"), 8, 19);
    makeLabel(group, QStringLiteral("が揃い"), 70, 19);
    for (int i = 0; i < StoredBigs; ++i)
        makeLabel(group, QStringLiteral("% でビッグ%1").arg(i + 1), 64, BigY + RowStep * i + 1);
}

void BonusPage::makeBonusEndGroup(QWidget* group) {
    for (int k = 0; k < 2; ++k) {
        const int y = 19 + 22 * k;
        makeLabel(group, k == 0 ? QStringLiteral("BB") : QStringLiteral("RB"), 8, y);
        makeLabel(group, QStringLiteral("G行うか"), 56, y);
        makeLabel(group, k == 0 ? QStringLiteral("回RB") : QStringLiteral("回入賞"), 128, y);
    }
}

void BonusPage::makeCTGroup(QWidget* group) {
    CheckCT = makeCheck(group, QStringLiteral("CTあり"), QStringLiteral("CheckCT"), 8, 18, 68);
    connect(CheckCT, &QCheckBox::clicked, &editor_, &SpecEditor::setHasCT);
    makeLabel(group, QStringLiteral("CT終了条件"), 80, 19);
    makeLabel(group, QStringLiteral("枚純増"), 190, 19);
    makeLabel(group, QStringLiteral("プレイ終了"), 280, 19);

    ComboCTB = new QComboBox(group);
    ComboCTB->setObjectName(QStringLiteral("ComboCTB"));
    ComboCTB->setGeometry(8, 39, 96, 20);
    // A list with an edit part that only shows the chosen text.
    ComboCTB->setEditable(true);
    ComboCTB->setInsertPolicy(QComboBox::NoInsert);
    ComboCTB->setCompleter(nullptr);
    ComboCTB->lineEdit()->setReadOnly(true);
    for (int big = 1; big <= StoredBigs; ++big)
        ComboCTB->addItem(QStringLiteral("%1 - ビッグ%1").arg(big));
    ComboCTB->setCurrentIndex(editor_.selection().curCTBig - 1);
    ComboCTB->installEventFilter(this);
    ComboCTB->lineEdit()->installEventFilter(this);
    // A click in the list, the list's own change and scrolling it all choose the type.
    connect(ComboCTB, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) editor_.selectCTBig(index + 1);
    });
    makeLabel(group, QStringLiteral("のフラグに当選した時"), 108, 42);
    makeLabel(group, QStringLiteral("% で突入"), 272, 42);
}

bool BonusPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress ||
        (watched != ComboCTB && watched != ComboCTB->lineEdit()))
        return false;
    // The type is chosen from the list only; the keys that open it and move the focus stay.
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool alt = key->modifiers() & Qt::AltModifier;
    const bool opensList = key->key() == Qt::Key_F4 ||
                           (alt && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up));
    const bool movesFocus = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    return !(opensList || movesFocus);
}

void BonusPage::showProbabilities() {
    const SpecSelection& s = editor_.selection();
    LabelFlagNo->setText(QString::number(s.curFlag));
    LabelSet->setText(QString::number(s.curSetting));
    OptionBets[s.curBet]->setChecked(true);
    showFlagSymbols();
    const auto& values = editor_.document().flagProb[s.curFlag - 1][s.curSetting][s.curBet];
    for (int i = 0; i < StoredStates; ++i) PrizePr[i]->setText(QString::number(values[i]));
    refreshOdds();
}

void BonusPage::refreshOdds() {
    const SpecSelection& s = editor_.selection();
    const auto& values = editor_.document().flagProb[s.curFlag - 1][s.curSetting][s.curBet];
    for (int i = 0; i < StoredStates; ++i) LabelFlagPr[i]->setText(oddsText(values[i]));
    txtGensan->setText(QString::number(editor_.document().gensan[s.curSetting]));
}

void BonusPage::showFlagSymbols() {
    const ReelDataInfo& reels = editor_.document().reelData;
    const reel::PrizeEntry& prize = reels.flagPrize[editor_.selection().curFlag - 1];
    for (int r = 0; r < reel::ReelCount; ++r)
        ImgFlag[r]->setPicture(reels.picture(prize.symbols[r]));
    LabelFlagNo->setText(QString::number(editor_.selection().curFlag));
}

void BonusPage::showSuperBig() {
    const auto& row = editor_.document().superBigPct[editor_.selection().curBigNo - 1];
    for (int i = 0; i < StoredBigs; ++i) txtBigPer[i]->setText(QString::number(row[i]));
}

void BonusPage::showCTEntry() {
    ComboCTB->setCurrentIndex(editor_.selection().curCTBig - 1);
    txtCTPr->setText(
        QString::number(editor_.document().ctEntryPct[editor_.selection().curCTBig - 1]));
}

void BonusPage::showAll() {
    const MachineSpec& doc = editor_.document();
    Check3Bet->setChecked(doc.threeBetOnly != 0);
    CheckReset->setChecked(doc.counterReset != 0);
    CheckCT->setChecked(doc.hasCT != 0);
    for (int i = 0; i < StoredCTEnds; ++i) txtCTEndCon[i]->setText(doc.ctEndConText(i));
    for (int i = 0; i < BonusEndSlots; ++i) bonusEndBoxes[i]->setText(doc.bonusEndText(i));
    showProbabilities();
    showSuperBig();
    showCTEntry();
}

}  // namespace specboard
