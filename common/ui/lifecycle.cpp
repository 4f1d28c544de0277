#include "lifecycle.h"

#include <QWidget>

#include "filelookup.h"
#include "givenfile.h"
#include "numberbox.h"

namespace lifecycle {

namespace {

bool runFileCommand(const FileCommand& command, bool save, const FileAction& action) {
    Dialogs& dialogs = command.dialogs;
    if (command.replaces.isModified) {
        if (!confirmClose(dialogs, command.window, command.replaces)) return false;
    } else {
        leaveFocusedBox(command.window);
    }
    const QString path = save ? dialogs.saveFile(command.window, command.filter, command.folder)
                              : dialogs.openFile(command.window, command.filter, command.folder);
    if (path.isEmpty()) return false;
    QString reason;
    if (action(path, &reason)) return true;
    dialogs.message(command.window, command.failureTitle, command.failureText, command.failureIcon,
                    Dialogs::Buttons::Ok, reason);
    return false;
}

}  // namespace

bool openAndRead(const FileCommand& command, const FileAction& read) {
    return runFileCommand(command, false, read);
}

bool chooseAndWrite(const FileCommand& command, const FileAction& write) {
    return runFileCommand(command, true, write);
}

void leaveFocusedBox(QWidget* window) {
    QWidget* focused = window ? window->window()->focusWidget() : nullptr;
    if (!focused) return;
    for (LeavingRule* rule : focused->findChildren<LeavingRule*>(Qt::FindDirectChildrenOnly))
        rule->leave();
}

bool confirmClose(Dialogs& dialogs, QWidget* window, const UnsavedWork& work) {
    leaveFocusedBox(window);
    if (!work.isModified()) return true;
    const auto answer = dialogs.message(window, QStringLiteral("終了確認"),
                                        QStringLiteral("データに変更があります。セーブしますか？"),
                                        Dialogs::Icon::Information, Dialogs::Buttons::YesNoCancel);
    switch (answer) {
        case Dialogs::Answer::Yes:
            return work.save();
        case Dialogs::Answer::No:
            return true;
        default:
            return false;
    }
}

DocumentCommands::DocumentCommands(QWidget* window, Dialogs& dialogs, EditorSession& session,
                                   DocumentTexts texts, FileStep read, FileStep write)
    : window_(window),
      dialogs_(dialogs),
      session_(session),
      texts_(std::move(texts)),
      read_(std::move(read)),
      write_(std::move(write)) {}

FileCommand DocumentCommands::command(bool save) {
    return {dialogs_,
            window_,
            texts_.filter,
            texts_.dialogFolder    ? texts_.dialogFolder()
            : texts_.startInFolder ? session_.folder()
                                   : QString(),
            texts_.programName,
            save ? texts_.writeFailure : texts_.readFailure,
            save ? texts_.writeIcon : texts_.readIcon,
            save ? UnsavedWork{} : unsavedWork()};
}

UnsavedWork DocumentCommands::unsavedWork() {
    return {[this] { return session_.isModified(); }, [this] { return save(); }};
}

namespace {

// The editor's read or write in the shape the dialog commands run.
FileAction runStep(const DocumentCommands::FileStep& step, FileResult& result) {
    return [&step, &result](const QString& path, QString* reason) {
        result = step(path);
        if (reason) *reason = result.reason;
        return result.done;
    };
}

}  // namespace

FileResult DocumentCommands::load(const QString& given) {
    FileResult result;
    if (!openOrReadGiven(command(false), given, runStep(read_, result))) return {};
    return result;
}

bool DocumentCommands::save() {
    FileResult result;
    return chooseAndWrite(command(true), runStep(write_, result));
}

bool DocumentCommands::mayClose() { return confirmClose(dialogs_, window_, unsavedWork()); }

QString fileLabelText(const QString& path, const QString& none) {
    return path.isEmpty() ? none : bareNameOfPath(path);
}

}  // namespace lifecycle
