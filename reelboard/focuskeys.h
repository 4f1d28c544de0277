#pragma once

#include <QObject>

class QLineEdit;

// Lets Tab and Shift+Tab move the focus out of a box whose key filter would drop them
// (the number boxes accept only digits and Backspace). Install after that filter.
class FocusKeys : public QObject {
public:
    static void install(QLineEdit* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
