#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

// Where each reel window, button, lamp and numeric display lies on the cabinet pictures.
namespace pos {

constexpr int SlotCount = 9;    // picture slots 0..8: cabinet pictures 0..4, numeral pictures 5..8
constexpr int EntryCount = 33;  // placement entries 0..32
constexpr int LastEntry = EntryCount - 1;  // the count line of the file holds this number
constexpr int CorrectionEntryCount = 3;    // entries 0..2 (the reel windows) hold a correction
constexpr int PageCount = 3;
// The most characters a value field holds (and so the longest value a file may give).
constexpr int MaxValueLength = 32767;

// What an entry's value text stands for.
enum class ValueKind {
    Correction,      // entries 0..2: a whole number, "-" allowed
    LitPicture,      // the slot holding the lit picture of a button or lamp
    NumeralPicture,  // the slot holding the digits of a numeric display (entries 23..27)
};

inline bool isSlot(int slot) { return slot >= 0 && slot < SlotCount; }
inline bool isEntry(int entry) { return entry >= 0 && entry < EntryCount; }

// "0 - 筐体画像 1" ... "8 - 数値画像 4"; the slot number is the first character.
QString slotListText(int slot);
// The entry's caption, trailing blanks included ("右ストップボタン ").
QString entryCaption(int entry);
// Page 0, 1 or 2 on which the entry is shown.
int entryPage(int entry);
ValueKind valueKind(int entry);
// "補正値", "点灯画像" or "数値画像".
QString valueLabel(int entry);
// The value a new document holds and an emptied value field falls back to.
inline QString defaultValue() { return QStringLiteral("0"); }

}  // namespace pos

struct PictureSlot {
    QString fileName;  // bare name with extension; "" = the slot holds no picture
    QImage image;      // decoded picture; never written to the file
};

struct PlacementEntry {
    // Inclusive corners in pixels of the picture the rectangle was drawn on.
    std::int16_t left = 0;
    std::int16_t top = 0;
    std::int16_t right = 0;
    std::int16_t bottom = 0;
    // The text of the entry's value field as the window shows it; written to the file as it is.
    QString value = pos::defaultValue();

    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool operator==(const PlacementEntry&) const = default;
};

// "10 , 20 - 59 , 79": the rectangle as the status bar shows it.
QString rectangleText(const PlacementEntry& entry);
// " 10 , 20 - 59 , 79": the coordinate text shown beside the entry's caption.
QString coordinateText(const PlacementEntry& entry);
// "50 x 60".
QString sizeText(const PlacementEntry& entry);

class PositionDocument {
public:
    std::array<PictureSlot, pos::SlotCount> pictureSlots;
    std::array<PlacementEntry, pos::EntryCount> entries;

    // Names and entries equal; the decoded pictures are not compared.
    bool sameData(const PositionDocument& other) const;
};
