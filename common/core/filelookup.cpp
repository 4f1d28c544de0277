#include "filelookup.h"

#include <QDir>
#include <QFileInfo>

QString findFileInFolder(const QString& folder, const QString& bareName) {
    if (bareName.isEmpty()) return {};
    // A name that climbs out of the folder or names a sub-folder is not a bare name.
    if (bareName.contains(QLatin1Char('/')) || bareName.contains(QLatin1Char('\\'))) return {};
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QString exact = dir.filePath(bareName);
    if (QFileInfo(exact).isFile()) return exact;
    // Regular files only: a FIFO, socket or device under a data file's name would make the
    // read wait for ever or never end.
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries) {
        if (entry.compare(bareName, Qt::CaseInsensitive) != 0) continue;
        const QString path = dir.filePath(entry);
        if (QFileInfo(path).isFile()) return path;
    }
    return {};
}

QString folderOfPath(const QString& path) {
    const QString clean = QDir::fromNativeSeparators(path);
    const qsizetype slash = clean.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return {};
    return clean.left(slash + 1);
}

QString bareNameOfPath(const QString& path) {
    const QString clean = QDir::fromNativeSeparators(path);
    return clean.mid(clean.lastIndexOf(QLatin1Char('/')) + 1);
}
