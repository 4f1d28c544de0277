// The prize editor through the real window: combination edits, stepping and table growth,
// the pay boxes' number rule, the kind lists, and prize values read from a file.

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>

#include "pictures.h"
#include "reelwindowtest.h"

using namespace reelboard;

using namespace reeltest;

namespace {

QString hantei(int r) { return QStringLiteral("ImgHantei_%1").arg(r); }
QLineEdit* pay(Form1& w, int s) { return child<QLineEdit>(w, QStringLiteral("TextPay_%1").arg(s)); }
QComboBox* kind(Form1& w, int s) {
    return child<QComboBox>(w, QStringLiteral("ComboBID_%1").arg(s));
}
QString indexShown(Form1& w) { return child<QLabel>(w, "LabelBonusIndex")->text(); }

// Symbol 1 red, symbol 2 green, both with lit pictures; symbol 2 is the current one.
void twoSymbols(Form1& w, ScriptedDialogs& dialogs, const QTemporaryDir& dir) {
    loadPicture(w, dialogs, 0, makePicture(dir, "one.bmp", 8, 8, 0xffff0000));
    click(w, "Command3");
    loadPicture(w, dialogs, 0, makePicture(dir, "two.bmp", 8, 8, 0xff00ff00));
}

void chooseFromList(QComboBox* box, int row) {
    box->showPopup();
    QAbstractItemView* view = box->view();
    const QRect item = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
}

}  // namespace

class TestPrizePanel : public QObject {
    Q_OBJECT
private slots:
    void startUp();
    void combinationEdits();
    void steppingGrowsTheTable();
    void entry100();
    void payTyping_data();
    void payTyping();
    void payLeftEmpty();
    void tabLeavesNumberBoxes_data();
    void tabLeavesNumberBoxes();
    void pastedPay_data();
    void pastedPay();
    void kindFromList();
    void keysInKindBoxDiscarded_data();
    void keysInKindBoxDiscarded();
    void valuesFromFile();

private:
    QTemporaryDir dir_;
};

void TestPrizePanel::startUp() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    for (int r = 0; r < reel::ReelCount; ++r)
        QCOMPARE(cell(w, hantei(r))->picture(), pictures::anyPicture());
    for (int s = 0; s < reel::GameStateCount; ++s) {
        QCOMPARE(pay(w, s)->text(), QString("0"));
        QCOMPARE(kind(w, s)->currentText(), QString("0-なし"));
        QCOMPARE(kind(w, s)->count(), 8);
        QCOMPARE(kind(w, s)->itemText(6), QString("6-レギラー"));
    }
    QCOMPARE(indexShown(w), QString("0"));
    QCOMPARE(w.document().lastPrizeIndex, 1);
    QVERIFY(!w.isModified());
}

void TestPrizePanel::combinationEdits() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    twoSymbols(w, dialogs, dir_);
    forgetChanges(w);
    QVERIFY(dragSymbolTo(w, cell(w, hantei(1))));
    QCOMPARE(w.document().prizes[0].symbols, (std::array<std::int16_t, 3>{100, 1, 100}));
    QCOMPARE(colourOf(cell(w, hantei(1))->picture()), 0xff00ff00u);
    QVERIFY(w.isModified());

    // A new lit picture for the placed symbol shows in the combination at once.
    loadPicture(w, dialogs, 0, makePicture(dir_, "blue.bmp", 8, 8, 0xff0000ffu));
    QCOMPARE(colourOf(cell(w, hantei(1))->picture()), 0xff0000ffu);
    QCOMPARE(cell(w, hantei(0))->picture(), pictures::anyPicture());

    forgetChanges(w);
    auto* target = cell(w, hantei(1));
    doubleClick(w, target);
    QCOMPARE(w.document().prizes[0].symbols[1], reel::AnySymbol);
    QCOMPARE(target->picture(), pictures::anyPicture());
    QVERIFY(w.isModified());
}

void TestPrizePanel::steppingGrowsTheTable() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    twoSymbols(w, dialogs, dir_);
    click(w, "ComBINe");  // all three "any": nothing happens
    QCOMPARE(indexShown(w), QString("0"));
    QCOMPARE(w.editor().currentPrize(), 0);

    QVERIFY(dragSymbolTo(w, cell(w, hantei(0))));
    click(w, "ComBINe");
    QCOMPARE(indexShown(w), QString("1"));
    QCOMPARE(w.document().lastPrizeIndex, 1);
    for (int r = 0; r < reel::ReelCount; ++r)
        QCOMPARE(cell(w, hantei(r))->picture(), pictures::anyPicture());
    click(w, "ComBINe");  // entry 1 is all "any"
    QCOMPARE(indexShown(w), QString("1"));

    QVERIFY(dragSymbolTo(w, cell(w, hantei(2))));
    click(w, "ComBINe");
    QCOMPARE(indexShown(w), QString("2"));
    QCOMPARE(w.document().lastPrizeIndex, 2);

    click(w, "ComBIPre");
    click(w, "ComBIPre");
    QCOMPARE(indexShown(w), QString("0"));
    QCOMPARE(colourOf(cell(w, hantei(0))->picture()), 0xff00ff00u);
    cell(w, hantei(1))->setPicture(QImage());  // "<<" on entry 0 still redraws the combination
    click(w, "ComBIPre");
    QCOMPARE(indexShown(w), QString("0"));
    QCOMPARE(cell(w, hantei(1))->picture(), pictures::anyPicture());
    QCOMPARE(w.document().lastPrizeIndex, 2);  // stepping back never shrinks the table
}

