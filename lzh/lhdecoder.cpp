#include "lhdecoder.h"

#include <array>
#include <bit>
#include <cstring>

namespace lzh {
namespace {

constexpr int kMaxCodeLen = 16;
constexpr int kNC = 510;  // literals and match lengths 3 to 256
constexpr int kNT = 19;   // symbols that code the "c" lengths
constexpr int kMinMatch = 3;
constexpr int kMaxNP = 17;  // position symbols of -lh7-

// Bits most significant first, as the encoders write them. Past the end of the data
// zeros are read and counted, so a stream that ends early shows in overrun().
class BitReader {
public:
    BitReader(const std::uint8_t* data, std::size_t size)
        : p_(data), end_(data + size), available_(std::uint64_t(size) * 8) {
        refill();
    }
    // n <= 16
    std::uint32_t peek(int n) const { return n ? std::uint32_t(buf_ >> (64 - n)) : 0; }
    void skip(int n) {
        buf_ <<= n;
        count_ -= n;
        used_ += std::uint64_t(n);
        if (count_ < 32) refill();
    }
    std::uint32_t get(int n) {
        const std::uint32_t v = peek(n);
        skip(n);
        return v;
    }
    bool overrun() const { return used_ > available_; }

private:
    void refill() {
        if (end_ - p_ >= 8) {
            // The bytes beyond the whole ones taken go in too; the next refill puts the
            // same bytes at the same places.
            std::uint64_t v;
            std::memcpy(&v, p_, 8);
            if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
            buf_ |= v >> count_;
            const int bytes = (63 - count_) >> 3;
            p_ += bytes;
            count_ += bytes * 8;
            return;
        }
        while (count_ <= 56) {
            const std::uint64_t byte = p_ < end_ ? *p_++ : 0;
            buf_ |= byte << (56 - count_);
            count_ += 8;
        }
    }

    const std::uint8_t* p_;
    const std::uint8_t* end_;
    std::uint64_t buf_ = 0;
    int count_ = 0;
    std::uint64_t used_ = 0;
    std::uint64_t available_;
};

// A canonical Huffman code (shorter codes first, equal lengths in symbol order, the
// order every -lh5- decoder builds its tree in), decoded through a table of the first
// kFastBits bits. Only complete codes are taken.
class HuffmanTable {
public:
    void setSingle(int symbol) { single_ = symbol; }
    bool build(const std::uint8_t* len, int n) {
        single_ = -1;
        std::array<int, kMaxCodeLen + 1> count{};
        for (int i = 0; i < n; ++i) ++count[len[i]];
        count[0] = 0;
        std::uint32_t kraft = 0;
        for (int l = 1; l <= kMaxCodeLen; ++l)
            kraft += std::uint32_t(count[l]) << (kMaxCodeLen - l);
        if (kraft != 1u << kMaxCodeLen) return false;
        std::uint32_t code = 0;
        int index = 0;
        for (int l = 1; l <= kMaxCodeLen; ++l) {
            first_[l] = code;
            count_[l] = std::uint32_t(count[l]);
            offset_[l] = index;
            code = (code + std::uint32_t(count[l])) << 1;
            index += count[l];
        }
        std::array<int, kMaxCodeLen + 1> next = offset_;
        for (int i = 0; i < n; ++i)
            if (len[i]) sorted_[std::size_t(next[len[i]]++)] = std::uint16_t(i);
        fast_.fill(0);
        for (int l = 1; l <= kFastBits; ++l) {
            for (std::uint32_t k = 0; k < count_[l]; ++k) {
                const std::uint32_t c = first_[l] + k;
                const auto entry = std::uint16_t(sorted_[std::size_t(offset_[l]) + k] << 5 | l);
                const std::uint32_t from = c << (kFastBits - l), to = (c + 1) << (kFastBits - l);
                for (std::uint32_t e = from; e < to; ++e) fast_[e] = entry;
            }
        }
        return true;
    }
    int decode(BitReader& bits) const {
        if (single_ >= 0) return single_;
        const std::uint16_t e = fast_[bits.peek(kFastBits)];
        if (e & 31) {
            bits.skip(e & 31);
            return e >> 5;
        }
        const std::uint32_t v = bits.peek(kMaxCodeLen);
        for (int l = kFastBits + 1; l <= kMaxCodeLen; ++l) {
            const std::uint32_t c = (v >> (kMaxCodeLen - l)) - first_[l];
            if (c < count_[l]) {
                bits.skip(l);
                return sorted_[std::size_t(offset_[l]) + c];
            }
        }
        return 0;  // a complete code always ends above
    }

private:
    static constexpr int kFastBits = 10;
    int single_ = -1;
    std::array<std::uint16_t, 1 << kFastBits> fast_{};
    std::array<std::uint32_t, kMaxCodeLen + 1> first_{}, count_{};
    std::array<int, kMaxCodeLen + 1> offset_{};
    std::array<std::uint16_t, kNC> sorted_{};
};

class Decoder {
public:
    Decoder(int dicBits, const std::uint8_t* packed, std::size_t packedSize)
        : np_(dicBits + 1), pBits_(dicBits <= 13 ? 4 : 5), bits_(packed, packedSize) {}

