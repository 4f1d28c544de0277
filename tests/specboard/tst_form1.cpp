// The machine window as a whole: start-up, the tab strip, the machine file commands and what they
// refuse, reel data reads and their warnings, the modified state, what a box being typed into
// holds at Save, and the quit question.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <functional>

#include "closequestion.h"
#include "machinesamples.h"
#include "machinewindowtest.h"

using namespace machinetest;

namespace {

using Action = std::function<void(Form1&, ScriptedDialogs&)>;

const QString MachineLoadFailed = QStringLiteral("オルベーンファイルを読み込めませんでした。");
const QString ReelLoadFailed = QStringLiteral("リールファイルを読み込めませんでした。");

QString folderOf(const QTemporaryDir& dir) { return QDir(dir.path()).absolutePath() + u'/'; }

// A machine file naming reels.sdf, beside it with the given last prize index.
QString writeMachine(const QString& folder, const QString& name, int lastPrizeIndex) {
    writeReels(folder, QStringLiteral("reels.sdf"), lastPrizeIndex);
    MachineSpec m;
    m.reelFileName = QStringLiteral("reels.sdf");
    m.machineName = QStringLiteral("保存した機種");
    m.reelData.flagCount = static_cast<std::int16_t>(lastPrizeIndex);
    const QString path = QDir(folder).filePath(name);
    saveFileAtomically(path, orf::write(m));
    return path;
}

}  // namespace

class MachineForm1Test : public QObject {
    Q_OBJECT
private slots:
    void startUp();
    void settingTabsComeOnceWithReelData();
    void loadShowsTheMachine();
    void closeQuestion_data();
    void closeQuestion();
    void modifiedState_data();
    void modifiedState();
    void dialogFolders();
    void refusedMachineFileChangesNothing_data();
    void refusedMachineFileChangesNothing();
    void refusedReelDataChangesNothing_data();
    void refusedReelDataChangesNothing();
    void missingPicturesWarnOnceAndKeepTheirPictures();
    void smallerReelDataBringsFlagsBack();
    void payoutSectionOfAnotherFlagCountWarns_data();
    void payoutSectionOfAnotherFlagCountWarns();
    void referenceOutsideSpecFolderWarns_data();
    void referenceOutsideSpecFolderWarns();
    void saveRefusalNamesTheField_data();
    void saveRefusalNamesTheField();
    void boxesSavedWithTheFocus_data();
    void boxesSavedWithTheFocus();
    void loadOverUnsavedWork();

private:
    QTemporaryDir dir_;
};

void MachineForm1Test::startUp() {
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(wintest::showWindow(w));
    QCOMPARE(w.windowTitle(), QStringLiteral("オルベーンエディターω ver1.30"));
    QCOMPARE(w.size(), QSize(391, 522));
    QCOMPARE(tabs(w)->count(), 1);
    QCOMPARE(tabs(w)->tabText(0), QStringLiteral("全般"));
    QVERIFY(child(w, "Frames_0")->isVisible());
    QCOMPARE(child<QGroupBox>(w, "Frames_0")->title(), QStringLiteral("全般の設定"));
    for (int i = 1; i < Form1::PageCount; ++i)
        QVERIFY(!child(w, QStringLiteral("Frames_%1").arg(i))->isVisible());
    QCOMPARE(text(w, "LabelSlotFile"), QStringLiteral("セーブされていません"));
    for (const char* label : {"LabelRealFile", "LabelConFile", "LabelBodyFile"})
        QCOMPARE(text(w, label), QStringLiteral("ロードされていません"));
    QVERIFY(w.close());
    QVERIFY(dialogs.shown.isEmpty());
}

