// Speed and size of the .rcf reel control file: save (text, packing, file) and load
// (file, unpacking, text) of full documents, against gzip -9 of the same text.
// Usage: rcf_bench [OUTDIR]   (OUTDIR keeps the archives written)

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "archive.h"
#include "benchutil.h"
#include "rcfformat.h"
#include "savefile.h"

namespace {

constexpr int Rounds = 15;

double medianMs(const std::function<void()>& run) {
    std::vector<double> times;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

qint64 gzipSize(const QByteArray& text) {
    QProcess gzip;
    gzip.start(QStringLiteral("gzip"), {QStringLiteral("-9"), QStringLiteral("-c")});
    if (!gzip.waitForStarted()) return -1;
    gzip.write(text);
    gzip.closeWriteChannel();
    if (!gzip.waitForFinished(60000)) return -1;
    return gzip.readAllStandardOutput().size();
}

// Random stop indexes 0..4, random base tables, assignments drawn from a few hundred
// base tables, a comment on some stop tables.
void vary(ControlDocument& doc) {
    QRandomGenerator rng(20240601);
    const QString comments[] = {QStringLiteral("BB 中段揃い"), QStringLiteral("リプレイ外し"),
                                QStringLiteral("チェリー取りこぼし")};
    for (int t = 1; t <= control::StopTableCount; ++t) {
        if (rng.bounded(8) == 0) doc.setComment(t, comments[rng.bounded(3)]);
        for (std::int16_t& v : doc.stopTable(t)) v = std::int16_t(rng.bounded(5));
        for (int s = 0; s < control::SlotsPerBaseTable; ++s)
            doc.baseSlot(t, s) = {std::int16_t(rng.bounded(257)),
                                  std::int16_t(rng.bounded(1, 513))};
    }
    std::vector<std::int16_t> pool(300);
    for (std::int16_t& b : pool) b = std::int16_t(rng.bounded(1, 513));
    for (std::int16_t& v : doc.assignments()) v = pool[rng.bounded(int(pool.size()))];
}

bool run(int last, bool varied, const QString& folder) {
    ControlDocument doc;
    doc.setLastPrizeIndex(last);
    if (varied) vary(doc);
    const QString path = QDir(folder).filePath(
        QStringLiteral("rcf_L%1_%2.rcf")
            .arg(last)
            .arg(varied ? QStringLiteral("varied") : QStringLiteral("start")));

    QString error;
    bool ok = true;
    const double saveMs = medianMs([&] { ok = ok && rcf::writeFile(path, doc, &error); });
    ControlDocument read;
    read.setLastPrizeIndex(last);
    const double loadMs = medianMs([&] { ok = ok && rcf::readFile(path, read, nullptr, &error); });
    // Entries the layout does not carry keep the start values in `read`, so compare texts.
    if (!ok || rcf::writeText(read) != rcf::writeText(doc)) {
        std::fprintf(stderr, "round trip failed: %s\n", qPrintable(error));
        return false;
    }

    // Where the time goes.
    QByteArray text, archive, bytes;
    const double textMs = medianMs([&] { text = rcf::writeText(doc); });
    const double packMs = medianMs([&] {
        archive = lzh::writeArchive({{QStringLiteral("dummy.dat"), text}});
    });
    const double fileMs = medianMs([&] { saveFileAtomically(path, archive); });
    const double unpackMs = medianMs([&] {
        lzh::Archive a;
        a.openBytes(archive);
        bytes = a.read(QStringLiteral("dummy.dat")).value_or(QByteArray());
    });
    const double parseMs = medianMs([&] { rcf::readText(bytes, read, nullptr, nullptr); });

    std::printf(
        "%-3d %-7s %8lld %9lld | %7.2f %7.2f | %8lld %8lld | %6.2f %6.2f %6.2f | %6.2f %6.2f\n",
        last, varied ? "varied" : "start", static_cast<long long>(text.count('\n')),
        static_cast<long long>(text.size()), saveMs, loadMs, static_cast<long long>(archive.size()),
        static_cast<long long>(gzipSize(text)), textMs, packMs, fileMs, unpackMs, parseMs);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const BenchSetup bench(argc, argv);
    std::printf(
        "median of %d rounds; save = text + packing + file, load = file + unpacking + text\n",
        Rounds);
    std::printf("%-3s %-7s %8s %9s | %7s %7s | %8s %8s | %6s %6s %6s | %6s %6s\n", "L", "values",
                "lines", "text", "save ms", "load ms", "archive", "gzip -9", "text", "pack", "file",
                "unpack", "read");
    bool ok = true;
    for (int last : {0, 19})
        for (bool varied : {false, true}) ok = run(last, varied, bench.folder) && ok;
    return ok ? 0 : 1;
}
