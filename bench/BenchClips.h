#pragma once
// Clips for the benchmarks, made once and kept between runs in a cache
// folder: $ORLISK_BENCH_CACHE, else $XDG_CACHE_HOME/orlisk-bench, else
// ~/.cache/orlisk-bench. Encoding a 1080p clip takes longer than most
// benchmarks; a run that finds its clip starts measuring at once.
#include <string>

#include "tests/fixtures/TestClips.h"

namespace orlisk::bench {

// The clip made with `options`, kept under `name` (which should say what the
// options are, e.g. "1080p25-h264-aac-35s.mp4": a clip with other options
// needs another name). Made with ffmpeg when missing.
std::string CachedClip(const testclips::ClipOptions& options, const std::string& name);

// The cache folder (created when missing).
std::string ClipCacheFolder();

// 20 two-line subtitles spread over `seconds` of video, as SubRip, into `path`.
void WriteBenchSubtitles(const std::string& path, double seconds);

// The 1080p 25 fps H.264 clip with AAC sound that playback is measured on.
std::string PlaybackClip(int sampleRate = 44100);

}  // namespace orlisk::bench
