// Saving never reports success for a file that did not reach the disk whole, and reading
// never waits on a folder entry that is not a regular file.
#include <grp.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <functional>

#include "filelookup.h"
#include "filesizelimit.h"
#include "savefile.h"

namespace {

// The reel data file a save replaces in every case below.
const QByteArray OldFile("120\r\n# pics size\r\n0,0\r\n\r\n");

QByteArray newFile(qsizetype size) {
    QByteArray bytes(size, 'n');
    for (qsizetype i = 0; i < size; i += 7) bytes[i] = char('0' + i % 10);
    return bytes;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

struct stat statOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

// Runs `save` in a child process as user nobody, a member of `group` only.
bool savedAsNobody(gid_t group, const std::function<bool()>& save) {
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped =
            ::setgroups(1, &group) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(dropped && save() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

bool makeSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    if (fd < 0 || native.size() >= qsizetype(sizeof address.sun_path)) return false;
    std::memcpy(address.sun_path, native.constData(), native.size());
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);  // the entry stays in the folder
    return bound;
}

}  // namespace

class SaveFileTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void fileSizeLimit_data();
    void fileSizeLimit();
    void fullFileSystem_data();
    void fullFileSystem();
    void keepsPermissionsAndLinks();
    void savesWholeOrKeepsOld();
    void keepsOwnerAndGroup_data();
    void keepsOwnerAndGroup();
    void readStopsAtTheCap_data();
    void readStopsAtTheCap();
    void readTakesRegularFilesOnly_data();
    void readTakesRegularFilesOnly();
    void lookupFindsRegularFilesOnly_data();
    void lookupFindsRegularFilesOnly();
};

void SaveFileTest::initTestCase() {
    // Past the limit a write fails with EFBIG instead of the signal ending the test.
    ignoreFileSizeSignal();
}

void SaveFileTest::fileSizeLimit_data() {
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("saved");
    QTest::newRow("no room, 1 KB file") << 0 << 1024 << false;
    QTest::newRow("1 KB room, one byte more") << 1024 << 1025 << false;
    QTest::newRow("1 KB room, 100 KB file") << 1024 << 100 * 1024 << false;
    QTest::newRow("100 KB room, one byte more") << 100 * 1024 << 100 * 1024 + 1 << false;
    QTest::newRow("100 KB room, 1 MB file") << 100 * 1024 << 1024 * 1024 << false;
    QTest::newRow("100 KB room, 100 KB file") << 100 * 1024 << 100 * 1024 << true;
    QTest::newRow("1 KB room, 1 KB file") << 1024 << 1024 << true;
    QTest::newRow("no room, empty file") << 0 << 0 << true;
}

void SaveFileTest::fileSizeLimit() {
    QFETCH(int, limit);
    QFETCH(int, size);
    QFETCH(bool, saved);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("machine.sdf"));
    QVERIFY(saveFileAtomically(path, OldFile));
    const QByteArray bytes = newFile(size);
    QString why;
    bool ok = false;
    {
        FileSizeLimit lowered{rlim_t(limit)};
        QVERIFY(lowered.ok());
        ok = saveFileAtomically(path, bytes, &why);
    }
    QCOMPARE(ok, saved);
    QCOMPARE(contents(path), saved ? bytes : OldFile);
    QCOMPARE(why.isEmpty(), saved);
    // Neither way leaves a temporary beside the file.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("machine.sdf")});
}

void SaveFileTest::fullFileSystem_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("linked");  // written in place, after a copy of the old content
    for (const bool linked : {false, true}) {
        const char* how = linked ? ", two links" : "";
        QTest::addRow("1 KB fits in the last page%s", how) << 1024 << true << linked;
        QTest::addRow("5 KB%s", how) << 5 * 1024 << false << linked;
        QTest::addRow("12 KB, under the write buffer%s", how) << 12 * 1024 << false << linked;
        QTest::addRow("100 KB%s", how) << 100 * 1024 << false << linked;
    }
}

void SaveFileTest::fullFileSystem() {
    QFETCH(int, size);
    QFETCH(bool, saved);
    QFETCH(bool, linked);
    if (::geteuid() != 0) QSKIP("a small file system can only be mounted as root");
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP(qPrintable(QStringLiteral("cannot mount tmpfs here: %1")
                             .arg(QString::fromLocal8Bit(std::strerror(errno)))));
    const auto unmount = qScopeGuard([&] { ::umount(mountPoint.constData()); });

    const QString path = dir.filePath(QStringLiteral("old.sdf"));
    QVERIFY(saveFileAtomically(path, OldFile));
    const QString link = dir.filePath(QStringLiteral("link.sdf"));
    if (linked) QCOMPARE(::link(QFile::encodeName(path), QFile::encodeName(link)), 0);
    // Fill the disk, then give back one page: 4 KiB stay free.
    QFile filler(dir.filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray page(4096, 'f');
    qint64 filled = 0;
    while (filler.write(page) == page.size()) filled += page.size();
    QVERIFY(filled >= page.size());
    QVERIFY(filler.resize(filled - page.size()));
    filler.close();

    const QByteArray bytes = newFile(size);
    QString why;
    QCOMPARE(saveFileAtomically(path, bytes, &why), saved);
    QCOMPARE(contents(path), saved ? bytes : OldFile);
    if (linked) QCOMPARE(contents(link), contents(path));
    QCOMPARE(why.isEmpty(), saved);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), linked ? 3 : 2);
}

