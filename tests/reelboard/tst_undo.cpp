// Undo and redo through the real reel window: random edits of every kind, then the file comes
// back byte for byte; the panels show the document after every step; undo and redo select
// what they changed; the quit question follows what undo took back.

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QRandomGenerator>

#include "checkwindow.h"
#include "flashpanel.h"
#include "pictures.h"
#include "reelwindowtest.h"

using namespace reelboard;

using namespace reeltest;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString text(Form1& w, const QString& name) {
    if (auto* box = w.findChild<QLineEdit*>(name)) return box->text();
    if (auto* box = w.findChild<QComboBox*>(name)) return box->currentText();
    return child<QLabel>(w, name)->text();
}

// The steps of a sequence, one letter each: the navigations "n" and "b" (prize >> and <<),
// "N" and "B" (frame), "A" and "a" (action), "S" and "s" (symbol), "0" to "3" (the picture
// state shown); the edits "L" (a picture), "c" (a strip cell), "h" and "H" (a combination
// symbol and any symbol), "p" (a pay), "k" (a kind), "w" (a wait), "l" (a lamp), "Z" and "X"
// (all lamps by button) and "z" and "x" (by key).
constexpr char Navigations[] = "nbNBAaSs0123";
constexpr char Edits[] = "LchHpkwlZXzx";

class Driver {
public:
    Driver(Form1& w, ScriptedDialogs& dialogs, const QStringList& pictures, quint32 seed)
        : w_(w), dialogs_(dialogs), pictures_(pictures), rng_(seed) {}

    // Runs one step; true when a window rule counts it as a change of the document.
    bool run(char step) {
        ReelEditor& e = w_.editor();
        const int prize = e.currentPrize(), symbol = e.currentSymbol();
        const auto lamps = e.document().frame(e.currentFlash(), e.currentFrame()).lamps;
        const QString reelCell = QStringLiteral("ImgReal_%1").arg(pick(reel::CellCount));
        const QString combination = QStringLiteral("ImgHantei_%1").arg(pick(reel::ReelCount));
        const int state = pick(reel::GameStateCount);
        // Typed and chosen values always differ from the ones held, so each is an edit.
        const int pay = (e.document().prizes[prize].pays[state] + 1 + pick(15)) % 16;
        const int kind =
            (e.document().prizes[prize].kinds[state] + 1 + pick(7)) % reel::PrizeKindCount;
        const int held = e.document().frame(e.currentFlash(), e.currentFrame()).wait;
        const int wait = pick(3) ? (held + 1 + pick(899)) % 900 : (held == 0 ? 5 : 0);
        switch (step) {
            case 'n':
                click(w_, "ComBINe");
                break;
            case 'b':
                click(w_, "ComBIPre");
                break;
            case 'N':
                click(w_, "Command9");
                return true;
            case 'B':
                click(w_, "Command8");
                return true;
            case 'A':
                click(w_, "Command7");
                return true;
            case 'a':
                click(w_, "Command6");
                return true;
            case 'S':
                click(w_, "Command3");
                return symbol != e.currentSymbol();
            case 's':
                click(w_, "Command2");
                return symbol != e.currentSymbol();
            case 'L':
                loadPicture(w_, dialogs_, pick(PictureStateCount),
                            pictures_[pick(int(pictures_.size()))]);
                break;
            case 'c':
                pick(2) ? void(dragSymbolTo(w_, cell(w_, reelCell)))
                        : doubleClick(w_, cell(w_, reelCell));
                break;
            case 'h':
                dragSymbolTo(w_, cell(w_, combination));
                break;
            case 'H':
                doubleClick(w_, cell(w_, combination));
                break;
            case 'p':
                wintest::typeInto(w_, QStringLiteral("TextPay_%1").arg(state),
                                  QString::number(pay));
                break;
            case 'w':
                wintest::typeInto(w_, QStringLiteral("TextFLWait"), QString::number(wait));
                break;
            case 'k':
                chooseKind(state, kind);
                break;
            case 'l':
                click(w_, QStringLiteral("ImgChk_%1").arg(pick(CheckCellCount)));
                break;
            case 'Z':
                click(w_, "Command11");
                break;
            case 'X':
                click(w_, "Command12");
                break;
            case 'z':
            case 'x':
                QTest::keyClick(focused(), step);
                break;
            default:
                click(w_, QStringLiteral("Option%1").arg(step - '0' + 1));
        }
        if (QStringLiteral("ZXzx").contains(QLatin1Char(step)))
            return lamps == e.document().frame(e.currentFlash(), e.currentFrame()).lamps;
        const auto& prizes = e.document().prizes;
        return prizes[prize].pays != prizes[e.currentPrize()].pays ||
               prizes[prize].kinds != prizes[e.currentPrize()].kinds;
    }

