// The editors' command line: which arguments open files, which end with the usage line, and
// that a given file goes through the Load command's own read and failure message.

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

QTEST_GUILESS_MAIN(EditorArgsTest)
#include "tst_editorargs.moc"
