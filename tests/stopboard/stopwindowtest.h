#pragma once

// Shared steps of the control window tests: reel data files with their pictures on disk,
// and the file commands of the window answered through the scripted dialogs.

#include <QCheckBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <functional>
#include <vector>

#include "form1.h"
#include "picturebox.h"
#include "textfile.h"
#include "windowtest.h"

namespace stoptest {

using wintest::child;
using wintest::click;
using wintest::showWindow;

inline QRgb symbolColour(int s) { return 0xff000000u | static_cast<QRgb>((s + 1) * 0x20); }

inline QRgb colourOf(const QImage& picture) {
    return picture.isNull()
               ? 0
               : picture.pixel(picture.width() / 2, picture.height() / 2) | 0xff000000u;
}

// A prize that pays in the given play states (0..2) and shows symbols s, s, s.
inline reel::PrizeEntry prize(int symbol, std::initializer_list<int> payingStates) {
    reel::PrizeEntry e;
    e.symbols = {std::int16_t(symbol), std::int16_t(symbol), std::int16_t(symbol)};
    for (int s : payingStates) e.pays[s] = 8;
    return e;
}

// A reel data file as the reel editor writes it.
struct ReelData {
    std::array<QString, reel::SymbolCount> litNames{
        QStringLiteral("s1.bmp"), QStringLiteral("s2.bmp"), QStringLiteral("s3.bmp"),
        QStringLiteral("s4.bmp"), QStringLiteral("s5.bmp"), QStringLiteral("s6.bmp"),
        QStringLiteral("s7.bmp")};
    // SymbolIndex per cell; written as number + 1.
    std::function<int(int cell)> symbolOf = [](int cell) { return cell % reel::SymbolCount; };
    bool withPrizes = true;  // false: the file ends after the arrangement
    std::vector<reel::PrizeEntry> prizes{prize(0, {0, 1}), prize(1, {1}), prize(100, {0})};

    QByteArray text() const {
        TextWriter w;
        w.rawLine("120");
        w.rawLine("# pics size");
        w.commaNumbers({1080, 540});
        w.rawLine("# pics name");
        for (const QString& name : litNames)
            w.commaLine(
                {name, QStringLiteral("unlit.bmp"), QStringLiteral(""), QStringLiteral("")});
        w.rawLine("# real arrangement");
        for (int p = reel::PositionCount - 1; p >= 0; --p)
            w.commaNumbers({symbolOf(p) + 1, symbolOf(21 + p) + 1, symbolOf(42 + p) + 1});
        if (withPrizes) {
            w.rawLine("# number of prize");
            w.commaNumbers({int(prizes.size()) - 1});
            w.rawLine("# prize composition");
            for (const reel::PrizeEntry& e : prizes) {
                w.commaNumbers(e.symbols);
                w.commaNumbers(e.pays);
                w.commaNumbers(e.kinds);
            }
            w.rawLine("# number of flash action");
            w.commaNumbers({1});
            w.rawLine(" #end of file");
        }
        return w.take();
    }
};

// Writes the pictures s1.bmp..s7.bmp (symbol s in symbolColour(s), or `colourShift` added)
// and the reel data file into dir; returns the file's path.
inline QString writeReelData(const QTemporaryDir& dir, const QString& name,
                             const ReelData& data = {}, QRgb colourShift = 0) {
    for (int s = 0; s < reel::SymbolCount; ++s) {
        QImage image(36, 18, QImage::Format_RGB32);
        image.fill(symbolColour(s) + colourShift);
        image.save(dir.filePath(QStringLiteral("s%1.bmp").arg(s + 1)), "BMP");
    }
    QFile f(dir.filePath(name));
    if (f.open(QIODevice::WriteOnly)) f.write(data.text());
    return f.fileName();
}

// Types each character as a key of its own, also characters no key of the keyboard has.
inline void typeKeys(QWidget* box, const QString& keys) {
    for (QChar c : keys) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(box, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(box, &press);
    }
}

// Replaces the text of a box by typing: select all, Backspace, then the keys.
inline void typeInto(QLineEdit* box, const QString& keys) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    typeKeys(box, keys);
}
inline void typeInto(QWidget& w, const QString& name, const QString& keys) {
    if (auto* box = child<QLineEdit>(w, name)) typeInto(box, keys);
}

inline PictureBox* picture(stopboard::Form1& w, const QString& name) {
    return child<PictureBox>(w, name);
}
inline QString textOf(stopboard::Form1& w, const QString& name) {
    if (auto* box = w.findChild<QLineEdit*>(name)) return box->text();
    if (auto* label = w.findChild<QLabel*>(name)) return label->text();
    return QStringLiteral("<no %1>").arg(name);
}
inline QString cellName(int cell) { return QStringLiteral("StopIndex_%1").arg(cell); }
inline QString option(int n) { return QStringLiteral("Options_%1").arg(n); }
inline bool isChecked(stopboard::Form1& w, const QString& name) {
    auto* button = child<QAbstractButton>(w, name);
    return button && button->isChecked();
}
inline bool isEnabled(stopboard::Form1& w, const QString& name) {
    auto* control = child<QWidget>(w, name);
    return control && control->isEnabled();
}

inline void answerFile(stopboard::Form1& w, ScriptedDialogs& dialogs, const QString& button,
                       const QString& path) {
    wintest::clickAnswering(w, dialogs, button, path);
}
inline void loadReelData(stopboard::Form1& w, ScriptedDialogs& dialogs, const QString& path) {
    answerFile(w, dialogs, QStringLiteral("ComLoadRealFile"), path);
}

// Leaves a box by moving the focus to another one, as Tab would.
inline void leave(stopboard::Form1& w, const QString& name) {
    child<QWidget>(w, name)->setFocus();
    child<QWidget>(w, QStringLiteral("Text1"))->setFocus(Qt::TabFocusReason);
}

inline AssignmentKey keyOf(int playState, int bonus, int bet, int order, int flag, int bigType,
                           int firstStop) {
    return AssignmentKey{playState, bonus, bet, order, flag, bigType, firstStop};
}

// Nothing unsaved from here on, as after a Save to the current file.
inline void markSaved(stopboard::ControlEditor& editor) { editor.documentSaved(editor.filePath()); }

// A window shown with a reel data file of three prizes loaded from dir.
struct LoadedWindow {
    explicit LoadedWindow(const ReelData& data = {}) : w(dialogs) {
        if (!showWindow(w)) qWarning("window not exposed");
        loadReelData(w, dialogs, writeReelData(dir, QStringLiteral("m.sdf"), data));
        dialogs.shown.clear();
    }
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    stopboard::Form1 w;
};

}  // namespace stoptest
