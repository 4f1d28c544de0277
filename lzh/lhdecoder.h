#pragma once

#include <cstddef>
#include <cstdint>

// A fast decoder of the -lh5-, -lh6- and -lh7- methods for the streams that LZH
// archivers write: complete Huffman codes of at most 16 bits and table sizes within the
// method's ranges. Anything else (an unusual table, a stream that ends early) is left to
// liblhasa, so every archive reads exactly as liblhasa reads it.
namespace lzh {

// The dictionary bits of a method (13 for "-lh5-", 15 for "-lh6-", 16 for "-lh7-"), or 0.
int dictionaryBits(const char* method);

// Decodes `size` bytes from packed[0, packedSize) into out. False when the stream is not
// one this decoder takes; out then holds anything.
bool decodeLh(int dicBits, const std::uint8_t* packed, std::size_t packedSize, std::uint8_t* out,
              std::size_t size);

}  // namespace lzh
