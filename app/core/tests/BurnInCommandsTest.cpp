// The write job's window loop: when it starts, what the window shows while it
// runs, how a stop, a close and a failure end it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "FakeSeams.h"
#include "media/MediaError.h"

namespace orlisk::testing {
namespace {

struct WriteCommand : ::testing::Test {
  Rig rig;
  MainState& s = rig.state;
  MainController& c = rig.controller;
  std::string outFolder = rig.file("out");

  void SetUp() override {
    rig.reader.duration = 2000;
    rig.reader.audioBlocksLeft = 30;
    s.OutputFolder = outFolder;
  }
  int CountCalls(const std::string& prefix) const {
    int n = 0;
    for (const std::string& call : rig.writer.Calls) n += call.rfind(prefix, 0) == 0;
    return n;
  }
  void ExpectIdle() const {
    EXPECT_FALSE(s.IsWriting);
    EXPECT_FALSE(rig.progress.visible);
    EXPECT_FALSE(rig.skin.progressVisible);
    EXPECT_EQ(rig.progress.memoHeightChange, 0);
  }
};

TEST_F(WriteCommand, DoesNothingWithoutAVideoOrWhileAJobRuns) {
  c.WriteSubtitlesToVideo();
  EXPECT_TRUE(rig.writer.Calls.empty());
  rig.openVideo();
  s.IsWriting = true;
  c.WriteSubtitlesToVideo();
  EXPECT_TRUE(rig.writer.Calls.empty());
  EXPECT_TRUE(rig.messages.shown.empty());
}

TEST_F(WriteCommand, WritesEveryFrameIntoANewFileShowingProgressThenGoesIdle) {
  rig.openVideo("clip.avi");
  rig.reader.SeekTo(520);
  const std::int32_t positionBefore = rig.reader.GetPosition();
  rig.addRow(100, 900, "first");
  const std::size_t shownBefore = rig.view.shownFrames.size();
  bool checkedWhileWriting = false;
  rig.events.atRound[3] = [&] {
    EXPECT_TRUE(s.IsWriting);
    EXPECT_TRUE(rig.progress.visible);
    EXPECT_TRUE(rig.skin.progressVisible);
    EXPECT_EQ(rig.progress.memoHeightChange, -13);
    EXPECT_EQ(rig.memo.text(), "The subtitles are written to the video");
    checkedWhileWriting = true;
  };
  c.WriteSubtitlesToVideo();
  EXPECT_TRUE(checkedWhileWriting);

  // Written under a hidden name beside it, then given its name.
  const std::string output = outFolder + "/clip.avi";
  EXPECT_EQ(CountCalls("CreateOutput(" + outFolder + "/.clip.avi.orlisk-partial-"), 1);
  EXPECT_TRUE(fs::exists(output));
  EXPECT_EQ(CountCalls("CloseSource"), 1);
  EXPECT_EQ(rig.writer.FramesWritten, 50);
  // Every written frame, then the still picture again under the completion text.
  EXPECT_EQ(rig.view.shownFrames.size() - shownBefore, 51u);
  EXPECT_EQ(rig.events.rounds % 2, 0);  // twice per pass
  EXPECT_GE(rig.events.rounds, 100);
  ASSERT_FALSE(rig.progress.positions.empty());
  EXPECT_TRUE(std::is_sorted(rig.progress.positions.begin(), rig.progress.positions.end()));
  // From the start, then back to the picture shown before.
  ASSERT_GE(rig.reader.seeks.size(), 2u);
  EXPECT_EQ(rig.reader.seeks[rig.reader.seeks.size() - 2], 0);
  EXPECT_EQ(rig.reader.seeks.back(), positionBefore);
  EXPECT_EQ(rig.memo.text(), "Subtitles write complete");
  EXPECT_EQ(rig.desktop.shown, std::vector<std::string>{output});
  EXPECT_EQ(s.PreviewCount, 1);
  ExpectIdle();
  EXPECT_TRUE(fs::is_directory(outFolder));
}

TEST_F(WriteCommand, AnExistingNameGetsNew1AndTheFileManagerStaysClosedWhenNotWanted) {
  rig.openVideo("clip.avi");
  fs::create_directories(outFolder);
  std::ofstream(outFolder + "/clip.avi") << "earlier";
  s.AutoOpenOutput = false;
  c.WriteSubtitlesToVideo();
  EXPECT_TRUE(fs::exists(outFolder + "/New_1clip.avi"));
  EXPECT_EQ(fs::file_size(outFolder + "/clip.avi"), 7u);  // "earlier"
  EXPECT_TRUE(rig.desktop.shown.empty());
}

TEST_F(WriteCommand, StopAnsweredNoGoesOnYesEndsWithinOnePassAndClosesTheFileOnce) {
  rig.openVideo();
  rig.events.atRound[5] = [&] {
    rig.messages.answers = {false};
    c.StopWriting();
    EXPECT_TRUE(s.IsWriting);
  };
  std::int64_t framesAtStop = 0;
  rig.events.atRound[20] = [&] {
    rig.messages.answers = {true};
    c.StopWriting();
    framesAtStop = rig.writer.FramesWritten;
  };
  c.WriteSubtitlesToVideo();
  EXPECT_EQ(rig.writer.FramesWritten, framesAtStop);
  EXPECT_LT(framesAtStop, 50);
  EXPECT_EQ(CountCalls("CloseSource"), 1);
  EXPECT_EQ(rig.writer.Calls.back(), "CloseSource()");
  EXPECT_EQ(rig.messages.shown.at(0).text, "Stop writing? The new video will end where it was stopped.");
  EXPECT_EQ(rig.memo.text(), "Subtitles write complete");
  ExpectIdle();
}

TEST_F(WriteCommand, AConfirmedCloseFinishesTheFileAndNothingTouchesReaderOrWriterAfter) {
  rig.openVideo();
  std::size_t callsAfterClose = 0;
  int readsAfterClose = 0;
  bool closed = false;
  rig.events.atRound[10] = [&] {
    closed = c.FormCloseQuery();
    callsAfterClose = rig.writer.Calls.size();
    readsAfterClose = rig.reader.reads;
  };
  c.WriteSubtitlesToVideo();
  EXPECT_TRUE(closed);
  EXPECT_EQ(rig.writer.Calls.size(), callsAfterClose);
  EXPECT_EQ(rig.reader.reads, readsAfterClose);
  EXPECT_EQ(CountCalls("CloseSource"), 1);
  EXPECT_TRUE(fs::exists(outFolder + "/clip.avi"));  // put in place by the close
  EXPECT_TRUE(rig.desktop.shown.empty());
  ExpectIdle();
}

TEST_F(WriteCommand, AFailedCreationReachesTheCallerAndLeavesTheWindowIdle) {
  rig.openVideo();
  rig.writer.FailCreateWith = "Cannot create: Not a directory";
  EXPECT_THROW(c.WriteSubtitlesToVideo(), MediaError);
  ExpectIdle();
  EXPECT_EQ(CountCalls("CloseSource"), 0);
  // The next attempt starts normally.
  rig.writer.FailCreateWith.clear();
  c.WriteSubtitlesToVideo();
  EXPECT_EQ(rig.writer.FramesWritten, 50);
}

TEST_F(WriteCommand, AnEncodingFailureHalfWayLeavesNothingAndGoesIdle) {
  rig.openVideo();
  rig.writer.FailAtFrame = 10;
  EXPECT_THROW(c.WriteSubtitlesToVideo(), MediaError);
  ExpectIdle();
  EXPECT_EQ(CountCalls("CloseSource"), 1);
  EXPECT_TRUE(fs::is_empty(outFolder));  // neither a broken video nor its partial
}

TEST_F(WriteCommand, TheStatusTextIsNeverTakenForTheSubtitleBeingTyped) {
  rig.openVideo();
  rig.addRow(100, 900, "typed");
  rig.list.selectRow(0);
  c.WriteSubtitlesToVideo();
  c.RefreshFrame();
  EXPECT_EQ(s.Document.entries().at(0).Text, "typed");
}

}  // namespace
}  // namespace orlisk::testing
