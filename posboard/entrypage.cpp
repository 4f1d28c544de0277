#include "entrypage.h"

#include <QLabel>
#include <QLineEdit>

#include "captionlabel.h"
#include "controls.h"
#include "valuefield.h"

namespace {

constexpr int FirstRowY = 18;
constexpr int RowPitch = 33;
constexpr int CaptionX = 4;
constexpr int CoordinateX = 8;
constexpr int RightEdge = 172;

// The value field's name: txtHosei(0..2) for the reel windows' corrections, txtPicNo(k) for
// entry k + 3.
QString fieldName(int entry) {
    return entry < pos::CorrectionEntryCount
               ? QStringLiteral("txtHosei_%1").arg(entry)
               : QStringLiteral("txtPicNo_%1").arg(entry - pos::CorrectionEntryCount);
}

}  // namespace

EntryPage::EntryPage(PositionEditor& editor, int page, QWidget* frame)
    : QWidget(frame), editor_(editor) {
    setObjectName(QStringLiteral("EntryPage_%1").arg(page));
    setGeometry(frame->rect());
    int row = 0;
    for (int e = 0; e < pos::EntryCount; ++e) {
        if (pos::entryPage(e) != page) continue;
        const int y = FirstRowY + row++ * RowPitch;
        const bool correction = pos::valueKind(e) == pos::ValueKind::Correction;
        // A correction may be "-32768"; a picture number is one digit.
        const int fieldWidth = correction ? 44 : 20;
        const int fieldX = RightEdge - fieldWidth;
        const int labelWidth = correction ? 38 : 50;
        const int labelX = fieldX - 2 - labelWidth;

        auto* caption = new CaptionLabel(pos::entryCaption(e), this);
        caption->setObjectName(QStringLiteral("LabelPos_%1").arg(e));
        caption->setGeometry(CaptionX, y, labelX - 2 - CaptionX, 18);
        fitFontToWidth(caption, caption->text(), caption->width() - 4);
        connect(caption, &CaptionLabel::clicked, this, [this, e] { emit captionClicked(e); });
        LabelPos[e] = caption;

        QLabel* label = makeLabel(this, pos::valueLabel(e), labelX, y, labelWidth, 18);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

        auto* field = new QLineEdit(pos::defaultValue(), this);
        field->setObjectName(fieldName(e));
        field->setGeometry(fieldX, y, fieldWidth, 18);
        field->setTextMargins(0, 0, 0, 0);
        new ValueField(field,
                       correction ? ValueField::Kind::Correction : ValueField::Kind::PictureSlot);
        // The field is the source of its own edit: what it shows is what the file gets.
        connect(field, &QLineEdit::textChanged, this,
                [this, e](const QString& text) { editor_.setValue(e, text); });
        valueFields_[e] = field;

        LabelPosP[e] = makeLabel(this, QString(), CoordinateX, y + 16, RightEdge - CoordinateX, 15,
                                 qPrintable(QStringLiteral("LabelPosP_%1").arg(e)));
    }

    connect(&editor_, &PositionEditor::entrySelected, this, &EntryPage::showSelection);
    connect(&editor_, &PositionEditor::coordinateTextChanged, this, &EntryPage::showCoordinates);
    connect(&editor_, &PositionEditor::documentReplaced, this, &EntryPage::showDocument);
}

void EntryPage::showSelection(int entry) {
    for (int e = 0; e < pos::EntryCount; ++e)
        if (LabelPos[e]) LabelPos[e]->setSelected(e == entry);
}

void EntryPage::showCoordinates(int entry) {
    if (!pos::isEntry(entry) || !LabelPosP[entry]) return;
    QLabel* label = LabelPosP[entry];
    const QString& text = editor_.coordinateText(entry);
    // Wide 16-bit corners from a file get a smaller font rather than being cut off.
    label->setFont(font());
    fitFontToWidth(label, text, label->width());
    label->setText(text);
}

void EntryPage::showDocument() {
    for (int e = 0; e < pos::EntryCount; ++e) {
        if (!valueFields_[e]) continue;
        const QString& value = editor_.document().entries[e].value;
        if (valueFields_[e]->text() != value) valueFields_[e]->setText(value);
        showCoordinates(e);
    }
}
