// Writes the files of the parts folder "部品": the hand and mosaic cursors,
// the short interface sounds and the recording-device guide pictures.
//
// Everything is synthesised from fixed parameters, so the same source always
// gives the same bytes. Usage: partsgen <parts folder>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/core/bmp_file.h"
#include "common/core/le_bytes.h"
#include "common/core/wave_file.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 44100;

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "partsgen: cannot create %s\n", path.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// ---------------------------------------------------------------- sounds

// A deterministic generator for the "random" parts of the sounds.
struct Lcg {
    uint32_t state;
    double Next() // [0, 1)
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 16777216.0;
    }
};

struct Voice {
    double f0;        // start frequency, Hz
    double f1;        // end frequency, Hz (exponential glide)
    double start;     // seconds
    double length;    // seconds
    double level;     // 0..1
    double vibratoHz; // 0 = none
    double vibratoDepth; // fraction of the frequency
    double harmonics; // weight of the 2nd and 3rd harmonic, 0 = pure sine
};

class Sound {
public:
    explicit Sound(double seconds) : samples_(static_cast<std::size_t>(seconds * kRate), 0.0) {}

    void Add(const Voice& v)
    {
        double phase = 0.0;
        const int first = static_cast<int>(v.start * kRate);
        const int count = static_cast<int>(v.length * kRate);
        for (int i = 0; i < count && first + i < static_cast<int>(samples_.size()); ++i) {
            const double t = static_cast<double>(i) / count;
            double f = v.f0 * std::pow(v.f1 / v.f0, t);
            if (v.vibratoHz > 0) {
                f *= 1.0 + v.vibratoDepth * std::sin(2 * kPi * v.vibratoHz * i / kRate);
            }
            phase += 2 * kPi * f / kRate;
            // Short attack, exponential decay: no clicks at either end.
            const double attack = std::fmin(1.0, i / (0.004 * kRate));
            const double release = std::fmin(1.0, (count - i) / (0.01 * kRate));
            const double env = attack * release * std::exp(-3.0 * t);
            const double wave = std::sin(phase) + v.harmonics * (0.5 * std::sin(2 * phase) + 0.25 * std::sin(3 * phase));
            samples_[first + i] += v.level * env * wave / (1.0 + 0.75 * v.harmonics);
        }
    }

    void AddNoise(double start, double length, double level, uint32_t seed)
    {
        Lcg rng{seed};
        double low = 0.0;
        const int first = static_cast<int>(start * kRate);
        const int count = static_cast<int>(length * kRate);
        for (int i = 0; i < count && first + i < static_cast<int>(samples_.size()); ++i) {
            low += 0.08 * ((rng.Next() * 2 - 1) - low); // dark, rumbling noise
            const double env = std::exp(-4.0 * i / count) * std::fmin(1.0, (count - i) / (0.01 * kRate));
            samples_[first + i] += level * env * low * 4.0;
        }
    }

    // Adds delayed, quieter copies of the sound so far.
    void Echo(double delaySeconds, double feedback, int repeats)
    {
        const std::vector<double> dry = samples_;
        double gain = feedback;
        for (int r = 1; r <= repeats; ++r, gain *= feedback) {
            const std::size_t offset = static_cast<std::size_t>(r * delaySeconds * kRate);
            for (std::size_t i = 0; i + offset < samples_.size(); ++i) {
                samples_[i + offset] += gain * dry[i];
            }
        }
    }

    std::vector<uint8_t> WavFile() const
    {
        double peak = 1e-9;
        for (double s : samples_) {
            peak = std::fmax(peak, std::fabs(s));
        }
        const double scale = 0.7 * 32767 / peak;
        const uint32_t dataBytes = static_cast<uint32_t>(samples_.size() * 2);
        std::vector<uint8_t> file(kWaveHeaderBytes + dataBytes);
        WaveHeaderBuild(file.data(), dataBytes, 1, kRate);
        uint8_t* p = file.data() + kWaveHeaderBytes;
        for (double s : samples_) {
            const int v = static_cast<int>(std::lround(s * scale));
            PutLe16(p, static_cast<uint16_t>(static_cast<int16_t>(v)));
            p += 2;
        }
        return file;
    }

private:
    std::vector<double> samples_;
};

