#include "reeleditor.h"

#include <QFileInfo>
#include <algorithm>

#include "filelookup.h"
#include "pictures.h"
#include "sdfformat.h"

namespace {

std::int16_t toTwips(int pixels) {
    // PictureSize is a 16-bit field of the reel file.
    return static_cast<std::int16_t>(std::min(pixels * pictures::TwipsPerPixel, 32767));
}

int clampEntry(int entry) { return std::clamp(entry, 0, reel::MaxPrizeIndex); }

}  // namespace

ReelEditor::ReelEditor(QObject* parent) : QObject(parent) {}

void ReelEditor::setModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    emit modifiedChanged(modified);
}

void ReelEditor::setFile(const QString& path) {
    filePath_ = path;
    emit fileChanged(path);
}

bool ReelEditor::load(const QString& path, QString* reason, QStringList* pngPictures) {
    sdf::ReadReport report;
    if (!sdf::readFile(path, doc_, &report, reason)) return false;
    if (pngPictures) *pngPictures = report.pngPictures;
    reelFileFolder_ = folderOfPath(QFileInfo(path).absoluteFilePath());
    formatVersion_ = report.formatVersion;
    currentSymbol_ = 0;
    currentPrize_ = 0;
    currentFrame_ = 1;
    setFile(path);
    emit documentReplaced();
    // The redraws above count as edits of what they show; the file is what the document holds.
    setModified(false);
    return true;
}

bool ReelEditor::save(const QString& path, QString* reason) {
    if (!sdf::writeFile(path, doc_, reason)) return false;
    setFile(path);
    setModified(false);
    return true;
}

// ---- Selections

void ReelEditor::previousSymbol() {
    if (currentSymbol_ <= 0) return;
    --currentSymbol_;
    emit symbolSelected(currentSymbol_);
    setModified();
}

void ReelEditor::nextSymbol() {
    if (currentSymbol_ >= reel::SymbolCount - 1 ||
        doc_.symbols[currentSymbol_].name(PictureState::Lit).isEmpty())
        return;
    ++currentSymbol_;
    emit symbolSelected(currentSymbol_);
    setModified();
}

void ReelEditor::previousPrize() {
    if (currentPrize_ <= 0) return;
    --currentPrize_;
    emit prizeSelected(currentPrize_);
}

void ReelEditor::nextPrize() {
    const auto& symbols = doc_.prizes[currentPrize_].symbols;
    if (std::all_of(symbols.begin(), symbols.end(), [](auto s) { return s == reel::AnySymbol; }))
        return;
    if (currentPrize_ < reel::MaxPrizeIndex) ++currentPrize_;
    if (currentPrize_ >= doc_.lastPrizeIndex) doc_.lastPrizeIndex = static_cast<std::int16_t>(currentPrize_);
    emit prizeSelected(currentPrize_);
}

void ReelEditor::selectFrame(int action, int frame) {
    currentFlash_ = std::clamp(action, 1, MaxFlashAction);
    currentFrame_ = std::clamp(frame, 1, MaxFlashFrame);
    emit frameSelected(currentFlash_, currentFrame_);
}

void ReelEditor::previousAction() {
    if (currentFlash_ > 1) selectFrame(currentFlash_ - 1, 1);
}

void ReelEditor::nextAction() {
    // A new action can start only after the current one has a timed first frame; the count
    // of actions in use follows the highest one reached and never shrinks while editing.
    if (doc_.frame(currentFlash_, 1).wait == 0 || currentFlash_ >= MaxFlashAction) return;
    selectFrame(currentFlash_ + 1, 1);
    if (doc_.flashActionCount < currentFlash_) doc_.flashActionCount = static_cast<std::int16_t>(currentFlash_);
}

void ReelEditor::previousFrame() {
    if (currentFrame_ > 1) selectFrame(currentFlash_, currentFrame_ - 1);
}

void ReelEditor::nextFrame() {
    // A new frame only after the current one has a time.
    if (doc_.frame(currentFlash_, currentFrame_).wait != 0 && currentFrame_ < MaxFlashFrame)
        selectFrame(currentFlash_, currentFrame_ + 1);
}

