// Undo and redo through the real machine window: random edits on every page of the sample
// machine, then the file comes back byte for byte, the pages show the machine after every
// step, and an undo shows the page and the selection of what it took back.

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRandomGenerator>

#include "machinewindowtest.h"

using namespace machinetest;

namespace {

// The steps, one letter each. Navigations: "f" a flag, "e" a setting, "o" a bet, "g" a sound
// group, "r" a stop reel, "q" a payout flag, "L" a pay line, "O" a line bet. Edits: "n" a
// name, "x" the description, "p" a probability, "G" the subtraction value, "B" a super big
// share, "c" the CT entry, "E" an end condition, "k" a switch, "l" a line cell, "a" a line's
// area, "s" an effect candidate, "N" a group's sound, "2" an after-first-two check, "P" a
// payout sound, "T" the payout order, "M" a music number, "R" a sound file, "C" the control
// file.
constexpr char Navigations[] = "feogrqLO";
constexpr char Edits[] = "nxpGBcEklasN2PTMRC";

class Driver {
public:
    Driver(Form1& w, ScriptedDialogs& dialogs, const QString& folder, quint32 seed)
        : w_(w), dialogs_(dialogs), folder_(folder), rng_(seed) {}

    int pick(int n) { return int(rng_.bounded(quint32(n))); }
    QString number(int high) { return QString::number(pick(high + 1)); }

    void run(char step) {
        switch (step) {
            case 'f':
                return clickOn(1, pick(2) ? "NeFlagNo" : "PrFlagNo");
            case 'e':
                return clickOn(1, pick(2) ? "NeSet" : "PrSet");
            case 'o':
                return clickOn(1, QStringLiteral("OptionBets_%1").arg(pick(3)));
            case 'g':
                return clickOn(2, QStringLiteral("OptionSound_%1").arg(pick(3)));
            case 'r':
                return clickOn(2, pick(2) ? "NeRealStop" : "PrRealStop");
            case 'q':
                return clickOn(3, pick(2) ? "Command6" : "Command5");
            case 'L':
                return clickOn(1, pick(2) ? "Command10" : "Command9");
            case 'O':
                return clickOn(1, QStringLiteral("OptionBet_%1").arg(pick(3)));
            case 'n':
                return type(0, pick(2) ? "txtSlotName" : "txtMakerName", word());
            case 'x':
                return typeDescription();
            case 'p':
                return type(1, QStringLiteral("PrizePr_%1").arg(pick(4)), number(65536));
            case 'G':
                return type(1, "txtGensan", number(256));
            case 'B':
                return type(1, QStringLiteral("txtBigPer_%1").arg(pick(5)), number(100));
            case 'c':
                return type(1, "txtCTPr", number(100));
            case 'E':
                return pick(2)
                           ? type(1, QStringLiteral("txtCTEndCon_%1").arg(pick(2)), number(9999))
                           : type(1, pick(2) ? "txtBEndG" : "txtREndG", number(99));
            case 'k': {
                const char* checks[] = {"Check3Bet", "CheckReset", "CheckCT"};
                return clickOn(1, checks[pick(3)]);
            }
            case 'l':
                return clickOn(1, QStringLiteral("PicReal_%1").arg(pick(15)));
            case 'a':
                return type(1, "Text1", number(5));
            case 's':
                return pick(2)
                           ? type(2, QStringLiteral("txtSBBonus_%1").arg(pick(18)), number(65536))
                           : type(2, QStringLiteral("BetSound_%1").arg(pick(23)), number(128));
            case 'N':
                return type(2, "BetSoundN", number(128));
            case '2':
                return clickOn(2, QStringLiteral("Check12Sound_%1").arg(pick(18)));
            case 'P':
                return type(3, QStringLiteral("txtPaySound_%1").arg(pick(6)), number(128));
            case 'T':
                return clickOn(3, "CheckSETiming");
            case 'M':
                return type(3, QStringLiteral("BGM_%1").arg(pick(8)), number(128));
            case 'R':
                type(2, "txtSoundNo", QString::number(1 + pick(128)));
                return clickAnswering(
                    w_, dialogs_, "LoadSound",
                    QDir(folder_).filePath(pick(2) ? "medal.wav" : "fanfare.mid"));
            case 'C':
                showTab(w_, 0);
                return clickAnswering(
                    w_, dialogs_, "Command1",
                    QDir(folder_).filePath(pick(2) ? "other.rcf" : "machine.rcf"));
        }
    }

