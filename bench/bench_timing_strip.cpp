// What the timing strip costs: working out the level ranges of its 964 pixel
// columns over a two-hour sound (done once per view or sound change), and
// drawing its background with 100,000 subtitles (done once per change; a
// moving play position repaints only from the kept picture).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <vector>

#include "app/skin/TimingStripPainter.h"
#include "bench/BenchClock.h"

using namespace orlisk;
using namespace orlisk::bench;

namespace {

constexpr int kColumns = 964;
constexpr int kRepeats = 50;

template <typename Step>
double MedianMs(Step step) {
  std::vector<double> ms;
  for (int i = 0; i < kRepeats; ++i) {
    const Stopwatch watch;
    step();
    ms.push_back(watch.Seconds() * 1000);
  }
  return Median(ms);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  constexpr std::int32_t kTwoHours = 2 * 60 * 60 * 1000;
  PlaybarWaveform sound;
  sound.start(kTwoHours, 10);
  std::vector<std::uint16_t> peaks(720'000);
  for (std::size_t i = 0; i < peaks.size(); ++i) peaks[i] = static_cast<std::uint16_t>((i * 7919) % 30000);
  sound.addPeaks(0, peaks);
  std::vector<TimeSpan> spans;
  for (int i = 0; i < 100'000; ++i) spans.push_back({i * 72, i * 72 + 60, i});
  sound.setSpans(spans);

  std::printf("timing strip: a two-hour sound, %d columns, %zu subtitles; load %s\n", kColumns, spans.size(),
              LoadAverage().c_str());
  TimingStripScale scale;
  scale.setWidth(kColumns);
  scale.setVideo(kTwoHours, 25);
  std::vector<LevelRange> levels;
  const double wholeMs = MedianMs([&] { levels = LevelRangesOf(sound, scale.startMs(), scale.msPerPixel(), kColumns); });
  QImage picture(kColumns, 76, QImage::Format_RGB32);
  const auto paint = [&] {
    QPainter painter(&picture);
    PaintStripBackground(painter, picture.rect(), scale, levels, sound.spans(), -1);
  };
  const double wholePaintMs = MedianMs(paint);
  scale.zoomBy(0.0001, kColumns / 2.0);  // the finest zoom, in the middle of the video
  const double finestMs = MedianMs([&] { levels = LevelRangesOf(sound, scale.startMs(), scale.msPerPixel(), kColumns); });
  const double finestPaintMs = MedianMs(paint);
  std::printf("level ranges: whole video %.2f ms, 10 ms a pixel %.3f ms\n", wholeMs, finestMs);
  std::printf("background:   whole video %.2f ms, 10 ms a pixel %.2f ms\n", wholePaintMs, finestPaintMs);
  // A change is worked out and drawn within a frame at 60 Hz.
  const double worst = std::max(wholeMs + wholePaintMs, finestMs + finestPaintMs);
  PrintResult("timing strip: one change", "under 16 ms", Format("%.2f ms (levels + background)", worst), worst < 16);
  return 0;
}
