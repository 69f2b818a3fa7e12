#include <gtest/gtest.h>

#include <cstring>

#include "codec/zmbv_decoder.h"
#include "codec/zmbv_encoder.h"
#include "codec/zmbv_format.h"
#include "tests/unit/codec/screen_scenes.h"

namespace vemtra::codec {
namespace {

using testing::Scene;
using testing::SceneRenderer;

// What the decoder must give back for a source frame: the same pixels with
// the unused fourth byte 0.
std::vector<uint8_t> Expected(std::vector<uint8_t> dib) {
  for (size_t i = 3; i < dib.size(); i += 4) dib[i] = 0;
  return dib;
}

struct RoundTripCase {
  Scene scene;
  int width, height, frames;
  ZmbvOptions options;
};

TEST(Zmbv, DecodesExactlyWhatItEncoded) {
  const RoundTripCase cases[] = {
      {Scene::kStaticDesktop, 64, 48, 40, {6, 10, 4, 0}},
      {Scene::kScrollingText, 200, 120, 30, {1, 0, 1, 0}},
      {Scene::kMovingWindow, 161, 97, 30, ZmbvOptions::Small(10)},  // sides not multiples of 16
      {Scene::kMovingWindow, 161, 97, 30, {6, 7, 2, 3}},
      {Scene::kNoise, 33, 17, 12, {6, 5, 6, 0}},  // Huffman-only frames
      {Scene::kMovingWindow, 1, 1, 5, {}},
      {Scene::kScrollingText, 17, 300, 10, {9, 3, 1, 6}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(testing::SceneName(c.scene)) + " " + std::to_string(c.width) + "x" +
                 std::to_string(c.height));
    SceneRenderer scene(c.scene, c.width, c.height);
    ZmbvEncoder enc(c.options);
    ZmbvDecoder dec;
    ASSERT_TRUE(enc.Begin({c.width, c.height}));
    ASSERT_TRUE(dec.Begin(enc.OutputFormat()));
    std::vector<uint8_t> out(scene.FrameBytes());
    for (int n = 0; n < c.frames; ++n) {
      auto src = scene.Frame(n);
      src[3] = 0xAB;  // the unused byte must not reach the stream
      std::vector<uint8_t> chunk;
      bool key = false;
      ASSERT_TRUE(enc.Compress(src.data(), false, &chunk, &key));
      int interval = c.options.key_interval;
      bool want_key = n == 0 || (interval && n % interval == 0);
      EXPECT_EQ(key, want_key) << n;
      ASSERT_FALSE(chunk.empty());
      EXPECT_EQ(chunk[0], key ? 1 : 0);
      if (key) {
        const uint8_t head[] = {1, 0, 1, 1, 8, 16, 16, 0x78};
        ASSERT_GE(chunk.size(), sizeof head);
        EXPECT_EQ(std::memcmp(chunk.data(), head, sizeof head), 0);
      }
      ASSERT_TRUE(dec.Decompress(chunk.data(), chunk.size(), out.data())) << n;
      ASSERT_EQ(out, Expected(src)) << n;
    }
  }
}

TEST(Zmbv, FindsScrollsAndMovedWindowsInsteadOfResendingThem) {
  for (Scene s : {Scene::kScrollingText, Scene::kMovingWindow}) {
    SCOPED_TRACE(testing::SceneName(s));
    SceneRenderer scene(s, 320, 240);
    ZmbvEncoder enc;
    ASSERT_TRUE(enc.Begin({320, 240}));
    std::vector<uint8_t> key, inter;
    bool k;
    ASSERT_TRUE(enc.Compress(scene.Frame(0).data(), false, &key, &k));
    for (int n = 1; n < 5; ++n) {
      inter.clear();
      ASSERT_TRUE(enc.Compress(scene.Frame(n).data(), false, &inter, &k));
      EXPECT_LT(inter.size() * 4, key.size()) << n;
    }
  }
}

TEST(Zmbv, RepeatsTheBytesOfAnUnchangedKeyFrame) {
  SceneRenderer still(Scene::kStaticDesktop, 64, 40), moving(Scene::kMovingWindow, 64, 40);
  ZmbvEncoder enc(ZmbvOptions{6, 3});
  ASSERT_TRUE(enc.Begin({64, 40}));
  ZmbvDecoder dec;
  ASSERT_TRUE(dec.Begin(FrameSize{64, 40}));
  std::vector<uint8_t> out(64 * 40 * 4);
  std::vector<std::vector<uint8_t>> keys;
  for (int n = 0; n < 13; ++n) {
    // Frames 6 to 8 change; the key frame at 6 differs, the one at 9 is the
    // still picture again.
    auto frame = n >= 6 && n < 9 ? moving.Frame(n) : still.Frame(0);
    std::vector<uint8_t> chunk;
    bool key;
    ASSERT_TRUE(enc.Compress(frame.data(), false, &chunk, &key));
    if (key) keys.push_back(chunk);
    ASSERT_TRUE(dec.Decompress(chunk.data(), chunk.size(), out.data())) << n;
    ASSERT_EQ(out, Expected(frame)) << n;
  }
  ASSERT_EQ(keys.size(), 5u);
  EXPECT_EQ(keys[1], keys[0]);
  EXPECT_NE(keys[2], keys[0]);
  EXPECT_EQ(keys[3], keys[0]);
  EXPECT_EQ(keys[4], keys[0]);
}

TEST(Zmbv, ForcedKeyFramesRestartTheZlibStream) {
  SceneRenderer scene(Scene::kMovingWindow, 48, 32);
  ZmbvEncoder enc;
  ASSERT_TRUE(enc.Begin({48, 32}));
  std::vector<std::vector<uint8_t>> chunks;
  for (int n = 0; n < 6; ++n) {
    std::vector<uint8_t> c;
    bool key;
    ASSERT_TRUE(enc.Compress(scene.Frame(n).data(), n == 3, &c, &key));
    EXPECT_EQ(key, n == 0 || n == 3);
    chunks.push_back(c);
  }
  // A decoder that starts at the forced key frame needs nothing before it.
  ZmbvDecoder dec;
  ASSERT_TRUE(dec.Begin(FrameSize{48, 32}));
  std::vector<uint8_t> out(48 * 32 * 4);
  for (int n = 3; n < 6; ++n) {
    ASSERT_TRUE(dec.Decompress(chunks[n].data(), chunks[n].size(), out.data()));
    EXPECT_EQ(out, Expected(scene.Frame(n)));
  }
}

// Hand-made chunks with the payload stored raw (compression 0).
std::vector<uint8_t> RawKey(uint8_t format, uint8_t bw, uint8_t bh, const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> c = {1, 0, 1, 0, format, bw, bh};
  c.insert(c.end(), payload.begin(), payload.end());
  return c;
}

TEST(ZmbvDecoder, DisplacesBlocksWithZerosOutsideTheFrameAndAppliesXor) {
  // 4 × 2 pixels, 32-bit, 2 × 2 blocks: two blocks side by side.
  ZmbvDecoder dec;
  ASSERT_TRUE(dec.Begin(FrameSize{4, 2}));
  std::vector<uint8_t> pixels(4 * 2 * 4);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i + 1);
  auto key = RawKey(zmbv::kFormat32, 2, 2, pixels);
  std::vector<uint8_t> out(4 * 2 * 4);
  ASSERT_TRUE(dec.Decompress(key.data(), key.size(), out.data()));
  // Block 0 takes (dx, dy) = (2, 0): the right block. Block 1 takes
  // (1, -1) with XOR data: its top row comes from outside the frame.
  std::vector<uint8_t> inter = {0, uint8_t(2 << 1), 0, uint8_t((1 << 1) | 1), uint8_t(-1 * 2)};
  // Two blocks make a 4-byte table: no padding.
  std::vector<uint8_t> x(2 * 2 * 4, 0);
  x[0] = 0xFF;  // XOR into the block's first byte
  inter.insert(inter.end(), x.begin(), x.end());
  ASSERT_TRUE(dec.Decompress(inter.data(), inter.size(), out.data()));
  const auto& f = dec.NativeFrame();
  auto px = [&](const std::vector<uint8_t>& v, int x0, int y0) { return std::vector<uint8_t>(v.begin() + (y0 * 4 + x0) * 4, v.begin() + (y0 * 4 + x0) * 4 + 4); };
  EXPECT_EQ(px(f, 0, 0), px(pixels, 2, 0));
  EXPECT_EQ(px(f, 1, 1), px(pixels, 3, 1));
  EXPECT_EQ(px(f, 2, 0), (std::vector<uint8_t>{0xFF, 0, 0, 0}));  // outside, then XOR
  EXPECT_EQ(px(f, 3, 0), (std::vector<uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(px(f, 2, 1), px(pixels, 3, 0));
  EXPECT_EQ(px(f, 3, 1), (std::vector<uint8_t>{0, 0, 0, 0}));  // right of the frame
  // The DIB is bottom-up: its first row is the frame's bottom row.
  EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 4), px(pixels, 2, 1));
}

TEST(ZmbvDecoder, ShowsPalettedFramesAndPaletteChanges) {
  ZmbvDecoder dec;
  ASSERT_TRUE(dec.Begin(FrameSize{2, 1}));
  std::vector<uint8_t> payload(768, 0);
  payload[3] = 10, payload[4] = 20, payload[5] = 30;  // entry 1: R, G, B
  payload.push_back(1);
  payload.push_back(0);
  auto key = RawKey(zmbv::kFormat8, 16, 16, payload);
  std::vector<uint8_t> out(8);
  ASSERT_TRUE(dec.Decompress(key.data(), key.size(), out.data()));
  EXPECT_EQ(out, (std::vector<uint8_t>{30, 20, 10, 0, 0, 0, 0, 0}));
  std::vector<uint8_t> inter = {zmbv::kFlagDeltaPalette};
  std::vector<uint8_t> delta(768, 0);
  delta[0] = 0xFF;  // entry 0 red
  inter.insert(inter.end(), delta.begin(), delta.end());
  inter.insert(inter.end(), {0, 0, 0, 0});  // one block, unchanged
  ASSERT_TRUE(dec.Decompress(inter.data(), inter.size(), out.data()));
  EXPECT_EQ(out, (std::vector<uint8_t>{30, 20, 10, 0, 0, 0, 0xFF, 0}));
}

TEST(ZmbvDecoder, RefusesBrokenChunksAndRecoversAtTheNextKeyFrame) {
  SceneRenderer scene(Scene::kMovingWindow, 40, 24);
  ZmbvEncoder enc;
  ASSERT_TRUE(enc.Begin({40, 24}));
  std::vector<uint8_t> key, inter;
  bool k;
  ASSERT_TRUE(enc.Compress(scene.Frame(0).data(), false, &key, &k));
  ASSERT_TRUE(enc.Compress(scene.Frame(1).data(), false, &inter, &k));
  auto with = [](std::vector<uint8_t> c, size_t at, uint8_t v) {
    c[at] = v;
    return c;
  };
  struct Broken {
    const char* name;
    std::vector<std::vector<uint8_t>> chunks;  // the last one must fail
  };
  std::vector<uint8_t> raw_short = RawKey(zmbv::kFormat32, 16, 16, std::vector<uint8_t>(40 * 24 * 4 - 1));
  const Broken cases[] = {
      {"inter frame before any key frame", {inter}},
      {"key header cut short", {{1, 0, 1, 1}}},
      {"unknown format", {with(key, 4, 9)}},
      {"format 0", {with(key, 4, 0)}},
      {"zero block width", {with(key, 5, 0)}},
      {"zero block height", {with(key, 6, 0)}},
      {"unknown version", {with(key, 2, 2)}},
      {"unknown compression", {with(key, 3, 2)}},
      {"stored payload shorter than the frame", {raw_short}},
      {"zlib data cut short", {std::vector<uint8_t>(key.begin(), key.begin() + key.size() / 3)}},
      {"zlib data damaged", {with(key, 7, 0x00)}},
      {"inter frame data cut short", {key, std::vector<uint8_t>(inter.begin(), inter.begin() + 3)}},
  };
  std::vector<uint8_t> out(40 * 24 * 4);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ZmbvDecoder dec;
    ASSERT_TRUE(dec.Begin(FrameSize{40, 24}));
    for (size_t i = 0; i + 1 < c.chunks.size(); ++i)
      ASSERT_TRUE(dec.Decompress(c.chunks[i].data(), c.chunks[i].size(), out.data()));
    EXPECT_FALSE(dec.Decompress(c.chunks.back().data(), c.chunks.back().size(), out.data()));
    ASSERT_TRUE(dec.Decompress(key.data(), key.size(), out.data()));
    EXPECT_EQ(out, Expected(scene.Frame(0)));
  }
}

TEST(ZmbvDecoder, RefusesFrameSizesItCannotHold) {
  ZmbvDecoder dec;
  for (FrameSize s : {FrameSize{0, 10}, FrameSize{10, -1}, FrameSize{40000, 10}, FrameSize{16384, 16384}})
    EXPECT_FALSE(dec.Begin(s)) << s.width << "x" << s.height;
}

}  // namespace
}  // namespace vemtra::codec
