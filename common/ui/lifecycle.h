#pragma once

#include <QString>
#include <functional>

#include "dialogs.h"
#include "editorsession.h"

class QWidget;

// The file commands and the closing question that every editor runs the same way.
namespace lifecycle {

// Runs the leaving rule of the box that has the focus in `window`: buttons take no focus, so
// a box still being typed into keeps it, and a step that reads the document (a file command,
// the close question, a button's step) must see what the box shows or will show once left.
void leaveFocusedBox(QWidget* window);

// The work a close or a Load would throw away: whether the document holds unsaved changes,
// and the program's Save (true only when it wrote the file).
struct UnsavedWork {
    std::function<bool()> isModified;
    std::function<bool()> save;
};

// What a Load or Save command shows: its dialog filter and folder, and the message box that
// reports a refused read or a failed write (the reason goes into its detail).
struct FileCommand {
    Dialogs& dialogs;
    QWidget* window;       // parent of the dialog and the message box
    QString filter;        // "Label|*.ext|..." form
    QString folder;        // where the dialog starts; empty: the working folder
    QString failureTitle;  // the program's name
    QString failureText;
    Dialogs::Icon failureIcon = Dialogs::Icon::None;
    // For a Load that replaces the document: its unsaved work, asked about before the dialog.
    UnsavedWork replaces = {};
};

// Reads or writes the chosen file; false and a reason when it could not.
using FileAction = std::function<bool(const QString& path, QString* reason)>;

// Shows the open dialog and reads the chosen file. Nothing chosen: false, nothing shown. A
// refused read shows the failure message with its reason. True when a file was read. When the
// Load replaces unsaved work, the close question comes first (see confirmClose; its No reads
// on, Cancel or a Save that wrote nothing ends the Load).
bool openAndRead(const FileCommand& command, const FileAction& read);
// The same with the save dialog and a write. True only when the file was written.
bool chooseAndWrite(const FileCommand& command, const FileAction& write);

// Asked when an editor with unsaved changes is closed: "データに変更があります。セーブしますか？"
// titled "終了確認" with Yes, No and Cancel. Yes runs `save` and lets the window close only
// when it wrote the file (a cancelled dialog or a failed write would lose the work the
// question was about); No lets it close; Cancel keeps it open. Returns whether to close; true
// at once when nothing is unsaved once the focused box has been left.
bool confirmClose(Dialogs& dialogs, QWidget* window, const UnsavedWork& work);

// What one editor's Load and Save of its document say, and where their dialogs start.
struct DocumentTexts {
    QString programName;  // the title of the messages
    QString filter;       // "Label|*.ext|..." form
    QString readFailure;  // a refused read; the reason goes into the detail
    Dialogs::Icon readIcon = Dialogs::Icon::None;
    QString writeFailure = QStringLiteral("ファイルを保存できませんでした。");
    Dialogs::Icon writeIcon = Dialogs::Icon::Critical;
    // The dialogs start in the session's folder; otherwise in the working folder.
    bool startInFolder = false;
    // Where the dialogs start when the editor keeps that folder itself (it then decides over
    // `startInFolder`); "" is the working folder.
    std::function<QString()> dialogFolder;
};

// The window side of one editor's document, driven by its session: Load (the open dialog, or
// a file given when the program started), Save and the close question. The editor's read and
// write do the work and keep the session; a refused read or a failed write is told with its
// reason and leaves the document and the file state as they were.
class DocumentCommands {
public:
    using FileStep = std::function<FileResult(const QString& path)>;

    DocumentCommands(QWidget* window, Dialogs& dialogs, EditorSession& session, DocumentTexts texts,
                     FileStep read, FileStep write);

    // "Load": the editor's result when a file was read (its warnings are the caller's to
    // tell); not done when nothing was read. Over unsaved work the close question comes
    // first. A non-empty `given` answers the open dialog.
    FileResult load(const QString& given = {});
    // "Save": true only when the file was written.
    bool save();
    // Whether the window may close: at once when nothing is unsaved, else after the close
    // question (see confirmClose).
    bool mayClose();

private:
    FileCommand command(bool save);
    // What a close or a Load would throw away: the session's unsaved work and this Save.
    UnsavedWork unsavedWork();

    QWidget* window_;
    Dialogs& dialogs_;
    EditorSession& session_;
    DocumentTexts texts_;
    FileStep read_;
    FileStep write_;
};

// What a file name label shows: the bare name of the file last read or written, or `none`.
QString fileLabelText(const QString& path, const QString& none);

}  // namespace lifecycle
