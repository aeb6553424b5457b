// The timing strip as drawn and handled: the sound of a generated clip (tone,
// silence, tone) measured by the real scanner, its silence between the right
// pixels at three zooms; an edge dragged with the mouse and a click.
#include "app/ui/TimingStrip.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <future>
#include <mutex>

#include "TestSupport.h"
#include "app/skin/TimingStripPainter.h"
#include "playback/SoundScanner.h"
#include "tests/fixtures/TestClips.h"

namespace orlisk {
namespace {

// The whole sound of `clip` as the playbar keeps it.
void MeasureSound(const std::string& clip, std::int32_t durationMs, PlaybarWaveform& sound) {
  sound.start(durationMs, kPeakStepMs);
  std::mutex mutex;
  std::vector<SoundPeakPiece> pieces;
  std::promise<bool> ended;
  {
    SoundScanner scanner(clip, {.PeaksFound =
                                    [&](SoundPeakPiece piece) {
                                      std::lock_guard lock(mutex);
                                      pieces.push_back(std::move(piece));
                                    },
                                .Ended = [&](bool found) { ended.set_value(found); }});
    ASSERT_TRUE(ended.get_future().get());
  }
  for (const SoundPeakPiece& piece : pieces) sound.addPeaks(piece.First, piece.Peaks);
}

// The columns whose sound reaches 8 pixels above the centre line.
std::vector<bool> LoudColumns(const QImage& picture) {
  const int y = kStripRulerHeight + (picture.height() - kStripRulerHeight) / 2 - 8;
  const QRgb background = picture.pixel(0, kStripRulerHeight + 1);  // above the loudest tone
  std::vector<bool> loud;
  for (int x = 0; x < picture.width(); ++x) loud.push_back(picture.pixel(x, y) != background);
  return loud;
}

TEST(TimingStripTest, ASilenceBetweenTonesShowsBetweenTheRightPixelsAtThreeZooms) {
  test::TestApplication();
  const std::string clip = testclips::MakeClip(
      {.width = 64, .height = 48, .seconds = 4, .channels = 1,
       .sound = "aevalsrc='if(between(t,1.5,2.5),0,0.5*sin(2*PI*440*t))'"});
  PlaybarWaveform sound;
  MeasureSound(clip, 4000, sound);
  TimingStrip strip(sound, nullptr);
  strip.resize(210, 90);
  strip.showVideo(4000, 25);
  struct Zoom {
    int zoomsIn;  // key presses, around the middle (no play position yet)
    int firstSilent, lastSilent;
  };
  // 1.5 s and 2.5 s at 19.05, 13.47 and 10 ms a pixel (the middle, 2 s, stays at x 105).
  const Zoom zooms[] = {{0, 79, 130}, {1, 68, 141}, {2, 55, 154}};
  for (const Zoom& zoom : zooms) {
    strip.showWholeVideo();
    for (int i = 0; i < zoom.zoomsIn; ++i) strip.zoomIn();
    const std::vector<bool> loud = LoudColumns(strip.grab().toImage());
    const auto first = std::find(loud.begin(), loud.end(), false) - loud.begin();
    const auto last = loud.rend() - std::find(loud.rbegin(), loud.rend(), false) - 1;
    EXPECT_NEAR(first, zoom.firstSilent, 1) << zoom.zoomsIn;
    EXPECT_NEAR(last, zoom.lastSilent, 1) << zoom.zoomsIn;
    EXPECT_TRUE(std::all_of(loud.begin() + first, loud.begin() + last + 1, [](bool l) { return !l; }));
  }
}

struct StripMouse : testing::Test {
  Application& app = test::TestApplication();
  PlaybarWaveform sound;
  TimingStrip strip{sound, nullptr};
  std::vector<std::tuple<int, std::int32_t, std::int32_t>> retimed;
  std::vector<std::int32_t> seeks;
  StripMouse() {
    strip.resize(1000, 90);
    strip.show();  // the width reaches the strip as it shows
    strip.showVideo(60000, 25);
    for (int i = 0; i < 6; ++i) strip.zoomIn();  // 7.5 ms a pixel: no finer than 10
    sound.setSpans({{1000, 2000, 3}});
    strip.setActions({.Retime = [this](int row, std::int32_t begin,
                                       std::int32_t end) { retimed.emplace_back(row, begin, end); },
                      .Seek = [this](std::int32_t ms) { seeks.push_back(ms); }});
    strip.showPlayPosition(0);  // in view at the start
  }
};

TEST_F(StripMouse, DraggingAnEdgeRetimesItsRowOnceOnTheFrameGridAndAClickSeeks) {
  ASSERT_DOUBLE_EQ(strip.scale().msPerPixel(), 10);
  ASSERT_DOUBLE_EQ(strip.scale().startMs(), 0);
  QTest::mousePress(&strip, Qt::LeftButton, {}, {201, 40});
  QTest::mouseMove(&strip, {240, 40});
  QTest::mouseMove(&strip, {263, 40});  // 2630 ms
  EXPECT_TRUE(retimed.empty()) << "nothing changes before the button is let go";
  QTest::mouseRelease(&strip, Qt::LeftButton, {}, {263, 40});
  EXPECT_EQ(retimed, (std::vector<std::tuple<int, std::int32_t, std::int32_t>>{{3, 1000, 2640}}));
  // Let go where it was taken: nothing to change.
  QTest::mousePress(&strip, Qt::LeftButton, {}, {100, 40});
  QTest::mouseRelease(&strip, Qt::LeftButton, {}, {100, 40});
  EXPECT_EQ(retimed.size(), 1u);
  EXPECT_TRUE(seeks.empty());

  QTest::mouseClick(&strip, Qt::LeftButton, {}, {500, 40});
  EXPECT_EQ(seeks, std::vector<std::int32_t>{5000});
}

}  // namespace
}  // namespace orlisk
