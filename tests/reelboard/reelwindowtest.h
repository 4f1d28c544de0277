#pragma once

// Shared steps of the reel window tests: pictures on disk, picture loads through the
// panel's own buttons, and a symbol drag delivered to the window the way the platform
// delivers one.

#include <QDrag>
#include <QDropEvent>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "dialogs.h"
#include "form1.h"
#include "picturecell.h"
#include "sdfformat.h"

namespace reeltest {

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

template <typename T>
T* child(QWidget& w, const QString& name) {
    T* found = w.findChild<T*>(name);
    if (!found) qWarning("no child %s", qPrintable(name));
    return found;
}

inline PictureCell* cell(QWidget& w, const QString& name) { return child<PictureCell>(w, name); }

// A double-click as the window system delivers it: press, release, double-click, release.
inline void doubleClick(Form1& w, QWidget* target) {
    QTest::mouseDClick(w.windowHandle(), Qt::LeftButton, {},
                       target->mapTo(&w, target->rect().center()));
}

inline void click(QWidget& w, const QString& name) {
    QWidget* target = child<QWidget>(w, name);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
}

// Option1..4 for lit, unlit, flash, blink, then "Load" answered with `path`.
inline void loadPicture(Form1& w, ScriptedDialogs& dialogs, int state, const QString& path) {
    click(w, QStringLiteral("Option%1").arg(state + 1));
    dialogs.fileAnswers << path;
    click(w, QStringLiteral("ComLoadPic"));
}

inline bool showWindow(Form1& w) {
    w.show();
    return QTest::qWaitForWindowExposed(&w);
}

// Presses the mouse on the visible lit picture and, while the drag it starts runs, moves it
// over `target` and drops it there: the enter, move and drop events go to the window,
// which hands them to whatever control lies under the point. Returns whether a drag started.
inline bool dragSymbolTo(Form1& w, QWidget* target) {
    QWindow* window = w.windowHandle();
    PictureCell* source = nullptr;
    for (PictureCell* c : w.findChildren<PictureCell*>())
        if (c->objectName().startsWith(QLatin1String("ImgFile")) && c->isVisibleTo(&w)) source = c;
    if (!source || !window) return false;
    const QPoint to = target->mapTo(&w, target->rect().center());
    bool started = false;
    auto connection = QObject::connect(source, &PictureCell::dragStarting, [&](QDrag* drag) {
        started = true;
        QDragEnterEvent enter(to, drag->supportedActions(), drag->mimeData(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(window, &enter);
        QDragMoveEvent move(to, drag->supportedActions(), drag->mimeData(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(window, &move);
        QDropEvent drop(to, drag->supportedActions(), drag->mimeData(), Qt::NoButton, {});
        QCoreApplication::sendEvent(window, &drop);
    });
    QTest::mousePress(window, Qt::LeftButton, {}, source->mapTo(&w, source->rect().center()));
    QTest::mouseRelease(window, Qt::LeftButton, {}, source->mapTo(&w, source->rect().center()));
    QObject::disconnect(connection);
    return started;
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

inline bool loadReelFile(Form1& w, ScriptedDialogs& dialogs, const QString& path) {
    dialogs.fileAnswers << path;
    click(w, QStringLiteral("Command4"));
    return !w.isModified();
}

}  // namespace reeltest
