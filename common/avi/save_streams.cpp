#include "common/avi/save_streams.h"

#include <algorithm>
#include <cstdio>

namespace vemtra::avi {
namespace {

struct Copy {
  MediaStream* stream;
  int number;
  int64_t next = 0;
  int64_t per_chunk = 1;  // samples per written chunk
  double seconds_per_sample = 0;
};

bool CopyAll(AviWriter& writer, std::vector<Copy>& copies) {
  std::vector<uint8_t> buf;
  for (;;) {
    // The stream that is furthest behind in time writes next.
    Copy* c = nullptr;
    for (auto& k : copies) {
      if (k.next >= k.stream->Length()) continue;
      if (!c || k.next * k.seconds_per_sample < c->next * c->seconds_per_sample) c = &k;
    }
    if (!c) return true;
    buf.clear();
    int64_t got = 0;
    int64_t want = std::min(c->per_chunk, c->stream->Length() - c->next);
    if (!c->stream->Read(c->next, want, &buf, &got) || got <= 0) return false;
    uint32_t flags = c->stream->IsKeyFrame(c->next) ? kAviIfKeyFrame : 0;
    if (!writer.Write(c->number, -1, got, buf.data(), buf.size(), flags)) return false;
    c->next += got;
  }
}

}  // namespace

bool SaveStreams(const std::string& path, const std::vector<std::shared_ptr<MediaStream>>& streams,
                 WriterOptions options) {
  if (streams.empty()) return false;
  auto writer = AviWriter::Create(path, options);
  if (!writer) return false;
  std::vector<Copy> copies;
  double frame_seconds = 0;
  for (const auto& s : streams) {
    if (!s) return false;
    StreamInfo info = s->Info();
    if (info.fccType == kStreamTypeVideo && frame_seconds == 0 && info.dwRate)
      frame_seconds = static_cast<double>(info.dwScale) / info.dwRate;
  }
  if (frame_seconds <= 0) frame_seconds = 1.0 / 30;
  bool ok = true;
  for (const auto& s : streams) {
    StreamInfo info = s->Info();
    Copy c{s.get(), writer->CreateStream(info)};
    ok = ok && c.number >= 0 && writer->SetFormat(c.number, s->Format().data(), s->Format().size());
    if (info.dwRate) c.seconds_per_sample = static_cast<double>(info.dwScale) / info.dwRate;
    // Sound goes in chunks of about one frame's time between the frames.
    if (s->SampleSize() != 0 && c.seconds_per_sample > 0)
      c.per_chunk = std::max<int64_t>(1, static_cast<int64_t>(frame_seconds / c.seconds_per_sample));
    copies.push_back(c);
  }
  ok = ok && CopyAll(*writer, copies);
  ok = writer->Close() && ok;
  writer.reset();
  if (!ok) std::remove(path.c_str());
  return ok;
}

}  // namespace vemtra::avi
