#include "lh5encoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <system_error>
#include <thread>

namespace lzh {
namespace {

constexpr int kDicBits = 13;
constexpr int kWindow = 1 << kDicBits;  // 8 KiB of history
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 256;
constexpr int kNC = 256 + kMaxMatch - kMinMatch + 1;  // 510 literal and length symbols
constexpr int kNP = kDicBits + 1;                     // 14 position symbols
constexpr int kNT = 19;                               // symbols that code the "c" lengths
constexpr int kTBit = 5;
constexpr int kCBit = 9;
constexpr int kPBit = 4;
constexpr int kMaxCodeLen = 16;
constexpr int kMaxBlockCodes = 65535;  // the block size field has 16 bits
constexpr int kMinParallel = 1 << 18;  // inputs below twice this are parsed on one thread

// One code of the parse: the "c" symbol in the low 16 bits; for a match, the distance
// minus one in the high 16 bits.
using Token = std::uint32_t;

inline Token literalToken(std::uint8_t byte) { return byte; }
inline Token matchToken(int length, int distance) {
    return static_cast<Token>(256 + length - kMinMatch) | (static_cast<Token>(distance - 1) << 16);
}
inline int positionSymbol(unsigned p) { return p ? 32 - std::countl_zero(p) : 0; }
inline int tokenLength(Token t) {
    const unsigned sym = t & 0xFFFF;
    return sym < 256 ? 1 : static_cast<int>(sym) - 256 + kMinMatch;
}

// ---------------------------------------------------------------------------------------
// Bits go out most significant first, as the -lh5- decoders read them.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) { out_.clear(); }

    // n <= 32, value < 2^n.
    void put(int n, std::uint32_t value) {
        acc_ = (acc_ << n) | value;
        bits_ += n;
        if (bits_ >= 32) {
            bits_ -= 32;
            const auto w = static_cast<std::uint32_t>(acc_ >> bits_);
            const std::uint8_t b[4] = {
                static_cast<std::uint8_t>(w >> 24), static_cast<std::uint8_t>(w >> 16),
                static_cast<std::uint8_t>(w >> 8), static_cast<std::uint8_t>(w)};
            out_.insert(out_.end(), b, b + 4);
        }
    }
    // Pads the last byte with zeros.
    void finish() {
        if (bits_ % 8) put(8 - bits_ % 8, 0);
        while (bits_ > 0) {
            bits_ -= 8;
            out_.push_back(static_cast<std::uint8_t>(acc_ >> bits_));
        }
    }
    std::size_t bytesSoFar() const { return out_.size() + static_cast<std::size_t>(bits_ + 7) / 8; }
    std::uint64_t bitsSoFar() const {
        return std::uint64_t(out_.size()) * 8 + std::uint64_t(bits_);
    }
    // Goes on with the first `bits` bits of another writer's finished output.
    void append(const std::vector<std::uint8_t>& bytes, std::uint64_t bits) {
        std::size_t at = 0;
        for (; bits >= 32; bits -= 32, at += 4)
            put(32, std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 |
                        std::uint32_t(bytes[at + 2]) << 8 | bytes[at + 3]);
        for (; bits >= 8; bits -= 8) put(8, bytes[at++]);
        if (bits) put(static_cast<int>(bits), bytes[at] >> (8 - bits));
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint64_t acc_ = 0;
    int bits_ = 0;
};

// ---------------------------------------------------------------------------------------
// Huffman code lengths, limited to kMaxCodeLen bits. Returns the number of symbols in
// use; with fewer than two every length stays 0 and *single names the one symbol (or 0),
// which the format writes as a table of one code of no bits.
int makeLengths(const std::uint32_t* freq, int n, std::uint8_t* len, int* single) {
    std::array<int, kNC> sym{};
    std::array<std::uint32_t, kNC> a{};
    int m = 0;
    for (int i = 0; i < n; ++i) {
        len[i] = 0;
        if (freq[i]) sym[m++] = i;
    }
    if (m < 2) {
        *single = m ? sym[0] : 0;
        return m;
    }
    std::sort(sym.begin(), sym.begin() + m,
              [freq](int x, int y) { return freq[x] != freq[y] ? freq[x] < freq[y] : x < y; });
    for (int k = 0; k < m; ++k) a[k] = freq[sym[k]];

    // Minimum-redundancy lengths in place (Moffat and Katajainen): a[k] becomes the
    // length of the k-th least frequent symbol.
    a[0] += a[1];
    int root = 0, leaf = 2;
    for (int next = 1; next < m - 1; ++next) {
        if (leaf >= m || a[root] < a[leaf]) {
            a[next] = a[root];
            a[root++] = static_cast<std::uint32_t>(next);
        } else {
            a[next] = a[leaf++];
        }
        if (leaf >= m || (root < next && a[root] < a[leaf])) {
            a[next] += a[root];
            a[root++] = static_cast<std::uint32_t>(next);
        } else {
            a[next] += a[leaf++];
        }
    }
    a[m - 2] = 0;
    for (int next = m - 3; next >= 0; --next) a[next] = a[a[next]] + 1;
    int avail = 1, used = 0, depth = 0, next = m - 1;
    root = m - 2;
    while (avail > 0) {
        while (root >= 0 && a[root] == static_cast<std::uint32_t>(depth)) {
            ++used;
            --root;
        }
        while (avail > used) {
            a[next--] = static_cast<std::uint32_t>(depth);
            --avail;
        }
        avail = 2 * used;
        ++depth;
        used = 0;
    }

    if (a[0] > kMaxCodeLen) {
        // Move the deepest leaves up while keeping the code complete.
        std::array<int, kNC + 1> count{};
        for (int k = 0; k < m; ++k) ++count[a[k]];
        for (int l = static_cast<int>(a[0]); l > kMaxCodeLen; --l) {
            while (count[l] > 0) {
                int j = l - 2;
                while (count[j] == 0) --j;
                count[l] -= 2;
                count[l - 1] += 1;
                count[j + 1] += 2;
                count[j] -= 1;
            }
        }
        int k = 0;
        for (int l = kMaxCodeLen; l >= 1; --l)
            for (int c = 0; c < count[l]; ++c) a[k++] = static_cast<std::uint32_t>(l);
    }
    for (int k = 0; k < m; ++k) len[sym[k]] = static_cast<std::uint8_t>(a[k]);
    return m;
}

// Canonical codes: shorter codes first, equal lengths in symbol order.
void makeCodes(const std::uint8_t* len, int n, std::uint16_t* code) {
    std::array<std::uint32_t, kMaxCodeLen + 2> next{};
    std::array<int, kMaxCodeLen + 1> count{};
    for (int i = 0; i < n; ++i) ++count[len[i]];
    count[0] = 0;
    for (int l = 1; l <= kMaxCodeLen; ++l) next[l + 1] = (next[l] + count[l]) << 1;
    for (int i = 0; i < n; ++i) code[i] = len[i] ? static_cast<std::uint16_t>(next[len[i]]++) : 0;
}

// ---------------------------------------------------------------------------------------
// log2 for the estimates below, from a table for small counts.
class Log2Table {
public:
    Log2Table() {
        for (std::size_t f = 1; f < table_.size(); ++f)
            table_[f] = static_cast<float>(std::log2(static_cast<double>(f)));
    }
    double operator()(double f) const {
        const auto i = static_cast<std::size_t>(f);
        return i < table_.size() && i == f ? table_[i] : std::log2(f);
    }

private:
    std::array<float, 8192> table_{};
};

const Log2Table& log2Table() {
    static const Log2Table t;
    return t;
}

// Counts of one block, and what its codes and tables would cost in bits.
struct Histogram {
    std::array<std::uint32_t, kNC> c{};
    std::array<std::uint32_t, kNP> p{};
    std::uint32_t codes = 0;

