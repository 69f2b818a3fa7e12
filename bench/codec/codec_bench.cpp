// Speed (frames per second of CPU time on one core) and size of the screen
// codec on screen-like frames.
//
//   codec_bench [--frames N] [--level L] [--key-search K] [--key-level Z] [--refine R] [--ffmpeg FILE]
//               [benchmark options]
//       runs the encoder and decoder benchmarks and prints a table; FILE
//       holds ffmpeg's figures for the same frames, one line per case:
//       "<scene index> <width> <height> <frames per second> <bytes per frame>"
//   codec_bench --dump DIR [--frames N]
//       writes the frames as DIR/<scene>-<width>x<height>.bgr0 (top-down
//       bgr0, as ffmpeg's rawvideo reads them)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "codec/zmbv_decoder.h"
#include "codec/zmbv_encoder.h"
#include "tests/unit/codec/screen_scenes.h"

using namespace vemtra;
using testing::Scene;

namespace {

constexpr Scene kScenes[] = {Scene::kStaticDesktop, Scene::kScrollingText, Scene::kMovingWindow, Scene::kNoise};
constexpr int kSizes[][2] = {{854, 480}, {1280, 720}, {1920, 1080}};
constexpr int kKeyInterval = 10;
int g_frames = 30;
int g_level = codec::ZmbvOptions{}.level;
int g_key_search = codec::ZmbvOptions{}.key_search;
int g_key_level = codec::ZmbvOptions{}.key_level;
int g_refine = codec::ZmbvOptions{}.refine_range;

// The frames of one case, rendered once.
const std::vector<std::vector<uint8_t>>& Frames(int scene, int w, int h) {
  static std::map<std::tuple<int, int, int>, std::vector<std::vector<uint8_t>>> cache;
  auto& f = cache[{scene, w, h}];
  if (f.empty()) {
    cache.clear();  // one case in memory at a time
    auto& g = cache[{scene, w, h}];
    testing::SceneRenderer r(kScenes[scene], w, h);
    for (int n = 0; n < g_frames; ++n) g.push_back(r.Frame(n));
    return g;
  }
  return f;
}

struct Result {
  double encode_fps[2] = {}, bytes_per_frame[2] = {}, decode_fps = 0;
};

// Preset 0: the default options (with the command-line overrides);
// preset 1: ZmbvOptions::Small.
codec::ZmbvOptions Preset(int preset) {
  if (preset == 1) return codec::ZmbvOptions::Small(kKeyInterval);
  return codec::ZmbvOptions{g_level, kKeyInterval, g_key_search, g_refine, g_key_level};
}
std::map<std::tuple<int, int, int>, Result> g_results;

void Encode(benchmark::State& state) {
  int scene = int(state.range(0)), w = int(state.range(1)), h = int(state.range(2)), preset = int(state.range(3));
  const auto& frames = Frames(scene, w, h);
  codec::ZmbvEncoder enc(Preset(preset));
  enc.Begin({w, h});
  std::vector<uint8_t> chunk;
  size_t bytes = 0;
  int64_t count = 0;
  for (auto _ : state) {
    bytes = 0;
    for (size_t n = 0; n < frames.size(); ++n) {
      chunk.clear();
      bool key;
      enc.Compress(frames[n].data(), n == 0, &chunk, &key);
      bytes += chunk.size();
    }
    count += int64_t(frames.size());
  }
  state.SetItemsProcessed(count);
  auto& r = g_results[{scene, w, h}];
  r.bytes_per_frame[preset] = double(bytes) / frames.size();
  state.counters["fps"] = benchmark::Counter(double(count), benchmark::Counter::kIsRate);
  state.counters["bytes_per_frame"] = r.bytes_per_frame[preset];
}

void Decode(benchmark::State& state) {
  int scene = int(state.range(0)), w = int(state.range(1)), h = int(state.range(2));
  const auto& frames = Frames(scene, w, h);
  codec::ZmbvEncoder enc(Preset(0));
  enc.Begin({w, h});
  std::vector<std::vector<uint8_t>> chunks(frames.size());
  for (size_t n = 0; n < frames.size(); ++n) {
    bool key;
    enc.Compress(frames[n].data(), n == 0, &chunks[n], &key);
  }
  codec::ZmbvDecoder dec;
  dec.Begin(codec::FrameSize{w, h});
  std::vector<uint8_t> dib(size_t(w) * h * 4);
  int64_t count = 0;
  for (auto _ : state) {
    for (const auto& c : chunks) dec.Decompress(c.data(), c.size(), dib.data());
    count += int64_t(chunks.size());
  }
  state.SetItemsProcessed(count);
  state.counters["fps"] = benchmark::Counter(double(count), benchmark::Counter::kIsRate);
}

// Keeps the frames per second of each case for the table.
class TableReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& run : runs) {
      auto it = run.counters.find("fps");
      if (it == run.counters.end()) continue;
      int scene, w, h, preset = 0;
      char kind[16];
      if (std::sscanf(run.benchmark_name().c_str(), "%15[^/]/%d/%d/%d/%d", kind, &scene, &w, &h, &preset) < 4) continue;
      auto& r = g_results[{scene, w, h}];
      (std::strcmp(kind, "Encode") == 0 ? r.encode_fps[preset] : r.decode_fps) = it->second.value;
    }
  }
};

