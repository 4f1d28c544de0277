#include "paylinepanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "boxkeys.h"
#include "controls.h"
#include "numberbox.h"
#include "picturebox.h"

namespace specboard {

namespace {

using namespace machine;

constexpr int CellX = 44;
constexpr int CellY = 104;
constexpr int CellW = 40;
constexpr int CellH = 18;
constexpr int CellStepX = 42;
constexpr int CellStepY = 20;

}  // namespace

PayLinePanel::PayLinePanel(SpecEditor& editor, QWidget* frame) : QWidget(frame), editor_(editor) {
    setObjectName(QStringLiteral("PayLinePanel"));
    setGeometry(frame->rect());

    QLabel* lamps = makeLabel(this, QStringLiteral("対応する　BETランプ"), 8, 18);
    fitFontToWidth(lamps, lamps->text(), width() - 16);
    for (int b = 0; b < StoredBets; ++b) {
        auto* option = new QRadioButton(QStringLiteral("%1BET").arg(b + 1), this);
        option->setObjectName(QStringLiteral("OptionBet_%1").arg(b));
        option->setGeometry(8 + 54 * b, 36, 54, 18);
        connect(option, &QRadioButton::clicked, this, [this, b] { editor_.selectLineBet(b); });
        OptionBet[b] = option;
    }
    OptionBet[editor_.selection().curLineBet]->setChecked(true);

    makeLabel(this, QStringLiteral("ライン"), 8, 61);
    TextLine = new QLineEdit(QStringLiteral("1"), this);
    TextLine->setObjectName(QStringLiteral("TextLine"));
    TextLine->setGeometry(56, 60, 22, 18);
    TextLine->setTextMargins(0, 0, 0, 0);
    TextLine->setAlignment(Qt::AlignCenter);
    TextLine->setReadOnly(true);  // moved by its buttons only
    connect(makeButton(this, QStringLiteral("<<"), "Command9", 82, 60, 26, 18),
            &QPushButton::clicked, this, [this] {
                editor_.previousLine();
                redrawCells();
            });
    connect(makeButton(this, QStringLiteral(">>"), "Command10", 108, 60, 26, 18),
            &QPushButton::clicked, this, [this] {
                editor_.nextLine();
                redrawCells();
            });

    makeLabel(this, QStringLiteral("領域番号"), 8, 83);
    NumberBoxRule area;
    area.textWhenLeftEmpty = QStringLiteral("0");
    Text1 = makeNumberBox(this, QStringLiteral("Text1"), QRect(64, 82, 20, 18), area,
                          [this](std::int64_t v) {
                              const SpecSelection& s = editor_.selection();
                              editor_.setLineArea(s.curLineBet, s.curLine - 1, v);
                          })
                ->edit();
    new OneKeyBox(Text1, QStringLiteral("012345"), true);

    const QString rows[LineRows] = {QStringLiteral("枠上"), QStringLiteral("上段"),
                                    QStringLiteral("中段"), QStringLiteral("下段"),
                                    QStringLiteral("枠下")};
    for (int row = 0; row < LineRows; ++row)
        makeLabel(this, rows[row], 8, CellY + CellStepY * row + 1);
    for (int r = 0; r < reel::ReelCount; ++r) {
        for (int row = 0; row < LineRows; ++row) {
            const int k = r * LineRows + row;
            PicReal[k] =
                new PictureBox(this, QStringLiteral("PicReal_%1").arg(k),
                               QRect(CellX + CellStepX * r, CellY + CellStepY * row, CellW, CellH));
            connect(PicReal[k], &PictureBox::clicked, this, [this, k] {
                const SpecSelection& s = editor_.selection();
                editor_.clickLineCell(s.curLineBet, s.curLine - 1, k);
            });
        }
    }

    connect(&editor_, &SpecEditor::lineCellsChanged, this, &PayLinePanel::redrawCells);
    connect(&editor_, &SpecEditor::lineSelected, this, &PayLinePanel::showLine);
    connect(&editor_, &SpecEditor::documentReplaced, this, &PayLinePanel::showLine);
    redrawCells();
}

void PayLinePanel::redrawCells() {
    const SpecSelection& s = editor_.selection();
    const auto& cells = editor_.document().lineCell[s.curLineBet][s.curLine - 1];
    const QColor unchosen = palette().color(QPalette::Button);
    const QColor chosen = palette().color(QPalette::WindowText);
    for (std::size_t k = 0; k < PicReal.size(); ++k)
        PicReal[k]->setColour(cells[k] == 0 ? unchosen : chosen);
}

void PayLinePanel::showLine() {
    const SpecSelection& s = editor_.selection();
    OptionBet[s.curLineBet]->setChecked(true);
    TextLine->setText(QString::number(s.curLine));
    redrawCells();
    Text1->setText(QString::number(editor_.document().lineArea[s.curLineBet][s.curLine - 1]));
}

}  // namespace specboard
