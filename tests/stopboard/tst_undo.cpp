// Undo and redo through the real control window: random edits of every kind on the sample
// machine, then the control file's text comes back exactly; after every undo and redo the
// window shows the document; what is unsaved after undo follows the window's rules.

#include <QRandomGenerator>

#include "stopwindowtest.h"

using namespace stoptest;
using namespace stopboard;

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
    void pressHistoryKey(bool redo) { wintest::pressHistoryKey(w_, redo, redo && pick(2)); }

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
    void eachEditUndoes_data();
    void eachEditUndoes();
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

    const auto walk = [&](bool redo) {
        return wintest::walkHistory(
            w.editor(), redo, [&] { driver.pressHistoryKey(redo); },
            [&] { return showsDocument(w); });
    };
    QVERIFY(walk(false) > 40);
    answerFile(w, dialogs, "SaveConFile", dir.filePath("b.rcf"));
    QVERIFY(walk(true) >= 0);
    answerFile(w, dialogs, "SaveConFile", dir.filePath("c.rcf"));
    QVERIFY(dialogs.shown.isEmpty());
    QCOMPARE(memberText(dir.filePath("b.rcf")), memberText(dir.filePath("in.rcf")));
    QCOMPARE(memberText(dir.filePath("c.rcf")), memberText(dir.filePath("a.rcf")));
}

enum Shown { StopTable, BaseTable, Key };

void TestUndo::eachEditUndoes_data() {
    // An edit taken back leaves nothing to save; a paste counts as a change whatever undo does.
    // Undo shows the table or key it changed; a special paste's the key it was pasted from.
    QTest::addColumn<QString>("control");  // a box typed into or a button pressed
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<int>("shown");
    QTest::newRow("stop index") << cellName(5) << false << int(StopTable);
    QTest::newRow("comment") << "Text1" << false << int(StopTable);
    QTest::newRow("slot table") << "BTNo_2" << false << int(BaseTable);
    QTest::newRow("slot probability") << "TablePr_2" << false << int(BaseTable);
    QTest::newRow("assignment") << "FTableNumber" << false << int(Key);
    QTest::newRow("stop table paste") << "Command2" << true << int(StopTable);
    QTest::newRow("special paste") << "Command3" << true << int(Key);
}

void TestUndo::eachEditUndoes() {
    QFETCH(QString, control);
    QFETCH(bool, unsaved);
    QFETCH(int, shown);
    LoadedWindow l;
    ControlEditor& e = l.w.editor();
    // Something for the pastes to change: table 2 and the assignments of flag 0.
    typeInto(l.w, "NowTableNo", "2");
    typeInto(l.w, cellName(0), "3");
    click(l.w, "Command1");
    typeInto(l.w, "NowTableNo", "1");
    typeInto(l.w, "FTableNumber", "7");
    for (int n : {1, 4, 7, 10}) click(l.w, QStringLiteral("CheckSP_%1").arg(n));
    markSaved(e);
    const QByteArray before = rcf::writeText(e.document());
    const auto where = [&] {
        return std::array<std::size_t, 3>{std::size_t(e.currentStopTable()),
                                          std::size_t(e.currentBaseTable()), e.key().index()};
    };
    const auto place = where();
    const auto key = [&](Qt::Key k) {
        QTest::keyClick(l.w.focusWidget() ? l.w.focusWidget() : &l.w, k, Qt::ControlModifier);
    };
    if (control.startsWith(QLatin1String("Command"))) {
        click(l.w, control);
    } else if (control.startsWith(QLatin1String("StopIndex"))) {
        child<QWidget>(l.w, control)->setFocus();
        QTest::keyClick(child<QWidget>(l.w, control), '4');
    } else {
        typeInto(l.w, control, "4");
    }
    QVERIFY(e.isModified());
    QVERIFY(rcf::writeText(e.document()) != before);
    key(Qt::Key_Z);
    QCOMPARE(rcf::writeText(e.document()), before);
    QCOMPARE(e.isModified(), unsaved);
    // Again, with the view moved away before the undo.
    key(Qt::Key_Y);
    typeInto(l.w, "NowTableNo", "9");
    typeInto(l.w, "BTableNo", "9");
    click(l.w, option(3));
    key(Qt::Key_Z);
    QCOMPARE(where()[shown], place[shown]);
    QVERIFY(showsDocument(l.w));
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
