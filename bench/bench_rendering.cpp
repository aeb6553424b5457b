// How much of a frame period the subtitle renderer takes on a 1080p frame:
// one RenderPreviewFrame with an outlined two-line subtitle (a copy of the
// frame, five text draws, the frame handed back). Prints milliseconds per
// frame and the share of the 40 ms period of 25 frames per second.
#include <QGuiApplication>
#include <cstdlib>
#include <chrono>
#include <cstdio>
#include <vector>

#include "burnin/FrameRenderer.h"
#include "burnin/QtTextTransform.h"

namespace {

orlisk::Frame GreyFrame(int width, int height) {
  orlisk::Frame frame{width, height, width * 4,
                      std::vector<std::uint8_t>(std::size_t(width) * 4 * height, 0x50)};
  return frame;
}

double MillisecondsPerFrame(orlisk::TextTransform& transform, const orlisk::Frame& frame,
                            const std::vector<orlisk::SubtitleEntry>& subtitles,
                            const orlisk::SubtitleFont& font, int frames) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  std::size_t checksum = 0;
  for (int i = 0; i < frames; ++i) {
    int cursor = 0;
    const orlisk::Frame drawn =
        orlisk::RenderPreviewFrame(transform, frame, subtitles, cursor, 1, 1500, font);
    checksum += drawn.Pixels[std::size_t(drawn.Stride) * 1000 + 400];
  }
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  if (checksum == 1) std::puts("");  // keeps the work from being optimised away
  return ms / frames;
}

}  // namespace

int main(int argc, char** argv) {
  // Fonts need a GUI application, not a display.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  const orlisk::Frame frame = GreyFrame(1920, 1080);
  orlisk::SubtitleEntry subtitle;
  subtitle.X = 500;
  subtitle.Y = 950;
  subtitle.DrawLevel = 240;
  subtitle.Text = "The quick brown fox jumps over the lazy dog\r\nand runs off into the night";
  subtitle.TextColor = 0x00FFFFFF;
  subtitle.BorderColor = 0x00000000;
  subtitle.Border = true;
  subtitle.BeginTime = 1000;
  subtitle.EndTime = 2000;
  const std::vector<orlisk::SubtitleEntry> subtitles{subtitle};
  orlisk::SubtitleFont font;  // Arial, bold, 21 pixels: the start-up font
  font.Height = -36;          // a size readable on 1080p

  orlisk::QtTextTransform transform;
  MillisecondsPerFrame(transform, frame, subtitles, font, 20);  // warms the glyph cache

  constexpr int kFrames = 500;
  const double outlined = MillisecondsPerFrame(transform, frame, subtitles, font, kFrames);
  std::vector<orlisk::SubtitleEntry> nothingDue = subtitles;
  nothingDue[0].BeginTime = 5000;
  nothingDue[0].EndTime = 6000;
  const double copyOnly = MillisecondsPerFrame(transform, frame, nothingDue, font, kFrames);

  constexpr double kFramePeriodMs = 40.0;
  std::printf("1920x1080, outlined two-line subtitle (5 draws), %d frames\n", kFrames);
  std::printf("  render:        %.3f ms per frame, %.1f%% of the %.0f ms frame period (goal 5%% or less)\n",
              outlined, 100.0 * outlined / kFramePeriodMs, kFramePeriodMs);
  std::printf("  of which text: %.3f ms (frame in and out without text: %.3f ms)\n",
              outlined - copyOnly, copyOnly);
  return 0;
}
