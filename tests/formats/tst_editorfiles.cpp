// One editor's file commands against a hostile system, built once for each of the four
// windows: a Save past a file size limit fails, says so and loses nothing; a data file whose
// size lies is refused; no message lays out a name as long as a file can make it.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "editormain.h"
#include "filesizelimit.h"
#include "givenfiletest.h"
#include "savefile.h"
#ifdef EDITOR_HAS_SOUND
#include "machinewindowtest.h"
using Window = machinetest::MachineWindow;
#else
#include "form1.h"
// Each window's classes live in its program's namespace.
namespace EDITOR_NAMESPACE {}
using namespace EDITOR_NAMESPACE;
using Window = Form1;
#endif
#if __has_include("rcfformat.h")
#include "rcfformat.h"
#endif

namespace {

// Templates, so that only the branch of this window is compiled.
template <typename W>
bool save(W& w) {
    if constexpr (requires { w.saveReelFile(); })
        return w.saveReelFile();
    else if constexpr (requires { w.saveControlFile(); })
        return w.saveControlFile();
    else if constexpr (requires { w.saveMachineFile(); })
        return w.saveMachineFile();
    else
        return w.savePositionFile();
}

template <typename W>
bool isModified(W& w) {
    return w.editor().isModified();
}

template <typename W>
void markModified(W& w) {
    w.editor().markChanged();
}

// The window's own files in the sample machine: the file it saves comes last.
template <typename W>
QStringList ownFiles() {
    if constexpr (givenFileCount<W>() == 2)
        return {QStringLiteral("machine.sdf"), QStringLiteral("machine.rcf")};
    else if constexpr (requires(W & w) { w.saveReelFile(); })
        return {QStringLiteral("machine.sdf")};
    else if constexpr (requires(W & w) { w.saveMachineFile(); })
        return {QStringLiteral("machine.orf")};
    else
        return {QStringLiteral("machine.ppf")};
}

QStringList inFolder(const QString& folder, const QStringList& names) {
    QStringList paths;
    for (const QString& name : names) paths << QDir(folder).filePath(name);
    return paths;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

#if __has_include("rcfformat.h")
// The archive header of a control file holds the time of the save: its text is what counts.
QByteArray comparable(const QByteArray& saved) {
    QByteArray text;
    return rcf::unpackText(saved, text, nullptr) ? text : QByteArray();
}
#else
QByteArray comparable(const QByteArray& saved) { return saved; }
#endif

// What the window writes now, through its own Save.
QByteArray savedBytes(Window& w, ScriptedDialogs& dialogs, const QString& path) {
    dialogs.fileAnswers << path;
    return save(w) ? comparable(contents(path)) : QByteArray();
}

// The window beside a copy of the sample machine.
struct SampleWindow {
    QTemporaryDir dir;
    bool copied = giventest::copySample(dir.path());
    ScriptedDialogs dialogs;
    Window w{dialogs};

    QStringList ownPaths() const { return inFolder(dir.path(), ownFiles<Window>()); }
    // Reads its own files as the command line would; true when nothing was said.
    bool openOwnFiles() {
        openGivenFiles(w, ownPaths());
        return copied && dialogs.shown.isEmpty();
    }
};

}  // namespace

class EditorFilesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void saveUnderFileSizeLimit_data();
    void saveUnderFileSizeLimit();
    void lyingSizeRefused();
    void longPictureNameShownCut();
    void pngPicturesNamedOnce();
};

void EditorFilesTest::initTestCase() { ignoreFileSizeSignal(); }

void EditorFilesTest::saveUnderFileSizeLimit_data() {
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("linked");  // the saved file has a second name
    QTest::newRow("no room") << 0 << false;
    QTest::newRow("room for the old file only") << 64 << false;
    QTest::newRow("two names, room for the old file only") << 64 << true;
}

