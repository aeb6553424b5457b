// The picture on the main window: a picture the reader already scaled to the
// view's picture rectangle is painted there pixel for pixel; any other is
// scaled into the rectangle the source's shape gives, between black bars.
#include <gtest/gtest.h>

#include <QImage>

#include "app/ui/VideoViewWidget.h"
#include "TestSupport.h"

namespace orlisk {
namespace {

// Each pixel's colour tells where it is, so a shifted or scaled copy shows.
Frame PatternFrame(int width, int height) {
  Frame frame{width, height, width * 4, std::vector<std::uint8_t>(std::size_t(width) * 4 * height)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = &frame.Pixels[std::size_t(y) * frame.Stride + std::size_t(x) * 4];
      p[0] = static_cast<std::uint8_t>(x * 7);
      p[1] = static_cast<std::uint8_t>(y * 5);
      p[2] = static_cast<std::uint8_t>((x + y) * 3);
      p[3] = 0xFF;
    }
  }
  return frame;
}

QRgb FramePixel(const Frame& frame, int x, int y) {
  const std::uint8_t* p = &frame.Pixels[std::size_t(y) * frame.Stride + std::size_t(x) * 4];
  return qRgb(p[2], p[1], p[0]);
}

QImage Painted(VideoViewWidget& view) { return view.grab().toImage().convertToFormat(QImage::Format_RGB32); }

TEST(VideoViewWidget, APictureScaledToTheViewIsPaintedPixelForPixelBetweenBlackBars) {
  test::TestApplication();
  VideoViewWidget view;
  view.resize(566, 378);
  Frame frame = PatternFrame(566, 318);
  frame.SourceWidth = 1920;
  frame.SourceHeight = 1080;
  view.ShowFrame(frame);
  const QImage painted = Painted(view);
  ASSERT_EQ(painted.size(), QSize(566, 378));
  for (int y = 0; y < 378; ++y) {
    for (int x = 0; x < 566; ++x) {
      const bool onPicture = y >= 30 && y < 30 + 318;
      const QRgb expected = onPicture ? FramePixel(frame, x, y - 30) : qRgb(0, 0, 0);
      ASSERT_EQ(painted.pixel(x, y), expected) << x << "," << y;
    }
  }
}

struct FitRow {
  const char* name;
  int frameWidth, frameHeight, sourceWidth, sourceHeight;
  QRect picture;  // where the view paints it
  PixelAspect aspect = {};
};

class VideoViewFit : public ::testing::TestWithParam<FitRow> {};

// A one-colour picture, so scaling keeps its colour and only the place counts.
TEST_P(VideoViewFit, TheSourcesShapeDecidesWhereThePictureGoes) {
  const FitRow& row = GetParam();
  test::TestApplication();
  VideoViewWidget view;
  view.resize(566, 378);
  Frame frame{row.frameWidth, row.frameHeight, row.frameWidth * 4,
              std::vector<std::uint8_t>(std::size_t(row.frameWidth) * 4 * row.frameHeight, 0xC0)};
  frame.SourceWidth = row.sourceWidth;
  frame.SourceHeight = row.sourceHeight;
  frame.Aspect = row.aspect;
  view.ShowFrame(frame);
  const QImage painted = Painted(view);
  for (int y = 0; y < 378; ++y) {
    for (int x = 0; x < 566; ++x) {
      const QRgb expected = row.picture.contains(x, y) ? qRgb(0xC0, 0xC0, 0xC0) : qRgb(0, 0, 0);
      ASSERT_EQ(painted.pixel(x, y), expected) << row.name << " at " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VideoViewFit,
    ::testing::Values(FitRow{"SourceSizePicture", 1920, 1080, 0, 0, QRect(0, 30, 566, 318)},
                      // Scaled to a size a pixel off the source's shape: painted
                      // in the rectangle the mouse maps through.
                      FitRow{"ScaledAPixelOff", 566, 319, 1920, 1080, QRect(0, 30, 566, 318)},
                      FitRow{"FourByThree", 504, 378, 320, 240, QRect(31, 0, 504, 378)},
                      FitRow{"SmallSource", 160, 90, 0, 0, QRect(0, 30, 566, 318)},
                      // 720x576 of 16:11 samples is shown as wide as 1047x576.
                      FitRow{"WideSamples", 720, 576, 0, 0, QRect(0, 33, 566, 311), {16, 11}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VideoViewWidget, AClearedViewIsBlack) {
  test::TestApplication();
  VideoViewWidget view;
  view.resize(100, 80);
  view.ShowFrame(PatternFrame(100, 80));
  view.ClearView();
  const QImage painted = Painted(view);
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 100; ++x) ASSERT_EQ(painted.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
  }
}

}  // namespace
}  // namespace orlisk
