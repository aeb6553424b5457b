// Reading sound: block sizes, the end, positions, and independence from the
// pictures.
#include <gtest/gtest.h>

#include "ReaderTestSupport.h"
#include "playback/FfmpegVideoReader.h"

namespace orlisk {
namespace {

using testclips::ClipOptions;
using testclips::MakeClip;

std::vector<std::uint8_t> ReadAllSound(VideoReader& reader, int blockBytes) {
  std::vector<std::uint8_t> all;
  for (int blocks = 0;; ++blocks) {
    const AudioBlock block = reader.ReadAudio(blockBytes);
    if (block.empty()) return all;
    all.insert(all.end(), block.Bytes.begin(), block.Bytes.end());
    if (blocks > 100000) ADD_FAILURE() << "sound never ends";
  }
}

struct BlockRow {
  int channels;
  int sampleRate;
  int requested;
  std::size_t expectedBlock;
};

class ReaderAudioBlockTest : public ::testing::TestWithParam<BlockRow> {};

TEST_P(ReaderAudioBlockTest, FullBlocksUntilTheEndThenTheRestThenEmpty) {
  const BlockRow& row = GetParam();
  FfmpegVideoReader reader;
  reader.OpenSource(MakeClip({.audio = true, .sampleRate = row.sampleRate, .channels = row.channels}));
  ASSERT_EQ(reader.GetAudioChannels(), row.channels);
  ASSERT_EQ(reader.GetAudioSampleRate(), row.sampleRate);
  EXPECT_EQ(reader.GetAudioDuration(), 2000);

  const std::size_t total = static_cast<std::size_t>(row.sampleRate) * 2 * row.channels * 2;
  std::size_t read = 0;
  for (;;) {
    const AudioBlock block = reader.ReadAudio(row.requested);
    if (block.empty()) break;
    read += block.Bytes.size();
    if (read < total) {
      ASSERT_EQ(block.Bytes.size(), row.expectedBlock) << "at byte " << read;
    }
    ASSERT_LE(read, total);
  }
  EXPECT_EQ(read, total);
  EXPECT_EQ(reader.GetAudioPosition(), 2000);
  EXPECT_TRUE(reader.ReadAudio(row.requested).empty());
}

INSTANTIATE_TEST_SUITE_P(Formats, ReaderAudioBlockTest,
                         ::testing::Values(BlockRow{2, 44100, 2304, 2304}, BlockRow{1, 44100, 2304, 2304},
                                           BlockRow{1, 22050, 2304, 2304}, BlockRow{2, 48000, 1000, 1000},
                                           // 0: about 40 ms of whole samples
                                           BlockRow{2, 44100, 0, 1764 * 4}, BlockRow{1, 8000, 0, 320 * 2}));

TEST(ReaderAudioTest, SeekRestartsTheSoundAtTheSameSamples) {
  FfmpegVideoReader reader;
  reader.OpenSource(MakeClip({}));
  const std::vector<std::uint8_t> all = ReadAllSound(reader, 2304);
  ASSERT_EQ(all.size(), 44100u * 2 * 4);

  reader.SeekTo(1000);
  EXPECT_EQ(reader.GetAudioPosition(), 1000);
  const AudioBlock block = reader.ReadAudio(4 * 441);
  ASSERT_EQ(block.Bytes.size(), 4u * 441);
  const auto second = all.begin() + 44100 * 4;
  EXPECT_TRUE(std::equal(block.Bytes.begin(), block.Bytes.end(), second));
  EXPECT_EQ(reader.GetAudioPosition(), 1010);
}

TEST(ReaderAudioTest, SoundFollowsThePictureReachedBySeek) {
  FfmpegVideoReader reader;
  reader.OpenSource(MakeClip({}));
  reader.SeekTo(1019);  // the picture shown then started at 1000
  EXPECT_EQ(reader.GetPosition(), 1000);
  EXPECT_EQ(reader.GetAudioPosition(), 1000);
  reader.SeekTo(5000);
  EXPECT_TRUE(reader.ReadAudio(2304).empty());
}

TEST(ReaderAudioTest, SoundAndPicturesReadIndependently) {
  FfmpegVideoReader reader;
  reader.OpenSource(MakeClip({}));
  // All the sound before any picture, then every picture.
  EXPECT_EQ(ReadAllSound(reader, 0).size(), 44100u * 2 * 4);
  int frames = 0;
  while (!reader.ReadFrame().empty()) ++frames;
  EXPECT_EQ(frames, 50);

  // And the other way round.
  reader.SeekTo(0);
  while (!reader.ReadFrame().empty()) {
  }
  EXPECT_EQ(ReadAllSound(reader, 2304).size(), 44100u * 2 * 4);
}

TEST(ReaderAudioTest, WriterStyleInterleavingReachesBothEnds) {
  // Whichever of picture and sound is behind is read next, in 2304-byte blocks.
  FfmpegVideoReader reader;
  reader.OpenSource(MakeClip({.codec = "mpeg1video", .container = "mpg", .audioCodec = "mp2"}));
  bool videoDone = false;
  bool audioDone = false;
  int frames = 0;
  for (int steps = 0; !(videoDone && audioDone); ++steps) {
    ASSERT_LT(steps, 10000);
    if (!videoDone && (reader.GetPosition() <= reader.GetAudioPosition() || audioDone)) {
      if (reader.ReadFrame().empty()) {
        videoDone = true;
      } else {
        ++frames;
      }
    }
    if (!audioDone && (reader.GetPosition() >= reader.GetAudioPosition() || videoDone)) {
      if (reader.ReadAudio(2304).empty()) audioDone = true;
    }
  }
  EXPECT_EQ(frames, 50);
  EXPECT_NEAR(reader.GetAudioPosition(), 2000, 30);
}

}  // namespace
}  // namespace orlisk
