// The position window as a whole: its controls at start-up, the page buttons, the value
// fields' rules and the entry each stores into, picture loading and "表示", reading and
// writing position files with their failures, and the quit question.

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScopeGuard>

#include "closequestion.h"
#include "poswindowtest.h"
#include "ppfformat.h"

using namespace postest;

namespace {

int visiblePage(Form1& w) {
    int shown = -1;
    for (int p = 0; p < pos::PageCount; ++p)
        if (child(w, QStringLiteral("PFrame_%1").arg(p))->isVisible()) shown = shown < 0 ? p : 99;
    return shown;
}

// What the window shows of the document, to compare before and after a refused command.
QStringList windowState(Form1& w) {
    QStringList state{text(w, "LabelFileName"), text(w, "LabelBodyFile"),
                      w.editor().positionFolder(), QString::fromLatin1(ppf::write(w.document()))};
    for (int e = 0; e < pos::EntryCount; ++e)
        state << valueField(w, e)->text() << coordinates(w, e);
    return state;
}

// A position file in `dir` naming `names` for slots 0.., with entry 7 from 1, 2 to 3, 4.
QString writePositionFile(const QTemporaryDir& dir, const QStringList& names) {
    PositionDocument doc;
    for (int s = 0; s < names.size(); ++s) doc.pictureSlots[s].fileName = names[s];
    doc.entries[7] = {1, 2, 3, 4, QStringLiteral("5")};
    const QString path = dir.filePath(QStringLiteral("m.ppf"));
    if (!ppf::writeFile(path, doc, nullptr)) qWarning("cannot write %s", qPrintable(path));
    return path;
}

}  // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void startUp();
    void valueFieldsStoreIntoTheirEntries();
    void pageButtons_data();
    void pageButtons();
    void typing_data();
    void typing();
    void pasting_data();
    void pasting();
    void refusedPictures_data();
    void refusedPictures();
    void showAgain_data();
    void showAgain();
    void correctionShownWhole();
    void pngPictureNamed();
    void readFile();
    void unreadableFileChangesNothing_data();
    void unreadableFileChangesNothing();
    void saving();
    void closeQuestion_data();
    void closeQuestion();
    void loadOverUnsavedWork();
};

void TestForm1::startUp() {
    Window w;
    QCOMPARE(w.windowTitle(), QStringLiteral("オルベーンエディターγ ver1.32"));
    QCOMPARE(w.size(), QSize(780, 577));
    QCOMPARE(surface(w)->size(), QSize(561, 457));
    QCOMPARE(text(w, "Label7"), QStringLiteral("画像をロードして下さい。"));
    QVERIFY(child(w, "Label7")->isVisible());
    QVERIFY(!bar(w, "HScroll1")->isVisible() && !bar(w, "VScroll1")->isVisible());
    QCOMPARE(w.canvas().editMode(), Mode::NoPicture);
    QCOMPARE(w.canvas().blinkColour(), QColor(Qt::black));
    for (const char* empty : {"LabelFileName", "LabelBodyFile", "StatusBar1_1", "StatusBar1_2",
                              "StatusBar1_3", "StatusBar1_4"})
        QCOMPARE(text(w, empty), QString());
    const QList<std::pair<const char*, QString>> buttons = {
        {"Command3", "Load"}, {"Command4", "Save"},   {"Command1", "Load"},
        {"Command5", "表示"}, {"PrePage", "<< Prew"}, {"Command2", "Next >>"}};
    for (const auto& [name, caption] : buttons)
        QCOMPARE(child<QPushButton>(w, name)->text(), caption);
    auto* selector = child<QComboBox>(w, "ComboBodyFile");
    QCOMPARE(selector->count(), pos::SlotCount);
    for (int s = 0; s < pos::SlotCount; ++s) QCOMPARE(selector->itemText(s), pos::slotListText(s));
    QCOMPARE(selector->currentText(), QStringLiteral("0 - 筐体画像 1"));
    for (int p = 0; p < pos::PageCount; ++p) {
        auto* frame = child<QGroupBox>(w, QStringLiteral("PFrame_%1").arg(p));
        QCOMPARE(frame->title(), QStringLiteral("表示位置設定 ページ%1").arg(p + 1));
        QCOMPARE(frame->geometry(), child(w, "PFrame_0")->geometry());
    }
    QCOMPARE(visiblePage(w), 0);
    for (int e = 0; e < pos::EntryCount; ++e) {
        auto* caption = child<QLabel>(w, QStringLiteral("LabelPos_%1").arg(e));
        QCOMPARE(caption->text(), pos::entryCaption(e));  // trailing blanks included
        QCOMPARE(caption->parentWidget()->parentWidget()->objectName(),
                 QStringLiteral("PFrame_%1").arg(pos::entryPage(e)));
        QCOMPARE(coordinates(w, e), QString());
        QCOMPARE(valueField(w, e)->text(), QStringLiteral("0"));
    }
    click(w, "Command5");  // no picture to show again
    QVERIFY(!w.isModified());
    QVERIFY(w.close());
    QVERIFY(w.dialogs.shown.isEmpty());
}

