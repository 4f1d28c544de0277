// The bonus page through the real window: which box stores what with which limits, the odds
// labels, the key moves, flag, setting and bet steps, the CT list and the switches.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QWheelEvent>
#include <functional>

#include "machinewindowtest.h"
#include "picturebox.h"
#include "pictures.h"

using namespace machinetest;

namespace {

using Field = std::function<int(const SpecEditor&)>;

// A window on its bonus page with a reel data file of flags 1..6.
struct BonusWindow {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    MachineWindow w{dialogs};
    explicit BonusWindow(int lastPrize = 5) {
        if (!activeWindow(w) ||
            !readReels(w, dialogs, writeReels(dir.path(), "reels.sdf", lastPrize)))
            qWarning("window not ready");
        showTab(w, 1);
    }
};

// The selection at start: flag 1, setting 1, 3 medals, big bonus 1, CT big bonus 1.
Field probability(int state) {
    return [state](const SpecEditor& e) { return int(e.document().flagProb[0][1][2][state]); };
}

}  // namespace

class BonusPageTest : public QObject {
    Q_OBJECT
private slots:
    void boxesStoreWithinTheirLimits_data();
    void boxesStoreWithinTheirLimits();
    void boxesLeftEmpty_data();
    void boxesLeftEmpty();
    void pastedTextMustFitTheBox_data();
    void pastedTextMustFitTheBox();
    void oddsOfAProbability_data();
    void oddsOfAProbability();
    void overflowKeepsTheOddsUntilLeft();
    void arrowKeysMoveBetweenBoxes_data();
    void arrowKeysMoveBetweenBoxes();
    void flagSteps_data();
    void flagSteps();
    void settingAndBetShowTheirValues();
    void superBigNumberShowsItsRow();
    void ctListChosenByClickAndScroll();
    void switchesAndFlagPictures();
};

void BonusPageTest::boxesStoreWithinTheirLimits_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Field>("field");
    QTest::addColumn<int>("value");
    QTest::newRow("5 into a 0 probability") << "PrizePr_0"
                                            << "5"
                                            << "5" << probability(0) << 5;
    QTest::newRow("65536 is a probability") << "PrizePr_3"
                                            << "65536"
                                            << "65536" << probability(3) << 65536;
    // A text the limit clears keeps the value from before the typing.
    QTest::newRow("past 65536 empties") << "PrizePr_1"
                                        << "65537"
                                        << "" << probability(1) << 0;
    const Field gensan = [](const SpecEditor& e) { return int(e.document().gensan[1]); };
    QTest::newRow("subtraction 256") << "txtGensan"
                                     << "256"
                                     << "256" << gensan << 256;
    QTest::newRow("subtraction past 256") << "txtGensan"
                                          << "257"
                                          << "" << gensan << 0;
    const Field bigPer = [](const SpecEditor& e) { return int(e.document().superBigPct[0][2]); };
    QTest::newRow("super big 100") << "txtBigPer_2"
                                   << "100"
                                   << "100" << bigPer << 100;
    QTest::newRow("super big past 100 is 0") << "txtBigPer_2"
                                             << "101"
                                             << "0" << bigPer << 0;
    const Field ct = [](const SpecEditor& e) { return int(e.document().ctEntryPct[0]); };
    QTest::newRow("CT entry 100") << "txtCTPr"
                                  << "100"
                                  << "100" << ct << 100;
    QTest::newRow("CT entry past 100 empties") << "txtCTPr"
                                               << "101"
                                               << "" << ct << 0;
    QTest::newRow("CT net gain 9999")
        << "txtCTEndCon_0"
        << "9999"
        << "9999" << Field([](const SpecEditor& e) { return int(e.ctEndCon(0)); }) << 9999;
    QTest::newRow("CT plays past 9999")
        << "txtCTEndCon_1"
        << "10000"
        << "0" << Field([](const SpecEditor& e) { return int(e.ctEndCon(1)); }) << 0;
    for (int i = 0; i < 4; ++i) {
        const Field end = [i](const SpecEditor& e) { return int(e.bonusEnd(i)); };
        const char* name = std::array{"txtBEndG", "txtBEndB", "txtREndG", "txtREndB"}[i];
        if (i % 2 == 0) {
            QTest::addRow("%s 99", name) << name << "99"
                                         << "99" << end << 99;
            QTest::addRow("%s past 99", name) << name << "100"
                                              << "0" << end << 0;
        } else {
            QTest::addRow("%s one digit at a time", name) << name << "3a4"
                                                          << "4" << end << 4;
        }
    }
}

