#include "sampledocs.h"

#include <QRandomGenerator>

namespace sample {

namespace {

enum Symbol : std::int16_t { Red7, Blue7, Bar, Bell, Melon, Cherry, Replay };
constexpr std::int16_t Any = reel::AnySymbol;

// Position 0 (bottom, "01") to 20 ("21") of each reel.
constexpr std::int16_t Strips[3][21] = {
    {Red7,  Bell, Replay, Melon,  Cherry, Bell,   Replay, Bar,   Bell, Replay, Blue7,
     Melon, Bell, Replay, Cherry, Bell,   Replay, Red7,   Melon, Bell, Replay},
    {Bell,  Replay, Red7, Melon,  Bell,   Replay, Cherry, Bar,  Replay, Bell, Melon,
     Blue7, Replay, Bell, Cherry, Replay, Bell,   Melon,  Red7, Replay, Bell},
    {Replay, Bell,   Melon, Red7, Replay, Bell,   Bar,  Cherry, Replay, Bell, Blue7,
     Melon,  Replay, Bell,  Red7, Cherry, Replay, Bell, Melon,  Bar,    Bell},
};

struct Prize {
    std::array<std::int16_t, 3> symbols, pays, kinds;
};
// Kinds: 1 ビッグ1, 2 ビッグ2, 6 レギラー, 7 リプレイ.
const Prize Prizes[] = {
    {{Red7, Red7, Red7}, {0, 0, 0}, {1, 0, 0}},
    {{Blue7, Blue7, Blue7}, {0, 0, 0}, {2, 0, 0}},
    {{Bar, Bar, Bar}, {0, 0, 0}, {6, 0, 0}},
    {{Bell, Bell, Bell}, {8, 15, 15}, {0, 0, 0}},
    {{Melon, Melon, Melon}, {15, 15, 15}, {0, 0, 0}},
    {{Cherry, Any, Any}, {2, 2, 2}, {0, 0, 0}},
    {{Replay, Replay, Replay}, {0, 0, 15}, {7, 7, 0}},
};
constexpr int SampleLastPrize = int(std::size(Prizes)) - 1;

// Flags of the control and machine files: flag f stands for prize f - 1.
enum Flag {
    NoPrize = 0,
    FlagRed7,
    FlagBlue7,
    FlagBar,
    FlagBell,
    FlagMelon,
    FlagCherry,
    FlagReplay
};

// Stop tables: 1 stops where pressed, 2..6 pull a symbol in, 7 keeps the bonus symbols out.
constexpr int PlainTable = 1, PullRed7 = 2, PullBlue7 = 3, PullBar = 4, PullBell = 5,
              PullReplay = 6, KeepOut = 7;

// How far each reel slides after the press at each position (0..4): to the first
// position whose symbol `wanted` accepts.
template <typename Wanted>
void fillSlides(ControlDocument& doc, int table, Wanted wanted) {
    for (int r = 0; r < reel::ReelCount; ++r)
        for (int p = 0; p < reel::PositionCount; ++p) {
            std::int16_t slide = 0;
            for (int s = 0; s <= 4; ++s)
                if (wanted(Strips[r][(p + s) % reel::PositionCount])) {
                    slide = std::int16_t(s);
                    break;
                }
            doc.setStopIndex(table, reel::cellOf(r, p), slide);
        }
}

// Base tables: 1..7 each pick their stop table; 5 pulls the bell in three games of four.
void fillBaseTables(ControlDocument& doc) {
    for (int t = PlainTable; t <= KeepOut; ++t) doc.baseSlot(t, 0) = {256, std::int16_t(t)};
    doc.baseSlot(PullBell, 0) = {192, PullBell};
    doc.baseSlot(PullBell, 1) = {64, PlainTable};
}

// The base table of each key.
int baseTableFor(const AssignmentKey& k) {
    switch (k.flag) {
        case NoPrize:
            // A won bonus waits for its symbols; otherwise the bonus symbols stay out.
            if (k.playState == 0 || k.playState == 3) {
                if (k.bonusFlagState == 1) return k.bigType == 1 ? PullBlue7 : PullRed7;
                if (k.bonusFlagState == 2) return PullBar;
                return KeepOut;
            }
            return PlainTable;
        case FlagRed7:
            return PullRed7;
        case FlagBlue7:
            return PullBlue7;
        case FlagBar:
            return PullBar;
        case FlagBell:
            return PullBell;
        case FlagReplay:
            return PullReplay;
        default:
            return PlainTable;
    }
}

void setLamps(FlashFrame& frame, auto on) {
    for (int cell = 0; cell < CheckCellCount; ++cell)
        frame.lamps[cell] = on(cell / 5, cell % 5) ? 1 : 0;
}

}  // namespace

QString names::symbol(int index, int state) {
    static const char* const suffix[] = {"", "_off", "_fl"};
    return QStringLiteral("sym%1%2.bmp").arg(index + 1).arg(QLatin1String(suffix[state]));
}

ReelDataDocument reelData() {
    ReelDataDocument doc;
    for (int s = 0; s < reel::SymbolCount; ++s) {
        SymbolSlot& slot = doc.symbols[s];
        slot.names[int(PictureState::Lit)] = names::symbol(s, 0);
        slot.names[int(PictureState::Unlit)] = names::symbol(s, 1);
        slot.names[int(PictureState::Flash)] = names::symbol(s, 2);
        slot.names[int(PictureState::Blink)] = names::symbol(s, 0);
    }
    doc.pictureWidth = 72 * 15;
    doc.pictureHeight = 36 * 15;
    for (int r = 0; r < reel::ReelCount; ++r)
        for (int p = 0; p < reel::PositionCount; ++p)
            doc.arrangement[reel::cellOf(r, p)] = Strips[r][p];
    for (int e = 0; e <= SampleLastPrize; ++e)
        doc.prizes[e] = {Prizes[e].symbols, Prizes[e].pays, Prizes[e].kinds};
    doc.lastPrizeIndex = SampleLastPrize;

    // Action 1: the window blinks down to its middle row. Action 2: a sweep from the left
    // reel to the right.
    doc.flashActionCount = 2;
    setLamps(doc.frame(1, 1), [](int, int row) { return row >= 1 && row <= 3; });
    doc.frame(1, 1).wait = 150;
    setLamps(doc.frame(1, 2), [](int, int row) { return row == 2; });
    doc.frame(1, 2).wait = 150;
    setLamps(doc.frame(1, 3), [](int, int) { return false; });
    doc.frame(1, 3).wait = 150;
    setLamps(doc.frame(1, 4), [](int, int row) { return row == 2; });
    doc.frame(1, 4).wait = 0;
    for (int r = 0; r < reel::ReelCount; ++r) {
        setLamps(doc.frame(2, r + 1), [r](int reelIndex, int) { return reelIndex == r; });
        doc.frame(2, r + 1).wait = 120;
    }
    setLamps(doc.frame(2, 4), [](int, int) { return true; });
    doc.frame(2, 4).wait = 0;
    return doc;
}

ControlDocument control(int lastPrizeIndex) {
    ControlDocument doc;
    doc.setLastPrizeIndex(lastPrizeIndex);
    doc.setComment(PlainTable, QStringLiteral("通常（すべりなし）"));
    doc.setComment(PullRed7, QStringLiteral("赤7 引き込み"));
    doc.setComment(PullBlue7, QStringLiteral("青7 引き込み"));
    doc.setComment(PullBar, QStringLiteral("BAR 引き込み"));
    doc.setComment(PullBell, QStringLiteral("ベル 引き込み"));
    doc.setComment(PullReplay, QStringLiteral("リプレイ 引き込み"));
    doc.setComment(KeepOut, QStringLiteral("ボーナス図柄はずし"));
    fillSlides(doc, PullRed7, [](int s) { return s == Red7; });
    fillSlides(doc, PullBlue7, [](int s) { return s == Blue7; });
    fillSlides(doc, PullBar, [](int s) { return s == Bar; });
    fillSlides(doc, PullBell, [](int s) { return s == Bell; });
    fillSlides(doc, PullReplay, [](int s) { return s == Replay; });
    fillSlides(doc, KeepOut, [](int s) { return s != Red7 && s != Blue7 && s != Bar; });
    fillBaseTables(doc);
    control::forEachFileKey(lastPrizeIndex, [&](const AssignmentKey& k) {
        doc.setAssignment(k, std::int16_t(baseTableFor(k)));
    });
    return doc;
}

MachineSpec machine() {
    MachineSpec m;
    m.reelFileName = names::ReelData;
    m.controlFileName = names::Control;
    m.bodyFileName = names::Positions;
    m.machineName = QStringLiteral("サンプル機");
    m.makerName = QStringLiteral("機種データエディタ開発チーム");
    m.explanation = QStringLiteral(
        "図柄7種、役7つ（ビッグ2種・レギュラー・小役3種・リプレイ）の小さな見本です。\r\n"
        "赤7揃いでビッグ1、青7揃いでビッグ2（CT突入あり）、BAR揃いでレギュラー。\r\n"
        "各エディタで開いて中身を確かめてください。");

    // Probabilities over 65536 per flag (prize 0..6), setting 1..6, bet and state:
    // low probability, high probability, during a big bonus, during a regular bonus.
    const std::int32_t perFlag[7][4] = {
        {160, 320, 0, 0},          // 赤7: ビッグ1
        {110, 220, 0, 0},          // 青7: ビッグ2
        {180, 360, 0, 0},          // BAR: レギュラー
        {9000, 9000, 40000, 0},    // ベル
        {700, 700, 2000, 0},       // スイカ
        {1800, 1800, 1000, 0},     // チェリー
        {8980, 8980, 3000, 60000}  // リプレイ (JAC during a regular bonus)
    };
    for (int f = 0; f < 7; ++f)
        for (int setting = machine::FirstSetting; setting <= machine::LastSetting; ++setting)
            for (int bet = 0; bet < machine::StoredBets; ++bet)
                for (int state = 0; state < machine::StoredStates; ++state) {
                    std::int32_t v = perFlag[f][state];
                    // Higher settings draw the bonuses a little more often.
                    if (f <= 2) v += v * (setting - 1) / 10;
                    m.flagProb[f][setting][bet][state] = v;
                }
    m.hasCT = 1;
    m.ctEntryPct[1] = 50;  // ビッグ2 enters CT one time in two
    m.setCTEndConText(0, QStringLiteral("150"));
    m.setCTEndConText(1, QStringLiteral("0"));
    for (int big = 0; big < machine::StoredBigs; ++big) m.superBigPct[big][big] = 100;
    m.setBonusEndText(0, QStringLiteral("30"));
    m.setBonusEndText(1, QStringLiteral("3"));
    m.setBonusEndText(2, QStringLiteral("12"));
    m.setBonusEndText(3, QStringLiteral("8"));

    // Pay lines by rows of the left, centre and right reel: 1BET the middle row, 2BET
    // the three rows, 3BET the rows and both diagonals.
    const int lines[5][3] = {{2, 2, 2}, {1, 1, 1}, {3, 3, 3}, {1, 2, 3}, {3, 2, 1}};
    const int linesPerBet[3] = {1, 3, 5};
    for (int bet = 0; bet < machine::StoredBets; ++bet)
        for (int l = 0; l < linesPerBet[bet]; ++l)
            for (int r = 0; r < reel::ReelCount; ++r)
                m.lineCell[bet][l][r * machine::LineRows + lines[l][r]] = 1;

    sound::SoundTables& t = m.sound;
    t.files[1] = names::Chime;
    t.files[2] = names::Fanfare;
    t.normalSound[sound::MedalInsert] = 1;
    // After a big bonus is won the chime is a candidate of the medal insert, 1 in 8.
    t.bonusCandidates[sound::MedalInsert][0][0] = {8192, 1};
    for (int state = 0; state < 3; ++state) t.paySound[FlagBell - 1][state][1] = 1;
    t.paySound[FlagMelon - 1][0][1] = 1;
    for (int i = 0; i <= 5; ++i) t.bgmSound[i] = 2;  // the regular and the big bonuses
    return m;
}

PositionDocument positions() {
    PositionDocument doc;
    doc.pictureSlots[0].fileName = names::Cabinet;
    doc.pictureSlots[1].fileName = names::CabinetLit;
    doc.pictureSlots[5].fileName = names::Digits;
    // Rectangles (left, top, right, bottom) as cabinet() draws them; lamps and buttons
    // take their lit look from slot 1, the displays their digits from slot 5.
    struct Place {
        int l, t, r, b;
        const char* value;
    };
    const Place places[pos::EntryCount] = {
        {46, 112, 117, 219, "0"},  {124, 112, 195, 219, "0"}, {202, 112, 273, 219, "0"},
        {60, 362, 103, 391, "1"},  {138, 362, 181, 391, "1"}, {216, 362, 259, 391, "1"},
        {14, 350, 41, 409, "1"},   {250, 290, 289, 299, "1"}, {30, 290, 69, 309, "1"},
        {80, 290, 109, 309, "1"},  {116, 290, 145, 309, "1"}, {152, 290, 201, 309, "1"},
        {60, 350, 103, 356, "1"},  {138, 350, 181, 356, "1"}, {216, 350, 259, 356, "1"},
        {20, 20, 67, 39, "1"},     {78, 20, 125, 39, "1"},    {136, 20, 183, 39, "1"},
        {194, 20, 241, 39, "1"},   {252, 20, 299, 39, "1"},   {20, 56, 67, 71, "1"},
        {78, 56, 125, 71, "1"},    {136, 56, 183, 71, "1"},   {30, 240, 61, 263, "5"},
        {246, 240, 277, 263, "5"}, {84, 240, 115, 263, "5"},  {138, 240, 169, 263, "5"},
        {192, 240, 223, 263, "5"}, {10, 116, 23, 129, "1"},   {10, 137, 23, 150, "1"},
        {10, 158, 23, 171, "1"},   {10, 179, 23, 192, "1"},   {10, 200, 23, 213, "1"},
    };
    for (int e = 0; e < pos::EntryCount; ++e) {
        PlacementEntry& entry = doc.entries[e];
        entry.left = std::int16_t(places[e].l);
        entry.top = std::int16_t(places[e].t);
        entry.right = std::int16_t(places[e].r);
        entry.bottom = std::int16_t(places[e].b);
        entry.value = QString::fromLatin1(places[e].value);
    }
    return doc;
}

ReelDataDocument largeReelData() {
    ReelDataDocument doc = reelData();
    // Twenty prizes: the sample's seven, then every pair of a symbol on the left and
    // centre reel with anything on the right.
    int e = SampleLastPrize + 1;
    for (std::int16_t s = 0; s < reel::SymbolCount && e < 20; ++s)
        for (std::int16_t t = 0; t < reel::SymbolCount && e < 20; ++t, ++e)
            doc.prizes[e] = {{s, t, Any}, {std::int16_t(e % 16), 1, 1}, {0, 0, 0}};
    doc.lastPrizeIndex = 19;
    return doc;
}

ControlDocument variedControl(int lastPrizeIndex) {
    ControlDocument doc;
    doc.setLastPrizeIndex(lastPrizeIndex);
    QRandomGenerator rng(20250115);
    for (int t = 1; t <= control::StopTableCount; ++t) {
        if (rng.bounded(4) == 0) doc.setComment(t, QStringLiteral("テーブル %1").arg(t));
        for (std::int16_t& v : doc.stopTable(t)) v = std::int16_t(rng.bounded(5));
        // Shares of 256 over a few slots.
        int left = 256;
        const int used = 1 + int(rng.bounded(8));
        for (int s = 0; s < used; ++s) {
            const int share = s == used - 1 ? left : int(rng.bounded(left + 1));
            left -= share;
            doc.baseSlot(t, s) = {std::int16_t(share), std::int16_t(rng.bounded(1, 513))};
        }
    }
    control::forEachFileKey(lastPrizeIndex, [&](const AssignmentKey& k) {
        doc.setAssignment(k, std::int16_t(rng.bounded(1, 513)));
    });
    return doc;
}

}  // namespace sample
