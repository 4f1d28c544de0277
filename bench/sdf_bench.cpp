// Reads and writes a full-size reel data file (101 prize entries, 99 flash actions of 99
// frames) many times and prints the median milliseconds of one read and one write.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "benchutil.h"
#include "reeldatadocument.h"
#include "sdfformat.h"

namespace {

ReelDataDocument fullDocument() {
    ReelDataDocument doc;
    doc.lastPrizeIndex = 100;
    doc.flashActionCount = 99;
    for (int e = 0; e <= 100; ++e)
        doc.prizes[e] = {{static_cast<std::int16_t>(e % 7), 100, 3}, {15, 2, 1}, {7, 0, 6}};
    for (int a = 1; a <= 99; ++a)
        for (int f = 1; f <= 99; ++f) {
            FlashFrame& frame = doc.frame(a, f);
            for (int c = 0; c < CheckCellCount; ++c)
                frame.lamps[c] = static_cast<std::int16_t>((a + f + c) % 2);
            frame.wait = static_cast<std::int16_t>(10 + (a * f) % 500);
        }
    for (int c = 0; c < reel::CellCount; ++c) doc.arrangement[c] = static_cast<std::int16_t>(c % 7);
    return doc;
}

}  // namespace

int main(int argc, char** argv) {
    const BenchSetup bench(argc, argv);
    const QString path = QDir(bench.folder).filePath(QStringLiteral("full.sdf"));
    const ReelDataDocument doc = fullDocument();

    constexpr int Rounds = 41;
    std::vector<double> writes, reads, texts;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer t;
        t.start();
        QString why;
        if (!sdf::writeFile(path, doc, &why)) {
            std::fprintf(stderr, "write failed: %s\n", qPrintable(why));
            return 1;
        }
        writes.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        const QByteArray text = sdf::write(doc);
        texts.push_back(t.nsecsElapsed() / 1e6);
        ReelDataDocument back;
        sdf::ReadReport report;
        t.restart();
        if (!sdf::readFile(path, back, &report, &why)) {
            std::fprintf(stderr, "read failed: %s\n", qPrintable(why));
            return 1;
        }
        reads.push_back(t.nsecsElapsed() / 1e6);
        if (i == 0 && sdf::write(back) != sdf::write(doc)) {
            std::fprintf(stderr, "read back differs\n");
            return 1;
        }
    }
    std::printf("sdf full size: %lld bytes, %d rounds\n",
                static_cast<long long>(QFile(path).size()), Rounds);
    std::printf("read  median %.2f ms\n", median(reads));
    std::printf(
        "write median %.2f ms (of which the text alone %.2f ms; the rest is the safe\n"
        "  replace of the file, flushed to disk before the rename)\n",
        median(writes), median(texts));
    return 0;
}
