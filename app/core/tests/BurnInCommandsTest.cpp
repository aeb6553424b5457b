// The write job's window loop: when it starts, what the window shows while it
// runs, how a stop, a close and a failure end it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <optional>

#include "FakeSeams.h"
#include "media/MediaError.h"
#include "settings/SoftSubtitleSetting.h"
#include "tests/fixtures/TestClips.h"

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
    EXPECT_EQ(rig.memo.status, "The subtitles are written to the video");
    EXPECT_EQ(rig.memo.text(), "");
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
  // Every written frame, then the still picture again.
  EXPECT_EQ(rig.view.shownFrames.size() - shownBefore, 51u);
  EXPECT_EQ(rig.events.rounds % 2, 0);  // twice per pass
  EXPECT_GE(rig.events.rounds, 100);
  ASSERT_FALSE(rig.progress.positions.empty());
  EXPECT_TRUE(std::is_sorted(rig.progress.positions.begin(), rig.progress.positions.end()));
  // From the start, then back to the picture shown before.
  ASSERT_GE(rig.reader.seeks.size(), 2u);
  EXPECT_EQ(rig.reader.seeks[rig.reader.seeks.size() - 2], 0);
  EXPECT_EQ(rig.reader.seeks.back(), positionBefore);
  EXPECT_EQ(rig.memo.status, "Subtitles write complete");
  EXPECT_EQ(rig.desktop.shown, std::vector<std::string>{output});
  EXPECT_EQ(s.PreviewCount, 1);
  ExpectIdle();
  EXPECT_TRUE(fs::is_directory(outFolder));
}

