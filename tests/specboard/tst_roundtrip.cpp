// A whole machine made through the window alone - names, description, reel data, probabilities,
// switches, CT, super big, bonus end and pay lines - saved, read back by a fresh window and
// saved again byte for byte; and the same for every sound table, made through the two sound
// pages.

#include <QComboBox>
#include <QPlainTextEdit>

#include "machinewindowtest.h"

using namespace machinetest;

class RoundTripTest : public QObject {
    Q_OBJECT
private slots:
    void madeInTheWindow();
    void soundTablesMadeInThePages();
};

void RoundTripTest::madeInTheWindow() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(activeWindow(w));
    typeInto(w, "txtSlotName", "Round trip");
    typeInto(w, "txtMakerName", "Maker 1");
    auto* exp = child<QPlainTextEdit>(w, "txtExp");
    exp->setFocus();
    QTest::keyClicks(exp, "first line");
    QTest::keyClick(exp, Qt::Key_Return);
    QTest::keyClick(exp, Qt::Key_Return);
    QTest::keyClicks(exp, "third ");
    QVERIFY(readReels(w, dialogs, writeReels(dir.path(), "reels.sdf", 3)));
    for (const char* name : {"m.rcf", "m.ppf"})
        QVERIFY(saveFileAtomically(dir.filePath(name), name));
    clickAnswering(w, dialogs, "Command1", dir.filePath("m.rcf"));
    clickAnswering(w, dialogs, "Command2", dir.filePath("m.ppf"));
    showTab(w, 1);

    // Flags 1 and 3, settings 1 and 4, every bet and state.
    for (int flag : {1, 3}) {
        while (w.editor().selection().curFlag < flag) click(w, "NeFlagNo");
        for (int setting : {1, 4}) {
            while (w.editor().selection().curSetting < setting) click(w, "NeSet");
            while (w.editor().selection().curSetting > setting) click(w, "PrSet");
            typeInto(w, "txtGensan", QString::number(10 * setting));
            for (int bet = 0; bet < 3; ++bet) {
                click(w, QStringLiteral("OptionBets_%1").arg(bet));
                for (int state = 0; state < 4; ++state)
                    typeInto(w, QStringLiteral("PrizePr_%1").arg(state),
                             QString::number(flag * 10000 + setting * 1000 + bet * 100 + state));
            }
        }
    }
    for (const char* name : {"Check3Bet", "CheckCT"}) click(w, name);
    for (int big = 0; big < 5; ++big) {
        child<QComboBox>(w, "ComboCTB")->setCurrentIndex(big);
        typeInto(w, "txtCTPr", QString::number(20 + big));
        typeInto(w, "txtSPBNo", QString::number(big + 1));
        for (int i = 0; i < 5; ++i)
            typeInto(w, QStringLiteral("txtBigPer_%1").arg(i), QString::number(big * 5 + i));
    }
    typeInto(w, "txtCTEndCon_0", "150");
    typeInto(w, "txtCTEndCon_1", "");
    const QStringList ends{"30", "2", "12", "8"};
    const QStringList endBoxes{"txtBEndG", "txtBEndB", "txtREndG", "txtREndB"};
    for (int i = 0; i < 4; ++i) typeInto(w, endBoxes[i], ends[i]);
    for (int bet = 0; bet < 3; ++bet) {
        click(w, QStringLiteral("OptionBet_%1").arg(bet));
        for (int line = 0; line < 2; ++line) {
            for (int reelIndex = 0; reelIndex < 3; ++reelIndex)
                click(
                    w,
                    QStringLiteral("PicReal_%1").arg(reelIndex * 5 + (bet + line + reelIndex) % 5));
            typeInto(w, "Text1", QString::number(bet + line + 1));
            click(w, "Command10");
        }
    }

    const QString first = dir.filePath("made.orf");
    QVERIFY(saveMachine(w, dialogs, first));
    QVERIFY(dialogs.shown.isEmpty());
    const MachineSpec& m = w.document();
    QCOMPARE(m.flagProb[2][4][1][3], 34103);
    QCOMPARE(m.gensan[4], 40);
    QCOMPARE(m.superBigPct[4][4], 24);
    QCOMPARE(m.ctEntryPct[4], 24);
    QCOMPARE(w.editor().bonusEnd(2), 12);
    QCOMPARE(m.lineCell[2][1][5 + 4], 1);
    QCOMPARE(m.lineArea[2][1], 4);

    ScriptedDialogs again;
    MachineWindow fresh(again);
    QVERIFY(loadMachine(fresh, again, first));
    QVERIFY(again.shown.isEmpty());
    QCOMPARE(text(fresh, "txtSlotName"), QStringLiteral("Round trip"));
    const QString second = dir.filePath("again.orf");
    QVERIFY(saveMachine(fresh, again, second));
    QCOMPARE(fileBytes(second), fileBytes(first));
    QCOMPARE(fresh.document().explanation, QStringLiteral("first line\r\n\r\nthird "));
}

