#include "reeleditor.h"

#include <algorithm>

#include "pictures.h"
#include "sdfformat.h"
#include "valuestep.h"

namespace reelboard {

namespace {

// The boxes whose typing merges into one step per run.
enum TypingKind { PayTyping = 1, WaitTyping = 2 };

std::int16_t toTwips(int pixels) {
    // PictureSize is a 16-bit field of the reel file.
    return static_cast<std::int16_t>(std::min(pixels * pictures::TwipsPerPixel, 32767));
}

int clampEntry(int entry) { return std::clamp(entry, 0, reel::MaxPrizeIndex); }
// Frame slot 100 is what a preview running past frame 99 shows.
int clampAction(int action) { return std::clamp(action, 1, MaxFlashAction); }
int clampFrame(int frame) { return std::clamp(frame, 1, MaxFlashFrame + 1); }

// Whether the prize editor's pay or kind boxes change their text when `to` is shown after
// `from`, which counts as a change of the document.
bool showsOtherValues(const reel::PrizeEntry& from, const reel::PrizeEntry& to) {
    return from.pays != to.pays || from.kinds != to.kinds;
}

}  // namespace

ReelEditor::ReelEditor(QObject* parent) : EditorSession(parent) {}

FileResult ReelEditor::load(const QString& path) {
    sdf::ReadReport report;
    QString reason;
    if (!sdf::readFile(path, doc_, &report, &reason)) return FileResult::failed(reason);
    formatVersion_ = report.formatVersion;
    currentSymbol_ = 0;
    currentPrize_ = 0;
    currentFrame_ = 1;
    endTyping();
    emit documentReplaced();
    // The redraws above may store what they show; the file is what the document now holds.
    documentLoaded(path);
    return FileResult::ok(report.pngPictures);
}

FileResult ReelEditor::save(const QString& path) {
    QString reason;
    if (!sdf::writeFile(path, doc_, &reason)) return FileResult::failed(reason);
    documentSaved(path);
    return FileResult::ok();
}

// ---- Selections

void ReelEditor::previousSymbol() {
    if (currentSymbol_ <= 0) return;
    endTyping();
    --currentSymbol_;
    emit symbolSelected(currentSymbol_);
    markChanged();
}

void ReelEditor::nextSymbol() {
    if (currentSymbol_ >= reel::SymbolCount - 1 ||
        doc_.symbols[currentSymbol_].name(PictureState::Lit).isEmpty())
        return;
    endTyping();
    ++currentSymbol_;
    emit symbolSelected(currentSymbol_);
    markChanged();
}

void ReelEditor::previousPrize() {
    if (currentPrize_ <= 0) return;
    endTyping();
    const bool differs =
        showsOtherValues(doc_.prizes[currentPrize_], doc_.prizes[currentPrize_ - 1]);
    --currentPrize_;
    emit prizeSelected(currentPrize_);
    if (differs) markChanged();
}

void ReelEditor::nextPrize() {
    const auto& symbols = doc_.prizes[currentPrize_].symbols;
    if (std::all_of(symbols.begin(), symbols.end(), [](auto s) { return s == reel::AnySymbol; }))
        return;
    endTyping();
    const int from = currentPrize_;
    const int to = std::min(from + 1, reel::MaxPrizeIndex);
    const bool differs = showsOtherValues(doc_.prizes[from], doc_.prizes[to]);
    if (to > doc_.lastPrizeIndex) {
        // Stepping past the last entry in use grows the table; undo takes it back.
        const PrizeGrowth before{doc_.lastPrizeIndex, from};
        const PrizeGrowth after{static_cast<std::int16_t>(to), to};
        push(new ValueStep<PrizeGrowth>(before, after,
                                        [this](const PrizeGrowth& g) { applyPrizeGrowth(g); }));
    } else {
        currentPrize_ = to;
        emit prizeSelected(to);
    }
    if (differs) markChanged();
}

void ReelEditor::selectFrame(int action, int frame) {
    endTyping();
    currentFlash_ = std::clamp(action, 1, MaxFlashAction);
    currentFrame_ = std::clamp(frame, 1, MaxFlashFrame);
    emit frameSelected(currentFlash_, currentFrame_);
}

void ReelEditor::previousAction() {
    if (currentFlash_ > 1) selectFrame(currentFlash_ - 1, 1);
    markChanged();
}

void ReelEditor::nextAction() {
    // A new action can start only after the current one has a timed first frame; the count
    // of actions in use follows the highest one reached and never shrinks while editing.
    if (doc_.frame(currentFlash_, 1).wait != 0 && currentFlash_ < MaxFlashAction) {
        const int to = currentFlash_ + 1;
        if (doc_.flashActionCount < to) {
            endTyping();
            const ActionGrowth before{doc_.flashActionCount, currentFlash_, currentFrame_};
            const ActionGrowth after{static_cast<std::int16_t>(to), to, 1};
            push(new ValueStep<ActionGrowth>(
                before, after, [this](const ActionGrowth& g) { applyActionGrowth(g); }));
        } else {
            selectFrame(to, 1);
        }
    }
    markChanged();
}

void ReelEditor::previousFrame() {
    if (currentFrame_ > 1) selectFrame(currentFlash_, currentFrame_ - 1);
    markChanged();
}

void ReelEditor::nextFrame() {
    // A new frame only after the current one has a time.
    if (doc_.frame(currentFlash_, currentFrame_).wait != 0 && currentFrame_ < MaxFlashFrame)
        selectFrame(currentFlash_, currentFrame_ + 1);
    markChanged();
}

void ReelEditor::setPreviewFrame(int frame) {
    currentFrame_ = std::clamp(frame, 1, MaxFlashFrame + 1);
    markChanged();
}

void ReelEditor::scrollCheckReel(int reelIndex, bool up) {
    if (reelIndex < 0 || reelIndex >= reel::ReelCount) return;
    for (int k = 0; k < 5; ++k) {
        int& position = checkPositions_[reelIndex * 5 + k];
        position = (position + (up ? 1 : reel::PositionCount - 1)) % reel::PositionCount;
    }
    emit checkViewScrolled(reelIndex);
}

void ReelEditor::revealSymbol(int symbol) {
    if (currentSymbol_ == symbol) return;
    currentSymbol_ = symbol;
    emit symbolSelected(symbol);
}

void ReelEditor::revealPrize(int entry) {
    if (currentPrize_ == entry) return;
    currentPrize_ = entry;
    emit prizeSelected(entry);
}

void ReelEditor::revealFrame(int action, int frame) {
    if (currentFlash_ == action && currentFrame_ == frame) return;
    currentFlash_ = action;
    currentFrame_ = frame;
    emit frameSelected(action, frame);
}

// ---- Edits

void ReelEditor::setSymbolPicture(int symbol, PictureState state, const QString& name,
                                  const QImage& picture) {
    if (!reel::isSymbol(symbol)) return;
    const PictureSlotState before{doc_.symbols[symbol], doc_.pictureWidth, doc_.pictureHeight};
    PictureSlotState after = before;
    SymbolSlot& slot = after.slot;
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
    // Measured from symbol 1's lit picture at its natural size; the built-in blank picture
    // stands in until it has one.
    const QImage& lit =
        symbol == 0 ? slot.picture(PictureState::Lit) : doc_.symbols[0].picture(PictureState::Lit);
    const QSize size = lit.isNull() ? pictures::blankPicture().size() : lit.size();
    after.width = toTwips(size.width());
    after.height = toTwips(size.height());
    // The pictures are shared with the document, never copied.
    push(new ValueStep<PictureSlotState>(
        before, after,
        [this, symbol, state](const PictureSlotState& v) { applyPicture(symbol, state, v); }));
}

void ReelEditor::applyPicture(int symbol, PictureState state, const PictureSlotState& value) {
    doc_.symbols[symbol] = value.slot;
    doc_.pictureWidth = value.width;
    doc_.pictureHeight = value.height;
    if (isReplaying()) {
        revealSymbol(symbol);
        emit pictureStateRevealed(state);
    }
    emit picturesChanged();
}

void ReelEditor::placeSymbol(int cell, int symbol) {
    if (cell < 0 || cell >= reel::CellCount || !reel::isSymbol(symbol)) return;
    const reel::SymbolIndex before = doc_.arrangement[cell];
    if (before == symbol) {
        // Nothing changes, but the cell and the check window are drawn as for any placement.
        emit arrangementChanged(cell);
        return;
    }
    push(new ValueStep<reel::SymbolIndex>(
        before, static_cast<reel::SymbolIndex>(symbol),
        [this, cell](reel::SymbolIndex s) { applyCell(cell, s); }));
}

void ReelEditor::applyCell(int cell, reel::SymbolIndex symbol) {
    doc_.arrangement[cell] = symbol;
    emit arrangementChanged(cell);
}

void ReelEditor::setPrizeSymbol(int entry, int reelIndex, int symbol) {
    if (reelIndex < 0 || reelIndex >= reel::ReelCount || !reel::isCombinationSymbol(symbol)) return;
    entry = clampEntry(entry);
    const std::int16_t before = doc_.prizes[entry].symbols[reelIndex];
    if (before == symbol) {
        emit prizeSymbolsChanged(entry);
        return;
    }
    push(new ValueStep<std::int16_t>(
        before, static_cast<std::int16_t>(symbol),
        [this, entry, reelIndex](std::int16_t s) { applyPrizeSymbol(entry, reelIndex, s); }));
}

void ReelEditor::applyPrizeSymbol(int entry, int reelIndex, std::int16_t symbol) {
    doc_.prizes[entry].symbols[reelIndex] = symbol;
    if (isReplaying()) revealPrize(entry);
    emit prizeSymbolsChanged(entry);
}

void ReelEditor::setPay(int entry, int state, int pay) {
    if (state < 0 || state >= reel::GameStateCount) return;
    entry = clampEntry(entry);
    const std::int16_t before = doc_.prizes[entry].pays[state];
    const auto after = static_cast<std::int16_t>(std::clamp(pay, 0, int(MaxPay)));
    if (before == after) return;
    const TypingTarget typing{PayTyping, entry * reel::GameStateCount + state, typingRun()};
    push(new ValueStep<std::int16_t>(
        before, after, [this, entry, state](std::int16_t v) { applyPay(entry, state, v); },
        typing));
}

void ReelEditor::applyPay(int entry, int state, std::int16_t pay) {
    doc_.prizes[entry].pays[state] = pay;
    if (isReplaying()) revealPrize(entry);
    emit prizeEdited(entry);
}

void ReelEditor::setKind(int entry, int state, int kind) {
    if (state < 0 || state >= reel::GameStateCount || kind < 0 || kind >= reel::PrizeKindCount)
        return;
    entry = clampEntry(entry);
    const reel::PrizeKind before = doc_.prizes[entry].kinds[state];
    if (before == kind) return;
    push(new ValueStep<reel::PrizeKind>(
        before, static_cast<reel::PrizeKind>(kind),
        [this, entry, state](reel::PrizeKind k) { applyKind(entry, state, k); }));
}

void ReelEditor::applyKind(int entry, int state, reel::PrizeKind kind) {
    doc_.prizes[entry].kinds[state] = kind;
    if (isReplaying()) revealPrize(entry);
    emit prizeEdited(entry);
}

void ReelEditor::setFrameWait(int action, int frame, int wait) {
    action = clampAction(action);
    frame = clampFrame(frame);
    const std::int16_t before = frameAt(action, frame).wait;
    const auto after = static_cast<std::int16_t>(std::clamp(wait, 0, int(MaxFrameWait)));
    if (before == after) return;
    const TypingTarget typing{WaitTyping, action * (MaxFlashFrame + 2) + frame, typingRun()};
    push(new ValueStep<std::int16_t>(
        before, after, [this, action, frame](std::int16_t v) { applyWait(action, frame, v); },
        typing));
}

void ReelEditor::applyWait(int action, int frame, std::int16_t wait) {
    frameAt(action, frame).wait = wait;
    if (isReplaying()) revealFrame(action, frame);
    emit frameWaitChanged(action, frame);
}

void ReelEditor::toggleLamp(int action, int frame, int cell) {
    if (cell < 0 || cell >= CheckCellCount) return;
    action = clampAction(action);
    frame = clampFrame(frame);
    const Lamps before = frameAt(action, frame).lamps;
    Lamps after = before;
    after[cell] = before[cell] != 0 ? 0 : 1;
    push(new ValueStep<Lamps>(
        before, after, [this, action, frame](const Lamps& l) { applyLamps(action, frame, l); }));
}

void ReelEditor::setAllLamps(int action, int frame, bool on) {
    action = clampAction(action);
    frame = clampFrame(frame);
    const Lamps before = frameAt(action, frame).lamps;
    Lamps after;
    after.fill(on ? 1 : 0);
    if (after == before) {
        // The flash view is drawn anew all the same, and every such redraw counts as a change.
        emit frameEdited(action, frame);
        markChanged();
        return;
    }
    push(new ValueStep<Lamps>(
        before, after, [this, action, frame](const Lamps& l) { applyLamps(action, frame, l); }));
}

void ReelEditor::applyLamps(int action, int frame, const Lamps& lamps) {
    frameAt(action, frame).lamps = lamps;
    if (isReplaying()) revealFrame(action, frame);
    emit frameEdited(action, frame);
}

void ReelEditor::applyPrizeGrowth(const PrizeGrowth& growth) {
    doc_.lastPrizeIndex = growth.lastPrizeIndex;
    currentPrize_ = growth.entry;
    emit prizeSelected(growth.entry);
}

void ReelEditor::applyActionGrowth(const ActionGrowth& growth) {
    doc_.flashActionCount = growth.flashActionCount;
    currentFlash_ = growth.action;
    currentFrame_ = growth.frame;
    emit frameSelected(growth.action, growth.frame);
}

}  // namespace reelboard
