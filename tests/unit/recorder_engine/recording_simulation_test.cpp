// A recording run in simulated time through the real planning, the real
// screen codec and the real AVI writer: a capture tick every 16 ms with
// jitter and stalls, a sound device that starts late, reports in chunks and
// runs slightly fast, a writer that outputs batches at a given cost per
// frame and sometimes falls behind. Every file must end with as many frames
// as its sound lasts, the ring must never overwrite a picture before it is
// written, and memory must not grow from one file to the next.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// From the AddressSanitizer runtime (its header is not always installed).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

#include "codec/compressed_stream.h"
#include "codec/zmbv_encoder.h"
#include "codec/zmbv_format.h"
#include "common/avi/avi_reader.h"
#include "common/avi/avi_writer.h"
#include "common/avi/compressed_stream_info.h"
#include "common/avi/riff_bytes.h"
#include "recorder/core/batch_plan.h"
#include "recorder/core/blend_table.h"
#include "recorder/core/capture_rules.h"
#include "recorder/core/capture_timing.h"
#include "recorder/core/change_measure.h"
#include "recorder/core/ring_size.h"
#include "recorder/core/smooth_blend.h"
#include "recorder/core/sound_clock.h"
#include "recorder/core/writer_pace.h"
#include "tests/unit/avi/test_files.h"

namespace {

using namespace vemtra;

size_t HeapInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

// A tiny 16:9 frame keeps the hour fast; the ring is as long as for any
// frame this small.
constexpr int32_t kWidth = 32;
constexpr int32_t kHeight = 18;

struct SimConfig {
    uint32_t recordMs;        // from "録画！" to the stop
    bool silent;              // recording without sound
    uint32_t pauseAtMs;       // 0: no pause
    uint32_t pauseMs;
    int32_t ring;             // 0: the ring of the frame size
};

// The screen: a picture whose content changes at a rate that varies over
// every minute (60 Hz animation, 30 Hz video, a still desktop with a clock,
// a 10 Hz slideshow).
class Screen {
 public:
    Screen() : pixels_(size_t(kWidth) * kHeight * 4) {}

    uint32_t VersionAt(uint32_t ms) const
    {
        const uint32_t inMinute = ms % 60000;
        if (inMinute < 40000) return ms / 16;
        if (inMinute < 50000) return 1000000 + ms / 33;
        if (inMinute < 55000) return 2000000 + ms / 1000;
        return 3000000 + ms / 100;
    }

    const uint8_t* PictureAt(uint32_t ms)
    {
        const uint32_t v = VersionAt(ms);
        if (v != version_ || !drawn_) {
            for (int y = 0; y < kHeight; ++y) {
                for (int x = 0; x < kWidth; ++x) {
                    uint8_t* p = &pixels_[(size_t(kHeight - 1 - y) * kWidth + x) * 4];
                    const bool bar = (x + int(v % kWidth)) % kWidth < 4;
                    p[0] = bar ? 0xFF : uint8_t(x * 3 + v);
                    p[1] = uint8_t(y * 5 + (v >> 3));
                    p[2] = bar ? 0x20 : uint8_t(0x80 + (v & 7));
                    p[3] = 0;
                }
            }
            version_ = v;
            drawn_ = true;
        }
        return pixels_.data();
    }

 private:
    std::vector<uint8_t> pixels_;
    uint32_t version_ = 0;
    bool drawn_ = false;
};

// A wave-in device: nothing for half a second after opening, then the bytes
// of its own clock (slightly fast against the tick's), reported in 10 ms
// chunks, each report up to 15 ms late.
class SoundDevice {
 public:
    explicit SoundDevice(uint32_t seed) : rng_(seed) {}

    void Open(uint32_t nowMs)
    {
        open_ = true;
        openMs_ = nowMs;
        reported_ = 0;
    }
    void Close() { open_ = false; }

    uint32_t BytesRecorded(uint32_t nowMs)
    {
        if (!open_) return reported_;
        const int64_t lag = std::uniform_int_distribution<int>(0, 15)(rng_);
        const int64_t ms = int64_t(nowMs) - openMs_ - 500 - lag;
        if (ms > 0) {
            const int64_t frames = int64_t(double(ms) * 44.1 * 1.0002) / 441 * 441;
            reported_ = std::max<uint32_t>(reported_, uint32_t(frames * 4));
        }
        return reported_;
    }

