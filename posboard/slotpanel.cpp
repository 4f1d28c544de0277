#include "slotpanel.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "controls.h"
#include "dialogs.h"
#include "filelookup.h"
#include "picturenotice.h"

namespace posboard {

namespace {

constexpr char PictureFilter[] = "GIF画像|*.gif|BMP画像|*.bmp|JPEG画像|*.jpg|All Files|*.*|";

}  // namespace

SlotPanel::SlotPanel(PositionEditor& editor, Dialogs& dialogs, QWidget* window, QPoint origin)
    : QWidget(window), editor_(editor), dialogs_(dialogs) {
    setObjectName(QStringLiteral("SlotPanel"));
    setGeometry(QRect(origin, QSize(561, 24)));

    ComboBodyFile = new QComboBox(this);
    ComboBodyFile->setObjectName(QStringLiteral("ComboBodyFile"));
    ComboBodyFile->setGeometry(0, 1, 132, 22);
    for (int s = 0; s < pos::SlotCount; ++s) ComboBodyFile->addItem(pos::slotListText(s));
    // The slot number is the first character of the chosen text.
    connect(ComboBodyFile, &QComboBox::activated, this,
            [this] { editor_.selectSlot(ComboBodyFile->currentText().left(1).toInt()); });

    makeLabel(this, QStringLiteral("ファイル名"), 142, 4, 60, 17);
    LabelBodyFile = makeLabel(this, QString(), 204, 4, 235, 17, "LabelBodyFile");
    LabelBodyFile->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    QPushButton* load = makeButton(this, QStringLiteral("Load"), "Command1", 446, 1, 54, 22);
    connect(load, &QPushButton::clicked, this, &SlotPanel::loadPicture);
    QPushButton* show = makeButton(this, QStringLiteral("表示"), "Command5", 506, 1, 54, 22);
    connect(show, &QPushButton::clicked, this, &SlotPanel::showAgain);

    // An undo or redo may select another slot: the selector follows.
    connect(&editor_, &PositionEditor::slotSelected, this, [this](int slot) {
        ComboBodyFile->setCurrentIndex(slot);
        showSlotName();
    });
    connect(&editor_, &PositionEditor::slotPictureChanged, this, &SlotPanel::showSlotName);
    connect(&editor_, &PositionEditor::documentReplaced, this, &SlotPanel::showSlotName);
}

void SlotPanel::showSlotName() {
    LabelBodyFile->setText(editor_.document().pictureSlots[editor_.selectedSlot()].fileName);
}

void SlotPanel::refuse(const QString& text, const QString& detail) {
    dialogs_.message(window(), QString::fromLatin1(ProgramName), text, Dialogs::Icon::Warning,
                     Dialogs::Buttons::Ok, detail);
}

bool SlotPanel::loadPicture() {
    // The position file finds its pictures in its own folder: the dialog starts there.
    const QString path =
        dialogs_.openFile(window(), QString::fromUtf8(PictureFilter), editor_.positionFolder());
    if (path.isEmpty()) return false;
    QString why;
    bool png = false;
    if (!editor_.loadSlotPicture(path, &why, &png)) {
        refuse(QStringLiteral("この画像は使えません。"), why);
        return false;
    }
    if (png)
        tellPngPictures(dialogs_, window(), QString::fromLatin1(ProgramName),
                        {bareNameOfPath(path)});
    return true;
}

bool SlotPanel::showAgain() {
    if (editor_.document().pictureSlots[editor_.selectedSlot()].fileName.isEmpty()) return false;
    QImage picture;
    QString why;
    if (!editor_.readSlotPictureAgain(picture, &why)) {
        refuse(QStringLiteral("画像を表示できません。"), why);
        return false;
    }
    emit pictureReread(picture);
    return true;
}

}  // namespace posboard
