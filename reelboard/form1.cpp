#include "form1.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "checkwindow.h"
#include "dialogs.h"
#include "filelookup.h"
#include "picturepanel.h"
#include "sdfformat.h"
#include "strippanel.h"

namespace {

QLabel* makeLabel(QWidget* parent, const QString& text, int x, int y, int w = -1, int h = 17,
                  const char* name = nullptr) {
    auto* label = new QLabel(text, parent);
    if (name) label->setObjectName(QLatin1String(name));
    if (w < 0) {
        label->move(x, y);
        label->adjustSize();
    } else {
        label->setGeometry(x, y, w, h);
    }
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& text, const char* name, int x, int y, int w,
                        int h) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(x, y, w, h);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

}  // namespace

Form1::Form1(Dialogs& dialogs, QWidget* parent) : QWidget(parent), editor_(dialogs, this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf16(WindowCaption));
    setFixedSize(537, 543);

    buildStripLabels();
    buildFileRow();

    Frame2 = new QGroupBox(QStringLiteral("役エディットウィンドウ"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(232, 160, 289, 137);
    Frame1 = new QGroupBox(QStringLiteral("配列チェック＆フラッシュエディット"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(232, 312, 289, 225);

    stripPanel_ = new StripPanel(editor_, this);
    picturePanel_ = new PicturePanel(editor_, this);
    checkWindow_ = new CheckWindow(editor_, Frame1);
    stripPanel_->showArrangement = [this] { checkWindow_->showArrangement(); };
    picturePanel_->refreshStrip = [this] { stripPanel_->refresh(); };
    picturePanel_->showArrangement = [this] { checkWindow_->showArrangement(); };

    // Start-up: blank strips, then the check window and symbol 1's lit picture.
    stripPanel_->showBlank();
    editor_.currentSymbol = 0;
    checkWindow_->showArrangement();
    picturePanel_->showStartUp();

    editor_.modified = false;
}

Form1::~Form1() = default;

void Form1::buildStripLabels() {
    makeLabel(this, QStringLiteral("左リール"), 32, 8);
    makeLabel(this, QStringLiteral("中リール"), 104, 8);
    makeLabel(this, QStringLiteral("右リール"), 176, 8);
}

void Form1::buildFileRow() {
    makeLabel(this, QStringLiteral("リールファイル"), 232, 8);
    LabelFileName =
        makeLabel(this, QStringLiteral("セーブされていません"), 312, 8, 121, 17, "LabelFileName");
    Command4 = makeButton(this, QStringLiteral("Load"), "Command4", 448, 8, 41, 17);
    Command5 = makeButton(this, QStringLiteral("Save"), "Command5", 488, 8, 41, 17);
    connect(Command4, &QPushButton::clicked, this, [this] { loadReelFile(); });
    connect(Command5, &QPushButton::clicked, this, [this] { saveReelFile(); });
}

void Form1::showLabelFileName(const QString& path) { LabelFileName->setText(bareNameOfPath(path)); }

bool Form1::loadReelFile() {
    const QString path = editor_.dialogs.openFile(this, QString::fromLatin1(sdf::FileFilter));
    if (path.isEmpty()) return false;
    sdf::ReadResult result;
    QString why;
    if (!sdf::readFile(path, editor_.doc, result, &why)) {
        // The open document, its pictures, its folder and the displays stay as they were.
        editor_.dialogs.message(this, QString::fromLatin1(ProgramName),
                                QStringLiteral("ファイルが不正です。"), Dialogs::Icon::None,
                                Dialogs::Buttons::Ok, why);
        return false;
    }
    editor_.reelFileFolder = result.folder;
    editor_.formatVersion = result.formatVersion;
    showLabelFileName(path);
    refreshAfterLoad();
    editor_.modified = false;
    return true;
}

void Form1::refreshAfterLoad() {
    stripPanel_->refresh();
    editor_.currentSymbol = 0;
    picturePanel_->refreshAfterLoad();
    checkWindow_->showArrangement();
    editor_.currentPrize = 0;
    editor_.currentFrame = 1;
}

bool Form1::saveReelFile() {
    const QString path = editor_.dialogs.saveFile(this, QString::fromLatin1(sdf::FileFilter));
    if (path.isEmpty()) return false;
    QString why;
    if (!sdf::writeFile(path, editor_.doc, &why)) {
        editor_.dialogs.message(this, QString::fromLatin1(ProgramName),
                                QStringLiteral("ファイルを保存できませんでした。"),
                                Dialogs::Icon::Critical, Dialogs::Buttons::Ok, why);
        return false;
    }
    showLabelFileName(path);
    editor_.modified = false;
    return true;
}

void Form1::closeEvent(QCloseEvent* event) {
    if (!editor_.modified) {
        event->accept();
        return;
    }
    const auto answer =
        editor_.dialogs.message(this, QStringLiteral("終了確認"),
                                QStringLiteral("データに変更があります。セーブしますか？"),
                                Dialogs::Icon::Information, Dialogs::Buttons::YesNoCancel);
    switch (answer) {
        case Dialogs::Answer::Yes:
            // Closing without a written file would lose the work the question was about.
            if (saveReelFile())
                event->accept();
            else
                event->ignore();
            return;
        case Dialogs::Answer::No:
            event->accept();
            return;
        default:
            event->ignore();
            return;
    }
}
