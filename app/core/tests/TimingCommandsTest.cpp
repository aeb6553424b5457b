// The timing tools as the window runs them: nudges and still steps on the
// grids of 23.976, 25 and 29.97 fps, stamps while playing, shift, two-point
// sync and frame-rate conversion; each one undo step, each refusal changing
// nothing and saying why.
#include <gtest/gtest.h>

#include "FakeSeams.h"
#include "settings/ReactionDelay.h"

namespace orlisk::testing {
namespace {

struct Timing : ::testing::Test, UserSession {
  TimingCommands& timing = c.timing();
  void SetUp() override {
    for (int i = 0; i < 3; ++i) rig.addRow(1000 + i * 3000, 3000 + i * 3000, "line " + std::to_string(i));
    history.startFresh();
  }
  void pick(int row) {
    rig.list.selected = row;
    user([&] { c.SelectSubtitle(); });
  }
  SubtitleSpan times(int row) const {
    const SubtitleEntry& e = s.Document.entries()[static_cast<std::size_t>(row)];
    return {e.BeginTime, e.EndTime};
  }
  // Runs `tool` as one user action; it must be one step, and its undo must
  // give the list back as it was.
  void expectOneUndoableStep(const std::function<void()>& tool, const char* what) {
    const DocumentSnapshot before = DocumentSnapshot::Of(s.Document);
    const std::size_t steps = history.undoCount();
    user(tool);
    EXPECT_EQ(history.undoCount(), steps + 1) << what;
    user([&] { c.Undo(); });
    EXPECT_EQ(DocumentSnapshot::Of(s.Document), before) << what;
  }
};

TEST_F(Timing, NudgesMoveTheSubtitleAtHandOnTheVideosGridAsOneUndoStep) {
  const struct {
    double fps;
    TimeEdge edge;
    NudgeStep step;
    SubtitleSpan expected;
  } rows[] = {
      {25.0, TimeEdge::Begin, NudgeStep::FrameLater, {4040, 6000}},
      {25.0, TimeEdge::End, NudgeStep::FrameEarlier, {4000, 5960}},
      {24000.0 / 1001, TimeEdge::Begin, NudgeStep::FrameEarlier, {3921, 6000}},
      {24000.0 / 1001, TimeEdge::End, NudgeStep::FrameLater, {4000, 6006}},
      {30000.0 / 1001, TimeEdge::Begin, NudgeStep::FrameLater, {4004, 6000}},
      {30000.0 / 1001, TimeEdge::End, NudgeStep::Later100, {4000, 6100}},
      {25.0, TimeEdge::Begin, NudgeStep::Earlier100, {3900, 6000}},
  };
  for (const auto& row : rows) {
    rig.reader.fps = row.fps;
    pick(1);
    user([&] { timing.NudgeTime(row.edge, row.step); });
    EXPECT_EQ(times(1), row.expected) << row.fps;
    EXPECT_EQ(s.Document.row(1).Time, TimeRangeText(row.expected.Begin, row.expected.End));
    // The picture and the boxes show the moved time.
    const SubtitleTime moved = row.edge == TimeEdge::Begin ? row.expected.Begin : row.expected.End;
    EXPECT_EQ(rig.skin.playtime, FormatSubtitleTime(moved));
    EXPECT_EQ((row.edge == TimeEdge::Begin ? rig.startTime : rig.endTime).content, FormatSubtitleTime(moved));
    user([&] { c.Undo(); });
    EXPECT_EQ(times(1), (SubtitleSpan{4000, 6000}));
  }
  EXPECT_TRUE(rig.messages.shown.empty());
}

TEST_F(Timing, RefusedRequestsChangeNothingAndSayWhy) {
  rig.addRow(9950, 10000, "last");
  s.Document.entries()[0].BeginTime = 50;
  const struct {
    const char* what;
    std::function<void()> tool;
    const char* message;
  } rows[] = {
      {"begin before 0", [&] { pick(0), timing.NudgeTime(TimeEdge::Begin, NudgeStep::Earlier100); },
       "The time would lie before 00:00:00,000; it was not changed."},
      {"end past the video", [&] { pick(3), timing.NudgeTime(TimeEdge::End, NudgeStep::FrameLater); },
       "The time would lie past the end of the video; it was not changed."},
      {"end before begin", [&] { pick(3), timing.NudgeTime(TimeEdge::End, NudgeStep::Earlier100); },
       "The end time would lie before the begin time; it was not changed."},
      {"shift past the video", [&] { timing.ShiftTimes(1, ShiftScope::EverySubtitle); },
       "Subtitle 4 would begin or end past the end of the video; no time was changed."},
      {"same time twice", [&] { timing.SyncTwoPoints({0, 2000}, {2, 2000}); },
       "Two-point sync needs two subtitles that begin at different times, and two different right times; no time "
       "was changed."},
      {"wrong order", [&] { timing.SyncTwoPoints({0, 5000}, {2, 2000}); },
       "The right times run the other way than the two subtitles; no time was changed."},
      {"same rate", [&] { timing.ConvertFrameRate({25, 1}, {25, 1}); },
       "The two frame rates are the same; no time was changed."},
  };
  for (const auto& row : rows) {
    rig.messages.shown.clear();
    const DocumentSnapshot before = DocumentSnapshot::Of(s.Document);
    row.tool();
    EXPECT_EQ(DocumentSnapshot::Of(s.Document), before) << row.what;
    EXPECT_EQ(rig.lastMessage(), row.message) << row.what;
  }
  // Nothing at hand and nothing selected: nothing to nudge.
  user([&] { c.ClearSubtitles(); });
  timing.NudgeTime(TimeEdge::Begin, NudgeStep::FrameLater);
  EXPECT_EQ(rig.lastMessage(), "Pick a subtitle in the list first.");
}

TEST_F(Timing, StillStepsMoveAlongTheGridWhileTheVideoStandsStill) {
  const struct {
    double fps;
    const char* from;
    int frames, seconds;
    const char* expected;
  } rows[] = {
      {25.0, "00:00:01,000", 1, 0, "00:00:01,040"},
      {25.0, "00:00:01,010", -1, 0, "00:00:00,960"},
      {24000.0 / 1001, "00:00:01,001", -1, 0, "00:00:00,960"},
      {24000.0 / 1001, "00:00:05,000", 0, 1, "00:00:05,965"},
      {30000.0 / 1001, "00:00:01,001", 1, 0, "00:00:01,035"},
      {30000.0 / 1001, "00:00:01,000", 0, -1, "00:00:00,000"},
  };
  for (const auto& row : rows) {
    rig.reader.fps = row.fps;
    rig.skin.playtime = row.from;
    user([&] { row.frames != 0 ? timing.StepFrames(row.frames) : timing.StepSeconds(row.seconds); });
    EXPECT_EQ(rig.skin.playtime, row.expected) << row.fps << " " << row.from;
    EXPECT_EQ(rig.reader.seeks.back(), ParseSubtitleTimeFields(row.expected).value());
  }
  rig.skin.playtime = "00:00:00,000";
  timing.StepFrames(-1);
  EXPECT_EQ(rig.lastMessage(), "The time would lie before 00:00:00,000; it was not changed.");
  // While playing the keys leave the picture alone.
  c.Play();
  const std::size_t seeks = rig.reader.seeks.size();
  timing.StepFrames(1);
  EXPECT_EQ(rig.reader.seeks.size(), seeks);
}

TEST_F(Timing, StampsWhilePlayingRetimeTheListInOnePassLessTheReactionDelay) {
  WriteReactionDelay(rig.settings, 200);
  pick(0);
  c.Play();
  const auto stamp = [&](const char* playtime, bool begin) {
    rig.skin.playtime = playtime;
    user([&] { begin ? timing.StampBeginAtPlayTime() : timing.StampEndAtPlayTime(); });
  };
  stamp("00:00:01,500", true);
  stamp("00:00:02,900", false);  // the next subtitle is at hand now
  EXPECT_EQ(rig.list.selected, 1);
  EXPECT_EQ(rig.memo.content, "line 1");
  stamp("00:00:07,000", true);  // past its old end (6000): it keeps its length
  EXPECT_TRUE(s.IsPlaying);
  EXPECT_EQ(times(0), (SubtitleSpan{1300, 2700}));
  EXPECT_EQ(times(1), (SubtitleSpan{6800, 8800}));
  EXPECT_EQ(history.undoCount(), 3u);

  stamp("00:00:06,000", false);  // before the begin just stamped
  EXPECT_EQ(rig.lastMessage(), "The end time would lie before the begin time; it was not changed.");
  EXPECT_EQ(times(1), (SubtitleSpan{6800, 8800}));
  EXPECT_EQ(rig.endTime.content, "00:00:08,800");
}

TEST_F(Timing, ShiftSyncAndConversionRetimeTheListAsOneUndoStepEach) {
  rig.reader.duration = 60000;
  pick(1);
  user([&] { EXPECT_TRUE(timing.ShiftTimes(-500, ShiftScope::FromSubtitleAtHand)); });
  EXPECT_EQ(times(0), (SubtitleSpan{1000, 3000}));
  EXPECT_EQ(times(2), (SubtitleSpan{6500, 8500}));
  EXPECT_EQ(s.Document.row(2).Time, "00:00:06,500 --> 00:00:08,500");
  EXPECT_EQ(rig.startTime.content, "00:00:03,500");  // the boxes follow the subtitle at hand
  user([&] { c.Undo(); });

  user([&] { EXPECT_TRUE(timing.SyncTwoPoints({0, 2000}, {2, 14000})); });
  EXPECT_EQ(times(1), (SubtitleSpan{8000, 12000}));
  user([&] { c.Undo(); });
  user([&] { EXPECT_TRUE(timing.ConvertFrameRate({25, 1}, {24000, 1001})); });
  EXPECT_EQ(times(2), (SubtitleSpan{7299, 9384}));
  user([&] { c.Undo(); });

  expectOneUndoableStep([&] { timing.ShiftTimes(2000, ShiftScope::EverySubtitle); }, "shift");
  expectOneUndoableStep([&] { timing.SyncTwoPoints({0, 900}, {1, 3800}); }, "sync");
  expectOneUndoableStep([&] { timing.ConvertFrameRate({24, 1}, {25, 1}); }, "convert");
  expectOneUndoableStep([&] { timing.NudgeTime(TimeEdge::End, NudgeStep::FrameLater); }, "nudge");
  rig.skin.playtime = "00:00:05,000";
  c.Play();
  expectOneUndoableStep([&] { timing.StampBeginAtPlayTime(); }, "stamp");
}

}  // namespace
}  // namespace orlisk::testing
