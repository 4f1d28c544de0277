#include "reeldatasummary.h"

#include "reelfilehead.h"
#include "savefile.h"
#include "textfile.h"

bool readReelDataSummary(const QByteArray& bytes, ReelDataSummary& out, QString* error) {
    FieldReader r(bytes);
    ReelFileHead head;
    if (!readReelFileHead(r, head, error)) return false;
    ReelDataSummary s;
    for (int symbol = 0; symbol < reel::SymbolCount; ++symbol)
        s.litNames[symbol] = head.names[symbol][0];
    s.arrangement = head.arrangement;
    s.hasPrizes = head.hasPrizes;
    s.lastPrizeIndex = head.lastPrizeIndex;
    s.prizes = std::move(head.prizes);
    out = std::move(s);
    return true;
}

bool readReelDataSummaryFile(const QString& path, ReelDataSummary& out, QString* error) {
    QByteArray bytes;
    if (!readWholeFile(path, bytes, error, 64LL * 1024 * 1024)) return false;
    return readReelDataSummary(bytes, out, error);
}
