// The assignment key and the base tables through the window: the key buttons by play state,
// flag, big type and first stop steps, the value boxes and the base table view.

#include "stopwindowtest.h"

using namespace stoptest;
using namespace stopboard;

namespace {

// The default reel data: flag 1 pays in 通常時 and BB中, flag 2 in BB中 only, flag 3 in 通常時.
QString flagShown(Form1& w) { return textOf(w, "LabelFlNo"); }

}  // namespace

class TestAssignment : public QObject {
    Q_OBJECT
private slots:
    void flagSteps_data();
    void flagSteps();
    void playStateRules();
    void bigTypeSteps();
    void firstStopSteps();
    void valueBoxes_data();
    void valueBoxes();
    void baseTableView();
    void anotherReelFileKeepsTheRules();
};

void TestAssignment::flagSteps_data() {
    QTest::addColumn<int>("playState");
    QTest::addColumn<int>("prizes");  // entries in the reel data file
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("flags");  // shown after each step
    QTest::newRow("通常時 skips flag 2, stays at the last") << 0 << 3 << "+++--"
                                                            << "1 3 3 1 0";
    QTest::newRow("BB中: nothing after 2, so it stays") << 1 << 3 << "+++--"
                                                        << "1 2 2 1 0";
    QTest::newRow("RB中: no prize pays") << 2 << 3 << "+-"
                                         << "0 0";
    QTest::newRow("CT中 visits every flag") << 3 << 3 << "++++----"
                                            << "1 2 3 3 2 1 0 0";
    QTest::newRow("one prize: flags 0 and 1") << 3 << 1 << "++-"
                                              << "1 1 0";
}

void TestAssignment::flagSteps() {
    QFETCH(int, playState);
    QFETCH(int, prizes);
    QFETCH(QString, steps);
    QFETCH(QString, flags);
    ReelData data;
    data.prizes.resize(prizes);
    LoadedWindow l(data);
    click(l.w, option(playState));
    QStringList seen;
    for (QChar step : steps) {
        typeInto(l.w, "FirstStop", "9");
        click(l.w, step == '+' ? "NeFlagNo" : "PrFlagNo");
        seen << flagShown(l.w);
        QCOMPARE(l.w.editor().key().flag, flagShown(l.w).toInt());
        if (textOf(l.w, "FirstStop") != QLatin1String("9"))  // a step took place
            QCOMPARE(l.w.editor().key().firstStop, 1);
    }
    QCOMPARE(seen.join(' '), flags);
}

void TestAssignment::playStateRules() {
    LoadedWindow l;
    ControlEditor& e = l.w.editor();
    e.setAssignment(keyOf(2, 0, 0, 0, 0, 0, 1), 33);
    // RB中 from 2BET, 右中左 and RB成立後: the first of each group, the others closed.
    for (int n : {8, 15, 6}) click(l.w, option(n));
    QCOMPARE(e.key().bet, 1);
    click(l.w, option(2));
    for (int n = 4; n < KeyElementCount; ++n) {
        QCOMPARE(isChecked(l.w, option(n)), n == 4 || n == 7 || n == 10);
        QCOMPARE(isEnabled(l.w, option(n)), n == 4 || n == 7 || n == 10);
    }
    QCOMPARE(e.key().index(), keyOf(2, 0, 0, 0, 0, 0, 1).index());
    QCOMPARE(textOf(l.w, "FTableNumber"), QStringLiteral("33"));

    // BB中 with BB成立後 chosen: back to ボーナス否成立, and BB成立後 closed.
    click(l.w, option(0));
    click(l.w, option(5));
    click(l.w, "NeFlagNo");
    click(l.w, "NeFlagNo");  // flag 3 pays only in 通常時
    QCOMPARE(flagShown(l.w), QStringLiteral("3"));
    click(l.w, option(1));
    QVERIFY(isChecked(l.w, option(4)));
    QVERIFY(!isEnabled(l.w, option(5)));
    QVERIFY(isEnabled(l.w, option(6)) && isEnabled(l.w, option(15)));
    QCOMPARE(flagShown(l.w), QStringLiteral("0"));  // not a BB中 prize
    click(l.w, "NeFlagNo");
    click(l.w, option(0));
    QCOMPARE(flagShown(l.w), QStringLiteral("1"));  // pays in 通常時 too: kept
    QCOMPARE(colourOf(picture(l.w, "ImgFlag_2")->picture()), symbolColour(0));
    // CT中: no prize counts, the flag goes to 0.
    click(l.w, option(3));
    QCOMPARE(flagShown(l.w), QStringLiteral("0"));
    QCOMPARE(picture(l.w, "ImgFlag_0")->picture(), e.blankPicture());
}

