#include "common/core/bmp_file.h"

#include "common/core/le_bytes.h"

std::vector<uint8_t> BmpFileImage(const uint8_t* pixels, int width, int height)
{
    const int padding = BmpRowPadding(width);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3 + padding;
    const std::size_t fileSize = kBmpHeaderBytes + static_cast<std::size_t>(height) * rowBytes;
    std::vector<uint8_t> file(fileSize, 0);
    uint8_t* h = file.data();
    h[0] = 'B';
    h[1] = 'M';
    PutLe32(h + 2, static_cast<uint32_t>(fileSize));
    PutLe32(h + 10, kBmpHeaderBytes);
    PutLe32(h + 14, 40);
    PutLe32(h + 18, static_cast<uint32_t>(width));
    PutLe32(h + 22, static_cast<uint32_t>(height));
    PutLe16(h + 26, 1);
    PutLe16(h + 28, 24);

    uint8_t* out = file.data() + kBmpHeaderBytes;
    const uint8_t* in = pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out += 3;
            in += 4;
        }
        out += padding;
    }
    return file;
}

void RgnCheckPatFill(uint8_t* pixels, int width, int height)
{
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool white = (x / 3) % 2 == (y / 3) % 2;
            const uint32_t v = white ? 0xFFFFFFu : 0u;
            PutLe32(DibPixel(pixels, width, height, x, y), v);
        }
    }
}
