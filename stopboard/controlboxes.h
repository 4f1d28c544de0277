#pragma once

#include <QRect>
#include <QString>
#include <functional>

class QLineEdit;
class QWidget;

namespace stopboard {

// The number boxes of the control editor. Each kind has its range and what the box shows
// when a number falls outside it or when the box is left empty.
enum class ControlBox {
    TableNumber,      // NowTableNo, BTableNo: the table shown, 1..512
    Assignment,       // FTableNumber: the base table of the current key, 1..512
    FirstStop,        // FirstStop: the first reel stop position, 1..21
    SlotTable,        // BTNo: the stop table of a base table slot, 1..512
    SlotProbability,  // TablePr: the probability of a base table slot, 0..256
};

// Makes the named box at its place; every number that its rule lets through goes to `store`.
QLineEdit* makeControlBox(QWidget* parent, ControlBox kind, const QString& name,
                          const QRect& geometry, std::function<void(int)> store);

}  // namespace stopboard