void EditorFilesTest::saveUnderFileSizeLimit() {
    QFETCH(int, limit);
    QFETCH(bool, linked);
    SampleWindow sample;
    QVERIFY(sample.openOwnFiles());
    auto& [dir, copied, dialogs, w] = sample;
    markModified(w);

    const QString path = sample.ownPaths().constLast();
    const QString link = dir.filePath(QStringLiteral("second"));
    const QByteArray old("an old file, 32 bytes long.....\n");
    QVERIFY(giventest::writeBytes(dir.path(), QFileInfo(path).fileName(), old) == path);
    if (linked) QVERIFY(::link(QFile::encodeName(path), QFile::encodeName(link)) == 0);
    bool saved = true;
    {
        FileSizeLimit lowered{rlim_t(limit)};
        QVERIFY(lowered.ok());
        dialogs.fileAnswers << path;
        saved = save(w);
    }
    QVERIFY(!saved);
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].text, QStringLiteral("ファイルを保存できませんでした。"));
    QVERIFY2(dialogs.shown[0].detail.contains(path), qPrintable(dialogs.shown[0].detail));
    QCOMPARE(contents(path), old);
    if (linked) QCOMPARE(contents(link), old);
    QVERIFY(isModified(w));

    // Without the limit the same window saves.
    dialogs.fileAnswers << path;
    QVERIFY(save(w));
    QVERIFY(!isModified(w));
    QVERIFY(contents(path) != old);
    if (linked) QCOMPARE(contents(link), contents(path));
}

void EditorFilesTest::lyingSizeRefused() {
    SampleWindow sample;
    QVERIFY(sample.openOwnFiles());
    auto& [dir, copied, dialogs, w] = sample;
    const QByteArray before = savedBytes(w, dialogs, dir.filePath(QStringLiteral("before")));
    QVERIFY(!before.isEmpty());

    // Says it is empty, then gives gigabytes.
    const QString lying = dir.filePath(QStringLiteral("lying"));
    QVERIFY(QFile::link(QStringLiteral("/proc/self/pagemap"), lying));
    openGivenFiles(w, {lying});
    QCOMPARE(dialogs.shown.size(), 1);
    QVERIFY2(dialogs.shown[0].detail.contains(lying), qPrintable(dialogs.shown[0].detail));
    QCOMPARE(savedBytes(w, dialogs, dir.filePath(QStringLiteral("after"))), before);
}

// However long a picture name the reel data file holds, every message shows a bounded text.
void EditorFilesTest::longPictureNameShownCut() {
    if (ownFiles<Window>().constFirst() == u"machine.ppf") QSKIP("this window reads no reel data");
    SampleWindow sample;
    QVERIFY(sample.copied);
    const QString reels = sample.dir.filePath(QStringLiteral("machine.sdf"));
    QList<QByteArray> lines = contents(reels).split('\n');
    QVERIFY(lines.size() > 5 && lines[4] == "\"sym1.bmp\"\r");
    lines[4] = '"' + QByteArray(1024 * 1024, 'n') + ".bmp\"\r";
    QVERIFY(giventest::writeBytes(sample.dir.path(), QStringLiteral("machine.sdf"),
                                  lines.join('\n')) == reels);

    QVERIFY(!sample.openOwnFiles());  // the picture is not found
    for (const ScriptedDialogs::Shown& shown : sample.dialogs.shown) {
        QVERIFY2(shown.text.size() + shown.detail.size() < 1000,
                 qPrintable(shown.detail.left(200)));
        QVERIFY2(shown.detail.contains(QStringLiteral("nnnn…")), qPrintable(shown.detail));
    }
}

// Pictures the machine may not show are still read, and named in one message per read.
void EditorFilesTest::pngPicturesNamedOnce() {
    SampleWindow sample;
    QVERIFY(sample.copied);
    const QStringList png = ownFiles<Window>().constFirst() == u"machine.ppf"
                                ? QStringList{"cabinet.bmp", "digits.bmp"}
                                : QStringList{"sym1.bmp", "sym2.bmp"};
    for (const QString& name : png) {  // the kind is in the bytes, whatever the name says
        const QString path = sample.dir.filePath(name);
        QVERIFY(QImage(path).save(path, "PNG"));
    }
    openGivenFiles(sample.w, sample.ownPaths());
    QCOMPARE(sample.dialogs.shown.size(), 1);
    QVERIFY(sample.dialogs.shown[0].text.contains(QStringLiteral("マシンでは表示されない")));
    QCOMPARE(sample.dialogs.shown[0].detail.split(u'\n'), png);
    QVERIFY(giventest::closesWithoutQuestion(sample.w, sample.dialogs));  // read as they are
}

QTEST_MAIN(EditorFilesTest)
#include "tst_editorfiles.moc"
