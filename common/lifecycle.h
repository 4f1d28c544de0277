#pragma once

#include <QString>
#include <functional>

#include "dialogs.h"

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

// What a file name label shows: the bare name of the file last read or written, or `none`.
QString fileLabelText(const QString& path, const QString& none);

}  // namespace lifecycle
