// Writes small valid files for the fuzzers to start from: AVI files with
// raw and ZMBV video, sound, OpenDML parts, and WAV files; and chunk runs
// for the ZMBV decoder fuzzer. Usage: fuzz_seeds avi|zmbv <folder>
#include <cstdio>
#include <string>
#include <vector>

#include "codec/compressed_stream.h"
#include "codec/zmbv_encoder.h"
#include "codec/zmbv_format.h"
#include "common/avi/avi_writer.h"
#include "common/avi/compressed_stream_info.h"
#include "tests/unit/avi/media_fixtures.h"
#include "tests/unit/avi/test_files.h"
#include "tests/unit/codec/screen_scenes.h"

using namespace vemtra;

static void ZmbvMovie(const std::string& path, int w, int h, testing::Scene scene, bool sound) {
  auto writer = avi::AviWriter::Create(path, avi::WriterOptions{4000, 0, 8});
  int vs = writer->CreateStream(avi::CompressedStreamInfo(codec::zmbv::kFourCC, w, h, avi::RecorderStreamRate(30)));
  int as = -1;
  if (sound) {
    avi::StreamInfo a;
    a.fccType = avi::kStreamTypeAudio;
    as = writer->CreateStream(a);
    auto pcm = testing::PcmFormat(1, 8000);
    writer->SetFormat(as, pcm.data(), pcm.size());
  }
  codec::CompressedVideoStream video(*writer, vs, std::make_unique<codec::ZmbvEncoder>(), 4);
  auto header = testing::RawVideoFormat(w, h);
  video.SetFormat(header.data(), header.size());
  testing::SceneRenderer r(scene, w, h);
  for (int n = 0; n < 6; ++n) {
    video.Write(n, r.Frame(n).data(), 0);
    if (as >= 0) {
      std::vector<uint8_t> s(266 * 2, uint8_t(n));
      writer->Write(as, -1, 266, s.data(), s.size(), 0);
    }
  }
  writer->Close();
}

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::string kind = argv[1], dir = argv[2];
  if (kind == "avi") {
    testing::SampleMovie m;
    testing::WriteSampleMovie(dir + "/raw.avi", 5, avi::WriterOptions{}, &m);
    testing::SampleMovie m2;
    testing::WriteSampleMovie(dir + "/odml.avi", 12, avi::WriterOptions{3000, 0, 16}, &m2);
    ZmbvMovie(dir + "/zmbv.avi", 24, 16, testing::Scene::kMovingWindow, true);
    ZmbvMovie(dir + "/zmbv-small.avi", 5, 3, testing::Scene::kScrollingText, false);
    testing::WriteFileBytes(dir + "/sound.wav", testing::WaveFileBytes(2, 8000, std::vector<uint8_t>(64, 3)));
    return 0;
  }
  if (kind == "zmbv") {
    // Decoder fuzz input: width, height (one byte each), then chunks with
    // a two-byte length before each.
    const testing::Scene scenes[] = {testing::Scene::kMovingWindow, testing::Scene::kScrollingText,
                                     testing::Scene::kNoise};
    int k = 0;
    for (auto scene : scenes) {
      int w = 20 + 7 * k, h = 18 + 5 * k;
      codec::ZmbvEncoder enc(codec::ZmbvOptions{1 + 3 * k, 3});
      enc.Begin({w, h});
      testing::SceneRenderer r(scene, w, h);
      std::vector<uint8_t> input = {uint8_t(w), uint8_t(h)};
      for (int n = 0; n < 5; ++n) {
        std::vector<uint8_t> chunk;
        bool key;
        enc.Compress(r.Frame(n).data(), false, &chunk, &key);
        input.push_back(uint8_t(chunk.size()));
        input.push_back(uint8_t(chunk.size() >> 8));
        input.insert(input.end(), chunk.begin(), chunk.end());
      }
      testing::WriteFileBytes(dir + "/zmbv" + std::to_string(k++) + ".bin", input);
    }
    return 0;
  }
  return 2;
}
