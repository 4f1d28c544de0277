// The flash editor through the real window: action and frame stepping, lamp edits by
// click, button and key, the wait box, and the preview with what it draws and how it ends.

#include <QClipboard>
#include <QComboBox>
#include <QLabel>

#include "checkwindow.h"
#include "flashpanel.h"
#include "reelwindowtest.h"

using namespace reelboard;

using namespace reeltest;

namespace {

QString check(int i) { return QStringLiteral("ImgChk_%1").arg(i); }
QLineEdit* waitBox(Form1& w) { return child<QLineEdit>(w, "TextFLWait"); }
QString label(Form1& w, const char* name) { return child<QLabel>(w, name)->text(); }

// Symbol 1 lit red, unlit black, flash yellow: a check cell's colour tells its lamp.
constexpr QRgb Lit = 0xffff0000, Unlit = 0xff000000, Flash = 0xffffff00;

void symbolOnePictures(Form1& w, ScriptedDialogs& dialogs, const QTemporaryDir& dir) {
    loadPicture(w, dialogs, 0, makePicture(dir, "lit.bmp", 8, 8, Lit));
    loadPicture(w, dialogs, 1, makePicture(dir, "unlit.bmp", 8, 8, Unlit));
    loadPicture(w, dialogs, 2, makePicture(dir, "flash.bmp", 8, 8, Flash));
}

// The lamps the check window shows: '1' for a flash picture, '0' for unlit, '-' otherwise.
QString shownLamps(Form1& w) {
    QString lamps;
    for (int i = 0; i < CheckCellCount; ++i) {
        const QRgb c = colourOf(cell(w, check(i))->picture());
        lamps += c == Flash ? u'1' : c == Unlit ? u'0' : u'-';
    }
    return lamps;
}

QString lampsOf(const FlashFrame& frame) {
    QString lamps;
    for (auto lamp : frame.lamps) lamps += lamp != 0 ? u'1' : u'0';
    return lamps;
}

void typeWait(Form1& w, const QString& digits) {
    QLineEdit* box = waitBox(w);
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, digits);
}

// Dialogs that note whether a preview was still running when a box was shown.
class WatchingDialogs : public ScriptedDialogs {
public:
    FlashPanel* panel = nullptr;
    QList<bool> previewRunningAtMessage;
    Answer message(QWidget* parent, const QString& title, const QString& text, Icon icon,
                   Buttons buttons, const QString& detail,
                   std::optional<Answer> defaultButton) override {
        previewRunningAtMessage << (panel && panel->previewRunning());
        return ScriptedDialogs::message(parent, title, text, icon, buttons, detail, defaultButton);
    }
};

}  // namespace

class TestFlashPanel : public QObject {
    Q_OBJECT
private slots:
    void actionStepping();
    void frameStepping_data();
    void frameStepping();
    void lampClicks();
    void lampKeys_data();
    void lampKeys();
    void waitTyping_data();
    void waitTyping();
    void waitBoxLeftEmpty();
    void preview_data();
    void preview();
    void previewAllowsEditsButNotASecondPreview();
    void closeDuringPreview_data();
    void closeDuringPreview();

private:
    QTemporaryDir dir_;
};

void TestFlashPanel::actionStepping() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    click(w, "Command6");  // action 1: nothing
    QCOMPARE(label(w, "LabelFLIndex"), QString("1"));
    click(w, "Command7");  // frame 1 has no wait: nothing
    QCOMPARE(label(w, "LabelFLIndex"), QString("1"));
    QCOMPARE(w.document().flashActionCount, 1);

    typeWait(w, "120");
    click(w, "Command9");
    QCOMPARE(label(w, "LabelFLFlame"), QString("2"));
    click(w, "Command7");
    QCOMPARE(label(w, "LabelFLIndex"), QString("2"));
    QCOMPARE(label(w, "LabelFLFlame"), QString("1"));
    QCOMPARE(waitBox(w)->text(), QString("0"));
    QCOMPARE(w.document().flashActionCount, 2);

    click(w, "Command6");
    QCOMPARE(label(w, "LabelFLIndex"), QString("1"));
    QCOMPARE(label(w, "LabelFLFlame"), QString("1"));
    QCOMPARE(waitBox(w)->text(), QString("120"));
    QCOMPARE(w.document().flashActionCount, 2);  // never shrinks while editing
    click(w, "Command7");
    QCOMPARE(w.document().flashActionCount, 2);
}

