#include "positiondocument.h"

namespace pos {

namespace {

// Captions as the window shows them, trailing blanks included.
constexpr const char* Captions[EntryCount] = {
    "左リール表示",      "中リール表示",      "右リール表示",     "左ストップボタン",
    "中ストップボタン",  "右ストップボタン ", "スタートレバー ",  "メタル投入口",
    "クレジットボタン ", "1BETボタン",        "2BETボタン ",      "MAXBETボタン ",
    "左ストップランプ",  "中ストップランプ",  "右ストップランプ", "ウェイトランプ",
    "リプレイランプ",    "Winランプ",         "スタートランプ",   "In Medalsランプ",
    "1BETランプ",        "2BETランプ",        "3BETランプ",       "クレジット",
    "払い出し",          "BB残りゲーム",      "RB残りゲーム",     "RB残り回数",
    "BETランプ 1",       "BETランプ 2",       "BETランプ 3",      "BETランプ 4",
    "BETランプ 5",
};

constexpr const char* SlotTexts[SlotCount] = {
    "0 - 筐体画像 1", "1 - 筐体画像 2", "2 - 筐体画像 3", "3 - 筐体画像 4", "4 - 筐体画像 5",
    "5 - 数値画像 1", "6 - 数値画像 2", "7 - 数値画像 3", "8 - 数値画像 4",
};

constexpr int FirstNumeralEntry = 23;  // credit, payout and the three bonus counters
constexpr int LastNumeralEntry = 27;
constexpr int FirstPage2Entry = 15;
constexpr int FirstPage3Entry = 28;

}  // namespace

QString slotListText(int slot) {
    return isSlot(slot) ? QString::fromUtf8(SlotTexts[slot]) : QString();
}

QString entryCaption(int entry) {
    return isEntry(entry) ? QString::fromUtf8(Captions[entry]) : QString();
}

int entryPage(int entry) {
    if (entry < FirstPage2Entry) return 0;
    return entry < FirstPage3Entry ? 1 : 2;
}

ValueKind valueKind(int entry) {
    if (entry < CorrectionEntryCount) return ValueKind::Correction;
    if (entry >= FirstNumeralEntry && entry <= LastNumeralEntry) return ValueKind::NumeralPicture;
    return ValueKind::LitPicture;
}

QString valueLabel(int entry) {
    switch (valueKind(entry)) {
        case ValueKind::Correction:
            return QStringLiteral("補正値");
        case ValueKind::LitPicture:
            return QStringLiteral("点灯画像");
        case ValueKind::NumeralPicture:
            return QStringLiteral("数値画像");
    }
    return {};
}

}  // namespace pos

QString rectangleText(const PlacementEntry& entry) {
    return QStringLiteral("%1 , %2 - %3 , %4")
        .arg(entry.left)
        .arg(entry.top)
        .arg(entry.right)
        .arg(entry.bottom);
}

QString coordinateText(const PlacementEntry& entry) {
    return QLatin1Char(' ') + rectangleText(entry);
}

QString sizeText(const PlacementEntry& entry) {
    return QStringLiteral("%1 x %2").arg(entry.width()).arg(entry.height());
}

bool PositionDocument::sameData(const PositionDocument& other) const {
    for (int s = 0; s < pos::SlotCount; ++s)
        if (pictureSlots[s].fileName != other.pictureSlots[s].fileName) return false;
    return entries == other.entries;
}
