// The position window as a whole: its controls at start-up, the page buttons, the value
// fields' typing rules and the field each stores into, picture loading and "表示", position
// file reading and writing with their failures, and the quit question.

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QStatusBar>

#include "poswindowtest.h"
#include "ppfformat.h"
#include "savefile.h"

using namespace postest;

namespace {

QByteArray readAll(const QString& path) {
    QByteArray bytes;
    readWholeFile(path, bytes);
    return bytes;
}

QString fileLabel(Form1& w) { return child<QLabel>(w, QStringLiteral("LabelFileName"))->text(); }

int visiblePage(Form1& w) {
    int shown = -1;
    for (int p = 0; p < pos::PageCount; ++p)
        if (child(w, QStringLiteral("PFrame_%1").arg(p))->isVisible()) shown = shown < 0 ? p : 99;
    return shown;
}

// Everything the window shows of the document, to compare before and after a refused command.
QStringList windowState(Form1& w) {
    QStringList state;
    state << fileLabel(w) << child<QLabel>(w, QStringLiteral("LabelBodyFile"))->text()
          << w.editor().positionFolder();
    for (int e = 0; e < pos::EntryCount; ++e)
        state << valueField(w, e)->text() << coordinates(w, e);
    state << QString::fromLatin1(ppf::write(w.document()).toHex());
    return state;
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
    void leavingAField_data();
    void leavingAField();
    void refusedPictures_data();
    void refusedPictures();
    void showAgain_data();
    void showAgain();
    void showAgainFailureKeepsTheCanvas();
    void readFileFillsTheWindow();
    void unreadableFileChangesNothing_data();
    void unreadableFileChangesNothing();
    void missingPicturesAreListed();
    void saveWritesAndClearsTheFlag();
    void failedSaveIsReported();
    void closeQuestion_data();
    void closeQuestion();

private:
    QTemporaryDir dir_;
};

void TestForm1::startUp() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    QCOMPARE(w.windowTitle(), QStringLiteral("オルベーンエディターγ ver1.32"));
    QCOMPARE(w.size(), QSize(780, 577));
    QCOMPARE(surface(w)->size(), QSize(561, 457));
    QCOMPARE(child<QLabel>(w, QStringLiteral("Label7"))->text(),
             QStringLiteral("画像をロードして下さい。"));
    QVERIFY(child(w, QStringLiteral("Label7"))->isVisible());
    QVERIFY(!bar(w, "HScroll1")->isVisible());
    QVERIFY(!bar(w, "VScroll1")->isVisible());
    QCOMPARE(w.canvas().editMode(), Mode::NoPicture);
    QCOMPARE(w.canvas().blinkColour(), QColor(Qt::black));
    QCOMPARE(w.canvas().currentRect(), QRect(0, 0, 0, 0));

    auto* selector = child<QComboBox>(w, QStringLiteral("ComboBodyFile"));
    QCOMPARE(selector->count(), 9);
    for (int s = 0; s < pos::SlotCount; ++s) QCOMPARE(selector->itemText(s), pos::slotListText(s));
    QCOMPARE(selector->currentText(), QStringLiteral("0 - 筐体画像 1"));
    QCOMPARE(selector->itemText(5), QStringLiteral("5 - 数値画像 1"));
    const QList<std::pair<const char*, QString>> buttons = {
        {"Command3", "Load"}, {"Command4", "Save"},   {"Command1", "Load"},
        {"Command5", "表示"}, {"PrePage", "<< Prew"}, {"Command2", "Next >>"}};
    for (const auto& [name, text] : buttons)
        QCOMPARE(child<QPushButton>(w, QLatin1String(name))->text(), text);
    QCOMPARE(fileLabel(w), QString());
    QCOMPARE(child<QLabel>(w, QStringLiteral("LabelBodyFile"))->text(), QString());

