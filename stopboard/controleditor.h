#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "controldocument.h"
#include "editorsession.h"
#include "rcfformat.h"
#include "reeltypes.h"
#include "valuestep.h"

namespace stopboard {

inline constexpr char ProgramName[] = "stopboard";
inline constexpr char16_t WindowCaption[] = u"オルベーンエディターβ ver1.60";

// The key buttons of the assignment frames and the ticks of the special paste frames come in
// the same four groups: play state, bonus flag state, bet, stop order. Element n of a group
// sets that part of the key to n - first.
struct KeyGroup {
    const char16_t* title;
    int first;
    int count;
    std::array<const char16_t*, 6> captions;
};
inline constexpr int KeyElementCount = 16;
inline constexpr std::array<KeyGroup, 4> KeyGroups{{
    {u"プレイ状態", 0, 4, {u"通常時", u"BB中", u"RB中", u"CT中"}},
    {u"ボーナスフラグ状態", 4, 3, {u"ボーナス否成立", u"BB成立後", u"RB成立後"}},
    {u"投入枚数", 7, 3, {u"1BET", u"2BET", u"3BET"}},
    {u"押し順", 10, 6, {u"左中右", u"左右中", u"中左右", u"中右左", u"右左中", u"右中左"}},
}};
inline constexpr int BigBonusPlayState = 1;
inline constexpr int ChanceTimePlayState = 3;

// What the control editor takes from the loaded reel data file: the symbol pictures, the reel
// arrangement and the prizes that the won flags stand for.
struct ReelView {
    std::array<QImage, reel::SymbolCount> symbolPictures;  // lit pictures; null until loaded
    std::array<reel::SymbolIndex, reel::CellCount> arrangement{};
    // Flag f (1..20) stands for prize f - 1; entries past LastPrizeIndex keep older values.
    std::array<reel::PrizeEntry, control::FlagCount - 1> prizes{};
};

// A control file read aside: it replaces the document only once the window accepts it.
struct ControlFileRead {
    QString path;
    ControlDocument doc;
    rcf::ReadReport report;
};

// The reel control data of the window and everything kept beside it: the session of the
// control file (its path, the edit history, whether it holds unsaved work), the reel view of
// the loaded reel data file, the tables and the assignment key being worked on and the paste
// flag. Edits go through its methods, which keep tables, flags and positions in range and emit
// which view is to be shown again. Every edit is one undo step; undo and redo run through the
// same code and bring the view to the table or key they changed.
//
// A box shown again from the document stores what it shows: that counts as a change
// (markChanged), as it always has, but is no undo step.
class ControlEditor : public EditorSession {
    Q_OBJECT
public:
    explicit ControlEditor(QObject* parent = nullptr);

    const ControlDocument& document() const { return doc_; }
    const ReelView& reelView() const { return view_; }
    int lastFlag() const { return doc_.lastPrizeIndex() + 1; }
    // Flag 0 always; a prize flag when its prize pays or gives something in the play state.
    // No prize counts in the chance time state.
    bool prizeAvailable(int flag, int playState) const;
    // What a reel cell or a prize reel shows: the symbol's lit picture, the bar for any symbol,
    // the blank picture for anything else.
    QImage symbolPicture(int symbol) const;
    // The picture of reel `reelIndex` of a flag's prize; the blank picture for flag 0.
    QImage flagPicture(int flag, int reelIndex) const;
    const QImage& blankPicture() const { return blank_; }

    // ---- File state (the session's file is the control file)
    bool editingEnabled() const { return editingEnabled_; }
    // Folder of the last reel data or control file read, ending with "/" ("" until then).
    const QString& fileFolder() const { return folder(); }
    const QString& reelFilePath() const { return reelFilePath_; }

    enum class ReelLoad { Loaded, Unreadable, TooManyPrizes };
    // Reads a reel data file into the reel view. A file that does not read, or whose prizes do
    // not fit the flags of the control file, changes nothing and *reason says why. Pictures
    // that cannot be read keep what their slots held and are listed in *pictureProblems;
    // *pngPictures names those that are PNG files.
    ReelLoad loadReelData(const QString& path, QString* reason, QStringList* pictureProblems,
                          QStringList* pngPictures = nullptr);

    // Reads a control file aside in the layout of the loaded reel data; false and *reason
    // when it does not read. Nothing changes here.
    bool readControlFile(const QString& path, ControlFileRead& read, QString* reason) const;
    // The LastPrizeIndex the file was written for, when it is not the loaded one.
    std::optional<int> otherLayout(const ControlFileRead& read) const;
    // Takes the read file as the document: flag 0 is chosen, every view shown, the history
    // cleared and nothing unsaved.
    void adoptControlFile(ControlFileRead&& read);
    // Both steps, without asking about another layout.
    FileResult loadControlFile(const QString& path);
    // On success the file is the current one and nothing is unsaved.
    FileResult saveControlFile(const QString& path);

