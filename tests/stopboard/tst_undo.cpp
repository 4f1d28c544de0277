// Undo and redo through the real control window: random edits of every kind on the sample
// machine, then the control file's text comes back exactly; after every undo and redo the
// window shows the document; what is unsaved after undo follows the window's rules.

#include <QRandomGenerator>

#include "stopwindowtest.h"

using namespace stoptest;

namespace {

// The lines of the control file's member text, so that a difference names its line.
QList<QByteArray> memberText(const QString& path) {
    QFile f(path);
    QByteArray text;
    if (f.open(QIODevice::ReadOnly)) rcf::unpackText(f.readAll(), text, nullptr);
    return text.split('\n');
}

// What the window shows is what the document holds (a table number of 0 shows as 1).
bool showsDocument(Form1& w) {
    const ControlEditor& e = w.editor();
    const ControlDocument& d = e.document();
    const auto shown = [&](const QString& name, int value) {
        return textOf(w, name) == QString::number(value);
    };
    bool ok = textOf(w, "Text1") == d.comment(e.currentStopTable()) &&
              shown("FTableNumber", std::max<int>(d.assignment(e.key()), 1)) &&
              shown("FirstStop", e.key().firstStop);
    for (int c = 0; c < reel::CellCount; ++c)
        ok = ok && shown(cellName(c), d.stopIndex(e.currentStopTable(), c));
    for (int s = 0; s < control::SlotsPerBaseTable; ++s) {
        const BaseSlot& slot = d.baseSlot(e.currentBaseTable(), s);
        ok = ok && shown(QStringLiteral("BTNo_%1").arg(s), std::max<int>(slot.table, 1)) &&
             shown(QStringLiteral("TablePr_%1").arg(s), slot.probability);
    }
    return ok;
}

class Driver {
public:
    Driver(Form1& w, quint32 seed) : w_(w), rng_(seed) {}

    // Edits: "i" a stop index, "m" a comment, "t" and "p" a slot's table and probability,
    // "a" an assignment, "v" a stop table paste, "s" a special paste. The rest move the view.
    void run(char step) {
        const ControlEditor& e = w_.editor();
        switch (step) {
            case 'i': {
                const int cell = pick(reel::CellCount);
                const int held = e.document().stopIndex(e.currentStopTable(), cell);
                auto* box = child<QLineEdit>(w_, cellName(cell));
                box->setFocus();
                QTest::keyClick(box, char('0' + (held + 1 + pick(4)) % 5));
                break;
            }
            case 'm':
                typeInto(w_, "Text1", pick(2) ? QStringLiteral("外し%1").arg(pick(99)) : "a,b");
                break;
            case 't':
            case 'p':
                typeInto(w_,
                         QString::fromLatin1(step == 't' ? "BTNo_%1" : "TablePr_%1").arg(pick(8)),
                         QString::number(pick(step == 't' ? 512 : 257) + (step == 't')));
                break;
            case 'a':
                typeInto(w_, "FTableNumber", QString::number(1 + pick(512)));
                break;
            case 'v':
                click(w_, "Command1");
                typeInto(w_, "NowTableNo", QString::number(1 + pick(4)));
                click(w_, "Command2");
                break;
            case 's':
                for (int n = 0; n < KeyElementCount; ++n)
                    child<QCheckBox>(w_, QStringLiteral("CheckSP_%1").arg(n))->setChecked(pick(2));
                for (const KeyGroup& g : KeyGroups)
                    child<QCheckBox>(w_, QStringLiteral("CheckSP_%1").arg(g.first + pick(g.count)))
                        ->setChecked(true);
                click(w_, pick(2) ? "NeSPFNo" : "PrSPFNo");
                click(w_, "Command3");
                break;
            case 'T':
                typeInto(w_, "NowTableNo", QString::number(1 + pick(4)));
                break;
            case 'B':
                typeInto(w_, "BTableNo", QString::number(1 + pick(4)));
                break;
            case 'o':
                click(w_, option(pick(KeyElementCount)));
                break;
            case 'f':
                click(w_, pick(2) ? "NeFlagNo" : "PrFlagNo");
                break;
            case 'g':
                click(w_, pick(3) ? "NeFirstStop" : "PrFirstStop");
                break;
            default:
                click(w_, pick(2) ? "NeBigID" : "PrBigID");
        }
    }

    // Ctrl+Z, or Ctrl+Y and Ctrl+Shift+Z in turn, in whatever control has the focus.
    void pressHistoryKey(bool redo) {
        QWidget* focused = w_.focusWidget() ? w_.focusWidget() : &w_;
        const bool shift = redo && pick(2);
        QTest::keyClick(focused, redo && !shift ? Qt::Key_Y : Qt::Key_Z,
                        shift ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
    }

    int pick(int n) { return int(rng_.bounded(quint32(n))); }

private:
    Form1& w_;
    QRandomGenerator rng_;
};

}  // namespace

class TestUndo : public QObject {
    Q_OBJECT
private slots:
    void randomEditsComeBack_data();
    void randomEditsComeBack();
    void unsavedAfterUndo_data();
    void unsavedAfterUndo();
    void undoShowsWhatChanged_data() { unsavedAfterUndo_data(); }
    void undoShowsWhatChanged();
};

void TestUndo::randomEditsComeBack_data() {
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 2u, 3u, 4u}) QTest::newRow(qPrintable(QString::number(seed))) << seed;
}

