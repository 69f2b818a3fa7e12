// Copying request data into the service's fixed-size fields.
//
// WM_COPYDATA hands over exactly cbData bytes; nothing beyond them may be
// read, and nothing beyond a field may be written, whatever a sender claims.
#pragma once

#include <cstddef>

// Copies a text of at most `dataBytes` bytes (it may end earlier at a NUL)
// into `dest` of `destSize` bytes, cut to destSize - 1 bytes, always
// NUL-terminated. A null `data` gives the empty text.
void RequestTextCopy(char* dest, std::size_t destSize, const void* data, std::size_t dataBytes);

// Copies `dataBytes` raw bytes (they may contain NULs) into `dest` of
// `destSize` bytes, cut to fit, and zeroes the rest of the field plus the
// two guard bytes that follow it (dest must have destSize + 2 bytes), so a
// double-NUL-terminated list always ends inside the buffer.
void RequestBytesCopy(char* dest, std::size_t destSize, const void* data, std::size_t dataBytes);
