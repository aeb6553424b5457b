// The timing strip's arithmetic: zoom and scroll, time <-> pixel, the play
// position kept in view, the edge under the mouse and where a dragged edge
// lands; and what it reads from the measured sound.
#include "app/skin/TimingStripScale.h"

#include <gtest/gtest.h>

#include "app/skin/StripSound.h"

namespace orlisk {
namespace {

// A 60 s video at 25 frames a second on a strip 1000 pixels wide.
TimingStripScale Strip(double frameRate = 25, std::int32_t duration = 60000) {
  TimingStripScale scale;
  scale.setWidth(1000);
  scale.setVideo(duration, frameRate);
  return scale;
}

TEST(TimingStripScale, ZoomKeepsTheAnchoredTimeAndStaysBetweenTheWholeVideoAndTenMsAPixel) {
  TimingStripScale scale = Strip();
  EXPECT_TRUE(scale.showsWholeVideo());
  EXPECT_DOUBLE_EQ(scale.msPerPixel(), 60.0);
  struct Row {
    double factor, anchorX, msPerPixel, startMs;
  };
  const Row rows[] = {
      {0.5, 500, 30, 15000},     // 30000 ms stays at x 500
      {0.5, 0, 15, 15000},       // the left edge stays
      {0.01, 1000, 10, 20000},   // no finer than 10 ms a pixel; 30000 stays at the right edge
      {4, 500, 40, 5000},        // 25000 ms in the middle
      {100, 200, 60, 0},         // no coarser than the whole video
  };
  for (const Row& row : rows) {
    scale.zoomBy(row.factor, row.anchorX);
    EXPECT_DOUBLE_EQ(scale.msPerPixel(), row.msPerPixel) << row.factor;
    EXPECT_DOUBLE_EQ(scale.startMs(), row.startMs) << row.factor;
  }
  EXPECT_TRUE(scale.showsWholeVideo());
  // Zoomed in at the end, the view does not run past the video.
  scale.zoomBy(0.25, 1000);
  EXPECT_DOUBLE_EQ(scale.startMs(), 45000);
  EXPECT_EQ(scale.timeAt(1000), 60000);
  EXPECT_EQ(scale.timeAt(2000), 60000);  // past the strip: the video's end
}

TEST(TimingStripScale, ThePlayPositionPagesTheViewOnlyWhenItLeavesIt) {
  TimingStripScale scale = Strip();
  EXPECT_FALSE(scale.follow(59000));  // the whole video: nothing to page
  scale.zoomBy(1.0 / 6, 0);           // 10 s in view, from 0
  const std::tuple<std::int32_t, bool, double> rows[] = {
      {9999, false, 0},     // still in view
      {10000, true, 9000},  // left it: a tenth of the view before it
      {8000, true, 7000},   // back before the view
      {59990, true, 50000}, // near the end: the view stops at the video's end
      {500, true, 0},       // near the start: at 0
  };
  for (const auto& [ms, moved, start] : rows) {
    EXPECT_EQ(scale.follow(ms), moved) << ms;
    EXPECT_DOUBLE_EQ(scale.startMs(), start) << ms;
  }
}

TEST(TimingStripScale, TheEdgeUnderTheMouseIsTheNearestWithinFourPixels) {
  TimingStripScale scale = Strip();
  scale.zoomBy(1.0 / 6, 0);  // 10 ms a pixel from 0
  const std::vector<TimeSpan> spans = {{1000, 2000, 0}, {2000, 3000, 1}, {5000, 5030, 2}};
  struct Row {
    double x;
    std::optional<EdgeHit> hit;
  };
  const Row rows[] = {
      {100, EdgeHit{0, SpanEdge::Begin}},
      {96, EdgeHit{0, SpanEdge::Begin}},
      {95, std::nullopt},  // five pixels off
      {150, std::nullopt},
      {199, EdgeHit{0, SpanEdge::End}},    // one subtitle ends where the next begins:
      {201, EdgeHit{1, SpanEdge::Begin}},  // the one the mouse is inside
      {200, EdgeHit{1, SpanEdge::Begin}},
      {501, EdgeHit{2, SpanEdge::Begin}},  // a short span: the nearer edge
      {502.5, EdgeHit{2, SpanEdge::End}},
  };
  for (const Row& row : rows) EXPECT_EQ(scale.edgeAt(spans, row.x), row.hit) << row.x;
}

TEST(TimingStripScale, ADraggedEdgeLandsOnTheFrameGridWithinTheVideoAndTheOtherEdge) {
  struct Row {
    double frameRate;
    SpanEdge edge;
    double x;  // at 10 ms a pixel from 0
    std::int32_t lands;
  };
  const TimeSpan span{1000, 2000, 0};
  const Row rows[] = {
      {25, SpanEdge::End, 263, 2640},         // 2630 ms: the frame at 2640 is nearer than 2600
      {25, SpanEdge::Begin, 61.9, 600},
      {29.97, SpanEdge::End, 263, 2636},      // frame 79 starts at 2635.97
      {23.976, SpanEdge::Begin, 50, 501},     // frame 12 starts at 500.5
      {25, SpanEdge::Begin, 250, 1960},       // past the end: the last frame before it
      {25, SpanEdge::End, 20, 1040},          // before the begin: the first frame after it
      {25, SpanEdge::Begin, -40, 0},          // before the video: its start
      {0, SpanEdge::End, 263.3, 2633},        // frame rate unknown: the millisecond
  };
  for (const Row& row : rows) {
    TimingStripScale scale = Strip(row.frameRate);
    scale.zoomBy(1.0 / 6, 0);
    EXPECT_EQ(scale.draggedEdgeTime(span, row.edge, row.x, nullptr), row.lands) << row.frameRate << " " << row.x;
  }
  // The video's end (60 s, off the frame grid at 29.97) is nearer than the
  // last frame's start at 59993.
  TimingStripScale scale = Strip(29.97);
  EXPECT_EQ(scale.draggedEdgeTime({59000, 59500, 0}, SpanEdge::End, 1000, nullptr), 60000);
  EXPECT_EQ(scale.draggedEdgeTime({59000, 59500, 0}, SpanEdge::End, 999.85, nullptr), 59993);
}

// Loud 0..1 s, quiet 1..1.1 s (a pause between words), loud to 2 s, silent
// 2..3 s, loud to 4 s, in 10 ms peaks.
PlaybarWaveform SpeechWithPauses() {
  PlaybarWaveform sound;
  sound.start(4000, 10);
  std::vector<std::uint16_t> peaks(400, 20000);
  for (int i = 100; i < 110; ++i) peaks[i] = 100;
  for (int i = 200; i < 300; ++i) peaks[i] = 100;
  sound.addPeaks(0, peaks);
  return sound;
}

TEST(StripSound, SilenceEdgesAreThoseOfPausesLongEnoughWithinReach) {
  const PlaybarWaveform sound = SpeechWithPauses();
  const std::tuple<std::int32_t, std::int32_t, std::optional<std::int32_t>> rows[] = {
      {1950, 80, 2000}, {2070, 80, 2000}, {2920, 100, 3000},
      {1050, 80, std::nullopt},  // a pause between words is too short
      {2500, 100, std::nullopt}, // inside the silence, far from its edges
  };
  for (const auto& [ms, within, edge] : rows) EXPECT_EQ(NearestSilenceEdge(sound, ms, within), edge) << ms;
}

TEST(StripSound, ADragSnapsToANearSilenceEdgeBeforeTheFrameGrid) {
  const PlaybarWaveform sound = SpeechWithPauses();
  TimingStripScale scale = Strip(29.97, 4000);
  scale.zoomBy(0.01, 0);  // 10 ms a pixel
  const TimeSpan span{500, 1500, 0};
  EXPECT_EQ(scale.draggedEdgeTime(span, SpanEdge::End, 195, &sound), 2002);  // 2000 on the grid
  EXPECT_EQ(scale.draggedEdgeTime(span, SpanEdge::End, 195, nullptr), 1935);
  EXPECT_EQ(scale.draggedEdgeTime(span, SpanEdge::End, 170, &sound), 1702);   // no silence near
}

TEST(StripSound, EachColumnHasItsQuietestAndLoudestPeak) {
  const PlaybarWaveform sound = SpeechWithPauses();
  const float loud = 20000.0F / 65535.0F;
  const float quiet = 100.0F / 65535.0F;
  // 50 ms columns: column 20 holds the first pause and speech; 100 ms from 3950: past the end.
  const std::vector<LevelRange> columns = LevelRangesOf(sound, 0, 50, 81);
  EXPECT_EQ(columns[0], (LevelRange{loud, loud}));
  EXPECT_EQ(columns[20], (LevelRange{quiet, quiet}));
  EXPECT_EQ(columns[21], (LevelRange{quiet, quiet}));
  EXPECT_EQ(columns[22], (LevelRange{loud, loud}));
  EXPECT_EQ(LevelRangesOf(sound, 1090, 20, 1)[0], (LevelRange{quiet, loud}));
  EXPECT_EQ(columns[80], LevelRange{});  // past the video's end
  // Finer than a peak: the peak the column starts in.
  EXPECT_EQ(LevelRangesOf(sound, 1995, 2.5, 4)[3], (LevelRange{quiet, quiet}));
  EXPECT_EQ(LevelRangesOf(sound, 1995, 2.5, 4)[1], (LevelRange{loud, loud}));
}

}  // namespace
}  // namespace orlisk