void SaveFileTest::keepsPermissionsAndLinks() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("machine.sdf"));
    QVERIFY(saveFileAtomically(path, OldFile));
    const mode_t mask = ::umask(022);
    ::umask(mask);
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, 0666 & ~mask);  // a new file, as any program makes one
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    // Saved through a link: the file it names is replaced, with its permissions.
    const QString link = dir.filePath(QStringLiteral("link.sdf"));
    QVERIFY(QFile::link(path, link));
    QVERIFY(saveFileAtomically(link, newFile(10)));
    QCOMPARE(contents(path), newFile(10));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, mode_t(0640));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

// Random saves over files with one or two names, under random file size limits, named up to
// the longest name a folder takes: each save either puts every byte under every name, or
// fails and leaves the old bytes there; nothing else is left in the folder.
void SaveFileTest::savesWholeOrKeepsOld() {
    QTemporaryDir dir;
    QRandomGenerator rng(21);
    auto randomBytes = [&](int size) {
        QByteArray b(size, Qt::Uninitialized);
        for (char& c : b) c = char(rng.bounded(256));
        return b;
    };
    for (int trial = 0; trial < 150; ++trial) {
        QString name;
        switch (rng.bounded(3)) {
            case 0:
                name = QStringLiteral("machine.sdf");
                break;
            case 1:  // 247 to 255 bytes, the longest names there are
                name = QString(247 + rng.bounded(9) - 4, u'n') + QStringLiteral(".sdf");
                break;
            default:  // 85 characters of three bytes each
                name = QString(85, u'図');
        }
        const QString path = dir.filePath(name);
        const QString link = dir.filePath(QStringLiteral("link.sdf"));
        const QByteArray old = randomBytes(rng.bounded(6000));
        const QByteArray bytes = randomBytes(rng.bounded(6000));
        const bool linked = rng.bounded(2) == 1;
        const int limit = rng.bounded(2) ? rng.bounded(7000) : 1 << 30;
        QVERIFY2(saveFileAtomically(path, old), qPrintable(name));
        if (linked) QCOMPARE(::link(QFile::encodeName(path), QFile::encodeName(link)), 0);

        bool saved = false;
        QString why;
        {
            FileSizeLimit lowered{rlim_t(limit)};
            saved = saveFileAtomically(path, bytes, &why);
        }
        // In place, the copy of the old content has to fit as well.
        const bool fits = bytes.size() <= limit && (!linked || old.size() <= limit);
        const QString row = QStringLiteral("trial %1: %2 bytes over %3, limit %4, %5")
                                .arg(trial)
                                .arg(bytes.size())
                                .arg(old.size())
                                .arg(limit)
                                .arg(linked ? "linked" : "alone");
        QVERIFY2(saved == fits, qPrintable(row + u' ' + why));
        QVERIFY2(contents(path) == (saved ? bytes : old), qPrintable(row));
        if (linked) QVERIFY2(contents(link) == contents(path), qPrintable(row));
        QStringList expected{name};
        if (linked) expected << QStringLiteral("link.sdf");
        QStringList found = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        expected.sort();
        found.sort();
        QCOMPARE(found, expected);
        QFile::remove(path);
        QFile::remove(link);
    }
}

void SaveFileTest::keepsOwnerAndGroup_data() {
    QTest::addColumn<uint>("owner");
    QTest::addColumn<uint>("group");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("byGroupMember");  // false: saved by root
    QTest::newRow("another user's file saved by root") << 1234u << 2345u << 0640 << false;
    QTest::newRow("setuid file of nobody saved by root") << 65534u << 65534u << 04755 << false;
    QTest::newRow("group-shared file saved by a member") << 1234u << 2345u << 0664 << true;
}

