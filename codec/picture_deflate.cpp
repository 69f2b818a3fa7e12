#include "codec/picture_deflate.h"

#include <algorithm>
#include <cstring>

namespace vemtra::codec {

namespace {

constexpr size_t kWindow = 32768;
constexpr size_t kMaxMatch = 258;
constexpr size_t kMinMatch = 4;
constexpr size_t kBlockTokens = 1 << 16;
constexpr int kHashBits = 15;
constexpr size_t kInsertWithin = 32;
constexpr int kMaxCodeBits = 15;
constexpr int kMaxCodeLengthBits = 7;
constexpr int kLitLenSymbols = 286;
constexpr int kDistSymbols = 30;
constexpr int kEndOfBlock = 256;

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,    65,    97,    129,
                                    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which the code-length code's lengths are sent.
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// Length → length code (0 … 28), distance − 1 → distance code, the latter
// in two parts as zlib keeps it: direct below 256, by 128s above.
struct CodeTables {
  uint8_t length[kMaxMatch + 1];
  uint8_t dist_small[256];
  uint8_t dist_large[256];
  CodeTables() {
    for (int c = 0; c < 29; ++c) {
      int end = c == 28 ? 259 : kLengthBase[c] + (1 << kLengthExtra[c]);
      for (int l = kLengthBase[c]; l < end && l <= 258; ++l) length[l] = uint8_t(c);
    }
    for (int c = 0; c < 30; ++c)
      for (int d = kDistBase[c] - 1; d < kDistBase[c] - 1 + (1 << kDistExtra[c]); ++d) {
        if (d < 256) dist_small[d] = uint8_t(c);
        else dist_large[d >> 7] = uint8_t(c);
      }
  }
  int Distance(unsigned distance) const {
    unsigned d = distance - 1;
    return d < 256 ? dist_small[d] : dist_large[d >> 7];
  }
};
const CodeTables kCodes;

// Bits into bytes, first bit lowest, as deflate packs them.
class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>* out) : out_(out), at_(out->size()) {}
  // Room for `bytes` more bytes.
  void Reserve(size_t bytes) {
    if (out_->size() < at_ + bytes + 8) out_->resize(at_ + bytes + 8);
  }
  void Put(uint32_t bits, int count) {  // count ≤ 16
    buffer_ |= uint64_t(bits) << filled_;
    filled_ += count;
    if (filled_ >= 32) {
      uint32_t word = uint32_t(buffer_);
      uint8_t* p = out_->data() + at_;
      p[0] = uint8_t(word), p[1] = uint8_t(word >> 8), p[2] = uint8_t(word >> 16), p[3] = uint8_t(word >> 24);
      at_ += 4;
      buffer_ >>= 32;
      filled_ -= 32;
    }
  }
  void AlignToByte() {
    if (filled_ % 8) Put(0, 8 - filled_ % 8);
    while (filled_ > 0) {
      (*out_)[at_++] = uint8_t(buffer_);
      buffer_ >>= 8;
      filled_ -= 8;
    }
  }
  void Bytes(const uint8_t* data, size_t n) {  // after AlignToByte
    std::memcpy(out_->data() + at_, data, n);
    at_ += n;
  }
  void Finish() {
    AlignToByte();
    out_->resize(at_);
  }

 private:
  std::vector<uint8_t>* out_;
  size_t at_;
  uint64_t buffer_ = 0;
  int filled_ = 0;
};

// Code lengths of a minimum-redundancy code for `weights`, sorted lightest
// first, computed in place (Moffat and Katajainen): afterwards weights[i] is
// the length of the i-th lightest symbol's code. Needs n ≥ 2.
void MinimumRedundancy(uint32_t* a, int n) {
  a[0] += a[1];
  int root = 0, leaf = 2;
  for (int next = 1; next < n - 1; ++next) {
    if (leaf >= n || a[root] < a[leaf]) {
      a[next] = a[root];
      a[root++] = uint32_t(next);
    } else {
      a[next] = a[leaf++];
    }
    if (leaf >= n || (root < next && a[root] < a[leaf])) {
      a[next] += a[root];
      a[root++] = uint32_t(next);
    } else {
      a[next] += a[leaf++];
    }
  }
  a[n - 2] = 0;
  for (int next = n - 3; next >= 0; --next) a[next] = a[a[next]] + 1;
  int available = 1, used = 0, depth = 0;
  int root2 = n - 2, next = n - 1;
  while (available > 0) {
    while (root2 >= 0 && int(a[root2]) == depth) {
      ++used;
      --root2;
    }
    while (available > used) {
      a[next--] = uint32_t(depth);
      --available;
    }
    available = 2 * used;
    ++depth;
    used = 0;
  }
}