void MachineForm1Test::settingTabsComeOnceWithReelData() {
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(wintest::showWindow(w));
    const QString reels = writeReels(dir_.path(), "tabs.sdf", 3);
    QVERIFY(readReels(w, dialogs, reels));
    QVERIFY(readReels(w, dialogs, reels));
    QCOMPARE(dialogs.fileRequests.last().filter,
             QStringLiteral("SlotDataFile|*.sdf|All Files|*.*|"));
    const QStringList tabCaptions{"全般", "ボーナス", "音設定 1", "音設定 2"};
    const QStringList frameCaptions{"全般の設定", "ボーナス確率＆有効ライン設定", "効果音設定",
                                    "払い出し音・BGM設定"};
    QCOMPARE(tabs(w)->count(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(tabs(w)->tabText(i), tabCaptions[i]);
        showTab(w, i);
        for (int f = 0; f < 4; ++f)
            QCOMPARE(child(w, QStringLiteral("Frames_%1").arg(f))->isVisible(), f == i);
        QCOMPARE(child<QGroupBox>(w, QStringLiteral("Frames_%1").arg(i))->title(),
                 frameCaptions[i]);
    }
}

void MachineForm1Test::loadShowsTheMachine() {
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    // A machine without a reel data file adds no tabs; its empty names show as empty.
    const QString bare = dir_.filePath("bare.orf");
    QVERIFY(saveFileAtomically(bare, orf::write(MachineSpec())));
    QVERIFY(loadMachine(w, dialogs, bare));
    QCOMPARE(tabs(w)->count(), 1);
    QCOMPARE(text(w, "LabelRealFile"), QString());

    w.editor().markChanged();
    QVERIFY(loadMachine(w, dialogs, QStringLiteral(TEST_DATA_DIR "/sample.orf")));
    QVERIFY(dialogs.shown.isEmpty());
    QVERIFY(!w.isModified());
    QCOMPARE(tabs(w)->count(), 4);
    const MachineSpec m = samples::sampleMachine();
    const std::pair<const char*, QString> shown[] = {{"txtSlotName", m.machineName},
                                                     {"txtMakerName", m.makerName},
                                                     {"LabelSlotFile", "sample.orf"},
                                                     {"LabelRealFile", "machine.sdf"},
                                                     {"LabelConFile", "machine.rcf"},
                                                     {"LabelBodyFile", "machine.ppf"},
                                                     {"PrizePr_0", "-27039"},
                                                     {"PrizePr_3", "5862"},
                                                     {"txtGensan", "-25"},
                                                     {"txtBigPer_4", "4"},
                                                     {"txtCTPr", "5"},
                                                     {"txtCTEndCon_0", "120"},
                                                     {"txtCTEndCon_1", ""},
                                                     {"txtBEndG", "30"},
                                                     {"txtBEndB", "3"},
                                                     {"txtREndG", ""},
                                                     {"txtREndB", "8"},
                                                     {"Text1", "0"},
                                                     {"LabelFlagPr_3", "11.17"}};
    for (const auto& [name, value] : shown) QCOMPARE(text(w, name), value);
    QCOMPARE(child<QPlainTextEdit>(w, "txtExp")->toPlainText(),
             QStringLiteral("一行目\n\n三行目です "));
    QVERIFY(child<QCheckBox>(w, "CheckReset")->isChecked());
    QVERIFY(child<QCheckBox>(w, "CheckCT")->isChecked());
    QVERIFY(!child<QCheckBox>(w, "Check3Bet")->isChecked());
    QCOMPARE(orf::write(w.document()), orf::write(m));
}

void MachineForm1Test::closeQuestion_data() {
    wintest::closeQuestionRows(QStringLiteral("out.orf"));
}

void MachineForm1Test::closeQuestion() {
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(wintest::showWindow(w));
    typeInto(w, "txtSlotName", "name");
    QVERIFY(w.isModified());
    wintest::checkCloseQuestion(w, dialogs, QStringLiteral("out.orf"),
                                [&w] { return w.isModified(); });
}

void MachineForm1Test::modifiedState_data() {
    QTest::addColumn<Action>("action");
    QTest::addColumn<bool>("modified");
    QTest::newRow("selections only") << Action([](Form1& w, ScriptedDialogs&) {
        showTab(w, 1);
        for (const char* b : {"NeFlagNo", "NeSet", "OptionBets_0", "OptionBet_1", "Command10"})
            click(w, b);
        typeInto(w, "txtSPBNo", "4");
        child<QComboBox>(w, "ComboCTB")->setCurrentIndex(3);
    }) << false;
    QTest::newRow("the same reel data again") << Action([](Form1& w, ScriptedDialogs& d) {
        readReels(w, d, QDir(w.editor().specFolder()).filePath("reels.sdf"));
    }) << false;
    QTest::newRow("a name") << Action([](Form1& w, ScriptedDialogs&) {
        typeInto(w, "txtMakerName", "x");
    }) << true;
    QTest::newRow("a probability") << Action([](Form1& w, ScriptedDialogs&) {
        showTab(w, 1);
        typeInto(w, "PrizePr_2", "9");
    }) << true;
    QTest::newRow("a bonus end text") << Action([](Form1& w, ScriptedDialogs&) {
        showTab(w, 1);
        typeInto(w, "txtREndB", "");
    }) << true;
    QTest::newRow("a switch") << Action([](Form1& w, ScriptedDialogs&) {
        showTab(w, 1);
        click(w, "CheckCT");
    }) << true;
    QTest::newRow("a pay-line cell") << Action([](Form1& w, ScriptedDialogs&) {
        showTab(w, 1);
        click(w, "PicReal_3");
    }) << true;
    QTest::newRow("a control file") << Action([](Form1& w, ScriptedDialogs& d) {
        clickAnswering(w, d, "Command1", QDir(w.editor().specFolder()).filePath("m.rcf"));
    }) << true;
    QTest::newRow("sound selections only") << Action([](Form1& w, ScriptedDialogs&) {
        showTab(w, 2);
        for (const char* b : {"OptionSound_2", "NeRealStop", "Command4", "Command3", "Command8"})
            click(w, b);
        typeInto(w, "txtSSFlag", "3");
        showTab(w, 3);
        click(w, "Command6");
    }) << false;
    QTest::newRow("an effect sound") << Action([](Form1& w, ScriptedDialogs&) {
        showTab(w, 2);
        typeInto(w, "BetSound_20", "5");
    }) << true;
    QTest::newRow("a reel-stop check") << Action([](Form1& w, ScriptedDialogs&) {
        showTab(w, 2);
        click(w, "OptionSound_2");
        click(w, "Check12Sound_16");
    }) << true;
    QTest::newRow("a registered sound") << Action([](Form1& w, ScriptedDialogs& d) {
        showTab(w, 2);
        typeInto(w, "txtSoundNo", "9");
        const QString sound = QDir(w.editor().specFolder()).filePath("a.wav");
        saveFileAtomically(sound, "wav");
        clickAnswering(w, d, "LoadSound", sound);
    }) << true;
    QTest::newRow("a payout sound") << Action([](Form1& w, ScriptedDialogs&) {
        showTab(w, 3);
        typeInto(w, "BGM_6", "12");
    }) << true;
}

void MachineForm1Test::modifiedState() {
    QFETCH(Action, action);
    QFETCH(bool, modified);
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(activeWindow(w));
    w.editor().markChanged();
    QVERIFY(loadMachine(w, dialogs, writeMachine(dir_.path(), "modified.orf", 4)));
    QVERIFY(!w.isModified());
    action(w, dialogs);
    QCOMPARE(w.isModified(), modified);
}

void MachineForm1Test::dialogFolders() {
    QTemporaryDir a, b;
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(saveMachine(w, dialogs, a.filePath("first.orf")));
    QVERIFY(loadMachine(w, dialogs, writeMachine(b.path(), "second.orf", 2)));
    QVERIFY(saveMachine(w, dialogs, b.filePath("third.orf")));
    clickAnswering(w, dialogs, "Command11", {});
    // Before any machine file the working folder, then the folder of the machine file last used;
    // the reel data dialog keeps to the working folder.
    const QStringList folders{QString(), folderOf(a), folderOf(b), QString()};
    QCOMPARE(dialogs.fileRequests.size(), folders.size());
    for (int i = 0; i < folders.size(); ++i)
        QCOMPARE(dialogs.fileRequests[i].initialFolder, folders[i]);
    QCOMPARE(dialogs.fileRequests[0].filter, QStringLiteral("オルベーンファイル|*.orf|"));
    QCOMPARE(dialogs.fileRequests[1].filter, QStringLiteral("オルベーンファイル|*.orf|"));
    QCOMPARE(text(w, "LabelSlotFile"), QStringLiteral("third.orf"));
    QCOMPARE(w.editor().specFolder(), folderOf(b));
}

void MachineForm1Test::refusedMachineFileChangesNothing_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("reelLastPrize");     // of the reels.sdf beside it; -1 none
    QTest::addColumn<QByteArray>("reelBytes");  // instead of a made one, when not empty
    MachineSpec m;
    m.reelFileName = QStringLiteral("reels.sdf");
    const QByteArray good = orf::write(m);
    const qsizetype section2 = good.indexOf("# orvane basic data");
    QTest::newRow("no header line") << QByteArray("reels.sdf\r\nname\r\n") << 2 << QByteArray();
    QTest::newRow("ends in section 2") << good.left(section2 + 300) << 2 << QByteArray();
    QByteArray word = good;
    word.replace(section2 + 41, 2, "x ");
    QTest::newRow("a word in section 2") << word << 2 << QByteArray();
    QTest::newRow("reel data file missing") << good << -1 << QByteArray();
    QTest::newRow("reel data file damaged") << good << -1 << QByteArray("120\r\n# pics size\r\n");
    QTest::newRow("22 flags") << good << 21 << QByteArray();
}