 private:
    std::mt19937 rng_;
    bool open_ = false;
    uint32_t openMs_ = 0;
    uint32_t reported_ = 0;
};

struct FileResult {
    std::string path;
    int32_t written = 0;
    uint32_t waveBytes = 0;
};

class RecordingSim {
 public:
    RecordingSim(const SimConfig& config, const std::string& folder)  // folder ends with a slash
        : config_(config),
          folder_(folder),
          t_(CaptureTimingCal(44100, 2)),
          layout_(FrameLayoutMake(kWidth, kHeight, kWidth, kHeight, 0, 0)),
          ring_(config.ring ? config.ring : BmpSuuCal(kWidth, kHeight)),
          slots_(ring_, std::vector<uint8_t>(layout_.imageBytes)),
          slotWaveBytes_(kRingSlotMax),
          slotMs_(kRingSlotMax),
          slotChange_(kRingSlotMax),
          table_(kBlendTableBytes),
          device_(12345),
          rng_(777)
    {
        BlendTableFill(table_.data());
        clock_ = SoundClockMake(config.silent, 44100, 2);
    }

    // Runs the whole recording; the results of every file.
    void Run()
    {
        OpenFile(1, 0);
        uint32_t nextTick = 0;
        uint32_t writerNext = 0;
        bool paused = false;
        uint32_t tickCount = 0;
        while (true) {
            const uint32_t now = std::min(nextTick, writerNext);
            if (now >= config_.recordMs) break;
            if (config_.pauseAtMs && !paused && now >= config_.pauseAtMs &&
                now < config_.pauseAtMs + config_.pauseMs) {
                Pause(now);
                paused = true;
            }
            if (paused && now >= config_.pauseAtMs + config_.pauseMs) {
                Resume(now);
                paused = false;
            }
            if (nextTick <= writerNext) {
                const uint32_t busyUntil = Tick(nextTick, paused);
                // The timer thread runs one callback at a time: a long tick
                // delays the next; otherwise 16 ms, now and then late, and
                // every 10 seconds a stall of the whole system.
                ++tickCount;
                uint32_t period = uint32_t(t_.tickMs) + (std::uniform_int_distribution<int>(0, 9)(rng_) == 0 ? 5 : 0);
                if (tickCount % 625 == 0) period += 120;
                nextTick = std::max(nextTick + period, busyUntil);
            } else {
                writerNext = WriterStep(writerNext, paused, false);
            }
            if (splitDue_) {
                Split(now);
                nextTick = std::max(nextTick, now + 100);  // the split's own waits
                writerNext = nextTick;
            }
        }
        CloseFile(config_.recordMs);
    }

    const std::vector<FileResult>& Files() const { return files_; }
    int32_t Lapped() const { return lapped_; }
    int32_t SkippedCopies() const { return skipped_; }
    double MaxBatchDriftFrames() const { return maxDrift_; }
    int32_t MaxBusy() const { return maxBusy_; }
    const std::vector<size_t>& HeapAtFileEnd() const { return heapAtFileEnd_; }
    const std::vector<size_t>& HeapInFile() const { return heapInFile_; }
    int32_t Ring() const { return ring_; }
    int64_t Grabs() const { return grabs_; }
    double MaxSyncMs() const { return maxSyncMs_; }

 private:
    uint32_t RunBytes(uint32_t now) { return SoundClockRunBytes(clock_, device_.BytesRecorded(now), now); }

    void StartSound(uint32_t now)
    {
        if (!config_.silent) device_.Open(now);
        SoundClockRunStart(&clock_, now, 328104000u - fileWaveBytes_);
    }
    void StopSound(uint32_t now)
    {
        fileWaveBytes_ += RunBytes(now);
        device_.Close();
        SoundClockRunStart(&clock_, now, 0);
    }

