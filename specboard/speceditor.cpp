#include "speceditor.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <utility>

#include "filelookup.h"
#include "sjis.h"

namespace {

using namespace machine;

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
        use(t.stopBonusAfterFirstTwo[reel - 1][field / StoredCandidates]
                                    [field % StoredCandidates]);
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

SpecEditor::SpecEditor(QObject* parent) : QObject(parent) {}

void SpecEditor::setModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    emit modifiedChanged(modified);
}

template <typename Field, typename Value>
void SpecEditor::store(Field& field, Value value) {
    const auto narrowed = static_cast<Field>(value);
    if (field == narrowed) return;
    field = narrowed;
    setModified();
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
    emit fileChanged();
    emit documentReplaced();
    if (found.reelDataRead) emit reelDataRead();
    // Showing the loaded values is not an edit: the machine is what the file holds.
    setModified(false);
    if (report) *report = std::move(found);
    return true;
}

bool SpecEditor::save(const QString& path, QString* reason) {
    if (!orf::writeFile(path, doc_, reason)) return false;
    specFileName_ = bareNameOfPath(path);
    specFilePath_ = QFileInfo(path).absoluteFilePath();
    dialogFolder_ = absoluteFolderOf(path);
    emit fileChanged();
    setModified(false);
    return true;
}

bool SpecEditor::loadReelData(const QString& chosenPath, QStringList* warnings, QString* reason) {
    const QString name = bareNameOfPath(chosenPath);
    if (const QString problem = orf::nameProblem(name); !problem.isEmpty()) {
        if (reason) *reason = problem;
        return false;
    }
    const QString folder = specFolder_.isEmpty() ? absoluteFolderOf(chosenPath) : specFolder_;
    MachineSpec next = doc_;
    if (!orf::readReelData(orf::FolderFiles(folder), name, next, warnings, reason)) return false;
    const bool changed = !(next == doc_);
    doc_ = std::move(next);
    referencePaths_[int(Reference::Reel)] = pathInFolder(folder, name);
    const bool flagMoved = limitFlags();
    emit referencesChanged();
    emit reelDataRead();
    if (flagMoved) emit probabilitySelected();
    if (changed) setModified();
    return true;
}

bool SpecEditor::nameReference(Reference reference, QString& field, const QString& chosenPath,
                               QString* reason) {
    const QString name = bareNameOfPath(chosenPath);
    if (const QString problem = orf::nameProblem(name); !problem.isEmpty()) {
        if (reason) *reason = problem;
        return false;
    }
    store(field, name);
    referencePaths_[int(reference)] = QFileInfo(chosenPath).absoluteFilePath();
    emit referencesChanged();
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
    emit probabilitySelected();
}

void SpecEditor::nextFlag() {
    if (selection_.curFlag >= lastFlag()) return;
    ++selection_.curFlag;
    emit probabilitySelected();
}

void SpecEditor::previousSetting() {
    if (selection_.curSetting <= FirstSetting) return;
    --selection_.curSetting;
    emit probabilitySelected();
}

void SpecEditor::nextSetting() {
    if (selection_.curSetting >= LastSetting) return;
    ++selection_.curSetting;
    emit probabilitySelected();
}

void SpecEditor::selectBet(int bet) {
    if (!isBet(bet)) return;
    selection_.curBet = static_cast<std::int16_t>(bet);
    emit probabilitySelected();
}

void SpecEditor::selectCTBig(int big) {
    if (!isBig(big - 1)) return;
    selection_.curCTBig = static_cast<std::int16_t>(big);
    emit ctBigSelected();
}

void SpecEditor::selectBigNo(int big) {
    if (!isBig(big - 1)) return;
    selection_.curBigNo = static_cast<std::int16_t>(big);
    emit bigNoSelected();
}

void SpecEditor::selectLineBet(int bet) {
    if (!isBet(bet)) return;
    selection_.curLineBet = static_cast<std::int16_t>(bet);
    selection_.curLine = 1;
    emit lineSelected();
}

