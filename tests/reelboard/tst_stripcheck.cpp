// The reel strips and the check window through the real window: placing symbols by
// double-click and drag, scrolling the check window, and what Load redraws.

#include <QLabel>

#include "checkwindow.h"
#include "reelwindowtest.h"

using namespace reelboard;

using namespace reeltest;

namespace {

const char* const ReelLetters = "LCR";
const char* const RowSuffix[5] = {"UU", "U", "M", "D", "DD"};

QStringList reelLabels(Form1& w, int reelIndex) {
    QStringList texts;
    for (const char* row : RowSuffix)
        texts << child<QLabel>(
                     w, QStringLiteral("Label%1%2").arg(QChar(ReelLetters[reelIndex])).arg(row))
                     ->text();
    return texts;
}

QString scrollButton(int reelIndex, bool up) {
    return QStringLiteral("Com%1%2").arg(QChar(ReelLetters[reelIndex])).arg(up ? "Up" : "Down");
}

QString strip(int c) { return QStringLiteral("ImgReal_%1").arg(c); }
QString check(int i) { return QStringLiteral("ImgChk_%1").arg(i); }

}  // namespace

class TestStripCheck : public QObject {
    Q_OBJECT
private slots:
    void startUp();
    void scrolling_data();
    void scrolling();
    void doubleClickWithoutLitPicture();
    void placementOnShownPosition_data();
    void placementOnShownPosition();
    void stripCellsMatchTheFile();
    void dropOnCheckCellDoesNothing();
    void loadRedrawsStripAndCheckWindow();

private:
    QTemporaryDir dir_;
};

void TestStripCheck::startUp() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    for (int c = 0; c < reel::CellCount; ++c) {
        const QImage& shown = cell(w, strip(c))->picture();
        QCOMPARE(shown.size(), QSize(72, 36));
        QCOMPARE(colourOf(shown), 0xffffffffu);
    }
    for (int r = 0; r < reel::ReelCount; ++r)
        QCOMPARE(reelLabels(w, r), QStringList({"1", "21", "20", "19", "18"}));
    for (int p = 0; p < reel::PositionCount; ++p)
        QCOMPARE(child<QLabel>(w, QStringLiteral("LabelPos_%1").arg(p))->text(),
                 reel::positionLabel(p));
    QVERIFY(!w.isModified());
}

void TestStripCheck::scrolling_data() {
    QTest::addColumn<int>("reelIndex");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QStringList>("labels");
    for (int r = 0; r < reel::ReelCount; ++r) {
        const QByteArray reelName = QByteArray(1, ReelLetters[r]);
        QTest::addRow("%s up once", reelName.constData())
            << r << true << 1 << QStringList{"2", "1", "21", "20", "19"};
        QTest::addRow("%s down once", reelName.constData())
            << r << false << 1 << QStringList{"21", "20", "19", "18", "17"};
        QTest::addRow("%s up 21 times", reelName.constData())
            << r << true << 21 << QStringList{"1", "21", "20", "19", "18"};
        QTest::addRow("%s down 22 times", reelName.constData())
            << r << false << 22 << QStringList{"21", "20", "19", "18", "17"};
    }
}

void TestStripCheck::scrolling() {
    QFETCH(int, reelIndex);
    QFETCH(bool, up);
    QFETCH(int, presses);
    QFETCH(QStringList, labels);
    QTemporaryDir folder;
    ReelDataDocument saved;
    for (int p = 0; p < reel::PositionCount; ++p)
        for (int r = 0; r < reel::ReelCount; ++r)
            saved.arrangement[reel::cellOf(r, p)] = (p + r) % reel::SymbolCount;
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(loadReelFile(w, dialogs, writeReelFile(folder, "m.sdf", saved)));
    for (int i = 0; i < presses; ++i) click(w, scrollButton(reelIndex, up));
    for (int r = 0; r < reel::ReelCount; ++r) {
        const QStringList want = r == reelIndex ? labels : QStringList{"1", "21", "20", "19", "18"};
        QCOMPARE(reelLabels(w, r), want);
        for (int k = 0; k < 5; ++k) {
            // Each cell shows the lit picture of the symbol at the position its label names.
            const int position = want[k].toInt() - 1;
            QCOMPARE(w.editor().checkPositions()[r * 5 + k], position);
            const int symbol = saved.arrangement[reel::cellOf(r, position)];
            QCOMPARE(colourOf(cell(w, check(r * 5 + k))->picture()), symbolColour(symbol));
        }
    }
    QVERIFY(!w.isModified());
    QVERIFY(w.document().sameData(saved));
}

void TestStripCheck::doubleClickWithoutLitPicture() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    loadPicture(w, dialogs, 0, makePicture(dir_, "one.bmp", 8, 8, 0xffff0000));
    click(w, "Command3");  // symbol 2, no picture yet
    forgetChanges(w);
    const int target = reel::cellOf(1, 20);
    doubleClick(w, cell(w, strip(target)));
    QCOMPARE(w.document().arrangement[target], 1);
    QVERIFY(cell(w, strip(target))->picture().isNull());
    QVERIFY(w.isModified());
    // Row 1 of the centre reel shows position 20 at start-up: it now has no picture either.
    QVERIFY(cell(w, check(6))->picture().isNull());
    QCOMPARE(colourOf(cell(w, check(5))->picture()), 0xffff0000u);
}