void ReelEditor::setPreviewFrame(int frame) { currentFrame_ = std::clamp(frame, 1, MaxFlashFrame + 1); }

void ReelEditor::scrollCheckReel(int reelIndex, bool up) {
    if (reelIndex < 0 || reelIndex >= reel::ReelCount) return;
    for (int k = 0; k < 5; ++k) {
        int& position = checkPositions_[reelIndex * 5 + k];
        position = (position + (up ? 1 : reel::PositionCount - 1)) % reel::PositionCount;
    }
    emit checkViewScrolled(reelIndex);
}

// ---- Edits

void ReelEditor::setSymbolPicture(int symbol, PictureState state, const QString& name,
                                  const QImage& picture) {
    if (!reel::isSymbol(symbol)) return;
    SymbolSlot& slot = doc_.symbols[symbol];
    const int k = static_cast<int>(state);
    slot.names[k] = name;
    slot.pictures[k] = picture;
    if (state == PictureState::Lit) {
        // A new symbol usually has one picture: it stands in every state not yet chosen.
        for (int other = 1; other < PictureStateCount; ++other) {
            if (slot.names[other].isEmpty()) {
                slot.names[other] = name;
                slot.pictures[other] = picture;
            }
        }
    }
    measurePictureSize();
    emit picturesChanged();
    setModified();
}

void ReelEditor::measurePictureSize() {
    // Measured from symbol 1's lit picture at its natural size; the built-in blank picture
    // stands in until it has one.
    const QImage& lit = doc_.symbols[0].picture(PictureState::Lit);
    const QSize size = lit.isNull() ? pictures::blankPicture().size() : lit.size();
    doc_.pictureWidth = toTwips(size.width());
    doc_.pictureHeight = toTwips(size.height());
}

void ReelEditor::placeSymbol(int cell, int symbol) {
    if (cell < 0 || cell >= reel::CellCount || !reel::isSymbol(symbol)) return;
    doc_.arrangement[cell] = static_cast<reel::SymbolIndex>(symbol);
    // A changed strip is unsaved work like any other edit.
    setModified();
    emit arrangementChanged(cell);
}

void ReelEditor::setPrizeSymbol(int entry, int reelIndex, int symbol) {
    if (reelIndex < 0 || reelIndex >= reel::ReelCount || !reel::isCombinationSymbol(symbol)) return;
    doc_.prizes[clampEntry(entry)].symbols[reelIndex] = static_cast<std::int16_t>(symbol);
    setModified();
    emit prizeSymbolsChanged(clampEntry(entry));
}

void ReelEditor::setPay(int entry, int state, int pay) {
    if (state < 0 || state >= reel::GameStateCount) return;
    doc_.prizes[clampEntry(entry)].pays[state] = static_cast<std::int16_t>(std::clamp(pay, 0, int(MaxPay)));
    setModified();
}

void ReelEditor::setKind(int entry, int state, int kind) {
    if (state < 0 || state >= reel::GameStateCount || kind < 0 || kind >= reel::PrizeKindCount) return;
    doc_.prizes[clampEntry(entry)].kinds[state] = static_cast<reel::PrizeKind>(kind);
    setModified();
}

void ReelEditor::setFrameWait(int action, int frame, int wait) {
    frameAt(action, frame).wait = static_cast<std::int16_t>(std::clamp(wait, 0, int(MaxFrameWait)));
    setModified();
}

void ReelEditor::toggleLamp(int action, int frame, int cell) {
    if (cell < 0 || cell >= CheckCellCount) return;
    std::int16_t& lamp = frameAt(action, frame).lamps[cell];
    lamp = lamp != 0 ? 0 : 1;
    emit frameEdited(action, frame);
}

void ReelEditor::setAllLamps(int action, int frame, bool on) {
    frameAt(action, frame).lamps.fill(on ? 1 : 0);
    emit frameEdited(action, frame);
}
