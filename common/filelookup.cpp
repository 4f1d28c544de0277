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
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries)
        if (entry.compare(bareName, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
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
