// Any bytes as a run of ZMBV chunks: the decoder must refuse what it cannot
// decode and never crash or read outside a chunk.
#include <cstdint>
#include <vector>

#include "codec/zmbv_decoder.h"

using namespace vemtra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  codec::ZmbvDecoder dec;
  codec::FrameSize s{data[0] % 80 + 1, data[1] % 80 + 1};
  if (!dec.Begin(s)) return 0;
  std::vector<uint8_t> dib(size_t(s.width) * s.height * 4);
  size_t pos = 2;
  while (pos + 2 <= size) {
    size_t n = data[pos] | size_t(data[pos + 1]) << 8;
    pos += 2;
    if (n > size - pos) n = size - pos;
    // Each chunk in its own allocation, so a read past it is caught.
    std::vector<uint8_t> chunk(data + pos, data + pos + n);
    dec.Decompress(chunk.data(), chunk.size(), dib.data());
    pos += n;
  }
  return 0;
}
