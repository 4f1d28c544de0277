#include "flagrow.h"

#include <QLabel>
#include <QPushButton>

#include "controleditor.h"
#include "controls.h"
#include "picturebox.h"

namespace stopboard {

void FlagRow::show(const ControlEditor& editor, int flag) const {
    number->setText(QString::number(flag));
    for (int k = 0; k < reel::ReelCount; ++k) pictures[k]->setPicture(editor.flagPicture(flag, k));
}

FlagRow makeFlagRow(QWidget* frame, int y, const FlagRowNames& names) {
    FlagRow row;
    makeLabel(frame, QStringLiteral("Index"), 8, y + 2, -1, 17, names.label);
    row.previous = makeButton(frame, QStringLiteral("<<"), names.previous, 44, y, 24, 20);
    row.number = makeLabel(frame, QStringLiteral("0"), 70, y + 1, 20, 18, names.number);
    row.number->setAlignment(Qt::AlignCenter);
    row.next = makeButton(frame, QStringLiteral(">>"), names.next, 92, y, 24, 20);
    for (int k = 0; k < reel::ReelCount; ++k)
        row.pictures[k] =
            new PictureBox(frame, QStringLiteral("%1_%2").arg(QLatin1String(names.pictures)).arg(k),
                           QRect(122 + k * 38, y, 36, 20));
    return row;
}

}  // namespace stopboard
