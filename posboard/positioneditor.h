#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

#include "positiondocument.h"
#include "ppfformat.h"

inline constexpr char ProgramName[] = "posboard";
inline constexpr char16_t WindowCaption[] = u"オルベーンエディターγ ver1.32";

// The position document of the window and what the editor keeps beside it: the file it came
// from and its folder, whether it holds unsaved work, the page, slot and entry being worked
// on, and the coordinate text each entry shows. Every change goes through its methods, which
// emit what changed; the panels redraw from it when they hear it.
class PositionEditor : public QObject {
    Q_OBJECT
public:
    explicit PositionEditor(QObject* parent = nullptr);

    const PositionDocument& document() const { return doc_; }

    // ---- File state
    bool isModified() const { return modified_; }  // ModifiedFlag
    void setModified(bool modified = true);
    // The position file last read or written ("" until then).
    const QString& filePath() const { return filePath_; }
    // PositionFolder: the folder of the last position file read, ending with "/" ("" until
    // then). The pictures it names are looked up there. Saving elsewhere does not move it.
    const QString& positionFolder() const { return positionFolder_; }

    // Reads a position file over the document: on success the slots, entries, PositionFolder and
    // every coordinate text come from the file and the document counts as saved; *report
    // tells which pictures could not be loaded and which are PNG files. On failure nothing
    // changes.
    bool load(const QString& path, QString* reason, ppf::ReadReport* report = nullptr);
    // Writes the document; on success the file is the current one and the document is saved.
    // On failure the old file stays whole and the document stays unsaved.
    bool save(const QString& path, QString* reason);

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

    // ---- Edits
    // "Load" of a slot picture: the chosen file becomes the selected slot's picture, by its
    // bare name. Refused (nothing changes, *reason says why) when the picture cannot be
    // decoded or its name could not come back from the position file. *png tells whether the
    // picture is a PNG file.
    bool loadSlotPicture(const QString& path, QString* reason, bool* png = nullptr);
    // "表示": the selected slot's picture read again from disk, by its bare name, from
    // PositionFolder (from the working folder while no position file has been read). The slot
    // keeps the picture it holds.
    bool readSlotPictureAgain(QImage& picture, QString* reason) const;

    // The text of an entry's value field, stored as the field shows it.
    void setValue(int entry, const QString& text);
    // Stores a rectangle drawn or moved on the canvas, kept within the file's 16-bit range,
    // and shows it as the entry's coordinate text.
    void setRectangle(int entry, int left, int top, int right, int bottom);

    // The coordinate text shown beside each entry's caption; empty until a rectangle is
    // drawn or a file is read. A drawing shows its rectangle here before it is stored.
    const QString& coordinateText(int entry) const;
    void showCoordinates(int entry, int left, int top, int right, int bottom);
    void clearCoordinates(int entry);

signals:
    void documentReplaced();
    void modifiedChanged(bool modified);
    void fileChanged(const QString& path);
    void pageChanged(int page);
    void slotSelected(int slot);
    // The slot's picture was replaced with "Load".
    void slotPictureChanged(int slot);
    // -1: no entry is selected.
    void entrySelected(int entry);
    void coordinateTextChanged(int entry);

private:
    void setCoordinateText(int entry, const QString& text);
    void setFile(const QString& path);

    PositionDocument doc_;
    bool modified_ = false;
    QString filePath_;
    QString positionFolder_;
    int currentPage_ = 0;
    int selectedSlot_ = 0;
    int selectedEntry_ = -1;
    int lastSelectedEntry_ = -1;
    std::array<QString, pos::EntryCount> coordinateTexts_;
};