void BonusPageTest::boxesStoreWithinTheirLimits() {
    QFETCH(QString, box);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(Field, field);
    QFETCH(int, value);
    BonusWindow b;
    typeInto(b.w, box, keys);
    QCOMPARE(machinetest::text(b.w, box), text);
    QCOMPARE(field(b.w.editor()), value);
    // The texts the file keeps follow their boxes.
    if (box.startsWith("txtCTEndCon"))
        QCOMPARE(b.w.document().ctEndConText(box.back().digitValue()), text);
}

void BonusPageTest::boxesLeftEmpty_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");  // after leaving it empty
    for (const char* name : {"PrizePr_2", "txtGensan", "txtBigPer_4", "txtCTEndCon_1", "txtBEndG",
                             "txtBEndB", "txtREndG", "txtREndB", "Text1"})
        QTest::addRow("%s", name) << name << "0";
    QTest::newRow("CT entry stays empty") << "txtCTPr"
                                          << "";
    QTest::newRow("super big number") << "txtSPBNo"
                                      << "1";
}

void BonusPageTest::boxesLeftEmpty() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    BonusWindow b;
    typeInto(b.w, box, "3");
    machinetest::box(b.w, box)->selectAll();
    QTest::keyClick(machinetest::box(b.w, box), Qt::Key_Delete);
    QCOMPARE(machinetest::text(b.w, box), QString());
    leave(b.w, box);
    QCOMPARE(machinetest::text(b.w, box), text);
    // An empty box left empty keeps the value from before the typing; one refilled stores what
    // it shows.
    if (box == "txtCTPr") QCOMPARE(b.w.document().ctEntryPct[0], 0);
    if (box == "PrizePr_2") QCOMPARE(b.w.document().flagProb[0][1][2][2], 0);
    if (box == "txtBEndB") QCOMPARE(b.w.document().bonusEndText(1), QStringLiteral("0"));
}

void BonusPageTest::pastedTextMustFitTheBox_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("text");
    QTest::newRow("super big number 0") << "txtSPBNo"
                                        << "0"
                                        << "1";
    QTest::newRow("super big number two digits") << "txtSPBNo"
                                                 << "23"
                                                 << "1";
    QTest::newRow("super big number 5") << "txtSPBNo"
                                        << "5"
                                        << "5";
    QTest::newRow("bonus end two digits") << "txtBEndB"
                                          << "12"
                                          << "7";
}

void BonusPageTest::pastedTextMustFitTheBox() {
    QFETCH(QString, box);
    QFETCH(QString, clip);
    QFETCH(QString, text);
    BonusWindow b;
    if (box != "txtSPBNo") typeInto(b.w, box, "7");
    QLineEdit* edit = machinetest::box(b.w, box);
    edit->selectAll();
    QApplication::clipboard()->setText(clip);
    edit->paste();
    QCOMPARE(edit->text(), text);
    QVERIFY(b.w.editor().selection().curBigNo >= 1 && b.w.editor().selection().curBigNo <= 5);
}

void BonusPageTest::oddsOfAProbability_data() {
    QTest::addColumn<QString>("probability");
    QTest::addColumn<QString>("odds");
    QTest::newRow("100") << "100"
                         << "655.36";
    QTest::newRow("65536") << "65536"
                           << "1";
    QTest::newRow("26214") << "26214"
                           << "2.5";
    QTest::newRow("3, truncated") << "3"
                                  << "21845.33";
    QTest::newRow("0") << "0"
                       << "?";
}

void BonusPageTest::oddsOfAProbability() {
    QFETCH(QString, probability);
    QFETCH(QString, odds);
    BonusWindow b;
    typeInto(b.w, "PrizePr_1", probability);
    QCOMPARE(text(b.w, "LabelFlagPr_1"), odds);
    QCOMPARE(text(b.w, "LabelFlagPr_0"), QStringLiteral("?"));
}