void TestAssignment::bigTypeSteps() {
    LoadedWindow l;
    auto* label = child<QLabel>(l.w, "LabelBigID");
    const QColor dimmed = label->palette().color(QPalette::WindowText);
    QVERIFY(!isEnabled(l.w, "NeBigID"));
    click(l.w, option(1));
    QVERIFY(isEnabled(l.w, "PrBigID") && isEnabled(l.w, "NeBigID"));
    QVERIFY(label->palette().color(QPalette::WindowText) != dimmed);
    QStringList seen;
    for (const char* step :
         {"PrBigID", "NeBigID", "NeBigID", "NeBigID", "NeBigID", "NeBigID", "PrBigID"}) {
        click(l.w, step);
        seen << label->text();
    }
    QCOMPARE(seen.join(' '), QStringLiteral("1 2 3 4 5 5 4"));
    QCOMPARE(l.w.editor().key().bigType, 3);
    click(l.w, option(0));  // leaving BB中: type 1, dimmed, steps closed
    QCOMPARE(label->text(), QStringLiteral("1"));
    QCOMPARE(l.w.editor().key().bigType, 0);
    QCOMPARE(label->palette().color(QPalette::WindowText), dimmed);
    QVERIFY(!isEnabled(l.w, "PrBigID") && !isEnabled(l.w, "NeBigID"));
}

void TestAssignment::firstStopSteps() {
    LoadedWindow l;
    ControlEditor& e = l.w.editor();
    e.setAssignment(keyOf(0, 0, 0, 0, 0, 0, 21), 210);
    e.setAssignment(keyOf(0, 0, 0, 0, 0, 0, 20), 200);
    typeInto(l.w, "FirstStop", "20");
    QCOMPARE(textOf(l.w, "FTableNumber"), QStringLiteral("200"));
    click(l.w, "NeFirstStop");
    click(l.w, "NeFirstStop");  // 21 is the last
    QCOMPARE(textOf(l.w, "FirstStop"), QStringLiteral("21"));
    QCOMPARE(textOf(l.w, "FTableNumber"), QStringLiteral("210"));
    typeInto(l.w, "FirstStop", "2");
    click(l.w, "PrFirstStop");
    click(l.w, "PrFirstStop");  // below 1 the box puts 1 back
    QCOMPARE(textOf(l.w, "FirstStop"), QStringLiteral("1"));
    QCOMPARE(e.key().firstStop, 1);
}

