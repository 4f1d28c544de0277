// Any bytes as a picture position file: a refused read changes nothing, an accepted one
// writes out and reads back to the same text whenever its names and values can be stored.
#include <cstddef>
#include <cstdint>

#include "positiondocument.h"
#include "ppfformat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static PositionDocument* earlier = [] {
        auto* doc = new PositionDocument;
        for (int s = 0; s < pos::SlotCount; ++s)
            doc->pictureSlots[s].fileName = QStringLiteral("p%1.gif").arg(s);
        for (int e = 0; e < pos::EntryCount; ++e)
            doc->entries[e] = {-1, -2, -3, std::int16_t(e), QStringLiteral("7")};
        return doc;
    }();
    PositionDocument doc = *earlier;
    QString why;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!ppf::readText(bytes, doc, nullptr, &why)) {
        if (!doc.sameData(*earlier) || why.isEmpty()) __builtin_trap();
        return 0;
    }
    for (int e = 3; e < pos::EntryCount; ++e)
        if (doc.entries[e].value.isEmpty()) __builtin_trap();
    for (const PlacementEntry& entry : doc.entries) (void)coordinateText(entry);
    if (!ppf::storeProblem(doc).isEmpty()) return 0;
    const QByteArray once = ppf::write(doc);
    PositionDocument again = *earlier;
    if (!ppf::readText(once, again, nullptr, &why) || !again.sameData(doc) ||
        ppf::write(again) != once)
        __builtin_trap();
    return 0;
}