    // Ctrl+Z, or Ctrl+Y and Ctrl+Shift+Z in turn, in whatever control has the focus.
    void pressHistoryKey(bool redo) {
        QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : &w_;
        if (!redo)
            QTest::keyClick(focused, Qt::Key_Z, Qt::ControlModifier);
        else if (pick(2))
            QTest::keyClick(focused, Qt::Key_Y, Qt::ControlModifier);
        else
            QTest::keyClick(focused, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    }

private:
    void clickOn(int page, const QString& name) {
        showTab(w_, page);
        auto* button = child<QWidget>(w_, name);
        if (button->isEnabled()) QTest::mouseClick(button, Qt::LeftButton);
    }
    void type(int page, const QString& name, const QString& keys) {
        showTab(w_, page);
        if (box(w_, name)->isEnabled()) typeInto(w_, name, keys);
    }
    QString word() {
        QString word;
        for (int i = 1 + pick(4); i > 0; --i) word += QChar(u'a' + pick(26));
        return word;
    }
    void typeDescription() {
        showTab(w_, 0);
        auto* exp = child<QPlainTextEdit>(w_, "txtExp");
        exp->setFocus();
        QTextCursor cursor = exp->textCursor();
        cursor.setPosition(pick(int(exp->toPlainText().size()) + 1));
        exp->setTextCursor(cursor);
        // Deleting on both sides of what the run typed, so that its keys merge every way.
        for (int i = 1 + pick(6); i > 0; --i) {
            const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Backspace,
                                    Qt::Key_Delete};
            const int key = pick(7);
            if (key < 4)
                QTest::keyClick(exp, keys[key]);
            else
                QTest::keyClicks(exp, QString(QChar(u'a' + pick(26))));
        }
    }

    Form1& w_;
    ScriptedDialogs& dialogs_;
    QString folder_;
    QRandomGenerator rng_;
};

// What the pages show is what the machine holds, on every page at its selection.
bool showsDocument(Form1& w) {
    const MachineSpec& m = w.document();
    const SpecSelection& s = w.editor().selection();
    bool same = text(w, "txtSlotName") == m.machineName && text(w, "txtMakerName") == m.makerName &&
                child<QPlainTextEdit>(w, "txtExp")->toPlainText() ==
                    QString(m.explanation).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (int i = 0; i < machine::StoredStates; ++i)
        same = same && text(w, QStringLiteral("PrizePr_%1").arg(i)).toInt() ==
                           m.flagProb[s.curFlag - 1][s.curSetting][s.curBet][i];
    same = same && child<QCheckBox>(w, "CheckCT")->isChecked() == (m.hasCT != 0);
    for (int i = 0; i < sound::StoredBgm; ++i)
        same = same && text(w, QStringLiteral("BGM_%1").arg(i)).toInt() == m.sound.bgmSound[i];
    for (int k = 0; k < 6; ++k)
        same = same && text(w, QStringLiteral("txtPaySound_%1").arg(k)).toInt() ==
                           m.sound.paySound[s.payoutFlag - 1][k / 2][k % 2];
    const auto candidate = w.editor().effectCandidate(w.editor().effectPlace(), 0);
    same = same && text(w, "BetSoundN").toInt() == m.sound.normalSound[s.soundGroup] &&
           text(w, "txtSBBonus_0").toInt() == (candidate ? candidate->probability : 0);
    if (!same) qWarning("a page does not show the machine");
    return same;
}

}  // namespace

class TestUndo : public QObject {
    Q_OBJECT
private slots:
    void init();
    void randomEditsComeBack_data();
    void randomEditsComeBack();
    void undoShowsWhatChanged_data();
    void undoShowsWhatChanged();

private:
    bool undoAll(Driver& driver, Form1& w, bool redo);
    void save(Form1& w, ScriptedDialogs& dialogs, const QString& name);

    QTemporaryDir dir_;
    QString start_;
};

void TestUndo::init() {
    const QDir sample(QStringLiteral(SAMPLE_DIR));
    for (const QString& name : sample.entryList(QDir::Files)) {
        QFile::remove(dir_.filePath(name));
        QVERIFY(QFile::copy(sample.filePath(name), dir_.filePath(name)));
    }
    QFile::remove(dir_.filePath("other.rcf"));
    QVERIFY(QFile::copy(sample.filePath("machine.rcf"), dir_.filePath("other.rcf")));
    start_ = dir_.filePath("machine.orf");
}

