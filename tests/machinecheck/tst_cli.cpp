#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include "archive.h"
#include "rcfformat.h"
#include "runmachinecheck.h"
#include "samplecopy.h"
#include "sjis.h"

namespace {

const QString Sample = QStringLiteral(SAMPLE_DIR);

// The control text of the sample, as unpack writes it.
QByteArray sampleText() {
    lzh::Archive a;
    if (!a.openFile(Sample + QStringLiteral("/machine.rcf"))) return {};
    return a.read(QStringLiteral("dummy.dat")).value_or(QByteArray());
}

}  // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void usage_data();
    void usage();
    void exitStatusAndJson();
    void unpackThenPack();
    void packRefuses_data();
    void packRefuses();
    void outputs_data();
    void outputs();
    void language_data();
    void language();
};

void TestCli::usage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");  // on standard error; stdout for --help
    const QString none = QStringLiteral("/nonexistent/folder");
    QTest::newRow("nothing") << QStringList() << 2 << QStringLiteral("no command given");
    QTest::newRow("unknown command")
        << QStringList{"frobnicate"} << 2 << QStringLiteral("unknown command frobnicate");
    QTest::newRow("check without folder")
        << QStringList{"check"} << 2 << QStringLiteral("check needs a FOLDER");
    QTest::newRow("check, two folders")
        << QStringList{"check", Sample, Sample} << 2 << QStringLiteral("check takes one folder");
    QTest::newRow("check, unknown option")
        << QStringList{"check", "--xml", Sample} << 2 << QStringLiteral("unknown option --xml");
    QTest::newRow("check, no such folder")
        << QStringList{"check", none} << 2 << QStringLiteral("cannot read the folder");
    QTest::newRow("unpack without file")
        << QStringList{"unpack"} << 2 << QStringLiteral("unpack takes FILE.rcf");
    QTest::newRow("unpack, no such file")
        << QStringList{"unpack", none + "/x.rcf"} << 1 << QStringLiteral("error: cannot unpack");
    QTest::newRow("unpack, not an archive")
        << QStringList{"unpack", Sample + "/machine.sdf"} << 1 << QStringLiteral("LZH");
    QTest::newRow("pack without --lpi")
        << QStringList{"pack", "a.txt", "b.rcf"} << 2 << QStringLiteral("needs --lpi");
    QTest::newRow("pack, --lpi 20") << QStringList{"pack", "a.txt", "b.rcf", "--lpi", "20"} << 2
                                    << QStringLiteral("from 0 to 19, not \"20\"");
    QTest::newRow("pack, --lpi=x")
        << QStringList{"pack", "a.txt", "b.rcf", "--lpi=x"} << 2 << QStringLiteral("not \"x\"");
    QTest::newRow("pack, one file") << QStringList{"pack", "a.txt", "--lpi", "3"} << 2
                                    << QStringLiteral("pack takes TEXT and OUT.rcf");
    QTest::newRow("pack, no such text")
        << QStringList{"pack", none + "/a.txt", none + "/b.rcf", "--lpi", "3"} << 1
        << QStringLiteral("error: cannot read");
    QTest::newRow("sheet without folder")
        << QStringList{"sheet"} << 2 << QStringLiteral("sheet needs a FOLDER or FILE.orf");
    QTest::newRow("sheet, -o without a name")
        << QStringList{"sheet", Sample, "-o"} << 2 << QStringLiteral("-o needs a file name");
    QTest::newRow("sheet, no such .orf")
        << QStringList{"sheet", none + "/x.orf"} << 2 << QStringLiteral("there is no machine file");
    QTest::newRow("sheet, no such folder")
        << QStringList{"sheet", none} << 2 << QStringLiteral("cannot read the folder");
    QTest::newRow("--help") << QStringList{"--help"} << 0
                            << QStringLiteral("pack TEXT OUT.rcf --lpi N [--force]");
    QTest::newRow("help after a command")
        << QStringList{"check", "-h"} << 0 << QStringLiteral("Exit status");
}

void TestCli::usage() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, message);
    const Run r = machinecheck(args);
    QCOMPARE(r.status, status);
    const QString shown = status == 0 ? QString::fromUtf8(r.out) : r.err;
    QVERIFY2(shown.contains(message), qPrintable(shown));
    // A mistake in the command line shows the usage; a folder or file that is not there
    // does not.
    QCOMPARE(r.err.contains(QStringLiteral("Usage: machinecheck check FOLDER")),
             status == 2 && !message.contains(QStringLiteral("cannot read the folder")) &&
                 !message.contains(QStringLiteral("there is no machine file")));
}