    void add(Token t) {
        const unsigned sym = t & 0xFFFF;
        ++c[sym];
        ++codes;
        if (sym >= 256) ++p[positionSymbol(t >> 16)];
    }
    void add(const Histogram& o) {
        for (int i = 0; i < kNC; ++i) c[i] += o.c[i];
        for (int i = 0; i < kNP; ++i) p[i] += o.p[i];
        codes += o.codes;
    }
    // Bits of the codes: a Huffman code spends at least one bit on every symbol unless
    // the table holds a single one, which costs nothing. *used counts the symbols.
    // Each symbol costs log2(total / f) bits, at least one: only a symbol of more than
    // half the codes comes below one, so one pass adds up the rest and corrects for it.
    template <std::size_t N>
    static double symbolBits(const std::array<std::uint32_t, N>& f, int* used) {
        const Log2Table& lg = log2Table();
        std::uint32_t total = 0, top = 0;
        double weighted = 0;  // sum of f log2 f
        int n = 0;
        for (std::uint32_t v : f) {
            if (!v) continue;
            ++n;
            total += v;
            top = std::max(top, v);
            weighted += v * lg(v);
        }
        *used = n;
        if (n < 2) return 0;
        const double lt = lg(total);
        double bits = lt * total - weighted;
        if (2.0 * top > total) bits += top - top * (lt - lg(top));
        return bits;
    }
    // Estimated bits of a block holding these codes, its tables included; unless told
    // otherwise, as if writeBlock will code the few matches of other symbols again.
    double cost(bool polished = true) const {
        int usedC = 0, usedP = 0, lastP = 0, top = 0;
        std::uint32_t matches = 0;
        double extra = 0;
        const double cCodeBits = symbolBits(c, &usedC);
        for (int s = 0; s < kNP; ++s) {
            if (!p[s]) continue;
            ++usedP;
            lastP = s;
            matches += p[s];
            if (p[s] > p[top]) top = s;
            if (s > 1) extra += double(p[s]) * (s - 1);
        }
        // A table of one symbol is a fixed few bits; otherwise the "c" lengths cost
        // some bits each (coded through the "t" table) and the "p" lengths 3 or more.
        int pSymbols = 0;
        const double pCodeBits = symbolBits(p, &pSymbols);
        const double cBits = usedC < 2 ? 28 : 40 + 6.0 * usedC + cCodeBits;
        const double bits =
            16 + cBits + extra + (usedP < 2 ? 8 : 4 + 3.5 * (lastP + 1) + pCodeBits);
        // The few matches of other symbols may be coded again (see writeBlock), at
        // roughly two more codes each.
        const std::uint32_t others = matches - p[top];
        if (!polished || others == 0 || !polishable(top, matches, others)) return bits;
        return std::min(bits,
                        16 + cBits + 20.0 * others + double(p[top]) * std::max(0, top - 1) + 8);
    }
    static bool polishable(int top, std::uint32_t matches, std::uint32_t others) {
        return others * 16 <= matches && top >= 1 && top <= 6;
    }
};

// ---------------------------------------------------------------------------------------
// What a code is expected to cost, in sixteenths of a bit, learnt from the codes chosen
// so far (starting from a guess drawn from the data), so that the parse can weigh a
// match against the literals it replaces.
class Prices {
public:
    static constexpr std::uint32_t kOneBit = 16;