void TestForm1::valueFieldsStoreIntoTheirEntries() {
    Window w;
    for (int e = 0; e < pos::EntryCount; ++e) {
        turnToPageOf(w, e);
        wintest::typeInto(valueField(w, e), QString::number(e % 8 + 1));
        for (int other = 0; other < pos::EntryCount; ++other)
            QCOMPARE(w.document().entries[other].value,
                     other <= e ? QString::number(other % 8 + 1) : QString("0"));
    }
}

void TestForm1::pageButtons_data() {
    QTest::addColumn<QString>("presses");  // n: "Next >>", p: "<< Prew"
    QTest::addColumn<int>("page");
    QTest::newRow("next") << "n" << 1;
    QTest::newRow("next twice") << "nn" << 2;
    QTest::newRow("a third next changes nothing") << "nnn" << 2;
    QTest::newRow("prew on page 1 changes nothing") << "p" << 0;
    QTest::newRow("back from page 3") << "nnnp" << 1;
}

void TestForm1::pageButtons() {
    QFETCH(QString, presses);
    QFETCH(int, page);
    Window w;
    for (QChar c : presses) click(w, c == u'n' ? "Command2" : "PrePage");
    QCOMPARE(w.editor().currentPage(), page);
    QCOMPARE(visiblePage(w), page);
}

void TestForm1::typing_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("start");
    // \b Backspace, \t leaves the field, < cursor to start, S presses Save with the focus kept
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("result");
    QTest::addColumn<bool>("modified");  // it changed on the way, even if back to its start
    const auto row = [](const char* name, int entry, const char* start, const char* keys,
                        const char* result, bool modified) {
        QTest::newRow(name) << entry << QString::fromUtf8(start) << QString::fromUtf8(keys)
                            << QString::fromUtf8(result) << modified;
    };
    row("picture: 5 then 7", 4, "0", "57", "7", true);
    row("picture: 9 refused", 4, "3", "9", "3", false);
    row("picture: 8", 32, "0", "8", "8", true);
    row("picture: backspace empties", 4, "6", "\b", "", true);
    row("picture: left empty", 10, "6", "\b\t", "0", true);
    row("picture: other keys refused", 4, "2", "-a ５", "2", false);
    row("correction: 1 replaces a lone 0", 0, "0", "1", "1", true);
    row("correction: minus starts anew", 1, "12", "-", "-", true);
    row("correction: minus then 3", 2, "", "-3", "-3", true);
    row("correction: digits append", 0, "12", "34", "1234", true);
    row("correction: 32767", 0, "", "32767", "32767", true);
    row("correction: past 16 bits", 0, "", "32768", "3276", true);
    row("correction: -32768", 0, "", "-32768", "-32768", true);
    row("correction: below 16 bits", 0, "", "-32769", "-3276", true);
    row("correction: digit before the minus", 0, "-3", "<5", "-3", false);
    row("correction: other keys refused", 0, "7", "x+.５", "7", false);
    row("correction: left empty", 0, "-12", "\b\b\b\t", "0", true);
    row("correction: a lone minus left", 1, "5", "-\t", "-", true);
    row("picture: Save while empty", 4, "6", "\bS", "0", false);
    row("correction: Save while empty", 0, "-12", "\b\b\bS", "0", false);
}

void TestForm1::typing() {
    QFETCH(int, entry);
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, result);
    QFETCH(bool, modified);
    Window w;
    turnToPageOf(w, entry);
    QLineEdit* field = valueField(w, entry);
    field->setText(start);
    field->setFocus();
    forgetChanges(w);
    const QMap<QChar, Qt::Key> keyOf{
        {u'\b', Qt::Key_Backspace}, {u'\t', Qt::Key_Tab}, {u'<', Qt::Key_Home}};
    for (QChar c : keys) {
        if (c == u'S')
            wintest::clickAnswering(w, w.dialogs, "Command4", w.dir.filePath("saved.ppf"));
        else if (keyOf.contains(c))
            QTest::keyClick(field, keyOf[c]);
        else
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QCOMPARE(field->hasFocus(), !keys.endsWith(u'\t'));
    QCOMPARE(field->text(), result);
    QCOMPARE(w.document().entries[entry].value, result);
    QCOMPARE(w.isModified(), modified);
}