void TestCli::exitStatusAndJson() {
    Run clean = machinecheck({QStringLiteral("check"), Sample});
    QCOMPARE(clean.status, 0);
    QCOMPARE(clean.out, QByteArray());
    QVERIFY(clean.err.contains(QStringLiteral("0 errors, 0 warnings")));

    // One error and one warning: status 1; the JSON list says what the lines say.
    QTemporaryDir temp;
    QVERIFY(copySample(temp.path()));
    QVERIFY(QFile::remove(temp.filePath(QStringLiteral("sym2_fl.bmp"))));
    QVERIFY(QFile::rename(temp.filePath(QStringLiteral("digits.bmp")),
                          temp.filePath(QStringLiteral("Digits.BMP"))));
    const Run text = machinecheck({QStringLiteral("check"), temp.path()});
    const Run json = machinecheck({QStringLiteral("check"), temp.path(), QStringLiteral("--json")});
    QCOMPARE(text.status, 1);
    QCOMPARE(json.status, 1);
    QVERIFY(text.err.contains(QStringLiteral("1 error, 1 warning")));
    const QStringList lines = QString::fromUtf8(text.out).split(u'\n', Qt::SkipEmptyParts);
    QJsonParseError parseError;
    const QJsonArray list = QJsonDocument::fromJson(json.out, &parseError).array();
    QCOMPARE(parseError.error, QJsonParseError::NoError);
    QCOMPARE(list.size(), lines.size());
    QCOMPARE(list.size(), 2);
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QJsonObject o = list[i].toObject();
        const int line = o[QStringLiteral("line")].toInt();
        QCOMPARE(lines[i], QStringLiteral("%1%2: %3: %4")
                               .arg(o[QStringLiteral("file")].toString(),
                                    line ? QStringLiteral(":%1").arg(line) : QString(),
                                    o[QStringLiteral("severity")].toString(),
                                    o[QStringLiteral("message")].toString()));
    }
    QCOMPARE(list[0].toObject()[QStringLiteral("file")].toString(),
             temp.path() + QStringLiteral("/machine.sdf"));
    QCOMPARE(list[0].toObject()[QStringLiteral("line")].toInt(), 11);
    QCOMPARE(list[0].toObject()[QStringLiteral("severity")].toString(), QStringLiteral("error"));
    QCOMPARE(list[1].toObject()[QStringLiteral("file")].toString(),
             temp.path() + QStringLiteral("/machine.ppf"));
    QCOMPARE(list[1].toObject()[QStringLiteral("severity")].toString(), QStringLiteral("warning"));
}

void TestCli::unpackThenPack() {
    QTemporaryDir temp;
    const QString text = temp.filePath(QStringLiteral("control.txt"));
    const QString archive = temp.filePath(QStringLiteral("again.rcf"));
    QCOMPARE(machinecheck({QStringLiteral("unpack"), Sample + QStringLiteral("/machine.rcf"), text})
                 .status,
             0);
    const QByteArray original = sampleText();
    QVERIFY(!original.isEmpty());
    QCOMPARE(fileBytes(text), original);
    const Run toStdout =
        machinecheck({QStringLiteral("unpack"), Sample + QStringLiteral("/machine.rcf")});
    QCOMPARE(toStdout.status, 0);
    QCOMPARE(toStdout.out, original);

    const Run pack = machinecheck(
        {QStringLiteral("pack"), text, archive, QStringLiteral("--lpi"), QStringLiteral("6")});
    QVERIFY2(pack.status == 0, qPrintable(pack.err));
    // The new archive, read through liblhasa: one member, the same text.
    lzh::Archive a;
    QVERIFY2(a.openFile(archive), qPrintable(a.errorString()));
    QCOMPARE(a.memberNames(), QStringList{QStringLiteral("dummy.dat")});
    QCOMPARE(a.read(QStringLiteral("dummy.dat")).value_or(QByteArray()), original);
    QCOMPARE(machinecheck({QStringLiteral("unpack"), archive}).out, original);
    // And stopboard reads it in the sample's layout.
    ControlDocument doc;
    doc.setLastPrizeIndex(6);
    rcf::ReadReport report;
    QVERIFY(rcf::readFile(archive, doc, &report, nullptr));
    QCOMPARE(report.writtenLastPrizeIndex, std::optional<int>(6));
}

