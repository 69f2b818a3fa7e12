// Files past 1 GB: OpenDML as ffmpeg writes it, and as we write it.
#include <gtest/gtest.h>

#include "common/avi/avi_reader.h"
#include "common/avi/avi_writer.h"
#include "tests/unit/avi/media_fixtures.h"
#include "tests/unit/avi/test_files.h"

namespace vemtra::avi {
namespace {

constexpr uint64_t kGigabyte = 1ull << 30;

TEST(LargeAvi, ReadsAnOpenDmlFileOfFfmpegPastOneGigabyte) {
  SKIP_WITHOUT_FFMPEG();
  testing::TempDir dir;
  std::string path = dir.File("big.avi");
  // 180 uncompressed 1920 × 1080 24-bit frames (6 MB each) and 6 s of sound.
  std::string out;
  ASSERT_EQ(testing::Run("ffmpeg -nostdin -v error -f lavfi -i color=c=0x336699:s=1920x1080:r=30 "
                         "-f lavfi -i sine=r=44100:f=440 -t 6 -pix_fmt bgr24 -c:v rawvideo -c:a pcm_s16le '" +
                         path + "' 2>&1", &out), 0) << out;
  auto file = AviFile::Open(path);
  ASSERT_TRUE(file);
  auto video = file->GetStream(kStreamTypeVideo, 0);
  auto sound = file->GetStream(kStreamTypeAudio, 0);
  ASSERT_TRUE(video && sound);
  ASSERT_GT(video->Chunks().back().offset, kGigabyte);  // the last frames are in a RIFF AVIX part
  EXPECT_EQ(video->Length(), 180);
  EXPECT_EQ(file->Info().dwLength, 180u);
  EXPECT_EQ(sound->Length(), 6 * 44100);
  std::vector<uint8_t> first, last;
  int64_t got = 0;
  ASSERT_TRUE(video->Read(0, 1, &first, &got));
  ASSERT_TRUE(video->Read(179, 1, &last, &got));
  ASSERT_EQ(last.size(), 1920u * 1080 * 3);
  EXPECT_EQ(first, last);
  EXPECT_NEAR(last[0], 0x99, 4);  // blue of the colour, after ffmpeg's YUV round trip
  std::vector<uint8_t> tail;
  ASSERT_TRUE(sound->Read(6 * 44100 - 100, 1000, &tail, &got));
  EXPECT_EQ(got, 100);
}

TEST(LargeAvi, WritesPastOneGigabyteAsOpenDmlThatFfmpegReads) {
  testing::TempDir dir;
  std::string path = dir.File("big-ours.avi");
  constexpr int kW = 1920, kH = 1080, kFrames = 140;
  {
    auto w = AviWriter::Create(path);
    ASSERT_TRUE(w);
    StreamInfo v;
    v.fccType = kStreamTypeVideo;
    v.dwScale = 1;
    v.dwRate = 30;
    int s = w->CreateStream(v);
    auto f = testing::RawVideoFormat(kW, kH);
    ASSERT_TRUE(w->SetFormat(s, f.data(), f.size()));
    std::vector<uint8_t> frame(size_t(kW) * kH * 4);
    for (int i = 0; i < kFrames; ++i) {
      frame[0] = static_cast<uint8_t>(i);
      ASSERT_TRUE(w->Write(s, i, 1, frame.data(), frame.size(), kAviIfKeyFrame)) << i;
    }
    ASSERT_TRUE(w->Close());
  }
  auto file = AviFile::Open(path);
  ASSERT_TRUE(file);
  auto video = file->GetStream(kStreamTypeVideo, 0);
  ASSERT_TRUE(video);
  ASSERT_EQ(video->Length(), kFrames);
  ASSERT_GT(video->Chunks().back().offset, kGigabyte);
  std::vector<uint8_t> last;
  int64_t got = 0;
  ASSERT_TRUE(video->Read(kFrames - 1, 1, &last, &got));
  EXPECT_EQ(last[0], kFrames - 1);
  if (testing::HaveFfmpeg()) {
    std::string out;
    ASSERT_EQ(testing::Run("ffprobe -v warning -select_streams v:0 -show_entries stream=nb_frames -of csv=p=0 '" +
                           path + "' 2>&1", &out), 0);
    EXPECT_EQ(out, std::to_string(kFrames) + "\n");
    // The last frame as ffmpeg reads it.
    ASSERT_EQ(testing::Run("ffmpeg -nostdin -v warning -i '" + path +
                           "' -vf select='eq(n\\," + std::to_string(kFrames - 1) +
                           ")' -frames:v 1 -f rawvideo -pix_fmt bgr0 - 2>/dev/null | tail -c " +
                           std::to_string(kW * 4) + " | head -c 1 | od -An -tu1", &out), 0);
    // The frames are bottom-up: their first byte is the bottom row's.
    EXPECT_EQ(std::stoi(out), kFrames - 1);
  }
}

}  // namespace
}  // namespace vemtra::avi
