#include "reeldatasummary.h"

#include "savefile.h"
#include "textfile.h"

bool readReelDataSummary(const QByteArray& bytes, ReelDataSummary& out, QString* error) {
    FieldReader r(bytes);
    auto fail = [&](const QString& why) {
        if (error) *error = why.isEmpty() ? r.errorString() : why;
        return false;
    };
    ReelDataSummary s;
    QString first;
    if (!r.readText(first)) return fail({});
    // A version line comes before the "# pics size" header; a file without it starts there.
    if (!first.startsWith(u'#') && !r.skip()) return fail({});
    std::int16_t ignored = 0;
    if (!r.readInt16(ignored) || !r.readInt16(ignored) || !r.skip()) return fail({});
    for (QString& lit : s.litNames) {
        if (!r.readText(lit)) return fail({});
        for (int i = 0; i < 3; ++i)
            if (!r.skip()) return fail({});
    }
    if (!r.skip()) return fail({});
    for (int p = reel::PositionCount - 1; p >= 0; --p) {
        for (int reelIndex = 0; reelIndex < reel::ReelCount; ++reelIndex) {
            std::int16_t written = 0;
            if (!r.readInt16(written)) return fail({});
            if (written < 1 || written > reel::SymbolCount)
                return fail(QStringLiteral("%1 行目: リール配列に 1 から 7 以外の図柄番号 %2 があります。")
                                .arg(r.line())
                                .arg(written));
            s.arrangement[reel::cellOf(reelIndex, p)] = static_cast<reel::SymbolIndex>(written - 1);
        }
    }
    if (!r.atEnd()) {
        std::int16_t last = 0;
        if (!r.skip() || !r.readInt16(last) || !r.skip()) return fail({});
        if (last < 0 || last > reel::MaxPrizeIndex)
            return fail(QStringLiteral("役の数 %1 が 0 から 100 の範囲を超えています。").arg(last));
        s.hasPrizes = true;
        s.lastPrizeIndex = last;
        s.prizes.resize(static_cast<size_t>(last) + 1);
        for (reel::PrizeEntry& entry : s.prizes) {
            for (auto* group : {&entry.symbols, &entry.pays, &entry.kinds})
                for (std::int16_t& v : *group)
                    if (!r.readInt16(v)) return fail({});
        }
    }
    out = std::move(s);
    return true;
}

bool readReelDataSummaryFile(const QString& path, ReelDataSummary& out, QString* error) {
    QByteArray bytes;
    if (!readWholeFile(path, bytes, error, 64LL * 1024 * 1024)) return false;
    return readReelDataSummary(bytes, out, error);
}
