// The placement canvas through the real window: drawing, moving, the inside rule, the right
// press, caption selection, the blink, scrolling, and how pictures of every size are shown.

#include <QFile>
#include <QPainter>

#include "poswindowtest.h"
#include "ppfformat.h"

using namespace postest;

namespace {

constexpr int PictureW = 900;
constexpr int PictureH = 700;

struct Fixture {
    ScriptedDialogs dialogs;
    Form1 w{dialogs};
    QImage picture;

    // A shown window with a picture in slot 0 and `entry` selected.
    bool start(const QTemporaryDir& dir, int entry = 4, int width = PictureW,
               int height = PictureH) {
        return startWith(writePicture(dir, QStringLiteral("cab.bmp"), width, height), entry);
    }
    bool startWith(const QString& path, int entry) {
        if (!showWindow(w)) return false;
        loadSlotPicture(w, dialogs, 0, path);
        picture = w.document().pictureSlots[0].image;
        if (entry >= 0) clickCaption(w, entry);
        return !picture.isNull() && w.editor().selectedEntry() == entry;
    }
    const PlacementEntry& entry(int e) const { return w.document().entries[e]; }
    void scrollTo(int h, int v) {
        bar(w, "HScroll1")->setValue(h);
        bar(w, "VScroll1")->setValue(v);
    }
};

QList<int> corners(const PlacementEntry& e) { return {e.left, e.top, e.right, e.bottom}; }

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
    void blinkAlternatesWhileDrawing();
    void scrollRedrawsOutline();
    void pictureSizes_data();
    void pictureSizes();
    void scrolledToMaximum();
    void pictureFormats_data();
    void pictureFormats();
    void slotWithoutPicture();
    void paintsFromItsOwnPicture();
    void pointerOverBackground();

private:
    QTemporaryDir dir_;
};

void TestCanvas::drawing_data() {
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("steps");  // pointer moves between press and release
    QTest::addColumn<QList<int>>("stored");
    QTest::addColumn<QString>("size");
    QTest::newRow("drag") << QPoint(0, 0) << QPoint(10, 20) << QPoint(59, 79) << 4
                          << QList<int>{10, 20, 59, 79} << "50 x 60";
    QTest::newRow("reverse drag") << QPoint(0, 0) << QPoint(59, 79) << QPoint(10, 20) << 3
                                  << QList<int>{10, 20, 59, 79} << "50 x 60";
    QTest::newRow("scrolled view") << QPoint(100, 40) << QPoint(10, 20) << QPoint(59, 79) << 2
                                   << QList<int>{110, 60, 159, 119} << "50 x 60";
    QTest::newRow("click without a move") << QPoint(0, 0) << QPoint(30, 40) << QPoint(30, 40) << 0
                                          << QList<int>{30, 40, 30, 40} << "1 x 1";
    QTest::newRow("pointer clamped to the view")
        << QPoint(0, 0) << QPoint(500, 400) << QPoint(700, -50) << 2 << QList<int>{500, 0, 560, 400}
        << "61 x 401";
    QTest::newRow("clamped at the top left when scrolled")
        << QPoint(339, 243) << QPoint(20, 30) << QPoint(-9, -9) << 1
        << QList<int>{339, 243, 359, 273} << "21 x 31";
}