// Code lengths of at most `limit` bits for the `n` symbols with frequencies
// `freq`; at least two symbols get a code, as deflate readers expect.
void CodeLengths(const uint32_t* freq, int n, int limit, uint8_t* lengths) {
  struct Symbol {
    uint32_t freq;
    uint16_t index;
  };
  Symbol symbols[kLitLenSymbols];
  int m = 0;
  for (int i = 0; i < n; ++i) {
    lengths[i] = 0;
    if (freq[i]) symbols[m++] = {freq[i], uint16_t(i)};
  }
  for (int i = 0; m < 2 && i < n; ++i)
    if (!freq[i]) symbols[m++] = {1, uint16_t(i)};
  std::sort(symbols, symbols + m, [](const Symbol& x, const Symbol& y) {
    return x.freq != y.freq ? x.freq < y.freq : x.index < y.index;
  });
  uint32_t depth[kLitLenSymbols];
  for (int i = 0; i < m; ++i) depth[i] = symbols[i].freq;
  MinimumRedundancy(depth, m);

  // Codes longer than the limit are shortened, and as many shorter codes
  // lengthened, until the lengths make a complete code again.
  uint32_t count[kMaxCodeBits + 2] = {};
  for (int i = 0; i < m; ++i) ++count[std::min<uint32_t>(depth[i], uint32_t(limit) + 1)];
  count[limit] += count[limit + 1];
  count[limit + 1] = 0;
  uint32_t total = 0;
  for (int bits = limit; bits > 0; --bits) total += count[bits] << (limit - bits);
  while (total != (1u << limit)) {
    --count[limit];
    for (int bits = limit - 1; bits > 0; --bits)
      if (count[bits]) {
        --count[bits];
        count[bits + 1] += 2;
        break;
      }
    --total;
  }
  int next = m - 1;  // heaviest first, shortest codes first
  for (int bits = 1; bits <= limit; ++bits)
    for (uint32_t c = count[bits]; c > 0; --c) lengths[symbols[next--].index] = uint8_t(bits);
}

// Canonical codes for the lengths, bit-reversed for writing first bit lowest.
void Codes(const uint8_t* lengths, int n, uint16_t* codes) {
  int count[kMaxCodeBits + 1] = {};
  for (int i = 0; i < n; ++i) ++count[lengths[i]];
  count[0] = 0;
  int next[kMaxCodeBits + 1] = {};
  int code = 0;
  for (int bits = 1; bits <= kMaxCodeBits; ++bits) {
    code = (code + count[bits - 1]) << 1;
    next[bits] = code;
  }
  for (int i = 0; i < n; ++i) {
    int len = lengths[i];
    if (!len) continue;
    unsigned c = unsigned(next[len]++), r = 0;
    for (int b = 0; b < len; ++b) r = (r << 1) | ((c >> b) & 1);
    codes[i] = uint16_t(r);
  }
}

// Equal bytes of p and q from the start, at most `limit`.
inline size_t MatchLength(const uint8_t* p, const uint8_t* q, size_t limit) {
  size_t n = 0;
  while (n + 8 <= limit) {
    uint64_t a, b;
    std::memcpy(&a, p + n, 8);
    std::memcpy(&b, q + n, 8);
    if (uint64_t x = a ^ b) return n + size_t(__builtin_ctzll(x)) / 8;
    n += 8;
  }
  while (n < limit && p[n] == q[n]) ++n;
  return n;
}

inline uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// Stored blocks of `n` bytes.
void WriteStored(BitWriter& bits, const uint8_t* data, size_t n) {
  bits.Reserve(n + (n / 65535 + 1) * 6);
  for (size_t at = 0; at < n;) {
    const size_t part = std::min<size_t>(n - at, 65535);
    bits.Put(0, 3);  // not final, stored
    bits.AlignToByte();
    bits.Put(uint32_t(part), 16);
    bits.Put(uint32_t(~part & 0xFFFF), 16);
    bits.AlignToByte();
    bits.Bytes(data + at, part);
    at += part;
  }
}

// Ends the data on a byte boundary with an empty stored block (a sync flush).
void WriteSyncFlush(BitWriter& bits) {
  bits.Reserve(8);
  bits.Put(0, 3);
  bits.AlignToByte();
  bits.Put(0, 16);
  bits.Put(0xFFFF, 16);
  bits.Finish();
}

