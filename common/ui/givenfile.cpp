#include "givenfile.h"

namespace lifecycle {

namespace {

// Answers the open dialog with the given file; every message still goes to the real dialogs.
class GivenFileDialogs : public Dialogs {
public:
    GivenFileDialogs(Dialogs& real, const QString& path) : real_(real), path_(path) {}

    QString openFile(QWidget*, const QString&, const QString&) override { return path_; }
    QString saveFile(QWidget* parent, const QString& filter,
                     const QString& initialFolder) override {
        return real_.saveFile(parent, filter, initialFolder);
    }
    Answer message(QWidget* parent, const QString& title, const QString& text, Icon icon,
                   Buttons buttons, const QString& detail,
                   std::optional<Answer> defaultButton) override {
        return real_.message(parent, title, text, icon, buttons, detail, defaultButton);
    }
    QString workingFolder() const override { return real_.workingFolder(); }

private:
    Dialogs& real_;
    QString path_;
};

}  // namespace

bool openOrReadGiven(const FileCommand& command, const QString& given, const FileAction& read) {
    if (given.isEmpty()) return openAndRead(command, read);
    GivenFileDialogs answered(command.dialogs, given);
    // A file given at start-up comes before any work: it replaces nothing unsaved.
    const FileCommand onGiven{answered,
                              command.window,
                              command.filter,
                              command.folder,
                              command.failureTitle,
                              command.failureText,
                              command.failureIcon,
                              {}};
    return openAndRead(onGiven, read);
}

}  // namespace lifecycle
