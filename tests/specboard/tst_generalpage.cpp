// The general page: the name boxes and the description with the text the file cannot carry,
// their key moves, and the reference buttons that only name a file.

#include <QClipboard>
#include <QPlainTextEdit>
#include <functional>

#include "machinewindowtest.h"

using namespace machinetest;

namespace {

QPlainTextEdit* explanation(Form1& w) { return child<QPlainTextEdit>(w, "txtExp"); }

// Types into a name box or the description, after what it holds; "←" is the left arrow key
// and "⌫" Backspace.
void typeAtEnd(Form1& w, const QString& name, const QString& keys) {
    QWidget* target = child(w, name);
    target->setFocus();
    if (auto* box = qobject_cast<QLineEdit*>(target)) box->end(false);
    if (auto* exp = qobject_cast<QPlainTextEdit*>(target)) exp->moveCursor(QTextCursor::End);
    for (QChar c : keys) {
        if (c == u'\n' || c == u'←' || c == u'⌫')
            QTest::keyClick(target, c == u'\n'  ? Qt::Key_Return
                                    : c == u'←' ? Qt::Key_Left
                                                : Qt::Key_Backspace);
        else if (c.unicode() < 0x80)
            QTest::keyClick(target, c.toLatin1());
        else  // keyClicks types Latin-1 only
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void pasteAtEnd(Form1& w, const QString& name, const QString& text) {
    QApplication::clipboard()->setText(text);
    QWidget* target = child(w, name);
    if (auto* box = qobject_cast<QLineEdit*>(target)) {
        box->end(false);
        box->paste();
    } else if (auto* exp = qobject_cast<QPlainTextEdit*>(target)) {
        exp->moveCursor(QTextCursor::End);
        exp->paste();
    }
}

QString shown(Form1& w, const QString& name) {
    if (name == "txtExp") return explanation(w)->toPlainText();
    return text(w, name);
}

}  // namespace

class GeneralPageTest : public QObject {
    Q_OBJECT
private slots:
    void nameBoxKeysMoveOn_data();
    void nameBoxKeysMoveOn();
    void textsTheFileCannotCarryAreRefused_data();
    void textsTheFileCannotCarryAreRefused();
    void joiningLinesIntoTheEndLineIsRefused();
    void damagedTextFromAFileStaysEditable();
    void referenceButtonsOnlyNameTheFile_data();
    void referenceButtonsOnlyNameTheFile();
};

void GeneralPageTest::nameBoxKeysMoveOn_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    QTest::newRow("Enter in the machine name")
        << "txtSlotName" << int(Qt::Key_Return) << "txtMakerName";
    QTest::newRow("down in the machine name")
        << "txtSlotName" << int(Qt::Key_Down) << "txtMakerName";
    QTest::newRow("keypad Enter in the author") << "txtMakerName" << int(Qt::Key_Enter) << "txtExp";
    QTest::newRow("down in the author") << "txtMakerName" << int(Qt::Key_Down) << "txtExp";
}

void GeneralPageTest::nameBoxKeysMoveOn() {
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(activeWindow(w));
    child(w, from)->setFocus();
    QTest::keyClick(child(w, from), static_cast<Qt::Key>(key));
    QVERIFY(child(w, to)->hasFocus());
}

void GeneralPageTest::textsTheFileCannotCarryAreRefused_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("result");
    QTest::newRow("comma and quote typed") << "txtSlotName"
                                           << "a,b\"c"
                                           << ""
                                           << "abc";
    QTest::newRow("pasted with a comma") << "txtMakerName"
                                         << "作者"
                                         << "x,y"
                                         << "作者";
    QTest::newRow("pasted outside code page 932") << "txtSlotName"
                                                  << "a"
                                                  << "😀"
                                                  << "a";
    QTest::newRow("pasted line break") << "txtMakerName"
                                       << "a"
                                       << "b\nc"
                                       << "a";
    QTest::newRow("Japanese and blanks") << "txtSlotName"
                                         << "機種 ①"
                                         << ""
                                         << "機種 ①";
    QTest::newRow("description comma typed") << "txtExp"
                                             << "一行目\na,b"
                                             << ""
                                             << "一行目\nab";
    QTest::newRow("description end line typed") << "txtExp"
                                                << "x\nEnd Of Exp"
                                                << ""
                                                << "x\nEnd Of Ex";
    QTest::newRow("description indented end line") << "txtExp"
                                                   << "  End Of Exp"
                                                   << ""
                                                   << "End Of Ex";
    // The reader skips the blanks a line begins with.
    QTest::newRow("blanks typed before the name") << "txtSlotName"
                                                  << "  Lead"
                                                  << ""
                                                  << "Lead";
    QTest::newRow("a blank pasted before the author") << "txtMakerName"
                                                      << ""
                                                      << " x"
                                                      << "";
    QTest::newRow("deleting what stood before a blank") << "txtSlotName"
                                                        << "a b←←⌫"
                                                        << ""
                                                        << "a b";
    QTest::newRow("an indented description line") << "txtExp"
                                                  << "a\n  indented"
                                                  << ""
                                                  << "a\nindented";
    QTest::newRow("Enter before a blank") << "txtExp"
                                          << "ab cd←←←\n"
                                          << ""
                                          << "ab cd";
    QTest::newRow("indented lines pasted") << "txtExp"
                                           << "x"
                                           << "\n y\nz"
                                           << "x";
    QTest::newRow("description end line pasted") << "txtExp"
                                                 << "x"
                                                 << "\nEnd Of Exp\ny"
                                                 << "x";
    QTest::newRow("description lines pasted") << "txtExp"
                                              << "x"
                                              << "\nEnd Of Expo\n\ny"
                                              << "x\nEnd Of Expo\n\ny";
    QTest::newRow("description quote pasted") << "txtExp"
                                              << "x"
                                              << "\n\"y"
                                              << "x";
}