void MachineForm1Test::refusedMachineFileChangesNothing() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, reelLastPrize);
    QFETCH(QByteArray, reelBytes);
    QTemporaryDir bad;
    if (reelLastPrize >= 0) writeReels(bad.path(), "reels.sdf", reelLastPrize);
    if (!reelBytes.isEmpty()) QVERIFY(saveFileAtomically(bad.filePath("reels.sdf"), reelBytes));
    QVERIFY(saveFileAtomically(bad.filePath("bad.orf"), bytes));

    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(loadMachine(w, dialogs, writeMachine(dir_.path(), "before.orf", 3)));
    typeInto(w, "txtSlotName", "editing");
    const QByteArray before = orf::write(w.document());
    for (const QString& path : {bad.filePath("bad.orf"), bad.path(), bad.filePath("none.orf")}) {
        dialogs.shown.clear();
        QVERIFY(!loadMachine(w, dialogs, path));
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("specboard"));
        QCOMPARE(dialogs.shown[0].text, MachineLoadFailed);
        QVERIFY(!dialogs.shown[0].detail.isEmpty());
        QCOMPARE(orf::write(w.document()), before);
        QCOMPARE(w.document().reelData.flagCount, 3);
        QCOMPARE(text(w, "txtSlotName"), QStringLiteral("editing"));
        QCOMPARE(text(w, "LabelSlotFile"), QStringLiteral("before.orf"));
        QCOMPARE(w.editor().specFolder(), folderOf(dir_));
        QCOMPARE(tabs(w)->count(), 4);
        QVERIFY(w.isModified());
    }
}

