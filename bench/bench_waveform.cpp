// The sound's waveform behind the playbar, on a one-hour 360p H.264 clip
// with AAC sound (made once, kept in the cache folder):
// - opening the clip (the reader's open and first picture) alone, and with
//   the scan started right after it as the window does: the open must not
//   get slower;
// - reading pictures at the clip's frame rate, as playback does, while the
//   scan runs and alone: no picture may wait longer than a frame time;
// - stopping a running scan, which the next open of a video waits for;
// - the whole scan: its time, its processor time and the memory it adds.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "BenchClips.h"
#include "BenchClock.h"
#include "playback/FfmpegVideoReader.h"
#include "playback/SoundScanner.h"

namespace {

using namespace orlisk::bench;

constexpr int kRounds = 9;
constexpr int kFramesRead = 50;  // two seconds of pictures, one every 40 ms
constexpr auto kFrameTime = std::chrono::milliseconds(40);

std::string WaveformClip() {
  return CachedClip({.width = 640, .height = 360, .fps = 25, .seconds = 3600, .audio = true, .codec = "libx264",
                     .container = "mp4", .audioCodec = "aac", .sampleRate = 48000, .channels = 2,
                     .picture = orlisk::testclips::Picture::TestPattern, .extraOptions = "-preset ultrafast"},
                    "360p25-h264-aac48000-1h.mp4");
}

// The resident memory of this process, in KiB (VmRSS).
long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return 0;
}

double Ms(const Stopwatch& watch) { return watch.Seconds() * 1000.0; }

struct OpenFigures {
  std::vector<double> openMs;   // OpenSource and the first picture (and the scan's start)
  std::vector<double> startMs;  // the scan's start alone
  std::vector<double> readMs;   // each picture's read after the open
  std::vector<double> stopMs;   // stopping the scan still running
};

void OpenAndRead(const std::string& clip, bool withScan, OpenFigures& figures) {
  orlisk::FfmpegVideoReader reader;
  std::unique_ptr<orlisk::SoundScanner> scanner;
  const Stopwatch open;
  reader.OpenSource(clip);
  reader.SeekTo(0);
  if (reader.ReadFrame().empty()) std::printf("no first picture\n");
  if (withScan) {
    const Stopwatch start;
    scanner = std::make_unique<orlisk::SoundScanner>(
        clip, orlisk::SoundScanner::Callbacks{.PeaksFound = [](orlisk::SoundPeakPiece) {}, .Ended = [](bool) {}});
    figures.startMs.push_back(Ms(start));
  }
  figures.openMs.push_back(Ms(open));

  const auto playStart = std::chrono::steady_clock::now();
  for (int i = 0; i < kFramesRead; ++i) {
    std::this_thread::sleep_until(playStart + i * kFrameTime);
    const Stopwatch read;
    reader.ReadFrame();
    figures.readMs.push_back(Ms(read));
  }
  if (scanner) {
    const Stopwatch stop;
    scanner.reset();
    figures.stopMs.push_back(Ms(stop));
  }
}

struct WholeScan {
  double wallSeconds = 0;
  double cpuSeconds = 0;
  std::size_t steps = 0;
  long addedKiB = 0;  // the highest resident memory during the scan, less that before it
  long keptKiB = 0;   // resident memory after the scan, with its peaks kept, less that before it
  bool foundSound = false;
};

// What the reader's own open of the clip adds to the resident memory (the
// demuxer's index of every packet, the decoders): the scan opens the file
// once more in the same way, so this is its yardstick.
long ReaderOpenKiB(const std::string& clip) {
  const long before = ResidentKiB();
  orlisk::FfmpegVideoReader reader;
  reader.OpenSource(clip);
  reader.ReadFrame();
  return ResidentKiB() - before;
}