void SpecEditor::previousLine() {
    if (selection_.curLine <= 1) return;
    --selection_.curLine;
    emit lineSelected();
}

void SpecEditor::nextLine() {
    // Lines are filled in order: the next one opens once this one crosses the three reels.
    if (selection_.curLine >= StoredLines ||
        lineCellCount(selection_.curLineBet, selection_.curLine - 1) != reel::ReelCount)
        return;
    ++selection_.curLine;
    emit lineSelected();
}

void SpecEditor::selectSoundGroup(int group) {
    if (!within(group, 0, sound::GroupCount - 1)) return;
    selection_.soundGroup = static_cast<std::int16_t>(group);
    if (group != sound::ReelStop) selection_.stopReel = sound::FirstStopReel;
    if (group == sound::MedalInsert) selection_.effectFlag = 0;
    emit soundGroupSelected();
}

void SpecEditor::previousStopReel() {
    if (selection_.stopReel > sound::FirstStopReel) --selection_.stopReel;
    selection_.effectFlag = 0;
    emit stopReelSelected();
}

void SpecEditor::nextStopReel() {
    if (selection_.stopReel < sound::LastStopReel) ++selection_.stopReel;
    selection_.effectFlag = 0;
    emit stopReelSelected();
}

void SpecEditor::selectEffectFlag(int flag) {
    if (!within(flag, 0, sound::LastEffectFlag)) return;
    selection_.effectFlag = static_cast<std::int16_t>(flag);
    emit effectFlagSelected();
}

sound::EffectPlace SpecEditor::effectPlace() const {
    return {selection_.soundGroup, selection_.stopReel, selection_.effectFlag};
}

void SpecEditor::previousPayoutFlag() {
    if (selection_.payoutFlag <= 1) return;
    --selection_.payoutFlag;
    emit payoutFlagSelected();
}

void SpecEditor::nextPayoutFlag() {
    if (selection_.payoutFlag >= lastFlag()) return;
    ++selection_.payoutFlag;
    emit payoutFlagSelected();
}

// ---- Edits

void SpecEditor::setMachineName(const QString& text) { store(doc_.machineName, text); }
void SpecEditor::setMakerName(const QString& text) { store(doc_.makerName, text); }
void SpecEditor::setExplanation(const QString& text) { store(doc_.explanation, text); }

void SpecEditor::setFlagProb(int flag, int setting, int bet, int state, std::int64_t value) {
    if (!within(flag, 0, FlagSlots - 1) || !within(setting, FirstSetting, LastSetting) ||
        !isBet(bet) || !within(state, 0, StoredStates - 1) || !within(value, 0, MaxProbability))
        return;
    store(doc_.flagProb[flag][setting][bet][state], value);
}

void SpecEditor::setGensan(int setting, std::int64_t value) {
    if (!within(setting, FirstSetting, LastSetting) || !within(value, 0, MaxGensan)) return;
    store(doc_.gensan[setting], value);
}

void SpecEditor::setThreeBetOnly(bool on) { store(doc_.threeBetOnly, on ? 1 : 0); }
void SpecEditor::setCounterReset(bool on) { store(doc_.counterReset, on ? 1 : 0); }
void SpecEditor::setHasCT(bool on) { store(doc_.hasCT, on ? 1 : 0); }

void SpecEditor::setCTEntryPct(int big, std::int64_t value) {
    if (!isBig(big) || !within(value, 0, MaxPercent)) return;
    store(doc_.ctEntryPct[big], value);
}

void SpecEditor::setSuperBigPct(int big, int result, std::int64_t value) {
    if (!isBig(big) || !isBig(result) || !within(value, 0, MaxPercent)) return;
    store(doc_.superBigPct[big][result], value);
}

template <typename Held, typename Set>
QString SpecEditor::storeBoxText(Held held, Set set) {
    const auto before = held();
    const QString shown = set();
    if (held() != before) setModified();
    return shown;
}