void TestForm1::pasting_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("result");  // the field held "1", all of it selected
    const auto row = [](const char* name, int entry, const char* clip, const char* result) {
        QTest::newRow(name) << entry << QString(clip) << QString(result);
    };
    row("picture: a slot number", 3, "7", "7");
    row("picture: 9", 3, "9", "1");
    row("picture: two digits", 3, "12", "1");
    row("correction: a negative number", 0, "-250", "-250");
    row("correction: beyond 16 bits", 0, "-40000", "1");
    row("correction: long", 0, "123456789012345678901", "1");
    row("correction: not a number", 0, " 1e3", "1");
}

void TestForm1::pasting() {
    QFETCH(int, entry);
    QFETCH(QString, clip);
    QFETCH(QString, result);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QLineEdit* field = valueField(w, entry);
    field->setText(QStringLiteral("1"));
    field->selectAll();
    QGuiApplication::clipboard()->setText(clip);
    field->paste();
    QCOMPARE(field->text(), result);
    QCOMPARE(w.document().entries[entry].value, result);
}

void TestForm1::refusedPictures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");  // empty: a good picture; "-": no file
    QTest::newRow("comma in the name") << "a,b.bmp" << QByteArray();
    QTest::newRow("leading blank") << " cab.bmp" << QByteArray();
    QTest::newRow("not in code page 932") << "caf\u00e9\U0001F600.bmp" << QByteArray();
    QTest::newRow("not a picture") << "broken.gif" << QByteArray("GIF89a and nothing more");
    QTest::newRow("cut short") << "cut.bmp" << cutPicture();
    QTest::newRow("gone") << "gone.bmp" << QByteArray("-");
}

void TestForm1::refusedPictures() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    Window w;
    loadSlotPicture(w, w.dialogs, 0, writePicture(w.dir, "first.bmp", 40, 30));
    QCOMPARE(w.dialogs.fileRequests.last().filter,
             QStringLiteral("GIF画像|*.gif|BMP画像|*.bmp|JPEG画像|*.jpg|All Files|*.*|"));
    const QImage first = w.document().pictureSlots[0].image;
    forgetChanges(w);
    const QStringList before = windowState(w);
    if (content.isEmpty())
        writePicture(w.dir, name, 20, 20);
    else if (content != "-")
        QVERIFY(saveFileAtomically(w.dir.filePath(name), content));
    loadSlotPicture(w, w.dialogs, 0, w.dir.filePath(name));
    QCOMPARE(w.dialogs.shown.size(), 1);
    QCOMPARE(w.dialogs.shown[0].title, QStringLiteral("posboard"));
    QVERIFY(!w.dialogs.shown[0].detail.isEmpty());
    loadSlotPicture(w, w.dialogs, 0, QString());  // cancelled
    QCOMPARE(windowState(w), before);
    QVERIFY(viewShows(w, first));
    QVERIFY(!w.isModified());
}

void TestForm1::showAgain_data() {
    QTest::addColumn<bool>("fromFile");       // a position file was read first
    QTest::addColumn<bool>("workHere");       // the working folder is the picture's
    QTest::addColumn<QString>("onDisk");      // the picture's name on disk when "表示" runs
    QTest::addColumn<QByteArray>("content");  // empty: a 700 x 50 picture
    QTest::newRow("the working folder") << false << true << "cab.bmp" << QByteArray();
    QTest::newRow("not the picture dialog's folder") << false << false << "cab.bmp" << QByteArray();
    QTest::newRow("the position file's folder") << true << false << "cab.bmp" << QByteArray();
    QTest::newRow("in another case") << true << false << "CAB.BMP" << QByteArray();
    QTest::newRow("gone") << false << true << "other.bmp" << QByteArray();
    QTest::newRow("not a picture") << true << false << "cab.bmp" << QByteArray("BM?");
}

