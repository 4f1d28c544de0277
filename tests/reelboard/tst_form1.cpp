#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "closequestion.h"
#include "form1.h"
#include "scripteddialogs.h"
#include "sdfformat.h"

using namespace reelboard;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString labelText(Form1& w) {
    return w.findChild<QLabel*>(QStringLiteral("LabelFileName"))->text();
}

void click(Form1& w, const char* name) {
    auto* button = w.findChild<QPushButton*>(QLatin1String(name));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT
private slots:
    void init();
    void windowAsLaidOut();
    void loadThenCloseAsksNothing();
    void closeQuestion_data();
    void closeQuestion();
    void badFileChangesNothing();
    void saveWritesAndClearsTheFlag();
    void failedSaveIsReportedAndKeepsTheFlag();
    void saveElsewhereKeepsTheReelFolder();
    void boxesSavedWithTheFocus_data();
    void boxesSavedWithTheFocus();
    void loadOverUnsavedWork();

private:
    QTemporaryDir dir_;
    QString good_;
};

void Form1Test::init() {
    good_ = dir_.filePath(QStringLiteral("good.sdf"));
    ReelDataDocument doc;
    doc.lastPrizeIndex = 3;
    doc.arrangement[5] = 6;
    QVERIFY(sdf::writeFile(good_, doc, nullptr));
}

void Form1Test::windowAsLaidOut() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("オルベーンエディターα ver1.51"));
    QCOMPARE(w.size(), QSize(537, 543));
    QCOMPARE(labelText(w), QStringLiteral("セーブされていません"));
    QCOMPARE(w.findChild<QPushButton*>(QStringLiteral("Command4"))->geometry(),
             QRect(448, 8, 41, 17));
    QCOMPARE(w.findChild<QPushButton*>(QStringLiteral("Command5"))->text(), QStringLiteral("Save"));
    QVERIFY(!w.isModified());
    QVERIFY(w.close());  // no question right after start-up
    QVERIFY(dialogs.shown.isEmpty());
}

void Form1Test::loadThenCloseAsksNothing() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    w.editor().markChanged();
    dialogs.answers << Dialogs::Answer::No;  // the unsaved work goes
    dialogs.fileAnswers << good_;
    click(w, "Command4");
    QCOMPARE(dialogs.fileRequests.last().filter,
             QStringLiteral("SlotDataFile|*.sdf|All Files|*.*|"));
    QCOMPARE(labelText(w), QStringLiteral("good.sdf"));
    QVERIFY(!w.isModified());
    QCOMPARE(int(w.document().lastPrizeIndex), 3);
    QCOMPARE(w.editor().reelFileFolder(), QDir(dir_.path()).absolutePath() + QLatin1Char('/'));
    QVERIFY(w.close());
    QCOMPARE(dialogs.shown.size(), 1);  // the Load's question only
}

void Form1Test::closeQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAnswer");  // the save dialog's path, relative; "" cancels
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    QTest::newRow("Cancel keeps the window")
        << int(Dialogs::Answer::Cancel) << "" << false << false;
    QTest::newRow("No closes without writing") << int(Dialogs::Answer::No) << "" << true << false;
    QTest::newRow("Yes and a save closes")
        << int(Dialogs::Answer::Yes) << "out.sdf" << true << true;
    QTest::newRow("Yes but the dialog cancelled stays")
        << int(Dialogs::Answer::Yes) << "" << false << false;
    QTest::newRow("Yes but the write fails stays")
        << int(Dialogs::Answer::Yes) << "nofolder/out.sdf" << false << false;
}

void Form1Test::closeQuestion() {
    QFETCH(int, answer);
    QFETCH(QString, saveAnswer);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    QTemporaryDir out;
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    w.show();
    w.editor().markChanged();
    dialogs.answers << static_cast<Dialogs::Answer>(answer);
    const QString target = saveAnswer.isEmpty() ? QString() : out.filePath(saveAnswer);
    dialogs.fileAnswers << target;
    QCOMPARE(w.close(), closes);
    QCOMPARE(dialogs.shown.first().title, QStringLiteral("終了確認"));
    QCOMPARE(dialogs.shown.first().text,
             QStringLiteral("データに変更があります。セーブしますか？"));
    QCOMPARE(dialogs.shown.first().icon, Dialogs::Icon::Information);
    QCOMPARE(dialogs.shown.first().buttons, Dialogs::Buttons::YesNoCancel);
    QCOMPARE(QFile::exists(out.filePath(QStringLiteral("out.sdf"))), written);
    QCOMPARE(w.isModified(), !written);
    if (answer != int(Dialogs::Answer::Yes)) QVERIFY(dialogs.fileRequests.isEmpty());
}

