#include "reelgridpanel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <algorithm>

#include "controls.h"
#include "picturebox.h"

namespace stopboard {

namespace {

constexpr int TopY = 22;  // position 20
constexpr int RowStep = 24;
constexpr int RowHeight = 23;
constexpr int ReelX[reel::ReelCount] = {24, 96, 168};
constexpr int PictureWidth = 46;
constexpr int BoxWidth = 20;

int rowY(int position) { return TopY + (reel::PositionCount - 1 - position) * RowStep; }

// Text in a box that is neither typed nor shown from a table (pasted, dropped) must be one
// stop index 0 to 4, or nothing.
const QRegularExpression PastableStopIndex(QStringLiteral("[0-4]?"));

}  // namespace

ReelGridPanel::ReelGridPanel(ControlEditor& editor, QWidget* window, QPoint origin)
    : QWidget(window), editor_(editor) {
    setObjectName(QStringLiteral("ReelGridPanel"));
    setGeometry(
        QRect(origin, QSize(ReelX[2] + PictureWidth + 2 + BoxWidth + 4, rowY(0) + RowHeight + 2)));
    const char* const reelNames[] = {"Label24", "Label25", "Label28"};
    const QString reelCaptions[] = {QStringLiteral("左リール"), QStringLiteral("中リール"),
                                    QStringLiteral("右リール")};
    for (int r = 0; r < reel::ReelCount; ++r) {
        QLabel* label = makeLabel(this, reelCaptions[r], ReelX[r], 2, PictureWidth + 2 + BoxWidth,
                                  17, reelNames[r]);
        label->setAlignment(Qt::AlignCenter);
    }
    for (int p = 0; p < reel::PositionCount; ++p) {
        QLabel* label = makeLabel(this, reel::positionLabel(p), 2, rowY(p), 20, RowHeight,
                                  qPrintable(QStringLiteral("LabelPos_%1").arg(p)));
        label->setAlignment(Qt::AlignCenter);
    }
    auto* validator = new QRegularExpressionValidator(PastableStopIndex, this);
    for (int r = 0; r < reel::ReelCount; ++r) {
        for (int p = 0; p < reel::PositionCount; ++p) {
            const int c = reel::cellOf(r, p);
            ImgReal[c] = new PictureBox(this, QStringLiteral("ImgReal_%1").arg(c),
                                        QRect(ReelX[r], rowY(p), PictureWidth, RowHeight));
            auto* box = new QLineEdit(QStringLiteral("0"), this);
            box->setObjectName(QStringLiteral("StopIndex_%1").arg(c));
            box->setGeometry(ReelX[r] + PictureWidth + 2, rowY(p), BoxWidth, RowHeight);
            box->setTextMargins(0, 0, 0, 0);
            box->setAlignment(Qt::AlignCenter);
            box->setValidator(validator);
            box->setEnabled(false);
            box->installEventFilter(this);
            // Every change is stored at once, also a value written back when a table is shown.
            connect(box, &QLineEdit::textChanged, this, [this, c](const QString& text) {
                bool ok = false;
                const int value = text.toInt(&ok);
                editor_.setStopIndex(editor_.currentStopTable(), c, ok ? value : 0);
            });
            StopIndex[c] = box;
        }
    }

    connect(&editor_, &ControlEditor::reelViewChanged, this, &ReelGridPanel::showPictures);
    connect(&editor_, &ControlEditor::stopTableShown, this, &ReelGridPanel::showStopTable);
    connect(&editor_, &ControlEditor::editingEnabledChanged, this, [this](bool on) {
        for (QLineEdit* box : StopIndex) box->setEnabled(on);
    });
}

void ReelGridPanel::showPictures() {
    const ReelView& view = editor_.reelView();
    for (int c = 0; c < reel::CellCount; ++c)
        ImgReal[c]->setPicture(editor_.symbolPicture(view.arrangement[c]));
}

void ReelGridPanel::showStopTable() {
    const auto values = editor_.document().stopTable(editor_.currentStopTable());
    for (int c = 0; c < reel::CellCount; ++c) StopIndex[c]->setText(QString::number(values[c]));
}

int ReelGridPanel::moveTarget(int cell, int key) {
    const int position = cell % reel::PositionCount;
    switch (key) {
        case Qt::Key_Left:
            return cell >= reel::PositionCount ? cell - reel::PositionCount : -1;
        case Qt::Key_Right:
            return cell < reel::CellCount - reel::PositionCount ? cell + reel::PositionCount : -1;
        case Qt::Key_Up:
            return position != reel::PositionCount - 1 ? cell + 1 : -1;
        case Qt::Key_Down:
            return position != 0 ? cell - 1 : -1;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Down the reel, and from its bottom to the top of the reel to the left.
            return cell > 0 ? cell - 1 : -1;
        default:
            return -1;
    }
}

bool ReelGridPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto found = std::find(StopIndex.begin(), StopIndex.end(), watched);
    if (found == StopIndex.end()) return false;
    const int cell = static_cast<int>(found - StopIndex.begin());
    QLineEdit* box = *found;
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            const int target = moveTarget(cell, key->key());
            if (target >= 0) StopIndex[target]->setFocus(Qt::OtherFocusReason);
            return true;
        }
        case Qt::Key_Backspace:
            box->clear();
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return false;
        default:
            break;
    }
    // Shortcuts (a paste goes through the validator) and keys that type nothing stay.
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = key->text();
    if (text.isEmpty()) return false;
    const char16_t c = text.front().unicode();
    if (c >= u'0' && c <= u'4') {
        // A digit replaces whatever the box held; the same digit again changes nothing.
        box->setText(text.left(1));
    }
    return true;
}

}  // namespace stopboard
