#include "speceditor.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <utility>

#include "filelookup.h"
#include "sjis.h"
#include "valuestep.h"

namespace specboard {

namespace {

using namespace machine;

// The boxes whose typing merges into one step per run: a value box (named by its field) and
// the description.
enum TypingKind { ValueTyping = 1, ExplanationTyping = 2 };

// A change of the description that stores only the changed part: at `at`, `removed` became
// `inserted`. A description of 9,999 lines costs a step no more than the keys typed.
class ExplanationStep : public QUndoCommand {
public:
    using Apply = std::function<void(qsizetype at, qsizetype length, const QString& text)>;

    ExplanationStep(qsizetype at, QString removed, QString inserted, Apply apply, quint64 run)
        : at_(at),
          removed_(std::move(removed)),
          inserted_(std::move(inserted)),
          apply_(std::move(apply)),
          run_(run) {}

    void redo() override { apply_(at_, removed_.size(), inserted_); }
    void undo() override { apply_(at_, inserted_.size(), removed_); }
    int id() const override { return ExplanationTyping; }

    // Keys typed one after another touch or overlap the text the run has changed so far; an
    // edit elsewhere in the box starts a step of its own.
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = dynamic_cast<const ExplanationStep*>(other);
        if (!next || next->run_ != run_) return false;
        const qsizetype a1 = at_, end1 = at_ + inserted_.size();
        const qsizetype a2 = next->at_, end2 = next->at_ + next->removed_.size();
        if (a2 > end1 || end2 < a1) return false;
        // The text between the two changes is in the second step's removed part.
        QString removed = next->removed_.left(std::max<qsizetype>(0, a1 - a2)) + removed_;
        if (end2 > end1) removed += next->removed_.mid(end1 - a2);
        QString inserted = inserted_.left(std::max<qsizetype>(0, a2 - a1)) + next->inserted_;
        if (end1 > end2) inserted += inserted_.mid(end2 - a1);
        at_ = std::min(a1, a2);
        removed_ = std::move(removed);
        inserted_ = std::move(inserted);
        setObsolete(removed_ == inserted_);
        return true;
    }

private:
    qsizetype at_;
    QString removed_;
    QString inserted_;
    Apply apply_;
    quint64 run_;
};

// What reading a reel data file changes: what the machine takes from it and where it was read.
struct ReelDataState {
    ReelDataInfo info;
    QString name;
    QString path;
};

// A referenced file's name and where it was chosen.
struct ReferenceState {
    QString name;
    QString path;
};

struct BoxTextState {
    QString text;
    std::int16_t value = 0;
    bool operator==(const BoxTextState&) const = default;
};

// Probabilities are numerators over 65536; 65536 is a flag that is always won.
constexpr std::int64_t MaxProbability = 65536;
constexpr std::int64_t MaxGensan = 256;
constexpr std::int64_t MaxPercent = 100;
constexpr int MaxLineArea = 5;
constexpr int LineCells = reel::ReelCount * LineRows;

bool within(std::int64_t value, std::int64_t low, std::int64_t high) {
    return value >= low && value <= high;
}

bool isBet(int bet) { return within(bet, 0, StoredBets - 1); }
bool isLine(int line) { return within(line, 0, StoredLines - 1); }
bool isBig(int big) { return within(big, 0, StoredBigs - 1); }
bool isSoundNumber(std::int64_t n) { return within(n, 0, sound::LastSoundNumber); }
bool isStopReel(int reel) { return within(reel, sound::FirstStopReel, sound::LastStopReel); }
bool isEffectField(int field) { return within(field, 0, sound::EffectFields - 1); }

// Hands the candidate that effect field `field` stands for at `at` to `use`: the group's
// bonus blocks (the reel's for reel stop), the flag block of reel spin and reel stop. False
// where there is none.
template <typename Tables, typename Use>
bool withEffectCandidate(Tables& t, const sound::EffectPlace& at, int field, Use use) {
    using namespace sound;
    if (!isEffectField(field) || !isStopReel(at.reel) || !within(at.flag, 0, LastEffectFlag))
        return false;
    const int reel = at.reel - 1;
    if (field < BonusFields) {
        const int state = field / StoredCandidates, c = field % StoredCandidates;
        if (at.group == ReelStop)
            use(t.stopBonusCandidates[reel][state][c]);
        else if (at.group == MedalInsert || at.group == ReelSpin)
            use(t.bonusCandidates[at.group][state][c]);
        else
            return false;
        return true;
    }
    const int c = field - BonusFields;
    if (at.group == ReelSpin)
        use(t.flagCandidates[at.flag][c]);
    else if (at.group == ReelStop)
        use(t.stopFlagCandidates[reel][at.flag][c]);
    else
        return false;
    return true;
}

// The same for the after-first-two check of a reel-stop field.
template <typename Tables, typename Use>
bool withAfterFirstTwo(Tables& t, int reel, int flag, int field, Use use) {
    using namespace sound;
    if (!isEffectField(field) || !isStopReel(reel) || !within(flag, 0, LastEffectFlag))
        return false;
    if (field < BonusFields)
        use(t.stopBonusAfterFirstTwo[reel - 1][field / StoredCandidates][field % StoredCandidates]);
    else
        use(t.stopFlagCandidates[reel - 1][flag][field - BonusFields].afterFirstTwo);
    return true;
}

QString absoluteFolderOf(const QString& path) {
    return folderOfPath(QFileInfo(path).absoluteFilePath());
}

// Where a name of the machine stands in a folder: the file found there, or where it would be.
QString pathInFolder(const QString& folder, const QString& name) {
    if (name.isEmpty()) return {};
    const QString found = findFileInFolder(folder, name);
    return found.isEmpty() ? QDir(folder).filePath(name) : found;
}

// One folder however it is written (a trailing slash, "..", a link).
QString sameFolderKey(const QString& folder) {
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

}  // namespace

SpecEditor::SpecEditor(QObject* parent) : EditorSession(parent) {}

template <typename Field, typename Value>
void SpecEditor::store(Field& field, Value value, Page page, Reveal reveal, Typing typing) {
    const auto narrowed = static_cast<Field>(value);
    if (field == narrowed) return;
    // The field's place in the machine names the box it is typed into.
    const TypingTarget typed =
        typing == Typing::Merges
            ? TypingTarget{ValueTyping, static_cast<qint64>(reinterpret_cast<quintptr>(&field)),
                           typingRun()}
            : TypingTarget{};
    push(new ValueStep<Field>(
        field, narrowed,
        [this, &field, page, reveal = std::move(reveal)](const Field& v) {
            field = v;
            replayed(page, reveal);
        },
        typed));
}

void SpecEditor::replayed(Page page, const Reveal& reveal) {
    if (!isReplaying()) return;
    if (reveal) reveal();
    emit documentEdited();
    emit pageRevealed(page);
}

SpecEditor::Reveal SpecEditor::probabilityAt(int flag, int setting, int bet) {
    return [this, flag, setting, bet] {
        selection_.curFlag = static_cast<std::int16_t>(flag + 1);
        selection_.curSetting = static_cast<std::int16_t>(setting);
        selection_.curBet = static_cast<std::int16_t>(bet);
        limitFlags();
        emit probabilitySelected();
    };
}

SpecEditor::Reveal SpecEditor::effectPlaceAt(const sound::EffectPlace& at) {
    return [this, at] {
        selection_.soundGroup = static_cast<std::int16_t>(at.group);
        selection_.stopReel = static_cast<std::int16_t>(at.reel);
        selection_.effectFlag = static_cast<std::int16_t>(at.flag);
        emit effectPlaceRevealed();
    };
}

SpecEditor::Reveal SpecEditor::payoutFlagAt(int flag) {
    return [this, flag] {
        selection_.payoutFlag = static_cast<std::int16_t>(flag + 1);
        limitFlags();
        emit payoutFlagSelected();
    };
}

int SpecEditor::flagCount() const {
    return std::clamp<int>(doc_.reelData.flagCount, 0, MaxFlagCount);
}

bool SpecEditor::limitFlags() {
    const std::int16_t before = selection_.curFlag;
    selection_.limitFlags(doc_.reelData.flagCount);
    return selection_.curFlag != before;
}

// ---- Files

bool SpecEditor::load(const QString& path, orf::ReadReport* report, QString* reason) {
    orf::ReadReport found;
    if (!orf::readFile(path, doc_, &found, reason)) return false;
    specFolder_ = absoluteFolderOf(path);
    dialogFolder_ = specFolder_;
    specFileName_ = bareNameOfPath(path);
    specFilePath_ = QFileInfo(path).absoluteFilePath();
    referencePaths_[int(Reference::Reel)] = pathInFolder(specFolder_, doc_.reelFileName);
    referencePaths_[int(Reference::Control)] = pathInFolder(specFolder_, doc_.controlFileName);
    referencePaths_[int(Reference::Body)] = pathInFolder(specFolder_, doc_.bodyFileName);
    limitFlags();
    for (int i = 0; i < StoredCTEnds + BonusEndSlots; ++i) {
        const QString& text =
            i < StoredCTEnds ? doc_.ctEndConText(i) : doc_.bonusEndText(i - StoredCTEnds);
        if (!text.isEmpty()) boxNumbers_[i] = boxTextValue(text);
    }
    endTyping();
    emit documentReplaced();
    if (found.reelDataRead) emit reelDataRead();
    // Showing the loaded values is not an edit: the machine is what the file holds, and the
    // reel data file read with it is part of the load.
    documentLoaded(path);
    if (report) *report = std::move(found);
    return true;
}

bool SpecEditor::save(const QString& path, QString* reason) {
    if (!orf::writeFile(path, doc_, reason)) return false;
    specFileName_ = bareNameOfPath(path);
    specFilePath_ = QFileInfo(path).absoluteFilePath();
    dialogFolder_ = absoluteFolderOf(path);
    documentSaved(path);
    return true;
}

bool SpecEditor::loadReelData(const QString& chosenPath, QStringList* warnings, QString* reason,
                              QStringList* pngPictures) {
    const QString name = bareNameOfPath(chosenPath);
    if (const QString problem = orf::nameProblem(name); !problem.isEmpty()) {
        if (reason) *reason = problem;
        return false;
    }
    const QString folder = specFolder_.isEmpty() ? absoluteFolderOf(chosenPath) : specFolder_;
    MachineSpec next = doc_;
    if (!orf::readReelData(orf::FolderFiles(folder), name, next, warnings, reason, pngPictures))
        return false;
    const ReelDataState before{doc_.reelData, doc_.reelFileName, referencePath(Reference::Reel)};
    ReelDataState after{std::move(next.reelData), std::move(next.reelFileName),
                        pathInFolder(folder, name)};
    const auto apply = [this](const ReelDataState& state) {
        doc_.reelData = state.info;
        doc_.reelFileName = state.name;
        referencePaths_[int(Reference::Reel)] = state.path;
        const bool flagMoved = limitFlags();
        emit referencesChanged();
        emit reelDataRead();
        if (flagMoved) emit probabilitySelected();
        replayed(Page::General, {});
    };
    endTyping();
    // The same file read again changes nothing to undo.
    if (before.info == after.info && before.name == after.name)
        apply(after);
    else
        push(new ValueStep<ReelDataState>(before, std::move(after), apply));
    return true;
}

bool SpecEditor::nameReference(Reference reference, QString& field, const QString& chosenPath,
                               QString* reason) {
    const QString name = bareNameOfPath(chosenPath);
    if (const QString problem = orf::nameProblem(name); !problem.isEmpty()) {
        if (reason) *reason = problem;
        return false;
    }
    const ReferenceState before{field, referencePath(reference)};
    const ReferenceState after{name, QFileInfo(chosenPath).absoluteFilePath()};
    const auto apply = [this, &field, reference](const ReferenceState& state) {
        field = state.name;
        referencePaths_[int(reference)] = state.path;
        emit referencesChanged();
        replayed(Page::General, {});
    };
    endTyping();
    // Naming the file it already names only moves where it was chosen, as before.
    if (before.name == after.name)
        apply(after);
    else
        push(new ValueStep<ReferenceState>(before, after, apply));
    return true;
}

bool SpecEditor::setControlFile(const QString& chosenPath, QString* reason) {
    return nameReference(Reference::Control, doc_.controlFileName, chosenPath, reason);
}

bool SpecEditor::setBodyFile(const QString& chosenPath, QString* reason) {
    return nameReference(Reference::Body, doc_.bodyFileName, chosenPath, reason);
}

const QString& SpecEditor::referencePath(Reference reference) const {
    return referencePaths_[int(reference)];
}

QStringList SpecEditor::referencesMissingFrom(const QString& folder) const {
    const std::pair<const QString*, const char16_t*> names[] = {
        {&doc_.reelFileName, u"リールファイル"},
        {&doc_.controlFileName, u"制御ファイル"},
        {&doc_.bodyFileName, u"筐体ファイル"},
    };
    QStringList missing;
    for (const auto& [name, label] : names)
        if (!name->isEmpty() && findFileInFolder(folder, *name).isEmpty())
            missing << QStringLiteral("%1「%2」")
                           .arg(QString::fromUtf16(label),
                                sjis::forDisplay(*name, sjis::ShownNameChars));
    return missing;
}

QString SpecEditor::machineFolder() const {
    return specFolder_.isEmpty() ? dialogFolder_ : specFolder_;
}

bool SpecEditor::outsideMachineFolder(const QString& chosenPath) const {
    const QString folder = machineFolder();
    if (folder.isEmpty()) return false;
    return sameFolderKey(absoluteFolderOf(chosenPath)) != sameFolderKey(folder);
}

// ---- Selections

void SpecEditor::previousFlag() {
    if (selection_.curFlag <= 1) return;
    --selection_.curFlag;
    // What is typed next goes to another value.
    endTyping();
    emit probabilitySelected();
}

void SpecEditor::nextFlag() {
    if (selection_.curFlag >= lastFlag()) return;
    ++selection_.curFlag;
    endTyping();
    emit probabilitySelected();
}

void SpecEditor::previousSetting() {
    if (selection_.curSetting <= FirstSetting) return;
    --selection_.curSetting;
    endTyping();
    emit probabilitySelected();
}

void SpecEditor::nextSetting() {
    if (selection_.curSetting >= LastSetting) return;
    ++selection_.curSetting;
    endTyping();
    emit probabilitySelected();
}

void SpecEditor::selectBet(int bet) {
    if (!isBet(bet)) return;
    selection_.curBet = static_cast<std::int16_t>(bet);
    endTyping();
    emit probabilitySelected();
}

void SpecEditor::selectCTBig(int big) {
    if (!isBig(big - 1)) return;
    selection_.curCTBig = static_cast<std::int16_t>(big);
    endTyping();
    emit ctBigSelected();
}

void SpecEditor::selectBigNo(int big) {
    if (!isBig(big - 1)) return;
    selection_.curBigNo = static_cast<std::int16_t>(big);
    endTyping();
    emit bigNoSelected();
}

void SpecEditor::selectLineBet(int bet) {
    if (!isBet(bet)) return;
    selection_.curLineBet = static_cast<std::int16_t>(bet);
    selection_.curLine = 1;
    endTyping();
    emit lineSelected();
}

void SpecEditor::previousLine() {
    if (selection_.curLine <= 1) return;
    --selection_.curLine;
    endTyping();
    emit lineSelected();
}

void SpecEditor::nextLine() {
    // Lines are filled in order: the next one opens once this one crosses the three reels.
    if (selection_.curLine >= StoredLines ||
        lineCellCount(selection_.curLineBet, selection_.curLine - 1) != reel::ReelCount)
        return;
    ++selection_.curLine;
    endTyping();
    emit lineSelected();
}

void SpecEditor::selectSoundGroup(int group) {
    if (!within(group, 0, sound::GroupCount - 1)) return;
    selection_.soundGroup = static_cast<std::int16_t>(group);
    if (group != sound::ReelStop) selection_.stopReel = sound::FirstStopReel;
    if (group == sound::MedalInsert) selection_.effectFlag = 0;
    endTyping();
    emit soundGroupSelected();
}

void SpecEditor::previousStopReel() {
    if (selection_.stopReel > sound::FirstStopReel) --selection_.stopReel;
    selection_.effectFlag = 0;
    endTyping();
    emit stopReelSelected();
}

void SpecEditor::nextStopReel() {
    if (selection_.stopReel < sound::LastStopReel) ++selection_.stopReel;
    selection_.effectFlag = 0;
    endTyping();
    emit stopReelSelected();
}

void SpecEditor::selectEffectFlag(int flag) {
    if (!within(flag, 0, sound::LastEffectFlag)) return;
    selection_.effectFlag = static_cast<std::int16_t>(flag);
    endTyping();
    emit effectFlagSelected();
}

sound::EffectPlace SpecEditor::effectPlace() const {
    return {selection_.soundGroup, selection_.stopReel, selection_.effectFlag};
}

void SpecEditor::previousPayoutFlag() {
    if (selection_.payoutFlag <= 1) return;
    --selection_.payoutFlag;
    endTyping();
    emit payoutFlagSelected();
}

void SpecEditor::nextPayoutFlag() {
    if (selection_.payoutFlag >= lastFlag()) return;
    ++selection_.payoutFlag;
    endTyping();
    emit payoutFlagSelected();
}

// ---- Edits

void SpecEditor::setMachineName(const QString& text) {
    store(doc_.machineName, text, Page::General);
}
void SpecEditor::setMakerName(const QString& text) { store(doc_.makerName, text, Page::General); }

void SpecEditor::setExplanation(const QString& text) {
    const QString& held = doc_.explanation;
    if (held == text) return;
    // Only the changed middle is kept: the common start and end stay out of the step.
    const qsizetype shorter = std::min(held.size(), text.size());
    qsizetype head = 0;
    while (head < shorter && held[head] == text[head]) ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && held[held.size() - 1 - tail] == text[text.size() - 1 - tail])
        ++tail;
    push(new ExplanationStep(
        head, held.mid(head, held.size() - head - tail), text.mid(head, text.size() - head - tail),
        [this](qsizetype at, qsizetype length, const QString& inserted) {
            applyExplanation(at, length, inserted);
        },
        typingRun()));
}

