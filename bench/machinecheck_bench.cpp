// Speed of machinecheck: the whole process on the sample and on a machine with twenty
// prizes whose control file holds varied values (the longest assignment section), and
// the check alone in this process.
// Usage: machinecheck_bench MACHINECHECK [OUTDIR]   (OUTDIR keeps the two folders)

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "benchutil.h"
#include "checker.h"
#include "writemachine.h"

namespace {

constexpr int Rounds = 15;

bool measure(const QString& program, const QString& folder, const char* label) {
    std::vector<double> process, inside;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        QProcess p;
        p.start(program, {QStringLiteral("check"), folder});
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
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
    QString error;
    if (!sample::writeMachine(sampleFolder, sample::Variant::Sample, &error) ||
        !sample::writeMachine(largeFolder, sample::Variant::Large, &error)) {
        std::fprintf(stderr, "cannot write the machines: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("median of %d rounds, milliseconds\n", Rounds);
    std::printf("%-34s %10s %10s\n", "folder", "process", "check");
    bool ok = measure(program, sampleFolder, "sample (LastPrizeIndex 6)");
    ok = measure(program, largeFolder, "large (LastPrizeIndex 19, varied)") && ok;
    return ok ? 0 : 1;
}
