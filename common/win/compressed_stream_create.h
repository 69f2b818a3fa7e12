// A new AVI file with one compressed video stream, by the current codec
// choice, ready for frames.
#pragma once

#include <memory>

#include "codec/compressed_stream.h"
#include "common/avi/avi_writer.h"

// The compression options of the video stream: the chosen codec, its
// key-frame interval, quality and data rate.
struct CompOptions {
    uint32_t fccType;
    uint32_t fccHandler;
    uint32_t dwKeyFrameEvery;
    uint32_t dwQuality;
    uint32_t dwBytesPerSecond;
};
extern CompOptions glCompOptions;

// Opens `path` for writing and creates the stream for glCompFrameWidth x
// glCompFrameHeight frames at `frameRate`. Returns 1 with the file and the
// stream handed to the caller (who releases the stream, then the file),
// or 0 after a message, with neither. When the codec refuses the frame
// format, the next attempt offers it a frame one pixel wider.
int CreateCompressedStream(const char* path, double frameRate, std::unique_ptr<vemtra::avi::AviWriter>* file,
                           std::unique_ptr<vemtra::codec::CompressedVideoStream>* stream);
