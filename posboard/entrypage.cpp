#include "entrypage.h"

#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

#include "captionlabel.h"
#include "controls.h"
#include "valuefield.h"

namespace posboard {

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

// The widest text a field may be typed full with: a picture number is one digit, a
// correction a sign and five digits ("-32768").
QString widestValue(const QFontMetrics& metrics, bool correction) {
    QChar widest = u'0';
    for (char16_t d = u'1'; d <= u'9'; ++d)
        if (metrics.horizontalAdvance(QChar(d)) > metrics.horizontalAdvance(widest)) widest = d;
    return correction ? QStringLiteral("-") + QString(5, widest) : QString(widest);
}

// How wide the field has to be to show `text` whole, without scrolling it: its frame, the
// edit's own margin of 2 pixels on either side and the cursor's pixel.
int widthShowing(const QLineEdit* field, const QString& text) {
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    const QMargins margins = field->textMargins();
    const int inner =
        field->fontMetrics().horizontalAdvance(text) + 1 + 2 * 2 + margins.left() + margins.right();
    return field->style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, field->height()), field)
        .width();
}

// A value field at least as wide as its design size and as its widest value needs, up to
// `widest` pixels; past that its font gets smaller.
void sizeValueField(QLineEdit* field, bool correction, int widest) {
    const auto needed = [&] {
        return widthShowing(field, widestValue(field->fontMetrics(), correction));
    };
    QFont font = field->font();
    if (font.pixelSize() <= 0) font.setPixelSize(QFontInfo(font).pixelSize());
    while (needed() > widest && font.pixelSize() > 8) {
        font.setPixelSize(font.pixelSize() - 1);
        field->setFont(font);
    }
    field->resize(std::clamp(needed(), field->width(), widest), field->height());
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

        auto* field = new QLineEdit(pos::defaultValue(), this);
        field->setObjectName(fieldName(e));
        field->setMaxLength(pos::MaxValueLength);
        field->setTextMargins(0, 0, 0, 0);
        field->resize(correction ? 44 : 20, 18);
        // Every value shows whole, its sign too, focused or not.
        sizeValueField(field, correction, correction ? 64 : 32);
        const int fieldX = RightEdge - field->width();
        field->move(fieldX, y);
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
    connect(&editor_, &PositionEditor::valueChanged, this, &EntryPage::showValue);
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

void EntryPage::showValue(int entry) {
    if (!pos::isEntry(entry) || !valueFields_[entry]) return;
    const QString& value = editor_.document().entries[entry].value;
    if (valueFields_[entry]->text() != value) valueFields_[entry]->setText(value);
}

void EntryPage::showDocument() {
    for (int e = 0; e < pos::EntryCount; ++e) {
        if (!valueFields_[e]) continue;
        showValue(e);
        showCoordinates(e);
    }
}

}  // namespace posboard
