// One stream of samples (video frames or sound blocks) as the AVI calls see
// it: an opened file stream, an editable stream or anything a caller builds.
#pragma once

#include <cstdint>
#include <vector>

#include "common/avi/avi_stream_info.h"

namespace vemtra::avi {

class MediaStream {
 public:
  virtual ~MediaStream() = default;

  // AVIStreamInfo: the stream header with dwLength set to Length().
  virtual StreamInfo Info() const = 0;
  // AVIStreamReadFormat: the stream format (BITMAPINFOHEADER, WAVEFORMATEX...).
  virtual const std::vector<uint8_t>& Format() const = 0;
  // AVIStreamStart / AVIStreamLength, in samples.
  int64_t Start() const { return 0; }
  virtual int64_t Length() const = 0;
  // Bytes per sample; 0 when every chunk is one sample (video).
  virtual uint32_t SampleSize() const = 0;

  // AVIStreamRead: `count` samples from `start` appended to `out`. Streams of
  // chunk samples read one sample per call. `samples_read` gets the number of
  // samples delivered; reading at or past the end delivers nothing and
  // succeeds. False when the data cannot be read (damaged or truncated file).
  virtual bool Read(int64_t start, int64_t count, std::vector<uint8_t>* out,
                    int64_t* samples_read) = 0;

  // Whether sample n can be decoded without the samples before it.
  virtual bool IsKeyFrame(int64_t n) const = 0;

  // Nearest key frame at or before n (0 when there is none).
  int64_t PrevKeyFrame(int64_t n) const {
    for (int64_t i = n; i > 0; --i)
      if (IsKeyFrame(i)) return i;
    return 0;
  }
};

}  // namespace vemtra::avi
