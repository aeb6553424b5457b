// Peak memory of burning a very large picture: orlisk-burn on a 16000x8000,
// five-frame clip against the ffmpeg command line re-encoding the same clip
// to the same output (encoder, size, quality). Each run is a process of its
// own; its peak resident size comes from the kernel (wait4). Two outputs: the
// source's own AVI (Xvid at the largest size it takes, 8190x8000) and a small
// MPEG-1 picture (352x240), where the encoder needs next to nothing and what
// is left is the reading, drawing and handing over of the large pictures.
//
//   bench_burn_memory [orlisk-burn]     (default: the one beside this program)
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchClips.h"
#include "BenchClock.h"
#include "BenchProcess.h"

namespace {

using orlisk::bench::Format;
using orlisk::bench::PrintResult;
using orlisk::bench::ProcessRun;
using orlisk::bench::RunProcess;

// What the write job may hold beyond ffmpeg: the reader's picture, the drawn
// copy and the one in flight to the encoder, a 16000x8000 frame (512 MB) each.
constexpr long kGoalExtraMegabytes = 3 * 512;

struct Case {
  std::string name;
  std::string format;  // orlisk-burn --format
  std::string extension;
  std::vector<std::string> ffmpegOptions;
};

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const std::string burn =
      argc > 1 ? argv[1] : (fs::path(orlisk::bench::OwnExecutable()).parent_path() / "orlisk-burn").string();
  std::printf("Making (or finding) a 16000x8000 clip of five frames...\n");
  std::fflush(stdout);
  const std::string clip = orlisk::bench::CachedClip({.width = 16000,
                                                      .height = 8000,
                                                      .fps = 5,
                                                      .seconds = 1.0,
                                                      .audio = false,
                                                      .codec = "mjpeg",
                                                      .container = "avi",
                                                      .picture = orlisk::testclips::Picture::TestPattern,
                                                      .extraOptions = "-q:v 5"},
                                                     "16000x8000-5frames-mjpeg.avi");
  const fs::path work = fs::temp_directory_path() / ("orlisk-bench-burn-memory-" + std::to_string(::getpid()));
  fs::create_directories(work / "config");
  std::ofstream(work / "subs.srt") << "1\r\n00:00:00,100 --> 00:00:00,900\r\nA subtitle on a very large picture\r\n";
  const std::vector<std::string> environment = {"XDG_CONFIG_HOME=" + (work / "config").string(),
                                                "HOME=" + work.string(), "QT_QPA_PLATFORM=offscreen"};

  const std::vector<Case> cases = {
      {"AVI Xvid 8190x8000 q4 (original)", "original", ".avi",
       {"-vf", "scale=8190:8000", "-c:v", "libxvid", "-q:v", "4"}},
      {"MPEG-1 352x240 1150k (custom)", "mpeg", ".mpeg",
       {"-vf", "scale=352:240", "-r", "25", "-c:v", "mpeg1video", "-b:v", "1150k", "-f", "mpeg"}},
  };
  std::printf("%-36s %12s %12s %9s %9s\n", "output", "ours (MB)", "ffmpeg (MB)", "ours (s)", "ffmpeg (s)");
  for (const Case& c : cases) {
    fs::remove_all(work / "out");
    const ProcessRun ours = RunProcess(
        {burn, clip, (work / "subs.srt").string(), "--format", c.format, "--out-dir", (work / "out").string()},
        environment);
    std::vector<std::string> ffmpeg = {"ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-i", clip};
    ffmpeg.insert(ffmpeg.end(), c.ffmpegOptions.begin(), c.ffmpegOptions.end());
    ffmpeg.push_back((work / ("theirs" + c.extension)).string());
    const ProcessRun theirs = RunProcess(ffmpeg);
    std::printf("%-36s %12ld %12ld %9.1f %9.1f\n", c.name.c_str(), ours.peakMegabytes, theirs.peakMegabytes,
                ours.wallSeconds, theirs.wallSeconds);
    std::fflush(stdout);
    const bool met = ours.succeeded && theirs.succeeded &&
                     ours.peakMegabytes <= theirs.peakMegabytes + kGoalExtraMegabytes;
    PrintResult("burn peak, " + c.format + " 16000x8000", Format("ffmpeg + %ld MB", kGoalExtraMegabytes),
                Format("ours %ld MB, ffmpeg %ld MB", ours.peakMegabytes, theirs.peakMegabytes), met);
  }
  fs::remove_all(work);
  return 0;
}
