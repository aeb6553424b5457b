// Writing a 1280x720, 25 fps, 60 s clip with sound through our reader and
// writer, against the ffmpeg command line with the same encoders and settings,
// for AVI (Xvid or MPEG-4 + MP3), MPEG-1 + MP2, WMV 8 + WMA 2, RealVideo 2 +
// AC-3 and MP4 (H.264 + AAC). Two tables: the plain transcode (no subtitles),
// then the burn-in: our whole write job (reader, renderer, writer) with a
// 20-line subtitle file against `ffmpeg -vf subtitles=subs.srt`. The sides
// alternate three times; each run is a process of its own so that its wall
// time and peak memory are its own. Prints every time, the best of each side,
// the ratio and the peak memory; last, our burn-in's peak memory for the short
// clip and for a long one.
//
//   bench_burnin [seconds [long-seconds [--memory-only]]]     (default 60 and 240; 0 skips the long clip)
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <tuple>
#include <string>
#include <vector>

#include "BenchClock.h"
#include <QGuiApplication>
#include <fstream>

#include "burnin/QtTextTransform.h"
#include "burnin/WriteJob.h"
#include "burnin/writer/AviEncoders.h"
#include "burnin/writer/FfmpegVideoWriter.h"
#include "burnin/writer/tests/WriterTestSupport.h"
#include "playback/FfmpegVideoReader.h"
#include "tests/fixtures/TestClips.h"

extern char** environ;

namespace {

using orlisk::bench::Stopwatch;

struct Run {
  double seconds = -1;    // negative: the run failed
  double cpuSeconds = 0;  // user and system time of all its threads
  long peakKb = 0;
};

// Waits for `child` and takes its own peak memory from the kernel.
Run Finish(pid_t child, const Stopwatch& watch) {
  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  Run run;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) run.seconds = watch.Seconds();
  run.peakKb = usage.ru_maxrss;
  run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  return run;
}

Run RunOurs(const std::function<void()>& transcode) {
  Stopwatch watch;
  const pid_t child = fork();
  if (child == 0) {
    try {
      transcode();
      _exit(0);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "our writer failed: %s\n", error.what());
      _exit(1);
    }
  }
  return Finish(child, watch);
}

Run RunFfmpeg(const std::vector<std::string>& arguments) {
  std::vector<std::string> all = {"ffmpeg", "-hide_banner", "-nostdin", "-loglevel", "error", "-y"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& word : all) argv.push_back(word.data());
  argv.push_back(nullptr);
  Stopwatch watch;
  pid_t child = 0;
  if (posix_spawnp(&child, "ffmpeg", nullptr, nullptr, argv.data(), environ) != 0) return {};
  return Finish(child, watch);
}

// What the write job does between reader and writer, without the drawing.
void Transcode(const std::string& source, const std::string& output, std::int32_t outputType,
               const std::function<void(orlisk::VideoWriter&, const orlisk::VideoReader&)>& configure) {
  orlisk::FfmpegVideoReader reader;
  reader.OpenSource(source);
  orlisk::FfmpegVideoWriter writer;
  writer.SetSourceAudioFormat(reader.GetAudioSampleRate(), reader.GetAudioChannels());
  writer.SetSourceVideoFormat(reader.GetWidth(), reader.GetHeight(), reader.GetFrameRate());
  configure(writer, reader);
  writer.CreateOutput(output, outputType);
  orlisk::writertest::CopyInterleaved(reader, writer);
  writer.CloseSource();
}

// The write job as the window runs it, without a window: every frame drawn
// with the subtitle due, then written. The text needs a GUI application of
// the process's own (each run is a forked child).
void BurnIn(const std::string& source, const std::string& output, std::int32_t outputType,
            const std::vector<orlisk::SubtitleEntry>& subtitles,
            const std::function<void(orlisk::VideoWriter&, const orlisk::VideoReader&)>& configure) {
  int argc = 1;
  char name[] = "bench_burnin";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);
  orlisk::FfmpegVideoReader reader;
  reader.OpenSource(source);
  orlisk::FfmpegVideoWriter writer;
  writer.SetSourceAudioFormat(reader.GetAudioSampleRate(), reader.GetAudioChannels());
  writer.SetSourceVideoFormat(reader.GetWidth(), reader.GetHeight(), reader.GetFrameRate());
  configure(writer, reader);
  orlisk::QtTextTransform transform;
  orlisk::WriteJob job({.Reader = reader, .Writer = writer, .Transform = transform, .ShowFrame = {}}, subtitles,
                       orlisk::SubtitleStyle{});
  // Each round writes the same name again.
  job.Start({.Path = output, .ReplaceFile = true, .NextFreeName = {}}, outputType);
  while (job.Step()) {
  }
  job.Finish();
}