    void OpenFile(int32_t n, uint32_t now)
    {
        fileNum_ = n;
        FileResult r;
        r.path = folder_ + "Video" + std::to_string(n) + ".avi";
        files_.push_back(r);
        avi_ = avi::AviWriter::Create(r.path);
        ASSERT_TRUE(avi_);
        const int s = avi_->CreateStream(avi::CompressedStreamInfo(codec::zmbv::kFourCC, kWidth, kHeight,
                                                                   avi::RecorderStreamRate(t_.fps)));
        stream_ = std::make_unique<codec::CompressedVideoStream>(*avi_, s, std::make_unique<codec::ZmbvEncoder>(), 0);
        // BITMAPINFOHEADER of the written frames.
        std::vector<uint8_t> header;
        avi::ByteWriter w(header);
        w.U32(40);
        w.U32(kWidth);
        w.U32(kHeight);
        w.U16(1);
        w.U16(32);
        w.U32(0);
        w.U32(layout_.imageBytes);
        w.Zeros(16);
        ASSERT_TRUE(stream_->SetFormat(header.data(), header.size()));
        // The engine's reset for a new file.
        capSlot_ = 0;
        batchStart_ = 0;
        capFrames_ = pending_ = written_ = batchLeft_ = 0;
        keyCount_ = 0;
        fileBytes_ = 0;
        fileWaveBytes_ = 0;
        noChangeRun_ = retryCount_ = 0;
        std::fill(slotWaveBytes_.begin(), slotWaveBytes_.end(), 0);
        std::fill(slotMs_.begin(), slotMs_.end(), 0);
        threshold_ = TamattaJoukenCal(ring_, t_, false);
        capSleepMs_ = 0;
        busyFace_ = 0;
        outputting_ = false;
        heapSampled_ = false;
        fileStartMs_ = now;
        StartSound(now);
    }

    // Stops the file's sound, writes every picture still pending (the
    // closing flush) and completes the AVI file.
    void CloseFile(uint32_t now)
    {
        StopSound(now);
        uint32_t w = now;
        while (outputting_ || pending_ > 0) w = WriterStep(w, false, true);
        files_.back().written = written_;
        files_.back().waveBytes = fileWaveBytes_;
        stream_.reset();
        ASSERT_TRUE(avi_->Close());
        avi_.reset();
        heapAtFileEnd_.push_back(HeapInUse());
    }

    void Split(uint32_t now)
    {
        splitDue_ = false;
        CloseFile(now);
        OpenFile(fileNum_ + 1, now + 100);
    }

    void Pause(uint32_t now)
    {
        StopSound(now);  // the sound part of the pause: the run's bytes join the file's
    }
    void Resume(uint32_t now) { StartSound(now); }

    // One capture tick at `now`; returns when the tick's thread is free again.
    uint32_t Tick(uint32_t now, bool paused)
    {
        if (paused) {
            lastFrameTime_ = now;
            return now;
        }
        const uint32_t tickTime = now;
        if (!FrameDue(tickTime, lastFrameTime_, capFrames_ == 0, t_)) return now;
        uint32_t grab = now + uint32_t(capSleepMs_);
        while (true) {
            // Grab straight into the slot being filled.
            ++grabs_;
            if (pending_ + batchLeft_ >= ring_) ++lapped_;
            std::memcpy(slots_[capSlot_].data(), screen_.PictureAt(grab), layout_.imageBytes);
            const int32_t prev = RingSlotAdd(capSlot_, -1, ring_);
            const int32_t change = ChangeMeasure(slots_[prev].data(), slots_[capSlot_].data(), layout_, false);
            slotChange_[capSlot_] = change;
            const GrabVerdict v = GrabJudge(change, capFrames_, false, &noChangeRun_, &retryCount_);
            if (v == GrabVerdict::kAccept) {
                const uint32_t bytes = fileWaveBytes_ + RunBytes(grab);
                slotWaveBytes_[capSlot_] = bytes;
                slotMs_[prev] = SlotMsCal(bytes, slotWaveBytes_[prev], t_.bytesPerMs);
                capSlot_ = RingSlotAdd(capSlot_, 1, ring_);
                ++capFrames_;
                ++pending_;
                if (SoundSplitDue(SoundMsCal(bytes, t_.bytesPerMs))) splitDue_ = true;
                lastFrameTime_ = tickTime;
                break;
            }
            // The first frames of a file wait for a change; a stall of a
            // whole second ends the tick so that a stop or pause is seen.
            if (grab - now > 1000) break;
            grab += kRetryWaitMs;
        }
        if (!heapSampled_ && now - fileStartMs_ >= 600000) {
            heapInFile_.push_back(HeapInUse());
            heapSampled_ = true;
        }
        return grab;
    }