void TestCanvas::drawing() {
    QFETCH(QPoint, offset);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(int, steps);
    QFETCH(QList<int>, stored);
    QFETCH(QString, size);
    Fixture f;
    QVERIFY(f.start(dir_));
    f.scrollTo(offset.x(), offset.y());
    QCOMPARE(f.w.canvas().viewOffset(), offset);
    f.w.editor().setModified(false);

    drag(f.w, from, to, steps);
    QCOMPARE(corners(f.entry(4)), stored);
    const QString rect = QStringLiteral("%1 , %2 - %3 , %4")
                             .arg(stored[0])
                             .arg(stored[1])
                             .arg(stored[2])
                             .arg(stored[3]);
    QCOMPARE(coordinates(f.w, 4), QLatin1Char(' ') + rect);
    QCOMPARE(status(f.w, 3), rect);
    QCOMPARE(status(f.w, 4), size);
    QCOMPARE(f.w.canvas().editMode(), Mode::Drawing);
    QVERIFY(f.w.isModified());
    // The outline between the two corners, in the blink colour, over the picture.
    const QRect inView =
        QRect(QPoint(stored[0], stored[1]) - offset, QPoint(stored[2], stored[3]) - offset);
    QVERIFY(viewShowsPicture(f.w, f.picture, inView));
    QCOMPARE(f.w.canvas().shownView().pixelColor(inView.topLeft()), f.w.canvas().blinkColour());
    QCOMPARE(f.w.canvas().shownView().pixelColor(inView.bottomRight()), f.w.canvas().blinkColour());
    // Only the selected entry changed.
    for (int e = 0; e < pos::EntryCount; ++e)
        if (e != 4) QCOMPARE(corners(f.entry(e)), (QList<int>{0, 0, 0, 0}));
}

void TestCanvas::nothingWithoutSelectedEntry() {
    Fixture f;
    QVERIFY(f.start(dir_, -1));
    f.w.editor().setModified(false);
    drag(f.w, QPoint(10, 20), QPoint(59, 79));
    QVERIFY(viewShowsPicture(f.w, f.picture));
    QVERIFY(!f.w.isModified());
    QCOMPARE(f.w.canvas().editMode(), Mode::Idle);
    for (int e = 0; e < pos::EntryCount; ++e) {
        QCOMPARE(corners(f.entry(e)), (QList<int>{0, 0, 0, 0}));
        QCOMPARE(coordinates(f.w, e), QString());
    }
    QCOMPARE(status(f.w, 1), QStringLiteral("x : 59"));  // the pointer is still reported
}

void TestCanvas::moveByOffset() {
    Fixture f;
    QVERIFY(f.start(dir_));
    drag(f.w, QPoint(10, 20), QPoint(59, 79));
    QWidget* s = surface(f.w);
    QTest::mousePress(s, Qt::LeftButton, {}, QPoint(30, 40));
    QCOMPARE(f.w.canvas().editMode(), Mode::Moving);
    QTest::mouseMove(s, QPoint(33, 38));
    QTest::mouseMove(s, QPoint(35, 37));
    // While the move runs, the outline follows and nothing is stored yet.
    QCOMPARE(corners(f.entry(4)), (QList<int>{10, 20, 59, 79}));
    QCOMPARE(f.w.canvas().currentRect(), QRect(10, 20, 50, 60));
    QVERIFY(viewShowsPicture(f.w, f.picture, QRect(QPoint(15, 17), QPoint(64, 76))));
    QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(35, 37));
    QCOMPARE(corners(f.entry(4)), (QList<int>{15, 17, 64, 76}));
    QCOMPARE(coordinates(f.w, 4), QStringLiteral(" 15 , 17 - 64 , 76"));
    QCOMPARE(status(f.w, 3), QStringLiteral("15 , 17 - 64 , 76"));
    QCOMPARE(f.w.canvas().editMode(), Mode::Moving);

    // After a move the outline stays as last drawn: the blink draws nothing.
    const QImage shown = f.w.canvas().shownView();
    blinkTick(f.w);
    QCOMPARE(f.w.canvas().shownView(), shown);

    // A press and release inside without a move leaves the rectangle where it is; a second
    // move starts from the new place.
    QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(40, 40));
    QCOMPARE(corners(f.entry(4)), (QList<int>{15, 17, 64, 76}));
    drag(f.w, QPoint(40, 40), QPoint(30, 50), 2);
    QCOMPARE(corners(f.entry(4)), (QList<int>{5, 27, 54, 86}));
}

