// ffmpeg as the independent judge of the bitstream, in both directions.
#include <gtest/gtest.h>

#include <cstring>

#include "codec/compressed_stream.h"
#include "codec/frame_reader.h"
#include "codec/zmbv_decoder.h"
#include "codec/zmbv_encoder.h"
#include "codec/zmbv_format.h"
#include "common/avi/avi_reader.h"
#include "common/avi/compressed_stream_info.h"
#include "tests/unit/avi/media_fixtures.h"
#include "tests/unit/avi/test_files.h"
#include "tests/unit/codec/screen_scenes.h"

namespace vemtra::codec {
namespace {

using testing::Scene;
using testing::SceneRenderer;

// A 32-bit bottom-up DIB as ffmpeg's top-down bgr0 rows.
std::vector<uint8_t> TopDownBgr0(const std::vector<uint8_t>& dib, int w, int h) {
  std::vector<uint8_t> out(dib.size());
  for (int y = 0; y < h; ++y) std::memcpy(&out[size_t(y) * w * 4], &dib[size_t(h - 1 - y) * w * 4], size_t(w) * 4);
  for (size_t i = 3; i < out.size(); i += 4) out[i] = 0;
  return out;
}

TEST(ZmbvWithFfmpeg, OurFilesDecodeInFfmpegToOurFrames) {
  SKIP_WITHOUT_FFMPEG();
  constexpr int kW = 150, kH = 90, kFrames = 45;
  struct Case {
    Scene scene;
    ZmbvOptions options;
  };
  const Case cases[] = {
      {Scene::kScrollingText, {}},
      {Scene::kMovingWindow, ZmbvOptions::Small(0)},
      {Scene::kNoise, {}},  // Huffman-only frames after the first
      {Scene::kStaticDesktop, ZmbvOptions::Small(0)},  // key frames repeat earlier ones
  };
  for (const auto& c : cases) {
    Scene s = c.scene;
    SCOPED_TRACE(testing::SceneName(s));
    testing::TempDir dir;
    std::string path = dir.File("ours.avi");
    SceneRenderer scene(s, kW, kH);
    std::vector<uint8_t> expected;
    int64_t sound_samples = 0;
    {
      auto writer = avi::AviWriter::Create(path);
      ASSERT_TRUE(writer);
      avi::StreamRate rate = avi::RecorderStreamRate(30);
      int vs = writer->CreateStream(avi::CompressedStreamInfo(zmbv::kFourCC, kW, kH, rate));
      avi::StreamInfo a;
      a.fccType = avi::kStreamTypeAudio;
      int as = writer->CreateStream(a);
      auto pcm = testing::PcmFormat(1, 44100);
      ASSERT_TRUE(writer->SetFormat(as, pcm.data(), pcm.size()));
      CompressedVideoStream video(*writer, vs, std::make_unique<ZmbvEncoder>(c.options), 10);
      auto header = testing::RawVideoFormat(kW, kH);
      ASSERT_TRUE(video.SetFormat(header.data(), header.size()));
      for (int n = 0; n < kFrames; ++n) {
        auto frame = scene.Frame(n);
        ASSERT_TRUE(video.Write(n, frame.data(), n == 0 ? avi::kAviIfKeyFrame : 0));
        auto td = TopDownBgr0(frame, kW, kH);
        expected.insert(expected.end(), td.begin(), td.end());
        std::vector<uint8_t> sound(1470 * 2, uint8_t(n));  // 1/30 s of mono sound
        ASSERT_TRUE(writer->Write(as, -1, 1470, sound.data(), sound.size(), 0));
        sound_samples += 1470;
      }
      ASSERT_TRUE(writer->Close());
    }
    std::string out;
    ASSERT_EQ(testing::Run("ffmpeg -nostdin -v error -i '" + path + "' -map 0:v -f rawvideo -pix_fmt bgr0 '" +
                           dir.File("ffmpeg.raw") + "' 2>&1", &out), 0) << out;
    EXPECT_EQ(out, "");
    auto decoded = testing::ReadFileBytes(dir.File("ffmpeg.raw"));
    ASSERT_EQ(decoded.size(), expected.size());
    for (int n = 0; n < kFrames; ++n) {
      size_t f = size_t(kW) * kH * 4;
      ASSERT_TRUE(std::equal(decoded.begin() + n * f, decoded.begin() + (n + 1) * f, expected.begin() + n * f))
          << "frame " << n;
    }
    // The stream facts as ffprobe sees them, with no warning.
    ASSERT_EQ(testing::Run("ffprobe -v warning -show_entries stream=codec_name,nb_frames,time_base,"
                           "duration_ts,sample_rate -of compact=p=0:nk=1 '" + path + "' 2>&1", &out), 0);
    // The recorder's rate 268363650 / 8945455 is exactly 30.
    EXPECT_EQ(out, "zmbv|1/30|45|45\n"
                   "pcm_s16le|44100|1/44100|N/A|" + std::to_string(sound_samples) + "\n");
  }
}

struct PixFmtCase {
  const char* pix_fmt;
  int bytes_per_pixel;
};

TEST(ZmbvWithFfmpeg, FfmpegFilesDecodeInOursToFfmpegsFrames) {
  SKIP_WITHOUT_FFMPEG();
  constexpr int kW = 98, kH = 62, kFrames = 25;  // testsrc2 needs even sides
  const PixFmtCase cases[] = {{"bgr0", 4}, {"rgb565le", 2}, {"rgb555le", 2}, {"pal8", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pix_fmt);
    testing::TempDir dir;
    std::string avi_path = dir.File("ffmpeg.avi"), raw = dir.File("ffmpeg.raw");
    std::string source = "-f lavfi -i testsrc2=s=" + std::to_string(kW) + "x" + std::to_string(kH) + ":r=10";
    std::string out;
    ASSERT_EQ(testing::Run("ffmpeg -nostdin -v error " + source + " -frames:v " + std::to_string(kFrames) +
                           " -pix_fmt " + c.pix_fmt + " -c:v zmbv '" + avi_path + "' 2>&1", &out), 0) << out;
    ASSERT_EQ(testing::Run("ffmpeg -nostdin -v error -i '" + avi_path + "' -f rawvideo -pix_fmt " + c.pix_fmt +
                           " '" + raw + "' 2>&1", &out), 0) << out;
    auto reference = testing::ReadFileBytes(raw);
    // ffmpeg's raw pal8 frames carry their palette (1024 bytes) after the pixels.
    size_t pixel_bytes = size_t(kW) * kH * c.bytes_per_pixel;
    size_t frame_bytes = pixel_bytes + (c.bytes_per_pixel == 1 ? 1024 : 0);
    ASSERT_EQ(reference.size(), frame_bytes * kFrames);

    auto file = avi::AviFile::Open(avi_path);
    ASSERT_TRUE(file);
    auto video = file->GetStream(avi::kStreamTypeVideo, 0);
    ASSERT_TRUE(video);
    ASSERT_EQ(video->Length(), kFrames);
    ZmbvDecoder dec;
    ASSERT_TRUE(dec.Begin(video->Format()));
    std::vector<uint8_t> dib(size_t(kW) * kH * 4);
    for (int n = 0; n < kFrames; ++n) {
      std::vector<uint8_t> chunk;
      int64_t got;
      ASSERT_TRUE(video->Read(n, 1, &chunk, &got));
      ASSERT_TRUE(dec.Decompress(chunk.data(), chunk.size(), dib.data())) << n;
      ASSERT_EQ(dec.BytesPerPixel(), c.bytes_per_pixel);
      const uint8_t* ref = &reference[n * frame_bytes];
      ASSERT_EQ(std::memcmp(dec.NativeFrame().data(), ref, pixel_bytes), 0) << "frame " << n;
      if (c.bytes_per_pixel == 4) {
        // ffmpeg fills the unused byte with 255; a DIB leaves it 0.
        std::vector<uint8_t> want(ref, ref + pixel_bytes);
        for (size_t i = 3; i < want.size(); i += 4) want[i] = 0;
        EXPECT_EQ(TopDownBgr0(dib, kW, kH), want) << n;
      }
      if (c.bytes_per_pixel == 1) {
        for (int i = 0; i < 256; ++i) {  // ffmpeg: B, G, R, A; ZMBV: R, G, B
          const uint8_t* e = ref + pixel_bytes + i * 4;
          const uint8_t* p = dec.Palette() + i * 3;
          ASSERT_TRUE(e[0] == p[2] && e[1] == p[1] && e[2] == p[0]) << "palette " << i << " frame " << n;
        }
      }
    }
  }
}

}  // namespace
}  // namespace vemtra::codec
