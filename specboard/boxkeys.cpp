#include "boxkeys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>
#include <algorithm>

namespace specboard {

namespace {

int normalKey(int key) { return key == Qt::Key_Enter ? Qt::Key_Return : key; }

class OneKeyValidator : public QValidator {
public:
    OneKeyValidator(QString keys, QObject* parent) : QValidator(parent), keys_(std::move(keys)) {}
    State validate(QString& input, int&) const override {
        if (input.isEmpty() || (input.size() == 1 && keys_.contains(input.front())))
            return Acceptable;
        return Invalid;
    }

private:
    QString keys_;
};

}  // namespace

void FocusMoves::add(QWidget* from, int key, QWidget* to) {
    const bool watched =
        std::any_of(moves_.begin(), moves_.end(), [from](const Move& m) { return m.from == from; });
    moves_.push_back({from, normalKey(key), to});
    if (!watched) from->installEventFilter(this);
}

bool FocusMoves::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    for (const Move& m : moves_) {
        if (m.from != watched || m.key != normalKey(key->key())) continue;
        m.to->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
}

OneKeyBox::OneKeyBox(QLineEdit* edit, QString keys, bool backspace)
    : QObject(edit), edit_(edit), keys_(std::move(keys)), backspace_(backspace) {
    edit_->installEventFilter(this);
    // Replaces the number box's paste check with the stricter one.
    edit_->setValidator(new OneKeyValidator(keys_, this));
}

bool OneKeyBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_ || event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;
    if (key->key() == Qt::Key_Backspace) {
        if (backspace_) clearAsTyped();
        return true;
    }
    const QString text = key->text();
    if (text.isEmpty()) return false;  // arrows, Home, Delete: not typed characters
    if (text.size() != 1 || !keys_.contains(text.front())) return true;  // dropped
    // The key goes on to the number box rule, which types it into the emptied box.
    clearAsTyped();
    return false;
}

void OneKeyBox::clearAsTyped() {
    // An edit of the user's, as Delete would make it: the number box knows the value from
    // before the typing.
    edit_->selectAll();
    edit_->del();
}

}  // namespace specboard