WholeScan ScanWhole(const std::string& clip, std::int32_t durationMs) {
  WholeScan result;
  std::mutex mutex;
  bool ended = false;
  // The pieces are kept as the window keeps them: every step once.
  std::vector<orlisk::SoundPeak> kept;
  kept.reserve(static_cast<std::size_t>(durationMs / orlisk::kPeakStepMs + 1));
  const long before = ResidentKiB();
  long highest = before;
  const double cpuBefore = ProcessCpuSeconds();
  const Stopwatch wall;
  {
    orlisk::SoundScanner scanner(clip, {.PeaksFound =
                                            [&](orlisk::SoundPeakPiece piece) {
                                              std::lock_guard lock(mutex);
                                              if (kept.size() < piece.First) kept.resize(piece.First);
                                              kept.insert(kept.end(), piece.Peaks.begin(), piece.Peaks.end());
                                            },
                                        .Ended =
                                            [&](bool foundSound) {
                                              std::lock_guard lock(mutex);
                                              result.foundSound = foundSound;
                                              ended = true;
                                            }});
    for (;;) {
      highest = std::max(highest, ResidentKiB());
      std::lock_guard lock(mutex);
      if (ended) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  result.keptKiB = ResidentKiB() - before;
  result.wallSeconds = wall.Seconds();
  result.cpuSeconds = ProcessCpuSeconds() - cpuBefore;
  result.steps = kept.size();
  result.addedKiB = highest - before;
  return result;
}

}  // namespace

int main() {
  const std::string clip = WaveformClip();
  std::printf("clip %s, load average %s\n", clip.c_str(), LoadAverage().c_str());

  // Once to bring the file into the page cache, so both sides find it there.
  OpenFigures warmUp;
  OpenAndRead(clip, false, warmUp);

  OpenFigures alone, scanning;
  for (int round = 0; round < kRounds; ++round) {
    // Taking turns, so that a change in the machine's load falls on both.
    OpenAndRead(clip, round % 2 == 1, round % 2 == 1 ? scanning : alone);
    OpenAndRead(clip, round % 2 == 0, round % 2 == 0 ? scanning : alone);
  }
  std::printf("each open, ms (alone | with the scan):");
  for (int round = 0; round < kRounds; ++round) std::printf(" %.0f|%.0f", alone.openMs[round], scanning.openMs[round]);
  std::printf("\n");
  const double openAlone = Median(alone.openMs);
  const double openScanning = Median(scanning.openMs);
  const double readAlone = Percentile(alone.readMs, 1.0);
  const double readScanning = Percentile(scanning.readMs, 1.0);
  const double stopHighest = Percentile(scanning.stopMs, 1.0);
  std::printf("open + first picture:       alone %.1f ms, with the scan started %.1f ms (medians of %d)\n", openAlone,
              openScanning, kRounds);
  std::printf("a picture read at 25 fps:    alone median %.2f, highest %.2f ms; while scanning median %.2f, "
              "highest %.2f ms\n",
              Median(alone.readMs), readAlone, Median(scanning.readMs), readScanning);
  std::printf("starting the scan:          median %.3f ms\n", Median(scanning.startMs));
  std::printf("stopping a running scan:    median %.2f ms, highest %.2f ms\n", Median(scanning.stopMs), stopHighest);

  std::int32_t duration = 0;
  {
    orlisk::FfmpegVideoReader reader;
    reader.OpenSource(clip);
    duration = reader.GetDuration();
  }
  const long readerKiB = ReaderOpenKiB(clip);
  const WholeScan whole = ScanWhole(clip, duration);
  const double peakBytes = static_cast<double>(whole.steps) * sizeof(orlisk::SoundPeak);
  std::printf("whole scan of one hour:     %.1f s, %.1f s of processor, %zu steps (%.2f MB kept), "
              "resident memory up by %.2f MB at most and %.2f MB after it, sound found: %s\n",
              whole.wallSeconds, whole.cpuSeconds, whole.steps, peakBytes / 1e6,
              static_cast<double>(whole.addedKiB) / 1024.0, static_cast<double>(whole.keptKiB) / 1024.0,
              whole.foundSound ? "yes" : "no");
  std::printf("the reader's own open adds %.2f MB resident\n", static_cast<double>(readerKiB) / 1024.0);

  PrintResult("waveform: open with the scan", "<= 1.1 x alone", Format("%.1f vs %.1f ms", openScanning, openAlone),
              openScanning <= 1.1 * openAlone);
  PrintResult("waveform: pictures while scanning", "each <= a frame (40 ms)",
              Format("%.2f ms highest (alone %.2f)", readScanning, readAlone), readScanning <= 40);
  PrintResult("waveform: stopping a scan", "<= 50 ms", Format("%.2f ms (highest)", stopHighest), stopHighest <= 50);
  PrintResult("waveform: memory while scanning 1 h", "<= the reader's open",
              Format("%.2f vs %.2f MB", whole.addedKiB / 1024.0, readerKiB / 1024.0),
              whole.foundSound && whole.addedKiB <= readerKiB);
  PrintResult("waveform: memory kept after 1 h", "<= 2 MB", Format("%.2f MB resident", whole.keptKiB / 1024.0),
              whole.foundSound && whole.keptKiB <= 2 * 1024);
  PrintResult("waveform: peaks of 2 h of sound", "<= 2 MB", Format("%.2f MB", 2 * peakBytes / 1e6),
              whole.foundSound && 2 * peakBytes <= 2e6);
  return 0;
}
