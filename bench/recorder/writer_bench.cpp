// The recorder's writer on screen-like pictures: per output frame, the batch
// planning, the smooth-mode blend, the screen codec and the AVI writing to a
// file, on one core. The pictures are a still desktop with a window moving
// over it and text scrolling inside the window, grabbed about every 16 ms
// with a longer pause now and then, as the capture tick delivers them.
//
//   recorder_writer_bench [--level L] [--key-search K] [benchmark options]
//
// Prints, per frame size, the frames written per second of CPU time and
// where that time goes. --level sets the codec's zlib level of inter frames,
// --key-search how hard its key frames look for repeats (default: the
// recorder's, ZmbvOptions{}).
#include <benchmark/benchmark.h>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "codec/compressed_stream.h"
#include "codec/zmbv_encoder.h"
#include "codec/zmbv_format.h"
#include "common/avi/avi_writer.h"
#include "common/avi/compressed_stream_info.h"
#include "common/avi/riff_bytes.h"
#include "recorder/core/batch_plan.h"
#include "recorder/core/blend_table.h"
#include "recorder/core/capture_rules.h"
#include "recorder/core/capture_timing.h"
#include "recorder/core/frame_layout.h"
#include "recorder/core/ring_size.h"
#include "recorder/core/smooth_blend.h"
#include "recorder/core/sound_clock.h"
#include "recorder/core/writer_pace.h"

using namespace vemtra;

namespace {

codec::ZmbvOptions g_options;

double ThreadSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

uint32_t Hash(uint32_t a, uint32_t b)
{
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    return h ^ (h >> 13);
}

// Text-like rows of glyphs in 8 × 14 cells, as 0x00RRGGBB.
uint32_t TextPixel(int x, int y)
{
    const int line = y / 14, col = x / 8, cy = y % 14, cx = x % 8;
    const uint32_t lineHash = Hash(uint32_t(line), 5);
    const uint32_t paper = 0xFFFFFF, ink = 0x101010;
    if (lineHash % 7 == 0 || cy < 2 || cy > 11 || cx == 7 || col > int(30 + lineHash % 60)) return paper;
    const uint32_t glyph = Hash(uint32_t(line * 1000 + col), 9);
    if (glyph % 6 == 0) return paper;
    return (Hash(glyph, uint32_t(cy * 8 + cx)) & 3) == 0 ? ink : paper;
}

// The screen as the tick grabs it: a still desktop (gradient, icons, a
// taskbar) with a window moving over it and text scrolling in a log window
// beside it; in the heavy variant the text scrolls inside the moving window,
// so the codec finds no single motion for it.
class ScreenScene {
 public:
    ScreenScene(const FrameLayout& f, bool heavy)
        : f_(f), heavy_(heavy), desktop_(size_t(f.scaledWidth) * f.scaledHeight),
          winW_(heavy ? f.scaledWidth / 2 : f.scaledWidth * 2 / 5), winH_(heavy ? f.scaledHeight / 2 : f.scaledHeight * 2 / 5),
          logW_(f.scaledWidth / 3), logH_(f.scaledHeight / 2),
          text_(size_t(std::max(winW_, logW_)) * (std::max(winH_, logH_) * 4)), textW_(std::max(winW_, logW_))
    {
        for (int y = 0; y < f.scaledHeight; ++y) {
            for (int x = 0; x < f.scaledWidth; ++x) {
                uint32_t p = 0x204080 + (uint32_t(y * 96 / f.scaledHeight) << 8);
                if (x % 96 >= 16 && x % 96 < 64 && y % 96 >= 16 && y % 96 < 64 && x < 200)
                    p = (Hash(uint32_t(x / 96), uint32_t(y / 96)) & 0xFFFFFF) | 0x404040;
                if (y >= f.scaledHeight - 40) p = 0x303030;
                desktop_[size_t(y) * f.scaledWidth + x] = p;
            }
        }
        for (size_t y = 0; y < text_.size() / textW_; ++y)
            for (int x = 0; x < textW_; ++x) text_[y * textW_ + x] = TextPixel(x, int(y));
    }