void SpecEditor::applyExplanation(qsizetype at, qsizetype length, const QString& text) {
    doc_.explanation.replace(at, length, text);
    replayed(Page::General, {});
}

void SpecEditor::setFlagProb(int flag, int setting, int bet, int state, std::int64_t value) {
    if (!within(flag, 0, FlagSlots - 1) || !within(setting, FirstSetting, LastSetting) ||
        !isBet(bet) || !within(state, 0, StoredStates - 1) || !within(value, 0, MaxProbability))
        return;
    store(doc_.flagProb[flag][setting][bet][state], value, Page::Bonus,
          probabilityAt(flag, setting, bet));
}

void SpecEditor::setGensan(int setting, std::int64_t value) {
    if (!within(setting, FirstSetting, LastSetting) || !within(value, 0, MaxGensan)) return;
    // The subtraction value is shown beside the probabilities of the flag on view.
    store(doc_.gensan[setting], value, Page::Bonus,
          probabilityAt(selection_.curFlag - 1, setting, selection_.curBet));
}

void SpecEditor::setThreeBetOnly(bool on) {
    store(doc_.threeBetOnly, on ? 1 : 0, Page::Bonus, {}, Typing::Never);
}
void SpecEditor::setCounterReset(bool on) {
    store(doc_.counterReset, on ? 1 : 0, Page::Bonus, {}, Typing::Never);
}
void SpecEditor::setHasCT(bool on) {
    store(doc_.hasCT, on ? 1 : 0, Page::Bonus, {}, Typing::Never);
}

