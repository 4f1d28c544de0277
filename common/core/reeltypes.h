#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The reel data types that the reel, control and spec editors share.
namespace reel {

constexpr int SymbolCount = 7;     // SymbolIndex 0..6, shown as 1..7
constexpr int ReelCount = 3;       // 0 left, 1 centre, 2 right
constexpr int PositionCount = 21;  // ReelPosition 0..20, position 0 at the bottom
constexpr int CellCount = ReelCount * PositionCount;
constexpr int GameStateCount = 3;
constexpr int PrizeKindCount = 8;
constexpr int PrizeSlotCount = 101;  // PrizeEntry 0..100
constexpr int MaxPrizeIndex = 100;
constexpr std::int16_t AnySymbol = 100;

using SymbolIndex = std::int16_t;
using ReelPosition = int;
using PrizeKind = std::int16_t;

enum class GameState { Normal = 0, BigBonus = 1, RegularBonus = 2 };

constexpr int cellOf(int reelIndex, ReelPosition position) {
    return reelIndex * PositionCount + position;
}

inline bool isSymbol(int value) { return value >= 0 && value < SymbolCount; }
inline bool isCombinationSymbol(int value) { return isSymbol(value) || value == AnySymbol; }

// "01" .. "21" for positions 0..20.
QString positionLabel(ReelPosition position);
// "通常時", "BB中", "RB中".
QString gameStateCaption(GameState state);
// "0-なし" .. "7-リプレイ"; empty for a kind outside 0..7.
QString prizeKindText(int kind);

struct PrizeEntry {
    std::array<std::int16_t, ReelCount> symbols{AnySymbol, AnySymbol, AnySymbol};
    std::array<std::int16_t, GameStateCount> pays{};
    std::array<std::int16_t, GameStateCount> kinds{};
    bool operator==(const PrizeEntry&) const = default;
};

}  // namespace reel
