#include "reeldatadocument.h"

#include <algorithm>

ReelDataDocument::ReelDataDocument()
    : flash_(static_cast<size_t>(MaxFlashAction + 1) * FrameSlots) {
    FlashFrame lit;
    lit.lamps.fill(1);
    for (int a = 1; a <= MaxFlashAction; ++a)
        for (int f = 1; f <= MaxFlashFrame; ++f) frame(a, f) = lit;
}

size_t ReelDataDocument::index(int action, int frameNumber) {
    action = std::clamp(action, 0, MaxFlashAction);
    frameNumber = std::clamp(frameNumber, 0, FrameSlots - 1);
    return static_cast<size_t>(action) * FrameSlots + static_cast<size_t>(frameNumber);
}

int ReelDataDocument::actionLength(int action) const {
    for (int f = 1; f <= MaxFlashFrame; ++f)
        if (frame(action, f).wait == 0) return f;
    return MaxFlashFrame;
}

bool ReelDataDocument::sameData(const ReelDataDocument& other) const {
    for (int s = 0; s < reel::SymbolCount; ++s)
        if (symbols[s].names != other.symbols[s].names) return false;
    return pictureWidth == other.pictureWidth && pictureHeight == other.pictureHeight &&
           arrangement == other.arrangement && prizes == other.prizes &&
           lastPrizeIndex == other.lastPrizeIndex && flashActionCount == other.flashActionCount &&
           flash_ == other.flash_;
}
