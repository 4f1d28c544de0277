// Speed and size of the .rcf reel control file: save (text, packing, file) and load
// (file, unpacking, text) of full documents, beside gzip -6 and gzip -9 of the same text
// (zlib at those levels with the gzip wrapper, in this process).
// Usage: rcf_bench [OUTDIR]   (OUTDIR keeps the archives written)

#include <zlib.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
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

// gzip of the text at a level, and back.
QByteArray gzip(const QByteArray& text, int level) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) return {};
    QByteArray out(qsizetype(deflateBound(&z, uLong(text.size()))), Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.constData()));
    z.avail_in = uInt(text.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int status = deflate(&z, Z_FINISH);
    out.truncate(qsizetype(z.total_out));
    deflateEnd(&z);
    return status == Z_STREAM_END ? out : QByteArray();
}
QByteArray gunzip(const QByteArray& packed, qsizetype size) {
    z_stream z{};
    if (inflateInit2(&z, 15 + 16) != Z_OK) return {};
    QByteArray out(size, Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    z.avail_in = uInt(packed.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int status = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    return status == Z_STREAM_END ? out : QByteArray();
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

    // gzip as a save would use it: the text made, packed and written; and read back.
    double gzSave[2], gzLoad[2];
    qsizetype gzSize[2];
    for (int k = 0; k < 2; ++k) {
        QByteArray packed;
        const int level = k == 0 ? 6 : 9;
        const QString gzPath = path + QStringLiteral(".gz");
        gzSave[k] = medianMs([&] {
            packed = gzip(rcf::writeText(doc), level);
            saveFileAtomically(gzPath, packed);
        });
        gzLoad[k] = medianMs([&] {
            QByteArray bytes;
            readWholeFile(gzPath, bytes);
            rcf::readText(gunzip(bytes, text.size()), read, nullptr, nullptr);
        });
        gzSize[k] = packed.size();
    }

    std::printf(
        "%-3d %-7s %9lld | %7.2f %7.2f %8lld | %7.2f %7.2f %8lld | %7.2f %7.2f %8lld | %6.2f "
        "%6.2f %6.2f %6.2f %6.2f\n",
        last, varied ? "varied" : "start", static_cast<long long>(text.size()), saveMs, loadMs,
        static_cast<long long>(archive.size()), gzSave[0], gzLoad[0],
        static_cast<long long>(gzSize[0]), gzSave[1], gzLoad[1], static_cast<long long>(gzSize[1]),
        textMs, packMs, fileMs, unpackMs, parseMs);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const BenchSetup bench(argc, argv);
    std::printf(
        "median of %d rounds; save = text + packing + file, load = file + unpacking + text\n",
        Rounds);
    std::printf("%-21s | %-24s | %-24s | %-24s | ours: where the time goes\n", "", "ours (.rcf)",
                "gzip -6", "gzip -9");
    std::printf("%-3s %-7s %9s | %7s %7s %8s | %7s %7s %8s | %7s %7s %8s | %6s %6s %6s %6s %6s\n",
                "L", "values", "text", "save ms", "load ms", "bytes", "save ms", "load ms", "bytes",
                "save ms", "load ms", "bytes", "text", "pack", "file", "unpack", "read");
    bool ok = true;
    for (int last : {0, 19})
        for (bool varied : {false, true}) ok = run(last, varied, bench.folder) && ok;
    return ok ? 0 : 1;
}
