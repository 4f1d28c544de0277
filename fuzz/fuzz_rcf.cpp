// Any bytes as the text of a reel control file, read in the layout of reel data with one
// prize entry: a refused read leaves the document untouched, and what was read writes out
// and reads back to the same text.
#include <cstddef>
#include <cstdint>

#include "controldocument.h"
#include "rcfformat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ControlDocument* start = new ControlDocument;
    ControlDocument doc = *start;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    rcf::ReadReport report;
    QString why;
    if (!rcf::readText(bytes, doc, &report, &why)) {
        if (!(doc == *start) || why.isEmpty()) __builtin_trap();
        return 0;
    }
    if (report.assignmentLines < 0 ||
        (report.writtenLastPrizeIndex &&
         control::assignmentLineCount(*report.writtenLastPrizeIndex) != report.assignmentLines))
        __builtin_trap();

    const QByteArray once = rcf::writeText(doc);
    ControlDocument again = *start;
    if (!rcf::readText(once, again, nullptr, &why) || rcf::writeText(again) != once)
        __builtin_trap();
    return 0;
}