void TestForm1::showAgain() {
    QFETCH(bool, fromFile);
    QFETCH(bool, workHere);
    QFETCH(QString, onDisk);
    QFETCH(QByteArray, content);
    Window w;
    const QString startedIn = QDir::currentPath();
    const auto restore = qScopeGuard([&] { QDir::setCurrent(startedIn); });
    QDir::setCurrent(workHere ? w.dir.path() : QDir::tempPath());
    const QString picture = writePicture(w.dir, "cab.bmp", 30, 30);
    if (fromFile)
        wintest::clickAnswering(w, w.dialogs, "Command3", writePositionFile(w.dir, {"cab.bmp"}));
    else
        loadSlotPicture(w, w.dialogs, 0, picture);
    const QImage shown = w.canvas().shownView();
    // The picture changes on disk; the slot keeps the one it holds.
    QFile::remove(picture);
    if (content.isEmpty())
        writePicture(w.dir, onDisk, 700, 50);
    else
        QVERIFY(saveFileAtomically(w.dir.filePath(onDisk), content));
    forgetChanges(w);
    click(w, "Command5");
    const bool found = content.isEmpty() && onDisk.compare("cab.bmp", Qt::CaseInsensitive) == 0 &&
                       (fromFile || workHere);
    QCOMPARE(w.dialogs.shown.size(), found ? 0 : 1);
    if (found) {
        QCOMPARE(surface(w)->size(), QSize(561, 50));
        QCOMPARE(bar(w, "HScroll1")->maximum(), 139);
        QVERIFY(viewShows(w, patternPicture(700, 50)));
    } else {
        QVERIFY(!w.dialogs.shown[0].detail.isEmpty());
        QCOMPARE(w.canvas().shownView(), shown);
    }
    QCOMPARE(w.document().pictureSlots[0].image.size(), QSize(30, 30));
    QVERIFY(!w.isModified());
}

void TestForm1::correctionShownWhole() {
    Window w;
    for (const QString value : {"-32768", "-12345", "-88888"}) {
        for (int e = 0; e < pos::CorrectionEntryCount; ++e) {
            QLineEdit* field = valueField(w, e);
            field->setText(value);
            if (e == 1) field->setFocus();  // focused or not
            // A text that does not fit is scrolled: from its end to its start the cursor then
            // moves less than the text is wide.
            const auto cursorAt = [field](bool end) {
                end ? field->end(false) : field->home(false);
                field->grab();  // the scroll is taken when the field is painted
                return field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
            };
            const int end = cursorAt(true);
            QCOMPARE(end - cursorAt(false), field->fontMetrics().horizontalAdvance(value));
            QVERIFY(end < field->width());
        }
    }
}

void TestForm1::pngPictureNamed() {
    Window w;
    QVERIFY(patternPicture(30, 20).save(w.dir.filePath("cab.png"), "PNG"));
    loadSlotPicture(w, w.dialogs, 0, w.dir.filePath("cab.png"));
    QCOMPARE(w.canvas().editMode(), Mode::Idle);  // still taken
    QCOMPARE(w.dialogs.shown.size(), 1);
    QVERIFY(w.dialogs.shown[0].text.contains(QStringLiteral("マシンでは表示されない")));
    QCOMPARE(w.dialogs.shown[0].detail, QString("cab.png"));
}

