#include "focuskeys.h"

#include <QKeyEvent>
#include <QLineEdit>

void FocusKeys::install(QLineEdit* box) { box->installEventFilter(new FocusKeys(box)); }

bool FocusKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) return false;
    // Straight to the box, past the digit filter: its own handling moves the focus.
    return static_cast<QLineEdit*>(watched)->event(event);
}
