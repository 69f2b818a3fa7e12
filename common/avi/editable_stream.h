// Editable streams: a stream made of ranges of other streams, cut and pasted
// without touching the data, then written out by SaveStreams. This is what
// the quick save paths and the joins use to copy compressed data unchanged.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "common/avi/media_stream.h"

namespace vemtra::avi {

class EditableStream : public MediaStream {
 public:
  struct Range {
    std::shared_ptr<MediaStream> source;
    int64_t start;
    int64_t length;
  };

  StreamInfo Info() const override;
  const std::vector<uint8_t>& Format() const override { return format_; }
  int64_t Length() const override { return length_; }
  uint32_t SampleSize() const override { return sample_size_; }
  bool Read(int64_t start, int64_t count, std::vector<uint8_t>* out,
            int64_t* samples_read) override;
  bool IsKeyFrame(int64_t n) const override;

  const std::vector<Range>& Ranges() const { return ranges_; }

 private:
  EditableStream() = default;
  size_t Find(int64_t n, int64_t* offset) const;  // range holding sample n
  void SplitAt(int64_t n);                        // a range boundary at sample n
  void Recount();

  StreamInfo info_;
  std::vector<uint8_t> format_;
  uint32_t sample_size_ = 0;
  std::vector<Range> ranges_;
  std::vector<int64_t> range_begin_;
  int64_t length_ = 0;

  friend std::shared_ptr<EditableStream> CreateEditableStream(std::shared_ptr<MediaStream>);
  friend bool EditStreamPaste(EditableStream&, int64_t, const std::shared_ptr<MediaStream>&,
                              int64_t, int64_t, int64_t*);
  friend bool EditStreamCut(EditableStream&, int64_t, int64_t);
  friend bool EditStreamSetStreamInfo(EditableStream&, const StreamInfo&);
};

// CreateEditableStream: an editable copy of the whole source stream.
std::shared_ptr<EditableStream> CreateEditableStream(std::shared_ptr<MediaStream> source);

// EditStreamPaste: inserts `length` samples of `source` from `start` (-1:
// to its end) at `position` of `dest` (its length: at the end). Fails,
// changing nothing, when the streams are of different kinds or formats (a
// different codec, frame size or sound format), or when the copied frames
// could not be decoded where they land (a video range must begin at a key
// frame, and a paste inside a video stream must land on one).
bool EditStreamPaste(EditableStream& dest, int64_t position,
                     const std::shared_ptr<MediaStream>& source, int64_t start,
                     int64_t length = -1, int64_t* pasted = nullptr);

// EditStreamCut: removes `length` samples from `start` (-1: to the end).
// Fails when video after the cut would no longer begin at a key frame.
bool EditStreamCut(EditableStream& stream, int64_t start, int64_t length);

// EditStreamSetInfo: takes the priority, language, scale, rate, start,
// quality, frame rectangle and name of `info`; the type, codec, sample size
// and length stay the stream's own. Fails on a zero scale or rate.
bool EditStreamSetStreamInfo(EditableStream& stream, const StreamInfo& info);

}  // namespace vemtra::avi
