#include "recorder/core/output_name.h"

#include <cstdint>
#include <cstdio>

namespace {

// Shift-JIS lead bytes (code page 932).
bool IsLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

const char* FullWidthFor(char c)
{
    switch (c) {
    case '"': return "”";
    case '<': return "＜";
    case '>': return "＞";
    case '|': return "｜";
    case ':': return "：";
    case '*': return "＊";
    case '?': return "？";
    case '\\': return "￥";
    case '/': return "／";
    default: return nullptr;
    }
}

}  // namespace

std::string OutBaseNameByTime(const std::string& folder, const LocalTime& t)
{
    char name[64];
    std::snprintf(name, sizeof name, "\\%02dm%02dd %02dh%02dm%02ds%02d", t.month, t.day, t.hour, t.minute, t.second,
                  t.milliseconds);
    return folder + name;
}

std::string FileNameClean(const std::string& typed)
{
    std::string clean;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char c = typed[i];
        if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < typed.size()) {
            clean += c;
            clean += typed[++i];
        } else if (const char* wide = FullWidthFor(c)) {
            clean += wide;
        } else {
            clean += c;
        }
    }
    return clean;
}

std::string UniqueOutputName(const std::string& base, const std::string& ext,
                             const std::function<bool(const std::string&)>& exists)
{
    std::string name = base + ext;
    // Bounded: a folder cannot hold more names of this family than there
    // are path characters to add zeros.
    for (int tries = 0; tries < 260 && exists(name); ++tries) {
        name = name.substr(0, name.size() - ext.size()) + "0" + ext;
    }
    return name;
}

uint32_t SoundBytesForFrames(int frames, float frameMs, int sampleRate, int channels)
{
    // The video's length as the engine counts it, in single precision.
    const float videoMs = static_cast<float>(frames) * frameMs;
    const double ms = static_cast<double>(static_cast<int64_t>(videoMs));
    const double bytes = ms * (sampleRate * 16.0 / 8000.0) * channels;
    const uint32_t block = static_cast<uint32_t>(channels) * 2;
    const uint32_t whole = static_cast<uint32_t>(bytes);
    return whole - whole % block;
}

int OutputPathExcess(const std::string& folder, const std::string& name)
{
    const int length = static_cast<int>(folder.size() + 1 + name.size());
    return length > 250 ? length - 250 : 0;
}
