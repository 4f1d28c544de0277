// The control window as a whole: start-up, layout, the reel data and control files, table
// navigation, the Loads over unsaved work and the quit question.

#include <QDir>
#include <QGroupBox>
#include <QSignalSpy>

#include "archive.h"
#include "closequestion.h"
#include "rcfformat.h"
#include "stopwindowtest.h"
#include "suitelook.h"

using namespace stoptest;
using namespace stopboard;

namespace {

// Every control that waits for a reel data file.
QStringList editingControls() {
    QStringList names = QStringLiteral(
                            "LoadConFile SaveConFile NowTableNo PrNowTable NeNowTable Text1 "
                            "BTableNo PrBTableNo NeBTableNo PrFlagNo NeFlagNo PrBigID NeBigID "
                            "FirstStop PrFirstStop NeFirstStop FTableNumber PrSPFNo NeSPFNo "
                            "Command1 Command2 Command3 Command4")
                            .split(' ');
    for (int c = 0; c < reel::CellCount; ++c) names << cellName(c);
    for (int i = 0; i < 8; ++i)
        names << QStringLiteral("TablePr_%1").arg(i) << QStringLiteral("BTNo_%1").arg(i);
    for (int n = 0; n < KeyElementCount; ++n)
        names << option(n) << QStringLiteral("CheckSP_%1").arg(n);
    return names;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

// What a refused load must leave alone.
struct Seen {
    explicit Seen(Form1& w)
        : text(rcf::writeText(w.document())),
          pictures(picture(w, "ImgReal_5")->picture().cacheKey()),
          flagPicture(picture(w, "ImgFlag_0")->picture().cacheKey()),
          file(textOf(w, "LabelFileName")),
          control(textOf(w, "ConFileName")),
          folder(w.editor().fileFolder()),
          enabled(isEnabled(w, "LoadConFile")),
          saved(!w.editor().isModified()) {}
    bool operator==(const Seen&) const = default;
    QByteArray text;
    qint64 pictures, flagPicture;
    QString file, control, folder;
    bool enabled, saved;
};

}  // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    // Laid out in the font and style the program runs with.
    void initTestCase() { applySuiteLook(*qApp); }
    void startUp();
    void layoutFits();
    void reelDataLoad();
    void badReelData_data();
    void badReelData();
    void pictureProblemsAreListed();
    void reelDataWithoutPrizes();
    void flagsPastNewPrizesReturnToZero();
    void tableNavigation_data();
    void tableNavigation();
    void browsingMarksChanged();
    void badControlFile_data();
    void badControlFile();
    void otherLayoutAsks_data();
    void otherLayoutAsks();
    void failedSave();
    void closeQuestion_data();
    void closeQuestion();
    void loadOverUnsavedWork();
};

void TestForm1::startUp() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    QCOMPARE(w.windowTitle(), QStringLiteral("オルベーンエディターβ ver1.60"));
    QCOMPARE(w.size(), QSize(703, 570));
    const QString startTexts = QStringLiteral(
        "LabelFileName=ロードされていません ConFileName= NowTableNo=1 BTableNo=1 BTNo_7=1 "
        "TablePr_0=0 StopIndex_62=0 FirstStop=1 FTableNumber=1 Text1= LabelFlNo=0 FSPno=0 "
        "LabelBigID=1 LabelPos_0=01 LabelPos_20=21");
    for (const QString& entry : startTexts.split(' '))
        QCOMPARE(textOf(w, entry.section('=', 0, 0)), entry.section('=', 1));
    QStringList titles;
    for (QGroupBox* frame : w.findChildren<QGroupBox*>()) titles << frame->title();
    QCOMPARE(titles, QStringList({"基本テーブル設定 - 1", "基本テーブル設定 - 2", "プレイ状態",
                                  "ボーナスフラグ状態", "投入枚数", "押し順", "成立フラグ",
                                  "特殊ペーストオプション", "プレイ状態", "ボーナスフラグ状態",
                                  "投入枚数", "押し順", "成立フラグ"}));
    for (int n = 0; n < KeyElementCount; ++n)
        QCOMPARE(isChecked(w, option(n)), n == 0 || n == 4 || n == 7 || n == 10);
    QVERIFY(isEnabled(w, "ComLoadRealFile"));
    for (const QString& name : editingControls()) QVERIFY2(!isEnabled(w, name), qPrintable(name));
    QVERIFY(w.close());  // nothing to ask right after start-up
    QVERIFY(dialogs.shown.isEmpty());
}

