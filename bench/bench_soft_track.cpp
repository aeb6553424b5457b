// Adding the subtitles as a track against burning them in, as whole
// orlisk-burn processes on a generated 1080p, 25 fps H.264 + AAC clip
// (10 minutes unless told otherwise) with 20 two-line subtitles: `--soft`
// into MKV and into MP4, the burn into the source's own format ("Original",
// H.264 + AAC re-encoded), and ffmpeg's own stream copy (`-c copy`) as the
// floor. Per line: wall and CPU seconds, peak memory and output size; then
// the goal: a soft write takes seconds, at most a tenth of the burn's time.
//
//   bench_soft_track [seconds [orlisk-burn]]   (default 600 s, the burner beside this program)
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchClips.h"
#include "BenchClock.h"
#include "BenchProcess.h"

namespace {

namespace fs = std::filesystem;
using orlisk::bench::Format;
using orlisk::bench::ProcessRun;

ProcessRun Timed(const std::string& what, const std::vector<std::string>& arguments, const fs::path& output,
                 const std::vector<std::string>& environment) {
  std::printf("  %-28s ", what.c_str());
  std::fflush(stdout);
  const ProcessRun run = orlisk::bench::RunProcess(arguments, environment, true);
  if (!run.succeeded) {
    std::printf("failed:\n%s\n", run.output.c_str());
    return run;
  }
  std::printf("wall %7.2f s  CPU %7.2f s  peak %4ld MB  size %7.1f MB\n", run.wallSeconds, run.cpuSeconds,
              run.peakMegabytes, static_cast<double>(fs::file_size(output)) / 1e6);
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 600.0;
  const std::string burn =
      argc > 2 ? argv[2] : (fs::path(orlisk::bench::OwnExecutable()).parent_path() / "orlisk-burn").string();
  std::printf("Making (or finding) a 1920x1080, 25 fps, %.0f s H.264 + AAC clip...\n", seconds);
  std::fflush(stdout);
  const std::string clip = orlisk::bench::CachedClip(
      {.width = 1920, .height = 1080, .fps = 25, .seconds = seconds, .codec = "libx264", .container = "mp4",
       .audioCodec = "aac", .picture = orlisk::testclips::Picture::TestPattern,
       .extraOptions = "-preset ultrafast"},
      Format("1080p25-h264-aac-%gs.mp4", seconds));

  const fs::path work = fs::temp_directory_path() / Format("orlisk-bench-soft-%d", static_cast<int>(::getpid()));
  fs::create_directories(work / "config");
  orlisk::bench::WriteBenchSubtitles((work / "subs.srt").string(), seconds);
  // A settings file of its own: the burn is "Original", whatever the user's says.
  const std::vector<std::string> environment = {"XDG_CONFIG_HOME=" + (work / "config").string()};
  const std::string subs = (work / "subs.srt").string();
  auto ours = [&](const std::string& name, std::vector<std::string> options) {
    std::vector<std::string> arguments = {burn, clip, subs, "-o", (work / name).string(), "--quiet"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
  };

  const ProcessRun mkv = Timed("soft, MKV (ASS track)", ours("soft.mkv", {"--soft", "--format", "mkv"}),
                               work / "soft.mkv", environment);
  const ProcessRun mp4 = Timed("soft, MP4 (mov_text track)", ours("soft.mp4", {"--soft", "--format", "mp4"}),
                               work / "soft.mp4", environment);
  const ProcessRun copy = Timed("ffmpeg -c copy (no subtitles)",
                                {"ffmpeg", "-nostdin", "-loglevel", "error", "-i", clip, "-map", "0", "-c", "copy",
                                 (work / "copy.mkv").string()},
                                work / "copy.mkv", {});
  const ProcessRun burnt = Timed("burnt in, Original (H.264)", ours("burnt.mp4", {"--format", "original"}),
                                 work / "burnt.mp4", environment);
  fs::remove_all(work);

  const bool measured = mkv.succeeded && mp4.succeeded && burnt.succeeded;
  const double slowest = std::max(mkv.wallSeconds, mp4.wallSeconds);
  if (copy.succeeded) std::printf("  soft / ffmpeg stream copy (wall): %.2f\n", slowest / copy.wallSeconds);
  orlisk::bench::PrintResult(
      Format("soft subtitle track, %.0f s of 1080p", seconds), "at most a tenth of burning's wall time",
      measured ? Format("%.2f s against %.1f s (%.3f)", slowest, burnt.wallSeconds, slowest / burnt.wallSeconds)
               : "a side failed",
      measured && slowest * 10 <= burnt.wallSeconds);
  return measured ? 0 : 1;
}
