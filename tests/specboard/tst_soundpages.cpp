// The two sound pages through the real window: what each box stores in which group, at which
// reel and flag, the group choices and what they reset, the steps, registering a sound file,
// the set-up after a machine file is read, and the sound output's calls that Play, Stop, the
// window's start and its closing make.

#include <QCheckBox>
#include <functional>
#include <memory>

#include "machinewindowtest.h"

using namespace machinetest;

namespace {

using Field = std::function<int(const MachineSpec&)>;

// A field of the sound tables, by a getter that serves a const and a changeable table alike.
template <typename Get>
Field field(Get get) {
    return [get](const MachineSpec& m) { return int(get(m.sound)); };
}
// The same, and -1 when any other entry of the tables has changed.
template <typename Get>
Field only(Get get) {
    return [get](const MachineSpec& m) {
        sound::SoundTables t = m.sound;
        const int value = int(get(t));
        get(t) = 0;
        return t == sound::SoundTables() ? value : -1;
    };
}

QString folderOf(const QTemporaryDir& dir) { return QDir(dir.path()).absolutePath() + u'/'; }

// A sound file whose bytes name it, so the recording device's log shows which file was read.
QString writeSound(const QString& folder, const QString& name) {
    const QString path = QDir(folder).filePath(name);
    saveFileAtomically(path, (name.endsWith(u'v') ? "wav:" : "mid:") + name.toUtf8());
    return path;
}

// Runs "tab N", "click NAME", "type NAME KEYS" (no keys: empties the box), "leave NAME" and
// "load" (the sample machine), then checks "NAME=TEXT", "NAME on|off" (a check box),
// "NAME enabled|disabled" and "NAME white|grey" (a box's background).
void runSteps(MachineWindow& w, ScriptedDialogs& dialogs, const QStringList& steps) {
    for (const QString& step : steps) {
        const QStringList part = step.split(u' ');
        if (part[0] == "tab") showTab(w, part[1].toInt());
        if (part[0] == "click") click(w, part[1]);
        if (part[0] == "type") typeInto(w, part[1], part.value(2));
        if (part[0] == "leave") leave(w, part[1]);
        if (part[0] == "load") loadMachine(w, dialogs, QStringLiteral(TEST_DATA_DIR "/sample.orf"));
    }
}

void checkControls(MachineWindow& w, const QStringList& checks) {
    for (const QString& check : checks) {
        if (check.contains(u'=')) {
            QCOMPARE(text(w, check.section(u'=', 0, 0)), check.section(u'=', 1));
            continue;
        }
        const QString name = check.section(u' ', 0, 0), state = check.section(u' ', 1);
        QWidget* control = child(w, name);
        QVERIFY2(control, qPrintable(name));
        if (state == "on" || state == "off")
            QVERIFY2(static_cast<QCheckBox*>(control)->isChecked() == (state == "on"),
                     qPrintable(check));
        else if (state == "enabled" || state == "disabled")
            QVERIFY2(control->isEnabled() == (state == "enabled"), qPrintable(check));
        else
            QVERIFY2((control->palette().color(QPalette::Base) == Qt::white) == (state == "white"),
                     qPrintable(check));
    }
}

// A window on the effect sound page, reels of flags 1..6 read.
struct SoundWindow {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    MachineWindow w{dialogs};
    SoundWindow() {
        if (!activeWindow(w) || !readReels(w, dialogs, writeReels(dir.path(), "reels.sdf", 5)))
            qWarning("window not ready");
        showTab(w, 2);
    }
};

const QString Stop = QStringLiteral("send \"stop midifile \"");
const QString Close = QStringLiteral("send \"close midifile\"");

}  // namespace

class SoundPagesTest : public QObject {
    Q_OBJECT
private slots:
    void pageRules_data();
    void pageRules();
    void registerSoundFile_data();
    void registerSoundFile();
    void soundOutputThroughTheWindow_data();
    void soundOutputThroughTheWindow();
};