void TestCanvas::pressOnOutline_data() {
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<int>("mode");
    // The rectangle from (10, 20) to (59, 79).
    QTest::newRow("left column draws") << QPoint(10, 40) << int(Mode::Drawing);
    QTest::newRow("top row draws") << QPoint(30, 20) << int(Mode::Drawing);
    QTest::newRow("right column moves") << QPoint(59, 40) << int(Mode::Moving);
    QTest::newRow("bottom row moves") << QPoint(30, 79) << int(Mode::Moving);
    QTest::newRow("just inside the top left moves") << QPoint(11, 21) << int(Mode::Moving);
    QTest::newRow("right of the rectangle draws") << QPoint(60, 40) << int(Mode::Drawing);
}

void TestCanvas::pressOnOutline() {
    QFETCH(QPoint, press);
    QFETCH(int, mode);
    Fixture f;
    QVERIFY(f.start(dir_));
    drag(f.w, QPoint(10, 20), QPoint(59, 79));
    QTest::mousePress(surface(f.w), Qt::LeftButton, {}, press);
    QCOMPARE(int(f.w.canvas().editMode()), mode);
    QTest::mouseRelease(surface(f.w), Qt::LeftButton, {}, press);
    // A press that draws and is released at once gives the one-pixel rectangle there.
    const QList<int> expected = mode == int(Mode::Drawing)
                                    ? QList<int>{press.x(), press.y(), press.x(), press.y()}
                                    : QList<int>{10, 20, 59, 79};
    QCOMPARE(corners(f.entry(4)), expected);
}

void TestCanvas::rightPressKeepsStoredRectangle() {
    Fixture f;
    QVERIFY(f.start(dir_));
    drag(f.w, QPoint(10, 20), QPoint(59, 79));
    f.w.editor().setModified(false);
    QTest::mouseClick(surface(f.w), Qt::RightButton, {}, QPoint(100, 100));
    QCOMPARE(coordinates(f.w, 4), QString());
    QCOMPARE(status(f.w, 3), QString());
    QCOMPARE(status(f.w, 4), QString());
    QCOMPARE(f.w.canvas().editMode(), Mode::Idle);
    QVERIFY(viewShowsPicture(f.w, f.picture));  // the outline is gone
    QVERIFY(f.w.isModified());                  // the coordinate text changed
    // Saving still writes the rectangle drawn before.
    const QString path = dir_.filePath(QStringLiteral("right.ppf"));
    QString why;
    QVERIFY2(f.w.editor().save(path, &why), qPrintable(why));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().split('\n').at(14), QByteArray("10,20,59,79,\"0\"\r"));
}