    for (int p = 0; p < pos::PageCount; ++p)
        QCOMPARE(child<QGroupBox>(w, QStringLiteral("PFrame_%1").arg(p))->title(),
                 QStringLiteral("表示位置設定 ページ%1").arg(p + 1));
    QCOMPARE(visiblePage(w), 0);
    QCOMPARE(caption(w, 5)->text(), QStringLiteral("右ストップボタン "));
    QCOMPARE(caption(w, 19)->text(), QStringLiteral("In Medalsランプ"));
    for (int e = 0; e < pos::EntryCount; ++e) {
        QCOMPARE(caption(w, e)->text(), pos::entryCaption(e));
        QVERIFY(!caption(w, e)->isSelected());
        // Every caption on its own page, each page the same place.
        QCOMPARE(caption(w, e)->parentWidget()->parentWidget()->objectName(),
                 QStringLiteral("PFrame_%1").arg(pos::entryPage(e)));
        QCOMPARE(coordinates(w, e), QString());
        QCOMPARE(valueField(w, e)->text(), QStringLiteral("0"));
    }
    QCOMPARE(child(w, "PFrame_1")->geometry(), child(w, "PFrame_0")->geometry());
    QCOMPARE(child(w, "PFrame_2")->geometry(), child(w, "PFrame_0")->geometry());
    for (int k = 1; k <= 4; ++k) QCOMPARE(status(w, k), QString());
    QVERIFY(!w.isModified());
    QVERIFY(w.close());
    QVERIFY(dialogs.shown.isEmpty());
}

void TestForm1::valueFieldsStoreIntoTheirEntries() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    for (int e = 0; e < pos::EntryCount; ++e) {
        turnToPageOf(w, e);
        const QString typed = QString::number(e % 8 + 1);
        wintest::typeInto(valueField(w, e), typed);
        for (int other = 0; other < pos::EntryCount; ++other)
            QCOMPARE(w.document().entries[other].value,
                     other <= e ? QString::number(other % 8 + 1) : QString("0"));
    }
    QCOMPARE(child(w, "txtPicNo_0")->parentWidget()->parentWidget()->objectName(),
             QStringLiteral("PFrame_0"));
    QCOMPARE(child(w, "txtPicNo_29")->parentWidget()->parentWidget()->objectName(),
             QStringLiteral("PFrame_2"));
}

void TestForm1::pageButtons_data() {
    QTest::addColumn<QString>("presses");  // n: Next >>, p: << Prew
    QTest::addColumn<int>("page");
    QTest::newRow("one next") << "n" << 1;
    QTest::newRow("two next") << "nn" << 2;
    QTest::newRow("a third next changes nothing") << "nnn" << 2;
    QTest::newRow("prew on page 1 changes nothing") << "p" << 0;
    QTest::newRow("back from page 3") << "nnnp" << 1;
}

void TestForm1::pageButtons() {
    QFETCH(QString, presses);
    QFETCH(int, page);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    for (QChar c : presses)
        click(w, c == u'n' ? QStringLiteral("Command2") : QStringLiteral("PrePage"));
    QCOMPARE(w.editor().currentPage(), page);
    QCOMPARE(visiblePage(w), page);
    QVERIFY(!w.isModified());
}

void TestForm1::typing_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("keys");  // "\b" is Backspace, "<" moves the cursor to the start
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("modified");  // the field changed on the way, even back to its start
    QTest::newRow("picture: 5 then 7") << 4 << "0"
                                       << "57"
                                       << "7" << true;
    QTest::newRow("picture: 9 refused") << 4 << "3"
                                        << "9"
                                        << "3" << false;
    QTest::newRow("picture: 8 accepted") << 32 << "0"
                                         << "8"
                                         << "8" << true;
    QTest::newRow("picture: backspace empties") << 4 << "6"
                                                << "\b"
                                                << "" << true;
    QTest::newRow("picture: minus and letters refused") << 4 << "2"
                                                        << "-a "
                                                        << "2" << false;
    QTest::newRow("picture: full-width digit refused") << 4 << "2"
                                                       << "５"
                                                       << "2" << false;
    QTest::newRow("correction: 1 replaces a lone 0") << 0 << "0"
                                                     << "1"
                                                     << "1" << true;
    QTest::newRow("correction: minus starts anew") << 1 << "12"
                                                   << "-"
                                                   << "-" << true;
    QTest::newRow("correction: minus then 3") << 2 << ""
                                              << "-3"
                                              << "-3" << true;
    QTest::newRow("correction: digits append") << 0 << "12"
                                               << "34"
                                               << "1234" << true;
    QTest::newRow("correction: 32767 fits") << 0 << ""
                                            << "32767"
                                            << "32767" << true;
    QTest::newRow("correction: past 16 bits refused") << 0 << ""
                                                      << "32768"
                                                      << "3276" << true;
    QTest::newRow("correction: -32768 fits") << 0 << ""
                                             << "-32768"
                                             << "-32768" << true;
    QTest::newRow("correction: below 16 bits refused") << 0 << ""
                                                       << "-32769"
                                                       << "-3276" << true;
    QTest::newRow("correction: a zero replaces a lone zero") << 0 << "0"
                                                             << "00"
                                                             << "0" << true;
    QTest::newRow("correction: digit before the minus refused") << 0 << "-3"
                                                                << "<5"
                                                                << "-3" << false;
    QTest::newRow("correction: letters refused") << 0 << "7"
                                                 << "x+."
                                                 << "7" << false;
    QTest::newRow("correction: backspace") << 0 << "-12"
                                           << "\b"
                                           << "-1" << true;
}

