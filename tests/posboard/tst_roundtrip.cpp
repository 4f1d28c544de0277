// A position file made entirely through the window: two slot pictures, and a rectangle and a
// value for entries on all three pages. Saved, loaded into a fresh window and saved again, it
// comes back byte for byte. The largest pictures the window takes come back with their file.

#include "poswindowtest.h"

using namespace postest;

namespace {

// Selects the entry, types its value and drags its rectangle from `from` to `to`.
void place(Form1& w, int entry, const QString& value, QPoint from, QPoint to) {
    clickCaption(w, entry);
    wintest::typeInto(valueField(w, entry), value);
    drag(w, from, to);
}

}  // namespace

class TestRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void madeInTheWindow();
    void largestPicturesReadBack();
};

void TestRoundTrip::madeInTheWindow() {
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("first.ppf"));
    const QString second = dir.filePath(QStringLiteral("second.ppf"));
    {
        ScriptedDialogs dialogs;
        Form1 w(dialogs);
        QVERIFY(showWindow(w));
        loadSlotPicture(w, dialogs, 5, writePicture(dir, QStringLiteral("数字.bmp"), 200, 30));
        loadSlotPicture(w, dialogs, 0, writePicture(dir, QStringLiteral("筐体.bmp"), 900, 700));
        place(w, 1, QStringLiteral("-12"), QPoint(5, 6), QPoint(40, 30));
        place(w, 4, QStringLiteral("3"), QPoint(10, 20), QPoint(59, 79));
        bar(w, "HScroll1")->setValue(100);
        bar(w, "VScroll1")->setValue(40);
        place(w, 23, QStringLiteral("5"), QPoint(10, 20), QPoint(59, 79));
        place(w, 31, QStringLiteral("8"), QPoint(300, 200), QPoint(250, 150));
        // A value typed with no rectangle yet, on page 2.
        turnToPageOf(w, 16);
        wintest::typeInto(valueField(w, 16), QStringLiteral("7"));
        QVERIFY(w.isModified());
        wintest::clickAnswering(w, dialogs, QStringLiteral("Command4"), first);
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(!w.isModified());
    }
    const QByteArrayList lines = readAll(first).split('\n');
    QCOMPARE(lines.size(), 44);
    QCOMPARE(lines[0], QByteArray("\xe2\x9e\x91\xcc.bmp\r"));
    QCOMPARE(lines[5], QByteArray("\x90\x94\x8e\x9a.bmp\r"));
    QCOMPARE(lines[9], QByteArray(" 32 \r"));
    QCOMPARE(lines[10 + 1], QByteArray("5,6,40,30,\"-12\"\r"));
    QCOMPARE(lines[10 + 4], QByteArray("10,20,59,79,\"3\"\r"));
    QCOMPARE(lines[10 + 16], QByteArray("0,0,0,0,\"7\"\r"));
    QCOMPARE(lines[10 + 23], QByteArray("110,60,159,119,\"5\"\r"));
    QCOMPARE(lines[10 + 31], QByteArray("350,190,400,240,\"8\"\r"));

    ScriptedDialogs dialogs;
    Form1 fresh(dialogs);
    QVERIFY(showWindow(fresh));
    wintest::clickAnswering(fresh, dialogs, QStringLiteral("Command3"), first);
    QVERIFY(dialogs.shown.isEmpty());
    QCOMPARE(valueField(fresh, 1)->text(), QStringLiteral("-12"));
    QCOMPARE(coordinates(fresh, 23), QStringLiteral(" 110 , 60 - 159 , 119"));
    QCOMPARE(fresh.document().pictureSlots[5].image.size(), QSize(200, 30));
    wintest::clickAnswering(fresh, dialogs, QStringLiteral("Command4"), second);
    QCOMPARE(readAll(second), readAll(first));
}

void TestRoundTrip::largestPicturesReadBack() {
    Window w;
    // Two-colour pictures: 8 MB each on disk and in memory, counted as 4 bytes a pixel.
    QImage picture(8000, 8000, QImage::Format_Mono);
    picture.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int k = 0; k < 2; ++k) {
        picture.fill(k);
        const QString name = w.dir.filePath(QStringLiteral("cabinet%1.bmp").arg(k));
        QVERIFY(picture.save(name, "BMP"));
        loadSlotPicture(w, w.dialogs, k, name);
    }
    const QString path = w.dir.filePath(QStringLiteral("large.ppf"));
    wintest::clickAnswering(w, w.dialogs, QStringLiteral("Command4"), path);
    Window fresh;
    wintest::clickAnswering(fresh, fresh.dialogs, QStringLiteral("Command3"), path);
    QVERIFY(w.dialogs.shown.isEmpty());
    QVERIFY2(fresh.dialogs.shown.isEmpty(), qPrintable(fresh.dialogs.shown.value(0).detail));
    for (int k = 0; k < 2; ++k)
        QCOMPARE(fresh.document().pictureSlots[k].image.size(), QSize(8000, 8000));
}

QTEST_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"
