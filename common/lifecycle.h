#pragma once

#include <QString>

#include <functional>

#include "dialogs.h"

class QWidget;

// The file commands and the closing question that every editor runs the same way.
namespace lifecycle {

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
};

// Reads or writes the chosen file; false and a reason when it could not.
using FileAction = std::function<bool(const QString& path, QString* reason)>;

// Shows the open dialog and reads the chosen file. Nothing chosen: false, nothing shown. A
// refused read shows the failure message with its reason. True when a file was read.
bool openAndRead(const FileCommand& command, const FileAction& read);
// The same with the save dialog and a write. True only when the file was written.
bool chooseAndWrite(const FileCommand& command, const FileAction& write);

// Asked when an editor with unsaved changes is closed: "データに変更があります。セーブしますか？"
// titled "終了確認" with Yes, No and Cancel. Yes runs `save` and lets the window close only
// when it wrote the file (a cancelled dialog or a failed write would lose the work the
// question was about); No lets it close; Cancel keeps it open. Returns whether to close.
bool confirmClose(Dialogs& dialogs, QWidget* window, const std::function<bool()>& save);

// What a file name label shows: the bare name of the file last read or written, or `none`.
QString fileLabelText(const QString& path, const QString& none);

}  // namespace lifecycle
