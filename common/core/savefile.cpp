#include "savefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace {

QString systemReason(int code = errno) { return QString::fromLocal8Bit(std::strerror(code)); }

QByteArray folderOf(const QByteArray& target) {
    const qsizetype slash = target.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : target.left(slash + 1);
}

// A fresh hidden name beside `target`. The file's own name is cut (never inside a character)
// so that the whole fits the longest name the folder takes, whatever the file is called.
QByteArray temporaryName(const QByteArray& target) {
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray base = target.mid(slash + 1);
    const QByteArray tag = '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    const long limit = ::pathconf(folderOf(target).constData(), _PC_NAME_MAX);
    qsizetype room = (limit > 0 ? limit : 255) - 1 - tag.size();
    if (room < base.size())
        while (room > 0 && (static_cast<unsigned char>(base[room]) & 0xC0) == 0x80) --room;
    return target.left(slash + 1) + '.' + base.left(std::max<qsizetype>(room, 0)) + tag;
}

// A file beside the target that a save writes: made without a name in the target's folder
// where the file system can (nothing is left behind by a crash, and syncing it commits no
// folder entry), else under a fresh name there. -1 and errno when none can be made.
int openTemporary(const QByteArray& target, mode_t mode, QByteArray& name) {
    name.clear();
#ifdef O_TMPFILE
    const int unnamed = ::open(folderOf(target).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
    if (unnamed >= 0) return unnamed;
    if (errno == ENOENT || errno == EACCES || errno == EROFS || errno == ENOSPC) return -1;
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryName(target);
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Gives an unnamed temporary its name beside the target; false and errno when it cannot.
bool nameTemporary(int fd, QByteArray& name, const QByteArray& target) {
    if (!name.isEmpty()) return true;
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

// Writes `size` bytes at `offset`; `done` counts what reached the file, also on failure.
bool writeAt(int fd, const char* data, qint64 size, qint64 offset, qint64& done) {
    done = 0;
    while (done < size) {
        // A short write is followed by another, which then tells why the rest did not fit.
        const ssize_t n = ::pwrite(fd, data + done, size_t(size - done), offset + done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        done += n;
    }
    return true;
}

// Copies `from` into `to` from the start: its first `size` bytes, or all of it when size < 0;
// `copied` counts them. False and errno when a read or write fails or `from` ends early.
bool copyContent(int from, int to, qint64 size, qint64& copied) {
    char buffer[64 * 1024];
    copied = 0;
    while (size < 0 || copied < size) {
        const qint64 room = size < 0 ? qint64(sizeof buffer) : size - copied;
        const ssize_t n =
            ::pread(from, buffer, size_t(std::min<qint64>(room, sizeof buffer)), copied);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = EIO;
            return size < 0;
        }
        qint64 done = 0;
        if (!writeAt(to, buffer, n, copied, done)) return false;
        copied += n;
    }
    return true;
}

class Saver {
public:
    Saver(const QString& path, const QByteArray& bytes, QString* error)
        : path_(path), bytes_(bytes), error_(error) {}

    bool save();

private:
    enum class Outcome { Saved, Failed, KeepsNothing };
    Outcome replaceByRename();
    bool rewriteInPlace();

    bool fail(const QString& what, int code) {
        if (error_) *error_ = what.arg(path_, systemReason(code));
        return false;
    }

    const QString& path_;
    const QByteArray& bytes_;
    QString* error_;
    QByteArray target_;
    bool replacing_ = false;
    struct stat old_ {};
};

bool Saver::save() {
    // Through links to the file they name: the file is replaced, the link stays.
    QFileInfo info(path_);
    for (int depth = 0; depth < 32 && info.isSymLink(); ++depth) info.setFile(info.symLinkTarget());
    target_ = QFile::encodeName(info.filePath());

    replacing_ = ::stat(target_.constData(), &old_) == 0;
    if (replacing_ && !S_ISREG(old_.st_mode))
        return fail(QStringLiteral("書き込めません: %1 (%2)"),
                    S_ISDIR(old_.st_mode) ? EISDIR : EINVAL);
    if (replacing_ && ::access(target_.constData(), W_OK) != 0)
        return fail(QStringLiteral("書き込めません: %1 (%2)"), errno);
    // A new file under the old name would part it from its other names.
    if (replacing_ && old_.st_nlink > 1) return rewriteInPlace();
    switch (replaceByRename()) {
        case Outcome::Saved:
            return true;
        case Outcome::Failed:
            return false;
        case Outcome::KeepsNothing:
            break;
    }
    // The saver cannot give a new file the old one's owner or group.
    return rewriteInPlace();
}

Saver::Outcome Saver::replaceByRename() {
    QByteArray temporary;  // empty while the temporary has no name
    // Owner-only until it is whole and has the old file's owner: only then its mode.
    const int fd = openTemporary(target_, replacing_ ? 0600 : 0666, temporary);
    if (fd < 0) {
        fail(QStringLiteral("書き込めません: %1 (%2)"), errno);
        return Outcome::Failed;
    }
    auto cancel = [&](const QString& what, Outcome outcome = Outcome::Failed) {
        const int code = errno;
        ::close(fd);
        if (!temporary.isEmpty()) ::unlink(temporary.constData());
        if (outcome == Outcome::Failed) fail(what, code);
        return outcome;
    };
    struct stat made {};
    if (replacing_ && ::fstat(fd, &made) != 0)
        return cancel(QStringLiteral("書き込めません: %1 (%2)"));
    if (replacing_ && (made.st_uid != old_.st_uid || made.st_gid != old_.st_gid) &&
        ::fchown(fd, old_.st_uid, old_.st_gid) != 0)
        return errno == EPERM ? cancel({}, Outcome::KeepsNothing)
                              : cancel(QStringLiteral("書き込めません: %1 (%2)"));
    qint64 written = 0;
    if (!writeAt(fd, bytes_.constData(), bytes_.size(), 0, written))
        return cancel(QStringLiteral("書き込みに失敗しました: %1 (%2)"));
    // Set after the write, which would take a setuid bit off. The owner is the old one here,
    // so the bit goes to no one new.
    if (replacing_ && ::fchmod(fd, old_.st_mode & 07777) != 0)
        return cancel(QStringLiteral("書き込めません: %1 (%2)"));
    // Only bytes on the disk count as saved: the data and the size that reads them back do.
    if (::fdatasync(fd) != 0)
        return cancel(QStringLiteral("ディスクに書き込めませんでした: %1 (%2)"));
    if (!nameTemporary(fd, temporary, target_))
        return cancel(QStringLiteral("保存に失敗しました: %1 (%2)"));
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        fail(QStringLiteral("書き込みに失敗しました: %1 (%2)"), code);
        return Outcome::Failed;
    }
    if (::rename(temporary.constData(), target_.constData()) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        fail(QStringLiteral("保存に失敗しました: %1 (%2)"), code);
        return Outcome::Failed;
    }
    return Outcome::Saved;
}

// The file keeps its inode, so its other names, owner, group and mode: written over, with a
// whole copy of the old content beside it first, put back should the write fail.
bool Saver::rewriteInPlace() {
    const int fd = ::open(target_.constData(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return fail(QStringLiteral("書き込めません: %1 (%2)"), errno);
    struct stat now {};
    if (::fstat(fd, &now) != 0 || !S_ISREG(now.st_mode)) {
        ::close(fd);
        return fail(QStringLiteral("書き込めません: %1 (%2)"), EINVAL);
    }
    QByteArray copyName;
    const int copy = openTemporary(target_, 0600, copyName);
    if (copy < 0) {
        const int code = errno;
        ::close(fd);
        return fail(QStringLiteral("書き込めません: %1 (%2)"), code);
    }
    auto finish = [&](bool keepCopy) {
        ::close(copy);
        ::close(fd);
        if (!keepCopy && !copyName.isEmpty()) ::unlink(copyName.constData());
    };
    qint64 oldSize = 0;
    // Named once whole and on the disk: a crash from here on leaves it beside the file.
    if (!copyContent(fd, copy, -1, oldSize) || ::fdatasync(copy) != 0 ||
        !nameTemporary(copy, copyName, target_)) {
        const int code = errno;
        finish(false);
        return fail(QStringLiteral("書き込めません: %1 (%2)"), code);
    }

    qint64 written = 0;
    const bool shortens = bytes_.size() < oldSize;
    QString what;
    if (!writeAt(fd, bytes_.constData(), bytes_.size(), 0, written) ||
        (shortens && ::ftruncate(fd, bytes_.size()) != 0))
        what = QStringLiteral("書き込みに失敗しました: %1 (%2)");
    else if (::fdatasync(fd) != 0)
        what = QStringLiteral("ディスクに書き込めませんでした: %1 (%2)");
    if (what.isEmpty()) {
        finish(false);
        return true;
    }
    const int code = errno;
    // Only what was written over goes back: the rest still is the old content, and a file
    // size limit may forbid writing it again.
    const qint64 overwritten =
        shortens && written == bytes_.size() ? oldSize : std::min(written, oldSize);
    qint64 back = 0;
    const bool whole = copyContent(copy, fd, overwritten, back) && ::ftruncate(fd, oldSize) == 0 &&
                       ::fdatasync(fd) == 0;
    finish(!whole);
    if (whole) return fail(what, code);
    if (error_)
        *error_ = what.arg(path_, systemReason(code)) +
                  QStringLiteral("\n元の内容を戻せませんでした。元の内容は %1 にあります。")
                      .arg(QFile::decodeName(copyName));
    return false;
}

}  // namespace

void ignoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

// Written by hand rather than through QSaveFile: its buffered write lets commit() rename a
// short file into place after a failed flush, and it would neither keep links nor owners.
bool saveFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    return Saver(path, bytes, error).save();
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
    auto tooLarge = [&] {
        if (error)
            *error =
                QStringLiteral("ファイルが大きすぎます（%2 MB まで）: %1")
                    .arg(path)
                    .arg(double(maxSize) / (1024 * 1024), 0, 'f', maxSize % (1024 * 1024) ? 1 : 0);
        return false;
    };
    // A file that says it is larger is refused unread; one that says less (a /proc or
    // network file, one growing while read) is read up to one byte past the cap, never more.
    const qint64 reported = file.size();
    if (reported > maxSize) return tooLarge();
    // Room for the size reported and the one byte that shows the end; grown by doubling.
    constexpr qint64 Unreported = 64 * 1024;
    QByteArray data;
    data.reserve(std::min(reported > 0 ? reported + 1 : Unreported, maxSize + 1));
    for (;;) {
        const qint64 held = data.size();
        if (held > maxSize) return tooLarge();
        if (held == data.capacity()) data.reserve(std::min(2 * held, maxSize + 1));
        const qint64 want = std::min(data.capacity(), maxSize + 1) - held;
        data.resize(held + want);
        const qint64 n = file.read(data.data() + held, want);
        if (n < 0) {
            if (error)
                *error =
                    QStringLiteral("読み込みに失敗しました: %1 (%2)").arg(path, file.errorString());
            return false;
        }
        data.resize(held + n);
        if (n == 0) break;
    }
    bytes = std::move(data);
    return true;
}