void TestAssignment::valueBoxes_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("textLeft");  // once Save, pressed with the focus kept, has left it
    QTest::addColumn<int>("storedLeft");
    // A text the range clears stores what the box held before the typing; Save leaves the box.
    QTest::newRow("FTableNumber 600 empties the box") << "FTableNumber"
                                                      << "600"
                                                      << "" << 1 << "1" << 1;
    QTest::newRow("NowTableNo 600 empties the box") << "NowTableNo"
                                                    << "600"
                                                    << "" << 1 << "1" << 1;
    QTest::newRow("FTableNumber 0 becomes 1") << "FTableNumber"
                                              << "0"
                                              << "1" << 1 << "1" << 1;
    QTest::newRow("FTableNumber 512") << "FTableNumber"
                                      << "512"
                                      << "512" << 512 << "512" << 512;
    QTest::newRow("FirstStop 30 empties the box") << "FirstStop"
                                                  << "30"
                                                  << "" << 1 << "1" << 1;
    QTest::newRow("FirstStop 0 becomes 1") << "FirstStop"
                                           << "0"
                                           << "1" << 1 << "1" << 1;
    QTest::newRow("FirstStop 21") << "FirstStop"
                                  << "21"
                                  << "21" << 21 << "21" << 21;
    QTest::newRow("BTNo 600 becomes 1") << "BTNo_3"
                                        << "600"
                                        << "1" << 1 << "1" << 1;
    QTest::newRow("BTNo 0 becomes 1") << "BTNo_3"
                                      << "0"
                                      << "1" << 1 << "1" << 1;
    QTest::newRow("BTNo 512") << "BTNo_3"
                              << "512"
                              << "512" << 512 << "512" << 512;
    QTest::newRow("TablePr 300 becomes 0") << "TablePr_3"
                                           << "300"
                                           << "0" << 0 << "0" << 0;
    QTest::newRow("TablePr 256") << "TablePr_3"
                                 << "256"
                                 << "256" << 256 << "256" << 256;
    QTest::newRow("TablePr left empty gets 1") << "TablePr_3"
                                               << "7\b"
                                               << "" << 0 << "1" << 1;
    QTest::newRow("letters dropped") << "TablePr_3"
                                     << "1x2"
                                     << "12" << 12 << "12" << 12;
}

void TestAssignment::valueBoxes() {
    QFETCH(QString, box);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(int, stored);
    QFETCH(QString, textLeft);
    QFETCH(int, storedLeft);
    LoadedWindow l;
    const ControlEditor& e = l.w.editor();
    auto field = [&]() -> int {
        const BaseSlot& slot = e.document().baseSlot(1, 3);
        if (box == QLatin1String("FTableNumber")) return e.document().assignment(e.key());
        if (box == QLatin1String("FirstStop")) return e.key().firstStop;
        if (box == QLatin1String("NowTableNo")) return e.currentStopTable();
        return box.startsWith(QLatin1String("BTNo")) ? slot.table : slot.probability;
    };
    auto* edit = child<QLineEdit>(l.w, box);
    typeInto(edit, keys.left(keys.indexOf('\b')));
    if (keys.endsWith('\b')) QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), text);
    QCOMPARE(field(), stored);
    answerFile(l.w, l.dialogs, "SaveConFile", l.dir.filePath("boxes.rcf"));
    QVERIFY(!l.w.editor().isModified());
    QCOMPARE(edit->text(), textLeft);
    QCOMPARE(field(), storedLeft);
}

void TestAssignment::baseTableView() {
    LoadedWindow l;
    typeInto(l.w, "BTableNo", "4");
    // A slot never set holds table 0, which its box shows (and stores) as 1.
    QCOMPARE(textOf(l.w, "BTNo_0"), QStringLiteral("1"));
    QCOMPARE(l.w.document().baseSlot(4, 0).table, 1);
    typeInto(l.w, "BTNo_7", "77");
    typeInto(l.w, "TablePr_7", "128");
    click(l.w, "NeBTableNo");
    QCOMPARE(textOf(l.w, "BTNo_7"), QStringLiteral("1"));
    QCOMPARE(textOf(l.w, "TablePr_7"), QStringLiteral("0"));
    click(l.w, "PrBTableNo");
    QCOMPARE(textOf(l.w, "BTNo_7"), QStringLiteral("77"));
    QCOMPARE(textOf(l.w, "TablePr_7"), QStringLiteral("128"));
    QCOMPARE(l.w.document().baseSlot(4, 7), (BaseSlot{128, 77}));
    QCOMPARE(l.w.document().baseSlot(5, 7), (BaseSlot{0, 1}));
}

void TestAssignment::anotherReelFileKeepsTheRules() {
    LoadedWindow l;
    click(l.w, option(2));
    loadReelData(l.w, l.dialogs, writeReelData(l.dir, "again.sdf"));
    for (int n : {5, 6, 8, 9, 11, 15}) QVERIFY2(!isEnabled(l.w, option(n)), qPrintable(option(n)));
    QVERIFY(isChecked(l.w, option(2)));
}

QTEST_MAIN(TestAssignment)
#include "tst_assignment.moc"
