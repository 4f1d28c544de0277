#include "form1.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "assignmentpanel.h"
#include "busycursor.h"
#include "controls.h"
#include "dialogs.h"
#include "givenfile.h"
#include "historykeys.h"
#include "picturenotice.h"
#include "reelgridpanel.h"
#include "specialpastepanel.h"
#include "tablepanels.h"

namespace stopboard {

namespace {

const QString NotLoaded = QStringLiteral("ロードされていません");
// The reel data file comes from the reel editor.
const QString ReelDataFilter = QStringLiteral("SlotDataFile|*.sdf|All Files|*.*|");

QGroupBox* makeFrame(QWidget* parent, const QString& title, const char* name,
                     const QRect& geometry) {
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(QLatin1String(name));
    frame->setGeometry(geometry);
    return frame;
}

QLabel* makeFileLabel(QWidget* parent, const QString& text, const char* name, int x) {
    QLabel* label = makeLabel(parent, text, x, 6, 150, 20, name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setIndent(3);
    return label;
}

lifecycle::DocumentTexts controlFileTexts() {
    lifecycle::DocumentTexts texts;
    texts.programName = QString::fromLatin1(ProgramName);
    texts.filter = rcf::FileFilter.toString();
    texts.readFailure = QStringLiteral("ファイルが不正です。");
    texts.startInFolder = true;
    return texts;
}

}  // namespace

Form1::Form1(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      files_(
          this, dialogs, editor_, controlFileTexts(),
          [this](const QString& path) { return adoptControlFile(path); },
          [this](const QString& path) {
              const BusyCursor busy;
              return editor_.saveControlFile(path);
          }) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf16(WindowCaption));
    setFixedSize(703, 570);

    // The file row.
    makeLabel(this, QStringLiteral("リールファイル"), 8, 8, -1, 17, "Label3");
    LabelFileName = makeFileLabel(this, NotLoaded, "LabelFileName", 94);
    QPushButton* loadReel =
        makeButton(this, QStringLiteral("Load"), "ComLoadRealFile", 248, 6, 44, 20);
    makeLabel(this, QStringLiteral("制御ファイル"), 312, 8, -1, 17, "Label5");
    ConFileName = makeFileLabel(this, QString(), "ConFileName", 386);
    LoadConFile = makeButton(this, QStringLiteral("Load"), "LoadConFile", 540, 6, 44, 20);
    SaveConFile = makeButton(this, QStringLiteral("Save"), "SaveConFile", 588, 6, 44, 20);
    LoadConFile->setEnabled(false);
    SaveConFile->setEnabled(false);
    connect(loadReel, &QPushButton::clicked, this, &Form1::loadReelFile);
    connect(LoadConFile, &QPushButton::clicked, this, &Form1::loadControlFile);
    connect(SaveConFile, &QPushButton::clicked, this, &Form1::saveControlFile);

    new ReelGridPanel(editor_, this, QPoint(0, 30));
    new StopTablePanel(editor_, makeFrame(this, QStringLiteral("基本テーブル設定 - 1"),
                                          "FrameStopTable", QRect(244, 30, 212, 98)));
    new BaseTablePanel(editor_, makeFrame(this, QStringLiteral("基本テーブル設定 - 2"),
                                          "FrameBaseTable", QRect(244, 132, 212, 236)));
    new AssignmentPanel(editor_, this, QPoint(460, 30));
    new SpecialPastePanel(editor_, dialogs_,
                          makeFrame(this, QStringLiteral("特殊ペーストオプション"),
                                    "FrameSpecialPaste", QRect(244, 376, 455, 162)));