void SoundPagesTest::pageRules_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("checks");
    QTest::addColumn<Field>("field");
    QTest::addColumn<int>("value");

    const auto untouched = only([](auto& t) -> auto& { return t.normalSound[0]; });
    const auto bigTwo = only([](auto& t) -> auto& { return t.bigFirstPlaySound[2]; });
    QTest::newRow("200 in BetSound(3) empties it: the sound before stays")
        << QStringList{"type BetSound_3 200"} << QStringList{"BetSound_3="}
        << only([](auto& t) -> auto& { return t.bonusCandidates[0][0][3].sound; }) << 0;
    QTest::newRow("BetSound(3) left empty stores 0")
        << QStringList{"type BetSound_3 200", "leave BetSound_3"} << QStringList{"BetSound_3=0"}
        << field([](auto& t) -> auto& { return t.bonusCandidates[0][0][3].sound; }) << 0;
    QTest::newRow("70000 in a probability empties it")
        << QStringList{"type txtSBBonus_0 70000"} << QStringList{"txtSBBonus_0="}
        << only([](auto& t) -> auto& { return t.bonusCandidates[0][0][0].probability; }) << 0;
    QTest::newRow("65536 is a probability, reel spin after a regular bonus")
        << QStringList{"click OptionSound_1", "type txtSBBonus_7 65536"}
        << QStringList{"txtSBBonus_7=65536"}
        << only([](auto& t) -> auto& { return t.bonusCandidates[1][1][1].probability; }) << 65536;
    QTest::newRow("ordinary sound of reel stop")
        << QStringList{"click OptionSound_2", "type BetSoundN 128"} << QStringList{}
        << only([](auto& t) -> auto& { return t.normalSound[2]; }) << 128;
    QTest::newRow("25 in the flag field shows flag 0")
        << QStringList{"click OptionSound_1", "type BetSound_12 4", "type txtSSFlag 2",
                       "type BetSound_12 7", "type txtSSFlag 25"}
        << QStringList{"txtSSFlag=0", "BetSound_12=4"}
        << field([](auto& t) -> auto& { return t.flagCandidates[2][0].sound; }) << 7;
    QTest::newRow("reel stop stores at the reel and flag shown")
        << QStringList{"click OptionSound_2", "click NeRealStop", "click NeRealStop",
                       "type txtSSFlag 19", "type txtSBBonus_17 300"}
        << QStringList{"StopReal=3"}
        << only([](auto& t) -> auto& { return t.stopFlagCandidates[2][19][5].probability; }) << 300;
    QTest::newRow("BetSound(19) kept across group changes")
        << QStringList{"type BetSound_19 5", "click OptionSound_1"}
        << QStringList{"BetSound_19=0", "BetSound_19 disabled", "BetSound_19 grey"} << bigTwo << 5;
    QTest::newRow("BetSound(19) shown again in medal insert")
        << QStringList{"type BetSound_19 5", "click OptionSound_2", "click OptionSound_0"}
        << QStringList{"BetSound_19=5", "BetSound_19 white"} << bigTwo << 5;
    QTest::newRow("Check12Sound(2) kept for reel 1")
        << QStringList{"click OptionSound_2", "click Check12Sound_2", "click OptionSound_0"}
        << QStringList{"Check12Sound_2 off", "Check12Sound_2 disabled"}
        << only([](auto& t) -> auto& { return t.stopBonusAfterFirstTwo[0][0][2]; }) << 1;
    QTest::newRow("Check12Sound(2) shown again in reel stop")
        << QStringList{"click OptionSound_2", "click Check12Sound_2", "click OptionSound_0",
                       "click OptionSound_2"}
        << QStringList{"Check12Sound_2 on", "Check12Sound_2 enabled"}
        << only([](auto& t) -> auto& { return t.stopBonusAfterFirstTwo[0][0][2]; }) << 1;
    // The reel-stop checks belong to reel stop: the other groups show them unchecked, also
    // after a flag change there.
    const auto stopFlagCheck =
        field([](auto& t) -> auto& { return t.stopFlagCandidates[0][0][2].afterFirstTwo; });
    QTest::newRow("reel spin shows no reel-stop checks, also after a flag change")
        << QStringList{"click OptionSound_2", "click Check12Sound_2", "click Check12Sound_14",
                       "click OptionSound_1", "type txtSSFlag 1",     "type txtSSFlag 0"}
        << QStringList{"Check12Sound_2 off", "Check12Sound_14 off", "Check12Sound_14 disabled"}
        << stopFlagCheck << 1;
    QTest::newRow("medal insert shows no reel-stop checks")
        << QStringList{"click OptionSound_2", "click Check12Sound_14", "click OptionSound_0"}
        << QStringList{"Check12Sound_14 off", "Check12Sound_14 disabled"} << stopFlagCheck << 1;
    QTest::newRow("a flag change shows its checks")
        << QStringList{"click OptionSound_2", "type txtSSFlag 4", "click Check12Sound_14",
                       "type txtSSFlag 5"}
        << QStringList{"Check12Sound_14 off"}
        << only([](auto& t) -> auto& { return t.stopFlagCandidates[0][4][2].afterFirstTwo; }) << 1;
    QTest::newRow("<< of the reel at reel 1 still goes to flag 0")
        << QStringList{"click OptionSound_2", "type txtSSFlag 3", "click PrRealStop"}
        << QStringList{"StopReal=1", "txtSSFlag=0"} << untouched << 0;
    QTest::newRow("a reel shows its own table")
        << QStringList{"click OptionSound_2", "type BetSound_0 9", "click NeRealStop",
                       "type BetSound_0 8",   "click NeRealStop",  "click NeRealStop",
                       "click PrRealStop",    "click PrRealStop"}
        << QStringList{"StopReal=1", "BetSound_0=9"}
        << field([](auto& t) -> auto& { return t.stopBonusCandidates[1][0][0].sound; }) << 8;
    QTest::newRow("medal insert: no reels, no flag block")
        << QStringList{} << QStringList{"PrRealStop disabled",     "NeRealStop disabled",
                                        "txtSSFlag disabled",      "txtSSFlag grey",
                                        "txtSBBonus_12 disabled",  "BetSound_17 grey",
                                        "BetSound_18 enabled",     "BetSound_22 white",
                                        "Check12Sound_0 disabled", "Check12Sound_17 disabled",
                                        "txtSBBonus_0 white"}
        << untouched << 0;
    QTest::newRow("reel spin: the flag block, no first plays, no checks")
        << QStringList{"click OptionSound_2", "click NeRealStop", "click OptionSound_1"}
        << QStringList{"StopReal=1",           "PrRealStop disabled", "txtSSFlag enabled",
                       "txtSSFlag white",      "BetSound_12 enabled", "txtSBBonus_17 white",
                       "BetSound_22 disabled", "BetSound_18 grey",    "Check12Sound_13 disabled"}
        << untouched << 0;
    QTest::newRow("medal insert shows flag 0")
        << QStringList{"click OptionSound_1", "type txtSSFlag 6", "click OptionSound_0"}
        << QStringList{"txtSSFlag=0", "txtSBBonus_12=0"} << untouched << 0;
    QTest::newRow("reel stop: reels and checks")
        << QStringList{"click OptionSound_2"}
        << QStringList{"NeRealStop enabled", "Check12Sound_0 enabled", "Check12Sound_17 enabled",
                       "BetSound_18 disabled", "txtSSFlag enabled"}
        << untouched << 0;
    QTest::newRow("<< at sound number 0")
        << QStringList{"click Command3"} << QStringList{"txtSoundNo=0", "LabelSoundFile=無音"}
        << untouched << 0;
    QTest::newRow(">> at sound number 128") << QStringList{"type txtSoundNo 128", "click Command4"}
                                            << QStringList{"txtSoundNo=128"} << untouched << 0;
    QTest::newRow("<< from 128") << QStringList{"type txtSoundNo 128", "click Command3"}
                                 << QStringList{"txtSoundNo=127"} << untouched << 0;
    QTest::newRow("a sound number past 128 is 0, silence")
        << QStringList{"type txtSoundNo 5", "type txtSoundNo 200"}
        << QStringList{"txtSoundNo=0", "LabelSoundFile=無音"} << untouched << 0;
    QTest::newRow("payout flag steps stop at 1 and the last flag")
        << QStringList{"tab 3",          "click Command5", "click Command6",
                       "click Command6", "click Command6", "click Command6",
                       "click Command6", "click Command6", "type txtPaySound_3 7"}
        << QStringList{"Label36=6"} << only([](auto& t) -> auto& { return t.paySound[5][1][1]; })
        << 7;
    QTest::newRow("payout sounds of another flag")
        << QStringList{"tab 3", "click Command6", "type txtPaySound_4 9", "click Command5"}
        << QStringList{"Label36=1", "txtPaySound_4=0"}
        << only([](auto& t) -> auto& { return t.paySound[1][2][0]; }) << 9;
    QTest::newRow("payout sound past 128 is 0")
        << QStringList{"tab 3", "type txtPaySound_0 129"} << QStringList{"txtPaySound_0=0"}
        << only([](auto& t) -> auto& { return t.paySound[0][0][0]; }) << 0;
    QTest::newRow("music 128") << QStringList{"tab 3", "type BGM_7 128", "type BGM_0 300"}
                               << QStringList{"BGM_0=0"}
                               << field([](auto& t) -> auto& { return t.bgmSound[7]; }) << 128;
    QTest::newRow("payout sound first")
        << QStringList{"tab 3", "click CheckSETiming"} << QStringList{}
        << only([](auto& t) -> auto& { return t.paySoundFirst; }) << 1;
    // The sample machine's reel 2 of reel stop, its sound 1 and its payout flag 1.
    QTest::newRow("a machine read is set up as a group choice")
        << QStringList{"type txtSoundNo 1", "click OptionSound_2", "click NeRealStop", "load"}
        << QStringList{"StopReal=2",        "txtSBBonus_0=1000",        "BetSound_0=31",
                       "Check12Sound_0 on", "LabelSoundFile=se001.wav", "txtPaySound_5=5",
                       "BGM_7=127",         "CheckSETiming on",         "Label36=1"}
        << field([](auto& t) -> auto& { return t.stopBonusCandidates[1][0][0].sound; }) << 31;
}