void TestForm1::typing() {
    QFETCH(int, entry);
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(bool, modified);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    turnToPageOf(w, entry);
    QLineEdit* field = valueField(w, entry);
    field->setText(start);
    field->setFocus();
    field->end(false);
    w.editor().setModified(false);
    for (QChar c : keys) {
        if (c == u'\b')
            QTest::keyClick(field, Qt::Key_Backspace);
        else if (c == u'<')
            QTest::keyClick(field, Qt::Key_Home);
        else if (c.unicode() < 0x80)
            QTest::keyClicks(field, QString(c));
        else
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QCOMPARE(field->text(), text);
    QCOMPARE(w.document().entries[entry].value, text);
    QCOMPARE(w.isModified(), modified);
}

void TestForm1::pasting_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("text");  // the field held "1", all selected
    QTest::newRow("picture: a slot number") << 3 << "7"
                                            << "7";
    QTest::newRow("picture: 9 refused") << 3 << "9"
                                        << "1";
    QTest::newRow("picture: two digits refused") << 3 << "12"
                                                 << "1";
    QTest::newRow("picture: blank refused") << 3 << " 2"
                                            << "1";
    QTest::newRow("correction: a negative number") << 0 << "-250"
                                                   << "-250";
    QTest::newRow("correction: beyond 16 bits refused") << 0 << "-40000"
                                                        << "1";
    QTest::newRow("correction: a long number refused") << 0 << "123456789012345678901"
                                                       << "1";
    QTest::newRow("correction: text refused") << 0 << "1e3"
                                              << "1";
}

void TestForm1::pasting() {
    QFETCH(int, entry);
    QFETCH(QString, clip);
    QFETCH(QString, text);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QLineEdit* field = valueField(w, entry);
    field->setText(QStringLiteral("1"));
    field->selectAll();
    QGuiApplication::clipboard()->setText(clip);
    field->paste();
    QCOMPARE(field->text(), text);
    QCOMPARE(w.document().entries[entry].value, text);
}

void TestForm1::leavingAField_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("left");  // what the field holds when the focus leaves it
    QTest::addColumn<QString>("text");
    QTest::newRow("empty picture number") << 10 << ""
                                          << "0";
    QTest::newRow("empty correction") << 1 << ""
                                      << "0";
    QTest::newRow("a lone minus stays") << 1 << "-"
                                        << "-";
}

void TestForm1::leavingAField() {
    QFETCH(int, entry);
    QFETCH(QString, left);
    QFETCH(QString, text);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    QLineEdit* field = valueField(w, entry);
    wintest::typeInto(field, left);
    QCOMPARE(field->text(), left);
    QTest::keyClick(field, Qt::Key_Tab);
    QVERIFY(!field->hasFocus());
    QCOMPARE(field->text(), text);
    QCOMPARE(w.document().entries[entry].value, text);
}

