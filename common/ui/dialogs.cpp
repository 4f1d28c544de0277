#include "dialogs.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTextBoundaryFinder>

QString toQtFilter(const QString& barFilter) {
    const QStringList parts = barFilter.split(QLatin1Char('|'));
    QStringList items;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString label = parts[i];
        if (label.isEmpty() && parts[i + 1].isEmpty()) continue;
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
        }
        items << QStringLiteral("%1 (%2)").arg(label, patterns.join(QLatin1Char(' ')));
    }
    return items.join(QStringLiteral(";;"));
}

QString textForBox(const QString& text) {
    // However long a text reaches a box, this much of it is laid out at once.
    constexpr qsizetype MaxChars = 1500;
    constexpr qsizetype MaxLines = 25;
    // A run this long with no break in it is given breaks.
    constexpr qsizetype MaxRun = 16;
    constexpr QChar Break(0x200B);  // zero-width space

    QString kept = text;
    bool cut = false;
    qsizetype lineEnd = -1;
    for (qsizetype line = 0; line < MaxLines && lineEnd < kept.size(); ++line) {
        lineEnd = kept.indexOf(u'\n', lineEnd + 1);
        if (lineEnd < 0) lineEnd = kept.size();
    }
    if (lineEnd < kept.size()) {
        kept.truncate(lineEnd);
        cut = true;
    }
    if (kept.size() > MaxChars) {
        kept.truncate(kept.at(MaxChars - 1).isHighSurrogate() ? MaxChars - 1 : MaxChars);
        cut = true;
    }
    if (cut) kept += u'…';

    // Breaks go after the slashes of a long run (a path wraps at its folders), then wherever
    // the run is still too long, never inside a character.
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, kept);
    QString out;
    out.reserve(kept.size() + kept.size() / 8);
    qsizetype runStart = 0;
    auto flushRun = [&](qsizetype end) {
        const bool longRun = end - runStart > MaxRun;
        qsizetype sinceBreak = 0;
        for (qsizetype i = runStart; i < end; ++i) {
            const QChar c = kept.at(i);
            if (longRun && sinceBreak >= MaxRun && !c.isLowSurrogate()) {
                out += Break;
                sinceBreak = 0;
            }
            out += c;
            ++sinceBreak;
            if (longRun && (c == u'/' || c == u'\\') && i + 1 < end) {
                out += Break;
                sinceBreak = 0;
            }
        }
        runStart = end;
    };
    for (qsizetype i = 1; i < kept.size(); ++i) {
        breaks.setPosition(i);
        if (breaks.isAtBoundary()) flushRun(i);
    }
    flushRun(kept.size());
    return out;
}

// ---- QtDialogs ----

namespace {

// Return on a typed name of an existing file takes that file. The dialog's completion list
// would otherwise take the Return for itself when it offers the one name typed, and Open is
// never pressed.
class TypedFileReturn : public QObject {
public:
    TypedFileReturn(QFileDialog& dialog, QLineEdit* edit)
        : QObject(&dialog), dialog_(dialog), edit_(edit) {
        edit_->installEventFilter(this);
        connect(edit_, &QLineEdit::textEdited, this,
                [this](const QString& text) { typed_ = text; });
        // Made now, so this filter sees the key before the completer's own.
        if (QCompleter* completer = edit_->completer())
            completer->popup()->installEventFilter(this);
    }
    QString chosen;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        if (key->modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier)) return false;
        const QString shown = edit_->text();
        if (shown.isEmpty()) return false;
        QFileInfo file(dialog_.directory().absoluteFilePath(shown));
        // Typed while the dialog is not the active window, the path is cut to its file name as
        // the dialog selects every folder on the way: the path as typed is meant.
        if (!file.isFile() && QFileInfo(typed_).fileName() == shown)
            file.setFile(dialog_.directory().absoluteFilePath(typed_));
        if (!file.isFile()) return false;  // a folder, a new name: the dialog's own way
        chosen = file.absoluteFilePath();
        if (QCompleter* completer = edit_->completer()) completer->popup()->hide();
        static_cast<QDialog&>(dialog_).done(QDialog::Accepted);
        return true;
    }

private:
    QFileDialog& dialog_;
    QLineEdit* edit_;
    QString typed_;  // the text as the user last typed it
};

}  // namespace

QString QtDialogs::fileDialog(QWidget* parent, bool save, const QString& filter,
                              const QString& initialFolder) {
    QString folder = initialFolder;
    if (folder.isEmpty()) folder = workingFolder();
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The chosen file need not exist for an open either, and nothing asks before a replace.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters(toQtFilter(filter).split(QStringLiteral(";;")));
    dialog.setDirectory(folder);
    auto* nameBox = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    TypedFileReturn* typed = nameBox ? new TypedFileReturn(dialog, nameBox) : nullptr;
    QString chosen;
    if (dialog.exec() == QDialog::Accepted) {
        if (typed && !typed->chosen.isEmpty())
            chosen = typed->chosen;
        else if (!dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().constFirst();
    }
    if (!chosen.isEmpty()) workingFolder_ = QFileInfo(chosen).absolutePath();
    return chosen;
}

QString QtDialogs::workingFolder() const {
    return workingFolder_.isEmpty() ? QDir::currentPath() : workingFolder_;
}

QString QtDialogs::openFile(QWidget* parent, const QString& filter, const QString& initialFolder) {
    return fileDialog(parent, false, filter, initialFolder);
}

QString QtDialogs::saveFile(QWidget* parent, const QString& filter, const QString& initialFolder) {
    return fileDialog(parent, true, filter, initialFolder);
}

Dialogs::Answer QtDialogs::message(QWidget* parent, const QString& title, const QString& text,
                                   Icon icon, Buttons buttons, const QString& detail,
                                   std::optional<Answer> defaultButton) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(textForBox(text));
    if (!detail.isEmpty()) box.setInformativeText(textForBox(detail));
    // Names and texts from files stand in messages: never taken for markup (an image tag
    // would make the box read the file it names).
    for (QLabel* label : box.findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
    switch (icon) {
        case Icon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    if (defaultButton) {
        switch (*defaultButton) {
            case Answer::Ok:
                box.setDefaultButton(QMessageBox::Ok);
                break;
            case Answer::Yes:
                box.setDefaultButton(QMessageBox::Yes);
                break;
            case Answer::No:
                box.setDefaultButton(QMessageBox::No);
                break;
            case Answer::Cancel:
                box.setDefaultButton(QMessageBox::Cancel);
                break;
        }
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Ok:
            return Answer::Ok;
        default:
            return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}
