#pragma once

#include <QByteArray>
#include <QList>

// Where the values of each data file stand, so that a finding can name its line. The
// readers take fields whatever line they are on; these places are those of the files
// the editors write, found from the section headers where a section can move.
namespace check {

// The lines of a text as the field reader counts them: CR LF, a lone CR or a lone LF
// ends a line.
class TextLines {
public:
    explicit TextLines(const QByteArray& bytes);
    int count() const { return int(starts_.size()); }
    // Line n (1-based) without its line end; empty past the end.
    QByteArray line(int n) const;
    // The first line from `from` on that, after leading blanks, equals `text` (or begins
    // with '#' for findHeader); 0 when there is none.
    int find(const char* text, int from = 1) const;
    int findHeader(int from = 1) const;

private:
    QByteArray bytes_;
    QList<qsizetype> starts_;
    QList<qsizetype> ends_;
};

// .sdf: a file with the version line writes its headers on lines 4, 55 and 57.
struct SdfLines {
    int namesHeader = 4;
    int prizeCountHeader = 55;
    int prizeHeader = 57;
    explicit SdfLines(const TextLines& text);
    int name(int symbol, int state) const { return namesHeader + 1 + symbol * 4 + state; }
    int lastPrizeIndex() const { return prizeCountHeader + 1; }
    // group 0 symbols, 1 pays, 2 kinds
    int prize(int entry, int group) const { return prizeHeader + 1 + entry * 3 + group; }
};

// "dummy.dat" of a .rcf: 22 lines per stop table, 8 per base table, then assignments.
namespace rcflines {
constexpr int comment(int table) { return (table - 1) * 22 + 1; }
constexpr int stops(int table, int position) { return comment(table) + 1 + position; }
constexpr int base(int table, int slot) { return 512 * 22 + (table - 1) * 8 + slot + 1; }
constexpr int FirstAssignment = 512 * 22 + 512 * 8 + 1;
}  // namespace rcflines

// .orf: four sections; the description may span any number of lines.
struct OrfLines {
    int filesHeader = 1;
    int machineHeader = 11;
    int soundHeader = 568;
    int effectHeader = 1251;
    explicit OrfLines(const TextLines& text);

    int reelFileName() const { return filesHeader + 1; }
    int controlFileName() const { return filesHeader + 2; }
    int bodyFileName() const { return filesHeader + 3; }
    int gensan(int setting) const { return machineHeader + setting; }
    int flagProb(int flag, int setting, int bet) const {
        return machineHeader + 7 + (flag * 7 + setting) * 3 + bet;
    }
    int ctEntryPct(int big) const { return machineHeader + 451 + big; }
    int ctEndCon(int i) const { return machineHeader + 456 + i; }
    int superBigPct(int big) const { return machineHeader + 458 + big; }
    int bonusEnd(int i) const { return machineHeader + 463 + i; }
    int payLine(int bet, int line) const { return machineHeader + 467 + (bet * 5 + line) * 6; }
    int lineArea(int bet, int line) const { return payLine(bet, line) + 5; }

    int soundFile(int number) const { return soundHeader + number; }
    int normalSound(int group) const {
        return soundHeader + (group == 0 ? 129 : group == 1 ? 147 : 286);
    }
    int bonusCandidate(int group, int state, int c) const {
        return soundHeader + (group == 0 ? 130 : 148) + state * 6 + c;
    }
    int bigFirstPlay(int big) const { return soundHeader + 141 + big; }
    int flagCandidate(int flag, int c) const { return soundHeader + 160 + flag * 6 + c; }
    int stopBonusCandidate(int reel, int state, int c) const {
        return soundHeader + 287 + (reel * 2 + state) * 6 + c;
    }
    int stopFlagCandidate(int reel, int flag, int c) const {
        return soundHeader + 323 + (reel * 20 + flag) * 6 + c;
    }
    int paySound(int flag, int timing) const { return effectHeader + 1 + flag * 2 + timing; }
    int bgm(int i, int flagCount) const { return effectHeader + 2 + 2 * (flagCount + 1) + i; }
};

// .ppf: nine names, the count line, 33 entries.
namespace ppflines {
constexpr int slot(int s) { return s + 1; }
constexpr int Count = 10;
constexpr int entry(int e) { return 11 + e; }
}  // namespace ppflines

}  // namespace check
