#pragma once

// Shared steps of the tests of an editor started with files: a copy of the sample machine to
// break things in, and the close that must ask nothing after a clean read.

#include <QDir>
#include <QFile>
#include <QWidget>

#include "scripteddialogs.h"

namespace giventest {

// Copies examples/sample-machine (SAMPLE_DIR) into `to`, leaving out the names in `skip`.
inline bool copySample(const QString& to, const QStringList& skip = {}) {
    const QDir from(QStringLiteral(SAMPLE_DIR));
    QDir().mkpath(to);
    for (const QString& name : from.entryList(QDir::Files))
        if (!skip.contains(name) && !QFile::copy(from.filePath(name), QDir(to).filePath(name)))
            return false;
    return true;
}

inline QString writeBytes(const QString& folder, const QString& name, const QByteArray& bytes) {
    const QString path = QDir(folder).filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qWarning("could not write %s", qPrintable(path));
    return path;
}

// The window closes at once, with no question.
inline bool closesWithoutQuestion(QWidget& window, const ScriptedDialogs& dialogs) {
    const qsizetype shown = dialogs.shown.size();
    return window.close() && dialogs.shown.size() == shown;
}

}  // namespace giventest
