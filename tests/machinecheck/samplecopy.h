#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// A copy of examples/sample-machine to break one thing in.
inline bool copySample(const QString& to) {
    const QDir from(QStringLiteral(SAMPLE_DIR));
    for (const QString& name : from.entryList(QDir::Files))
        if (!QFile::copy(from.filePath(name), QDir(to).filePath(name))) return false;
    return true;
}

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool putBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Replaces 1-based line n (without its CR LF) of a text file.
inline bool replaceLine(const QString& path, int n, const QByteArray& line) {
    QList<QByteArray> lines = fileBytes(path).split('\n');
    if (n < 1 || n > lines.size()) return false;
    lines[n - 1] = line + '\r';
    return putBytes(path, lines.join('\n'));
}
