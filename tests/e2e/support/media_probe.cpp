#include "media_probe.h"

#include <map>
#include <sstream>

#include "child_process.h"
#include "e2e_error.h"

namespace vemtra_e2e {
namespace {

// ffprobe's "flat" output: streams.stream.0.codec_name="zmbv"
std::map<std::string, std::string> ParseFlat(const std::string& text) {
  std::map<std::string, std::string> values;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string value = line.substr(eq + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    values[line.substr(0, eq)] = value;
  }
  return values;
}

long long ToInt(const std::string& s, long long fallback) {
  try {
    size_t used = 0;
    long long v = std::stoll(s, &used);
    return used ? v : fallback;
  } catch (...) {
    return fallback;
  }
}

double ToDouble(const std::string& s) {
  try {
    return std::stod(s);
  } catch (...) {
    return -1;
  }
}

}  // namespace

int MediaFacts::count(const std::string& kind) const {
  int n = 0;
  for (const auto& s : streams) n += s.kind == kind;
  return n;
}

const StreamFacts& MediaFacts::first(const std::string& kind) const {
  for (const auto& s : streams) {
    if (s.kind == kind) return s;
  }
  throw E2eError("the file has no " + kind + " stream");
}

MediaFacts ProbeMedia(const std::string& path, bool count_frames) {
  std::vector<std::string> argv = {"ffprobe", "-v", "error"};
  if (count_frames) argv.push_back("-count_frames");
  argv.insert(argv.end(), {"-show_entries",
                           "format=format_name,duration:stream=index,codec_type,codec_name,codec_tag_string,width,"
                           "height,nb_frames,nb_read_frames,duration,sample_rate,channels,bits_per_sample",
                           "-of", "flat", path});
  CommandResult r = RunCommand(argv, 300000, false, true);
  if (r.exit_code != 0) throw E2eError("ffprobe cannot read " + path + ": " + r.output);
  auto v = ParseFlat(r.output);
  MediaFacts facts;
  facts.format = v["format.format_name"];
  facts.duration = ToDouble(v["format.duration"]);
  for (int i = 0; v.count("streams.stream." + std::to_string(i) + ".index"); ++i) {
    std::string p = "streams.stream." + std::to_string(i) + ".";
    StreamFacts s;
    s.index = (int)ToInt(v[p + "index"], i);
    s.kind = v[p + "codec_type"];
    s.codec = v[p + "codec_name"];
    s.codec_tag = v[p + "codec_tag_string"];
    s.width = (int)ToInt(v[p + "width"], 0);
    s.height = (int)ToInt(v[p + "height"], 0);
    s.frames = ToInt(v[p + "nb_frames"], -1);
    s.read_frames = ToInt(v[p + "nb_read_frames"], -1);
    s.duration = ToDouble(v[p + "duration"]);
    s.sample_rate = (int)ToInt(v[p + "sample_rate"], 0);
    s.channels = (int)ToInt(v[p + "channels"], 0);
    s.bits_per_sample = (int)ToInt(v[p + "bits_per_sample"], 0);
    // ffprobe gives no duration for PCM sound in AVI; its header length
    // counts samples, which gives it.
    if (s.duration < 0 && s.kind == "audio" && s.codec.rfind("pcm_", 0) == 0 && s.frames > 0 && s.sample_rate > 0) {
      s.duration = (double)s.frames / s.sample_rate;
    }
    facts.streams.push_back(s);
  }
  return facts;
}

std::vector<std::string> FrameMd5s(const std::string& path, const std::string& kind) {
  std::vector<std::string> argv = {"ffmpeg", "-v", "error", "-i", path, "-map", kind == "audio" ? "0:a:0" : "0:v:0",
                                   "-f", "framemd5", "-"};
  CommandResult r = RunCommand(argv, 600000, false);
  if (r.exit_code != 0) throw E2eError("ffmpeg cannot decode " + path + ": " + QuoteArgs(argv));
  std::vector<std::string> md5s;
  std::istringstream in(r.output);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    size_t comma = line.rfind(',');
    if (comma == std::string::npos) continue;
    std::string md5 = line.substr(comma + 1);
    md5.erase(0, md5.find_first_not_of(' '));
    md5s.push_back(md5);
  }
  return md5s;
}

}  // namespace vemtra_e2e