void TestCli::packRefuses_data() {
    QTest::addColumn<int>("lpi");
    QTest::addColumn<int>("line");  // 1-based line to replace; 0 none; -1 the line ends
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<int>("faultLine");
    QTest::addColumn<QString>("message");
    QTest::newRow("another LastPrizeIndex")
        << 5 << 0 << QByteArray() << 15361
        << QStringLiteral("the layout of LastPrizeIndex 6, not 5");
    QTest::newRow("LF line ends") << 6 << -1 << QByteArray() << 1
                                  << QStringLiteral("does not end with CR LF");
    QTest::newRow("a stop index that is not a number")
        << 6 << 3 << QByteArray("0,x,0") << 3 << QStringLiteral("停止テーブル 1 を読めません。");
    QTest::newRow("an assignment that is not a number")
        << 6 << 20000 << QByteArray(" l ") << 20000
        << QStringLiteral("\" l \" does not read back as written");
    QTest::newRow("an assignment without its blanks")
        << 6 << 20001 << QByteArray("7") << 20001
        << QStringLiteral("stopboard would write \" 7 \"");
    // What the checker refuses in a .rcf is not packed into one.
    QTest::newRow("a stop index of 9")
        << 6 << 3 << QByteArray("0,9,0") << 3
        << QStringLiteral("stop table 1, centre reel, position 02: stop index 9 is outside 0..4");
    QTest::newRow("a comment holding a comma")
        << 6 << 1 << sjis::fromUnicode(QStringLiteral("通常,すべりなし")) << 1
        << QStringLiteral("数値が必要な所に");
}

void TestCli::packRefuses() {
    QFETCH(int, lpi);
    QFETCH(int, line);
    QFETCH(QByteArray, replacement);
    QFETCH(int, faultLine);
    QFETCH(QString, message);
    QTemporaryDir temp;
    const QString text = temp.filePath(QStringLiteral("control.txt"));
    const QString out = temp.filePath(QStringLiteral("out.rcf"));
    QByteArray bytes = sampleText();
    if (line == -1) bytes.replace("\r\n", "\n");
    QVERIFY(putBytes(text, bytes));
    if (line > 0) QVERIFY(replaceLine(text, line, replacement));
    // An existing archive stays as it was.
    QVERIFY(putBytes(out, "old"));
    const Run r = machinecheck({QStringLiteral("pack"), text, out, QStringLiteral("--lpi"),
                                QString::number(lpi), QStringLiteral("--force")});
    QCOMPARE(r.status, 1);
    const QString where = faultLine ? QStringLiteral("%1:%2: error: ").arg(text).arg(faultLine)
                                    : QStringLiteral("%1: error: ").arg(text);
    QVERIFY2(r.err.startsWith(where), qPrintable(r.err));
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.err.contains(QStringLiteral("nothing written")));
    QCOMPARE(fileBytes(out), QByteArray("old"));
}

void TestCli::outputs_data() {
    QTest::addColumn<QStringList>("args");  // in a folder of archive.rcf, its control.txt, ...
    QTest::addColumn<QString>("in");        // standard input, when given
    QTest::addColumn<QString>("appendTo");  // standard output, when given
    QTest::addColumn<QString>("message");   // on standard error; none: status 0
    QTest::addColumn<QString>("file");      // after the run, holds
    QTest::addColumn<QString>("holds");     // "archive", "text", "old" or "packed text"
    auto row = [](const char* name, const QStringList& args, const char* message, const char* file,
                  const char* holds, const char* in = "", const char* appendTo = "") {
        QTest::newRow(name) << args << QString::fromUtf8(in) << QString::fromUtf8(appendTo)
                            << QString::fromUtf8(message) << QString::fromUtf8(file)
                            << QString::fromUtf8(holds);
    };
    const char* is = "error: the output is the input";
    row("unpack onto its archive", {"unpack", "archive.rcf", "archive.rcf"}, is, "archive.rcf",
        "archive");
    // In through a link, out through a hard link: the same file all the same.
    row("unpack onto a hard link of its archive, -f", {"unpack", "link.rcf", "hard.rcf", "-f"}, is,
        "archive.rcf", "archive");
    row("unpack to a standard output appending to the archive", {"unpack", "archive.rcf"}, is,
        "archive.rcf", "archive", "", "archive.rcf");
    row("unpack over a file", {"unpack", "archive.rcf", "old.txt"},
        "old.txt: error: already exists; give --force", "old.txt", "old");
    row("unpack over a file, --force", {"unpack", "archive.rcf", "old.txt", "--force"}, "",
        "old.txt", "text");
    row("unpack into a folder, --force", {"unpack", "archive.rcf", "folder", "--force"},
        "folder: error: is a folder", "archive.rcf", "archive");
    row("pack onto its text, --force",
        {"pack", "control.txt", "control.txt", "--lpi", "6", "--force"}, is, "control.txt", "text");
    row("unpack - -", {"unpack", "-", "-"}, "", "out.txt", "text", "archive.rcf", "out.txt");
    row("pack - -", {"pack", "-", "-", "--lpi", "6"}, "", "new.rcf", "packed text", "control.txt",
        "new.rcf");
}

