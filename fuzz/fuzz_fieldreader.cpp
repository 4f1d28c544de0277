// Any bytes through every kind of field read, in an order the bytes choose.
#include <cstddef>
#include <cstdint>

#include "textfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t plan = data[0];
    FieldReader r(
        QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1)));
    (void)r.remainingLines();
    for (int i = 0; i < 100000 && !r.atEnd(); ++i) {
        switch ((plan >> (i % 4 * 2)) & 3) {
            case 0:
                (void)r.text();
                break;
            case 1:
                (void)r.int16();
                break;
            case 2:
                (void)r.int32();
                break;
            default:
                (void)r.skip();
        }
        if (r.error() != FieldError::None) (void)r.errorString();
    }
    return 0;
}
