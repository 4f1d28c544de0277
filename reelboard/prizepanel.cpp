#include "prizepanel.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "controls.h"
#include "numberbox.h"
#include "picturecell.h"
#include "pictures.h"

namespace reelboard {

namespace {

constexpr int CellX[reel::ReelCount] = {16, 80, 144};
constexpr int StateX[reel::GameStateCount] = {16, 104, 192};

// A kind the list has no text for (only a file can hold one) shows as its bare number,
// so it stays recognisable and is kept until the author picks a kind.
QString kindDisplay(int kind) {
    const QString text = reel::prizeKindText(kind);
    return text.isEmpty() ? QString::number(kind) : text;
}

}  // namespace

PrizePanel::PrizePanel(ReelEditor& editor, QWidget* frame) : QWidget(frame), editor_(editor) {
    setObjectName(QStringLiteral("PrizePanel"));
    setGeometry(frame->rect());
    for (int r = 0; r < reel::ReelCount; ++r) {
        auto* cell = new PictureCell(this, QStringLiteral("ImgHantei_%1").arg(r));
        cell->setGeometry(CellX[r], 24, 65, 33);
        cell->setDropTarget(true);
        connect(cell, &PictureCell::dropped, this, [this, r] {
            editor_.setPrizeSymbol(editor_.currentPrize(), r, editor_.currentSymbol());
        });
        connect(cell, &PictureCell::doubleClicked, this,
                [this, r] { editor_.setPrizeSymbol(editor_.currentPrize(), r, reel::AnySymbol); });
        ImgHantei[r] = cell;
    }

    makeLabel(this, QStringLiteral("Index"), 216, 24);
    LabelBonusIndex = makeLabel(this, QStringLiteral("0"), 256, 24, 28, 15, "LabelBonusIndex");
    connect(makeButton(this, QStringLiteral("<<"), "ComBIPre", 216, 40, 25, 17),
            &QPushButton::clicked, this, [this] {
                editor_.previousPrize();
                // Also on entry 0, where nothing moves, the combination is drawn anew.
                refreshPictures();
            });
    connect(makeButton(this, QStringLiteral(">>"), "ComBINe", 240, 40, 25, 17),
            &QPushButton::clicked, &editor_, &ReelEditor::nextPrize);

    NumberBoxRule payRule;
    payRule.limit = MaxPay;
    payRule.overflowText = QStringLiteral("0");
    payRule.textWhenLeftEmpty = QStringLiteral("0");
    for (int s = 0; s < reel::GameStateCount; ++s) {
        makeLabel(this, reel::gameStateCaption(static_cast<reel::GameState>(s)), StateX[s], 64);
        TextPay[s] =
            makeNumberBox(this, QStringLiteral("TextPay_%1").arg(s), QRect(StateX[s], 80, 25, 18),
                          payRule,
                          [this, s](std::int64_t value) {
                              editor_.setPay(editor_.currentPrize(), s, static_cast<int>(value));
                          })
                ->edit();
        makeLabel(this, QStringLiteral("枚"), StateX[s] + 32, 80);

        auto* kind = new QComboBox(this);
        kind->setObjectName(QStringLiteral("ComboBID_%1").arg(s));
        kind->setGeometry(StateX[s], 104, 81, 20);
        // A list with an edit part that only shows the chosen text.
        kind->setEditable(true);
        kind->setInsertPolicy(QComboBox::NoInsert);
        kind->setCompleter(nullptr);
        kind->lineEdit()->setReadOnly(true);
        for (int k = 0; k < reel::PrizeKindCount; ++k) kind->addItem(reel::prizeKindText(k));
        kind->setCurrentIndex(0);
        kind->installEventFilter(this);
        kind->lineEdit()->installEventFilter(this);
        connect(kind, &QComboBox::activated, this,
                [this, s](int i) { editor_.setKind(editor_.currentPrize(), s, i); });
        ComboBID[s] = kind;
    }

    connect(&editor_, &ReelEditor::prizeSymbolsChanged, this, [this](int entry) {
        if (entry == editor_.currentPrize()) refreshPictures();
    });
    connect(&editor_, &ReelEditor::prizeSelected, this, [this] {
        refreshFields();
        refreshPictures();
    });
    // A pay or kind typed, chosen, undone or redone; the box being typed into keeps its text.
    connect(&editor_, &ReelEditor::prizeEdited, this, [this](int entry) {
        if (entry == editor_.currentPrize()) showFields(editor_.isReplaying());
    });
    connect(&editor_, &ReelEditor::picturesChanged, this, &PrizePanel::refreshPictures);
    connect(&editor_, &ReelEditor::documentReplaced, this, [this] {
        refreshFields();
        refreshPictures();
    });
    // Start-up: the combination of entry 0, any symbol on every reel.
    refreshPictures();
}

bool PrizePanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    for (QComboBox* kind : ComboBID) {
        if (watched != kind && watched != kind->lineEdit()) continue;
        // Kinds are chosen from the list only; the keys that open it and move the focus stay.
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool alt = key->modifiers() & Qt::AltModifier;
        const bool opensList = key->key() == Qt::Key_F4 ||
                               (alt && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up));
        const bool movesFocus = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        return !(opensList || movesFocus);
    }
    return false;
}

void PrizePanel::showKind(int state, int kind) {
    QComboBox* box = ComboBID[state];
    const QString text = kindDisplay(kind);
    if (box->currentText() == text) return;
    {
        // Showing an entry never changes its kind.
        const QSignalBlocker block(box);
        box->setCurrentIndex(reel::prizeKindText(kind).isEmpty() ? -1 : kind);
        box->setEditText(text);
    }
}

void PrizePanel::refreshFields() {
    LabelBonusIndex->setText(QString::number(editor_.currentPrize()));
    showFields(true);
}

void PrizePanel::showFields(bool overTyping) {
    const reel::PrizeEntry& e = editor_.document().prizes[editor_.currentPrize()];
    for (int s = 0; s < reel::GameStateCount; ++s) showNumber(TextPay[s], e.pays[s], overTyping);
    // Kinds after pays: a pay above the limit was replaced by then, as the box requires.
    for (int s = 0; s < reel::GameStateCount; ++s) showKind(s, e.kinds[s]);
}

void PrizePanel::refreshPictures() {
    const ReelDataDocument& doc = editor_.document();
    const reel::PrizeEntry& e = doc.prizes[editor_.currentPrize()];
    for (int r = 0; r < reel::ReelCount; ++r) {
        const int symbol = e.symbols[r];
        if (symbol == reel::AnySymbol)
            ImgHantei[r]->setPicture(pictures::anyPicture());
        else if (reel::isSymbol(symbol))
            ImgHantei[r]->setPicture(doc.symbols[symbol].picture(PictureState::Lit));
        else
            ImgHantei[r]->setPicture(QImage());  // not a symbol: shown empty, kept as read
    }
}

}  // namespace reelboard
