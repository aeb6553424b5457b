// The playbar's waveform: what it keeps, how it fits the sound to pixel
// columns, which subtitle is current, and how the surface draws it.
#include "app/skin/PlaybarWaveform.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "app/skin/PlaybarWaveformPainter.h"
#include "app/skin/SkinSurface.h"
#include "app/skin/tests/TestApplication.h"

namespace orlisk {
namespace {

std::vector<std::uint16_t> Steps(std::size_t count, std::uint16_t peak) {
  return std::vector<std::uint16_t>(count, peak);
}

TEST(PlaybarWaveformTest, TwoHoursOfSoundTakeLessThanTwoMegabytes) {
  constexpr std::int32_t kTwoHours = 2 * 60 * 60 * 1000;
  PlaybarWaveform waveform;
  waveform.start(kTwoHours, 10);
  for (std::size_t first = 0; first < 720'000; first += 2000) waveform.addPeaks(first, Steps(2000, 1000));
  waveform.columnLevels(350);
  const std::size_t full = waveform.memoryBytes();
  EXPECT_LE(full, 2u * 1024 * 1024);
  // A sound that runs on past the picture (or a broken time stamp) adds nothing.
  waveform.addPeaks(720'000, Steps(100'000, 1000));
  waveform.addPeaks(5'000'000, Steps(10, 1000));
  EXPECT_EQ(waveform.memoryBytes(), full);
  EXPECT_TRUE(waveform.hasSound());
}

TEST(PlaybarWaveformTest, AVideoClaimingWeeksKeepsItsLoudestStepsInTwoMegabytes) {
  constexpr std::int32_t kLongest = 2'147'483'647;  // what a broken file may claim: almost 25 days
  PlaybarWaveform waveform;
  waveform.start(kLongest, 10);
  EXPECT_LE(waveform.memoryBytes(), 2u * 1024 * 1024 + 64);
  // One loud step in the middle of the sound still shows in its column.
  waveform.addPeaks(0, Steps(1000, 100));
  waveform.addPeaks(108'447'924, {65535});  // half way and a little
  waveform.addPeaks(214'748'364, {100});
  const std::vector<float>& levels = waveform.columnLevels(100);
  EXPECT_FLOAT_EQ(levels[50], 1.0F);
  EXPECT_LT(levels[49], 0.01F);
  EXPECT_LE(waveform.memoryBytes(), 2u * 1024 * 1024 + 100 * sizeof(float) + 64);
}

TEST(PlaybarWaveformTest, APeakArrivingForAColumnAlreadyDrawnRedrawsIt) {
  PlaybarWaveform waveform;
  waveform.start(1000, 10);
  waveform.addPeaks(0, Steps(55, 1000));
  EXPECT_FLOAT_EQ(waveform.columnLevels(10)[5], 1000.0F / 65535.0F);
  waveform.addPeaks(55, {30000});  // step 55, still column 5
  EXPECT_FLOAT_EQ(waveform.columnLevels(10)[5], 30000.0F / 65535.0F);
}

struct ColumnRow {
  const char* name;
  std::int32_t durationMs;
  int columns;
  std::size_t loudStep;           // the one loud step; all others quiet
  std::vector<int> loudColumns;   // the columns that must show it
};

void PrintTo(const ColumnRow& row, std::ostream* out) { *out << row.name; }

class PlaybarWaveformColumnTest : public testing::TestWithParam<ColumnRow> {};

TEST_P(PlaybarWaveformColumnTest, EachColumnShowsTheHighestPeakOfItsSlice) {
  const ColumnRow& row = GetParam();
  PlaybarWaveform waveform;
  waveform.start(row.durationMs, 10);
  const std::size_t steps = static_cast<std::size_t>((row.durationMs + 9) / 10);
  std::vector<std::uint16_t> peaks = Steps(steps, 655);  // 1 %
  peaks[row.loudStep] = 65535;
  waveform.addPeaks(0, peaks);
  const std::vector<float>& levels = waveform.columnLevels(row.columns);
  ASSERT_EQ(levels.size(), static_cast<std::size_t>(row.columns));
  for (int c = 0; c < row.columns; ++c) {
    const bool loud = std::find(row.loudColumns.begin(), row.loudColumns.end(), c) != row.loudColumns.end();
    EXPECT_FLOAT_EQ(levels[static_cast<std::size_t>(c)], loud ? 1.0F : 655.0F / 65535.0F) << "column " << c;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Slices, PlaybarWaveformColumnTest,
    testing::Values(
        // 100 steps in 10 columns: ten steps a column.
        ColumnRow{"even_slices", 1000, 10, 37, {3}},
        ColumnRow{"first_step", 1000, 10, 0, {0}},
        ColumnRow{"last_step", 1000, 10, 99, {9}},
        // 10 steps over 40 columns: every column takes the step it lies in.
        ColumnRow{"fewer_steps_than_columns", 100, 40, 5, {20, 21, 22, 23}},
        // A slice boundary inside a step: the step counts for both columns.
        ColumnRow{"step_across_a_boundary", 1000, 3, 33, {0, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlaybarWaveformTest, ColumnsTheMeasuringHasNotReachedAreUnknownUntilTheirPeaksCome) {
  PlaybarWaveform waveform;
  waveform.start(1000, 10);
  EXPECT_FALSE(waveform.hasSound());
  waveform.addPeaks(0, Steps(45, 30000));
  std::vector<float> levels = waveform.columnLevels(10);
  for (int c = 0; c < 10; ++c) {
    // Column 4 holds steps 40..49: partly known, drawn from what is there.
    EXPECT_EQ(levels[static_cast<std::size_t>(c)] >= 0, c <= 4) << "column " << c;
  }
  waveform.addPeaks(45, Steps(55, 60000));
  levels = waveform.columnLevels(10);
  EXPECT_FLOAT_EQ(levels[4], 60000.0F / 65535.0F);
  EXPECT_FLOAT_EQ(levels[9], 60000.0F / 65535.0F);
  EXPECT_FLOAT_EQ(levels[0], 30000.0F / 65535.0F);
}

TEST(PlaybarWaveformTest, TheCurrentSubtitleIsTheLatestBegunThatHoldsTheTime) {
  PlaybarWaveform waveform;
  waveform.start(10000, 10);
  EXPECT_TRUE(waveform.setSpans({{1000, 3000}, {2000, 4000}, {5000, 6000}, {5000, 5500}}));
  EXPECT_FALSE(waveform.setSpans({{1000, 3000}, {2000, 4000}, {5000, 6000}, {5000, 5500}}));
  const std::pair<std::int32_t, int> rows[] = {{999, -1}, {1000, 0}, {1999, 0}, {2000, 1}, {2999, 1},
                                              {3000, 1},  {4000, -1}, {5200, 2}, {5600, 2}, {6000, -1}};
  for (const auto& [ms, expected] : rows) EXPECT_EQ(waveform.spanAt(ms), expected) << ms << " ms";
}

TEST(PlaybarWaveformTest, ANewVideoForgetsTheOldSoundAndSpans) {
  PlaybarWaveform waveform;
  waveform.start(1000, 10);
  waveform.addPeaks(0, Steps(100, 65535));
  waveform.setSpans({{0, 500}});
  waveform.start(2000, 10);
  EXPECT_FALSE(waveform.hasSound());
  EXPECT_TRUE(waveform.spans().empty());
  const std::vector<float>& levels = waveform.columnLevels(4);
  EXPECT_TRUE(std::all_of(levels.begin(), levels.end(), [](float level) { return level < 0; }));
}

TEST(PlaybarWaveformTest, LoudnessIsDrawnByItsSquareRoot) {
  const std::pair<double, double> rows[] = {{0.0, 0.0}, {1.0, 1.0}, {0.25, 0.5}, {0.01, 0.1}, {-0.5, 0.0}, {2.0, 1.0}};
  for (const auto& [level, height] : rows) EXPECT_NEAR(WaveformHeightOf(level), height, 1e-3) << level;
}

// The surface drawing it: a playbar 210 x 20 at (10, 100); the thumb's centre
// travels from x 20 to x 210, so column c is at x 20 + c.
const char* const kSkin = R"(
[skin]
kind = form
rect = 0, 0, 300, 200
color = #000000
[playbar]
kind = scrollbar
rect = 10, 100, 210, 20
color = #0000ff
accent = #ff0000
text = #ffffff
)";

class PlaybarWaveformSurfaceTest : public testing::Test {
 protected:
  void SetUp() override {
    QFile file(dir_.filePath("face.skn"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kSkin);
    file.close();
    surface_.resize(300, 200);
    surface_.LoadSkin(file.fileName());
  }
  QImage face() { return surface_.grab().toImage(); }
  // Loud for the first half of a 10 s video, silent after.
  void loudThenSilent() {
    PlaybarWaveform& waveform = surface_.playbarWaveform();
    waveform.start(10000, 10);
    waveform.addPeaks(0, Steps(500, 52000));
    waveform.addPeaks(500, Steps(500, 0));
  }
  // Whether the column at `x` shows sound above the track's middle line.
  static bool ShowsSoundAt(const QImage& image, int x) {
    const QColor above = image.pixelColor(x, 104);
    return above.red() > 150 || above.green() > 150;
  }

  test::ApplicationGuard application_;
  QTemporaryDir dir_;
  SkinSurface surface_;
};

TEST_F(PlaybarWaveformSurfaceTest, WithoutSoundThePlaybarIsThePlainTrack) {
  const QImage plain = face();
  surface_.playbarWaveform().start(10000, 10);  // measuring, nothing arrived yet
  EXPECT_EQ(face(), plain);
  loudThenSilent();
  EXPECT_NE(face(), plain);
  surface_.playbarWaveform().clear();  // a video without sound
  EXPECT_EQ(face(), plain);
}

TEST_F(PlaybarWaveformSurfaceTest, LoudStretchesStandOutAndThePlayedPartTakesTheAccent) {
  loudThenSilent();
  surface_.FindObject("playbar")->SetScrollPosition(2500);  // thumb at x 67.5
  const QImage image = face();
  EXPECT_TRUE(ShowsSoundAt(image, 40));
  EXPECT_TRUE(ShowsSoundAt(image, 100));
  EXPECT_FALSE(ShowsSoundAt(image, 140));
  EXPECT_FALSE(ShowsSoundAt(image, 200));
  const QColor played = image.pixelColor(40, 104);
  const QColor unplayed = image.pixelColor(100, 104);
  EXPECT_EQ(played, QColor(0xff, 0, 0));
  EXPECT_EQ(unplayed, QColor(0x9a, 0xa3, 0xb5));
}

TEST_F(PlaybarWaveformSurfaceTest, SubtitleSpansAreBandsAndTheCurrentOneIsDenser) {
  loudThenSilent();
  const QImage without = face();
  // 6..8 s: x 134 to 172; the thumb stays at 0 s, outside it.
  surface_.playbarWaveform().setSpans({{6000, 8000}});
  surface_.FindObject("playbar")->Refresh();
  const QImage outside = face();
  EXPECT_EQ(outside.pixelColor(120, 103), without.pixelColor(120, 103));
  EXPECT_NE(outside.pixelColor(140, 103), without.pixelColor(140, 103));
  // Amber over the dark track: more red than blue.
  EXPECT_GT(outside.pixelColor(140, 103).red(), without.pixelColor(140, 103).red());

  surface_.FindObject("playbar")->SetScrollPosition(7000);  // 7 s: inside, and current
  const QImage current = face();
  EXPECT_GT(current.pixelColor(140, 103).red(), outside.pixelColor(140, 103).red());
}

TEST_F(PlaybarWaveformSurfaceTest, ThePlaybarKeepsItsPressDragAndRelease) {
  loudThenSilent();
  QSignalSpy pressed(&surface_, &SkinSurface::playbarPressed);
  QSignalSpy tracked(&surface_, &SkinSurface::playbarTracked);
  QSignalSpy released(&surface_, &SkinSurface::playbarReleased);
  const auto send = [this](QEvent::Type type, QPoint point, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(point), QPointF(surface_.mapToGlobal(point)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&surface_, &event);
  };
  send(QEvent::MouseButtonPress, {115, 110}, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseMove, {210, 110}, Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, {210, 110}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(pressed.count(), 1);
  EXPECT_EQ(tracked.count(), 2);
  EXPECT_EQ(released.count(), 1);
  EXPECT_EQ(surface_.FindObject("playbar")->GetScrollPosition(), 10000);
}

}  // namespace
}  // namespace orlisk