    connect(&editor_, &ControlEditor::reelFileChanged, this, [this](const QString& path) {
        LabelFileName->setText(lifecycle::fileLabelText(path, NotLoaded));
    });
    connect(&editor_, &ControlEditor::fileChanged, this, [this](const QString& path) {
        ConFileName->setText(lifecycle::fileLabelText(path, QString()));
    });
    connect(&editor_, &ControlEditor::editingEnabledChanged, this, [this](bool on) {
        LoadConFile->setEnabled(on);
        SaveConFile->setEnabled(on);
    });
    new HistoryKeys(this, editor_);
}

bool Form1::loadReelFile() { return readReelFile(QString()); }

bool Form1::loadControlFile() { return readControlFile(QString()); }

bool Form1::openFiles(const QString& reelPath, const QString& controlPath) {
    QString reel = reelPath;
    QString control = controlPath;
    if (control.isEmpty() && QFileInfo(reel).suffix().compare(u"rcf", Qt::CaseInsensitive) == 0) {
        // The control file's flags follow the reel data's prizes: it cannot be read alone.
        control = reel;
        reel = reelFileBeside(control);
        if (reel.isEmpty()) return false;
    }
    if (!readReelFile(reel)) return false;
    return control.isEmpty() || readControlFile(control);
}

QString Form1::reelFileBeside(const QString& controlPath) {
    const QFileInfo control(controlPath);
    const QStringList found = control.dir().entryList({QStringLiteral("*.sdf")},
                                                      QDir::Files | QDir::Readable, QDir::Name);
    if (found.size() == 1) return control.dir().filePath(found.first());
    const QString text =
        found.isEmpty()
            ? QStringLiteral("制御ファイルと同じフォルダにリールファイル（.sdf）がありません。")
            : QStringLiteral("制御ファイルと同じフォルダにリールファイル（.sdf）が %1 個あります。")
                  .arg(found.size());
    dialogs_.message(
        this, QString::fromLatin1(ProgramName),
        text + QStringLiteral("先にリールファイルを読み込んでください。"), Dialogs::Icon::Warning,
        Dialogs::Buttons::Ok,
        found.isEmpty() ? QDir::toNativeSeparators(control.absolutePath()) : found.join(u'\n'));
    return {};
}

bool Form1::readReelFile(const QString& given) {
    QStringList pictureProblems, png;
    QString tooManyPrizes;
    // The reel data file only shows the tables: its Load does not ask about unsaved work.
    const lifecycle::FileCommand command{dialogs_,
                                         this,
                                         ReelDataFilter,
                                         editor_.fileFolder(),
                                         QString::fromLatin1(ProgramName),
                                         QStringLiteral("ファイルが不正です。")};
    const bool read =
        lifecycle::openOrReadGiven(command, given, [&](const QString& path, QString* why) {
            switch (editor_.loadReelData(path, why, &pictureProblems, &png)) {
                case ControlEditor::ReelLoad::Loaded:
                    return true;
                case ControlEditor::ReelLoad::TooManyPrizes:
                    // A sound reel data file, but one the control file cannot follow: told below.
                    tooManyPrizes = *why;
                    return true;
                case ControlEditor::ReelLoad::Unreadable:
                    break;
            }
            return false;
        });
    if (!tooManyPrizes.isEmpty()) {
        dialogs_.message(this, QString::fromLatin1(ProgramName),
                         QStringLiteral("このリールファイルは制御ファイルに使えません。"),
                         Dialogs::Icon::Warning, Dialogs::Buttons::Ok, tooManyPrizes);
        return false;
    }
    if (!pictureProblems.isEmpty())
        dialogs_.message(this, QString::fromLatin1(ProgramName),
                         QStringLiteral("読み込めない図柄画像があります。前の画像のままです。"),
                         Dialogs::Icon::Warning, Dialogs::Buttons::Ok,
                         pictureProblems.join(QLatin1Char('\n')));
    if (read) tellPngPictures(dialogs_, this, QString::fromLatin1(ProgramName), png);
    return read;
}

bool Form1::readControlFile(const QString& given) {
    // The control file replaces the tables and assignments; a reel data file only the symbols
    // and prizes they are shown with, so only this Load asks about unsaved work.
    adopted_ = false;
    files_.load(given);
    return adopted_;
}

FileResult Form1::adoptControlFile(const QString& path) {
    ControlFileRead read;
    QString why;
    {
        const BusyCursor busy;
        if (!editor_.readControlFile(path, read, &why)) return FileResult::failed(why);
    }
    if (const auto written = editor_.otherLayout(read)) {
        const auto answer = dialogs_.message(
            this, QString::fromLatin1(ProgramName),
            QStringLiteral("この制御ファイルは役 %1 個のリールファイル用に書かれています。"
                           "読み込まれているリールファイルの役は %2 個です。"
                           "このまま読み込みますか？")
                .arg(*written + 1)
                .arg(editor_.lastFlag()),
            Dialogs::Icon::Question, Dialogs::Buttons::YesNo, {},
            Dialogs::Answer::No);                                     // Return keeps the document
        if (answer != Dialogs::Answer::Yes) return FileResult::ok();  // declined: nothing changes
    }
    const BusyCursor busy;
    editor_.adoptControlFile(std::move(read));
    adopted_ = true;
    return FileResult::ok();
}

bool Form1::saveControlFile() { return files_.save(); }

void Form1::closeEvent(QCloseEvent* event) {
    if (files_.mayClose())
        event->accept();
    else
        event->ignore();
}

}  // namespace stopboard