TEST_F(WriteCommand, AddedAsATrackTheVideoIsCopiedAndAnMp4ThatCannotHoldItIsOfferedAsMkv) {
  const std::string clip = orlisk::testclips::MakeClip({.seconds = 2});  // AVI with PCM sound
  rig.openVideo(clip);
  rig.addRow(100, 900, "first");
  struct Row {
    std::int32_t container;
    std::deque<bool> answers;
    std::size_t questions;
    const char* written;  // nullptr: nothing
  };
  const Row rows[] = {{0, {}, 0, ".mkv"}, {1, {false}, 1, nullptr}, {1, {true}, 1, ".mkv"}};
  for (const Row& row : rows) {
    fs::remove_all(outFolder);
    rig.messages.shown.clear();
    rig.messages.answers = row.answers;
    WriteSoftSubtitleSetting(rig.settings, {.AddAsTrack = true, .Container = row.container});
    c.WriteSubtitlesToVideo();
    ASSERT_EQ(rig.messages.shown.size(), row.questions);
    if (row.questions) {
      EXPECT_EQ(rig.lastMessage().rfind("The source's sound (pcm_s16le) cannot go into MP4", 0), 0u);
    }
    const fs::path output = fs::path(outFolder) / fs::path(clip).filename().replace_extension(row.written ? row.written : "");
    EXPECT_EQ(fs::exists(output), row.written != nullptr) << output;
    if (row.written) {
      EXPECT_EQ(rig.memo.status, "Subtitles write complete");
    }
    EXPECT_EQ(CountCalls("CreateOutput"), 0);
    ExpectIdle();
  }
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
  std::int32_t endAtStop = 0;
  rig.events.atRound[20] = [&] {
    rig.messages.answers = {true};
    c.StopWriting();
    framesAtStop = rig.writer.FramesWritten;
    endAtStop = std::max(rig.writer.GetPosition(), rig.writer.GetAudioPosition());
  };
  c.WriteSubtitlesToVideo();
  EXPECT_EQ(rig.writer.FramesWritten, framesAtStop);
  EXPECT_LT(framesAtStop, 50);
  EXPECT_EQ(CountCalls("CloseSource"), 1);
  EXPECT_EQ(rig.writer.Calls.back(), "CloseSource()");
  EXPECT_EQ(rig.messages.shown.at(0).text, "Stop writing? The new video will end where it was stopped.");
  // Not "complete": where the new video ends instead.
  EXPECT_GT(endAtStop, 0);
  EXPECT_EQ(rig.memo.status, "Writing stopped: the new video ends at " + FormatSubtitleTime(endAtStop));
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

TEST_F(WriteCommand, AnOutputThatCannotBeMadeIsNamedAnotherFolderOfferedAndTheWindowIdle) {
  struct Row {
    const char* name;
    bool yes;
    std::optional<std::string> chosen;
    std::string folderAfter;
  };
  const std::string other = rig.file("other");
  for (const Row& row : {Row{"another folder", true, other, other}, Row{"dialog cancelled", true, {}, outFolder},
                         Row{"no other folder", false, {}, outFolder}}) {
    Rig r;
    r.state.OutputFolder = outFolder;
    r.openVideo("talk.avi");
    r.reader.SeekTo(520);
    const std::int32_t stillAt = r.reader.GetPosition();
    r.writer.FailCreateWith = "Cannot create " + outFolder + "/talk.avi: Read-only file system";
    r.messages.answers = {row.yes};
    r.dialogs.nextFolder = row.chosen;
    const std::size_t shownBefore = r.view.shownFrames.size();
    r.controller.WriteSubtitlesToVideo();
    ASSERT_EQ(r.messages.shown.size(), 1u) << row.name;
    EXPECT_EQ(r.messages.shown[0].kind, "question");
    EXPECT_EQ(r.messages.shown[0].text, "Cannot create " + outFolder +
                                            "/talk.avi: Read-only file system\n\nChoose another output folder for "
                                            "the new video?");
    EXPECT_EQ(r.dialogs.startFolders.size(), row.yes ? 2u : 1u) << row.name;  // the open video's dialog first
    EXPECT_EQ(r.state.OutputFolder, row.folderAfter) << row.name;
    EXPECT_EQ(r.settings.readString("Output", "Path", outFolder), row.folderAfter) << row.name;
    // Idle: no job, nothing of it on the window, the still picture without the status.
    EXPECT_FALSE(r.state.IsWriting);
    EXPECT_FALSE(r.progress.visible);
    EXPECT_FALSE(r.skin.progressVisible);
    EXPECT_EQ(r.progress.memoHeightChange, 0);
    EXPECT_EQ(r.memo.status, "") << row.name;
    EXPECT_EQ(r.state.AtHand.Status(), "");
    EXPECT_EQ(r.view.shownFrames.size(), shownBefore + 1) << row.name;
    EXPECT_EQ(r.reader.GetPosition(), stillAt);
  }
}

TEST_F(WriteCommand, AnEncodingFailureHalfWayLeavesNothingAndGoesIdle) {
  rig.openVideo();
  rig.writer.FailAtFrame = 10;
  EXPECT_THROW(c.WriteSubtitlesToVideo(), MediaError);
  ExpectIdle();
  EXPECT_EQ(CountCalls("CloseSource"), 1);
  EXPECT_TRUE(fs::is_empty(outFolder));  // neither a broken video nor its partial
}

// The memo's status stands there only while nothing is at hand: it is never
// drawn on a picture (the still one or played ones) nor taken into a
// subtitle, and it goes when a video opens or a subtitle is taken up.
TEST(WriteStatus, IsNeverDrawnNorCapturedAndGoesWhenEditingResumes) {
  struct Row {
    const char* name;
    std::function<void(UserSession&)> then;
    bool statusStays;
  };
  const Row rows[] = {
      {"play on",
       [](UserSession& u) {
         u.user([&] { u.c.Play(); });
         for (int tick = 0; tick < 10; ++tick) {
           u.rig.clock.advance(40);
           u.c.PlaybackTick();
         }
       },
       true},
      {"insert", [](UserSession& u) { u.user([&] { u.c.InsertSubtitle(); }); }, false},
      {"pick a row",
       [](UserSession& u) {
         u.rig.list.selectRow(0);
         u.user([&] { u.c.SelectSubtitle(); });
       },
       false},
      {"open a video", [](UserSession& u) { u.user([&] { u.rig.openVideo("other.avi"); }); }, false},
  };
  for (const Row& row : rows) {
    UserSession u;
    u.rig.reader.duration = 2000;
    u.rig.reader.audioBlocksLeft = 30;
    u.s.OutputFolder = u.rig.file("out");
    u.user([&] { u.c.InsertSubtitle(); });
    u.type("typed");
    u.user([&] { u.c.WriteSubtitlesToVideo(); });
    EXPECT_EQ(u.s.AtHand.Status(), "Subtitles write complete") << row.name;
    EXPECT_EQ(u.rig.memo.text(), "");
    row.then(u);
    EXPECT_EQ(u.s.AtHand.Status(), row.statusStays ? "Subtitles write complete" : "") << row.name;
    const auto isStatus = [](const std::string& text) {
      return text.find("written") != std::string::npos || text.find("complete") != std::string::npos;
    };
    for (const CountingTransform::Drawn& drawn : u.rig.transform.draws)
      EXPECT_FALSE(isStatus(drawn.text)) << row.name << ": " << drawn.text;
    for (const SubtitleEntry& entry : u.s.Document.entries()) EXPECT_FALSE(isStatus(entry.Text)) << row.name;
  }
}

}  // namespace
}  // namespace orlisk::testing
