#include "burnin/QtTextTransform.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <algorithm>
#include <functional>
#include <memory>
#include <string_view>

#include "PicturePixels.h"
#include "burnin/FrameRenderer.h"

namespace orlisk {
namespace {

// Fonts need a running application; one is made for the whole test program.
class GuiApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!QGuiApplication::instance()) app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "burnin_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};
[[maybe_unused]] ::testing::Environment* const kGuiEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiApplicationEnvironment);

constexpr Colour kRed = 0x000000FF;
constexpr Colour kBlue = 0x00FF0000;
constexpr std::uint8_t kBackground = 0x20;

using testing::PixelAt;
using testing::Rgb;

Frame SolidFrame(int width, int height) {
  return testing::SolidFrame(width, height, {kBackground, kBackground, kBackground});
}

bool IsBackground(Rgb c) { return c == Rgb{kBackground, kBackground, kBackground}; }

struct PaintedArea {
  int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
  int Count = 0;
};

// In the rows [top, bottom] only, when given.
PaintedArea FindPixels(const Frame& frame, const std::function<bool(Rgb)>& match, int top = 0,
                       int bottom = 1 << 30) {
  PaintedArea area;
  for (int y = std::max(top, 0); y <= std::min(bottom, frame.Height - 1); ++y) {
    for (int x = 0; x < frame.Width; ++x) {
      if (!match(PixelAt(frame, x, y))) continue;
      area.Left = std::min(area.Left, x);
      area.Right = std::max(area.Right, x);
      area.Top = std::min(area.Top, y);
      area.Bottom = std::max(area.Bottom, y);
      ++area.Count;
    }
  }
  return area;
}

SubtitleFont TestFont() {
  SubtitleFont font;  // Arial, bold, 21 pixels: the start-up font
  font.Height = -24;
  return font;
}

// The letters alone, without outline or backdrop.
SubtitleStyle Plain(Colour colour, SubtitleFont font = TestFont()) {
  return {.Font = std::move(font), .TextColor = colour, .BorderColor = 0, .BorderEnabled = false, .Backdrop = {}};
}

SubtitlePlacement At(int x, int y) { return {.X = x, .Y = y, .DrawLevel = 240}; }

Frame Draw(const std::string& text, Colour colour, int x = 20, int y = 10) {
  QtTextTransform transform;
  transform.LoadFrame(SolidFrame(200, 100));
  transform.DrawText(0.9, At(x, y), text, Plain(colour));
  return transform.TakeFrame();
}

TEST(QtTextTransform, DrawsTheTextColourWithRedInTheLowByte) {
  const Frame frame = Draw("HIH", kRed);
  const PaintedArea red = FindPixels(frame, [](Rgb c) { return c == Rgb{255, 0, 0}; });
  const PaintedArea blue = FindPixels(frame, [](Rgb c) { return c == Rgb{0, 0, 255}; });
  EXPECT_GT(red.Count, 40);
  EXPECT_EQ(blue.Count, 0);
  // The text hangs from its top-left corner.
  EXPECT_GE(red.Left, 20);
  EXPECT_GE(red.Top, 10);
  EXPECT_LT(red.Left, 20 + 5);
  EXPECT_LT(red.Bottom, 10 + 24 + 4);
}

TEST(QtTextTransform, PaintsNothingOutsideTheText) {
  const int width = TextPixelWidth("HIH", TestFont());
  const Frame frame = Draw("HIH", kRed, 50, 40);
  const PaintedArea painted = FindPixels(frame, [](Rgb c) { return !IsBackground(c); });
  ASSERT_GT(painted.Count, 0);
  EXPECT_GE(painted.Left, 49);
  EXPECT_LE(painted.Right, 50 + width + 1);
  EXPECT_GE(painted.Top, 40);
  EXPECT_LE(painted.Bottom, 40 + 30);
}