    // ---- Selections
    int currentStopTable() const { return stopTable_; }
    int currentBaseTable() const { return baseTable_; }
    const AssignmentKey& key() const { return key_; }
    int pasteFlag() const { return pasteFlag_; }
    int copySource() const { return copySource_; }

    // A table number typed into its box (1..512) becomes current and is shown.
    void setCurrentStopTable(int table);
    void setCurrentBaseTable(int table);
    // "<<" and ">>": one table on, within 1..512; the number and the table are shown.
    void stepStopTable(int delta);
    void stepBaseTable(int delta);

    // A key button clicked (element 0..15 as in KeyGroups). A play state also decides the
    // big type, whether the flag stays and which other buttons can be chosen.
    void chooseKeyElement(int element);
    bool keyElementSelected(int element) const;
    // Whether the play state lets the button be chosen (a regular bonus has one bonus flag
    // state, bet and stop order; a big bonus has no big bonus flag).
    bool keyElementAllowed(int element) const;

    // ">>" and "<<" of the flag: to the next or previous available prize; both then put the
    // first stop position back to 1.
    void nextFlag();
    void previousFlag();
    void nextBigType();
    void previousBigType();
    // A first stop position typed (kept within 1..21).
    void setFirstStop(int position);
    void nextFirstStop();
    void previousFirstStop();
    void nextPasteFlag();
    void previousPasteFlag();
    // The flag view: flag number, prize pictures, assignment box, then the stop table.
    void showFlagView();

    // ---- Edits, one undo step each. Typing into one box merges into one step per run of
    // typing (stop indexes, comments, slots, assignments).
    void setStopIndex(int table, int cell, int value);
    // Stored as the control file will hold it (see commentAsStored).
    void setComment(int table, const QString& text);
    // A comment as the control file gives it back: one field without a comma or an opening
    // quote, and only characters of the file's code page (others become "?").
    static QString commentAsStored(const QString& text);
    void setSlotProbability(int table, int slot, int probability);
    void setSlotTable(int table, int slot, int stopTable);
    void setAssignment(const AssignmentKey& key, int baseTable);
    // "コピー" remembers the current stop table; "ペースト" copies its stop indexes (not its
    // comment) onto the current one. Any paste counts as a change, also one that changes nothing.
    void copyStopTable();
    void pasteStopTable();
    // Every group needs at least one tick.
    static bool everyGroupTicked(const std::array<bool, KeyElementCount>& ticked);
    // Copies the 21 first stop assignments of the current key onto every big type of the
    // paste flag, for every ticked play state, bonus flag state, bet and stop order. False
    // (nothing written) when a group has no tick. The views are not shown again. The step keeps
    // only the entries it changed; its undo and redo show the key it was pasted from.
    bool specialPaste(const std::array<bool, KeyElementCount>& ticked);

signals:
    void editingEnabledChanged(bool enabled);
    void reelFileChanged(const QString& path);
    // New symbol pictures, arrangement or prizes.
    void reelViewChanged();
    // The number of the current table is to be written into its box.
    void stopTableSelected(int table);
    void baseTableSelected(int table);
    // The current table is to be shown again.
    void stopTableShown();
    void baseTableShown();
    // Play state, bonus flag state, bet, stop order or big type changed.
    void keyChanged();
    void flagViewShown();
    // The number to be written into the first stop box.
    void firstStopShown(int position);
    void pasteFlagShown();

private:
    struct PasteChanges;
    void setEditingEnabled();
    // Emits a signal that shows a view again; the boxes it rewrites store meanwhile.
    void redraw(void (ControlEditor::*shown)());
    // An edit from `before` to `after`: one step, or while a view is shown again a change that
    // is no step.
    template <typename Value, typename Apply>
    void store(const Value& before, const Value& after, Apply apply, TypingTarget typing);
    // The edits as every step applies them; an undo or redo then shows what it changed.
    void applyStopIndex(int table, int cell, std::int16_t value);
    void applyComment(int table, const QString& text);
    void applyStopTable(int table, const std::array<std::int16_t, reel::CellCount>& values);
    void applySlot(int table, int slot, const BaseSlot& value);
    void applyAssignment(const AssignmentKey& key, std::int16_t value);
    void applyPaste(const PasteChanges& changes, bool after);
    void revealStopTable(int table);
    void revealBaseTable(int table);
    void revealKey(const AssignmentKey& key);
    void choosePlayState(int state);
    // After a flag step: the first stop position goes back to 1.
    void resetFirstStop();

    ControlDocument doc_;
    ReelView view_;
    QImage blank_;
    QImage any_;
    bool editingEnabled_ = false;
    int showing_ = 0;  // views being shown again
    QString reelFilePath_;
    int stopTable_ = 1;
    int baseTable_ = 1;
    AssignmentKey key_;
    int pasteFlag_ = 0;
    int copySource_ = 1;
};

}  // namespace stopboard
