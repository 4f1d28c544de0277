#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "reeltypes.h"

enum class PictureState { Lit = 0, Unlit = 1, Flash = 2, Blink = 3 };
constexpr int PictureStateCount = 4;

struct SymbolSlot {
    std::array<QString, PictureStateCount> names;  // bare file names, "" = no picture
    std::array<QImage, PictureStateCount> pictures;
    const QString& name(PictureState s) const { return names[static_cast<int>(s)]; }
    const QImage& picture(PictureState s) const { return pictures[static_cast<int>(s)]; }
};

constexpr int CheckCellCount = 15;  // cell = reel * 5 + check row
constexpr int MaxFlashAction = 99;
constexpr int MaxFlashFrame = 99;
constexpr std::int16_t MaxFrameWait = 32767;
constexpr std::int16_t MaxPay = 15;  // medals a prize pays

struct FlashFrame {
    std::array<std::int16_t, CheckCellCount> lamps{};  // 0 off, anything else on
    std::int16_t wait = 0;                             // ms; 0 marks the action's last frame
    bool operator==(const FlashFrame&) const = default;
};

// The reel data of one machine: symbol pictures, reel strips, prizes and lamp flash actions.
class ReelDataDocument {
public:
    ReelDataDocument();

    std::array<SymbolSlot, reel::SymbolCount> symbols;
    std::int16_t pictureWidth = 0;  // twips of symbol 1's lit picture
    std::int16_t pictureHeight = 0;
    std::array<reel::SymbolIndex, reel::CellCount> arrangement{};  // cell = reel * 21 + position
    std::array<reel::PrizeEntry, reel::PrizeSlotCount> prizes;
    std::int16_t lastPrizeIndex = 1;
    std::int16_t flashActionCount = 1;

    // Actions 1..99, frames 1..99; frame slot 100 exists so that a preview running past
    // frame 99 shows every lamp off and stops there.
    FlashFrame& frame(int action, int frameNumber) { return flash_[index(action, frameNumber)]; }
    const FlashFrame& frame(int action, int frameNumber) const {
        return flash_[index(action, frameNumber)];
    }

    // Number of frames the action is made of: up to its first 0-wait frame, at most 99.
    int actionLength(int action) const;

    // Data equality (names, numbers); the decoded pictures are not compared.
    bool sameData(const ReelDataDocument& other) const;

private:
    static constexpr int FrameSlots = MaxFlashFrame + 2;  // 0 unused, 1..99, 100
    static size_t index(int action, int frameNumber);
    std::vector<FlashFrame> flash_;
};
