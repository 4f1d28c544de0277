// The placement canvas through the real window: drawing, moving, the inside rule, the right
// press, caption selection, the blink, scrolling, and pictures of every size and kind.

#include <QPainter>

#include "poswindowtest.h"
#include "ppfformat.h"

using namespace postest;

namespace {

// A shown window with a picture in slot 0 and entry 4 (or `entry`) selected.
struct Fixture : Window {
    QImage picture;

    explicit Fixture(QSize size = {900, 700}, int entry = 4) : Fixture(QString(), size, entry) {}
    Fixture(const QString& file, QSize size, int entry) {
        loadSlotPicture(
            *this, dialogs, 0,
            file.isEmpty() ? writePicture(dir, "cab.bmp", size.width(), size.height()) : file);
        picture = document().pictureSlots[0].image;
        if (entry >= 0) clickCaption(*this, entry);
    }
    const PlacementEntry& entry(int e = 4) const { return document().entries[e]; }
    QList<int> stored(int e = 4) const {
        return {entry(e).left, entry(e).top, entry(e).right, entry(e).bottom};
    }
    void scrollTo(QPoint offset) {
        bar(*this, "HScroll1")->setValue(offset.x());
        bar(*this, "VScroll1")->setValue(offset.y());
    }
};

}  // namespace

class TestCanvas : public QObject {
    Q_OBJECT
private slots:
    void drawing_data();
    void drawing();
    void nothingWithoutSelectedEntry();
    void moveByOffset();
    void pressOnOutline_data();
    void pressOnOutline();
    void rightPressKeepsStoredRectangle();
    void captionSelection();
    void storedRectangleMarked();
    void blink();
    void pictureSizes_data();
    void pictureSizes();
    void pictureKinds_data();
    void pictureKinds();
    void slotWithoutPicture();
    void wheel_data();
    void wheel();
};

void TestCanvas::drawing_data() {
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QList<int>>("stored");
    QTest::addColumn<QString>("size");
    QTest::newRow("drag") << QPoint(0, 0) << QPoint(10, 20) << QPoint(59, 79) << 4
                          << QList<int>{10, 20, 59, 79} << "50 x 60";
    QTest::newRow("reverse") << QPoint(0, 0) << QPoint(59, 79) << QPoint(10, 20) << 3
                             << QList<int>{10, 20, 59, 79} << "50 x 60";
    QTest::newRow("scrolled") << QPoint(100, 40) << QPoint(10, 20) << QPoint(59, 79) << 2
                              << QList<int>{110, 60, 159, 119} << "50 x 60";
    QTest::newRow("click") << QPoint(0, 0) << QPoint(30, 40) << QPoint(30, 40) << 0
                           << QList<int>{30, 40, 30, 40} << "1 x 1";
    QTest::newRow("pointer kept in the view")
        << QPoint(339, 243) << QPoint(500, 400) << QPoint(700, -50) << 2
        << QList<int>{839, 243, 899, 643} << "61 x 401";
}

void TestCanvas::drawing() {
    QFETCH(QPoint, offset);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(int, steps);
    QFETCH(QList<int>, stored);
    QFETCH(QString, size);
    Fixture f;
    f.scrollTo(offset);
    forgetChanges(f);
    drag(f, from, to, steps);
    QCOMPARE(f.stored(), stored);
    QCOMPARE(f.document().entries[5], PlacementEntry());
    const QString rect = rectangleText(f.entry());
    QCOMPARE(coordinates(f, 4), " " + rect);
    QCOMPARE(status(f, 3), rect);
    QCOMPARE(status(f, 4), size);
    if (steps > 0)
        QCOMPARE(status(f, 1),
                 QStringLiteral("x : %1").arg(offset.x() + std::clamp(to.x(), 0, 560)));
    QCOMPARE(f.canvas().editMode(), Mode::Drawing);
    QVERIFY(f.isModified());
    const QRect outline(QPoint(stored[0], stored[1]) - offset,
                        QPoint(stored[2], stored[3]) - offset);
    QVERIFY(viewShows(f, f.picture, outline));
    QCOMPARE(f.canvas().shownView().pixelColor(outline.bottomRight()), f.canvas().blinkColour());
    // A scroll draws the outline at its place in the moved view.
    f.scrollTo(QPoint(50, 60));
    QVERIFY(viewShows(f, f.picture, outline.translated(offset - QPoint(50, 60))));
}

