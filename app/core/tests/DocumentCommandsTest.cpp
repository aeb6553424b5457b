#include <gtest/gtest.h>

#include "FakeSeams.h"

namespace orlisk::testing {
namespace {

constexpr const char* kWritingText = "The subtitles are written to the video. please first stop writing.";
constexpr const char* kAddVideoText = "please first add video file";

struct DocumentCommands : ::testing::Test {
  Rig rig;
  MainState& s = rig.state;
  MainController& c = rig.controller;
  void SetUp() override { s.FirstInsertHint = false; }
  void playAt(SubtitleTime ms) {
    rig.skin.playbar = MulDiv(ms, 10000, rig.reader.duration);
    c.Play();
    rig.skin.playtime = FormatSubtitleTime(ms);
  }
};

TEST_F(DocumentCommands, InsertWhilePlayingPausesStampsTheBeginAndEmptiesTheMemo) {
  rig.reader.duration = 120000;
  rig.openVideo();
  playAt(62500);
  rig.memo.content = "left over";
  c.InsertSubtitle();
  EXPECT_TRUE(s.IsPaused);
  EXPECT_FALSE(s.IsPlaying);
  EXPECT_FALSE(rig.timer.active);
  ASSERT_EQ(s.Document.rowCount(), 1);
  EXPECT_EQ(s.Document.row(0).Time, "00:01:02,500 --> 00:00:00,000");
  EXPECT_EQ(s.Document.row(0).Subtitle, "");
  EXPECT_EQ(s.Document.entries()[0].BeginTime, 62500);
  EXPECT_EQ(rig.memo.content, "");
  EXPECT_TRUE(rig.memo.enabled);
  EXPECT_GT(rig.memo.focusCount, 0);
  EXPECT_TRUE(s.AtHand.EditingNewEntry());
  EXPECT_EQ(s.SubtitleCursor, 1);
  EXPECT_TRUE(rig.messages.shown.empty());
}

TEST_F(DocumentCommands, InsertWhileStoppedPausesNothingAndStampsThePlaytimeText) {
  rig.openVideo();
  rig.skin.playtime = "00:00:04,000";
  c.InsertSubtitle();
  EXPECT_FALSE(s.IsPaused);
  EXPECT_EQ(rig.audio.stops, 0);
  EXPECT_EQ(s.Document.entries()[0].BeginTime, 4000);
  EXPECT_EQ(rig.startTime.content, "00:00:04,000");
}

TEST_F(DocumentCommands, InsertAfterAVideoReopenStartsFromAZeroEntry) {
  rig.openVideo();
  rig.addRow(1000, 2000, "old");
  rig.openVideo("other.avi");  // empties the rows, not the entries
  ASSERT_EQ(s.Document.entries().size(), 1u);
  rig.skin.playtime = "00:00:03,000";
  c.InsertSubtitle();
  EXPECT_EQ(s.Document.row(0).Time, "00:00:03,000 --> 00:00:00,000");
  EXPECT_EQ(s.Document.entries()[0].Text, "");
}

TEST_F(DocumentCommands, InsertGuardsInOrder) {
  struct Row {
    bool writing, video, editMode;
    std::string message;
  };
  for (const Row& row : {Row{true, false, false, kWritingText}, Row{false, false, false, kAddVideoText},
                         Row{false, true, false, "please first unselect \"Subtitle Preview\" checkBox"}}) {
    Rig r;
    if (row.video) r.openVideo();
    r.state.IsWriting = row.writing;
    r.state.EditMode = row.editMode;
    r.controller.InsertSubtitle();
    EXPECT_EQ(r.lastMessage(), row.message);
    EXPECT_EQ(r.state.Document.rowCount(), 0);
  }
}

TEST_F(DocumentCommands, FirstInsertHintShowsOnceAndIsRemembered) {
  s.FirstInsertHint = true;
  rig.openVideo();
  c.InsertSubtitle();
  c.InsertSubtitle();
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_EQ(rig.messages.shown[0].text.rfind("Insert subtitles when play is pause", 0), 0u);
  EXPECT_FALSE(s.FirstInsertHint);
  EXPECT_FALSE(rig.settings.readBool("Firstinsertsubtitle", "Bool", true));
}

TEST_F(DocumentCommands, TypingCapturesTextPlacementAndStyleIntoTheNewEntry) {
  rig.openVideo();
  rig.skin.playtime = "00:00:01,000";
  c.InsertSubtitle();
  s.Placement.X = 33;
  s.Style.TextColor = 0x0000FF;
  rig.memo.type("Hello\r\nWorld");
  const SubtitleEntry& e = s.Document.entries()[0];
  EXPECT_EQ(s.Document.row(0).Subtitle, "Hello\r\nWorld");
  EXPECT_EQ(e.Text, "Hello\r\nWorld");
  EXPECT_EQ(e.Place.X, 33);
  EXPECT_EQ(e.TextColor, 0x0000FFu);
  EXPECT_EQ(e.BeginTime, 1000);
  EXPECT_EQ(e.Tag, 1);
  EXPECT_EQ(e.Place.DrawLevel, 240);
}

TEST_F(DocumentCommands, LongTextStaysWholeInTheRowAndIsCutInTheEntry) {
  rig.openVideo();
  c.InsertSubtitle();
  std::string text(300, 'a');
  rig.memo.type(text);
  EXPECT_EQ(s.Document.row(0).Subtitle, text);
  EXPECT_EQ(s.Document.entries()[0].Text, std::string(255, 'a'));
  // The edit picture shows all of it.
  EXPECT_EQ(rig.transform.draws.back().text, text);
}

TEST_F(DocumentCommands, SetEndTimeOnAnEmptyListDoesNothing) {
  rig.openVideo();
  rig.endTime.content = "untouched";
  c.SetEndTime();
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(rig.endTime.content, "untouched");
}

TEST_F(DocumentCommands, SetEndTimeWithoutVideoAsksForOne) {
  rig.addRow(0, 0, "a");
  c.SetEndTime();
  EXPECT_EQ(rig.lastMessage(), kAddVideoText);
}

TEST_F(DocumentCommands, SetBeginTimeWithoutVideoStampsTheEditIndexOfASelection) {
  rig.addRow(0, 0, "a");
  rig.addRow(0, 0, "b");
  rig.list.selected = 1;
  rig.skin.playtime = "00:00:07,000";
  c.SetBeginTime();
  EXPECT_EQ(s.Document.entries()[0].BeginTime, 7000);
  EXPECT_EQ(s.Document.entries()[1].BeginTime, 0);
  EXPECT_EQ(s.Document.row(0).Time, "00:00:07,000 --> 00:00:00,000");
}

TEST_F(DocumentCommands, ClickingRowThreeThenStampingGoesToEditIndexNotRowThree) {
  rig.openVideo();
  for (int i = 0; i < 3; ++i) rig.addRow(i * 1000, i * 1000 + 500, "x");
  rig.list.selected = 2;
  c.SelectSubtitle();
  rig.skin.playtime = "00:00:09,000";
  c.SetBeginTime();
  EXPECT_EQ(s.Document.entries()[0].BeginTime, 9000);
  EXPECT_EQ(s.Document.entries()[2].BeginTime, 2000);
}

TEST_F(DocumentCommands, MalformedPlaytimeStampsZeroAfterTheMessage) {
  rig.openVideo();
  c.InsertSubtitle();
  rig.skin.playtime = "00:00:00";
  c.SetEndTime();
  EXPECT_EQ(rig.lastMessage(), "Subtitle time errors");
  EXPECT_EQ(s.Document.entries()[0].EndTime, 0);
}

TEST_F(DocumentCommands, SelectingARowLoadsItsTimesTextFrameAndStyle) {
  rig.openVideo();
  rig.addRow(1000, 2000, "one");
  rig.addRow(4000, 5000, "two");
  s.Document.entries()[1].Place.X = 77;
  s.Document.entries()[1].TextColor = 0x123456;
  s.Document.entries()[1].Border = false;
  rig.list.selected = 1;
  c.SelectSubtitle();
  EXPECT_EQ(rig.memo.content, "two");
  EXPECT_FALSE(rig.memo.enabled);
  EXPECT_EQ(rig.startTime.content, "00:00:04,000");
  EXPECT_EQ(rig.endTime.content, "00:00:05,000");
  EXPECT_EQ(rig.skin.playtime, "00:00:04,000");
  EXPECT_EQ(rig.skin.playbar, 4000);  // 4 s of 10 s
  EXPECT_EQ(FakeVideoReader::FrameTime(s.CurrentFrame), 4000);
  EXPECT_EQ(s.Placement.X, 77);
  EXPECT_EQ(s.Style.TextColor, 0x123456u);
  EXPECT_FALSE(s.Style.BorderEnabled);
  EXPECT_EQ(s.SubtitleCursor, 1);
  // Loading the row did not overwrite it.
  EXPECT_EQ(s.Document.entries()[1].Place.X, 77);
}

TEST_F(DocumentCommands, ARowBeyondTheEndOfTheVideoLoadsWithoutAPictureAndStaysEditable) {
  rig.openVideo();
  rig.addRow(25000, 26000, "late");  // the video is ten seconds long
  auto shown = rig.view.shownFrames.size();
  rig.list.selected = 0;
  c.EditSubtitle();
  EXPECT_TRUE(s.CurrentFrame.empty());
  EXPECT_EQ(rig.skin.playbar, 10000);
  EXPECT_EQ(rig.view.shownFrames.size(), shown);
  rig.memo.type("still typed");
  EXPECT_EQ(s.Document.row(0).Subtitle, "still typed");
  EXPECT_EQ(s.Document.entries()[0].BeginTime, 25000);
}

TEST_F(DocumentCommands, ClickingWhilePlayingOrWritingDoesNothing) {
  for (bool writing : {false, true}) {
    Rig r;
    r.openVideo();
    r.addRow(1000, 2000, "one");
    if (writing) {
      r.state.IsWriting = true;
    } else {
      r.controller.Play();
    }
    r.list.selected = 0;
    r.controller.SelectSubtitle();
    EXPECT_EQ(r.memo.content, "");
    EXPECT_EQ(r.state.SubtitleCursor, 0);
    EXPECT_TRUE(r.messages.shown.empty());
  }
}

TEST_F(DocumentCommands, EditSubtitleStopsPlaybackAndSendsTypingToTheRow) {
  rig.openVideo();
  rig.addRow(1000, 2000, "one");
  rig.addRow(3000, 4000, "two");
  c.Play();
  rig.list.selected = 1;
  c.EditSubtitle();
  EXPECT_FALSE(s.IsPlaying);
  EXPECT_EQ(s.AtHand.EditIndex(), 1);
  EXPECT_TRUE(rig.memo.enabled);
  rig.memo.type("changed");
  EXPECT_EQ(s.Document.row(1).Subtitle, "changed");
  EXPECT_EQ(s.Document.entries()[1].Text, "changed");
  EXPECT_EQ(s.Document.entries()[1].BeginTime, 3000);
  EXPECT_EQ(s.Document.entries()[1].EndTime, 4000);
  EXPECT_EQ(s.Document.row(0).Subtitle, "one");
}

TEST_F(DocumentCommands, EditSubtitleInPreviewModeRefuses) {
  rig.openVideo();
  rig.addRow(1000, 2000, "one");
  rig.list.selected = 0;
  s.EditMode = false;
  c.EditSubtitle();
  EXPECT_EQ(rig.lastMessage(), "please first unselect \"Subtitle Preview\" checkBox");
  EXPECT_FALSE(rig.memo.enabled);
}

TEST_F(DocumentCommands, InsertBlankIntoAnEmptyList) {
  c.InsertBlankSubtitle();
  ASSERT_EQ(s.Document.rowCount(), 1);
  EXPECT_EQ(s.Document.row(0).Time, "00:00:00,000 --> 00:00:00,000");
  EXPECT_EQ(s.Document.entries().size(), 1u);
  EXPECT_TRUE(rig.memo.enabled);
}

TEST_F(DocumentCommands, InsertBlankWithoutSelectionGoesBeforeTheLastRow) {
  rig.openVideo();
  rig.addRow(1000, 2000, "one");
  rig.addRow(3000, 4000, "two");
  c.InsertBlankSubtitle();
  ASSERT_EQ(s.Document.rowCount(), 3);
  EXPECT_EQ(s.Document.row(0).Subtitle, "one");
  EXPECT_EQ(s.Document.row(1).Time, "00:00:00,000 --> 00:00:00,000");
  EXPECT_EQ(s.Document.row(1).Subtitle, "");
  EXPECT_EQ(s.Document.row(2).Subtitle, "two");
  EXPECT_EQ(s.Document.entries().size(), 3u);
  // The blank row keeps a copy of the entry it displaced until it is edited.
  EXPECT_EQ(s.Document.entries()[1].BeginTime, 3000);
  EXPECT_EQ(s.Document.entries()[2].BeginTime, 3000);
  EXPECT_EQ(s.AtHand.EditIndex(), 1);
  EXPECT_FALSE(s.AtHand.EditingNewEntry());
}

TEST_F(DocumentCommands, InsertBlankBeforeTheSelectedRowKeepsItSelectedAndEditable) {
  rig.openVideo();
  rig.addRow(1000, 2000, "one");
  rig.addRow(3000, 4000, "two");
  rig.list.selected = 0;
  c.InsertBlankSubtitle();
  EXPECT_EQ(s.Document.row(0).Subtitle, "");
  EXPECT_EQ(s.Document.row(1).Subtitle, "one");
  EXPECT_EQ(rig.list.selected, 0);
  rig.skin.playtime = "00:00:00,500";
  c.SetBeginTime();
  EXPECT_EQ(s.Document.entries()[0].BeginTime, 500);
  EXPECT_EQ(s.Document.entries()[1].BeginTime, 1000);
}

TEST_F(DocumentCommands, RemovingTheLastOfThreeSelectsAndLoadsRowTwo) {
  rig.openVideo();
  rig.addRow(1000, 2000, "one");
  rig.addRow(3000, 4000, "two");
  rig.addRow(5000, 6000, "three");
  rig.list.selected = 2;
  c.RemoveSubtitle();
  ASSERT_EQ(s.Document.rowCount(), 2);
  EXPECT_EQ(s.Document.entries().size(), 2u);
  EXPECT_EQ(rig.list.selected, 1);
  EXPECT_EQ(rig.memo.content, "two");
  EXPECT_EQ(rig.startTime.content, "00:00:03,000");
}

TEST_F(DocumentCommands, RemovingAMiddleRowMovesTheLaterEntriesDown) {
  rig.addRow(1000, 2000, "one");
  rig.addRow(3000, 4000, "two");
  rig.addRow(5000, 6000, "three");
  rig.list.selected = 1;
  c.RemoveSubtitle();
  EXPECT_EQ(s.Document.row(1).Subtitle, "three");
  EXPECT_EQ(s.Document.entries()[1].BeginTime, 5000);
  EXPECT_EQ(rig.list.selected, 1);
}

TEST_F(DocumentCommands, RemovingTheOnlyRowLeavesAnEmptyListAndMemo) {
  rig.openVideo();
  rig.addRow(1000, 2000, "one");
  rig.list.selected = 0;
  c.SelectSubtitle();
  c.RemoveSubtitle();
  EXPECT_EQ(s.Document.rowCount(), 0);
  EXPECT_TRUE(s.Document.entries().empty());
  EXPECT_EQ(rig.memo.content, "");
}

TEST_F(DocumentCommands, RemoveWithoutSelectionRemovesNothing) {
  rig.addRow(1000, 2000, "one");
  c.RemoveSubtitle();
  EXPECT_EQ(s.Document.rowCount(), 1);
}

TEST_F(DocumentCommands, ClearEmptiesRowsEntriesAndMemo) {
  rig.openVideo();
  rig.addRow(1000, 2000, "one");
  rig.addRow(3000, 4000, "two");
  rig.memo.content = "two";
  c.ClearSubtitles();
  EXPECT_EQ(s.Document.rowCount(), 0);
  EXPECT_TRUE(s.Document.entries().empty());
  EXPECT_EQ(rig.memo.content, "");
}

TEST_F(DocumentCommands, StampingAndTypingAfterEditIndexFellOffTheListDoNothing) {
  rig.openVideo();
  for (int i = 0; i < 3; ++i) rig.addRow(i * 1000, i * 1000 + 500, "x");
  rig.list.selected = 2;
  c.EditSubtitle();  // EditIndex 2
  rig.list.selected = 0;
  c.RemoveSubtitle();  // two rows left; EditIndex still 2
  ASSERT_EQ(s.AtHand.EditIndex(), 2);
  rig.memo.enabled = true;
  rig.skin.playtime = "00:00:09,000";
  c.SetBeginTime();
  c.SetEndTime();
  rig.memo.type("typed");
  EXPECT_EQ(s.Document.rowCount(), 2);
  EXPECT_EQ(s.Document.entries().size(), 2u);
  for (const SubtitleEntry& e : s.Document.entries()) {
    EXPECT_NE(e.BeginTime, 9000);
    EXPECT_NE(e.EndTime, 9000);
  }
  for (const SubtitleRow& r : s.Document.rows()) EXPECT_NE(r.Subtitle, "typed");
}

TEST_F(DocumentCommands, EveryEditingCommandRefusesWhileWriting) {
  std::vector<std::function<void(MainController&)>> commands = {
      [](MainController& m) { m.InsertSubtitle(); },   [](MainController& m) { m.SetBeginTime(); },
      [](MainController& m) { m.SetEndTime(); },       [](MainController& m) { m.EditSubtitle(); },
      [](MainController& m) { m.InsertBlankSubtitle(); }, [](MainController& m) { m.RemoveSubtitle(); },
      [](MainController& m) { m.ClearSubtitles(); }};
  for (auto& command : commands) {
    Rig r;
    r.openVideo();
    r.addRow(1000, 2000, "one");
    r.list.selected = 0;
    r.state.IsWriting = true;
    command(r.controller);
    EXPECT_EQ(r.lastMessage(), kWritingText);
    EXPECT_EQ(r.state.Document.rowCount(), 1);
    EXPECT_EQ(r.state.Document.row(0).Time, "00:00:01,000 --> 00:00:02,000");
  }
}

TEST_F(DocumentCommands, PausingAndResumingKeepsTheTextOfTheSubtitleBeingTyped) {
  rig.openVideo();
  playAt(1000);
  c.InsertSubtitle();
  rig.memo.type("first line");
  c.Play();  // resume from the pause the insert made
  c.Pause();  // typing goes on in the same subtitle
  EXPECT_EQ(rig.memo.content, "first line");
  c.Play();
  rig.clock.advance(1000);
  c.PlaybackTick();  // the edit renderer captures on every drawn frame
  EXPECT_EQ(s.Document.row(0).Subtitle, "first line");
  EXPECT_EQ(s.Document.entries()[0].Text, "first line");

  c.Pause();
  rig.memo.type("typed after the pause");  // typing after a pause still edits it
  EXPECT_EQ(s.Document.row(0).Subtitle, "typed after the pause");
}

TEST_F(DocumentCommands, OnceF4EndedTheSubtitleBeingTypedTypingNoLongerChangesIt) {
  rig.openVideo();
  playAt(1000);
  c.InsertSubtitle();           // F3
  rig.memo.type("The line");
  c.Play();                     // F2
  rig.skin.playtime = "00:00:02,500";
  c.SetEndTime();               // F4
  c.Pause();                    // F5
  rig.memo.type("x");
  ASSERT_EQ(s.Document.rowCount(), 1);
  EXPECT_EQ(s.Document.row(0).Subtitle, "The line");
  EXPECT_EQ(s.Document.entries()[0].Text, "The line");
  EXPECT_EQ(s.Document.entries()[0].EndTime, 2500);

  // F3 inserts the next subtitle, and typing goes there.
  c.InsertSubtitle();
  rig.memo.type("Second");
  ASSERT_EQ(s.Document.rowCount(), 2);
  EXPECT_EQ(s.Document.row(0).Subtitle, "The line");
  EXPECT_EQ(s.Document.row(1).Subtitle, "Second");

  // Picking a row with Edit and typing still edits that row.
  c.SetEndTime();
  rig.list.selected = 0;
  c.EditSubtitle();
  rig.memo.type("The line, corrected");
  EXPECT_EQ(s.Document.row(0).Subtitle, "The line, corrected");
  EXPECT_EQ(s.Document.row(1).Subtitle, "Second");
}

}  // namespace
}  // namespace orlisk::testing
