// The editors' command line: which arguments open files, which end with the usage line, and
// that a given file goes through the Load command's own read and failure message; a Load from
// the button asks first about unsaved work.

#include <QDir>
#include <QtTest>

#include "editorargs.h"
#include "givenfile.h"
#include "scripteddialogs.h"

using editorargs::Parsed;
using Outcome = Parsed::Outcome;

Q_DECLARE_METATYPE(Outcome)

namespace {

QString inWorkingFolder(const QString& name) { return QDir::current().absoluteFilePath(name); }

}  // namespace

class EditorArgsTest : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void givenFileTakesTheLoadCommandsRead_data();
    void givenFileTakesTheLoadCommandsRead();
    void toolkitOptions_data();
    void toolkitOptions();
    void loadAsksAboutUnsavedWork_data();
    void loadAsksAboutUnsavedWork();
};

void EditorArgsTest::parse_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("maxFiles");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("problem");
    const QString abs = QDir::rootPath() + QStringLiteral("m/machine.sdf");
    // clang-format off
    QTest::newRow("nothing")                << QStringList{} << 1 << Outcome::Open << QStringList{} << "";
    QTest::newRow("one absolute file")      << QStringList{abs} << 1 << Outcome::Open << QStringList{abs} << "";
    QTest::newRow("relative: working folder") << QStringList{"m.sdf"} << 1 << Outcome::Open << QStringList{inWorkingFolder("m.sdf")} << "";
    QTest::newRow("two where one is taken") << QStringList{"a.sdf", "b.sdf"} << 1 << Outcome::UsageError << QStringList{} << "only one file";
    QTest::newRow("the pair")               << QStringList{"a.sdf", "b.rcf"} << 2 << Outcome::Open << QStringList{inWorkingFolder("a.sdf"), inWorkingFolder("b.rcf")} << "";
    QTest::newRow("three where two")        << QStringList{"a", "b", "c"} << 2 << Outcome::UsageError << QStringList{} << "at most 2 files";
    QTest::newRow("unknown long option")    << QStringList{"--open", "a.sdf"} << 1 << Outcome::UsageError << QStringList{} << "unknown option --open";
    QTest::newRow("lone dash")              << QStringList{"-"} << 1 << Outcome::UsageError << QStringList{} << "unknown option -";
    QTest::newRow("--help")                 << QStringList{"--help"} << 1 << Outcome::Help << QStringList{} << "";
    QTest::newRow("-h with a file")         << QStringList{"a.sdf", "-h"} << 1 << Outcome::Help << QStringList{} << "";
    QTest::newRow("--help, then too many")  << QStringList{"--help", "a", "b"} << 1 << Outcome::UsageError << QStringList{} << "only one file";
    QTest::newRow("-- then a dash name")    << QStringList{"--", "-m.sdf"} << 1 << Outcome::Open << QStringList{inWorkingFolder("-m.sdf")} << "";
    QTest::newRow("empty name")             << QStringList{""} << 1 << Outcome::UsageError << QStringList{} << "empty file name";
    // clang-format on
}

void EditorArgsTest::parse() {
    QFETCH(QStringList, arguments);
    QFETCH(int, maxFiles);
    QFETCH(Outcome, outcome);
    QFETCH(QStringList, files);
    QFETCH(QString, problem);
    const Parsed parsed = editorargs::parse(arguments, maxFiles);
    QCOMPARE(parsed.outcome, outcome);
    QCOMPARE(parsed.files, files);
    QVERIFY2(parsed.problem.contains(problem), qPrintable(parsed.problem));
    QCOMPARE(parsed.problem.isEmpty(), problem.isEmpty());
}

void EditorArgsTest::givenFileTakesTheLoadCommandsRead_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<int>("dialogs");   // open dialogs shown
    QTest::addColumn<int>("messages");  // failure messages shown
    QTest::newRow("given, read") << "/m/machine.sdf" << true << 0 << 0;
    QTest::newRow("given, refused: the Load's message") << "/m/bad.sdf" << false << 0 << 1;
    QTest::newRow("none given: the dialog") << "" << true << 1 << 0;
}