void TestFlashPanel::frameStepping_data() {
    // Frame waits of action 1 in the file; presses of ">>" (n) and "<<" (p); frame shown.
    QTest::addColumn<int>("timedFrames");
    QTest::addColumn<QString>("presses");
    QTest::addColumn<int>("frame");
    QTest::newRow("next on a frame without wait") << 0 << "n" << 1;
    QTest::newRow("previous on frame 1") << 3 << "p" << 1;
    QTest::newRow("next stops at the untimed frame") << 3 << "nnnnn" << 4;
    QTest::newRow("back and forth") << 3 << "nnpn" << 3;
    QTest::newRow("next on frame 99") << 99 << QString(100, u'n') << 99;
}

void TestFlashPanel::frameStepping() {
    QFETCH(int, timedFrames);
    QFETCH(QString, presses);
    QFETCH(int, frame);
    QTemporaryDir folder;
    ReelDataDocument saved;
    for (int f = 1; f <= timedFrames; ++f)
        saved.frame(1, f).wait = static_cast<std::int16_t>(10 * f);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(loadReelFile(w, dialogs, writeReelFile(folder, "m.sdf", saved)));
    for (QChar p : presses) click(w, p == u'n' ? "Command9" : "Command8");
    QCOMPARE(label(w, "LabelFLFlame"), QString::number(frame));
    QCOMPARE(w.editor().currentFrame(), frame);
    QCOMPARE(waitBox(w)->text(), QString::number(saved.frame(1, frame).wait));
    QVERIFY(w.isModified());  // any press of the flash editor's buttons marks the document
}

void TestFlashPanel::lampClicks() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    symbolOnePictures(w, dialogs, dir_);
    QCOMPARE(colourOf(cell(w, check(4))->picture()), Lit);  // arrangement view

    auto* target = cell(w, check(4));
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    QCOMPARE(lampsOf(w.document().frame(1, 1)), QString("111101111111111"));
    QCOMPARE(shownLamps(w), QString("111101111111111"));  // now the flash view
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    QCOMPARE(lampsOf(w.document().frame(1, 1)), QString("111111111111111"));

    auto* other = cell(w, check(12));
    doubleClick(w, other);  // counts once
    QCOMPARE(lampsOf(w.document().frame(1, 1)), QString("111111111111011"));
    QCOMPARE(shownLamps(w), QString("111111111111011"));

    click(w, "Command12");
    QCOMPARE(shownLamps(w), QString(15, u'0'));
    click(w, "Command11");
    QCOMPARE(shownLamps(w), QString(15, u'1'));
}

void TestFlashPanel::lampKeys_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("lamps");
    QTest::newRow("z in a pay box") << "TextPay_0"
                                    << "z" << QString(15, u'1');
    QTest::newRow("x in a pay box") << "TextPay_2"
                                    << "x" << QString(15, u'0');
    QTest::newRow("Z does nothing") << "TextPay_0"
                                    << "Z"
                                    << "010101010101010";
    QTest::newRow("X does nothing") << "TextPay_0"
                                    << "X"
                                    << "010101010101010";
    QTest::newRow("x in the wait box") << "TextFLWait"
                                       << "x" << QString(15, u'0');
    QTest::newRow("z in a kind box") << "ComboBID_1"
                                     << "z" << QString(15, u'1');
    QTest::newRow("z in the file name box") << "TextFilename"
                                            << "z" << QString(15, u'1');
    QTest::newRow("x on a state selector") << "Option2"
                                           << "x" << QString(15, u'0');
    QTest::newRow("y does nothing") << "TextPay_1"
                                    << "y"
                                    << "010101010101010";
}

