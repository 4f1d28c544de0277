#include "form1.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QTabBar>

#include "bonuspage.h"
#include "dialogs.h"
#include "effectsoundpage.h"
#include "generalpage.h"
#include "givenfile.h"
#include "historykeys.h"
#include "payoutsoundpage.h"
#include "picturenotice.h"
#include "sjis.h"

namespace specboard {

namespace {

// The machine file's dialogs start where the last one was loaded or saved (never the
// program's own folder: it is read-only once installed).
lifecycle::DocumentTexts machineFileTexts(const SpecEditor& editor) {
    lifecycle::DocumentTexts texts;
    texts.programName = QString::fromLatin1(ProgramName);
    texts.filter = orf::FileFilter.toString();
    texts.readFailure = QStringLiteral("オルベーンファイルを読み込めませんでした。");
    texts.readIcon = Dialogs::Icon::Warning;
    texts.dialogFolder = [&editor] { return editor.dialogFolder(); };
    return texts;
}

constexpr int TwipsPerPixel = 15;
// The tab strip and where its pages stand: 120 twips right of its left edge and 360 twips
// below its top.
const QRect StripPlace(4, 4, 383, 514);
constexpr int PageLeft = 120 / TwipsPerPixel;
constexpr int PageTop = 360 / TwipsPerPixel;

const char16_t* const TabCaptions[Form1::PageCount] = {u"全般", u"ボーナス", u"音設定 1",
                                                       u"音設定 2"};
const char16_t* const FrameCaptions[Form1::PageCount] = {
    u"全般の設定", u"ボーナス確率＆有効ライン設定", u"効果音設定", u"払い出し音・BGM設定"};

}  // namespace

Form1::Form1(Dialogs& dialogs, SoundDevice& soundDevice, MusicCommands& musicCommands,
             QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      files_(
          this, dialogs, editor_, machineFileTexts(editor_),
          [this](const QString& path) {
              orf::ReadReport report;
              QString why;
              if (!editor_.load(path, &report, &why)) return FileResult::failed(why);
              lastRead_ = std::move(report);
              return FileResult::ok();
          },
          [this](const QString& path) {
              QString why;
              return editor_.save(path, &why) ? FileResult::ok() : FileResult::failed(why);
          }),
      player_(soundDevice, musicCommands) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf16(WindowCaption));
    setFixedSize(5865 / TwipsPerPixel, 7830 / TwipsPerPixel);

    // The strip's page area, drawn below its tabs.
    auto* pane = new QFrame(this);
    pane->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    pane->setGeometry(StripPlace.adjusted(0, 20, 0, 0));
    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setGeometry(StripPlace.x() + 2, StripPlace.y(), StripPlace.width() - 4, 22);
    TabStrip1->setDrawBase(false);
    TabStrip1->setExpanding(false);
    TabStrip1->addTab(QString::fromUtf16(TabCaptions[0]));

    const QRect page(StripPlace.x() + PageLeft, StripPlace.y() + PageTop,
                     StripPlace.width() - 2 * PageLeft, StripPlace.height() - PageTop - PageLeft);
    for (int i = 0; i < PageCount; ++i) {
        Frames[i] = new QGroupBox(QString::fromUtf16(FrameCaptions[i]), this);
        Frames[i]->setObjectName(QStringLiteral("Frames_%1").arg(i));
        Frames[i]->setGeometry(page);
    }
    auto* general = new GeneralPage(editor_, dialogs_, Frames[0]);
    new BonusPage(editor_, Frames[1]);
    auto* effects = new EffectSoundPage(editor_, dialogs_, Frames[2]);
    new PayoutSoundPage(editor_, Frames[3]);

    connect(general, &GeneralPage::loadRequested, this, &Form1::loadMachineFile);
    connect(general, &GeneralPage::saveRequested, this, &Form1::saveMachineFile);
    connect(&editor_, &SpecEditor::reelDataRead, this, &Form1::addSettingTabs);
    connect(TabStrip1, &QTabBar::currentChanged, this, &Form1::showPage);
    connect(effects, &EffectSoundPage::playRequested, this, &Form1::playSound);
    connect(effects, &EffectSoundPage::stopRequested, this, [this] { player_.stop(); });
    // An undo or redo shows the page of what it changed.
    connect(&editor_, &SpecEditor::pageRevealed, this, [this](SpecEditor::Page page) {
        if (int(page) < TabStrip1->count()) TabStrip1->setCurrentIndex(int(page));
    });
    new HistoryKeys(this, editor_);
    showPage(0);

