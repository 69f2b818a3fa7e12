#include "codec/frame_reader.h"

#include <gtest/gtest.h>

#include "codec/compressed_stream.h"
#include "codec/zmbv_encoder.h"
#include "codec/zmbv_format.h"
#include "common/avi/avi_reader.h"
#include "common/avi/compressed_stream_info.h"
#include "common/avi/editable_stream.h"
#include "tests/unit/avi/media_fixtures.h"
#include "tests/unit/avi/test_files.h"
#include "tests/unit/codec/screen_scenes.h"

namespace vemtra::codec {
namespace {

using testing::Scene;
using testing::SceneRenderer;

constexpr int kW = 72, kH = 40;

std::vector<uint8_t> Masked(std::vector<uint8_t> dib) {
  for (size_t i = 3; i < dib.size(); i += 4) dib[i] = 0;
  return dib;
}

// A ZMBV file of `frames` frames of the scene, a key frame every 10.
void WriteZmbv(const std::string& path, Scene scene, int frames) {
  auto w = avi::AviWriter::Create(path);
  ASSERT_TRUE(w);
  int s = w->CreateStream(avi::CompressedStreamInfo(zmbv::kFourCC, kW, kH, avi::RecorderStreamRate(30)));
  CompressedVideoStream video(*w, s, CreateBuiltinCompressor(zmbv::kFourCC), 10);
  auto header = testing::RawVideoFormat(kW, kH);
  ASSERT_TRUE(video.SetFormat(header.data(), header.size()));
  SceneRenderer r(scene, kW, kH);
  for (int n = 0; n < frames; ++n) ASSERT_TRUE(video.Write(n, r.Frame(n).data(), 0));
  EXPECT_EQ(video.Length(), frames);
  ASSERT_TRUE(w->Close());
}

TEST(FrameReader, GivesAnyFrameInAnyOrder) {
  testing::TempDir dir;
  WriteZmbv(dir.File("v.avi"), Scene::kMovingWindow, 35);
  auto video = avi::StreamOpenFromFile(dir.File("v.avi"), avi::kStreamTypeVideo, 0);
  ASSERT_TRUE(video);
  for (int n = 0; n < 35; ++n) EXPECT_EQ(video->IsKeyFrame(n), n % 10 == 0) << n;
  auto reader = FrameReader::Open(video);
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->Size().width, kW);
  SceneRenderer r(Scene::kMovingWindow, kW, kH);
  const size_t bytes = size_t(kW) * kH * 4;
  for (int n : {0, 1, 2, 34, 5, 5, 20, 19, 21, 9, 10}) {
    const uint8_t* f = reader->GetFrame(n);
    ASSERT_TRUE(f) << n;
    EXPECT_EQ(std::vector<uint8_t>(f, f + bytes), Masked(r.Frame(n))) << n;
  }
  EXPECT_FALSE(reader->GetFrame(35));
  EXPECT_FALSE(reader->GetFrame(-1));
}

TEST(FrameReader, DecodesAcrossTheSeamOfAppendedFiles) {
  testing::TempDir dir;
  WriteZmbv(dir.File("a.avi"), Scene::kScrollingText, 15);
  WriteZmbv(dir.File("b.avi"), Scene::kMovingWindow, 12);
  auto joined = avi::CreateEditableStream(avi::StreamOpenFromFile(dir.File("a.avi"), avi::kStreamTypeVideo, 0));
  ASSERT_TRUE(avi::EditStreamPaste(*joined, joined->Length(),
                                   avi::StreamOpenFromFile(dir.File("b.avi"), avi::kStreamTypeVideo, 0), 0, -1));
  auto reader = FrameReader::Open(joined);
  ASSERT_TRUE(reader);
  SceneRenderer a(Scene::kScrollingText, kW, kH), b(Scene::kMovingWindow, kW, kH);
  const size_t bytes = size_t(kW) * kH * 4;
  for (int n = 0; n < 27; ++n) {
    const uint8_t* f = reader->GetFrame(n);
    ASSERT_TRUE(f) << n;
    EXPECT_EQ(std::vector<uint8_t>(f, f + bytes), Masked(n < 15 ? a.Frame(n) : b.Frame(n - 15))) << n;
  }
}

TEST(FrameReader, ReadsUncompressedFramesAndNotUnknownCodecs) {
  testing::TempDir dir;
  auto w = avi::AviWriter::Create(dir.File("raw.avi"));
  avi::StreamInfo v;
  v.fccType = avi::kStreamTypeVideo;
  v.dwScale = 1;
  v.dwRate = 30;
  int s = w->CreateStream(v);
  auto f = testing::RawVideoFormat(3, 2);
  w->SetFormat(s, f.data(), f.size());
  std::vector<uint8_t> frame(24);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = uint8_t(i + 1);
  ASSERT_TRUE(w->Write(s, 0, 1, frame.data(), frame.size(), avi::kAviIfKeyFrame));
  ASSERT_TRUE(w->Close());
  auto reader = FrameReader::Open(avi::StreamOpenFromFile(dir.File("raw.avi"), avi::kStreamTypeVideo, 0));
  ASSERT_TRUE(reader);
  const uint8_t* got = reader->GetFrame(0);
  ASSERT_TRUE(got);
  EXPECT_EQ(std::vector<uint8_t>(got, got + 24), Masked(frame));

  f[16] = 'X', f[17] = 'V', f[18] = 'I', f[19] = 'D';
  EXPECT_FALSE(CreateBuiltinDecompressor(f));
}

}  // namespace
}  // namespace vemtra::codec
