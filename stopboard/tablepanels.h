#pragma once

#include <QWidget>
#include <array>

#include "controleditor.h"

class QLineEdit;
class QPushButton;

namespace stopboard {

// "基本テーブル設定 - 1": which stop table the grid shows, its comment, and the copy of its
// stop indexes onto another table. It fills its frame.
class StopTablePanel : public QWidget {
    Q_OBJECT
public:
    StopTablePanel(ControlEditor& editor, QWidget* frame);

private:
    // The comment box holds only what the control file can carry back.
    void commentTyped(const QString& text);

    ControlEditor& editor_;
    QLineEdit* NowTableNo = nullptr;
    QLineEdit* Text1 = nullptr;
    std::array<QWidget*, 6> editing_{};
};

// "基本テーブル設定 - 2": the eight slots of one base table, each a stop table number and its
// selection probability out of 256. It fills its frame.
class BaseTablePanel : public QWidget {
    Q_OBJECT
public:
    BaseTablePanel(ControlEditor& editor, QWidget* frame);

private:
    void showBaseTable();

    ControlEditor& editor_;
    QLineEdit* BTableNo = nullptr;
    std::array<QLineEdit*, control::SlotsPerBaseTable> BTNo{};
    std::array<QLineEdit*, control::SlotsPerBaseTable> TablePr{};
    std::array<QWidget*, 3> steps_{};
};

}  // namespace stopboard
