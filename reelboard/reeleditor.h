#pragma once

#include <QObject>
#include <QString>
#include <array>

#include "editorsession.h"
#include "reeldatadocument.h"

namespace reelboard {

inline constexpr char ProgramName[] = "reelboard";
inline constexpr char16_t WindowCaption[] = u"オルベーンエディターα ver1.51";

// The reel data of the window and everything the editor keeps beside it: the session (the
// file it came from, its folder, the edit history, whether it holds unsaved work) and the
// symbol, prize, flash frame and check window positions being worked on. Every change goes
// through its methods, which emit what changed; the panels redraw from the document when they
// hear it. Every edit is one undo step, and undo and redo run through the same code as the
// edit, then select what they changed so that the author sees it.
class ReelEditor : public EditorSession {
    Q_OBJECT
public:
    explicit ReelEditor(QObject* parent = nullptr);

    const ReelDataDocument& document() const { return doc_; }

    // ---- File state
    // Folder of the last reel file read, ending with "/" ("" until then): its pictures are
    // looked up there and picture dialogs start there. Saving elsewhere does not move it.
    const QString& reelFileFolder() const { return folder(); }
    int formatVersion() const { return formatVersion_; }

    // Reads a reel file: on success it replaces the document, symbol, prize and frame go back
    // to their first entries (the flash action stays), the history is cleared and nothing is
    // unsaved; its warnings name the pictures that are PNG files. On failure nothing changes
    // and the result says why.
    FileResult load(const QString& path);
    // Writes the document; on success the file is the current one and nothing is unsaved.
    FileResult save(const QString& path);

    // ---- Selections
    int currentSymbol() const { return currentSymbol_; }  // 0..6
    int currentPrize() const { return currentPrize_; }    // 0..100
    int currentFlash() const { return currentFlash_; }    // 1..99
    int currentFrame() const { return currentFrame_; }    // 1..99
    // The reel position each check window cell shows; cell = reel * 5 + row.
    const std::array<int, CheckCellCount>& checkPositions() const { return checkPositions_; }

    // "<<" and ">>" of the picture panel. Symbol n + 1 is reachable only once symbol n has its
    // lit picture. A move counts as a change, as the picture panel has always counted it.
    void previousSymbol();
    void nextSymbol();
    // "<<" and ">>" of the prize editor. Only an entry with at least one symbol can be stepped
    // past; stepping past the last entry in use grows the table (a step of its own). A move
    // that shows other pays or kinds counts as a change: the boxes' texts change.
    void previousPrize();
    void nextPrize();
    // Moves to a flash action and frame (each kept within 1..99).
    void selectFrame(int action, int frame);
    // "<<" and ">>" of the flash editor's actions and frames: a new action only after the
    // current one has a timed first frame, a new frame only after the current one has a time.
    // Every press counts as a change, moving or not (it redraws the flash view); reaching a new
    // action grows the count of actions in use (a step of its own).
    void previousAction();
    void nextAction();
    void previousFrame();
    void nextFrame();
    // The frame a running preview shows (counts as a change); the frame display stays.
    void setPreviewFrame(int frame);
    // "↑" moves a reel's check view one position up the strip, "↓" one down. Only the view moves.
    void scrollCheckReel(int reelIndex, bool up);

    // ---- Edits, one undo step each (storing the value already held is no edit)
    // A picture chosen for a symbol and state. A lit picture also stands in every state that has
    // none yet. PictureSize is measured again from symbol 1's lit picture.
    void setSymbolPicture(int symbol, PictureState state, const QString& name,
                          const QImage& picture);
    void placeSymbol(int cell, int symbol);
    // One reel of a prize entry's combination: a symbol or AnySymbol.
    void setPrizeSymbol(int entry, int reelIndex, int symbol);
    // Typed: the keys typed into one pay or wait box merge into one step.
    void setPay(int entry, int state, int pay);
    void setKind(int entry, int state, int kind);
    void setFrameWait(int action, int frame, int wait);
    void toggleLamp(int action, int frame, int cell);
    // All lamps on or off; on a frame that already shows them so, only the flash view is
    // redrawn, which counts as a change.
    void setAllLamps(int action, int frame, bool on);

signals:
    void documentReplaced();
    void picturesChanged();
    // An undo or redo changed a picture of this state: the picture panel shows that state.
    void pictureStateRevealed(PictureState state);
    void arrangementChanged(int cell);
    void prizeSymbolsChanged(int entry);
    // Pays or kinds of an entry changed.
    void prizeEdited(int entry);
    // Lamps of a frame changed.
    void frameEdited(int action, int frame);
    void frameWaitChanged(int action, int frame);
    void symbolSelected(int symbol);
    void prizeSelected(int entry);
    void frameSelected(int action, int frame);
    void checkViewScrolled(int reelIndex);

private:
    // What a picture step changes: the symbol's names and pictures and the measured size.
    struct PictureSlotState {
        SymbolSlot slot;
        std::int16_t width = 0;
        std::int16_t height = 0;
    };
    // What growing a table changes: the count in use and the selection that reached it.
    struct PrizeGrowth {
        std::int16_t lastPrizeIndex = 0;
        int entry = 0;
    };
    struct ActionGrowth {
        std::int16_t flashActionCount = 0;
        int action = 1;
        int frame = 1;
    };
    using Lamps = std::array<std::int16_t, CheckCellCount>;

    FlashFrame& frameAt(int action, int frame) { return doc_.frame(action, frame); }
    // The edits as every step applies them: the value goes in, an undo or redo selects what
    // it changed, then the signal of the edit redraws.
    void applyPicture(int symbol, PictureState state, const PictureSlotState& value);
    void applyCell(int cell, reel::SymbolIndex symbol);
    void applyPrizeSymbol(int entry, int reelIndex, std::int16_t symbol);
    void applyPay(int entry, int state, std::int16_t pay);
    void applyKind(int entry, int state, reel::PrizeKind kind);
    void applyWait(int action, int frame, std::int16_t wait);
    void applyLamps(int action, int frame, const Lamps& lamps);
    void applyPrizeGrowth(const PrizeGrowth& growth);
    void applyActionGrowth(const ActionGrowth& growth);
    // An undo or redo shows the symbol, entry or frame it changed.
    void revealSymbol(int symbol);
    void revealPrize(int entry);
    void revealFrame(int action, int frame);

    ReelDataDocument doc_;
    int formatVersion_ = 120;
    int currentSymbol_ = 0;
    int currentPrize_ = 0;
    int currentFlash_ = 1;
    int currentFrame_ = 1;
    std::array<int, CheckCellCount> checkPositions_{0,  20, 19, 18, 17, 0,  20, 19,
                                                    18, 17, 0,  20, 19, 18, 17};
};

}  // namespace reelboard
