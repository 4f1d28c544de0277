// The archive reader on any bytes: open, list, read every member. The first byte also
// picks a second use: the rest of the input packed by our writer must come back whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    lzh::Archive archive;
    // Small bound: a crafted header must not make each run spend long on one member.
    archive.setMaxMemberSize(4 << 20);
    if (archive.openBytes(input)) {
        for (const QString& name : archive.memberNames()) (void)archive.read(name);
    }
    if (size > 1 && data[0] == 'W') {
        const QByteArray text = input.mid(1);
        lzh::Archive back;
        if (!back.openBytes(lzh::writeArchive({{QStringLiteral("dummy.dat"), text}}, qint64{0})))
            std::abort();
        const std::optional<QByteArray> read = back.read(QStringLiteral("dummy.dat"));
        if (!read || *read != text) std::abort();
    }
    return 0;
}