void TestForm1::layoutFits() {
    // Every caption fits its control, and no two controls of one parent overlap.
    LoadedWindow l;
    for (QWidget* widget : l.w.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&l.w) || qobject_cast<QLineEdit*>(widget->parentWidget()))
            continue;
        const QString name =
            widget->objectName() + QLatin1Char(' ') + widget->metaObject()->className();
        QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()), qPrintable(name));
        if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap())
            QVERIFY2(label->sizeHint().width() <= label->width() + 1,
                     qPrintable(name + label->text()));
        if (auto* button = qobject_cast<QPushButton*>(widget))
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) + 6 <= button->width(),
                     qPrintable(name + button->text()));
        else if (auto* choice = qobject_cast<QAbstractButton*>(widget))
            QVERIFY2(
                choice->sizeHint().width() <= choice->width(),
                qPrintable(name + choice->text() + QString::number(choice->sizeHint().width()) +
                           "/" + QString::number(choice->width())));
        if (auto* frame = qobject_cast<QGroupBox*>(widget))
            QVERIFY2(frame->fontMetrics().horizontalAdvance(frame->title()) + 10 <= frame->width(),
                     qPrintable(name));
        for (QObject* other : widget->parentWidget()->children()) {
            auto* sibling = qobject_cast<QWidget*>(other);
            if (!sibling || sibling == widget || !sibling->isVisibleTo(&l.w)) continue;
            QVERIFY2(!sibling->geometry().intersects(widget->geometry()),
                     qPrintable(name + QStringLiteral(" overlaps ") + sibling->objectName()));
        }
    }
}

void TestForm1::reelDataLoad() {
    LoadedWindow l;
    Form1& w = l.w;
    QCOMPARE(l.dialogs.fileRequests.last().filter,
             QStringLiteral("SlotDataFile|*.sdf|All Files|*.*|"));
    QCOMPARE(textOf(w, "LabelFileName"), QStringLiteral("m.sdf"));
    QCOMPARE(w.editor().fileFolder(), QDir(l.dir.path()).absolutePath() + QLatin1Char('/'));
    for (int c : {0, 20, 30, 62})
        QCOMPARE(colourOf(picture(w, QStringLiteral("ImgReal_%1").arg(c))->picture()),
                 symbolColour(c % 7));
    QCOMPARE(w.document().lastPrizeIndex(), 2);
    for (const QString& name : editingControls())
        QVERIFY2(isEnabled(w, name) != name.endsWith(QLatin1String("BigID")), qPrintable(name));
    QVERIFY(!w.editor().isModified());
    QVERIFY(l.dialogs.shown.isEmpty());
    // The next dialog starts in the folder of the reel data file.
    answerFile(w, l.dialogs, "LoadConFile", QString());
    QCOMPARE(l.dialogs.fileRequests.last().initialFolder, w.editor().fileFolder());
}

void TestForm1::badReelData_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    ReelData data;
    const QByteArray good = data.text();
    QTest::newRow("ends inside the arrangement")
        << good.left(good.indexOf("# number of prize") - 20) << "ファイルが不正です。";
    data.symbolOf = [](int cell) { return cell == 30 ? 7 : 0; };
    QTest::newRow("arrangement number 8") << data.text() << "ファイルが不正です。";
    QTest::newRow("prize section broken")
        << good.left(good.indexOf("# number of flash") - 3) << "ファイルが不正です。";
    QTest::newRow("not there") << QByteArray() << "ファイルが不正です。";
    ReelData many;
    many.prizes.assign(21, prize(0, {0}));
    QTest::newRow("21 prizes: more flags than the control file holds")
        << many.text() << "このリールファイルは制御ファイルに使えません。";
}

void TestForm1::badReelData() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    for (bool loadedBefore : {false, true}) {
        ScriptedDialogs dialogs;
        Form1 w(dialogs);
        QTemporaryDir dir, other;
        if (loadedBefore) loadReelData(w, dialogs, writeReelData(dir, "first.sdf"));
        const Seen before(w);
        const QString bad = other.filePath("bad.sdf");
        if (!bytes.isEmpty()) writeBytes(bad, bytes);
        dialogs.shown.clear();
        loadReelData(w, dialogs, bad);
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].text, text);
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("stopboard"));
        QVERIFY(!dialogs.shown[0].detail.isEmpty());
        if (text != QStringLiteral("ファイルが不正です。"))
            QVERIFY(dialogs.shown[0].detail.contains(QStringLiteral("21 個")));
        QVERIFY(Seen(w) == before);
    }
}

