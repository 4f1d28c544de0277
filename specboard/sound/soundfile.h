#pragma once

#include <QByteArray>
#include <QString>

// The largest sound file read into memory: far above any machine sound, far below what
// would exhaust the editor's memory.
inline constexpr qint64 MaxSoundFileBytes = 256 * 1024 * 1024;

// Reads a whole sound file. Only a plain file is read (a pipe or a device under a sound's
// name would never end), and none above MaxSoundFileBytes; an empty file holds no sound.
// On failure says why.
bool readSoundFile(const QString& path, QByteArray& bytes, QString* why);
