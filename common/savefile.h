#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file through a temporary beside it and renames it into place, so a
// failed save (folder gone, no permission, disk full) leaves the old file whole.
// Returns false and a Japanese reason in *error on failure.
bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Reads a whole file; false and a reason when it cannot (missing, a folder, unreadable).
bool readWholeFile(const QString& path, QByteArray& bytes, QString* error = nullptr,
                   qint64 maxSize = 256LL * 1024 * 1024);
