// stopboard started with files: the reel data file, then the control file laid out on it,
// each read as its Load button reads it; a control file given alone takes the one reel data
// file beside it.

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "editormain.h"
#include "form1.h"
#include "givenfiletest.h"

using namespace stopboard;

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void givenFiles_data();
    void givenFiles();
};

void CommandLineTest::givenFiles_data() {
    // Folders: "full" the sample, "upper" the sample with upper-case names, "alone" only the
    // control file, "two" the control file beside two reel data files, "bad" the sample with
    // a reel data file that does not read.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("reelLabel");
    QTest::addColumn<QString>("controlLabel");
    QTest::addColumn<QString>("message");  // part of the one message shown; empty: none
    QTest::addColumn<QString>("detail");
    const QString none = QStringLiteral("ロードされていません");
    const QString bad = QStringLiteral("ファイルが不正です。");
    // clang-format off
    QTest::newRow("reel data")            << QStringList{"full/machine.sdf"} << "machine.sdf" << "" << "" << "";
    QTest::newRow("the pair")             << QStringList{"full/machine.sdf", "full/machine.rcf"} << "machine.sdf" << "machine.rcf" << "" << "";
    QTest::newRow("control file alone")   << QStringList{"full/machine.rcf"} << "machine.sdf" << "machine.rcf" << "" << "";
    QTest::newRow("alone, upper case")    << QStringList{"upper/MACHINE.RCF"} << "MACHINE.SDF" << "MACHINE.RCF" << "" << "";
    QTest::newRow("alone, no reel data")  << QStringList{"alone/machine.rcf"} << none << "" << "リールファイル（.sdf）がありません" << "alone";
    QTest::newRow("alone, two reel data") << QStringList{"two/machine.rcf"} << none << "" << "リールファイル（.sdf）が 2 個あります" << "a.sdf\nb.sdf";
    QTest::newRow("bad reel data: no control file read") << QStringList{"bad/bad.sdf", "bad/machine.rcf"} << none << "" << bad << "";
    QTest::newRow("missing reel data")    << QStringList{"full/none.sdf", "full/machine.rcf"} << none << "" << bad << "";
    QTest::newRow("missing control file") << QStringList{"full/machine.sdf", "full/none.rcf"} << "machine.sdf" << "" << bad << "";
    QTest::newRow("reel data as control file") << QStringList{"full/machine.sdf", "full/machine.sdf"} << "machine.sdf" << "" << bad << "";
    // clang-format on
}

void CommandLineTest::givenFiles() {
    QFETCH(QStringList, files);
    QFETCH(QString, reelLabel);
    QFETCH(QString, controlLabel);
    QFETCH(QString, message);
    QFETCH(QString, detail);
    QTemporaryDir dir;
    const QDir root(dir.path());
    QVERIFY(giventest::copySample(root.filePath(QStringLiteral("full"))));
    QVERIFY(giventest::copySample(root.filePath(QStringLiteral("bad")), {"machine.sdf"}));
    giventest::writeBytes(root.filePath(QStringLiteral("bad")), QStringLiteral("bad.sdf"),
                          "not reel data\r\n");
    QVERIFY(giventest::copySample(root.filePath(QStringLiteral("upper")),
                                  {"machine.sdf", "machine.rcf"}));
    QVERIFY(QFile::copy(QStringLiteral(SAMPLE_DIR "/machine.sdf"),
                        root.filePath(QStringLiteral("upper/MACHINE.SDF"))));
    QVERIFY(QFile::copy(QStringLiteral(SAMPLE_DIR "/machine.rcf"),
                        root.filePath(QStringLiteral("upper/MACHINE.RCF"))));
    QVERIFY(root.mkpath(QStringLiteral("alone")) && root.mkpath(QStringLiteral("two")));
    QVERIFY(QFile::copy(QStringLiteral(SAMPLE_DIR "/machine.rcf"),
                        root.filePath(QStringLiteral("alone/machine.rcf"))));
    // A folder named like reel data is no reel data file.
    QVERIFY(root.mkpath(QStringLiteral("alone/folder.sdf")));
    for (const char* name : {"machine.rcf", "a.sdf", "b.sdf"})
        QVERIFY(QFile::copy(
            QStringLiteral(SAMPLE_DIR "/machine.") + QString::fromLatin1(name).section(u'.', 1),
            root.filePath(QStringLiteral("two/") + QLatin1String(name))));
    QStringList paths;
    for (const QString& f : files) paths << root.filePath(f);

    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    openGivenFiles(w, paths);

    QVERIFY(dialogs.fileRequests.isEmpty());
    QCOMPARE(dialogs.shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QVERIFY2(dialogs.shown[0].text.contains(message), qPrintable(dialogs.shown[0].text));
        QVERIFY2(dialogs.shown[0].detail.contains(detail), qPrintable(dialogs.shown[0].detail));
    }
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("LabelFileName"))->text(), reelLabel);
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("ConFileName"))->text(), controlLabel);
    // The control file's buttons wait for a reel data file, as after the button's Load.
    QCOMPARE(w.findChild<QPushButton*>(QStringLiteral("LoadConFile"))->isEnabled(),
             reelLabel != QStringLiteral("ロードされていません"));
    QVERIFY(giventest::closesWithoutQuestion(w, dialogs));
}

QTEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