void TestPrizePanel::entry100() {
    QTemporaryDir folder;
    ReelDataDocument saved;
    saved.lastPrizeIndex = 99;
    for (int e = 0; e <= 99; ++e) saved.prizes[e].symbols[0] = static_cast<std::int16_t>(e % 7);
    const QString reelFile = writeReelFile(folder, "m.sdf", saved);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    QVERIFY(loadReelFile(w, dialogs, reelFile));
    for (int i = 0; i < 100; ++i) click(w, "ComBINe");
    QCOMPARE(indexShown(w), QString("100"));
    QCOMPARE(w.document().lastPrizeIndex, 100);
    QVERIFY(dragSymbolTo(w, cell(w, hantei(1))));
    click(w, "ComBINe");
    QCOMPARE(indexShown(w), QString("100"));
    QCOMPARE(w.editor().currentPrize(), 100);
    QCOMPARE(w.document().lastPrizeIndex, 100);
    QCOMPARE(w.document().prizes[100].symbols[1], 0);
}

void TestPrizePanel::payTyping_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("payValue");
    QTest::newRow("1 then 6 overflows to 0") << 0 << "16"
                                             << "0" << 0;
    QTest::newRow("1 then 5") << 1 << "15"
                              << "15" << 15;
    QTest::newRow("a digit replaces the lone 0") << 2 << "7"
                                                 << "7" << 7;
    QTest::newRow("letters are dropped") << 0 << "a1b2"
                                         << "12" << 12;
    QTest::newRow("z is dropped") << 1 << "z3"
                                  << "3" << 3;
    QTest::newRow("minus and space are dropped") << 2 << "- 9."
                                                 << "9" << 9;
    QTest::newRow("0 then 0 stays one 0") << 0 << "00"
                                          << "0" << 0;
    QTest::newRow("overflow then more digits") << 1 << "205"
                                               << "5" << 5;
}

void TestPrizePanel::payTyping() {
    QFETCH(int, state);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(int, payValue);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    QLineEdit* box = pay(w, state);
    box->setFocus();
    QTest::keyClicks(box, keys);
    QCOMPARE(box->text(), text);
    QCOMPARE(w.document().prizes[0].pays[state], payValue);
    for (int other = 0; other < reel::GameStateCount; ++other)
        if (other != state) QCOMPARE(w.document().prizes[0].pays[other], 0);
    // Typing that ends on the pay held before is no edit.
    QCOMPARE(w.isModified(), payValue != 0);
}

void TestPrizePanel::payLeftEmpty() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    QLineEdit* box = pay(w, 1);
    box->setFocus();
    QTest::keyClicks(box, "9");
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QString());
    QCOMPARE(w.document().prizes[0].pays[1], 0);  // an empty box: the pay from before the 9
    pay(w, 2)->setFocus();
    QCOMPARE(box->text(), QString("0"));
    QCOMPARE(w.document().prizes[0].pays[1], 0);
}

void TestPrizePanel::tabLeavesNumberBoxes_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("textAfter");
    QTest::newRow("pay, Tab") << "TextPay_0" << int(Qt::Key_Tab) << "0";
    QTest::newRow("pay, Shift+Tab") << "TextPay_2" << int(Qt::Key_Backtab) << "0";
    QTest::newRow("wait, Tab") << "TextFLWait" << int(Qt::Key_Tab) << "";
}

void TestPrizePanel::tabLeavesNumberBoxes() {
    QFETCH(QString, box);
    QFETCH(int, key);
    QFETCH(QString, textAfter);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* edit = child<QLineEdit>(w, box);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, static_cast<Qt::Key>(key));
    QVERIFY(!edit->hasFocus());
    QCOMPARE(edit->text(), textAfter);  // a pay box left empty takes "0" again
}

void TestPrizePanel::pastedPay_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("payValue");
    QTest::newRow("a number within the limit") << ""
                                               << "12"
                                               << "12" << 12;
    QTest::newRow("over the limit") << "3"
                                    << "99"
                                    << "3" << 3;
    QTest::newRow("digits that make it too large") << "3"
                                                   << "4"
                                                   << "3" << 3;
    QTest::newRow("not a number") << "3"
                                  << "1x"
                                  << "3" << 3;
    QTest::newRow("negative") << "3"
                              << "-1"
                              << "3" << 3;
    QTest::newRow("blanks") << "3"
                            << " 2"
                            << "3" << 3;
}

