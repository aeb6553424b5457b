// A line typed at the start place, saved and read back, lands at the same
// place in every picture that shows it: the editor's picture while typing,
// the preview on a picture scaled for the view, the window's write job and
// the video orlisk-burn writes. Each of its lines is centred on the picture.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "burnin/FrameRenderer.h"
#include "burnin/QtTextTransform.h"
#include "burnin/WriteJob.h"
#include "burnin/writer/NullVideoWriter.h"
#include "media/PictureShape.h"
#include "playback/FfmpegVideoReader.h"
#include "files/SubtitleFiles.h"
#include "tests/fixtures/TestClips.h"

namespace orlisk {
namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 320, kHeight = 240;
constexpr Colour kYellow = 0x0000FFFF;  // 0x00BBGGRR; the clip's first pictures are dark blue

// Left and right edge of the yellow ink in each line's band, in source pixels.
struct LineInk {
  double Left = 1e9, Right = -1;
};

std::vector<LineInk> InkOfLines(const Frame& frame, int top, int lineSpacing, int lines) {
  const double scale = static_cast<double>(frame.Width) / frame.PlaceWidth();
  std::vector<LineInk> ink(static_cast<std::size_t>(lines));
  for (int y = 0; y < frame.Height; ++y) {
    const int line = static_cast<int>((y / scale - top) / lineSpacing);
    if (y / scale < top || line >= lines) continue;
    for (int x = 0; x < frame.Width; ++x) {
      const std::uint8_t* p = &frame.Pixels[static_cast<std::size_t>(y) * frame.Stride + x * 4];
      if (p[2] < 180 || p[1] < 180 || p[0] > 90) continue;  // B, G, R in memory
      LineInk& l = ink[static_cast<std::size_t>(line)];
      l.Left = std::min(l.Left, x / scale);
      l.Right = std::max(l.Right, (x + 1) / scale);
    }
  }
  return ink;
}

class SamePlace : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "orlisk_cli_tests";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);  // fonts; kept to the end
  }
  // The typed line, saved as the pair typed.srt and typed.dat.
  void SetUp() override {
    fs::create_directories(folder / "config");
    typed.Place = StartPlacement(kHeight, font);
    typed.Text = "HIHIH\r\nI";
    typed.TextColor = kYellow;
    typed.Border = false;
    typed.BeginTime = 0;
    typed.EndTime = 1000;
    SaveSubtitleFiles(srt, CompanionPathFor(srt), {{TimeRangeText(0, 1000), typed.Text}}, {typed});
  }
  void TearDown() override { fs::remove_all(folder); }

  // The picture orlisk-burn writes with `options`, the first one.
  Frame Burnt(const std::string& name, const std::string& options) const {
    const fs::path burnt = folder / name;
    const std::string command = "XDG_CONFIG_HOME='" + (folder / "config").string() + "' HOME='" + folder.string() +
                                "' '" ORLISK_BURN_PROGRAM "' '" + clip + "' '" + srt.string() + "' -o '" +
                                burnt.string() + "' " + options + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    FfmpegVideoReader reader;
    reader.OpenSource(burnt.string());
    return reader.ReadFrame();
  }
  std::vector<LineInk> InkOf(const Frame& frame) const {
    return InkOfLines(frame, typed.Place.Y, QFontMetrics(ToQFont(font)).lineSpacing(), 2);
  }

  fs::path folder = fs::temp_directory_path() / ("orlisk-same-place-" + std::to_string(::getpid()));
  fs::path srt = folder / "typed.srt";
  const std::string clip =
      testclips::MakeClip({.width = kWidth, .height = kHeight, .fps = 25, .seconds = 1.0, .audio = false});
  const SubtitleFont font;  // the start-up font, which orlisk-burn draws with too
  SubtitleEntry typed;
};

