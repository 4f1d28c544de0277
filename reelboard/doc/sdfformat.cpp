#include "sdfformat.h"

#include <QFileInfo>

#include "filelookup.h"
#include "pictures.h"
#include "reelfilehead.h"
#include "savefile.h"
#include "sjis.h"
#include "textfile.h"

namespace sdf {

namespace {

constexpr int RowsPerFrame = 5;

}  // namespace

QByteArray write(const ReelDataDocument& doc) {
    TextWriter w;
    w.reserve(64 * 1024);
    w.rawLine("120");
    w.rawLine("# pics size");
    w.commaNumbers({doc.pictureWidth, doc.pictureHeight});
    w.rawLine("# pics name");
    for (const SymbolSlot& slot : doc.symbols)
        for (const QString& name : slot.names) w.commaLine({name});
    w.rawLine("# real arrangement");
    for (int p = reel::PositionCount - 1; p >= 0; --p)
        w.commaNumbers({doc.arrangement[reel::cellOf(0, p)] + 1,
                        doc.arrangement[reel::cellOf(1, p)] + 1,
                        doc.arrangement[reel::cellOf(2, p)] + 1});
    w.rawLine("# number of prize");
    w.commaNumbers({doc.lastPrizeIndex});
    w.rawLine("# prize composition");
    for (int e = 0; e <= doc.lastPrizeIndex && e < reel::PrizeSlotCount; ++e) {
        const reel::PrizeEntry& entry = doc.prizes[e];
        w.commaNumbers(entry.symbols);
        w.commaNumbers(entry.pays);
        w.commaNumbers(entry.kinds);
    }
    w.rawLine("# number of flash action");
    w.commaNumbers({doc.flashActionCount});
    w.rawLine("# flash action composition");
    for (int a = 1; a <= doc.flashActionCount && a <= MaxFlashAction; ++a) {
        for (int f = 1; f <= MaxFlashFrame; ++f) {
            const FlashFrame& frame = doc.frame(a, f);
            for (int row = 0; row < RowsPerFrame; ++row)
                w.commaNumbers({frame.lamps[row], frame.lamps[row + 5], frame.lamps[row + 10]});
            w.commaNumbers({frame.wait});
            if (frame.wait == 0) break;
        }
    }
    w.rawLine(" #end of file");
    return w.take();
}

bool readText(const QByteArray& bytes, ReelDataDocument& doc, int& formatVersion, QString* error) {
    FieldReader r(bytes);
    auto fail = [&](const QString& why) {
        if (error) *error = why.isEmpty() ? r.errorString() : why;
        return false;
    };
    auto failAt = [&](const QString& why) {
        return fail(QStringLiteral("%1 行目: %2").arg(r.line()).arg(why));
    };

    ReelFileHead head;
    if (!readReelFileHead(r, head, error)) return false;
    formatVersion = head.formatVersion;
    doc.pictureWidth = head.pictureWidth;
    doc.pictureHeight = head.pictureHeight;
    for (int symbol = 0; symbol < reel::SymbolCount; ++symbol)
        for (int k = 0; k < PictureStateCount; ++k)
            doc.symbols[symbol].names[k] = head.names[symbol][k];
    doc.arrangement = head.arrangement;
    // Prizes and flash actions are optional; what the file leaves out keeps its values.
    if (!head.hasPrizes) return true;
    doc.lastPrizeIndex = head.lastPrizeIndex;
    std::copy(head.prizes.begin(), head.prizes.end(), doc.prizes.begin());
    for (std::int16_t s : doc.prizes[0].symbols)
        if (!reel::isCombinationSymbol(s))
            return fail(QStringLiteral("最初の役の図柄 %1 が不正です。").arg(s));

    std::int16_t actionCount = 0;
    if (!r.skip() || !r.readInt16(actionCount)) return fail({});
    if (actionCount < 0 || actionCount > MaxFlashAction)
        return failAt(QStringLiteral("フラッシュの数 %1 が 0 から 99 の範囲を超えています。")
                          .arg(actionCount));
    doc.flashActionCount = actionCount;
    if (!r.skip()) return fail({});
    // Files without a version line hold three lamp rows per frame.
    const int rows = formatVersion == 100 ? 3 : 5;
    for (int a = 1; a <= actionCount; ++a) {
        for (int f = 1; f <= MaxFlashFrame; ++f) {
            FlashFrame& frame = doc.frame(a, f);
            for (int row = 0; row < rows; ++row)
                for (int reelIndex = 0; reelIndex < reel::ReelCount; ++reelIndex)
                    if (!r.readInt16(frame.lamps[row + reelIndex * rows])) return fail({});
            if (!r.readInt16(frame.wait)) return fail({});
            if (frame.wait == 0) break;
        }
    }
    return true;
}

bool loadPictures(ReelDataDocument& doc, const QString& folder, QString* error,
                  QStringList* pngNames) {
    // One loader for the whole file: a lit picture usually stands in all four states, and
    // however many names lead to one file it is decoded once. Every name may be a picture as
    // large as "Load" takes, so a file the window saved reads back.
    pictures::PictureLoader loader(
        pictures::SymbolPictureLimits,
        pictures::readBudget(pictures::SymbolPictureLimits, reel::SymbolCount * PictureStateCount));
    for (SymbolSlot& slot : doc.symbols) {
        for (int s = 0; s < PictureStateCount; ++s) {
            const QString& name = slot.names[s];
            if (name.isEmpty()) {
                slot.pictures[s] = QImage();
                continue;
            }
            if (!loader.loadFromFolder(folder, name, slot.pictures[s], error)) {
                // The file may make a name of any length; the message shows it cut.
                if (error) *error = sjis::cutTextIn(*error, name);
                return false;
            }
        }
    }
    if (pngNames) *pngNames = loader.pngNames();
    return true;
}

bool readFile(const QString& path, ReelDataDocument& doc, ReadReport* report, QString* error) {
    QByteArray bytes;
    if (!readWholeFile(path, bytes, error, 64LL * 1024 * 1024)) return false;
    ReelDataDocument copy = doc;
    int version = 0;
    if (!readText(bytes, copy, version, error)) return false;
    const QString folder = folderOfPath(QFileInfo(path).absoluteFilePath());
    QStringList png;
    if (!loadPictures(copy, folder, error, &png)) return false;
    doc = std::move(copy);
    if (report) *report = {version, png};
    return true;
}

bool writeFile(const QString& path, const ReelDataDocument& doc, QString* error) {
    return saveFileAtomically(path, write(doc), error);
}

}  // namespace sdf
