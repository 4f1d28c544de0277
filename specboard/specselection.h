#pragma once

#include <QString>
#include <cstdint>

#include "soundtables.h"

namespace specboard {

// The selection values of the machine window, which a smaller reel data file has to bring
// back into range. The window's editor keeps them; the files never hold them.
struct SpecSelection {
    std::int16_t curFlag = 1;     // bonus page flag, 1..flagCount+1
    std::int16_t curSetting = 1;  // 1..6
    std::int16_t curBet = 2;      // 0..2
    std::int16_t curCTBig = 1;    // 1..5
    std::int16_t curBigNo = 1;    // 1..5
    std::int16_t curLineBet = 0;  // 0..2
    std::int16_t curLine = 1;     // pay line 1..5
    std::int16_t soundGroup = sound::MedalInsert;
    std::int16_t stopReel = 1;    // reel-stop group reel, 1..3
    std::int16_t effectFlag = 0;  // effect sound flag field, 0..19
    std::int16_t payoutFlag = 1;  // payout sound flag, 1..flagCount+1

    // A smaller reel data file leaves fewer flags: keep both flag selections on one that exists.
    void limitFlags(int flagCount);

    bool operator==(const SpecSelection&) const = default;
};

// The value of a number box text: its leading decimal number, rounded to a whole number
// (half to even), 0 for an empty or non-numeric start; held to 16 bits.
std::int16_t boxTextValue(const QString& text);

}  // namespace specboard