// Writes one block of `tokens`, which encode bytes [begin, end) of `data`.
void WriteBlock(BitWriter& bits, const uint8_t* data, size_t begin, size_t end,
                const std::vector<PictureDeflater::Token>& tokens) {
  uint32_t lit_freq[kLitLenSymbols] = {}, dist_freq[kDistSymbols] = {};
  uint64_t extra_bits = 0;
  for (const PictureDeflater::Token& t : tokens) {
    if (t.distance == 0) {
      ++lit_freq[t.value];
      continue;
    }
    int lc = kCodes.length[t.value], dc = kCodes.Distance(t.distance);
    ++lit_freq[257 + lc];
    ++dist_freq[dc];
    extra_bits += kLengthExtra[lc] + kDistExtra[dc];
  }
  lit_freq[kEndOfBlock] = 1;
  uint8_t lit_len[kLitLenSymbols], dist_len[kDistSymbols];
  CodeLengths(lit_freq, kLitLenSymbols, kMaxCodeBits, lit_len);
  CodeLengths(dist_freq, kDistSymbols, kMaxCodeBits, dist_len);

  // The two tables' lengths as one run-length coded sequence.
  int hlit = kLitLenSymbols, hdist = kDistSymbols;
  while (hlit > 257 && lit_len[hlit - 1] == 0) --hlit;
  while (hdist > 1 && dist_len[hdist - 1] == 0) --hdist;
  uint8_t seq[kLitLenSymbols + kDistSymbols];
  std::memcpy(seq, lit_len, size_t(hlit));
  std::memcpy(seq + hlit, dist_len, size_t(hdist));
  const int seq_n = hlit + hdist;
  struct Rle {
    uint8_t symbol, extra;
  };
  Rle rle[kLitLenSymbols + kDistSymbols];
  int rle_n = 0;
  uint32_t cl_freq[19] = {};
  for (int i = 0; i < seq_n;) {
    const uint8_t len = seq[i];
    int run = 1;
    while (i + run < seq_n && seq[i + run] == len) ++run;
    i += run;
    if (len == 0) {
      for (; run >= 11; run -= std::min(run, 138)) rle[rle_n++] = {18, uint8_t(std::min(run, 138) - 11)};
      if (run >= 3) {
        rle[rle_n++] = {17, uint8_t(run - 3)};
        run = 0;
      }
    } else {
      rle[rle_n++] = {len, 0};
      --run;
      for (; run >= 3; run -= std::min(run, 6)) rle[rle_n++] = {16, uint8_t(std::min(run, 6) - 3)};
    }
    for (; run > 0; --run) rle[rle_n++] = {len, 0};
  }
  for (int i = 0; i < rle_n; ++i) ++cl_freq[rle[i].symbol];
  uint8_t cl_len[19];
  CodeLengths(cl_freq, 19, kMaxCodeLengthBits, cl_len);
  int hclen = 19;
  while (hclen > 4 && cl_len[kCodeLengthOrder[hclen - 1]] == 0) --hclen;

  // Cheaper stored? (Noise is.)
  static constexpr uint8_t kRleExtra[19] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};
  uint64_t dynamic = 3 + 14 + 3 * uint64_t(hclen) + extra_bits;
  for (int i = 0; i < rle_n; ++i) dynamic += cl_len[rle[i].symbol] + kRleExtra[rle[i].symbol];
  for (int s = 0; s < kLitLenSymbols; ++s) dynamic += uint64_t(lit_freq[s]) * lit_len[s];
  for (int s = 0; s < kDistSymbols; ++s) dynamic += uint64_t(dist_freq[s]) * dist_len[s];
  const size_t bytes = end - begin;
  const uint64_t stored = (bytes + 65534) / 65535 * 42 + uint64_t(bytes) * 8;
  if (stored <= dynamic) {
    WriteStored(bits, data + begin, end - begin);
    return;
  }

  uint16_t lit_code[kLitLenSymbols], dist_code[kDistSymbols], cl_code[19];
  Codes(lit_len, kLitLenSymbols, lit_code);
  Codes(dist_len, kDistSymbols, dist_code);
  Codes(cl_len, 19, cl_code);
  bits.Reserve(size_t(dynamic / 8) + 16);
  bits.Put(2 << 1, 3);  // not final, dynamic Huffman
  bits.Put(uint32_t(hlit - 257), 5);
  bits.Put(uint32_t(hdist - 1), 5);
  bits.Put(uint32_t(hclen - 4), 4);
  for (int i = 0; i < hclen; ++i) bits.Put(cl_len[kCodeLengthOrder[i]], 3);
  for (int i = 0; i < rle_n; ++i) {
    bits.Put(cl_code[rle[i].symbol], cl_len[rle[i].symbol]);
    if (kRleExtra[rle[i].symbol]) bits.Put(rle[i].extra, kRleExtra[rle[i].symbol]);
  }
  for (const PictureDeflater::Token& t : tokens) {
    if (t.distance == 0) {
      bits.Put(lit_code[t.value], lit_len[t.value]);
      continue;
    }
    const int lc = kCodes.length[t.value], dc = kCodes.Distance(t.distance);
    bits.Put(lit_code[257 + lc], lit_len[257 + lc]);
    if (kLengthExtra[lc]) bits.Put(t.value - kLengthBase[lc], kLengthExtra[lc]);
    bits.Put(dist_code[dc], dist_len[dc]);
    if (kDistExtra[dc]) bits.Put(t.distance - kDistBase[dc], kDistExtra[dc]);
  }
  bits.Put(lit_code[kEndOfBlock], lit_len[kEndOfBlock]);
}

}  // namespace