QString SpecEditor::setCTEndConText(int i, const QString& text) {
    if (!within(i, 0, StoredCTEnds - 1)) return text;
    return storeBoxText([&] { return std::pair(doc_.ctEndConText(i), doc_.ctEndCon(i)); },
                        [&] { return doc_.setCTEndConText(i, text); });
}

QString SpecEditor::setBonusEndText(int i, const QString& text) {
    if (!within(i, 0, BonusEndSlots - 1)) return text;
    return storeBoxText([&] { return std::pair(doc_.bonusEndText(i), doc_.bonusEnd(i)); },
                        [&] { return doc_.setBonusEndText(i, text); });
}

void SpecEditor::clickLineCell(int bet, int line, int cell) {
    if (!isBet(bet) || !isLine(line) || !within(cell, 0, LineCells - 1)) return;
    auto& cells = doc_.lineCell[bet][line];
    if (cells[cell] == 0) {
        // A line crosses each reel in one row: the reel's other rows are cleared.
        const int first = cell / LineRows * LineRows;
        std::fill(cells.begin() + first, cells.begin() + first + LineRows, std::int16_t{0});
        cells[cell] = 1;
    } else {
        cells[cell] = 0;
    }
    setModified();
    emit lineCellsChanged();
}

void SpecEditor::setLineArea(int bet, int line, std::int64_t area) {
    if (!isBet(bet) || !isLine(line) || !within(area, 0, MaxLineArea)) return;
    store(doc_.lineArea[bet][line], area);
}

int SpecEditor::lineCellCount(int bet, int line) const {
    if (!isBet(bet) || !isLine(line)) return 0;
    const auto& cells = doc_.lineCell[bet][line];
    return static_cast<int>(std::count(cells.begin(), cells.begin() + LineCells, std::int16_t{1}));
}

// ---- Sound edits

void SpecEditor::setNormalSound(int group, std::int64_t sound) {
    if (!within(group, 0, sound::GroupCount - 1) || !isSoundNumber(sound)) return;
    store(doc_.sound.normalSound[group], sound);
}

void SpecEditor::setEffectCandidate(const sound::EffectPlace& at, int field, CandidatePart part,
                                    std::int64_t value) {
    const bool probability = part == CandidatePart::Probability;
    if (!(probability ? within(value, 0, MaxProbability) : isSoundNumber(value))) return;
    withEffectCandidate(doc_.sound, at, field, [&](auto& candidate) {
        store(probability ? candidate.probability : candidate.sound, value);
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
    withAfterFirstTwo(doc_.sound, reel, flag, field, [&](auto& check) { store(check, on ? 1 : 0); });
}

bool SpecEditor::afterFirstTwo(int reel, int flag, int field) const {
    bool on = false;
    withAfterFirstTwo(doc_.sound, reel, flag, field, [&](const auto& check) { on = check != 0; });
    return on;
}

void SpecEditor::setBigFirstPlaySound(int big, std::int64_t sound) {
    if (!within(big, 1, sound::LastBigFirstPlay) || !isSoundNumber(sound)) return;
    store(doc_.sound.bigFirstPlaySound[big], sound);
}

void SpecEditor::setPaySound(int flag, int state, int timing, std::int64_t sound) {
    if (!within(flag, 0, FlagSlots - 1) || !within(state, 0, sound::StoredPayStates - 1) ||
        !within(timing, 0, sound::StoredPayTimings - 1) || !isSoundNumber(sound))
        return;
    store(doc_.sound.paySound[flag][state][timing], sound);
}

void SpecEditor::setPaySoundFirst(bool on) { store(doc_.sound.paySoundFirst, on ? 1 : 0); }

void SpecEditor::setBgmSound(int i, std::int64_t sound) {
    if (!within(i, 0, sound::StoredBgm - 1) || !isSoundNumber(sound)) return;
    store(doc_.sound.bgmSound[i], sound);
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
    store(doc_.sound.files[number], name);
    emit soundFilesChanged();
    return true;
}
