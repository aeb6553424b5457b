// The null reader and the FFmpeg reader with nothing open behave alike: both
// keep the reader contract's "nothing open" rules.
#include "playback/NullVideoReader.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "playback/FfmpegVideoReader.h"

namespace orlisk {
namespace {

struct ReaderRow {
  const char* name;
  std::function<std::unique_ptr<VideoReader>()> make;
};

class NothingOpen : public ::testing::TestWithParam<ReaderRow> {};

TEST_P(NothingOpen, QueriesGiveZeroAndEmptyNames) {
  const auto reader = GetParam().make();
  reader->CloseSource();
  EXPECT_EQ(reader->GetDuration(), 0);
  EXPECT_EQ(reader->GetFrameRate(), 0.0);
  EXPECT_EQ(reader->GetWidth(), 0);
  EXPECT_EQ(reader->GetHeight(), 0);
  EXPECT_EQ(reader->GetPosition(), 0);
  EXPECT_EQ(reader->GetAudioChannels(), 0);
  EXPECT_EQ(reader->GetAudioSampleRate(), 0);
  EXPECT_EQ(reader->GetAudioBitRate(), 0);
  EXPECT_EQ(reader->GetAudioPosition(), 0);
  EXPECT_EQ(reader->GetAudioDuration(), 0);
  EXPECT_EQ(reader->GetAudioFormatName(), "");
  EXPECT_EQ(reader->GetVideoBitRate(), 0);
  EXPECT_EQ(reader->GetVideoFormatName(), "");
}

TEST_P(NothingOpen, ReadingAndSeekingRaiseAMediaError) {
  const auto reader = GetParam().make();
  EXPECT_THROW(reader->SeekTo(0), MediaError);
  EXPECT_THROW(reader->ReadFrame(), MediaError);
  EXPECT_THROW(reader->ReadAudio(0), MediaError);
}

INSTANTIATE_TEST_SUITE_P(
    Readers, NothingOpen,
    ::testing::Values(ReaderRow{"Null", [] { return std::make_unique<NullVideoReader>(); }},
                      ReaderRow{"Ffmpeg", [] { return std::make_unique<FfmpegVideoReader>(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NullVideoReader, RefusesEveryFileNamingItAndStaysClosed) {
  NullVideoReader reader;
  try {
    reader.OpenSource("/videos/holiday.avi");
    FAIL() << "opened";
  } catch (const MediaError& error) {
    EXPECT_NE(std::string(error.what()).find("\"/videos/holiday.avi\""), std::string::npos) << error.what();
  }
  EXPECT_EQ(reader.GetDuration(), 0);
  EXPECT_THROW(reader.ReadFrame(), MediaError);
}

}  // namespace
}  // namespace orlisk
