// AVISaveV: writes streams (opened, editable or built) into a new AVI file,
// copying their data unchanged and interleaving them by time.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/avi/avi_writer.h"
#include "common/avi/media_stream.h"

namespace vemtra::avi {

// False when a stream cannot be read or the file cannot be written; no
// file of that name is left behind then.
bool SaveStreams(const std::string& path, const std::vector<std::shared_ptr<MediaStream>>& streams,
                 WriterOptions options = {});

}  // namespace vemtra::avi