void SpecEditor::setCTEntryPct(int big, std::int64_t value) {
    if (!isBig(big) || !within(value, 0, MaxPercent)) return;
    store(doc_.ctEntryPct[big], value, Page::Bonus, [this, big] {
        selection_.curCTBig = static_cast<std::int16_t>(big + 1);
        emit ctBigSelected();
    });
}

void SpecEditor::setSuperBigPct(int big, int result, std::int64_t value) {
    if (!isBig(big) || !isBig(result) || !within(value, 0, MaxPercent)) return;
    store(doc_.superBigPct[big][result], value, Page::Bonus, [this, big] {
        selection_.curBigNo = static_cast<std::int16_t>(big + 1);
        emit bigNoSelected();
    });
}

// Kind 0 is a CT end condition, 1 a bonus end condition.
QString SpecEditor::storeBoxText(int kind, int i, const QString& text) {
    const int slot = kind == 0 ? i : StoredCTEnds + i;
    const auto held = [this, kind, i, slot] {
        return BoxTextState{kind == 0 ? doc_.ctEndConText(i) : doc_.bonusEndText(i),
                            boxNumbers_[slot]};
    };
    const auto apply = [this, kind, i, slot](const BoxTextState& state) {
        // A text the box ended up with is kept as it is.
        if (kind == 0)
            doc_.setCTEndConText(i, state.text);
        else
            doc_.setBonusEndText(i, state.text);
        boxNumbers_[slot] = state.value;
        replayed(Page::Bonus, {});
    };
    const BoxTextState before = held();
    BoxTextState after{kind == 0 ? doc_.setCTEndConText(i, text) : doc_.setBonusEndText(i, text),
                       before.value};
    // An empty box stores no number.
    if (!after.text.isEmpty()) after.value = boxTextValue(after.text);
    apply(before);
    if (after == before) return after.text;
    push(new ValueStep<BoxTextState>(before, after, apply,
                                     TypingTarget{ValueTyping, kind * 16 + i - 64, typingRun()}));
    return after.text;
}

