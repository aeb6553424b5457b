// The written picture keeps its displayed shape: where the source's picture
// goes in an output frame, and what a written file says and shows.
#include <gtest/gtest.h>

#include <algorithm>

#include "WriterTestSupport.h"
#include "burnin/writer/CodecLists.h"
#include "burnin/writer/ConfigureWriter.h"
#include "burnin/writer/FfmpegVideoWriter.h"
#include "burnin/writer/OutputPicture.h"
#include "playback/FfmpegVideoReader.h"
#include "tests/fixtures/TestClips.h"

namespace orlisk {
namespace {

struct PlanRow {
  const char* what;
  int sourceW, sourceH;
  PixelAspect sourceAspect;
  int wantedW, wantedH;
  bool carriesAspect;
  int step;
  OutputPicture expected;
};

TEST(PlanOutputPicture, FitsThePictureOrKeepsItsSamples) {
  const int kMax = 8192;
  for (const PlanRow& row : {
           PlanRow{"16:9 at the custom size: square pixels, bars", 1280, 720, {}, 352, 240, true, 2,
                   {352, 240, {}, {0, 20, 352, 198}}},
           PlanRow{"16:11 samples at the custom size", 720, 576, {16, 11}, 352, 240, true, 2,
                   {352, 240, {}, {0, 22, 352, 194}}},
           PlanRow{"16:11 samples at the source's size keep their aspect", 720, 576, {16, 11}, 0, 0, true, 2,
                   {720, 576, {16, 11}, {0, 0, 720, 576}}},
           PlanRow{"the source's size asked for by name is the same", 720, 576, {16, 11}, 720, 576, true, 2,
                   {720, 576, {16, 11}, {0, 0, 720, 576}}},
           PlanRow{"no place for the aspect: the displayed size in square pixels", 720, 576, {16, 11}, 0, 0, false,
                   4, {1048, 576, {}, {0, 0, 1048, 576}}},
           PlanRow{"no place for the aspect at a size asked for: bars", 720, 576, {16, 11}, 720, 576, false, 4,
                   {720, 576, {}, {0, 88, 720, 396}}},
           PlanRow{"odd source at its size fills its even frame", 641, 359, {}, 0, 0, true, 2,
                   {640, 358, {}, {0, 0, 640, 358}}},
           PlanRow{"odd custom size", 1280, 720, {}, 353, 241, true, 2, {352, 240, {}, {0, 20, 352, 198}}},
           PlanRow{"a source beyond the largest side is fitted, not squeezed", 16000, 8000, {}, 0, 0, true, 2,
                   {8192, 8000, {}, {0, 1952, 8192, 4096}}},
       }) {
    const OutputPicture got = PlanOutputPicture(row.sourceW, row.sourceH, row.sourceAspect, row.wantedW, row.wantedH,
                                                row.carriesAspect, row.step, row.step, kMax);
    EXPECT_EQ(got.Width, row.expected.Width) << row.what;
    EXPECT_EQ(got.Height, row.expected.Height) << row.what;
    EXPECT_EQ(got.Aspect, row.expected.Aspect) << row.what;
    EXPECT_EQ(got.Picture, row.expected.Picture) << row.what;
  }
}

// The rectangle of `frame` whose blue stands out from black: the picture of a
// FrameIndexColour clip (blue 128) between black bars.
PictureRect LitArea(const Frame& frame) {
  int left = frame.Width, top = frame.Height, right = -1, bottom = -1;
  for (int y = 0; y < frame.Height; ++y) {
    for (int x = 0; x < frame.Width; ++x) {
      if (frame.Pixels[static_cast<std::size_t>(y) * frame.Stride + 4 * static_cast<std::size_t>(x)] < 64) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  return right < 0 ? PictureRect{} : PictureRect{left, top, right - left + 1, bottom - top + 1};
}

struct ShapeRow {
  const char* name;
  bool wideSamples;  // a 90x72 source of 16:11 samples, else 160x90 of square ones
  int outputMode;
  int formatChoice;
  int width, height;  // written
  PixelAspect aspect;
  PictureRect picture;
};

void PrintTo(const ShapeRow& row, std::ostream* out) { *out << row.name; }

class WriterShapeTest : public ::testing::TestWithParam<ShapeRow> {};

// Source, reader, configuration and writer as the write job joins them.
TEST_P(WriterShapeTest, TheWrittenPictureKeepsItsDisplayedShape) {
  const ShapeRow& row = GetParam();
  const std::string source =
      row.wideSamples
          ? testclips::MakeClip({.width = 90, .height = 72, .seconds = 0.4, .audio = false,
                                 .extraOptions = "-vf setsar=16/11"})
          : testclips::MakeClip({.width = 160, .height = 90, .seconds = 0.4, .audio = false});
  FfmpegVideoReader reader;
  reader.OpenSource(source);
  EXPECT_EQ(reader.GetPixelAspect(), (row.wideSamples ? PixelAspect{16, 11} : PixelAspect{}));
  FfmpegVideoWriter writer;
  OutputSettings settings;
  settings.OutputMode = row.outputMode;
  settings.CustomWidth = 96;
  settings.CustomHeight = 64;
  const WriterConfiguration configuration =
      ConfigureWriter(ReadSourceFacts(reader, source), settings, row.formatChoice, FillCodecLists(writer));
  ApplyWriterConfiguration(configuration, writer);
  const std::string path = testclips::TempFolder() + "/shape-" + row.name + configuration.OutputExtension;
  writer.CreateOutput(path, configuration.OutputType);
  writertest::CopyInterleaved(reader, writer);
  writer.CloseSource();

  const writertest::Probe probe = writertest::ProbeFile(path);
  EXPECT_EQ(probe.Width, row.width);
  EXPECT_EQ(probe.Height, row.height);
  EXPECT_EQ(probe.Aspect, row.aspect);
  FfmpegVideoReader written;
  written.OpenSource(path);
  const PictureRect lit = LitArea(written.ReadFrame());
  EXPECT_NEAR(lit.X, row.picture.X, 1);
  EXPECT_NEAR(lit.Y, row.picture.Y, 1);
  EXPECT_NEAR(lit.Width, row.picture.Width, 1);
  EXPECT_NEAR(lit.Height, row.picture.Height, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, WriterShapeTest,
    ::testing::Values(ShapeRow{"CustomAviOfAWidePicture", false, 1, 0, 96, 64, {}, {0, 4, 96, 54}},
                      ShapeRow{"CustomMpegOfWideSamples", true, 1, 1, 96, 64, {}, {0, 6, 96, 52}},
                      ShapeRow{"OriginalAviKeepsTheSamples", true, 0, 0, 90, 72, {16, 11}, {0, 0, 90, 72}},
                      ShapeRow{"WmvAtTheSourcesSizeKeepsTheSamples", true, 1, 2, 90, 72, {16, 11}, {0, 0, 90, 72}},
                      ShapeRow{"RmWidensToTheDisplayedSize", true, 1, 3, 132, 72, {}, {0, 0, 132, 72}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orlisk
