#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "editorsession.h"
#include "machinespec.h"
#include "orfformat.h"
#include "specselection.h"

namespace specboard {

inline constexpr char ProgramName[] = "specboard";
inline constexpr char16_t WindowCaption[] = u"オルベーンエディターω ver1.30";

// The machine of the window and everything the editor keeps beside it: the session (the
// machine file it came from, its folder, where the reel data file, its pictures and the music
// are looked up, the edit history, whether it holds unsaved work) and the flag, setting, bet,
// big bonus and pay line the pages show. Every change goes through its methods, which keep the
// machine's ranges and emit what changed; the pages redraw from the machine when they hear it.
//
// Edits take table indices (flag index = flag number - 1); a value outside the range its box
// can hold is not stored. Storing the value a field already holds is not an edit. Every edit is
// one undo step; typing into one box merges into one step. An undo or redo selects the flag,
// setting, reel or sound it changed and shows its page, so the author sees what came back.
class SpecEditor : public EditorSession {
    Q_OBJECT
public:
    // The window's pages, in the order of its tabs.
    enum class Page { General, Bonus, EffectSound, PayoutSound };

    explicit SpecEditor(QObject* parent = nullptr);

    const MachineSpec& document() const { return doc_; }
    const SpecSelection& selection() const { return selection_; }

    // ---- File state
    // Folder of the machine file last loaded, ending with "/" ("" until then). The reel data file
    // and its pictures are looked up there; saving elsewhere does not move it.
    const QString& specFolder() const { return specFolder_; }
    bool machineFileLoaded() const { return !specFolder_.isEmpty(); }
    // Bare name of the machine file last loaded or saved ("" until then), and its full path.
    const QString& specFileName() const { return specFileName_; }
    const QString& specFilePath() const { return specFilePath_; }
    // Where the machine file dialogs start: the folder of the machine file last loaded or saved, ""
    // (the working folder) until then.
    const QString& dialogFolder() const { return dialogFolder_; }

    // The flags of the reel data read so far: 1..lastFlag().
    int flagCount() const;
    int lastFlag() const { return flagCount() + 1; }

    // Reads a machine file and the reel data file it names. On success the machine is replaced, the
    // flag selections are kept on flags that exist, the history is cleared and the machine counts
    // as saved; on failure nothing changes and *reason says why.
    bool load(const QString& path, orf::ReadReport* report, QString* reason);
    // Writes the machine; on success it is the current machine file and counts as saved.
    bool save(const QString& path, QString* reason);
    // Reads the reel data file chosen at `chosenPath`: it is looked up by its bare name in the
    // machine folder once a machine file has been loaded, in the chosen folder before. Pictures
    // that cannot be loaded are listed in *warnings and keep what they showed. A read that
    // changes the machine is one undo step.
    bool loadReelData(const QString& chosenPath, QStringList* warnings, QString* reason,
                      QStringList* pngPictures = nullptr);
    // The reel control and picture position files are only named, never opened.
    bool setControlFile(const QString& chosenPath, QString* reason);
    bool setBodyFile(const QString& chosenPath, QString* reason);
    // Where the file behind each name was found or chosen, "" for no name: the reel data
    // file read, and the control and picture position files chosen or, after a load, their
    // names in the machine folder.
    enum class Reference { Reel, Control, Body };
    const QString& referencePath(Reference reference) const;
    // The referenced files (as "label「name」") that the machine would not find beside a
    // machine file saved in `folder`.
    QStringList referencesMissingFrom(const QString& folder) const;
    // Where the machine's files are looked for, by their bare names: the folder of the
    // machine file last loaded, or else of the one last saved; "" (the working folder)
    // before either.
    QString machineFolder() const;
    bool outsideMachineFolder(const QString& chosenPath) const;

    // ---- Selections
    void previousFlag();
    void nextFlag();  // up to the last flag of the reel data, never past flag 21
    void previousSetting();
    void nextSetting();
    void selectBet(int bet);      // 0..2
    void selectCTBig(int big);    // 1..5
    void selectBigNo(int big);    // 1..5
    void selectLineBet(int bet);  // 0..2, back to line 1
    void previousLine();
    // A line comes after the current one only once the current one crosses all three reels.
    void nextLine();
    // The effect sound area. Medal insert and reel spin have no reels and go back to reel 1;
    // medal insert has no flag block and goes back to flag 0.
    void selectSoundGroup(int group);
    // A reel step goes back to flag 0, whether the reel moved or not.
    void previousStopReel();
    void nextStopReel();
    void selectEffectFlag(int flag);  // 0..19
    sound::EffectPlace effectPlace() const;
    // The payout sound flag, 1..lastFlag().
    void previousPayoutFlag();
    void nextPayoutFlag();

