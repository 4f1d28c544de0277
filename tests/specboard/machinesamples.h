#pragma once

#include <QRandomGenerator>
#include <QStringList>

#include "machinespec.h"
#include "orfformat.h"
#include "reeldatadocument.h"
#include "sdfformat.h"

// Machines for the file tests: the one data/make_sample.py writes, and seeded random ones.
namespace samples {

// The values data/sample.orf holds, by the same formulas as data/make_sample.py.
inline MachineSpec sampleMachine() {
    MachineSpec m;
    m.reelFileName = QStringLiteral("machine.sdf");
    m.controlFileName = QStringLiteral("machine.rcf");
    m.bodyFileName = QStringLiteral("machine.ppf");
    m.machineName = QStringLiteral("テスト機");
    m.makerName = QStringLiteral("作者");
    m.explanation = QStringLiteral("一行目\r\n\r\n三行目です ");
    for (int s = 1; s <= 6; ++s) m.gensan[s] = static_cast<std::int16_t>(10 * s - 35);
    for (int f = 0; f < 21; ++f)
        for (int s = 0; s < 7; ++s)
            for (int b = 0; b < 3; ++b)
                for (int st = 0; st < 4; ++st)
                    m.flagProb[f][s][b][st] = (f * 7 + s * 3 + b * 5 + st * 11) * 997 - 40000;
    m.counterReset = 1;
    m.hasCT = 1;
    for (int i = 0; i < 5; ++i) m.ctEntryPct[i] = static_cast<std::int16_t>(10 * i + 5);
    m.setCTEndConText(0, QStringLiteral("120"));
    m.setCTEndConText(1, QString());
    for (int big = 0; big < 5; ++big)
        for (int r = 0; r < 5; ++r) m.superBigPct[big][r] = static_cast<std::int16_t>(big * 5 + r);
    const QStringList ends{"30", "3", "", "8"};
    for (int i = 0; i < 4; ++i) m.setBonusEndText(i, ends[i]);
    for (int bet = 0; bet < 3; ++bet)
        for (int line = 0; line < 5; ++line) {
            for (int c = 0; c < 15; ++c)
                m.lineCell[bet][line][c] = (bet + line + c) % 3 == 0 ? 1 : 0;
            m.lineArea[bet][line] = static_cast<std::int16_t>((bet * 5 + line) % 6);
        }
    sound::SoundTables& t = m.sound;
    for (int n = 1; n <= 128; ++n)
        t.files[n] = n == 7       ? QStringLiteral("効果音.mid")
                     : n % 3 == 0 ? QString()
                                  : QStringLiteral("se%1.wav").arg(n, 3, 10, QLatin1Char('0'));
    for (int g = 0; g < 2; ++g)
        for (int st = 0; st < 2; ++st)
            for (int c = 0; c < 6; ++c)
                t.bonusCandidates[g][st][c] = {1000 * g + 100 * st + c * 7 - 50,
                                               (g * 12 + st * 6 + c) % 129};
    t.normalSound = {100, 101, 102};
    for (int b = 1; b <= 5; ++b) t.bigFirstPlaySound[b] = static_cast<std::int16_t>(20 + b);
    for (int f = 0; f < 21; ++f)
        for (int c = 0; c < 6; ++c) t.flagCandidates[f][c] = {f * 300 + c, (f + c) % 129};
    for (int r = 0; r < 3; ++r)
        for (int st = 0; st < 2; ++st)
            for (int c = 0; c < 6; ++c) {
                t.stopBonusCandidates[r][st][c] = {r * 1000 + st * 100 + c, 30 + r + st + c};
                t.stopBonusAfterFirstTwo[r][st][c] = static_cast<std::int16_t>((r + st + c) % 2);
            }
    for (int r = 0; r < 3; ++r)
        for (int f = 0; f < 20; ++f)
            for (int c = 0; c < 6; ++c)
                t.stopFlagCandidates[r][f][c] = {r * 10000 + f * 100 + c - 1, (r * 7 + f + c) % 129,
                                                 (r + f + c) % 2};
    for (int f = 0; f <= 4; ++f)
        for (int st = 0; st < 3; ++st)
            for (int timing = 0; timing < 2; ++timing)
                t.paySound[f][st][timing] =
                    static_cast<std::int16_t>((f * 6 + st * 2 + timing) % 129);
    t.paySoundFirst = 1;
    for (int i = 0; i < 8; ++i) t.bgmSound[i] = static_cast<std::int16_t>(120 + i);

    m.reelData.flagCount = 4;
    for (int e = 0; e <= 4; ++e) {
        reel::PrizeEntry& p = m.reelData.flagPrize[e];
        p.symbols = {static_cast<std::int16_t>(e % 7),
                     static_cast<std::int16_t>(e == 2 ? 100 : (e + 1) % 7),
                     static_cast<std::int16_t>((e + 2) % 7)};
        p.pays = {static_cast<std::int16_t>(e), static_cast<std::int16_t>(e + 1),
                  static_cast<std::int16_t>(e + 2)};
        p.kinds = {static_cast<std::int16_t>(e % 8), 0, 7};
    }
    return m;
}

class Random {
public:
    explicit Random(quint32 seed) : rng_(seed) {}
    int between(int low, int high) { return rng_.bounded(low, high + 1); }
    std::int16_t int16() { return static_cast<std::int16_t>(between(-32768, 32767)); }
    std::int32_t int32() { return static_cast<std::int32_t>(rng_.generate()); }
    // A text that the file keeps as it is: no comma, quote or leading blank.
    QString text(int maxLength) {
        static const QString letters = QStringLiteral("abcXYZ0189_-.()あいうアイウ機種名 ");
        QString s;
        const int length = between(0, maxLength);
        for (int i = 0; i < length; ++i)
            s += letters[between(0, static_cast<int>(letters.size()) - 2 + (i > 0))];
        return s;
    }

private:
    QRandomGenerator rng_;
};

// A machine with random values in every slot the file stores. flagCount -1: no reel data
// file named; otherwise *sdf receives a reel data file with that last prize index.
inline MachineSpec randomMachine(quint32 seed, int flagCount, QByteArray* sdf) {
    Random r(seed);
    MachineSpec m;
    m.controlFileName = r.text(12);
    m.bodyFileName = r.text(12);
    m.machineName = r.text(20);
    m.makerName = r.text(20);
    QStringList lines;
    for (int i = r.between(1, 6); i > 0; --i) lines << r.text(30);
    m.explanation = lines.join(QStringLiteral("\r\n"));
    for (int s = 1; s <= 6; ++s) m.gensan[s] = r.int16();
    for (auto& setting : m.flagProb)
        for (auto& bet : setting)
            for (int b = 0; b < 3; ++b)
                for (int st = 0; st < 4; ++st) bet[b][st] = r.int32();
    m.counterReset = static_cast<std::int16_t>(r.between(0, 1));
    m.threeBetOnly = static_cast<std::int16_t>(r.between(0, 1));
    m.hasCT = static_cast<std::int16_t>(r.between(0, 1));
    for (int i = 0; i < 5; ++i) m.ctEntryPct[i] = r.int16();
    auto boxText = [&](int limit) {
        return r.between(0, 4) == 0 ? QString() : QString::number(r.between(0, limit));
    };
    for (int i = 0; i < 2; ++i) m.setCTEndConText(i, boxText(9999));
    for (int i = 0; i < 4; ++i) m.setBonusEndText(i, boxText(i % 2 ? 9 : 99));
    for (int big = 0; big < 5; ++big)
        for (int res = 0; res < 5; ++res) m.superBigPct[big][res] = r.int16();
    for (int bet = 0; bet < 3; ++bet)
        for (int line = 0; line < 5; ++line) {
            for (int c = 0; c < 15; ++c) m.lineCell[bet][line][c] = r.int16();
            m.lineArea[bet][line] = r.int16();
        }
    sound::SoundTables& t = m.sound;
    for (int n = 1; n <= 128; ++n) t.files[n] = r.between(0, 3) ? r.text(16) : QString();
    for (std::int16_t& v : t.normalSound) v = r.int16();
    for (auto& group : t.bonusCandidates)
        for (int st = 0; st < 2; ++st)
            for (int c = 0; c < 6; ++c) group[st][c] = {r.int32(), r.int32()};
    for (int b = 1; b <= 5; ++b) t.bigFirstPlaySound[b] = r.int16();
    for (auto& flag : t.flagCandidates)
        for (int c = 0; c < 6; ++c) flag[c] = {r.int32(), r.int32()};
    for (int reelIndex = 0; reelIndex < 3; ++reelIndex) {
        for (int st = 0; st < 2; ++st)
            for (int c = 0; c < 6; ++c) {
                t.stopBonusCandidates[reelIndex][st][c] = {r.int32(), r.int32()};
                t.stopBonusAfterFirstTwo[reelIndex][st][c] = r.int16();
            }
        for (int f = 0; f < 20; ++f)
            for (int c = 0; c < 6; ++c)
                t.stopFlagCandidates[reelIndex][f][c] = {r.int32(), r.int32(), r.int32()};
    }
    for (int f = 0; f <= std::max(flagCount, 0); ++f)
        for (int st = 0; st < 3; ++st)
            for (int timing = 0; timing < 2; ++timing) t.paySound[f][st][timing] = r.int16();
    t.paySoundFirst = static_cast<std::int16_t>(r.between(0, 1));
    for (int i = 0; i < 8; ++i) t.bgmSound[i] = r.int16();

    if (flagCount >= 0) {
        ReelDataDocument reels;
        reels.lastPrizeIndex = static_cast<std::int16_t>(flagCount);
        for (int e = 0; e <= flagCount; ++e) {
            reel::PrizeEntry& p = reels.prizes[e];
            for (std::int16_t& s : p.symbols)
                s = static_cast<std::int16_t>(r.between(0, 7) == 7 ? 100 : r.between(0, 6));
            for (std::int16_t& v : p.pays) v = static_cast<std::int16_t>(r.between(0, 15));
            for (std::int16_t& v : p.kinds) v = static_cast<std::int16_t>(r.between(0, 7));
            m.reelData.flagPrize[e] = p;
        }
        m.reelFileName = QStringLiteral("reels.sdf");
        m.reelData.flagCount = static_cast<std::int16_t>(flagCount);
        if (sdf) *sdf = sdf::write(reels);
    }
    return m;
}

// A reel data file with the given last prize index and no pictures.
inline QByteArray reelFile(int lastPrizeIndex, QStringList litNames = {}) {
    ReelDataDocument reels;
    reels.lastPrizeIndex = static_cast<std::int16_t>(lastPrizeIndex);
    for (int s = 0; s < litNames.size() && s < reel::SymbolCount; ++s)
        reels.symbols[s].names[0] = litNames[s];
    return sdf::write(reels);
}

// Where two machines first differ: the first line of the file that differs, or the part
// the file does not hold.
inline QString difference(const MachineSpec& a, const MachineSpec& b) {
    const QList<QByteArray> x = orf::write(a).split('\n'), y = orf::write(b).split('\n');
    for (qsizetype i = 0; i < std::min(x.size(), y.size()); ++i)
        if (x[i] != y[i])
            return QStringLiteral("line %1: [%2] vs [%3]")
                .arg(i + 1)
                .arg(QString::fromLatin1(x[i]), QString::fromLatin1(y[i]));
    if (x.size() != y.size()) return QStringLiteral("%1 vs %2 lines").arg(x.size()).arg(y.size());
    if (!(a.reelData == b.reelData)) return QStringLiteral("reel data");
    return QStringLiteral("slots the file does not hold");
}

}  // namespace samples
