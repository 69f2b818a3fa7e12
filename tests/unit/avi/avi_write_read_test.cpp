#include <gtest/gtest.h>

#include <algorithm>

#include "common/avi/avi_reader.h"
#include "common/avi/avi_writer.h"
#include "tests/unit/avi/media_fixtures.h"
#include "tests/unit/avi/test_files.h"

namespace vemtra::avi {
namespace {

using testing::SampleMovie;

// Everything written comes back: stream info, every frame with its key
// flag, and the sound at any sample position across chunk boundaries.
void ExpectReadsBack(const std::string& path, const SampleMovie& m) {
  auto file = AviFile::Open(path);
  ASSERT_TRUE(file);
  auto video = file->GetStream(kStreamTypeVideo, 0);
  auto sound = file->GetStream(kStreamTypeAudio, 0);
  ASSERT_TRUE(video);
  ASSERT_TRUE(sound);
  EXPECT_FALSE(file->GetStream(kStreamTypeAudio, 1));
  EXPECT_EQ(file->Info().dwStreams, 2u);
  EXPECT_EQ(file->Info().dwLength, m.frames.size());

  StreamInfo vi = video->Info();
  EXPECT_EQ(vi.dwScale, 1u);
  EXPECT_EQ(vi.dwRate, uint32_t(SampleMovie::kFps));
  EXPECT_EQ(vi.dwLength, m.frames.size());
  EXPECT_EQ(vi.rcFrame.right, SampleMovie::kWidth);
  EXPECT_EQ(vi.rcFrame.bottom, SampleMovie::kHeight);
  EXPECT_EQ(vi.dwSuggestedBufferSize, m.frames.empty() ? 0u : m.frames[0].size());
  ASSERT_EQ(video->Length(), static_cast<int64_t>(m.frames.size()));
  for (size_t i = 0; i < m.frames.size(); ++i) {
    std::vector<uint8_t> chunk;
    int64_t got = 0;
    ASSERT_TRUE(video->Read(static_cast<int64_t>(i), 1, &chunk, &got)) << i;
    EXPECT_EQ(got, 1);
    EXPECT_EQ(chunk, m.frames[i]) << i;
    EXPECT_EQ(video->IsKeyFrame(static_cast<int64_t>(i)), m.keys[i]) << i;
  }

  StreamInfo si = sound->Info();
  EXPECT_EQ(si.dwSampleSize, 4u);
  EXPECT_EQ(double(si.dwRate) / si.dwScale, double(SampleMovie::kRate));
  ASSERT_EQ(sound->Length(), static_cast<int64_t>(m.sound.size() / 4));
  const int64_t total = sound->Length();
  for (int64_t start : {int64_t(0), int64_t(499), int64_t(1234), total - 7}) {
    if (start < 0 || start > total) continue;
    std::vector<uint8_t> got_bytes;
    int64_t got = 0;
    ASSERT_TRUE(sound->Read(start, 3000, &got_bytes, &got));
    int64_t expect = std::min<int64_t>(3000, total - start);
    EXPECT_EQ(got, expect);
    ASSERT_EQ(got_bytes.size(), size_t(expect * 4));
    EXPECT_TRUE(std::equal(got_bytes.begin(), got_bytes.end(), m.sound.begin() + start * 4)) << start;
  }
  std::vector<uint8_t> none;
  int64_t got = -1;
  EXPECT_TRUE(sound->Read(total, 10, &none, &got));
  EXPECT_EQ(got, 0);
}

// ffmpeg decodes the whole file without a complaint and ffprobe counts our
// frames without a warning. (ffmpeg notes that it guessed the speaker layout
// of plain PCM, as it does for every WAVEFORMATEX file: not a complaint.)
void ExpectFfmpegAgrees(const std::string& path, size_t frames) {
  std::string out;
  EXPECT_EQ(testing::Run("ffmpeg -nostdin -v warning -i '" + path +
                         "' -f null - 2>&1 | grep -v 'Guessed Channel Layout'", &out), 1);
  EXPECT_EQ(out, "");
  EXPECT_EQ(testing::Run("ffprobe -v warning -count_frames -select_streams v:0 -show_entries "
                         "stream=nb_read_frames -of csv=p=0 '" + path + "' 2>&1", &out), 0);
  EXPECT_EQ(out, std::to_string(frames) + "\n");
}

bool ContainsText(const std::vector<uint8_t>& bytes, const std::string& text) {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

struct LayoutCase {
  const char* name;
  uint64_t riff_limit;
  int frames;
  bool continues;  // needs RIFF AVIX parts
};

TEST(AviWriter, WritesFilesThatReadBackAndPlayInFfmpeg) {
  const LayoutCase cases[] = {
      {"single RIFF", 1ull << 30, 40, false},
      {"OpenDML parts", 20000, 200, true},
      {"empty", 1ull << 30, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempDir dir;
    std::string path = dir.File("movie.avi");
    SampleMovie m;
    WriterOptions options;
    options.riff_limit = c.riff_limit;
    ASSERT_TRUE(testing::WriteSampleMovie(path, c.frames, options, &m));
    EXPECT_EQ(ContainsText(testing::ReadFileBytes(path), "AVIX"), c.continues);
    ExpectReadsBack(path, m);
    if (testing::HaveFfmpeg() && c.frames > 0) ExpectFfmpegAgrees(path, m.frames.size());
  }
}

TEST(AviWriter, FailsCleanlyAtTheFileLimit) {
  testing::TempDir dir;
  std::string path = dir.File("limited.avi");
  SampleMovie m;
  WriterOptions options;
  options.max_file_bytes = 60000;
  int written = 0;
  EXPECT_FALSE(testing::WriteSampleMovie(path, 1000, options, &m, &written));
  EXPECT_GT(written, 10);
  EXPECT_LE(testing::ReadFileBytes(path).size(), options.max_file_bytes);
  ExpectReadsBack(path, m);
  if (testing::HaveFfmpeg()) ExpectFfmpegAgrees(path, m.frames.size());
}

TEST(AviWriter, PositionsBeyondTheEndInsertEmptyFramesAndEarlierOnesFail) {
  testing::TempDir dir;
  std::string path = dir.File("gaps.avi");
  auto w = AviWriter::Create(path);
  ASSERT_TRUE(w);
  StreamInfo v;
  v.fccType = kStreamTypeVideo;
  v.dwScale = 1;
  v.dwRate = 30;
  int s = w->CreateStream(v);
  auto f = testing::RawVideoFormat(2, 2);
  ASSERT_TRUE(w->SetFormat(s, f.data(), f.size()));
  std::vector<uint8_t> frame(16, 7);
  EXPECT_TRUE(w->Write(s, 0, 1, frame.data(), frame.size(), kAviIfKeyFrame));
  EXPECT_TRUE(w->Write(s, 3, 1, frame.data(), frame.size(), 0));
  EXPECT_FALSE(w->Write(s, 2, 1, frame.data(), frame.size(), 0));
  EXPECT_EQ(w->CreateStream(v), -1);  // the layout is fixed once data is written
  auto other = testing::RawVideoFormat(4, 4);
  EXPECT_FALSE(w->SetFormat(s, other.data(), other.size()));
  EXPECT_TRUE(w->Close());
  auto video = StreamOpenFromFile(path, kStreamTypeVideo, 0);
  ASSERT_TRUE(video);
  ASSERT_EQ(video->Length(), 4);
  std::vector<uint8_t> chunk;
  int64_t got = 0;
  ASSERT_TRUE(video->Read(1, 1, &chunk, &got));
  EXPECT_EQ(got, 1);
  EXPECT_TRUE(chunk.empty());
  EXPECT_FALSE(video->IsKeyFrame(1));
}

// Damage a written file and read what is left.
struct DamageCase {
  const char* name;
  std::vector<std::string> hide;  // chunk codes renamed to JUNK
  double keep;                    // share of the file kept
  bool all_frames;
};

TEST(AviFile, FallsBackFromDamagedIndexesAndNeverReadsPastTheFile) {
  const DamageCase cases[] = {
      {"no OpenDML index: idx1", {"indx"}, 1.0, true},
      {"no index at all: movi walk", {"indx", "idx1"}, 1.0, true},
      {"cut in the middle", {}, 0.5, false},
      {"cut in the middle, no index", {"indx", "idx1"}, 0.5, false},
      {"only the header", {}, 0.05, false},
  };
  testing::TempDir dir;
  std::string path = dir.File("whole.avi");
  SampleMovie m;
  ASSERT_TRUE(testing::WriteSampleMovie(path, 60, WriterOptions{}, &m));
  const auto whole = testing::ReadFileBytes(path);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto bytes = whole;
    for (const auto& code : c.hide) {
      for (size_t i = 0; i + 4 <= bytes.size(); ++i)
        if (std::equal(code.begin(), code.end(), bytes.begin() + i)) std::copy_n("JUNK", 4, bytes.begin() + i);
    }
    bytes.resize(static_cast<size_t>(bytes.size() * c.keep));
    std::string damaged = dir.File("damaged.avi");
    testing::WriteFileBytes(damaged, bytes);
    auto file = AviFile::Open(damaged);
    if (!file) {
      EXPECT_FALSE(c.all_frames);
      continue;
    }
    auto video = file->GetStream(kStreamTypeVideo, 0);
    ASSERT_TRUE(video);
    if (c.all_frames) {
      EXPECT_EQ(video->Length(), 60);
    }
    EXPECT_LE(video->Length(), 60);
    for (int64_t i = 0; i < video->Length(); ++i) {
      std::vector<uint8_t> chunk;
      int64_t got = 0;
      if (video->Read(i, 1, &chunk, &got)) {
        EXPECT_EQ(chunk, m.frames[size_t(i)]) << i;
      }
    }
    auto sound = file->GetStream(kStreamTypeAudio, 0);
    if (sound) {
      std::vector<uint8_t> all;
      int64_t got = 0;
      if (sound->Read(0, sound->Length(), &all, &got)) {
        EXPECT_TRUE(std::equal(all.begin(), all.end(), m.sound.begin()));
      }
    }
  }
}

TEST(AviFile, OpensWaveFilesAsOneSoundStream) {
  testing::TempDir dir;
  std::vector<uint8_t> data(4 * 1000 + 1);  // the odd byte: a WAV data size need not be whole samples
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  std::string path = dir.File("sound.wav");
  testing::WriteFileBytes(path, testing::WaveFileBytes(2, 44100, data));
  EXPECT_FALSE(StreamOpenFromFile(path, kStreamTypeVideo, 0));
  auto sound = StreamOpenFromFile(path, kStreamTypeAudio, 0);
  ASSERT_TRUE(sound);
  StreamInfo si = sound->Info();
  EXPECT_EQ(si.fccType, kStreamTypeAudio);
  EXPECT_EQ(si.dwScale, 4u);
  EXPECT_EQ(si.dwRate, 44100u * 4);
  EXPECT_EQ(si.dwSampleSize, 4u);
  EXPECT_EQ(sound->Length(), 1000);
  ASSERT_GE(sound->Format().size(), 16u);
  EXPECT_EQ(GetU16(sound->Format().data()), 1);  // PCM
  std::vector<uint8_t> part;
  int64_t got = 0;
  ASSERT_TRUE(sound->Read(10, 5, &part, &got));
  EXPECT_EQ(got, 5);
  EXPECT_TRUE(std::equal(part.begin(), part.end(), data.begin() + 40));
}

TEST(AviFile, RefusesWhatIsNotAnAviOrWaveFile) {
  testing::TempDir dir;
  const std::vector<std::vector<uint8_t>> files = {
      {},
      {'R', 'I', 'F', 'F'},
      {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '},  // no header list
      {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'E', 'B', 'P'},
  };
  for (const auto& bytes : files) {
    testing::WriteFileBytes(dir.File("x.avi"), bytes);
    EXPECT_FALSE(AviFile::Open(dir.File("x.avi")));
  }
  EXPECT_FALSE(AviFile::Open(dir.File("missing.avi")));
}

}  // namespace
}  // namespace vemtra::avi
