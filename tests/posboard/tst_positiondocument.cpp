#include <QTest>

#include "positiondocument.h"

class TestPositionDocument : public QObject {
    Q_OBJECT

private slots:
    void rectangleTexts_data() {
        QTest::addColumn<QList<int>>("rect");
        QTest::addColumn<QString>("coordinates");
        QTest::addColumn<QString>("size");
        QTest::newRow("drawn") << QList<int>{10, 20, 59, 79} << " 10 , 20 - 59 , 79"
                               << "50 x 60";
        QTest::newRow("new entry") << QList<int>{0, 0, 0, 0} << " 0 , 0 - 0 , 0"
                                   << "1 x 1";
        QTest::newRow("negative") << QList<int>{-5, -12, -1, 3} << " -5 , -12 - -1 , 3"
                                  << "5 x 16";
        QTest::newRow("widest") << QList<int>{-32768, -32768, 32767, 32767}
                                << " -32768 , -32768 - 32767 , 32767"
                                << "65536 x 65536";
    }
    void rectangleTexts() {
        QFETCH(QList<int>, rect);
        QFETCH(QString, coordinates);
        QFETCH(QString, size);
        PlacementEntry entry{std::int16_t(rect[0]), std::int16_t(rect[1]), std::int16_t(rect[2]),
                             std::int16_t(rect[3])};
        QCOMPARE(coordinateText(entry), coordinates);
        QCOMPARE(rectangleText(entry), coordinates.mid(1));  // the status bar has no leading blank
        QCOMPARE(sizeText(entry), size);
    }

    // Where the three reel windows, the lamps, the numeric displays and the pages change.
    void entryBoundaries_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("caption");
        QTest::newRow("0") << 0 << 0 << "補正値"
                           << "左リール表示";
        QTest::newRow("2") << 2 << 0 << "補正値"
                           << "右リール表示";
        QTest::newRow("3") << 3 << 0 << "点灯画像"
                           << "左ストップボタン";
        QTest::newRow("5") << 5 << 0 << "点灯画像"
                           << "右ストップボタン ";
        QTest::newRow("14") << 14 << 0 << "点灯画像"
                            << "右ストップランプ";
        QTest::newRow("15") << 15 << 1 << "点灯画像"
                            << "ウェイトランプ";
        QTest::newRow("22") << 22 << 1 << "点灯画像"
                            << "3BETランプ";
        QTest::newRow("23") << 23 << 1 << "数値画像"
                            << "クレジット";
        QTest::newRow("27") << 27 << 1 << "数値画像"
                            << "RB残り回数";
        QTest::newRow("28") << 28 << 2 << "点灯画像"
                            << "BETランプ 1";
        QTest::newRow("32") << 32 << 2 << "点灯画像"
                            << "BETランプ 5";
    }
    void entryBoundaries() {
        QFETCH(int, entry);
        QFETCH(int, page);
        QFETCH(QString, label);
        QFETCH(QString, caption);
        QCOMPARE(pos::entryPage(entry), page);
        QCOMPARE(pos::valueLabel(entry), label);
        QCOMPARE(pos::entryCaption(entry), caption);
    }

    void outsideTheTablesIsEmpty() {
        for (int i : {-1, pos::SlotCount}) QVERIFY(pos::slotListText(i).isEmpty());
        for (int i : {-1, pos::EntryCount, 1000}) QVERIFY(pos::entryCaption(i).isEmpty());
    }

    void slotTextsStartWithTheirNumber() {
        for (int s = 0; s < pos::SlotCount; ++s) QCOMPARE(pos::slotListText(s).left(1).toInt(), s);
        QCOMPARE(pos::slotListText(5), QStringLiteral("5 - 数値画像 1"));
    }

    void newDocument() {
        const PositionDocument doc;
        for (const PlacementEntry& e : doc.entries)
            QCOMPARE(describeNew(e), QStringLiteral(" 0 , 0 - 0 , 0 0"));
        for (const PictureSlot& s : doc.pictureSlots)
            QVERIFY(s.fileName.isEmpty() && s.image.isNull());
    }

private:
    static QString describeNew(const PlacementEntry& e) {
        return coordinateText(e) + u' ' + e.value;
    }
};

QTEST_GUILESS_MAIN(TestPositionDocument)
#include "tst_positiondocument.moc"