void SoundPagesTest::pageRules() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, checks);
    QFETCH(Field, field);
    QFETCH(int, value);
    SoundWindow s;
    runSteps(s.w, s.dialogs, steps);
    checkControls(s.w, checks);
    QCOMPARE(field(s.w.document()), value);
}

void SoundPagesTest::registerSoundFile_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("machineLoaded");
    QTest::addColumn<bool>("fromOtherFolder");
    QTest::addColumn<QString>("name");     // written there, unless it begins with "gone"
    QTest::addColumn<QString>("message");  // "" none
    QTest::addColumn<QString>("registered");
    const QString outside =
        QStringLiteral("選んだ音のファイルはオルベーンファイルのフォルダにありません。");
    const QString refused = QStringLiteral("このファイルは効果音に登録できません。");
    QTest::newRow("sound number 0 opens no dialog") << "0" << true << false << ""
                                                    << ""
                                                    << "";
    QTest::newRow("beside the machine file") << "5" << true << false << "bell.wav"
                                             << ""
                                             << "bell.wav";
    QTest::newRow("from another folder: registered, with a warning")
        << "128" << true << true << "tune.mid" << outside << "tune.mid";
    QTest::newRow("before any machine file: the working folder")
        << "1" << false << true << "bell.wav"
        << ""
        << "bell.wav";
    QTest::newRow("a comma") << "2" << true << false << "a,b.wav" << refused << "";
    QTest::newRow("a double quote") << "2" << true << false << "a\"b.wav" << refused << "";
    QTest::newRow("not in code page 932") << "2" << true << false << "한.wav" << refused << "";
    // The file dialog takes a typed q"uote.wav for the quoted name uote.wav.
    QTest::newRow("a file that is not there")
        << "2" << true << false << "gone.wav" << refused << "";
}

