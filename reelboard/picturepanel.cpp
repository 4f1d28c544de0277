#include "picturepanel.h"

#include "controls.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "dialogs.h"
#include "filelookup.h"
#include "picturecell.h"
#include "pictures.h"
#include "sjis.h"

namespace {

constexpr char PictureFilter[] = "画像ファイル|*.gif;*.jpg;*.bmp|All Files|*.*|";

std::int16_t toTwips(int pixels) {
    // PictureSize is a 16-bit field of the reel file.
    return static_cast<std::int16_t>(std::min(pixels * pictures::TwipsPerPixel, 32767));
}

}  // namespace

PicturePanel::PicturePanel(ReelEditor& editor, QWidget* form)
    : QObject(form), editor_(editor), form_(form) {
    setObjectName(QStringLiteral("PicturePanel"));
    measuring_.fill(pictures::blankPicture());

    const struct {
        std::array<PictureCell*, reel::SymbolCount>& views;
        const char* name;
    } families[] = {{ImgFile, "ImgFile"},
                    {ImgFileD, "ImgFileD"},
                    {ImgFileF, "ImgFileF"},
                    {ImgFileP, "ImgFileP"}};
    for (const auto& family : families) {
        for (int s = 0; s < reel::SymbolCount; ++s) {
            auto* cell = new PictureCell(
                form, QStringLiteral("%1_%2").arg(QLatin1String(family.name)).arg(s));
            cell->setGeometry(232, 32, 113, 65);
            cell->hide();
            family.views[s] = cell;
        }
    }
    for (int s = 0; s < reel::SymbolCount; ++s) {
        ImgFile[s]->setDragSource(true);
        ImgFile[s]->setDragSymbol(s);
    }

    auto option = [form](const QString& text, const char* name, int y, int width) {
        auto* button = new QRadioButton(text, form);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(352, y, width, 16);
        // The lit caption has to end before the "Load" button beside it.
        button->setStyleSheet(QStringLiteral("QRadioButton { spacing: 2px; }"));
        return button;
    };
    Option1 = option(QStringLiteral("画像ファイル ： 点灯"), "Option1", 32, 136);
    Option2 = option(QStringLiteral("画像ファイル ： 消灯"), "Option2", 48, 176);
    Option3 = option(QStringLiteral("画像ファイル ： フラッシュ"), "Option3", 64, 176);
    Option4 = option(QStringLiteral("画像ファイル ： 点滅"), "Option4", 80, 176);
    Option1->setChecked(true);
    const std::pair<QRadioButton*, PictureState> options[] = {{Option1, PictureState::Lit},
                                                              {Option2, PictureState::Unlit},
                                                              {Option3, PictureState::Flash},
                                                              {Option4, PictureState::Blink}};
    for (const auto& [button, state] : options)
        connect(button, &QRadioButton::clicked, this,
                [this, state = state] { chooseState(state); });

    ComLoadPic = makeButton(form, QStringLiteral("Load"), "ComLoadPic", 488, 32, 41, 17);
    connect(ComLoadPic, &QPushButton::clicked, this, [this] { loadPicture(); });

    TextFilename = new QLineEdit(form);
    TextFilename->setObjectName(QStringLiteral("TextFilename"));
    TextFilename->setGeometry(352, 104, 137, 18);
    // It only reports the shown picture's name; the name changes by loading a picture.
    TextFilename->setReadOnly(true);

    makeLabel(form, QStringLiteral("画像インデックス ："), 352, 128);
    LabelPicIndex = makeLabel(form, QStringLiteral("1"), 467, 128, 24, 15, "LabelPicIndex");

    Command2 = makeButton(form, QStringLiteral("<<"), "Command2", 408, 144, 41, 17);
    Command3 = makeButton(form, QStringLiteral(">>"), "Command3", 456, 144, 41, 17);
    connect(Command2, &QPushButton::clicked, this, &PicturePanel::previousSymbol);
    connect(Command3, &QPushButton::clicked, this, &PicturePanel::nextSymbol);
}

PictureCell* PicturePanel::view(int symbol, PictureState state) const {
    switch (state) {
        case PictureState::Lit:
            return ImgFile[symbol];
        case PictureState::Unlit:
            return ImgFileD[symbol];
        case PictureState::Flash:
            return ImgFileF[symbol];
        case PictureState::Blink:
            return ImgFileP[symbol];
    }
    return ImgFile[symbol];
}

PictureState PicturePanel::selectedState() const {
    // Consulted in the order lit, unlit, flash, blink.
    if (Option1->isChecked()) return PictureState::Lit;
    if (Option2->isChecked()) return PictureState::Unlit;
    if (Option3->isChecked()) return PictureState::Flash;
    if (Option4->isChecked()) return PictureState::Blink;
    return PictureState::Lit;
}

