#include "soundfile.h"

#include <utility>

#include "savefile.h"

bool readSoundFile(const QString& path, QByteArray& bytes, QString* why, qint64 maxSize) {
    QByteArray read;
    QString reason;
    if (!readWholeFile(path, read, &reason, maxSize)) {
        if (why) *why = reason;
        return false;
    }
    if (read.isEmpty()) {
        if (why) *why = QStringLiteral("ファイルが空です。");
        return false;
    }
    bytes = std::move(read);
    return true;
}
