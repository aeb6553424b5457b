#include "BenchClips.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace orlisk::bench {

namespace fs = std::filesystem;

std::string ClipCacheFolder() {
  fs::path folder;
  if (const char* set = std::getenv("ORLISK_BENCH_CACHE"); set && *set) {
    folder = set;
  } else if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache) {
    folder = fs::path(cache) / "orlisk-bench";
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    folder = fs::path(home) / ".cache" / "orlisk-bench";
  } else {
    folder = fs::temp_directory_path() / "orlisk-bench";
  }
  fs::create_directories(folder);
  return folder.string();
}

std::string CachedClip(const testclips::ClipOptions& options, const std::string& name) {
  const fs::path kept = fs::path(ClipCacheFolder()) / name;
  if (fs::exists(kept)) return kept.string();
  std::fprintf(stderr, "making %s once; later runs take it from %s\n", name.c_str(), kept.parent_path().c_str());
  const std::string made = testclips::MakeClip(options);
  // Copied under a name of this process and renamed, so that a benchmark
  // running at the same time never sees half a clip.
  const fs::path partial = kept.string() + ".part" + std::to_string(getpid());
  fs::copy_file(made, partial, fs::copy_options::overwrite_existing);
  fs::rename(partial, kept);
  return kept.string();
}

std::string PlaybackClip(int sampleRate) {
  return CachedClip({.width = 1920, .height = 1080, .fps = 25, .seconds = 35, .audio = true, .codec = "libx264",
                     .container = "mp4", .audioCodec = "aac", .sampleRate = sampleRate, .channels = 2,
                     .picture = testclips::Picture::TestPattern},
                    "1080p25-h264-aac" + std::to_string(sampleRate) + "-35s.mp4");
}

void WriteBenchSubtitles(const std::string& path, double seconds) {
  std::ofstream srt(path);
  const auto stamp = [](int ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d,%03d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
    return std::string(text);
  };
  const int step = static_cast<int>(seconds * 1000 / 20);
  for (int i = 0; i < 20; ++i) {
    const int begin = i * step + 50;
    srt << i + 1 << "\r\n"
        << stamp(begin) << " --> " << stamp(begin + std::max(100, step - 100)) << "\r\n"
        << "Subtitle number " << i + 1 << " of the benchmark\r\nwith a second line under it\r\n\r\n";
  }
}

}  // namespace orlisk::bench
