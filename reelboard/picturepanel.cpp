#include "picturepanel.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "controls.h"
#include "dialogs.h"
#include "filelookup.h"
#include "picturecell.h"
#include "picturenotice.h"
#include "pictures.h"
#include "sjis.h"

namespace reelboard {

namespace {

constexpr char PictureFilter[] = "画像ファイル|*.gif;*.jpg;*.bmp|All Files|*.*|";

// The four state views and selectors, in the order lit, unlit, flash, blink.
struct StatePlace {
    const char* viewName;
    const char* optionName;
    const char16_t* caption;
    int y;
    int width;
};
constexpr StatePlace States[PictureStateCount] = {
    // The lit caption has to end before the "Load" button beside it.
    {"ImgFile", "Option1", u"画像ファイル ： 点灯", 0, 136},
    {"ImgFileD", "Option2", u"画像ファイル ： 消灯", 16, 176},
    {"ImgFileF", "Option3", u"画像ファイル ： フラッシュ", 32, 176},
    {"ImgFileP", "Option4", u"画像ファイル ： 点滅", 48, 176},
};

}  // namespace

PicturePanel::PicturePanel(ReelEditor& editor, Dialogs& dialogs, QWidget* window, QPoint origin)
    : QWidget(window), editor_(editor), dialogs_(dialogs) {
    setObjectName(QStringLiteral("PicturePanel"));
    setGeometry(QRect(origin, QSize(298, 130)));

    for (int k = 0; k < PictureStateCount; ++k) {
        for (int s = 0; s < reel::SymbolCount; ++s) {
            auto* cell = new PictureCell(
                this, QStringLiteral("%1_%2").arg(QLatin1String(States[k].viewName)).arg(s));
            cell->setGeometry(0, 0, 113, 65);
            cell->hide();
            views_[k][s] = cell;
        }
        auto* option = new QRadioButton(QString::fromUtf16(States[k].caption), this);
        option->setObjectName(QLatin1String(States[k].optionName));
        option->setGeometry(120, States[k].y, States[k].width, 16);
        option->setStyleSheet(QStringLiteral("QRadioButton { spacing: 2px; }"));
        connect(option, &QRadioButton::clicked, this,
                [this, k] { chooseState(static_cast<PictureState>(k)); });
        options_[k] = option;
    }
    // Only the lit picture starts a drag; it always carries the symbol it shows.
    for (int s = 0; s < reel::SymbolCount; ++s) {
        views_[0][s]->setDragSource(true);
        views_[0][s]->setDragSymbol(s);
    }

    connect(makeButton(this, QStringLiteral("Load"), "ComLoadPic", 256, 0, 41, 17),
            &QPushButton::clicked, this, [this] { loadPicture(); });

    TextFilename = new QLineEdit(this);
    TextFilename->setObjectName(QStringLiteral("TextFilename"));
    TextFilename->setGeometry(120, 72, 137, 18);
    // It only reports the shown picture's name; the name changes by loading a picture.
    TextFilename->setReadOnly(true);

    makeLabel(this, QStringLiteral("画像インデックス ："), 120, 96);
    LabelPicIndex = makeLabel(this, QStringLiteral("1"), 235, 96, 24, 15, "LabelPicIndex");

    connect(makeButton(this, QStringLiteral("<<"), "Command2", 176, 112, 41, 17),
            &QPushButton::clicked, &editor_, &ReelEditor::previousSymbol);
    connect(makeButton(this, QStringLiteral(">>"), "Command3", 224, 112, 41, 17),
            &QPushButton::clicked, &editor_, &ReelEditor::nextSymbol);

    connect(&editor_, &ReelEditor::symbolSelected, this, &PicturePanel::showCurrentView);
    connect(&editor_, &ReelEditor::picturesChanged, this, &PicturePanel::showCurrentView);
    // An undo or redo of a picture shows the state it changed.
    connect(&editor_, &ReelEditor::pictureStateRevealed, this,
            [this](PictureState state) { options_[static_cast<int>(state)]->setChecked(true); });
    // After a reel file is read: symbol 1 in the chosen state.
    connect(&editor_, &ReelEditor::documentReplaced, this, &PicturePanel::showCurrentView);

    // Start-up: symbol 1's lit view with the lit selector chosen.
    options_[0]->setChecked(true);
    showCurrentView();
}

PictureCell* PicturePanel::view(int symbol, PictureState state) const {
    return views_[static_cast<int>(state)][symbol];
}

PictureState PicturePanel::selectedState() const {
    // Consulted in the order lit, unlit, flash, blink.
    for (int k = 0; k < PictureStateCount; ++k)
        if (options_[k]->isChecked()) return static_cast<PictureState>(k);
    return PictureState::Lit;
}

void PicturePanel::showCurrentView() {
    const ReelDataDocument& doc = editor_.document();
    const int current = std::clamp(editor_.currentSymbol(), 0, reel::SymbolCount - 1);
    const PictureState state = selectedState();
    for (int s = 0; s < reel::SymbolCount; ++s) {
        for (int k = 0; k < PictureStateCount; ++k) {
            PictureCell* cell = views_[k][s];
            cell->setPicture(doc.symbols[s].pictures[k]);
            cell->setVisible(s == current && static_cast<PictureState>(k) == state);
        }
    }
    TextFilename->setText(doc.symbols[current].name(state));
    LabelPicIndex->setText(QString::number(current + 1));
}

void PicturePanel::chooseState(PictureState state) {
    options_[static_cast<int>(state)]->setChecked(true);
    showCurrentView();
}

void PicturePanel::refuse(const QString& text, const QString& detail) {
    dialogs_.message(window(), QString::fromLatin1(ProgramName), text, Dialogs::Icon::Warning,
                     Dialogs::Buttons::Ok, detail);
}

bool PicturePanel::loadPicture() {
    // Pictures belong beside the reel file; before one is read, the author's last picture
    // folder is the likely place of the next.
    const QString folder =
        editor_.reelFileFolder().isEmpty() ? pictureFolder_ : editor_.reelFileFolder();
    const QString path = dialogs_.openFile(window(), QString::fromUtf8(PictureFilter), folder);
    if (path.isEmpty()) return false;
    pictureFolder_ = folderOfPath(QFileInfo(path).absoluteFilePath());

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
    bool png = false;
    if (!pictures::loadPicture(path, picture, &why, pictures::SymbolPictureLimits, &png)) {
        refuse(QStringLiteral("画像ファイルを読み込めません。"), why);
        return false;
    }
    editor_.setSymbolPicture(editor_.currentSymbol(), selectedState(), name, picture);
    if (png) tellPngPictures(dialogs_, window(), QString::fromLatin1(ProgramName), {name});
    return true;
}

}  // namespace reelboard