// 20 subtitles spread over the clip, 2 s each, as a user would place them
// (bottom centre, white with an outline), and the same as a SubRip file for
// ffmpeg.
std::vector<orlisk::SubtitleEntry> TwentySubtitles(double seconds, int height, const std::string& srtPath) {
  std::vector<orlisk::SubtitleEntry> entries;
  std::ofstream srt(srtPath);
  const auto stamp = [](int ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d,%03d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
    return std::string(text);
  };
  const int step = static_cast<int>(seconds * 1000 / 20);
  for (int i = 0; i < 20; ++i) {
    orlisk::SubtitleEntry e;
    e.BeginTime = i * step + 100;
    e.EndTime = e.BeginTime + std::min(2000, step - 200);
    e.Text = "Subtitle line number " + std::to_string(i + 1) + " of the benchmark";
    e.Place.X = 400;
    e.Place.Y = height - 63;
    e.TextColor = 0x00FFFFFF;
    e.BorderColor = 0x00000000;
    e.Border = true;
    e.Place.DrawLevel = 240;
    entries.push_back(e);
    srt << i + 1 << "\r\n"
        << stamp(e.BeginTime) << " --> " << stamp(e.EndTime) << "\r\n"
        << e.Text << "\r\n\r\n";
  }
  return entries;
}

struct Case {
  std::string name;
  std::string extension;
  std::int32_t outputType;
  std::function<void(orlisk::VideoWriter&, const orlisk::VideoReader&)> configure;
  std::vector<std::string> ffmpegOptions;  // between the input and the output file
};

int AviCodecNumber(const std::string& encoder) {
  const auto encoders = orlisk::AviEncoders();
  for (std::size_t i = 0; i < encoders.size(); ++i) {
    if (encoders[i].EncoderName == encoder) return static_cast<int>(i) + 1;
  }
  return 0;
}

std::vector<Case> Cases() {
  const std::string avi = AviCodecNumber("libxvid") > 0 ? "libxvid" : "mpeg4";
  return {
      {"AVI " + avi + " q4 + MP3 128k",
       ".avi",
       orlisk::kOutputAvi,
       [avi](orlisk::VideoWriter& w, const orlisk::VideoReader& r) {
         w.SelectAviCodec(AviCodecNumber(avi));  // quality 90 = quantiser 4, key frame every 250
         w.SetAviAudioMp3(128, r.GetAudioSampleRate(), 2);
         w.SetAviVideoFormat(r.GetWidth(), r.GetHeight(), r.GetFrameRate());
       },
       {"-c:v", avi, "-q:v", "4", "-g", "250", "-c:a", "libmp3lame", "-b:a", "128k", "-ac", "2"}},
      {"MPEG-1 2376k + MP2 128k",
       ".mpeg",
       orlisk::kOutputMpeg,
       [](orlisk::VideoWriter& w, const orlisk::VideoReader& r) {
         w.SetMpegAudioFormat(128, r.GetAudioSampleRate(), 2);
         w.SetMpegVideoFormat(1, 2376, r.GetWidth(), r.GetHeight(), r.GetFrameRate());
       },
       {"-c:v", "mpeg1video", "-b:v", "2376k", "-c:a", "mp2", "-b:a", "128k", "-ac", "2", "-f", "mpeg"}},
      {"WMV2 768k + WMA2 128k",
       ".wmv",
       orlisk::kOutputWmv,
       [](orlisk::VideoWriter& w, const orlisk::VideoReader&) { w.SelectWmvProfile(38); },
       {"-c:v", "wmv2", "-b:v", "768k", "-g", "125", "-c:a", "wmav2", "-b:a", "128k", "-ac", "2"}},
      {"RV20 750k + AC-3 128k",
       ".rm",
       orlisk::kOutputRm,
       [](orlisk::VideoWriter& w, const orlisk::VideoReader&) { w.SelectRmProfile(7); },
       {"-c:v", "rv20", "-b:v", "750k", "-g", "125", "-c:a", "ac3", "-b:a", "128k", "-ac", "2"}},
      {"MP4 H.264 veryfast 2000k + AAC 128k",
       ".mp4",
       orlisk::kOutputOther,
       [](orlisk::VideoWriter& w, const orlisk::VideoReader& r) {
         w.SetOtherFormat({"mp4", "h264", "aac", r.GetWidth(), r.GetHeight(), r.GetFrameRate(), 2000, 128});
       },
       {"-c:v", "libx264", "-preset", "veryfast", "-b:v", "2000k", "-c:a", "aac", "-b:a", "128k", "-ac", "2"}},
  };
}

}  // namespace

