#include "PlaybackRun.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <optional>

#include "BenchClock.h"
#include "app/core/MainController.h"
#include "burnin/writer/NullVideoWriter.h"
#include "app/core/tests/FakeSeams.h"
#include "app/ui/QtSeams.h"
#include "app/ui/VideoViewWidget.h"
#include "burnin/QtTextTransform.h"
#include "playback/FfmpegVideoReader.h"
#include "playback/audio/SdlAudioPlayer.h"

namespace orlisk::bench {

void StepCost::Add(double ms, double threadCpuMs) {
  ++count;
  totalMs += ms;
  maxMs = std::max(maxMs, ms);
  cpuMs += threadCpuMs;
}

namespace {

using SteadyClock = std::chrono::steady_clock;

double MsSince(SteadyClock::time_point start) {
  return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

class Timed {
 public:
  explicit Timed(StepCost& cost) : cost_(cost) {}
  ~Timed() { cost_.Add(MsSince(start_), 1000.0 * (ThreadCpuSeconds() - cpuStart_)); }

 private:
  StepCost& cost_;
  SteadyClock::time_point start_ = SteadyClock::now();
  double cpuStart_ = ThreadCpuSeconds();
};

// The FFmpeg reader, timing ReadFrame and SkipFrame (mostly waiting for the
// decoder thread) and remembering the time of the frame it last handed out.
class TimedReader : public VideoReader {
 public:
  explicit TimedReader(PlaybackFigures& figures) : figures_(figures) {}
  std::int32_t lastFrameTime = 0;
  bool measuring = false;

  void OpenSource(const std::string& path) override { inner_.OpenSource(path); }
  void CloseSource() override { inner_.CloseSource(); }
  std::int32_t GetDuration() const override { return inner_.GetDuration(); }
  double GetFrameRate() const override { return inner_.GetFrameRate(); }
  int GetWidth() const override { return inner_.GetWidth(); }
  int GetHeight() const override { return inner_.GetHeight(); }
  PixelAspect GetPixelAspect() const override { return inner_.GetPixelAspect(); }
  std::int32_t GetPosition() const override { return inner_.GetPosition(); }
  void SeekTo(std::int32_t ms) override { inner_.SeekTo(ms); }
  Frame ReadFrame() override {
    Timed timed(figures_.readFrame);
    lastFrameTime = inner_.GetPosition();
    return inner_.ReadFrame();
  }
  void SkipFrame() override {
    Timed timed(figures_.skipFrame);
    if (measuring) ++figures_.framesSkipped;
    inner_.SkipFrame();
  }
  void SetFrameSize(int width, int height) override { inner_.SetFrameSize(width, height); }
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
  PlaybackFigures& figures_;
  FfmpegVideoReader inner_;
};

// The Qt text transform, timing each of its three steps.
class TimedTransform : public TextTransform {
 public:
  explicit TimedTransform(PlaybackFigures& figures) : figures_(figures) {}
  void LoadFrame(const Frame& frame) override {
    Timed timed(figures_.loadFrame);
    inner_.LoadFrame(frame);
  }
  void DrawText(double strength, const SubtitlePlacement& place, const std::string& text,
                const SubtitleStyle& style) override {
    Timed timed(figures_.drawText);
    inner_.DrawText(strength, place, text, style);
  }
  TextArea DrawnArea(int placeWidth, const SubtitlePlacement& place, const std::string& text,
                     const SubtitleStyle& style) override {
    return inner_.DrawnArea(placeWidth, place, text, style);
  }
  Frame TakeFrame() override {
    Timed timed(figures_.takeFrame);
    return inner_.TakeFrame();
  }

 private:
  PlaybackFigures& figures_;
  QtTextTransform inner_;
};

// Where the sound and the picture stand, in ms of the video.
struct Positions {
  bool measuring = false;
  std::int32_t playStartPosition = 0;
  SdlAudioPlayer* audio = nullptr;
  std::optional<std::int32_t> pictureTime;   // of the frame on screen
  SteadyClock::time_point paintedAt;
  std::optional<std::int32_t> awaitingPaint;  // shown, not yet painted

  double Sound() const { return playStartPosition + audio->PlayedMilliseconds().value_or(0); }
};

// The frame's way to the screen: ShowFrame keeps it and asks for a paint; the
// frame counts as shown when that paint has finished.
class MeasuredView : public VideoViewWidget {
 public:
  MeasuredView(PlaybackFigures& figures, Positions& positions, const TimedReader& reader)
      : figures_(figures), positions_(positions), reader_(reader) {}
  std::vector<double> lateness;

  void ShowFrame(Frame frame) override {
    if (!positions_.measuring) return VideoViewWidget::ShowFrame(std::move(frame));
    Timed timed(figures_.showFrame);
    VideoViewWidget::ShowFrame(std::move(frame));
    if (positions_.awaitingPaint) ++figures_.framesReplaced;
    positions_.awaitingPaint = reader_.lastFrameTime;
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    const auto start = SteadyClock::now();
    const double cpuStart = ThreadCpuSeconds();
    VideoViewWidget::paintEvent(event);
    if (!positions_.measuring) return;
    figures_.paint.Add(MsSince(start), 1000.0 * (ThreadCpuSeconds() - cpuStart));
    if (positions_.awaitingPaint) {
      ++figures_.framesShown;
      lateness.push_back(positions_.Sound() - *positions_.awaitingPaint);
      positions_.pictureTime = positions_.awaitingPaint;
      positions_.paintedAt = SteadyClock::now();
      positions_.awaitingPaint.reset();
    }
  }

 private:
  PlaybackFigures& figures_;
  Positions& positions_;
  const TimedReader& reader_;
};

// Least squares through (x, y): the slope and the value at x = 0.
std::pair<double, double> Line(const std::vector<double>& x, const std::vector<double>& y) {
  const double n = static_cast<double>(x.size());
  if (x.size() < 2) return {0.0, y.empty() ? 0.0 : y.front()};
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    sx += x[i];
    sy += y[i];
    sxx += x[i] * x[i];
    sxy += x[i] * y[i];
  }
  const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
  return {slope, (sy - slope * sx) / n};
}

}  // namespace

PlaybackFigures RunPlayback(const PlaybackOptions& options) {
  PlaybackFigures figures;
  testing::TempFolder folder;
  MainState state;
  ProfileFile settings(folder.path() / "orlisk.ini");
  Language language;
  AppPaths paths;
  paths.HomeFolder = folder.path();
  paths.ProgramFolder = folder.path();
  paths.SettingsFile = folder.path() / "orlisk.ini";
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
  std::optional<SteadyClock::time_point> lastTick;
  // A failure inside a Qt slot must not escape it: it ends the run instead.
  auto guarded = [&](auto&& step) {
    try {
      step();
    } catch (const std::exception& error) {
      figures.failure = error.what();
      QApplication::exit(1);
    }
  };

  TimedReader reader(figures);
  QtPlaybackTimer timer1([&] {
    const auto start = SteadyClock::now();
    const double cpuStart = ThreadCpuSeconds();
    if (lastTick) figures.tickGaps.Add(std::chrono::duration<double, std::milli>(start - *lastTick).count());
    lastTick = start;
    const int framesBefore = figures.readFrame.count;
    guarded([&] { controller->PlaybackTick(); });
    (figures.readFrame.count != framesBefore ? figures.frameTicks : figures.idleTicks)
        .Add(MsSince(start), 1000.0 * (ThreadCpuSeconds() - cpuStart));
  });
  SteadyTickClock tickClock;
  SdlAudioPlayer audio;
  NoSoundWaveform waveform;  // the playback figures are those of the transport alone
  Positions positions;
  positions.audio = &audio;
  MeasuredView view(figures, positions, reader);
  view.resize(options.viewWidth, options.viewHeight);
  view.show();
  TimedTransform transform(figures);

  testing::ScriptedHttp http;  // the online commands stay idle here
  testing::QueuedUiThread uiThread;
  testing::FakeTimer timer2;
  testing::FakeNotices notices;
  NullVideoWriter writer;  // nothing is written while playing
  testing::ScriptedEvents events;
  testing::FakeProgress progress;
  MainController main(MainContext{.State = state,
                                  .Settings = settings,
                                  .Lang = language,
                                  .Paths = paths,
                                  .Messages = messages,
                                  .Dialogs = dialogs,
                                  .Skin = skin,
                                  .Memo = memo,
                                  .StartTime = startTime,
                                  .EndTime = endTime,
                                  .List = list,
                                  .Timer = timer1,
                                  .Clock = tickClock,
                                  .Desktop = desktop,
                                  .Mouse = mouse,
                                  .Fonts = fonts,
                                  .Reader = reader,
                                  .View = view,
                                  .Audio = audio,
                                  .Waveform = waveform,
                                  .Transform = transform,
                                  .TextWidth = TextPixelWidth,
                                  .Http = http,
                                  .UiThread = uiThread,
                                  .Timer2 = timer2,
                                  .Notices = notices,
                                  .Writer = writer,
                                  .Events = events,
                                  .Progress = progress});
  controller = &main;
  memo.changed = [&] { main.ed_textChange(); };
  audio.setMoreAudioRequested([&] {
    Timed timed(figures.feedAudio);
    guarded([&] { main.FeedAudio(); });
  });

  dialogs.nextVideo = options.clip;
  main.OpenVideo();
  if (state.VideoPath.empty()) {
    figures.failure = "the clip could not be opened: " + (messages.texts().empty() ? "" : messages.texts().back());
    return figures;
  }
  memo.type("The quick brown fox jumps over the lazy dog\r\nand the second line follows under it");
  figures.frameMs = 1000.0 / reader.GetFrameRate();
  figures.tickIntervalMs = static_cast<int>(std::nearbyint(200.0 / reader.GetFrameRate()));

  // Sound against picture every 30 ms, as ffplay prints it; and the sound
  // against the wall clock, for the device's own pace.
  std::vector<double> soundSeconds, soundBehindWall;
  SteadyClock::time_point playStart;
  QTimer sampler;
  sampler.setTimerType(Qt::PreciseTimer);
  QObject::connect(&sampler, &QTimer::timeout, [&] {
    const auto now = SteadyClock::now();
    const double elapsedMs = std::chrono::duration<double, std::milli>(now - playStart).count();
    const double sound = positions.Sound();
    soundSeconds.push_back(elapsedMs / 1000.0);
    soundBehindWall.push_back(elapsedMs - (sound - positions.playStartPosition));
    ++figures.soundLooks;
    if (audio.QueuedMilliseconds() == 0) ++figures.soundDryLooks;
    if (!positions.pictureTime) return;
    const double picture =
        *positions.pictureTime + std::chrono::duration<double, std::milli>(now - positions.paintedAt).count();
    figures.avSeconds.push_back(elapsedMs / 1000.0);
    figures.avOffsetsMs.push_back(sound - picture);
  });

  const double cpuAtStart = ProcessCpuSeconds();
  playStart = SteadyClock::now();
  positions.measuring = true;
  reader.measuring = true;
  main.Play();
  positions.playStartPosition = state.PlayStartPosition;
  sampler.start(30);

  double soundAtEnd = 0;
  QTimer::singleShot(static_cast<int>(options.seconds * 1000), Qt::PreciseTimer, [&] {
    soundAtEnd = positions.Sound();
    figures.cpuSeconds = ProcessCpuSeconds() - cpuAtStart;
    figures.wallSeconds = MsSince(playStart) / 1000.0;
    positions.measuring = false;
    reader.measuring = false;
    sampler.stop();
    guarded([&] { main.StopPlayback(); });
    QApplication::exit(0);
  });
  const int exitCode = QApplication::exec();
  if (exitCode != 0 && figures.failure.empty()) figures.failure = "the event loop ended with " + std::to_string(exitCode);
  if (!messages.shown.empty()) figures.failure = "a message was shown: " + messages.shown.back().text;

  figures.description = std::to_string(reader.GetWidth()) + "x" + std::to_string(reader.GetHeight()) + " at " +
                        Format("%.3g", reader.GetFrameRate()) + " fps with sound (" +
                        std::to_string(reader.GetAudioSampleRate()) + " Hz, " +
                        std::to_string(reader.GetAudioChannels()) + " channels) to " +
                        (audio.Audible() ? "the SDL dummy device" : "the silent stand-in") +
                        ", edit mode, two-line text, " + std::to_string(options.viewWidth) + "x" +
                        std::to_string(options.viewHeight) + " view";
  figures.playedSeconds = (soundAtEnd - positions.playStartPosition) / 1000.0;
  // Frames at PlayStartPosition + k periods are due once the sound passed them.
  const double playedMs = soundAtEnd - positions.playStartPosition;
  figures.framesDue = static_cast<int>(std::floor(playedMs / figures.frameMs)) + 1;
  figures.framesLate = static_cast<int>(std::count_if(view.lateness.begin(), view.lateness.end(),
                                                      [&](double ms) { return ms > figures.frameMs; }));
  // Due more than a period before the end and neither shown nor passed over: late as well.
  const int overdue = static_cast<int>(std::floor((playedMs - figures.frameMs) / figures.frameMs)) + 1;
  figures.framesLate +=
      std::max(0, overdue - figures.framesShown - figures.framesSkipped - figures.framesReplaced);
  figures.largestLatenessMs = view.lateness.empty() ? 0 : *std::max_element(view.lateness.begin(), view.lateness.end());
  figures.latenessP99Ms = Percentile(view.lateness, 0.99);

  std::tie(figures.avDriftMsPerS, figures.avAtStartMs) = Line(figures.avSeconds, figures.avOffsetsMs);
  std::vector<double> absolute;
  for (double offset : figures.avOffsetsMs) absolute.push_back(std::abs(offset));
  double sum = 0;
  for (double value : absolute) sum += value;
  figures.avMeanAbsMs = absolute.empty() ? 0 : sum / static_cast<double>(absolute.size());
  figures.avP95AbsMs = Percentile(absolute, 0.95);
  figures.avMaxAbsMs = Percentile(absolute, 1.0);
  figures.deviceDriftMsPerS = -Line(soundSeconds, soundBehindWall).first;
  figures.soundBehindWallMs = soundBehindWall.empty() ? 0 : soundBehindWall.back();
  return figures;
}

void PrintPlaybackDetails(const PlaybackFigures& f) {
  std::printf("%s\n", f.description.c_str());
  std::printf("played                  %.2f s of sound in %.2f s, Timer1 every %d ms\n", f.playedSeconds,
              f.wallSeconds, f.tickIntervalMs);
  std::printf("frames due              %d\n", f.framesDue);
  std::printf("frames shown            %d (and %d replaced before a paint)\n", f.framesShown, f.framesReplaced);
  std::printf("frames passed over      %d\n", f.framesSkipped);
  std::printf("frames late (> %.0f ms)   %d; largest lateness %.1f ms, 99th percentile %.1f ms\n", f.frameMs,
              f.framesLate, f.largestLatenessMs, f.latenessP99Ms);
  std::printf("CPU                     %.2f s in all, %.2f ms per frame shown, %.3f s per second played\n",
              f.cpuSeconds, f.CpuMsPerFrameShown(), f.playedSeconds > 0 ? f.cpuSeconds / f.playedSeconds : 0.0);
  std::printf("sound - picture         mean |%.1f| ms, 95th percentile |%.1f| ms, largest |%.1f| ms (%zu samples)\n",
              f.avMeanAbsMs, f.avP95AbsMs, f.avMaxAbsMs, f.avOffsetsMs.size());
  std::printf("  as a line: %+.1f ms at the start, drifting %+.2f ms per second played\n", f.avAtStartMs,
              f.avDriftMsPerS);
  std::printf("the test device         its sound ran %+.2f ms per second against the wall clock;"
              " %.0f ms behind it at the end\n",
              f.deviceDriftMsPerS, f.soundBehindWallMs);
  std::printf("                        its queue was found empty in %d of %d looks\n", f.soundDryLooks,
              f.soundLooks);

  const int frames = std::max(f.framesShown, 1);
  auto print = [&](const char* what, const StepCost& cost) {
    if (cost.count == 0) {
      std::printf("  %-34s never ran\n", what);
      return;
    }
    std::printf("  %-34s %7.2f ms (CPU %5.2f) per frame shown  largest call %6.2f ms  (%d calls)\n", what,
                cost.totalMs / frames, cost.cpuMs / frames, cost.maxMs, cost.count);
  };
  std::printf("where the time goes on the user-interface thread (wall, and the thread's CPU):\n");
  print("ReadFrame (waits for the decoder)", f.readFrame);
  print("SkipFrame (waits for the decoder)", f.skipFrame);
  print("LoadFrame (copy into the painter)", f.loadFrame);
  print("DrawText (outline and text)", f.drawText);
  print("TakeFrame", f.takeFrame);
  print("ShowFrame (keeps the frame)", f.showFrame);
  print("paint of the view", f.paint);
  print("whole tick with a frame", f.frameTicks);
  print("ticks without a frame", f.idleTicks);
  print("FeedAudio", f.feedAudio);
  std::printf("  %-34s mean %.2f ms  largest %.2f ms\n", "gap between ticks",
              f.tickGaps.count ? f.tickGaps.totalMs / f.tickGaps.count : 0.0, f.tickGaps.maxMs);
}

}  // namespace orlisk::bench