void MachineForm1Test::refusedReelDataChangesNothing_data() {
    QTest::addColumn<QByteArray>("bytes");  // empty: no such file
    QTest::addColumn<QString>("shown");     // in the detail
    QTest::newRow("missing") << QByteArray() << "bad.sdf";
    QTest::newRow("a name the machine file cannot hold")
        << sdf::write(ReelDataDocument()) << "「 bad.sdf」";
    QTest::newRow("a symbol 9 in the strips")
        << sdf::write(ReelDataDocument()).replace("\r\n1,1,1\r\n", "\r\n9,1,1\r\n") << "9";
    // A control byte and a user-defined character, which no font shows, as their bytes.
    QTest::newRow("damaged bytes where a symbol is due")
        << sdf::write(ReelDataDocument()).replace("\r\n1,1,1\r\n", "\r\n\x12\xF0\x40,1,1\r\n")
        << "「<0x12><0xF0><0x40>」";
    ReelDataDocument many;
    many.lastPrizeIndex = 21;
    QTest::newRow("22 flags") << sdf::write(many) << "21";
}

void MachineForm1Test::refusedReelDataChangesNothing() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QTemporaryDir bad;
    const QString path = bad.filePath(shown.startsWith("「 ") ? " bad.sdf" : "bad.sdf");
    if (!bytes.isEmpty()) QVERIFY(saveFileAtomically(path, bytes));
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    const QByteArray before = orf::write(w.document());
    QVERIFY(!readReels(w, dialogs, path));
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].text, ReelLoadFailed);
    QVERIFY2(dialogs.shown[0].detail.contains(shown), qPrintable(dialogs.shown[0].detail));
    QCOMPARE(orf::write(w.document()), before);
    QCOMPARE(tabs(w)->count(), 1);
    QCOMPARE(text(w, "LabelRealFile"), QStringLiteral("ロードされていません"));
    QVERIFY(!w.isModified());
}

