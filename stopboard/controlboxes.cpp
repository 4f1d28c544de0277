#include "controlboxes.h"

#include <QLineEdit>
#include <optional>

#include "numberbox.h"

namespace stopboard {

namespace {

struct BoxParameters {
    int limit;
    const char* overflowText;  // shown for a number above the limit
    const char* zeroText;      // shown for 0 when it is outside the range; nullptr: 0 is a value
    const char* leftEmptyText;
    const char* startText;
};

BoxParameters parametersOf(ControlBox kind) {
    switch (kind) {
        case ControlBox::TableNumber:
            return {512, "", "", "1", "1"};
        case ControlBox::Assignment:
            return {512, "", "1", "1", "1"};
        case ControlBox::FirstStop:
            return {21, "", "1", "1", "1"};
        case ControlBox::SlotTable:
            return {512, "1", "1", "1", "1"};
        case ControlBox::SlotProbability:
            break;
    }
    return {256, "0", nullptr, "1", "0"};
}

}  // namespace

QLineEdit* makeControlBox(QWidget* parent, ControlBox kind, const QString& name,
                          const QRect& geometry, std::function<void(int)> store) {
    const BoxParameters p = parametersOf(kind);
    NumberBoxRule rule;
    rule.limit = p.limit;
    rule.overflowText = QString::fromLatin1(p.overflowText);
    rule.textWhenLeftEmpty = QString::fromLatin1(p.leftEmptyText);
    NumberBox* box =
        makeNumberBox(parent, name, geometry, rule, {}, QString::fromLatin1(p.startText));
    QLineEdit* edit = box->edit();
    const std::optional<QString> zero =
        p.zeroText ? std::optional<QString>(QString::fromLatin1(p.zeroText)) : std::nullopt;
    QObject::connect(box, &NumberBox::valueChanged, edit,
                     [edit, zero, store = std::move(store)](std::int64_t value) {
                         if (value == 0 && zero) {
                             edit->setText(*zero);  // itself a change, checked again
                             return;
                         }
                         store(static_cast<int>(value));
                     });
    return edit;
}

}  // namespace stopboard
