#include <QtTest>
#include <vector>

#include "controldocument.h"

using namespace control;

class TestControlDocument : public QObject {
    Q_OBJECT

private slots:
    void startValues();
    void keysFillTheDenseTable();
    void lastPrizeIndexRange_data();
    void lastPrizeIndexRange();
    void tablesAreSeparate();
};

// Flags 0..19 start on base table 1 in every situation, flag 20 on 0; tables are empty.
void TestControlDocument::startValues() {
    const ControlDocument doc;
    QCOMPARE(doc.lastPrizeIndex(), 0);
    int ones = 0, zeros = 0;
    for (std::int16_t v : doc.assignments()) {
        if (v == 1) ++ones;
        if (v == 0) ++zeros;
    }
    QCOMPARE(ones + zeros, AssignmentCount);
    QCOMPARE(zeros, AssignmentCount / FlagCount);
    for (const AssignmentKey& key :
         {AssignmentKey{0, 0, 0, 0, 19, 4, 21}, AssignmentKey{3, 2, 2, 5, 0, 0, 1},
          AssignmentKey{2, 1, 1, 1, 7, 2, 11}})
        QCOMPARE(doc.assignment(key), std::int16_t(1));
    for (const AssignmentKey& key :
         {AssignmentKey{0, 0, 0, 0, 20, 0, 1}, AssignmentKey{3, 2, 2, 5, 20, 4, 21}})
        QCOMPARE(doc.assignment(key), std::int16_t(0));
    for (int t : {1, 512}) {
        QVERIFY(doc.comment(t).isEmpty());
        for (std::int16_t v : doc.stopTable(t)) QCOMPARE(v, std::int16_t(0));
        for (int s = 0; s < SlotsPerBaseTable; ++s) QCOMPARE(doc.baseSlot(t, s), BaseSlot{});
    }
}

// Every valid key has its own entry and together they cover the table; keys outside the
// ranges are told apart.
void TestControlDocument::keysFillTheDenseTable() {
    std::vector<bool> seen(AssignmentCount, false);
    AssignmentKey k;
    int keys = 0;
    for (k.playState = 0; k.playState < PlayStateCount; ++k.playState)
        for (k.bonusFlagState = 0; k.bonusFlagState < BonusFlagStateCount; ++k.bonusFlagState)
            for (k.bet = 0; k.bet < BetCount; ++k.bet)
                for (k.stopOrder = 0; k.stopOrder < StopOrderCount; ++k.stopOrder)
                    for (k.flag = 0; k.flag < FlagCount; ++k.flag)
                        for (k.bigType = 0; k.bigType < BigTypeCount; ++k.bigType)
                            for (k.firstStop = 1; k.firstStop <= FirstStopCount; ++k.firstStop) {
                                QVERIFY(k.isValid());
                                const std::size_t i = k.index();
                                QVERIFY(i < seen.size());
                                QVERIFY(!seen[i]);
                                seen[i] = true;
                                ++keys;
                            }
    QCOMPARE(keys, AssignmentCount);
    QCOMPARE(AssignmentCount, 4 * 3 * 3 * 6 * 21 * 5 * 21);

    for (const AssignmentKey& bad :
         {AssignmentKey{4, 0, 0, 0, 0, 0, 1}, AssignmentKey{0, 3, 0, 0, 0, 0, 1},
          AssignmentKey{0, 0, 3, 0, 0, 0, 1}, AssignmentKey{0, 0, 0, 6, 0, 0, 1},
          AssignmentKey{0, 0, 0, 0, 21, 0, 1}, AssignmentKey{0, 0, 0, 0, 0, 5, 1},
          AssignmentKey{0, 0, 0, 0, 0, 0, 0}, AssignmentKey{0, 0, 0, 0, 0, 0, 22},
          AssignmentKey{-1, 0, 0, 0, 0, 0, 1}, AssignmentKey{0, 0, 0, 0, -1, 0, 1}})
        QVERIFY(!bad.isValid());
}

void TestControlDocument::lastPrizeIndexRange_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("no prize data") << 0 << true;
    QTest::newRow("one") << 1 << true;
    QTest::newRow("twenty prizes") << 19 << true;
    QTest::newRow("twenty-one prizes") << 20 << false;
    QTest::newRow("reel data maximum") << 100 << false;
    QTest::newRow("negative") << -1 << false;
}

// A reel data file with more prizes than flags 1..20 is refused with a message, and the
// document keeps the LastPrizeIndex it had.
void TestControlDocument::lastPrizeIndexRange() {
    QFETCH(int, value);
    QFETCH(bool, accepted);
    ControlDocument doc;
    QVERIFY(doc.setLastPrizeIndex(7));
    QString error;
    QCOMPARE(doc.setLastPrizeIndex(value, &error), accepted);
    QCOMPARE(doc.lastPrizeIndex(), accepted ? value : 7);
    QCOMPARE(error.isEmpty(), accepted);
    if (!accepted) QVERIFY(error.contains(QStringLiteral("20 個")));
}

// Neighbouring tables and slots do not overlap: an edit at the edge of one stays there.
void TestControlDocument::tablesAreSeparate() {
    ControlDocument doc;
    const ControlDocument before;
    doc.setStopIndex(2, 0, 4);
    doc.setStopIndex(2, reel::CellCount - 1, 3);
    doc.baseSlot(2, 0) = {256, 512};
    doc.baseSlot(2, SlotsPerBaseTable - 1) = {1, 2};
    doc.setComment(2, QStringLiteral("中段"));
    for (int t : {1, 3}) {
        QCOMPARE(doc.comment(t), QString());
        for (int c = 0; c < reel::CellCount; ++c) QCOMPARE(doc.stopIndex(t, c), std::int16_t(0));
        for (int s = 0; s < SlotsPerBaseTable; ++s) QCOMPARE(doc.baseSlot(t, s), BaseSlot{});
    }
    QCOMPARE(doc.stopTable(2)[0], std::int16_t(4));
    QCOMPARE(doc.stopTable(2)[reel::CellCount - 1], std::int16_t(3));
    QVERIFY(doc != before);
}

QTEST_GUILESS_MAIN(TestControlDocument)
#include "tst_controldocument.moc"
