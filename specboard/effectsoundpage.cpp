#include "effectsoundpage.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <vector>

#include "controls.h"
#include "dialogs.h"
#include "lifecycle.h"
#include "numberbox.h"
#include "pagecontrols.h"

namespace specboard {

namespace {

using namespace sound;
using Part = SpecEditor::CandidatePart;

constexpr char SoundFilter[] = "WAVファイル|*.wav|MIDIファイル|*.mid|";
constexpr std::int64_t MaxProbability = 65536;

// Where the rows of the candidate blocks stand: the two bonus blocks on the left, one above the
// other, the flag block and the first plays of the big bonuses on the right.
constexpr int BlockY = 116;
constexpr int RowStep = 20;
constexpr int LeftX = 8;
constexpr int RightX = 190;
constexpr int RegularBlockY = BlockY + 7 * RowStep + 2;

QPoint candidateRow(int field) {
    if (field < StoredCandidates) return {LeftX, BlockY + RowStep * (field + 1)};
    if (field < BonusFields)
        return {LeftX, RegularBlockY + RowStep * (field - StoredCandidates + 1)};
    return {RightX, BlockY + RowStep * (field - BonusFields + 1)};
}

QPoint bigFirstPlayRow(int big) { return {RightX, RegularBlockY + RowStep * big}; }

// What a group choice makes of the controls that only some groups use.
struct GroupLook {
    bool reelSteps;     // "<<" and ">>" of the reel
    bool flagBlock;     // txtSSFlag and the flag block's boxes
    bool bigFirstPlay;  // BetSound(18..22)
    bool checks;        // Check12Sound(0..17)
};
constexpr GroupLook GroupLooks[GroupCount] = {
    {false, false, true, false},  // medal insert
    {false, true, false, false},  // reel spin
    {true, true, false, true},    // reel stop
};

// Enabled boxes are white, disabled ones take the grey of a window border.
const QColor EnabledColour(Qt::white);
const QColor DisabledColour(0xd4, 0xd0, 0xc8);

void enableBox(QLineEdit* box, bool enabled) {
    box->setEnabled(enabled);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, enabled ? EnabledColour : DisabledColour);
    box->setPalette(palette);
}

enum class Target { SoundNumber, Normal, Probability, Sound, BigFirstPlay, Flag };

struct BoxRow {
    QString name;
    QRect place;
    std::int64_t limit;
    const char* overflow;  // the text a value above the limit leaves
    Target target;
    int index;  // the field, or the big bonus
};

std::vector<BoxRow> boxRows() {
    std::vector<BoxRow> rows{
        {QStringLiteral("txtSoundNo"), QRect(64, 20, 32, 18), LastSoundNumber, "0",
         Target::SoundNumber, 0},
        {QStringLiteral("BetSoundN"), QRect(264, 92, 30, 18), LastSoundNumber, "", Target::Normal,
         0},
        {QStringLiteral("txtSSFlag"), QRect(RightX, BlockY, 26, 18), LastEffectFlag, "0",
         Target::Flag, 0},
    };
    for (int i = 0; i < EffectFields; ++i) {
        const QPoint at = candidateRow(i);
        rows.push_back({QStringLiteral("txtSBBonus_%1").arg(i), QRect(at, QSize(44, 18)),
                        MaxProbability, "", Target::Probability, i});
        rows.push_back({QStringLiteral("BetSound_%1").arg(i),
                        QRect(at + QPoint(96, 0), QSize(28, 18)), LastSoundNumber, "",
                        Target::Sound, i});
    }
    for (int big = 1; big <= LastBigFirstPlay; ++big)
        rows.push_back({QStringLiteral("BetSound_%1").arg(EffectFields + big - 1),
                        QRect(bigFirstPlayRow(big) + QPoint(122, 0), QSize(30, 18)),
                        LastSoundNumber, "", Target::BigFirstPlay, big});
    return rows;
}

}  // namespace