struct SoundRecipe {
    const char* name;
    Sound (*make)();
};

const SoundRecipe kSounds[] = {
    {"ひょい重.wav", [] { // a heavy hop: low rising glide
         Sound s(0.35);
         s.Add({160, 420, 0, 0.3, 1.0, 0, 0, 0.6});
         return s;
     }},
    {"ひょい.wav", [] { // a light hop aside
         Sound s(0.2);
         s.Add({600, 1400, 0, 0.16, 1.0, 0, 0, 0.2});
         return s;
     }},
    {"ひょい2.wav", [] {
         Sound s(0.2);
         s.Add({900, 1800, 0, 0.12, 1.0, 0, 0, 0.2});
         s.Add({1350, 2700, 0.05, 0.1, 0.4, 0, 0, 0});
         return s;
     }},
    {"ワープ？.wav", [] { // warp: a wide wobbling sweep
         Sound s(0.6);
         s.Add({180, 2200, 0, 0.55, 1.0, 18, 0.08, 0.3});
         return s;
     }},
    {"ずも～ん　多重エコー小.wav", [] { // a low boom with small repeated echoes
         Sound s(1.2);
         s.Add({110, 55, 0, 0.5, 1.0, 0, 0, 0.8});
         s.AddNoise(0, 0.3, 0.5, 7);
         s.Echo(0.13, 0.45, 5);
         return s;
     }},
    {"お.wav", [] { // a short "o": two formant-like partials
         Sound s(0.25);
         s.Add({300, 280, 0, 0.22, 1.0, 6, 0.01, 0.5});
         s.Add({820, 780, 0, 0.22, 0.35, 0, 0, 0});
         return s;
     }},
    {"トゥーン2.wav", [] { // done: a falling two-step tone
         Sound s(0.5);
         s.Add({988, 980, 0, 0.18, 1.0, 0, 0, 0.3});
         s.Add({659, 440, 0.16, 0.3, 1.0, 5, 0.01, 0.3});
         return s;
     }},
    {"プオ.wav", [] { // a soft horn, rising
         Sound s(0.3);
         s.Add({240, 480, 0, 0.26, 1.0, 0, 0, 1.0});
         return s;
     }},
    {"みみ.wav", [] { // two quick high beeps
         Sound s(0.25);
         s.Add({1500, 1500, 0, 0.07, 1.0, 0, 0, 0});
         s.Add({1800, 1800, 0.11, 0.08, 1.0, 0, 0, 0});
         return s;
     }},
    {"ぶくぶく.wav", [] { // bubbles: short rising blips at irregular times
         Sound s(0.6);
         Lcg rng{42};
         double t = 0;
         while (t < 0.5) {
             const double f = 300 + 500 * rng.Next();
             s.Add({f, f * 2.2, t, 0.05, 0.6 + 0.4 * rng.Next(), 0, 0, 0});
             t += 0.03 + 0.05 * rng.Next();
         }
         return s;
     }},
    {"重い.wav", [] { // heavy: a low thud with rumble
         Sound s(0.5);
         s.Add({90, 60, 0, 0.4, 1.0, 0, 0, 1.0});
         s.AddNoise(0, 0.4, 0.6, 11);
         return s;
     }},
    {"ワヨーン 高さランダム＋コーラス.wav", [] { // wobble at a random pitch with a chorus
         Sound s(0.8);
         Lcg rng{2024};
         const double base = 300 + 400 * rng.Next();
         for (double detune : {0.0, 0.006, -0.007}) {
             s.Add({base * (1 + detune), base * 1.5 * (1 + detune), 0, 0.7, 0.6, 7, 0.06, 0.4});
         }
         return s;
     }},
};