    void start(const std::uint8_t* d, int n) {
        std::array<std::uint32_t, 256> bytes{};
        const int sample = std::min(n, 1 << 16);
        for (int i = 0; i < sample; ++i) ++bytes[d[i]];
        for (int b = 0; b < 256; ++b) prior_.c[b] = 600.0 * (bytes[b] + 0.02) / (sample + 5.12);
        double lengths = 0;
        for (int l = kMinMatch; l <= kMaxMatch; ++l) lengths += 1.0 / (l - 1);
        for (int l = kMinMatch; l <= kMaxMatch; ++l)
            prior_.c[256 + l - kMinMatch] = 400.0 / (l - 1) / lengths;
        for (int s = 0; s < kNP; ++s) prior_.p[s] = 400.0 / kNP;
        refresh();
    }
    void learn(Token t) {
        const unsigned sym = t & 0xFFFF;
        seen_.c[sym] += 1;
        if (sym >= 256) seen_.p[positionSymbol(t >> 16)] += 1;
        if (++sinceRefresh_ >= kRefreshEvery) refresh();
    }
    std::uint32_t literal(std::uint8_t b) const { return c_[b]; }
    std::uint32_t length(int len) const { return c_[256 + len - kMinMatch]; }
    std::uint32_t position(int distance) const {
        const int ps = positionSymbol(static_cast<unsigned>(distance - 1));
        return p_[ps] + (ps > 1 ? static_cast<std::uint32_t>(ps - 1) * kOneBit : 0);
    }

private:
    static constexpr int kRefreshEvery = 4096;
    struct Counts {
        std::array<double, kNC> c{};
        std::array<double, kNP> p{};
    };
    template <std::size_t N>
    static void toPrices(const std::array<double, N>& prior, std::array<double, N>& seen,
                         std::array<std::uint32_t, N>& out) {
        double total = 0;
        for (std::size_t i = 0; i < N; ++i) total += prior[i] + seen[i];
        for (std::size_t i = 0; i < N; ++i) {
            const double bits = std::log2(total / (prior[i] + seen[i]));
            out[i] = static_cast<std::uint32_t>(std::clamp(bits, 1.0, 24.0) * kOneBit);
            seen[i] *= 0.5;  // recent codes count most
        }
    }
    void refresh() {
        // When nearly every match uses one position symbol, the block's position
        // table can shrink to that one symbol, which costs nothing per code; any
        // other symbol would spoil that for all of them.
        double matches = 0, top = 0;
        int topSymbol = 0;
        for (int s = 0; s < kNP; ++s) {
            matches += seen_.p[s];
            if (seen_.p[s] > top) top = seen_.p[s], topSymbol = s;
        }
        const bool oneSymbol = matches >= 64 && top >= 0.98 * matches;
        toPrices(prior_.c, seen_.c, c_);
        toPrices(prior_.p, seen_.p, p_);
        if (oneSymbol) {
            for (int s = 0; s < kNP; ++s) p_[s] = s == topSymbol ? 0 : p_[s] + kSpoilPenalty;
        }
        sinceRefresh_ = 0;
    }
    static constexpr std::uint32_t kSpoilPenalty = 32 * kOneBit;

    Counts prior_, seen_;
    std::array<std::uint32_t, kNC> c_{};
    std::array<std::uint32_t, kNP> p_{};
    int sinceRefresh_ = 0;
};

// ---------------------------------------------------------------------------------------
inline int matchLength(const std::uint8_t* a, const std::uint8_t* b, int limit) {
    int len = 0;
    if constexpr (std::endian::native == std::endian::little) {
        while (len + 8 <= limit) {
            std::uint64_t x, y;
            std::memcpy(&x, a + len, 8);
            std::memcpy(&y, b + len, 8);
            if (const std::uint64_t diff = x ^ y) return len + std::countr_zero(diff) / 8;
            len += 8;
        }
    }
    while (len < limit && a[len] == b[len]) ++len;
    return len;
}

// Chooses the codes for d[begin, end): literals and matches into the 8 KiB before.
class Parser {
public:
    Parser(const std::uint8_t* data, int begin, int end)
        : d_(data), begin_(begin), n_(end), head8_(kHashSize, -1), prev8_(kWindow, -1) {}