void TestForm1::readFile() {
    QTemporaryDir dir;
    PositionDocument doc;
    const QStringList names{"cab.bmp", "",           "",           "gone.gif", "",
                            "",        "digits.bmp", "broken.bmp", "cut.bmp"};
    for (int s = 0; s < names.size(); ++s) doc.pictureSlots[s].fileName = names[s];
    writePicture(dir, "cab.bmp", 600, 100);
    writePicture(dir, "digits.bmp", 50, 10);
    QVERIFY(saveFileAtomically(dir.filePath("broken.bmp"), "BM nothing"));
    QVERIFY(saveFileAtomically(dir.filePath("cut.bmp"), cutPicture()));
    doc.entries[1] = {-5, 0, 35, 20, QStringLiteral("-12")};
    doc.entries[2].value = QString();
    doc.entries[20] = {10, 20, 59, 79, QStringLiteral("12")};  // shown and kept as the file has it
    QVERIFY(ppf::writeFile(dir.filePath("machine.ppf"), doc, nullptr));

    Window w;
    // The file names a picture not there: the slot shows none, not the one it held.
    loadSlotPicture(w, w.dialogs, 3, writePicture(w.dir, "earlier.bmp", 40, 40));
    w.editor().markChanged();
    w.dialogs.answers << Dialogs::Answer::No;  // the unsaved work may go
    wintest::clickAnswering(w, w.dialogs, "Command3", dir.filePath("machine.ppf"));
    w.dialogs.shown.removeFirst();
    QCOMPARE(w.dialogs.fileRequests.last().filter,
             QStringLiteral("画像位置ファイル|*.ppf|All Files|*.*|"));
    // One warning lists the pictures that could not be loaded and why; the rest is read.
    QCOMPARE(w.dialogs.shown.size(), 1);
    const QStringList lines = w.dialogs.shown[0].detail.split('\n');
    const QStringList why{"「gone.gif」が見つかりません", "「broken.bmp」を読めません",
                          "「cut.bmp」はファイルが途中で切れています"};
    QCOMPARE(lines.size(), why.size());
    for (int k = 0; k < why.size(); ++k)
        QVERIFY2(lines[k].startsWith(pos::slotListText(QList<int>{3, 7, 8}[k]) + ": ") &&
                     lines[k].contains(why[k]),
                 qPrintable(lines[k]));
    QVERIFY(w.document().sameData(doc));
    QVERIFY(!w.isModified());
    QCOMPARE(text(w, "LabelFileName"), QStringLiteral("machine.ppf"));
    QCOMPARE(w.editor().positionFolder(), QDir(dir.path()).absolutePath() + '/');
    // The dialogs that follow start there: the file finds its pictures in its own folder.
    for (const char* button : {"Command1", "Command4"}) {
        wintest::clickAnswering(w, w.dialogs, button, QString());
        QCOMPARE(w.dialogs.fileRequests.last().initialFolder, w.editor().positionFolder());
    }
    QCOMPARE(valueField(w, 1)->text(), QStringLiteral("-12"));
    QCOMPARE(valueField(w, 2)->text(), QString());
    QCOMPARE(coordinates(w, 1), QStringLiteral(" -5 , 0 - 35 , 20"));
    QCOMPARE(coordinates(w, 32), QStringLiteral(" 0 , 0 - 0 , 0"));
    turnToPageOf(w, 20);
    QCOMPARE(valueField(w, 20)->text(), QStringLiteral("12"));
    // The selected slot has a name but no picture: nothing to draw on.
    QCOMPARE(text(w, "LabelBodyFile"), QStringLiteral("gone.gif"));
    QCOMPARE(w.canvas().editMode(), Mode::NoPicture);
    QVERIFY(child(w, "Label7")->isVisible());
    clickCaption(w, 9);
    QCOMPARE(w.editor().selectedEntry(), -1);
    chooseSlot(w, 6);
    QCOMPARE(w.canvas().editMode(), Mode::Idle);
    QCOMPARE(surface(w)->size(), QSize(50, 10));
    QVERIFY(!child(w, "Label7")->isVisible());
    QVERIFY(!w.isModified());
    QVERIFY(w.close());  // read and not edited: no question
}

void TestForm1::unreadableFileChangesNothing_data() {
    QTest::addColumn<QByteArray>("bytes");  // "-": no file, "/": a folder
    QTest::newRow("five lines") << QByteArray("a.bmp\r\n\r\n\r\n\r\n\r\n");
    QTest::newRow("line 10 not a number")
        << QByteArray("\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nabc\r\n1,2,3,4,\"5\"\r\n");
    QTest::newRow("missing") << QByteArray("-");
    QTest::newRow("a folder") << QByteArray("/");
    QTest::newRow("a value longer than its field") << QByteArray("\r\n").repeated(9) +
                                                          " 32 \r\n1,2,3,4,\"" +
                                                          QByteArray(32768, '7') + "\"\r\n";
}

void TestForm1::unreadableFileChangesNothing() {
    QFETCH(QByteArray, bytes);
    Window w;
    writePicture(w.dir, "cab.bmp", 80, 60);
    wintest::clickAnswering(w, w.dialogs, "Command3", writePositionFile(w.dir, {"cab.bmp"}));
    clickCaption(w, 7);
    drag(w, QPoint(5, 5), QPoint(20, 30));
    wintest::typeInto(valueField(w, 0), QStringLiteral("-7"));
    const QStringList before = windowState(w);
    const QImage shown = w.canvas().shownView();
    QString path = w.dir.filePath("bad.ppf");
    if (bytes == "/")
        QVERIFY(QDir(w.dir.path()).mkdir("bad.ppf"));
    else if (bytes != "-")
        QVERIFY(saveFileAtomically(path, bytes));
    w.dialogs.answers << Dialogs::Answer::No;  // the unsaved work may go
    wintest::clickAnswering(w, w.dialogs, "Command3", path);
    w.dialogs.shown.removeFirst();
    QCOMPARE(w.dialogs.shown.size(), 1);
    QCOMPARE(w.dialogs.shown[0].text, QStringLiteral("位置ファイルを読み込めません。"));
    QVERIFY(!w.dialogs.shown[0].detail.isEmpty());
    QCOMPARE(windowState(w), before);
    QCOMPARE(w.canvas().shownView(), shown);
    QCOMPARE(w.canvas().editMode(), Mode::Drawing);
    QVERIFY(w.isModified());
}

