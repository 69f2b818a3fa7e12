#include "common/avi/editable_stream.h"

#include <gtest/gtest.h>

#include "common/avi/avi_reader.h"
#include "common/avi/compressed_stream_info.h"
#include "common/avi/save_streams.h"
#include "tests/unit/avi/media_fixtures.h"
#include "tests/unit/avi/test_files.h"

namespace vemtra::avi {
namespace {

using testing::SampleMovie;

std::vector<std::vector<uint8_t>> AllChunks(MediaStream& s) {
  std::vector<std::vector<uint8_t>> out;
  for (int64_t i = 0; i < s.Length(); ++i) {
    std::vector<uint8_t> c;
    int64_t got = 0;
    EXPECT_TRUE(s.Read(i, 1, &c, &got));
    out.push_back(c);
  }
  return out;
}

std::vector<uint8_t> AllSound(MediaStream& s) {
  std::vector<uint8_t> out;
  int64_t got = 0;
  EXPECT_TRUE(s.Read(0, s.Length(), &out, &got));
  return out;
}

template <typename T>
std::vector<T> Concat(std::vector<T> a, const std::vector<T>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class EditTest : public ::testing::Test {
 protected:
  // A movie of `frames` frames: raw 8 × 6 video, key frame every third, sound.
  std::string Movie(const std::string& name, int frames, SampleMovie* m = nullptr) {
    SampleMovie local;
    std::string path = dir_.File(name);
    EXPECT_TRUE(testing::WriteSampleMovie(path, frames, WriterOptions{}, m ? m : &local));
    return path;
  }
  testing::TempDir dir_;
};

// The recorder's finalisation: its video file and its WAV file joined into
// one AVI, the video copied unchanged and given the recording's rate.
TEST_F(EditTest, JoinsAVideoStreamAndAWaveFileWithTheVideoCopiedUnchanged) {
  SampleMovie m;
  std::string video_path = Movie("Video1.avi", 30, &m);
  std::vector<uint8_t> pcm(44100 * 2 * 3 + 1);  // 3 s of mono sound and the odd last byte
  for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<uint8_t>(i * 13);
  std::string wav_path = dir_.File("Audio1.wav");
  testing::WriteFileBytes(wav_path, testing::WaveFileBytes(1, 44100, pcm));

  auto video = StreamOpenFromFile(video_path, kStreamTypeVideo, 0);
  auto sound = StreamOpenFromFile(wav_path, kStreamTypeAudio, 0);
  ASSERT_TRUE(video && sound);
  auto ev = CreateEditableStream(video);
  auto es = CreateEditableStream(sound);
  StreamInfo vi = video->Info();
  StreamRate r = RecorderStreamRate(30);
  vi.dwScale = r.dwScale;
  vi.dwRate = r.dwRate;
  ASSERT_TRUE(EditStreamSetStreamInfo(*ev, vi));
  ASSERT_TRUE(EditStreamSetStreamInfo(*es, sound->Info()));
  std::string joined = dir_.File("joined.avi");
  ASSERT_TRUE(SaveStreams(joined, {ev, es}));

  auto file = AviFile::Open(joined);
  ASSERT_TRUE(file);
  auto jv = file->GetStream(kStreamTypeVideo, 0);
  auto js = file->GetStream(kStreamTypeAudio, 0);
  ASSERT_TRUE(jv && js);
  EXPECT_EQ(jv->Info().dwScale, r.dwScale);
  EXPECT_EQ(jv->Info().dwRate, r.dwRate);
  EXPECT_EQ(AllChunks(*jv), m.frames);
  for (int i = 0; i < 30; ++i) EXPECT_EQ(jv->IsKeyFrame(i), m.keys[i]) << i;
  EXPECT_EQ(js->Length(), 44100 * 3);
  EXPECT_EQ(AllSound(*js), std::vector<uint8_t>(pcm.begin(), pcm.end() - 1));
  EXPECT_EQ(js->Format(), sound->Format());
  if (testing::HaveFfmpeg()) {
    std::string out;
    ASSERT_EQ(testing::Run("ffprobe -v warning -show_entries stream=codec_name,nb_frames -of compact=p=0:nk=1 '" +
                           joined + "' 2>&1", &out), 0);
    EXPECT_EQ(out, "rawvideo|30\npcm_s16le|132300\n");
  }
}

// The editor's same-kind join: whole files appended one after the other.
TEST_F(EditTest, AppendsWholeStreamsAtTheEnd) {
  SampleMovie a, b, c;
  std::string pa = Movie("a.avi", 9, &a), pb = Movie("b.avi", 6, &b), pc = Movie("c.avi", 12, &c);
  auto ev = CreateEditableStream(StreamOpenFromFile(pa, kStreamTypeVideo, 0));
  auto es = CreateEditableStream(StreamOpenFromFile(pa, kStreamTypeAudio, 0));
  for (const auto& p : {pb, pc}) {
    auto v = StreamOpenFromFile(p, kStreamTypeVideo, 0);
    auto s = StreamOpenFromFile(p, kStreamTypeAudio, 0);
    int64_t pasted = 0;
    ASSERT_TRUE(EditStreamPaste(*ev, ev->Length(), v, 0, -1, &pasted));
    EXPECT_EQ(pasted, v->Length());
    ASSERT_TRUE(EditStreamPaste(*es, es->Length(), s, 0, -1));
  }
  EXPECT_EQ(ev->Length(), 27);
  std::string out = dir_.File("com.avi");
  ASSERT_TRUE(SaveStreams(out, {ev, es}));
  auto file = AviFile::Open(out);
  ASSERT_TRUE(file);
  EXPECT_EQ(AllChunks(*file->GetStream(kStreamTypeVideo, 0)), Concat(Concat(a.frames, b.frames), c.frames));
  EXPECT_EQ(AllSound(*file->GetStream(kStreamTypeAudio, 0)), Concat(Concat(a.sound, b.sound), c.sound));
}

// A video-only AVI whose format differs from the sample movies' in one way.
std::string VideoWithFormat(const std::string& path, std::vector<uint8_t> format) {
  auto w = AviWriter::Create(path);
  StreamInfo v;
  v.fccType = kStreamTypeVideo;
  v.dwScale = 1;
  v.dwRate = 10;
  int s = w->CreateStream(v);
  w->SetFormat(s, format.data(), format.size());
  std::vector<uint8_t> frame(192, 1);
  for (int i = 0; i < 3; ++i) w->Write(s, i, 1, frame.data(), frame.size(), kAviIfKeyFrame);
  w->Close();
  return path;
}

TEST_F(EditTest, RefusesPastesWhoseFramesCouldNotBeDecodedThere) {
  std::string base = Movie("base.avi", 9);
  std::string same = Movie("same.avi", 9);
  auto other_size = testing::RawVideoFormat(16, 6);
  auto other_codec = testing::RawVideoFormat(8, 6);
  other_codec[16] = 'Z', other_codec[17] = 'M', other_codec[18] = 'B', other_codec[19] = 'V';
  std::string wider = VideoWithFormat(dir_.File("wider.avi"), other_size);
  std::string coded = VideoWithFormat(dir_.File("coded.avi"), other_codec);
  std::vector<uint8_t> pcm(400);
  testing::WriteFileBytes(dir_.File("mono.wav"), testing::WaveFileBytes(1, 8000, pcm));

  auto same_video = StreamOpenFromFile(same, kStreamTypeVideo, 0);
  struct Refusal {
    const char* name;
    std::shared_ptr<MediaStream> source;
    int64_t position, start;
  };
  const Refusal cases[] = {
      {"another frame size", StreamOpenFromFile(wider, kStreamTypeVideo, 0), 9, 0},
      {"another codec", StreamOpenFromFile(coded, kStreamTypeVideo, 0), 9, 0},
      {"sound into video", StreamOpenFromFile(same, kStreamTypeAudio, 0), 9, 0},
      {"range starting after a key frame", same_video, 9, 1},
      {"landing between a key frame and its followers", same_video, 4, 0},
      {"position past the end", same_video, 10, 0},
      {"nothing to paste from", nullptr, 9, 0},
  };
  auto ev = CreateEditableStream(StreamOpenFromFile(base, kStreamTypeVideo, 0));
  for (const auto& c : cases) {
    EXPECT_FALSE(EditStreamPaste(*ev, c.position, c.source, c.start, -1)) << c.name;
    EXPECT_EQ(ev->Length(), 9) << c.name;
  }
  auto es = CreateEditableStream(StreamOpenFromFile(base, kStreamTypeAudio, 0));
  EXPECT_FALSE(EditStreamPaste(*es, es->Length(), StreamOpenFromFile(dir_.File("mono.wav"), kStreamTypeAudio, 0), 0, -1))
      << "another sound format";
  // Where the frames fit, the same calls work.
  EXPECT_TRUE(EditStreamPaste(*ev, 3, same_video, 3, 3));
  EXPECT_EQ(ev->Length(), 12);
}

TEST_F(EditTest, CutsTheEndAndRefusesCutsThatOrphanFrames) {
  SampleMovie m;
  std::string path = Movie("cut.avi", 12, &m);
  auto ev = CreateEditableStream(StreamOpenFromFile(path, kStreamTypeVideo, 0));
  auto es = CreateEditableStream(StreamOpenFromFile(path, kStreamTypeAudio, 0));
  EXPECT_FALSE(EditStreamCut(*ev, 2, 2));  // frame 4 depends on frame 3
  EXPECT_EQ(ev->Length(), 12);
  ASSERT_TRUE(EditStreamCut(*ev, 3, 3));  // frames 3..5; frame 6 is a key frame
  ASSERT_TRUE(EditStreamCut(*ev, 7, -1));
  int64_t sound_end = es->Length() / 2;
  ASSERT_TRUE(EditStreamCut(*es, sound_end, es->Length() - sound_end));
  std::string out = dir_.File("cut-out.avi");
  ASSERT_TRUE(SaveStreams(out, {ev, es}));
  auto file = AviFile::Open(out);
  ASSERT_TRUE(file);
  auto v = file->GetStream(kStreamTypeVideo, 0);
  std::vector<std::vector<uint8_t>> want = {m.frames[0], m.frames[1], m.frames[2], m.frames[6],
                                            m.frames[7], m.frames[8], m.frames[9]};
  EXPECT_EQ(AllChunks(*v), want);
  EXPECT_TRUE(v->IsKeyFrame(3));
  EXPECT_EQ(AllSound(*file->GetStream(kStreamTypeAudio, 0)),
            std::vector<uint8_t>(m.sound.begin(), m.sound.begin() + sound_end * 4));
}

TEST_F(EditTest, PastesAStreamIntoItself) {
  SampleMovie m;
  auto ev = CreateEditableStream(StreamOpenFromFile(Movie("self.avi", 6, &m), kStreamTypeVideo, 0));
  ASSERT_TRUE(EditStreamPaste(*ev, ev->Length(), ev, 0, -1));
  ASSERT_TRUE(EditStreamPaste(*ev, 0, ev, 0, 3));
  EXPECT_EQ(ev->Length(), 15);
  auto chunks = AllChunks(*ev);
  EXPECT_EQ(chunks[0], m.frames[0]);
  EXPECT_EQ(chunks[3], m.frames[0]);
  EXPECT_EQ(chunks[14], m.frames[5]);
}

TEST_F(EditTest, SetInfoKeepsWhatTheDataDecidesAndRefusesAZeroRate) {
  auto ev = CreateEditableStream(StreamOpenFromFile(Movie("info.avi", 4), kStreamTypeVideo, 0));
  StreamInfo i = ev->Info();
  i.fccHandler = MakeFourCC("XVID");
  i.dwLength = 999;
  i.dwSampleSize = 7;
  i.dwScale = 1001;
  i.dwRate = 30000;
  i.szName = "video";
  ASSERT_TRUE(EditStreamSetStreamInfo(*ev, i));
  StreamInfo got = ev->Info();
  EXPECT_EQ(got.dwScale, 1001u);
  EXPECT_EQ(got.dwRate, 30000u);
  EXPECT_EQ(got.szName, "video");
  EXPECT_EQ(got.fccHandler, 0u);
  EXPECT_EQ(got.dwLength, 4u);
  EXPECT_EQ(got.dwSampleSize, 0u);
  i.dwScale = 0;
  EXPECT_FALSE(EditStreamSetStreamInfo(*ev, i));
  EXPECT_EQ(ev->Info().dwScale, 1001u);
}

}  // namespace
}  // namespace vemtra::avi