void PicturePanel::showCurrentView() {
    const int current = std::clamp(editor_.currentSymbol, 0, reel::SymbolCount - 1);
    const PictureState state = selectedState();
    for (int s = 0; s < reel::SymbolCount; ++s) {
        for (int k = 0; k < PictureStateCount; ++k) {
            PictureCell* cell = view(s, static_cast<PictureState>(k));
            cell->setPicture(editor_.doc.symbols[s].pictures[k]);
            cell->setVisible(s == current && static_cast<PictureState>(k) == state);
        }
    }
    TextFilename->setText(editor_.doc.symbols[current].name(state));
    LabelPicIndex->setText(QString::number(current + 1));
}

void PicturePanel::showStartUp() {
    editor_.currentSymbol = 0;
    Option1->setChecked(true);
    showCurrentView();
}

void PicturePanel::refreshAfterLoad() {
    editor_.currentSymbol = 0;
    // The file's own lit pictures are what the next picture load measures from.
    for (int s = 0; s < reel::SymbolCount; ++s) {
        const QImage& lit = editor_.doc.symbols[s].picture(PictureState::Lit);
        measuring_[s] = lit.isNull() ? pictures::blankPicture() : lit;
    }
    showCurrentView();
}

void PicturePanel::chooseState(PictureState state) {
    const std::array<QRadioButton*, PictureStateCount> buttons{Option1, Option2, Option3, Option4};
    buttons[static_cast<int>(state)]->setChecked(true);
    showCurrentView();
}

void PicturePanel::previousSymbol() {
    if (editor_.currentSymbol > 0) step(-1);
}

void PicturePanel::nextSymbol() {
    // Symbol n + 1 is reachable only once symbol n has its lit picture.
    const int current = editor_.currentSymbol;
    if (current < reel::SymbolCount - 1 &&
        !editor_.doc.symbols[current].name(PictureState::Lit).isEmpty())
        step(+1);
}

void PicturePanel::step(int delta) {
    editor_.currentSymbol += delta;
    showCurrentView();
    editor_.setModified();
}

void PicturePanel::refuse(const QString& text, const QString& detail) {
    editor_.dialogs.message(form_, QString::fromLatin1(ProgramName), text, Dialogs::Icon::Warning,
                            Dialogs::Buttons::Ok, detail);
}

bool PicturePanel::loadPicture() {
    const QString folder = editor_.reelFileFolder.isEmpty()
                               ? QCoreApplication::applicationDirPath() + u'/'
                               : editor_.reelFileFolder;
    const QString path = editor_.dialogs.openFile(form_, QString::fromUtf8(PictureFilter), folder);
    if (path.isEmpty()) return false;

    // Only the bare name goes into the reel file, in double quotes and code page 932; a name
    // that cannot be written there would be lost or make the file unreadable.
    const QString name = bareNameOfPath(path);
    if (name.contains(u'"')) {
        refuse(QStringLiteral("ファイル名に「\"」を含む画像は使えません。"), name);
        return false;
    }
    if (!sjis::isRepresentable(name)) {
        refuse(QStringLiteral("ファイル名に Shift-JIS で書けない文字を含む画像は使えません。"),
               name);
        return false;
    }
    QImage picture;
    QString why;
    if (!pictures::loadPicture(path, picture, &why)) {
        refuse(QStringLiteral("画像ファイルを読み込めません。"), why);
        return false;
    }

    const int current = std::clamp(editor_.currentSymbol, 0, reel::SymbolCount - 1);
    SymbolSlot& slot = editor_.doc.symbols[current];
    const PictureState state = selectedState();
    const int k = static_cast<int>(state);
    slot.names[k] = name;
    slot.pictures[k] = picture;
    if (state == PictureState::Lit) {
        measuring_[current] = picture;
        // A new symbol usually has one picture: it stands in every state not yet chosen.
        for (int other = 1; other < PictureStateCount; ++other) {
            if (slot.names[other].isEmpty()) {
                slot.names[other] = name;
                slot.pictures[other] = picture;
            }
        }
    }
    showCurrentView();
    TextFilename->setText(name);
    measurePictureSize();
    if (picturesChanged) picturesChanged();
    editor_.setModified();
    return true;
}

void PicturePanel::measurePictureSize() {
    const QImage& first = measuring_[0];
    editor_.doc.pictureWidth = toTwips(first.width());
    editor_.doc.pictureHeight = toTwips(first.height());
}
