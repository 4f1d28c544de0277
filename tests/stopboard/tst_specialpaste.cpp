// The special paste through the window: the check of the ticks, what a paste writes, and
// what it leaves as it was.

#include <QSignalSpy>
#include <numeric>

#include "stopwindowtest.h"

using namespace stoptest;
using namespace stopboard;

namespace {

void tick(Form1& w, const QList<int>& elements) {
    for (int n : elements) click(w, QStringLiteral("CheckSP_%1").arg(n));
}

// Assignments 100 + p at first stop p of the current key, through the window's own boxes.
void fillFirstStops(Form1& w) {
    for (int p = 1; p <= 21; ++p) {
        typeInto(w, "FirstStop", QString::number(p));
        typeInto(w, "FTableNumber", QString::number(100 + p));
    }
}

}  // namespace

class TestSpecialPaste : public QObject {
    Q_OBJECT
private slots:
    void everyGroupNeedsATick_data();
    void everyGroupNeedsATick();
    void paste_data();
    void paste();
};

void TestSpecialPaste::everyGroupNeedsATick_data() {
    QTest::addColumn<QList<int>>("ticked");
    QTest::newRow("nothing") << QList<int>{};
    QTest::newRow("no play state") << QList<int>{4, 7, 10};
    QTest::newRow("no bonus flag state") << QList<int>{3, 9, 15};
    QTest::newRow("no bet") << QList<int>{0, 6, 11};
    QTest::newRow("no stop order") << QList<int>{1, 2, 5, 8};
}

void TestSpecialPaste::everyGroupNeedsATick() {
    QFETCH(QList<int>, ticked);
    LoadedWindow l;
    tick(l.w, ticked);
    click(l.w, "NeSPFNo");
    const QByteArray before = rcf::writeText(l.w.document());
    click(l.w, "Command3");
    QCOMPARE(l.dialogs.shown.size(), 1);
    QCOMPARE(l.dialogs.shown[0].title, QStringLiteral("チェックエラー"));
    QCOMPARE(l.dialogs.shown[0].text, QStringLiteral("各項目、最低1つ選んで下さい"));
    QCOMPARE(l.dialogs.shown[0].buttons, Dialogs::Buttons::Ok);
    QCOMPARE(rcf::writeText(l.w.document()), before);
    QVERIFY(!l.w.editor().isModified());
}

void TestSpecialPaste::paste_data() {
    QTest::addColumn<QList<int>>("keyButtons");  // Options clicked, then ">>" of the flag once
    QTest::addColumn<int>("bigTypeSteps");
    QTest::addColumn<int>("pasteFlag");
    QTest::addColumn<QList<int>>("ticked");
    // Key groups written, as digits: play state, bonus flag state, bet, stop order.
    QTest::addColumn<QList<int>>("written");
    QTest::addColumn<int>("changed");  // assignments that took a new value
    QTest::newRow("onto another flag")
        << QList<int>{} << 0 << 2 << QList<int>{0, 1, 4, 6, 8, 10, 15}
        << QList<int>{10, 1010, 210, 1210, 15, 1015, 215, 1215} << 8 * 105;
    // The current big type goes over the other four of the current flag.
    QTest::newRow("onto the current flag")
        << QList<int>{1} << 2 << 1 << QList<int>{1, 4, 7, 10} << QList<int>{1000} << 4 * 21;
    // RB中 with 2BET is written, although the control file carries only 1BET for it.
    QTest::newRow("onto flag 0 in RB中 2BET")
        << QList<int>{} << 0 << 0 << QList<int>{2, 4, 8, 10} << QList<int>{2010} << 105;
}

void TestSpecialPaste::paste() {
    QFETCH(QList<int>, keyButtons);
    QFETCH(int, bigTypeSteps);
    QFETCH(int, pasteFlag);
    QFETCH(QList<int>, ticked);
    QFETCH(QList<int>, written);
    QFETCH(int, changed);
    LoadedWindow l;
    for (int n : keyButtons) click(l.w, option(n));
    click(l.w, "NeFlagNo");
    for (int i = 0; i < bigTypeSteps; ++i) click(l.w, "NeBigID");
    fillFirstStops(l.w);
    for (int i = 0; i < pasteFlag; ++i) click(l.w, "NeSPFNo");
    QCOMPARE(textOf(l.w, "FSPno"), QString::number(pasteFlag));
    tick(l.w, ticked);
    const std::vector<std::int16_t> before(l.w.document().assignments().begin(),
                                           l.w.document().assignments().end());
    const QString shown = textOf(l.w, "FTableNumber");
    QSignalSpy redraws(&l.w.editor(), &ControlEditor::flagViewShown);
    click(l.w, "Command3");
    QVERIFY(l.dialogs.shown.isEmpty());
    QVERIFY(l.w.editor().isModified());
    QCOMPARE(redraws.count(), 0);  // the views stay as they were
    QCOMPARE(textOf(l.w, "FTableNumber"), shown);
    for (int group : written)
        for (int k = 0; k < 5; ++k)
            for (int p = 1; p <= 21; ++p)
                QCOMPARE(
                    l.w.document().assignment(keyOf(group / 1000, group / 100 % 10, group / 10 % 10,
                                                    group % 10, pasteFlag, k, p)),
                    100 + p);
    const auto after = l.w.document().assignments();
    QCOMPARE(int(std::inner_product(before.begin(), before.end(), after.begin(), 0, std::plus<>(),
                                    std::not_equal_to<>())),
             changed);
    // The ticks stay until they are all taken off at once.
    QVERIFY(isChecked(l.w, QStringLiteral("CheckSP_%1").arg(ticked.last())));
    click(l.w, "Command4");
    for (int n = 0; n < KeyElementCount; ++n)
        QVERIFY(!isChecked(l.w, QStringLiteral("CheckSP_%1").arg(n)));
}

QTEST_MAIN(TestSpecialPaste)
#include "tst_specialpaste.moc"
