#include "savefile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemReason(int code = errno) { return QString::fromLocal8Bit(std::strerror(code)); }

// A name beside `target` for its temporary; a fresh one each call.
QByteArray temporaryName(const QByteArray& target) {
    const qsizetype slash = target.lastIndexOf('/');
    return target.left(slash + 1) + '.' + target.mid(slash + 1) + '.' +
           QByteArray::number(QRandomGenerator::global()->generate(), 36);
}

// The temporary file a save writes: made without a name in the target's folder where the
// file system can (nothing is left behind by a crash, and syncing it commits no folder
// entry), else under a fresh name there. -1 and errno when none can be made.
int openTemporary(const QByteArray& target, mode_t mode, QByteArray& name) {
    name.clear();
#ifdef O_TMPFILE
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : target.left(slash + 1);
    const int unnamed = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (unnamed >= 0) return unnamed;
    if (errno == ENOENT || errno == EACCES || errno == EROFS || errno == ENOSPC) return -1;
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryName(target);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Gives an unnamed temporary its name beside the target; false and errno when it cannot.
bool nameTemporary(int fd, const QByteArray& target, QByteArray& name) {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryName(target);
        const int linked =
            ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW);
        if (linked == 0) return true;
        if (errno != EEXIST) break;
    }
    name.clear();
    return false;
}

}  // namespace

// Written by hand rather than through QSaveFile: its buffered write lets commit() rename a
// short file into place after a failed flush, and the data would be synced twice.
bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    auto fail = [&](const QString& what, int code) {
        if (error) *error = what.arg(path, systemReason(code));
        return false;
    };
    // Through links to the file they name: the file is replaced, the link stays.
    QFileInfo info(path);
    for (int depth = 0; depth < 32 && info.isSymLink(); ++depth) info.setFile(info.symLinkTarget());
    const QByteArray target = QFile::encodeName(info.filePath());

    struct stat old {};
    const bool replacing = ::stat(target.constData(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode))
        return fail(QStringLiteral("書き込めません: %1 (%2)"),
                    S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
    if (replacing && ::access(target.constData(), W_OK) != 0)
        return fail(QStringLiteral("書き込めません: %1 (%2)"), errno);

    QByteArray temporary;  // empty while the temporary has no name
    const int fd = openTemporary(target, replacing ? old.st_mode & 07777 : 0666, temporary);
    if (fd < 0) return fail(QStringLiteral("書き込めません: %1 (%2)"), errno);
    auto cancel = [&](const QString& what) {
        const int code = errno;
        ::close(fd);
        if (!temporary.isEmpty()) ::unlink(temporary.constData());
        return fail(what, code);
    };
    // The old file's permissions, not those the umask leaves a new file.
    if (replacing && ::fchmod(fd, old.st_mode & 07777) != 0)
        return cancel(QStringLiteral("書き込めません: %1 (%2)"));
    for (qsizetype written = 0; written < bytes.size();) {
        // A short write is followed by another, which then tells why the rest did not fit.
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return cancel(QStringLiteral("書き込みに失敗しました: %1 (%2)"));
        }
        written += n;
    }
    // Only bytes on the disk count as saved; the data and the size that reads them back do.
    if (::fdatasync(fd) != 0)
        return cancel(QStringLiteral("ディスクに書き込めませんでした: %1 (%2)"));
    if (temporary.isEmpty() && !nameTemporary(fd, target, temporary))
        return cancel(QStringLiteral("保存に失敗しました: %1 (%2)"));
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        return fail(QStringLiteral("書き込みに失敗しました: %1 (%2)"), code);
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        return fail(QStringLiteral("保存に失敗しました: %1 (%2)"), code);
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
