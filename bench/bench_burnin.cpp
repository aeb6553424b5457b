// Our burner against ffmpeg, per output format, as whole processes on a
// generated 1280x720, 25 fps clip with sound: `orlisk-burn` with 20 two-line
// subtitles against `ffmpeg -vf subtitles=` (the burn), and both again with no
// subtitles (the plain transcode: orlisk-burn with an empty subtitle file).
// The ffmpeg commands use the encoders and rate control ours uses; before
// comparing, the outputs are read back and a pair whose rate control differs
// (codec, size, fixed quantiser, declared bit rates, x264's options) is
// refused. The sides alternate in each round, and the load average is
// printed beside each round. Per line: CPU seconds (median), wall seconds
// (best), peak memory, output size and PSNR against the source on the
// picture's top three quarters (the subtitles sit in the bottom quarter),
// then the goal: no more CPU than ffmpeg, PSNR no lower than ffmpeg's less
// 0.1 dB, and a file no more than 2 % larger.
//
//   bench_burnin [seconds [rounds [orlisk-burn]]]   (default 8 s, 2 rounds, the burner beside this program)
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchClips.h"
#include "BenchClock.h"
#include "BenchProcess.h"
#include "OutputMeasures.h"
#include "burnin/writer/CodecLists.h"
#include "burnin/writer/ConfigureWriter.h"
#include "burnin/writer/FfmpegVideoWriter.h"
#include "playback/FfmpegVideoReader.h"