QString SpecEditor::setCTEndConText(int i, const QString& text) {
    if (!within(i, 0, StoredCTEnds - 1)) return text;
    return storeBoxText(0, i, text);
}

QString SpecEditor::setBonusEndText(int i, const QString& text) {
    if (!within(i, 0, BonusEndSlots - 1)) return text;
    return storeBoxText(1, i, text);
}

void SpecEditor::clickLineCell(int bet, int line, int cell) {
    if (!isBet(bet) || !isLine(line) || !within(cell, 0, LineCells - 1)) return;
    using Cells = std::array<std::int16_t, LineCellSlots>;
    const Cells before = doc_.lineCell[bet][line];
    Cells after = before;
    if (after[cell] == 0) {
        // A line crosses each reel in one row: the reel's other rows are cleared.
        const int first = cell / LineRows * LineRows;
        std::fill(after.begin() + first, after.begin() + first + LineRows, std::int16_t{0});
        after[cell] = 1;
    } else {
        after[cell] = 0;
    }
    endTyping();
    push(new ValueStep<Cells>(before, after, [this, bet, line](const Cells& cells) {
        doc_.lineCell[bet][line] = cells;
        replayed(Page::Bonus, [this, bet, line] {
            selection_.curLineBet = static_cast<std::int16_t>(bet);
            selection_.curLine = static_cast<std::int16_t>(line + 1);
            emit lineSelected();
        });
        emit lineCellsChanged();
    }));
}

