// Any bytes as a reel data file: the read either succeeds or is refused, never more.
#include <cstddef>
#include <cstdint>

#include "reeldatadocument.h"
#include "sdfformat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ReelDataDocument* doc = new ReelDataDocument;
    ReelDataDocument copy = *doc;
    int version = 0;
    QString why;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (sdf::readText(bytes, copy, version, &why)) {
        // Whatever was read must write out and read back to the same text.
        const QByteArray once = sdf::write(copy);
        ReelDataDocument again = copy;
        if (!sdf::readText(once, again, version, &why) || sdf::write(again) != once)
            __builtin_trap();
    }
    return 0;
}