    // Picture n into `dib` (the written frame, rows bottom-up).
    void Render(int n, uint8_t* dib) const
    {
        const int bottom = f_.scaledHeight - 40;  // above the taskbar
        const int wx = Bounce(n * 3, f_.scaledWidth - winW_), wy = Bounce(n * 2, bottom - winH_);
        const int lx = f_.scaledWidth - logW_ - 16, ly = 16;
        const int winScroll = heavy_ ? (n * 3) % (winH_ * 3) : 0;
        const int logScroll = (n * 2) % (logH_ * 3);
        for (int y = 0; y < f_.scaledHeight; ++y) {
            uint32_t* row = reinterpret_cast<uint32_t*>(dib + FramePixelOffset(f_, f_.offsetX, f_.offsetY + y));
            std::memcpy(row, &desktop_[size_t(y) * f_.scaledWidth], size_t(f_.scaledWidth) * 4);
            if (!heavy_ && y >= ly && y < ly + logH_) {
                std::memcpy(row + lx, &text_[size_t(y - ly + logScroll) * textW_], size_t(logW_) * 4);
            }
            if (y >= wy && y < wy + winH_) {
                const int r = y - wy;
                if (r < 24) {
                    std::fill(row + wx, row + wx + winW_, 0x2050C0u);
                } else {
                    std::memcpy(row + wx, &text_[size_t(r + winScroll) * textW_], size_t(winW_) * 4);
                }
            }
        }
    }

 private:
    static int Bounce(int t, int range)
    {
        if (range <= 0) return 0;
        const int p = t % (2 * range);
        return p < range ? p : 2 * range - p;
    }

