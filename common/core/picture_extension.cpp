#include "common/core/picture_extension.h"

#include <cstring>

bool PixconvWantsExtension(const char* path)
{
    const char* dot = std::strrchr(path, '.');
    if (dot == nullptr || std::strlen(dot) != 4) {
        return false;
    }
    char ext[5];
    for (int i = 0; i < 4; ++i) {
        const char c = dot[i];
        ext[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    ext[4] = '\0';
    return std::strcmp(ext, ".jpg") == 0 || std::strcmp(ext, ".gif") == 0 || std::strcmp(ext, ".png") == 0;
}
