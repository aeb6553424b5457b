// Writing a 1280x720, 25 fps, 60 s clip with sound through our reader and
// writer (the plain transcode the write job does, without subtitles), against
// the ffmpeg command line with the same encoders and settings, for AVI (Xvid or
// MPEG-4 + MP3), MPEG-1 + MP2, WMV 8 + WMA 2, RealVideo 2 + AC-3 and MP4
// (H.264 + AAC). The sides alternate three times; each run is a process of its
// own so that its wall time and peak memory are its own. Prints every time,
// the best of each side, the ratio and the peak memory.
//
//   bench_burnin [seconds]     (default 60)
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "BenchClock.h"
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

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
  std::printf("Making a 1280x720, 25 fps, %.0f s clip with sound (H.264 + AAC)...\n", seconds);
  std::fflush(stdout);
  const std::string clip = orlisk::testclips::MakeClip({.width = 1280,
                                                        .height = 720,
                                                        .fps = 25,
                                                        .seconds = seconds,
                                                        .audio = true,
                                                        .codec = "libx264",
                                                        .container = "mp4",
                                                        .audioCodec = "aac",
                                                        .picture = orlisk::testclips::Picture::TestPattern});
  const std::string folder = orlisk::testclips::TempFolder();

  std::printf("%-38s %-20s %-20s %5s %6s %6s %5s %8s %8s\n", "format", "ours wall (s)", "ffmpeg wall (s)", "ratio",
              "CPU us", "CPU ff", "ratio", "our peak", "ff peak");
  for (const Case& test : Cases()) {
    const std::string ours = folder + "/ours" + test.extension;
    const std::string theirs = folder + "/theirs" + test.extension;
    std::vector<std::string> ffmpegArguments = {"-i", clip};
    ffmpegArguments.insert(ffmpegArguments.end(), test.ffmpegOptions.begin(), test.ffmpegOptions.end());
    ffmpegArguments.push_back(theirs);

    std::vector<Run> ourRuns;
    std::vector<Run> theirRuns;
    for (int round = 0; round < 3; ++round) {
      // Alternating who goes first, so that a passing load hurts neither side alone.
      const auto runOurs = [&] {
        ourRuns.push_back(RunOurs([&] { Transcode(clip, ours, test.outputType, test.configure); }));
      };
      const auto runTheirs = [&] { theirRuns.push_back(RunFfmpeg(ffmpegArguments)); };
      if (round % 2 == 0) {
        runOurs();
        runTheirs();
      } else {
        runTheirs();
        runOurs();
      }
    }
    const auto best = [](const std::vector<Run>& runs) {
      Run result{1e9, 1e9, 0};
      for (const Run& run : runs) {
        if (run.seconds < 0) return Run{};
        result.seconds = std::min(result.seconds, run.seconds);
        result.cpuSeconds = std::min(result.cpuSeconds, run.cpuSeconds);
        result.peakKb = std::max(result.peakKb, run.peakKb);
      }
      return result;
    };
    const auto times = [](const std::vector<Run>& runs) {
      std::string text;
      for (const Run& run : runs) {
        char one[16];
        std::snprintf(one, sizeof one, "%s%.2f", text.empty() ? "" : " ", run.seconds);
        text += one;
      }
      return text;
    };
    const Run ourBest = best(ourRuns);
    const Run theirBest = best(theirRuns);
    const auto ratio = [](double ours, double theirs) { return ours > 0 && theirs > 0 ? ours / theirs : 0.0; };
    std::printf("%-38s %-20s %-20s %5.2f %6.1f %6.1f %5.2f %5ld MB %5ld MB\n", test.name.c_str(),
                times(ourRuns).c_str(), times(theirRuns).c_str(), ratio(ourBest.seconds, theirBest.seconds),
                ourBest.cpuSeconds, theirBest.cpuSeconds, ratio(ourBest.cpuSeconds, theirBest.cpuSeconds),
                ourBest.peakKb / 1024, theirBest.peakKb / 1024);
    std::fflush(stdout);
  }
  std::printf(
      "wall: three runs each, alternating; ratio = best of ours / best of ffmpeg's\n"
      "CPU: least user + system seconds of a run; peak: the largest resident size of one run\n");
  return 0;
}