void SaveFileTest::keepsOwnerAndGroup() {
    QFETCH(uint, owner);
    QFETCH(uint, group);
    QFETCH(int, mode);
    QFETCH(bool, byGroupMember);
    if (::geteuid() != 0) QSKIP("files of other owners can only be made as root");
    QTemporaryDir dir;
    QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    const QString path = dir.filePath(QStringLiteral("machine.sdf"));
    const QString link = dir.filePath(QStringLiteral("second.sdf"));
    QVERIFY(saveFileAtomically(path, OldFile));
    const QByteArray native = QFile::encodeName(path);
    QCOMPARE(::chown(native.constData(), owner, group), 0);
    QCOMPARE(::chmod(native.constData(), mode_t(mode)), 0);
    const ino_t inode = statOf(path).st_ino;

    for (const QByteArray& bytes : {newFile(100), newFile(10)}) {
        auto save = [&] { return saveFileAtomically(path, bytes); };
        QVERIFY(byGroupMember ? savedAsNobody(group, save) : save());
        QCOMPARE(contents(path), bytes);
        const struct stat st = statOf(path);
        QCOMPARE(uint(st.st_uid), owner);
        QCOMPARE(uint(st.st_gid), group);
        QCOMPARE(int(st.st_mode & 07777), mode);
        // A member cannot give a new file the owner: the old one was written over.
        if (byGroupMember) QCOMPARE(st.st_ino, inode);
        // The second time with two names.
        if (!QFileInfo::exists(link))
            QCOMPARE(::link(native.constData(), QFile::encodeName(link)), 0);
    }
    QCOMPARE(contents(link), newFile(10));
}

void SaveFileTest::readStopsAtTheCap_data() {
    QTest::addColumn<QString>("file");  // empty: a file of `size` bytes
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("read");
    QTest::newRow("one byte under the cap") << "" << 999 << true;
    QTest::newRow("at the cap") << "" << 1000 << true;
    QTest::newRow("one byte over") << "" << 1001 << false;
    // Reports a size of 0 and would give gigabytes.
    QTest::newRow("link to a file whose size lies") << "/proc/self/pagemap" << 0 << false;
}

void SaveFileTest::readStopsAtTheCap() {
    QFETCH(QString, file);
    QFETCH(int, size);
    QFETCH(bool, read);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("machine.sdf"));
    if (file.isEmpty())
        QVERIFY(saveFileAtomically(path, newFile(size)));
    else
        QVERIFY(QFile::link(file, path));
    const qint64 cap = file.isEmpty() ? 1000 : 64LL * 1024 * 1024;
    QByteArray bytes("kept");
    QString why;
    QCOMPARE(readWholeFile(path, bytes, &why, cap), read);
    QCOMPARE(bytes, read ? newFile(size) : QByteArray("kept"));
    if (!read)
        QVERIFY2(why.contains(path) && why.contains(QStringLiteral("大きすぎます")),
                 qPrintable(why));
}

void SaveFileTest::readTakesRegularFilesOnly_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("link to a FIFO") << "link";
    QTest::newRow("socket") << "socket";
    QTest::newRow("device") << "device";
    QTest::newRow("folder") << "folder";
    QTest::newRow("missing") << "missing";
}

void SaveFileTest::readTakesRegularFilesOnly() {
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.sdf"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QString path = dir.filePath(kind + QStringLiteral(".sdf"));
    if (kind == QLatin1String("fifo"))
        path = fifo;
    else if (kind == QLatin1String("link"))
        QVERIFY(QFile::link(fifo, path));
    else if (kind == QLatin1String("socket"))
        QVERIFY(makeSocket(path));
    else if (kind == QLatin1String("device"))
        path = QStringLiteral("/dev/zero");  // would never end
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(kind + QStringLiteral(".sdf")));

    QByteArray bytes("kept");
    QString why;
    QVERIFY(!readWholeFile(path, bytes, &why));
    QCOMPARE(bytes, QByteArray("kept"));
    QVERIFY(why.contains(path));
}

void SaveFileTest::lookupFindsRegularFilesOnly_data() {
    QTest::addColumn<QString>("fifoName");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("found");
    QTest::newRow("FIFO under the exact name") << "Reel.sdf"
                                               << ""
                                               << "Reel.sdf"
                                               << "";
    QTest::newRow("FIFO under another case") << "REEL.SDF"
                                             << ""
                                             << "reel.sdf"
                                             << "";
    QTest::newRow("FIFO exact, file in another case") << "reel.sdf"
                                                      << "REEL.SDF"
                                                      << "reel.sdf"
                                                      << "REEL.SDF";
    QTest::newRow("file exact beside a FIFO") << "REEL.SDF"
                                              << "reel.sdf"
                                              << "reel.sdf"
                                              << "reel.sdf";
}

void SaveFileTest::lookupFindsRegularFilesOnly() {
    QFETCH(QString, fifoName);
    QFETCH(QString, fileName);
    QFETCH(QString, wanted);
    QFETCH(QString, found);
    QTemporaryDir dir;
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(fifoName)).constData(), 0600), 0);
    if (!fileName.isEmpty()) QVERIFY(saveFileAtomically(dir.filePath(fileName), OldFile));
    QCOMPARE(findFileInFolder(dir.path(), wanted),
             found.isEmpty() ? QString() : dir.filePath(found));
}

QTEST_GUILESS_MAIN(SaveFileTest)
#include "tst_savefile.moc"