void TestForm1::refusedPictures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");  // empty: a real picture
    QTest::newRow("comma in the name") << "a,b.bmp" << QByteArray();
    QTest::newRow("leading blank") << " cab.bmp" << QByteArray();
    QTest::newRow("not in code page 932") << "caf\u00e9\U0001F600.bmp" << QByteArray();
    QTest::newRow("not a picture") << "broken.gif" << QByteArray("GIF89a and nothing more");
    QTest::newRow("gone") << "gone.bmp" << QByteArray("-");
}

void TestForm1::refusedPictures() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    loadSlotPicture(w, dialogs, 0, writePicture(dir, QStringLiteral("first.bmp"), 40, 30));
    const QImage first = w.document().pictureSlots[0].image;
    w.editor().setModified(false);
    const QStringList before = windowState(w);

    QString path = dir.filePath(name);
    if (content.isEmpty())
        writePicture(dir, name, 20, 20);
    else if (content != "-")
        QVERIFY(saveFileAtomically(path, content));
    dialogs.shown.clear();
    loadSlotPicture(w, dialogs, 0, path);
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].title, QStringLiteral("posboard"));
    QVERIFY(!dialogs.shown[0].detail.isEmpty());
    QCOMPARE(windowState(w), before);
    QCOMPARE(w.document().pictureSlots[0].image, first);
    QVERIFY(viewShowsPicture(w, first));
    QVERIFY(!w.isModified());

    // The picture dialog closed without a file changes nothing either.
    loadSlotPicture(w, dialogs, 0, QString());
    QCOMPARE(windowState(w), before);
    QCOMPARE(dialogs.fileRequests.last().filter,
             QStringLiteral("GIF画像|*.gif|BMP画像|*.bmp|JPEG画像|*.jpg|All Files|*.*|"));
}

void TestForm1::showAgain_data() {
    QTest::addColumn<bool>("fromFile");   // a position file was read first
    QTest::addColumn<QString>("onDisk");  // the name the picture has on disk when "表示" runs
    QTest::newRow("from the dialog's folder") << false << "cab.bmp";
    QTest::newRow("from the position file's folder") << true << "cab.bmp";
    QTest::newRow("in another case") << true << "CAB.BMP";
}

void TestForm1::showAgain() {
    QFETCH(bool, fromFile);
    QFETCH(QString, onDisk);
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    if (fromFile) {
        PositionDocument doc;
        doc.pictureSlots[0].fileName = QStringLiteral("cab.bmp");
        writePicture(dir, QStringLiteral("cab.bmp"), 30, 30);
        QVERIFY(ppf::writeFile(dir.filePath(QStringLiteral("m.ppf")), doc, nullptr));
        wintest::clickAnswering(w, dialogs, QStringLiteral("Command3"),
                                dir.filePath(QStringLiteral("m.ppf")));
    } else {
        loadSlotPicture(w, dialogs, 0, writePicture(dir, QStringLiteral("cab.bmp"), 30, 30));
    }
    QCOMPARE(w.document().pictureSlots[0].image.size(), QSize(30, 30));
    // The picture changes on disk; "表示" shows the new one, the slot keeps the old.
    QFile::remove(dir.filePath(QStringLiteral("cab.bmp")));
    writePicture(dir, onDisk, 700, 50);
    w.editor().setModified(false);
    click(w, QStringLiteral("Command5"));
    QVERIFY(dialogs.shown.isEmpty());
    QCOMPARE(w.canvas().viewBuffer().size(), QSize(700, 50));
    QCOMPARE(surface(w)->size(), QSize(561, 50));
    QVERIFY(bar(w, "HScroll1")->isVisible());
    QCOMPARE(bar(w, "HScroll1")->maximum(), 139);
    QVERIFY(viewShowsPicture(w, patternPicture(700, 50)));
    QCOMPARE(w.document().pictureSlots[0].image.size(), QSize(30, 30));
    QVERIFY(!w.isModified());
}

