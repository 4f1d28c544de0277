// A whole session through the window: reel data loaded, stop tables, base tables and
// assignments filled, saved; a fresh window reads everything back.

#include <QDir>

#include "archive.h"
#include "stopwindowtest.h"

using namespace stoptest;
using namespace stopboard;

class TestSession : public QObject {
    Q_OBJECT
private slots:
    void saveAndReadBack();
};

void TestSession::saveAndReadBack() {
    LoadedWindow l;
    Form1& w = l.w;
    // Two stop tables with values and comments.
    typeInto(w, "NowTableNo", "300");
    for (auto [cell, digit] : {std::pair{0, "4"}, {20, "1"}, {41, "3"}, {62, "2"}})
        typeInto(w, cellName(cell), digit);
    typeInto(w, "Text1", "リプレイ,外し");
    click(w, "PrNowTable");
    typeInto(w, cellName(33), "1");
    // Base tables 2 and 512.
    typeInto(w, "BTableNo", "2");
    typeInto(w, "BTNo_0", "300");
    typeInto(w, "TablePr_0", "200");
    typeInto(w, "BTNo_1", "299");
    typeInto(w, "TablePr_1", "56");
    typeInto(w, "BTableNo", "512");
    typeInto(w, "TablePr_7", "256");
    // Shown, the slots of table 1 take stop table 1, as the fresh window's will.
    typeInto(w, "BTableNo", "1");
    // Assignments: 通常時 flag 1, and BB中 3BET 中右左 flag 2 big type 3 at first stop 9.
    click(w, "NeFlagNo");
    typeInto(w, "FTableNumber", "2");
    for (int n : {1, 9, 13}) click(w, option(n));
    click(w, "NeFlagNo");
    click(w, "NeBigID");
    click(w, "NeBigID");
    typeInto(w, "FirstStop", "9");
    typeInto(w, "FTableNumber", "512");
    // and onto CT中 for flag 3 by the special paste.
    for (int i = 0; i < 3; ++i) click(w, "NeSPFNo");
    for (int n : {3, 4, 7, 10}) click(w, QStringLiteral("CheckSP_%1").arg(n));
    click(w, "Command3");

    const QString path = l.dir.filePath("machine.rcf");
    answerFile(w, l.dialogs, "SaveConFile", path);
    QCOMPARE(l.dialogs.fileRequests.last().filter,
             QStringLiteral("RealControlFile|*.rcf|All Files|*.*|"));
    QVERIFY(l.dialogs.shown.isEmpty());
    QVERIFY(!w.editor().isModified());
    QCOMPARE(textOf(w, "ConFileName"), QStringLiteral("machine.rcf"));
    QCOMPARE(QDir(l.dir.path()).entryList({"dummy.dat"}, QDir::Files), QStringList());
    lzh::Archive archive;
    QVERIFY(archive.openFile(path));
    QCOMPARE(archive.memberNames(), QStringList{"dummy.dat"});
    QCOMPARE(archive.read("dummy.dat").value_or(QByteArray()), rcf::writeText(w.document()));

    ScriptedDialogs dialogs;
    Form1 fresh(dialogs);
    QVERIFY(showWindow(fresh));
    loadReelData(fresh, dialogs, l.dir.filePath("m.sdf"));
    // Work in the fresh window before the load: the file replaces it, the key stays but for
    // the flag.
    click(fresh, option(8));
    click(fresh, "NeFlagNo");
    typeInto(fresh, "Text1", "消える");
    dialogs.answers << Dialogs::Answer::No;  // asked about that work first
    answerFile(fresh, dialogs, "LoadConFile", path);
    QCOMPARE(dialogs.shown.size(), 1);
    QVERIFY(!fresh.editor().isModified());
    QCOMPARE(textOf(fresh, "ConFileName"), QStringLiteral("machine.rcf"));
    QCOMPARE(textOf(fresh, "LabelFlNo"), QStringLiteral("0"));
    QCOMPARE(textOf(fresh, "Text1"), QString());
    QVERIFY(isChecked(fresh, option(8)));
    click(fresh, option(7));
    QVERIFY(fresh.document() == w.document());
    QCOMPARE(fresh.document().comment(300), QStringLiteral("リプレイ，外し"));
    QCOMPARE(fresh.document().assignment(keyOf(1, 0, 2, 3, 2, 2, 9)), 512);
    QCOMPARE(fresh.document().assignment(keyOf(3, 0, 0, 0, 3, 4, 9)), 512);

    // And the window shows it.
    typeInto(fresh, "NowTableNo", "300");
    QCOMPARE(textOf(fresh, cellName(41)), QStringLiteral("3"));
    QCOMPARE(textOf(fresh, "Text1"), QStringLiteral("リプレイ，外し"));
    typeInto(fresh, "BTableNo", "2");
    QCOMPARE(textOf(fresh, "BTNo_1"), QStringLiteral("299"));
    QCOMPARE(textOf(fresh, "TablePr_0"), QStringLiteral("200"));
    click(fresh, "NeFlagNo");
    QCOMPARE(textOf(fresh, "FTableNumber"), QStringLiteral("2"));
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