void TestPrizePanel::pastedPay() {
    QFETCH(QString, start);
    QFETCH(QString, pasted);
    QFETCH(QString, text);
    QFETCH(int, payValue);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    QLineEdit* box = pay(w, 0);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, start);
    QGuiApplication::clipboard()->setText(pasted);
    box->end(false);
    box->paste();
    QCOMPARE(box->text(), text);
    QCOMPARE(w.document().prizes[0].pays[0], payValue);
}

void TestPrizePanel::kindFromList() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    for (int s = 0; s < reel::GameStateCount; ++s) {
        forgetChanges(w);
        chooseFromList(kind(w, s), 6 - s);
        QCOMPARE(kind(w, s)->currentText(), reel::prizeKindText(6 - s));
        QCOMPARE(w.document().prizes[0].kinds[s], 6 - s);
        QVERIFY(w.isModified());
    }
}

void TestPrizePanel::keysInKindBoxDiscarded_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("digit") << int(Qt::Key_5) << "5";
    QTest::newRow("letter") << int(Qt::Key_A) << "a";
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << "";
    QTest::newRow("delete") << int(Qt::Key_Delete) << "";
    QTest::newRow("down arrow") << int(Qt::Key_Down) << "";
    QTest::newRow("end") << int(Qt::Key_End) << "";
    QTest::newRow("space") << int(Qt::Key_Space) << " ";
}

void TestPrizePanel::keysInKindBoxDiscarded() {
    QFETCH(int, key);
    QFETCH(QString, text);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    QComboBox* box = kind(w, 1);
    chooseFromList(box, 3);
    box->setFocus();
    QTest::sendKeyEvent(QTest::KeyAction::Click, box, static_cast<Qt::Key>(key), text, {});
    QCOMPARE(box->currentText(), QString("3-ビッグ3"));
    QCOMPARE(w.document().prizes[0].kinds[1], 3);
}

void TestPrizePanel::valuesFromFile() {
    QTemporaryDir folder;
    ReelDataDocument saved;
    saved.lastPrizeIndex = 1;
    saved.prizes[0] = {{0, 100, 1}, {16, 15, 3}, {9, 7, -2}};
    saved.prizes[1] = {{50, -1, 2}, {1, 2, 3}, {8, 0, 32767}};
    const QString reelFile = writeReelFile(folder, "m.sdf", saved);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    QVERIFY(loadReelFile(w, dialogs, reelFile));

    // A pay above 15 shows "0" and is taken as 0; an unknown kind shows its number and stays.
    QCOMPARE(pay(w, 0)->text(), QString("0"));
    QCOMPARE(w.document().prizes[0].pays[0], 0);
    QCOMPARE(pay(w, 1)->text(), QString("15"));
    QCOMPARE(kind(w, 0)->currentText(), QString("9"));
    QCOMPARE(kind(w, 1)->currentText(), QString("7-リプレイ"));
    QCOMPARE(kind(w, 2)->currentText(), QString("-2"));
    QCOMPARE(w.document().prizes[0].kinds, (std::array<std::int16_t, 3>{9, 7, -2}));
    QCOMPARE(colourOf(cell(w, hantei(0))->picture()), symbolColour(0));
    QCOMPARE(cell(w, hantei(1))->picture(), pictures::anyPicture());

    // Symbols outside 0..6 and 100 show as empty cells and are kept.
    click(w, "ComBINe");
    QVERIFY(cell(w, hantei(0))->picture().isNull());
    QVERIFY(cell(w, hantei(1))->picture().isNull());
    QCOMPARE(colourOf(cell(w, hantei(2))->picture()), symbolColour(2));
    QCOMPARE(kind(w, 0)->currentText(), QString("8"));
    QCOMPARE(kind(w, 2)->currentText(), QString("32767"));
    click(w, "ComBIPre");
    QCOMPARE(kind(w, 0)->currentText(), QString("9"));

    // Choosing a kind replaces the unknown one.
    chooseFromList(kind(w, 0), 2);
    QCOMPARE(w.document().prizes[0].kinds[0], 2);
    const QString path = folder.filePath("again.sdf");
    dialogs.fileAnswers << path;
    click(w, "Command5");
    ReelDataDocument back;
    int version = 0;
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(sdf::readText(f.readAll(), back, version, nullptr));
    QCOMPARE(back.prizes[0].kinds, (std::array<std::int16_t, 3>{2, 7, -2}));
    QCOMPARE(back.prizes[1].symbols, (std::array<std::int16_t, 3>{50, -1, 2}));
    QCOMPARE(back.prizes[1].kinds, (std::array<std::int16_t, 3>{8, 0, 32767}));
}

QTEST_MAIN(TestPrizePanel)
#include "tst_prizepanel.moc"
