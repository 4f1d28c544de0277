#include "editorsession.h"

#include <QFileInfo>

#include "filelookup.h"

EditorSession::EditorSession(QObject* parent) : QObject(parent) {
    history_.setUndoLimit(HistoryLimit);
    connect(&history_, &QUndoStack::cleanChanged, this, &EditorSession::updateModified);
    connect(&history_, &QUndoStack::indexChanged, this, &EditorSession::historyChanged);
}

EditorSession::~EditorSession() = default;

void EditorSession::setFile(const QString& path) {
    filePath_ = path;
    emit fileChanged(path);
}

void EditorSession::updateModified() {
    const bool modified = marked_ || !history_.isClean();
    if (modified == modified_) return;
    modified_ = modified;
    emit modifiedChanged(modified);
}

void EditorSession::markChanged() {
    marked_ = true;
    updateModified();
}

void EditorSession::documentLoaded(const QString& path) {
    folder_ = folderOfPath(QFileInfo(path).absoluteFilePath());
    history_.clear();
    endTyping();
    marked_ = false;
    setFile(path);
    updateModified();
}

void EditorSession::documentSaved(const QString& path) {
    history_.setClean();
    endTyping();
    marked_ = false;
    setFile(path);
    updateModified();
}

void EditorSession::documentCleared() {
    history_.clear();
    endTyping();
    marked_ = false;
    setFile(QString());
    updateModified();
}

void EditorSession::push(QUndoCommand* step) {
    if (replaying_) {
        delete step;
        return;
    }
    history_.push(step);
}

void EditorSession::replay(bool redo) {
    if (replaying_ || !(redo ? history_.canRedo() : history_.canUndo())) return;
    endTyping();
    replaying_ = true;
    if (redo)
        history_.redo();
    else
        history_.undo();
    replaying_ = false;
    // What typing follows the step starts a step of its own.
    endTyping();
}

void EditorSession::undo() { replay(false); }

void EditorSession::redo() { replay(true); }