    bool run(std::uint8_t* out, std::size_t size);

private:
    // The lengths of the "t" or "p" code: 3 bits each, 7 and more as 7 plus a run of ones.
    // After the third "t" length, 2 bits tell how many of the next lengths are zero.
    bool readSmallTable(HuffmanTable& table, int maxSymbols, int countBits, bool skipAfterThird) {
        const int n = int(bits_.get(countBits));
        if (n == 0) {
            const int symbol = int(bits_.get(countBits));
            if (symbol >= maxSymbols) return false;
            table.setSingle(symbol);
            return true;
        }
        if (n > maxSymbols) return false;
        std::array<std::uint8_t, 32> len{};
        for (int i = 0; i < n; ++i) {
            int l = int(bits_.get(3));
            if (l == 7) {
                while (bits_.get(1))
                    if (++l > kMaxCodeLen) return false;
            }
            len[std::size_t(i)] = std::uint8_t(l);
            if (skipAfterThird && i == 2) i += int(bits_.get(2));
        }
        return table.build(len.data(), n);
    }
    bool readCTable() {
        const int n = int(bits_.get(9));
        if (n == 0) {
            const int symbol = int(bits_.get(9));
            if (symbol >= kNC) return false;
            c_.setSingle(symbol);
            return true;
        }
        if (n > kNC) return false;
        std::array<std::uint8_t, kNC> len{};
        for (int i = 0; i < n;) {
            const int k = t_.decode(bits_);
            if (k > 2) {
                len[std::size_t(i++)] = std::uint8_t(k - 2);
                continue;
            }
            const int zeros = k == 0 ? 1 : k == 1 ? int(bits_.get(4)) + 3 : int(bits_.get(9)) + 20;
            i = std::min(n, i + zeros);
        }
        return c_.build(len.data(), n);
    }

    const int np_;
    const int pBits_;
    BitReader bits_;
    HuffmanTable t_, c_, p_;
};

bool Decoder::run(std::uint8_t* out, std::size_t size) {
    std::size_t pos = 0;
    while (pos < size) {
        std::uint32_t codes = bits_.get(16);
        if (!readSmallTable(t_, kNT, 5, true) || !readCTable() ||
            !readSmallTable(p_, np_, pBits_, false) || bits_.overrun())
            return false;
        for (; codes > 0 && pos < size; --codes) {
            const int c = c_.decode(bits_);
            if (c < 256) {
                out[pos++] = std::uint8_t(c);
                continue;
            }
            const std::size_t length = std::size_t(c) - 256 + kMinMatch;
            const int ps = p_.decode(bits_);
            const std::size_t distance =
                (ps <= 1 ? std::size_t(ps) : bits_.get(ps - 1) + (std::size_t(1) << (ps - 1))) + 1;
            if (distance <= pos && pos + length + 8 <= size) {
                // Eight bytes at a time from at least eight bytes behind: a nearer source
                // repeats every `distance` bytes, so after its first eight bytes the copy
                // goes on from a multiple of the distance.
                std::size_t k = 0, from = distance;
                if (distance < 8) {
                    for (; k < 8; ++k) out[pos + k] = out[pos + k - distance];
                    from = distance * ((8 + distance - 1) / distance);
                }
                for (; k < length; k += 8) std::memcpy(out + pos + k, out + pos + k - from, 8);
                pos += length;
                continue;
            }
            // The history before the first byte reads as blanks.
            for (std::size_t k = 0; k < length && pos < size; ++k, ++pos)
                out[pos] = pos >= distance ? out[pos - distance] : std::uint8_t(' ');
        }
        if (bits_.overrun()) return false;
    }
    return !bits_.overrun();
}

}  // namespace

int dictionaryBits(const char* method) {
    if (std::strcmp(method, "-lh5-") == 0) return 13;
    if (std::strcmp(method, "-lh6-") == 0) return 15;
    if (std::strcmp(method, "-lh7-") == 0) return 16;
    return 0;
}

bool decodeLh(int dicBits, const std::uint8_t* packed, std::size_t packedSize, std::uint8_t* out,
              std::size_t size) {
    if (dicBits < 13 || dicBits + 1 > kMaxNP) return false;
    return Decoder(dicBits, packed, packedSize).run(out, size);
}

}  // namespace lzh
