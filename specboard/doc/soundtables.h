#pragma once

#include <QString>
#include <array>
#include <cstdint>

// Which sound plays on which occasion of the machine, and with what probability.
// Sound numbers are 0 (silence) or 1..128 (an entry of the file table); probabilities are
// numerators over 65536. The tables are wider than what the .orf file stores; the extra
// slots stay 0.
namespace sound {

constexpr int SoundFileSlots = 129;  // 0 is silence, 1..128 are file names
constexpr int LastSoundNumber = 128;
constexpr int FlagSlots = 21;      // flag index 0..20 (flag number - 1)
constexpr int CandidateSlots = 7;  // 0..5 are shown, 6 exists
constexpr int StoredCandidates = 6;
constexpr int BonusStateSlots = 3;  // 0 after a big bonus is won, 1 after a regular one
constexpr int StoredBonusStates = 2;
constexpr int BonusGroupSlots = 2;  // 0 medal insert, 1 reel spin
constexpr int ReelSlots = 4;        // reels 0..2 and one unused slot
constexpr int StoredReels = 3;
constexpr int StoredStopFlags = 20;  // flag 20 of the reel-stop table is never stored
constexpr int PayStateSlots = 4;     // 0 normal, 1 big bonus, 2 regular bonus
constexpr int StoredPayStates = 3;
constexpr int PayTimingSlots = 3;  // 0 when the combination lines up, 1 on payout
constexpr int StoredPayTimings = 2;
constexpr int BgmSlots = 11;
constexpr int StoredBgm = 8;
constexpr int BigFirstPlaySlots = 7;  // 1..5 used

enum Group { MedalInsert = 0, ReelSpin = 1, ReelStop = 2 };
constexpr int GroupCount = 3;

// The candidate rows of the effect sound area: fields 0..11 are the two bonus blocks (state
// field / 6, candidate field % 6), fields 12..17 the block of the shown flag.
constexpr int BonusFields = 12;
constexpr int EffectFields = 18;
constexpr int FirstStopReel = 1;  // the reel-stop group shows reels 1..3, stored at 0..2
constexpr int LastStopReel = 3;
constexpr int LastEffectFlag = 19;  // the flag field counts from 0 and indexes the tables
constexpr int LastBigFirstPlay = 5;

// What the effect sound area shows: its group, the reel of the reel-stop group and the flag.
struct EffectPlace {
    int group = MedalInsert;
    int reel = FirstStopReel;
    int flag = 0;
};

inline const QString& silenceName() {
    static const QString name = QStringLiteral("無音");
    return name;
}

struct Candidate {
    std::int32_t probability = 0;
    std::int32_t sound = 0;
    bool operator==(const Candidate&) const = default;
};

struct StopFlagCandidate {
    std::int32_t probability = 0;
    std::int32_t sound = 0;
    std::int32_t afterFirstTwo = 0;  // 1: sounds only when the first or second stop sounded
    bool operator==(const StopFlagCandidate&) const = default;
};

template <typename T, int N>
using Table = std::array<T, N>;

struct SoundTables {
    SoundTables() { files[0] = silenceName(); }

    // Bare names of WAV or MIDI files; entry 0 is always silence and never stored.
    Table<QString, SoundFileSlots> files;
    // The ordinary sound of each group.
    Table<std::int16_t, 3> normalSound{};
    // [group][state][candidate], medal insert and reel spin.
    Table<Table<Table<Candidate, CandidateSlots>, BonusStateSlots>, BonusGroupSlots>
        bonusCandidates{};
    // [1..5]: the first play of big bonus 1 to 5, medal insert only.
    Table<std::int16_t, BigFirstPlaySlots> bigFirstPlaySound{};
    // [flag][candidate], reel spin, when the flag is won.
    Table<Table<Candidate, CandidateSlots>, FlagSlots> flagCandidates{};
    // [reel][state][candidate], reel stop.
    Table<Table<Table<Candidate, CandidateSlots>, BonusStateSlots>, ReelSlots>
        stopBonusCandidates{};
    Table<Table<Table<std::int16_t, CandidateSlots>, BonusStateSlots>, ReelSlots>
        stopBonusAfterFirstTwo{};
    // [reel][flag][candidate], reel stop.
    Table<Table<Table<StopFlagCandidate, CandidateSlots>, FlagSlots>, ReelSlots>
        stopFlagCandidates{};
    // [flag][state][timing].
    Table<Table<Table<std::int16_t, PayTimingSlots>, PayStateSlots>, FlagSlots> paySound{};
    std::int16_t paySoundFirst = 0;  // 1: the payout sound comes before the line-up sound
    Table<std::int16_t, BgmSlots> bgmSound{};

    // The file name of a sound number; empty for a number outside 0..128 (a damaged file
    // can hold any number, and the pages must not index past the table with it).
    QString fileName(int number) const {
        return number >= 0 && number < SoundFileSlots ? files[number] : QString();
    }

    bool operator==(const SoundTables&) const = default;
};

}  // namespace sound
