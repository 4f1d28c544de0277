#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The -lh5- compressor: LZSS over an 8 KiB window with matches of 3 to 256 bytes,
// coded in blocks of static Huffman codes (the literal/length table "c", the table "t"
// that codes the lengths of "c", and the position table "p").
namespace lzh {

// Compresses size bytes into out. Returns false, with out unspecified, as soon as the
// result cannot come out smaller than the input: such a member is better stored.
// Large inputs are compressed on two threads unless `threads` is 1; the bytes are the
// same either way.
bool compressLh5(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out,
                 int threads = 2);

}  // namespace lzh