    // Cost of compressing and writing one frame: usually 2 ms, for 20 s of
    // every 10 minutes 25 ms (a heavy moment of the machine), so the writer
    // falls behind and the pacing has to work.
    uint32_t FrameCostMs(uint32_t now) const { return now % 600000 < 20000 ? 25 : 2; }

    // One step of the writer at `now`: plans a batch or outputs one copy.
    // Returns the time of its next step.
    uint32_t WriterStep(uint32_t now, bool paused, bool flush)
    {
        if (!outputting_) {
            if (paused && !flush) return now + 10;
            if (flush ? pending_ <= 0 : pending_ <= threshold_) return now + 5;
            const BatchSize bs = BatchSizeCal(pending_, flush, t_.fps, ring_);
            const int32_t e = RingSlotAdd(batchStart_, bs.size, ring_);
            if (flush) FlushEndSet(e, ring_, fileWaveBytes_, t_.bytesPerMs, slotWaveBytes_, slotMs_);
            const BatchInput in = BatchGather(batchStart_, bs, ring_, slotWaveBytes_, slotMs_, slotChange_);
            plan_ = BatchPlanMake(in, written_, t_, false);
            // Where the video stands against the sound once the batch is out.
            const double soundFrames = double(in.endWaveBytes) / t_.bytesPerMs / t_.frameMs;
            maxDrift_ = std::max(maxDrift_, std::fabs(written_ + plan_.sum - soundFrames));
            batchStart_ = e;
            batchLeft_ += bs.size;
            pending_ -= bs.size;
            if (pending_ > ring_) pending_ = 0;
            outputting_ = true;
            outIndex_ = 0;
            copyIndex_ = 0;
            m_ = 0;
            return now;
        }
        const int32_t i = outIndex_;
        const int32_t slot = RingSlotAdd(plan_.start, i, ring_);
        uint32_t next = now;
        if (plan_.copies[i] > 0) {
            if (RingOverflowing(pending_, ring_)) {
                ++skipped_;
            } else {
                if (SmoothBlendDue(true, true, busyFace_, copyIndex_, plan_.copies[i], i == plan_.size - 1)) {
                    BlendSparse(slots_[slot].data(), slots_[RingSlotAdd(slot, 1, ring_)].data(), layout_,
                                table_.data());
                }
                if (copyIndex_ == 0) {
                    // Lip sync: where the frame is shown against when its
                    // picture appeared, by the sound clock.
                    const double shownMs = double(written_) * t_.frameMs;
                    const double capturedMs = double(slotWaveBytes_[slot]) / t_.bytesPerMs;
                    if (capturedMs > 0) maxSyncMs_ = std::max(maxSyncMs_, std::fabs(shownMs - capturedMs));
                }
                int64_t bytes = 0;
                const bool ok = stream_->Write(written_, slots_[slot].data(),
                                               KeyFrameDue(keyCount_) ? avi::kAviIfKeyFrame : 0, &bytes);
                EXPECT_TRUE(ok);
                fileBytes_ += bytes;
                if (FileBytesSplitDue(fileBytes_)) splitDue_ = true;
                keyCount_ = KeyCountNext(keyCount_);
                ++written_;
            }
            const int32_t busy = BusyLevelCal(pending_, plan_.beyond, ring_);
            m_ = std::max(m_, busy);
            maxBusy_ = std::max(maxBusy_, busy);
            next += FrameCostMs(now) + (busy <= 3 && !flush ? 2 : 0);
            if (++copyIndex_ < plan_.copies[i]) return next;
        }
        // The slot is done.
        batchLeft_ = std::max(0, batchLeft_ - 1);
        busyFace_ = m_;
        threshold_ = TamattaJoukenAdapt(threshold_, m_, batchLeft_, true, ring_, t_);
        capSleepMs_ = CapSleepMsCal(m_);
        copyIndex_ = 0;
        if (++outIndex_ == plan_.size) outputting_ = false;
        return next;
    }