void TestCli::outputs() {
    QFETCH(QStringList, args);
    QFETCH(QString, in);
    QFETCH(QString, appendTo);
    QFETCH(QString, message);
    QFETCH(QString, file);
    QFETCH(QString, holds);
    QTemporaryDir temp;
    const QDir dir(temp.path());
    const QByteArray archive = fileBytes(Sample + QStringLiteral("/machine.rcf"));
    const QByteArray text = sampleText();
    QVERIFY(putBytes(dir.filePath(QStringLiteral("archive.rcf")), archive));
    QVERIFY(putBytes(dir.filePath(QStringLiteral("control.txt")), text));
    QVERIFY(putBytes(dir.filePath(QStringLiteral("old.txt")), "old"));
    QVERIFY(QFile::link(QStringLiteral("archive.rcf"), dir.filePath(QStringLiteral("link.rcf"))));
    QVERIFY(::link(QFile::encodeName(dir.filePath(QStringLiteral("archive.rcf"))).constData(),
                   QFile::encodeName(dir.filePath(QStringLiteral("hard.rcf"))).constData()) == 0);
    QVERIFY(dir.mkdir(QStringLiteral("folder")));

    const Run r = machinecheck(args, dir.path(), in.isEmpty() ? in : dir.filePath(in),
                               appendTo.isEmpty() ? appendTo : dir.filePath(appendTo));
    QCOMPARE(r.status, message.isEmpty() ? 0 : 1);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    const QByteArray bytes = fileBytes(dir.filePath(file));
    if (holds == QLatin1String("packed text")) {
        lzh::Archive a;
        QVERIFY2(a.openBytes(bytes), qPrintable(a.errorString()));
        QCOMPARE(a.read(QStringLiteral("dummy.dat")).value_or(QByteArray()), text);
    } else {
        QCOMPARE(bytes, holds == QLatin1String("archive") ? archive
                        : holds == QLatin1String("text")  ? text
                                                          : QByteArray("old"));
    }
}

void TestCli::language_data() {
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QStringList>("args");   // FOLDER: the sample with sym2_fl.bmp removed
    QTest::addColumn<QStringList>("shown");  // on standard output, then standard error
    const QString none = QStringLiteral("/nonexistent/folder");
    QTest::newRow("ja, check") << "ja_JP.UTF-8" << QStringList{"check", "FOLDER"}
                               << QStringList{
                                      "machine.sdf:11: エラー: 図柄2のフラッシュ画像 "
                                      "\"sym2_fl.bmp\" がフォルダにありません",
                                      "エラー 1 件、警告 0 件"};
    QTest::newRow("C, check") << "C" << QStringList{"check", "FOLDER"}
                              << QStringList{
                                     "machine.sdf:11: error: the flash picture of symbol "
                                     "2 \"sym2_fl.bmp\" is missing from the folder",
                                     "1 error, 0 warnings"};
    QTest::newRow("ja, --help") << "ja_JP.UTF-8" << QStringList{"--help"}
                                << QStringList{"使い方: machinecheck check FOLDER",
                                               "機種シートを書きます"};
    QTest::newRow("ja, a usage error")
        << "ja_JP.UTF-8" << QStringList{"check", "--xml", none}
        << QStringList{"check に --xml というオプションはありません", "使い方:"};
    QTest::newRow("ja, a folder that cannot be read")
        << "ja_JP.UTF-8" << QStringList{"check", none}
        << QStringList{"フォルダ /nonexistent/folder を読めません: そのフォルダはありません"};
    QTest::newRow("fr, English") << "fr_FR.UTF-8" << QStringList{"check", none}
                                 << QStringList{"there is no such folder"};
}

void TestCli::language() {
    QFETCH(QString, lang);
    QFETCH(QStringList, args);
    QFETCH(QStringList, shown);
    QTemporaryDir temp;
    QVERIFY(copySample(temp.path()));
    QVERIFY(QFile::remove(temp.filePath(QStringLiteral("sym2_fl.bmp"))));
    args.replaceInStrings(QStringLiteral("FOLDER"), temp.path());
    const Run r = machinecheck(args, temp.path(), {}, {}, lang);
    const QString all = QString::fromUtf8(r.out) + r.err;
    for (const QString& text : shown) QVERIFY2(all.contains(text), qPrintable(all));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