void MachineForm1Test::missingPicturesWarnOnceAndKeepTheirPictures() {
    QTemporaryDir first, second;
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(readReels(w, dialogs, writeReels(first.path(), "reels.sdf", 2)));
    writeReels(second.path(), "reels.sdf", 5);
    QVERIFY(QFile::remove(second.filePath("p2.bmp")));
    QVERIFY(saveFileAtomically(second.filePath("p5.bmp"), "not a picture"));
    QVERIFY(!readReels(w, dialogs, second.filePath("reels.sdf")));
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].icon, Dialogs::Icon::Warning);
    QCOMPARE(dialogs.shown[0].detail.count(u'\n'), 1);  // both pictures, in one warning
    QVERIFY(dialogs.shown[0].detail.contains("p2.bmp") &&
            dialogs.shown[0].detail.contains("p5.bmp"));
    // The read went on; the two symbols keep the pictures of the first file.
    QCOMPARE(w.document().reelData.flagCount, 5);
    for (int s : {1, 4})
        QCOMPARE(w.document().reelData.symbolPictures[s].pixel(1, 1), symbolColour(s));
}

void MachineForm1Test::smallerReelDataBringsFlagsBack() {
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(activeWindow(w));
    QVERIFY(readReels(w, dialogs, writeReels(dir_.path(), "seven.sdf", 6)));
    showTab(w, 1);
    for (int i = 0; i < 2; ++i) click(w, "NeFlagNo");
    typeInto(w, "PrizePr_0", "77");
    for (int i = 0; i < 10; ++i) click(w, "NeFlagNo");
    QCOMPARE(text(w, "LabelFlagNo"), QStringLiteral("7"));
    QVERIFY(readReels(w, dialogs, writeReels(dir_.path(), "three.sdf", 2)));
    QCOMPARE(text(w, "LabelFlagNo"), QStringLiteral("3"));
    QCOMPARE(text(w, "PrizePr_0"), QStringLiteral("77"));
    QCOMPARE(w.editor().selection().curFlag, 3);
    QVERIFY(w.editor().selection().payoutFlag <= 3);
    typeInto(w, "PrizePr_1", "5");
    QCOMPARE(w.document().flagProb[2][1][2][1], 5);
}

void MachineForm1Test::payoutSectionOfAnotherFlagCountWarns_data() {
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("read");
    QTest::newRow("same count") << 4 << 4;
    QTest::newRow("fewer flags now") << 4 << 2;
    QTest::newRow("more flags now") << 0 << 7;
    QTest::newRow("no reel data file named") << 4 << -1;
}

void MachineForm1Test::payoutSectionOfAnotherFlagCountWarns() {
    QFETCH(int, written);
    QFETCH(int, read);
    QTemporaryDir folder;
    const QString machineFile = writeMachine(folder.path(), "m.orf", written);
    if (read >= 0) writeReels(folder.path(), "reels.sdf", read);
    if (read < 0) {  // the payout section of 5 flags, read with the one flag held before
        MachineSpec m;
        m.reelData.flagCount = static_cast<std::int16_t>(written);
        QVERIFY(saveFileAtomically(machineFile, orf::write(m)));
    }
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(loadMachine(w, dialogs, machineFile));
    QCOMPARE(dialogs.shown.size(), written == read ? 0 : 1);
    if (written != read) {
        const QString& detail = dialogs.shown[0].detail;
        QCOMPARE(dialogs.shown[0].icon, Dialogs::Icon::Warning);
        QVERIFY(detail.contains(QStringLiteral("役 %1 個の分").arg(written + 1)));
        QVERIFY2(detail.contains(
                     read < 0 ? QStringLiteral("リールファイルを指定していないので、今の役 1 個")
                              : QStringLiteral("役は %1 個").arg(read + 1)),
                 qPrintable(detail));
        QVERIFY(!detail.contains(QStringLiteral("「」")));
    }
}