void TestCanvas::captionSelection() {
    Fixture f;
    QVERIFY(f.start(dir_));
    QVERIFY(caption(f.w, 4)->isSelected());
    drag(f.w, QPoint(10, 20), QPoint(59, 79));

    // Another caption moves the selection; the view loses the outline and the status its rectangle.
    clickCaption(f.w, 5);
    QCOMPARE(f.w.editor().selectedEntry(), 5);
    QVERIFY(!caption(f.w, 4)->isSelected());
    QVERIFY(caption(f.w, 5)->isSelected());
    QCOMPARE(f.w.canvas().editMode(), Mode::Idle);
    QVERIFY(viewShowsPicture(f.w, f.picture));
    QCOMPARE(status(f.w, 3), QString());
    QCOMPARE(coordinates(f.w, 4), QStringLiteral(" 10 , 20 - 59 , 79"));

    // The selected caption again deselects; a press then starts nothing.
    clickCaption(f.w, 5);
    QCOMPARE(f.w.editor().selectedEntry(), -1);
    QCOMPARE(f.w.editor().lastSelectedEntry(), 5);
    QVERIFY(!caption(f.w, 5)->isSelected());
    QTest::mousePress(surface(f.w), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(f.w.canvas().editMode(), Mode::Idle);
    QTest::mouseRelease(surface(f.w), Qt::LeftButton, {}, QPoint(5, 5));

    // A caption on another page, after the page buttons.
    clickCaption(f.w, 30);
    QCOMPARE(f.w.editor().selectedEntry(), 30);
    drag(f.w, QPoint(1, 2), QPoint(3, 4));
    QCOMPARE(corners(f.entry(30)), (QList<int>{1, 2, 3, 4}));
    QCOMPARE(coordinates(f.w, 30), QStringLiteral(" 1 , 2 - 3 , 4"));
}

void TestCanvas::blinkAlternatesWhileDrawing() {
    Fixture f;
    QVERIFY(f.start(dir_));
    auto* timer = f.w.findChild<QTimer*>(QStringLiteral("Timer1"));
    QCOMPARE(timer->interval(), 300);
    QVERIFY(timer->isActive());
    drag(f.w, QPoint(10, 20), QPoint(59, 79));
    const QRect outline(QPoint(10, 20), QPoint(59, 79));
    for (int tick = 0; tick < 3; ++tick) {
        const QColor before = f.w.canvas().blinkColour();
        blinkTick(f.w);
        const QColor after = f.w.canvas().blinkColour();
        QVERIFY(after != before);
        QVERIFY(after == QColor(Qt::black) || after == QColor(Qt::white));
        QCOMPARE(f.w.canvas().shownView().pixelColor(outline.topLeft()), after);
        QCOMPARE(f.w.canvas().shownView().pixelColor(outline.bottomRight()), after);
        QVERIFY(viewShowsPicture(f.w, f.picture, outline));
    }
    // Idle: the colour still changes, nothing is drawn.
    QTest::mouseClick(surface(f.w), Qt::RightButton);
    const QImage shown = f.w.canvas().shownView();
    const QColor before = f.w.canvas().blinkColour();
    blinkTick(f.w);
    QVERIFY(f.w.canvas().blinkColour() != before);
    QCOMPARE(f.w.canvas().shownView(), shown);
}

void TestCanvas::scrollRedrawsOutline() {
    Fixture f;
    QVERIFY(f.start(dir_));
    drag(f.w, QPoint(10, 20), QPoint(59, 79));
    f.scrollTo(5, 7);
    QVERIFY(viewShowsPicture(f.w, f.picture, QRect(QPoint(5, 13), QPoint(54, 72))));
    // Idle after a caption click: the scrolled view shows the picture alone.
    clickCaption(f.w, 4);
    clickCaption(f.w, 4);
    f.scrollTo(50, 70);
    QVERIFY(viewShowsPicture(f.w, f.picture));
    // The bars step one pixel per arrow and a view's width or height per page.
    QCOMPARE(bar(f.w, "HScroll1")->singleStep(), 1);
    QCOMPARE(bar(f.w, "HScroll1")->pageStep(), 561);
    QCOMPARE(bar(f.w, "VScroll1")->pageStep(), 457);
}

void TestCanvas::pictureSizes_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("view");
    QTest::addColumn<int>("hMax");  // -1: the bar is hidden
    QTest::addColumn<int>("vMax");
    QTest::newRow("smaller than the canvas") << QSize(300, 200) << QSize(300, 200) << -1 << -1;
    QTest::newRow("one pixel") << QSize(1, 1) << QSize(1, 1) << -1 << -1;
    QTest::newRow("exactly the canvas") << QSize(561, 457) << QSize(561, 457) << -1 << -1;
    QTest::newRow("wider only") << QSize(900, 300) << QSize(561, 300) << 339 << -1;
    QTest::newRow("taller only") << QSize(400, 800) << QSize(400, 457) << -1 << 343;
    QTest::newRow("both") << QSize(PictureW, PictureH) << QSize(561, 457) << 339 << 243;
    QTest::newRow("8000 wide") << QSize(8000, 3) << QSize(561, 3) << 7439 << -1;
    QTest::newRow("8000 high") << QSize(2, 8000) << QSize(2, 457) << -1 << 7543;
}

