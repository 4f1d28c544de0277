#pragma once

#include <QList>
#include <QString>
#include <optional>

class QWidget;

// Every file dialog and message box goes through this, so tests can answer them.
class Dialogs {
public:
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Buttons { Ok, YesNoCancel, YesNo, OkCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Dialogs() = default;

    // Filters come in the "Label|*.ext|Label|*.a;*.b|" form. An empty initial folder
    // means the working folder (the one the last dialog ended in). Empty result: cancelled.
    virtual QString openFile(QWidget* parent, const QString& filter,
                             const QString& initialFolder = {}) = 0;
    virtual QString saveFile(QWidget* parent, const QString& filter,
                             const QString& initialFolder = {}) = 0;

    // `defaultButton`: the answer Return gives; none: the box's own (its first button).
    virtual Answer message(QWidget* parent, const QString& title, const QString& text,
                           Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
                           const QString& detail = {},
                           std::optional<Answer> defaultButton = std::nullopt) = 0;

    // The working folder: the folder of the last file chosen in any dialog, the current folder
    // before that. A bare file name that belongs to no document is looked for there.
    virtual QString workingFolder() const = 0;
};

// "SlotDataFile|*.sdf|All Files|*.*|" -> "SlotDataFile (*.sdf);;All Files (*)".
QString toQtFilter(const QString& barFilter);

// What a message box lays out of a text: at most 25 lines and 1500 characters (then "…"),
// with zero-width spaces that let a long name or path without blanks wrap.
QString textForBox(const QString& text);

// The real dialogs. Keeps the working folder that the dialogs move to; every dialog
// starts with an empty file name (nothing is remembered from the last one).
class QtDialogs : public Dialogs {
public:
    QString openFile(QWidget* parent, const QString& filter,
                     const QString& initialFolder = {}) override;
    QString saveFile(QWidget* parent, const QString& filter,
                     const QString& initialFolder = {}) override;
    Answer message(QWidget* parent, const QString& title, const QString& text,
                   Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
                   const QString& detail = {},
                   std::optional<Answer> defaultButton = std::nullopt) override;
    QString workingFolder() const override;

private:
    QString fileDialog(QWidget* parent, bool save, const QString& filter,
                       const QString& initialFolder);
    QString workingFolder_;
};
