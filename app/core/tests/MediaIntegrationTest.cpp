// The commands over the real FFmpeg reader and the Qt text painter, on clips
// made at test time.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

#include "FakeSeams.h"
#include "burnin/QtTextTransform.h"
#include "playback/FfmpegVideoReader.h"
#include "tests/fixtures/TestClips.h"

namespace orlisk::testing {
namespace {

namespace clips = orlisk::testclips;

// The frame index a picture shows, read from its centre pixel.
int FrameIndexOf(const Frame& f) {
  std::size_t at = static_cast<std::size_t>(f.Height / 2) * static_cast<std::size_t>(f.Stride) +
                   static_cast<std::size_t>(f.Width / 2) * 4;
  return clips::FrameIndexFromColour(f.Pixels.at(at + 2), f.Pixels.at(at + 1), f.Pixels.at(at));
}

struct WithRealMedia : ::testing::Test {
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "orlisk_core_tests";
    static char* argv[] = {name, nullptr};
    // Kept until the process ends: destroying it from an exit handler, after Qt's
    // own globals are gone, crashes.
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
  }

  FfmpegVideoReader reader;
  QtTextTransform transform;
  Rig rig{&reader, &transform};
  MainState& s = rig.state;
  MainController& c = rig.controller;

  std::string clip(bool audio = true) {
    return clips::MakeClip({.width = 160, .height = 120, .fps = 25, .seconds = 2, .audio = audio});
  }
  void playToTheEnd() {
    for (int tick = 0; tick < 2000 && s.IsPlaying; ++tick) {
      rig.clock.advance(static_cast<std::uint32_t>(rig.timer.interval));
      c.PlaybackTick();
    }
  }
};

TEST_F(WithRealMedia, OpeningShowsTheLengthAndTheFirstPicture) {
  rig.openVideo(clip());
  ASSERT_TRUE(rig.messages.shown.empty()) << rig.lastMessage();
  EXPECT_EQ(rig.skin.videotime, "/ 00:00:02,000");
  EXPECT_EQ(s.Placement.Y, 120 - 63);
  ASSERT_EQ(rig.view.shownFrames.size(), 1u);
  EXPECT_EQ(rig.view.shownFrames[0].Width, 160);
  EXPECT_EQ(FrameIndexOf(s.CurrentFrame), 0);
}

TEST_F(WithRealMedia, ThePlaybarAtHalfWayOpensTheMiddlePicture) {
  rig.skin.playbar = 5000;
  rig.openVideo(clip());
  EXPECT_EQ(FrameIndexOf(s.CurrentFrame), 25);
}

TEST_F(WithRealMedia, PlayingRunsToTheEndThenShowsTheFirstPicture) {
  rig.openVideo(clip());
  rig.view.shownFrames.clear();
  c.Play();
  EXPECT_EQ(rig.timer.interval, 8);
  playToTheEnd();
  EXPECT_FALSE(s.IsPlaying);
  EXPECT_FALSE(s.IsPaused);
  // Every frame once, in order, then the first picture again.
  ASSERT_GE(rig.view.shownFrames.size(), 48u);
  for (std::size_t i = 0; i + 1 < rig.view.shownFrames.size(); ++i)
    EXPECT_EQ(FrameIndexOf(rig.view.shownFrames[i]), static_cast<int>(i));
  EXPECT_EQ(FrameIndexOf(rig.view.shownFrames.back()), 0);
  EXPECT_LE(rig.skin.playbar, 200);
  EXPECT_FALSE(rig.audio.queued.empty());
}

TEST_F(WithRealMedia, ASilentClipPlaysWithoutSound) {
  rig.openVideo(clip(false));
  c.Play();
  for (int i = 0; i < 5; ++i) rig.audio.askForMore();
  EXPECT_TRUE(rig.audio.queued.empty());
  EXPECT_TRUE(s.IsPlaying);
}

TEST_F(WithRealMedia, SelectingARowShowsThePictureAtItsBegin) {
  rig.openVideo(clip());
  rig.addRow(1000, 1500, "one");
  rig.list.selected = 0;
  c.SelectSubtitle();
  EXPECT_EQ(FrameIndexOf(s.CurrentFrame), 25);
  EXPECT_EQ(rig.skin.playbar, 5000);
}

TEST_F(WithRealMedia, TypingDrawsTheTextOnTheStillPicture) {
  rig.openVideo(clip());
  c.InsertSubtitle();
  Frame plain = s.CurrentFrame;
  rig.memo.type("WWWW");
  const Frame& shown = rig.view.shownFrames.back();
  ASSERT_EQ(shown.Pixels.size(), plain.Pixels.size());
  EXPECT_NE(shown.Pixels, plain.Pixels);
  EXPECT_EQ(s.Document.entries()[0].Text, "WWWW");
}

TEST_F(WithRealMedia, AFileThatIsNotAVideoTakesTheFailurePath) {
  rig.messages.answers = {false};
  rig.openVideo(clips::MakeRandomBytesFile("noise.avi"));
  EXPECT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_TRUE(s.VideoPath.empty());
  EXPECT_TRUE(s.NoVideoOpen);
}

}  // namespace
}  // namespace orlisk::testing
