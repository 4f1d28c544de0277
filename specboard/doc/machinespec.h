#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

#include "reeltypes.h"
#include "soundtables.h"

// Index ranges of the machine tables. The tables are wider than what the .orf stores;
// the extra slots start at 0 and are never written.
namespace machine {

constexpr int FlagSlots = 21;     // flag index 0..20 = flag number 1..21
constexpr int MaxFlagCount = 20;  // the last prize index a reel data file may have here
constexpr int SettingSlots = 7;   // settings 1..6 are edited, 0 is stored as well
constexpr int FirstSetting = 1;
constexpr int LastSetting = 6;
constexpr int BetSlots = 4;  // 0..2 = 1, 2, 3 medals
constexpr int StoredBets = 3;
constexpr int StateSlots = 5;  // low, high probability, big bonus, regular bonus
constexpr int StoredStates = 4;
constexpr int BigSlots = 6;  // big bonus types 1..5 at 0..4
constexpr int StoredBigs = 5;
constexpr int CTEndSlots = 3;  // 0 net medal gain, 1 plays
constexpr int StoredCTEnds = 2;
constexpr int BonusEndSlots = 4;  // big games, big regulars, regular games, regular wins
constexpr int LineBetSlots = 4;
constexpr int LineSlots = 6;  // pay lines 1..5 at 0..4
constexpr int StoredLines = 5;
constexpr int LineCellSlots = 16;  // cell = reel * 5 + row, 0..14
constexpr int LineRows = 5;

template <typename T, int N>
using Table = std::array<T, N>;

using FlagProbTable =
    Table<Table<Table<Table<std::int32_t, StateSlots>, BetSlots>, SettingSlots>, FlagSlots>;
using LineCellTable = Table<Table<Table<std::int16_t, LineCellSlots>, LineSlots>, LineBetSlots>;
using LineAreaTable = Table<Table<std::int16_t, LineSlots>, LineBetSlots>;

}  // namespace machine

// What the machine takes from the reel data file it names: the lit symbol pictures, the
// number of flags and each flag's prize combination.
struct ReelDataInfo {
    std::int16_t flagCount = 0;  // the file's last prize index: flags 1..flagCount+1
    std::array<QImage, reel::SymbolCount> symbolPictures;  // null until loaded
    // Prize entry of each flag (flag number - 1); entries past flagCount are left as they were.
    std::array<reel::PrizeEntry, reel::PrizeSlotCount> flagPrize;

    ReelDataInfo();
    // The picture a prize symbol shows: a lit symbol picture, the built-in "any symbol"
    // picture for 100, a blank picture for any other number a damaged file may hold.
    QImage picture(int symbol) const;

    bool operator==(const ReelDataInfo&) const = default;
};

// The leading number of a box text the file stores: what its limit is checked against and
// what the box's number is made from.
struct LeadingNumber {
    bool negative = false;
    std::int64_t whole = 0;    // saturated digits before the point
    bool hasFraction = false;  // any non-zero digit after the point
    bool roundsUp = false;     // the fraction is above one half, or one half on an odd whole
};
LeadingNumber leadingNumber(const QString& text);

// The odds of a flag probability v over 65536, as "1/x" shows them: 65536 / v truncated to
// two decimals, in its shortest decimal form; "?" for no probability.
QString oddsText(std::int32_t v);

// One machine: referenced files, descriptions, flag probabilities, bonus rules, pay
// lines and sound assignments.
class MachineSpec {
public:
    MachineSpec();

    QString reelFileName;  // bare names of the files the machine uses
    QString controlFileName;
    QString bodyFileName;
    QString machineName;
    QString makerName;
    QString explanation;  // lines separated by CR LF

    machine::Table<std::int16_t, machine::SettingSlots> gensan{};  // 1..6 edited and stored
    machine::FlagProbTable flagProb{};  // [flag][setting][bet][state], over 65536
    std::int16_t counterReset = 0;      // switches, 0 or 1
    std::int16_t threeBetOnly = 0;
    std::int16_t hasCT = 0;
    machine::Table<std::int16_t, machine::BigSlots> ctEntryPct{};
    machine::Table<machine::Table<std::int16_t, machine::BigSlots>, machine::BigSlots>
        superBigPct{};

    // The CT end conditions and bonus end conditions are stored in the file as the texts
    // of their boxes (an empty box gives an empty line).
    const QString& ctEndConText(int i) const { return ctEndConText_[i]; }
    const QString& bonusEndText(int i) const { return bonusEndText_[i]; }
    // Set a box text as the box does: a number above the box's limit turns the text into
    // "0". Returns the text the box ends up with; a text it returned is kept as it is.
    QString setCTEndConText(int i, const QString& text);
    QString setBonusEndText(int i, const QString& text);

    machine::LineCellTable lineCell{};  // [bet][line][cell], 1 where the line passes
    machine::LineAreaTable lineArea{};  // [bet][line], region 0..5

    sound::SoundTables sound;
    ReelDataInfo reelData;

    bool operator==(const MachineSpec&) const = default;

private:
    machine::Table<QString, machine::StoredCTEnds> ctEndConText_;
    machine::Table<QString, machine::BonusEndSlots> bonusEndText_;
};