void SoundPagesTest::registerSoundFile() {
    QFETCH(QString, number);
    QFETCH(bool, machineLoaded);
    QFETCH(bool, fromOtherFolder);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, registered);
    SoundWindow s;
    QTemporaryDir other;
    if (machineLoaded) QVERIFY(saveMachine(s.w, s.dialogs, s.dir.filePath("m.orf")));
    s.w.editor().documentSaved(s.w.editor().filePath());
    s.dialogs.fileRequests.clear();
    typeInto(s.w, "txtSoundNo", number);
    const QString path =
        name.isEmpty() ? QString() : (fromOtherFolder ? other : s.dir).filePath(name);
    if (!name.isEmpty() && !name.startsWith("gone")) writeSound(QFileInfo(path).path(), name);
    clickAnswering(s.w, s.dialogs, "LoadSound", path);
    if (number == "0") {
        QVERIFY(s.dialogs.fileRequests.isEmpty());
        s.dialogs.fileAnswers.clear();
        return;
    }
    QCOMPARE(s.dialogs.fileRequests.size(), 1);
    QCOMPARE(s.dialogs.fileRequests[0].filter,
             QStringLiteral("WAVファイル|*.wav|MIDIファイル|*.mid|"));
    QCOMPARE(s.dialogs.fileRequests[0].initialFolder, machineLoaded ? folderOf(s.dir) : QString());
    QCOMPARE(s.dialogs.shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(s.dialogs.shown[0].text, message);
        QCOMPARE(s.dialogs.shown[0].icon, Dialogs::Icon::Warning);
    }
    const int n = number.toInt();
    QCOMPARE(s.w.document().sound.files[n], registered);
    QCOMPARE(text(s.w, "LabelSoundFile"), registered);
    QCOMPARE(s.w.isModified(), !registered.isEmpty());
}

