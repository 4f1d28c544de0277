// reelboard started with a file: the Load button's read, message and refreshes, without its
// dialog; a file that does not read leaves the window as it started.

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include "editormain.h"
#include "form1.h"
#include "givenfiletest.h"
#include "picturecell.h"
#include "pictures.h"

using namespace reelboard;

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void givenFile_data();
    void givenFile();
};

void CommandLineTest::givenFile_data() {
    QTest::addColumn<QString>("file");     // in a copy of the sample machine
    QTest::addColumn<QString>("message");  // shown after the read; empty: none
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("lastPrizeIndex");
    QTest::newRow("the sample") << "machine.sdf"
                                << ""
                                << "machine.sdf" << 6;
    QTest::newRow("not reel data") << "bad.sdf"
                                   << "ファイルが不正です。"
                                   << "セーブされていません" << 1;
    QTest::newRow("missing") << "none.sdf"
                             << "ファイルが不正です。"
                             << "セーブされていません" << 1;
    QTest::newRow("a folder") << "folder.sdf"
                              << "ファイルが不正です。"
                              << "セーブされていません" << 1;
}

void CommandLineTest::givenFile() {
    QFETCH(QString, file);
    QFETCH(QString, message);
    QFETCH(QString, label);
    QFETCH(int, lastPrizeIndex);
    QTemporaryDir dir;
    QVERIFY(giventest::copySample(dir.path()));
    giventest::writeBytes(dir.path(), QStringLiteral("bad.sdf"),
                          "120\r\n# pics size\r\nwide,high\r\n");
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.sdf")));

    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    openGivenFiles(w, {dir.filePath(file)});

    QVERIFY(dialogs.fileRequests.isEmpty());
    QCOMPARE(dialogs.shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) QCOMPARE(dialogs.shown[0].text, message);
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("LabelFileName"))->text(), label);
    QCOMPARE(int(w.document().lastPrizeIndex), lastPrizeIndex);
    // The strips show the lit pictures the file names, found beside it; else still blank.
    const QImage shown = w.findChild<PictureCell*>(QStringLiteral("ImgReal_0"))->picture();
    QCOMPARE(shown == pictures::blankPicture(), !message.isEmpty());
    QVERIFY(!w.isModified());
    QVERIFY(giventest::closesWithoutQuestion(w, dialogs));
}

QTEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