EffectSoundPage::EffectSoundPage(SpecEditor& editor, Dialogs& dialogs, QWidget* frame)
    : QWidget(frame), editor_(editor), dialogs_(dialogs) {
    setObjectName(QStringLiteral("EffectSoundPage"));
    setGeometry(frame->rect());
    makeBoxes();
    makeSoundFileRows();
    makeGroupRows();
    makeCandidateBlocks();

    connect(&editor_, &SpecEditor::soundGroupSelected, this, &EffectSoundPage::showGroup);
    connect(&editor_, &SpecEditor::stopReelSelected, this, &EffectSoundPage::showGroup);
    connect(&editor_, &SpecEditor::effectFlagSelected, this, &EffectSoundPage::showFlagRows);
    connect(&editor_, &SpecEditor::soundFilesChanged, this, &EffectSoundPage::showFileName);
    // An undo or redo: the values again, at the flag field it changed.
    connect(&editor_, &SpecEditor::documentEdited, this, [this] {
        showFileName();
        showGroup();
    });
    connect(&editor_, &SpecEditor::effectPlaceRevealed, this, [this] {
        showing_ = true;
        txtSSFlag->setText(QString::number(editor_.selection().effectFlag));
        showing_ = false;
    });
    connect(&editor_, &SpecEditor::soundNumberRevealed, this,
            [this](int number) { txtSoundNo->setText(QString::number(number)); });
    // A machine read from a file is shown as a group choice shows it; the file name shown is
    // the new machine's, so that Play never plays a file it does not register.
    connect(&editor_, &SpecEditor::documentReplaced, this, [this] {
        showFileName();
        showGroup();
    });
    showGroup();
}

void EffectSoundPage::makeBoxes() {
    for (const BoxRow& row : boxRows()) {
        const int i = row.index;
        QLineEdit** slot = nullptr;
        std::function<void(std::int64_t)> store;
        switch (row.target) {
            case Target::SoundNumber:
                slot = &txtSoundNo;
                store = [this](std::int64_t) { showFileName(); };
                break;
            case Target::Normal:
                slot = &BetSoundN;
                store = [this](std::int64_t v) {
                    if (!showing_) editor_.setNormalSound(editor_.selection().soundGroup, v);
                };
                break;
            case Target::Flag:
                slot = &txtSSFlag;
                store = [this](std::int64_t v) {
                    if (!showing_) editor_.selectEffectFlag(static_cast<int>(v));
                };
                break;
            case Target::Probability:
            case Target::Sound: {
                const Part part =
                    row.target == Target::Probability ? Part::Probability : Part::Sound;
                slot = part == Part::Probability ? &txtSBBonus[i] : &BetSound[i];
                store = [this, i, part](std::int64_t v) {
                    if (!showing_) editor_.setEffectCandidate(editor_.effectPlace(), i, part, v);
                };
                break;
            }
            case Target::BigFirstPlay:
                slot = &BetSound[EffectFields + i - 1];
                // Only medal insert has first plays; elsewhere the boxes show 0 and keep nothing.
                store = [this, i](std::int64_t v) {
                    if (!showing_ && editor_.selection().soundGroup == MedalInsert)
                        editor_.setBigFirstPlaySound(i, v);
                };
                break;
        }
        *slot =
            makeNumberBox(
                this, row.name, row.place,
                boxRule(row.limit, QString::fromLatin1(row.overflow), QStringLiteral("0")), store)
                ->edit();
    }
}

void EffectSoundPage::makeSoundFileRows() {
    makeLabel(this, QStringLiteral("効果音No"), LeftX, 21);
    makeLabel(this, QStringLiteral("/128"), 98, 21);
    connect(makeStepButton(this, u"<<", "Command3", 130, 20), &QPushButton::clicked, this,
            [this] { stepSoundNumber(-1); });
    connect(makeStepButton(this, u">>", "Command4", 156, 20), &QPushButton::clicked, this,
            [this] { stepSoundNumber(1); });
    QPushButton* load = makeButton(this, QStringLiteral("Load"), "LoadSound", 190, 19, 54, 20);
    QPushButton* play = makeButton(this, QStringLiteral("Play"), "PlaySound", 248, 19, 54, 20);
    QPushButton* stop = makeButton(this, QStringLiteral("Stop"), "Command8", 306, 19, 54, 20);
    connect(load, &QPushButton::clicked, this, &EffectSoundPage::registerSoundFile);
    connect(play, &QPushButton::clicked, this,
            [this] { emit playRequested(txtSoundNo->text(), LabelSoundFile->text()); });
    connect(stop, &QPushButton::clicked, this, &EffectSoundPage::stopRequested);

    makeLabel(this, QStringLiteral("ファイル名"), LeftX, 45);
    LabelSoundFile = makeLabel(this, silenceName(), 64, 44, 296, 18, "LabelSoundFile");
    LabelSoundFile->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    LabelSoundFile->setIndent(3);
}