void TestCanvas::nothingWithoutSelectedEntry() {
    Fixture f({900, 700}, -1);
    forgetChanges(f);
    drag(f, QPoint(10, 20), QPoint(59, 79));
    QVERIFY(viewShows(f, f.picture));
    QVERIFY(!f.isModified());
    for (int e = 0; e < pos::EntryCount; ++e) QCOMPARE(f.document().entries[e], PlacementEntry());
}

void TestCanvas::moveByOffset() {
    Fixture f;
    drag(f, QPoint(10, 20), QPoint(59, 79));
    drag(f, QPoint(30, 40), QPoint(35, 37), 2);
    QCOMPARE(f.stored(), (QList<int>{15, 17, 64, 76}));
    QCOMPARE(coordinates(f, 4), QStringLiteral(" 15 , 17 - 64 , 76"));
    QCOMPARE(status(f, 3), QStringLiteral("15 , 17 - 64 , 76"));
    QCOMPARE(f.canvas().editMode(), Mode::Moving);
    QVERIFY(viewShows(f, f.picture, QRect(QPoint(15, 17), QPoint(64, 76))));
    // After a move the outline stays as last drawn; a click inside leaves the rectangle.
    const QImage shown = f.canvas().shownView();
    blinkTick(f);
    QCOMPARE(f.canvas().shownView(), shown);
    QTest::mouseClick(surface(f), Qt::LeftButton, {}, QPoint(40, 40));
    QCOMPARE(f.stored(), (QList<int>{15, 17, 64, 76}));
}

void TestCanvas::pressOnOutline_data() {
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<bool>("moves");
    // On the rectangle from (10, 20) to (59, 79).
    QTest::newRow("left column draws") << QPoint(10, 40) << false;
    QTest::newRow("top row draws") << QPoint(30, 20) << false;
    QTest::newRow("right column moves") << QPoint(59, 40) << true;
    QTest::newRow("bottom row moves") << QPoint(30, 79) << true;
    QTest::newRow("right of it draws") << QPoint(60, 40) << false;
}

void TestCanvas::pressOnOutline() {
    QFETCH(QPoint, press);
    QFETCH(bool, moves);
    Fixture f;
    drag(f, QPoint(10, 20), QPoint(59, 79));
    drag(f, press, press + QPoint(2, 1), 1);
    QCOMPARE(f.canvas().editMode(), moves ? Mode::Moving : Mode::Drawing);
    const QList<int> expected =
        moves ? QList<int>{12, 21, 61, 80}
              : QList<int>{press.x(), press.y(), press.x() + 2, press.y() + 1};
    QCOMPARE(f.stored(), expected);
}

void TestCanvas::rightPressKeepsStoredRectangle() {
    Fixture f;
    drag(f, QPoint(10, 20), QPoint(59, 79));
    forgetChanges(f);
    QTest::mouseClick(surface(f), Qt::RightButton, {}, QPoint(100, 100));
    QCOMPARE(coordinates(f, 4), QString());
    QCOMPARE(status(f, 3) + status(f, 4), QString());
    QCOMPARE(f.canvas().editMode(), Mode::Idle);
    QVERIFY(viewShows(f, f.picture, {}, QRect(QPoint(10, 20), QPoint(59, 79))));
    QVERIFY(f.isModified());  // its coordinate text changed
    QCOMPARE(ppf::write(f.document()).split('\n').at(14), QByteArray("10,20,59,79,\"0\"\r"));
}