namespace {

Run Best(const std::vector<Run>& runs) {
  double value = 1e9;
  long peak = 0;
  for (const Run& run : runs) {
    if (run.seconds < 0) return Run{};
    value = std::min(value, run.seconds);
    peak = std::max(peak, run.peakKb);
  }
  return Run{value, peak};
}

std::string Times(const std::vector<Run>& runs) {
  std::string text;
  for (const Run& run : runs) {
    char one[16];
    std::snprintf(one, sizeof one, "%s%.2f", text.empty() ? "" : " ", run.seconds);
    text += one;
  }
  return text;
}

// Three rounds, alternating who goes first so that a passing load hurts
// neither side alone; prints one row.
void Compare(const std::string& name, const std::function<Run()>& ours, const std::function<Run()>& theirs) {
  std::vector<Run> ourRuns;
  std::vector<Run> theirRuns;
  for (int round = 0; round < 3; ++round) {
    if (round % 2 == 0) {
      ourRuns.push_back(ours());
      theirRuns.push_back(theirs());
    } else {
      theirRuns.push_back(theirs());
      ourRuns.push_back(ours());
    }
  }
  const Run ourBest = Best(ourRuns);
  const Run theirBest = Best(theirRuns);
  std::printf("%-38s %-26s %-26s %6.2f %6ld MB %6ld MB\n", name.c_str(), Times(ourRuns).c_str(),
              Times(theirRuns).c_str(),
              ourBest.seconds > 0 && theirBest.seconds > 0 ? ourBest.seconds / theirBest.seconds : 0.0,
              ourBest.peakKb / 1024, theirBest.peakKb / 1024);
  std::fflush(stdout);
}

std::string MakeBenchClip(double seconds) {
  return orlisk::testclips::MakeClip({.width = 1280,
                                      .height = 720,
                                      .fps = 25,
                                      .seconds = seconds,
                                      .audio = true,
                                      .codec = "libx264",
                                      .container = "mp4",
                                      .audioCodec = "aac",
                                      .picture = orlisk::testclips::Picture::TestPattern});
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
  const double longSeconds = argc > 2 ? std::atof(argv[2]) : 240.0;
  std::printf("Making a 1280x720, 25 fps, %.0f s clip with sound (H.264 + AAC)...\n", seconds);
  std::fflush(stdout);
  const std::string clip = MakeBenchClip(seconds);
  const std::string folder = orlisk::testclips::TempFolder();
  const std::string srt = folder + "/bench-subs.srt";
  const std::vector<orlisk::SubtitleEntry> subtitles = TwentySubtitles(seconds, 720, srt);

  const bool memoryOnly = argc > 3 && std::string(argv[3]) == "--memory-only";
  const char* header = "%-38s %-26s %-26s %6s %9s %9s\n";
  if (!memoryOnly) {
    std::printf("\nPlain transcode, no subtitles\n");
    std::printf(header, "format", "ours (s)", "ffmpeg (s)", "ratio", "our peak", "ff peak");
    for (const Case& test : Cases()) {
      const std::string ours = folder + "/ours" + test.extension;
      std::vector<std::string> ffmpegArguments = {"-i", clip};
      ffmpegArguments.insert(ffmpegArguments.end(), test.ffmpegOptions.begin(), test.ffmpegOptions.end());
      ffmpegArguments.push_back(folder + "/theirs" + test.extension);
      Compare(
          test.name, [&] { return RunOurs([&] { Transcode(clip, ours, test.outputType, test.configure); }); },
          [&] { return RunFfmpeg(ffmpegArguments); });
    }

    std::printf("\nBurn-in of 20 subtitles: our write job against ffmpeg -vf subtitles=\n");
    std::printf(header, "format", "ours (s)", "ffmpeg (s)", "ratio", "our peak", "ff peak");
    for (const Case& test : Cases()) {
      const std::string ours = folder + "/ours-burnt" + test.extension;
      std::vector<std::string> ffmpegArguments = {"-i", clip, "-vf", "subtitles=" + srt};
      ffmpegArguments.insert(ffmpegArguments.end(), test.ffmpegOptions.begin(), test.ffmpegOptions.end());
      ffmpegArguments.push_back(folder + "/theirs-burnt" + test.extension);
      Compare(
          test.name,
          [&] { return RunOurs([&] { BurnIn(clip, ours, test.outputType, subtitles, test.configure); }); },
          [&] { return RunFfmpeg(ffmpegArguments); });
    }
    std::printf("ratio = best of ours / best of ffmpeg's; peak = the largest resident size of one run\n");
  }

  if (longSeconds > 0) {
    // Memory must not grow with the length: the job holds one frame and one
    // block of sound at a time.
    const Case mpeg = Cases()[1];
    std::printf("\nOur burn-in's peak memory by clip length (%s)\n", mpeg.name.c_str());
    std::printf("Making a %.0f s clip...\n", longSeconds);
    std::fflush(stdout);
    const std::string longClip = MakeBenchClip(longSeconds);
    const std::string longSrt = folder + "/bench-subs-long.srt";
    const std::vector<orlisk::SubtitleEntry> longSubtitles = TwentySubtitles(longSeconds, 720, longSrt);
    for (const auto& [length, source, subs] :
         {std::tuple{seconds, clip, subtitles}, std::tuple{longSeconds, longClip, longSubtitles}}) {
      const Run run = RunOurs([&] { BurnIn(source, folder + "/ours-memory.mpeg", mpeg.outputType, subs, mpeg.configure); });
      std::printf("%5.0f s clip: %.2f s, peak %ld MB\n", length, run.seconds, run.peakKb / 1024);
      std::fflush(stdout);
    }
  }
  return 0;
}
