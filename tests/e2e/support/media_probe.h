// Facts about media files as ffprobe sees them: the independent oracle for
// what the programs write (AVI, WAV, BMP, JPEG).
#pragma once

#include <string>
#include <vector>

namespace vemtra_e2e {

struct StreamFacts {
  int index = -1;
  std::string kind;        // "video", "audio"
  std::string codec;       // codec_name, e.g. "zmbv", "pcm_s16le", "rawvideo"
  std::string codec_tag;   // codec_tag_string, e.g. "ZMBV"
  int width = 0, height = 0;
  long long frames = -1;       // nb_frames from the header (-1: not given); for PCM sound
                               // in AVI the number of samples
  long long read_frames = -1;  // frames (sound: packets) counted by decoding (count_frames)
  double duration = -1;        // seconds (-1: not given); PCM sound in AVI: samples / rate
  int sample_rate = 0, channels = 0, bits_per_sample = 0;
};

struct MediaFacts {
  std::string format;      // format_name, e.g. "avi", "wav"
  double duration = -1;    // seconds
  std::vector<StreamFacts> streams;

  int count(const std::string& kind) const;
  // The first stream of that kind; throws E2eError when there is none.
  const StreamFacts& first(const std::string& kind) const;
};

// Throws E2eError when ffprobe cannot read the file. `count_frames` decodes
// the whole file to fill read_frames (slower).
MediaFacts ProbeMedia(const std::string& path, bool count_frames = false);

// One MD5 per decoded frame of the stream kind ("video" or "audio"), from
// ffmpeg's framemd5 muxer; for comparing two files frame by frame.
std::vector<std::string> FrameMd5s(const std::string& path, const std::string& kind = "video");

}  // namespace vemtra_e2e
