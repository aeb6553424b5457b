// MP4 for publishing, quality step by quality step: orlisk-burn --format mp4
// --quality STEP (no subtitles: a plain transcode) against ffmpeg's libx264
// at the same constant rate factor and preset with the sound copied, on a
// generated 1280x720, 25 fps H.264/AAC clip. Per step: file size, PSNR
// against the source (top three quarters of the picture) and wall time of
// each. The goal: each step within 2 % of ffmpeg's size and 0.1 dB of its
// PSNR, and the steps falling in size from "high" to "smallest".
//
//   bench_delivery [seconds [orlisk-burn]]   (default 8 s, the burner beside this program)
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchClips.h"
#include "BenchProcess.h"
#include "OutputMeasures.h"
#include "settings/OutputSettings.h"

namespace {

namespace fs = std::filesystem;
using orlisk::bench::RunProcess;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

double Megabytes(const fs::path& file) { return static_cast<double>(fs::file_size(file)) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 8.0;
  const std::string burn =
      argc > 2 ? argv[2] : (fs::path(orlisk::bench::OwnExecutable()).parent_path() / "orlisk-burn").string();
  const std::string clip = orlisk::bench::CachedClip(
      {.width = 1280, .height = 720, .fps = 25, .seconds = seconds, .codec = "libx264", .container = "mp4",
       .audioCodec = "aac", .picture = orlisk::testclips::Picture::TestPattern},
      "720p25-h264-aac-" + std::to_string(static_cast<int>(seconds)) + "s.mp4");
  const fs::path work = fs::temp_directory_path() / ("orlisk-bench-delivery-" + std::to_string(::getpid()));
  fs::create_directories(work / "config");
  std::ofstream(work / "none.srt");
  const std::vector<std::string> environment = {"XDG_CONFIG_HOME=" + (work / "config").string(),
                                                "HOME=" + work.string(), "QT_QPA_PLATFORM=offscreen"};
  // The settings' encoder speed, as orlisk-burn takes it without a settings file.
  const std::string preset = orlisk::kEncoderSpeeds[orlisk::OutputSettings{}.DeliverySpeed].Preset;
  std::printf("%s, %gs of 1280x720 at 25 fps, x264 preset %s; ours / ffmpeg\n", clip.c_str(), seconds, preset.c_str());
  std::printf("%-9s %4s  %15s  %17s  %13s\n", "step", "crf", "size MB", "PSNR dB", "wall s");
  int failures = 0;
  for (const orlisk::QualityStep& step : orlisk::kQualitySteps) {
    const fs::path ours = work / ("ours-" + Lower(step.Name) + ".mp4");
    const fs::path theirs = work / ("ffmpeg-" + Lower(step.Name) + ".mp4");
    const auto oursRun = RunProcess({burn, clip, (work / "none.srt").string(), "--format", "mp4", "--size", "source",
                                     "--quality", Lower(step.Name), "-o", ours.string(), "-q"},
                                    environment);
    const auto theirsRun = RunProcess({"ffmpeg", "-hide_banner", "-nostdin", "-loglevel", "error", "-y", "-i", clip,
                                       "-c:v", "libx264", "-crf", std::to_string(step.Crf), "-preset", preset,
                                       "-pix_fmt", "yuv420p", "-c:a", "copy", "-movflags", "+faststart",
                                       theirs.string()});
    if (!oursRun.succeeded || !theirsRun.succeeded) {
      std::printf("%-9s failed to write (ours %d, ffmpeg %d)\n", step.Name, oursRun.succeeded, theirsRun.succeeded);
      ++failures;
      continue;
    }
    const double oursPsnr = orlisk::bench::PsnrAgainstSource(ours.string(), clip);
    const double theirsPsnr = orlisk::bench::PsnrAgainstSource(theirs.string(), clip);
    const bool met = Megabytes(ours) <= Megabytes(theirs) * 1.02 && oursPsnr >= theirsPsnr - 0.1;
    std::printf("%-9s %4d  %6.3f / %6.3f  %7.2f / %7.2f  %5.2f / %5.2f  %s\n", step.Name, step.Crf, Megabytes(ours),
                Megabytes(theirs), oursPsnr, theirsPsnr, oursRun.wallSeconds, theirsRun.wallSeconds,
                met ? "goal met" : "GOAL MISSED");
    if (!met) ++failures;
  }
  fs::remove_all(work);
  std::printf("RESULT  bench_delivery: MP4 quality steps within 2 %% of ffmpeg's size and 0.1 dB of its PSNR: %s\n",
              failures == 0 ? "met" : "MISSED");
  return failures == 0 ? 0 : 1;
}