bool TestUndo::undoAll(Driver& driver, Form1& w, bool redo) {
    // Sometimes from inside a text box, whose own undo must not run.
    const char* boxes[] = {"txtExp", "PrizePr_1", "BGM_0", "TabStrip1"};
    child<QWidget>(w, boxes[driver.pick(4)])->setFocus();
    for (int guard = 0; redo ? w.editor().canRedo() : w.editor().canUndo(); ++guard) {
        if (guard > 2 * EditorSession::HistoryLimit) return false;
        driver.pressHistoryKey(redo);
        if (!showsDocument(w)) return false;
    }
    return true;
}

void TestUndo::save(Form1& w, ScriptedDialogs& dialogs, const QString& name) {
    QVERIFY(saveMachine(w, dialogs, dir_.filePath(name)));
    QVERIFY(!w.isModified());
}

void TestUndo::randomEditsComeBack_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QString>("steps");  // the letters the sequence is drawn from
    for (quint32 seed : {1u, 2u, 3u, 4u})
        QTest::addRow("edits and navigations, seed %u", seed)
            << seed << QString::fromLatin1(Edits) + Navigations;
    QTest::addRow("edits only") << 5u << QString::fromLatin1(Edits);
}

void TestUndo::randomEditsComeBack() {
    QFETCH(quint32, seed);
    QFETCH(QString, steps);
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(activeWindow(w));
    QVERIFY(loadMachine(w, dialogs, start_));
    QVERIFY(!w.editor().canUndo());
    Driver driver(w, dialogs, dir_.path(), seed);
    QString done;
    for (int i = 0; i < 60; ++i) {
        const char step = steps.at(driver.pick(int(steps.size()))).toLatin1();
        done += QLatin1Char(step);
        driver.run(step);
    }
    qInfo("steps %s", qPrintable(done));
    QVERIFY(w.editor().canUndo());
    save(w, dialogs, "a.orf");
    // Nothing plays while the steps are taken back and made again.
    w.soundLog.clear();
    QVERIFY(undoAll(driver, w, false));
    save(w, dialogs, "b.orf");
    QVERIFY(undoAll(driver, w, true));
    save(w, dialogs, "c.orf");
    QVERIFY(w.soundLog.isEmpty());
    QCOMPARE(fileBytes(dir_.filePath("b.orf")), fileBytes(start_));
    QCOMPARE(fileBytes(dir_.filePath("c.orf")), fileBytes(dir_.filePath("a.orf")));
}

void TestUndo::undoShowsWhatChanged_data() {
    QTest::addColumn<QString>("before");  // steps that lead to what is edited
    QTest::addColumn<QString>("box");     // the box edited
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("away");   // steps that show something else
    QTest::addColumn<QString>("label");  // the selection shown, and what it shows
    QTest::addColumn<QString>("shown");
    QTest::newRow("a probability of flag 3")
        << "NeFlagNo NeFlagNo"
        << "PrizePr_2" << 1 << "PrFlagNo PrFlagNo OptionSound_1"
        << "LabelFlagNo"
        << "3";
    QTest::newRow("a reel-stop sound of reel 2")
        << "OptionSound_2 NeRealStop"
        << "BetSound_3" << 2 << "PrRealStop OptionSound_0 Command6"
        << "StopReal"
        << "2";
    QTest::newRow("a payout sound of flag 2") << "Command6"
                                              << "txtPaySound_1" << 3 << "Command5 NeFlagNo"
                                              << "Label36"
                                              << "2";
}

void TestUndo::undoShowsWhatChanged() {
    QFETCH(QString, before);
    QFETCH(QString, box);
    QFETCH(int, page);
    QFETCH(QString, away);
    QFETCH(QString, label);
    QFETCH(QString, shown);
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(activeWindow(w));
    QVERIFY(loadMachine(w, dialogs, start_));
    const auto press = [&w](const QString& names) {
        for (const QString& name : names.split(u' ')) {
            auto* button = child<QAbstractButton>(w, name);
            for (int tab = 0; tab < Form1::PageCount && !button->isVisible(); ++tab)
                showTab(w, tab);
            QTest::mouseClick(button, Qt::LeftButton);
        }
    };
    press(before);
    const QString held = text(w, box);
    typeInto(w, box, held == "7" ? "8" : "7");
    press(away);
    showTab(w, 0);
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(tabs(w)->currentIndex(), page);
    QCOMPARE(text(w, label), shown);
    QCOMPARE(text(w, box), held);
    QVERIFY(!w.isModified());
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
