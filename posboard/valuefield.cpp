#include "valuefield.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace posboard {

namespace {

constexpr int MaxCorrectionLength = 6;  // "-32768"
constexpr int MinCorrection = -32768;
constexpr int MaxCorrection = 32767;

bool isDigit(QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; }

}  // namespace

// Refuses any change that would leave a text the field may not hold. Typed keys reach it
// after the key filter; pasted text, drops and deletions reach it alone.
class ValueField::Validator : public QValidator {
public:
    Validator(Kind kind, QObject* parent) : QValidator(parent), kind_(kind) {}
    State validate(QString& input, int&) const override {
        return ValueField::mayHold(input, kind_) ? Acceptable : Invalid;
    }

private:
    Kind kind_;
};

ValueField::ValueField(QLineEdit* edit, Kind kind) : LeavingRule(edit), edit_(edit), kind_(kind) {
    edit_->setValidator(new Validator(kind, this));
    edit_->installEventFilter(this);
}

bool ValueField::mayHold(const QString& text, Kind kind) {
    if (text.isEmpty()) return true;
    if (kind == Kind::PictureSlot) return text.size() == 1 && text[0] >= u'0' && text[0] <= u'8';
    if (text.size() > MaxCorrectionLength) return false;
    const qsizetype first = text.startsWith(u'-') ? 1 : 0;
    int value = 0;
    for (qsizetype i = first; i < text.size(); ++i) {
        if (!isDigit(text[i])) return false;
        value = value * 10 + (text[i].unicode() - u'0');
    }
    if (first) value = -value;
    return value >= MinCorrection && value <= MaxCorrection;
}

bool ValueField::acceptsKey(QChar c) const {
    if (kind_ == Kind::PictureSlot) return c.unicode() >= u'0' && c.unicode() <= u'8';
    return isDigit(c) || c == u'-';
}

bool ValueField::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_) return false;
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int code = key->key();
        // Keys that type no character (arrows, Home, Delete), focus moves and shortcuts
        // (a paste still meets the validator) pass untouched.
        if (code == Qt::Key_Tab || code == Qt::Key_Backtab || code == Qt::Key_Delete) return false;
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        const bool backspace = code == Qt::Key_Backspace;
        const QString text = key->text();
        if (text.isEmpty() && !backspace) return false;
        const QChar c = backspace ? QChar() : text.front();
        if (!backspace && !acceptsKey(c)) return true;  // dropped
        if (kind_ == Kind::PictureSlot) {
            // One digit at most: the key replaces whatever the field held.
            edit_->clear();
            return backspace;
        }
        if (c == u'-' && !edit_->text().isEmpty()) edit_->clear();  // a "-" starts a new value
        if (edit_->text() == QLatin1String("0")) edit_->clear();    // a key replaces a lone zero
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Losing the focus to another window or a popup does not leave the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) leave();
    }
    return false;
}

void ValueField::leave() {
    if (edit_->text().isEmpty()) edit_->setText(QStringLiteral("0"));
}

}  // namespace posboard
