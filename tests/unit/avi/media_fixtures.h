// Small AVI and WAV contents the AVI tests write and read back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/avi/avi_writer.h"
#include "common/avi/riff_bytes.h"

namespace vemtra::testing {

// 16-bit PCM WAVEFORMATEX.
inline std::vector<uint8_t> PcmFormat(uint16_t channels, uint32_t rate) {
  std::vector<uint8_t> f;
  avi::ByteWriter w(f);
  w.U16(1);
  w.U16(channels);
  w.U32(rate);
  w.U32(rate * channels * 2);
  w.U16(static_cast<uint16_t>(channels * 2));
  w.U16(16);
  w.U16(0);
  return f;
}

// BITMAPINFOHEADER of uncompressed 32-bit frames.
inline std::vector<uint8_t> RawVideoFormat(int32_t width, int32_t height) {
  std::vector<uint8_t> f;
  avi::ByteWriter w(f);
  w.U32(40);
  w.U32(static_cast<uint32_t>(width));
  w.U32(static_cast<uint32_t>(height));
  w.U16(1);
  w.U16(32);
  w.U32(0);
  w.U32(static_cast<uint32_t>(width * height * 4));
  w.Zeros(16);
  return f;
}

inline std::vector<uint8_t> WaveFileBytes(uint16_t channels, uint32_t rate, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> f;
  avi::ByteWriter w(f);
  w.U32(avi::MakeFourCC("RIFF"));
  w.U32(static_cast<uint32_t>(36 + data.size()));
  w.U32(avi::MakeFourCC("WAVE"));
  w.U32(avi::MakeFourCC("fmt "));
  w.U32(16);
  std::vector<uint8_t> fmt = PcmFormat(channels, rate);
  w.Bytes(fmt.data(), 16);
  w.U32(avi::MakeFourCC("data"));
  w.U32(static_cast<uint32_t>(data.size()));
  w.Bytes(data.data(), data.size());
  return f;
}

// What a test wrote: raw 32-bit frames (every third a key frame) and
// interleaved stereo 16-bit sound in chunks of varying size.
struct SampleMovie {
  static constexpr int kWidth = 8, kHeight = 6, kFps = 10, kRate = 8000;
  std::vector<std::vector<uint8_t>> frames;
  std::vector<bool> keys;
  std::vector<uint8_t> sound;
};

inline uint8_t Pattern(size_t i, size_t seed) { return static_cast<uint8_t>((i * 131 + seed * 7919) >> 3); }

// Writes `frame_count` frames and about as much sound; false when a write
// failed (the writer is closed either way).
inline bool WriteSampleMovie(const std::string& path, int frame_count, avi::WriterOptions options,
                             SampleMovie* movie, int* frames_written = nullptr) {
  using namespace avi;
  auto writer = AviWriter::Create(path, options);
  if (!writer) return false;
  StreamInfo v;
  v.fccType = kStreamTypeVideo;
  v.dwScale = 1;
  v.dwRate = SampleMovie::kFps;
  StreamInfo a;
  a.fccType = kStreamTypeAudio;
  int vs = writer->CreateStream(v), as = writer->CreateStream(a);
  auto vf = RawVideoFormat(SampleMovie::kWidth, SampleMovie::kHeight);
  auto af = PcmFormat(2, SampleMovie::kRate);
  writer->SetFormat(vs, vf.data(), vf.size());
  writer->SetFormat(as, af.data(), af.size());
  bool ok = true;
  int written = 0;
  for (int i = 0; i < frame_count && ok; ++i) {
    std::vector<uint8_t> frame(SampleMovie::kWidth * SampleMovie::kHeight * 4);
    for (size_t k = 0; k < frame.size(); ++k) frame[k] = Pattern(k, i);
    bool key = i % 3 == 0;
    ok = writer->Write(vs, i, 1, frame.data(), frame.size(), key ? kAviIfKeyFrame : 0);
    if (!ok) break;
    movie->frames.push_back(frame);
    movie->keys.push_back(key);
    ++written;
    // 800 samples per frame on average, in uneven chunks.
    size_t samples = 500 + (i % 4) * 200;
    std::vector<uint8_t> sound(samples * 4);
    for (size_t k = 0; k < sound.size(); ++k) sound[k] = Pattern(movie->sound.size() + k, 99);
    ok = writer->Write(as, -1, static_cast<int64_t>(samples), sound.data(), sound.size(), 0);
    if (ok) movie->sound.insert(movie->sound.end(), sound.begin(), sound.end());
  }
  if (frames_written) *frames_written = written;
  return writer->Close() && ok;
}

}  // namespace vemtra::testing