void TestForm1::pictureProblemsAreListed() {
    LoadedWindow l;
    const QImage before = picture(l.w, "ImgReal_1")->picture();  // symbol 2
    ReelData next;
    next.litNames[1] = QStringLiteral("gone.bmp");
    next.litNames[3] = QStringLiteral("broken.bmp");
    next.litNames[4] = QString();  // no name: the slot keeps its picture silently
    QTemporaryDir dir;
    const QString path = writeReelData(dir, "next.sdf", next, 0x10);
    writeBytes(dir.filePath("broken.bmp"), "BM not a picture");
    loadReelData(l.w, l.dialogs, path);
    QCOMPARE(l.dialogs.shown.size(), 1);
    QCOMPARE(l.dialogs.shown[0].icon, Dialogs::Icon::Warning);
    QVERIFY(l.dialogs.shown[0].detail.contains("gone.bmp"));
    QVERIFY(l.dialogs.shown[0].detail.contains("broken.bmp"));
    QCOMPARE(l.dialogs.shown[0].detail.count('\n'), 1);
    QCOMPARE(textOf(l.w, "LabelFileName"), QStringLiteral("next.sdf"));
    QCOMPARE(picture(l.w, "ImgReal_1")->picture(), before);
    QCOMPARE(colourOf(picture(l.w, "ImgReal_3")->picture()), symbolColour(3));
    QCOMPARE(colourOf(picture(l.w, "ImgReal_4")->picture()), symbolColour(4));
    QCOMPARE(colourOf(picture(l.w, "ImgReal_0")->picture()), symbolColour(0) + 0x10);
}

void TestForm1::reelDataWithoutPrizes() {
    LoadedWindow l;
    ReelData cut;
    cut.withPrizes = false;
    cut.symbolOf = [](int) { return 6; };
    QTemporaryDir dir;
    loadReelData(l.w, l.dialogs, writeReelData(dir, "cut.sdf", cut));
    QVERIFY(l.dialogs.shown.isEmpty());
    QCOMPARE(l.w.document().lastPrizeIndex(), 2);
    QCOMPARE(l.w.editor().reelView().prizes[1], prize(1, {1}));
    QCOMPARE(colourOf(picture(l.w, "ImgReal_0")->picture()), symbolColour(6));
    // A prize symbol that names no picture shows the blank picture.
    ReelData odd;
    odd.prizes = {prize(7, {0})};
    loadReelData(l.w, l.dialogs, writeReelData(dir, "odd.sdf", odd));
    click(l.w, "NeFlagNo");
    QCOMPARE(textOf(l.w, "LabelFlNo"), QStringLiteral("1"));
    QCOMPARE(picture(l.w, "ImgFlag_1")->picture(), l.w.editor().blankPicture());
}

void TestForm1::flagsPastNewPrizesReturnToZero() {
    ReelData three;
    three.prizes = {prize(0, {0}), prize(1, {0}), prize(2, {0})};
    LoadedWindow l(three);
    for (int i = 0; i < 3; ++i) click(l.w, "NeFlagNo");
    for (int i = 0; i < 4; ++i) click(l.w, "NeSPFNo");
    QCOMPARE(textOf(l.w, "LabelFlNo"), QStringLiteral("3"));
    QCOMPARE(textOf(l.w, "FSPno"), QStringLiteral("3"));  // no further than the last flag
    ReelData one;
    one.prizes = {prize(4, {0})};
    loadReelData(l.w, l.dialogs, writeReelData(l.dir, "one.sdf", one));
    QCOMPARE(textOf(l.w, "LabelFlNo"), QStringLiteral("0"));
    QCOMPARE(textOf(l.w, "FSPno"), QStringLiteral("0"));
    QCOMPARE(picture(l.w, "ImgSP_0")->picture(), l.w.editor().blankPicture());
    click(l.w, "NeSPFNo");
    click(l.w, "NeSPFNo");
    QCOMPARE(textOf(l.w, "FSPno"), QStringLiteral("1"));
    QCOMPARE(colourOf(picture(l.w, "ImgSP_2")->picture()), symbolColour(4));
}

void TestForm1::tableNavigation_data() {
    QTest::addColumn<QString>("box");
    QTest::newRow("stop tables") << "NowTableNo";
    QTest::newRow("base tables") << "BTableNo";
}

