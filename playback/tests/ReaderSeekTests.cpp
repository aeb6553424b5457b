// Reading frame by frame and seeking: which frame comes next and what the
// position says about it.
#include <gtest/gtest.h>

#include <filesystem>

#include "ReaderTestSupport.h"
#include "playback/FfmpegVideoReader.h"

namespace orlisk {
namespace {

using testclips::ClipOptions;
using testclips::MakeClip;

// 50 frames of 40 ms, a key frame every 12 frames, so seeks land inside
// groups; by container: MPEG-4 in AVI, MPEG-1 in a program stream, H.264 with
// B-frames in MP4.
ClipOptions SeekClip(const std::string& container = "avi") {
  ClipOptions clip{.container = container, .keyFrameInterval = 12};
  if (container == "mpg") {
    clip.codec = "mpeg1video";
    clip.audioCodec = "mp2";
  } else if (container == "mp4") {
    clip.codec = "libx264";
    clip.audioCodec = "aac";
  }
  return clip;
}

class ReaderReadTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ReaderReadTest, EveryFrameInOrderOneFrameTimeApartThenEmptyFrames) {
  FfmpegVideoReader reader;
  reader.OpenSource(MakeClip(SeekClip(GetParam())));
  EXPECT_EQ(reader.GetDuration(), 2000);
  for (int i = 0; i < 50; ++i) {
    ASSERT_EQ(reader.GetPosition(), i * 40);
    ASSERT_EQ(FrameIndexOf(reader.ReadFrame()), i);
  }
  EXPECT_EQ(reader.GetPosition(), 2000);
  EXPECT_TRUE(reader.ReadFrame().empty());
  EXPECT_TRUE(reader.ReadFrame().empty());
  EXPECT_EQ(reader.GetPosition(), 2000);
}

INSTANTIATE_TEST_SUITE_P(Containers, ReaderReadTest, ::testing::Values("avi", "mpg", "mp4"));

struct SeekRow {
  std::int32_t target;
  int frame;  // -1: at the end, an empty frame
};

class ReaderSeekTest : public ::testing::TestWithParam<std::tuple<std::string, SeekRow>> {};

TEST_P(ReaderSeekTest, NextFrameIsTheOneShownAtTheTarget) {
  const auto& [container, row] = GetParam();
  FfmpegVideoReader reader;
  reader.OpenSource(MakeClip(SeekClip(container)));
  reader.ReadFrame();
  reader.SeekTo(row.target);
  if (row.frame < 0) {
    EXPECT_EQ(reader.GetPosition(), reader.GetDuration());
    EXPECT_TRUE(reader.ReadFrame().empty());
    return;
  }
  EXPECT_EQ(reader.GetPosition(), row.frame * 40);
  EXPECT_EQ(FrameIndexOf(reader.ReadFrame()), row.frame);
  EXPECT_EQ(reader.GetPosition(), (row.frame + 1) * 40);
  if (row.frame < 49) {
    EXPECT_EQ(FrameIndexOf(reader.ReadFrame()), row.frame + 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, ReaderSeekTest,
    ::testing::Combine(::testing::Values("avi", "mpg", "mp4"),
                       ::testing::Values(SeekRow{0, 0}, SeekRow{-500, 0}, SeekRow{39, 0}, SeekRow{40, 1},
                                         SeekRow{479, 11}, SeekRow{480, 12}, SeekRow{1000, 25},
                                         SeekRow{1019, 25}, SeekRow{1999, 49}, SeekRow{2000, -1},
                                         SeekRow{60000, -1})));

TEST(ReaderSeekTest, BackwardAndForwardSeeksInTurn) {
  FfmpegVideoReader reader;
  reader.OpenSource(MakeClip(SeekClip()));
  for (std::int32_t target : {1800, 200, 1200, 40, 1960, 0, 999}) {
    reader.SeekTo(target);
    EXPECT_EQ(FrameIndexOf(reader.ReadFrame()), target / 40) << target;
  }
}

TEST(ReaderSeekTest, SeekAfterReadingToTheEndStartsAgain) {
  FfmpegVideoReader reader;
  reader.OpenSource(MakeClip(SeekClip()));
  while (!reader.ReadFrame().empty()) {
  }
  reader.SeekTo(0);
  EXPECT_EQ(reader.GetPosition(), 0);
  EXPECT_EQ(FrameIndexOf(reader.ReadFrame()), 0);
}

// MPEG transport streams carry no index: a seek to the start must still give
// the first frame and every one after it, with the sound from its start.
TEST(ReaderSeekTest, ATransportStreamSeekToTheStartGivesEveryFrameFromTheFirst) {
  ClipOptions clip = SeekClip("mpg");
  clip.container = "ts";
  clip.codec = "mpeg2video";
  FfmpegVideoReader reader;
  reader.OpenSource(MakeClip(clip));
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < (pass == 0 ? 7 : 60); ++i) reader.ReadFrame();  // part way, then past the end
    reader.SeekTo(0);
    EXPECT_EQ(reader.GetPosition(), 0);
    EXPECT_LE(reader.GetAudioPosition(), 40);
    for (int i = 0; i < 50; ++i) ASSERT_EQ(FrameIndexOf(reader.ReadFrame()), i) << "pass " << pass;
    EXPECT_TRUE(reader.ReadFrame().empty());
  }
}

TEST(ReaderSeekTest, SeekingToAReportedPositionGivesThatFrameAtFractionalRates) {
  // 29.97 frames per second: frame times are not whole milliseconds.
  FfmpegVideoReader reader;
  reader.OpenSource(MakeClip({.fps = 30, .audio = false, .keyFrameInterval = 10,
                              .extraOptions = "-r 30000/1001"}));
  EXPECT_NEAR(reader.GetFrameRate(), 29.97, 0.01);
  for (int i = 0; i < 17; ++i) reader.ReadFrame();
  const std::int32_t position = reader.GetPosition();
  EXPECT_EQ(position, 567);  // 17 * 1001 / 30 = 567.2
  const Frame expected = reader.ReadFrame();
  reader.SeekTo(0);
  reader.SeekTo(position);
  EXPECT_EQ(reader.GetPosition(), position);
  EXPECT_EQ(reader.ReadFrame().Pixels, expected.Pixels);
}

TEST(ReaderDamageTest, TruncatedFileEndsEarlyWithEmptyFrames) {
  const std::string path = testclips::MakeTruncatedCopy(MakeClip(SeekClip()), 0.5, "half.avi");
  FfmpegVideoReader reader;
  reader.OpenSource(path);
  int frames = 0;
  while (!reader.ReadFrame().empty()) ASSERT_LT(++frames, 60);
  EXPECT_GT(frames, 5);
  EXPECT_LT(frames, 50);
  EXPECT_GE(reader.GetPosition(), reader.GetDuration());
  reader.SeekTo(1900);  // into the missing half
  for (frames = 0; !reader.ReadFrame().empty();) ASSERT_LT(++frames, 60);
}

TEST(ReaderDamageTest, FileCutShortWhileOpenEndsAsAtTheEnd) {
  const std::string path = testclips::TempFolder() + "/cut-while-open.avi";
  std::filesystem::copy_file(MakeClip(SeekClip()), path, std::filesystem::copy_options::overwrite_existing);
  FfmpegVideoReader reader;
  reader.OpenSource(path);
  ASSERT_FALSE(reader.ReadFrame().empty());
  std::filesystem::resize_file(path, 0);
  int frames = 0;
  while (!reader.ReadFrame().empty()) ASSERT_LT(++frames, 60);
  reader.SeekTo(1000);
  while (!reader.ReadFrame().empty()) ASSERT_LT(++frames, 120);
  EXPECT_LE(reader.ReadAudio(2304).Bytes.size(), 2304u);
}

}  // namespace
}  // namespace orlisk