PictureDeflater::PictureDeflater(int chain_depth)
    : chain_depth_(std::max(1, chain_depth)), head_(size_t(1) << kHashBits), chain_(kWindow / 4) {
  tokens_.reserve(kBlockTokens + 8);
}

void PictureDeflater::Deflate(const uint8_t* pixels, size_t size, size_t row_bytes, std::vector<uint8_t>* out) {
  BitWriter bits(out);
  std::fill(head_.begin(), head_.end(), 0);
  tokens_.clear();
  // Distances worth a look, nearest first so that ties code shorter: the
  // pixel to the left, above, above-right, above-left.
  const size_t tried[4] = {4, row_bytes, row_bytes - 4, row_bytes + 4};
  size_t begin = 0, pos = 0;
  // Remembers where the three pixels at `at` were seen, under their hash.
  auto insert = [&](size_t at, uint32_t hash) {
    chain_[(at / 4) % chain_.size()] = head_[hash];
    head_[hash] = uint32_t(at + 1);
  };
  auto hash_at = [&](size_t at) {
    uint64_t two;
    std::memcpy(&two, pixels + at, 8);
    const uint64_t three = two ^ (uint64_t(Load32(pixels + at + 8)) * 0xC2B2AE3D27D4EB4Full);
    return uint32_t((three * 0x9E3779B97F4A7C15ull) >> (64 - kHashBits));
  };
  // The longest match at `at` (0 when none is worth it), its distance in
  // `distance`; remembers `at` when it starts a pixel.
  auto longest = [&](size_t at, size_t* distance) {
    const size_t limit = std::min(kMaxMatch, size - at);
    if (limit < kMinMatch) return size_t(0);
    const uint8_t* p = pixels + at;
    const uint32_t head = Load32(p);
    size_t best = 0;
    auto consider = [&](size_t d) {
      if (d == 0 || d > at || d > kWindow || Load32(p - d) != head) return;
      size_t n = MatchLength(p, p - d, limit);
      if (n > best) best = n, *distance = d;
    };
    for (size_t d : tried) {
      consider(d);
      if (best == limit) return best;
    }
    if (at % 4 == 0 && limit >= 12) {
      const uint32_t hash = hash_at(at);
      uint32_t seen = head_[hash];
      for (int depth = 0; seen && best < limit && depth < chain_depth_; ++depth) {
        const size_t from = seen - 1, d = at - from;
        if (d > kWindow) break;
        consider(d);
        seen = chain_[(from / 4) % chain_.size()];
        if (seen && seen - 1 >= from) break;  // a link overwritten by a newer position
      }
      insert(at, hash);
    }
    return best;
  };
  while (pos < size) {
    size_t distance = 0;
    const size_t length = longest(pos, &distance);
    if (length >= kMinMatch) {
      tokens_.push_back({uint16_t(length), uint16_t(distance)});
      // Short matches leave their positions to be found again.
      if (length <= kInsertWithin)
        for (size_t at = (pos + 4) & ~size_t(3); at + 12 <= pos + length; at += 4) insert(at, hash_at(at));
      pos += length;
    } else {
      do tokens_.push_back({pixels[pos], 0});
      while (++pos % 4 != 0 && pos < size);
    }
    if (tokens_.size() >= kBlockTokens) {
      WriteBlock(bits, pixels, begin, pos, tokens_);
      tokens_.clear();
      begin = pos;
    }
  }
  if (!tokens_.empty()) WriteBlock(bits, pixels, begin, pos, tokens_);
  WriteSyncFlush(bits);
}

void PictureDeflater::Store(const uint8_t* pixels, size_t size, std::vector<uint8_t>* out) {
  BitWriter bits(out);
  WriteStored(bits, pixels, size);
  WriteSyncFlush(bits);
}

}  // namespace vemtra::codec
