// Undo and redo through the real position window: random drags, moves, clears, value typing
// and picture changes on the sample machine, then the file comes back byte for byte; the
// window shows the document after every step; undo and redo show what they changed.

#include <QComboBox>
#include <QRandomGenerator>

#include "givenfiletest.h"
#include "poswindowtest.h"

using namespace postest;

namespace {

// The controls show the document: every value field and coordinate text, the selector and
// the selected slot's picture name; the selected entry's caption is the one marked.
bool showsDocument(Form1& w) {
    const PositionEditor& e = w.editor();
    bool same =
        child<QComboBox>(w, QStringLiteral("ComboBodyFile"))->currentIndex() == e.selectedSlot() &&
        text(w, "LabelBodyFile") == e.document().pictureSlots[e.selectedSlot()].fileName;
    for (int k = 0; k < pos::EntryCount; ++k)
        same = same && valueField(w, k)->text() == e.document().entries[k].value &&
               coordinates(w, k) == e.coordinateText(k) &&
               captionSelected(w, k) == (k == e.selectedEntry());
    return same;
}

class Driver {
public:
    Driver(Form1& w, ScriptedDialogs& dialogs, const QStringList& pictures, quint32 seed)
        : w_(w), dialogs_(dialogs), pictures_(pictures), rng_(seed) {}

    // One random step: an edit, or a slot, page or entry chosen.
    void run() {
        PositionEditor& e = w_.editor();
        switch (pick(8)) {
            case 0:
                chooseSlot(w_, pick(pos::SlotCount));
                break;
            case 1:
                clickCaption(w_, pick(pos::EntryCount));
                break;
            case 2:
                loadSlotPicture(w_, dialogs_, pick(pos::SlotCount),
                                pictures_[pick(int(pictures_.size()))]);
                break;
            case 3: {
                const int entry = pick(pos::EntryCount);
                turnToPageOf(w_, entry);
                const bool correction = entry < pos::CorrectionEntryCount;
                wintest::typeInto(valueField(w_, entry), correction
                                                             ? QString::number(pick(65536) - 32768)
                                                             : QString::number(pick(9)));
                break;
            }
            case 4:
                QTest::mousePress(surface(w_), Qt::RightButton, {}, point());
                break;
            case 5:
                if (w_.canvas().editMode() == Mode::Drawing ||
                    w_.canvas().editMode() == Mode::Moving) {
                    // A press inside the current rectangle moves it.
                    const QRect r = w_.canvas().currentRect().translated(-w_.canvas().viewOffset());
                    const QPoint inside(r.left() + 1 + pick(std::max(r.width() - 1, 1)),
                                        r.top() + 1 + pick(std::max(r.height() - 1, 1)));
                    if (surface(w_)->rect().contains(inside)) {
                        drag(w_, inside, inside + QPoint(pick(41) - 20, pick(41) - 20));
                        break;
                    }
                }
                [[fallthrough]];
            default:
                if (e.selectedEntry() < 0) clickCaption(w_, pick(pos::EntryCount));
                // Drags of every length, a click among them (a one-pixel rectangle).
                drag(w_, point(), point(), pick(4));
        }
    }

    // Ctrl+Z, or Ctrl+Y and Ctrl+Shift+Z in turn, in whatever control has the focus.
    void pressHistoryKey(bool redo) { wintest::pressHistoryKey(w_, redo, redo && pick(2)); }

    int pick(int n) { return int(rng_.bounded(quint32(n))); }

private:
    QPoint point() {
        const QSize view = surface(w_)->size();
        return {pick(view.width()), pick(view.height())};
    }

    Form1& w_;
    ScriptedDialogs& dialogs_;
    QStringList pictures_;
    QRandomGenerator rng_;
};

}  // namespace

class TestUndo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void randomEditsComeBack_data();
    void randomEditsComeBack();
    void undoShowsWhatChanged_data();
    void undoShowsWhatChanged();
    void keyDuringDragDropsIt();
    void samePictureIsShared();

private:
    void save(Form1& w, ScriptedDialogs& dialogs, const QString& name);

    QTemporaryDir dir_;
    QString sample_;
    QStringList pictures_;
};

void TestUndo::initTestCase() {
    QVERIFY(giventest::copySample(dir_.path()));
    sample_ = dir_.filePath(QStringLiteral("machine.ppf"));
    pictures_ = {dir_.filePath(QStringLiteral("cabinet.bmp")), dir_.filePath("digits.bmp"),
                 writePicture(dir_, "wide.bmp", 900, 300), writePicture(dir_, "tall.bmp", 80, 700)};
}

void TestUndo::save(Form1& w, ScriptedDialogs& dialogs, const QString& name) {
    wintest::clickAnswering(w, dialogs, QStringLiteral("Command4"), dir_.filePath(name));
    QVERIFY(!w.isModified());
}

void TestUndo::randomEditsComeBack_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("steps");
    for (quint32 seed : {1u, 2u, 3u, 4u}) QTest::addRow("seed %u", seed) << seed << 60;
}