void TestCanvas::pictureSizes() {
    QFETCH(QSize, picture);
    QFETCH(QSize, view);
    QFETCH(int, hMax);
    QFETCH(int, vMax);
    Fixture f;
    QVERIFY(f.start(dir_, 0, picture.width(), picture.height()));
    QWidget* s = surface(f.w);
    QCOMPARE(s->size(), view);
    QCOMPARE(f.w.canvas().shownView().size(), view);
    QVERIFY(!child(f.w, QStringLiteral("Label7"))->isVisible());
    QScrollBar* h = bar(f.w, "HScroll1");
    QScrollBar* v = bar(f.w, "VScroll1");
    QCOMPARE(h->isVisible(), hMax >= 0);
    QCOMPARE(v->isVisible(), vMax >= 0);
    if (hMax >= 0) {
        QCOMPARE(h->maximum(), hMax);
        QCOMPARE(h->geometry().top(), s->geometry().bottom() + 1);  // directly below the canvas
    }
    if (vMax >= 0) {
        QCOMPARE(v->maximum(), vMax);
        QCOMPARE(v->geometry().left(), s->geometry().right() + 1);  // directly to its right
    }
    QVERIFY(viewShowsPicture(f.w, f.picture));
    // Drawing reaches both corners of the view (a drag from the far corner to past the near one).
    drag(f.w, QPoint(view.width() - 1, view.height() - 1), QPoint(-20, -20));
    QCOMPARE(corners(f.entry(0)), (QList<int>{0, 0, view.width() - 1, view.height() - 1}));
}

void TestCanvas::scrolledToMaximum() {
    Fixture f;
    QVERIFY(f.start(dir_));
    QScrollBar* h = bar(f.w, "HScroll1");
    QScrollBar* v = bar(f.w, "VScroll1");
    h->setValue(h->maximum());
    v->setValue(v->maximum());
    QCOMPARE(f.w.canvas().viewOffset(), QPoint(339, 243));
    QVERIFY(viewShowsPicture(f.w, f.picture));
    // The picture's bottom right pixel at the canvas's bottom right.
    QCOMPARE(f.w.canvas().shownView().pixel(560, 456), f.picture.pixel(PictureW - 1, PictureH - 1));
    drag(f.w, QPoint(500, 400), QPoint(600, 500));
    QCOMPARE(corners(f.entry(4)), (QList<int>{839, 643, 899, 699}));
    QCOMPARE(status(f.w, 1), QStringLiteral("x : 899"));
    QCOMPARE(status(f.w, 2), QStringLiteral("y : 699"));
}

void TestCanvas::pictureFormats_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("name");
    QTest::newRow("palette, as a GIF decodes") << int(QImage::Format_Indexed8) << "p.bmp";
    QTest::newRow("one bit") << int(QImage::Format_Mono) << "m.bmp";
    QTest::newRow("see-through parts") << int(QImage::Format_ARGB32) << "a.png";
}

