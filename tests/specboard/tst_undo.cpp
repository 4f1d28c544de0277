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

// The controls random steps use: a page, a control name (with "%1", one of `count`), and for
// a box the highest number typed into it (0: a button or check to click). The first eight
// rows only navigate.
struct Control {
    int page;
    const char* name;
    int count;
    int high;
};
constexpr Control Controls[] = {
    {1, "NeFlagNo", 1, 0},
    {1, "PrFlagNo", 1, 0},
    {1, "NeSet", 1, 0},
    {1, "OptionBets_%1", 3, 0},
    {2, "OptionSound_%1", 3, 0},
    {2, "NeRealStop", 1, 0},
    {3, "Command6", 1, 0},
    {1, "Command10", 1, 0},
    {1, "PrizePr_%1", 4, 65536},
    {1, "txtGensan", 1, 256},
    {1, "txtBigPer_%1", 5, 100},
    {1, "txtCTPr", 1, 100},
    {1, "txtCTEndCon_%1", 2, 9999},
    {1, "txtBEndG", 1, 99},
    {1, "Check3Bet", 1, 0},
    {1, "CheckCT", 1, 0},
    {1, "PicReal_%1", 15, 0},
    {1, "Text1", 1, 5},
    {2, "txtSBBonus_%1", 18, 65536},
    {2, "BetSound_%1", 23, 128},
    {2, "BetSoundN", 1, 128},
    {2, "Check12Sound_%1", 18, 0},
    {3, "txtPaySound_%1", 6, 128},
    {3, "CheckSETiming", 1, 0},
    {3, "BGM_%1", 8, 128},
};
constexpr int Navigations = 8;
// Beside the table: a name, the description, a sound file, the control file.
constexpr int OtherEdits = 4;

class Driver {
public:
    Driver(Form1& w, ScriptedDialogs& dialogs, const QString& folder, quint32 seed)
        : w_(w), dialogs_(dialogs), folder_(folder), rng_(seed) {}

    int pick(int n) { return int(rng_.bounded(quint32(n))); }

    // A random step; with `navigate` also one that only moves a selection.
    void run(bool navigate) {
        const int first = navigate ? 0 : Navigations;
        const int step = first + pick(int(std::size(Controls)) + OtherEdits - first);
        if (step < int(std::size(Controls))) {
            const Control& c = Controls[step];
            showTab(w_, c.page);
            QString name = QString::fromLatin1(c.name);
            if (c.count > 1) name = name.arg(pick(c.count));
            auto* control = child<QWidget>(w_, name);
            if (!control->isEnabled()) return;
            if (c.high == 0)
                QTest::mouseClick(control, Qt::LeftButton);
            else
                typeInto(static_cast<QLineEdit*>(control), QString::number(pick(c.high + 1)));
            return;
        }
        switch (step - int(std::size(Controls))) {
            case 0:
                showTab(w_, 0);
                return typeInto(w_, pick(2) ? "txtSlotName" : "txtMakerName", word());
            case 1:
                return typeDescription();
            case 2:
                showTab(w_, 2);
                typeInto(w_, "txtSoundNo", QString::number(1 + pick(128)));
                return clickAnswering(w_, dialogs_, "LoadSound", file("medal.wav", "fanfare.mid"));
            default:
                showTab(w_, 0);
                return clickAnswering(w_, dialogs_, "Command1", file("other.rcf", "machine.rcf"));
        }
    }

    // Ctrl+Z, or Ctrl+Y and Ctrl+Shift+Z in turn, in whatever control has the focus.
    void pressHistoryKey(bool redo) { wintest::pressHistoryKey(w_, redo, redo && pick(2)); }

private:
    QString file(const char* one, const char* other) {
        return QDir(folder_).filePath(QString::fromLatin1(pick(2) ? one : other));
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
    void lineLimitHoldsAfterUndo();

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
    return wintest::walkHistory(
               w.editor(), redo, [&] { driver.pressHistoryKey(redo); },
               [&] { return showsDocument(w); }) >= 0;
}

void TestUndo::save(Form1& w, ScriptedDialogs& dialogs, const QString& name) {
    QVERIFY(saveMachine(w, dialogs, dir_.filePath(name)));
    QVERIFY(!w.isModified());
}

void TestUndo::randomEditsComeBack_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("navigate");
    for (quint32 seed : {1u, 2u, 3u, 4u})
        QTest::addRow("edits and navigations, seed %u", seed) << seed << true;
    QTest::addRow("edits only") << 5u << false;
}

void TestUndo::randomEditsComeBack() {
    QFETCH(quint32, seed);
    QFETCH(bool, navigate);
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(activeWindow(w));
    QVERIFY(loadMachine(w, dialogs, start_));
    QVERIFY(!w.editor().canUndo());
    Driver driver(w, dialogs, dir_.path(), seed);
    for (int i = 0; i < 60; ++i) driver.run(navigate);
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

// The description takes no line past 9,999, whatever undo and redo put back in the box.
void TestUndo::lineLimitHoldsAfterUndo() {
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(activeWindow(w));
    auto* exp = child<QPlainTextEdit>(w, "txtExp");
    exp->setPlainText(QStringLiteral("x\n").repeated(orf::MaxExplanationLines - 2) + "x");
    exp->setFocus();
    exp->moveCursor(QTextCursor::End);
    w.editor().endTyping();
    QTest::keyClick(exp, Qt::Key_Return);  // line 9,999
    const QString full = w.document().explanation;
    for (bool redo : {false, true})
        QTest::keyClick(exp, redo ? Qt::Key_Y : Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.document().explanation, full);
    exp->moveCursor(QTextCursor::End);
    QTest::keyClick(exp, Qt::Key_Return);
    QCOMPARE(exp->blockCount(), orf::MaxExplanationLines);
    QCOMPARE(w.document().explanation, full);
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