void EffectSoundPage::makeGroupRows() {
    const QString captions[GroupCount] = {QStringLiteral("メタル投入音"),
                                          QStringLiteral("リール回転音"),
                                          QStringLiteral("リール停止音")};
    for (int g = 0; g < GroupCount; ++g) {
        OptionSound[g] = makeOption(this, captions[g], QStringLiteral("OptionSound_%1").arg(g),
                                    LeftX + 118 * g, 68, 110);
        connect(OptionSound[g], &QRadioButton::clicked, this,
                [this, g] { editor_.selectSoundGroup(g); });
    }
    makeLabel(this, QStringLiteral("第"), LeftX, 93);
    StopReal = makeValueLabel(this, QStringLiteral("1"), "StopReal", 24, 92, 22);
    makeLabel(this, QStringLiteral("リール停止時"), 50, 93);
    PrRealStop = makeStepButton(this, u"<<", "PrRealStop", 126, 92);
    NeRealStop = makeStepButton(this, u">>", "NeRealStop", 152, 92);
    connect(PrRealStop, &QPushButton::clicked, &editor_, &SpecEditor::previousStopReel);
    connect(NeRealStop, &QPushButton::clicked, &editor_, &SpecEditor::nextStopReel);
    makeLabel(this, QStringLiteral("通常"), 232, 93);
}

void EffectSoundPage::makeCandidateBlocks() {
    makeLabel(this, QStringLiteral("BB成立後"), LeftX, BlockY + 1);
    makeLabel(this, QStringLiteral("RB成立後"), LeftX, RegularBlockY + 1);
    makeLabel(this, QStringLiteral("フラグ"), RightX + 30, BlockY + 1);
    makeLabel(this, QStringLiteral("成立時"), RightX + 70, BlockY + 1);
    for (int y : {BlockY, RegularBlockY}) makeLabel(this, QStringLiteral("効果音No"), 88, y + 1);
    for (int i = 0; i < EffectFields; ++i) {
        const QPoint at = candidateRow(i);
        makeLabel(this, QStringLiteral("/65536"), at.x() + 46, at.y() + 1);
        Check12Sound[i] =
            makeCheck(this, {}, QStringLiteral("Check12Sound_%1").arg(i), at.x() + 130, at.y(), 18);
        connect(Check12Sound[i], &QCheckBox::clicked, this, [this, i](bool on) {
            const SpecSelection& s = editor_.selection();
            editor_.setAfterFirstTwo(s.stopReel, s.effectFlag, i, on);
        });
    }
    for (int big = 1; big <= LastBigFirstPlay; ++big) {
        const QPoint at = bigFirstPlayRow(big);
        QLabel* label = makeLabel(this, QStringLiteral("ビッグ%1の1プレイ目").arg(big), at.x(),
                                  at.y() + 1, 118, 17);
        fitFontToWidth(label, label->text(), label->width());
    }
    QLabel* note = makeLabel(
        this, QStringLiteral("↑第1・2リール停止時に効果音が発生した時のみ鳴らす場合にチェック"),
        LeftX, RegularBlockY + 7 * RowStep + 4, width() - 2 * LeftX, 18);
    // One line under the checks it points at, whatever the font.
    fitFontToWidth(note, note->text(), note->width());
}

int EffectSoundPage::soundNumber() const {
    return static_cast<int>(NumberBox::parse(txtSoundNo->text(), false).value_or(0));
}

void EffectSoundPage::stepSoundNumber(int step) {
    const int number = soundNumber() + step;
    if (number < 0 || number > LastSoundNumber) return;
    txtSoundNo->setText(QString::number(number));
}