void TestUndo::randomEditsComeBack() {
    QFETCH(quint32, seed);
    QFETCH(int, steps);
    Window w;
    Driver driver(w, w.dialogs, pictures_, seed);
    wintest::clickAnswering(w, w.dialogs, QStringLiteral("Command3"), sample_);
    const QByteArray loaded = readAll(sample_);
    QStringList texts;
    for (int k = 0; k < pos::EntryCount; ++k) texts << coordinates(w, k);
    for (int k = 0; k < steps; ++k) driver.run();
    QVERIFY(w.editor().canUndo());
    save(w, w.dialogs, "a.ppf");

    for (bool redo : {false, true}) {
        QVERIFY(wintest::walkHistory(
                    w.editor(), redo, [&] { driver.pressHistoryKey(redo); },
                    [&] { return showsDocument(w); }) >= 0);
        save(w, w.dialogs, redo ? "c.ppf" : "b.ppf");
        for (int k = 0; k < pos::EntryCount && !redo; ++k) QCOMPARE(coordinates(w, k), texts[k]);
    }
    QCOMPARE(readAll(dir_.filePath("b.ppf")), loaded);
    QCOMPARE(readAll(dir_.filePath("c.ppf")), readAll(dir_.filePath("a.ppf")));
}

void TestUndo::undoShowsWhatChanged_data() {
    QTest::addColumn<QString>("edit");  // the edit undone, after which the view moves on
    QTest::newRow("a click over a drawn rectangle") << "click";
    QTest::newRow("a rectangle on another slot and page") << "slot";
    QTest::newRow("a value on another page") << "value";
    QTest::newRow("a picture of another slot") << "picture";
}

void TestUndo::undoShowsWhatChanged() {
    QFETCH(QString, edit);
    Window w;
    wintest::clickAnswering(w, w.dialogs, QStringLiteral("Command3"), sample_);
    const PlacementEntry first = w.document().entries[30];
    const QString firstText = coordinates(w, 30);
    chooseSlot(w, 1);
    clickCaption(w, 30);
    if (edit == "click") {
        drag(w, QPoint(10, 20), QPoint(59, 79));
        drag(w, QPoint(200, 100), QPoint(200, 100), 0);
        QCOMPARE(w.canvas().currentRect(), QRect(200, 100, 1, 1));
    } else if (edit == "slot") {
        drag(w, QPoint(10, 20), QPoint(59, 79));
        chooseSlot(w, 5);
        clickCaption(w, 2);
    } else if (edit == "value") {
        wintest::typeInto(valueField(w, 30), QStringLiteral("4"));
        clickCaption(w, 3);
    } else {
        loadSlotPicture(w, w.dialogs, 7, pictures_[2]);
        chooseSlot(w, 0);
    }
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(showsDocument(w));
    // Back at the file as read, there is nothing to save.
    QCOMPARE(w.isModified(), edit == "click");
    if (edit == "picture") {
        QCOMPARE(w.editor().selectedSlot(), 7);
        QVERIFY(child(w, "Label7")->isVisible());  // slot 7 has no picture again
        QCOMPARE(w.canvas().editMode(), Mode::NoPicture);
        return;
    }
    QCOMPARE(w.editor().selectedSlot(), 1);
    QCOMPARE(w.editor().selectedEntry(), 30);
    QCOMPARE(w.editor().currentPage(), pos::entryPage(30));
    QVERIFY(child(w, "PFrame_2")->isVisible());
    const QRect drawn(10, 20, 50, 60);
    if (edit == "value") {
        QCOMPARE(w.document().entries[30], first);
    } else if (edit == "click") {
        // The rectangle before the click is back, outlined, and moves again.
        QCOMPARE(coordinates(w, 30), QStringLiteral(" 10 , 20 - 59 , 79"));
        QCOMPARE(w.canvas().currentRect(), drawn);
        QVERIFY(viewShows(w, w.document().pictureSlots[1].image, drawn, drawn));
        drag(w, QPoint(30, 40), QPoint(35, 37));
        QCOMPARE(w.document().entries[30].left, 15);
        return;
    } else {
        QCOMPARE(coordinates(w, 30), firstText);
        QCOMPARE(w.document().entries[30], first);
    }
    // The stored rectangle is the current one again.
    QCOMPARE(w.canvas().currentRect(), QRect(first.left, first.top, first.width(), first.height()));
}

void TestUndo::keyDuringDragDropsIt() {
    Window w;
    loadSlotPicture(w, w.dialogs, 0, pictures_[0]);
    clickCaption(w, 4);
    drag(w, QPoint(10, 20), QPoint(59, 79));
    QWidget* s = surface(w);
    QTest::mousePress(s, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(s, QPoint(140, 150));
    QCOMPARE(coordinates(w, 4), QStringLiteral(" 100 , 100 - 140 , 150"));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(140, 150));
    // The drawing before the drag is undone; the dropped drag stored nothing.
    QCOMPARE(coordinates(w, 4), QString());
    QCOMPARE(w.document().entries[4], PlacementEntry());
    QVERIFY(w.editor().canRedo());
    QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(coordinates(w, 4), QStringLiteral(" 10 , 20 - 59 , 79"));
}

void TestUndo::samePictureIsShared() {
    Window w;
    const QString path = writePicture(w.dir, "p.bmp", 40, 30);
    loadSlotPicture(w, w.dialogs, 0, path);
    loadSlotPicture(w, w.dialogs, 3, path);
    const auto& held = w.document().pictureSlots;
    QCOMPARE(held[3].image.cacheKey(), held[0].image.cacheKey());
    // A file written anew is decoded anew.
    QVERIFY(patternPicture(50, 30).save(path, "BMP"));
    QFile(path).setFileTime(QDateTime::currentDateTime().addSecs(5),
                            QFileDevice::FileModificationTime);
    loadSlotPicture(w, w.dialogs, 3, path);
    QCOMPARE(held[3].image.size(), QSize(50, 30));
    QCOMPARE(held[0].image.size(), QSize(40, 30));
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
