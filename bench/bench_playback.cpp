// Thirty seconds of 1080p H.264 at 25 frames per second with sound, played as
// the program plays it: the main window's Play, Timer1 as a precise QTimer
// running PlaybackTick in the Qt event loop, FeedAudio on the audio player's
// requests, the FFmpeg reader, the edit renderer drawing a typed two-line text
// on every frame, the video view widget (offscreen) and the SDL player (dummy
// driver). The other seams (message boxes, dialogs, the skin's objects, the
// memo) are the scripted stand-ins of the command tests: they cost nothing
// worth measuring here.
//
// Prints the frames due and shown, how late they reached the screen (the
// view's paint), the CPU seconds per second played and how far the sound
// handed to the player is from the playback clock at the end, then where the
// time of a tick goes. Goals: no frame later than one frame period, at most
// 0.5 CPU seconds per second played, sound within one frame period.
//
// SDL's dummy driver sleeps whole milliseconds per device buffer, so its sound
// runs slightly fast or slow against the tick clock depending on the sample
// rate (a 1024-sample buffer at 44100 Hz lasts 23.2 ms and is let go every
// 23 ms and a bit). The offset is therefore also printed as a straight line:
// the offset the player started with, and the drift of the device's pace.
//
// Usage: bench_playback [seconds to play, default 30] [sound's sample rate, default 44100]
#include <sys/resource.h>

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "app/core/MainController.h"
#include "app/core/tests/FakeSeams.h"
#include "app/ui/QtSeams.h"
#include "app/ui/VideoViewWidget.h"
#include "burnin/QtTextTransform.h"
#include "playback/FfmpegVideoReader.h"
#include "playback/audio/SdlAudioPlayer.h"
#include "tests/fixtures/TestClips.h"

using namespace orlisk;

