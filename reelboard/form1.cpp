#include "form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "checkwindow.h"
#include "controls.h"
#include "dialogs.h"
#include "filelookup.h"
#include "flashpanel.h"
#include "picturepanel.h"
#include "prizepanel.h"
#include "sdfformat.h"
#include "strippanel.h"

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
    prizePanel_ = new PrizePanel(editor_, Frame2);
    flashPanel_ = new FlashPanel(editor_, Frame1);
    stripPanel_->showArrangement = [this] { checkWindow_->showArrangement(); };
    picturePanel_->picturesChanged = [this] {
        stripPanel_->refresh();
        checkWindow_->showArrangement();
        prizePanel_->refreshPictures();
    };
    flashPanel_->showFlash = [this](const FlashFrame& frame) { checkWindow_->showFlash(frame); };
    connect(checkWindow_, &CheckWindow::cellClicked, flashPanel_, &FlashPanel::toggleLamp);
    connect(flashPanel_, &FlashPanel::previewFinished, this, [this] {
        if (!closeAfterPreview_) return;
        closeAfterPreview_ = false;
        // Ask the quit question once the preview has fully unwound.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    });

    // Start-up: blank strips, the combination of entry 0, the check window's arrangement
    // and symbol 1's lit picture.
    stripPanel_->showBlank();
    editor_.currentFlash = 1;
    editor_.currentFrame = 1;
    editor_.currentPrize = 0;
    editor_.currentSymbol = 0;
    prizePanel_->refreshPictures();
    checkWindow_->showArrangement();
    picturePanel_->showStartUp();

    editor_.modified = false;
}

Form1::~Form1() { qApp->removeEventFilter(this); }

bool Form1::event(QEvent* event) {
    // The window sees the lamp keys before whichever of its controls has the focus.
    if (event->type() == QEvent::WindowActivate) qApp->installEventFilter(this);
    if (event->type() == QEvent::WindowDeactivate) qApp->removeEventFilter(this);
    return QWidget::event(event);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this) return false;
    // A key goes first to the focused control and then up to its parents: act on it once.
    QWidget* first = QApplication::focusWidget();
    if (!first || first->window() != this) first = this;
    if (widget != first) return false;
    const QString text = static_cast<QKeyEvent*>(event)->text();
    // Lower-case letters only; the key then still reaches the control, which drops it.
    if (text == QLatin1String("z")) flashPanel_->setAllLamps(true);
    if (text == QLatin1String("x")) flashPanel_->setAllLamps(false);
    return false;
}

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
    prizePanel_->refreshFields();
    prizePanel_->refreshPictures();
    flashPanel_->navigate(0, 1);
    flashPanel_->showFlashView();
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
    if (flashPanel_->previewRunning()) {
        // The preview is running below this event: end it first, then close as usual.
        flashPanel_->stopPreview();
        closeAfterPreview_ = true;
        event->ignore();
        return;
    }
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
