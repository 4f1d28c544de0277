#pragma once

#include "reeldatadocument.h"

#include <QString>

#include <array>
#include <functional>

class Dialogs;
class QWidget;

inline constexpr char ProgramName[] = "reelboard";
inline constexpr char16_t WindowCaption[] = u"オルベーンエディターα ver1.51";

// The one document of the window and the selections every panel works on. Panels change
// the document through this and then ask the window to redraw what depends on it.
struct ReelEditor {
    ReelEditor(Dialogs& d, QWidget* w) : dialogs(d), window(w) {}

    ReelDataDocument doc;
    Dialogs& dialogs;
    QWidget* window;  // parent of dialogs and message boxes

    bool modified = false;       // ModifiedFlag
    QString reelFileFolder;      // folder of the last .sdf read, ending with "/"
    int formatVersion = 120;     // version of the last file read
    int currentSymbol = 0;       // 0..6
    int currentPrize = 0;        // 0..100
    int currentFlash = 1;        // 1..99
    int currentFrame = 1;        // 1..99
    // The reel position each check window cell shows; cell = reel * 5 + row.
    std::array<int, CheckCellCount> checkPositions{0, 20, 19, 18, 17, 0, 20, 19, 18, 17, 0, 20, 19, 18, 17};

    void setModified() { modified = true; }
};