    // ---- Edits
    void setMachineName(const QString& text);
    void setMakerName(const QString& text);
    void setExplanation(const QString& text);  // lines separated by CR LF
    void setFlagProb(int flag, int setting, int bet, int state, std::int64_t value);
    void setGensan(int setting, std::int64_t value);
    void setThreeBetOnly(bool on);
    void setCounterReset(bool on);
    void setHasCT(bool on);
    void setCTEntryPct(int big, std::int64_t value);
    void setSuperBigPct(int big, int result, std::int64_t value);
    // The box texts the file stores; returns the text the box ends up with.
    QString setCTEndConText(int i, const QString& text);
    QString setBonusEndText(int i, const QString& text);
    // The numbers those boxes hold: a text's value; an emptied box keeps the one before.
    std::int16_t ctEndCon(int i) const { return boxNumbers_[i]; }
    std::int16_t bonusEnd(int i) const { return boxNumbers_[machine::StoredCTEnds + i]; }
    // A click on a pay-line cell: an unchosen cell becomes the line's one cell on its reel, a
    // chosen one is cleared.
    void clickLineCell(int bet, int line, int cell);
    void setLineArea(int bet, int line, std::int64_t area);
    // The cells a line passes.
    int lineCellCount(int bet, int line) const;

    // Sound numbers are 0..128, probabilities 0..65536.
    void setNormalSound(int group, std::int64_t sound);
    // The probability and sound of effect field 0..17 at a place; the flag block of the
    // medal-insert group stands for nothing and stores nothing.
    enum class CandidatePart { Probability, Sound };
    void setEffectCandidate(const sound::EffectPlace& at, int field, CandidatePart part,
                            std::int64_t value);
    std::optional<sound::Candidate> effectCandidate(const sound::EffectPlace& at, int field) const;
    // Whether reel-stop field 0..17 of a reel (1..3) and flag sounds only after an effect sound
    // at the first or second stop.
    void setAfterFirstTwo(int reel, int flag, int field, bool on);
    bool afterFirstTwo(int reel, int flag, int field) const;
    void setBigFirstPlaySound(int big, std::int64_t sound);  // big bonus 1..5
    void setPaySound(int flag, int state, int timing, std::int64_t sound);
    void setPaySoundFirst(bool on);
    void setBgmSound(int i, std::int64_t sound);  // 0..7
    // Registers a chosen file under sound number 1..128 by its bare name; refused, with
    // *reason, when the file is not there or the machine file could not give the name back
    // as it is.
    bool registerSoundFile(int number, const QString& chosenPath, QString* reason);

signals:
    void documentReplaced();
    // A reel data file was read, by itself or with a machine file.
    void reelDataRead();
    void referencesChanged();
    // An undo or redo changed the machine: the pages show its values again. Then the page of
    // what changed is shown.
    void documentEdited();
    void pageRevealed(SpecEditor::Page page);
    // An undo or redo changed the effect sound area at the current place, or the file of a
    // sound number: the page shows that flag field or that number.
    void effectPlaceRevealed();
    void soundNumberRevealed(int number);
    void probabilitySelected();  // flag, setting or bet
    void ctBigSelected();
    void bigNoSelected();
    void lineSelected();  // bet or line
    void lineCellsChanged();
    void soundGroupSelected();
    void stopReelSelected();
    void effectFlagSelected();
    void payoutFlagSelected();
    void soundFilesChanged();

private:
    // What an undo or redo selects before the page is shown; empty for a page with no
    // selection.
    using Reveal = std::function<void()>;
    // Whether typing into the box merges into one step.
    enum class Typing { Merges, Never };
    // One undo step setting `field` to `value`: redo and undo set the field, and an undo or
    // redo then shows what changed.
    template <typename Field, typename Value>
    void store(Field& field, Value value, Page page, Reveal reveal = {},
               Typing typing = Typing::Merges);
    // After an undo or redo has set a value: select it, redraw the pages, show its page.
    void replayed(Page page, const Reveal& reveal);
    // Sets a box text the file stores; an edit when its text or number changed.
    QString storeBoxText(int kind, int i, const QString& text);
    bool nameReference(Reference reference, QString& field, const QString& chosenPath,
                       QString* reason);
    void applyExplanation(qsizetype at, qsizetype length, const QString& text);
    // The selections an undo or redo brings back.
    Reveal probabilityAt(int flag, int setting, int bet);
    Reveal effectPlaceAt(const sound::EffectPlace& at);
    Reveal payoutFlagAt(int flag);
    // Keeps the flag selections on flags that exist; true when the bonus page flag moved.
    bool limitFlags();

    MachineSpec doc_;
    SpecSelection selection_;
    QString specFolder_;
    QString specFileName_;
    QString specFilePath_;
    QString referencePaths_[3];
    // The CT end boxes, then the bonus end boxes.
    std::array<std::int16_t, machine::StoredCTEnds + machine::BonusEndSlots> boxNumbers_{};
    QString dialogFolder_;
};

}  // namespace specboard
