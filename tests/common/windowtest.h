#pragma once

// Steps every window test takes through a real window: finding controls by name, clicks,
// double-clicks and drags delivered the way the platform delivers them, typing into boxes,
// and file commands answered through the scripted dialogs.

#include <QDrag>
#include <QDropEvent>
#include <QLineEdit>
#include <QWidget>
#include <QWindow>
#include <QtTest>
#include <functional>

#include "editorsession.h"
#include "scripteddialogs.h"

namespace wintest {

template <typename T = QWidget>
T* child(QWidget& w, const QString& name) {
    T* found = w.findChild<T*>(name);
    if (!found) qWarning("no child %s", qPrintable(name));
    return found;
}

inline bool showWindow(QWidget& w) {
    w.show();
    return QTest::qWaitForWindowExposed(&w);
}

// A left click in the middle of the named control.
inline void click(QWidget& w, const QString& name) {
    QWidget* target = child(w, name);
    if (target) QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
}

// A double-click as the window system delivers it: press, release, double-click, release,
// sent to the window so that it reaches whatever control lies under the point.
inline void doubleClick(QWidget& w, QWidget* target) {
    QTest::mouseDClick(w.windowHandle(), Qt::LeftButton, {},
                       target->mapTo(&w, target->rect().center()));
}

// Replaces the text of a box by typing: select all, Backspace, then the keys one by one, so
// the box's key filter sees each of them.
inline void typeInto(QLineEdit* box, const QString& keys) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, keys);
}

inline void typeInto(QWidget& w, const QString& name, const QString& keys) {
    if (auto* box = child<QLineEdit>(w, name)) typeInto(box, keys);
}

// Runs a file command whose dialog is answered with `path` ("" cancels).
inline void clickAnswering(QWidget& w, ScriptedDialogs& dialogs, const QString& button,
                           const QString& path) {
    dialogs.fileAnswers << path;
    click(w, button);
}

// Presses the mouse on `source` and, while the drag it starts runs (announced by its
// `started` signal), moves it over `target` and drops it there: the enter, move and drop
// events go to the window, which hands them to whatever control lies under the point. The
// offscreen platform runs no drag loop of its own. Returns whether a drag started.
template <typename Source>
bool dragTo(QWidget& w, Source* source, void (Source::*started)(QDrag*), QWidget* target) {
    QWindow* window = w.windowHandle();
    if (!source || !window) return false;
    const QPoint to = target->mapTo(&w, target->rect().center());
    bool began = false;
    auto connection = QObject::connect(source, started, [&](QDrag* drag) {
        began = true;
        QDragEnterEvent enter(to, drag->supportedActions(), drag->mimeData(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(window, &enter);
        QDragMoveEvent move(to, drag->supportedActions(), drag->mimeData(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(window, &move);
        QDropEvent drop(to, drag->supportedActions(), drag->mimeData(), Qt::NoButton, {});
        QCoreApplication::sendEvent(window, &drop);
    });
    const QPoint from = source->mapTo(&w, source->rect().center());
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    QTest::mouseRelease(window, Qt::LeftButton, {}, from);
    QObject::disconnect(connection);
    return began;
}

// Ctrl+Z, or for a redo Ctrl+Y (Ctrl+Shift+Z when `shifted`), in whatever control of `w` has
// the focus: the window's history must take the key from any of them.
inline void pressHistoryKey(QWidget& w, bool redo, bool shifted = false) {
    QWidget* focused = w.focusWidget() ? w.focusWidget() : &w;
    QTest::keyClick(
        focused, redo && !shifted ? Qt::Key_Y : Qt::Key_Z,
        redo && shifted ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
}

// Undoes (or redoes) the whole history of `session` with `press`, checking `shows` after
// every step. The number of steps taken, or -1 when a step did not show the document or the
// keys ran past what the history can hold.
inline int walkHistory(const EditorSession& session, bool redo, const std::function<void()>& press,
                       const std::function<bool()>& shows) {
    int steps = 0;
    for (; redo ? session.canRedo() : session.canUndo(); ++steps) {
        if (steps > EditorSession::HistoryLimit) return -1;
        press();
        if (!shows()) return -1;
    }
    return steps;
}

}  // namespace wintest
