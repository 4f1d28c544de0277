// Saving never reports success for a file that did not reach the disk whole, and reading
// never waits on a folder entry that is not a regular file.
#include "filelookup.h"
#include "savefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

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

// Lowers the largest file this process may write, as a nearly full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit lowered = old_;
        lowered.rlim_cur = bytes;
        ok_ = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool ok() const { return ok_; }

private:
    rlimit old_{};
    bool ok_ = false;
};

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
    void readTakesRegularFilesOnly_data();
    void readTakesRegularFilesOnly();
    void lookupFindsRegularFilesOnly_data();
    void lookupFindsRegularFilesOnly();
};

void SaveFileTest::initTestCase() {
    // Past the limit a write fails with EFBIG instead of the signal ending the test.
    std::signal(SIGXFSZ, SIG_IGN);
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
    QTest::newRow("1 KB fits in the last page") << 1024 << true;
    QTest::newRow("5 KB") << 5 * 1024 << false;
    QTest::newRow("12 KB, under the write buffer") << 12 * 1024 << false;
    QTest::newRow("100 KB") << 100 * 1024 << false;
}

void SaveFileTest::fullFileSystem() {
    QFETCH(int, size);
    QFETCH(bool, saved);
    if (::geteuid() != 0) QSKIP("a small file system can only be mounted as root");
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP(qPrintable(QStringLiteral("cannot mount tmpfs here: %1")
                             .arg(QString::fromLocal8Bit(std::strerror(errno)))));
    const auto unmount = qScopeGuard([&] { ::umount(mountPoint.constData()); });

    const QString path = dir.filePath(QStringLiteral("old.sdf"));
    QVERIFY(saveFileAtomically(path, OldFile));
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
    QCOMPARE(why.isEmpty(), saved);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
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