void TestForm1::showAgainFailureKeepsTheCanvas() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    // A slot without a picture: nothing happens.
    click(w, QStringLiteral("Command5"));
    QVERIFY(dialogs.shown.isEmpty());

    loadSlotPicture(w, dialogs, 0, writePicture(dir, QStringLiteral("cab.bmp"), 40, 40));
    const QImage shown = w.canvas().shownView();
    for (const QByteArray& content : {QByteArray(), QByteArray("not a picture")}) {
        QFile::remove(dir.filePath(QStringLiteral("cab.bmp")));
        if (!content.isEmpty())
            QVERIFY(saveFileAtomically(dir.filePath(QStringLiteral("cab.bmp")), content));
        dialogs.shown.clear();
        click(w, QStringLiteral("Command5"));
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(!dialogs.shown[0].detail.isEmpty());
        QCOMPARE(w.canvas().shownView(), shown);
        QCOMPARE(w.canvas().viewBuffer().size(), QSize(40, 40));
    }
}

void TestForm1::readFileFillsTheWindow() {
    QTemporaryDir dir;
    PositionDocument doc;
    doc.pictureSlots[0].fileName = QStringLiteral("cab.bmp");
    doc.pictureSlots[6].fileName = QStringLiteral("digits.bmp");
    writePicture(dir, QStringLiteral("cab.bmp"), 600, 100);
    writePicture(dir, QStringLiteral("digits.bmp"), 50, 10);
    doc.entries[1] = {-5, 0, 35, 20, QStringLiteral("-12")};
    doc.entries[2].value = QString();
    doc.entries[20] = {10, 20, 59, 79, QStringLiteral("6")};
    // Values no typing gives are shown and kept as the file has them.
    doc.entries[0].value = QStringLiteral("1.5");
    doc.entries[21].value = QStringLiteral("12");
    const QString path = dir.filePath(QStringLiteral("machine.ppf"));
    QVERIFY(ppf::writeFile(path, doc, nullptr));

    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    chooseSlot(w, 6);
    w.editor().setModified();
    wintest::clickAnswering(w, dialogs, QStringLiteral("Command3"), path);
    QCOMPARE(dialogs.fileRequests.last().filter,
             QStringLiteral("画像位置ファイル|*.ppf|All Files|*.*|"));
    QVERIFY(dialogs.shown.isEmpty());
    QVERIFY(!w.isModified());
    QCOMPARE(fileLabel(w), QStringLiteral("machine.ppf"));
    QCOMPARE(w.editor().positionFolder(), QDir(dir.path()).absolutePath() + QLatin1Char('/'));
    QCOMPARE(child<QLabel>(w, QStringLiteral("LabelBodyFile"))->text(),
             QStringLiteral("digits.bmp"));
    QCOMPARE(w.canvas().editMode(), Mode::Idle);
    QCOMPARE(surface(w)->size(), QSize(50, 10));
    QVERIFY(!child(w, QStringLiteral("Label7"))->isVisible());
    QCOMPARE(valueField(w, 1)->text(), QStringLiteral("-12"));
    QCOMPARE(valueField(w, 2)->text(), QString());
    QCOMPARE(valueField(w, 20)->text(), QStringLiteral("6"));
    QCOMPARE(coordinates(w, 1), QStringLiteral(" -5 , 0 - 35 , 20"));
    QCOMPARE(coordinates(w, 20), QStringLiteral(" 10 , 20 - 59 , 79"));
    QCOMPARE(coordinates(w, 32), QStringLiteral(" 0 , 0 - 0 , 0"));
    QCOMPARE(valueField(w, 0)->text(), QStringLiteral("1.5"));
    QCOMPARE(valueField(w, 21)->text(), QStringLiteral("12"));
    QVERIFY(w.document().sameData(doc));
    QVERIFY(w.close());  // read, nothing edited: no question
    QVERIFY(dialogs.shown.isEmpty());
}

void TestForm1::unreadableFileChangesNothing_data() {
    QTest::addColumn<QByteArray>("bytes");  // "-": no file at all, "/": a folder
    QTest::newRow("five lines") << QByteArray("a.bmp\r\n\r\n\r\n\r\n\r\n");
    QTest::newRow("line 10 not a number")
        << QByteArray("\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nabc\r\n1,2,3,4,\"5\"\r\n");
    QTest::newRow("missing") << QByteArray("-");
    QTest::newRow("a folder") << QByteArray("/");
}

