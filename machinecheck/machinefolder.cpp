#include "machinefolder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace check {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(MachineFolder)
};

// Why the folder cannot be read, in the terms of the path the author gave.
QString reasonFor(int code, const QByteArray& native) {
    switch (code) {
        case ENOENT:
            return Text::tr("there is no such folder");
        case ENOTDIR:
            return Text::tr("a part of the path is not a folder");
        case EACCES:
            return Text::tr(
                "permission denied (a folder on the way, or the folder itself, "
                "may not be read or entered)");
        case ELOOP:
            return Text::tr("the path runs through too many symbolic links");
        case ENAMETOOLONG: {
            for (const QByteArray& part : native.split('/'))
                if (part.size() > NAME_MAX)
                    return Text::tr(
                               "a name in the path is %1 bytes long, longer than the %2 "
                               "the system takes")
                        .arg(part.size())
                        .arg(NAME_MAX);
            return Text::tr("the path is %1 bytes long, longer than the %2 the system takes")
                .arg(native.size())
                .arg(PATH_MAX - 1);
        }
        default:
            return QString::fromLocal8Bit(std::strerror(code));
    }
}

QString cannotRead(const QString& path, int code, const QByteArray& native) {
    return Text::tr("cannot read the folder %1: %2").arg(path, reasonFor(code, native));
}

}  // namespace

bool MachineFolder::open(const QString& path, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) return fail(cannotRead(path, errno, native));
    if (!S_ISDIR(st.st_mode)) return fail(Text::tr("%1 is not a folder").arg(path));
    // Without the right to enter it, every file in it would be reported unreadable.
    if (::access(native.constData(), R_OK | X_OK) != 0)
        return fail(cannotRead(path, errno, native));
    DIR* dir = ::opendir(native.constData());
    if (!dir) return fail(cannotRead(path, errno, native));

    QStringList names;
    QHash<QString, QStringList> byFolded;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) break;
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
        QString name = QFile::decodeName(entry->d_name);
        byFolded[name.toCaseFolded()].append(name);
        names.append(std::move(name));
    }
    const int code = errno;
    ::closedir(dir);
    if (code != 0) return fail(cannotRead(path, code, native));

    for (QStringList& sameName : byFolded) std::sort(sameName.begin(), sameName.end());
    prefix_ = path.endsWith(u'/') ? path : path + u'/';
    names_ = std::move(names);
    byFolded_ = std::move(byFolded);
    return true;
}

QStringList MachineFolder::namesEndingIn(const QStringList& suffixes) const {
    QStringList out;
    for (const QString& name : names_)
        if (std::any_of(suffixes.begin(), suffixes.end(), [&](const QString& suffix) {
                return name.endsWith(suffix, Qt::CaseInsensitive);
            }))
            out << name;
    std::sort(out.begin(), out.end());
    return out;
}

QString MachineFolder::find(const QString& bareName) const {
    if (bareName.isEmpty() || bareName.contains(u'/') || bareName.contains(u'\\')) return {};
    const auto it = byFolded_.constFind(bareName.toCaseFolded());
    if (it == byFolded_.constEnd()) return {};
    const QStringList& sameName = *it;
    if (sameName.contains(bareName) && kindOf(bareName) == EntryKind::File) return bareName;
    for (const QString& name : sameName)
        if (name != bareName && kindOf(name) == EntryKind::File) return name;
    return sameName.contains(bareName) ? bareName : sameName.first();
}

EntryKind MachineFolder::kindOf(const QString& name) const {
    const QByteArray native = QFile::encodeName(filePath(name));
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return errno == ENOENT && ::lstat(native.constData(), &st) == 0 ? EntryKind::Dangling
                                                                        : EntryKind::Unreadable;
    if (S_ISREG(st.st_mode)) return EntryKind::File;
    if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
    if (S_ISFIFO(st.st_mode)) return EntryKind::Fifo;
    if (S_ISSOCK(st.st_mode)) return EntryKind::Socket;
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return EntryKind::Device;
    return EntryKind::Unreadable;
}

QString kindText(EntryKind kind) {
    switch (kind) {
        case EntryKind::File:
            return Text::tr("a file");
        case EntryKind::Folder:
            return Text::tr("a folder");
        case EntryKind::Fifo:
            return Text::tr("a FIFO");
        case EntryKind::Socket:
            return Text::tr("a socket");
        case EntryKind::Device:
            return Text::tr("a device");
        case EntryKind::Dangling:
            return Text::tr("a link to nothing");
        case EntryKind::Unreadable:
            break;
    }
    return Text::tr("an entry that cannot be looked at");
}

}  // namespace check
