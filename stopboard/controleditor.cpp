#include "controleditor.h"

#include <QFileInfo>
#include <algorithm>

#include "filelookup.h"
#include "pictures.h"
#include "reeldatasummary.h"
#include "sjis.h"

using namespace control;

namespace {

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
    : QObject(parent), blank_(maskPicture()), any_(pictures::anyPicture()) {}

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

void ControlEditor::setSaved(bool saved) {
    if (saved_ == saved) return;
    saved_ = saved;
    emit savedChanged(saved);
}

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
    fileFolder_ = folder;
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
    fileFolder_ = folderOfPath(QFileInfo(read.path).absoluteFilePath());
    controlFilePath_ = read.path;
    key_.flag = 0;
    emit controlFileChanged(controlFilePath_);
    emit baseTableShown();
    showFlagView();
    emit pasteFlagShown();
    // Showing the tables rewrote their boxes; what is shown is what the file holds.
    setSaved(true);
}

bool ControlEditor::loadControlFile(const QString& path, QString* reason) {
    ControlFileRead read;
    if (!readControlFile(path, read, reason)) return false;
    adoptControlFile(std::move(read));
    return true;
}

bool ControlEditor::saveControlFile(const QString& path, QString* reason) {
    if (!rcf::writeFile(path, doc_, reason)) return false;
    controlFilePath_ = path;
    emit controlFileChanged(path);
    setSaved(true);
    return true;
}

// ---- Selections

void ControlEditor::setCurrentStopTable(int table) {
    if (!validTable(table)) return;
    stopTable_ = table;
    emit stopTableShown();
}

void ControlEditor::setCurrentBaseTable(int table) {
    if (!validTable(table)) return;
    baseTable_ = table;
    emit baseTableShown();
}

void ControlEditor::stepStopTable(int delta) {
    // At either end the number stays, and the table is still shown again.
    stopTable_ = std::clamp(stopTable_ + delta, 1, StopTableCount);
    emit stopTableSelected(stopTable_);
    emit stopTableShown();
}

void ControlEditor::stepBaseTable(int delta) {
    baseTable_ = std::clamp(baseTable_ + delta, 1, BaseTableCount);
    emit baseTableSelected(baseTable_);
    emit baseTableShown();
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
    ++key_.bigType;
    emit keyChanged();
    showFlagView();
}

void ControlEditor::previousBigType() {
    if (key_.playState != BigBonusPlayState || key_.bigType <= 0) return;
    --key_.bigType;
    emit keyChanged();
    showFlagView();
}

void ControlEditor::setFirstStop(int position) {
    key_.firstStop = std::clamp(position, 1, FirstStopCount);
    showFlagView();
}

void ControlEditor::nextFirstStop() {
    if (key_.firstStop >= FirstStopCount) return;
    ++key_.firstStop;
    emit firstStopShown(key_.firstStop);
    showFlagView();
}

void ControlEditor::previousFirstStop() {
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
    emit flagViewShown();
    emit stopTableShown();
}

// ---- Edits

void ControlEditor::setStopIndex(int table, int cell, int value) {
    if (!validTable(table) || cell < 0 || cell >= reel::CellCount) return;
    doc_.setStopIndex(table, cell, toInt16(value));
    setSaved(false);
}

void ControlEditor::setComment(int table, const QString& text) {
    if (!validTable(table)) return;
    doc_.setComment(table, commentAsStored(text));
    setSaved(false);
}

QString ControlEditor::commentAsStored(const QString& text) {
    const QString field = rcf::storableComment(text);
    return sjis::isRepresentable(field) ? field : sjis::toUnicode(sjis::fromUnicode(field));
}

void ControlEditor::setSlotProbability(int table, int slot, int probability) {
    if (!validTable(table) || slot < 0 || slot >= SlotsPerBaseTable) return;
    doc_.baseSlot(table, slot).probability = toInt16(std::clamp(probability, 0, 256));
    setSaved(false);
}

void ControlEditor::setSlotTable(int table, int slot, int stopTable) {
    if (!validTable(table) || slot < 0 || slot >= SlotsPerBaseTable) return;
    doc_.baseSlot(table, slot).table = toInt16(std::clamp(stopTable, 1, StopTableCount));
    setSaved(false);
}

void ControlEditor::setAssignment(const AssignmentKey& key, int baseTable) {
    if (!key.isValid()) return;
    doc_.setAssignment(key, toInt16(std::clamp(baseTable, 1, BaseTableCount)));
    setSaved(false);
}

void ControlEditor::copyStopTable() { copySource_ = stopTable_; }

void ControlEditor::pasteStopTable() {
    // Through a copy: the source may be the current table itself.
    std::array<std::int16_t, reel::CellCount> values{};
    const auto source = doc_.stopTable(copySource_);
    std::copy(source.begin(), source.end(), values.begin());
    std::copy(values.begin(), values.end(), doc_.stopTable(stopTable_).begin());
    emit stopTableShown();
    setSaved(false);
}

bool ControlEditor::everyGroupTicked(const std::array<bool, KeyElementCount>& ticked) {
    return std::all_of(KeyGroups.begin(), KeyGroups.end(), [&](const KeyGroup& g) {
        return std::any_of(ticked.begin() + g.first, ticked.begin() + g.first + g.count,
                           [](bool t) { return t; });
    });
}

bool ControlEditor::specialPaste(const std::array<bool, KeyElementCount>& ticked) {
    if (!everyGroupTicked(ticked) || pasteFlag_ < 0 || pasteFlag_ >= FlagCount) return false;
    // The 21 first stop assignments of the current key, taken before any is overwritten.
    std::array<std::int16_t, FirstStopCount> source{};
    AssignmentKey from = key_;
    for (int p = 1; p <= FirstStopCount; ++p) {
        from.firstStop = p;
        source[p - 1] = doc_.assignment(from);
    }
    const auto chosen = [&](int group, int value) {
        return ticked[KeyGroups[group].first + value];
    };
    AssignmentKey to;
    to.flag = pasteFlag_;
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
                            doc_.setAssignment(to, source[to.firstStop - 1]);
                }
            }
        }
    }
    setSaved(false);
    return true;
}
