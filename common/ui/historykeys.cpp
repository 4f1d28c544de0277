#include "historykeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "editorsession.h"

HistoryKeys::HistoryKeys(QWidget* window, EditorSession& session, Step step)
    : QObject(window), window_(window), session_(session), step_(std::move(step)) {
    if (!step_) step_ = [this](Key key) { key == Key::Undo ? session_.undo() : session_.redo(); };
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (old && now && old->window() == window_) session_.endTyping();
    });
}

HistoryKeys::~HistoryKeys() { qApp->removeEventFilter(this); }

HistoryKeys::Key HistoryKeys::keyOf(const QKeyEvent& key) {
    const auto modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier && key.key() == Qt::Key_Z) return Key::Undo;
    if (modifiers == Qt::ControlModifier && key.key() == Qt::Key_Y) return Key::Redo;
    if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier) && key.key() == Qt::Key_Z)
        return Key::Redo;
    return Key::None;
}

bool HistoryKeys::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != window_) return false;
    const Key key = keyOf(*static_cast<QKeyEvent*>(event));
    if (key == Key::None) return false;
    // Claimed before any shortcut and before the focused control's own undo; taken here, the
    // key goes no further up to the control's parents.
    event->accept();
    if (type == QEvent::KeyPress) step_(key);
    return true;
}