// --------------------------------------------------------------- cursors

constexpr int kCurSize = 32;

// One 32 x 32 cursor drawn as a mask of '#' (black), 'o' (white), '.' (clear).
struct CursorPicture {
    const char* name;
    int hotX;
    int hotY;
    void (*draw)(char (&grid)[kCurSize][kCurSize + 1]);
};

void FillDisc(char (&g)[kCurSize][kCurSize + 1], double cx, double cy, double r, char c)
{
    for (int y = 0; y < kCurSize; ++y) {
        for (int x = 0; x < kCurSize; ++x) {
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) {
                g[y][x] = c;
            }
        }
    }
}

void FillRect(char (&g)[kCurSize][kCurSize + 1], int x0, int y0, int x1, int y1, char c)
{
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (x >= 0 && x < kCurSize && y >= 0 && y < kCurSize) {
                g[y][x] = c;
            }
        }
    }
}

// Draws a shape twice: black one pixel larger, then white, giving an outline.
void OutlinedHand(char (&g)[kCurSize][kCurSize + 1], bool open)
{
    for (int pass = 0; pass < 2; ++pass) {
        const char c = pass == 0 ? '#' : 'o';
        const int grow = pass == 0 ? 1 : 0;
        FillDisc(g, 16, 20, 7.5 + grow, c); // palm
        if (open) {
            const int fingerX[4] = {9, 13, 17, 21};
            const int fingerTop[4] = {7, 4, 4, 7};
            for (int i = 0; i < 4; ++i) {
                FillRect(g, fingerX[i] - grow, fingerTop[i] - grow, fingerX[i] + 2 + grow, 16, c);
            }
            FillRect(g, 23 - grow, 14 - grow, 27 + grow, 17 + grow, c); // thumb aside
        } else {
            for (int i = 0; i < 4; ++i) {
                FillDisc(g, 10.5 + 4 * i, 13, 2.3 + grow, c); // curled knuckles
            }
            FillRect(g, 21 - grow, 16 - grow, 24 + grow, 20 + grow, c); // thumb folded in
        }
    }
}

const CursorPicture kCursors[] = {
    {"HandOpen.cur", 16, 16, [](char (&g)[kCurSize][kCurSize + 1]) { OutlinedHand(g, true); }},
    {"HandClose.cur", 16, 16, [](char (&g)[kCurSize][kCurSize + 1]) { OutlinedHand(g, false); }},
    {"mozaic.cur", 15, 15, [](char (&g)[kCurSize][kCurSize + 1]) {
         // A cross-hair with a small block pattern in its lower right corner.
         FillRect(g, 14, 2, 16, 28, '#');
         FillRect(g, 2, 14, 28, 16, '#');
         FillRect(g, 15, 3, 15, 27, 'o');
         FillRect(g, 3, 15, 27, 15, 'o');
         for (int by = 0; by < 3; ++by) {
             for (int bx = 0; bx < 3; ++bx) {
                 FillRect(g, 19 + bx * 4, 19 + by * 4, 22 + bx * 4, 22 + by * 4, (bx + by) % 2 ? 'o' : '#');
             }
         }
     }},
};

