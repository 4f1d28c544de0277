#include "prizepanel.h"

#include "controls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

#include "numberbox.h"
#include "picturecell.h"
#include "pictures.h"

namespace {

constexpr int CellX[reel::ReelCount] = {16, 80, 144};
constexpr int StateX[reel::GameStateCount] = {16, 104, 192};
constexpr int MaxPay = 15;

// A kind the list has no text for (only a file can hold one) shows as its bare number,
// so it stays recognisable and is kept until the author picks a kind.
QString kindDisplay(int kind) {
    const QString text = reel::prizeKindText(kind);
    return text.isEmpty() ? QString::number(kind) : text;
}

}  // namespace

PrizePanel::PrizePanel(ReelEditor& editor, QGroupBox* frame) : QObject(frame), editor_(editor) {
    setObjectName(QStringLiteral("PrizePanel"));
    for (int r = 0; r < reel::ReelCount; ++r) {
        auto* cell = new PictureCell(frame, QStringLiteral("ImgHantei_%1").arg(r));
        cell->setGeometry(CellX[r], 24, 65, 33);
        cell->setDropTarget(true);
        connect(cell, &PictureCell::dropped, this, [this, r] { placeSymbol(r); });
        connect(cell, &PictureCell::doubleClicked, this, [this, r] { clearSymbol(r); });
        ImgHantei[r] = cell;
    }

    makeLabel(frame, QStringLiteral("Index"), 216, 24);
    LabelBonusIndex = makeLabel(frame, QStringLiteral("0"), 256, 24, 28, 15, "LabelBonusIndex");
    auto button = [frame](const char* name, const QString& text, int x) {
        return makeButton(frame, text, name, x, 40, 25, 17);
    };
    ComBIPre = button("ComBIPre", QStringLiteral("<<"), 216);
    ComBINe = button("ComBINe", QStringLiteral(">>"), 240);
    connect(ComBIPre, &QPushButton::clicked, this, &PrizePanel::previous);
    connect(ComBINe, &QPushButton::clicked, this, &PrizePanel::next);

    for (int s = 0; s < reel::GameStateCount; ++s) {
        auto* caption = new QLabel(reel::gameStateCaption(static_cast<reel::GameState>(s)), frame);
        caption->move(StateX[s], 64);
        caption->adjustSize();

        auto* pay = new QLineEdit(QStringLiteral("0"), frame);
        pay->setObjectName(QStringLiteral("TextPay_%1").arg(s));
        pay->setGeometry(StateX[s], 80, 25, 18);
        pay->setTextMargins(0, 0, 0, 0);
        NumberBoxRule rule;
        rule.limit = MaxPay;
        rule.overflowText = QStringLiteral("0");
        rule.textWhenLeftEmpty = QStringLiteral("0");
        payBoxes_[s] = new NumberBox(pay, rule);
        connect(payBoxes_[s], &NumberBox::valueChanged, this, [this, s](std::int64_t value) {
            entry().pays[s] = static_cast<std::int16_t>(std::clamp<std::int64_t>(value, 0, MaxPay));
            editor_.setModified();
        });
        TextPay[s] = pay;

        auto* unit = new QLabel(QStringLiteral("枚"), frame);
        unit->move(StateX[s] + 32, 80);
        unit->adjustSize();

        auto* kind = new QComboBox(frame);
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
        connect(kind, &QComboBox::activated, this, [this, s](int i) { chooseKind(s, i); });
        ComboBID[s] = kind;
    }
}

reel::PrizeEntry& PrizePanel::entry() {
    return editor_.doc.prizes[std::clamp(editor_.currentPrize, 0, reel::MaxPrizeIndex)];
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
    editor_.setModified();
}

void PrizePanel::chooseKind(int state, int index) {
    if (index < 0 || index >= reel::PrizeKindCount) return;
    entry().kinds[state] = static_cast<reel::PrizeKind>(index);
    editor_.setModified();
}

void PrizePanel::refreshFields() {
    LabelBonusIndex->setText(QString::number(editor_.currentPrize));
    const reel::PrizeEntry& e = entry();
    for (int s = 0; s < reel::GameStateCount; ++s) TextPay[s]->setText(QString::number(e.pays[s]));
    // Kinds after pays: a pay above the limit was replaced by then, as the box requires.
    for (int s = 0; s < reel::GameStateCount; ++s) showKind(s, entry().kinds[s]);
}

void PrizePanel::refreshPictures() {
    const reel::PrizeEntry& e = entry();
    for (int r = 0; r < reel::ReelCount; ++r) {
        const int symbol = e.symbols[r];
        if (symbol == reel::AnySymbol)
            ImgHantei[r]->setPicture(pictures::anyPicture());
        else if (reel::isSymbol(symbol))
            ImgHantei[r]->setPicture(editor_.doc.symbols[symbol].picture(PictureState::Lit));
        else
            ImgHantei[r]->setPicture(QImage());  // not a symbol: shown empty, kept as read
    }
}

void PrizePanel::previous() {
    if (editor_.currentPrize > 0) {
        --editor_.currentPrize;
        refreshFields();
    }
    refreshPictures();
}

void PrizePanel::next() {
    // Only an entry with at least one symbol can be stepped past.
    const reel::PrizeEntry& e = entry();
    if (std::all_of(e.symbols.begin(), e.symbols.end(),
                    [](auto s) { return s == reel::AnySymbol; }))
        return;
    if (editor_.currentPrize < reel::MaxPrizeIndex) {
        ++editor_.currentPrize;
        refreshFields();
    }
    if (editor_.currentPrize >= editor_.doc.lastPrizeIndex)
        editor_.doc.lastPrizeIndex = static_cast<std::int16_t>(editor_.currentPrize);
    refreshPictures();
}

void PrizePanel::placeSymbol(int reelIndex) {
    if (!reel::isSymbol(editor_.currentSymbol)) return;
    ImgHantei[reelIndex]->setPicture(
        editor_.doc.symbols[editor_.currentSymbol].picture(PictureState::Lit));
    entry().symbols[reelIndex] = static_cast<std::int16_t>(editor_.currentSymbol);
    editor_.setModified();
}

void PrizePanel::clearSymbol(int reelIndex) {
    ImgHantei[reelIndex]->setPicture(pictures::anyPicture());
    entry().symbols[reelIndex] = reel::AnySymbol;
    editor_.setModified();
}