void MachineForm1Test::referenceOutsideSpecFolderWarns_data() {
    QTest::addColumn<QString>("machineFile");  // "loaded", "saved" or "" (none yet)
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("fromOtherFolder");
    QTest::addColumn<bool>("warned");
    QTest::addColumn<bool>("savedElsewhere");  // then saved in a third folder, else beside it
    QTest::newRow("reel data from the machine folder") << "loaded"
                                                       << "Command11" << false << false << false;
    QTest::newRow("reel data from elsewhere") << "loaded"
                                              << "Command11" << true << true << false;
    QTest::newRow("control file from elsewhere") << "loaded"
                                                 << "Command1" << true << true << false;
    QTest::newRow("position file from elsewhere") << "loaded"
                                                  << "Command2" << true << true << false;
    QTest::newRow("position file from the machine folder") << "loaded"
                                                           << "Command2" << false << false << true;
    QTest::newRow("reel data before any machine file") << ""
                                                       << "Command11" << true << false << true;
    // As for a sound, the folder a machine file was saved in is where the machine looks.
    QTest::newRow("reel data elsewhere than the saved file")
        << "saved"
        << "Command11" << true << true << false;
    QTest::newRow("control file beside the saved file") << "saved"
                                                        << "Command1" << false << false << false;
}

void MachineForm1Test::referenceOutsideSpecFolderWarns() {
    QFETCH(QString, machineFile);
    QFETCH(QString, button);
    QFETCH(bool, fromOtherFolder);
    QFETCH(bool, warned);
    QFETCH(bool, savedElsewhere);
    QTemporaryDir specFolder, other, third;
    writeReels(other.path(), "reels.sdf", 5);
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    if (machineFile == "loaded")
        QVERIFY(loadMachine(w, dialogs, writeMachine(specFolder.path(), "m.orf", 3)));
    if (machineFile == "saved") QVERIFY(saveMachine(w, dialogs, specFolder.filePath("m.orf")));
    const QString name = button == "Command11"  ? "reels.sdf"
                         : button == "Command1" ? "m.rcf"
                                                : "m.ppf";
    const QTemporaryDir& from = fromOtherFolder ? other : specFolder;
    if (button != "Command11") QVERIFY(saveFileAtomically(from.filePath(name), "named"));
    clickAnswering(w, dialogs, button, from.filePath(name));
    QCOMPARE(dialogs.shown.size(), warned ? 1 : 0);
    if (warned)
        QVERIFY(dialogs.shown[0].detail.contains(QDir::toNativeSeparators(folderOf(specFolder))));
    // The reel data file is read from the machine folder once one was loaded, as the machine will.
    if (button == "Command11")
        QCOMPARE(w.document().reelData.flagCount, machineFile == "loaded" ? 3 : 5);
    const char* label = button == "Command11"  ? "LabelRealFile"
                        : button == "Command1" ? "LabelConFile"
                                               : "LabelBodyFile";
    QCOMPARE(text(w, label), name);
    // The label is narrow; its tooltip names the file read or chosen, in full.
    const bool readInMachineFolder = machineFile == "loaded" && button == "Command11";
    QCOMPARE(child(w, label)->toolTip(),
             QDir::toNativeSeparators((readInMachineFolder ? specFolder : from).filePath(name)));

    // Saved where the file is not, the machine would not find it.
    dialogs.shown.clear();
    const QString saved = (savedElsewhere ? third : from).filePath("again.orf");
    QVERIFY(saveMachine(w, dialogs, saved));
    QCOMPARE(child(w, "LabelSlotFile")->toolTip(), QDir::toNativeSeparators(saved));
    QCOMPARE(dialogs.shown.size(), savedElsewhere ? 1 : 0);
    if (savedElsewhere) {
        const QString& detail = dialogs.shown[0].detail;
        QVERIFY(detail.contains(QDir::toNativeSeparators(third.path())));
        QVERIFY2(detail.endsWith("「" + name + "」"), qPrintable(detail));
    }
}