void SpecEditor::setLineArea(int bet, int line, std::int64_t area) {
    if (!isBet(bet) || !isLine(line) || !within(area, 0, MaxLineArea)) return;
    store(doc_.lineArea[bet][line], area, Page::Bonus, [this, bet, line] {
        selection_.curLineBet = static_cast<std::int16_t>(bet);
        selection_.curLine = static_cast<std::int16_t>(line + 1);
        emit lineSelected();
    });
}

int SpecEditor::lineCellCount(int bet, int line) const {
    if (!isBet(bet) || !isLine(line)) return 0;
    const auto& cells = doc_.lineCell[bet][line];
    return static_cast<int>(std::count(cells.begin(), cells.begin() + LineCells, std::int16_t{1}));
}

// ---- Sound edits

void SpecEditor::setNormalSound(int group, std::int64_t sound) {
    if (!within(group, 0, sound::GroupCount - 1) || !isSoundNumber(sound)) return;
    // Another group's sound is shown at its first reel, as choosing the group shows it.
    const sound::EffectPlace at = group == selection_.soundGroup
                                      ? effectPlace()
                                      : sound::EffectPlace{group, sound::FirstStopReel, 0};
    store(doc_.sound.normalSound[group], sound, Page::EffectSound, effectPlaceAt(at));
}

