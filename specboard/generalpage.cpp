#include "generalpage.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <limits>
#include <utility>

#include "boxkeys.h"
#include "controls.h"
#include "dialogs.h"
#include "filelookup.h"
#include "lifecycle.h"
#include "orfformat.h"
#include "picturenotice.h"
#include "textguard.h"

namespace specboard {

namespace {

const QString NotSaved = QStringLiteral("セーブされていません");
const QString NotLoaded = QStringLiteral("ロードされていません");
constexpr char ReelFilter[] = "SlotDataFile|*.sdf|All Files|*.*|";
constexpr char ControlFilter[] = "リール制御ファイル|*.rcf|All Files|*.*|";
constexpr char BodyFilter[] = "画像位置ファイル|*.ppf|All Files|*.*|";

constexpr int Left = 12;
constexpr int Width = 343;
constexpr int NameX = 124;  // file rows: caption, name, buttons
constexpr int NameWidth = 138;
constexpr int LoadX = 266;
constexpr int SaveX = 312;
constexpr int ButtonWidth = 44;
constexpr int RowY[4] = {350, 380, 410, 440};

QLineEdit* makeNameBox(QWidget* parent, const char* name, int y) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(Left, y, Width, 20);
    // A name read from a file is shown whole, however long.
    box->setMaxLength(std::numeric_limits<int>::max());
    guardNameBox(box);
    return box;
}

QLabel* makeFileLabel(QWidget* parent, const char* caption, const char* name, const QString& text,
                      int row) {
    QLabel* title =
        makeLabel(parent, QString::fromUtf8(caption), Left, RowY[row] + 2, NameX - Left - 4, 17);
    fitFontToWidth(title, title->text(), title->width());
    QLabel* label = makeLabel(parent, text, NameX, RowY[row], NameWidth, 20, name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setIndent(3);
    return label;
}

QPushButton* makeFileButton(QWidget* parent, const char* caption, const char* name, int x,
                            int row) {
    QPushButton* button =
        makeButton(parent, QString::fromLatin1(caption), name, x, RowY[row], ButtonWidth, 20);
    fitButtonCaption(button);
    return button;
}

}  // namespace

GeneralPage::GeneralPage(SpecEditor& editor, Dialogs& dialogs, QWidget* frame)
    : QWidget(frame), editor_(editor), dialogs_(dialogs) {
    setObjectName(QStringLiteral("GeneralPage"));
    setGeometry(frame->rect());

    makeLabel(this, QStringLiteral("オルベーンのお名前"), Left, 24)
        ->setObjectName(QStringLiteral("Label1"));
    txtSlotName = makeNameBox(this, "txtSlotName", 42);
    makeLabel(this, QStringLiteral("作者のお名前"), Left, 70)
        ->setObjectName(QStringLiteral("Label2"));
    txtMakerName = makeNameBox(this, "txtMakerName", 88);
    makeLabel(this, QStringLiteral("オルベーンの説明"), Left, 116)
        ->setObjectName(QStringLiteral("Label113"));
    txtExp = new QPlainTextEdit(this);
    txtExp->setObjectName(QStringLiteral("txtExp"));
    txtExp->setGeometry(Left, 134, Width, 200);
    // Tab moves on to the file buttons, as in every other box.
    txtExp->setTabChangesFocus(true);
    explanationGuard_ = new ExplanationGuard(txtExp);

    auto* moves = new FocusMoves(this);
    for (int key : {int(Qt::Key_Return), int(Qt::Key_Down)}) {
        moves->add(txtSlotName, key, txtMakerName);
        moves->add(txtMakerName, key, txtExp);
    }
    connect(txtSlotName, &QLineEdit::textChanged, &editor_, &SpecEditor::setMachineName);
    connect(txtMakerName, &QLineEdit::textChanged, &editor_, &SpecEditor::setMakerName);
    connect(explanationGuard_, &ExplanationGuard::changed, &editor_, &SpecEditor::setExplanation);

    LabelSlotFile = makeFileLabel(this, "オルベーンファイル", "LabelSlotFile", NotSaved, 0);
    LabelRealFile = makeFileLabel(this, "リールファイル", "LabelRealFile", NotLoaded, 1);
    LabelConFile = makeFileLabel(this, "制御ファイル", "LabelConFile", NotLoaded, 2);
    LabelBodyFile = makeFileLabel(this, "筐体ファイル", "LabelBodyFile", NotLoaded, 3);
    connect(makeFileButton(this, "Load", "Command12", LoadX, 0), &QPushButton::clicked, this,
            &GeneralPage::loadRequested);
    connect(makeFileButton(this, "Save", "Command13", SaveX, 0), &QPushButton::clicked, this,
            &GeneralPage::saveRequested);
    connect(makeFileButton(this, "Load", "Command11", LoadX, 1), &QPushButton::clicked, this,
            &GeneralPage::chooseReelData);
    connect(makeFileButton(this, "Load", "Command1", LoadX, 2), &QPushButton::clicked, this,
            [this] { chooseReference(Reference::Control); });
    connect(makeFileButton(this, "Load", "Command2", LoadX, 3), &QPushButton::clicked, this,
            [this] { chooseReference(Reference::Body); });

    connect(&editor_, &SpecEditor::documentReplaced, this, [this] {
        showTexts();
        showFileNames();
    });
    connect(&editor_, &SpecEditor::documentEdited, this, &GeneralPage::showTexts);
    connect(&editor_, &SpecEditor::referencesChanged, this, &GeneralPage::showFileNames);
    connect(&editor_, &SpecEditor::fileChanged, this, &GeneralPage::showFileNames);
}

void GeneralPage::showTexts() {
    const MachineSpec& doc = editor_.document();
    // A box that already shows its text keeps its cursor.
    for (auto [box, text] :
         {std::pair(txtSlotName, &doc.machineName), std::pair(txtMakerName, &doc.makerName)})
        if (box->text() != *text) box->setText(*text);
    explanationGuard_->show(doc.explanation);
}

void GeneralPage::showFileNames() {
    const MachineSpec& doc = editor_.document();
    // The labels are narrow: the full path stands in the tooltip.
    auto show = [](QLabel* label, const QString& text, const QString& path) {
        label->setText(text);
        label->setToolTip(QDir::toNativeSeparators(path));
    };
    show(LabelSlotFile, editor_.specFileName().isEmpty() ? NotSaved : editor_.specFileName(),
         editor_.specFilePath());
    // Once a machine file has been loaded the labels show its names, an empty one as empty.
    auto shown = [this](const QString& name) {
        return name.isEmpty() && !editor_.machineFileLoaded() ? NotLoaded : name;
    };
    using Reference = SpecEditor::Reference;
    show(LabelRealFile, shown(doc.reelFileName), editor_.referencePath(Reference::Reel));
    show(LabelConFile, shown(doc.controlFileName), editor_.referencePath(Reference::Control));
    show(LabelBodyFile, shown(doc.bodyFileName), editor_.referencePath(Reference::Body));
}

void GeneralPage::warnIfOutsideMachineFolder(const QString& path, bool readFromSpecFolder) {
    if (!editor_.outsideMachineFolder(path)) return;
    QString detail =
        QStringLiteral(
            "機種はファイルを名前だけで、オルベーンファイルのフォルダ（%1）から探します。"
            "「%2」をそのフォルダに置いてください。")
            .arg(QDir::toNativeSeparators(editor_.machineFolder()), bareNameOfPath(path));
    if (readFromSpecFolder && editor_.machineFileLoaded())
        detail += QStringLiteral("リールファイルはそのフォルダから読み込みます。");
    dialogs_.message(window(), QString::fromLatin1(ProgramName),
                     QStringLiteral("選んだファイルはオルベーンファイルのフォルダにありません。"),
                     Dialogs::Icon::Warning, Dialogs::Buttons::Ok, detail);
}

void GeneralPage::chooseReelData() {
    QStringList warnings, png;
    const bool read = lifecycle::openAndRead(
        {dialogs_,
         window(),
         QString::fromUtf8(ReelFilter),
         {},
         QString::fromLatin1(ProgramName),
         QStringLiteral("リールファイルを読み込めませんでした。"),
         Dialogs::Icon::Warning},
        [&](const QString& path, QString* why) {
            if (const QString problem = orf::nameProblem(bareNameOfPath(path));
                !problem.isEmpty()) {
                *why = problem;
                return false;
            }
            warnIfOutsideMachineFolder(path, true);
            return editor_.loadReelData(path, &warnings, why, &png);
        });
    if (read && !warnings.isEmpty())
        dialogs_.message(window(), QString::fromLatin1(ProgramName),
                         QStringLiteral("図柄の画像を読み込めませんでした。前の画像のままです。"),
                         Dialogs::Icon::Warning, Dialogs::Buttons::Ok, warnings.join(u'\n'));
    if (read) tellPngPictures(dialogs_, window(), QString::fromLatin1(ProgramName), png);
}

void GeneralPage::chooseReference(Reference reference) {
    const bool control = reference == Reference::Control;
    // The file is only named, never opened: any file whose name the machine file can hold.
    lifecycle::openAndRead(
        {dialogs_,
         window(),
         QString::fromUtf8(control ? ControlFilter : BodyFilter),
         {},
         QString::fromLatin1(ProgramName),
         control ? QStringLiteral("このファイルは制御ファイルに指定できません。")
                 : QStringLiteral("このファイルは筐体ファイルに指定できません。"),
         Dialogs::Icon::Warning},
        [this, control](const QString& path, QString* why) {
            const bool named =
                control ? editor_.setControlFile(path, why) : editor_.setBodyFile(path, why);
            if (named) warnIfOutsideMachineFolder(path, false);
            return named;
        });
}

}  // namespace specboard
