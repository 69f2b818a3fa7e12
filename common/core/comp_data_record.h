// The codec choice as stored in "CompData.txt" (recorder) and
// "CompDataSairoku.txt" (editor): the 64-byte compressor-state record of
// the codec dialog, little-endian 32-bit fields. Only the codec's code, the
// key-frame interval, the data rate and the quality are used after a load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr std::size_t kCompDataBytes = 64;

struct CompDataRecord {
    uint32_t cbSize;
    uint32_t dwFlags;
    uint32_t hic;
    uint32_t fccType;
    uint32_t fccHandler; // first character in the lowest byte
    uint32_t lpbiIn;
    uint32_t lpbiOut;
    uint32_t lpBitsOut;
    uint32_t lpBitsPrev;
    int32_t lFrame;
    int32_t lKey;        // key frame every this many frames, 0 = codec default
    int32_t lDataRate;
    int32_t lQ;
    int32_t lKeyCount;
    uint32_t lpState;
    int32_t cbState;
};

// "DIB ": uncompressed frames, which the programs refuse as a choice.
constexpr uint32_t kFccDib = 0x20424944u;

// Reads the record from the first 64 bytes of a file's content. A shorter
// content is not a record (false, `out` untouched).
bool CompDataFromBytes(const uint8_t* data, std::size_t size, CompDataRecord* out);

void CompDataToBytes(const CompDataRecord& record, uint8_t out[kCompDataBytes]);

// The codec's code as shown in the main window: its four bytes, ending
// early at a NUL byte.
std::string CompDataCodeText(const CompDataRecord& record);
