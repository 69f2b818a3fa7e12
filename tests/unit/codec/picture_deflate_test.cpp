// The key-frame deflater: whatever the picture, zlib inflates its output to
// exactly the picture, the stream stays open for zlib to go on, and screens
// shrink as they do with zlib.
#include "codec/picture_deflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/unit/codec/screen_scenes.h"

namespace vemtra::codec {
namespace {

using testing::Scene;
using testing::SceneRenderer;

std::vector<uint8_t> TopDown(Scene scene, int w, int h, int frame = 3) {
  SceneRenderer r(scene, w, h);
  std::vector<uint8_t> dib = r.Frame(frame), rows(dib.size());
  for (int y = 0; y < h; ++y)
    std::memcpy(&rows[size_t(y) * w * 4], &dib[size_t(h - 1 - y) * w * 4], size_t(w) * 4);
  return rows;
}

// Inflates raw deflate data that must end on a sync flush, not on a final
// block.
std::vector<uint8_t> Inflate(const std::vector<uint8_t>& data, size_t expected) {
  z_stream zs{};
  EXPECT_EQ(inflateInit2(&zs, -15), Z_OK);
  std::vector<uint8_t> out(expected + 64);
  zs.next_in = const_cast<Bytef*>(data.data());
  zs.avail_in = static_cast<uInt>(data.size());
  zs.next_out = out.data();
  zs.avail_out = static_cast<uInt>(out.size());
  int r = inflate(&zs, Z_SYNC_FLUSH);
  EXPECT_TRUE(r == Z_OK || (r == Z_BUF_ERROR && expected == 0)) << "inflate returned " << r;
  EXPECT_EQ(zs.avail_in, 0u) << "all input used";
  out.resize(zs.total_out);
  inflateEnd(&zs);
  return out;
}

struct PictureCase {
  std::string name;
  std::vector<uint8_t> pixels;
  size_t row_bytes;
};

std::vector<PictureCase> Pictures() {
  std::vector<PictureCase> cases;
  cases.push_back({"nothing", {}, 4});
  cases.push_back({"one pixel", {1, 2, 3, 0}, 4});
  cases.push_back({"one column", TopDown(Scene::kMovingWindow, 1, 300), 4});
  cases.push_back({"flat, runs far over 258 bytes", std::vector<uint8_t>(1920 * 64 * 4, 0x5A), 1920 * 4});
  for (Scene s : {Scene::kStaticDesktop, Scene::kScrollingText, Scene::kMovingWindow, Scene::kNoise})
    cases.push_back({testing::SceneName(s), TopDown(s, 333, 217), 333 * 4});
  // Rows longer than the 32 KB window: nothing above can be reached.
  cases.push_back({"rows wider than the window", TopDown(Scene::kMovingWindow, 9000, 12), 9000 * 4});
  // Blocks end within runs of literals and within the picture's rows.
  cases.push_back({"several stored blocks", TopDown(Scene::kNoise, 700, 120), 700 * 4});
  cases.push_back({"several Huffman blocks", TopDown(Scene::kScrollingText, 1200, 400), 1200 * 4});
  // Byte values as often as the Fibonacci numbers, shuffled: a Huffman code
  // for them is deeper than deflate's 15 bits and must be shortened.
  std::vector<uint8_t> skewed;
  for (uint32_t a = 1, b = 1, value = 0; value < 24; ++value, b += a, a = b - a) skewed.insert(skewed.end(), a, uint8_t(value * 11));
  uint32_t seed = 1;
  for (size_t i = skewed.size() - 1; i > 0; --i) {
    seed = seed * 1103515245u + 12345u;
    std::swap(skewed[i], skewed[(seed >> 8) % (i + 1)]);
  }
  skewed.resize(skewed.size() & ~size_t(3));
  cases.push_back({"codes deeper than 15 bits", skewed, 1024});
  return cases;
}

TEST(PictureDeflate, InflatesToThePictureAndLeavesTheStreamOpen) {
  for (int search : {1, 8, 64}) {
    PictureDeflater deflater(search);
    for (const PictureCase& c : Pictures()) {
      SCOPED_TRACE(c.name + ", search " + std::to_string(search));
      std::vector<uint8_t> out{0xEE};  // appended after what is there
      deflater.Deflate(c.pixels.data(), c.pixels.size(), c.row_bytes, &out);
      ASSERT_EQ(out[0], 0xEE);
      out.erase(out.begin());
      ASSERT_GE(out.size(), 4u);
      EXPECT_EQ(std::vector<uint8_t>(out.end() - 4, out.end()), (std::vector<uint8_t>{0, 0, 0xFF, 0xFF}))
          << "ends on a sync flush";
      EXPECT_EQ(Inflate(out, c.pixels.size()), c.pixels);

      std::vector<uint8_t> stored;
      deflater.Store(c.pixels.data(), c.pixels.size(), &stored);
      EXPECT_EQ(Inflate(stored, c.pixels.size()), c.pixels);
    }
  }
}

// zlib goes on after the picture with it as its window: what it writes
// then refers back into the picture and inflates in the same stream.
TEST(PictureDeflate, ZlibGoesOnWithThePictureAsItsWindow) {
  const std::vector<uint8_t> picture = TopDown(Scene::kMovingWindow, 160, 120);
  std::vector<uint8_t> stream;
  PictureDeflater().Deflate(picture.data(), picture.size(), 160 * 4, &stream);

  z_stream zs{};
  ASSERT_EQ(deflateInit2(&zs, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
  ASSERT_EQ(deflateSetDictionary(&zs, &picture[picture.size() - 32768], 32768), Z_OK);
  std::vector<uint8_t> more(picture.end() - 20000, picture.end()), tail(30000);
  zs.next_in = more.data();
  zs.avail_in = static_cast<uInt>(more.size());
  zs.next_out = tail.data();
  zs.avail_out = static_cast<uInt>(tail.size());
  ASSERT_EQ(deflate(&zs, Z_SYNC_FLUSH), Z_OK);
  tail.resize(zs.total_out);
  deflateEnd(&zs);
  EXPECT_LT(tail.size(), 200u) << "a repeat of the picture's end is a few matches";

  stream.insert(stream.end(), tail.begin(), tail.end());
  std::vector<uint8_t> expected = picture;
  expected.insert(expected.end(), more.begin(), more.end());
  EXPECT_EQ(Inflate(stream, expected.size()), expected);
}

// Screens shrink about as much as zlib makes them, noise is stored and
// does not grow by more than the block headers.
TEST(PictureDeflate, ScreensShrinkLikeZlibAndNoiseStaysItsSize) {
  for (Scene s : {Scene::kStaticDesktop, Scene::kScrollingText, Scene::kMovingWindow}) {
    SCOPED_TRACE(testing::SceneName(s));
    const std::vector<uint8_t> picture = TopDown(s, 640, 360);
    std::vector<uint8_t> ours;
    PictureDeflater().Deflate(picture.data(), picture.size(), 640 * 4, &ours);
    uLongf zlib_size = compressBound(uLong(picture.size()));
    std::vector<uint8_t> theirs(zlib_size);
    ASSERT_EQ(compress2(theirs.data(), &zlib_size, picture.data(), uLong(picture.size()), 6), Z_OK);
    EXPECT_LT(ours.size(), zlib_size * 3 / 2);
  }
  const std::vector<uint8_t> noise = TopDown(Scene::kNoise, 640, 360);
  std::vector<uint8_t> ours;
  PictureDeflater().Deflate(noise.data(), noise.size(), 640 * 4, &ours);
  EXPECT_LE(ours.size(), noise.size() + noise.size() / 65535 * 5 + 16);
}

}  // namespace
}  // namespace vemtra::codec
