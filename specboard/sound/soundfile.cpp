#include "soundfile.h"

#include <QFile>
#include <QFileInfo>
#include <utility>

bool readSoundFile(const QString& path, QByteArray& bytes, QString* why) {
    const auto fail = [why](const QString& reason) {
        if (why) *why = reason;
        return false;
    };
    const QFileInfo info(path);
    if (!info.exists()) return fail(QStringLiteral("ファイルが見つかりません。"));
    if (!info.isFile()) return fail(QStringLiteral("通常のファイルではありません。"));
    if (info.size() > MaxSoundFileBytes) return fail(QStringLiteral("ファイルが大きすぎます。"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return fail(file.errorString());
    QByteArray read = file.readAll();
    if (file.error() != QFileDevice::NoError) return fail(file.errorString());
    if (read.isEmpty()) return fail(QStringLiteral("ファイルが空です。"));
    bytes = std::move(read);
    return true;
}