    // Ctrl+Z, or Ctrl+Y and Ctrl+Shift+Z in turn, in whatever control has the focus.
    void pressHistoryKey(bool redo) { wintest::pressHistoryKey(w_, redo, redo && pick(2)); }

    int pick(int n) { return int(rng_.bounded(quint32(n))); }

private:
    QWidget* focused() {
        QWidget* f = w_.focusWidget();
        return f ? f : &w_;
    }
    void chooseKind(int state, int row) {
        auto* box = child<QComboBox>(w_, QStringLiteral("ComboBID_%1").arg(state));
        box->showPopup();
        QAbstractItemView* view = box->view();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 0)).center());
    }

    Form1& w_;
    ScriptedDialogs& dialogs_;
    QStringList pictures_;
    QRandomGenerator rng_;
};

// The panels show the document: the current entry's pays and kinds, the current frame's wait,
// the selection's numbers, and the strip's and combination's pictures.
bool showsDocument(Form1& w) {
    const ReelEditor& e = w.editor();
    const ReelDataDocument& doc = e.document();
    const reel::PrizeEntry& entry = doc.prizes[e.currentPrize()];
    bool same = text(w, "LabelBonusIndex") == QString::number(e.currentPrize()) &&
                text(w, "LabelFLIndex") == QString::number(e.currentFlash()) &&
                text(w, "LabelFLFlame") == QString::number(e.currentFrame()) &&
                text(w, "LabelPicIndex") == QString::number(e.currentSymbol() + 1) &&
                text(w, "TextFLWait") ==
                    QString::number(doc.frame(e.currentFlash(), e.currentFrame()).wait);
    for (int s = 0; s < reel::GameStateCount; ++s)
        same = same &&
               text(w, QStringLiteral("TextPay_%1").arg(s)) == QString::number(entry.pays[s]) &&
               text(w, QStringLiteral("ComboBID_%1").arg(s)) == reel::prizeKindText(entry.kinds[s]);
    for (int c = 0; c < reel::CellCount; ++c)
        same = same && cell(w, QStringLiteral("ImgReal_%1").arg(c))->picture() ==
                           doc.symbols[doc.arrangement[c]].picture(PictureState::Lit);
    for (int r = 0; r < reel::ReelCount; ++r) {
        const int symbol = entry.symbols[r];
        same = same &&
               cell(w, QStringLiteral("ImgHantei_%1").arg(r))->picture() ==
                   (symbol == reel::AnySymbol ? pictures::anyPicture()
                                              : doc.symbols[symbol].picture(PictureState::Lit));
    }
    return same;
}

}  // namespace

class TestUndo : public QObject {
    Q_OBJECT
private slots:
    void init();
    void randomEditsComeBack_data();
    void randomEditsComeBack();
    void undoShowsWhatChanged_data();
    void undoShowsWhatChanged();
    void keyDuringPreviewEndsItFirst();

private:
    bool undoAll(Driver& driver, Form1& w, bool redo);
    void save(Form1& w, ScriptedDialogs& dialogs, const QString& name);

    QTemporaryDir dir_;
    QString start_;
    QStringList pictures_;
};

void TestUndo::init() {
    ReelDataDocument doc;
    for (int c = 0; c < reel::CellCount; ++c)
        doc.arrangement[c] = static_cast<reel::SymbolIndex>(c % 7);
    doc.lastPrizeIndex = 3;
    for (int p = 0; p <= 3; ++p)
        doc.prizes[p] = {{std::int16_t(p), 100, std::int16_t(6 - p)},
                         {std::int16_t(p * 3), 0, 15},
                         {std::int16_t(p), 0, 7}};
    doc.frame(1, 1).wait = 100;
    doc.frame(1, 2).wait = 200;
    start_ = writeReelFile(dir_, "start.sdf", doc);
    pictures_.clear();
    for (int i = 0; i < 3; ++i)
        pictures_ << makePicture(dir_, QStringLiteral("p%1.bmp").arg(i), 30 + 10 * i, 16,
                                 0xff102030u * (i + 2));
}

bool TestUndo::undoAll(Driver& driver, Form1& w, bool redo) {
    // Sometimes from inside a text box, whose own undo must not run.
    const char* boxes[] = {"TextPay_1", "TextFLWait", "ComboBID_2", "Frame1"};
    child<QWidget>(w, boxes[driver.pick(4)])->setFocus();
    return wintest::walkHistory(
               w.editor(), redo, [&] { driver.pressHistoryKey(redo); },
               [&] { return showsDocument(w); }) >= 0;
}

void TestUndo::save(Form1& w, ScriptedDialogs& dialogs, const QString& name) {
    wintest::clickAnswering(w, dialogs, QStringLiteral("Command5"), dir_.filePath(name));
    QVERIFY(!w.isModified());
}

