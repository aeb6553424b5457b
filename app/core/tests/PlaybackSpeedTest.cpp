// Playback at another speed: the picture follows the sound at that speed, and
// a user who presses F3 a reaction after hearing a click stamps the same
// video time at every speed.
#include <gtest/gtest.h>

#include <cstring>

#include "FakeSeams.h"
#include "playback/FfmpegVideoReader.h"
#include "settings/ReactionDelay.h"
#include "tests/fixtures/TestClips.h"

namespace orlisk::testing {
namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr std::int32_t kClickMs = 1000;
constexpr std::int32_t kReactionMs = 250;
constexpr std::int32_t kFrameMs = 40;

// Silence with a 10 ms click of 1 kHz at kClickMs.
std::string ClickClip() {
  return testclips::MakeClip({.width = 160, .height = 120, .fps = 25, .seconds = 3, .audio = true,
                              .sampleRate = kRate, .channels = kChannels,
                              .sound = "aevalsrc='0.8*sin(2*PI*1000*t)*between(t,1,1.01)'"});
}

// A device that plays what was queued at its own pace on the manual clock,
// and a listener who notes when the click is heard.
struct PacedDevice {
  Rig& rig;
  std::uint32_t started = rig.clock.now;
  std::size_t samples = 0;    // queued, per channel
  std::size_t looked = 0;     // blocks looked at for the click
  std::int32_t heardAt = -1;  // ms since the start; -1: not yet queued

  std::int32_t QueuedMs() const { return static_cast<std::int32_t>(samples * 1000 / kRate); }
  // Plays on to now, asking for sound half a second ahead.
  std::int32_t PlayTo() {
    const auto elapsed = static_cast<std::int32_t>(rig.clock.now - started);
    for (;;) {
      for (; looked < rig.audio.queued.size(); ++looked) Listen(rig.audio.queued[looked]);
      if (QueuedMs() >= elapsed + 500 || rig.state.SoundEnded) break;
      rig.audio.askForMore();
    }
    rig.audio.played = std::min(elapsed, QueuedMs());
    return elapsed;
  }
  void Listen(const AudioBlock& block) {
    std::vector<std::int16_t> pcm(block.Bytes.size() / 2);
    std::memcpy(pcm.data(), block.Bytes.data(), pcm.size() * 2);
    for (std::size_t i = 0; i < pcm.size() && heardAt < 0; ++i) {
      if (std::abs(pcm[i]) > 8000) heardAt = static_cast<std::int32_t>((samples + i / kChannels) * 1000 / kRate);
    }
    samples += pcm.size() / kChannels;
  }
};

// Plays the clip from the start at `percent` and presses F3 kReactionMs after
// the click is heard. The begin time stamped.
SubtitleTime StampAfterTheClick(std::int32_t percent) {
  FfmpegVideoReader reader;
  Rig rig(&reader);
  WriteReactionDelay(rig.settings, kReactionMs);
  rig.openVideo(ClickClip());
  rig.controller.SetPlaybackSpeed(percent);
  rig.controller.Play();
  PacedDevice device{rig};
  while (rig.state.IsPlaying) {
    rig.clock.advance(static_cast<std::uint32_t>(rig.timer.interval));
    const std::int32_t elapsed = device.PlayTo();
    rig.controller.PlaybackTick();
    if (device.heardAt >= 0 && elapsed >= device.heardAt + kReactionMs) {
      rig.controller.InsertSubtitle();
      return rig.state.Document.entries().back().BeginTime;
    }
  }
  ADD_FAILURE() << "the click was never heard";
  return -1;
}

struct SpeedRow {
  std::int32_t percent;
  std::int32_t tolerance;  // ms of video
};

class PlaybackSpeedStamp : public ::testing::TestWithParam<SpeedRow> {};

TEST_P(PlaybackSpeedStamp, LandsWithinAFrameOfTheStampAtNormalSpeed) {
  static const SubtitleTime atNormalSpeed = StampAfterTheClick(100);
  EXPECT_NEAR(atNormalSpeed, kClickMs, kFrameMs);
  EXPECT_NEAR(StampAfterTheClick(GetParam().percent), atNormalSpeed, GetParam().tolerance);
}

// Faster than normal, the filter's window brings a click's onset up to about
// 16 ms of sound (24 ms of video at 1.5x) earlier, on top of the frame grid.
INSTANTIATE_TEST_SUITE_P(Speeds, PlaybackSpeedStamp,
                         ::testing::Values(SpeedRow{50, kFrameMs}, SpeedRow{75, kFrameMs}, SpeedRow{125, kFrameMs},
                                           SpeedRow{150, kFrameMs + 25}));

}  // namespace
}  // namespace orlisk::testing