void BonusPageTest::overflowKeepsTheOddsUntilLeft() {
    BonusWindow b;
    typeInto(b.w, "PrizePr_1", "9");
    typeInto(b.w, "PrizePr_0", "2");
    leave(b.w, "PrizePr_0");
    typeInto(b.w, "PrizePr_0", "7");
    QTest::keyClick(box(b.w, "PrizePr_0"), Qt::Key_Backspace);
    // Emptied by the author: only its own odds go; the value from before the typing stays.
    QCOMPARE(text(b.w, "LabelFlagPr_0"), QStringLiteral("?"));
    QCOMPARE(text(b.w, "LabelFlagPr_1"), QStringLiteral("7281.77"));
    QCOMPARE(b.w.document().flagProb[0][1][2][0], 2);
    QTest::keyClicks(box(b.w, "PrizePr_0"), "200000");
    // Emptied by the limit: the odds of that value show, not of a prefix typed on the way.
    QCOMPARE(text(b.w, "PrizePr_0"), QString());
    QCOMPARE(b.w.document().flagProb[0][1][2][0], 2);
    QCOMPARE(text(b.w, "LabelFlagPr_0"), QStringLiteral("32768"));
    leave(b.w, "PrizePr_0");
    QCOMPARE(b.w.document().flagProb[0][1][2][0], 0);
    QCOMPARE(text(b.w, "LabelFlagPr_0"), QStringLiteral("?"));
}

void BonusPageTest::arrowKeysMoveBetweenBoxes_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    const int up = Qt::Key_Up, down = Qt::Key_Down;
    QTest::newRow("probability down") << "PrizePr_0" << down << "PrizePr_1";
    QTest::newRow("top probability up stays") << "PrizePr_0" << up << "PrizePr_0";
    QTest::newRow("super big up") << "txtBigPer_1" << up << "txtBigPer_0";
    QTest::newRow("CT entry Enter") << "txtCTPr" << int(Qt::Key_Return) << "txtCTEndCon_0";
    QTest::newRow("big games down") << "txtBEndG" << down << "txtBEndB";
    QTest::newRow("big regulars up") << "txtBEndB" << up << "txtBEndG";
    QTest::newRow("regular games down") << "txtREndG" << down << "txtREndB";
    QTest::newRow("regular wins up") << "txtREndB" << up << "txtREndG";
    QTest::newRow("regular wins down stays") << "txtREndB" << down << "txtREndB";
}

void BonusPageTest::arrowKeysMoveBetweenBoxes() {
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    BonusWindow b;
    box(b.w, from)->setFocus();
    QTest::keyClick(box(b.w, from), static_cast<Qt::Key>(key));
    QVERIFY(box(b.w, to)->hasFocus());
}

void BonusPageTest::flagSteps_data() {
    QTest::addColumn<int>("lastPrize");
    QTest::addColumn<int>("forward");
    QTest::addColumn<int>("back");
    QTest::addColumn<int>("flag");
    QTest::newRow("one flag only") << 0 << 3 << 0 << 1;
    QTest::newRow("stops at the last flag") << 3 << 9 << 0 << 4;
    QTest::newRow("back stops at 1") << 3 << 2 << 5 << 1;
    QTest::newRow("21 flags at most") << 20 << 30 << 0 << 21;
}

void BonusPageTest::flagSteps() {
    QFETCH(int, lastPrize);
    QFETCH(int, forward);
    QFETCH(int, back);
    QFETCH(int, flag);
    BonusWindow b(lastPrize);
    for (int i = 0; i < forward; ++i) click(b.w, "NeFlagNo");
    for (int i = 0; i < back; ++i) click(b.w, "PrFlagNo");
    QCOMPARE(text(b.w, "LabelFlagNo"), QString::number(flag));
    typeInto(b.w, "PrizePr_0", "9");
    QCOMPARE(b.w.document().flagProb[flag - 1][1][2][0], 9);
}