void TestForm1::unreadableFileChangesNothing() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    PositionDocument doc;
    doc.pictureSlots[0].fileName = QStringLiteral("cab.bmp");
    writePicture(dir, QStringLiteral("cab.bmp"), 80, 60);
    doc.entries[7] = {1, 2, 3, 4, QStringLiteral("5")};
    QVERIFY(ppf::writeFile(dir.filePath(QStringLiteral("good.ppf")), doc, nullptr));
    wintest::clickAnswering(w, dialogs, QStringLiteral("Command3"),
                            dir.filePath(QStringLiteral("good.ppf")));
    clickCaption(w, 7);
    drag(w, QPoint(5, 5), QPoint(20, 30));
    wintest::typeInto(valueField(w, 0), QStringLiteral("-7"));
    const QStringList before = windowState(w);
    const QImage shown = w.canvas().shownView();

    QString path = dir.filePath(QStringLiteral("sub/bad.ppf"));
    QDir(dir.path()).mkpath(QStringLiteral("sub"));
    if (bytes == "/")
        path = dir.filePath(QStringLiteral("sub"));
    else if (bytes != "-")
        QVERIFY(saveFileAtomically(path, bytes));
    dialogs.shown.clear();
    wintest::clickAnswering(w, dialogs, QStringLiteral("Command3"), path);
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].title, QStringLiteral("posboard"));
    QCOMPARE(dialogs.shown[0].text, QStringLiteral("位置ファイルを読み込めません。"));
    QVERIFY(!dialogs.shown[0].detail.isEmpty());
    QCOMPARE(windowState(w), before);
    QCOMPARE(w.canvas().shownView(), shown);
    QCOMPARE(w.canvas().editMode(), Mode::Drawing);
    QVERIFY(w.isModified());
}

void TestForm1::missingPicturesAreListed() {
    QTemporaryDir dir;
    PositionDocument doc;
    doc.pictureSlots[0].fileName = QStringLiteral("cab.bmp");
    doc.pictureSlots[3].fileName = QStringLiteral("gone.gif");
    doc.pictureSlots[7].fileName = QStringLiteral("broken.bmp");
    writePicture(dir, QStringLiteral("cab.bmp"), 80, 60);
    QVERIFY(saveFileAtomically(dir.filePath(QStringLiteral("broken.bmp")), "BM nothing"));
    doc.entries[9] = {1, 2, 3, 4, QStringLiteral("3")};
    QVERIFY(ppf::writeFile(dir.filePath(QStringLiteral("m.ppf")), doc, nullptr));

    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    chooseSlot(w, 3);
    wintest::clickAnswering(w, dialogs, QStringLiteral("Command3"),
                            dir.filePath(QStringLiteral("m.ppf")));
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].icon, Dialogs::Icon::Warning);
    QCOMPARE(dialogs.shown[0].detail,
             QStringLiteral("3 - 筐体画像 4: gone.gif\n7 - 数値画像 3: broken.bmp"));
    // Everything else was read; the selected slot has a name but nothing to draw on.
    QVERIFY(w.document().sameData(doc));
    QVERIFY(!w.isModified());
    QCOMPARE(child<QLabel>(w, QStringLiteral("LabelBodyFile"))->text(), QStringLiteral("gone.gif"));
    QCOMPARE(w.canvas().editMode(), Mode::NoPicture);
    QVERIFY(child(w, QStringLiteral("Label7"))->isVisible());
    QCOMPARE(surface(w)->size(), QSize(561, 457));
    clickCaption(w, 9);
    QCOMPARE(w.editor().selectedEntry(), -1);
    chooseSlot(w, 0);
    QCOMPARE(w.canvas().editMode(), Mode::Idle);
    QCOMPARE(surface(w)->size(), QSize(80, 60));
}