void TestCanvas::captionSelection() {
    Fixture f;
    QVERIFY(captionSelected(f, 4));
    drag(f, QPoint(10, 20), QPoint(59, 79));
    // Another caption moves the selection and takes the outline and the rectangle's status.
    clickCaption(f, 5);
    QVERIFY(!captionSelected(f, 4));
    QVERIFY(captionSelected(f, 5));
    QCOMPARE(f.canvas().editMode(), Mode::Idle);
    QVERIFY(viewShows(f, f.picture));
    QCOMPARE(status(f, 3), QString());
    // The selected caption again deselects it; a press then starts nothing.
    clickCaption(f, 5);
    QCOMPARE(f.editor().selectedEntry(), -1);
    QCOMPARE(f.editor().lastSelectedEntry(), 5);
    QVERIFY(!captionSelected(f, 5));
    QTest::mousePress(surface(f), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(f.canvas().editMode(), Mode::Idle);
    QTest::mouseRelease(surface(f), Qt::LeftButton, {}, QPoint(5, 5));
    // An entry on page 3.
    clickCaption(f, 30);
    drag(f, QPoint(1, 2), QPoint(3, 4));
    QCOMPARE(f.stored(30), (QList<int>{1, 2, 3, 4}));
}

void TestCanvas::storedRectangleMarked() {
    Fixture f;
    drag(f, QPoint(10, 20), QPoint(59, 79));
    clickCaption(f, 5);
    clickCaption(f, 4);
    const QRect stored(QPoint(10, 20), QPoint(59, 79));
    QVERIFY(viewShows(f, f.picture, {}, stored));
    // The mark does not blink, follows a scroll, and a press inside it still draws anew.
    const QImage shown = f.canvas().shownView();
    blinkTick(f);
    QCOMPARE(f.canvas().shownView(), shown);
    f.scrollTo(QPoint(5, 6));
    QVERIFY(viewShows(f, f.picture, {}, stored.translated(-5, -6)));
    drag(f, QPoint(30, 40), QPoint(35, 37), 2);
    QCOMPARE(f.canvas().editMode(), Mode::Drawing);
    QCOMPARE(f.stored(), (QList<int>{35, 43, 40, 46}));
    QVERIFY(viewShows(f, f.picture, QRect(QPoint(30, 37), QPoint(35, 40))));
}

void TestCanvas::blink() {
    Fixture f;
    auto* timer = f.findChild<QTimer*>(QStringLiteral("Timer1"));
    QCOMPARE(timer->interval(), 300);
    QVERIFY(timer->isActive());
    drag(f, QPoint(10, 20), QPoint(59, 79));
    for (int tick = 0; tick < 2; ++tick) {
        const QColor before = f.canvas().blinkColour();
        blinkTick(f);
        QCOMPARE(f.canvas().blinkColour(),
                 before == Qt::black ? QColor(Qt::white) : QColor(Qt::black));
        QCOMPARE(f.canvas().shownView().pixelColor(10, 20), f.canvas().blinkColour());
        QVERIFY(viewShows(f, f.picture, QRect(QPoint(10, 20), QPoint(59, 79))));
    }
    // The screen gets the canvas's own picture, so being uncovered keeps the outline.
    QCOMPARE(surface(f)->grab().toImage().convertToFormat(QImage::Format_RGB32),
             f.canvas().shownView());
}

void TestCanvas::pictureSizes_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("view");
    QTest::addColumn<QPoint>("overhang");  // the bars' maximums; -1: hidden
    QTest::newRow("smaller") << QSize(300, 200) << QSize(300, 200) << QPoint(-1, -1);
    QTest::newRow("one pixel") << QSize(1, 1) << QSize(1, 1) << QPoint(-1, -1);
    QTest::newRow("the canvas") << QSize(561, 457) << QSize(561, 457) << QPoint(-1, -1);
    QTest::newRow("wider only") << QSize(900, 300) << QSize(561, 300) << QPoint(339, -1);
    QTest::newRow("taller only") << QSize(400, 800) << QSize(400, 457) << QPoint(-1, 343);
    QTest::newRow("both") << QSize(900, 700) << QSize(561, 457) << QPoint(339, 243);
    QTest::newRow("8000 wide") << QSize(8000, 3) << QSize(561, 3) << QPoint(7439, -1);
    QTest::newRow("8000 high") << QSize(2, 8000) << QSize(2, 457) << QPoint(-1, 7543);
}

void TestCanvas::pictureSizes() {
    QFETCH(QSize, picture);
    QFETCH(QSize, view);
    QFETCH(QPoint, overhang);
    Fixture f(picture, 0);
    QCOMPARE(surface(f)->size(), view);
    QVERIFY(!child(f, "Label7")->isVisible());
    QScrollBar* h = bar(f, "HScroll1");
    QScrollBar* v = bar(f, "VScroll1");
    QCOMPARE(h->isVisible() ? h->maximum() : -1, overhang.x());
    QCOMPARE(v->isVisible() ? v->maximum() : -1, overhang.y());
    QCOMPARE(h->geometry(), QRect(0, view.height(), view.width(), 17));
    QCOMPARE(v->geometry(), QRect(view.width(), 0, 17, view.height()));
    QCOMPARE(h->singleStep(), 1);
    QCOMPARE(h->pageStep(), view.width());
    QCOMPARE(v->pageStep(), view.height());
    QVERIFY(viewShows(f, f.picture));
    // Scrolled to the end, the picture's far corner is the view's, and a drawing reaches it.
    f.scrollTo(QPoint(h->maximum(), v->maximum()));
    QVERIFY(viewShows(f, f.picture));
    drag(f, QPoint(view.width() - 1, view.height() - 1), QPoint(-20, -20));
    QCOMPARE(f.stored(0), (QList<int>{std::max(overhang.x(), 0), std::max(overhang.y(), 0),
                                      picture.width() - 1, picture.height() - 1}));
}