TEST(QtTextTransform, OutlineColourSurroundsTheTextColour) {
  QtTextTransform transform;
  transform.LoadFrame(SolidFrame(200, 100));
  SubtitleStyle style = Plain(kRed);
  style.BorderColor = kBlue;
  style.BorderEnabled = true;
  transform.DrawText(0.9, At(30, 30), "IHI", style);
  const Frame frame = transform.TakeFrame();

  const PaintedArea red = FindPixels(frame, [](Rgb c) { return c == Rgb{255, 0, 0}; });
  const PaintedArea pureBlue = FindPixels(frame, [](Rgb c) { return c == Rgb{0, 0, 255}; });
  // Edges are anti-aliased, so the outermost outline pixels are blue blended with the background.
  const PaintedArea blue = FindPixels(frame, [](Rgb c) { return c.B > 2 * c.R && c.B > 2 * c.G; });
  ASSERT_GT(red.Count, 20);
  ASSERT_GT(pureBlue.Count, 20);
  ASSERT_GT(blue.Count, 20);
  // The outline reaches one pixel further out than the text on every side.
  EXPECT_LT(blue.Left, red.Left);
  EXPECT_GT(blue.Right, red.Right);
  EXPECT_LT(blue.Top, red.Top);
  EXPECT_GT(blue.Bottom, red.Bottom);
  const PaintedArea painted = FindPixels(frame, [](Rgb c) { return !IsBackground(c); });
  EXPECT_GE(painted.Left, red.Left - 3);
  EXPECT_LE(painted.Right, red.Right + 3);
}

struct LineBreakCase {
  const char* Name;
  const char* Text;
};

class MultiLine : public ::testing::TestWithParam<LineBreakCase> {};

TEST_P(MultiLine, SecondLineIsDrawnUnderTheFirst) {
  const PaintedArea one =
      FindPixels(Draw("H", kRed), [](Rgb c) { return c == Rgb{255, 0, 0}; });
  const PaintedArea two =
      FindPixels(Draw(GetParam().Text, kRed), [](Rgb c) { return c == Rgb{255, 0, 0}; });
  EXPECT_EQ(two.Top, one.Top);
  EXPECT_EQ(two.Left, one.Left);
  EXPECT_GE(two.Bottom - one.Bottom, 20);  // at least a line of a 24-pixel font lower
  EXPECT_NEAR(two.Count, 2 * one.Count, one.Count / 5);
}

