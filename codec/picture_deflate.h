// Deflate for whole pictures of 32-bit pixels, several times faster than
// zlib on screens and about as small: matches are looked for only where a
// screen repeats itself (the pixel to the left, the pixels above, the last
// places the same three pixels were seen), and each block gets Huffman tables
// of its own, or is stored when nothing shrinks.
//
// The output is raw deflate that does not end the stream: its blocks are not
// final and it closes with a sync flush marker, so a zlib stream can go on
// after it (deflateReset, then deflateSetDictionary with the picture's last
// 32 KB).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vemtra::codec {

class PictureDeflater {
 public:
  explicit PictureDeflater(int chain_depth = 8);

  // Appends the deflate data of `size` bytes of pixels in rows of
  // `row_bytes` to `out`.
  void Deflate(const uint8_t* pixels, size_t size, size_t row_bytes, std::vector<uint8_t>* out);
  // The same in stored blocks, for pictures that do not shrink.
  void Store(const uint8_t* pixels, size_t size, std::vector<uint8_t>* out);

  struct Token {
    uint16_t value;     // a literal byte, or a match length 3 … 258
    uint16_t distance;  // 0 for a literal, else 1 … 32768
  };

 private:
  std::vector<Token> tokens_;        // of the block being gathered
  int chain_depth_;                 // places with the same three pixels tried
  std::vector<uint32_t> head_;      // hash of three pixels → the last position + 1 they were at
  std::vector<uint32_t> chain_;     // position / 4 in the window → the position + 1 before
};

}  // namespace vemtra::codec
