#include "sound_helpers.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <vector>

#include "child_process.h"
#include "e2e_env.h"
#include "e2e_error.h"

namespace vemtra_e2e {
namespace {

void Put16(std::string& s, uint16_t v) {
  s += (char)(v & 0xFF);
  s += (char)(v >> 8);
}

void Put32(std::string& s, uint32_t v) {
  Put16(s, (uint16_t)(v & 0xFFFF));
  Put16(s, (uint16_t)(v >> 16));
}

}  // namespace

void WriteToneWav(const std::string& path, double frequency_hz, double seconds, int channels, int sample_rate,
                  double amplitude) {
  const uint32_t frames = (uint32_t)(seconds * sample_rate);
  const uint32_t data_bytes = frames * channels * 2;
  std::string wav = "RIFF";
  Put32(wav, 36 + data_bytes);
  wav += "WAVEfmt ";
  Put32(wav, 16);
  Put16(wav, 1);  // PCM
  Put16(wav, (uint16_t)channels);
  Put32(wav, (uint32_t)sample_rate);
  Put32(wav, (uint32_t)(sample_rate * channels * 2));
  Put16(wav, (uint16_t)(channels * 2));
  Put16(wav, 16);
  wav += "data";
  Put32(wav, data_bytes);
  const double pi = 3.14159265358979323846;
  for (uint32_t i = 0; i < frames; ++i) {
    int16_t sample = (int16_t)std::lround(amplitude * 32767.0 * std::sin(2 * pi * frequency_hz * i / sample_rate));
    for (int c = 0; c < channels; ++c) Put16(wav, (uint16_t)sample);
  }
  std::ofstream out(path, std::ios::binary);
  out << wav;
  if (!out) throw E2eError("cannot write " + path);
}

void PlayIntoSink(const std::string& wav_path) {
  std::vector<std::string> argv = {"paplay", "--device=vsink", wav_path};
  // Bounded generously: a tone of a few seconds plays in real time.
  CommandResult r = RunCommand(argv, 120000, true, true);
  if (r.exit_code != 0) throw E2eError("paplay failed: " + QuoteArgs(argv) + ": " + r.output);
}

SinkPlayer::SinkPlayer(const std::string& wav_path)
    : process_(std::make_unique<ChildProcess>(std::vector<std::string>{"paplay", "--device=vsink", wav_path},
                                              E2eEnv::Get().vars(), "/dev/null")) {}

SinkPlayer::~SinkPlayer() { stop(); }

void SinkPlayer::stop() {
  if (process_) process_->kill();
  process_.reset();
}

}  // namespace vemtra_e2e