void Form1Test::badFileChangesNothing() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    dialogs.fileAnswers << good_;
    click(w, "Command4");
    w.editor().markChanged();
    const QByteArray before = sdf::write(w.document());
    const QString folder = w.editor().reelFileFolder();

    const QString bad = dir_.filePath(QStringLiteral("sub/bad.sdf"));
    QDir(dir_.path()).mkpath(QStringLiteral("sub"));
    QByteArray bytes = readAll(good_);
    bytes.replace("# number of flash action\r\n1", "# number of flash action\r\n250");
    QFile f(bad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    for (const QString& path : {bad, dir_.path(), dir_.filePath(QStringLiteral("none.sdf"))}) {
        dialogs.fileAnswers << path;
        dialogs.answers << Dialogs::Answer::No;  // asked first: the work may go
        dialogs.shown.clear();
        click(w, "Command4");
        QCOMPARE(dialogs.shown.size(), 2);
        QCOMPARE(dialogs.shown[1].text, QStringLiteral("ファイルが不正です。"));
        QCOMPARE(dialogs.shown[1].title, QStringLiteral("reelboard"));
        QVERIFY(!dialogs.shown[1].detail.isEmpty());
        QCOMPARE(sdf::write(w.document()), before);
        QCOMPARE(w.editor().reelFileFolder(), folder);
        QCOMPARE(labelText(w), QStringLiteral("good.sdf"));
        QVERIFY(w.isModified());
    }
}

void Form1Test::saveWritesAndClearsTheFlag() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    w.editor().markChanged();
    dialogs.fileAnswers << QString();  // cancelled: nothing changes
    click(w, "Command5");
    QVERIFY(w.isModified());
    const QString path = dir_.filePath(QStringLiteral("saved.sdf"));
    dialogs.fileAnswers << path;
    click(w, "Command5");
    QVERIFY(!w.isModified());
    QCOMPARE(labelText(w), QStringLiteral("saved.sdf"));
    QCOMPARE(readAll(path), readAll(QStringLiteral(TEST_DATA_DIR "/new.sdf")));
}

void Form1Test::failedSaveIsReportedAndKeepsTheFlag() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    w.editor().markChanged();
    dialogs.fileAnswers << dir_.filePath(QStringLiteral("gone/x.sdf"));
    click(w, "Command5");
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].title, QStringLiteral("reelboard"));
    QVERIFY(!dialogs.shown[0].detail.isEmpty());
    QVERIFY(w.isModified());
    QCOMPARE(labelText(w), QStringLiteral("セーブされていません"));
}

void Form1Test::saveElsewhereKeepsTheReelFolder() {
    QTemporaryDir other;
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    dialogs.fileAnswers << good_ << other.filePath(QStringLiteral("copy.sdf"));
    click(w, "Command4");
    click(w, "Command5");
    QCOMPARE(w.editor().reelFileFolder(), QDir(dir_.path()).absolutePath() + QLatin1Char('/'));
    QCOMPARE(readAll(other.filePath(QStringLiteral("copy.sdf"))), readAll(good_));
}

void Form1Test::boxesSavedWithTheFocus_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("keys");  // typed over the box's text "12"
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("stored");
    QTest::newRow("pay emptied") << "TextPay_1"
                                 << "3\b"
                                 << "0" << 0;
    QTest::newRow("pay past 15") << "TextPay_1"
                                 << "16"
                                 << "0" << 0;
    // The wait box is left as it is: an empty wait keeps the wait from before the typing.
    QTest::newRow("wait emptied") << "TextFLWait"
                                  << "3\b"
                                  << "" << 12;
}

void Form1Test::boxesSavedWithTheFocus() {
    QFETCH(QString, box);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(int, stored);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* edit = w.findChild<QLineEdit*>(box);
    edit->setText(QStringLiteral("12"));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, keys);
    dialogs.fileAnswers << dir_.filePath(QStringLiteral("boxes.sdf"));
    click(w, "Command5");
    QVERIFY(!w.isModified());
    QCOMPARE(edit->text(), shown);
    QCOMPARE(box == QLatin1String("TextFLWait") ? w.document().frame(1, 1).wait
                                                : w.document().prizes[0].pays[1],
             stored);
}

void Form1Test::loadOverUnsavedWork() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    w.editor().markChanged();
    wintest::checkLoadQuestion(w, dialogs, QStringLiteral("Command4"), good_,
                               [&] { return w.isModified(); });
    QCOMPARE(labelText(w), QStringLiteral("good.sdf"));
}

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"
