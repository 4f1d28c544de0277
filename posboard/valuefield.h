#pragma once

#include <QString>

#include "numberbox.h"

class QLineEdit;

namespace posboard {

// The typing rules of an entry's value field. A picture-number field holds one slot number
// 0..8: every accepted key first empties it, so the last digit typed is the one kept. A
// correction field holds an optional "-" and digits within 16 bits: a "-" starts a new value
// and a digit replaces a lone "0". Other keys are dropped, pasted text and deletions must
// leave a text the field may hold, and a field left empty shows "0" again.
class ValueField : public LeavingRule {
    Q_OBJECT
public:
    enum class Kind { PictureSlot, Correction };

    ValueField(QLineEdit* edit, Kind kind);

    void leave() override;

    // Whether the field may hold the text after an edit (typed, pasted or deleted).
    static bool mayHold(const QString& text, Kind kind);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Validator;
    bool acceptsKey(QChar c) const;

    QLineEdit* edit_;
    Kind kind_;
};

}  // namespace posboard