void TestUndo::randomEditsComeBack_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QString>("steps");  // the letters the sequence is drawn from
    for (quint32 seed : {1u, 2u, 3u})
        QTest::addRow("edits and navigations, seed %u", seed)
            << seed << QString::fromLatin1(Edits) + Navigations;
    for (quint32 seed : {4u, 5u})
        QTest::addRow("edits only, seed %u", seed) << seed << QString::fromLatin1(Edits);
}

void TestUndo::randomEditsComeBack() {
    QFETCH(quint32, seed);
    QFETCH(QString, steps);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(loadReelFile(w, dialogs, start_));
    Driver driver(w, dialogs, pictures_, seed);
    bool marked = false;
    QString done;
    for (int i = 0; i < 40; ++i) {
        const char step = steps.at(driver.pick(int(steps.size()))).toLatin1();
        done += QLatin1Char(step);
        marked = driver.run(step) || marked;
    }
    qInfo("steps %s", qPrintable(done));

    // Everything taken back: the document is the file again, and only a navigation that
    // counts as a change leaves work to save.
    QVERIFY(undoAll(driver, w, false));
    QCOMPARE(sdf::write(w.document()), readAll(start_));
    QCOMPARE(w.isModified(), marked);
    dialogs.answers << Dialogs::Answer::Cancel;
    QCOMPARE(w.close(), !marked);
    QCOMPARE(dialogs.shown.size(), marked ? 1 : 0);
    QVERIFY(showWindow(w));

    QVERIFY(undoAll(driver, w, true));
    save(w, dialogs, "a.sdf");
    QVERIFY(undoAll(driver, w, false));
    save(w, dialogs, "b.sdf");
    QVERIFY(undoAll(driver, w, true));
    save(w, dialogs, "c.sdf");
    QCOMPARE(readAll(dir_.filePath("b.sdf")), readAll(start_));
    QCOMPARE(readAll(dir_.filePath("c.sdf")), readAll(dir_.filePath("a.sdf")));
}

void TestUndo::undoShowsWhatChanged_data() {
    QTest::addColumn<QString>("before");  // steps that lead to what is edited
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("away");  // steps that show something else
    QTest::newRow("a pay of another entry") << "nn"
                                            << "p"
                                            << "bb";
    QTest::newRow("a kind of another entry") << "n"
                                             << "k"
                                             << "b";
    QTest::newRow("a combination symbol") << "nnn"
                                          << "h"
                                          << "bbb";
    QTest::newRow("a wait of another frame") << "N"
                                             << "w"
                                             << "B";
    QTest::newRow("a lamp of another frame") << "N"
                                             << "l"
                                             << "B";
    QTest::newRow("the unlit picture of symbol 2") << "S1"
                                                   << "L"
                                                   << "s0";
    QTest::newRow("the table grown") << "nnn"
                                     << "n"
                                     << "bbbb";
}

void TestUndo::undoShowsWhatChanged() {
    QFETCH(QString, before);
    QFETCH(QString, edit);
    QFETCH(QString, away);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    QVERIFY(loadReelFile(w, dialogs, start_));
    Driver driver(w, dialogs, pictures_, 7);
    const ReelEditor& e = w.editor();
    for (QChar step : before) driver.run(step.toLatin1());
    const ReelDataDocument unedited = e.document();
    // What each selection holds while the step is current: prize, symbol, action, frame.
    auto selection = [&] {
        return QList<int>{e.currentPrize(), e.currentSymbol(), e.currentFlash(), e.currentFrame()};
    };
    const QList<int> atEdit = selection();
    for (QChar step : edit + away) driver.run(step.toLatin1());
    const ReelDataDocument edited = e.document();
    QVERIFY(!edited.sameData(unedited));

    driver.pressHistoryKey(false);
    QVERIFY(e.document().sameData(unedited));
    QCOMPARE(selection(), atEdit);
    QVERIFY(showsDocument(w));
    for (QChar step : away) driver.run(step.toLatin1());
    driver.pressHistoryKey(true);
    QVERIFY(e.document().sameData(edited));
    QVERIFY(showsDocument(w));
}

void TestUndo::keyDuringPreviewEndsItFirst() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    QVERIFY(loadReelFile(w, dialogs, start_));
    w.editor().setFrameWait(1, 2, 30000);  // a preview that would last half a minute
    // Ctrl+Z once the preview shows its first frame.
    connect(
        w.checkWindow(), &CheckWindow::redrawn, this,
        [&] {
            QMetaObject::invokeMethod(
                &w, [&] { QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier); },
                Qt::QueuedConnection);
        },
        Qt::SingleShotConnection);
    click(w, "Command10");
    QVERIFY(!w.flashPanel()->previewRunning());
    QTRY_COMPARE(w.document().frame(1, 2).wait, 200);
    QCOMPARE(w.editor().currentFrame(), 2);
    QCOMPARE(text(w, "TextFLWait"), QString("200"));
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
