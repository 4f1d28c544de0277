// specboard started with a machine file: the Load button's read, messages and refreshes (the
// reel data named in it read first, the setting tabs added), without its dialog.

#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

#include "editormain.h"
#include "form1.h"
#include "givenfiletest.h"
#include "machinewindowtest.h"

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void givenFile_data();
    void givenFile();
};

void CommandLineTest::givenFile_data() {
    QTest::addColumn<QString>("file");     // in a copy of the sample machine
    QTest::addColumn<QString>("message");  // shown after the read; empty: none
    QTest::addColumn<QString>("machineName");
    QTest::addColumn<int>("tabs");
    const QString refused = QStringLiteral("オルベーンファイルを読み込めませんでした。");
    QTest::newRow("the sample") << "machine.orf"
                                << ""
                                << "サンプル機" << Form1::PageCount;
    QTest::newRow("not a machine file") << "bad.orf" << refused << "" << 1;
    QTest::newRow("missing") << "none.orf" << refused << "" << 1;
}

void CommandLineTest::givenFile() {
    QFETCH(QString, file);
    QFETCH(QString, message);
    QFETCH(QString, machineName);
    QFETCH(int, tabs);
    QTemporaryDir dir;
    QVERIFY(giventest::copySample(dir.path()));
    giventest::writeBytes(dir.path(), QStringLiteral("bad.orf"), "# using filename\r\n");

    ScriptedDialogs dialogs;
    machinetest::MachineWindow w(dialogs);
    openGivenFiles(w, {dir.filePath(file)});

    QVERIFY(dialogs.fileRequests.isEmpty());
    QCOMPARE(dialogs.shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(dialogs.shown[0].text, message);
        QVERIFY(w.document() == MachineSpec());
    }
    QCOMPARE(w.document().machineName, machineName);
    QCOMPARE(w.findChild<QTabBar*>(QStringLiteral("TabStrip1"))->count(), tabs);
    QVERIFY(!w.isModified());
    QVERIFY(giventest::closesWithoutQuestion(w, dialogs));
}

QTEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