void TestStripCheck::placementOnShownPosition_data() {
    QTest::addColumn<int>("reelIndex");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("checkCell");  // -1: not shown
    QTest::addColumn<bool>("byDrag");
    QTest::newRow("left position 0, row 0") << 0 << 0 << 0 << false;
    QTest::newRow("left position 20, row 1") << 0 << 20 << 1 << true;
    QTest::newRow("centre position 18, row 3") << 1 << 18 << 8 << false;
    QTest::newRow("right position 17, row 4") << 2 << 17 << 14 << true;
    QTest::newRow("right position 16, not shown") << 2 << 16 << -1 << true;
}

void TestStripCheck::placementOnShownPosition() {
    QFETCH(int, reelIndex);
    QFETCH(int, position);
    QFETCH(int, checkCell);
    QFETCH(bool, byDrag);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    loadPicture(w, dialogs, 0, makePicture(dir_, "one.bmp", 8, 8, 0xffff0000));
    click(w, "Command3");
    loadPicture(w, dialogs, 0, makePicture(dir_, "two.bmp", 8, 8, 0xff0000ff));
    int redraws = 0;
    connect(w.checkWindow(), &CheckWindow::redrawn, this, [&] { ++redraws; });
    auto* target = cell(w, strip(reel::cellOf(reelIndex, position)));
    if (byDrag)
        QVERIFY(dragSymbolTo(w, target));
    else
        doubleClick(w, target);
    QCOMPARE(redraws, 1);
    for (int i = 0; i < CheckCellCount; ++i)
        QCOMPARE(colourOf(cell(w, check(i))->picture()),
                 i == checkCell ? 0xff0000ffu : 0xffff0000u);
}

void TestStripCheck::stripCellsMatchTheFile() {
    // The cell at the top of the centre column is position 21 of the centre reel: the first
    // arrangement line of the file, middle number.
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    loadPicture(w, dialogs, 0, makePicture(dir_, "one.bmp", 8, 8, 0xffff0000));
    for (int s = 1; s <= 2; ++s) {
        click(w, "Command3");
        loadPicture(w, dialogs, 0,
                    makePicture(dir_, QStringLiteral("s%1.bmp").arg(s), 8, 8, 0xff00ff00));
    }
    doubleClick(w, w.childAt(104 + 10, 32 + 10));   // centre reel, top row
    doubleClick(w, w.childAt(176 + 10, 512 + 10));  // right reel, bottom row
    const QString path = dir_.filePath("strip.sdf");
    dialogs.fileAnswers << path;
    click(w, "Command5");
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    const int first = lines.indexOf("# real arrangement\r") + 1;
    QCOMPARE(lines[first], QByteArray("1,3,1\r"));
    QCOMPARE(lines[first + 20], QByteArray("1,1,3\r"));
}

void TestStripCheck::dropOnCheckCellDoesNothing() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    loadPicture(w, dialogs, 0, makePicture(dir_, "one.bmp", 8, 8, 0xffff0000));
    click(w, "Command3");
    loadPicture(w, dialogs, 0, makePicture(dir_, "two.bmp", 8, 8, 0xff0000ff));
    forgetChanges(w);
    const ReelDataDocument before = w.document();
    for (const QString& name :
         {check(0), check(7), QStringLiteral("LabelPicIndex"), QStringLiteral("Frame1")})
        QVERIFY(dragSymbolTo(w, child<QWidget>(w, name)));
    QVERIFY(w.document().sameData(before));
    QVERIFY(!w.isModified());
    for (int i = 0; i < CheckCellCount; ++i)
        QCOMPARE(colourOf(cell(w, check(i))->picture()), 0xffff0000u);
}

void TestStripCheck::loadRedrawsStripAndCheckWindow() {
    QTemporaryDir folder;
    ReelDataDocument saved;
    for (int c = 0; c < reel::CellCount; ++c) saved.arrangement[c] = c % reel::SymbolCount;
    const QString reelFile = writeReelFile(folder, "m.sdf", saved);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    click(w, scrollButton(1, true));  // the check window keeps its scroll across a load
    QVERIFY(loadReelFile(w, dialogs, reelFile));
    for (int c = 0; c < reel::CellCount; ++c)
        QCOMPARE(colourOf(cell(w, strip(c))->picture()), symbolColour(c % reel::SymbolCount));
    QCOMPARE(reelLabels(w, 1), QStringList({"2", "1", "21", "20", "19"}));
    for (int i = 0; i < CheckCellCount; ++i) {
        const int reelIndex = i / 5;
        const int symbol =
            saved.arrangement[reel::cellOf(reelIndex, w.editor().checkPositions()[i])];
        QCOMPARE(colourOf(cell(w, check(i))->picture()), symbolColour(symbol));
    }
}

QTEST_MAIN(TestStripCheck)
#include "tst_stripcheck.moc"