namespace {

using SteadyClock = std::chrono::steady_clock;

double MsSince(SteadyClock::time_point start) {
  return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

// The tick clock's reading with its fraction of a millisecond: the same
// wrapping 32-bit count as SteadyTickClock, so it compares with PlayStartTick.
double TickNowMs() {
  const double ms = std::chrono::duration<double, std::milli>(SteadyClock::now().time_since_epoch()).count();
  return std::fmod(ms, 4294967296.0);
}

// Milliseconds from the tick count `startTick` to now, across a wrap.
double MsSinceTick(std::uint32_t startTick) {
  double elapsed = TickNowMs() - startTick;
  return elapsed < 0 ? elapsed + 4294967296.0 : elapsed;
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

std::string LoadAverage() {
  std::ifstream file("/proc/loadavg");
  std::string one, five, fifteen;
  file >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

// Count, sum and largest duration of one measured step.
struct StepCost {
  int count = 0;
  double totalMs = 0;
  double maxMs = 0;
  void Add(double ms) {
    ++count;
    totalMs += ms;
    maxMs = std::max(maxMs, ms);
  }
};

class Timed {
 public:
  explicit Timed(StepCost& cost) : cost_(cost) {}
  ~Timed() { cost_.Add(MsSince(start_)); }

 private:
  StepCost& cost_;
  SteadyClock::time_point start_ = SteadyClock::now();
};

// The FFmpeg reader, timing ReadFrame (mostly waiting for the decoder thread)
// and remembering the time of the frame it last handed out.
class TimedReader : public VideoReader {
 public:
  StepCost readFrame;
  std::int32_t lastFrameTime = 0;

  void OpenSource(const std::string& path) override { inner_.OpenSource(path); }
  void CloseSource() override { inner_.CloseSource(); }
  std::int32_t GetDuration() const override { return inner_.GetDuration(); }
  double GetFrameRate() const override { return inner_.GetFrameRate(); }
  int GetWidth() const override { return inner_.GetWidth(); }
  int GetHeight() const override { return inner_.GetHeight(); }
  std::int32_t GetPosition() const override { return inner_.GetPosition(); }
  void SeekTo(std::int32_t ms) override { inner_.SeekTo(ms); }
  Frame ReadFrame() override {
    Timed timed(readFrame);
    lastFrameTime = inner_.GetPosition();
    return inner_.ReadFrame();
  }
  AudioBlock ReadAudio(int requestedBytes) override { return inner_.ReadAudio(requestedBytes); }
  int GetAudioChannels() const override { return inner_.GetAudioChannels(); }
  int GetAudioSampleRate() const override { return inner_.GetAudioSampleRate(); }
  std::int64_t GetAudioBitRate() const override { return inner_.GetAudioBitRate(); }
  std::int32_t GetAudioPosition() const override { return inner_.GetAudioPosition(); }
  std::int32_t GetAudioDuration() const override { return inner_.GetAudioDuration(); }
  std::string GetAudioFormatName() const override { return inner_.GetAudioFormatName(); }
  std::int64_t GetVideoBitRate() const override { return inner_.GetVideoBitRate(); }
  std::string GetVideoFormatName() const override { return inner_.GetVideoFormatName(); }

 private:
  FfmpegVideoReader inner_;
};

// The Qt text transform, timing each of its three steps.
class TimedTransform : public TextTransform {
 public:
  StepCost load, draw, take;

  void LoadFrame(const Frame& frame) override {
    Timed timed(load);
    inner_.LoadFrame(frame);
  }
  void DrawText(double strength, int x, int y, const std::string& text, const SubtitleFont& font,
                Colour colour, int level) override {
    Timed timed(draw);
    inner_.DrawText(strength, x, y, text, font, colour, level);
  }
  Frame TakeFrame() override {
    Timed timed(take);
    return inner_.TakeFrame();
  }

 private:
  QtTextTransform inner_;
};

// The SDL player, adding up the sound handed to it since the last start.
class CountingAudio : public AudioPlayer {
 public:
  explicit CountingAudio(SdlAudioPlayer& inner) : inner_(inner) {}

  void SetAudioFormat(int sampleRate, int channels) override {
    sampleRate_ = sampleRate;
    channels_ = channels;
    inner_.SetAudioFormat(sampleRate, channels);
  }
  void StartAudio() override {
    handedBytes_ = 0;
    inner_.StartAudio();
  }
  void StopAudio() override { inner_.StopAudio(); }
  void QueueAudio(const AudioBlock& block) override {
    // The player keeps whole sample frames only.
    const std::size_t frameBytes = std::size_t(std::max(channels_, 1)) * 2;
    handedBytes_ += block.Bytes.size() / frameBytes * frameBytes;
    inner_.QueueAudio(block);
  }

  double HandedMs() const {
    const double bytesPerSecond = double(sampleRate_) * channels_ * 2;
    return bytesPerSecond > 0 ? handedBytes_ * 1000.0 / bytesPerSecond : 0.0;
  }
  // What has gone out of the player so far, in ms of sound.
  double PlayedMs() { return HandedMs() - inner_.QueuedMilliseconds(); }

 private:
  SdlAudioPlayer& inner_;
  int sampleRate_ = 0;
  int channels_ = 0;
  double handedBytes_ = 0;
};

// The frame's way to the screen: ShowFrame keeps it and asks for a paint; the
// frame counts as shown when that paint has finished.
struct ShownFrames {
  bool measuring = false;
  std::uint32_t playStartTick = 0;
  std::int32_t playStartPosition = 0;
  int showCalls = 0;
  int painted = 0;
  int replacedUnpainted = 0;  // shown, then replaced before any paint
  std::optional<std::int32_t> awaitingPaint;
  std::vector<double> latenessAtShowFrame;  // ms
  std::vector<double> latenessAtPaint;      // ms

  double Lateness(std::int32_t frameTime) const {
    return MsSinceTick(playStartTick) - (frameTime - playStartPosition);
  }
};

class MeasuredView : public VideoViewWidget {
 public:
  MeasuredView(ShownFrames& shown, const TimedReader& reader) : shown_(shown), reader_(reader) {}
  StepCost showFrame, paint;

  void ShowFrame(const Frame& frame) override {
    if (!shown_.measuring) return VideoViewWidget::ShowFrame(frame);
    Timed timed(showFrame);
    VideoViewWidget::ShowFrame(frame);
    ++shown_.showCalls;
    if (shown_.awaitingPaint) ++shown_.replacedUnpainted;
    shown_.awaitingPaint = reader_.lastFrameTime;
    shown_.latenessAtShowFrame.push_back(shown_.Lateness(reader_.lastFrameTime));
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    const auto start = SteadyClock::now();
    VideoViewWidget::paintEvent(event);
    if (!shown_.measuring) return;
    paint.Add(MsSince(start));
    if (shown_.awaitingPaint) {
      ++shown_.painted;
      shown_.latenessAtPaint.push_back(shown_.Lateness(*shown_.awaitingPaint));
      shown_.awaitingPaint.reset();
    }
  }

 private:
  ShownFrames& shown_;
  const TimedReader& reader_;
};

// The sound's offset from the clock sampled while playing: a straight line
// through the samples parts a steady drift (the device's own pace against the
// tick clock) from the offset the player started with.
struct OffsetTrend {
  std::vector<double> seconds, offsets;  // since the start, ms
  void Add(double atSeconds, double offsetMs) {
    seconds.push_back(atSeconds);
    offsets.push_back(offsetMs);
  }
  // Least squares: ms of drift per second played, and the offset at 0 s.
  std::pair<double, double> Line() const {
    const double n = static_cast<double>(seconds.size());
    if (n < 2) return {0.0, offsets.empty() ? 0.0 : offsets.front()};
    double st = 0, so = 0, stt = 0, sto = 0;
    for (std::size_t i = 0; i < seconds.size(); ++i) {
      st += seconds[i];
      so += offsets[i];
      stt += seconds[i] * seconds[i];
      sto += seconds[i] * offsets[i];
    }
    const double slope = (n * sto - st * so) / (n * stt - st * st);
    return {slope, (so - slope * st) / n};
  }
};

void PrintCost(const char* what, const StepCost& cost, int perFrames) {
  if (cost.count == 0) {
    std::printf("  %-34s never ran\n", what);
    return;
  }
  std::printf("  %-34s %7.2f ms per frame  largest call %6.2f ms  (%d calls)\n", what,
              cost.totalMs / std::max(perFrames, 1), cost.maxMs, cost.count);
}

}  // namespace

int main(int argc, char** argv) {
  // Before Qt and SDL start: no display, and an audio device that plays into
  // nothing at about the real pace.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const double secondsToPlay = argc > 1 ? std::atof(argv[1]) : 30.0;
  const int sampleRate = argc > 2 ? std::atoi(argv[2]) : 44100;
  QApplication application(argc, argv);

  std::printf("load average before: %s\n", LoadAverage().c_str());
  bench::Stopwatch making;
  const std::string clip = testclips::MakeClip(
      {.width = 1920, .height = 1080, .fps = 25, .seconds = std::max(35.0, secondsToPlay + 5), .audio = true,
       .codec = "libx264", .container = "mp4", .audioCodec = "aac", .sampleRate = sampleRate, .channels = 2,
       .picture = testclips::Picture::TestPattern});
  std::printf("clip made in %.1f s\n", making.Seconds());

  testing::TempFolder folder;
  MainState state;
  ProfileFile settings(folder.path / "orlisk.ini");
  Language language;
  AppPaths paths;
  paths.HomeFolder = folder.path;
  paths.ProgramFolder = folder.path;
  paths.SettingsFile = folder.path / "orlisk.ini";
  testing::FakeMessages messages;
  testing::FakeDialogs dialogs;
  testing::FakeSkin skin;
  testing::FakeMemo memo;
  testing::FakeTimeEdit startTime, endTime;
  testing::FakeList list;
  testing::FakeDesktop desktop;
  testing::FakeMouse mouse;
  testing::FakeFonts fonts;

  MainController* controller = nullptr;
  StepCost frameTicks, idleTicks, tickGaps, feedAudio;
  std::optional<SteadyClock::time_point> lastTick;
  std::string failure;
  // A failure inside a Qt slot must not escape it: it ends the run instead.
  auto guarded = [&](auto&& step) {
    try {
      step();
    } catch (const std::exception& error) {
      failure = error.what();
      application.exit(1);
    }
  };

  TimedReader reader;
  QtPlaybackTimer timer1([&] {
    const auto start = SteadyClock::now();
    if (lastTick) tickGaps.Add(std::chrono::duration<double, std::milli>(start - *lastTick).count());
    lastTick = start;
    const int framesBefore = reader.readFrame.count;
    guarded([&] { controller->PlaybackTick(); });
    (reader.readFrame.count != framesBefore ? frameTicks : idleTicks).Add(MsSince(start));
  });
  SteadyTickClock tickClock;
  ShownFrames shown;
  MeasuredView view(shown, reader);
  view.resize(566, 378);
  view.show();
  SdlAudioPlayer sdlAudio;
  CountingAudio audio(sdlAudio);
  TimedTransform transform;

  NullVideoWriter writer;
  testing::ScriptedEvents events;
  testing::FakeProgress progress;
  MainController main(MainContext{state, settings, language, paths, messages, dialogs, skin, memo, startTime,
                                  endTime, list, timer1, tickClock, desktop, mouse, fonts, reader, view, audio,
                                  transform, TextPixelWidth, writer, events, progress});
  controller = &main;
  memo.changed = [&] { main.ed_textChange(); };
  sdlAudio.setMoreAudioRequested([&] {
    Timed timed(feedAudio);
    guarded([&] { main.FeedAudio(); });
  });

  dialogs.nextVideo = clip;
  main.OpenVideo();
  if (state.VideoPath.empty()) {
    std::printf("the clip could not be opened: %s\n", messages.texts().empty() ? "" : messages.texts().back().c_str());
    return 1;
  }
  memo.type("The quick brown fox jumps over the lazy dog\r\nand the second line follows under it");
  const double frameMs = 1000.0 / reader.GetFrameRate();

  // Sound against the clock once a second, to see drift as well as the end.
  OffsetTrend audioOffsets;
  auto audioOffsetNow = [&] {
    const double playClock = MsSinceTick(state.PlayStartTick) + state.PlayStartPosition;
    return state.PlayStartPosition + audio.PlayedMs() - playClock;
  };
  QTimer offsetSampler;
  QObject::connect(&offsetSampler, &QTimer::timeout, [&] {
    audioOffsets.Add(MsSinceTick(state.PlayStartTick) / 1000.0, audioOffsetNow());
  });

  const double cpuAtStart = CpuSeconds();
  const auto wallAtStart = SteadyClock::now();
  shown.measuring = true;
  main.Play();
  shown.playStartTick = state.PlayStartTick;
  shown.playStartPosition = state.PlayStartPosition;
  offsetSampler.start(1000);

  double playedMs = 0, cpuSeconds = 0, wallSeconds = 0, audioOffsetAtEnd = 0, audioQueuedAtEnd = 0;
  QTimer::singleShot(static_cast<int>(secondsToPlay * 1000), Qt::PreciseTimer, [&] {
    playedMs = MsSinceTick(state.PlayStartTick);
    audioOffsetAtEnd = audioOffsetNow();
    audioQueuedAtEnd = audio.HandedMs() - audio.PlayedMs();
    cpuSeconds = CpuSeconds() - cpuAtStart;
    wallSeconds = MsSince(wallAtStart) / 1000.0;
    shown.measuring = false;
    offsetSampler.stop();
    guarded([&] { main.StopPlayback(); });
    application.quit();
  });
  const int exitCode = application.exec();
  if (exitCode != 0 || !failure.empty()) {
    std::printf("playback failed: %s\n", failure.c_str());
    return 1;
  }
  if (!messages.shown.empty()) std::printf("a message was shown: %s\n", messages.shown.back().text.c_str());

  // Frames at PlayStartPosition + k * period are due k periods after the start.
  const int framesDue = static_cast<int>(std::floor(playedMs / frameMs)) + 1;
  // Due more than a period before the end and never shown: late as well.
  const int overdueUnshown =
      std::max(0, static_cast<int>(std::floor((playedMs - frameMs) / frameMs)) + 1 - shown.showCalls);
  const auto lateCount = [&](const std::vector<double>& lateness) {
    return static_cast<int>(std::count_if(lateness.begin(), lateness.end(), [&](double ms) { return ms > frameMs; }));
  };
  const int late = lateCount(shown.latenessAtPaint) + shown.replacedUnpainted + overdueUnshown;
  const auto largest = [](const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
  };
  const double cpuPerSecond = cpuSeconds / wallSeconds;
  const auto [offsetMin, offsetMax] = std::minmax_element(audioOffsets.offsets.begin(), audioOffsets.offsets.end());
  const auto [driftPerSecond, offsetAtStart] = audioOffsets.Line();
  const auto verdict = [](bool met) { return met ? "goal met" : "GOAL MISSED"; };

  std::printf("\n%dx%d H.264 at %.3g fps with AAC sound (%d Hz, %d channels), edit mode, two-line text,"
              " 566x378 view; sound to %s\n",
              reader.GetWidth(), reader.GetHeight(), reader.GetFrameRate(), reader.GetAudioSampleRate(),
              reader.GetAudioChannels(), sdlAudio.Audible() ? "the SDL dummy device" : "the silent stand-in");
  std::printf("played                  %.2f s, Timer1 every %d ms\n", playedMs / 1000.0,
              static_cast<int>(std::nearbyint(200.0 / reader.GetFrameRate())));
  std::printf("frames due              %d\n", framesDue);
  std::printf("frames shown            %d (painted %d, replaced before a paint %d)\n", shown.showCalls, shown.painted,
              shown.replacedUnpainted);
  std::printf("frames late (> %.0f ms)   %d                    %s\n", frameMs, late, verdict(late == 0));
  std::printf("largest lateness        %.1f ms on screen (%.1f ms at ShowFrame); 99th percentile %.1f ms\n",
              largest(shown.latenessAtPaint), largest(shown.latenessAtShowFrame),
              bench::Percentile(shown.latenessAtPaint, 0.99));
  std::printf("CPU per second played   %.3f (%.1f CPU s over %.1f s)  %s\n", cpuPerSecond, cpuSeconds, wallSeconds,
              verdict(cpuPerSecond <= 0.5));
  std::printf("audio offset at end     %+.1f ms (handed %.0f ms, still queued %.0f ms); once a second: %+.1f to %+.1f ms"
              "  %s\n",
              audioOffsetAtEnd, audio.HandedMs(), audioQueuedAtEnd,
              audioOffsets.offsets.empty() ? 0.0 : *offsetMin, audioOffsets.offsets.empty() ? 0.0 : *offsetMax,
              verdict(std::abs(audioOffsetAtEnd) <= frameMs));
  std::printf("  as a line through those: %+.1f ms at the start, drifting %+.2f ms per second played\n",
              offsetAtStart, driftPerSecond);

  const int frames = std::max(shown.showCalls, 1);
  std::printf("\nwhere the time goes (per frame shown; largest single call):\n");
  PrintCost("ReadFrame (waits for the decoder)", reader.readFrame, frames);
  PrintCost("LoadFrame (copy into the painter)", transform.load, frames);
  PrintCost("DrawText (outline and text)", transform.draw, frames);
  PrintCost("TakeFrame", transform.take, frames);
  PrintCost("ShowFrame (keeps the frame)", view.showFrame, frames);
  PrintCost("paint of the 566x378 view", view.paint, frames);
  PrintCost("whole tick with a frame", frameTicks, frames);
  PrintCost("ticks without a frame", idleTicks, frames);
  PrintCost("FeedAudio", feedAudio, frames);
  std::printf("  %-34s mean %.2f ms  largest %.2f ms\n", "gap between ticks",
              tickGaps.count ? tickGaps.totalMs / tickGaps.count : 0.0, tickGaps.maxMs);
  std::printf("load average after: %s\n", LoadAverage().c_str());
  return 0;
}