// A .cur file: icon directory of type 2 with one 32-bit 32 x 32 image whose
// header height is doubled for the AND mask that follows the colour rows.
std::vector<uint8_t> CursorFile(const CursorPicture& c)
{
    char grid[kCurSize][kCurSize + 1];
    for (auto& row : grid) {
        std::memset(row, '.', kCurSize);
        row[kCurSize] = '\0';
    }
    c.draw(grid);

    const int xorBytes = kCurSize * kCurSize * 4;
    const int andStride = 4; // 32 bits per mask row
    const int andBytes = kCurSize * andStride;
    const int imageBytes = 40 + xorBytes + andBytes;
    std::vector<uint8_t> f(6 + 16 + imageBytes, 0);
    PutLe16(&f[2], 2); // cursor
    PutLe16(&f[4], 1); // one image
    uint8_t* e = &f[6];
    e[0] = kCurSize;
    e[1] = kCurSize;
    PutLe16(e + 4, static_cast<uint32_t>(c.hotX));
    PutLe16(e + 6, static_cast<uint32_t>(c.hotY));
    PutLe32(e + 8, static_cast<uint32_t>(imageBytes));
    PutLe32(e + 12, 6 + 16);
    uint8_t* h = &f[22];
    PutLe32(h, 40);
    PutLe32(h + 4, kCurSize);
    PutLe32(h + 8, kCurSize * 2);
    PutLe16(h + 12, 1);
    PutLe16(h + 14, 32);
    PutLe32(h + 20, static_cast<uint32_t>(xorBytes + andBytes));
    uint8_t* colour = h + 40;
    uint8_t* mask = colour + xorBytes;
    for (int row = 0; row < kCurSize; ++row) {
        const char* line = grid[kCurSize - 1 - row]; // bottom-up
        for (int x = 0; x < kCurSize; ++x) {
            uint8_t* p = colour + (row * kCurSize + x) * 4;
            if (line[x] == '.') {
                mask[row * andStride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            } else {
                const uint8_t v = line[x] == 'o' ? 0xFF : 0x00;
                p[0] = p[1] = p[2] = v;
                p[3] = 0xFF;
            }
        }
    }
    return f;
}

// ----------------------------------------------------------- guide pictures

constexpr int kGuideW = 400;
constexpr int kGuideH = 260;

class Picture {
public:
    Picture(int w, int h) : w_(w), h_(h), px_(static_cast<std::size_t>(w) * h * 4, 0) {}

    void Rect(int x0, int y0, int x1, int y1, uint32_t rgb)
    {
        for (int y = std::max(0, y0); y <= std::min(h_ - 1, y1); ++y) {
            for (int x = std::max(0, x0); x <= std::min(w_ - 1, x1); ++x) {
                PutLe32(DibPixel(px_.data(), w_, h_, x, y), rgb);
            }
        }
    }

    void Frame(int x0, int y0, int x1, int y1, uint32_t rgb)
    {
        Rect(x0, y0, x1, y0, rgb);
        Rect(x0, y1, x1, y1, rgb);
        Rect(x0, y0, x0, y1, rgb);
        Rect(x1, y0, x1, y1, rgb);
    }

    // A list row: an icon square and a text-like bar.
    void ListRow(int x, int y, uint32_t icon, int barLength, bool highlighted)
    {
        if (highlighted) {
            Rect(x - 4, y - 4, x + 30 + barLength + 10, y + 24, 0x3399FF);
        }
        Rect(x, y, x + 20, y + 20, icon);
        Rect(x + 30, y + 6, x + 30 + barLength, y + 12, highlighted ? 0xFFFFFF : 0x404040);
    }

    void Arrow(int x, int y)
    {
        for (int i = 0; i < 16; ++i) {
            Rect(x, y + i, x + i / 2, y + i, 0x000000);
        }
        Rect(x + 3, y + 12, x + 5, y + 22, 0x000000);
    }

    std::vector<uint8_t> BmpFile() const { return BmpFileImage(px_.data(), w_, h_); }

private:
    int w_;
    int h_;
    std::vector<uint8_t> px_;
};

Picture GuideBase(const char* /*what*/)
{
    Picture p(kGuideW, kGuideH);
    p.Rect(0, 0, kGuideW - 1, kGuideH - 1, 0xF0F0F0); // dialog face
    p.Rect(0, 0, kGuideW - 1, 22, 0x2B579A);          // caption
    p.Frame(0, 0, kGuideW - 1, kGuideH - 1, 0x808080);
    return p;
}

struct GuideRecipe {
    const char* name;
    Picture (*make)();
};

const GuideRecipe kGuides[] = {
    {"スピーカ右クリック.bmp", [] { // the task bar with the speaker icon and its menu
         Picture p(kGuideW, kGuideH);
         p.Rect(0, 0, kGuideW - 1, kGuideH - 1, 0x3A6EA5);
         p.Rect(0, kGuideH - 30, kGuideW - 1, kGuideH - 1, 0x1F1F1F);
         p.Rect(330, kGuideH - 24, 346, kGuideH - 8, 0xE0E0E0); // speaker
         p.Rect(220, 90, 390, 220, 0xF0F0F0);
         p.Frame(220, 90, 390, 220, 0x808080);
         for (int i = 0; i < 4; ++i) {
             p.ListRow(230, 100 + i * 28, 0xFFFFFF, 110, i == 1);
         }
         p.Arrow(338, kGuideH - 20);
         return p;
     }},
    {"録音デバイス.bmp", [] { // the recording tab with a device list
         Picture p = GuideBase("recording");
         p.ListRow(20, 50, 0x50A050, 180, false);
         p.ListRow(20, 90, 0xA05050, 150, false);
         p.ListRow(20, 130, 0x5050A0, 200, true);
         return p;
     }},
    {"無効なデバイスの表示　.bmp", [] { // the context menu showing disabled devices
         Picture p = GuideBase("show disabled");
         p.ListRow(20, 50, 0x50A050, 180, false);
         p.Rect(140, 90, 370, 190, 0xFFFFFF);
         p.Frame(140, 90, 370, 190, 0x808080);
         p.ListRow(150, 100, 0xFFFFFF, 160, true);
         p.ListRow(150, 130, 0xFFFFFF, 120, false);
         p.ListRow(150, 160, 0xFFFFFF, 140, false);
         return p;
     }},
    {"ステレオミキサー右クリック.bmp", [] { // enable the stereo mixer
         Picture p = GuideBase("enable");
         p.ListRow(20, 50, 0x5050A0, 200, true);
         p.Rect(180, 80, 380, 150, 0xFFFFFF);
         p.Frame(180, 80, 380, 150, 0x808080);
         p.ListRow(190, 90, 0x50C050, 100, true);
         p.ListRow(190, 118, 0xFFFFFF, 130, false);
         return p;
     }},
    {"ステレオミキサー右クリック 有効.bmp", [] { // open its properties
         Picture p = GuideBase("properties");
         p.ListRow(20, 50, 0x5050A0, 200, true);
         p.Rect(180, 80, 380, 180, 0xFFFFFF);
         p.Frame(180, 80, 380, 180, 0x808080);
         p.ListRow(190, 90, 0xFFFFFF, 100, false);
         p.ListRow(190, 118, 0xFFFFFF, 130, false);
         p.ListRow(190, 146, 0xFFFFFF, 90, true);
         return p;
     }},
    {"ステレオミキサーの音量.bmp", [] { // the level slider at about 70
         Picture p = GuideBase("level");
         p.Rect(30, 110, 330, 114, 0x808080);
         p.Rect(30, 110, 240, 114, 0x3399FF);
         p.Rect(236, 98, 246, 126, 0x404040);
         p.Frame(345, 100, 380, 124, 0x404040);
         return p;
     }},
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: partsgen <parts folder>\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    bool ok = true;
    for (const SoundRecipe& s : kSounds) {
        ok &= WriteFile(dir + s.name, s.make().WavFile());
    }
    for (const CursorPicture& c : kCursors) {
        ok &= WriteFile(dir + c.name, CursorFile(c));
    }
    for (const GuideRecipe& g : kGuides) {
        ok &= WriteFile(dir + g.name, g.make().BmpFile());
    }
    return ok ? 0 : 1;
}
