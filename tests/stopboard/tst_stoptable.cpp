// Stop table editing through the window: the stop index boxes' keys, moving between them,
// the comment, and the copy of one table onto another.

#include "stopwindowtest.h"

using namespace stoptest;
using namespace stopboard;

class TestStopTable : public QObject {
    Q_OBJECT
private slots:
    void typing_data();
    void typing();
    void movement_data();
    void movement();
    void enterWalksDownEveryReel();
    void comment_data();
    void comment();
    void copyAndPaste();
    void valuesFromAFileShowAsTheyAre();
};

void TestStopTable::typing_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("keys");  // "\b" is Backspace; "^" pastes the rest
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stored");
    QTest::newRow("a digit replaces the value") << "1"
                                                << "3"
                                                << "3" << 3;
    QTest::newRow("4 is the last stop index") << "0"
                                              << "4"
                                              << "4" << 4;
    QTest::newRow("5 to 9 dropped") << "2"
                                    << "56789"
                                    << "2" << 2;
    QTest::newRow("letters and blanks dropped") << "2"
                                                << "a -"
                                                << "2" << 2;
    QTest::newRow("full-width digit dropped") << "2"
                                              << "３"
                                              << "2" << 2;
    QTest::newRow("Backspace empties and stores 0") << "2"
                                                    << "\b"
                                                    << "" << 0;
    QTest::newRow("pasted 3 taken") << "1"
                                    << "^3"
                                    << "3" << 3;
    QTest::newRow("pasted 7 refused") << "1"
                                      << "^7"
                                      << "1" << 1;
    QTest::newRow("pasted 12 refused") << "1"
                                       << "^12"
                                       << "1" << 1;
}

void TestStopTable::typing() {
    QFETCH(QString, shown);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(int, stored);
    LoadedWindow l;
    auto* box = child<QLineEdit>(l.w, cellName(44));
    box->setText(shown);
    box->setFocus();
    if (keys.startsWith('^')) {
        box->selectAll();
        box->insert(keys.mid(1));
    } else if (keys == QLatin1String("\b")) {
        QTest::keyClick(box, Qt::Key_Backspace);
    } else {
        typeKeys(box, keys);
    }
    QCOMPARE(box->text(), text);
    QCOMPARE(l.w.document().stopIndex(1, 44), stored);
    QVERIFY(l.w.editor().isModified());
}

void TestStopTable::movement_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");
    QTest::newRow("left") << 30 << int(Qt::Key_Left) << 9;
    QTest::newRow("no reel left of the left reel") << 20 << int(Qt::Key_Left) << 20;
    QTest::newRow("right") << 41 << int(Qt::Key_Right) << 62;
    QTest::newRow("no reel right of the right reel") << 42 << int(Qt::Key_Right) << 42;
    QTest::newRow("up") << 21 << int(Qt::Key_Up) << 22;
    QTest::newRow("nothing above 21") << 41 << int(Qt::Key_Up) << 41;
    QTest::newRow("down") << 62 << int(Qt::Key_Down) << 61;
    QTest::newRow("nothing below 01") << 42 << int(Qt::Key_Down) << 42;
    QTest::newRow("Enter goes down") << 5 << int(Qt::Key_Return) << 4;
    QTest::newRow("Enter on the keypad too") << 5 << int(Qt::Key_Enter) << 4;
    QTest::newRow("Enter from 01 to the top of the reel left") << 21 << int(Qt::Key_Return) << 20;
    QTest::newRow("Enter stops at 01 of the left reel") << 0 << int(Qt::Key_Return) << 0;
}

void TestStopTable::movement() {
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    LoadedWindow l;
    auto* box = child<QLineEdit>(l.w, cellName(from));
    box->setText(QStringLiteral("2"));
    box->setFocus();
    QTest::keyClick(box, Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(l.w, cellName(to)));
    QCOMPARE(box->text(), QStringLiteral("2"));  // moving stores nothing
}