    std::vector<Token> run();

private:
    // A chain through every place of each 8-byte string, newest first, and the distances
    // of the last matches taken. Shorter matches come from these too (a long match holds
    // every shorter one): on control texts the nearest 3- to 7-byte strings cost more in
    // the search than they save, while the recent distances carry the runs of equal lines.
    static constexpr int kHashBits = 14;
    static constexpr int kHashSize = 1 << kHashBits;
    static constexpr int kChainDepth = 16;
    // A match this long is taken without weighing every alternative; of it only the
    // last positions are remembered, which keeps long runs of equal lines fast.
    static constexpr int kNiceLength = 32;
    static constexpr int kTail = 16;
    // Matches at least one byte longer than this are taken on to the next position.
    static constexpr int kInheritLength = 8;
    // Positions weighed together before the cheapest path through them is fixed.
    static constexpr int kSpan = 4096;
    static constexpr int kMaxMatches = kChainDepth + 2;

    struct Match {
        int length;
        int distance;
    };
    struct Node {
        std::uint32_t cost;
        std::uint16_t length;  // of the step that ends here; 1 is a literal
        std::uint16_t distance;
    };

    std::uint32_t load32(int pos) const {
        std::uint32_t v;
        std::memcpy(&v, d_ + pos, 4);
        return v;
    }
    std::uint32_t hash8(int pos) const {
        std::uint64_t v;
        std::memcpy(&v, d_ + pos, 8);
        return static_cast<std::uint32_t>((v * 0xC2B2AE3D27D4EB4Full) >> (64 - kHashBits));
    }
    void insert(int pos);
    int search(int pos, Match* out);
    const Match* matchesAt(int pos, int* count, bool mayInherit = true);
    std::uint32_t price(const Match& m) const {
        return prices_.length(m.length) + prices_.position(m.distance);
    }
    void take(Token t) {
        tokens_.push_back(t);
        prices_.learn(t);
        if ((t & 0xFFFF) >= 256) {
            const int distance = static_cast<int>(t >> 16) + 1;
            if (distance != recent_[0]) {
                recent_[1] = recent_[0];
                recent_[0] = distance;
            }
        }
    }
    void fixPath(int start, int end);
    int takeLong(int pos);

