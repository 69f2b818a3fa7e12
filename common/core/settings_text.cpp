#include "common/core/settings_text.h"

#include <cstring>

void FileReadLineFromText(char* dest, const char* text, std::size_t size, int lineIndex)
{
    char line[kFileReadLineBytes];
    int lineLen = 0;
    int lineNum = 0;
    for (std::size_t i = 0; i < size && text[i] != '\0'; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r' || c == '\n') {
            // A second break byte right behind the first belongs to the same break.
            if (i + 1 < size && (text[i + 1] == '\r' || text[i + 1] == '\n')) {
                ++i;
            }
            if (++lineNum > lineIndex) {
                break;
            }
            continue;
        }
        if (lineNum == lineIndex && c >= 0x20 && lineLen < kFileReadLineBytes - 1) {
            line[lineLen++] = static_cast<char>(c);
        }
    }
    line[lineLen] = '\0';
    std::memcpy(dest, line, static_cast<std::size_t>(lineLen) + 1);
}

int32_t TextToNum(const char* text, int length)
{
    if (length == 0) {
        length = static_cast<int>(std::strlen(text));
    }
    int i = 0;
    bool negative = false;
    if (length > 0 && text[0] == '-') {
        negative = true;
        i = 1;
    }
    // Unsigned arithmetic wraps like the 32-bit registers the values live in;
    // garbage in gives garbage out, never undefined behaviour.
    uint32_t value = 0;
    for (; i < length; ++i) {
        value = value * 10u + static_cast<uint32_t>(static_cast<unsigned char>(text[i]) - '0');
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<int32_t>(value);
}

std::string NumToText(int32_t value)
{
    return std::to_string(value);
}