void TestFlashPanel::lampKeys() {
    QFETCH(QString, focus);
    QFETCH(QString, key);
    QFETCH(QString, lamps);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    symbolOnePictures(w, dialogs, dir_);
    for (int i = 0; i < CheckCellCount; i += 2) w.editor().toggleLamp(1, 1, i);
    QWidget* target = child<QWidget>(w, focus);
    target->setFocus();
    QVERIFY(target->hasFocus());
    const QString textBefore =
        qobject_cast<QLineEdit*>(target) ? qobject_cast<QLineEdit*>(target)->text() : "";
    QTest::keyClick(target, key.at(0).toLatin1());
    QCOMPARE(lampsOf(w.document().frame(1, 1)), lamps);
    if (lamps != "010101010101010") QCOMPARE(shownLamps(w), lamps);
    if (auto* edit = qobject_cast<QLineEdit*>(target)) QCOMPARE(edit->text(), textBefore);
    if (auto* combo = qobject_cast<QComboBox*>(target))
        QCOMPARE(combo->currentText(), QString("0-なし"));
}

void TestFlashPanel::waitTyping_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("pasted");  // pasted at the end of the box after the keys
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("waitValue");
    QTest::newRow("2 then 5 replace the 0") << "25"
                                            << ""
                                            << "25" << 25;
    QTest::newRow("the largest wait") << "32767"
                                      << ""
                                      << "32767" << 32767;
    QTest::newRow("a digit past 32767 is dropped") << "32768"
                                                   << ""
                                                   << "3276" << 3276;
    QTest::newRow("digits past the limit are dropped") << "999999"
                                                       << ""
                                                       << "9999" << 9999;
    QTest::newRow("letters and signs are dropped") << "1a-2.b"
                                                   << ""
                                                   << "12" << 12;
    QTest::newRow("pasted number within the limit") << "1"
                                                    << "25"
                                                    << "125" << 125;
    QTest::newRow("pasted number past the limit") << "4"
                                                  << "0000"
                                                  << "4" << 4;
    QTest::newRow("pasted text") << "4"
                                 << "x1"
                                 << "4" << 4;
}

void TestFlashPanel::waitTyping() {
    QFETCH(QString, keys);
    QFETCH(QString, pasted);
    QFETCH(QString, text);
    QFETCH(int, waitValue);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    QLineEdit* box = waitBox(w);
    box->setFocus();
    QTest::keyClicks(box, keys);
    if (!pasted.isEmpty()) {
        QGuiApplication::clipboard()->setText(pasted);
        box->end(false);
        box->paste();
    }
    QCOMPARE(box->text(), text);
    QCOMPARE(w.document().frame(1, 1).wait, waitValue);
    QVERIFY(w.isModified());
}

void TestFlashPanel::waitBoxLeftEmpty() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    typeWait(w, "7");
    QTest::keyClick(waitBox(w), Qt::Key_Backspace);
    child<QWidget>(w, "TextPay_0")->setFocus();
    QCOMPARE(waitBox(w)->text(), QString());     // nothing refills it
    QCOMPARE(w.document().frame(1, 1).wait, 0);  // the wait from before the typing
}

void TestFlashPanel::preview_data() {
    // Waits of frames 1.. of the action (a missing 0 means all 99 frames are timed).
    QTest::addColumn<QList<int>>("waits");
    QTest::addColumn<QList<int>>("drawn");  // frames drawn during the preview
    QTest::newRow("first frame untimed") << QList<int>{0} << QList<int>{1};
    QTest::newRow("500, 500, 0") << QList<int>{500, 500, 0} << QList<int>{1, 2, 3};
    QList<int> all(99, 1), frames;
    for (int f = 1; f <= 100; ++f) frames << f;
    QTest::newRow("no untimed frame") << all << frames;
}

