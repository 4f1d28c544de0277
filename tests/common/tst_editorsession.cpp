// The editor session's rule of unsaved work, its merging of typed steps and its bounds.

#include <QTest>

#include "editorsession.h"
#include "valuestep.h"

namespace {

// A document of one number, edited through steps as an editor does.
struct Counter {
    EditorSession session;
    int value = 0;

    // An edit to `to`; typed into box `box` (merging), or an edit that never merges (-1).
    void edit(int to, int box = -1) {
        session.push(new ValueStep<int>(value, to, [this](int v) { value = v; },
                                        {box, 0, session.typingRun()}));
    }
};

}  // namespace

class TestEditorSession : public QObject {
    Q_OBJECT
private slots:
    void modified_data();
    void modified();
    void typingMerges_data();
    void typingMerges();
    void historyIsBounded();
    void noStepWhileReplaying();
};

void TestEditorSession::modified_data() {
    // e: an edit, u: undo, r: redo, m: a window rule marks a change, s: save, l: load.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("modified");
    QTest::newRow("nothing") << "" << false;
    QTest::newRow("an edit") << "e" << true;
    QTest::newRow("an edit undone") << "eu" << false;
    QTest::newRow("undone and redone") << "eur" << true;
    QTest::newRow("a mark") << "m" << true;
    QTest::newRow("a mark outlives undo") << "emu" << true;
    QTest::newRow("undo past the save") << "esu" << true;
    QTest::newRow("back to the save") << "eseu" << false;
    QTest::newRow("a save clears a mark") << "ems" << false;
    QTest::newRow("a load clears history and mark") << "eml" << false;
}

void TestEditorSession::modified() {
    QFETCH(QString, steps);
    QFETCH(bool, modified);
    Counter doc;
    for (QChar step : steps) {
        switch (step.unicode()) {
            case u'e':
                doc.edit(doc.value + 1);
                break;
            case u'u':
                doc.session.undo();
                break;
            case u'r':
                doc.session.redo();
                break;
            case u'm':
                doc.session.markChanged();
                break;
            case u's':
                doc.session.documentSaved(QStringLiteral("a.dat"));
                break;
            case u'l':
                doc.session.documentLoaded(QStringLiteral("a.dat"));
                break;
        }
    }
    QCOMPARE(doc.session.isModified(), modified);
    if (steps.endsWith(u'l')) QVERIFY(!doc.session.canUndo() && !doc.session.canRedo());
}

void TestEditorSession::typingMerges_data() {
    // Digits: a value typed into box 1; "-": the run of typing ends; "o": an edit elsewhere.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("steps");
    QTest::newRow("one run, one step") << "123" << 1;
    QTest::newRow("the run ends") << "1-2" << 2;
    QTest::newRow("another edit between") << "1o2" << 3;
    QTest::newRow("typed back to the start") << "50" << 0;
}

void TestEditorSession::typingMerges() {
    QFETCH(QString, typed);
    QFETCH(int, steps);
    Counter doc;
    for (QChar c : typed) {
        if (c == u'-')
            doc.session.endTyping();
        else if (c == u'o')
            doc.edit(-1);
        else
            doc.edit(c.digitValue(), 1);
    }
    QCOMPARE(doc.session.history().count(), steps);
    QCOMPARE(doc.session.isModified(), steps > 0);
    while (doc.session.canUndo()) doc.session.undo();
    QCOMPARE(doc.value, 0);
}

void TestEditorSession::historyIsBounded() {
    Counter doc;
    for (int i = 1; i <= EditorSession::HistoryLimit + 5; ++i) doc.edit(i);
    QCOMPARE(doc.session.history().count(), EditorSession::HistoryLimit);
    while (doc.session.canUndo()) doc.session.undo();
    QCOMPARE(doc.value, 5);
    // The loaded state dropped off the history: undo cannot reach it, so work is unsaved.
    QVERIFY(doc.session.isModified());
}

void TestEditorSession::noStepWhileReplaying() {
    Counter doc;
    // A redraw during undo stores a value: no new step, and the redo stays.
    doc.session.push(new ValueStep<int>(0, 1, [&doc](int v) {
        doc.value = v;
        if (doc.session.isReplaying()) doc.edit(7);
    }));
    doc.session.undo();
    QCOMPARE(doc.session.history().count(), 1);
    QVERIFY(doc.session.canRedo());
}

QTEST_MAIN(TestEditorSession)
#include "tst_editorsession.moc"
