#include "numberbox.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QValidator>
#include <utility>

// Typed keys were already filtered, so the validator only refuses text that reaches
// the box otherwise (pasted or dropped) unless it is a whole number within the limit.
class NumberBox::Validator : public QValidator {
public:
    explicit Validator(NumberBox* box) : QValidator(box), box_(box) {}
    State validate(QString& input, int&) const override {
        if (box_->typing_ || input.isEmpty()) return Acceptable;
        const auto value = NumberBox::parse(input, box_->rule_.allowMinus);
        if (!value) return Invalid;
        if (box_->rule_.limit && *value > *box_->rule_.limit) return Invalid;
        if (box_->rule_.maxDigits > 0 &&
            input.size() > box_->rule_.maxDigits + (input.startsWith(u'-') ? 1 : 0))
            return Invalid;
        return Acceptable;
    }

private:
    NumberBox* box_;
};

NumberBox::NumberBox(QLineEdit* edit, NumberBoxRule rule)
    : LeavingRule(edit), edit_(edit), rule_(std::move(rule)) {
    edit_->installEventFilter(this);
    edit_->setValidator(new Validator(this));
    if (rule_.maxDigits > 0) edit_->setMaxLength(rule_.maxDigits + (rule_.allowMinus ? 1 : 0));
    // The text a box starts with is what the document holds.
    settled_ = stored_ = parse(edit_->text(), rule_.allowMinus);
    // The line edit tells a user's edit (typed, pasted, cut) before the change itself.
    connect(edit_, &QLineEdit::textEdited, this, [this] { edited_ = true; });
    connect(edit_, &QLineEdit::textChanged, this, &NumberBox::onTextChanged);
}

std::optional<std::int64_t> NumberBox::parse(const QString& text, bool allowMinus) {
    if (text.isEmpty()) return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (allowMinus && text[0] == u'-') {
        negative = true;
        i = 1;
    }
    if (i >= text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        // Saturate: a long run of digits is simply "above every limit".
        if (value < 1'000'000'000'000LL) value = value * 10 + (c - u'0');
    }
    return negative ? -value : value;
}

bool NumberBox::acceptsKey(QChar c, int key) const {
    if (key == Qt::Key_Backspace) return true;
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return true;
    return rule_.allowMinus && u == u'-';
}

bool NumberBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_) return false;
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        // Keys that type nothing (arrows, Delete, Home), focus moves and shortcuts (Ctrl+C,
        // Ctrl+V: a paste still has to pass the validator) are not typed characters.
        if (text.isEmpty() && key->key() != Qt::Key_Backspace) return false;
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        const QChar c = text.isEmpty() ? QChar() : text.front();
        if (!acceptsKey(c, key->key())) return true;  // discarded
        const QScopedValueRollback<bool> byUser(userEdit_, true);
        if (edit_->text() == QLatin1String("0")) edit_->clear();
        if (rule_.discardOverflowKey && rule_.limit && key->key() != Qt::Key_Backspace) {
            // Work out what the text would become and drop the key if it passes the limit.
            QString after = edit_->text();
            int from = edit_->cursorPosition(), length = 0;
            if (edit_->hasSelectedText()) {
                from = edit_->selectionStart();
                length = static_cast<int>(edit_->selectedText().size());
            }
            after.replace(from, length, c);
            const auto value = parse(after, rule_.allowMinus);
            if (value && *value > *rule_.limit) return true;
        }
        typing_ = true;
        edit_->event(event);  // let the line edit type it, past the validator's paste check
        typing_ = false;
        return true;
    }
    if (event->type() == QEvent::FocusOut) {
        // Focus lost to another window or a popup does not leave the box.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) leave();
    }
    return false;
}

void NumberBox::leave() {
    if (edit_->text().isEmpty() && rule_.textWhenLeftEmpty)
        edit_->setText(*rule_.textWhenLeftEmpty);  // stored as any text the program sets
    // The typing is over: what the box shows now is where the next typing starts from.
    if (const auto shown = parse(edit_->text(), rule_.allowMinus)) settled_ = shown;
}

void NumberBox::store(std::int64_t value) {
    stored_ = value;
    emit valueChanged(value);
}

void NumberBox::onTextChanged(const QString& text) {
    const bool byUser = std::exchange(edited_, false) || userEdit_;
    // The texts the rule puts back while it checks a user's edit belong to that edit.
    const QScopedValueRollback<bool> inEdit(userEdit_, byUser);
    const auto value = parse(text, rule_.allowMinus);
    if (!value) {
        if (!byUser) {
            settled_.reset();  // the program emptied the box: nothing to go back to
        } else if (settled_ && stored_ != settled_) {
            // An emptied box stores nothing new: the value from before the typing comes back,
            // never a prefix typed on the way.
            store(*settled_);
        }
        return;
    }
    if (rule_.limit && *value > *rule_.limit && !rule_.discardOverflowKey) {
        edit_->setText(rule_.overflowText);  // the replacement is itself a change
        return;
    }
    // Before the store: a text the store puts back (a 0 shown as 1) settles after it.
    if (!byUser) settled_ = value;
    store(*value);
}

NumberBox* makeNumberBox(QWidget* parent, const QString& name, const QRect& geometry,
                         const NumberBoxRule& rule, std::function<void(std::int64_t)> store,
                         const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    // The boxes are laid out for their digits; the frame's own margins would cut them off.
    edit->setTextMargins(0, 0, 0, 0);
    auto* box = new NumberBox(edit, rule);
    if (store) QObject::connect(box, &NumberBox::valueChanged, box, std::move(store));
    return box;
}

void showNumber(QLineEdit* box, std::int64_t value, bool overTyping) {
    if (NumberBox::parse(box->text(), true) == value) return;
    if (!overTyping && box->window()->focusWidget() == box) return;
    box->setText(QString::number(value));
}