void TestForm1::saving() {
    Window w;
    w.editor().markChanged();
    const auto save = [&](const QString& path) {
        w.dialogs.shown.clear();
        wintest::clickAnswering(w, w.dialogs, "Command4", path);
    };
    // A failed write says so and keeps the flag.
    save(w.dir.filePath("gone/x.ppf"));
    QCOMPARE(w.dialogs.shown.size(), 1);
    QCOMPARE(w.dialogs.shown[0].text, QStringLiteral("ファイルを保存できませんでした。"));
    QVERIFY(!w.dialogs.shown[0].detail.isEmpty());
    save(QString());
    QVERIFY(w.isModified());
    // A new document saved.
    save(w.dir.filePath("new.ppf"));
    QVERIFY(w.dialogs.shown.isEmpty());
    QVERIFY(!w.isModified());
    QCOMPARE(text(w, "LabelFileName"), QStringLiteral("new.ppf"));
    QCOMPARE(readAll(w.dir.filePath("new.ppf")), readAll(TEST_DATA_DIR "/new.ppf"));
    QCOMPARE(w.editor().positionFolder(), QString());
    // A value read from a file that a file cannot hold again: the old file stays whole.
    QByteArray odd = readAll(TEST_DATA_DIR "/new.ppf");
    odd.replace(odd.lastIndexOf("0,0,0,0,\"0\""), 11, "0,0,0,0,a\"b");
    QVERIFY(saveFileAtomically(w.dir.filePath("odd.ppf"), odd));
    wintest::clickAnswering(w, w.dialogs, "Command3", w.dir.filePath("odd.ppf"));
    w.editor().markChanged();
    save(w.dir.filePath("new.ppf"));
    QCOMPARE(w.dialogs.shown.size(), 1);
    QVERIFY(w.isModified());
    QCOMPARE(readAll(w.dir.filePath("new.ppf")), readAll(TEST_DATA_DIR "/new.ppf"));
}

void TestForm1::closeQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAs");  // the save dialog's answer; "" cancels
    QTest::addColumn<bool>("closes");
    QTest::newRow("Cancel keeps the window") << int(Dialogs::Answer::Cancel) << "" << false;
    QTest::newRow("No closes") << int(Dialogs::Answer::No) << "" << true;
    QTest::newRow("Yes and a save closes") << int(Dialogs::Answer::Yes) << "out.ppf" << true;
    QTest::newRow("Yes, the dialog cancelled") << int(Dialogs::Answer::Yes) << "" << false;
    QTest::newRow("Yes, the write fails") << int(Dialogs::Answer::Yes) << "no/out.ppf" << false;
}

void TestForm1::closeQuestion() {
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, closes);
    Window w;
    loadSlotPicture(w, w.dialogs, 0, writePicture(w.dir, "cab.bmp", 20, 20));
    w.dialogs.answers << static_cast<Dialogs::Answer>(answer);
    w.dialogs.fileAnswers << (saveAs.isEmpty() ? QString() : w.dir.filePath(saveAs));
    QCOMPARE(w.close(), closes);
    QCOMPARE(w.dialogs.shown.first().title, QStringLiteral("終了確認"));
    QCOMPARE(w.dialogs.shown.first().text,
             QStringLiteral("データに変更があります。セーブしますか？"));
    QCOMPARE(w.dialogs.shown.first().icon, Dialogs::Icon::Information);
    QCOMPARE(w.dialogs.shown.first().buttons, Dialogs::Buttons::YesNoCancel);
    const bool written = QFile::exists(w.dir.filePath("out.ppf"));
    QCOMPARE(written, saveAs == "out.ppf");
    QCOMPARE(w.isModified(), !written);
}

void TestForm1::loadOverUnsavedWork() {
    Window w;
    w.editor().markChanged();
    wintest::checkLoadQuestion(w, w.dialogs, QStringLiteral("Command3"),
                               writePositionFile(w.dir, {}), [&] { return w.isModified(); });
    QCOMPARE(text(w, "LabelFileName"), QStringLiteral("m.ppf"));
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
