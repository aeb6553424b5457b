#include "playback/audio/SdlAudioPlayer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <thread>

namespace orlisk {
namespace {

// The refill timer needs an application and its event loop; SDL's dummy
// driver stands in for a sound card, whatever the machine has.
class CoreApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!QCoreApplication::instance()) app_ = std::make_unique<QCoreApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "audio_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QCoreApplication> app_;
};
[[maybe_unused]] ::testing::Environment* const kCoreEnvironment =
    ::testing::AddGlobalTestEnvironment(new CoreApplicationEnvironment);

void RunEventsFor(int ms) {
  QElapsedTimer elapsed;
  elapsed.start();
  while (elapsed.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

AudioBlock Sound(int ms, int rate, int channels) {
  return AudioBlock{std::vector<std::uint8_t>(std::size_t(ms) * rate / 1000 * channels * 2, 0)};
}

// Feeds 20 ms blocks, as playback's FeedAudio would, counting the requests.
struct Owner {
  SdlAudioPlayer& player;
  int requests = 0;
  void Attach() {
    player.setMoreAudioRequested([this] {
      ++requests;
      player.QueueAudio(Sound(20, 44100, 2));
    });
  }
};

TEST(SdlAudioPlayer, LeavesTheTerminationSignalsToTheProgram) {
  SdlAudioPlayer player;
  player.SetAudioFormat(44100, 2);
  player.StartAudio();
  for (int signal : {SIGTERM, SIGINT}) {
    struct sigaction action {};
    ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
    EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
  }
  player.StopAudio();
}

TEST(SdlAudioPlayer, KeepsTheQueueFilledWhileStartedAndStopsAskingAfterStop) {
  SdlAudioPlayer player;
  player.SetAudioFormat(44100, 2);
  ASSERT_TRUE(player.Audible()) << "the dummy driver gives a device";
  Owner owner{player};
  owner.Attach();

  RunEventsFor(50);
  EXPECT_EQ(owner.requests, 0) << "no requests before the start";

  player.StartAudio();
  RunEventsFor(400);
  EXPECT_GE(owner.requests, 8);
  const int queued = player.QueuedMilliseconds();
  // About the low-water mark; a busy machine may look at the queue late.
  EXPECT_GE(queued, PacedAudioPlayer::kLowWaterMs - 100);
  EXPECT_LE(queued, PacedAudioPlayer::kLowWaterMs + 110);

  player.StopAudio();
  EXPECT_EQ(player.QueuedMilliseconds(), 0) << "stop drops the queue";
  const int requestsAtStop = owner.requests;
  RunEventsFor(100);
  EXPECT_EQ(owner.requests, requestsAtStop);
}

TEST(SdlAudioPlayer, ThePlayedPositionFollowsTheDeviceAndNeverGoesBack) {
  SdlAudioPlayer player;
  player.SetAudioFormat(44100, 2);
  ASSERT_TRUE(player.Audible());
  Owner owner{player};
  owner.Attach();
  player.StartAudio();
  QElapsedTimer elapsed;
  elapsed.start();
  std::int32_t last = 0;
  while (elapsed.elapsed() < 400) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const std::int32_t played = player.PlayedMilliseconds().value_or(-1);
    ASSERT_GE(played, last);
    // Never ahead of the time since the start.
    ASSERT_LE(played, elapsed.elapsed() + 1);
    last = played;
  }
  // The dummy device plays at about the real pace; a busy machine may
  // start it late.
  EXPECT_GE(last, 200);
  player.StopAudio();
  player.StartAudio();
  EXPECT_EQ(player.PlayedMilliseconds(), 0) << "a new start counts afresh";
  player.StopAudio();
}

TEST(SdlAudioPlayer, ThePlayedPositionStandsStillWhenTheSoundRunsOut) {
  SdlAudioPlayer player;
  player.SetAudioFormat(44100, 2);
  ASSERT_TRUE(player.Audible());
  player.QueueAudio(Sound(100, 44100, 2));
  player.StartAudio();
  RunEventsFor(400);
  EXPECT_EQ(player.PlayedMilliseconds(), 100);
  RunEventsFor(50);
  EXPECT_EQ(player.PlayedMilliseconds(), 100);
  player.StopAudio();
}

TEST(SdlAudioPlayer, QueuedSoundWaitsForTheStart) {
  SdlAudioPlayer player;
  player.SetAudioFormat(48000, 1);
  player.QueueAudio(Sound(200, 48000, 1));
  RunEventsFor(60);
  EXPECT_EQ(player.QueuedMilliseconds(), 200);
}

TEST(SdlAudioPlayer, AFormatChangeReopensForTheNewRate) {
  SdlAudioPlayer player;
  player.SetAudioFormat(44100, 2);
  player.QueueAudio(Sound(100, 44100, 2));
  EXPECT_EQ(player.QueuedMilliseconds(), 100);

  player.SetAudioFormat(44100, 2);  // same format: the queue stays
  EXPECT_EQ(player.QueuedMilliseconds(), 100);

  player.SetAudioFormat(22050, 1);
  EXPECT_TRUE(player.Audible());
  EXPECT_EQ(player.QueuedMilliseconds(), 0);
  player.QueueAudio(Sound(100, 22050, 1));
  EXPECT_EQ(player.QueuedMilliseconds(), 100);
}

TEST(SdlAudioPlayer, ATornSampleFrameIsDropped) {
  SdlAudioPlayer player;
  player.SetAudioFormat(8000, 2);
  player.QueueAudio(AudioBlock{std::vector<std::uint8_t>(3)});
  EXPECT_EQ(player.QueuedMilliseconds(), 0);
  player.QueueAudio(AudioBlock{std::vector<std::uint8_t>(320 + 3)});  // 10 ms and a bit
  player.QueueAudio(Sound(10, 8000, 2));
  EXPECT_EQ(player.QueuedMilliseconds(), 20);
}

struct SilentCase {
  const char* Name;
  const char* Driver;  // nullptr: the dummy driver with a format no device takes
  int Rate;
  int Channels;
};

class SilentPlayback : public ::testing::TestWithParam<SilentCase> {
 protected:
  void TearDown() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

TEST_P(SilentPlayback, PlaysNothingButStillPacesTheRequests) {
  const SilentCase& c = GetParam();
  if (c.Driver) setenv("SDL_AUDIODRIVER", c.Driver, 1);
  SdlAudioPlayer player;
  ASSERT_NO_THROW(player.SetAudioFormat(c.Rate, c.Channels));
  EXPECT_FALSE(player.Audible());

  int requests = 0;
  player.setMoreAudioRequested([&] {
    ++requests;
    player.QueueAudio(Sound(50, c.Rate, c.Channels));
  });
  player.StartAudio();
  RunEventsFor(500);
  // Real time drains the silent queue: about 500 ms of sound are asked for
  // beyond the first fill, in 50 ms blocks, and count as played.
  EXPECT_GE(requests, 8);
  EXPECT_LE(requests, 20);
  EXPECT_GE(player.QueuedMilliseconds(), 100);
  EXPECT_GE(player.PlayedMilliseconds().value_or(0), 300);
  EXPECT_LE(player.PlayedMilliseconds().value_or(1000), 520);
  player.StopAudio();
  EXPECT_EQ(player.QueuedMilliseconds(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SilentPlayback,
    ::testing::Values(SilentCase{"NoAudioDriver", "nonexistent", 44100, 2},
                      SilentCase{"TooManyChannels", nullptr, 44100, 12}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SdlAudioPlayer, AVideoWithoutSoundIsSilentAndNotAnError) {
  SdlAudioPlayer player;
  int requests = 0;
  player.setMoreAudioRequested([&] { ++requests; });  // the owner has no sound to give
  ASSERT_NO_THROW(player.SetAudioFormat(0, 0));
  player.StartAudio();
  player.QueueAudio(AudioBlock{});
  RunEventsFor(100);
  EXPECT_GT(requests, 0);
  EXPECT_LE(requests, 15) << "one request per look when nothing comes";
  EXPECT_EQ(player.QueuedMilliseconds(), 0);
  player.StopAudio();
}

}  // namespace
}  // namespace orlisk
