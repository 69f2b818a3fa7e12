// Any bytes as an AVI or WAV file: opening, reading every stream's samples,
// editing and decoding must neither crash nor read outside the input.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "codec/frame_reader.h"
#include "common/avi/avi_reader.h"
#include "common/avi/editable_stream.h"

using namespace vemtra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto file = avi::AviFile::Open(std::make_unique<avi::MemorySource>(data, size));
  if (!file) return 0;
  for (int i = 0; i < file->StreamCount(); ++i) {
    auto s = file->GetStream(0, i);
    if (!s) continue;
    avi::StreamInfo info = s->Info();
    (void)info;
    const int64_t length = s->Length();
    std::vector<uint8_t> buf;
    int64_t got = 0;
    // The first and last samples, singly and in runs.
    for (int64_t n : {int64_t(0), int64_t(1), length / 2, length - 1, length}) {
      buf.clear();
      s->Read(n, 1, &buf, &got);
      buf.clear();
      s->Read(n, 4096, &buf, &got);
      s->IsKeyFrame(n);
    }
    std::min<int64_t>(s->PrevKeyFrame(length - 1), 0);

    auto e = avi::CreateEditableStream(s);
    avi::EditStreamPaste(*e, e->Length(), e, 0, -1);
    avi::EditStreamCut(*e, e->Length() / 3, e->Length() / 3);
    buf.clear();
    e->Read(e->Length() / 2, 100, &buf, &got);

    const auto& f = s->Format();
    if (info.fccType == avi::kStreamTypeVideo && f.size() >= 12) {
      int64_t w = int32_t(avi::GetU32(&f[4])), h = int32_t(avi::GetU32(&f[8]));
      if (w * h > 1 << 20 || w * h < -(1 << 20)) continue;  // keep each run small
      if (auto reader = codec::FrameReader::Open(s)) {
        for (int64_t n = 0; n < std::min<int64_t>(length, 8); ++n) reader->GetFrame(n);
        reader->GetFrame(length - 1);
      }
    }
  }
  return 0;
}
