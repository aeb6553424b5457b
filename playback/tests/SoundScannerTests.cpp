// The sound's peaks for the waveform: levels, silence, timing on the
// picture's clock, files without sound, and stopping a scan half way.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "playback/SoundScanner.h"
#include "tests/fixtures/TestClips.h"

namespace orlisk {
namespace {

using testclips::ClipOptions;
using testclips::MakeClip;

// Three seconds: a 0.8 tone, a second of silence, a 0.4 tone. In the stereo
// clips the loud part is on the left and the quiet part on the right, so the
// peaks must come from whichever channel is louder.
const std::string kMonoPattern =
    "aevalsrc='if(lt(t,1),0.8*sin(2*PI*440*t),if(lt(t,2),0,0.4*sin(2*PI*440*t)))'";
const std::string kStereoPattern =
    "aevalsrc='if(lt(t,1),0.8*sin(2*PI*440*t),0)|if(gte(t,2),0.4*sin(2*PI*440*t),0)'";

// Everything a scan handed over, with its pieces checked for order.
struct ScanResult {
  std::vector<SoundPeak> Peaks;
  std::optional<bool> FoundSound;  // unset: the scan did not end in time
  int Pieces = 0;
};

ScanResult ScanWhole(const std::string& path) {
  std::mutex mutex;
  std::condition_variable ended;
  ScanResult result;
  {
    SoundScanner scanner(path, {.PeaksFound =
                                    [&](SoundPeakPiece piece) {
                                      std::lock_guard lock(mutex);
                                      EXPECT_EQ(piece.First, result.Peaks.size()) << "pieces out of order";
                                      result.Peaks.insert(result.Peaks.end(), piece.Peaks.begin(), piece.Peaks.end());
                                      ++result.Pieces;
                                    },
                                .Ended =
                                    [&](bool foundSound) {
                                      std::lock_guard lock(mutex);
                                      result.FoundSound = foundSound;
                                      ended.notify_all();
                                    }});
    std::unique_lock lock(mutex);
    ended.wait_for(lock, std::chrono::seconds(60), [&] { return result.FoundSound.has_value(); });
  }
  return result;
}

double Level(SoundPeak peak) { return static_cast<double>(peak) / kFullScalePeak; }

// The lowest and highest level over steps [first, last).
std::pair<double, double> LevelRange(const std::vector<SoundPeak>& peaks, std::size_t first, std::size_t last) {
  const auto begin = peaks.begin() + static_cast<std::ptrdiff_t>(first);
  const auto end = peaks.begin() + static_cast<std::ptrdiff_t>(last);
  const auto [low, high] = std::minmax_element(begin, end);
  return {Level(*low), Level(*high)};
}

struct FormatRow {
  const char* name;
  const char* container;
  const char* videoCodec;
  const char* audioCodec;
  int channels;
  int sampleRate;
  double tolerance;  // lossy codecs and 8-bit samples are less exact
};

void PrintTo(const FormatRow& row, std::ostream* out) { *out << row.name; }

class SoundScannerLevelTest : public ::testing::TestWithParam<FormatRow> {};

TEST_P(SoundScannerLevelTest, LoudSilentAndQuietStretchesGiveTheirPeaks) {
  const FormatRow& row = GetParam();
  const std::string clip = MakeClip({.width = 64, .height = 48, .seconds = 3, .audio = true, .codec = row.videoCodec,
                                     .container = row.container, .audioCodec = row.audioCodec,
                                     .sampleRate = row.sampleRate, .channels = row.channels,
                                     .sound = row.channels == 1 ? kMonoPattern : kStereoPattern});
  const ScanResult scan = ScanWhole(clip);
  ASSERT_EQ(scan.FoundSound, std::optional<bool>(true));
  // 3 s in 10 ms steps; a lossy coder may add a frame's worth at the end.
  ASSERT_GE(scan.Peaks.size(), 295u);
  ASSERT_LE(scan.Peaks.size(), 310u);

  // Each stretch, kept 50 ms clear of its edges.
  const auto [loudLow, loudHigh] = LevelRange(scan.Peaks, 5, 95);
  EXPECT_NEAR(loudLow, 0.8, row.tolerance);
  EXPECT_NEAR(loudHigh, 0.8, row.tolerance);
  const auto [silentLow, silentHigh] = LevelRange(scan.Peaks, 105, 195);
  EXPECT_LE(silentHigh, row.tolerance / 2) << "silence";
  const auto [quietLow, quietHigh] = LevelRange(scan.Peaks, 205, 295);
  EXPECT_NEAR(quietLow, 0.4, row.tolerance);
  EXPECT_NEAR(quietHigh, 0.4, row.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, SoundScannerLevelTest,
    ::testing::Values(FormatRow{"avi_s16_stereo", "avi", "mpeg4", "pcm_s16le", 2, 44100, 0.01},
                      FormatRow{"avi_u8_mono_8k", "avi", "mpeg4", "pcm_u8", 1, 8000, 0.04},
                      FormatRow{"mov_float_stereo", "mov", "mpeg4", "pcm_f32le", 2, 48000, 0.01},
                      FormatRow{"mkv_flac_mono", "mkv", "mpeg4", "flac", 1, 22050, 0.01},
                      FormatRow{"mp4_aac_stereo", "mp4", "mpeg4", "aac", 2, 48000, 0.08},
                      FormatRow{"mpg_mp2_stereo", "mpg", "mpeg1video", "mp2", 2, 44100, 0.08}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SoundScannerTest, TheEdgeOfTheSilenceLiesWhereThePictureClockSaysOne) {
  const ScanResult scan = ScanWhole(MakeClip({.width = 64, .height = 48, .seconds = 3, .audio = true,
                                              .audioCodec = "pcm_s16le", .channels = 1, .sound = kMonoPattern}));
  ASSERT_GE(scan.Peaks.size(), 300u);
  EXPECT_GT(Level(scan.Peaks[99]), 0.7);  // 990..1000 ms
  EXPECT_LT(Level(scan.Peaks[100]), 0.01);
  EXPECT_LT(Level(scan.Peaks[199]), 0.01);
  EXPECT_GT(Level(scan.Peaks[200]), 0.35);
}

TEST(SoundScannerTest, AVideoWithoutSoundEndsWithoutPeaks) {
  const ScanResult scan = ScanWhole(MakeClip({.width = 64, .height = 48, .audio = false}));
  EXPECT_EQ(scan.FoundSound, std::optional<bool>(false));
  EXPECT_TRUE(scan.Peaks.empty());
}

TEST(SoundScannerTest, AFileThatIsNoVideoEndsWithoutPeaks) {
  for (const std::string& path : {testclips::MakeTextFile("notes.mp4"), testclips::MakeZeroByteFile("empty.avi"),
                                  testclips::MissingFilePath("gone.avi")}) {
    const ScanResult scan = ScanWhole(path);
    EXPECT_EQ(scan.FoundSound, std::optional<bool>(false)) << path;
    EXPECT_TRUE(scan.Peaks.empty()) << path;
  }
}

TEST(SoundScannerTest, ASoundOnlyFileIsScannedFromItsStart) {
  // ffmpeg's sine source plays at an eighth of full scale.
  const ScanResult scan = ScanWhole(testclips::MakeAudioOnlyFile(1.0));
  ASSERT_EQ(scan.FoundSound, std::optional<bool>(true));
  ASSERT_EQ(scan.Peaks.size(), 100u);
  const auto [low, high] = LevelRange(scan.Peaks, 0, 100);
  EXPECT_NEAR(low, 0.125, 0.01);
  EXPECT_NEAR(high, 0.125, 0.01);
}

TEST(SoundScannerTest, StoppingHalfWayEndsTheThreadAndCallsNothingAfterwards) {
  const std::string clip = MakeClip({.width = 64, .height = 48, .fps = 10, .seconds = 120, .audio = true,
                                     .container = "mkv", .audioCodec = "flac", .channels = 2});
  for (int waitForPieces : {0, 1}) {
    std::atomic<int> pieces{0};
    std::atomic<bool> ended{false};
    std::atomic<bool> destroyed{false};
    std::atomic<bool> calledAfterDestruction{false};
    {
      SoundScanner scanner(clip, {.PeaksFound =
                                      [&](SoundPeakPiece) {
                                        if (destroyed) calledAfterDestruction = true;
                                        ++pieces;
                                      },
                                  .Ended =
                                      [&](bool) {
                                        if (destroyed) calledAfterDestruction = true;
                                        ended = true;
                                      }});
      while (pieces < waitForPieces && !ended) std::this_thread::yield();
    }
    destroyed = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(calledAfterDestruction) << "waited for " << waitForPieces;
  }
}

}  // namespace
}  // namespace orlisk
