#pragma once

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "editorsession.h"
#include "positiondocument.h"
#include "ppfformat.h"

namespace posboard {

inline constexpr char ProgramName[] = "posboard";
inline constexpr char16_t WindowCaption[] = u"オルベーンエディターγ ver1.32";

// The position document of the window and what the editor keeps beside it: the session (the
// file it came from, its folder, the edit history, whether it holds unsaved work), the page,
// slot and entry being worked on, and the coordinate text each entry shows. Every change goes
// through its methods, which emit what changed; the panels redraw from it when they hear it.
// Every edit is one undo step; undo and redo run through the same code as the edit, then
// select the slot and entry they changed so that the author sees it.
class PositionEditor : public EditorSession {
    Q_OBJECT
public:
    explicit PositionEditor(QObject* parent = nullptr);

    const PositionDocument& document() const { return doc_; }

    // ---- File state
    // PositionFolder: the folder of the last position file read, ending with "/" ("" until
    // then). The pictures it names are looked up there and the dialogs start there. Saving
    // elsewhere does not move it.
    const QString& positionFolder() const { return folder(); }

    // Reads a position file over the document: on success the slots, entries, PositionFolder and
    // every coordinate text come from the file, the history is cleared and nothing is unsaved;
    // the warnings name the pictures that could not be loaded, *pngPictures those that are PNG
    // files. On failure nothing changes and the result says why.
    FileResult load(const QString& path, QStringList* pngPictures = nullptr);
    // Writes the document; on success the file is the current one and nothing is unsaved.
    // On failure the old file stays whole and the document stays unsaved.
    FileResult save(const QString& path);

    // ---- Selections
    int currentPage() const { return currentPage_; }  // 0..2
    void nextPage();
    void previousPage();

    int selectedSlot() const { return selectedSlot_; }  // 0..8
    // The slot selector's choice. Every entry is deselected.
    void selectSlot(int slot);
    // The slot has a name and a decoded picture to draw on.
    bool slotHasPicture(int slot) const;

    int selectedEntry() const { return selectedEntry_; }  // -1: none
    int lastSelectedEntry() const { return lastSelectedEntry_; }
    // A click on an entry's caption: deselects it when it is selected, else selects it alone.
    void clickEntry(int entry);

    // ---- Edits, one undo step each
    // "Load" of a slot picture: the chosen file becomes the selected slot's picture, by its
    // bare name. Refused (nothing changes, *reason says why) when the picture cannot be
    // decoded or its name could not come back from the position file. *png tells whether the
    // picture is a PNG file. A file chosen again, unchanged on disk, shares the picture already
    // decoded, so steps between two large pictures hold two pictures, not one per step.
    bool loadSlotPicture(const QString& path, QString* reason, bool* png = nullptr);
    // "表示": the selected slot's picture read again from disk, by its bare name, from
    // PositionFolder (from the working folder while no position file has been read). The slot
    // keeps the picture it holds.
    bool readSlotPictureAgain(QImage& picture, QString* reason) const;

    // The text of an entry's value field, stored as the field shows it. The keys typed into
    // one field merge into one step.
    void setValue(int entry, const QString& text);
    // Stores a rectangle drawn or moved on the canvas, kept within the file's 16-bit range,
    // and shows it as the entry's coordinate text.
    void setRectangle(int entry, int left, int top, int right, int bottom);
    // Empties the entry's coordinate text; its stored rectangle stays.
    void clearCoordinates(int entry);

    // The coordinate text shown beside each entry's caption; empty until a rectangle is
    // drawn or a file is read.
    const QString& coordinateText(int entry) const;
    // A drawing shows its rectangle in the coordinate text before it is stored; the store or
    // the clear that ends it is the step. dropPreview puts back what the text showed before
    // when the drawing ends without either.
    void showCoordinates(int entry, int left, int top, int right, int bottom);
    void dropPreview();

signals:
    void documentReplaced();
    void pageChanged(int page);
    void slotSelected(int slot);
    // The slot's picture was replaced.
    void slotPictureChanged(int slot);
    // -1: no entry is selected.
    void entrySelected(int entry);
    void valueChanged(int entry);
    void coordinateTextChanged(int entry);
    // An undo or redo changed this entry, now selected: the canvas shows its rectangle.
    void entryRevealed(int entry);

private:
    // What a rectangle step changes: the stored corners and the text beside the caption.
    struct Placement {
        std::int16_t left = 0;
        std::int16_t top = 0;
        std::int16_t right = 0;
        std::int16_t bottom = 0;
        QString text;
    };
    // A picture decoded from a file, known by the file's path, time and size.
    struct DecodedPicture {
        QString path;
        QDateTime modified;
        qint64 size = 0;
        QImage image;
        bool png = false;
    };

    Placement placementOf(int entry) const;
    void pushPlacement(int entry, const Placement& after);
    void setCoordinateText(int entry, const QString& text);
    // The edits as every step applies them: the value goes in, an undo or redo selects what
    // it changed, then the signal of the edit redraws.
    void applyPlacement(int slot, int entry, const Placement& value);
    void applyValue(int entry, const QString& text);
    void applyPicture(int slot, const PictureSlot& value);
    void revealSlot(int slot);
    void revealEntry(int entry);

    PositionDocument doc_;
    int currentPage_ = 0;
    int selectedSlot_ = 0;
    int selectedEntry_ = -1;
    int lastSelectedEntry_ = -1;
    std::array<QString, pos::EntryCount> coordinateTexts_;
    // The entry a drawing shows its rectangle for, and the text it showed before.
    std::optional<std::pair<int, QString>> preview_;
    std::vector<DecodedPicture> decoded_;
};

}  // namespace posboard
