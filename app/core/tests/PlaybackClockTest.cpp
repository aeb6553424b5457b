// The play clock and the picture on it: the clock follows the sound the
// player has played (the tick count when there is none), and a picture that
// falls behind passes over frames instead of showing each one late.
#include <gtest/gtest.h>

#include <random>

#include "FakeSeams.h"
#include "playback/FfmpegVideoReader.h"
#include "tests/fixtures/TestClips.h"

namespace orlisk::testing {
namespace {

// What one run of ticks showed.
struct Shown {
  std::vector<std::int32_t> times;  // of the pictures shown, in order
  std::vector<std::int32_t> lags;   // PlayClock at the tick - time of the picture it showed
  int mostPerTick = 0;
  std::int32_t worstLag = 0;   // PlayClock at the tick - time of the picture it showed
  std::int32_t earliest = 0;   // the most a picture was ahead of PlayClock (negative lag)
};

// Ticks at the timer's interval for `ms` of the manual clock (decoding may
// move it further), noting each picture shown against the tick's clock.
Shown RunTicks(Rig& rig, std::uint32_t ms, const std::function<void()>& beforeTick = {}) {
  Shown shown;
  const std::uint32_t end = rig.clock.now + ms;
  while (rig.timer.active && static_cast<std::int32_t>(end - rig.clock.now) > 0) {
    rig.clock.advance(static_cast<std::uint32_t>(rig.timer.interval));
    if (beforeTick) beforeTick();
    const std::size_t before = rig.view.shownFrames.size();
    rig.controller.PlaybackTick();
    const std::size_t after = rig.view.shownFrames.size();
    shown.mostPerTick = std::max(shown.mostPerTick, static_cast<int>(after - before));
    if (after > before && rig.state.IsPlaying) {
      const std::int32_t time = FakeVideoReader::FrameTime(rig.view.shownFrames.back());
      shown.times.push_back(time);
      shown.lags.push_back(rig.state.PlayClock - time);
      shown.worstLag = std::max(shown.worstLag, rig.state.PlayClock - time);
      shown.earliest = std::min(shown.earliest, rig.state.PlayClock - time);
      EXPECT_EQ(rig.skin.playtime, FormatSubtitleTime(time)) << "the play time names the picture shown";
    }
  }
  return shown;
}

bool StrictlyIncreasing(const std::vector<std::int32_t>& times) {
  return std::adjacent_find(times.begin(), times.end(), std::greater_equal<>()) == times.end();
}

struct SlowReaderRow {
  const char* name;
  std::uint32_t readMs;  // decoding, converting and drawing a frame that is shown
  std::uint32_t skipMs;  // decoding a frame that is passed over
};

class SlowReader : public ::testing::TestWithParam<SlowReaderRow> {};

TEST_P(SlowReader, PassesOverFramesAndKeepsThePictureWithinAFrameOfTheClock) {
  const SlowReaderRow& row = GetParam();
  Rig rig;
  rig.reader.duration = 60000;
  rig.openVideo();
  rig.reader.whileDecoding = [&](bool converted) { rig.clock.advance(converted ? row.readMs : row.skipMs); };
  rig.view.shownFrames.clear();
  rig.controller.Play();
  const Shown shown = RunTicks(rig, 20000);

  EXPECT_GT(rig.reader.skips, 0);
  EXPECT_LT(shown.worstLag, 40) << "the picture shown is the one due on the clock";
  EXPECT_GE(shown.earliest, 0) << "never a picture before its time";
  EXPECT_EQ(shown.mostPerTick, 1);
  EXPECT_TRUE(StrictlyIncreasing(shown.times)) << "no frame shown twice, none out of order";
  // Every frame up to the last one shown was either shown or passed over.
  EXPECT_EQ(static_cast<int>(shown.times.size()) + rig.reader.skips, shown.times.back() / 40 + 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, SlowReader,
                         ::testing::Values(SlowReaderRow{"JustTooSlow", 45, 5},
                                           SlowReaderRow{"TwiceTooSlow", 80, 10},
                                           SlowReaderRow{"SlowDecoder", 70, 30}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SlowReader, AReaderThatKeepsUpShowsEveryFrameAndSkipsNone) {
  Rig rig;
  rig.openVideo();
  rig.reader.whileDecoding = [&](bool) { rig.clock.advance(15); };
  rig.view.shownFrames.clear();
  rig.controller.Play();
  const Shown shown = RunTicks(rig, 4000);
  EXPECT_EQ(rig.reader.skips, 0);
  EXPECT_GE(shown.times.size(), 99u);
  EXPECT_LT(shown.worstLag, 40);
}

TEST(SlowReader, AfterAStallCatchingUpNeverLosesGroundAndEndsOnTheClock) {
  // Six seconds behind at once (the machine stalled): each tick passes over
  // frames for at most three frame times and shows what it reached.
  Rig rig;
  rig.reader.duration = 60000;
  rig.openVideo();
  rig.reader.whileDecoding = [&](bool converted) { rig.clock.advance(converted ? 20 : 10); };
  rig.view.shownFrames.clear();
  rig.controller.Play();
  rig.clock.advance(6000);
  rig.controller.PlaybackTick();
  EXPECT_EQ(rig.reader.skips, 12) << "120 ms of waiting for the decoder";
  ASSERT_EQ(rig.view.shownFrames.size(), 1u);
  EXPECT_EQ(FakeVideoReader::FrameTime(rig.view.shownFrames[0]), 480);
  const Shown shown = RunTicks(rig, 4000);
  ASSERT_FALSE(shown.lags.empty());
  for (std::size_t i = 1; i < shown.lags.size(); ++i) {
    if (shown.lags[i] >= 40) {
      EXPECT_LT(shown.lags[i], shown.lags[i - 1]) << "the lag only shrinks until caught up";
    }
  }
  EXPECT_LT(shown.lags.back(), 40);
  EXPECT_TRUE(StrictlyIncreasing(shown.times));
}

// The clock against the sound: each row scripts what the player says it has
// played while the tick count runs on.
struct SoundRow {
  const char* name;
  bool videoHasSound;
  std::function<std::optional<std::int32_t>(std::int32_t elapsed)> played;
  std::int32_t expectedClockAt2000;  // PlayClock two seconds of tick count after Play
};

class ClockAndSound : public ::testing::TestWithParam<SoundRow> {};

TEST_P(ClockAndSound, TheClockFollowsThePlayedSoundAndTheTickCountWithout) {
  const SoundRow& row = GetParam();
  Rig rig;
  if (!row.videoHasSound) {
    rig.reader.sampleRate = 0;
    rig.reader.channels = 0;
  }
  rig.openVideo();
  rig.skin.playbar = 1000;  // from 1000 ms
  rig.controller.Play();
  const std::uint32_t start = rig.clock.now;
  rig.view.shownFrames.clear();
  RunTicks(rig, 2000, [&] {
    rig.audio.played = row.played(static_cast<std::int32_t>(rig.clock.now - start));
    if (rig.audio.played) rig.audio.askForMore();
  });
  EXPECT_EQ(rig.state.PlayClock, 1000 + row.expectedClockAt2000) << row.name;
  // The picture follows the same clock.
  const std::int32_t shown = FakeVideoReader::FrameTime(rig.view.shownFrames.back());
  EXPECT_LE(shown, rig.state.PlayClock);
  EXPECT_GT(shown, rig.state.PlayClock - 40);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ClockAndSound,
    ::testing::Values(
        SoundRow{"DeviceSlowerThanTheTickCount", true, [](std::int32_t e) { return e * 9 / 10; }, 1800},
        SoundRow{"DeviceFasterThanTheTickCount", true, [](std::int32_t e) { return e * 21 / 20; }, 2100},
        SoundRow{"DeviceWaitingForSoundHoldsTheClock", true,
                 [](std::int32_t e) { return std::min(e, 700); }, 700},
        SoundRow{"PlayerThatCannotTell", true, [](std::int32_t) { return std::nullopt; }, 2000},
        SoundRow{"VideoWithoutSound", false, [](std::int32_t) { return 0; }, 2000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClockAndSound, WhenTheSoundHasEndedAndPlayedOutTheTickCountCarriesOn) {
  Rig rig;
  rig.reader.audioBlocksLeft = 2;
  rig.openVideo();
  rig.controller.Play();
  const std::uint32_t start = rig.clock.now;
  rig.audio.played = 0;
  // The sound plays at 0.9 of the tick count's pace until its 900 ms are out.
  RunTicks(rig, 2000, [&] {
    const auto elapsed = static_cast<std::int32_t>(rig.clock.now - start);
    rig.audio.played = std::min(900, elapsed * 9 / 10);
    rig.audio.askForMore();  // the reader has no more: the sound has ended
  });
  EXPECT_TRUE(rig.state.SoundEnded);
  // 1000 ms of tick count gave 900 ms of sound; the other 1000 ms ran on the tick count.
  EXPECT_NEAR(rig.state.PlayClock, 1900, 8);
}

TEST(ClockAndSound, ATickCountThatWrapsDoesNotDisturbTheSoundClock) {
  Rig rig;
  rig.clock.now = 0xFFFFFF00u;
  rig.openVideo();
  rig.controller.Play();
  rig.audio.played = 0;
  rig.clock.advance(0x200);
  rig.audio.played = 480;
  rig.controller.PlaybackTick();
  EXPECT_EQ(rig.state.PlayClock, 480);
  EXPECT_EQ(FakeVideoReader::FrameTime(rig.view.shownFrames.back()), 480);
}

TEST(ClockAndSound, ASoundDeviceWithJitterNeverMakesAFrameShowTwiceOrOutOfOrder) {
  Rig rig;
  rig.reader.duration = 30000;
  rig.openVideo();
  rig.controller.Play();
  std::mt19937 random(11);
  std::uniform_int_distribution<int> decode(2, 60);
  std::uniform_int_distribution<int> step(0, 25);
  rig.reader.whileDecoding = [&](bool converted) {
    rig.clock.advance(static_cast<std::uint32_t>(converted ? decode(random) : decode(random) / 4));
  };
  std::int32_t played = 0;
  rig.view.shownFrames.clear();
  // The device takes sound in uneven steps and now and then waits.
  const Shown shown = RunTicks(rig, 25000, [&] {
    played += step(random) - 2;
    played = std::max(played, rig.audio.played.value_or(0));
    rig.audio.played = played;
  });
  EXPECT_GT(shown.times.size(), 100u);
  EXPECT_TRUE(StrictlyIncreasing(shown.times));
  EXPECT_EQ(shown.mostPerTick, 1);
}

// The frame index a picture of an index-coloured clip shows (centre pixel).
int FrameIndexOf(const Frame& f) {
  const std::size_t at = static_cast<std::size_t>(f.Height / 2) * static_cast<std::size_t>(f.Stride) +
                         static_cast<std::size_t>(f.Width / 2) * 4;
  return testclips::FrameIndexFromColour(f.Pixels.at(at + 2), f.Pixels.at(at + 1), f.Pixels.at(at));
}

// The same with the real reader on a clip made here: the frames passed over
// are decoded, and the picture shown is the one the clock has reached.
TEST(ClockWithRealReader, APictureThatFellBehindJumpsToTheFrameDueAndNotPast) {
  FfmpegVideoReader reader;
  Rig rig(&reader);
  rig.openVideo(testclips::MakeClip({.width = 160, .height = 120, .fps = 25, .seconds = 4, .audio = true}));
  ASSERT_TRUE(rig.messages.shown.empty()) << rig.lastMessage();
  rig.controller.Play();
  int lastIndex = -1;
  for (std::uint32_t jump : {8u, 130u, 500u, 30u, 1000u, 8u}) {
    rig.view.shownFrames.clear();
    rig.clock.advance(jump);
    rig.controller.PlaybackTick();
    const std::int32_t due = rig.state.PlayClock / 40;
    if (due == lastIndex) {
      EXPECT_TRUE(rig.view.shownFrames.empty()) << "the frame after it is not due yet";
      continue;
    }
    ASSERT_EQ(rig.view.shownFrames.size(), 1u) << "after a jump of " << jump;
    EXPECT_EQ(FrameIndexOf(rig.view.shownFrames[0]), due) << "after a jump of " << jump;
    EXPECT_EQ(rig.skin.playtime, FormatSubtitleTime(due * 40));
    lastIndex = due;
  }
}

}  // namespace
}  // namespace orlisk::testing
