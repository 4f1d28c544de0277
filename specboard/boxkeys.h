#pragma once

#include <QObject>
#include <QString>
#include <vector>

class QLineEdit;
class QWidget;

namespace specboard {

// Keys that move the focus from one box to another as the pages lay them out (the arrow keys
// between boxes of one column, Enter to the next box). Enter covers the keypad's Enter too.
class FocusMoves : public QObject {
    Q_OBJECT
public:
    explicit FocusMoves(QObject* parent) : QObject(parent) {}
    void add(QWidget* from, int key, QWidget* to);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Move {
        QWidget* from;
        int key;
        QWidget* to;
    };
    std::vector<Move> moves_;
};

// A number box that holds one key at a time: each accepted key replaces what the box held
// (Backspace, when accepted, just empties it), other keys are dropped, and a pasted text must
// be one accepted key. Attach it after the number box rule.
class OneKeyBox : public QObject {
    Q_OBJECT
public:
    OneKeyBox(QLineEdit* edit, QString keys, bool backspace);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clearAsTyped();

    QLineEdit* edit_;
    QString keys_;
    bool backspace_;
};

}  // namespace specboard
