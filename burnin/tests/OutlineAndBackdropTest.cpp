// The outline stroke and the backdrop on pixels, through the renderer and the
// Qt transform (the GUI application comes from QtTextTransformTest.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "PicturePixels.h"
#include "burnin/FrameRenderer.h"
#include "burnin/QtTextTransform.h"

namespace orlisk {
namespace {

using testing::PixelAt;
using testing::Rgb;
using testing::SolidFrame;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlueRgb{0, 0, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGrey{0x20, 0x20, 0x20};
constexpr Colour kWhiteText = 0x00FFFFFF;
constexpr Colour kRedText = 0x000000FF;
constexpr Colour kBlueOutline = 16711680;
constexpr Colour kBlackOutline = 0;

// The start-up font at a size in points (96 dots per inch).
SubtitleFont FontOfPoints(int points) {
  SubtitleFont font;
  font.PointSize = points;
  font.Height = -static_cast<int>(std::lround(points * 96.0 / 72.0));
  return font;
}

SubtitleStyle Style(int points, Colour text, bool outlined, Colour outline = kBlueOutline,
                    SubtitleBackdrop backdrop = {}) {
  return {.Font = FontOfPoints(points), .TextColor = text, .BorderColor = outline, .BorderEnabled = outlined,
          .Backdrop = backdrop};
}

Frame Render(Frame background, const std::string& text, const SubtitlePlacement& place, const SubtitleStyle& style) {
  QtTextTransform transform;
  return RenderEditFrame(transform, background, EditText{.Text = text, .Place = place, .Style = style}, nullptr);
}

const SubtitlePlacement kPlace{.X = 40, .Y = 30, .DrawLevel = 240};

// The stem of an "I": its middle row, and its first and last pixel there.
struct Stem {
  int Row, Left, Right;
};

// Where the letters of `style` are, found on a black picture in white without
// outline or backdrop: a picture in the colours under test may hide them.
Stem StemOf(const SubtitleStyle& style) {
  SubtitleStyle bare = style;
  bare.TextColor = kWhiteText;
  bare.BorderEnabled = false;
  bare.Backdrop = {};
  const Frame frame = Render(SolidFrame(300, 220, kBlack), "I", kPlace, bare);
  int top = frame.Height, bottom = -1;
  for (int y = 0; y < frame.Height; ++y)
    for (int x = 0; x < frame.Width; ++x)
      if (PixelAt(frame, x, y).R > 128) top = std::min(top, y), bottom = std::max(bottom, y);
  Stem stem{(top + bottom) / 2, frame.Width, -1};
  for (int x = 0; x < frame.Width; ++x)
    if (PixelAt(frame, x, stem.Row).R > 128) stem.Left = std::min(stem.Left, x), stem.Right = std::max(stem.Right, x);
  return stem;
}

// The outline stroke reaches outside the letters by about a 21st of the
// font's pixel size: one pixel at 16 points (as the outline always was), more
// as the font grows, so that it stays visible on large text.
TEST(OutlineStroke, WidthFollowsTheFontSize) {
  struct Row {
    int points;
    double expectedWidth;  // pixels outside the letters on each side
  };
  for (const Row row : {Row{16, 1.0}, Row{36, 48 / 21.0}, Row{72, 96 / 21.0}}) {
    const SubtitleStyle style = Style(row.points, kRedText, true);
    const Frame frame = Render(SolidFrame(300, 220, kGrey), "I", kPlace, style);
    const Stem stem = StemOf(style);
    // Outline coverage along the stem's middle row: the blue channel above
    // the background's, which the red letters do not have.
    double left = 0, right = 0;
    for (int x = 0; x < frame.Width; ++x) {
      const double blue = std::clamp((PixelAt(frame, x, stem.Row).B - kGrey.B) / double(255 - kGrey.B), 0.0, 1.0);
      (x < (stem.Left + stem.Right) / 2 ? left : right) += blue;
    }
    SCOPED_TRACE(std::to_string(row.points) + " pt");
    EXPECT_NEAR(left, row.expectedWidth, 0.25 + 0.1 * row.expectedWidth);
    EXPECT_NEAR(right, row.expectedWidth, 0.25 + 0.1 * row.expectedWidth);
  }
}

// Relative luminance and contrast ratio as the web's accessibility rules
// define them: 3 is the least for large text.
double Luminance(Rgb c) {
  const auto channel = [](int v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.R) + 0.7152 * channel(c.G) + 0.0722 * channel(c.B);
}

double Contrast(Rgb a, Rgb b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// White letters at 36 points: what lies right beside them (the two pixels
// past the letters' edge: the outline, the shadow, the box or the picture)
// against the letters' own colour.
TEST(Readability, TheTextCoreStandsOutFromWhatSurroundsItOnWhiteBlueAndBlack) {
  const SubtitleBackdrop box{.Shape = SubtitleBackdrop::Kind::Box, .Opacity = 60};
  const SubtitleBackdrop shadow{.Shape = SubtitleBackdrop::Kind::Shadow, .Opacity = 80};
  struct Row {
    const char* name;
    Rgb picture;
    SubtitleStyle style;
    bool readable;
  };
  const Row rows[] = {
      {"start-up look on white", kWhite, Style(36, kWhiteText, true), true},
      {"start-up look on blue", kBlueRgb, Style(36, kWhiteText, true), true},
      {"start-up look on black", kBlack, Style(36, kWhiteText, true), true},
      {"no outline on white", kWhite, Style(36, kWhiteText, false), false},
      {"box, no outline, on white", kWhite, Style(36, kWhiteText, false, kBlueOutline, box), true},
      {"shadow, no outline, on white", kWhite, Style(36, kWhiteText, false, kBlueOutline, shadow), true},
      {"box behind the start-up look on blue", kBlueRgb, Style(36, kWhiteText, true, kBlueOutline, box), true},
      {"black outline on white", kWhite, Style(36, kWhiteText, true, kBlackOutline), true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Frame frame = Render(SolidFrame(300, 220, row.picture), "I", kPlace, row.style);
    const Stem stem = StemOf(row.style);
    const Rgb core = PixelAt(frame, (stem.Left + stem.Right) / 2, stem.Row);
    EXPECT_GT(core.R + core.G + core.B, 3 * 240);  // the letters keep their colour
    double surround = 0;
    for (int x : {stem.Right + 1, stem.Right + 2}) surround += Luminance(PixelAt(frame, x, stem.Row)) / 2;
    const double contrast = (Luminance(core) + 0.05) / (surround + 0.05);
    EXPECT_EQ(contrast >= 3.0, row.readable) << "contrast " << contrast;
  }
  EXPECT_GT(Contrast(kWhite, kBlueRgb), 3.0);  // white letters read on blue without help
}

// A bitmap sized by DrawnArea holds the whole drawn text, and no more than a
// pixel of room on any side.
TEST(DrawnArea, HoldsEveryDrawnPixelTightly) {
  const SubtitleBackdrop box{.Shape = SubtitleBackdrop::Kind::Box, .Opacity = 50};
  const SubtitleBackdrop shadow{.Shape = SubtitleBackdrop::Kind::Shadow, .Opacity = 100};
  struct Row {
    const char* name;
    std::string text;
    SubtitleStyle style;
    SubtitlePlacement place;
  };
  const SubtitlePlacement centred{.X = 10, .Y = 60, .DrawLevel = 240, .Centred = true};
  const Row rows[] = {
      {"plain 16 pt", "Hg \xE5\xAD\x97", Style(16, kWhiteText, false), kPlace},
      {"outlined 16 pt", "Hg \xE5\xAD\x97", Style(16, kWhiteText, true), kPlace},
      {"outlined 72 pt", "Wj", Style(72, kWhiteText, true), kPlace},
      {"shadow 36 pt, two lines", "Hg\r\nQy", Style(36, kWhiteText, true, kBlueOutline, shadow), kPlace},
      {"box 36 pt, centred, two lines", "Ag\nlonger line", Style(36, kWhiteText, true, kBlueOutline, box), centred},
      {"box 16 pt, an empty line between", "a\r\n\r\nb", Style(16, kWhiteText, false, kBlueOutline, box), kPlace},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QtTextTransform transform;
    const TextArea area = transform.DrawnArea(400, row.place, row.text, row.style);
    const Frame frame = Render(SolidFrame(400, 300, kGrey), row.text, row.place, row.style);
    int left = frame.Width, top = frame.Height, right = -1, bottom = -1;
    for (int y = 0; y < frame.Height; ++y) {
      for (int x = 0; x < frame.Width; ++x) {
        const Rgb c = PixelAt(frame, x, y);
        if (c == kGrey) continue;
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
    ASSERT_GE(right, 0);
    EXPECT_GE(left, area.X);
    EXPECT_GE(top, area.Y);
    EXPECT_LT(right, area.X + area.Width);
    EXPECT_LT(bottom, area.Y + area.Height);
    EXPECT_LE(left - area.X, 1);
    EXPECT_LE(top - area.Y, 1);
    EXPECT_LE(area.X + area.Width - 1 - right, 1);
    EXPECT_LE(area.Y + area.Height - 1 - bottom, 1);
  }
  QtTextTransform transform;
  EXPECT_TRUE(transform.DrawnArea(400, kPlace, "", Style(16, kWhiteText, true)).empty());
}

}  // namespace
}  // namespace orlisk