void TestUndo::randomEditsComeBack() {
    QFETCH(quint32, seed);
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    // The sample as the window writes it once the base tables the edits reach were shown: a
    // shown slot that was never set becomes table 1, which undo does not take back.
    QVERIFY(w.openFiles(QStringLiteral(SAMPLE_DIR "/machine.sdf"),
                        QStringLiteral(SAMPLE_DIR "/machine.rcf")));
    for (const char* table : {"4", "3", "2", "1"}) typeInto(w, "BTableNo", table);
    answerFile(w, dialogs, "SaveConFile", dir.filePath("in.rcf"));
    answerFile(w, dialogs, "LoadConFile", dir.filePath("in.rcf"));
    QVERIFY(!w.editor().canUndo());
    Driver driver(w, seed);
    constexpr char Steps[] = "imtpavsimtpaTBofgh";
    for (int n = 0; n < 80; ++n) driver.run(Steps[driver.pick(int(sizeof Steps) - 1)]);
    answerFile(w, dialogs, "SaveConFile", dir.filePath("a.rcf"));

    int steps = 0;
    for (; w.editor().canUndo(); ++steps) {
        driver.pressHistoryKey(false);
        QVERIFY2(showsDocument(w), qPrintable(QStringLiteral("after undo %1").arg(steps + 1)));
    }
    QVERIFY(steps > 40);
    answerFile(w, dialogs, "SaveConFile", dir.filePath("b.rcf"));
    while (w.editor().canRedo()) {
        driver.pressHistoryKey(true);
        QVERIFY(showsDocument(w));
    }
    answerFile(w, dialogs, "SaveConFile", dir.filePath("c.rcf"));
    QVERIFY(dialogs.shown.isEmpty());
    QCOMPARE(memberText(dir.filePath("b.rcf")), memberText(dir.filePath("in.rcf")));
    QCOMPARE(memberText(dir.filePath("c.rcf")), memberText(dir.filePath("a.rcf")));
}

void TestUndo::unsavedAfterUndo_data() {
    // An edit taken back leaves nothing to save; a paste counts as a change whatever undo does.
    QTest::addColumn<QString>("box");  // typed into; empty: the button pressed
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("unsaved");
    QTest::newRow("stop index") << cellName(5) << "" << false;
    QTest::newRow("comment") << "Text1"
                             << "" << false;
    QTest::newRow("slot table") << "BTNo_2"
                                << "" << false;
    QTest::newRow("slot probability") << "TablePr_2"
                                      << "" << false;
    QTest::newRow("assignment") << "FTableNumber"
                                << "" << false;
    QTest::newRow("stop table paste") << ""
                                      << "Command2" << true;
    QTest::newRow("special paste") << ""
                                   << "Command3" << true;
}

namespace {

// A window with something for the pastes to change: table 2 and the assignments of flag 0.
void prepare(Form1& w) {
    typeInto(w, "NowTableNo", "2");
    typeInto(w, cellName(0), "3");
    click(w, "Command1");
    typeInto(w, "NowTableNo", "1");
    typeInto(w, "FTableNumber", "7");
    for (int n : {1, 4, 7, 10}) click(w, QStringLiteral("CheckSP_%1").arg(n));
}

// Types "4" into the box, or presses the button.
void edit(Form1& w, const QString& box, const QString& button) {
    if (box.isEmpty()) {
        click(w, button);
    } else if (box.startsWith(QLatin1String("StopIndex"))) {
        child<QWidget>(w, box)->setFocus();
        QTest::keyClick(child<QWidget>(w, box), '4');
    } else {
        typeInto(w, box, "4");
    }
}

void undo(Form1& w) {
    QTest::keyClick(w.focusWidget() ? w.focusWidget() : &w, Qt::Key_Z, Qt::ControlModifier);
}

}  // namespace

void TestUndo::unsavedAfterUndo() {
    QFETCH(QString, box);
    QFETCH(QString, button);
    QFETCH(bool, unsaved);
    LoadedWindow l;
    ControlEditor& e = l.w.editor();
    prepare(l.w);
    markSaved(e);
    const QByteArray before = rcf::writeText(e.document());
    edit(l.w, box, button);
    QVERIFY(e.isModified());
    QVERIFY(rcf::writeText(e.document()) != before);
    undo(l.w);
    QCOMPARE(rcf::writeText(e.document()), before);
    QCOMPARE(e.isModified(), unsaved);
    QVERIFY(showsDocument(l.w));
}

void TestUndo::undoShowsWhatChanged() {
    // The view moves away from the edit; undo brings back the table or key it changed (for a
    // special paste the key pasted from).
    QFETCH(QString, box);
    QFETCH(QString, button);
    LoadedWindow l;
    const ControlEditor& e = l.w.editor();
    prepare(l.w);
    const auto where = [&] {
        return std::tuple{e.currentStopTable(), e.currentBaseTable(), e.key().index()};
    };
    const auto before = where();
    edit(l.w, box, button);
    typeInto(l.w, "NowTableNo", "9");
    typeInto(l.w, "BTableNo", "9");
    click(l.w, option(3));
    undo(l.w);
    const auto after = where();
    if (box.startsWith(QLatin1String("BTNo")) || box.startsWith(QLatin1String("TablePr")))
        QCOMPARE(std::get<1>(after), std::get<1>(before));
    else if (box == QLatin1String("FTableNumber") || button == QLatin1String("Command3"))
        QCOMPARE(std::get<2>(after), std::get<2>(before));
    else
        QCOMPARE(std::get<0>(after), std::get<0>(before));
    QVERIFY(showsDocument(l.w));
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
