#pragma once

#include <cstddef>
#include <cstdint>

namespace lzh {

// The CRC-16 that LZH archives keep for each member and for level 2 headers
// (polynomial 0x8005 bit-reversed as 0xA001, starting at 0).
std::uint16_t crc16(const void* data, std::size_t size, std::uint16_t crc = 0);

}  // namespace lzh
