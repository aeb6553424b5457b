// The write job with the real reader, text transform and writer on clips made
// here: what it writes is what the preview shows, the subtitles land in the
// written pictures at their times and in their colours, and a stopped job
// leaves a file that plays to its end.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "burnin/FrameRenderer.h"
#include "burnin/QtTextTransform.h"
#include "burnin/WriteJob.h"
#include "burnin/writer/CodecLists.h"
#include "burnin/writer/ConfigureWriter.h"
#include "burnin/writer/FfmpegVideoWriter.h"
#include "burnin/writer/NullVideoWriter.h"
#include "burnin/writer/SourceFacts.h"
#include "playback/FfmpegVideoReader.h"
#include "tests/fixtures/TestClips.h"

namespace orlisk {
namespace {

namespace fs = std::filesystem;

constexpr Colour kYellow = 0x0000FFFF;  // 0x00BBGGRR
constexpr Colour kGreen = 0x0000FF00;

SubtitleEntry Subtitle(SubtitleTime begin, SubtitleTime end, const std::string& text, int x, int y, Colour colour) {
  SubtitleEntry e;
  e.BeginTime = begin;
  e.EndTime = end;
  e.Text = text;
  e.Place.X = x;
  e.Place.Y = y;
  e.TextColor = colour;
  e.BorderColor = colour;
  e.Border = false;
  e.Place.DrawLevel = 255;
  return e;
}

std::vector<SubtitleEntry> TwoSubtitles() {
  return {Subtitle(1000, 1800, "HELLO HELLO", 20, 150, kYellow), Subtitle(2500, 3200, "WORLD WORLD", 20, 30, kGreen)};
}

std::string Clip() {
  return testclips::MakeClip({.width = 320, .height = 240, .fps = 25, .seconds = 4.0});
}

// Pixels of the colour `c` (0x00BBGGRR) within a tolerance, in the band of
// rows [top, top + 40).
int CountColour(const Frame& f, Colour c, int top) {
  const int red = c & 0xFF, green = (c >> 8) & 0xFF, blue = (c >> 16) & 0xFF;
  int n = 0;
  for (int y = std::max(0, top); y < std::min(f.Height, top + 40); ++y) {
    const std::uint8_t* row = f.Pixels.data() + static_cast<std::size_t>(y) * f.Stride;
    for (int x = 0; x < f.Width; ++x) {
      const std::uint8_t* p = row + x * 4;  // B, G, R, x
      n += std::abs(p[2] - red) < 60 && std::abs(p[1] - green) < 60 && std::abs(p[0] - blue) < 60;
    }
  }
  return n;
}

struct OutputFolder {
  fs::path path = fs::temp_directory_path() / ("orlisk-burn-media-" + std::to_string(::getpid()));
  OutputFolder() { fs::create_directories(path); }
  ~OutputFolder() { fs::remove_all(path); }
};

// Writes `clip` with `subtitles` as the default settings say; stops after
// `maxPasses` passes when given. Returns the output path.
std::string Burn(const std::string& clip, const std::vector<SubtitleEntry>& subtitles, const fs::path& folder,
                 int maxPasses = -1) {
  FfmpegVideoReader reader;
  reader.OpenSource(clip);
  FfmpegVideoWriter writer;
  const WriterConfiguration configuration =
      ConfigureWriter(ReadSourceFacts(reader, clip), OutputSettings{}, 0, FillCodecLists(writer));
  ApplyWriterConfiguration(configuration, writer);
  QtTextTransform transform;
  const std::string output = (folder / ("out" + configuration.OutputExtension)).string();
  WriteJob job({.Reader = reader, .Writer = writer, .Transform = transform, .ShowFrame = {}}, subtitles,
               SubtitleStyle{});
  job.Start({.Path = output, .ReplaceFile = false, .NextFreeName = {}}, configuration.OutputType);
  for (int pass = 0; pass != maxPasses && job.Step(); ++pass) {
  }
  job.Finish();
  return output;
}

// Pictures without text go to the writer as decoded; those with text differ
// from the preview only where the picture's chroma is shared between pixels
// (yellow text on a coloured picture: the frames as the reader converts
// them clip there), by less than 10 levels of luma on the mean of the drawn
// pixels. SubtitleBurnerTest holds the bounds per pixel and pixel format.
TEST(WriteJobMedia, TheWrittenPicturesAreUntouchedWithoutTextAndThePreviewWithIt) {
  OutputFolder folder;
  const std::string clip = Clip();
  FfmpegVideoReader reader;
  reader.OpenSource(clip);
  NullVideoWriter writer;
  writer.KeepFrames = true;
  writer.SetSourceVideoFormat(reader.GetWidth(), reader.GetHeight(), reader.GetFrameRate());
  writer.SetSourceAudioFormat(reader.GetAudioSampleRate(), reader.GetAudioChannels());
  QtTextTransform transform;
  const std::vector<SubtitleEntry> subtitles = TwoSubtitles();
  // With a shadow, which the written picture gets as the preview does.
  SubtitleStyle inUse;
  inUse.Backdrop = {.Shape = SubtitleBackdrop::Kind::Shadow, .Opacity = 70};
  WriteJob job({.Reader = reader, .Writer = writer, .Transform = transform, .ShowFrame = {}}, subtitles, inUse);
  job.Start({.Path = (folder.path / "out.avi").string(), .ReplaceFile = false, .NextFreeName = {}}, kOutputAvi);
  while (job.Step()) {
  }
  job.Finish();
  ASSERT_EQ(writer.Frames.size(), 100u);
  EXPECT_EQ(std::count(writer.Calls.begin(), writer.Calls.end(), "WritePicture(320x240)"), 100);

  FfmpegVideoReader preview;
  preview.OpenSource(clip);
  QtTextTransform previewTransform;
  int cursor = 0;
  int withText = 0;
  const auto luma = [](const std::uint8_t* p) { return 0.299 * p[2] + 0.587 * p[1] + 0.114 * p[0]; };
  for (std::size_t i = 0; i < writer.Frames.size(); ++i) {
    Frame source = preview.ReadFrame();
    ASSERT_FALSE(source.empty());
    Frame expected = RenderPreviewFrame(previewTransform, source, subtitles, cursor,
                                        static_cast<int>(subtitles.size()), preview.GetPosition(), inUse);
    const Frame& written = writer.Frames[i];
    if (expected.Pixels == source.Pixels) {
      ASSERT_EQ(written.Pixels, source.Pixels) << "frame " << i;
      continue;
    }
    ++withText;
    double sum = 0;
    int drawn = 0;
    for (std::size_t p = 0; p + 4 <= static_cast<std::size_t>(written.Stride) * written.Height; p += 4) {
      if (std::equal(&expected.Pixels[p], &expected.Pixels[p] + 3, &source.Pixels[p])) continue;
      sum += std::abs(luma(&written.Pixels[p]) - luma(&expected.Pixels[p]));
      ++drawn;
    }
    ASSERT_LE(sum / drawn, 10.0) << "frame " << i;
  }
  EXPECT_GT(withText, 30);  // both subtitles were drawn
}

TEST(WriteJobMedia, AReaderLeftAtTheViewsSizeByPlaybackWritesTheSourcesSize) {
  OutputFolder folder;
  FfmpegVideoReader reader;
  reader.OpenSource(Clip());
  reader.SetFrameSize(160, 120);  // as playback leaves it
  NullVideoWriter writer;
  writer.KeepFrames = true;
  writer.SetSourceVideoFormat(reader.GetWidth(), reader.GetHeight(), reader.GetFrameRate());
  writer.SetSourceAudioFormat(reader.GetAudioSampleRate(), reader.GetAudioChannels());
  QtTextTransform transform;
  WriteJob job({.Reader = reader, .Writer = writer, .Transform = transform, .ShowFrame = {}}, TwoSubtitles(),
               SubtitleStyle{});
  job.Start({.Path = (folder.path / "out.avi").string(), .ReplaceFile = false, .NextFreeName = {}}, kOutputAvi);
  while (job.Step()) {
  }
  job.Finish();
  ASSERT_EQ(writer.Frames.size(), 100u);
  for (const Frame& frame : writer.Frames) {
    ASSERT_EQ(frame.Width, 320);
    ASSERT_EQ(frame.Height, 240);
  }
}

struct Probe {
  SubtitleTime At;
  int YellowTop;  // band searched for yellow; -1: none expected
  bool Yellow;
  bool Green;
};

TEST(WriteJobMedia, SubtitlesAreInTheWrittenVideoInsideTheirTimesInTheirColoursAndNowhereElse) {
  OutputFolder folder;
  const std::string output = Burn(Clip(), TwoSubtitles(), folder.path);
  FfmpegVideoReader written;
  written.OpenSource(output);
  EXPECT_NEAR(written.GetDuration(), 4000, 80);
  for (const Probe& p : std::vector<Probe>{{500, 150, false, false},
                                           {1400, 150, true, false},
                                           {2100, 150, false, false},
                                           {2800, 150, false, true},
                                           {3600, 150, false, false}}) {
    written.SeekTo(p.At);
    const Frame f = written.ReadFrame();
    ASSERT_FALSE(f.empty()) << p.At;
    const int yellow = CountColour(f, kYellow, 150);
    const int green = CountColour(f, kGreen, 30);
    if (p.Yellow) {
      EXPECT_GT(yellow, 100) << "at " << p.At;
    } else {
      EXPECT_LT(yellow, 10) << "at " << p.At;
    }
    if (p.Green) {
      EXPECT_GT(green, 100) << "at " << p.At;
    } else {
      EXPECT_LT(green, 10) << "at " << p.At;
    }
  }
}

TEST(WriteJobMedia, AJobStoppedHalfWayLeavesAFileThatPlaysToItsEnd) {
  OutputFolder folder;
  const std::string output = Burn(Clip(), TwoSubtitles(), folder.path, 80);
  FfmpegVideoReader written;
  written.OpenSource(output);
  int frames = 0;
  while (!written.ReadFrame().empty()) ASSERT_LT(++frames, 1000);
  // About 80 passes: a frame or a block of sound each, so roughly half the video.
  EXPECT_GT(frames, 15);
  EXPECT_LT(frames, 90);
  EXPECT_NEAR(written.GetDuration(), frames * 40, 120);
}

struct UnusualSource {
  const char* name;
  int width;
  int height;
  const char* pixelFormat;
  const char* codec;
};

class WriteJobSources : public testing::TestWithParam<UnusualSource> {};

// Odd sizes, 4:2:2 and 4:4:4, 10 bits and full range reach the encoder with
// their text, one subtitle of them half off the picture's bottom right corner.
TEST_P(WriteJobSources, AreWrittenWithTheirTextClippedAtThePicturesEdge) {
  const UnusualSource& source = GetParam();
  OutputFolder folder;
  const std::string clip =
      testclips::MakeClip({.width = source.width, .height = source.height, .fps = 25, .seconds = 0.4, .audio = false,
                           .codec = source.codec, .extraOptions = std::string("-pix_fmt ") + source.pixelFormat});
  const std::vector<SubtitleEntry> subtitles = {
      Subtitle(0, 200, "HELLO HELLO", source.width - 60, source.height - 12, kYellow),
      Subtitle(201, 1000, "HELLO HELLO", 20, 150, kYellow)};
  FfmpegVideoReader written;
  written.OpenSource(Burn(clip, subtitles, folder.path));
  EXPECT_NEAR(written.GetWidth(), source.width, 1);
  EXPECT_NEAR(written.GetHeight(), source.height, 1);
  int frames = 0;
  int yellowFrames = 0;
  for (Frame f = written.ReadFrame(); !f.empty(); f = written.ReadFrame(), ++frames) {
    yellowFrames += CountColour(f, kYellow, 150) > 100 || CountColour(f, kYellow, source.height - 40) > 30;
  }
  EXPECT_EQ(frames, 10);
  EXPECT_GE(yellowFrames, 8);
}

INSTANTIATE_TEST_SUITE_P(Formats, WriteJobSources,
                         testing::Values(UnusualSource{"odd_size", 321, 241, "yuv420p", "ffv1"},
                                         UnusualSource{"ten_bit_422", 320, 240, "yuv422p10le", "ffv1"},
                                         UnusualSource{"yuv444p", 320, 240, "yuv444p", "ffv1"},
                                         UnusualSource{"full_range", 320, 240, "yuvj420p", "mjpeg"}),
                         [](const testing::TestParamInfo<UnusualSource>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orlisk