void MachineForm1Test::saveRefusalNamesTheField_data() {
    // Quoted in a file, a text keeps what the window refuses; written unquoted it would not
    // come back.
    QTest::addColumn<QByteArray>("marker");
    QTest::addColumn<QByteArray>("quoted");
    QTest::addColumn<QString>("field");
    QTest::newRow("a comma in the control file")
        << QByteArray("CTRL") << QByteArray("\"a,b.rcf\"") << "「制御ファイル名」";
    QTest::newRow("a blank before the name") << QByteArray("NAME") << QByteArray("\"  Lead\"")
                                             << "「オルベーンのお名前」が空白で始まっています";
    QTest::newRow("an indented description line")
        << QByteArray("EXP") << QByteArray("\" indented\"")
        << "「オルベーンの説明」の 2 行目が空白";
    QTest::newRow("a blank before a sound")
        << QByteArray("SND") << QByteArray("\" bell.wav\"") << "効果音No 1 のファイル名が空白";
}

void MachineForm1Test::saveRefusalNamesTheField() {
    QFETCH(QByteArray, marker);
    QFETCH(QByteArray, quoted);
    QFETCH(QString, field);
    MachineSpec m;
    m.controlFileName = "CTRL";
    m.machineName = "NAME";
    m.explanation = "first\r\nEXP";
    m.sound.files[1] = "SND";
    const QString source = dir_.filePath("quoted.orf");
    QVERIFY(saveFileAtomically(
        source, orf::write(m).replace("\r\n" + marker + "\r\n", "\r\n" + quoted + "\r\n")));
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(loadMachine(w, dialogs, source));
    const QString path = dir_.filePath("kept.orf");
    QVERIFY(saveFileAtomically(path, "old"));
    QVERIFY(!saveMachine(w, dialogs, path));
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].text, QStringLiteral("ファイルを保存できませんでした。"));
    QVERIFY2(dialogs.shown[0].detail.contains(field), qPrintable(dialogs.shown[0].detail));
    QCOMPARE(fileBytes(path), QByteArray("old"));
    QCOMPARE(text(w, "LabelSlotFile"), QStringLiteral("quoted.orf"));
}

void MachineForm1Test::boxesSavedWithTheFocus_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("keys");    // typed over "50"
    QTest::addColumn<bool>("byClosing");  // saved through the quit question's Yes
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    QTest::newRow("probability past 65536") << "PrizePr_0"
                                            << "70000" << false << "0"
                                            << "0";
    QTest::newRow("CT entry past 100: the value before") << "txtCTPr"
                                                         << "101" << false << ""
                                                         << "50";
    QTest::newRow("CT end emptied, saved on closing") << "txtCTEndCon_0"
                                                      << "" << true << "0"
                                                      << "0";
}

void MachineForm1Test::boxesSavedWithTheFocus() {
    QFETCH(QString, box);
    QFETCH(QString, keys);
    QFETCH(bool, byClosing);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(wintest::showWindow(w));
    QVERIFY(readReels(w, dialogs, writeReels(dir_.path(), QStringLiteral("reels.sdf"), 3)));
    showTab(w, 1);
    machinetest::box(w, box)->setText(QStringLiteral("50"));
    typeInto(w, box, keys);
    const QString path = dir_.filePath(QStringLiteral("boxes.orf"));
    if (byClosing) {
        dialogs.answers << Dialogs::Answer::Yes;
        dialogs.fileAnswers << path;
        QVERIFY(w.close());
    } else {
        QVERIFY(saveMachine(w, dialogs, path));
    }
    QCOMPARE(text(w, box), shown);
    const MachineSpec& m = w.document();
    const SpecSelection& s = w.editor().selection();
    const QMap<QString, QString> held{
        {"PrizePr_0", QString::number(m.flagProb[s.curFlag - 1][s.curSetting][s.curBet][0])},
        {"txtCTPr", QString::number(m.ctEntryPct[s.curCTBig - 1])},
        {"txtCTEndCon_0", m.ctEndConText(0)}};
    QCOMPARE(held[box], stored);
}

void MachineForm1Test::loadOverUnsavedWork() {
    ScriptedDialogs dialogs;
    MachineWindow w(dialogs);
    QVERIFY(wintest::showWindow(w));
    typeInto(w, "txtSlotName", "name");
    wintest::checkLoadQuestion(w, dialogs, QStringLiteral("Command12"),
                               writeMachine(dir_.path(), QStringLiteral("m.orf"), 2),
                               [&w] { return w.isModified(); });
    QCOMPARE(text(w, "txtSlotName"), QStringLiteral("保存した機種"));
}

QTEST_MAIN(MachineForm1Test)
#include "tst_form1.moc"
