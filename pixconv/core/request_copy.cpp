#include "pixconv/core/request_copy.h"

#include <cstring>

void RequestTextCopy(char* dest, std::size_t destSize, const void* data, std::size_t dataBytes)
{
    if (destSize == 0) {
        return;
    }
    std::size_t n = 0;
    if (data != nullptr) {
        const char* src = static_cast<const char*>(data);
        const std::size_t limit = dataBytes < destSize - 1 ? dataBytes : destSize - 1;
        while (n < limit && src[n] != '\0') {
            dest[n] = src[n];
            ++n;
        }
    }
    dest[n] = '\0';
}

void RequestBytesCopy(char* dest, std::size_t destSize, const void* data, std::size_t dataBytes)
{
    const std::size_t n = data == nullptr ? 0 : (dataBytes < destSize ? dataBytes : destSize);
    if (n > 0) {
        std::memcpy(dest, data, n);
    }
    std::memset(dest + n, 0, destSize + 2 - n);
}
