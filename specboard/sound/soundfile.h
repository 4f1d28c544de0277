#pragma once

#include <QByteArray>
#include <QString>

// Reads a whole sound file of at most maxSize bytes, however large the file says it is. Only
// a plain file is read (a pipe or a device under a sound's name would never end); an empty
// file holds no sound. On failure says why.
bool readSoundFile(const QString& path, QByteArray& bytes, QString* why, qint64 maxSize);
