#pragma once

#include <QObject>
#include <functional>

class EditorSession;
class QKeyEvent;
class QWidget;

// Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo, anywhere in one window whatever control has the
// focus. The keys are taken before the control sees them, so a text box's own undo never runs:
// the window has one history. The focus moving from one control to another ends a run of
// typing, so the next keys typed make a step of their own.
class HistoryKeys : public QObject {
    Q_OBJECT
public:
    enum class Key { None, Undo, Redo };
    // How a key is carried out; by default at once on the session.
    using Step = std::function<void(Key)>;

    HistoryKeys(QWidget* window, EditorSession& session, Step step = {});
    ~HistoryKeys() override;

    static Key keyOf(const QKeyEvent& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    EditorSession& session_;
    Step step_;
};
