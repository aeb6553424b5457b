// What the writer asks of its encoders reaches them: the AVI codecs' fixed
// quantiser, and RealMedia's limit on the size of one picture, which every
// profile must keep on detailed pictures and large sources.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "WriterTestSupport.h"
#include "burnin/writer/AviEncoders.h"
#include "burnin/writer/FfmpegVideoWriter.h"
#include "burnin/writer/WriterProfiles.h"
#include "playback/FfmpegVideoReader.h"
#include "tests/fixtures/TestClips.h"

namespace orlisk {
namespace {

namespace fs = std::filesystem;

Frame FlatFrame(int width, int height) {
  Frame frame;
  frame.Width = width;
  frame.Height = height;
  frame.Stride = width * 4;
  frame.Pixels.assign(static_cast<std::size_t>(frame.Stride) * static_cast<std::size_t>(height), 90);
  return frame;
}

// Grain of +-16 on grey (pseudo-random): how much of it is kept is what
// the quantiser decides. (Full-range noise would not do: its large levels
// cost escape codes of one length at any quantiser.)
Frame GrainFrame(int width, int height, std::uint32_t seed) {
  Frame frame = FlatFrame(width, height);
  for (std::uint8_t& byte : frame.Pixels) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<std::uint8_t>(74 + (seed >> 27));
  }
  return frame;
}

int AviCodecNumber(const std::string& encoder) {
  const auto encoders = AviEncoders();
  for (std::size_t i = 0; i < encoders.size(); ++i) {
    if (encoders[i].EncoderName == encoder) return static_cast<int>(i) + 1;
  }
  return 0;
}

// Five grainy 320x240 pictures through the AVI codec `number` at `quality`.
std::string WriteAtQuality(int number, int quality) {
  FfmpegVideoWriter writer;
  writer.SelectAviCodec(number);
  AviCodecSettings settings = writer.GetAviCodecSettings();
  settings.Control = AviCodecSettings::RateControl::Quality;
  settings.Quality = quality;
  writer.SetAviCodecSettings(settings);
  writer.SetSourceAudioFormat(0, 0);
  writer.SetSourceVideoFormat(320, 240, 25);
  writer.SetAviVideoFormat(320, 240, 25);
  const std::string path = testclips::TempFolder() + "/quantiser-" + std::to_string(number) + "-" +
                           std::to_string(quality) + ".avi";
  writer.CreateOutput(path, kOutputAvi);
  for (std::uint32_t i = 0; i < 5; ++i) writer.WriteFrame(GrainFrame(320, 240, i));
  writer.CloseSource();
  return path;
}

struct QuantiserRow {
  std::string encoder;
  bool decoderTellsQuantisers;  // MJPEG's decoder does not
};

void PrintTo(const QuantiserRow& row, std::ostream* out) { *out << row.encoder; }

class AviQuantiserTest : public ::testing::TestWithParam<QuantiserRow> {};

TEST_P(AviQuantiserTest, EveryPictureIsCodedAtTheQuantiserOfTheQualityAsked) {
  const QuantiserRow& row = GetParam();
  const int number = AviCodecNumber(row.encoder);
  if (number == 0) GTEST_SKIP() << row.encoder << " is not installed here";
  const std::string fine = WriteAtQuality(number, 90);    // quantiser 4
  const std::string coarse = WriteAtQuality(number, 77);  // quantiser 8
  EXPECT_GT(fs::file_size(fine), fs::file_size(coarse) * 3 / 2);
  if (row.decoderTellsQuantisers) {
    // The MPEG-4 family's decoders report the quantiser on MPEG-2's scale, twice its own.
    EXPECT_EQ(writertest::QuantisersOf(fine), std::set<int>{8});
    EXPECT_EQ(writertest::QuantisersOf(coarse), std::set<int>{16});
  }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, AviQuantiserTest,
                         ::testing::Values(QuantiserRow{"libxvid", true}, QuantiserRow{"mpeg4", true},
                                           QuantiserRow{"msmpeg4v2", true}, QuantiserRow{"msmpeg4", true},
                                           QuantiserRow{"mjpeg", false}),
                         [](const auto& info) { return info.param.encoder; });

// A 720p picture with grain: its key frame is far above the 64 kB a
// RealMedia packet holds at any of the profiles' rates.
class RealMediaDetailTest : public ::testing::TestWithParam<int> {};

TEST_P(RealMediaDetailTest, EveryProfileWritesADetailedClip) {
  const std::string clip = testclips::MakeClip({.width = 1280,
                                                .height = 720,
                                                .seconds = 0.12,
                                                .audio = false,
                                                .picture = testclips::Picture::TestPattern,
                                                .extraOptions = "-vf noise=alls=40:allf=t -q:v 2"});
  FfmpegVideoReader reader;
  reader.OpenSource(clip);
  FfmpegVideoWriter writer;
  writer.SetSourceAudioFormat(0, 0);
  writer.SetSourceVideoFormat(reader.GetWidth(), reader.GetHeight(), reader.GetFrameRate());
  writer.SelectRmProfile(GetParam());
  const std::string path = testclips::TempFolder() + "/detailed-" + std::to_string(GetParam()) + ".rm";
  writer.CreateOutput(path, kOutputRm);
  writertest::CopyInterleaved(reader, writer);
  EXPECT_NO_THROW(writer.CloseSource());
  const writertest::Decoded decoded = writertest::DecodeToEnd(path);
  EXPECT_EQ(decoded.Errors, 0) << decoded.FirstError;
  EXPECT_GE(decoded.Frames, 1);
}

INSTANTIATE_TEST_SUITE_P(Profiles, RealMediaDetailTest,
                         ::testing::Range(1, static_cast<int>(RmProfiles().size()) + 1));

struct LargeSourceRow {
  int width;
  int height;
  int writtenWidth;
  int writtenHeight;
};

TEST(RealMediaSizeTest, ASourceLargerThan1080pIsWrittenAsLargeAsFitsInItsShape) {
  for (const LargeSourceRow& row : {LargeSourceRow{3840, 2160, 1920, 1080}, LargeSourceRow{1440, 2560, 608, 1080},
                                    LargeSourceRow{1920, 1080, 1920, 1080}}) {
    FfmpegVideoWriter writer;
    writer.SetSourceAudioFormat(0, 0);
    writer.SetSourceVideoFormat(row.width, row.height, 25);
    writer.SelectRmProfile(7);  // the source's size
    const std::string path = testclips::TempFolder() + "/large-" + std::to_string(row.width) + ".rm";
    writer.CreateOutput(path, kOutputRm);
    writer.WriteFrame(FlatFrame(row.width, row.height));
    writer.CloseSource();
    const writertest::Probe probe = writertest::ProbeFile(path);
    EXPECT_EQ(probe.Width, row.writtenWidth) << row.width << "x" << row.height;
    EXPECT_EQ(probe.Height, row.writtenHeight) << row.width << "x" << row.height;
  }
}

}  // namespace
}  // namespace orlisk
