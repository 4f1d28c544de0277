#pragma once

// Shared steps of the machine window tests: reel data files with their pictures on disk, the
// window's own buttons answered through the scripted dialogs, and the bonus page's boxes.

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTemporaryDir>

#include "form1.h"
#include "orfformat.h"
#include "recordingsound.h"
#include "savefile.h"
#include "sdfformat.h"
#include "windowtest.h"

using namespace specboard;

namespace machinetest {

// The sound output of a window under test: the recording doubles, logging into one list. The
// device's answers at start-up are given before the window starts it.
struct RecordedSound {
    RecordedSound(bool deviceStarts, bool musicStarts) {
        soundDevice.startAnswer = deviceStarts;
        soundDevice.startMusicAnswer = musicStarts;
    }
    QStringList soundLog;
    RecordingSoundDevice soundDevice{soundLog};
    RecordingMusicCommands musicCommands{soundLog};
};

// The real window on the recording sound output, which is made before it and outlives it, so
// that no window test opens an audio device.
class MachineWindow : public RecordedSound, public Form1 {
public:
    explicit MachineWindow(Dialogs& dialogs, bool deviceStarts = true, bool musicStarts = true)
        : RecordedSound(deviceStarts, musicStarts), Form1(dialogs, soundDevice, musicCommands) {}
};

using wintest::child;
using wintest::click;
using wintest::clickAnswering;
using wintest::typeInto;

inline QRgb symbolColour(int s) { return 0xff000000u | static_cast<QRgb>((s + 1) * 0x202020); }

// A reel data file beside the lit pictures "p1.bmp".."p7.bmp" (one colour each, see
// symbolColour). Prize entry e shows symbols e, any symbol on the centre of entry 1, e + 2.
inline QString writeReels(const QString& folder, const QString& name, int lastPrizeIndex,
                          bool withPictures = true) {
    ReelDataDocument reels;
    reels.lastPrizeIndex = static_cast<std::int16_t>(lastPrizeIndex);
    for (int s = 0; s < reel::SymbolCount; ++s) {
        const QString picture = QStringLiteral("p%1.bmp").arg(s + 1);
        reels.symbols[s].names[0] = picture;
        if (!withPictures) continue;
        QImage image(36, 18, QImage::Format_RGB32);
        image.fill(symbolColour(s));
        image.save(QDir(folder).filePath(picture), "BMP");
    }
    for (int e = 0; e <= lastPrizeIndex; ++e)
        reels.prizes[e].symbols = {
            static_cast<std::int16_t>(e % 7),
            static_cast<std::int16_t>(e == 1 ? reel::AnySymbol : (e + 1) % 7),
            static_cast<std::int16_t>((e + 2) % 7)};
    const QString path = QDir(folder).filePath(name);
    QString why;
    if (!sdf::writeFile(path, reels, &why)) qWarning("%s", qPrintable(why));
    return path;
}

inline QByteArray fileBytes(const QString& path) {
    QByteArray bytes;
    readWholeFile(path, bytes);
    return bytes;
}

inline bool readReels(Form1& w, ScriptedDialogs& dialogs, const QString& path) {
    const int shown = static_cast<int>(dialogs.shown.size());
    clickAnswering(w, dialogs, QStringLiteral("Command11"), path);
    return dialogs.shown.size() == shown;
}

// Loads over any unsaved work: the question it asks is answered No and left out of `shown`.
inline bool loadMachine(Form1& w, ScriptedDialogs& dialogs, const QString& path) {
    const bool asks = w.isModified();
    const qsizetype question = dialogs.shown.size();
    if (asks) dialogs.answers << Dialogs::Answer::No;
    dialogs.fileAnswers << path;
    const bool read = w.loadMachineFile();
    if (asks) dialogs.shown.removeAt(question);
    return read;
}

inline bool saveMachine(Form1& w, ScriptedDialogs& dialogs, const QString& path) {
    dialogs.fileAnswers << path;
    return w.saveMachineFile();
}

inline QTabBar* tabs(Form1& w) { return child<QTabBar>(w, QStringLiteral("TabStrip1")); }

// Shows a page by clicking its tab.
inline void showTab(Form1& w, int index) {
    QTabBar* bar = tabs(w);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

// A shown and active window, so that boxes take the focus and lose it again.
inline bool activeWindow(Form1& w) {
    w.show();
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

inline QString text(Form1& w, const QString& name) {
    if (auto* box = w.findChild<QLineEdit*>(name)) return box->text();
    if (auto* label = w.findChild<QLabel*>(name)) return label->text();
    qWarning("no text control %s", qPrintable(name));
    return {};
}

inline QLineEdit* box(Form1& w, const QString& name) { return child<QLineEdit>(w, name); }

// Leaves a box the way a user does: the focus goes on to another control (the tab strip).
inline void leave(Form1& w, const QString& name) {
    box(w, name)->setFocus();
    tabs(w)->setFocus();
}

}  // namespace machinetest
