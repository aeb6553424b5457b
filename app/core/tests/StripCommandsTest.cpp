// What the timing strip asks of the commands: a subtitle's begin and end set
// at once (an edge dragged), refused where the times make no sense, one undo
// step; and a seek to a time (a click).
#include <gtest/gtest.h>

#include "FakeSeams.h"

namespace orlisk::testing {
namespace {

// A two-minute video and two subtitles, the history fresh.
struct StripSession : UserSession {
  StripSession() {
    rig.reader.duration = 120000;
    rig.openVideo();
    rig.addRow(4000, 8000, "x");
    rig.addRow(9000, 9500, "y");
    history.startFresh();
  }
  bool retime(int row, SubtitleTime begin, SubtitleTime end) {
    bool taken = false;
    user([&] { taken = c.editing().RetimeSubtitle(row, begin, end); });
    return taken;
  }
};

struct StripCommands : ::testing::Test, StripSession {};

TEST_F(StripCommands, RetimingTakesSensibleTimesAndRefusesOthersWithAMessage) {
  struct Row {
    SubtitleTime begin, end;
    const char* message;  // none: taken
  };
  const Row rows[] = {
      {3000, 8000, nullptr},
      {4000, 120000, nullptr},  // to the video's very end
      {5000, 5000, nullptr},    // an end at its begin is not before it
      {-1, 8000, "The time would lie before 00:00:00,000; it was not changed."},
      {4000, 3999, "The end time lies before the begin time; the time was not changed."},
      {4000, 120001, "The time lies beyond the end of the video; the time was not changed."},
  };
  for (const Row& row : rows) {
    StripSession fresh;
    EXPECT_EQ(fresh.retime(0, row.begin, row.end), row.message == nullptr) << row.begin << " " << row.end;
    const SubtitleEntry& entry = fresh.s.Document.entries()[0];
    const bool taken = row.message == nullptr;
    EXPECT_EQ(fresh.rig.lastMessage(), taken ? "" : row.message);
    EXPECT_EQ(entry.BeginTime, taken ? row.begin : 4000);
    EXPECT_EQ(entry.EndTime, taken ? row.end : 8000);
    EXPECT_EQ(fresh.s.Document.row(0).Time, TimeRangeText(entry.BeginTime, entry.EndTime));
    EXPECT_EQ(fresh.history.undoCount(), taken ? 1u : 0u);
  }
}

TEST_F(StripCommands, ARetimeIsOneUndoStepAndTheBoxesShowTheSubtitleAtHand) {
  rig.list.selected = 1;
  user([&] { c.SelectSubtitle(); });
  ASSERT_TRUE(retime(1, 8800, 9600));
  EXPECT_EQ(rig.startTime.content, "00:00:08,800");
  EXPECT_EQ(rig.endTime.content, "00:00:09,600");
  EXPECT_EQ(history.undoCount(), 1u);
  user([&] { c.Undo(); });
  EXPECT_EQ(s.Document.row(1).Time, "00:00:09,000 --> 00:00:09,500");
  EXPECT_EQ(s.Document.entries()[1].BeginTime, 9000);
  user([&] { c.Redo(); });
  EXPECT_EQ(s.Document.entries()[1].EndTime, 9600);
}

TEST_F(StripCommands, NoRowOrAWriteJobLeavesTheListAsItWas) {
  EXPECT_FALSE(retime(2, 100, 200));
  EXPECT_FALSE(retime(-1, 100, 200));
  EXPECT_TRUE(rig.messages.shown.empty());
  s.IsWriting = true;
  EXPECT_FALSE(retime(0, 100, 200));
  EXPECT_EQ(rig.lastMessage(), "The subtitles are written to the video. please first stop writing.");
  EXPECT_EQ(history.undoCount(), 0u);
}

TEST_F(StripCommands, ASeekShowsTheFrameThereOrPlaysOnFromIt) {
  user([&] { c.playback().SeekTo(5010); });
  EXPECT_EQ(rig.reader.seeks.back(), 5010);  // exactly, not the playbar's step
  EXPECT_EQ(rig.skin.playtime, "00:00:05,000");  // the frame's own time
  EXPECT_EQ(FakeVideoReader::FrameTime(s.CurrentFrame), 5000);
  EXPECT_EQ(rig.skin.playbar, MulDiv(5010, 10000, 120000));
  EXPECT_FALSE(s.IsPlaying);

  user([&] { c.Play(); });
  user([&] { c.playback().SeekTo(200000); });  // past the end: the end
  EXPECT_TRUE(s.IsPlaying);
  EXPECT_EQ(rig.skin.playbar, 10000);
  EXPECT_EQ(rig.reader.seeks.back(), 120000);

  const std::size_t seeks = rig.reader.seeks.size();
  s.IsWriting = true;
  user([&] { c.playback().SeekTo(1000); });
  EXPECT_EQ(rig.reader.seeks.size(), seeks);
}

}  // namespace
}  // namespace orlisk::testing