void TestCanvas::pictureFormats() {
    QFETCH(int, format);
    QFETCH(QString, name);
    QImage source = patternPicture(PictureW, PictureH);
    if (format == QImage::Format_ARGB32) {
        source = source.convertToFormat(QImage::Format_ARGB32);
        for (int y = 100; y < 300; ++y)
            for (int x = 100; x < 400; ++x)
                source.setPixel(x, y, qRgba(x & 0xff, 0, 0, x < 250 ? 0 : 128));
    } else {
        source = source.convertToFormat(QImage::Format(format), Qt::ThresholdDither);
    }
    const QString path = dir_.filePath(name);
    QVERIFY(source.save(path));
    Fixture f;
    QVERIFY(f.startWith(path, 4));
    QCOMPARE(int(f.picture.format()), format);
    // The view shows the picture as it stands on the white canvas, at any offset.
    QImage expected(f.picture.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    QPainter(&expected).drawImage(0, 0, f.picture);
    for (const QPoint offset : {QPoint(0, 0), QPoint(150, 170), QPoint(339, 243)}) {
        f.scrollTo(offset.x(), offset.y());
        QVERIFY(viewShowsPicture(f.w, expected));
    }
}

void TestCanvas::slotWithoutPicture() {
    Fixture f;
    QVERIFY(f.start(dir_));
    drag(f.w, QPoint(10, 20), QPoint(59, 79));
    chooseSlot(f.w, 1);
    QCOMPARE(f.w.editor().selectedSlot(), 1);
    QCOMPARE(f.w.canvas().editMode(), Mode::NoPicture);
    QCOMPARE(f.w.editor().selectedEntry(), -1);
    QVERIFY(!caption(f.w, 4)->isSelected());
    QCOMPARE(surface(f.w)->size(), QSize(561, 457));
    QVERIFY(child(f.w, QStringLiteral("Label7"))->isVisible());
    QVERIFY(!bar(f.w, "HScroll1")->isVisible());
    QVERIFY(!bar(f.w, "VScroll1")->isVisible());
    QCOMPARE(f.w.canvas().viewOffset(), QPoint(0, 0));
    const QImage& shown = f.w.canvas().shownView();
    QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::white));
    QCOMPARE(shown.pixelColor(300, 200), QColor(Qt::white));
    QCOMPARE(child<QLabel>(f.w, QStringLiteral("LabelBodyFile"))->text(), QString());
    // Captions and presses do nothing here; the blink draws nothing.
    clickCaption(f.w, 4);
    QCOMPARE(f.w.editor().selectedEntry(), -1);
    blinkTick(f.w);
    QCOMPARE(f.w.canvas().shownView().pixelColor(10, 20), QColor(Qt::white));

    // Back to the slot with the picture: shown from its top left, nothing selected.
    chooseSlot(f.w, 0);
    QCOMPARE(f.w.canvas().editMode(), Mode::Idle);
    QVERIFY(!child(f.w, QStringLiteral("Label7"))->isVisible());
    QVERIFY(viewShowsPicture(f.w, f.picture));
    QCOMPARE(child<QLabel>(f.w, QStringLiteral("LabelBodyFile"))->text(),
             QStringLiteral("cab.bmp"));
}

void TestCanvas::paintsFromItsOwnPicture() {
    Fixture f;
    QVERIFY(f.start(dir_));
    drag(f.w, QPoint(10, 20), QPoint(59, 79));
    // What a repaint after being uncovered puts on the screen is the canvas's own picture,
    // outline included.
    QWidget* s = surface(f.w);
    QCOMPARE(s->grab().toImage().convertToFormat(QImage::Format_RGB32),
             f.w.canvas().shownView().convertToFormat(QImage::Format_RGB32));
}

void TestCanvas::pointerOverBackground() {
    Fixture f;
    QVERIFY(f.start(dir_));
    QMouseEvent over(QEvent::MouseMove, QPointF(30, 40), QPointF(30, 40), Qt::NoButton,
                     Qt::NoButton, {});
    QCoreApplication::sendEvent(surface(f.w), &over);
    QCOMPARE(status(f.w, 1), QStringLiteral("x : 30"));
    QCOMPARE(status(f.w, 2), QStringLiteral("y : 40"));
    QMouseEvent background(QEvent::MouseMove, QPointF(590, 560), QPointF(590, 560), Qt::NoButton,
                           Qt::NoButton, {});
    QCoreApplication::sendEvent(&f.w, &background);
    QCOMPARE(status(f.w, 1), QStringLiteral("x : "));
    QCOMPARE(status(f.w, 2), QStringLiteral("y : "));
}

QTEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