void RoundTripTest::soundTablesMadeInThePages() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(activeWindow(w));
    QVERIFY(readReels(w, dialogs, writeReels(dir.path(), "reels.sdf", 3)));
    showTab(w, 2);
    int value = 0;  // the boxes take values 1..128 and 257..65535, in turn
    const auto next = [&value] { return QString::number(value++ % 128 + 1); };
    for (int n : {1, 64, 128}) {
        typeInto(w, "txtSoundNo", QString::number(n));
        const QString sound = dir.filePath(QStringLiteral("se%1.wav").arg(n));
        QVERIFY(saveFileAtomically(sound, "wav"));
        clickAnswering(w, dialogs, "LoadSound", sound);
    }
    const auto candidates = [&](int first, int last) {
        for (int i = first; i <= last; ++i) {
            typeInto(w, QStringLiteral("txtSBBonus_%1").arg(i),
                     QString::number((value++ % 255 + 1) * 257));
            typeInto(w, QStringLiteral("BetSound_%1").arg(i), next());
        }
    };
    for (int group = 0; group < 3; ++group) {
        click(w, QStringLiteral("OptionSound_%1").arg(group));
        for (int reel = 1; reel <= (group == 2 ? 3 : 1); ++reel) {
            typeInto(w, "BetSoundN", next());
            candidates(0, 11);
            for (int i = reel % 2; i < 12 && group == 2; i += 3)
                click(w, QStringLiteral("Check12Sound_%1").arg(i));
            for (int big = 18; big <= 22 && group == 0; ++big)
                typeInto(w, QStringLiteral("BetSound_%1").arg(big), next());
            for (int flag : {0, 7, 19}) {
                if (group == 0) break;
                typeInto(w, "txtSSFlag", QString::number(flag));
                candidates(12, 17);
                for (int i = 12 + (flag + reel) % 2; i < 18 && group == 2; i += 2)
                    click(w, QStringLiteral("Check12Sound_%1").arg(i));
            }
            if (group == 2) click(w, "NeRealStop");
        }
    }
    showTab(w, 3);
    for (int flag = 1; flag <= 4; ++flag) {
        for (int k = 0; k < 6; ++k) typeInto(w, QStringLiteral("txtPaySound_%1").arg(k), next());
        click(w, "Command6");
    }
    click(w, "CheckSETiming");
    for (int i = 0; i < 8; ++i) typeInto(w, QStringLiteral("BGM_%1").arg(i), next());

    const sound::SoundTables& t = w.document().sound;
    QCOMPARE(t.files[64], QStringLiteral("se64.wav"));
    QVERIFY(t.bigFirstPlaySound[5] != 0 && t.flagCandidates[19][5].sound != 0 &&
            t.stopFlagCandidates[2][19][5].probability != 0 && t.paySound[3][2][1] != 0 &&
            t.bgmSound[7] != 0 && t.paySoundFirst == 1);
    QCOMPARE(t.stopFlagCandidates[2][7][0].afterFirstTwo, 1);
    QCOMPARE(t.stopBonusAfterFirstTwo[1][0][0], 1);
    const QString first = dir.filePath("sounds.orf");
    QVERIFY(saveMachine(w, dialogs, first));

    ScriptedDialogs again;
    MachineWindow fresh(again);
    QVERIFY(loadMachine(fresh, again, first));
    QVERIFY(again.shown.isEmpty());
    QCOMPARE(fresh.document().sound, t);
    const QString second = dir.filePath("again.orf");
    QVERIFY(saveMachine(fresh, again, second));
    QCOMPARE(fileBytes(second), fileBytes(first));
}

QTEST_MAIN(RoundTripTest)
#include "tst_roundtrip.moc"
