// The pay-line group through the real window: the cell rules, the order in which lines are
// filled, the bet choice and the region number box.

#include <QRadioButton>

#include "machinewindowtest.h"
#include "picturebox.h"

using namespace machinetest;

namespace {

struct LineWindow {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    MachineWindow w{dialogs};
    LineWindow() {
        if (!activeWindow(w) || !readReels(w, dialogs, writeReels(dir.path(), "reels.sdf", 2)))
            qWarning("window not ready");
        showTab(w, 1);
    }
    void clickCell(int k) { click(w, QStringLiteral("PicReal_%1").arg(k)); }
    // The cells of a line as the grid shows them and as the machine holds them; false when the
    // two differ.
    bool shownCells(int bet, int line, QList<int>* chosen) {
        const QColor on = w.palette().color(QPalette::WindowText);
        for (int k = 0; k < 15; ++k) {
            const bool stored = w.document().lineCell[bet][line][k] == 1;
            if (stored !=
                (child<PictureBox>(w, QStringLiteral("PicReal_%1").arg(k))->colour() == on))
                return false;
            if (stored) chosen->append(k);
        }
        return true;
    }
};

}  // namespace

class PayLinesTest : public QObject {
    Q_OBJECT
private slots:
    void cellClicks_data();
    void cellClicks();
    void linesAreFilledInOrder();
    void betChoiceShowsItsFirstLine();
    void regionNumberHoldsOneDigit_data();
    void regionNumberHoldsOneDigit();
};

void PayLinesTest::cellClicks_data() {
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QList<int>>("chosen");
    QTest::addColumn<bool>("nextLine");  // whether ">>" then moves on
    QTest::newRow("top then middle of the centre reel")
        << QList<int>{5, 7} << QList<int>{7} << false;
    QTest::newRow("a chosen cell clicked again is cleared")
        << QList<int>{0, 5, 10, 10} << QList<int>{0, 5} << false;
    QTest::newRow("one cell on each reel") << QList<int>{1, 6, 14} << QList<int>{1, 6, 14} << true;
    QTest::newRow("a reel's cell replaced")
        << QList<int>{1, 6, 14, 12} << QList<int>{1, 6, 12} << true;
    QTest::newRow("nothing chosen") << QList<int>{} << QList<int>{} << false;
}

void PayLinesTest::cellClicks() {
    QFETCH(QList<int>, clicks);
    QFETCH(QList<int>, chosen);
    QFETCH(bool, nextLine);
    LineWindow l;
    for (int k : clicks) l.clickCell(k);
    QList<int> shown;
    QVERIFY(l.shownCells(0, 0, &shown));
    QCOMPARE(shown, chosen);
    click(l.w, "Command10");
    QCOMPARE(text(l.w, "TextLine"), nextLine ? QStringLiteral("2") : QStringLiteral("1"));
    shown.clear();
    QVERIFY(l.shownCells(0, nextLine ? 1 : 0, &shown));
    QCOMPARE(shown, nextLine ? QList<int>{} : chosen);
}

void PayLinesTest::linesAreFilledInOrder() {
    LineWindow l;
    for (int line = 0; line < 5; ++line) {
        for (int k : {line % 5, 5 + line % 5, 14 - line % 5}) l.clickCell(k);
        typeInto(l.w, "Text1", QString::number(line + 1));
        click(l.w, "Command10");
    }
    QCOMPARE(text(l.w, "TextLine"), QStringLiteral("5"));  // line 5 is the last
    for (int i = 0; i < 2; ++i) click(l.w, "Command9");
    QCOMPARE(text(l.w, "Text1"), QStringLiteral("3"));
    // Emptying a line again keeps the next one closed.
    l.clickCell(2);
    click(l.w, "Command10");
    QCOMPARE(text(l.w, "TextLine"), QStringLiteral("3"));
    for (int i = 0; i < 5; ++i) click(l.w, "Command9");
    QCOMPARE(text(l.w, "TextLine"), QStringLiteral("1"));
    const MachineSpec& m = l.w.document();
    for (int line = 0; line < 5; ++line) QCOMPARE(m.lineArea[0][line], line + 1);
    // The slots past what the file holds stay untouched.
    QCOMPARE(m.lineArea[0][5], 0);
    for (const auto& line : m.lineCell[0]) QCOMPARE(line[15], 0);
}

void PayLinesTest::betChoiceShowsItsFirstLine() {
    LineWindow l;
    for (int k : {0, 5, 10}) l.clickCell(k);
    click(l.w, "Command10");
    click(l.w, "OptionBet_1");
    QCOMPARE(text(l.w, "TextLine"), QStringLiteral("1"));
    QList<int> shown;
    QVERIFY(l.shownCells(1, 0, &shown));
    QVERIFY(shown.isEmpty());
    typeInto(l.w, "Text1", "4");
    l.clickCell(3);
    click(l.w, "OptionBet_0");
    QCOMPARE(text(l.w, "Text1"), QStringLiteral("0"));
    QVERIFY(l.shownCells(0, 0, &shown));
    QCOMPARE(shown, (QList<int>{0, 5, 10}));
    click(l.w, "OptionBet_1");
    QCOMPARE(text(l.w, "Text1"), QStringLiteral("4"));
    QCOMPARE(l.w.document().lineCell[1][0][3], 1);
    QVERIFY(child<QRadioButton>(l.w, "OptionBet_1")->isChecked());
}

void PayLinesTest::regionNumberHoldsOneDigit_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("area");
    QTest::newRow("each key replaces the digit") << "34"
                                                 << "4" << 4;
    QTest::newRow("6 to 9 refused") << "36789"
                                    << "3" << 3;
    QTest::newRow("5 is the highest") << "5"
                                      << "5" << 5;
    QTest::newRow("Backspace empties, the number before stays") << "2\b"
                                                                << "" << 0;
}

void PayLinesTest::regionNumberHoldsOneDigit() {
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(int, area);
    LineWindow l;
    QLineEdit* region = box(l.w, "Text1");
    region->setFocus();
    for (QChar c : keys)
        c == u'\b' ? QTest::keyClick(region, Qt::Key_Backspace)
                   : QTest::keyClick(region, c.toLatin1());
    QCOMPARE(region->text(), text);
    QCOMPARE(l.w.document().lineArea[0][0], area);
    QTest::keyClicks(box(l.w, "TextLine"), "3");  // the line number is not typed
    QCOMPARE(machinetest::text(l.w, "TextLine"), QStringLiteral("1"));
}

QTEST_MAIN(PayLinesTest)
#include "tst_paylines.moc"
