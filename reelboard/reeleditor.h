#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

#include "reeldatadocument.h"

inline constexpr char ProgramName[] = "reelboard";
inline constexpr char16_t WindowCaption[] = u"オルベーンエディターα ver1.51";

// The reel data of the window and everything the editor keeps beside it: the file it came
// from, whether it holds unsaved work, and the symbol, prize, flash frame and check window
// positions being worked on. Every change goes through its methods, which emit what changed;
// the panels redraw from the document when they hear it.
class ReelEditor : public QObject {
    Q_OBJECT
public:
    explicit ReelEditor(QObject* parent = nullptr);

    const ReelDataDocument& document() const { return doc_; }

    // ---- File state
    bool isModified() const { return modified_; }  // ModifiedFlag
    void setModified(bool modified = true);
    // The file last read or written ("" until then).
    const QString& filePath() const { return filePath_; }
    // Folder of the last reel file read, ending with "/" ("" until then): its pictures are
    // looked up there and picture dialogs start there. Saving elsewhere does not move it.
    const QString& reelFileFolder() const { return reelFileFolder_; }
    int formatVersion() const { return formatVersion_; }

    // Reads a reel file: on success it replaces the document, symbol, prize and frame go back
    // to their first entries (the flash action stays), and the document counts as saved. On
    // failure nothing changes and *reason says why. *pngPictures gets the names of the
    // pictures that are PNG files.
    bool load(const QString& path, QString* reason, QStringList* pngPictures = nullptr);
    // Writes the document; on success the file is the current one and the document is saved.
    bool save(const QString& path, QString* reason);

    // ---- Selections
    int currentSymbol() const { return currentSymbol_; }  // 0..6
    int currentPrize() const { return currentPrize_; }    // 0..100
    int currentFlash() const { return currentFlash_; }    // 1..99
    int currentFrame() const { return currentFrame_; }    // 1..99
    // The reel position each check window cell shows; cell = reel * 5 + row.
    const std::array<int, CheckCellCount>& checkPositions() const { return checkPositions_; }

    // "<<" and ">>" of the picture panel. Symbol n + 1 is reachable only once symbol n has its
    // lit picture. A move is unsaved work, as the picture panel has always counted it.
    void previousSymbol();
    void nextSymbol();
    // "<<" and ">>" of the prize editor. Only an entry with at least one symbol can be stepped
    // past; stepping past the last entry in use grows the table.
    void previousPrize();
    void nextPrize();
    // Moves to a flash action and frame (each kept within 1..99).
    void selectFrame(int action, int frame);
    // "<<" and ">>" of the flash editor's actions and frames: a new action only after the
    // current one has a timed first frame, a new frame only after the current one has a time.
    void previousAction();
    void nextAction();
    void previousFrame();
    void nextFrame();
    // The frame a running preview shows; the frame display stays where it was.
    void setPreviewFrame(int frame);
    // "↑" moves a reel's check view one position up the strip, "↓" one down. Only the view moves.
    void scrollCheckReel(int reelIndex, bool up);

    // ---- Edits
    // A picture chosen for a symbol and state. A lit picture also stands in every state that has
    // none yet. PictureSize is measured again from symbol 1's lit picture.
    void setSymbolPicture(int symbol, PictureState state, const QString& name, const QImage& picture);
    void placeSymbol(int cell, int symbol);
    // One reel of a prize entry's combination: a symbol or AnySymbol.
    void setPrizeSymbol(int entry, int reelIndex, int symbol);
    void setPay(int entry, int state, int pay);
    void setKind(int entry, int state, int kind);
    void setFrameWait(int action, int frame, int wait);
    void toggleLamp(int action, int frame, int cell);
    void setAllLamps(int action, int frame, bool on);

signals:
    void documentReplaced();
    void modifiedChanged(bool modified);
    void fileChanged(const QString& path);
    void picturesChanged();
    void arrangementChanged(int cell);
    void prizeSymbolsChanged(int entry);
    // Lamps of a frame changed.
    void frameEdited(int action, int frame);
    void symbolSelected(int symbol);
    void prizeSelected(int entry);
    void frameSelected(int action, int frame);
    void checkViewScrolled(int reelIndex);

private:
    FlashFrame& frameAt(int action, int frame) { return doc_.frame(action, frame); }
    void measurePictureSize();
    void setFile(const QString& path);

    ReelDataDocument doc_;
    bool modified_ = false;
    QString filePath_;
    QString reelFileFolder_;
    int formatVersion_ = 120;
    int currentSymbol_ = 0;
    int currentPrize_ = 0;
    int currentFlash_ = 1;
    int currentFrame_ = 1;
    std::array<int, CheckCellCount> checkPositions_{0, 20, 19, 18, 17, 0, 20, 19, 18, 17, 0, 20, 19, 18, 17};
};
