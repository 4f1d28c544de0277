#include "controleditor.h"

#include <QFileInfo>
#include <algorithm>
#include <memory>

#include "filelookup.h"
#include "pictures.h"
#include "reeldatasummary.h"
#include "sjis.h"
#include "valuestep.h"

using namespace control;

namespace stopboard {

namespace {

// The boxes whose typing merges into one step per run.
enum TypingKind {
    StopIndexTyping = 1,
    CommentTyping,
    SlotTableTyping,
    SlotProbabilityTyping,
    AssignmentTyping
};

// A step that applies its edit forwards (redo) or backwards (undo) through one function.
class TwoWayStep : public QUndoCommand {
public:
    explicit TwoWayStep(std::function<void(bool after)> apply) : apply_(std::move(apply)) {}
    void redo() override { apply_(true); }
    void undo() override { apply_(false); }

private:
    std::function<void(bool)> apply_;
};

// Calls f(entry index, first stop) for every assignment a special paste onto `flag` writes, in
// one fixed order.
template <typename F>
void forEachPasteTarget(const std::array<bool, KeyElementCount>& ticked, int flag, F&& f) {
    const auto chosen = [&](int group, int value) {
        return ticked[KeyGroups[group].first + value];
    };
    AssignmentKey to;
    to.flag = flag;
    for (to.playState = 0; to.playState < PlayStateCount; ++to.playState) {
        if (!chosen(0, to.playState)) continue;
        for (to.bonusFlagState = 0; to.bonusFlagState < BonusFlagStateCount; ++to.bonusFlagState) {
            if (!chosen(1, to.bonusFlagState)) continue;
            for (to.bet = 0; to.bet < BetCount; ++to.bet) {
                if (!chosen(2, to.bet)) continue;
                for (to.stopOrder = 0; to.stopOrder < StopOrderCount; ++to.stopOrder) {
                    if (!chosen(3, to.stopOrder)) continue;
                    for (to.bigType = 0; to.bigType < BigTypeCount; ++to.bigType)
                        for (to.firstStop = 1; to.firstStop <= FirstStopCount; ++to.firstStop)
                            f(to.index(), to.firstStop);
                }
            }
        }
    }
}

// What a flag without a prize and a symbol without a picture number show: light grey.
QImage maskPicture() {
    QImage image(72, 36, QImage::Format_RGB32);
    image.fill(qRgb(0xC0, 0xC0, 0xC0));
    return image;
}

bool validTable(int table) { return table >= 1 && table <= StopTableCount; }

std::int16_t toInt16(int value) {
    return static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
}

}  // namespace

ControlEditor::ControlEditor(QObject* parent)
    : EditorSession(parent), blank_(maskPicture()), any_(pictures::anyPicture()) {}

bool ControlEditor::prizeAvailable(int flag, int playState) const {
    if (flag == 0) return true;
    if (flag < 0 || flag > lastFlag() || flag >= FlagCount) return false;
    if (playState < 0 || playState >= reel::GameStateCount) return false;
    const reel::PrizeEntry& prize = view_.prizes[flag - 1];
    return prize.pays[playState] != 0 || prize.kinds[playState] != 0;
}

QImage ControlEditor::symbolPicture(int symbol) const {
    if (reel::isSymbol(symbol)) return view_.symbolPictures[symbol];
    return symbol == reel::AnySymbol ? any_ : blank_;
}

QImage ControlEditor::flagPicture(int flag, int reelIndex) const {
    if (flag <= 0 || flag >= FlagCount || reelIndex < 0 || reelIndex >= reel::ReelCount)
        return blank_;
    return symbolPicture(view_.prizes[flag - 1].symbols[reelIndex]);
}

// ---- File state

void ControlEditor::setEditingEnabled() {
    if (editingEnabled_) return;
    editingEnabled_ = true;
    emit editingEnabledChanged(true);
}

ControlEditor::ReelLoad ControlEditor::loadReelData(const QString& path, QString* reason,
                                                    QStringList* pictureProblems,
                                                    QStringList* pngPictures) {
    ReelDataSummary summary;
    if (!readReelDataSummaryFile(path, summary, reason)) return ReelLoad::Unreadable;
    if (summary.hasPrizes && summary.lastPrizeIndex > MaxLastPrizeIndex) {
        if (reason)
            *reason = QStringLiteral(
                          "制御ファイルに入る成立フラグは %1 個（役なしと役 %2 個）までです。"
                          "このリールファイルには役が %3 個あります。")
                          .arg(FlagCount)
                          .arg(FlagCount - 1)
                          .arg(summary.lastPrizeIndex + 1);
        return ReelLoad::TooManyPrizes;
    }

    const QString folder = folderOfPath(QFileInfo(path).absoluteFilePath());
    // One loader for the file: a picture named for several symbols is decoded once, and the
    // whole file stays within one load's budget.
    pictures::PictureLoader loader(pictures::SymbolPictureLimits);
    for (int s = 0; s < reel::SymbolCount; ++s) {
        const QString& name = summary.litNames[s];
        if (name.isEmpty()) continue;  // the slot keeps the picture it had
        QString why;
        if (!loader.loadFromFolder(folder, name, view_.symbolPictures[s], &why) && pictureProblems)
            pictureProblems->append(
                QStringLiteral("図柄%1: %2").arg(s + 1).arg(sjis::cutTextIn(why, name)));
    }
    if (pngPictures) *pngPictures = loader.pngNames();
    view_.arrangement = summary.arrangement;
    if (summary.hasPrizes) {
        doc_.setLastPrizeIndex(summary.lastPrizeIndex);
        std::copy(summary.prizes.begin(), summary.prizes.end(), view_.prizes.begin());
    }
    // Flags past the new prize table would run past it.
    if (key_.flag > lastFlag()) key_.flag = 0;
    if (pasteFlag_ > lastFlag()) pasteFlag_ = 0;
    setFolder(folder);
    reelFilePath_ = path;

    emit reelViewChanged();
    emit reelFileChanged(path);
    setEditingEnabled();
    emit keyChanged();
    showFlagView();
    emit pasteFlagShown();
    return ReelLoad::Loaded;
}

bool ControlEditor::readControlFile(const QString& path, ControlFileRead& read,
                                    QString* reason) const {
    read.path = path;
    read.doc = doc_;
    read.report = {};
    return rcf::readFile(path, read.doc, &read.report, reason);
}

std::optional<int> ControlEditor::otherLayout(const ControlFileRead& read) const {
    const auto written = read.report.writtenLastPrizeIndex;
    if (written && *written != doc_.lastPrizeIndex()) return written;
    return std::nullopt;
}

void ControlEditor::adoptControlFile(ControlFileRead&& read) {
    doc_ = std::move(read.doc);
    key_.flag = 0;
    endTyping();
    redraw(&ControlEditor::baseTableShown);
    showFlagView();
    emit pasteFlagShown();
    // Showing the tables rewrote their boxes; what is shown is what the file holds.
    documentLoaded(read.path);
}

FileResult ControlEditor::loadControlFile(const QString& path) {
    ControlFileRead read;
    QString reason;
    if (!readControlFile(path, read, &reason)) return FileResult::failed(reason);
    adoptControlFile(std::move(read));
    return FileResult::ok();
}

FileResult ControlEditor::saveControlFile(const QString& path) {
    QString reason;
    if (!rcf::writeFile(path, doc_, &reason)) return FileResult::failed(reason);
    documentSaved(path);
    return FileResult::ok();
}

// ---- Selections
// Every move of a table or of the key ends a run of typing: what is typed next is a step of its
// own.

void ControlEditor::setCurrentStopTable(int table) {
    if (!validTable(table)) return;
    endTyping();
    stopTable_ = table;
    redraw(&ControlEditor::stopTableShown);
}

void ControlEditor::setCurrentBaseTable(int table) {
    if (!validTable(table)) return;
    endTyping();
    baseTable_ = table;
    redraw(&ControlEditor::baseTableShown);
}

void ControlEditor::stepStopTable(int delta) {
    endTyping();
    // At either end the number stays, and the table is still shown again.
    stopTable_ = std::clamp(stopTable_ + delta, 1, StopTableCount);
    emit stopTableSelected(stopTable_);
    redraw(&ControlEditor::stopTableShown);
}

void ControlEditor::stepBaseTable(int delta) {
    endTyping();
    baseTable_ = std::clamp(baseTable_ + delta, 1, BaseTableCount);
    emit baseTableSelected(baseTable_);
    redraw(&ControlEditor::baseTableShown);
}

bool ControlEditor::keyElementSelected(int element) const {
    const int parts[] = {key_.playState, key_.bonusFlagState, key_.bet, key_.stopOrder};
    for (std::size_t g = 0; g < KeyGroups.size(); ++g) {
        const KeyGroup& group = KeyGroups[g];
        if (element >= group.first && element < group.first + group.count)
            return parts[g] == element - group.first;
    }
    return false;
}

bool ControlEditor::keyElementAllowed(int element) const {
    if (element < 0 || element >= KeyElementCount) return false;
    const bool firstOfGroup = element == 4 || element == 7 || element == 10;
    if (element < 4 || firstOfGroup) return true;
    // A regular bonus game has one bonus flag state, one bet and one stop order.
    if (key_.playState == RegularBonusPlayState) return false;
    // During a big bonus no big bonus can be won.
    return !(key_.playState == BigBonusPlayState && element == 5);
}

void ControlEditor::chooseKeyElement(int element) {
    if (!keyElementAllowed(element)) return;
    endTyping();
    if (element < 4) {
        choosePlayState(element);
        return;
    }
    if (element < 7)
        key_.bonusFlagState = element - 4;
    else if (element < 10)
        key_.bet = element - 7;
    else
        key_.stopOrder = element - 10;
    emit keyChanged();
    showFlagView();
}

void ControlEditor::choosePlayState(int state) {
    key_.playState = state;
    // The big bonus type only tells games of a big bonus apart.
    if (state != BigBonusPlayState) key_.bigType = 0;
    if (key_.flag > 0 && !prizeAvailable(key_.flag, state)) key_.flag = 0;
    if (state == BigBonusPlayState && key_.bonusFlagState == 1) key_.bonusFlagState = 0;
    if (state == RegularBonusPlayState) {
        key_.bonusFlagState = 0;
        key_.bet = 0;
        key_.stopOrder = 0;
    }
    emit keyChanged();
    showFlagView();
}

void ControlEditor::nextFlag() {
    if (key_.flag >= lastFlag()) return;
    endTyping();
    if (key_.playState == ChanceTimePlayState) {
        ++key_.flag;
    } else {
        for (int f = key_.flag + 1; f <= lastFlag(); ++f) {
            if (prizeAvailable(f, key_.playState)) {
                key_.flag = f;
                break;
            }
        }
    }
    showFlagView();
    resetFirstStop();
}

void ControlEditor::previousFlag() {
    if (key_.flag <= 0) return;
    endTyping();
    if (key_.playState == ChanceTimePlayState) {
        --key_.flag;
    } else {
        int f = key_.flag - 1;
        while (f > 0 && !prizeAvailable(f, key_.playState)) --f;
        key_.flag = f;
    }
    showFlagView();
    resetFirstStop();
}

void ControlEditor::resetFirstStop() {
    const bool moved = key_.firstStop != 1;
    key_.firstStop = 1;
    emit firstStopShown(1);
    if (moved) showFlagView();
}

void ControlEditor::nextBigType() {
    if (key_.playState != BigBonusPlayState || key_.bigType >= BigTypeCount - 1) return;
    endTyping();
    ++key_.bigType;
    emit keyChanged();
    showFlagView();
}

void ControlEditor::previousBigType() {
    if (key_.playState != BigBonusPlayState || key_.bigType <= 0) return;
    endTyping();
    --key_.bigType;
    emit keyChanged();
    showFlagView();
}

void ControlEditor::setFirstStop(int position) {
    endTyping();
    key_.firstStop = std::clamp(position, 1, FirstStopCount);
    showFlagView();
}

void ControlEditor::nextFirstStop() {
    if (key_.firstStop >= FirstStopCount) return;
    endTyping();
    ++key_.firstStop;
    emit firstStopShown(key_.firstStop);
    showFlagView();
}

void ControlEditor::previousFirstStop() {
    endTyping();
    // Below position 1 the box puts 1 back.
    key_.firstStop = std::max(key_.firstStop - 1, 1);
    emit firstStopShown(key_.firstStop);
    showFlagView();
}

void ControlEditor::nextPasteFlag() {
    if (pasteFlag_ >= lastFlag()) return;
    ++pasteFlag_;
    emit pasteFlagShown();
}

void ControlEditor::previousPasteFlag() {
    if (pasteFlag_ <= 0) return;
    --pasteFlag_;
    emit pasteFlagShown();
}

void ControlEditor::showFlagView() {
    redraw(&ControlEditor::flagViewShown);
    redraw(&ControlEditor::stopTableShown);
}

// ---- Edits

void ControlEditor::redraw(void (ControlEditor::*shown)()) {
    ++showing_;
    emit(this->*shown)();
    --showing_;
}

template <typename Value, typename Apply>
void ControlEditor::store(const Value& before, const Value& after, Apply apply,
                          TypingTarget typing) {
    if (before != after && !showing_) {
        push(new ValueStep<Value>(before, after, std::move(apply), typing));
        return;
    }
    // A box shown again stores what it shows: the value held, or one its rule puts in place of
    // it (an unset slot or assignment shows and becomes table 1). That counts as a change, as it
    // always has, but is no step of the author's: undo does not take it back. While an undo or
    // redo shows what it changed, nothing is stored.
    if (isReplaying()) return;
    if (before != after) apply(after);
    markChanged();
}

void ControlEditor::revealStopTable(int table) {
    if (stopTable_ != table) {
        stopTable_ = table;
        emit stopTableSelected(table);
    }
    redraw(&ControlEditor::stopTableShown);
}

void ControlEditor::revealBaseTable(int table) {
    if (baseTable_ != table) {
        baseTable_ = table;
        emit baseTableSelected(table);
    }
    redraw(&ControlEditor::baseTableShown);
}

void ControlEditor::revealKey(const AssignmentKey& key) {
    // A flag past the prizes of a reel data file loaded since cannot be shown.
    if (key.flag > lastFlag()) return;
    key_ = key;
    emit keyChanged();
    emit firstStopShown(key_.firstStop);
    showFlagView();
}

void ControlEditor::setStopIndex(int table, int cell, int value) {
    if (!validTable(table) || cell < 0 || cell >= reel::CellCount) return;
    const std::int16_t before = doc_.stopIndex(table, cell);
    const std::int16_t after = toInt16(value);
    store(before, after, [this, table, cell](std::int16_t v) { applyStopIndex(table, cell, v); },
          {StopIndexTyping, qint64(table) * reel::CellCount + cell, typingRun()});
}

void ControlEditor::applyStopIndex(int table, int cell, std::int16_t value) {
    doc_.setStopIndex(table, cell, value);
    if (isReplaying()) revealStopTable(table);
}

void ControlEditor::setComment(int table, const QString& text) {
    if (!validTable(table)) return;
    const QString before = doc_.comment(table);
    const QString after = commentAsStored(text);
    store(before, after, [this, table](const QString& v) { applyComment(table, v); },
          {CommentTyping, table, typingRun()});
}

void ControlEditor::applyComment(int table, const QString& text) {
    doc_.setComment(table, text);
    if (isReplaying()) revealStopTable(table);
}

QString ControlEditor::commentAsStored(const QString& text) {
    const QString field = rcf::storableComment(text);
    return sjis::isRepresentable(field) ? field : sjis::toUnicode(sjis::fromUnicode(field));
}

void ControlEditor::setSlotProbability(int table, int slot, int probability) {
    if (!validTable(table) || slot < 0 || slot >= SlotsPerBaseTable) return;
    const BaseSlot before = doc_.baseSlot(table, slot);
    BaseSlot after = before;
    after.probability = toInt16(std::clamp(probability, 0, 256));
    store(before, after, [this, table, slot](const BaseSlot& v) { applySlot(table, slot, v); },
          {SlotProbabilityTyping, qint64(table) * SlotsPerBaseTable + slot, typingRun()});
}

void ControlEditor::setSlotTable(int table, int slot, int stopTable) {
    if (!validTable(table) || slot < 0 || slot >= SlotsPerBaseTable) return;
    const BaseSlot before = doc_.baseSlot(table, slot);
    BaseSlot after = before;
    after.table = toInt16(std::clamp(stopTable, 1, StopTableCount));
    store(before, after, [this, table, slot](const BaseSlot& v) { applySlot(table, slot, v); },
          {SlotTableTyping, qint64(table) * SlotsPerBaseTable + slot, typingRun()});
}

void ControlEditor::applySlot(int table, int slot, const BaseSlot& value) {
    doc_.baseSlot(table, slot) = value;
    if (isReplaying()) revealBaseTable(table);
}

void ControlEditor::setAssignment(const AssignmentKey& key, int baseTable) {
    if (!key.isValid()) return;
    const std::int16_t before = doc_.assignment(key);
    const std::int16_t after = toInt16(std::clamp(baseTable, 1, BaseTableCount));
    store(before, after, [this, key](std::int16_t v) { applyAssignment(key, v); },
          {AssignmentTyping, qint64(key.index()), typingRun()});
}

void ControlEditor::applyAssignment(const AssignmentKey& key, std::int16_t value) {
    doc_.setAssignment(key, value);
    if (isReplaying()) revealKey(key);
}

void ControlEditor::copyStopTable() { copySource_ = stopTable_; }

void ControlEditor::pasteStopTable() {
    endTyping();
    using Values = std::array<std::int16_t, reel::CellCount>;
    // Through copies: the source may be the current table itself.
    Values before{}, after{};
    const auto target = doc_.stopTable(stopTable_);
    const auto source = doc_.stopTable(copySource_);
    std::copy(target.begin(), target.end(), before.begin());
    std::copy(source.begin(), source.end(), after.begin());
    if (before != after) {
        const int table = stopTable_;
        push(new ValueStep<Values>(before, after,
                                   [this, table](const Values& v) { applyStopTable(table, v); }));
    } else {
        redraw(&ControlEditor::stopTableShown);
    }
    markChanged();
}

void ControlEditor::applyStopTable(int table,
                                   const std::array<std::int16_t, reel::CellCount>& values) {
    std::copy(values.begin(), values.end(), doc_.stopTable(table).begin());
    if (isReplaying())
        revealStopTable(table);
    else
        redraw(&ControlEditor::stopTableShown);
}

bool ControlEditor::everyGroupTicked(const std::array<bool, KeyElementCount>& ticked) {
    return std::all_of(KeyGroups.begin(), KeyGroups.end(), [&](const KeyGroup& g) {
        return std::any_of(ticked.begin() + g.first, ticked.begin() + g.first + g.count,
                           [](bool t) { return t; });
    });
}

// What a special paste wrote: which of its targets it changed and what they held. The new value
// of a target is the source assignment of its first stop, so only the old ones are kept.
struct ControlEditor::PasteChanges {
    AssignmentKey from;
    int flag = 0;
    std::array<bool, KeyElementCount> ticked{};
    std::array<std::int16_t, FirstStopCount> source{};
    std::vector<bool> changed;         // per target, in the order of forEachPasteTarget
    std::vector<std::int16_t> before;  // per changed target
};

bool ControlEditor::specialPaste(const std::array<bool, KeyElementCount>& ticked) {
    if (!everyGroupTicked(ticked) || pasteFlag_ < 0 || pasteFlag_ >= FlagCount) return false;
    endTyping();
    auto changes = std::make_shared<PasteChanges>();
    changes->from = key_;
    changes->flag = pasteFlag_;
    changes->ticked = ticked;
    // The 21 first stop assignments of the current key, taken before any is overwritten.
    AssignmentKey from = key_;
    for (int p = 1; p <= FirstStopCount; ++p) {
        from.firstStop = p;
        changes->source[p - 1] = doc_.assignment(from);
    }
    const auto table = doc_.assignments();
    forEachPasteTarget(ticked, pasteFlag_, [&](std::size_t index, int firstStop) {
        const bool differs = table[index] != changes->source[firstStop - 1];
        changes->changed.push_back(differs);
        if (differs) changes->before.push_back(table[index]);
    });
    if (!changes->before.empty()) {
        changes->before.shrink_to_fit();
        changes->changed.shrink_to_fit();
        push(new TwoWayStep([this, changes = std::shared_ptr<const PasteChanges>(std::move(
                                       changes))](bool after) { applyPaste(*changes, after); }));
    }
    markChanged();
    return true;
}

void ControlEditor::applyPaste(const PasteChanges& changes, bool after) {
    const auto table = doc_.assignments();
    std::size_t target = 0, changed = 0;
    forEachPasteTarget(changes.ticked, changes.flag, [&](std::size_t index, int firstStop) {
        if (!changes.changed[target++]) return;
        const std::int16_t old = changes.before[changed++];
        table[index] = after ? changes.source[firstStop - 1] : old;
    });
    if (isReplaying()) revealKey(changes.from);
}

}  // namespace stopboard
