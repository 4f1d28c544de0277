#include <QTest>

#include "machinespec.h"
#include "pictures.h"
#include "speceditor.h"

using namespace specboard;

class MachineSpecTest : public QObject {
    Q_OBJECT
private slots:
    void boxTextsKeepTheirNumbers_data();
    void boxTextsKeepTheirNumbers();
    void flagSelectionsStayInRange_data();
    void flagSelectionsStayInRange();
    void prizeSymbolPictures();
};

void MachineSpecTest::boxTextsKeepTheirNumbers_data() {
    QTest::addColumn<bool>("ctEnd");  // else a bonus end box
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("value");  // the box held 7 before
    QTest::newRow("CT plays at limit") << true << 1 << "9999"
                                       << "9999" << 9999;
    QTest::newRow("CT above limit") << true << 0 << "10000"
                                    << "0" << 0;
    QTest::newRow("CT far above limit") << true << 0 << "99999999999999999"
                                        << "0" << 0;
    QTest::newRow("empty stores nothing") << true << 0 << ""
                                          << "" << 7;
    QTest::newRow("word") << true << 1 << "abc"
                          << "abc" << 0;
    QTest::newRow("leading number") << true << 1 << "12abc"
                                    << "12abc" << 12;
    QTest::newRow("half rounds to even, down") << true << 0 << "12.5"
                                               << "12.5" << 12;
    QTest::newRow("half rounds to even, up") << true << 0 << "13.5"
                                             << "13.5" << 14;
    QTest::newRow("above half") << true << 0 << "12.51"
                                << "12.51" << 13;
    QTest::newRow("fraction past the limit") << true << 0 << "9999.2"
                                             << "0" << 0;
    QTest::newRow("negative") << true << 0 << "-5"
                              << "-5" << -5;
    QTest::newRow("big games above 99") << false << 0 << "100"
                                        << "0" << 0;
    QTest::newRow("regular games 99") << false << 2 << "99"
                                      << "99" << 99;
    QTest::newRow("single-digit box has no limit") << false << 1 << "123"
                                                   << "123" << 123;
    QTest::newRow("held to 16 bits") << false << 3 << "99999"
                                     << "99999" << 32767;
    QTest::newRow("held to 16 bits, negative") << false << 3 << "-99999"
                                               << "-99999" << -32768;
}

void MachineSpecTest::boxTextsKeepTheirNumbers() {
    QFETCH(bool, ctEnd);
    QFETCH(int, box);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(int, value);
    SpecEditor editor;
    if (ctEnd) {
        editor.setCTEndConText(box, "7");
        QCOMPARE(editor.setCTEndConText(box, text), shown);
        QCOMPARE(editor.document().ctEndConText(box), shown);
        QCOMPARE(int(editor.ctEndCon(box)), value);
    } else {
        editor.setBonusEndText(box, "7");
        QCOMPARE(editor.setBonusEndText(box, text), shown);
        QCOMPARE(editor.document().bonusEndText(box), shown);
        QCOMPARE(int(editor.bonusEnd(box)), value);
    }
}

void MachineSpecTest::flagSelectionsStayInRange_data() {
    QTest::addColumn<int>("flag");
    QTest::addColumn<int>("flagCount");
    QTest::addColumn<int>("expected");
    QTest::newRow("within") << 3 << 4 << 3;
    QTest::newRow("last flag") << 5 << 4 << 5;
    QTest::newRow("past a smaller file") << 15 << 4 << 5;
    QTest::newRow("no flags beyond the first") << 2 << 0 << 1;
    QTest::newRow("count beyond the table") << 40 << 90 << 21;
    QTest::newRow("below 1") << 0 << 4 << 1;
}

void MachineSpecTest::flagSelectionsStayInRange() {
    QFETCH(int, flag);
    QFETCH(int, flagCount);
    QFETCH(int, expected);
    SpecSelection selection;
    selection.curFlag = static_cast<std::int16_t>(flag);
    selection.payoutFlag = static_cast<std::int16_t>(flag);
    selection.limitFlags(flagCount);
    QCOMPARE(int(selection.curFlag), expected);
    QCOMPARE(int(selection.payoutFlag), expected);
}

void MachineSpecTest::prizeSymbolPictures() {
    ReelDataInfo info;
    QImage lit(72, 36, QImage::Format_RGB32);
    lit.fill(Qt::red);
    info.symbolPictures[6] = lit;
    QCOMPARE(info.picture(6), lit);
    QVERIFY(info.picture(0).isNull());  // not loaded yet
    QCOMPARE(info.picture(reel::AnySymbol), pictures::anyPicture());
    // Numbers a damaged reel data file may hold show a blank cell instead of running past the
    // table.
    for (int symbol : {7, -1, 99, 101, 32767})
        QCOMPARE(info.picture(symbol), pictures::blankPicture());
}

QTEST_GUILESS_MAIN(MachineSpecTest)
#include "tst_machinespec.moc"