    const std::uint8_t* d_;
    int begin_;
    int n_;  // the end of the part; nothing beyond it is read or matched
    std::vector<std::int32_t> head8_;
    std::vector<std::int32_t> prev8_;  // by position mod the window
    int nextInsert_ = 0;               // positions below are in the tables or left out
    int searched_ = -1;                // the position whose matches are in found_
    int foundCount_ = 0;
    bool inherited_ = false;  // found_ holds the match taken on from the position before
    std::array<Match, kMaxMatches> found_{};
    std::array<int, 2> recent_{};  // distances of the last matches taken
    std::vector<Token> tokens_;
    std::vector<Node> nodes_;
    std::vector<Token> path_;
    Prices prices_;
};

void Parser::insert(int pos) {
    if (pos + 8 <= n_) {
        const std::uint32_t h = hash8(pos);
        prev8_[pos & (kWindow - 1)] = head8_[h];
        head8_[h] = pos;
    }
}

// The matches at pos in increasing length, each with the nearest distance known to
// give at least that length; pos is put into the chain on the way.
int Parser::search(int pos, Match* out) {
    const int limit = std::min(kMaxMatch, n_ - pos);
    if (limit < kMinMatch) return 0;
    const std::uint8_t* cur = d_ + pos;
    // The recent distances first, the nearer one before the farther.
    int n = 0;
    int r0 = recent_[0], r1 = recent_[1];
    if (r1 > 0 && r1 < r0) std::swap(r0, r1);
    for (const int r : {r0, r1}) {
        if (r <= 0 || r > pos || r > kWindow || (n && out[n - 1].distance == r)) continue;
        const int len = matchLength(cur - r, cur, limit);
        if (len >= kMinMatch && (n == 0 || len > out[n - 1].length)) out[n++] = {len, r};
    }
    if (limit < 8) return n;
    // Then the chain, nearest first: a place is kept when it gives more than every nearer
    // one, and each kept place pushes out the recent distances beyond it that give less.
    std::int32_t& h8 = head8_[hash8(pos)];
    int from = h8;
    prev8_[pos & (kWindow - 1)] = h8;
    h8 = pos;
    Match chain[kChainDepth];
    int found = 0;
    int best = 7;
    for (int depth = kChainDepth; depth > 0 && from >= 0 && pos - from <= kWindow; --depth) {
        const std::uint8_t* m = d_ + from;
        if (m[best] == cur[best]) {
            const int len = matchLength(m, cur, limit);
            if (len > best) {
                best = len;
                chain[found++] = {len, pos - from};
                if (len >= limit) break;
            }
        }
        from = prev8_[from & (kWindow - 1)];
    }
    if (found == 0) return n;
    // Merge the two staircases by distance, keeping each step that reaches further.
    Match recent[2];
    std::copy_n(out, n, recent);
    int a = 0, b = 0, kept = 0;
    while (a < n || b < found) {
        const bool takeRecent = b >= found || (a < n && recent[a].distance < chain[b].distance);
        const Match m = takeRecent ? recent[a++] : chain[b++];
        if (kept == 0 || m.length > out[kept - 1].length) out[kept++] = m;
    }
    return kept;
}

const Parser::Match* Parser::matchesAt(int pos, int* count, bool mayInherit) {
    if (pos != searched_) {
        while (nextInsert_ < pos) insert(nextInsert_++);
        // Inside a long match the next position starts with the same match one byte
        // shorter; a search there seldom finds a better one, so the match is taken on.
        if (mayInherit && searched_ == pos - 1 && foundCount_ > 0 &&
            found_[foundCount_ - 1].length > kInheritLength) {
            const Match m = found_[foundCount_ - 1];
            found_[0] = {m.length - 1, m.distance};
            foundCount_ = 1;
            inherited_ = true;
            insert(pos);
        } else {
            foundCount_ = search(pos, found_.data());
            inherited_ = false;
        }
        nextInsert_ = pos + 1;
        searched_ = pos;
    }
    *count = foundCount_;
    return found_.data();
}

// Takes the cheapest path from start to end (node indexes relative to start).
void Parser::fixPath(int start, int end) {
    path_.clear();
    for (int i = end - start; i > 0;) {
        const Node& node = nodes_[static_cast<std::size_t>(i)];
        if (node.length == 1) {
            path_.push_back(literalToken(d_[start + i - 1]));
        } else {
            path_.push_back(matchToken(node.length, node.distance));
        }
        i -= node.length;
    }
    for (auto it = path_.rbegin(); it != path_.rend(); ++it) take(*it);
}

// A long match starts at pos. It is taken, unless a literal followed by a long match
// from the next position costs fewer bits per byte (where one run of equal lines
// gives way to another). Returns where the parse goes on.
int Parser::takeLong(int pos) {
    int count = 0;
    const Match* m = matchesAt(pos, &count);
    Match here = m[count - 1];
    while (pos + 1 < n_) {
        const Match* next = matchesAt(pos + 1, &count, false);
        if (!count || next[count - 1].length < kNiceLength) break;
        const Match there = next[count - 1];
        const double perByteHere = double(price(here)) / here.length;
        const double perByteThere =
            double(prices_.literal(d_[pos]) + price(there)) / (1 + there.length);
        if (perByteThere >= perByteHere) break;
        take(literalToken(d_[pos]));
        ++pos;
        here = there;
    }
    take(matchToken(here.length, here.distance));
    const int end = pos + here.length;
    nextInsert_ = std::max(nextInsert_, end - kTail);
    return end;
}

// The parse weighs, position by position, every literal and match against the codes
// learnt so far and keeps the cheapest way to reach each position.
std::vector<Token> Parser::run() {
    nextInsert_ = std::max(0, begin_ - kWindow);
    while (nextInsert_ < begin_) insert(nextInsert_++);
    prices_.start(d_ + begin_, n_ - begin_);
    tokens_.reserve(static_cast<std::size_t>(n_ - begin_) / 4 + 16);
    nodes_.resize(kSpan + kMaxMatch + 1);
    constexpr std::uint32_t kUnreached = std::numeric_limits<std::uint32_t>::max();
    int pos = begin_;
    while (pos < n_) {
        const int start = pos;
        nodes_[0] = {0, 0, 0};
        int reached = 0;
        for (int i = 0;; ++i) {
            const int p = start + i;
            if (i >= kSpan || p >= n_) {
                fixPath(start, p);
                pos = p;
                break;
            }
            int count = 0;
            const Match* matches = matchesAt(p, &count);
            if (count && matches[count - 1].length >= kNiceLength) {
                fixPath(start, p);
                pos = takeLong(p);
                break;
            }
            const int furthest = i + (count ? matches[count - 1].length : 1);
            while (reached < furthest)
                nodes_[static_cast<std::size_t>(++reached)].cost = kUnreached;
            const std::uint32_t base = nodes_[static_cast<std::size_t>(i)].cost;
            Node& next = nodes_[static_cast<std::size_t>(i + 1)];
            const std::uint32_t lit = base + prices_.literal(d_[p]);
            if (lit < next.cost) next = {lit, 1, 0};
            // A match taken on has had its shorter lengths weighed one position before.
            int len = inherited_ ? matches[0].length : kMinMatch;
            for (int k = 0; k < count; ++k) {
                const std::uint32_t atDistance = base + prices_.position(matches[k].distance);
                const auto distance = static_cast<std::uint16_t>(matches[k].distance);
                for (; len <= matches[k].length; ++len) {
                    const std::uint32_t c = atDistance + prices_.length(len);
                    Node& to = nodes_[static_cast<std::size_t>(i + len)];
                    if (c < to.cost) to = {c, static_cast<std::uint16_t>(len), distance};
                }
            }
        }
    }
    return std::move(tokens_);
}

// ---------------------------------------------------------------------------------------
// Writes the chosen codes as blocks.
class BlockCoder {
public:
    BlockCoder(const std::uint8_t* data, BitWriter& bits) : d_(data), bits_(bits) {}

