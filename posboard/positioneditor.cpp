#include "positioneditor.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "filelookup.h"
#include "pictures.h"
#include "ppfformat.h"
#include "sjis.h"

namespace {

// Every coordinate of the file is a 16-bit number.
std::int16_t toFileRange(int value) {
    return static_cast<std::int16_t>(std::clamp(value,
                                                int(std::numeric_limits<std::int16_t>::min()),
                                                int(std::numeric_limits<std::int16_t>::max())));
}

}  // namespace

PositionEditor::PositionEditor(QObject* parent) : QObject(parent) {}

// ---- File state

void PositionEditor::setModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    emit modifiedChanged(modified);
}

void PositionEditor::setFile(const QString& path) {
    filePath_ = path;
    emit fileChanged(path);
}

bool PositionEditor::load(const QString& path, QString* reason, ppf::ReadReport* report) {
    ppf::ReadReport found;
    if (!ppf::readFile(path, doc_, &found, reason)) return false;
    positionFolder_ = folderOfPath(QFileInfo(path).absoluteFilePath());
    if (report) *report = std::move(found);
    for (int e = 0; e < pos::EntryCount; ++e)
        setCoordinateText(e, ::coordinateText(doc_.entries[e]));
    setFile(path);
    emit documentReplaced();
    // The fields and texts set above count as edits of what they show; the file is what
    // the document holds.
    setModified(false);
    return true;
}

bool PositionEditor::save(const QString& path, QString* reason) {
    if (!ppf::writeFile(path, doc_, reason)) return false;
    setFile(path);
    setModified(false);
    return true;
}

// ---- Selections

void PositionEditor::nextPage() {
    if (currentPage_ >= pos::PageCount - 1) return;
    ++currentPage_;
    emit pageChanged(currentPage_);
}

void PositionEditor::previousPage() {
    if (currentPage_ <= 0) return;
    --currentPage_;
    emit pageChanged(currentPage_);
}

void PositionEditor::selectSlot(int slot) {
    if (!pos::isSlot(slot)) return;
    selectedSlot_ = slot;
    selectedEntry_ = -1;
    emit entrySelected(-1);
    emit slotSelected(slot);
}

bool PositionEditor::slotHasPicture(int slot) const {
    if (!pos::isSlot(slot)) return false;
    const PictureSlot& s = doc_.pictureSlots[slot];
    // A name whose picture was never found leaves nothing to draw on.
    return !s.fileName.isEmpty() && !s.image.isNull();
}

void PositionEditor::clickEntry(int entry) {
    if (!pos::isEntry(entry)) return;
    if (selectedEntry_ == entry) {
        selectedEntry_ = -1;
    } else {
        selectedEntry_ = entry;
        lastSelectedEntry_ = entry;
    }
    emit entrySelected(selectedEntry_);
}

// ---- Edits

bool PositionEditor::loadSlotPicture(const QString& path, QString* reason, bool* png) {
    // Only the bare name goes into the position file; one the file cannot carry would come
    // back as another name, or split the slot lines.
    const QString name = bareNameOfPath(path);
    if (const QString why = ppf::nameProblem(name); !why.isEmpty()) {
        if (reason)
            *reason =
                QStringLiteral("%1\n%2").arg(sjis::forDisplay(name, sjis::ShownNameChars), why);
        return false;
    }
    QImage picture;
    if (!pictures::loadPicture(path, picture, reason, pictures::CabinetPictureLimits, png))
        return false;
    PictureSlot& slot = doc_.pictureSlots[selectedSlot_];
    slot.fileName = name;
    slot.image = std::move(picture);
    emit slotPictureChanged(selectedSlot_);
    setModified();
    return true;
}

bool PositionEditor::readSlotPictureAgain(QImage& picture, QString* reason) const {
    const QString& name = doc_.pictureSlots[selectedSlot_].fileName;
    if (name.isEmpty()) {
        if (reason) *reason = QStringLiteral("このスロットには画像がありません。");
        return false;
    }
    // A bare name that belongs to no position file yet is the working folder's.
    const QString folder = positionFolder_.isEmpty() ? QDir::currentPath() : positionFolder_;
    const QString path = findFileInFolder(folder, name);
    if (path.isEmpty()) {
        if (reason)
            *reason = QStringLiteral("画像ファイルがありません: %1")
                          .arg(sjis::cutTextIn(QDir(folder).absoluteFilePath(name), name));
        return false;
    }
    if (pictures::loadPicture(path, picture, reason, pictures::CabinetPictureLimits)) return true;
    if (reason) *reason = sjis::cutTextIn(*reason, name);
    return false;
}

void PositionEditor::setValue(int entry, const QString& text) {
    if (!pos::isEntry(entry)) return;
    doc_.entries[entry].value = text;
    setModified();
}

void PositionEditor::setRectangle(int entry, int left, int top, int right, int bottom) {
    if (!pos::isEntry(entry)) return;
    PlacementEntry& stored = doc_.entries[entry];
    const PlacementEntry before = stored;
    stored.left = toFileRange(left);
    stored.top = toFileRange(top);
    stored.right = toFileRange(right);
    stored.bottom = toFileRange(bottom);
    setCoordinateText(entry, ::coordinateText(stored));
    if (!(stored == before)) setModified();
}

const QString& PositionEditor::coordinateText(int entry) const {
    static const QString none;
    return pos::isEntry(entry) ? coordinateTexts_[entry] : none;
}

void PositionEditor::showCoordinates(int entry, int left, int top, int right, int bottom) {
    PlacementEntry shown;
    shown.left = toFileRange(left);
    shown.top = toFileRange(top);
    shown.right = toFileRange(right);
    shown.bottom = toFileRange(bottom);
    setCoordinateText(entry, ::coordinateText(shown));
}

void PositionEditor::clearCoordinates(int entry) { setCoordinateText(entry, QString()); }

void PositionEditor::setCoordinateText(int entry, const QString& text) {
    if (!pos::isEntry(entry) || coordinateTexts_[entry] == text) return;
    coordinateTexts_[entry] = text;
    emit coordinateTextChanged(entry);
    // A changed coordinate text is unsaved work, as every value field change is.
    setModified();
}
