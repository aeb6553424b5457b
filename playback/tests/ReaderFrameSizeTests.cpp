// Pictures converted straight to the size the view shows them at: every
// picture handed out has the size asked for, still names the source's size,
// and is the right picture, however the size change meets the pictures
// already converted ahead.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "ReaderTestSupport.h"
#include "playback/FfmpegVideoReader.h"

namespace orlisk {
namespace {

using testclips::ClipOptions;
using testclips::MakeClip;

// 50 frames of 40 ms at 160 x 120.
std::string SizeClip() { return MakeClip(ClipOptions{.keyFrameInterval = 12}); }

void ExpectFrame(const Frame& frame, int width, int height, int index, const std::string& row) {
  ASSERT_FALSE(frame.empty()) << row;
  EXPECT_EQ(frame.Width, width) << row;
  EXPECT_EQ(frame.Height, height) << row;
  EXPECT_GE(frame.Stride, width * 4) << row;
  EXPECT_GE(frame.Pixels.size(), static_cast<std::size_t>(frame.Stride) * height) << row;
  EXPECT_EQ(frame.PlaceWidth(), 160) << row;
  EXPECT_EQ(frame.PlaceHeight(), 120) << row;
  EXPECT_EQ(FrameIndexOf(frame), index) << row;
}

// The write job's way: pictures as decoded, in turn with frames, each with
// the frame of the same picture beside it when asked, with no frames
// converted ahead; nothing after the last one.
TEST(ReaderPictures, ComeAsDecodedInTurnWithFramesAndTheFrameBesideThemAtTheSizeAskedFor) {
  FfmpegVideoReader reader;
  reader.OpenSource(SizeClip());
  ASSERT_TRUE(reader.ReadsPictures());
  reader.SetFrameSize(80, 60);
  reader.SetFramesWanted(false);
  Frame beside;
  const DecodedPicture first = reader.ReadPicture(&beside);
  EXPECT_EQ(first.Width(), 160);
  EXPECT_EQ(first.Height(), 120);
  ExpectFrame(beside, 80, 60, 0, "beside the first picture");
  EXPECT_EQ(reader.GetPosition(), 40);
  EXPECT_FALSE(reader.ReadPicture(nullptr).empty());
  ExpectFrame(reader.ReadFrame(), 80, 60, 2, "after two pictures");
  reader.SeekTo(49 * 40);
  EXPECT_FALSE(reader.ReadPicture(nullptr).empty());
  beside = Frame{};
  EXPECT_TRUE(reader.ReadPicture(&beside).empty());
  EXPECT_TRUE(beside.empty());
}

struct SizeRow {
  const char* name;
  int askedWidth, askedHeight;
  int width, height;  // what comes out
};

class ReaderFrameSize : public ::testing::TestWithParam<SizeRow> {};

TEST_P(ReaderFrameSize, FramesComeAtTheSizeAskedForAndNameTheSourceSize) {
  const SizeRow& row = GetParam();
  FfmpegVideoReader reader;
  reader.OpenSource(SizeClip());
  reader.SetFrameSize(row.askedWidth, row.askedHeight);
  // Reads and skips mixed, across a seek.
  ExpectFrame(reader.ReadFrame(), row.width, row.height, 0, row.name);
  reader.SkipFrame();
  ExpectFrame(reader.ReadFrame(), row.width, row.height, 2, row.name);
  reader.SeekTo(30 * 40);
  ExpectFrame(reader.ReadFrame(), row.width, row.height, 30, row.name);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReaderFrameSize,
                         ::testing::Values(SizeRow{"Smaller", 80, 60, 80, 60},
                                           SizeRow{"OtherShape", 100, 40, 100, 40},
                                           SizeRow{"Larger", 566, 378, 566, 378},
                                           SizeRow{"SourceSize", 160, 120, 160, 120},
                                           SizeRow{"ZeroIsTheSource", 0, 0, 160, 120},
                                           SizeRow{"NegativeIsTheSource", -5, 60, 160, 120}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReaderFrameSizeChange, PicturesConvertedAheadAtTheOldSizeComeAtTheNewOne) {
  FfmpegVideoReader reader;
  reader.OpenSource(SizeClip());
  ExpectFrame(reader.ReadFrame(), 160, 120, 0, "before");
  // Time for the decoder thread to fill its queue and convert it.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  reader.SetFrameSize(80, 60);
  for (int index = 1; index <= 8; ++index) ExpectFrame(reader.ReadFrame(), 80, 60, index, "after");
  reader.SetFrameSize(0, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  for (int index = 9; index <= 12; ++index) ExpectFrame(reader.ReadFrame(), 160, 120, index, "back");
}

TEST(ReaderFrameSizeChange, ANewFileStartsAtItsOwnSize) {
  FfmpegVideoReader reader;
  reader.OpenSource(SizeClip());
  reader.SetFrameSize(80, 60);
  reader.OpenSource(SizeClip());
  ExpectFrame(reader.ReadFrame(), 160, 120, 0, "reopened");
}

TEST(ReaderFrameSizeChange, WithNothingOpenItIsIgnored) {
  FfmpegVideoReader reader;
  EXPECT_NO_THROW(reader.SetFrameSize(80, 60));
  reader.OpenSource(SizeClip());
  ExpectFrame(reader.ReadFrame(), 160, 120, 0, "opened after");
}

struct TinyRow {
  const char* name;
  int width, height;
  const char* codec;
  const char* container;
};

class ReaderTinyPicture : public ::testing::TestWithParam<TinyRow> {};

// The converter's vector code writes whole blocks of pixels, more than such a
// picture has; every frame must still come whole (and nothing be overrun).
// Colours are not compared: ffmpeg's own conversion of an odd-sized test
// picture to yuv420p already loses them.
TEST_P(ReaderTinyPicture, EveryFrameOfATinyPictureIsRead) {
  const TinyRow& row = GetParam();
  FfmpegVideoReader reader;
  reader.OpenSource(MakeClip(ClipOptions{.width = row.width, .height = row.height, .seconds = 1.0,
                                         .audio = false, .codec = row.codec, .container = row.container}));
  int frames = 0;
  for (Frame frame = reader.ReadFrame(); !frame.empty(); frame = reader.ReadFrame()) {
    EXPECT_EQ(frame.Width, row.width) << frames;
    EXPECT_EQ(frame.Height, row.height) << frames;
    ++frames;
  }
  EXPECT_EQ(frames, 25);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReaderTinyPicture,
                         ::testing::Values(TinyRow{"TwoByTwoMp4", 2, 2, "mpeg4", "mp4"},
                                           TinyRow{"OneByOne", 1, 1, "ffv1", "mkv"},
                                           TinyRow{"TwoByTwo", 2, 2, "ffv1", "mkv"},
                                           TinyRow{"ThreeByThree", 3, 3, "ffv1", "mkv"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orlisk
