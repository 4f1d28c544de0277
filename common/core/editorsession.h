#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUndoStack>
#include <utility>

// What a read or a write of an editor's file came to: done, or not with the reason (the
// detail of the message that says so). A read can be done with warnings: things the author
// should hear about that did not stop it, such as a picture that did not load.
struct FileResult {
    bool done = false;
    QString reason;
    QStringList warnings;

    static FileResult ok(QStringList warnings = {}) { return {true, {}, std::move(warnings)}; }
    static FileResult failed(QString reason) { return {false, std::move(reason), {}}; }
    explicit operator bool() const { return done; }
};

// The file state and the edit history of one editor's document: the file it was read from or
// written to, the folder its referenced files (pictures, sounds) are looked up in, the undo
// history and whether the document holds unsaved work. Each editor object builds on it.
//
// Modified = an edit since the last load or save that undo has not taken back, or a window
// rule that counts a navigation as a change (markChanged) since then. Undo back to the state
// last loaded or saved, with no such mark since, leaves nothing to save.
class EditorSession : public QObject {
    Q_OBJECT
public:
    // The oldest steps drop off beyond this.
    static constexpr int HistoryLimit = 1000;

    explicit EditorSession(QObject* parent = nullptr);
    ~EditorSession() override;

    // ---- File state
    // The file last read or written; "" until then.
    const QString& filePath() const { return filePath_; }
    // Where the document's referenced files are looked up and its dialogs may start, ending
    // with "/"; "" until a file was read. Set by a load, not by a save.
    const QString& folder() const { return folder_; }
    // For an editor whose folder comes from another file than its document.
    void setFolder(const QString& folder) { folder_ = folder; }
    bool isModified() const { return modified_; }

    // A window rule counts what just happened as a change: there is work to save until the
    // next load or save, whatever undo does.
    void markChanged();

    // The document was read from `path`: it is the current file, its folder the folder; the
    // history is cleared and nothing is unsaved.
    void documentLoaded(const QString& path);
    // The document was written to `path`: it is the current file and the history's clean
    // point; nothing is unsaved. The folder stays.
    void documentSaved(const QString& path);
    // A new document: no file, no history, nothing unsaved. The folder stays.
    void documentCleared();

    // ---- Edit history
    // Runs the step's redo (which makes the edit) and keeps it for undo; a step of the same
    // kind as the last one may merge into it (QUndoCommand::mergeWith). While an undo or redo
    // runs, a step is refused and deleted: a control redrawn from the document stores nothing
    // new.
    void push(QUndoCommand* step);
    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    void undo();
    void redo();
    // True while an undo or redo runs (not while a new step makes its edit).
    bool isReplaying() const { return replaying_; }
    const QUndoStack& history() const { return history_; }

    // Typing into one box merges into one step during a run of typing, which ends here: the
    // focus left the box, the selection moved, an undo or redo ran.
    void endTyping() { ++typingRun_; }
    quint64 typingRun() const { return typingRun_; }

signals:
    void fileChanged(const QString& path);
    void modifiedChanged(bool modified);
    // A step was pushed, merged, undone or redone, or the history was cleared.
    void historyChanged();

private:
    void setFile(const QString& path);
    void updateModified();
    void replay(bool redo);

    QUndoStack history_;
    QString filePath_;
    QString folder_;
    bool marked_ = false;
    bool modified_ = false;
    bool replaying_ = false;
    quint64 typingRun_ = 0;
};