namespace {

namespace fs = std::filesystem;
using orlisk::bench::Format;
using orlisk::bench::ProcessRun;
using orlisk::bench::RunProcess;

struct Setting {
  std::string section;
  std::string key;
  std::string value;
};

struct Case {
  std::string name;
  std::string source;  // the clip's path
  std::string format;  // orlisk-burn --format
  std::string extension;
  std::vector<Setting> settings;           // orlisk.ini beyond the common ones
  std::vector<std::string> ffmpegOptions;  // after the input, before the output
};

// Custom output at the source's size and rate: MPEG 2376 kbit/s, MP2 and MP3
// at 128 kbit/s stereo, the first AVI codec (Xvid: quality 90, quantiser 4,
// a key frame every 250), WMV profile 38 (768 kbit/s at the source's size),
// RM profile 8 ("High quality", 1500 kbit/s, AC-3 at 192 kbit/s).
const std::vector<Setting> kCommonSettings = {
    {"Video", "w", "1280"}, {"Video", "h", "720"},     {"Video", "wh", "1"},   {"AVI", "fram", "5"},
    {"AVI", "Code", "0"},   {"AVI", "Audio", "1"},     {"MPEG", "fram", "1"},  {"MPEG", "VBit", "4"},
    {"MPEG", "Cnannel", "1"}, {"MPEG", "ABit", "4"},   {"MPEG", "VS", "0"},    {"WMV", "Code", "37"},
    {"RM", "Code", "7"},
};

const std::vector<std::string> kXvidMp3 = {"-c:v", "libxvid", "-q:v", "4",  "-g",  "250",  "-vtag",
                                           "XVID", "-c:a", "libmp3lame", "-b:a", "128k", "-ac", "2"};

// "Original" of an MP4 source: H.264 and AAC near the source's bit rates,
// as our writer configuration decides them, in fragments of a second.
std::vector<std::string> OriginalMp4Options(const std::string& source) {
  orlisk::FfmpegVideoReader reader;
  reader.OpenSource(source);
  orlisk::FfmpegVideoWriter writer;
  const orlisk::WriterConfiguration configuration = orlisk::ConfigureWriter(
      orlisk::ReadSourceFacts(reader, source), orlisk::OutputSettings{}, 0, orlisk::FillCodecLists(writer));
  const orlisk::OtherFormat& other = *configuration.Other;
  return {"-c:v",      "libx264",  "-preset", "veryfast", "-b:v", std::to_string(other.VideoBitRateKbps) + "k",
          "-c:a",      "aac",      "-b:a",    std::to_string(other.AudioBitRateKbps) + "k", "-ac", "2",
          "-movflags", "frag_keyframe+empty_moov+default_base_moof", "-frag_duration", "1000000"};
}

std::vector<Case> Cases(const std::string& mp4, const std::string& avi) {
  return {
      {"AVI Xvid q4 + MP3", mp4, "avi", ".avi", {}, kXvidMp3},
      {"MPEG-1 + MP2", mp4, "mpeg", ".mpeg", {},
       {"-c:v", "mpeg1video", "-b:v", "2376k", "-c:a", "mp2", "-b:a", "128k", "-ac", "2", "-f", "mpeg"}},
      {"MPEG-2 + MP2", mp4, "mpeg", ".mpeg", {{"MPEG", "VS", "1"}},
       {"-c:v", "mpeg2video", "-b:v", "2376k", "-c:a", "mp2", "-b:a", "128k", "-ac", "2", "-f", "vob"}},
      {"WMV2 + WMA2 768k", mp4, "wmv", ".wmv", {},
       {"-c:v", "wmv2", "-b:v", "768k", "-g", "125", "-c:a", "wmav2", "-b:a", "128k", "-ac", "2"}},
      // Our RealMedia pictures stay below 60 kB: a rate control buffer of that
      // size, full again at each picture, and trellis past quantiser 31.
      {"RV20 + AC-3 1500k", mp4, "rm", ".rm", {},
       {"-c:v", "rv20", "-b:v", "1500k", "-g", "125", "-maxrate", "12000k", "-bufsize", "480k",
        "-rc_init_occupancy", "480k", "-trellis", "1", "-lmax", "30090", "-c:a", "ac3", "-b:a", "192k", "-ac", "2"}},
      {"Original of .mp4 (H.264 + AAC)", mp4, "original", ".mp4", {}, OriginalMp4Options(mp4)},
      {"Original of .avi (Xvid + MP3)", avi, "original", ".avi", {}, kXvidMp3},
  };
}

void WriteSettings(const fs::path& folder, const Case& test) {
  fs::create_directories(folder);
  std::vector<Setting> all = kCommonSettings;
  for (const Setting& change : test.settings) {
    for (Setting& setting : all) {
      if (setting.section == change.section && setting.key == change.key) setting.value = change.value;
    }
  }
  std::ofstream ini(folder / "orlisk.ini");
  std::string section;
  for (const Setting& setting : all) {
    if (setting.section != section) ini << "[" << (section = setting.section) << "]\r\n";
    ini << setting.key << "=" << setting.value << "\r\n";
  }
}

struct Sides {
  std::vector<ProcessRun> ours;
  std::vector<ProcessRun> theirs;
};

bool AllSucceeded(const std::vector<ProcessRun>& runs) {
  return std::all_of(runs.begin(), runs.end(), [](const ProcessRun& run) { return run.succeeded; });
}

double MedianCpu(const std::vector<ProcessRun>& runs) {
  std::vector<double> values;
  for (const ProcessRun& run : runs) values.push_back(run.cpuSeconds);
  return orlisk::bench::Median(values);
}

double BestWall(const std::vector<ProcessRun>& runs) {
  double best = 1e9;
  for (const ProcessRun& run : runs) best = std::min(best, run.wallSeconds);
  return best;
}

long PeakMegabytes(const std::vector<ProcessRun>& runs) {
  long peak = 0;
  for (const ProcessRun& run : runs) peak = std::max(peak, run.peakMegabytes);
  return peak;
}

struct Job {
  std::vector<std::string> ours;
  std::vector<std::string> ourEnvironment;
  std::vector<std::string> theirs;
  std::string ourOutput;
  std::string theirOutput;
};

// The rounds, each side first in turn, with the load beside each round.
Sides RunRounds(const Job& job, int rounds) {
  Sides sides;
  for (int round = 0; round < rounds; ++round) {
    const std::string load = orlisk::bench::LoadAverage();
    const auto runOurs = [&] { sides.ours.push_back(RunProcess(job.ours, job.ourEnvironment)); };
    const auto runTheirs = [&] { sides.theirs.push_back(RunProcess(job.theirs)); };
    if (round % 2 == 0) {
      runOurs();
      runTheirs();
    } else {
      runTheirs();
      runOurs();
    }
    const ProcessRun& our = sides.ours.back();
    const ProcessRun& their = sides.theirs.back();
    std::printf("    round %d (load %s, %s first): ours %.2f s wall %.2f s CPU%s, ffmpeg %.2f s wall %.2f s CPU%s\n",
                round + 1, load.c_str(), round % 2 == 0 ? "ours" : "ffmpeg", our.wallSeconds, our.cpuSeconds,
                our.succeeded ? "" : " FAILED", their.wallSeconds, their.cpuSeconds, their.succeeded ? "" : " FAILED");
    std::fflush(stdout);
  }
  return sides;
}

// Prints the line of one comparison and its verdict; the plain transcode's
// (no ffmpeg plain CPU yet) also says how both sides' encoders were driven.
void Report(const std::string& what, const Job& job, const Sides& sides, const std::string& source,
            double ffmpegPlainCpu) {
  const std::string goal = "CPU<=ffmpeg dB>=-0.1 size<=+2%";
  if (!AllSucceeded(sides.ours) || !AllSucceeded(sides.theirs)) {
    std::printf("  %s: not compared, %s failed\n", what.c_str(), AllSucceeded(sides.ours) ? "ffmpeg" : "ours");
    orlisk::bench::PrintResult(what, goal, "a side failed", false);
    return;
  }
  const std::string differences = orlisk::bench::RateControlDifferences(
      orlisk::bench::DescribeRateControl(job.ourOutput), orlisk::bench::DescribeRateControl(job.theirOutput));
  if (!differences.empty()) {
    std::printf("  %s: refused, the rate control differs: %s\n", what.c_str(), differences.c_str());
    orlisk::bench::PrintResult(what, goal, "not compared: rate control", false);
    return;
  }
  if (ffmpegPlainCpu <= 0) {
    std::string facts;
    for (const auto& [name, value] : orlisk::bench::DescribeRateControl(job.ourOutput)) {
      facts += (facts.empty() ? "" : ", ") + name + " " + value;
    }
    std::printf("  rate control, both sides: %s\n", facts.c_str());
  }
  const double ourCpu = MedianCpu(sides.ours);
  const double theirCpu = MedianCpu(sides.theirs);
  const double ourWall = BestWall(sides.ours);
  const double theirWall = BestWall(sides.theirs);
  const double ourSize = static_cast<double>(fs::file_size(job.ourOutput)) / 1e6;
  const double theirSize = static_cast<double>(fs::file_size(job.theirOutput)) / 1e6;
  const double ourPsnr = orlisk::bench::PsnrAgainstSource(job.ourOutput, source);
  const double theirPsnr = orlisk::bench::PsnrAgainstSource(job.theirOutput, source);
  std::printf("  %-6s CPU %6.2f / %6.2f s (%.2f)  wall %6.2f / %6.2f s (%.2f)  peak %4ld / %4ld MB  "
              "size %6.2f / %6.2f MB (%.2f)  PSNR %5.2f / %5.2f dB",
              what.substr(what.rfind(' ') + 1).c_str(), ourCpu, theirCpu, ourCpu / theirCpu, ourWall, theirWall,
              ourWall / theirWall, PeakMegabytes(sides.ours), PeakMegabytes(sides.theirs), ourSize, theirSize,
              ourSize / theirSize, ourPsnr, theirPsnr);
  if (ffmpegPlainCpu > 0) std::printf("  ours / ffmpeg plain CPU %.2f", ourCpu / ffmpegPlainCpu);
  std::printf("\n");
  const bool met = ourCpu <= theirCpu && ourPsnr >= theirPsnr - 0.1 && ourSize <= theirSize * 1.02;
  orlisk::bench::PrintResult(what, goal,
                             Format("CPU %.2fx %+.2f dB size %.2fx", ourCpu / theirCpu, ourPsnr - theirPsnr,
                                    ourSize / theirSize),
                             met);
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 8.0;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2;
  const std::string burn =
      argc > 3 ? argv[3] : (fs::path(orlisk::bench::OwnExecutable()).parent_path() / "orlisk-burn").string();
  std::printf("Making (or finding) 1280x720, 25 fps, %.0f s clips with sound (H.264 + AAC in MP4, MPEG-4 + MP3 "
              "in AVI)...\n",
              seconds);
  std::fflush(stdout);
  const std::string length = Format("%gs", seconds);
  const orlisk::testclips::ClipOptions common{.width = 1280,
                                              .height = 720,
                                              .fps = 25,
                                              .seconds = seconds,
                                              .codec = "libx264",
                                              .container = "mp4",
                                              .audioCodec = "aac",
                                              .picture = orlisk::testclips::Picture::TestPattern};
  const std::string mp4 = orlisk::bench::CachedClip(common, "720p25-h264-aac-" + length + ".mp4");
  orlisk::testclips::ClipOptions aviOptions = common;
  aviOptions.codec = "mpeg4";
  aviOptions.container = "avi";
  aviOptions.audioCodec = "libmp3lame";
  aviOptions.extraOptions = "-q:v 3";
  const std::string avi = orlisk::bench::CachedClip(aviOptions, "720p25-mpeg4-mp3-" + length + ".avi");

  const fs::path work = fs::temp_directory_path() / ("orlisk-bench-burnin-" + std::to_string(::getpid()));
  fs::create_directories(work);
  orlisk::bench::WriteBenchSubtitles((work / "subs.srt").string(), seconds);
  std::ofstream(work / "none.srt");
  std::printf("%s, %d rounds; each line: ours / ffmpeg\n", burn.c_str(), rounds);

  const std::vector<Case> cases = Cases(mp4, avi);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& test = cases[i];
    const fs::path config = work / ("config-" + std::to_string(i));
    WriteSettings(config, test);
    std::printf("\n%s\n", test.name.c_str());
    double ffmpegPlainCpu = 0;
    for (const bool burnt : {false, true}) {
      const std::string kind = burnt ? "burn" : "plain";
      Job job;
      job.ourOutput = (work / ("ours-" + kind + test.extension)).string();
      job.theirOutput = (work / ("theirs-" + kind + test.extension)).string();
      job.ours = {burn, test.source, (work / (burnt ? "subs.srt" : "none.srt")).string(), "--format", test.format,
                  "-o", job.ourOutput, "--overwrite", "--quiet"};
      job.ourEnvironment = {"XDG_CONFIG_HOME=" + config.string(), "HOME=" + work.string(),
                            "QT_QPA_PLATFORM=offscreen"};
      job.theirs = {"ffmpeg", "-hide_banner", "-nostdin", "-loglevel", "error", "-y", "-i", test.source};
      if (burnt) job.theirs.insert(job.theirs.end(), {"-vf", "subtitles=" + (work / "subs.srt").string()});
      job.theirs.insert(job.theirs.end(), test.ffmpegOptions.begin(), test.ffmpegOptions.end());
      job.theirs.push_back(job.theirOutput);
      const Sides sides = RunRounds(job, rounds);
      Report(test.name + " " + kind, job, sides, test.source, burnt ? ffmpegPlainCpu : 0);
      if (!burnt && AllSucceeded(sides.theirs)) ffmpegPlainCpu = MedianCpu(sides.theirs);
    }
  }
  fs::remove_all(work);
  return 0;
}
