// Passing over frames as playback does when it falls behind: the frames
// after a skip are the right ones, whatever the container and however the
// skips mix with reads and seeks.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "ReaderTestSupport.h"
#include "playback/FfmpegVideoReader.h"
#include "media/MediaError.h"

namespace orlisk {
namespace {

using testclips::ClipOptions;
using testclips::MakeClip;

// 50 frames of 40 ms with a key frame every 12, with B-frames in MP4.
ClipOptions SkipClip(const std::string& container) {
  ClipOptions clip{.container = container, .keyFrameInterval = 12};
  if (container == "mp4") {
    clip.codec = "libx264";
    clip.audioCodec = "aac";
  }
  return clip;
}

struct SkipRow {
  const char* name;
  std::string steps;  // 'r' reads a frame, 's' skips one
};

class ReaderSkipTest : public ::testing::TestWithParam<std::tuple<std::string, SkipRow>> {};

TEST_P(ReaderSkipTest, EachSkipAdvancesOneFrameAndTheNextReadIsTheFrameAfterIt) {
  const auto& [container, row] = GetParam();
  FfmpegVideoReader reader;
  reader.OpenSource(MakeClip(SkipClip(container)));
  int index = 0;
  for (char step : row.steps) {
    ASSERT_EQ(reader.GetPosition(), index * 40) << row.name << " before frame " << index;
    if (step == 's') {
      reader.SkipFrame();
    } else {
      ASSERT_EQ(FrameIndexOf(reader.ReadFrame()), index) << row.name;
    }
    ++index;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, ReaderSkipTest,
    ::testing::Combine(::testing::Values("avi", "mp4"),
                       ::testing::Values(SkipRow{"first frame skipped", "srrr"},
                                         SkipRow{"every other frame", "rsrsrsrsrsrs"},
                                         SkipRow{"runs across a key frame", "rrsssssssssssssrr"},
                                         SkipRow{"reads only after waiting", "ssssssssr"})),
    [](const auto& info) {
      std::string name = std::get<0>(info.param) + "_" + std::get<1>(info.param).name;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

TEST(ReaderSkip, PastTheLastFrameNothingHappens) {
  FfmpegVideoReader reader;
  reader.OpenSource(MakeClip(SkipClip("avi")));
  for (int i = 0; i < 49; ++i) reader.SkipFrame();
  EXPECT_EQ(FrameIndexOf(reader.ReadFrame()), 49);
  reader.SkipFrame();
  reader.SkipFrame();
  EXPECT_EQ(reader.GetPosition(), 2000);
  EXPECT_TRUE(reader.ReadFrame().empty());
}

TEST(ReaderSkip, AfterASeekSkipsCountFromTheFrameReached) {
  FfmpegVideoReader reader;
  reader.OpenSource(MakeClip(SkipClip("mp4")));
  reader.SkipFrame();
  reader.SeekTo(1010);  // frame 25 is shown at 1010 ms
  EXPECT_EQ(reader.GetPosition(), 1000);
  reader.SkipFrame();
  reader.SkipFrame();
  EXPECT_EQ(reader.GetPosition(), 1080);
  EXPECT_EQ(FrameIndexOf(reader.ReadFrame()), 27);
}

TEST(ReaderSkip, WithoutAnOpenFileItFails) {
  FfmpegVideoReader reader;
  EXPECT_THROW(reader.SkipFrame(), MediaError);
}

}  // namespace
}  // namespace orlisk