void TestFlashPanel::preview() {
    QFETCH(QList<int>, waits);
    QFETCH(QList<int>, drawn);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    symbolOnePictures(w, dialogs, dir_);
    for (int f = 1; f <= waits.size(); ++f) {
        w.editor().setFrameWait(1, f, waits[f - 1]);
        w.editor().setAllLamps(1, f, false);
        w.editor().toggleLamp(1, f, f % CheckCellCount);  // each frame lights its own cell
    }
    click(w, "Command9");
    click(w, "Command9");  // shows frame 3 (or 1) before the preview

    QList<int> frames;
    QStringList shown;
    connect(w.checkWindow(), &CheckWindow::redrawn, this, [&] {
        frames << w.editor().currentFrame();
        shown << shownLamps(w);
    });
    click(w, "Command10");

    QCOMPARE(frames, drawn);
    QString lastLamps;
    for (int i = 0; i < drawn.size(); ++i) {
        const int f = drawn[i];
        lastLamps = f <= 99 ? lampsOf(w.document().frame(1, f)) : QString(15, u'0');
        QCOMPARE(shown[i], lastLamps);
    }
    // The last frame stays, as the lamps end, until the author's next step; frame 1 is
    // current again, with its number and wait.
    QCoreApplication::processEvents();
    QCOMPARE(shownLamps(w), lastLamps);
    QCOMPARE(waitBox(w)->text(), QString::number(waits[0]));
    QCOMPARE(label(w, "LabelFLFlame"), QString("1"));
    QCOMPARE(w.editor().currentFrame(), 1);
    QVERIFY(child<QPushButton>(w, "Command10")->isEnabled());
    QCOMPARE(w.document().frame(1, 100), FlashFrame{});  // the frame after 99 holds nothing
    click(w, "Command8");
    QCOMPARE(shownLamps(w), lampsOf(w.document().frame(1, 1)));
}

void TestFlashPanel::previewAllowsEditsButNotASecondPreview() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    symbolOnePictures(w, dialogs, dir_);
    w.editor().setFrameWait(1, 1, 300);
    w.editor().setFrameWait(1, 2, 0);
    w.editor().setAllLamps(1, 2, true);
    int previews = 0;  // each preview draws frame 2 once
    bool enabledDuring = true;
    connect(w.checkWindow(), &CheckWindow::redrawn, this, [&] {
        if (w.editor().currentFrame() == 2) ++previews;
    });
    QTimer::singleShot(100, this, [&] {
        auto* preview = child<QPushButton>(w, "Command10");
        enabledDuring = preview->isEnabled();
        QTest::mouseClick(preview, Qt::LeftButton, {}, preview->rect().center());
        click(w, "Command12");  // all lamps of the shown frame off, during the preview
    });
    click(w, "Command10");
    QVERIFY(!enabledDuring);
    QCOMPARE(previews, 1);
    QCOMPARE(lampsOf(w.document().frame(1, 1)), QString(15, u'0'));
    QCOMPARE(lampsOf(w.document().frame(1, 2)), QString(15, u'1'));
}

void TestFlashPanel::closeDuringPreview_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::newRow("no") << int(Dialogs::Answer::No) << true;
    QTest::newRow("cancel") << int(Dialogs::Answer::Cancel) << false;
}

void TestFlashPanel::closeDuringPreview() {
    QFETCH(int, answer);
    QFETCH(bool, closed);
    WatchingDialogs dialogs;
    Form1 w(dialogs);
    dialogs.panel = w.flashPanel();
    QVERIFY(showWindow(w));
    w.editor().setFrameWait(1, 1, 30000);  // far longer than the test waits
    dialogs.answers << static_cast<Dialogs::Answer>(answer);
    QTimer::singleShot(50, &w, [&] { w.close(); });
    click(w, "Command10");
    QVERIFY(!w.flashPanel()->previewRunning());
    QTRY_COMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].title, QString("終了確認"));
    QCOMPARE(dialogs.previewRunningAtMessage, QList<bool>{false});
    QTRY_COMPARE(w.isVisible(), !closed);
    QCOMPARE(label(w, "LabelFLFlame"), QString("1"));
}

QTEST_MAIN(TestFlashPanel)
#include "tst_flashpanel.moc"
