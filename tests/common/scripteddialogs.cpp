#include "scripteddialogs.h"

QString ScriptedDialogs::nextFile(bool save, const QString& filter, const QString& initialFolder) {
    fileRequests.append({save, filter, initialFolder});
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString ScriptedDialogs::openFile(QWidget*, const QString& filter, const QString& initialFolder) {
    return nextFile(false, filter, initialFolder);
}

QString ScriptedDialogs::saveFile(QWidget*, const QString& filter, const QString& initialFolder) {
    return nextFile(true, filter, initialFolder);
}

Dialogs::Answer ScriptedDialogs::message(QWidget*, const QString& title, const QString& text, Icon icon,
                                         Buttons buttons, const QString& detail) {
    shown.append({title, text, detail, icon, buttons});
    if (buttons == Buttons::Ok) return Answer::Ok;
    return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
}
