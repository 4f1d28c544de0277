#pragma once

// Shared steps of the reel window tests: pictures on disk, picture loads through the
// panel's own buttons, and a symbol drag from the visible lit picture.

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "form1.h"
#include "picturecell.h"
#include "sdfformat.h"
#include "windowtest.h"

namespace reeltest {

using namespace reelboard;

using wintest::child;
using wintest::click;
using wintest::doubleClick;
using wintest::showWindow;

// A one-colour picture file; the colour tells the pictures apart on screen.
inline QString makePicture(const QTemporaryDir& dir, const QString& name, int w, int h, QRgb colour,
                           const char* format = "BMP") {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    if (!image.save(path, format)) qWarning("could not write %s", qPrintable(path));
    return path;
}

inline QRgb colourOf(const QImage& picture) {
    return picture.isNull()
               ? 0
               : picture.pixel(picture.width() / 2, picture.height() / 2) | 0xff000000u;
}

inline PictureCell* cell(QWidget& w, const QString& name) { return child<PictureCell>(w, name); }

// Option1..4 for lit, unlit, flash, blink, then "Load" answered with `path`.
inline void loadPicture(Form1& w, ScriptedDialogs& dialogs, int state, const QString& path) {
    click(w, QStringLiteral("Option%1").arg(state + 1));
    wintest::clickAnswering(w, dialogs, QStringLiteral("ComLoadPic"), path);
}

// Drags the visible lit picture onto `target`. Returns whether a drag started.
inline bool dragSymbolTo(Form1& w, QWidget* target) {
    PictureCell* source = nullptr;
    for (PictureCell* c : w.findChildren<PictureCell*>())
        if (c->objectName().startsWith(QLatin1String("ImgFile")) && c->isVisibleTo(&w)) source = c;
    return wintest::dragTo(w, source, &PictureCell::dragStarting, target);
}

// A reel file beside its pictures: every symbol s has a lit picture "s<n>.bmp" of
// width 40 + s (height 20) in colour `0xff000000 | (s + 1) * 0x20`.
inline QString writeReelFile(const QTemporaryDir& dir, const QString& fileName,
                             ReelDataDocument& doc, bool withPictures = true) {
    if (withPictures) {
        for (int s = 0; s < reel::SymbolCount; ++s) {
            const QString name = QStringLiteral("s%1.bmp").arg(s + 1);
            makePicture(dir, name, 40 + s, 20, 0xff000000u | static_cast<QRgb>((s + 1) * 0x20));
            for (QString& n : doc.symbols[s].names)
                if (n.isEmpty()) n = name;
        }
    }
    const QString path = dir.filePath(fileName);
    QString why;
    if (!sdf::writeFile(path, doc, &why))
        qWarning("could not write %s: %s", qPrintable(path), qPrintable(why));
    return path;
}

inline QRgb symbolColour(int s) { return 0xff000000u | static_cast<QRgb>((s + 1) * 0x20); }

// As if the document had just been saved: nothing is unsaved, the history keeps its steps.
inline void forgetChanges(Form1& w) { w.editor().documentSaved(w.editor().filePath()); }

inline bool loadReelFile(Form1& w, ScriptedDialogs& dialogs, const QString& path) {
    if (w.isModified()) dialogs.answers << Dialogs::Answer::No;  // the Load may replace the work
    wintest::clickAnswering(w, dialogs, QStringLiteral("Command4"), path);
    return !w.isModified();
}

}  // namespace reeltest
