#include "reelfilehead.h"

#include "textfile.h"

namespace {

// The number at the start of a text, as the version line is taken; 0 when there is none.
int leadingNumber(const QString& text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        if (value < 1'000'000'000) value = value * 10 + (text[i].unicode() - u'0');
    return static_cast<int>(negative ? -value : value);
}

}  // namespace

bool readReelFileHead(FieldReader& r, ReelFileHead& head, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why.isEmpty() ? r.errorString()
                                   : QStringLiteral("%1 行目: %2").arg(r.line()).arg(why);
        return false;
    };
    ReelFileHead h;
    QString first;
    if (!r.readText(first)) return fail({});
    if (first.startsWith(u'#')) {
        h.formatVersion = 100;  // no version line: this was the "# pics size" header
    } else {
        h.formatVersion = leadingNumber(first);
        // A version of 100 means the old layout, which has no header to skip here.
        if (h.formatVersion != 100 && !r.skip()) return fail({});
    }
    if (!r.readInt16(h.pictureWidth) || !r.readInt16(h.pictureHeight) || !r.skip()) return fail({});
    for (auto& symbol : h.names)
        for (QString& name : symbol) {
            if (!r.readText(name)) return fail({});
            if (name.contains(u'"') || name.contains(u'\r') || name.contains(u'\n'))
                return fail(QStringLiteral("画像ファイル名に使えない文字があります。"));
        }

    if (!r.skip()) return fail({});
    for (int p = reel::PositionCount - 1; p >= 0; --p)
        for (int reelIndex = 0; reelIndex < reel::ReelCount; ++reelIndex) {
            std::int16_t written = 0;
            if (!r.readInt16(written)) return fail({});
            if (written < 1 || written > reel::SymbolCount)
                return fail(QStringLiteral("リール配列に 1 から 7 以外の図柄番号 %1 があります。")
                                .arg(written));
            h.arrangement[reel::cellOf(reelIndex, p)] = static_cast<reel::SymbolIndex>(written - 1);
        }

    if (!r.atEnd()) {  // the prize section is optional
        if (!r.skip() || !r.readInt16(h.lastPrizeIndex)) return fail({});
        if (h.lastPrizeIndex < 0 || h.lastPrizeIndex > reel::MaxPrizeIndex)
            return fail(QStringLiteral("役の数 %1 が 0 から 100 の範囲を超えています。")
                            .arg(h.lastPrizeIndex));
        if (!r.skip()) return fail({});
        h.hasPrizes = true;
        h.prizes.resize(static_cast<std::size_t>(h.lastPrizeIndex) + 1);
        for (reel::PrizeEntry& entry : h.prizes)
            for (auto* group : {&entry.symbols, &entry.pays, &entry.kinds})
                for (std::int16_t& v : *group)
                    if (!r.readInt16(v)) return fail({});
    }
    head = std::move(h);
    return true;
}