void BonusPageTest::settingAndBetShowTheirValues() {
    BonusWindow b;
    typeInto(b.w, "txtGensan", "12");
    typeInto(b.w, "PrizePr_0", "100");
    click(b.w, "NeSet");
    QCOMPARE(text(b.w, "txtGensan"), QStringLiteral("0"));
    QCOMPARE(text(b.w, "PrizePr_0"), QStringLiteral("0"));
    typeInto(b.w, "txtGensan", "34");
    click(b.w, "PrSet");
    QCOMPARE(text(b.w, "txtGensan"), QStringLiteral("12"));
    QCOMPARE(text(b.w, "LabelFlagPr_0"), QStringLiteral("655.36"));
    for (int i = 0; i < 8; ++i) click(b.w, "NeSet");
    QCOMPARE(text(b.w, "LabelSet"), QStringLiteral("6"));
    click(b.w, "OptionBets_0");
    typeInto(b.w, "PrizePr_3", "7");
    QCOMPARE(b.w.document().flagProb[0][6][0][3], 7);
    click(b.w, "OptionBets_2");
    QCOMPARE(text(b.w, "PrizePr_3"), QStringLiteral("0"));
}

void BonusPageTest::superBigNumberShowsItsRow() {
    BonusWindow b;
    typeInto(b.w, "txtBigPer_1", "40");
    typeInto(b.w, "txtSPBNo", "3");
    QCOMPARE(text(b.w, "txtBigPer_1"), QStringLiteral("0"));
    typeInto(b.w, "txtBigPer_4", "55");
    QCOMPARE(b.w.document().superBigPct[2][4], 55);
    // Only 1 to 5, each replacing the last; Backspace is dropped.
    QTest::keyClicks(box(b.w, "txtSPBNo"), "60");
    QTest::keyClick(box(b.w, "txtSPBNo"), Qt::Key_Backspace);
    QCOMPARE(text(b.w, "txtSPBNo"), QStringLiteral("3"));
    QTest::keyClicks(box(b.w, "txtSPBNo"), "1");
    QCOMPARE(text(b.w, "txtBigPer_1"), QStringLiteral("40"));
    QCOMPARE(b.w.editor().selection().curBigNo, 1);
}

void BonusPageTest::ctListChosenByClickAndScroll() {
    BonusWindow b;
    auto* list = child<QComboBox>(b.w, "ComboCTB");
    QCOMPARE(list->count(), 5);
    QCOMPARE(list->currentText(), QStringLiteral("1 - ビッグ1"));
    QCOMPARE(list->itemText(4), QStringLiteral("5 - ビッグ5"));
    for (int big = 0; big < 5; ++big) {
        list->setCurrentIndex(big);
        typeInto(b.w, "txtCTPr", QString::number(10 + big));
    }
    list->showPopup();
    QAbstractItemView* view = list->view();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(2, 0)).center());
    QCOMPARE(text(b.w, "txtCTPr"), QStringLiteral("12"));
    // Scrolling over the list steps to the next type.
    const QPointF at = list->rect().center();
    QWheelEvent wheel(at, list->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &wheel);
    QCOMPARE(b.w.editor().selection().curCTBig, 4);
    QCOMPARE(text(b.w, "txtCTPr"), QStringLiteral("13"));
    // Keys never choose.
    list->setFocus();
    QTest::keyClicks(list, "2");
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentText(), QStringLiteral("4 - ビッグ4"));
}

void BonusPageTest::switchesAndFlagPictures() {
    BonusWindow b(2);
    for (const char* name : {"Check3Bet", "CheckReset", "CheckCT"}) click(b.w, name);
    QCOMPARE(b.w.document().threeBetOnly, 1);
    QCOMPARE(b.w.document().counterReset, 1);
    QCOMPARE(b.w.document().hasCT, 1);
    click(b.w, "CheckCT");
    QCOMPARE(b.w.document().hasCT, 0);
    // Flag 2 is prize entry 1: symbol 2, any symbol, symbol 4.
    click(b.w, "NeFlagNo");
    auto picture = [&](int r) {
        return child<PictureBox>(b.w, QStringLiteral("ImgFlag_%1").arg(r))->picture();
    };
    QCOMPARE(picture(0).pixel(1, 1), symbolColour(1));
    QCOMPARE(picture(1), pictures::anyPicture());
    QCOMPARE(picture(2).pixel(1, 1), symbolColour(3));
}

QTEST_MAIN(BonusPageTest)
#include "tst_bonuspage.moc"
