// Reading every frame of H.264 clips at 720p and 1080p with our reader,
// against the ffmpeg command line decoding the same file to BGRA pixels. Both
// run as whole processes (this program runs itself to read), so both pay
// for starting up, opening the file and their threads alike; the two take
// turns, the first of a pair alternating, and the median of seven pairs is
// compared. Goal: the reader's median wall time at most 1.1 times ffmpeg's.
//
// Usage: bench_decoding            the comparison
//        bench_decoding --read-all FILE   reads every frame of FILE, prints the count
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchClips.h"
#include "BenchClock.h"
#include "BenchProcess.h"
#include "playback/FfmpegVideoReader.h"

namespace {

using namespace orlisk::bench;

constexpr int kPairs = 7;
constexpr double kGoalRatio = 1.1;

int ReadAll(const std::string& path) {
  orlisk::FfmpegVideoReader reader;
  reader.OpenSource(path);
  int frames = 0;
  while (!reader.ReadFrame().empty()) ++frames;
  std::printf("%d\n", frames);
  return 0;
}

void Measure(int width, int height, double seconds) {
  const std::string name = std::to_string(height) + "p25-h264-silent-" + std::to_string(int(seconds)) + "s.mp4";
  const std::string path =
      CachedClip({.width = width, .height = height, .fps = 25, .seconds = seconds, .audio = false,
                  .codec = "libx264", .container = "mp4", .picture = orlisk::testclips::Picture::TestPattern},
                 name);
  const std::vector<std::string> reader = {OwnExecutable(), "--read-all", path};
  const std::vector<std::string> ffmpeg = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-i", path,
                                           "-f", "rawvideo", "-pix_fmt", "bgra", "-y", "/dev/null"};
  std::vector<double> oursWall, oursCpu, theirsWall, theirsCpu;
  int frames = 0;
  for (int pair = 0; pair < kPairs; ++pair) {
    for (int turn = 0; turn < 2; ++turn) {
      const bool ours = (pair + turn) % 2 == 0;
      const ProcessRun run = RunProcess(ours ? reader : ffmpeg, {}, ours);
      if (!run.succeeded) {
        std::printf("%dx%d: %s failed %s\n", width, height, ours ? "the reader" : "ffmpeg", run.output.c_str());
        PrintResult(Format("decoding %dp", height), "a run that ends", "failed", false);
        return;
      }
      (ours ? oursWall : theirsWall).push_back(run.wallSeconds);
      (ours ? oursCpu : theirsCpu).push_back(run.cpuSeconds);
      if (ours) frames = std::atoi(run.output.c_str());
    }
  }
  if (frames <= 0) frames = 1;
  const double ours = Median(oursWall), theirs = Median(theirsWall);
  std::printf("%4dx%-4d %3d frames, median of %d runs each, whole processes, turns alternating\n", width, height,
              frames, kPairs);
  std::printf("  reader  wall %6.2f ms/frame (%.2f to %.2f s)  CPU %6.2f ms/frame\n", 1000 * ours / frames,
              Percentile(oursWall, 0), Percentile(oursWall, 1), 1000 * Median(oursCpu) / frames);
  std::printf("  ffmpeg  wall %6.2f ms/frame (%.2f to %.2f s)  CPU %6.2f ms/frame\n", 1000 * theirs / frames,
              Percentile(theirsWall, 0), Percentile(theirsWall, 1), 1000 * Median(theirsCpu) / frames);
  PrintResult(Format("decoding %dp wall, reader/ffmpeg", height), Format("at most %.2f", kGoalRatio),
              Format("%.2f (CPU %.2f)", ours / theirs, Median(oursCpu) / Median(theirsCpu)), ours / theirs <= kGoalRatio);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--read-all") == 0) return ReadAll(argv[2]);
  std::printf("Decoding H.264 (libx264 veryfast, testsrc2, 25 fps) to BGRA; load average %s\n",
              LoadAverage().c_str());
  Measure(1280, 720, 10.0);
  Measure(1920, 1080, 8.0);
  return 0;
}