void SoundPagesTest::soundOutputThroughTheWindow_data() {
    QTest::addColumn<bool>("deviceStarts");
    QTest::addColumn<bool>("musicStarts");
    QTest::addColumn<QString>("machineFolder");  // "" none, "same" or "other" than the sounds
    QTest::addColumn<QStringList>("steps");      // "register N name", "play", "stop", or a step
    QTest::addColumn<QStringList>("calls");      // after start-up, up to the closing; %S the folder
    QTest::addColumn<QString>("message");        // at start-up
    QTest::addColumn<int>("buffer");             // the current buffer at the closing

    const QStringList wav{"createBuffer \"wav:bell.wav\" 3", "play 1"};
    QTest::newRow("a WAV beside the machine file, stopped")
        << true << true << "same" << QStringList{"register 1 bell.wav", "play", "stop"}
        << wav + QStringList{"stop 1", "free 1", Stop, Close} << "" << 0;
    QTest::newRow("a MIDI from the machine folder")
        << true << true << "same" << QStringList{"register 2 tune.mid", "play"}
        << QStringList{Stop, Close, "send \"open %Stune.mid type sequencer alias midifile\"",
                       "send \"play midifile from 0\""}
        << "" << 0;
    QTest::newRow("before any machine file the working folder")
        << true << true << "" << QStringList{"register 1 bell.wav", "play"} << wav << "" << 1;
    QTest::newRow("a sound kept elsewhere is not where the machine looks")
        << true << true << "other" << QStringList{"register 1 bell.wav", "play"}
        << QStringList{"play 0"} << "" << 0;
    QTest::newRow("sound number 0 and an empty field play nothing")
        << true << true << "same"
        << QStringList{"register 1 bell.wav", "type txtSoundNo 0", "play", "type txtSoundNo",
                       "play"}
        << QStringList{} << "" << 0;
    QTest::newRow("no sound device: reported, Play and Stop still call")
        << false << true << "same" << QStringList{"register 1 bell.wav", "play", "stop"}
        << wav + QStringList{"stop 1", "free 1", Stop, Close} << "DirectSoundは使えません。" << 0;
    QTest::newRow("no music device: reported") << true << false << "same" << QStringList{}
                                               << QStringList{} << "DirectMusicは使えません。" << 0;
}

void SoundPagesTest::soundOutputThroughTheWindow() {
    QFETCH(bool, deviceStarts);
    QFETCH(bool, musicStarts);
    QFETCH(QString, machineFolder);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, calls);
    QFETCH(QString, message);
    QFETCH(int, buffer);
    QTemporaryDir sounds, elsewhere;
    ScriptedDialogs dialogs;
    auto w = std::make_unique<MachineWindow>(dialogs, deviceStarts, musicStarts);
    const QStringList startCalls = QStringList{QStringLiteral("start %1 2").arg(w->winId())} +
                                   (deviceStarts ? QStringList{"startMusic"} : QStringList{});
    QCOMPARE(w->soundLog, startCalls);
    QCOMPARE(dialogs.shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(dialogs.shown[0].text, message);
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("specboard"));
    }
    QVERIFY(activeWindow(*w));
    QVERIFY(readReels(*w, dialogs, writeReels(sounds.path(), "reels.sdf", 2)));
    const QString machine = (machineFolder == "other" ? elsewhere : sounds).filePath("m.orf");
    if (!machineFolder.isEmpty()) QVERIFY(saveMachine(*w, dialogs, machine));
    showTab(*w, 2);
    dialogs.shown.clear();
    w->soundLog.clear();
    for (const QString& step : steps) {
        const QStringList part = step.split(u' ');
        if (part[0] == "register") {
            typeInto(*w, "txtSoundNo", part[1]);
            clickAnswering(*w, dialogs, "LoadSound", writeSound(sounds.path(), part[2]));
        } else if (part[0] == "play") {
            click(*w, "PlaySound");
        } else if (part[0] == "stop") {
            click(*w, "Command8");
        } else {
            runSteps(*w, dialogs, {step});
        }
    }
    QCOMPARE(w->soundLog.join(u'\n'), calls.join(u'\n').replace("%S", folderOf(sounds)));
    // Closing shuts the output down: the current buffer, the music, the device, the MIDI file.
    w->soundLog.clear();
    w->editor().documentSaved(w->editor().filePath());
    QVERIFY(w->close());
    QCOMPARE(w->soundLog, (QStringList{QStringLiteral("free %1").arg(buffer), "quitMusic", "quit",
                                       Stop, Close}));
}

QTEST_MAIN(SoundPagesTest)
#include "tst_soundpages.moc"