void TestForm1::saveWritesAndClearsTheFlag() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    // A new document saved at once.
    w.editor().setModified();
    wintest::clickAnswering(w, dialogs, QStringLiteral("Command4"), QString());  // cancelled
    QVERIFY(w.isModified());
    const QString path = dir.filePath(QStringLiteral("new.ppf"));
    wintest::clickAnswering(w, dialogs, QStringLiteral("Command4"), path);
    QCOMPARE(dialogs.fileRequests.last().filter,
             QStringLiteral("画像位置ファイル|*.ppf|All Files|*.*|"));
    QVERIFY(!w.isModified());
    QCOMPARE(fileLabel(w), QStringLiteral("new.ppf"));
    QCOMPARE(readAll(path), readAll(QStringLiteral(TEST_DATA_DIR "/new.ppf")));
    // Saving elsewhere does not move the folder pictures are looked up in.
    QCOMPARE(w.editor().positionFolder(), QString());
}

void TestForm1::failedSaveIsReported() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    const auto failedSave = [&](const QString& path, const QString& label) {
        w.editor().setModified();
        dialogs.shown.clear();
        wintest::clickAnswering(w, dialogs, QStringLiteral("Command4"), path);
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("posboard"));
        QCOMPARE(dialogs.shown[0].text, QStringLiteral("ファイルを保存できませんでした。"));
        QVERIFY(!dialogs.shown[0].detail.isEmpty());
        QVERIFY(w.isModified());
        QCOMPARE(fileLabel(w), label);
    };
    // A folder that is not there.
    failedSave(dir.filePath(QStringLiteral("gone/x.ppf")), QString());

    // A value read from a file that the file cannot hold again: the old file stays whole.
    const QString odd = dir.filePath(QStringLiteral("odd.ppf"));
    QByteArray bytes = readAll(QStringLiteral(TEST_DATA_DIR "/new.ppf"));
    bytes.replace(bytes.lastIndexOf("0,0,0,0,\"0\""), 11, "0,0,0,0,a\"b");
    QVERIFY(saveFileAtomically(odd, bytes));
    wintest::clickAnswering(w, dialogs, QStringLiteral("Command3"), odd);
    QCOMPARE(w.document().entries[32].value, QStringLiteral("a\"b"));
    const QString target = dir.filePath(QStringLiteral("kept.ppf"));
    QVERIFY(saveFileAtomically(target, "old contents"));
    failedSave(target, QStringLiteral("odd.ppf"));
    QCOMPARE(readAll(target), QByteArray("old contents"));
}

void TestForm1::closeQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAnswer");  // the save dialog's file, relative; "" cancels
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    QTest::newRow("Cancel keeps the window")
        << int(Dialogs::Answer::Cancel) << "" << false << false;
    QTest::newRow("No closes without writing") << int(Dialogs::Answer::No) << "" << true << false;
    QTest::newRow("Yes and a save closes")
        << int(Dialogs::Answer::Yes) << "out.ppf" << true << true;
    QTest::newRow("Yes but the dialog cancelled stays")
        << int(Dialogs::Answer::Yes) << "" << false << false;
    QTest::newRow("Yes but the write fails stays")
        << int(Dialogs::Answer::Yes) << "nofolder/out.ppf" << false << false;
}

void TestForm1::closeQuestion() {
    QFETCH(int, answer);
    QFETCH(QString, saveAnswer);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    QTemporaryDir out;
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    // Choosing a picture is unsaved work.
    loadSlotPicture(w, dialogs, 0, writePicture(out, QStringLiteral("cab.bmp"), 20, 20));
    QVERIFY(w.isModified());
    dialogs.answers << static_cast<Dialogs::Answer>(answer);
    dialogs.fileAnswers << (saveAnswer.isEmpty() ? QString() : out.filePath(saveAnswer));
    QCOMPARE(w.close(), closes);
    QCOMPARE(dialogs.shown.size(),
             1 + (answer == int(Dialogs::Answer::Yes) && saveAnswer.contains(u'/')));
    QCOMPARE(dialogs.shown.first().title, QStringLiteral("終了確認"));
    QCOMPARE(dialogs.shown.first().text,
             QStringLiteral("データに変更があります。セーブしますか？"));
    QCOMPARE(dialogs.shown.first().icon, Dialogs::Icon::Information);
    QCOMPARE(dialogs.shown.first().buttons, Dialogs::Buttons::YesNoCancel);
    QCOMPARE(QFile::exists(out.filePath(QStringLiteral("out.ppf"))), written);
    QCOMPARE(w.isModified(), !written);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
