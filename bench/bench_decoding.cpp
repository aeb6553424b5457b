// Reading every frame of H.264 clips at 720p and 1080p with our reader,
// against the ffmpeg command line decoding the same file to BGRA pixels.
// Prints milliseconds per frame for both and their ratio (goal: at most 1.1).
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

#include "BenchClock.h"
#include "playback/FfmpegVideoReader.h"
#include "tests/fixtures/TestClips.h"

namespace {

using orlisk::bench::Stopwatch;

struct Run {
  double seconds = 0;
  double cpuSeconds = 0;  // all threads of the process
  int frames = 0;
};

Run ReadAllFrames(const std::string& path) {
  orlisk::FfmpegVideoReader reader;
  const std::clock_t cpuStart = std::clock();
  Stopwatch watch;
  reader.OpenSource(path);
  Run run;
  while (!reader.ReadFrame().empty()) ++run.frames;
  run.seconds = watch.Seconds();
  run.cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  return run;
}

void Measure(int width, int height, double seconds) {
  const std::string path = orlisk::testclips::MakeClip(
      {.width = width, .height = height, .fps = 25, .seconds = seconds, .audio = false,
       .codec = "libx264", .container = "mp4", .picture = orlisk::testclips::Picture::TestPattern});
  const std::string command =
      "ffmpeg -hide_banner -loglevel error -nostdin -i '" + path + "' -f rawvideo -pix_fmt bgra -y /dev/null";

  // Best of three runs each, alternating, so a passing load on the shared
  // machine hurts neither side alone.
  double ours = 1e9;
  double oursCpu = 1e9;
  double theirs = 1e9;
  int frames = 0;
  for (int round = 0; round < 3; ++round) {
    const Run run = ReadAllFrames(path);
    frames = run.frames;
    ours = std::min(ours, run.seconds);
    oursCpu = std::min(oursCpu, run.cpuSeconds);
    const double cli = orlisk::bench::TimeCommand(command);
    if (cli < 0) {
      std::printf("%dx%d: the ffmpeg command failed\n", width, height);
      return;
    }
    theirs = std::min(theirs, cli);
  }
  std::printf("%4dx%-4d %3d frames  reader %6.2f ms/frame  ffmpeg %6.2f ms/frame  ratio %.2f\n", width,
              height, frames, 1000.0 * ours / frames, 1000.0 * theirs / frames, ours / theirs);
  // What decoding alone costs a second of playback at 25 frames per second.
  std::printf("          reader CPU %6.2f ms/frame = %.2f s of CPU per second played at 25 fps\n",
              1000.0 * oursCpu / frames, 25.0 * oursCpu / frames);
}

}  // namespace

int main() {
  std::printf("Decoding H.264 (libx264 veryfast, testsrc2, 25 fps) to BGRA, best of 3\n");
  Measure(1280, 720, 10.0);
  Measure(1920, 1080, 8.0);
  return 0;
}
