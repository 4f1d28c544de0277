#pragma once

// A test double of the dialogs interface: windows under test ask it instead of the user.

#include <QList>
#include <QString>

#include "dialogs.h"

// Answers dialogs from queues and records what was asked. An empty queue answers
// "cancelled" for files and Cancel (or Ok for a plain box) for messages.
class ScriptedDialogs : public Dialogs {
public:
    struct FileRequest {
        bool save;
        QString filter;
        QString initialFolder;
    };
    struct Shown {
        QString title;
        QString text;
        QString detail;
        Icon icon;
        Buttons buttons;
        std::optional<Answer> defaultButton;
    };

    QList<QString> fileAnswers;  // paths to answer, in order; "" answers cancel
    QList<Answer> answers;       // answers for boxes with a choice
    QList<FileRequest> fileRequests;
    QList<Shown> shown;

    QString openFile(QWidget* parent, const QString& filter,
                     const QString& initialFolder = {}) override;
    QString saveFile(QWidget* parent, const QString& filter,
                     const QString& initialFolder = {}) override;
    Answer message(QWidget* parent, const QString& title, const QString& text,
                   Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
                   const QString& detail = {},
                   std::optional<Answer> defaultButton = std::nullopt) override;
    // Follows the answered files as the real dialogs do.
    QString workingFolder() const override;

private:
    QString nextFile(bool save, const QString& filter, const QString& initialFolder);
    QString workingFolder_;
};
