#include "scripteddialogs.h"

#include <QDir>
#include <QFileInfo>

QString ScriptedDialogs::nextFile(bool save, const QString& filter, const QString& initialFolder) {
    fileRequests.append({save, filter, initialFolder});
    const QString answer = fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    if (!answer.isEmpty()) workingFolder_ = QFileInfo(answer).absolutePath();
    return answer;
}

QString ScriptedDialogs::workingFolder() const {
    return workingFolder_.isEmpty() ? QDir::currentPath() : workingFolder_;
}

QString ScriptedDialogs::openFile(QWidget*, const QString& filter, const QString& initialFolder) {
    return nextFile(false, filter, initialFolder);
}

QString ScriptedDialogs::saveFile(QWidget*, const QString& filter, const QString& initialFolder) {
    return nextFile(true, filter, initialFolder);
}

Dialogs::Answer ScriptedDialogs::message(QWidget*, const QString& title, const QString& text,
                                         Icon icon, Buttons buttons, const QString& detail,
                                         std::optional<Answer> defaultButton) {
    shown.append({title, text, detail, icon, buttons, defaultButton});
    if (buttons == Buttons::Ok) return Answer::Ok;
    return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
}
