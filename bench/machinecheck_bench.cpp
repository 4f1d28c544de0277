// Speed of machinecheck: the whole process on the sample, on a machine with twenty
// prizes whose control file holds varied values (the longest assignment section), and on
// the sample among 100,000 other files with its 30 pictures and sounds missing (each
// missing name looked up in the folder); and the check alone in this process.
// Usage: machinecheck_bench MACHINECHECK [OUTDIR]   (OUTDIR keeps the two folders)

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "benchutil.h"
#include "checker.h"
#include "orfformat.h"
#include "writemachine.h"

namespace {

constexpr int Rounds = 15;
constexpr int CrowdedRounds = 5;
constexpr int OtherFiles = 100000;

bool measure(const QString& program, const QString& folder, const char* label, int rounds = Rounds,
             int status = 0) {
    std::vector<double> process, inside;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        QProcess p;
        p.start(program, {QStringLiteral("check"), folder});
        if (!p.waitForFinished(600000) || p.exitCode() != status) {
            std::fprintf(stderr, "machinecheck failed on %s: %s%s\n", qPrintable(folder),
                         p.readAllStandardOutput().constData(),
                         p.readAllStandardError().constData());
            return false;
        }
        process.push_back(double(timer.nsecsElapsed()) / 1e6);

        timer.restart();
        check::Findings findings;
        check::checkFolder(folder, findings, nullptr);
        inside.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("%-34s %10.1f %10.1f\n", label, median(process), median(inside));
    return true;
}

// The sample with four more sounds registered, every picture and sound removed, and
// OtherFiles empty files beside it.
bool writeCrowded(const QString& folder, QString* error) {
    if (!sample::writeMachine(folder, sample::Variant::Sample, error)) return false;
    QDir dir(folder);
    const QString orfPath = dir.filePath(QStringLiteral("machine.orf"));
    MachineSpec machine;
    if (!orf::readFile(orfPath, machine, nullptr, error)) return false;
    for (int n = 3; n <= 6; ++n) machine.sound.files[n] = QStringLiteral("lost%1.wav").arg(n);
    if (!orf::writeFile(orfPath, machine, error)) return false;
    for (const QString& name :
         dir.entryList({QStringLiteral("*.bmp"), QStringLiteral("*.wav"), QStringLiteral("*.mid")}))
        dir.remove(name);
    for (int i = 0; i < OtherFiles; ++i) {
        const QByteArray name =
            QFile::encodeName(dir.filePath(QStringLiteral("other%1.dat").arg(i)));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (error) *error = QStringLiteral("cannot make %1").arg(QFile::decodeName(name));
            return false;
        }
        ::close(fd);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "Usage: machinecheck_bench MACHINECHECK [OUTDIR]\n");
        return 2;
    }
    const QString program = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir temp;
    const QString root = benchFolder(argc - 1, argv + 1, temp);
    if (root.isEmpty()) return 1;
    const QString sampleFolder = QDir(root).filePath(QStringLiteral("sample"));
    const QString largeFolder = QDir(root).filePath(QStringLiteral("large"));
    const QString crowdedFolder = QDir(root).filePath(QStringLiteral("crowded"));
    QString error;
    if (!sample::writeMachine(sampleFolder, sample::Variant::Sample, &error) ||
        !sample::writeMachine(largeFolder, sample::Variant::Large, &error) ||
        !writeCrowded(crowdedFolder, &error)) {
        std::fprintf(stderr, "cannot write the machines: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("median of %d rounds (%d in the crowded folder), milliseconds\n", Rounds,
                CrowdedRounds);
    std::printf("%-34s %10s %10s\n", "folder", "process", "check");
    bool ok = measure(program, sampleFolder, "sample (LastPrizeIndex 6)");
    ok = measure(program, largeFolder, "large (LastPrizeIndex 19, varied)") && ok;
    // Every missing name is an error: the checker ends with status 1.
    ok = measure(program, crowdedFolder, "100,000 files, 30 names missing", CrowdedRounds, 1) && ok;
    return ok ? 0 : 1;
}