void EffectSoundPage::showFileName() {
    // An emptied field keeps showing the name it had until it is left and becomes 0.
    if (txtSoundNo->text().isEmpty()) return;
    LabelSoundFile->setText(editor_.document().sound.fileName(soundNumber()));
}

void EffectSoundPage::registerSoundFile() {
    const int number = soundNumber();
    if (number == 0) return;
    // The machine looks for its sounds beside the machine file, so the dialog starts there.
    const QString title = QString::fromLatin1(ProgramName);
    lifecycle::openAndRead(
        {dialogs_, window(), QString::fromUtf8(SoundFilter), editor_.machineFolder(), title,
         QStringLiteral("このファイルは効果音に登録できません。"), Dialogs::Icon::Warning},
        [this, number, &title](const QString& path, QString* why) {
            if (!editor_.registerSoundFile(number, path, why)) return false;
            if (editor_.outsideMachineFolder(path))
                dialogs_.message(
                    window(), title,
                    QStringLiteral(
                        "選んだ音のファイルはオルベーンファイルのフォルダにありません。"),
                    Dialogs::Icon::Warning, Dialogs::Buttons::Ok,
                    QStringLiteral("機種は音のファイルを名前だけで、オルベーンファイルのフォルダ"
                                   "（%1）から探します。「%2」をそのフォルダに置いてください。")
                        .arg(QDir::toNativeSeparators(editor_.machineFolder()),
                             editor_.document().sound.fileName(number)));
            return true;
        });
}

void EffectSoundPage::showGroup() {
    const SpecSelection& s = editor_.selection();
    const GroupLook& look = GroupLooks[s.soundGroup];
    showing_ = true;
    OptionSound[s.soundGroup]->setChecked(true);
    StopReal->setText(QString::number(s.stopReel));
    PrRealStop->setEnabled(look.reelSteps);
    NeRealStop->setEnabled(look.reelSteps);
    enableBox(txtSSFlag, look.flagBlock);
    // Medal insert and a reel step show flag 0; otherwise the field keeps what it holds.
    if (s.effectFlag == 0) txtSSFlag->setText(QStringLiteral("0"));
    for (int i = BonusFields; i < EffectFields; ++i) {
        enableBox(txtSBBonus[i], look.flagBlock);
        enableBox(BetSound[i], look.flagBlock);
    }
    const auto& firstPlays = editor_.document().sound.bigFirstPlaySound;
    for (int big = 1; big <= LastBigFirstPlay; ++big) {
        QLineEdit* box = BetSound[EffectFields + big - 1];
        enableBox(box, look.bigFirstPlay);
        box->setText(QString::number(look.bigFirstPlay ? firstPlays[big] : 0));
    }
    for (int i = 0; i < EffectFields; ++i) {
        Check12Sound[i]->setEnabled(look.checks);
        Check12Sound[i]->setChecked(look.checks &&
                                    editor_.afterFirstTwo(s.stopReel, s.effectFlag, i));
    }
    BetSoundN->setText(QString::number(editor_.document().sound.normalSound[s.soundGroup]));
    for (int i = 0; i < BonusFields; ++i) showCandidate(i);
    showing_ = false;
    showFlagRows();
}

void EffectSoundPage::showFlagRows() {
    const SpecSelection& s = editor_.selection();
    const bool checks = GroupLooks[s.soundGroup].checks;
    const bool wasShowing = showing_;
    showing_ = true;
    for (int i = BonusFields; i < EffectFields; ++i) {
        showCandidate(i);
        Check12Sound[i]->setChecked(checks && editor_.afterFirstTwo(s.stopReel, s.effectFlag, i));
    }
    showing_ = wasShowing;
}

void EffectSoundPage::showCandidate(int field) {
    // The flag block of medal insert stands for nothing and shows 0.
    const Candidate shown =
        editor_.effectCandidate(editor_.effectPlace(), field).value_or(Candidate{});
    txtSBBonus[field]->setText(QString::number(shown.probability));
    BetSound[field]->setText(QString::number(shown.sound));
}

}  // namespace specboard
