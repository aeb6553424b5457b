#include <gtest/gtest.h>

#include "FakeSeams.h"

namespace orlisk::testing {
namespace {

// A rig with a ten-second video open.
struct Player {
  Rig rig;
  MainState& s = rig.state;
  MainController& c = rig.controller;
  Player() { rig.openVideo(); }
  // Lets `ms` of wall time pass in ticks of the timer's interval.
  void run(std::uint32_t ms) {
    for (std::uint32_t t = 0; t < ms && rig.timer.active; t += static_cast<std::uint32_t>(rig.timer.interval)) {
      rig.clock.advance(static_cast<std::uint32_t>(rig.timer.interval));
      c.PlaybackTick();
    }
  }
  enum class Mode { Stopped, Playing, Paused };
  Mode mode() const {
    EXPECT_FALSE(s.IsPlaying && s.IsPaused);
    EXPECT_EQ(rig.timer.active, s.IsPlaying);
    return s.IsPlaying ? Mode::Playing : s.IsPaused ? Mode::Paused : Mode::Stopped;
  }
};

struct Transport : ::testing::Test, Player {};
using Mode = Player::Mode;

TEST_F(Transport, StateTable) {
  using Step = std::function<void(Player&)>;
  struct Row {
    const char* name;
    std::vector<Step> steps;
    Mode expected;
  };
  auto play = [](Player& t) { t.c.Play(); };
  auto pause = [](Player& t) { t.c.Pause(); };
  auto stop = [](Player& t) { t.c.StopPlayback(); };
  auto press = [](Player& t) { t.c.PlaybarPress(); };
  auto release = [](Player& t) { t.c.PlaybarRelease(); };
  std::vector<Row> rows = {
      {"play", {play}, Mode::Playing},
      {"pause while playing", {play, pause}, Mode::Paused},
      {"pause again resumes", {play, pause, pause}, Mode::Playing},
      {"play resumes a pause", {play, pause, play}, Mode::Playing},
      {"pause while stopped", {pause}, Mode::Stopped},
      {"stop while playing", {play, stop}, Mode::Stopped},
      {"stop while paused", {play, pause, stop}, Mode::Stopped},
      {"press while stopped", {press}, Mode::Paused},
      {"press and release while playing", {play, press, release}, Mode::Playing},
      {"press and release while stopped", {press, release}, Mode::Paused},
      {"press and release while paused", {play, pause, press, release}, Mode::Paused},
  };
  for (const Row& row : rows) {
    Player t;
    for (const Step& step : row.steps) step(t);
    EXPECT_EQ(t.mode(), row.expected) << row.name;
    EXPECT_TRUE(t.rig.messages.shown.empty()) << row.name;
  }
}

TEST_F(Transport, PlayRefusesWithoutVideoOrWhileWriting) {
  Rig none;
  none.controller.Play();
  EXPECT_EQ(none.lastMessage(), "Please first add video file, and then play the video file.");
  EXPECT_FALSE(none.state.IsPlaying);
  s.IsWriting = true;
  c.Play();
  EXPECT_EQ(rig.lastMessage(), "The subtitles are written to the video. please first stop writing.");
  EXPECT_FALSE(s.IsPlaying);
}

TEST_F(Transport, PlaySeeksToThePlaybarAndStartsTheClock) {
  rig.skin.playbar = 2500;
  c.Play();
  EXPECT_EQ(rig.reader.seeks.back(), 2500);
  EXPECT_EQ(s.PlayStartPosition, 2480);  // the frame at or before
  EXPECT_EQ(s.PlayStartTick, rig.clock.now);
  EXPECT_EQ(rig.audio.rate, 44100);
  EXPECT_EQ(rig.audio.channels, 2);
  EXPECT_EQ(rig.audio.starts, 1);
  EXPECT_EQ(rig.audio.queued.size(), 1u);
}

TEST(TransportFrameSize, PlayAsksForPicturesAtTheSizeTheViewShowsThem) {
  struct Row {
    int videoWidth, videoHeight;
    std::pair<int, int> asked;
    PixelAspect aspect = {};
  };
  for (Row row : {Row{1920, 1080, {566, 318}}, Row{320, 240, {504, 378}}, Row{566, 378, {566, 378}},
                  Row{160, 90, {566, 318}}, Row{720, 576, {566, 311}, {16, 11}}}) {
    Rig r;
    r.reader.width = row.videoWidth;
    r.reader.height = row.videoHeight;
    r.reader.aspect = row.aspect;
    r.openVideo();
    r.controller.Play();
    ASSERT_FALSE(r.reader.frameSizes.empty());
    EXPECT_EQ(r.reader.frameSizes.back(), row.asked) << row.videoWidth << "x" << row.videoHeight;
  }
}

TEST_F(Transport, PlayWhilePlayingDoesNothing) {
  c.Play();
  auto seeks = rig.reader.seeks.size();
  c.Play();
  EXPECT_EQ(rig.reader.seeks.size(), seeks);
  EXPECT_EQ(rig.timer.starts, 1);
}

TEST_F(Transport, ResumingAfterPauseRestartsFromThePlaybar) {
  c.Play();
  run(1000);
  c.Pause();
  int bar = rig.skin.playbar;
  EXPECT_GT(bar, 0);
  c.Pause();
  EXPECT_TRUE(s.IsPlaying);
  EXPECT_EQ(rig.reader.seeks.back(), MulDiv(bar, 10000, 10000));
}

TEST_F(Transport, TimerIntervalIsFiveTicksPerFrameRoundedHalfToEven) {
  struct Row {
    double fps;
    int interval;
  };
  for (Row row : {Row{25, 8}, Row{15, 13}, Row{30, 7}, Row{80, 2}, Row{16, 12}, Row{0, 8}}) {
    // 200/80 = 2.5 rounds to 2; 200/16 = 12.5 rounds to 12; an unknown rate plays at 25.
    Rig r;
    r.reader.fps = row.fps > 0 ? row.fps : 25;
    r.openVideo();
    if (row.fps == 0) r.reader.fps = 0;
    r.controller.Play();
    EXPECT_EQ(r.timer.interval, row.interval) << row.fps;
  }
}

TEST_F(Transport, TicksShowOneFrameWhenItIsDueAndFollowWithPlaybarAndTime) {
  rig.view.shownFrames.clear();  // the picture shown on opening
  c.Play();
  rig.clock.advance(8);
  c.PlaybackTick();  // frame 0 is due at once
  ASSERT_EQ(rig.view.shownFrames.size(), 1u);
  rig.clock.advance(8);
  c.PlaybackTick();  // frame 40 is not yet due
  EXPECT_EQ(rig.view.shownFrames.size(), 1u);
  run(1000);
  EXPECT_NEAR(static_cast<double>(rig.view.shownFrames.size()), 26, 1);
  // The time of the picture shown, not of the frame after it.
  const std::int32_t shown = FakeVideoReader::FrameTime(rig.view.shownFrames.back());
  EXPECT_EQ(rig.skin.playtime, FormatSubtitleTime(shown));
  EXPECT_EQ(rig.skin.playbar, MulDiv(shown, 10000, 10000));
}

TEST_F(Transport, ALateClockPassesOverTheFramesItHasLeftBehindAndShowsTheDueOne) {
  rig.view.shownFrames.clear();
  c.Play();
  rig.clock.advance(1000);
  c.PlaybackTick();
  ASSERT_EQ(rig.view.shownFrames.size(), 1u);
  EXPECT_EQ(FakeVideoReader::FrameTime(rig.view.shownFrames.back()), 1000);
  EXPECT_EQ(rig.reader.skips, 25);
  EXPECT_EQ(rig.skin.playtime, "00:00:01,000");
  c.PlaybackTick();  // the frame at 1040 is not yet due
  EXPECT_EQ(rig.view.shownFrames.size(), 1u);
}

TEST_F(Transport, TheClockSurvivesTheTickCountWrapping) {
  rig.clock.now = 0xFFFFFF00u;
  rig.view.shownFrames.clear();
  c.Play();
  rig.clock.advance(0x200);  // wraps
  c.PlaybackTick();
  EXPECT_EQ(s.PlayClock, 0x200);
  EXPECT_EQ(rig.view.shownFrames.size(), 1u);
}

TEST_F(Transport, EndOfVideoStopsAndShowsTheFirstPicture) {
  rig.skin.playbar = 9800;
  c.Play();
  run(2000);
  EXPECT_FALSE(s.IsPlaying);
  EXPECT_FALSE(rig.timer.active);
  EXPECT_EQ(rig.reader.seeks.back(), 0);
  EXPECT_EQ(FakeVideoReader::FrameTime(rig.view.shownFrames.back()), 0);
  EXPECT_EQ(rig.skin.playbar, 0);
  EXPECT_EQ(rig.skin.playtime, "00:00:00,000");
  EXPECT_GE(rig.view.clears, 1);
}

TEST_F(Transport, AStreamShorterThanItsDurationAlsoEnds) {
  rig.reader.framesEndAt = 9500;  // the container claims ten seconds
  rig.skin.playbar = 9000;
  c.Play();
  run(1000);
  EXPECT_FALSE(s.IsPlaying);
  EXPECT_FALSE(rig.timer.active);
  for (const Frame& f : rig.view.shownFrames) EXPECT_FALSE(f.empty());
  EXPECT_EQ(FakeVideoReader::FrameTime(rig.view.shownFrames.back()), 0);
}

TEST_F(Transport, FastJumpsClampAtBothEnds) {
  struct Row {
    int startBar;
    bool forward;
    int expectedBar;
  };
  for (Row row : {Row{300, false, 0}, Row{6000, false, 1000}, Row{9700, true, 10000}, Row{2000, true, 7000}}) {
    Rig r;
    r.openVideo();
    r.skin.playbar = row.startBar;
    r.controller.Play();
    if (row.forward) {
      r.controller.FastForward();
    } else {
      r.controller.FastBack();
    }
    int position = MulDiv(row.startBar, 10000, 10000) / 40 * 40;
    int expected = std::clamp(MulDiv(position + (row.forward ? 5000 : -5000), 10000, 10000), 0, 10000);
    EXPECT_EQ(expected, row.expectedBar);
    EXPECT_EQ(r.skin.playbar, row.expectedBar);
    EXPECT_TRUE(r.state.IsPlaying);
    EXPECT_EQ(r.reader.seeks.back(), row.expectedBar);
  }
}

TEST_F(Transport, FastForwardInTheLastSecondsStopsOnTheNextTick) {
  rig.skin.playbar = 9000;
  c.Play();
  c.FastForward();
  run(100);
  EXPECT_FALSE(s.IsPlaying);
}

TEST_F(Transport, FastJumpsWhilePausedOrStoppedDoNothing) {
  c.FastForward();
  EXPECT_FALSE(s.IsPlaying);
  c.Play();
  c.Pause();
  int bar = rig.skin.playbar;
  c.FastBack();
  c.FastForward();
  EXPECT_TRUE(s.IsPaused);
  EXPECT_EQ(rig.skin.playbar, bar);
}

TEST_F(Transport, FastJumpsRefuseWhileWriting) {
  s.IsWriting = true;
  c.FastBack();
  EXPECT_EQ(rig.lastMessage(), "The subtitles are written to the video. please first stop writing.");
}

TEST_F(Transport, ASilentVideoQueuesNothing) {
  rig.reader.sampleRate = 0;
  rig.reader.channels = 0;
  c.Play();
  rig.audio.askForMore();
  EXPECT_TRUE(rig.audio.queued.empty());
  EXPECT_TRUE(s.IsPlaying);
}

TEST_F(Transport, TheAudioPlayerIsFedOnRequestOnlyWhilePlaying) {
  c.Play();
  rig.audio.askForMore();
  EXPECT_EQ(rig.audio.queued.size(), 2u);
  c.Pause();
  rig.audio.askForMore();
  EXPECT_EQ(rig.audio.queued.size(), 2u);
}

TEST_F(Transport, PauseEmptiesAndFocusesTheMemoInEditModeAndKeepsThePicture) {
  c.Play();
  run(200);
  auto shown = rig.view.shownFrames.size();
  rig.memo.content = "abc";
  c.Pause();
  EXPECT_EQ(rig.memo.content, "");
  EXPECT_TRUE(rig.memo.enabled);
  EXPECT_EQ(rig.view.shownFrames.size(), shown);  // no redraw of the still picture
}

TEST_F(Transport, DraggingThePlaybarWhileStoppedShowsTheTimeAndReleaseShowsTheFrame) {
  c.PlaybarPress();
  rig.skin.playbar = 5000;
  c.PlaybarDrag();
  EXPECT_EQ(rig.skin.playtime, "00:00:05,000");
  c.PlaybarRelease();
  EXPECT_FALSE(s.IsPlaying);
  EXPECT_EQ(FakeVideoReader::FrameTime(s.CurrentFrame), 5000);
  EXPECT_EQ(FakeVideoReader::FrameTime(rig.view.shownFrames.back()), 5000);
}

TEST_F(Transport, StopIsSilentWithoutVideo) {
  Rig none;
  none.controller.StopPlayback();
  none.controller.Pause();
  EXPECT_TRUE(none.messages.shown.empty());
  EXPECT_EQ(none.view.clears, 0);
}

TEST_F(Transport, StopShowsTheStartTimeAndTheStartPictureIsWhatADragRedraws) {
  rig.skin.playbar = 5000;
  c.Play();
  run(1000);
  ASSERT_NE(rig.skin.playtime, "00:00:00,000");
  c.StopPlayback();  // F6
  EXPECT_EQ(rig.skin.playtime, "00:00:00,000");
  EXPECT_EQ(FakeVideoReader::FrameTime(s.CurrentFrame), 0);
  // Play starts from the start again, not from one frame in.
  c.Play();
  EXPECT_EQ(rig.reader.seeks.back(), 0);
  c.StopPlayback();
  // F3 now stamps the time the user sees.
  s.FirstInsertHint = false;
  c.InsertSubtitle();
  EXPECT_EQ(s.Document.entries()[0].BeginTime, 0);
}

TEST_F(Transport, ThePausedPictureIsTheOneTypingRedraws) {
  rig.skin.playbar = 2000;  // two seconds in
  c.Play();
  run(1500);
  const std::int32_t shownLast = FakeVideoReader::FrameTime(rig.view.shownFrames.back());
  c.Pause();
  rig.memo.type("x");
  ASSERT_FALSE(rig.view.shownFrames.empty());
  EXPECT_EQ(FakeVideoReader::FrameTime(rig.view.shownFrames.back()), shownLast);
  EXPECT_EQ(FakeVideoReader::FrameTime(s.CurrentFrame), shownLast);
}

TEST_F(Transport, AfterTheEndADragRedrawsThePictureTheClockShows) {
  rig.skin.playbar = 9800;
  c.Play();
  run(2000);
  ASSERT_FALSE(s.IsPlaying);
  EXPECT_EQ(rig.skin.playtime, "00:00:00,000");
  c.RefreshFrame();  // what a placement drag does
  EXPECT_EQ(FakeVideoReader::FrameTime(rig.view.shownFrames.back()), 0);
}

}  // namespace
}  // namespace orlisk::testing
