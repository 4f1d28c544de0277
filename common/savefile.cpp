#include "savefile.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemReason() { return QString::fromLocal8Bit(std::strerror(errno)); }

}  // namespace

bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    // Without this, a file in a folder we may not create files in could not be replaced;
    // but writing in place would no longer protect the old file, so keep it off.
    file.setDirectWriteFallback(false);
    // Unbuffered, so a full disk fails the write here; a buffered write would only fail
    // inside commit(), which then puts the short file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error) *error = QStringLiteral("書き込めません: %1").arg(file.errorString());
        return false;
    }
    qsizetype written = 0;
    while (written < bytes.size()) {
        // A short write is followed by another, which then reports why the rest did not fit.
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) {
            if (error)
                *error = QStringLiteral("書き込みに失敗しました: %1").arg(file.errorString());
            file.cancelWriting();
            return false;
        }
        written += n;
    }
    if (!file.flush()) {
        if (error) *error = QStringLiteral("書き込みに失敗しました: %1").arg(file.errorString());
        file.cancelWriting();
        return false;
    }
    // commit() syncs too but does not look at the result; a failed sync means lost bytes.
    if (::fsync(file.handle()) != 0) {
        if (error)
            *error = QStringLiteral("ディスクに書き込めませんでした: %1").arg(systemReason());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error) *error = QStringLiteral("保存に失敗しました: %1").arg(file.errorString());
        return false;
    }
    return true;
}

bool openRegularFile(const QString& path, QFile& file, QString* error, FileIdentity* identity) {
    const QByteArray native = QFile::encodeName(path);
    auto refuse = [&](const struct stat& st) {
        if (error)
            *error = S_ISDIR(st.st_mode)
                         ? QStringLiteral("フォルダはファイルとして読めません: %1").arg(path)
                         : QStringLiteral("普通のファイルではないので読めません: %1").arg(path);
        return false;
    };
    // Looked at before it is opened: opening a device may already do something.
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        if (error)
            *error = errno == ENOENT
                         ? QStringLiteral("ファイルがありません: %1").arg(path)
                         : QStringLiteral("開けません: %1 (%2)").arg(path, systemReason());
        return false;
    }
    if (!S_ISREG(st.st_mode)) return refuse(st);
    // Non-blocking and checked again once open: the entry may have been swapped for a FIFO.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = QStringLiteral("開けません: %1 (%2)").arg(path, systemReason());
        return false;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return refuse(st);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (error) *error = QStringLiteral("開けません: %1 (%2)").arg(path, file.errorString());
        return false;
    }
    if (identity) *identity = {quint64(st.st_dev), quint64(st.st_ino)};
    return true;
}

bool readWholeFile(const QString& path, QByteArray& bytes, QString* error, qint64 maxSize) {
    QFile file;
    if (!openRegularFile(path, file, error)) return false;
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
