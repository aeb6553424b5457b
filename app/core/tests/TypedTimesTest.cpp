// Times typed into the begin and end boxes, and the reaction delay taken off
// the play time that F3 and F4 stamp.
#include <gtest/gtest.h>

#include "FakeSeams.h"
#include "settings/ReactionDelay.h"

namespace orlisk::testing {
namespace {

struct TypedTimes : ::testing::Test {
  Rig rig;
  MainState& s = rig.state;
  MainController& c = rig.controller;
  EditingCommands& editing = c.editing();
  void SetUp() override {
    s.FirstInsertHint = false;
    rig.reader.duration = 120000;
  }
  // A subtitle inserted at `begin` and ended at `end` with F3 and F4.
  void insertStamped(SubtitleTime begin, SubtitleTime end) {
    rig.skin.playtime = FormatSubtitleTime(begin);
    c.InsertSubtitle();
    rig.skin.playtime = FormatSubtitleTime(end);
    c.SetEndTime();
  }
};

TEST_F(TypedTimes, EnterAppliesTheTypedTimesToTheNewSubtitleAndShowsThemInFull) {
  rig.openVideo();
  insertStamped(4000, 6000);
  rig.startTime.content = "00:00:03,250";
  EXPECT_TRUE(editing.ApplyTypedBeginTime());
  rig.endTime.content = "  00:01:15,000 ";  // blanks around the time are no part of it
  EXPECT_TRUE(editing.ApplyTypedEndTime());
  EXPECT_EQ(s.Document.entries()[0].BeginTime, 3250);
  EXPECT_EQ(s.Document.entries()[0].EndTime, 75000);
  EXPECT_EQ(s.Document.row(0).Time, "00:00:03,250 --> 00:01:15,000");
  EXPECT_EQ(rig.endTime.content, "00:01:15,000");
  EXPECT_TRUE(rig.messages.shown.empty());

  // Fields are not range-tested; the box then shows the time as it is meant.
  rig.endTime.content = "00:00:75,000";
  EXPECT_TRUE(editing.ApplyTypedEndTime());
  EXPECT_EQ(rig.endTime.content, "00:01:15,000");
}

TEST_F(TypedTimes, ABeginTypedForASubtitleWhoseEndIsNotStampedYetIsTaken) {
  rig.openVideo();
  rig.skin.playtime = "00:00:10,000";
  c.InsertSubtitle();  // its end is still 0
  rig.startTime.content = "00:00:12,000";
  EXPECT_TRUE(editing.ApplyTypedBeginTime());
  EXPECT_EQ(s.Document.row(0).Time, "00:00:12,000 --> 00:00:00,000");
}

TEST_F(TypedTimes, ATypedTimeGoesToTheSelectedRowWhoseTimesTheBoxesShow) {
  rig.openVideo();
  for (int i = 0; i < 3; ++i) rig.addRow(i * 10000, i * 10000 + 5000, "x");
  rig.list.selected = 2;
  c.SelectSubtitle();
  ASSERT_EQ(rig.endTime.content, "00:00:25,000");
  rig.endTime.content = "00:00:27,500";
  EXPECT_TRUE(editing.ApplyTypedEndTime());
  EXPECT_EQ(s.Document.entries()[2].EndTime, 27500);
  EXPECT_EQ(s.Document.entries()[0].EndTime, 5000);  // not EditIndex
  EXPECT_EQ(s.Document.row(2).Time, "00:00:20,000 --> 00:00:27,500");
}

TEST_F(TypedTimes, RefusedTimesChangeNothingAndSayWhy) {
  struct Row {
    bool begin;
    const char* typed;
    const char* message;
  };
  const Row rows[] = {
      {true, "00:00:00", "Subtitle time errors"},  // no millisecond field
      {true, "", "Subtitle time errors"},
      {false, "1:02:03,004", "Subtitle time errors"},  // fields out of their columns
      {false, "ab:cd:ef,ghi", "Subtitle time errors"},
      {true, "00:00:-1,000", "Subtitle time errors"},  // before the video
      {false, "00:02:00,001", "The time lies beyond the end of the video; the time was not changed."},
      {true, "00:00:08,001", "The begin time lies after the end time; the time was not changed."},
      {false, "00:00:03,999", "The end time lies before the begin time; the time was not changed."},
  };
  for (const Row& row : rows) {
    Rig fresh;
    fresh.state.FirstInsertHint = false;
    fresh.reader.duration = 120000;
    fresh.openVideo();
    fresh.addRow(4000, 8000, "x");
    fresh.list.selected = 0;
    fresh.controller.SelectSubtitle();
    (row.begin ? fresh.startTime : fresh.endTime).content = row.typed;
    const bool applied = row.begin ? fresh.controller.editing().ApplyTypedBeginTime()
                                   : fresh.controller.editing().ApplyTypedEndTime();
    EXPECT_FALSE(applied) << row.typed;
    EXPECT_EQ(fresh.lastMessage(), row.message) << row.typed;
    EXPECT_EQ(fresh.state.Document.entries()[0].BeginTime, 4000) << row.typed;
    EXPECT_EQ(fresh.state.Document.entries()[0].EndTime, 8000) << row.typed;
    EXPECT_EQ(fresh.state.Document.row(0).Time, "00:00:04,000 --> 00:00:08,000") << row.typed;
  }
}

TEST_F(TypedTimes, AnEndEqualToTheBeginAndATimeAtTheVeryEndOfTheVideoAreTaken) {
  rig.openVideo();
  rig.addRow(4000, 8000, "x");
  rig.list.selected = 0;
  c.SelectSubtitle();
  rig.endTime.content = "00:00:04,000";
  EXPECT_TRUE(editing.ApplyTypedEndTime());
  rig.endTime.content = "00:02:00,000";
  EXPECT_TRUE(editing.ApplyTypedEndTime());
  EXPECT_EQ(s.Document.entries()[0].EndTime, 120000);
}

TEST_F(TypedTimes, WithoutAVideoOnlyTheOrderOfTheTimesIsChecked) {
  rig.addRow(4000, 8000, "x");
  rig.list.selected = 0;
  c.SelectSubtitle();
  rig.endTime.content = "05:00:00,000";
  EXPECT_TRUE(editing.ApplyTypedEndTime());
  EXPECT_EQ(s.Document.entries()[0].EndTime, 18000000);
}

TEST_F(TypedTimes, EnterWithNoSubtitleAtHandOrWhileWritingChangesNothing) {
  rig.openVideo();
  rig.startTime.content = "00:00:01,000";
  EXPECT_FALSE(editing.ApplyTypedBeginTime());  // empty list
  rig.addRow(4000, 8000, "x");
  EXPECT_FALSE(editing.ApplyTypedBeginTime());  // a row, but none selected
  EXPECT_TRUE(rig.messages.shown.empty());

  rig.list.selected = 0;
  s.IsWriting = true;
  EXPECT_FALSE(editing.ApplyTypedBeginTime());
  EXPECT_EQ(rig.lastMessage(), "The subtitles are written to the video. please first stop writing.");
  EXPECT_EQ(s.Document.entries()[0].BeginTime, 4000);
}

TEST_F(TypedTimes, ARowRemovedUnderTheSelectionIsNotTouched) {
  rig.openVideo();
  rig.addRow(4000, 8000, "x");
  rig.list.selected = 3;  // a stale selection beyond the list
  rig.startTime.content = "00:00:01,000";
  EXPECT_FALSE(editing.ApplyTypedBeginTime());
  EXPECT_EQ(s.Document.entries()[0].BeginTime, 4000);
}

struct ReactionDelayStamps : TypedTimes {
  void setDelay(const std::string& value) { rig.settings.writeString("Timing", "ReactionDelay", value); }
};

TEST_F(ReactionDelayStamps, WithoutADelayF3AndF4StampThePlayTimeAsShown) {
  rig.openVideo();
  insertStamped(62500, 65000);
  EXPECT_EQ(s.Document.row(0).Time, "00:01:02,500 --> 00:01:05,000");
  EXPECT_EQ(rig.startTime.content, "00:01:02,500");
  EXPECT_EQ(rig.endTime.content, "00:01:05,000");
}

TEST_F(ReactionDelayStamps, ADelayIsTakenOffBothStampsAndShownInTheBoxes) {
  rig.openVideo();
  setDelay("300");
  insertStamped(62500, 65000);
  EXPECT_EQ(s.Document.entries()[0].BeginTime, 62200);
  EXPECT_EQ(s.Document.entries()[0].EndTime, 64700);
  EXPECT_EQ(s.Document.row(0).Time, "00:01:02,200 --> 00:01:04,700");
  EXPECT_EQ(rig.startTime.content, "00:01:02,200");
  EXPECT_EQ(rig.endTime.content, "00:01:04,700");
  // The play time itself is where the video is.
  EXPECT_EQ(rig.skin.playtime, "00:01:05,000");
}

TEST_F(ReactionDelayStamps, AStampNearTheStartIsHeldAtZero) {
  rig.openVideo();
  setDelay("500");
  insertStamped(120, 480);
  EXPECT_EQ(s.Document.row(0).Time, "00:00:00,000 --> 00:00:00,000");
  EXPECT_TRUE(rig.messages.shown.empty());
}

TEST_F(ReactionDelayStamps, AnUnreadableOrNegativeSettingStampsAsWithoutDelay) {
  for (const char* value : {"soon", "-300", ""}) {
    Rig fresh;
    fresh.state.FirstInsertHint = false;
    fresh.openVideo();
    fresh.settings.writeString("Timing", "ReactionDelay", value);
    fresh.skin.playtime = "00:00:05,000";
    fresh.controller.InsertSubtitle();
    EXPECT_EQ(fresh.state.Document.entries()[0].BeginTime, 5000) << value;
  }
  setDelay("90000");  // bounded to two seconds
  rig.openVideo();
  insertStamped(5000, 9000);
  EXPECT_EQ(s.Document.row(0).Time, "00:00:03,000 --> 00:00:07,000");
}

TEST_F(ReactionDelayStamps, AMalformedPlayTimeStillGivesTheTimeErrorAndZero) {
  rig.openVideo();
  setDelay("300");
  c.InsertSubtitle();
  rig.skin.playtime = "00:00:00";
  c.SetEndTime();
  EXPECT_EQ(rig.lastMessage(), "Subtitle time errors");
  EXPECT_EQ(s.Document.entries()[0].EndTime, 0);
}

}  // namespace
}  // namespace orlisk::testing