    // Codes for the input from position at on. False once the output has reached limit.
    bool write(const std::vector<Token>& tokens, int at, std::size_t limit);
    // A block of two different literals: a code of two symbols, one bit each.
    void writeLastTwo(std::uint8_t a, std::uint8_t b) {
        const Token t[2] = {literalToken(a), literalToken(b)};
        sendBlock(t, 2);
    }

private:
    // Blocks are cut on input segments of this many bytes.
    static constexpr int kSegmentBytes = 4096;

    void writeBlock(const Token* t, int count, int at);
    void sendBlock(const Token* t, int count);

    const std::uint8_t* d_;
    BitWriter& bits_;
    std::vector<Token> work_;               // a block's codes, polished
    std::vector<std::size_t> segmentEnds_;  // where each segment ends in the codes
};

// Cuts the codes into blocks where the statistics change (a new table costs less than
// coding unlike parts with one table) and writes them.
bool BlockCoder::write(const std::vector<Token>& tokens, int at, std::size_t limit) {
    // Segments of about kSegmentBytes of input.
    std::vector<int> segmentAt;  // input position of each segment
    segmentEnds_.clear();
    const int total = static_cast<int>(tokens.size());
    for (int start = 0, pos = at; start < total;) {
        int end = start;
        int bytes = 0;
        for (; end < total && bytes < kSegmentBytes; ++end)
            bytes += tokenLength(tokens[static_cast<std::size_t>(end)]);
        segmentAt.push_back(pos);
        segmentEnds_.push_back(static_cast<std::size_t>(end));
        pos += bytes;
        start = end;
    }
    // Start with a block per segment and join neighbours while that saves the most.
    struct Block {
        Histogram counts;
        double cost;
        std::size_t begin, end;  // in tokens
        int at;                  // input position of the first
        int next;                // the block after this one, -1 for none
        double saving;           // of joining with next, or below zero
    };
    std::vector<Block> blocks(segmentEnds_.size());
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        Block& b = blocks[k];
        b.begin = k ? segmentEnds_[k - 1] : 0;
        b.end = segmentEnds_[k];
        b.at = segmentAt[k];
        b.next = k + 1 < blocks.size() ? static_cast<int>(k + 1) : -1;
        for (std::size_t i = b.begin; i < b.end; ++i) b.counts.add(tokens[i]);
        b.cost = b.counts.cost();
    }
    Histogram joined;
    const auto updateSaving = [&](Block& b) {
        b.saving = -1;
        if (b.next < 0) return;
        const Block& n = blocks[static_cast<std::size_t>(b.next)];
        joined = b.counts;
        joined.add(n.counts);
        if (joined.codes <= static_cast<std::uint32_t>(kMaxBlockCodes))
            b.saving = b.cost + n.cost - joined.cost();
    };
    for (Block& b : blocks) updateSaving(b);
    for (;;) {
        int best = -1, previous = -1, beforeBest = -1;
        for (int k = blocks.empty() ? -1 : 0; k >= 0;
             previous = k, k = blocks[static_cast<std::size_t>(k)].next) {
            if (blocks[static_cast<std::size_t>(k)].saving > 0 &&
                (best < 0 || blocks[static_cast<std::size_t>(k)].saving >
                                 blocks[static_cast<std::size_t>(best)].saving)) {
                best = k;
                beforeBest = previous;
            }
        }
        if (best < 0) break;
        Block& b = blocks[static_cast<std::size_t>(best)];
        Block& n = blocks[static_cast<std::size_t>(b.next)];
        b.counts.add(n.counts);
        b.cost = b.counts.cost();
        b.end = n.end;
        b.next = n.next;
        updateSaving(b);
        if (beforeBest >= 0) updateSaving(blocks[static_cast<std::size_t>(beforeBest)]);
    }
    for (int k = blocks.empty() ? -1 : 0; k >= 0; k = blocks[static_cast<std::size_t>(k)].next) {
        const Block& b = blocks[static_cast<std::size_t>(k)];
        writeBlock(tokens.data() + b.begin, static_cast<int>(b.end - b.begin), b.at);
        if (bits_.bytesSoFar() >= limit) return false;
    }
    return bits_.bytesSoFar() < limit;
}

// Writes count codes whose input starts at position at. When nearly every match of the
// block uses one position symbol, the few others are coded again with distances of that
// symbol only (or literals): the position table can then hold one symbol and cost
// nothing per code, which on runs of equal table lines is worth more than the longer
// matches given up.
void BlockCoder::writeBlock(const Token* t, int count, int at) {
    std::array<int, kNP> symbols{};
    int matches = 0;
    for (int i = 0; i < count; ++i) {
        if ((t[i] & 0xFFFF) >= 256) {
            ++symbols[positionSymbol(t[i] >> 16)];
            ++matches;
        }
    }
    const int top =
        static_cast<int>(std::max_element(symbols.begin(), symbols.end()) - symbols.begin());
    const int others = matches - symbols[top];
    // Distances of symbol s run from 2^(s-1) + 1 to 2^s; only small ones are tried.
    if (others == 0 || !Histogram::polishable(top, static_cast<std::uint32_t>(matches),
                                              static_cast<std::uint32_t>(others))) {
        sendBlock(t, count);
        return;
    }
    const int nearest = top == 1 ? 2 : (1 << (top - 1)) + 1;
    const int farthest = top == 1 ? 2 : 1 << top;
    work_.clear();
    int pos = at;
    for (int i = 0; i < count; ++i) {
        const Token tok = t[i];
        const int len = tokenLength(tok);
        if (len == 1 || positionSymbol(tok >> 16) == top) {
            work_.push_back(tok);
            pos += len;
            continue;
        }
        for (int q = pos, end = pos + len; q < end;) {
            int bestLen = 0, bestDistance = 0;
            for (int dist = nearest; dist <= farthest && dist <= q; ++dist) {
                const int l = matchLength(d_ + q - dist, d_ + q, end - q);
                if (l > bestLen) bestLen = l, bestDistance = dist;
            }
            if (bestLen >= kMinMatch) {
                work_.push_back(matchToken(bestLen, bestDistance));
                q += bestLen;
            } else {
                work_.push_back(literalToken(d_[q]));
                ++q;
            }
        }
        pos += len;
    }
    Histogram before, after;
    for (int i = 0; i < count; ++i) before.add(t[i]);
    for (const Token tok : work_) after.add(tok);
    if (work_.size() <= static_cast<std::size_t>(kMaxBlockCodes) &&
        after.cost(false) < before.cost(false))
        sendBlock(work_.data(), static_cast<int>(work_.size()));
    else
        sendBlock(t, count);
}

void BlockCoder::sendBlock(const Token* t, int count) {
    std::array<std::uint32_t, kNC> cFreq{};
    std::array<std::uint32_t, kNP> pFreq{};
    for (int i = 0; i < count; ++i) {
        const unsigned sym = t[i] & 0xFFFF;
        ++cFreq[sym];
        if (sym >= 256) ++pFreq[positionSymbol(t[i] >> 16)];
    }
    std::array<std::uint8_t, kNC> cLen{};
    std::array<std::uint16_t, kNC> cCode{};
    std::array<std::uint8_t, kNP> pLen{};
    std::array<std::uint16_t, kNP> pCode{};
    std::array<std::uint8_t, kNT> tLen{};
    std::array<std::uint16_t, kNT> tCode{};
    int single = 0;

    bits_.put(16, static_cast<std::uint32_t>(count));
    if (makeLengths(cFreq.data(), kNC, cLen.data(), &single) >= 2) {
        makeCodes(cLen.data(), kNC, cCode.data());
        int n = kNC;
        while (n > 0 && cLen[n - 1] == 0) --n;

        // The "c" lengths are themselves coded: lengths 1..16 as t symbols 3..18, runs of
        // unused symbols as t symbols 0 (one), 1 (3 to 18) or 2 (20 or more).
        std::array<std::uint32_t, kNT> tFreq{};
        for (int i = 0; i < n;) {
            const int k = cLen[i++];
            if (k) {
                ++tFreq[k + 2];
                continue;
            }
            int run = 1;
            while (i < n && cLen[i] == 0) ++i, ++run;
            if (run <= 2)
                tFreq[0] += run;
            else if (run <= 18)
                ++tFreq[1];
            else if (run == 19)
                ++tFreq[0], ++tFreq[1];
            else
                ++tFreq[2];
        }
        int tSingle = 0;
        if (makeLengths(tFreq.data(), kNT, tLen.data(), &tSingle) >= 2) {
            makeCodes(tLen.data(), kNT, tCode.data());
            int tn = kNT;
            while (tn > 0 && tLen[tn - 1] == 0) --tn;
            bits_.put(kTBit, static_cast<std::uint32_t>(tn));
            for (int i = 0; i < tn;) {
                const int k = tLen[i++];
                if (k <= 6)
                    bits_.put(3, static_cast<std::uint32_t>(k));
                else
                    bits_.put(k - 3, (1u << (k - 3)) - 2);
                if (i == 3) {
                    int zeros = 0;
                    while (i < tn && zeros < 3 && tLen[i] == 0) ++i, ++zeros;
                    bits_.put(2, static_cast<std::uint32_t>(zeros));
                }
            }
        } else {
            bits_.put(kTBit, 0);
            bits_.put(kTBit, static_cast<std::uint32_t>(tSingle));
        }

        bits_.put(kCBit, static_cast<std::uint32_t>(n));
        for (int i = 0; i < n;) {
            const int k = cLen[i++];
            if (k) {
                bits_.put(tLen[k + 2], tCode[k + 2]);
                continue;
            }
            int run = 1;
            while (i < n && cLen[i] == 0) ++i, ++run;
            if (run <= 2) {
                for (int r = 0; r < run; ++r) bits_.put(tLen[0], tCode[0]);
            } else if (run <= 18) {
                bits_.put(tLen[1], tCode[1]);
                bits_.put(4, static_cast<std::uint32_t>(run - 3));
            } else if (run == 19) {
                bits_.put(tLen[0], tCode[0]);
                bits_.put(tLen[1], tCode[1]);
                bits_.put(4, 15);
            } else {
                bits_.put(tLen[2], tCode[2]);
                bits_.put(kCBit, static_cast<std::uint32_t>(run - 20));
            }
        }
    } else {
        bits_.put(kTBit, 0);
        bits_.put(kTBit, 0);
        bits_.put(kCBit, 0);
        bits_.put(kCBit, static_cast<std::uint32_t>(single));
    }

    int pSingle = 0;
    if (makeLengths(pFreq.data(), kNP, pLen.data(), &pSingle) >= 2) {
        makeCodes(pLen.data(), kNP, pCode.data());
        int pn = kNP;
        while (pn > 0 && pLen[pn - 1] == 0) --pn;
        bits_.put(kPBit, static_cast<std::uint32_t>(pn));
        for (int i = 0; i < pn; ++i) {
            const int k = pLen[i];
            if (k <= 6)
                bits_.put(3, static_cast<std::uint32_t>(k));
            else
                bits_.put(k - 3, (1u << (k - 3)) - 2);
        }
    } else {
        bits_.put(kPBit, 0);
        bits_.put(kPBit, static_cast<std::uint32_t>(pSingle));
    }

    for (int i = 0; i < count; ++i) {
        const unsigned sym = t[i] & 0xFFFF;
        bits_.put(cLen[sym], cCode[sym]);
        if (sym >= 256) {
            const unsigned p = t[i] >> 16;
            const int ps = positionSymbol(p);
            bits_.put(pLen[ps], pCode[ps]);
            if (ps > 1) bits_.put(ps - 1, p & ((1u << (ps - 1)) - 1));
        }
    }
}

// Parses and codes data[begin, end) in parts, the codes of each part into blocks of
// their own, so the bits depend on nothing but the data.
struct Half {
    std::vector<std::uint8_t> bytes;
    BitWriter bits{bytes};
    bool ok = true;
    std::exception_ptr failure;