void TestStopTable::enterWalksDownEveryReel() {
    LoadedWindow l;
    child<QWidget>(l.w, cellName(62))->setFocus();
    QList<int> visited;
    for (int i = 0; i < 70; ++i) {
        visited << QApplication::focusWidget()->objectName().mid(10).toInt();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QList<int> expected;
    for (int c = 62; c >= 0; --c) expected << c;
    while (expected.size() < 70) expected << 0;
    QCOMPARE(visited, expected);
}

void TestStopTable::comment_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("held");
    QTest::newRow("plain") << "BB 中段"
                           << "BB 中段";
    QTest::newRow("a comma would end the field") << "a,b"
                                                 << "a，b";
    QTest::newRow("an opening quote would quote it") << "\"x\""
                                                     << "＂x\"";
    QTest::newRow("leading blanks would be skipped") << "  x"
                                                     << "x";
    QTest::newRow("outside the code page") << u"a\u00e9\u4e02b"_qs << "a??b";
}

void TestStopTable::comment() {
    QFETCH(QString, typed);
    QFETCH(QString, held);
    LoadedWindow l;
    typeInto(l.w, "NowTableNo", "7");
    typeInto(l.w, "Text1", typed);
    QCOMPARE(textOf(l.w, "Text1"), held);
    QCOMPARE(l.w.document().comment(7), held);
    QVERIFY(l.w.editor().isModified());
    // Pasted text follows the same rule; each table keeps its own comment.
    auto* text1 = child<QLineEdit>(l.w, "Text1");
    text1->selectAll();
    text1->insert(typed);
    QCOMPARE(text1->text(), held);
    click(l.w, "NeNowTable");
    QCOMPARE(textOf(l.w, "Text1"), QString());
    click(l.w, "PrNowTable");
    QCOMPARE(textOf(l.w, "Text1"), held);
}

void TestStopTable::copyAndPaste() {
    LoadedWindow l;
    typeInto(l.w, "NowTableNo", "2");
    for (auto [c, v] : {std::pair{0, "1"}, {30, "3"}, {62, "2"}}) typeInto(l.w, cellName(c), v);
    click(l.w, "Command1");
    typeInto(l.w, "NowTableNo", "5");
    typeInto(l.w, "Text1", "残す");
    typeInto(l.w, cellName(1), "4");
    stoptest::markSaved(l.w.editor());
    click(l.w, "Command2");
    for (int c = 0; c < reel::CellCount; ++c)
        QCOMPARE(l.w.document().stopIndex(5, c), l.w.document().stopIndex(2, c));
    QCOMPARE(textOf(l.w, cellName(30)), QStringLiteral("3"));
    QCOMPARE(textOf(l.w, cellName(62)), QStringLiteral("2"));
    QCOMPARE(textOf(l.w, cellName(1)), QStringLiteral("0"));
    QCOMPARE(l.w.document().comment(5), QStringLiteral("残す"));
    QVERIFY(l.w.editor().isModified());
    // Onto itself: nothing changes but the work counts as changed.
    click(l.w, "Command1");
    stoptest::markSaved(l.w.editor());
    click(l.w, "Command2");
    QCOMPARE(l.w.document().stopIndex(5, 62), 2);
    QVERIFY(l.w.editor().isModified());
}

void TestStopTable::valuesFromAFileShowAsTheyAre() {
    LoadedWindow l;
    ControlDocument doc;
    doc.setLastPrizeIndex(2);
    doc.setStopIndex(1, 10, 9);
    doc.setStopIndex(1, 11, -3);
    const QString path = l.dir.filePath("odd.rcf");
    QVERIFY(rcf::writeFile(path, doc, nullptr));
    answerFile(l.w, l.dialogs, "LoadConFile", path);
    QCOMPARE(textOf(l.w, cellName(10)), QStringLiteral("9"));
    QCOMPARE(textOf(l.w, cellName(11)), QStringLiteral("-3"));
    click(l.w, "NeNowTable");
    click(l.w, "PrNowTable");
    QCOMPARE(l.w.document().stopIndex(1, 10), 9);
    QCOMPARE(l.w.document().stopIndex(1, 11), -3);
}

QTEST_MAIN(TestStopTable)
#include "tst_stoptable.moc"