INSTANTIATE_TEST_SUITE_P(Rows, MultiLine,
                         ::testing::Values(LineBreakCase{"CrLf", "H\r\nH"},
                                           LineBreakCase{"Lf", "H\nH"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(QtTextTransform, ChineseTextIsDrawnFromTheFallbackFace) {
  const Frame frame = Draw("\xE4\xB8\xAD\xE6\x96\x87", kRed);  // two Chinese characters
  EXPECT_GT(FindPixels(frame, [](Rgb c) { return c == Rgb{255, 0, 0}; }).Count, 20);
  EXPECT_GT(TextPixelWidth("\xE4\xB8\xAD\xE6\x96\x87", TestFont()), 30);
}

TEST(QtTextTransform, LoadFrameCopiesAndTakeFrameKeepsTheLayout) {
  const Frame source = SolidFrame(64, 48);
  QtTextTransform transform;
  transform.LoadFrame(source);
  transform.DrawText(0.9, At(2, 2), "HH", Plain(kRed));
  const Frame drawn = transform.TakeFrame();
  EXPECT_EQ(drawn.Width, 64);
  EXPECT_EQ(drawn.Height, 48);
  EXPECT_EQ(drawn.Stride, source.Stride);
  EXPECT_NE(drawn.Pixels, source.Pixels);
  EXPECT_EQ(source.Pixels, SolidFrame(64, 48).Pixels);
  EXPECT_TRUE(transform.TakeFrame().empty());
}

// A picture the reader scaled for the view: its places stay in the source's
// pixels, so the text lands where it lands on the source's picture, scaled.
struct ScaledFrameCase {
  const char* Name;
  int Width, Height;  // of the scaled picture; the source's is 600 x 300
};

class ScaledFrame : public ::testing::TestWithParam<ScaledFrameCase> {};

TEST_P(ScaledFrame, TextLandsAtTheSourcePlaceScaledAndTheFrameKeepsItsSourceSize) {
  const ScaledFrameCase& c = GetParam();
  SubtitleFont font = TestFont();
  font.Height = -48;
  auto drawOn = [&](Frame frame) {
    QtTextTransform transform;
    transform.LoadFrame(frame);
    transform.DrawText(0.9, At(120, 180), "HIH", Plain(kRed, font));
    return transform.TakeFrame();
  };
  const Frame full = drawOn(SolidFrame(600, 300));
  Frame small = SolidFrame(c.Width, c.Height);
  small.SourceWidth = 600;
  small.SourceHeight = 300;
  const Frame drawn = drawOn(small);
  EXPECT_EQ(drawn.Width, c.Width);
  EXPECT_EQ(drawn.PlaceWidth(), 600);
  EXPECT_EQ(drawn.PlaceHeight(), 300);

  const auto painted = [](Rgb colour) { return !IsBackground(colour); };
  const PaintedArea onFull = FindPixels(full, painted);
  const PaintedArea onSmall = FindPixels(drawn, painted);
  ASSERT_GT(onFull.Count, 100);
  ASSERT_GT(onSmall.Count, 10);
  const double sx = c.Width / 600.0;
  const double sy = c.Height / 300.0;
  // Within two pixels: anti-aliased edges round either way.
  EXPECT_NEAR(onSmall.Left, onFull.Left * sx, 2.0);
  EXPECT_NEAR(onSmall.Right, onFull.Right * sx, 2.0);
  EXPECT_NEAR(onSmall.Top, onFull.Top * sy, 2.0);
  EXPECT_NEAR(onSmall.Bottom, onFull.Bottom * sy, 2.0);
}

INSTANTIATE_TEST_SUITE_P(Rows, ScaledFrame,
                         ::testing::Values(ScaledFrameCase{"Half", 300, 150},
                                           ScaledFrameCase{"Third", 200, 100},
                                           ScaledFrameCase{"TwoThirds", 400, 200},
                                           ScaledFrameCase{"Doubled", 1200, 600}),
                         [](const auto& info) { return std::string(info.param.Name); });

// The outlined letters are drawn once and kept for the frames after: a taller
// frame (the text, cut by the bottom of the first, now whole), a frame of
// another scale and one of the first kind again each get what a fresh
// transform draws on them.
TEST(QtTextTransform, AKeptSubtitleFollowsTheScaleOfEachFrame) {
  SubtitleStyle style = Plain(kRed);
  style.BorderColor = kBlue;
  style.BorderEnabled = true;
  style.Backdrop = {.Shape = SubtitleBackdrop::Kind::Shadow, .Opacity = 60};
  Frame small = SolidFrame(300, 150);
  small.SourceWidth = 600;
  small.SourceHeight = 300;
  const auto drawWith = [&](QtTextTransform& transform, const Frame& frame) {
    transform.LoadFrame(frame);
    transform.DrawText(0.9, At(120, 285), "HIH", style);
    return transform.TakeFrame();
  };
  QtTextTransform kept;
  for (const Frame& frame : {SolidFrame(600, 300), SolidFrame(600, 400), small, SolidFrame(600, 300)}) {
    QtTextTransform fresh;
    EXPECT_EQ(drawWith(kept, frame).Pixels, drawWith(fresh, frame).Pixels) << frame.Width << "x" << frame.Height;
  }
}

// A centred subtitle through the renderer: each line centred on the source's
// width (600), outline included, on full-size and scaled pictures alike.
struct CentredCase {
  const char* Name;
  const char* Text;
  int Width, Height;  // of the picture; the source's is 600 x 300
};

class CentredText : public ::testing::TestWithParam<CentredCase> {};

TEST_P(CentredText, EachLineIsCentredOnTheSourceWidth) {
  const CentredCase& c = GetParam();
  Frame frame = SolidFrame(c.Width, c.Height);
  frame.SourceWidth = 600;
  frame.SourceHeight = 300;
  const SubtitleStyle style{
      .Font = TestFont(), .TextColor = kRed, .BorderColor = kBlue, .BorderEnabled = true, .Backdrop = {}};
  const EditText edit{.Text = c.Text, .Place = {.X = 10, .Y = 100, .DrawLevel = 240, .Centred = true}, .Style = style};
  QtTextTransform transform;
  const Frame drawn = RenderEditFrame(transform, frame, edit, {});

  const double scale = c.Width / 600.0;
  const int spacing = QFontMetrics(ToQFont(style.Font)).lineSpacing();
  const int lines = std::string_view(c.Text).find('\n') == std::string_view::npos ? 1 : 2;
  for (int line = 0; line < lines; ++line) {
    const int top = static_cast<int>((100 + line * spacing) * scale);
    const int bottom = static_cast<int>((100 + (line + 1) * spacing) * scale) - 1;
    const PaintedArea ink = FindPixels(drawn, [](Rgb colour) { return !IsBackground(colour); }, top, bottom);
    ASSERT_GT(ink.Count, 0) << "line " << line + 1;
    // Within two picture pixels: anti-aliased edges round either way.
    EXPECT_NEAR((ink.Left + ink.Right + 1) / 2.0, 300 * scale, 2.0) << "line " << line + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, CentredText,
                         ::testing::Values(CentredCase{"OneLine", "HIH", 600, 300},
                                           CentredCase{"OneLineHalfSize", "HIH", 300, 150},
                                           CentredCase{"TwoLines", "I\r\nHIHIHIH", 600, 300},
                                           CentredCase{"TwoLinesThirdSize", "HIHIHIH\nI", 200, 100}),
                         [](const auto& info) { return std::string(info.param.Name); });

struct DamagedFrameCase {
  const char* Name;
  int Width, Height, Stride;
  std::size_t Bytes;
};

class DamagedFrame : public ::testing::TestWithParam<DamagedFrameCase> {};

TEST_P(DamagedFrame, IsRefusedWithAReadableError) {
  const DamagedFrameCase& c = GetParam();
  QtTextTransform transform;
  const Frame frame{c.Width, c.Height, c.Stride, std::vector<std::uint8_t>(c.Bytes, 0)};
  EXPECT_THROW(transform.LoadFrame(frame), std::invalid_argument);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DamagedFrame,
    ::testing::Values(DamagedFrameCase{"TooFewBytes", 10, 10, 40, 399},
                      DamagedFrameCase{"StrideBelowWidth", 10, 10, 36, 400},
                      DamagedFrameCase{"UnalignedStride", 10, 10, 42, 420},
                      DamagedFrameCase{"NoWidth", 0, 10, 40, 400}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ToQFont, MapsSizeStyleAndTheArialTwin) {
  SubtitleFont font;
  font.Italic = true;
  font.Underline = true;
  const QFont q = ToQFont(font);
  EXPECT_EQ(q.pixelSize(), 21);
  EXPECT_EQ(q.weight(), QFont::Bold);
  EXPECT_TRUE(q.italic());
  EXPECT_TRUE(q.underline());
  EXPECT_FALSE(q.strikeOut());
  EXPECT_EQ(QFontInfo(q).family(), "Liberation Sans");

  font.Height = 0;
  font.PointSize = 12;
  EXPECT_EQ(ToQFont(font).pixelSize(), 16);
}

TEST(TextPixelWidth, GrowsWithTheText) {
  const SubtitleFont font = TestFont();
  EXPECT_EQ(TextPixelWidth("", font), 0);
  const int one = TextPixelWidth("W", font);
  EXPECT_GT(one, 10);
  EXPECT_NEAR(TextPixelWidth("WW", font), 2 * one, 1);
}

}  // namespace
}  // namespace orlisk