void GeneralPageTest::textsTheFileCannotCarryAreRefused() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, result);
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(activeWindow(w));
    typeAtEnd(w, box, typed);
    if (!pasted.isEmpty()) pasteAtEnd(w, box, pasted);
    QCOMPARE(shown(w, box), result);
    // Whatever the box kept, the file can hold.
    QVERIFY(orf::unstorableText(w.document()).isEmpty());
}

void GeneralPageTest::joiningLinesIntoTheEndLineIsRefused() {
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(activeWindow(w));
    typeAtEnd(w, "txtExp", "End Of \nExp");
    QPlainTextEdit* exp = explanation(w);
    QTextCursor cursor = exp->textCursor();
    cursor.setPosition(7);  // before the line break
    exp->setTextCursor(cursor);
    QTest::keyClick(exp, Qt::Key_Delete);
    QCOMPARE(exp->toPlainText(), QStringLiteral("End Of \nExp"));
    QCOMPARE(w.document().explanation, QStringLiteral("End Of \r\nExp"));
}

void GeneralPageTest::damagedTextFromAFileStaysEditable() {
    // Bytes that are no code page 932 character are kept as they were read, so the file can
    // carry them back; shown from the file, the texts can still be edited around them.
    QTemporaryDir dir;
    QByteArray bytes = orf::write(MachineSpec());
    bytes.replace("\r\nEnd Of Exp", "\xff\xfe\r\nEnd Of Exp");
    const qsizetype names = bytes.indexOf("\r\n\r\n\r\n\r\n") + 8;  // after the three file names
    bytes.insert(names, "\xff");
    const QString path = dir.filePath("damaged.orf");
    QVERIFY(saveFileAtomically(path, bytes));
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(activeWindow(w));
    QVERIFY(loadMachine(w, dialogs, path));
    QVERIFY(orf::unstorableText(w.document()).isEmpty());
    typeAtEnd(w, "txtSlotName", "a,b");
    typeAtEnd(w, "txtExp", "c,d");
    QVERIFY(w.document().machineName.endsWith(QStringLiteral("ab")));
    QVERIFY(w.document().explanation.endsWith(QStringLiteral("cd")));
}

void GeneralPageTest::referenceButtonsOnlyNameTheFile_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("refused");  // a name the machine file cannot hold
    QTest::newRow("reel control") << "Command1"
                                  << "リール制御ファイル|*.rcf|All Files|*.*|"
                                  << "LabelConFile"
                                  << "a,b.rcf";
    QTest::newRow("picture positions") << "Command2"
                                       << "画像位置ファイル|*.ppf|All Files|*.*|"
                                       << "LabelBodyFile"
                                       << " lead.ppf";
}

void GeneralPageTest::referenceButtonsOnlyNameTheFile() {
    QFETCH(QString, button);
    QFETCH(QString, filter);
    QFETCH(QString, label);
    QFETCH(QString, refused);
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    const QByteArray before = orf::write(w.document());
    clickAnswering(w, dialogs, button, {});
    QCOMPARE(dialogs.fileRequests.last().filter, filter);
    clickAnswering(w, dialogs, button, "/no/such/folder/" + refused);
    QCOMPARE(dialogs.shown.size(), 1);
    QVERIFY(dialogs.shown.takeFirst().detail.contains("「" + refused + "」"));
    QCOMPARE(orf::write(w.document()), before);
    QCOMPARE(text(w, label), QStringLiteral("ロードされていません"));
    clickAnswering(w, dialogs, button, "/no/such/folder/機種.dat");
    QCOMPARE(text(w, label), QStringLiteral("機種.dat"));
    const MachineSpec& s = w.document();
    QCOMPARE(button == "Command1" ? s.controlFileName : s.bodyFileName, QStringLiteral("機種.dat"));
    QVERIFY(dialogs.shown.isEmpty());
    QVERIFY(w.isModified());
}

QTEST_MAIN(GeneralPageTest)
#include "tst_generalpage.moc"
