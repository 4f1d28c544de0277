// Speed, memory and size of the machine sheet: the whole `machinecheck sheet` process on the
// sample and on the large varied machine of twenty prizes (every stop table drawn, every
// base table listed), the largest process's peak memory, and the check and the page alone
// in this process.
// Usage: sheet_bench MACHINECHECK [OUTDIR]   (OUTDIR keeps the two folders and their sheets)

#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "benchutil.h"
#include "sheet.h"
#include "writemachine.h"

namespace {

constexpr int Rounds = 9;

bool measure(const QString& program, const QString& folder, const char* label) {
    const QString page = QDir(folder).filePath(QStringLiteral("sheet.html"));
    std::vector<double> process, checking, writing;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        QProcess p;
        p.start(program, {QStringLiteral("sheet"), folder, QStringLiteral("-o"), page});
        if (!p.waitForFinished(600000) || p.exitCode() != 0) {
            std::fprintf(stderr, "machinecheck sheet failed on %s: %s\n", qPrintable(folder),
                         p.readAllStandardError().constData());
            return false;
        }
        process.push_back(double(timer.nsecsElapsed()) / 1e6);

        timer.restart();
        check::Findings findings;
        check::MachineContents contents;
        check::checkMachine(folder, QStringLiteral("machine.orf"), findings, contents, nullptr);
        checking.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        const QByteArray html = check::machineSheet(contents, findings.sorted());
        writing.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("%-36s %9.1f %9.1f %9.1f %10.2f\n", label, median(process), median(checking),
                median(writing), double(QFileInfo(page).size()) / (1024.0 * 1024.0));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "Usage: sheet_bench MACHINECHECK [OUTDIR]\n");
        return 2;
    }
    const QString program = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir temp;
    const QString root = benchFolder(argc - 1, argv + 1, temp);
    if (root.isEmpty()) return 1;
    const QString sampleFolder = QDir(root).filePath(QStringLiteral("sample"));
    const QString largeFolder = QDir(root).filePath(QStringLiteral("large"));
    QString error;
    if (!sample::writeMachine(sampleFolder, sample::Variant::Sample, &error) ||
        !sample::writeMachine(largeFolder, sample::Variant::Large, &error)) {
        std::fprintf(stderr, "cannot write the machines: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("median of %d rounds, milliseconds; the sheet's size in MB\n", Rounds);
    std::printf("%-36s %9s %9s %9s %10s\n", "machine", "process", "check", "page", "size");
    bool ok = measure(program, sampleFolder, "sample (LastPrizeIndex 6)");
    ok = measure(program, largeFolder, "large (LastPrizeIndex 19, varied)") && ok;
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    std::printf("peak memory of the largest sheet process: %.1f MB\n",
                double(usage.ru_maxrss) / 1024.0);
    return ok ? 0 : 1;
}