int Dump(const std::string& dir) {
  for (int s = 0; s < 4; ++s)
    for (const auto& size : kSizes) {
      int w = size[0], h = size[1];
      std::string path = dir + "/" + std::to_string(s) + "-" + std::to_string(w) + "x" + std::to_string(h) + ".bgr0";
      std::ofstream f(path, std::ios::binary);
      testing::SceneRenderer r(kScenes[s], w, h);
      std::vector<uint8_t> dib(r.FrameBytes());
      for (int n = 0; n < g_frames; ++n) {
        r.Render(n, dib.data());
        for (int y = h - 1; y >= 0; --y) f.write(reinterpret_cast<const char*>(&dib[size_t(y) * w * 4]), w * 4);
      }
      if (!f) return 1;
    }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dump, ffmpeg;
  std::vector<char*> rest = {argv[0]};
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--dump" && i + 1 < argc) dump = argv[++i];
    else if (a == "--ffmpeg" && i + 1 < argc) ffmpeg = argv[++i];
    else if (a == "--frames" && i + 1 < argc) g_frames = std::max(2, std::atoi(argv[++i]));
    else if (a == "--level" && i + 1 < argc) g_level = std::atoi(argv[++i]);
    else if (a == "--key-search" && i + 1 < argc) g_key_search = std::atoi(argv[++i]);
    else if (a == "--key-level" && i + 1 < argc) g_key_level = std::atoi(argv[++i]);
    else if (a == "--refine" && i + 1 < argc) g_refine = std::atoi(argv[++i]);
    else rest.push_back(argv[i]);
  }
  if (!dump.empty()) return Dump(dump);

  for (int s = 0; s < 4; ++s)
    for (const auto& size : kSizes) {
      for (int preset : {0, 1})
        benchmark::RegisterBenchmark("Encode", Encode)->Args({s, size[0], size[1], preset})->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark("Decode", Decode)->Args({s, size[0], size[1]})->Unit(benchmark::kMillisecond);
    }
  int n = int(rest.size());
  benchmark::Initialize(&n, rest.data());
  TableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::map<std::tuple<int, int, int>, std::pair<double, double>> theirs;
  if (!ffmpeg.empty()) {
    std::ifstream f(ffmpeg);
    int s, w, h;
    double fps, bytes;
    while (f >> s >> w >> h >> fps >> bytes) theirs[{s, w, h}] = {fps, bytes};
  }
  std::printf("\n%-25s | %-18s | %-18s | %-7s | %-18s | %-13s | %-13s\n", "", "ours, default", "ours, small",
              "decode", "ffmpeg zmbv", "small:ffmpeg", "default:ffm.");
  std::printf("%-15s %-9s | %8s %9s | %8s %9s | %7s | %8s %9s | %6s %6s | %6s %6s\n", "scene", "size", "fps",
              "bytes", "fps", "bytes", "fps", "fps", "bytes", "speed", "size", "speed", "size");
  for (int s = 0; s < 4; ++s)
    for (const auto& size : kSizes) {
      auto key = std::make_tuple(s, size[0], size[1]);
      const Result& r = g_results[key];
      std::string dims = std::to_string(size[0]) + "x" + std::to_string(size[1]);
      std::printf("%-15s %-9s | %8.1f %9.0f | %8.1f %9.0f | %7.1f |", testing::SceneName(kScenes[s]), dims.c_str(),
                  r.encode_fps[0], r.bytes_per_frame[0], r.encode_fps[1], r.bytes_per_frame[1], r.decode_fps);
      auto t = theirs.find(key);
      if (t != theirs.end() && t->second.first > 0 && t->second.second > 0) {
        double fps = t->second.first, bytes = t->second.second;
        std::printf(" %8.1f %9.0f | %6.2f %6.3f | %6.2f %6.3f\n", fps, bytes, r.encode_fps[1] / fps,
                    r.bytes_per_frame[1] / bytes, r.encode_fps[0] / fps, r.bytes_per_frame[0] / bytes);
      } else {
        std::printf(" %8s %9s | %6s %6s | %6s %6s\n", "-", "-", "-", "-", "-", "-");
      }
    }
  std::printf("(%d frames per case, a key frame every %d; bytes per frame; default = ZmbvOptions{}, small = "
              "ZmbvOptions::Small; speed and size as ours / ffmpeg's)\n", g_frames, kKeyInterval);
  benchmark::Shutdown();
  return 0;
}
