// BMP files from file-backed pictures, and the editor's pattern brushes.
#pragma once

#include <windows.h>

#include <cstdint>

// Writes `pixels` (32-bit, lowest row first) as a 24-bit BMP file.
void BmpSaveByDIBS(const char* path, const uint8_t* pixels, int width, int height);

// Writes "RgnCheckPatBmp0.bmp" (3 x 3 checkers, 854 x 480) and
// "RgnCheckPatBmp1.bmp" (the same memory read as 851-pixel rows, which
// turns the checkers into diagonal bands) into the product folder.
void RgnCheckPatBmpCreate();

// Loads a BMP file and makes a pattern brush of it into *brush; on failure
// shows a message and leaves *brush unchanged.
void PatternBrushByFile(HBRUSH* brush, const char* path);