    SimConfig config_;
    std::string folder_;
    CaptureTiming t_;
    FrameLayout layout_;
    int32_t ring_;
    std::vector<std::vector<uint8_t>> slots_;
    std::vector<uint32_t> slotWaveBytes_, slotMs_;
    std::vector<int32_t> slotChange_;
    std::vector<uint8_t> table_;
    Screen screen_;
    SoundDevice device_;
    SoundClock clock_{};
    std::mt19937 rng_;

    // Tick state.
    int32_t capSlot_ = 0;
    uint32_t lastFrameTime_ = 0;
    int32_t noChangeRun_ = 0, retryCount_ = 0;
    bool splitDue_ = false;

    // File state.
    int32_t fileNum_ = 0;
    int32_t capFrames_ = 0, pending_ = 0, written_ = 0, batchLeft_ = 0;
    int32_t keyCount_ = 0;
    int64_t fileBytes_ = 0;
    uint32_t fileWaveBytes_ = 0;
    uint32_t fileStartMs_ = 0;
    std::unique_ptr<avi::AviWriter> avi_;
    std::unique_ptr<codec::CompressedVideoStream> stream_;

    // Writer state.
    int32_t threshold_ = 0, capSleepMs_ = 0, busyFace_ = 0;
    int32_t batchStart_ = 0;
    BatchPlan plan_{};
    bool outputting_ = false;
    int32_t outIndex_ = 0, copyIndex_ = 0, m_ = 0;

