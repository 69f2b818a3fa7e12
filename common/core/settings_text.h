// Text conventions of the settings files: one decimal value per line,
// CR LF between values, Shift-JIS text, no header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Size of the destination every caller of FileReadLine provides.
constexpr int kFileReadLineBytes = 1004;

// The text walk behind FileReadLine: copies line `lineIndex` (from 0) of the
// `size` bytes at `text` into `dest` (at least kFileReadLineBytes bytes) as
// a NUL-terminated string. A NUL byte ends the usable text; CR, LF and any
// pair of them count as one break; bytes below 0x20 are dropped. A line
// longer than the destination is cut at kFileReadLineBytes - 1 bytes.
void FileReadLineFromText(char* dest, const char* text, std::size_t size, int lineIndex);

// Signed decimal text to number. `length` 0 means the whole NUL-terminated
// text. Bytes are not validated: each contributes its code minus '0', so
// callers pass only numbers the programs wrote or the user typed.
int32_t TextToNum(const char* text, int length);

// Decimal text of a whole number: digits, a leading '-' when negative.
std::string NumToText(int32_t value);
