#include <QTest>

#include "reeldatasummary.h"
#include "textfile.h"

namespace {
// A reel data text as the reel editor writes it, optionally without the version line,
// the prizes, or with one arrangement number replaced.
QByteArray reelText(bool versionLine, bool prizes, int badCell = -1, int badValue = 0) {
    TextWriter w;
    if (versionLine) w.rawLine("120");
    w.rawLine("# pics size");
    w.commaNumbers({600, 300});
    w.rawLine("# pics name");
    for (int s = 0; s < 7; ++s)
        for (int state = 0; state < 4; ++state)
            w.commaLine({state == 0 ? QStringLiteral("sym%1,lit.gif").arg(s)
                                    : QStringLiteral("other.gif")});
    w.rawLine("# real arrangement");
    for (int p = 20; p >= 0; --p) {
        int v[3];
        for (int r = 0; r < 3; ++r) {
            const int cell = r * 21 + p;
            v[r] = cell == badCell ? badValue : (cell % 7) + 1;
        }
        w.commaNumbers({v[0], v[1], v[2]});
    }
    if (prizes) {
        w.rawLine("# number of prize");
        w.commaNumbers({2});
        w.rawLine("# prize composition");
        for (int e = 0; e <= 2; ++e) {
            w.commaNumbers({e, 100, 6});
            w.commaNumbers({15, e, 0});
            w.commaNumbers({1, 7, e});
        }
        w.rawLine("# number of flash action");
        w.commaNumbers({1});
    }
    return w.take();
}
}  // namespace

class ReelDataSummaryTest : public QObject {
    Q_OBJECT
private slots:
    void reads_data();
    void reads();
    void refuses_data();
    void refuses();
};

void ReelDataSummaryTest::reads_data() {
    QTest::addColumn<bool>("versionLine");
    QTest::addColumn<bool>("prizes");
    QTest::newRow("full file") << true << true;
    QTest::newRow("ends after the arrangement") << true << false;
    QTest::newRow("no version line, still in step") << false << true;
}

void ReelDataSummaryTest::reads() {
    QFETCH(bool, versionLine);
    QFETCH(bool, prizes);
    ReelDataSummary s;
    QString why;
    QVERIFY2(readReelDataSummary(reelText(versionLine, prizes), s, &why), qPrintable(why));
    QCOMPARE(s.litNames[3], QStringLiteral("sym3,lit.gif"));
    for (int cell = 0; cell < 63; ++cell) QCOMPARE(int(s.arrangement[cell]), cell % 7);
    QCOMPARE(s.hasPrizes, prizes);
    if (prizes) {
        QCOMPARE(s.lastPrizeIndex, 2);
        QCOMPARE(int(s.prizes.size()), 3);
        QCOMPARE(s.prizes[2].symbols, (std::array<std::int16_t, 3>{2, 100, 6}));
        QCOMPARE(s.prizes[1].pays, (std::array<std::int16_t, 3>{15, 1, 0}));
        QCOMPARE(s.prizes[2].kinds, (std::array<std::int16_t, 3>{1, 7, 2}));
    }
}

void ReelDataSummaryTest::refuses_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("arrangement 0") << reelText(true, true, 5, 0);
    QTest::newRow("arrangement 8") << reelText(true, true, 62, 8);
    QTest::newRow("cut inside the names") << reelText(true, true).left(200);
    QByteArray tooMany = reelText(true, true);
    tooMany.replace("# number of prize\r\n2\r\n", "# number of prize\r\n101\r\n");
    QTest::newRow("prize count past the table") << tooMany;
    QByteArray cut = reelText(true, true);
    cut.truncate(cut.indexOf("# number of flash") - 10);
    QTest::newRow("prizes end early") << cut;
    // The reel editor reads a version of 100 as the old layout without header: the same file
    // is refused by every editor, not read one field out of step by some.
    QByteArray old = reelText(true, true);
    old.replace("120\r\n", "100\r\n");
    QTest::newRow("version 100 with a header") << old;
    QByteArray quote = reelText(true, true);
    quote.replace("\"other.gif\"", "ot\"her.gif");  // unquoted, so the quote is part of the name
    QTest::newRow("a double quote in a picture name") << quote;
}

void ReelDataSummaryTest::refuses() {
    QFETCH(QByteArray, bytes);
    ReelDataSummary s;
    s.litNames[0] = QStringLiteral("keep");
    QString why;
    QVERIFY(!readReelDataSummary(bytes, s, &why));
    QVERIFY2(why.contains(QStringLiteral("行目")),
             qPrintable(why));  // the author can find the place
    QCOMPARE(s.litNames[0], QStringLiteral("keep"));
}

QTEST_GUILESS_MAIN(ReelDataSummaryTest)
#include "tst_reeldatasummary.moc"