void SpecEditor::setEffectCandidate(const sound::EffectPlace& at, int field, CandidatePart part,
                                    std::int64_t value) {
    const bool probability = part == CandidatePart::Probability;
    if (!(probability ? within(value, 0, MaxProbability) : isSoundNumber(value))) return;
    withEffectCandidate(doc_.sound, at, field, [&](auto& candidate) {
        store(probability ? candidate.probability : candidate.sound, value, Page::EffectSound,
              effectPlaceAt(at));
    });
}

std::optional<sound::Candidate> SpecEditor::effectCandidate(const sound::EffectPlace& at,
                                                            int field) const {
    std::optional<sound::Candidate> found;
    withEffectCandidate(doc_.sound, at, field, [&](const auto& candidate) {
        found = sound::Candidate{candidate.probability, candidate.sound};
    });
    return found;
}

void SpecEditor::setAfterFirstTwo(int reel, int flag, int field, bool on) {
    withAfterFirstTwo(doc_.sound, reel, flag, field, [&](auto& check) {
        store(check, on ? 1 : 0, Page::EffectSound,
              effectPlaceAt({sound::ReelStop, reel, field < sound::BonusFields ? 0 : flag}),
              Typing::Never);
    });
}

bool SpecEditor::afterFirstTwo(int reel, int flag, int field) const {
    bool on = false;
    withAfterFirstTwo(doc_.sound, reel, flag, field, [&](const auto& check) { on = check != 0; });
    return on;
}

