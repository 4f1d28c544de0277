#pragma once

#include <array>

#include "reeltypes.h"

class PictureBox;
class QLabel;
class QPushButton;
class QWidget;

namespace stopboard {

class ControlEditor;

// The row that shows a won flag: "Index", "<<", the flag's number, ">>" and the pictures of
// its prize's three reels. The assignment key and the special paste each have one.
struct FlagRow {
    QPushButton* previous = nullptr;
    QLabel* number = nullptr;
    QPushButton* next = nullptr;
    std::array<PictureBox*, reel::ReelCount> pictures{};

    // The number and the prize pictures; the blank picture for flag 0.
    void show(const ControlEditor& editor, int flag) const;
};

struct FlagRowNames {
    const char* label;
    const char* previous;
    const char* number;
    const char* next;
    const char* pictures;  // followed by _0.._2
};

FlagRow makeFlagRow(QWidget* frame, int y, const FlagRowNames& names);

}  // namespace stopboard