void EditorArgsTest::givenFileTakesTheLoadCommandsRead() {
    QFETCH(QString, given);
    QFETCH(bool, reads);
    QFETCH(int, dialogs);
    QFETCH(int, messages);
    ScriptedDialogs scripted;
    scripted.fileAnswers = {QStringLiteral("/m/machine.sdf")};
    const lifecycle::FileCommand command{scripted,
                                         nullptr,
                                         QStringLiteral("SlotDataFile|*.sdf|"),
                                         {},
                                         QStringLiteral("reelboard"),
                                         QStringLiteral("ファイルが不正です。"),
                                         Dialogs::Icon::None};
    QStringList readPaths;
    const bool read =
        lifecycle::openOrReadGiven(command, given, [&](const QString& path, QString* why) {
            readPaths << path;
            if (path.endsWith(QLatin1String("bad.sdf"))) {
                *why = QStringLiteral("line 3: not a number");
                return false;
            }
            return true;
        });
    QCOMPARE(read, reads);
    QCOMPARE(readPaths, QStringList{given.isEmpty() ? QStringLiteral("/m/machine.sdf") : given});
    QCOMPARE(scripted.fileRequests.size(), dialogs);
    QCOMPARE(scripted.shown.size(), messages);
    if (messages) {
        QCOMPARE(scripted.shown[0].title, QStringLiteral("reelboard"));
        QCOMPARE(scripted.shown[0].text, QStringLiteral("ファイルが不正です。"));
        QCOMPARE(scripted.shown[0].detail, QStringLiteral("line 3: not a number"));
    }
}

void EditorArgsTest::toolkitOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("left");
    // clang-format off
    QTest::newRow("value options")     << QStringList{"-platform", "xcb", "--style", "fusion", "a.sdf"} << QStringList{"a.sdf"};
    QTest::newRow("flags and =values") << QStringList{"-reverse", "-style=fusion", "--help"} << QStringList{"--help"};
    QTest::newRow("ours stay")         << QStringList{"-h", "--open", "-"} << QStringList{"-h", "--open", "-"};
    QTest::newRow("none after --")     << QStringList{"--", "-reverse", "-style"} << QStringList{"--", "-reverse", "-style"};
    QTest::newRow("a value missing")   << QStringList{"a.sdf", "-platform"} << QStringList{"a.sdf", "-platform"};
    // clang-format on
}

void EditorArgsTest::toolkitOptions() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, left);
    QCOMPARE(editorargs::withoutToolkitOptions(arguments), left);
}

void EditorArgsTest::loadAsksAboutUnsavedWork_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveWrites");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("reads");
    using A = Dialogs::Answer;
    QTest::newRow("Cancel keeps the work") << "" << int(A::Cancel) << true << true << false;
    QTest::newRow("No reads over it") << "" << int(A::No) << true << true << true;
    QTest::newRow("Yes saves, then reads") << "" << int(A::Yes) << true << true << true;
    QTest::newRow("Yes, nothing written: no read") << "" << int(A::Yes) << false << true << false;
    QTest::newRow("a file given at start-up")
        << "/m/given.sdf" << int(A::Cancel) << true << false << true;
}

void EditorArgsTest::loadAsksAboutUnsavedWork() {
    QFETCH(QString, given);
    QFETCH(int, answer);
    QFETCH(bool, saveWrites);
    QFETCH(bool, asked);
    QFETCH(bool, reads);
    ScriptedDialogs scripted;
    scripted.fileAnswers = {QStringLiteral("/m/machine.sdf")};
    scripted.answers = {Dialogs::Answer(answer)};
    int saves = 0;
    const lifecycle::FileCommand command{
        scripted,
        nullptr,
        QStringLiteral("SlotDataFile|*.sdf|"),
        {},
        QStringLiteral("reelboard"),
        QStringLiteral("ファイルが不正です。"),
        Dialogs::Icon::None,
        lifecycle::UnsavedWork{[] { return true; }, [&] { return ++saves, saveWrites; }}};
    bool readRan = false;
    QCOMPARE(lifecycle::openOrReadGiven(command, given,
                                        [&](const QString&, QString*) { return readRan = true; }),
             reads);
    QCOMPARE(readRan, reads);
    QCOMPARE(scripted.shown.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(scripted.shown[0].text,
                 QStringLiteral("データに変更があります。セーブしますか？"));
        QCOMPARE(scripted.shown[0].buttons, Dialogs::Buttons::YesNoCancel);
    }
    QCOMPARE(saves, asked && answer == int(Dialogs::Answer::Yes) ? 1 : 0);
}

QTEST_GUILESS_MAIN(EditorArgsTest)
#include "tst_editorargs.moc"