void TestCanvas::pictureKinds_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("name");
    QTest::newRow("palette, as GIF files decode") << int(QImage::Format_Indexed8) << "p.bmp";
    QTest::newRow("one bit") << int(QImage::Format_Mono) << "m.bmp";
    QTest::newRow("see-through parts") << int(QImage::Format_ARGB32) << "a.png";
}

void TestCanvas::pictureKinds() {
    QFETCH(int, format);
    QFETCH(QString, name);
    QImage source =
        patternPicture(900, 700).convertToFormat(QImage::Format(format), Qt::ThresholdDither);
    for (int x = 100; x < 400 && format == QImage::Format_ARGB32; ++x)
        for (int y = 100; y < 300; ++y)
            source.setPixel(x, y, qRgba(x & 0xff, 0, 0, x < 250 ? 0 : 128));
    QTemporaryDir dir;
    QVERIFY(source.save(dir.filePath(name)));
    Fixture f(dir.filePath(name), {}, 4);
    QCOMPARE(int(f.picture.format()), format);
    // The picture as it stands on the white canvas, at any offset.
    QImage expected(f.picture.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    QPainter(&expected).drawImage(0, 0, f.picture);
    for (const QPoint offset : {QPoint(0, 0), QPoint(150, 170), QPoint(339, 243)}) {
        f.scrollTo(offset);
        QVERIFY(viewShows(f, expected));
    }
}

void TestCanvas::slotWithoutPicture() {
    Fixture f;
    drag(f, QPoint(10, 20), QPoint(59, 79));
    chooseSlot(f, 1);
    QCOMPARE(f.canvas().editMode(), Mode::NoPicture);
    QCOMPARE(f.editor().selectedEntry(), -1);
    QVERIFY(!captionSelected(f, 4));
    QCOMPARE(surface(f)->size(), QSize(561, 457));
    QVERIFY(child(f, "Label7")->isVisible());
    QVERIFY(!bar(f, "HScroll1")->isVisible() && !bar(f, "VScroll1")->isVisible());
    QImage white(561, 457, QImage::Format_RGB32);
    white.fill(Qt::white);
    QCOMPARE(f.canvas().shownView(), white);
    // Captions and the blink do nothing here.
    clickCaption(f, 4);
    blinkTick(f);
    QCOMPARE(f.editor().selectedEntry(), -1);
    QCOMPARE(f.canvas().shownView(), white);
    // Back to the picture: from its top left, nothing selected.
    chooseSlot(f, 0);
    QCOMPARE(f.canvas().editMode(), Mode::Idle);
    QVERIFY(viewShows(f, f.picture));
    QCOMPARE(text(f, "LabelBodyFile"), QStringLiteral("cab.bmp"));
}

void TestCanvas::wheel_data() {
    QTest::addColumn<QString>("over");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QPoint>("angle");  // 120 a notch; a wheel turned down gives -120
    QTest::addColumn<QPoint>("offset");
    const int shift = Qt::ShiftModifier;
    QTest::newRow("down over the canvas") << "Picture1" << 0 << QPoint(0, -240) << QPoint(0, 120);
    QTest::newRow("shift across") << "Picture1" << shift << QPoint(0, -120) << QPoint(60, 0);
    QTest::newRow("tilted across") << "Picture1" << 0 << QPoint(-120, 0) << QPoint(60, 0);
    QTest::newRow("along the bottom bar") << "HScroll1" << 0 << QPoint(0, -120) << QPoint(60, 0);
    QTest::newRow("along the side bar") << "VScroll1" << shift << QPoint(0, -120) << QPoint(0, 60);
    QTest::newRow("past the end") << "Picture1" << 0 << QPoint(0, -12000) << QPoint(0, 243);
}

void TestCanvas::wheel() {
    QFETCH(QString, over);
    QFETCH(int, modifiers);
    QFETCH(QPoint, angle);
    QFETCH(QPoint, offset);
    Fixture f;
    QWidget* target = child(f, over);
    QWheelEvent event(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), {}, angle, Qt::NoButton,
                      Qt::KeyboardModifiers(modifiers), Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &event);
    QCOMPARE(f.canvas().viewOffset(), offset);
    QVERIFY(viewShows(f, f.picture));
}

QTEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
