// The sound behind the playbar as the window wires it: the scan's pieces
// reach the picture through the user-interface thread, a stopped scan's
// leftovers are dropped, and the subtitles' spans follow the list.
#include "app/ui/PlaybarSound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <optional>
#include <mutex>
#include <thread>

#include "tests/fixtures/TestClips.h"

namespace orlisk {
namespace {

using testclips::MakeClip;

// Tasks posted from any thread wait here until the test runs them, as the
// event loop would.
class QueuedThread : public UserInterfaceThread {
 public:
  void post(std::function<void()> task) override {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  // Runs what is queued now; false when nothing was.
  bool runPending() {
    std::deque<std::function<void()>> tasks;
    {
      std::lock_guard lock(mutex_);
      tasks.swap(tasks_);
    }
    for (auto& task : tasks) task();
    return !tasks.empty();
  }

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> tasks_;
};

bool AllKnown(const PlaybarWaveform& picture) {
  const std::vector<float>& levels = picture.columnLevels(50);
  return std::all_of(levels.begin(), levels.end(), [](float level) { return level >= 0; });
}

SubtitleEntry Timed(SubtitleTime begin, SubtitleTime end) {
  SubtitleEntry entry;
  entry.BeginTime = begin;
  entry.EndTime = end;
  return entry;
}

struct PlaybarSoundTest : testing::Test {
  PlaybarWaveform picture;
  int redraws = 0;
  QueuedThread uiThread;
  std::optional<PlaybarSound> sound{std::in_place, picture, [this] { ++redraws; }, uiThread};

  // Lets the posted pieces through until `done` or 30 s have passed.
  template <typename Done>
  bool runUntil(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      if (!uiThread.runPending()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
};

TEST_F(PlaybarSoundTest, TheWholeSoundArrivesOnTheUserInterfaceThread) {
  sound->showSoundOf(MakeClip({.width = 64, .height = 48, .seconds = 2, .audio = true, .channels = 1}), 2000);
  EXPECT_FALSE(picture.hasSound());  // nothing before the queue runs
  ASSERT_TRUE(runUntil([&] { return AllKnown(picture); }));
  // The 440 Hz tone of the test clips plays at an eighth of full scale.
  const std::vector<float>& levels = picture.columnLevels(50);
  EXPECT_NEAR(*std::min_element(levels.begin(), levels.end()), 0.125, 0.01);
  EXPECT_GE(redraws, 2);
}

TEST_F(PlaybarSoundTest, AVideoWithoutSoundLeavesThePlainTrack) {
  sound->showSoundOf(MakeClip({.width = 64, .height = 48, .audio = false}), 2000);
  // The scan's end is the one task it posts.
  ASSERT_TRUE(runUntil([&] { return uiThread.runPending(); }));
  EXPECT_FALSE(picture.hasSound());
  EXPECT_EQ(picture.duration(), 0);
}

TEST_F(PlaybarSoundTest, WhatAStoppedScanLeftInTheQueueIsDropped) {
  const std::string loud = MakeClip({.width = 64, .height = 48, .seconds = 2, .audio = true});
  const std::string silent = MakeClip({.width = 64, .height = 48, .audio = false});
  // Stopped by closing the video, or by opening one without sound.
  for (bool openAnother : {false, true}) {
    sound->showSoundOf(loud, 2000);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the scan posts meanwhile
    if (openAnother) {
      sound->showSoundOf(silent, 2000);
    } else {
      sound->forgetSound();
    }
    uiThread.runPending();
    EXPECT_FALSE(picture.hasSound()) << (openAnother ? "another video" : "closed");
  }
}

TEST_F(PlaybarSoundTest, PiecesPostedBeforeTheWindowWentAreDroppedSafely) {
  sound->showSoundOf(MakeClip({.width = 64, .height = 48, .seconds = 2, .audio = true}), 2000);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  sound.reset();
  const int before = redraws;
  uiThread.runPending();
  EXPECT_EQ(redraws, before);
  EXPECT_FALSE(picture.hasSound());
}

TEST_F(PlaybarSoundTest, SpansFollowTheTimedSubtitlesOfTheList) {
  SubtitleDocument document;
  document.replaceAll({{"00:00:01,000 --> 00:00:02,000", "a"}, {"", "no end yet"}, {"", "c"}},
                      {Timed(1000, 2000), Timed(3000, 0), Timed(4000, 5000), Timed(6000, 7000)});
  sound->followSubtitles(document);
  // The fourth entry has no row: an opened video emptied the list. Each span
  // keeps its row, which the timing strip numbers it by.
  EXPECT_EQ(picture.spans(), (std::vector<TimeSpan>{{1000, 2000, 0}, {4000, 5000, 2}}));
  EXPECT_EQ(redraws, 1);
  sound->followSubtitles(document);
  EXPECT_EQ(redraws, 1);  // nothing changed, nothing redrawn
  document.entries()[1].EndTime = 3500;
  sound->followSubtitles(document);
  EXPECT_EQ(picture.spans(), (std::vector<TimeSpan>{{1000, 2000, 0}, {3000, 3500, 1}, {4000, 5000, 2}}));
  EXPECT_EQ(redraws, 2);
}

}  // namespace
}  // namespace orlisk