    // What the test checks.
    std::vector<FileResult> files_;
    int32_t lapped_ = 0, skipped_ = 0, maxBusy_ = 0;
    int64_t grabs_ = 0;
    double maxDrift_ = 0, maxSyncMs_ = 0;
    std::vector<size_t> heapAtFileEnd_, heapInFile_;
    bool heapSampled_ = false;
};

void PrintFigures(const RecordingSim& sim)
{
    const CaptureTiming t = CaptureTimingCal(44100, 2);
    for (const FileResult& f : sim.Files()) {
        std::printf("%s: %d frames = %.3f s of video, %.3f s of sound\n", f.path.c_str(), f.written,
                    f.written * t.frameMs / 1000.0, f.waveBytes / t.bytesPerMs / 1000.0);
    }
    std::printf("ring %d slots, %lld grabs, highest busy level %d, largest gap after a batch %.2f frames, "
                "largest picture-to-sound offset %.1f ms\n",
                sim.Ring(), static_cast<long long>(sim.Grabs()), sim.MaxBusy(), sim.MaxBatchDriftFrames(),
                sim.MaxSyncMs());
    for (size_t i = 0; i < sim.HeapAtFileEnd().size(); ++i) {
        std::printf("heap in use after file %zu: %zu bytes\n", i + 1, sim.HeapAtFileEnd()[i]);
    }
    for (size_t i = 0; i < sim.HeapInFile().size(); ++i) {
        std::printf("heap in use 10 minutes into file %zu: %zu bytes\n", i + 1, sim.HeapInFile()[i]);
    }
}

// Every file read back: as many frames as its sound lasts (within one
// frame), a key frame every tenth frame from the first.
void CheckFiles(const RecordingSim& sim, size_t expectedFiles)
{
    const CaptureTiming t = CaptureTimingCal(44100, 2);
    ASSERT_EQ(sim.Files().size(), expectedFiles);
    for (const FileResult& f : sim.Files()) {
        SCOPED_TRACE(f.path);
        auto file = avi::AviFile::Open(f.path);
        ASSERT_TRUE(file);
        auto video = file->GetStream(avi::kStreamTypeVideo, 0);
        ASSERT_TRUE(video);
        EXPECT_EQ(video->Length(), f.written);
        const double soundMs = double(f.waveBytes) / t.bytesPerMs;
        const double videoMs = double(video->Length()) * t.frameMs;
        EXPECT_GT(soundMs, 0.0);
        EXPECT_LE(std::fabs(videoMs - soundMs), t.frameMs) << videoMs << " ms of video, " << soundMs << " ms of sound";
        int32_t missingKeys = 0;
        for (int64_t n = 0; n < video->Length(); n += kKeyEvery) missingKeys += !video->IsKeyFrame(n);
        EXPECT_EQ(missingKeys, 0);
    }
}

TEST(RecordingSimulation, AnHourWithSoundSplitsAtThirtyMinutesAndKeepsVideoWithSound)
{
    vemtra::testing::TempDir dir;
    // An hour and two minutes: two full files of 30 minutes and the start
    // of a third; a pause of 10 s in the second.
    RecordingSim sim({62 * 60000u, false, 45 * 60000u, 10000u, 0}, dir.File(""));
    sim.Run();
    PrintFigures(sim);
    EXPECT_EQ(sim.Ring(), 199);
    CheckFiles(sim, 3);
    // Each full file holds 30 minutes of sound.
    for (int i = 0; i < 2; ++i) {
        const double minutes = sim.Files()[i].written / 30.0 / 60.0;
        EXPECT_NEAR(minutes, 30.0, 0.01) << i;
    }
    EXPECT_EQ(sim.Lapped(), 0);
    EXPECT_EQ(sim.SkippedCopies(), 0);
    // After every batch the video stands within a frame of the sound, and
    // every picture is shown within a few frames of when it appeared (drops
    // and repeats are spread over a batch, not placed at their moment; the
    // largest offset is at the pause, where the device stops mid-chunk).
    EXPECT_LE(sim.MaxBatchDriftFrames(), 1.0);
    EXPECT_LT(sim.MaxSyncMs(), 5 * 33.34);
    // The heavy moments made the writer busy, and it caught up.
    EXPECT_GE(sim.MaxBusy(), 3);
    // Memory: the same at the end of every file and at the same point within
    // each file (the AVI index of the open file is the only growth).
    const auto& ends = sim.HeapAtFileEnd();
    ASSERT_EQ(ends.size(), 3u);
    for (size_t i = 1; i < ends.size(); ++i) EXPECT_LE(ends[i], ends[0] + 64 * 1024) << i;
    const auto& inFile = sim.HeapInFile();
    ASSERT_GE(inFile.size(), 2u);
    EXPECT_LE(inFile[1], inFile[0] + 64 * 1024);
}

TEST(RecordingSimulation, WithoutSoundTheTickTimeKeepsTheLength)
{
    vemtra::testing::TempDir dir;
    // Four minutes with a pause of 20 s: 3 min 40 s of video.
    RecordingSim sim({4 * 60000u, true, 90000u, 20000u, 0}, dir.File(""));
    sim.Run();
    PrintFigures(sim);
    CheckFiles(sim, 1);
    EXPECT_NEAR(sim.Files()[0].written / 30.0, 220.0, 0.2);
    EXPECT_EQ(sim.Lapped(), 0);
    EXPECT_LE(sim.MaxBatchDriftFrames(), 1.0);
    EXPECT_LT(sim.MaxSyncMs(), 4 * 33.34);
}

TEST(RecordingSimulation, TheShortRingOfLargeFramesKeepsVideoWithSound)
{
    vemtra::testing::TempDir dir;
    // The ring and threshold of a 1296 × 728 frame (50 slots, 15): batches
    // are often shorter than a second, and the writer's heavy moment fills
    // the ring quickly.
    RecordingSim sim({5 * 60000u, false, 0, 0, BmpSuuCal(1296, 728)}, dir.File(""));
    sim.Run();
    PrintFigures(sim);
    EXPECT_EQ(sim.Ring(), 50);
    CheckFiles(sim, 1);
    EXPECT_EQ(sim.Lapped(), 0);
    EXPECT_EQ(sim.SkippedCopies(), 0);
    EXPECT_LE(sim.MaxBatchDriftFrames(), 1.0);
    EXPECT_LT(sim.MaxSyncMs(), 4 * 33.34);
}

}  // namespace