TEST_F(SamePlace, ATypedLineIsCentredAlikeInTheEditorThePreviewAndBothBurnIns) {
  FfmpegVideoReader reader;
  reader.OpenSource(clip);
  QtTextTransform transform;
  const Frame first = reader.ReadFrame();
  const Frame edited = RenderEditFrame(
      transform, first,
      EditText{.Text = typed.Text, .Place = typed.Place,
               .Style = {.Font = font, .TextColor = kYellow, .BorderColor = 0, .BorderEnabled = false,
                         .Backdrop = {}}},
      {});

  // What the editor and orlisk-burn read back from the pair.
  SubRipReadContext context;
  context.Placement = StartPlacement(kHeight, font);
  const std::vector<SubtitleEntry> read =
      ReadSubtitleFiles(srt, LegacyCodePage::Windows1252, context).Result.Entries;
  ASSERT_EQ(read.size(), 1u);

  reader.SetFrameSize(kWidth / 2, kHeight / 2);  // as playback asks for the view
  reader.SeekTo(0);
  int cursor = 0;
  const Frame previewed =
      RenderPreviewFrame(transform, reader.ReadFrame(), read, cursor, 1, 40, SubtitleStyle{.Font = font});

  NullVideoWriter writer;
  Frame written;
  WriteJob job({.Reader = reader, .Writer = writer, .Transform = transform,
                .ShowFrame = [&written](const Frame& f) { if (written.empty()) written = f; }},
               read, SubtitleStyle{.Font = font});
  job.Start({.Path = (folder / "window.avi").string(), .ReplaceFile = false, .NextFreeName = {}}, 1);
  while (written.empty() && job.Step()) {
  }
  job.Finish();

  const std::vector<LineInk> expected = InkOf(edited);
  for (const LineInk& line : expected) {
    ASSERT_LT(line.Left, line.Right);
    EXPECT_NEAR((line.Left + line.Right) / 2, kWidth / 2.0, 2.0);  // centred on its own line
  }
  struct Shown {
    const char* name;
    Frame frame;
    double tolerance;  // source pixels; the preview's picture is half size
  };
  for (const Shown& shown : {Shown{"preview", previewed, 3.0}, Shown{"window's write job", written, 1.0},
                             Shown{"orlisk-burn", Burnt("burnt.avi", "--format original"), 2.0}}) {
    const std::vector<LineInk> ink = InkOf(shown.frame);
    for (std::size_t i = 0; i < ink.size(); ++i) {
      EXPECT_NEAR(ink[i].Left, expected[i].Left, shown.tolerance) << shown.name << ", line " << i + 1;
      EXPECT_NEAR(ink[i].Right, expected[i].Right, shown.tolerance) << shown.name << ", line " << i + 1;
    }
  }
}

// In a frame of another shape the line stays where it was on the picture:
// the picture (4:3) lies between bars in the middle of a vertical frame.
TEST_F(SamePlace, ALineBurntIntoAVerticalMp4StaysOnTheSamePartOfThePicture) {
  const Frame frame = Burnt("vertical.mp4", "--format mp4 --size vertical --quality high");
  ASSERT_EQ(std::pair(frame.Width, frame.Height), std::pair(1080, 1920));
  const PictureRect picture = FitPicture(frame.Width, frame.Height, kWidth, kHeight);
  // The picture's rows, measured in the source's pixels.
  Frame onPicture = frame;
  onPicture.Height = picture.Height;
  onPicture.SourceWidth = kWidth;
  onPicture.SourceHeight = kHeight;
  const auto rows = frame.Pixels.begin() + static_cast<std::ptrdiff_t>(picture.Y) * frame.Stride;
  onPicture.Pixels.assign(rows, rows + static_cast<std::ptrdiff_t>(picture.Height) * frame.Stride);
  ASSERT_EQ(picture.Width, frame.Width);

  FfmpegVideoReader reader;
  reader.OpenSource(clip);
  QtTextTransform transform;
  int cursor = 0;
  const std::vector<LineInk> expected =
      InkOf(RenderPreviewFrame(transform, reader.ReadFrame(), {typed}, cursor, 1, 40, SubtitleStyle{.Font = font}));
  const std::vector<LineInk> ink = InkOf(onPicture);
  for (std::size_t i = 0; i < ink.size(); ++i) {
    EXPECT_NEAR(ink[i].Left, expected[i].Left, 1.0) << "line " << i + 1;
    EXPECT_NEAR(ink[i].Right, expected[i].Right, 1.0) << "line " << i + 1;
  }
}

}  // namespace
}  // namespace orlisk
