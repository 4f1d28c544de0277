#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QLineEdit;
class QRect;
class QWidget;

// The rule every number box follows, with the parameters each box sets.
struct NumberBoxRule {
    bool allowMinus = false;  // "-" accepted as a key (and as a leading sign)
    int maxDigits = 0;        // 0: any number of digits may be typed
    // Above this value the typed text is replaced by overflowText (or, with
    // discardOverflowKey, the key that would pass it is dropped).
    std::optional<std::int64_t> limit;
    QString overflowText = QStringLiteral("0");
    bool discardOverflowKey = false;
    // Text put back when the box is left empty; nullopt leaves it empty.
    std::optional<QString> textWhenLeftEmpty;
};

// What a box does when the focus leaves it (a number box refills an empty text). A step that
// reads what the box holds -- a file command, the close question, a button -- runs the rule of
// the focused box first (lifecycle::leaveFocusedBox), since buttons take no focus.
class LeavingRule : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void leave() = 0;
};

// Attaches the number box rule to a QLineEdit: filters keys, replaces a lone "0" with
// the typed key, checks the limit on every change, refuses pasted text that is not a
// whole number within the limit, and refills the box when it is left empty. What is stored is
// what the box shows or what leaving will make of it: while an edit leaves the box empty (or a
// range rule clears it), the value from before the typing is stored again.
class NumberBox : public LeavingRule {
    Q_OBJECT
public:
    NumberBox(QLineEdit* edit, NumberBoxRule rule);

    void leave() override;

    QLineEdit* edit() const { return edit_; }
    const NumberBoxRule& rule() const { return rule_; }
    // Parses a box text as a whole number; nullopt for anything else.
    static std::optional<std::int64_t> parse(const QString& text, bool allowMinus);

signals:
    // After the limit check, for every change to a text holding a number (typed or set).
    void valueChanged(std::int64_t value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Validator;
    void onTextChanged(const QString& text);
    void store(std::int64_t value);
    bool acceptsKey(QChar c, int key) const;

    QLineEdit* edit_;
    NumberBoxRule rule_;
    bool typing_ = false;    // a typed key, past the paste check
    bool edited_ = false;    // the change under way comes from the user (textEdited)
    bool userEdit_ = false;  // inside a user's edit, with the texts the rule puts back
    // The value shown before the user's typing began (set by the program or by leaving), and
    // the value last stored.
    std::optional<std::int64_t> settled_;
    std::optional<std::int64_t> stored_;
};

// Makes the line edit of a number box at its fixed place, named for tests to find, with the
// rule attached; every value the rule lets through goes to `store` (the document field the
// box edits). Windows declare their boxes in tables and call this once per row.
NumberBox* makeNumberBox(QWidget* parent, const QString& name, const QRect& geometry,
                         const NumberBoxRule& rule, std::function<void(std::int64_t)> store,
                         const QString& text = QStringLiteral("0"));

// Shows a value of the document in a number box; a box that already shows it keeps its text
// and cursor. `overTyping`: also in the box being typed into (another entry is shown, or an
// undo or redo brought the value); otherwise that box keeps its text, the value came from it.
void showNumber(QLineEdit* box, std::int64_t value, bool overTyping);