    // Last, once the window stands: a device that cannot start is reported, and the editor
    // goes on without it.
    soundRunning_ = true;
    tellSound(player_.start(winId()));
}

void Form1::tellSound(const std::optional<SoundFailure>& failure) {
    if (!failure) return;
    dialogs_.message(this, QString::fromLatin1(ProgramName), failure->text,
                     failure->warning ? Dialogs::Icon::Warning : Dialogs::Icon::None,
                     Dialogs::Buttons::Ok, failure->detail);
}

Form1::~Form1() { shutDownSound(); }

void Form1::playSound(const QString& soundNumberText, const QString& fileName) {
    QString folder = editor_.machineFolder();
    if (folder.isEmpty()) folder = dialogs_.workingFolder();
    tellSound(player_.play(soundNumberText, fileName, folder).failure);
}

void Form1::shutDownSound() {
    if (!soundRunning_) return;
    soundRunning_ = false;
    player_.shutDown();
}

void Form1::showPage(int index) {
    if (index < 0 || index >= PageCount) return;
    for (int i = 0; i < PageCount; ++i) Frames[i]->setVisible(i == index);
}

void Form1::addSettingTabs() {
    if (TabStrip1->count() > 1) return;
    for (int i = 1; i < PageCount; ++i) TabStrip1->addTab(QString::fromUtf16(TabCaptions[i]));
}

bool Form1::loadMachineFile() { return openFile(QString()); }

bool Form1::openFile(const QString& path) {
    // A refused file leaves the machine, the pages and the tabs as they were.
    if (!files_.load(path)) return false;
    warnAfterLoad(lastRead_);
    return true;
}

void Form1::warnAfterLoad(const orf::ReadReport& report) {
    const QString title = QString::fromLatin1(ProgramName);
    if (!report.warnings.isEmpty())
        dialogs_.message(this, title,
                         QStringLiteral("図柄の画像を読み込めませんでした。前の画像のままです。"),
                         Dialogs::Icon::Warning, Dialogs::Buttons::Ok, report.warnings.join(u'\n'));
    tellPngPictures(dialogs_, this, title, report.pngPictures);
    if (report.flagCountMismatch) {
        const int flags = editor_.lastFlag();
        const QString written = report.writtenFlagCount < 0
                                    ? QStringLiteral("払い出し音の行数がどの役の数にも合いません。")
                                    : QStringLiteral("払い出し音は役 %1 個の分だけ書かれています。")
                                          .arg(report.writtenFlagCount + 1);
        const QString& reelName = editor_.document().reelFileName;
        // A machine file that names no reel data file is read with the flags held before.
        const QString against =
            reelName.isEmpty() ? QStringLiteral(
                                     "このファイルはリールファイルを指定していないので、今の役 %1 "
                                     "個で読みました。")
                                     .arg(flags)
                               : QStringLiteral("リールファイル「%1」の役は %2 個です。")
                                     .arg(sjis::forDisplay(reelName, sjis::ShownNameChars))
                                     .arg(flags);
        dialogs_.message(
            this, title,
            QStringLiteral(
                "このファイルの払い出し音は、今のリールファイルとは別の役の数で書かれています。"),
            Dialogs::Icon::Warning, Dialogs::Buttons::Ok,
            QStringLiteral("%1 %2払い出し音の設定を確かめてください。").arg(written, against));
    }
}

bool Form1::saveMachineFile() {
    if (!files_.save()) return false;
    // The machine looks for the files it names beside the machine file.
    const QString folder = QFileInfo(editor_.filePath()).absolutePath();
    if (const QStringList missing = editor_.referencesMissingFrom(folder); !missing.isEmpty())
        dialogs_.message(
            this, QString::fromLatin1(ProgramName),
            QStringLiteral("機種が使うファイルがオルベーンファイルのフォルダにありません。"),
            Dialogs::Icon::Warning, Dialogs::Buttons::Ok,
            QStringLiteral("機種はファイルを名前だけで、オルベーンファイルのフォルダ（%1）から"
                           "探します。次のファイルをそのフォルダに置いてください。\n%2")
                .arg(QDir::toNativeSeparators(folder), missing.join(u'\n')));
    return true;
}

void Form1::closeEvent(QCloseEvent* event) {
    if (files_.mayClose()) {
        event->accept();
        shutDownSound();
    } else {
        event->ignore();
    }
}

}  // namespace specboard