void TestForm1::tableNavigation() {
    QFETCH(QString, box);
    const bool stop = box == QLatin1String("NowTableNo");
    const QString previous = stop ? "PrNowTable" : "PrBTableNo",
                  next = stop ? "NeNowTable" : "NeBTableNo";
    LoadedWindow l;
    ControlEditor& e = l.w.editor();
    auto current = [&] { return stop ? e.currentStopTable() : e.currentBaseTable(); };
    QSignalSpy shown(&e, stop ? &ControlEditor::stopTableShown : &ControlEditor::baseTableShown);
    click(l.w, previous);  // at 1: stays, shown again
    QCOMPARE(current(), 1);
    QCOMPARE(shown.count(), 1);
    typeInto(l.w, box, "512");
    QCOMPARE(current(), 512);
    shown.clear();
    click(l.w, next);
    QCOMPARE(textOf(l.w, box), QStringLiteral("512"));
    QCOMPARE(current(), 512);
    QVERIFY(shown.count() >= 1);
    click(l.w, previous);
    QCOMPARE(textOf(l.w, box), QStringLiteral("511"));
    typeInto(l.w, box, "513");  // past the tables: cleared, the table from before the typing
    QCOMPARE(textOf(l.w, box), QString());
    QCOMPARE(current(), 511);
    typeInto(l.w, box, "0");
    QCOMPARE(textOf(l.w, box), QString());
    leave(l.w, box);
    QCOMPARE(textOf(l.w, box), QStringLiteral("1"));
    QCOMPARE(current(), 1);
    // Pasted text that is not a table number is refused.
    auto* edit = child<QLineEdit>(l.w, box);
    edit->selectAll();
    edit->insert(QStringLiteral("9999"));
    edit->insert(QStringLiteral("x"));
    QCOMPARE(textOf(l.w, box), QStringLiteral("1"));
}

void TestForm1::browsingMarksChanged() {
    // Kept as it has always been: showing a table rewrites its boxes, and every change of a
    // box counts as an edit.
    LoadedWindow l;
    click(l.w, "NeNowTable");
    QVERIFY(!l.w.editor().isModified());  // same values: no box changed
    l.w.editor().setStopIndex(3, 7, 2);
    stoptest::markSaved(l.w.editor());
    typeInto(l.w, "NowTableNo", "3");
    QVERIFY(l.w.editor().isModified());
    QCOMPARE(textOf(l.w, cellName(7)), QStringLiteral("2"));
}

void TestForm1::badControlFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    ControlDocument doc;
    doc.setLastPrizeIndex(2);
    const QByteArray text = rcf::writeText(doc);
    auto archiveOf = [](const QString& name, const QByteArray& member) {
        return lzh::writeArchive({lzh::Member{name, member}});
    };
    QTest::newRow("not an archive") << QByteArray("no archive at all");
    QByteArray damaged = rcf::packArchive(doc);
    damaged.truncate(damaged.size() / 2);
    QTest::newRow("damaged archive") << damaged;
    QTest::newRow("no dummy.dat") << archiveOf("other.txt", text);
    QTest::newRow("stop tables end early") << archiveOf("dummy.dat", text.left(5000));
    QTest::newRow("base tables end early")
        << archiveOf("dummy.dat", text.left(text.indexOf(" 0  0 ") + 100));
    QTest::newRow("missing file") << QByteArray();
}

void TestForm1::badControlFile() {
    QFETCH(QByteArray, bytes);
    LoadedWindow l;
    l.w.editor().setStopIndex(1, 0, 4);
    const Seen before(l.w);
    const QString path = l.dir.filePath("bad.rcf");
    if (!bytes.isEmpty()) writeBytes(path, bytes);
    l.dialogs.answers << Dialogs::Answer::No;  // over the unsaved stop index
    answerFile(l.w, l.dialogs, "LoadConFile", path);
    QCOMPARE(l.dialogs.shown.size(), 2);
    QCOMPARE(l.dialogs.shown[1].text, QStringLiteral("ファイルが不正です。"));
    QVERIFY(!l.dialogs.shown[1].detail.isEmpty());
    QVERIFY(Seen(l.w) == before);
    QCOMPARE(textOf(l.w, cellName(0)), QStringLiteral("0"));  // the view was not redrawn
}

void TestForm1::otherLayoutAsks_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes reads it in the current layout") << int(Dialogs::Answer::Yes);
    QTest::newRow("No leaves everything") << int(Dialogs::Answer::No);
}