    FrameLayout f_;
    bool heavy_;
    std::vector<uint32_t> desktop_;
    int winW_, winH_, logW_, logH_;
    std::vector<uint32_t> text_;
    int textW_;
};

struct Case {
    int recWidth, recHeight;    // the capture range
    int writeWidth, writeHeight;  // the written frame (16:9, even)
};
const Case kCases[] = {{1280, 720, 1296, 728}, {1920, 1080, 1936, 1088}};

// The writer of one file in a steady state: batches of one second of
// pictures (grabbed every 16 or 17 ms, one a second stayed 100 ms), planned
// against the sound clock, blended in smooth mode (on, as by default),
// compressed and written. Second argument 1: the heavy scene.
void BM_Writer(benchmark::State& state)
{
    const Case& c = kCases[state.range(0)];
    const bool heavy = state.range(1) != 0;
    const bool smoothing = true;
    const FrameLayout f = FrameLayoutMake(c.writeWidth, c.writeHeight, c.recWidth, c.recHeight,
                                          (c.writeWidth - c.recWidth) / 2, (c.writeHeight - c.recHeight) / 2);
    const CaptureTiming t = CaptureTimingCal(44100, 2);
    const int32_t ring = BmpSuuCal(f.writeWidth, f.writeHeight);
    std::vector<std::vector<uint8_t>> slots(ring, std::vector<uint8_t>(f.imageBytes, 0));
    std::vector<uint32_t> waveBytes(kRingSlotMax), slotMs(kRingSlotMax);
    std::vector<int32_t> change(kRingSlotMax);
    std::vector<uint8_t> table(kBlendTableBytes);
    BlendTableFill(table.data());
    ScreenScene scene(f, heavy);

    char path[] = "/tmp/vemtra-writer-bench-XXXXXX";
    const int fd = mkstemp(path);
    if (fd >= 0) close(fd);
    auto avi = avi::AviWriter::Create(path);
    const int s = avi->CreateStream(avi::CompressedStreamInfo(codec::zmbv::kFourCC, f.writeWidth, f.writeHeight,
                                                              avi::RecorderStreamRate(t.fps)));
    codec::CompressedVideoStream stream(*avi, s, std::make_unique<codec::ZmbvEncoder>(g_options), 0);
    std::vector<uint8_t> header;
    avi::ByteWriter w(header);
    w.U32(40);
    w.U32(uint32_t(f.writeWidth));
    w.U32(uint32_t(f.writeHeight));
    w.U16(1);
    w.U16(32);
    w.U32(0);
    w.U32(f.imageBytes);
    w.Zeros(16);
    if (!stream.SetFormat(header.data(), header.size())) {
        state.SkipWithError("codec refused the format");
        return;
    }

    int32_t capSlot = 0, batchStart = 0, pending = 0, written = 0, keyCount = 0;
    int picture = 0;
    uint32_t soundBytes = 0;
    int64_t frames = 0;
    double planSec = 0, blendSec = 0, codecSec = 0, keySec = 0;
    int64_t keyFrames = 0;
    // The tick: grabs `count` pictures into the ring with their sound times.
    auto capture = [&](int count) {
        for (int i = 0; i < count; ++i) {
            const int32_t prev = RingSlotAdd(capSlot, -1, ring);
            scene.Render(picture, slots[capSlot].data());
            change[capSlot] = 1 + picture % 7;
            waveBytes[capSlot] = soundBytes;
            slotMs[prev] = SlotMsCal(soundBytes, waveBytes[prev], t.bytesPerMs);
            capSlot = RingSlotAdd(capSlot, 1, ring);
            ++pending;
            soundBytes += uint32_t((picture % 60 == 59 ? 100 : 16 + picture % 2) * 176.4);
            ++picture;
        }
    };
    capture(t.fps + 1);

    for (auto _ : state) {
        // One batch: plan, then every picture as often as planned.
        double t0 = ThreadSeconds();
        const BatchSize bs = BatchSizeCal(pending, false, t.fps, ring);
        const BatchInput in = BatchGather(batchStart, bs, ring, waveBytes, slotMs, change);
        const BatchPlan plan = BatchPlanMake(in, written, t, false);
        batchStart = in.endSlot;
        pending -= bs.size;
        double t1 = ThreadSeconds();
        planSec += t1 - t0;
        for (int32_t i = 0; i < plan.size; ++i) {
            const int32_t slot = RingSlotAdd(plan.start, i, ring);
            for (int32_t k = 0; k < plan.copies[i]; ++k) {
                t0 = ThreadSeconds();
                if (SmoothBlendDue(smoothing, true, 0, k, plan.copies[i], i == plan.size - 1))
                    BlendSparse(slots[slot].data(), slots[RingSlotAdd(slot, 1, ring)].data(), f, table.data());
                t1 = ThreadSeconds();
                blendSec += t1 - t0;
                int64_t bytes = 0;
                const bool key = KeyFrameDue(keyCount);
                if (!stream.Write(written, slots[slot].data(), key ? avi::kAviIfKeyFrame : 0, &bytes)) {
                    state.SkipWithError("write failed");
                    break;
                }
                const double spent = ThreadSeconds() - t1;
                codecSec += spent;
                if (key) {
                    keySec += spent;
                    ++keyFrames;
                }
                keyCount = KeyCountNext(keyCount);
                ++written;
                ++frames;
            }
        }
        // The next second of grabs (not the writer's cost).
        state.PauseTiming();
        capture(bs.size);
        state.ResumeTiming();
    }
    const double total = planSec + blendSec + codecSec;
    state.counters["frames_per_s"] = total > 0 ? double(frames) / total : 0;
    state.counters["plan_us"] = frames ? planSec / double(frames) * 1e6 : 0;
    state.counters["blend_us"] = frames ? blendSec / double(frames) * 1e6 : 0;
    state.counters["codec_avi_us"] = frames ? codecSec / double(frames) * 1e6 : 0;
    state.counters["key_ms"] = keyFrames ? keySec / double(keyFrames) * 1e3 : 0;
    state.counters["inter_ms"] = frames > keyFrames ? (codecSec - keySec) / double(frames - keyFrames) * 1e3 : 0;
    state.counters["bytes_per_frame"] = frames ? double(avi->FileBytes()) / double(frames) : 0;
    state.SetLabel(std::to_string(c.recWidth) + "x" + std::to_string(c.recHeight) + " range, " +
                   std::to_string(f.writeWidth) + "x" + std::to_string(f.writeHeight) + " frames" +
                   (heavy ? ", text scrolling in the moving window" : ", moving window, scrolling log"));
    avi->Close();
    std::remove(path);
}

BENCHMARK(BM_Writer)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond)->MinTime(5.0);

}  // namespace

int main(int argc, char** argv)
{
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--level" && i + 1 < argc) {
            g_options.level = std::atoi(argv[++i]);
        } else if (a == "--key-search" && i + 1 < argc) {
            g_options.key_search = std::atoi(argv[++i]);
        } else {
            rest.push_back(argv[i]);
        }
    }
    int n = static_cast<int>(rest.size());
    benchmark::Initialize(&n, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
