#include "tablepanels.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <span>

#include "controlboxes.h"
#include "controls.h"

namespace stopboard {

namespace {

// "<<", the number box, its range label and ">>" of a table number, at one height.
struct TableStepper {
    const char* previous;
    const char* box;
    const char* rangeName;
    const char16_t* range;
    const char* next;
    int boxX;
};

// Places a stepper row; returns its box, its buttons go into steps.
QLineEdit* makeStepper(QWidget* panel, const TableStepper& s, int y, std::function<void(int)> typed,
                       std::function<void(int)> step, QWidget** steps) {
    QPushButton* previous =
        makeButton(panel, QStringLiteral("<<"), s.previous, s.boxX - 28, y, 26, 20);
    QLineEdit* box = makeControlBox(panel, ControlBox::TableNumber, QLatin1String(s.box),
                                    QRect(s.boxX, y, 34, 20), std::move(typed));
    QLabel* range =
        makeLabel(panel, QString::fromUtf16(s.range), s.boxX + 37, y + 2, -1, 17, s.rangeName);
    QPushButton* next =
        makeButton(panel, QStringLiteral(">>"), s.next, range->x() + range->width() + 4, y, 26, 20);
    QObject::connect(previous, &QPushButton::clicked, panel, [step] { step(-1); });
    QObject::connect(next, &QPushButton::clicked, panel, [step] { step(1); });
    steps[0] = previous;
    steps[1] = box;
    steps[2] = next;
    return box;
}

void setAllEnabled(std::span<QWidget* const> controls, bool on) {
    for (QWidget* w : controls)
        if (w) w->setEnabled(on);
}

}  // namespace

// ---- 基本テーブル設定 - 1

StopTablePanel::StopTablePanel(ControlEditor& editor, QWidget* frame)
    : QWidget(frame), editor_(editor) {
    setObjectName(QStringLiteral("StopTablePanel"));
    setGeometry(frame->rect());
    makeLabel(this, QStringLiteral("テーブルNo."), 8, 22, -1, 17, "Label2");
    NowTableNo = makeStepper(
        this, {"PrNowTable", "NowTableNo", "Label32", u"/ 512", "NeNowTable", 104}, 20,
        [this](int table) { editor_.setCurrentStopTable(table); },
        [this](int delta) { editor_.stepStopTable(delta); }, editing_.data());

    makeLabel(this, QStringLiteral("コメント"), 8, 48, -1, 17, "Label33");
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(60, 46, 144, 20);
    connect(Text1, &QLineEdit::textChanged, this, &StopTablePanel::commentTyped);
    editing_[3] = Text1;

    QPushButton* copy = makeButton(this, QStringLiteral("コピー"), "Command1", 60, 70, 70, 22);
    QPushButton* paste = makeButton(this, QStringLiteral("ペースト"), "Command2", 134, 70, 70, 22);
    connect(copy, &QPushButton::clicked, &editor_, &ControlEditor::copyStopTable);
    connect(paste, &QPushButton::clicked, &editor_, &ControlEditor::pasteStopTable);
    editing_[4] = copy;
    editing_[5] = paste;
    setAllEnabled(editing_, false);

    connect(&editor_, &ControlEditor::stopTableSelected, this,
            [this](int table) { NowTableNo->setText(QString::number(table)); });
    connect(&editor_, &ControlEditor::stopTableShown, this,
            [this] { Text1->setText(editor_.document().comment(editor_.currentStopTable())); });
    connect(&editor_, &ControlEditor::editingEnabledChanged, this,
            [this](bool on) { setAllEnabled(editing_, on); });
}

void StopTablePanel::commentTyped(const QString& text) {
    const QString storable = ControlEditor::commentAsStored(text);
    if (storable != text) {
        // Show what the file will hold, not what would come back otherwise.
        const int cursor = Text1->cursorPosition() - int(text.size() - storable.size());
        Text1->setText(storable);  // itself a change, stored from there
        Text1->setCursorPosition(std::max(cursor, 0));
        return;
    }
    editor_.setComment(editor_.currentStopTable(), text);
}

// ---- 基本テーブル設定 - 2

BaseTablePanel::BaseTablePanel(ControlEditor& editor, QWidget* frame)
    : QWidget(frame), editor_(editor) {
    setObjectName(QStringLiteral("BaseTablePanel"));
    setGeometry(frame->rect());
    makeLabel(this, QStringLiteral("No."), 8, 22, -1, 17, "Label1");
    BTableNo = makeStepper(
        this, {"PrBTableNo", "BTableNo", "Label31", u"/512", "NeBTableNo", 62}, 20,
        [this](int table) { editor_.setCurrentBaseTable(table); },
        [this](int delta) { editor_.stepBaseTable(delta); }, steps_.data());

    QLabel* tableHeader =
        makeLabel(this, QStringLiteral("割り当てる テーブルNo"), 56, 42, 64, 32, "Label4");
    tableHeader->setWordWrap(true);
    tableHeader->setAlignment(Qt::AlignCenter);
    makeLabel(this, QStringLiteral("選択確率"), 129, 57, -1, 17, "Label50");
    for (int i = 0; i < control::SlotsPerBaseTable; ++i) {
        const int y = 76 + i * 19;
        makeLabel(this, QStringLiteral("テーブル%1").arg(i + 1), 8, y + 1);
        BTNo[i] = makeControlBox(
            this, ControlBox::SlotTable, QStringLiteral("BTNo_%1").arg(i), QRect(70, y, 36, 18),
            [this, i](int table) { editor_.setSlotTable(editor_.currentBaseTable(), i, table); });
        TablePr[i] = makeControlBox(
            this, ControlBox::SlotProbability, QStringLiteral("TablePr_%1").arg(i),
            QRect(136, y, 34, 18), [this, i](int probability) {
                editor_.setSlotProbability(editor_.currentBaseTable(), i, probability);
            });
        makeLabel(this, QStringLiteral("/ 256"), 174, y + 1);
    }
    auto setEditing = [this](bool on) {
        setAllEnabled(steps_, on);
        for (int i = 0; i < control::SlotsPerBaseTable; ++i) {
            BTNo[i]->setEnabled(on);
            TablePr[i]->setEnabled(on);
        }
    };
    setEditing(false);

    connect(&editor_, &ControlEditor::baseTableSelected, this,
            [this](int table) { BTableNo->setText(QString::number(table)); });
    connect(&editor_, &ControlEditor::baseTableShown, this, &BaseTablePanel::showBaseTable);
    connect(&editor_, &ControlEditor::editingEnabledChanged, this, setEditing);
}

void BaseTablePanel::showBaseTable() {
    // Each box passes its own rule: a slot that has never been set shows table 1.
    for (int i = 0; i < control::SlotsPerBaseTable; ++i) {
        const BaseSlot& slot = editor_.document().baseSlot(editor_.currentBaseTable(), i);
        TablePr[i]->setText(QString::number(slot.probability));
        BTNo[i]->setText(QString::number(slot.table));
    }
}

}  // namespace stopboard
