// Names of a recording's results in the output folder.
#pragma once

#include <functional>
#include <string>

// Local time of the finalisation, as the clock gives it.
struct LocalTime {
    int month, day, hour, minute, second, milliseconds;
};

// "<folder>\07m15d 14h03m22s05": the base name of a recording named by
// its time (the milliseconds field is printed with at least two digits).
std::string OutBaseNameByTime(const std::string& folder, const LocalTime& t);

// A typed name made safe for a file name: each single-byte character that
// Windows forbids in names becomes its full-width form; double-byte
// (Shift-JIS) characters are kept whole, so their second byte is never
// mistaken for one of the forbidden characters.
std::string FileNameClean(const std::string& typed);

// The first of base + ext, base + "0" + ext, base + "00" + ext, … that does
// not exist: "while a file of that name exists, replace its last four
// characters by 0.avi".
std::string UniqueOutputName(const std::string& base, const std::string& ext,
                             const std::function<bool(const std::string&)>& exists);

// Bytes of sound that last as long as `frames` video frames: whole samples
// of all channels, so the sound file holds no half sample.
uint32_t SoundBytesForFrames(int frames, float frameMs, int sampleRate, int channels);

// Bytes by which "<folder>\<name>" passes the 250-byte limit of an output
// path (0 when it fits).
int OutputPathExcess(const std::string& folder, const std::string& name);
