#pragma once

// Small pieces every benchmark uses: the median of its rounds and the folder it writes to.

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <vector>

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
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
