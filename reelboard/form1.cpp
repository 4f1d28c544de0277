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
#include "flashpanel.h"
#include "givenfile.h"
#include "picturenotice.h"
#include "picturepanel.h"
#include "prizepanel.h"
#include "sdfformat.h"
#include "strippanel.h"

namespace reelboard {

namespace {

const QString NotSaved = QStringLiteral("セーブされていません");

lifecycle::DocumentTexts reelFileTexts() {
    lifecycle::DocumentTexts texts;
    texts.programName = QString::fromLatin1(ProgramName);
    texts.filter = sdf::FileFilter.toString();
    texts.readFailure = QStringLiteral("ファイルが不正です。");
    return texts;
}

}  // namespace

Form1::Form1(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      files_(
          this, dialogs, editor_, reelFileTexts(),
          [this](const QString& path) { return editor_.load(path); },
          [this](const QString& path) { return editor_.save(path); }) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf16(WindowCaption));
    setFixedSize(537, 543);

    new StripPanel(editor_, this);

    makeLabel(this, QStringLiteral("リールファイル"), 232, 8);
    LabelFileName = makeLabel(this, NotSaved, 312, 8, 121, 17, "LabelFileName");
    connect(makeButton(this, QStringLiteral("Load"), "Command4", 448, 8, 41, 17),
            &QPushButton::clicked, this, &Form1::loadReelFile);
    connect(makeButton(this, QStringLiteral("Save"), "Command5", 488, 8, 41, 17),
            &QPushButton::clicked, this, &Form1::saveReelFile);
    connect(&editor_, &ReelEditor::fileChanged, this, [this](const QString& path) {
        LabelFileName->setText(lifecycle::fileLabelText(path, NotSaved));
    });

    new PicturePanel(editor_, dialogs_, this, QPoint(232, 32));

    auto* prizeFrame = new QGroupBox(QStringLiteral("役エディットウィンドウ"), this);
    prizeFrame->setObjectName(QStringLiteral("Frame2"));
    prizeFrame->setGeometry(232, 160, 289, 137);
    new PrizePanel(editor_, prizeFrame);

    auto* checkFrame = new QGroupBox(QStringLiteral("配列チェック＆フラッシュエディット"), this);
    checkFrame->setObjectName(QStringLiteral("Frame1"));
    checkFrame->setGeometry(232, 312, 289, 225);
    // The flash editor fills the frame beneath the check window, which stands over its top left.
    flashPanel_ = new FlashPanel(editor_, checkFrame);
    checkWindow_ = new CheckWindow(editor_, checkFrame);
    connect(flashPanel_, &FlashPanel::flashShown, checkWindow_, &CheckWindow::showFlash);
    connect(checkWindow_, &CheckWindow::cellClicked, this, [this](int cell) {
        editor_.toggleLamp(editor_.currentFlash(), editor_.currentFrame(), cell);
    });
    connect(flashPanel_, &FlashPanel::previewFinished, this, [this] {
        if (!closeAfterPreview_) return;
        closeAfterPreview_ = false;
        // Ask the quit question once the preview has fully unwound.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    });
    new HistoryKeys(this, editor_, [this](HistoryKeys::Key key) { stepHistory(key); });
}

void Form1::stepHistory(HistoryKeys::Key key) {
    if (flashPanel_->previewRunning()) {
        // The preview runs below this key: the step comes once it has fully unwound, so that
        // its last redraw does not cover what the step shows.
        flashPanel_->stopPreview();
        connect(
            flashPanel_, &FlashPanel::previewFinished, this,
            [this, key] {
                QMetaObject::invokeMethod(
                    this, [this, key] { stepHistory(key); }, Qt::QueuedConnection);
            },
            Qt::SingleShotConnection);
        return;
    }
    if (key == HistoryKeys::Key::Undo)
        editor_.undo();
    else
        editor_.redo();
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
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    // Typed lower-case letters only (Ctrl+Z is the undo key); the key then still reaches the
    // control, which drops it.
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    if (text == QLatin1String("z") || text == QLatin1String("x"))
        editor_.setAllLamps(editor_.currentFlash(), editor_.currentFrame(),
                            text == QLatin1String("z"));
    return false;
}

bool Form1::loadReelFile() { return openFile(QString()); }

bool Form1::openFile(const QString& path) {
    // A refused file leaves the document, its pictures, its folder and the displays as they were.
    const FileResult read = files_.load(path);
    if (read) tellPngPictures(dialogs_, this, QString::fromLatin1(ProgramName), read.warnings);
    return bool(read);
}

bool Form1::saveReelFile() { return files_.save(); }

void Form1::closeEvent(QCloseEvent* event) {
    if (flashPanel_->previewRunning()) {
        // The preview is running below this event: end it first, then close as usual.
        flashPanel_->stopPreview();
        closeAfterPreview_ = true;
        event->ignore();
        return;
    }
    if (files_.mayClose())
        event->accept();
    else
        event->ignore();
}

}  // namespace reelboard
