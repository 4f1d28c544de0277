#pragma once

#include <QString>

// Finds a file named by its bare name in a folder: the exact name first, then a
// case-insensitive match, so machine folders made on Windows keep working here.
// Only regular files (or links to them) are found, never a folder, FIFO, socket or device.
// Returns the full path, or an empty text when there is no such file.
QString findFileInFolder(const QString& folder, const QString& bareName);

// The folder part of a path, ending with the platform's separator ("" for a bare name).
QString folderOfPath(const QString& path);
// The bare name of a path (no folder).
QString bareNameOfPath(const QString& path);
