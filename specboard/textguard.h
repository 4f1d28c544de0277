#pragma once

#include <QObject>
#include <QString>

class QLineEdit;
class QPlainTextEdit;

namespace specboard {

// The machine's names and description are stored as bare lines of the machine file: a comma or
// a double quote would split them when the file is read, a blank at the start of a line is
// skipped by the reader, a character outside code page 932 cannot be written, and a
// description line of "End Of Exp" would end the description early. These guards refuse such
// text as it is typed, pasted or dropped; text shown from the machine is never refused, and
// editing around it stays possible.
//
// For the description every line counts: an edit is refused that leaves more lines beginning
// with a blank than before, whether a blank was typed at a line's start, Enter was pressed
// before a blank, or what stood before a blank was deleted.

// Whether the edit that made `after` out of `before` brings in text a line of the file cannot
// carry (line breaks included), or a blank at its start.
bool bringsUnstorableText(const QString& before, const QString& after);

// Guards a one-line name box.
void guardNameBox(QLineEdit* box);

// Guards the description box and reports each accepted text with CR LF line ends.
class ExplanationGuard : public QObject {
    Q_OBJECT
public:
    explicit ExplanationGuard(QPlainTextEdit* box);

    // Shows a description of the machine (CR LF line ends) as it is.
    void show(const QString& explanation);

signals:
    void changed(const QString& explanation);

private:
    void onTextChanged();

    QPlainTextEdit* box_;
    QString accepted_;  // the box's text, "\n" line ends
    bool showing_ = false;
};

}  // namespace specboard