void SpecEditor::setBigFirstPlaySound(int big, std::int64_t sound) {
    if (!within(big, 1, sound::LastBigFirstPlay) || !isSoundNumber(sound)) return;
    store(doc_.sound.bigFirstPlaySound[big], sound, Page::EffectSound,
          effectPlaceAt({sound::MedalInsert, sound::FirstStopReel, 0}));
}

void SpecEditor::setPaySound(int flag, int state, int timing, std::int64_t sound) {
    if (!within(flag, 0, FlagSlots - 1) || !within(state, 0, sound::StoredPayStates - 1) ||
        !within(timing, 0, sound::StoredPayTimings - 1) || !isSoundNumber(sound))
        return;
    store(doc_.sound.paySound[flag][state][timing], sound, Page::PayoutSound, payoutFlagAt(flag));
}

void SpecEditor::setPaySoundFirst(bool on) {
    store(doc_.sound.paySoundFirst, on ? 1 : 0, Page::PayoutSound, {}, Typing::Never);
}

void SpecEditor::setBgmSound(int i, std::int64_t sound) {
    if (!within(i, 0, sound::StoredBgm - 1) || !isSoundNumber(sound)) return;
    store(doc_.sound.bgmSound[i], sound, Page::PayoutSound);
}

bool SpecEditor::registerSoundFile(int number, const QString& chosenPath, QString* reason) {
    if (!within(number, 1, sound::LastSoundNumber)) return false;
    const QString name = bareNameOfPath(chosenPath);
    QString problem = orf::nameProblem(name);
    // A name typed into the dialog need not name a file (a typed quote even splits it).
    if (problem.isEmpty() && !QFileInfo(chosenPath).isFile())
        problem = QStringLiteral("ファイル「%1」が見つかりません。")
                      .arg(QDir::toNativeSeparators(chosenPath));
    if (!problem.isEmpty()) {
        if (reason) *reason = problem;
        return false;
    }
    endTyping();
    // An undo takes the name back and shows the number; it plays nothing.
    store(
        doc_.sound.files[number], name, Page::EffectSound,
        [this, number] { emit soundNumberRevealed(number); }, Typing::Never);
    emit soundFilesChanged();
    return true;
}

}  // namespace specboard
