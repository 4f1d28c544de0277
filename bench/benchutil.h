#pragma once

// Small pieces every benchmark uses: the median of its rounds and the folder it writes to.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// The process's resident memory in kB (VmRSS), -1 where it cannot be read.
inline long residentMemoryKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// OUTDIR from the command line when given (the files then stay there), else the temporary
// folder. Empty when OUTDIR cannot be made.
inline QString benchFolder(int argc, char** argv, const QTemporaryDir& temp) {
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temp.path();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make the folder %s\n", qPrintable(folder));
        return {};
    }
    return folder;
}

// What every benchmark starts with: its application object and the folder it writes to. A
// benchmark whose OUTDIR cannot be made ends at once with status 1.
template <typename App = QCoreApplication>
struct BenchSetup {
    BenchSetup(int& argc, char** argv) : app(argc, argv), folder(benchFolder(argc, argv, temp)) {
        if (folder.isEmpty()) std::exit(1);
    }
    App app;
    QTemporaryDir temp;
    const QString folder;
};
