#include "savefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    // Without this, a file in a folder we may not create files in could not be replaced;
    // but writing in place would no longer protect the old file, so keep it off.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = QStringLiteral("書き込めません: %1").arg(file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        if (error) *error = QStringLiteral("書き込みに失敗しました: %1").arg(file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error) *error = QStringLiteral("保存に失敗しました: %1").arg(file.errorString());
        return false;
    }
    return true;
}

bool readWholeFile(const QString& path, QByteArray& bytes, QString* error, qint64 maxSize) {
    const QFileInfo info(path);
    if (!info.exists()) {
        if (error) *error = QStringLiteral("ファイルがありません: %1").arg(path);
        return false;
    }
    if (info.isDir()) {
        if (error) *error = QStringLiteral("フォルダはファイルとして読めません: %1").arg(path);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("開けません: %1").arg(file.errorString());
        return false;
    }
    if (file.size() > maxSize) {
        if (error) *error = QStringLiteral("ファイルが大きすぎます: %1").arg(path);
        return false;
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error) *error = QStringLiteral("読み込みに失敗しました: %1").arg(file.errorString());
        return false;
    }
    bytes = std::move(data);
    return true;
}
