#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// One run of the machinecheck program, as a shell would start it.
struct Run {
    int status = -1;
    QByteArray out;
    QString err;
};

// `in` and `appendTo` (when given) are the standard input and output; `folder` the working
// folder; the language is the locale's, and LANG alone decides it here.
inline Run machinecheck(const QStringList& args, const QString& folder = {}, const QString& in = {},
                        const QString& appendTo = {}, const QString& lang = QStringLiteral("C")) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) env.remove(QLatin1String(name));
    env.insert(QStringLiteral("LANG"), lang);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder);
    if (!in.isEmpty()) p.setStandardInputFile(in);
    if (!appendTo.isEmpty()) p.setStandardOutputFile(appendTo, QIODevice::Append);
    p.start(QStringLiteral(MACHINECHECK_BIN), args);
    Run r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return r;
    r.status = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
