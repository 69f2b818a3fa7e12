// 24-bit BMP files from the programs' 32-bit pictures, and the editor's
// checker patterns.
//
// Pictures are 32-bit DIBs: bytes blue, green, red, unused; rows stored
// lowest row first; stride exactly width * 4.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kBmpHeaderBytes = 54;

// Row padding of a 24-bit BMP row of `width` pixels.
inline int BmpRowPadding(int width)
{
    return (4 - (width * 3) % 4) % 4;
}

// The whole BMP file for a picture: the 54-byte header, then each row in
// memory order as blue, green, red plus zero padding. A zero width or height
// gives the header alone.
std::vector<uint8_t> BmpFileImage(const uint8_t* pixels, int width, int height);

// Pixel address of column x, row y counted from the top.
inline uint8_t* DibPixel(uint8_t* pixels, int width, int height, int x, int y)
{
    return pixels + (static_cast<std::size_t>(height - 1 - y) * width + x) * 4;
}

// Paints 3 x 3 checker squares: white where trunc(x/3) mod 2 equals
// trunc(y/3) mod 2 (y from the top), black elsewhere.
void RgnCheckPatFill(uint8_t* pixels, int width, int height);

// Sizes of the two checker pattern pictures.
constexpr int kCheckPatWidth = 854;
constexpr int kCheckPatHeight = 480;
constexpr int kCheckPatBandWidth = 851;
