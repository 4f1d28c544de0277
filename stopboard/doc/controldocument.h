#pragma once

#include <QString>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "reeltypes.h"

// Table sizes and key ranges of the reel control data.
namespace control {

constexpr int StopTableCount = 512;  // stop tables 1..512
constexpr int BaseTableCount = 512;  // base tables 1..512
constexpr int SlotsPerBaseTable = 8;

constexpr int PlayStateCount = 4;  // 通常時, BB中, RB中, CT中
constexpr int RegularBonusPlayState = 2;
constexpr int BonusFlagStateCount = 3;
constexpr int BetCount = 3;
constexpr int StopOrderCount = 6;
constexpr int FlagCount = 21;  // flag 0 = no prize, flag f = prize entry f - 1
constexpr int BigTypeCount = 5;
constexpr int FirstStopCount = 21;  // first reel stop position 1..21

// Flags 0..LastPrizeIndex + 1 must fit the flag range.
constexpr int MaxLastPrizeIndex = FlagCount - 2;

// Entries of one flag: every big type and first stop position.
constexpr int EntriesPerFlag = BigTypeCount * FirstStopCount;
// Entries of one (play state, bonus flag state, bet, stop order) group over all flags.
constexpr int EntriesPerGroup = FlagCount * EntriesPerFlag;
constexpr int AssignmentCount =
    PlayStateCount * BonusFlagStateCount * BetCount * StopOrderCount * EntriesPerGroup;

// Key groups the control file carries: the regular bonus play state has only one.
constexpr int FileKeyGroups =
    (PlayStateCount - 1) * BonusFlagStateCount * BetCount * StopOrderCount + 1;
// Assignment lines the control file holds per flag.
constexpr int LinesPerFlag = FileKeyGroups * EntriesPerFlag;

// Assignment lines of a control file written with this LastPrizeIndex.
constexpr qsizetype assignmentLineCount(int lastPrizeIndex) {
    return qsizetype(LinesPerFlag) * (lastPrizeIndex + 2);
}

}  // namespace control

namespace control {

// Calls f(key) for the first key of each key group a control file carries, in the order of
// its lines (flag 0, big type 0, first stop 1). The regular bonus
// play state has one group; every other play state one per bonus flag state, bet and stop
// order. Within a group the dense table holds the flags 0..LastPrizeIndex + 1, big types
// and first stop positions in file order, so a group is one run of entries from key.index().
template <typename F>
void forEachFileGroup(F&& f);
// Calls f(key) for every assignment the control file carries, in the order of its lines.
template <typename F>
void forEachFileKey(int lastPrizeIndex, F&& f);

}  // namespace control

// One choice of a base table: a share of 256 and the stop table it picks.
struct BaseSlot {
    std::int16_t probability = 0;  // 0..256
    std::int16_t table = 0;        // stop table 1..512; 0 in a new document
    bool operator==(const BaseSlot&) const = default;
};

// The situation a base table is assigned to.
struct AssignmentKey {
    int playState = 0;       // 0..3
    int bonusFlagState = 0;  // 0..2
    int bet = 0;             // 0..2 (1 to 3 medals)
    int stopOrder = 0;       // 0..5
    int flag = 0;            // 0..20
    int bigType = 0;         // 0..4, shown as 1..5
    int firstStop = 1;       // 1..21

    bool isValid() const;
    // Place in the dense assignment table; the key must be valid.
    std::size_t index() const;
};

// The reel control data of one machine: stop tables, base tables, and the base table
// assigned to every play situation, with the LastPrizeIndex of the loaded reel data.
class ControlDocument {
public:
    ControlDocument();

    // Stop tables 1..512. A stop index per reel cell (reel * 21 + position).
    const QString& comment(int table) const { return comments_[table - 1]; }
    void setComment(int table, const QString& text) { comments_[table - 1] = text; }
    std::span<std::int16_t, reel::CellCount> stopTable(int table) {
        return std::span<std::int16_t, reel::CellCount>(&stops_[stopBase(table)], reel::CellCount);
    }
    std::span<const std::int16_t, reel::CellCount> stopTable(int table) const {
        return std::span<const std::int16_t, reel::CellCount>(&stops_[stopBase(table)],
                                                              reel::CellCount);
    }
    std::int16_t stopIndex(int table, int cell) const { return stops_[stopBase(table) + cell]; }
    void setStopIndex(int table, int cell, std::int16_t value) {
        stops_[stopBase(table) + cell] = value;
    }

    // Base tables 1..512, slots 0..7.
    const BaseSlot& baseSlot(int table, int slot) const { return base_[baseIndex(table, slot)]; }
    BaseSlot& baseSlot(int table, int slot) { return base_[baseIndex(table, slot)]; }

    // The base table number assigned to a key; the key must be valid.
    std::int16_t assignment(const AssignmentKey& key) const { return assignments_[key.index()]; }
    void setAssignment(const AssignmentKey& key, std::int16_t baseTable) {
        assignments_[key.index()] = baseTable;
    }
    // The whole dense table, in key order, for bulk reading and writing.
    std::span<std::int16_t> assignments() { return assignments_; }
    std::span<const std::int16_t> assignments() const { return assignments_; }

    // The LastPrizeIndex of the loaded reel data: it fixes how many flags the control
    // file holds. Values outside 0..19 do not fit the flag range and are refused with
    // a message for the user; the document keeps its value then.
    int lastPrizeIndex() const { return lastPrizeIndex_; }
    bool setLastPrizeIndex(int value, QString* error = nullptr);

    bool operator==(const ControlDocument&) const = default;

private:
    static std::size_t stopBase(int table) { return std::size_t(table - 1) * reel::CellCount; }
    static std::size_t baseIndex(int table, int slot) {
        return std::size_t(table - 1) * control::SlotsPerBaseTable + slot;
    }

    std::vector<QString> comments_;
    std::vector<std::int16_t> stops_;
    std::vector<BaseSlot> base_;
    std::vector<std::int16_t> assignments_;
    int lastPrizeIndex_ = 0;
};

template <typename F>
void control::forEachFileGroup(F&& f) {
    for (int s = 0; s < PlayStateCount; ++s) {
        // During a regular bonus there is no bonus flag, bet or stop order to tell apart.
        const bool single = s == RegularBonusPlayState;
        for (int b = 0; b < (single ? 1 : BonusFlagStateCount); ++b)
            for (int bet = 0; bet < (single ? 1 : BetCount); ++bet)
                for (int o = 0; o < (single ? 1 : StopOrderCount); ++o)
                    f(AssignmentKey{s, b, bet, o, 0, 0, 1});
    }
}

template <typename F>
void control::forEachFileKey(int lastPrizeIndex, F&& f) {
    forEachFileGroup([&](AssignmentKey k) {
        for (k.flag = 0; k.flag <= lastPrizeIndex + 1; ++k.flag)
            for (k.bigType = 0; k.bigType < BigTypeCount; ++k.bigType)
                for (k.firstStop = 1; k.firstStop <= FirstStopCount; ++k.firstStop)
                    f(std::as_const(k));
    });
}
