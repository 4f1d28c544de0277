// The four editors as started from a shell: a usage error prints the usage line and ends
// with status 2 before any window, --help prints it and ends with 0 -- with no display to
// start a window on.

#include <QProcess>
#include <QtTest>

namespace {

const char* binary(const QString& program) {
    if (program == QLatin1String("reelboard")) return REELBOARD_BIN;
    if (program == QLatin1String("stopboard")) return STOPBOARD_BIN;
    if (program == QLatin1String("specboard")) return SPECBOARD_BIN;
    return POSBOARD_BIN;
}

}  // namespace

class UsageTest : public QObject {
    Q_OBJECT
private slots:
    void usage_data();
    void usage();
};

void UsageTest::usage_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");  // part of standard output
    QTest::addColumn<QString>("err");  // part of standard error
    const QStringList takes{"[FILE.sdf]", "[FILE.sdf [FILE.rcf] | FILE.rcf]", "[FILE.orf]",
                            "[FILE.ppf]"};
    const QStringList programs{"reelboard", "stopboard", "specboard", "posboard"};
    for (int i = 0; i < programs.size(); ++i) {
        const QString& p = programs[i];
        const QString usage = QStringLiteral("Usage: %1 %2").arg(p, takes[i]);
        const QStringList tooMany =
            i == 1 ? QStringList{"a.sdf", "b.rcf", "c.rcf"} : QStringList{"a", "b"};
        const QByteArray name = p.toLatin1();
        QTest::addRow("%s --help", name.constData())
            << p << QStringList{"--help"} << 0 << usage << "";
        QTest::addRow("%s unknown option", name.constData())
            << p << QStringList{"--open", "a"} << 2 << ""
            << p + ": unknown option --open\n" + usage;
        QTest::addRow("%s too many files", name.constData()) << p << tooMany << 2 << "" << usage;
        QTest::addRow("%s --help among toolkit options", name.constData())
            << p << QStringList{"-platform", "xcb", "-style=fusion", "--help"} << 0 << usage << "";
    }
}

void UsageTest::usage() {
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(display));
    p.setProcessEnvironment(env);
    p.start(QString::fromLocal8Bit(binary(program)), arguments);
    // A window would wait for its user: the run would not end.
    QVERIFY2(p.waitForFinished(30000), "the program did not end");
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), status);
    const QString stdOut = QString::fromLocal8Bit(p.readAllStandardOutput());
    const QString stdErr = QString::fromLocal8Bit(p.readAllStandardError());
    QVERIFY2(stdOut.contains(out), qPrintable(stdOut));
    QVERIFY2(stdErr.contains(err), qPrintable(stdErr));
    QCOMPARE(stdOut.isEmpty(), out.isEmpty());
}

QTEST_GUILESS_MAIN(UsageTest)
#include "tst_usage.moc"
