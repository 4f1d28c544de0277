// posboard started with a position file: the Load button's read, message and refreshes,
// without its dialog; a file that does not read leaves the window as it started.

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include "editormain.h"
#include "form1.h"
#include "givenfiletest.h"

using namespace posboard;

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
    QTest::addColumn<QString>("firstPicture");
    const QString refused = QStringLiteral("位置ファイルを読み込めません。");
    QTest::newRow("the sample") << "machine.ppf"
                                << ""
                                << "machine.ppf"
                                << "cabinet.bmp";
    QTest::newRow("not a position file") << "bad.ppf" << refused << ""
                                         << "";
    QTest::newRow("missing") << "none.ppf" << refused << ""
                             << "";
    QTest::newRow("picture missing beside it") << "nocabinet/machine.ppf"
                                               << "読み込めなかった画像があります。"
                                               << "machine.ppf"
                                               << "cabinet.bmp";
}

void CommandLineTest::givenFile() {
    QFETCH(QString, file);
    QFETCH(QString, message);
    QFETCH(QString, label);
    QFETCH(QString, firstPicture);
    QTemporaryDir dir;
    QVERIFY(giventest::copySample(dir.path()));
    QVERIFY(giventest::copySample(dir.filePath(QStringLiteral("nocabinet")), {"cabinet.bmp"}));
    giventest::writeBytes(dir.path(), QStringLiteral("bad.ppf"), "a.bmp\r\n");

    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    openGivenFiles(w, {dir.filePath(file)});

    QVERIFY(dialogs.fileRequests.isEmpty());
    QCOMPARE(dialogs.shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) QCOMPARE(dialogs.shown[0].text, message);
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("LabelFileName"))->text(), label);
    QCOMPARE(w.document().pictureSlots[0].fileName, firstPicture);
    if (message.isEmpty()) QVERIFY(!w.document().pictureSlots[0].image.isNull());
    QVERIFY(!w.isModified());
    QVERIFY(giventest::closesWithoutQuestion(w, dialogs));
}

QTEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
