// Writes and reads a full picture position file with its nine pictures and prints the
// median times. Usage: ppf_bench [OUTDIR]  (the files stay in OUTDIR when given).

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "benchutil.h"
#include "ppfformat.h"

namespace {

constexpr int Runs = 31;

// Cabinet pictures the size a real cabinet scan has, numeral strips for the displays.
QImage makePicture(int slot) {
    const bool numerals = slot >= 5;
    QImage image(numerals ? 220 : 640 + slot * 40, numerals ? 32 : 900, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(slot * 40, 160, 200));
    QPainter painter(&image);
    painter.setPen(Qt::black);
    for (int x = 0; x < image.width(); x += 17)
        painter.drawLine(x, 0, image.width() - x, image.height() - 1);
    return image;
}

PositionDocument makeDocument() {
    PositionDocument doc;
    for (int s = 0; s < pos::SlotCount; ++s)
        doc.pictureSlots[s].fileName =
            s < 5 ? QStringLiteral("筐体画像%1.%2").arg(s + 1).arg(s % 2 ? "jpg" : "bmp")
                  : QStringLiteral("数値%1.bmp").arg(s - 4);
    for (int e = 0; e < pos::EntryCount; ++e) {
        PlacementEntry& entry = doc.entries[e];
        entry.left = std::int16_t(e * 17 - 40);
        entry.top = std::int16_t(e * 23 % 700);
        entry.right = std::int16_t(entry.left + 10 + e * 3);
        entry.bottom = std::int16_t(entry.top + 8 + e * 2);
        entry.value =
            e < pos::CorrectionEntryCount ? QString::number(e * 7 - 12) : QString::number(e % 9);
    }
    return doc;
}

}  // namespace

int main(int argc, char** argv) {
    const BenchSetup bench(argc, argv);
    const QDir dir(bench.folder);

    PositionDocument doc = makeDocument();
    for (int s = 0; s < pos::SlotCount; ++s) {
        const QString path = dir.filePath(doc.pictureSlots[s].fileName);
        if (!makePicture(s).save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }

    const QString path = dir.filePath(QStringLiteral("machine.ppf"));
    std::vector<double> writeMs, textMs, fileMs;
    QString error;
    QElapsedTimer timer;
    for (int run = 0; run < Runs; ++run) {
        timer.start();
        if (!ppf::writeFile(path, doc, &error)) {
            std::fprintf(stderr, "write failed: %s\n", qPrintable(error));
            return 1;
        }
        writeMs.push_back(timer.nsecsElapsed() / 1e6);

        const QByteArray bytes = ppf::write(doc);
        PositionDocument text;
        timer.start();
        if (!ppf::readText(bytes, text, nullptr, &error)) return 1;
        textMs.push_back(timer.nsecsElapsed() / 1e6);

        PositionDocument read;
        ppf::ReadReport report;
        timer.start();
        if (!ppf::readFile(path, read, &report, &error)) {
            std::fprintf(stderr, "read failed: %s\n", qPrintable(error));
            return 1;
        }
        fileMs.push_back(timer.nsecsElapsed() / 1e6);
        if (!read.sameData(doc) || !report.skippedPictures.isEmpty()) {
            std::fprintf(stderr, "read back differs\n");
            return 1;
        }
    }

    std::printf("ppf_bench: %d runs, %lld bytes, 9 pictures\n", Runs,
                static_cast<long long>(ppf::write(doc).size()));
    std::printf("  write file              median %.3f ms\n", median(writeMs));
    std::printf("  read text (no pictures) median %.3f ms\n", median(textMs));
    std::printf("  read file with pictures median %.3f ms\n", median(fileMs));
    if (argc > 1) std::printf("  files left in %s\n", qPrintable(bench.folder));
    return 0;
}
