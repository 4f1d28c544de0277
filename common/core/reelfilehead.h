#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "reeltypes.h"

class FieldReader;

// What every reader of a reel data file takes from its start: the version line, the picture
// size, the 28 picture names, the reel arrangement and, when the file goes on, the prize
// entries. The reel editor reads its flash actions after these; the control and spec editors
// stop here. One reader, so the layout is written once.
struct ReelFileHead {
    static constexpr int NamesPerSymbol = 4;  // lit, unlit, flash, blink

    int formatVersion = 0;  // 100 for a file without version line
    std::int16_t pictureWidth = 0;
    std::int16_t pictureHeight = 0;
    std::array<std::array<QString, NamesPerSymbol>, reel::SymbolCount> names;
    std::array<reel::SymbolIndex, reel::CellCount> arrangement{};  // SymbolIndex 0..6
    bool hasPrizes = false;  // false for a file that ends after the arrangement
    std::int16_t lastPrizeIndex = 0;
    std::vector<reel::PrizeEntry> prizes;  // entries 0..lastPrizeIndex when hasPrizes
};

// Reads the head from the start of a reel data text. Refused (false, *error says why and on
// which line): a field that is missing or not a 16-bit number, a picture name that no file can
// have and the file could not hold (a double quote, a line break), an arrangement number
// outside 1..7, a prize count outside 0..100, a prize section that ends early. Prize values are
// taken as written. On success `r` stands after the last prize entry.
bool readReelFileHead(FieldReader& r, ReelFileHead& head, QString* error);
