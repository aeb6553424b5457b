#include <gtest/gtest.h>

#include <cstdlib>

#include "FakeSeams.h"

namespace orlisk::testing {
namespace {

constexpr const char* kUnsupported =
    "Does not support this video files, you need to use video converter to convert, the need for "
    "recommendations?";

struct OpenVideo : ::testing::Test {
  Rig rig;
  MainState& s = rig.state;
  MainController& c = rig.controller;
};

TEST_F(OpenVideo, ShowsLengthFirstPictureAndResetsPlacementAndList) {
  rig.reader.duration = 83456;
  rig.addRow(1000, 2000, "old");
  s.Document.markSaved();  // no save question first
  s.SubtitleCursor = 3;
  rig.openVideo("film.avi");
  EXPECT_EQ(s.VideoPath, rig.file("film.avi"));
  EXPECT_FALSE(s.NoVideoOpen);
  EXPECT_EQ(rig.skin.videotime, "/ 00:01:23,456");
  EXPECT_TRUE(rig.view.visible);
  EXPECT_EQ(s.Placement.X, 10);
  EXPECT_EQ(s.Placement.Y, 240 - 63);
  EXPECT_EQ(s.Placement.DrawLevel, 240);
  EXPECT_EQ(s.SubtitleCursor, 0);
  EXPECT_EQ(s.Document.rowCount(), 0);
  EXPECT_EQ(s.Document.entries().size(), 1u);  // the entries are left for the next insert
  ASSERT_EQ(rig.view.shownFrames.size(), 1u);
  EXPECT_EQ(FakeVideoReader::FrameTime(s.CurrentFrame), 0);
  EXPECT_TRUE(rig.messages.shown.empty());
}

TEST_F(OpenVideo, TheStartingFolderIsHomeThenTheLastChoice) {
  rig.openVideo("a.avi");
  EXPECT_EQ(rig.dialogs.startFolders.back(), (rig.folder.path() / "home").string());
  EXPECT_EQ(rig.settings.readString("OpenDialog1", "InitialDir", ""), rig.folder.path().string());
  rig.openVideo("sub/b.avi");
  rig.openVideo("c.avi");
  EXPECT_EQ(rig.dialogs.startFolders.back(), (rig.folder.path() / "sub").string());
}

TEST_F(OpenVideo, TheFilterKeepsEveryEntryAndAddsTodaysFormats) {
  rig.openVideo();
  EXPECT_EQ(rig.dialogs.filters.back(),
            "All Support Format|*.avi;*.mpg;*.mpeg;*.wmv;*.asf;*.asx;*.mov;*.dat;*.qt;*.mp4;*.m4v;*.mkv;"
            "*.webm;*.flv;*.ts;*.m2ts;*.vob;*.3gp;*.ogv;|WMV Format|*.wmv;|MPEG Format|*.mpg;*.mpeg;|"
            "AVI Format|*.avi;|Quick Time Format|*.qt;*.mov;|VCD Format|*.dat;|ASF Format|*.asf;|"
            "ASX Format|*.asx;|All File|*.*;");
}

TEST_F(OpenVideo, CancellingChangesNothingNotEvenTheFolder) {
  rig.addRow(1000, 2000, "kept");
  c.OpenVideo();
  EXPECT_TRUE(s.VideoPath.empty());
  EXPECT_TRUE(s.NoVideoOpen);
  EXPECT_EQ(rig.reader.opens, 0);
  EXPECT_EQ(s.Document.rowCount(), 1);
  EXPECT_FALSE(std::filesystem::exists(rig.folder.path() / "orlisk.ini"));
}

TEST_F(OpenVideo, RefusesWhileWriting) {
  s.IsWriting = true;
  rig.openVideo();
  EXPECT_EQ(rig.lastMessage(), "The subtitles are written to the video. please first stop writing.");
  EXPECT_EQ(rig.reader.opens, 0);
  EXPECT_EQ(rig.dialogs.startFolders.size(), 0u);
}

TEST_F(OpenVideo, AFileThatCannotBeOpenedNamesItOffersTheFormatsPageAndForgetsIt) {
  struct Row {
    bool answer;
    std::size_t urls;
  };
  for (Row row : {Row{true, 1}, Row{false, 0}}) {
    Rig r;
    r.reader.failOpen = true;
    r.messages.answers = {row.answer};
    r.openVideo("broken.avi");
    ASSERT_EQ(r.messages.shown.size(), 1u);
    EXPECT_EQ(r.messages.shown[0].kind, "question");
    EXPECT_EQ(r.messages.shown[0].text, r.file("broken.avi") + "\n\n" + kUnsupported);
    ASSERT_EQ(r.desktop.urls.size(), row.urls);
    if (row.answer) {
      EXPECT_EQ(r.desktop.urls[0], (r.folder.path() / "program" / "help" / "en" / "faq.htm").string());
    }
    EXPECT_TRUE(r.state.VideoPath.empty());
    EXPECT_TRUE(r.state.NoVideoOpen);
    EXPECT_GE(r.reader.closes, 1);
    // Commands needing a video now ask for one.
    r.controller.Play();
    EXPECT_EQ(r.lastMessage(), "Please first add video file, and then play the video file.");
  }
}

TEST_F(OpenVideo, AFailedOpenAfterAGoodOneLeavesNoTraceOfTheOldVideoButKeepsTheList) {
  Rig r;
  r.openVideo("good.avi");
  r.controller.InsertSubtitle();
  r.memo.type("kept");
  r.skin.playbar = 5000;
  r.controller.PlaybarRelease();
  r.reader.failOpen = true;
  r.messages.answers = {false};
  r.openVideo("notavideo.mp4");
  EXPECT_TRUE(r.state.NoVideoOpen);
  EXPECT_TRUE(r.state.VideoPath.empty());
  EXPECT_TRUE(r.state.CurrentFrame.empty());
  EXPECT_FALSE(r.view.visible);
  EXPECT_EQ(r.skin.videotime, "/ 00:00:00,000");
  EXPECT_EQ(r.skin.playtime, "00:00:00,000");
  EXPECT_EQ(r.skin.playbar, 0);
  ASSERT_EQ(r.state.Document.rowCount(), 1);
  EXPECT_EQ(r.state.Document.row(0).Subtitle, "kept");
}

TEST_F(OpenVideo, AFailedOpenEndsThePlaybackOfTheClosedVideo) {
  enum class Before { Playing, Paused, Stopped };
  for (Before before : {Before::Playing, Before::Paused, Before::Stopped}) {
    Rig r;
    r.openVideo("good.avi");
    if (before != Before::Stopped) r.controller.Play();
    if (before == Before::Paused) r.controller.Pause();
    r.reader.failOpen = true;
    r.messages.answers = {false};
    // The question box is modal: a timer expiry due meanwhile is handled.
    r.messages.whileOpen = [&r] {
      if (!r.timer.active) return;
      r.clock.advance(static_cast<std::uint32_t>(r.timer.interval));
      r.controller.PlaybackTick();
    };
    EXPECT_NO_THROW(r.openVideo("broken.avi")) << static_cast<int>(before);
    EXPECT_FALSE(r.timer.active) << static_cast<int>(before);
    EXPECT_FALSE(r.state.IsPlaying) << static_cast<int>(before);
    EXPECT_FALSE(r.state.IsPaused) << static_cast<int>(before);
    if (before == Before::Playing) {
      EXPECT_GE(r.audio.stops, 1);
    }
    // The sound player's late request finds nothing to read from.
    r.messages.whileOpen = nullptr;
    EXPECT_NO_THROW(r.audio.askForMore());
  }
}

TEST_F(OpenVideo, OpeningAnotherVideoWhilePlayingPlaysItOnWithItsOwnClockAndSound) {
  rig.reader.duration = 20000;
  rig.openVideo("a.avi");
  rig.skin.playbar = 5000;
  c.Play();
  rig.clock.advance(3000);  // the old video's clock runs on
  rig.reader.sampleRate = 22050;
  rig.reader.channels = 1;
  rig.openVideo("b.avi");
  EXPECT_TRUE(s.IsPlaying);
  EXPECT_TRUE(rig.timer.active);
  EXPECT_EQ(rig.audio.rate, 22050);
  EXPECT_EQ(rig.audio.channels, 1);
  EXPECT_EQ(s.PlayStartTick, rig.clock.now);
  EXPECT_EQ(s.PlayStartPosition, rig.reader.GetPosition());
  EXPECT_EQ(rig.skin.playbar, 5000);
}

TEST_F(OpenVideo, TheSoundBehindThePlaybarFollowsEachVideoOpened) {
  rig.reader.duration = 83456;
  c.OpenVideo();  // cancelled
  s.IsWriting = true;
  rig.openVideo("refused.avi");
  s.IsWriting = false;
  EXPECT_TRUE(rig.waveform.calls.empty());

  rig.openVideo("first.avi");
  rig.openVideo("second.avi");
  rig.reader.failOpen = true;
  rig.messages.answers = {false};
  rig.openVideo("broken.avi");
  const std::vector<std::string> expected = {"forget", "show " + rig.file("first.avi") + " 83456",
                                             "forget", "show " + rig.file("second.avi") + " 83456",
                                             "forget"};
  EXPECT_EQ(rig.waveform.calls, expected);
}

TEST_F(OpenVideo, ASecondOpenClosesTheFirst) {
  rig.openVideo("a.avi");
  EXPECT_EQ(rig.reader.closes, 0);
  rig.openVideo("b.avi");
  EXPECT_EQ(rig.reader.closes, 1);
  EXPECT_EQ(rig.reader.opens, 2);
  EXPECT_EQ(s.VideoPath, rig.file("b.avi"));
}

TEST_F(OpenVideo, ThePlaybarAtHalfWayOpensTheMiddle) {
  rig.skin.playbar = 5000;
  rig.reader.duration = 20000;
  rig.openVideo();
  EXPECT_EQ(rig.reader.seeks.back(), 10000);
  EXPECT_EQ(FakeVideoReader::FrameTime(s.CurrentFrame), 10000);
  EXPECT_EQ(rig.skin.playbar, 5000);
}

TEST_F(OpenVideo, SiteAddressComesFromTheEnvironmentWhenSet) {
  ::unsetenv("ORLISK_SITE_URL");
  EXPECT_EQ(SiteUrl(), "https://www.veldrane-orlisk.com");
  ::setenv("ORLISK_SITE_URL", "http://127.0.0.1:8123/", 1);
  EXPECT_EQ(SiteUrl(), "http://127.0.0.1:8123");
  ::unsetenv("ORLISK_SITE_URL");
}

}  // namespace
}  // namespace orlisk::testing
