#pragma once

#include <QUndoCommand>
#include <concepts>
#include <functional>
#include <utility>

// Where typing goes: a kind of box (one id per kind, -1 for an edit that never merges) and
// the value it edits (an entry and a column, say), within one run of typing.
struct TypingTarget {
    int kind = -1;
    qint64 target = 0;
    quint64 run = 0;
};

// One edit that sets a value of the document from `before` to `after`: redo applies `after`
// and undo `before`, both through the editor's own code for that edit, so the window redraws
// from the same signals as for the first edit. Only the two values are stored.
//
// Steps typed into the same box for the same value in one run of typing merge into one (the
// first `before`, the last `after`); typing that ends where it began leaves no step.
template <typename Value>
class ValueStep : public QUndoCommand {
public:
    using Apply = std::function<void(const Value&)>;

    ValueStep(Value before, Value after, Apply apply, TypingTarget typing = {})
        : before_(std::move(before)),
          after_(std::move(after)),
          apply_(std::move(apply)),
          typing_(typing) {}

    void redo() override { apply_(after_); }
    void undo() override { apply_(before_); }
    int id() const override { return typing_.kind; }

    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = dynamic_cast<const ValueStep*>(other);
        if (!next || next->typing_.target != typing_.target || next->typing_.run != typing_.run)
            return false;
        after_ = next->after_;
        if constexpr (std::equality_comparable<Value>) setObsolete(after_ == before_);
        return true;
    }

private:
    Value before_;
    Value after_;
    Apply apply_;
    TypingTarget typing_;
};
