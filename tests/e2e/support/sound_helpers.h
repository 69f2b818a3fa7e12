// Sound for the tests: what "the computer plays" is whatever is played into
// the null sink vsink, whose monitor is the recorder's default source.
#pragma once

#include <memory>
#include <string>

namespace vemtra_e2e {

class ChildProcess;

// Writes a 16-bit PCM WAV file with a sine tone (the same in every channel).
void WriteToneWav(const std::string& path, double frequency_hz, double seconds, int channels = 2,
                  int sample_rate = 44100, double amplitude = 0.5);

// Plays a WAV file into vsink and returns when it has been played.
void PlayIntoSink(const std::string& wav_path);

// Plays a WAV file into vsink in the background until stop() or the end of
// this object.
class SinkPlayer {
 public:
  explicit SinkPlayer(const std::string& wav_path);
  ~SinkPlayer();
  void stop();

 private:
  std::unique_ptr<ChildProcess> process_;
};

}  // namespace vemtra_e2e
