#include "textguard.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QValidator>
#include <algorithm>

#include "orfformat.h"

namespace specboard {

namespace {

struct Change {
    qsizetype at = 0;   // where the texts start to differ
    QStringView added;  // what `after` holds there instead
};

Change changeBetween(QStringView before, QStringView after) {
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return {prefix, after.mid(prefix, after.size() - prefix - suffix)};
}

qsizetype endLines(const QStringList& lines) {
    return std::count_if(lines.begin(), lines.end(),
                         [](const QString& line) { return orf::endsExplanation(line); });
}

qsizetype blankStartedLines(const QStringList& lines) {
    return std::count_if(lines.begin(), lines.end(),
                         [](const QString& line) { return orf::startsWithBlank(line); });
}

// Refuses an edit of a name box that brings in what the file cannot carry. The box's last
// accepted text is what the edit started from.
class NameValidator : public QValidator {
public:
    explicit NameValidator(QLineEdit* box) : QValidator(box), before_(box->text()) {
        connect(box, &QLineEdit::textChanged, this,
                [this](const QString& text) { before_ = text; });
    }
    State validate(QString& input, int&) const override {
        return bringsUnstorableText(before_, input) ? Invalid : Acceptable;
    }

private:
    QString before_;
};

}  // namespace

bool bringsUnstorableText(const QString& before, const QString& after) {
    if (orf::startsWithBlank(after) && !orf::startsWithBlank(before)) return true;
    const QStringView added = changeBetween(before, after).added;
    return !added.isEmpty() && !orf::isStorableLine(added.toString());
}

void guardNameBox(QLineEdit* box) { box->setValidator(new NameValidator(box)); }

ExplanationGuard::ExplanationGuard(QPlainTextEdit* box) : QObject(box), box_(box) {
    accepted_ = box_->toPlainText();
    connect(box_, &QPlainTextEdit::textChanged, this, &ExplanationGuard::onTextChanged);
}

void ExplanationGuard::show(const QString& explanation) {
    QString text = explanation;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QString shown = box_->toPlainText();
    if (text == shown) return;
    // Only the lines that differ are replaced, so that a long description is not laid out
    // again for one key taken back, and the cursor stands where the text changed.
    const Change change = changeBetween(shown, text);
    const qsizetype removed = shown.size() - text.size() + change.added.size();
    showing_ = true;
    QTextCursor cursor(box_->document());
    cursor.setPosition(static_cast<int>(change.at));
    cursor.setPosition(static_cast<int>(change.at + removed), QTextCursor::KeepAnchor);
    cursor.insertText(change.added.toString());
    showing_ = false;
    accepted_ = box_->toPlainText();
    if (accepted_ != text) {
        // A character the cursor edit would change (a non-breaking space) is shown whole.
        showing_ = true;
        box_->setPlainText(text);
        showing_ = false;
        accepted_ = box_->toPlainText();
        return;
    }
    box_->setTextCursor(cursor);
    box_->ensureCursorVisible();
}

void ExplanationGuard::onTextChanged() {
    if (showing_) return;
    const QString text = box_->toPlainText();
    if (text == accepted_) return;  // a change of format only
    const Change change = changeBetween(accepted_, text);
    bool refused = false;
    for (const QStringView line : change.added.split(u'\n'))
        if (!line.isEmpty() && !orf::isStorableLine(line.toString())) refused = true;
    if (!refused) {
        const QStringList before = accepted_.split(u'\n'), after = text.split(u'\n');
        // New end lines and blank-started lines are refused, and lines past what the reader
        // takes, but a description shown from a file that already has them can still be edited.
        refused = endLines(after) > endLines(before) ||
                  blankStartedLines(after) > blankStartedLines(before) ||
                  (after.size() > orf::MaxExplanationLines && after.size() > before.size());
    }
    if (refused) {
        showing_ = true;
        box_->setPlainText(accepted_);
        QTextCursor cursor = box_->textCursor();
        cursor.setPosition(static_cast<int>(std::min(change.at, accepted_.size())));
        box_->setTextCursor(cursor);
        box_->ensureCursorVisible();
        showing_ = false;
        return;
    }
    accepted_ = text;
    QString explanation = text;
    emit changed(explanation.replace(u'\n', QStringLiteral("\r\n")));
}

}  // namespace specboard