    void code(const std::uint8_t* data, int begin, int end, std::size_t limit) {
        constexpr int kPart = 1 << 20;  // bounds the codes held at a time
        const std::int64_t length = end - begin;
        const std::int64_t parts = (length + kPart - 1) / kPart;
        const auto partBegin = [&](std::int64_t k) { return begin + int(length * k / parts); };
        BlockCoder coder(data, bits);
        for (std::int64_t k = 0; k < parts && ok; ++k)
            ok = coder.write(Parser(data, partBegin(k), partBegin(k + 1)).run(), partBegin(k),
                             limit);
    }
};

}  // namespace

bool compressLh5(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out,
                 int threads) {
    // Positions are kept in 32 bits; members this large are stored instead.
    if (size == 0 || size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() / 2))
        return false;
    const int n = static_cast<int>(size);
    // The parse takes most of the time: a large input is cut in two halves parsed and coded
    // at the same time, the second with the 8 KiB before it as history, and its bits are
    // put after the first's, so the result does not depend on the timing.
    // Two different last bytes go in a block of their own (see below), the rest is parsed.
    const bool lastTwo = n >= 2 && data[n - 1] != data[n - 2];
    const int parsed = lastTwo ? n - 2 : n;
    const int middle = parsed < 2 * kMinParallel ? parsed : parsed / 2;
    Half first, second;
    if (middle < parsed) {
        std::thread helper;
        if (threads > 1) {
            try {
                helper = std::thread([&] {
                    try {
                        second.code(data, middle, parsed, size);
                    } catch (...) {
                        second.failure = std::current_exception();
                    }
                });
            } catch (const std::system_error&) {
                // no thread to be had: in turn below
            }
        }
        struct Joiner {  // also when the parse on this thread throws
            std::thread& thread;
            ~Joiner() {
                if (thread.joinable()) thread.join();
            }
        } joiner{helper};
        first.code(data, 0, middle, size);
        if (helper.joinable())
            helper.join();
        else
            second.code(data, middle, parsed, size);
        if (second.failure) std::rethrow_exception(second.failure);
        if (!first.ok || !second.ok) return false;
        const std::uint64_t secondBits = second.bits.bitsSoFar();
        second.bits.finish();
        first.bits.append(second.bytes, secondBits);
    } else {
        first.code(data, 0, parsed, size);
        if (!first.ok) return false;
    }
    // Some decoders look a whole table width ahead before every code (unar): the last
    // codes are two literals of one bit each, so no table is wider than what is left.
    // Others take a byte left after the last code for a block that is not there
    // (libarchive): nothing more than the padding of the last byte follows.
    if (lastTwo) BlockCoder(data, first.bits).writeLastTwo(data[n - 2], data[n - 1]);
    first.bits.finish();
    if (first.bytes.size() >= size) return false;
    out = std::move(first.bytes);
    return true;
}

}  // namespace lzh
