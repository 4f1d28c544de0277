// A whole reel file made through the window alone - pictures, strips, prizes and flash
// actions - saved, read back by a fresh window and saved again byte for byte.

#include <QAbstractItemView>
#include <QComboBox>

#include "reelwindowtest.h"

using namespace reelboard;

using namespace reeltest;

namespace {

void goToSymbol(Form1& w, int symbol) {
    while (w.editor().currentSymbol() > symbol) click(w, "Command2");
    while (w.editor().currentSymbol() < symbol) click(w, "Command3");
}

void typeInto(Form1& w, const QString& name, const QString& digits) {
    auto* box = child<QLineEdit>(w, name);
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, digits);
}

void chooseKind(Form1& w, int state, int kind) {
    auto* box = child<QComboBox>(w, QStringLiteral("ComboBID_%1").arg(state));
    box->showPopup();
    QAbstractItemView* view = box->view();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(kind, 0)).center());
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestReelRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void madeInTheWindow();
};

void TestReelRoundTrip::madeInTheWindow() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));

    // Seven symbols; symbol 1 has its own unlit and flash pictures.
    for (int s = 0; s < reel::SymbolCount; ++s) {
        goToSymbol(w, s);
        loadPicture(
            w, dialogs, 0,
            makePicture(dir, QStringLiteral("sym%1.bmp").arg(s + 1), 30, 15, symbolColour(s)));
    }
    goToSymbol(w, 0);
    loadPicture(w, dialogs, 1, makePicture(dir, "sym1d.bmp", 30, 15, 0xff000000));
    loadPicture(w, dialogs, 2, makePicture(dir, "sym1f.jpg", 30, 15, 0xffffff00, "JPEG"));
    click(w, "Option1");

    // Strips: cell c gets symbol (c * 5) % 7, by double-click, every ninth cell by drag.
    for (int s = 0; s < reel::SymbolCount; ++s) {
        goToSymbol(w, s);
        for (int c = 0; c < reel::CellCount; ++c) {
            if ((c * 5) % 7 != s) continue;
            auto* target = cell(w, QStringLiteral("ImgReal_%1").arg(c));
            if (c % 9 == 0)
                QVERIFY(dragSymbolTo(w, target));
            else
                doubleClick(w, target);
        }
    }

    // Three prizes.
    const struct {
        int symbols[3];  // -1: any symbol
        const char* pays[3];
        int kinds[3];
    } prizes[] = {{{6, 6, 6}, {"15", "15", "2"}, {1, 0, 0}},
                  {{4, -1, 4}, {"8", "", "0"}, {6, 7, 0}},
                  {{-1, 2, -1}, {"3", "3", "3"}, {7, 7, 7}}};
    for (int e = 0; e < 3; ++e) {
        if (e > 0) click(w, "ComBINe");
        for (int r = 0; r < 3; ++r) {
            if (prizes[e].symbols[r] < 0) continue;
            goToSymbol(w, prizes[e].symbols[r]);
            QVERIFY(dragSymbolTo(w, cell(w, QStringLiteral("ImgHantei_%1").arg(r))));
        }
        for (int s = 0; s < 3; ++s) {
            if (*prizes[e].pays[s])
                typeInto(w, QStringLiteral("TextPay_%1").arg(s), prizes[e].pays[s]);
            chooseKind(w, s, prizes[e].kinds[s]);
        }
    }
    QCOMPARE(w.document().lastPrizeIndex, 2);

    // Two flash actions: 100 ms and 50 ms frames, then a 30 ms frame of the second action.
    auto clickCheck = [&](int i) { click(w, QStringLiteral("ImgChk_%1").arg(i)); };
    clickCheck(0);
    clickCheck(7);
    typeInto(w, "TextFLWait", "100");
    click(w, "Command9");
    click(w, "Command12");
    clickCheck(14);
    typeInto(w, "TextFLWait", "50");
    click(w, "Command9");
    typeInto(w, "TextFLWait", "0");
    click(w, "Command7");
    click(w, "Command12");
    clickCheck(2);
    clickCheck(12);
    typeInto(w, "TextFLWait", "30");
    QCOMPARE(w.document().flashActionCount, 2);

    const QString first = dir.filePath("made.sdf");
    dialogs.fileAnswers << first;
    click(w, "Command5");
    QVERIFY(!w.isModified());
    const QByteArray written = fileBytes(first);
    QVERIFY(written.contains("\r\n# number of prize\r\n2\r\n"));
    QVERIFY(written.contains("\r\n6,6,6\r\n15,15,2\r\n1,0,0\r\n4,100,4\r\n8,0,0\r\n6,7,0\r\n"));
    QVERIFY(written.contains("\r\n# number of flash action\r\n2\r\n"));

    // A fresh window reads it back and writes the same bytes.
    ScriptedDialogs freshDialogs;
    Form1 fresh(freshDialogs);
    QVERIFY(loadReelFile(fresh, freshDialogs, first));
    QVERIFY(fresh.document().sameData(w.document()));
    const QString second = dir.filePath("again.sdf");
    freshDialogs.fileAnswers << second;
    click(fresh, "Command5");
    QCOMPARE(fileBytes(second), written);
    QVERIFY(freshDialogs.shown.isEmpty());
}

QTEST_MAIN(TestReelRoundTrip)
#include "tst_reelroundtrip.moc"
