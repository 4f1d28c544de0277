#include "crc16.h"

#include <array>
#include <cstring>

namespace lzh {
namespace {

// Eight tables let the loop take eight bytes per step; a 2 MB reel control text is
// checked on every save and load.
struct Tables {
    std::array<std::array<std::uint16_t, 256>, 8> t{};
    constexpr Tables() {
        for (unsigned i = 0; i < 256; ++i) {
            unsigned r = i;
            for (int k = 0; k < 8; ++k) r = (r & 1) ? (r >> 1) ^ 0xA001u : r >> 1;
            t[0][i] = static_cast<std::uint16_t>(r);
        }
        for (unsigned i = 0; i < 256; ++i) {
            for (int s = 1; s < 8; ++s) {
                const unsigned prev = t[s - 1][i];
                t[s][i] = static_cast<std::uint16_t>((prev >> 8) ^ t[0][prev & 0xFF]);
            }
        }
    }
};

constexpr Tables kTables;

}  // namespace

std::uint16_t crc16(const void* data, std::size_t size, std::uint16_t crc) {
    const auto* p = static_cast<const unsigned char*>(data);
    const auto& t = kTables.t;
    unsigned c = crc;
    while (size >= 8) {
        const unsigned a = (p[0] | (unsigned(p[1]) << 8)) ^ c;
        c = t[7][a & 0xFF] ^ t[6][a >> 8] ^ t[5][p[2]] ^ t[4][p[3]] ^ t[3][p[4]] ^ t[2][p[5]] ^
            t[1][p[6]] ^ t[0][p[7]];
        p += 8;
        size -= 8;
    }
    while (size--) c = (c >> 8) ^ t[0][(c ^ *p++) & 0xFF];
    return static_cast<std::uint16_t>(c);
}

}  // namespace lzh