void TestForm1::otherLayoutAsks() {
    QFETCH(int, answer);
    LoadedWindow l;  // three prizes
    ControlDocument written;
    written.setLastPrizeIndex(5);
    written.setStopIndex(1, 0, 4);
    const QString path = l.dir.filePath("six.rcf");
    QVERIFY(rcf::writeFile(path, written, nullptr));
    l.w.editor().markChanged();
    const Seen before(l.w);
    l.dialogs.answers << Dialogs::Answer::No << Dialogs::Answer(answer);  // unsaved: read on
    answerFile(l.w, l.dialogs, "LoadConFile", path);
    QCOMPARE(l.dialogs.shown.size(), 2);
    l.dialogs.shown.removeFirst();
    QVERIFY(l.dialogs.shown[0].text.contains(QStringLiteral("役 6 個")));
    QVERIFY(l.dialogs.shown[0].text.contains(QStringLiteral("役は 3 個")));
    QCOMPARE(l.dialogs.shown[0].buttons, Dialogs::Buttons::YesNo);
    QCOMPARE(l.dialogs.shown[0].defaultButton, Dialogs::Answer::No);
    if (answer == int(Dialogs::Answer::Yes)) {
        QCOMPARE(l.w.document().stopIndex(1, 0), 4);
        QCOMPARE(l.w.document().lastPrizeIndex(), 2);
        QVERIFY(!l.w.editor().isModified());
        QCOMPARE(textOf(l.w, "ConFileName"), QStringLiteral("six.rcf"));
    } else {
        QVERIFY(Seen(l.w) == before);
    }
}

void TestForm1::failedSave() {
    LoadedWindow l;
    l.w.editor().setStopIndex(1, 0, 4);
    // A folder stands where the file would go: the write fails and the folder stays whole.
    const QString path = l.dir.filePath("keep.rcf");
    QVERIFY(QDir(l.dir.path()).mkpath("keep.rcf"));
    writeBytes(path + "/inside.txt", "old");
    answerFile(l.w, l.dialogs, "SaveConFile", path);
    QCOMPARE(l.dialogs.shown.size(), 1);
    QCOMPARE(l.dialogs.shown[0].text, QStringLiteral("ファイルを保存できませんでした。"));
    QCOMPARE(l.dialogs.shown[0].icon, Dialogs::Icon::Critical);
    QVERIFY(!l.dialogs.shown[0].detail.isEmpty());
    QCOMPARE(fileBytes(path + "/inside.txt"), QByteArray("old"));
    QVERIFY(l.w.editor().isModified());
    QCOMPARE(textOf(l.w, "ConFileName"), QString());
}

void TestForm1::closeQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAnswer");  // relative path; "" cancels the dialog
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    QTest::newRow("Cancel keeps the window")
        << int(Dialogs::Answer::Cancel) << "" << false << false;
    QTest::newRow("No closes without writing") << int(Dialogs::Answer::No) << "" << true << false;
    QTest::newRow("Yes and a save closes")
        << int(Dialogs::Answer::Yes) << "out.rcf" << true << true;
    QTest::newRow("Yes but the dialog cancelled stays")
        << int(Dialogs::Answer::Yes) << "" << false << false;
    QTest::newRow("Yes but the write fails stays")
        << int(Dialogs::Answer::Yes) << "gone/out.rcf" << false << false;
}

void TestForm1::closeQuestion() {
    QFETCH(int, answer);
    QFETCH(QString, saveAnswer);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    LoadedWindow l;
    typeInto(l.w, cellName(3), "2");
    l.dialogs.answers << Dialogs::Answer(answer);
    l.dialogs.fileAnswers << (saveAnswer.isEmpty() ? QString() : l.dir.filePath(saveAnswer));
    QCOMPARE(l.w.close(), closes);
    QCOMPARE(l.dialogs.shown.first().title, QStringLiteral("終了確認"));
    QCOMPARE(l.dialogs.shown.first().text,
             QStringLiteral("データに変更があります。セーブしますか？"));
    QCOMPARE(l.dialogs.shown.first().icon, Dialogs::Icon::Information);
    QCOMPARE(l.dialogs.shown.first().buttons, Dialogs::Buttons::YesNoCancel);
    QCOMPARE(QFile::exists(l.dir.filePath("out.rcf")), written);
    QCOMPARE(!l.w.editor().isModified(), written);
}

void TestForm1::loadOverUnsavedWork() {
    LoadedWindow l;  // three prizes
    ControlDocument control;
    control.setLastPrizeIndex(2);
    QVERIFY(rcf::writeFile(l.dir.filePath("m.rcf"), control, nullptr));
    typeInto(l.w, cellName(3), "2");
    // A reel data file brings the symbols and prizes only: the typed tables stay, unasked.
    loadReelData(l.w, l.dialogs, l.dir.filePath("m.sdf"));
    QVERIFY(l.dialogs.shown.isEmpty());
    QCOMPARE(l.w.document().stopIndex(1, 3), 2);
    l.dialogs.fileRequests.clear();
    wintest::checkLoadQuestion(l.w, l.dialogs, QStringLiteral("LoadConFile"),
                               l.dir.filePath("m.rcf"), [&] { return l.w.editor().isModified(); });
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
