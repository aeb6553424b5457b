#include "playback/audio/SilentQueue.h"

#include <gtest/gtest.h>

#include "playback/audio/NullAudioPlayer.h"

namespace orlisk {
namespace {

using namespace std::chrono_literals;

struct ManualClock {
  std::chrono::steady_clock::time_point now{};
  SilentQueue::Clock source() {
    return [this] { return now; };
  }
};

TEST(SilentQueue, RunsOutAtRealTimeOnlyWhileStarted) {
  ManualClock clock;
  SilentQueue queue(clock.source());
  queue.SetFormat(44100, 1);
  queue.Add(8820);  // 100 ms
  clock.now += 1s;
  EXPECT_EQ(queue.QueuedMilliseconds(), 100) << "nothing plays before the start";
  queue.Start();
  clock.now += 30ms;
  EXPECT_EQ(queue.QueuedMilliseconds(), 70);
  clock.now += 500ms;
  EXPECT_EQ(queue.QueuedMilliseconds(), 0);
  // The time spent empty is not taken off sound queued later.
  queue.Add(8820);
  EXPECT_EQ(queue.QueuedMilliseconds(), 100);
  queue.Stop();
  EXPECT_EQ(queue.QueuedMilliseconds(), 0);
}

TEST(SilentQueue, CountsAsPlayedOnlyWhatRanOutSinceTheStart) {
  ManualClock clock;
  SilentQueue queue(clock.source());
  queue.SetFormat(44100, 1);
  queue.Add(8820);  // 100 ms
  queue.Start();
  clock.now += 30ms;
  EXPECT_EQ(queue.PlayedMilliseconds(), 30);
  clock.now += 200ms;
  EXPECT_EQ(queue.PlayedMilliseconds(), 100) << "an empty queue plays nothing";
  queue.Add(8820);
  clock.now += 40ms;
  EXPECT_EQ(queue.PlayedMilliseconds(), 140);
  queue.Stop();
  queue.Add(8820);
  queue.Start();
  clock.now += 10ms;
  EXPECT_EQ(queue.PlayedMilliseconds(), 10) << "a new start counts afresh";
}

struct FormatCase {
  const char* Name;
  int Rate;
  int Channels;
  std::size_t Bytes;
  int Ms;
};

class SilentQueueFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(SilentQueueFormat, CountsTheDurationOfTheBytes) {
  const FormatCase& c = GetParam();
  ManualClock clock;
  SilentQueue queue(clock.source());
  queue.SetFormat(c.Rate, c.Channels);
  queue.Add(c.Bytes);
  EXPECT_EQ(queue.QueuedMilliseconds(), c.Ms);
}

INSTANTIATE_TEST_SUITE_P(Rows, SilentQueueFormat,
                         ::testing::Values(FormatCase{"Stereo48k", 48000, 2, 19200, 100},
                                           FormatCase{"Mono8k", 8000, 1, 16000, 1000},
                                           FormatCase{"Surround", 48000, 6, 5760, 10},
                                           FormatCase{"NoSound", 0, 0, 19200, 0},
                                           FormatCase{"NoChannels", 44100, 0, 19200, 0}),
                         [](const auto& info) { return std::string(info.param.Name); });

// Bytes of 44.1 kHz stereo sound lasting `ms`.
std::vector<std::uint8_t> StereoSound(int ms) {
  return std::vector<std::uint8_t>(std::size_t(ms) * 44100 / 1000 * 4);
}

// An owner that answers each request with one block of `blockMs` of sound.
struct Feeder {
  NullAudioPlayer& player;
  int blockMs;
  int requests = 0;
  void operator()() {
    ++requests;
    if (blockMs > 0) player.QueueAudio(AudioBlock{StereoSound(blockMs)});
  }
};

struct RefillCase {
  const char* Name;
  int BlockMs;
  int QueuedBefore;
  int Requests;
  int QueuedAfter;
};

class NullPlayerRefill : public ::testing::TestWithParam<RefillCase> {};

constexpr int kMark = PacedAudioPlayer::kLowWaterMs;

TEST_P(NullPlayerRefill, AsksUntilTheQueueIsComfortable) {
  const RefillCase& c = GetParam();
  ManualClock clock;
  NullAudioPlayer player(clock.source());
  player.SetAudioFormat(44100, 2);
  player.QueueAudio(AudioBlock{StereoSound(c.QueuedBefore)});
  Feeder feeder{player, c.BlockMs};
  player.setMoreAudioRequested(std::ref(feeder));
  player.StartAudio();
  player.CheckQueue();
  EXPECT_EQ(feeder.requests, c.Requests);
  EXPECT_EQ(player.QueuedMilliseconds(), c.QueuedAfter);
  player.StopAudio();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NullPlayerRefill,
    ::testing::Values(RefillCase{"FillsToTheMark", 60, kMark - 150, 3, kMark + 30},
                      RefillCase{"SmallBlocksCapped", 20, 0, 4, 80},
                      RefillCase{"AlreadyFull", 60, kMark, 0, kMark},
                      RefillCase{"JustBelowTheMark", 60, kMark - 10, 1, kMark + 50},
                      RefillCase{"OwnerHasNoMore", 0, 0, 1, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(NullAudioPlayer, NeverAsksWhileStoppedAndDropsTheQueueOnStop) {
  ManualClock clock;
  NullAudioPlayer player(clock.source());
  player.SetAudioFormat(44100, 2);
  Feeder feeder{player, 60};
  player.setMoreAudioRequested(std::ref(feeder));
  player.CheckQueue();
  EXPECT_EQ(feeder.requests, 0);
  player.StartAudio();
  player.CheckQueue();
  EXPECT_GT(player.QueuedMilliseconds(), 0);
  player.StopAudio();
  EXPECT_EQ(player.QueuedMilliseconds(), 0);
  const int before = feeder.requests;
  player.CheckQueue();
  EXPECT_EQ(feeder.requests, before);
}

TEST(NullAudioPlayer, ThePlayedPositionIsTheSoundThatRanOut) {
  ManualClock clock;
  NullAudioPlayer player(clock.source());
  player.SetAudioFormat(44100, 2);
  player.QueueAudio(AudioBlock{StereoSound(60)});
  player.StartAudio();
  EXPECT_EQ(player.PlayedMilliseconds(), 0);
  clock.now += 25ms;
  EXPECT_EQ(player.PlayedMilliseconds(), 25);
  clock.now += 100ms;
  EXPECT_EQ(player.PlayedMilliseconds(), 60);
}

TEST(NullAudioPlayer, StopFromTheCallbackEndsTheRequests) {
  ManualClock clock;
  NullAudioPlayer player(clock.source());
  player.SetAudioFormat(44100, 2);
  int requests = 0;
  player.setMoreAudioRequested([&] {
    ++requests;
    player.QueueAudio(AudioBlock{StereoSound(10)});
    player.StopAudio();
  });
  player.StartAudio();
  player.CheckQueue();
  EXPECT_EQ(requests, 1);
}

}  // namespace
}  // namespace orlisk
