#include "form1.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

#include "controls.h"
#include "dialogs.h"
#include "entrypage.h"
#include "givenfile.h"
#include "picturenotice.h"
#include "placementcanvas.h"
#include "ppfformat.h"
#include "slotpanel.h"

namespace posboard {

namespace {

constexpr int WindowWidth = 780;  // 11700 x 8655 twips
constexpr int WindowHeight = 577;
constexpr QPoint CanvasOrigin(8, 64);
constexpr QRect PageFrame(596, 4, 178, 520);
constexpr int StatusBarHeight = 22;
// Pointer x, pointer y, the rectangle, its size.
constexpr int StatusWidths[4] = {90, 90, 250, 0};

lifecycle::DocumentTexts positionFileTexts() {
    lifecycle::DocumentTexts texts;
    texts.programName = QString::fromLatin1(ProgramName);
    texts.filter = ppf::FileFilter.toString();
    texts.readFailure = QStringLiteral("位置ファイルを読み込めません。");
    texts.readIcon = Dialogs::Icon::Warning;
    texts.startInFolder = true;
    return texts;
}

}  // namespace

Form1::Form1(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      files_(
          this, dialogs, editor_, positionFileTexts(),
          [this](const QString& path) { return editor_.load(path, &readPngPictures_); },
          [this](const QString& path) { return editor_.save(path); }) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf16(WindowCaption));
    setFixedSize(WindowWidth, WindowHeight);
    setMouseTracking(true);

    // ---- The position file
    makeLabel(this, QStringLiteral("編集ファイル名"), 8, 10, 84, 17);
    LabelFileName = makeLabel(this, QString(), 96, 10, 340, 17, "LabelFileName");
    LabelFileName->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    connect(makeButton(this, QStringLiteral("Load"), "Command3", 454, 8, 54, 22),
            &QPushButton::clicked, this, &Form1::loadPositionFile);
    connect(makeButton(this, QStringLiteral("Save"), "Command4", 514, 8, 54, 22),
            &QPushButton::clicked, this, &Form1::savePositionFile);
    connect(&editor_, &PositionEditor::fileChanged, this, [this](const QString& path) {
        LabelFileName->setText(lifecycle::fileLabelText(path, QString()));
    });

    // ---- Slots and canvas
    auto* slotPanel = new SlotPanel(editor_, dialogs_, this, QPoint(8, 36));
    canvas_ = new PlacementCanvas(editor_, this, CanvasOrigin);
    connect(slotPanel, &SlotPanel::pictureReread, canvas_, &PlacementCanvas::showPicture);
    connect(canvas_, &PlacementCanvas::statusShown, this, &Form1::showStatus);

    // ---- Pages, all at one place and switched by visibility
    for (int p = 0; p < pos::PageCount; ++p) {
        auto* frame = new QGroupBox(QStringLiteral("表示位置設定 ページ%1").arg(p + 1), this);
        frame->setObjectName(QStringLiteral("PFrame_%1").arg(p));
        frame->setGeometry(PageFrame);
        auto* page = new EntryPage(editor_, p, frame);
        connect(page, &EntryPage::captionClicked, this,
                [this](int entry) { canvas_->captionClicked(entry); });
        PFrame[p] = frame;
    }
    const int buttonY = PageFrame.bottom() + 5;
    connect(
        makeButton(this, QStringLiteral("<< Prew"), "PrePage", PageFrame.left(), buttonY, 86, 22),
        &QPushButton::clicked, &editor_, &PositionEditor::previousPage);
    connect(makeButton(this, QStringLiteral("Next >>"), "Command2", PageFrame.right() - 85, buttonY,
                       86, 22),
            &QPushButton::clicked, &editor_, &PositionEditor::nextPage);
    connect(&editor_, &PositionEditor::pageChanged, this, &Form1::showPage);
    showPage(editor_.currentPage());

    // ---- Status bar
    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->setGeometry(0, WindowHeight - StatusBarHeight, WindowWidth, StatusBarHeight);
    for (int k = 0; k < 4; ++k) {
        auto* panel = new QLabel(status);
        panel->setObjectName(QStringLiteral("StatusBar1_%1").arg(k + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (StatusWidths[k] > 0) panel->setFixedWidth(StatusWidths[k]);
        status->addWidget(panel, StatusWidths[k] > 0 ? 0 : 1);
        statusPanels_[k] = panel;
    }
    new HistoryKeys(this, editor_, [this](HistoryKeys::Key key) { stepHistory(key); });
}

void Form1::stepHistory(HistoryKeys::Key key) {
    canvas_->endDrag();
    if (key == HistoryKeys::Key::Undo)
        editor_.undo();
    else
        editor_.redo();
}

void Form1::showPage(int page) {
    for (int p = 0; p < pos::PageCount; ++p) PFrame[p]->setVisible(p == page);
}

void Form1::showStatus(int panel, const QString& text) {
    if (panel >= 1 && panel <= 4) statusPanels_[panel - 1]->setText(text);
}

void Form1::mouseMoveEvent(QMouseEvent*) {
    showStatus(1, QStringLiteral("x : "));
    showStatus(2, QStringLiteral("y : "));
}

bool Form1::loadPositionFile() { return openFile(QString()); }

bool Form1::openFile(const QString& path) {
    // A refused file leaves the document, its pictures, its folder and the window as they were.
    readPngPictures_.clear();
    const FileResult read = files_.load(path);
    if (!read) return false;
    if (!read.warnings.isEmpty())
        dialogs_.message(this, QString::fromLatin1(ProgramName),
                         QStringLiteral("読み込めなかった画像があります。"), Dialogs::Icon::Warning,
                         Dialogs::Buttons::Ok, read.warnings.join(QLatin1Char('\n')));
    tellPngPictures(dialogs_, this, QString::fromLatin1(ProgramName), readPngPictures_);
    return true;
}

bool Form1::savePositionFile() { return files_.save(); }

void Form1::closeEvent(QCloseEvent* event) {
    if (files_.mayClose())
        event->accept();
    else
        event->ignore();
}

}  // namespace posboard
