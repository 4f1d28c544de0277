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
#include "valuestep.h"

namespace posboard {

namespace {

// The value fields, whose typing merges into one step per field and run.
constexpr int ValueTyping = 1;

// Every coordinate of the file is a 16-bit number.
std::int16_t toFileRange(int value) {
    return static_cast<std::int16_t>(std::clamp(value,
                                                int(std::numeric_limits<std::int16_t>::min()),
                                                int(std::numeric_limits<std::int16_t>::max())));
}

}  // namespace

PositionEditor::PositionEditor(QObject* parent) : EditorSession(parent) {}

// ---- File state

FileResult PositionEditor::load(const QString& path, QStringList* pngPictures) {
    ppf::ReadReport found;
    QString reason;
    if (!ppf::readFile(path, doc_, &found, &reason)) return FileResult::failed(reason);
    preview_.reset();
    for (int e = 0; e < pos::EntryCount; ++e)
        setCoordinateText(e, ::coordinateText(doc_.entries[e]));
    endTyping();
    emit documentReplaced();
    // The redraws above may store what they show; the file is what the document now holds.
    documentLoaded(path);
    if (pngPictures) *pngPictures = found.pngPictures;
    return FileResult::ok(found.warnings);
}

FileResult PositionEditor::save(const QString& path) {
    QString reason;
    if (!ppf::writeFile(path, doc_, &reason)) return FileResult::failed(reason);
    documentSaved(path);
    return FileResult::ok();
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
    endTyping();
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
    endTyping();
    if (selectedEntry_ == entry) {
        selectedEntry_ = -1;
    } else {
        selectedEntry_ = entry;
        lastSelectedEntry_ = entry;
    }
    emit entrySelected(selectedEntry_);
}

void PositionEditor::revealSlot(int slot) {
    if (selectedSlot_ != slot) selectSlot(slot);
}

void PositionEditor::revealEntry(int entry) {
    if (currentPage_ != pos::entryPage(entry)) {
        currentPage_ = pos::entryPage(entry);
        emit pageChanged(currentPage_);
    }
    if (selectedEntry_ != entry) {
        selectedEntry_ = entry;
        lastSelectedEntry_ = entry;
        emit entrySelected(entry);
    }
    emit entryRevealed(entry);
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
    // A picture that neither the document nor its history holds any more is let go.
    std::erase_if(decoded_, [](const DecodedPicture& d) { return d.image.isDetached(); });
    const QFileInfo file(path);
    const DecodedPicture key{file.absoluteFilePath(), file.lastModified(), file.size(), {}, false};
    auto known = std::find_if(decoded_.begin(), decoded_.end(), [&](const DecodedPicture& d) {
        return d.path == key.path && d.modified == key.modified && d.size == key.size;
    });
    if (known == decoded_.end()) {
        DecodedPicture fresh = key;
        if (!pictures::loadPicture(path, fresh.image, reason, pictures::CabinetPictureLimits,
                                   &fresh.png))
            return false;
        decoded_.push_back(std::move(fresh));
        known = decoded_.end() - 1;
    }
    if (png) *png = known->png;
    const int slot = selectedSlot_;
    // Both pictures are shared with the document, never copied.
    push(new ValueStep<PictureSlot>(doc_.pictureSlots[slot], PictureSlot{name, known->image},
                                    [this, slot](const PictureSlot& v) { applyPicture(slot, v); }));
    return true;
}

void PositionEditor::applyPicture(int slot, const PictureSlot& value) {
    doc_.pictureSlots[slot] = value;
    if (isReplaying()) revealSlot(slot);
    emit slotPictureChanged(slot);
}

bool PositionEditor::readSlotPictureAgain(QImage& picture, QString* reason) const {
    const QString& name = doc_.pictureSlots[selectedSlot_].fileName;
    if (name.isEmpty()) {
        if (reason) *reason = QStringLiteral("このスロットには画像がありません。");
        return false;
    }
    // A bare name that belongs to no position file yet is the working folder's.
    const QString folder = positionFolder().isEmpty() ? QDir::currentPath() : positionFolder();
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
    const QString before = doc_.entries[entry].value;
    if (before == text) return;
    push(new ValueStep<QString>(
        before, text, [this, entry](const QString& v) { applyValue(entry, v); },
        TypingTarget{ValueTyping, entry, typingRun()}));
}

void PositionEditor::applyValue(int entry, const QString& text) {
    doc_.entries[entry].value = text;
    emit valueChanged(entry);
    if (isReplaying()) revealEntry(entry);
}

PositionEditor::Placement PositionEditor::placementOf(int entry) const {
    const PlacementEntry& e = doc_.entries[entry];
    // A drawing's preview is not what the entry showed before the step.
    const QString& text =
        preview_ && preview_->first == entry ? preview_->second : coordinateTexts_[entry];
    return {e.left, e.top, e.right, e.bottom, text};
}

void PositionEditor::pushPlacement(int entry, const Placement& after) {
    const Placement before = placementOf(entry);
    dropPreview();
    if (before.left == after.left && before.top == after.top && before.right == after.right &&
        before.bottom == after.bottom && before.text == after.text)
        return;
    endTyping();
    // The corners are in pixels of the slot's picture: undo shows them on that slot.
    const int slot = selectedSlot_;
    push(new ValueStep<Placement>(before, after, [this, slot, entry](const Placement& v) {
        applyPlacement(slot, entry, v);
    }));
}

void PositionEditor::setRectangle(int entry, int left, int top, int right, int bottom) {
    if (!pos::isEntry(entry)) return;
    PlacementEntry stored;
    stored.left = toFileRange(left);
    stored.top = toFileRange(top);
    stored.right = toFileRange(right);
    stored.bottom = toFileRange(bottom);
    pushPlacement(entry,
                  {stored.left, stored.top, stored.right, stored.bottom, ::coordinateText(stored)});
}

void PositionEditor::clearCoordinates(int entry) {
    if (!pos::isEntry(entry)) return;
    Placement after = placementOf(entry);
    after.text.clear();
    pushPlacement(entry, after);
}

void PositionEditor::applyPlacement(int slot, int entry, const Placement& value) {
    PlacementEntry& e = doc_.entries[entry];
    e.left = value.left;
    e.top = value.top;
    e.right = value.right;
    e.bottom = value.bottom;
    setCoordinateText(entry, value.text);
    if (isReplaying()) {
        revealSlot(slot);
        revealEntry(entry);
    }
}

const QString& PositionEditor::coordinateText(int entry) const {
    static const QString none;
    return pos::isEntry(entry) ? coordinateTexts_[entry] : none;
}

void PositionEditor::showCoordinates(int entry, int left, int top, int right, int bottom) {
    if (!pos::isEntry(entry)) return;
    if (!preview_ || preview_->first != entry) {
        dropPreview();
        preview_.emplace(entry, coordinateTexts_[entry]);
    }
    PlacementEntry shown;
    shown.left = toFileRange(left);
    shown.top = toFileRange(top);
    shown.right = toFileRange(right);
    shown.bottom = toFileRange(bottom);
    setCoordinateText(entry, ::coordinateText(shown));
}

void PositionEditor::dropPreview() {
    if (!preview_) return;
    const auto [entry, text] = *preview_;
    preview_.reset();
    setCoordinateText(entry, text);
}

void PositionEditor::setCoordinateText(int entry, const QString& text) {
    if (!pos::isEntry(entry) || coordinateTexts_[entry] == text) return;
    coordinateTexts_[entry] = text;
    emit coordinateTextChanged(entry);
}

}  // namespace posboard
