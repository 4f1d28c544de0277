// Saves and loads a full machine (21 flags, every table filled, 128 sound names) and
// prints the median milliseconds of each. orf_bench [OUTDIR] leaves the files in OUTDIR.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "benchutil.h"
#include "machinespec.h"
#include "orfformat.h"
#include "savefile.h"

namespace {

constexpr int Runs = 41;
constexpr int LastPrize = 20;

// A reel data file as the reel editor writes it, with 21 prize entries.
QByteArray reelDataFile() {
    QByteArray t = "120\r\n# pics size\r\n1080,540\r\n# pics name\r\n";
    for (int s = 0; s < 7; ++s) t += "\"\",\"\",\"\",\"\"\r\n";
    t += "# real arrangement\r\n";
    for (int p = 0; p < 21; ++p) t += QByteArray::number(p % 7 + 1) + ",2,3\r\n";
    t += "# number of prize\r\n" + QByteArray::number(LastPrize) + "\r\n# prize composition\r\n";
    for (int e = 0; e <= LastPrize; ++e)
        t += QByteArray::number(e % 7) + ",100," + QByteArray::number((e + 3) % 7) +
             "\r\n1,2,3\r\n0,0,7\r\n";
    t += "# number of flash action\r\n1\r\n# flash action composition\r\n";
    for (int row = 0; row < 5; ++row) t += "1,1,1\r\n";
    t += "0\r\n #end of file\r\n";
    return t;
}

MachineSpec fullMachine() {
    QRandomGenerator rng(20);
    auto n16 = [&] { return static_cast<std::int16_t>(rng.bounded(0, 257)); };
    auto n32 = [&] { return static_cast<std::int32_t>(rng.bounded(0, 65537)); };
    MachineSpec m;
    m.reelFileName = QStringLiteral("bench.sdf");
    m.controlFileName = QStringLiteral("bench.rcf");
    m.bodyFileName = QStringLiteral("bench.ppf");
    m.machineName = QStringLiteral("ベンチ機");
    m.makerName = QStringLiteral("作者");
    QStringList lines;
    for (int i = 0; i < 40; ++i)
        lines << QStringLiteral("説明の %1 行目です。BIG 確率 1/%2").arg(i + 1).arg(n32());
    m.explanation = lines.join(QStringLiteral("\r\n"));
    for (auto& g : m.gensan) g = n16();
    for (auto& flag : m.flagProb)
        for (auto& setting : flag)
            for (auto& bet : setting)
                for (auto& v : bet) v = n32();
    m.counterReset = m.hasCT = 1;
    for (auto& v : m.ctEntryPct) v = n16();
    m.setCTEndConText(0, QStringLiteral("300"));
    m.setCTEndConText(1, QStringLiteral("50"));
    for (auto& row : m.superBigPct)
        for (auto& v : row) v = static_cast<std::int16_t>(rng.bounded(0, 101));
    for (int i = 0; i < 4; ++i) m.setBonusEndText(i, QString::number(rng.bounded(0, 10)));
    for (auto& bet : m.lineCell)
        for (auto& line : bet)
            for (auto& cell : line) cell = static_cast<std::int16_t>(rng.bounded(0, 2));
    for (auto& bet : m.lineArea)
        for (auto& v : bet) v = static_cast<std::int16_t>(rng.bounded(0, 6));
    sound::SoundTables& t = m.sound;
    for (int i = 1; i <= sound::LastSoundNumber; ++i)
        t.files[i] = QStringLiteral("効果音%1.%2")
                         .arg(i, 3, 10, QLatin1Char('0'))
                         .arg(i % 2 ? "wav" : "mid");
    for (auto& v : t.normalSound) v = n16();
    for (auto& g : t.bonusCandidates)
        for (auto& st : g)
            for (auto& c : st) c = {n32(), n16()};
    for (auto& v : t.bigFirstPlaySound) v = n16();
    for (auto& f : t.flagCandidates)
        for (auto& c : f) c = {n32(), n16()};
    for (auto& r : t.stopBonusCandidates)
        for (auto& st : r)
            for (auto& c : st) c = {n32(), n16()};
    for (auto& r : t.stopBonusAfterFirstTwo)
        for (auto& st : r)
            for (auto& v : st) v = static_cast<std::int16_t>(rng.bounded(0, 2));
    for (auto& r : t.stopFlagCandidates)
        for (auto& f : r)
            for (auto& c : f) c = {n32(), n16(), static_cast<std::int32_t>(rng.bounded(0, 2))};
    for (auto& f : t.paySound)
        for (auto& st : f)
            for (auto& v : st) v = n16();
    t.paySoundFirst = 1;
    for (auto& v : t.bgmSound) v = n16();
    m.reelData.flagCount = LastPrize;
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    const BenchSetup bench(argc, argv);
    QString error;
    if (!saveFileAtomically(QDir(bench.folder).filePath("bench.sdf"), reelDataFile(), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QString path = QDir(bench.folder).filePath("bench.orf");
    MachineSpec machine = fullMachine();

    std::vector<double> texts, saves, loads;
    QElapsedTimer timer;
    for (int run = 0; run < Runs; ++run) {
        timer.start();
        const QByteArray text = orf::write(machine);
        texts.push_back(timer.nsecsElapsed() / 1e6);
        timer.start();
        if (!orf::writeFile(path, machine, &error)) {
            std::fprintf(stderr, "save: %s\n", qPrintable(error));
            return 1;
        }
        saves.push_back(timer.nsecsElapsed() / 1e6);

        MachineSpec read;
        orf::ReadReport report;
        timer.start();
        if (!orf::readFile(path, read, &report, &error)) {
            std::fprintf(stderr, "load: %s\n", qPrintable(error));
            return 1;
        }
        loads.push_back(timer.nsecsElapsed() / 1e6);
        if (orf::write(read) != orf::write(machine) || read.reelData.flagCount != LastPrize ||
            report.flagCountMismatch || !report.effectSectionRead) {
            std::fprintf(stderr, "load gave another machine than was saved\n");
            return 1;
        }
    }
    std::printf(".orf, 21 flags, every table filled, 128 sound names: %lld bytes\n",
                static_cast<long long>(QFileInfo(path).size()));
    std::printf("text alone:                  median %.3f ms over %d runs\n", median(texts), Runs);
    std::printf("save (text + file):          median %.3f ms over %d runs\n", median(saves), Runs);
    std::printf("load (file + .sdf + text):   median %.3f ms over %d runs\n", median(loads), Runs);
    if (argc > 1) std::printf("files left in %s\n", qPrintable(bench.folder));
    return 0;
}
