#include "media/PictureConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "media/MediaError.h"

extern "C" {
#include <libavutil/log.h>
}

namespace orlisk {
namespace {

struct Bgr {
  int blue;
  int green;
  int red;
};

Frame SolidFrame(int width, int height, Bgr colour) {
  Frame frame{width, height, width * 4, {}};
  frame.Pixels.resize(static_cast<std::size_t>(frame.Stride) * height);
  for (std::size_t i = 0; i < frame.Pixels.size(); i += 4) {
    frame.Pixels[i] = static_cast<std::uint8_t>(colour.blue);
    frame.Pixels[i + 1] = static_cast<std::uint8_t>(colour.green);
    frame.Pixels[i + 2] = static_cast<std::uint8_t>(colour.red);
    frame.Pixels[i + 3] = 0xFF;
  }
  return frame;
}

// Smooth ramps in all three colours, so that subsampled chroma loses little.
// Rows are padded to show that the stride, not the width, steps between them.
Frame GradientFrame(int width, int height) {
  Frame frame{width, height, width * 4 + 16, {}};
  frame.Pixels.assign(static_cast<std::size_t>(frame.Stride) * height, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* pixel = &frame.Pixels[static_cast<std::size_t>(y) * frame.Stride + x * 4];
      pixel[0] = static_cast<std::uint8_t>(40 + 4 * x);
      pixel[1] = static_cast<std::uint8_t>(30 + 5 * y);
      pixel[2] = static_cast<std::uint8_t>(220 - 3 * x - 2 * y);
      pixel[3] = 0xFF;
    }
  }
  return frame;
}

AvFramePtr EncoderPicture(AVPixelFormat format, int width, int height) {
  AvFramePtr picture(av_frame_alloc());
  picture->format = format;
  picture->width = width;
  picture->height = height;
  return picture;
}

// The largest difference in any colour byte; alpha must be 0xFF throughout.
int LargestDifference(const Frame& a, const Frame& b) {
  EXPECT_EQ(a.Width, b.Width);
  EXPECT_EQ(a.Height, b.Height);
  int largest = 0;
  for (int y = 0; y < std::min(a.Height, b.Height); ++y) {
    for (int x = 0; x < std::min(a.Width, b.Width); ++x) {
      const std::uint8_t* p = &a.Pixels[static_cast<std::size_t>(y) * a.Stride + x * 4];
      const std::uint8_t* q = &b.Pixels[static_cast<std::size_t>(y) * b.Stride + x * 4];
      for (int c = 0; c < 3; ++c) largest = std::max(largest, std::abs(p[c] - q[c]));
      EXPECT_EQ(q[3], 0xFF) << x << "," << y;
    }
  }
  return largest;
}

struct RoundTripRow {
  const char* name;
  AVPixelFormat format;
  int tolerance;
};

class RoundTrip : public ::testing::TestWithParam<RoundTripRow> {};

TEST_P(RoundTrip, AFrameComesBackFromTheEncoderFormatAlmostUnchanged) {
  av_log_set_level(AV_LOG_ERROR);  // swscale's notice on the full-range yuvj formats is expected
  const Frame original = GradientFrame(32, 24);
  PictureConverter converter;
  AvFramePtr picture = EncoderPicture(GetParam().format, 32, 24);

  converter.ToPicture(original, *picture);
  EXPECT_EQ(picture->format, GetParam().format);
  const Frame back = converter.ToFrame(*picture, 32, 24);

  EXPECT_LE(LargestDifference(original, back), GetParam().tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, RoundTrip,
    // The way back is the reader's fast path, which keeps half the chroma of
    // each row: 4:4:4 loses more there than 4:2:0, whose chroma is halved anyway.
    ::testing::Values(RoundTripRow{"yuv420p", AV_PIX_FMT_YUV420P, 8}, RoundTripRow{"yuvj420p", AV_PIX_FMT_YUVJ420P, 6},
                      RoundTripRow{"yuv422p", AV_PIX_FMT_YUV422P, 6}, RoundTripRow{"yuv444p", AV_PIX_FMT_YUV444P, 12},
                      RoundTripRow{"bgr24", AV_PIX_FMT_BGR24, 0}, RoundTripRow{"rgb24", AV_PIX_FMT_RGB24, 0},
                      RoundTripRow{"bgr0", AV_PIX_FMT_BGR0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PictureConverter, ScalesToTheEncoderSize) {
  const Bgr orange{20, 140, 230};
  PictureConverter converter;
  AvFramePtr picture = EncoderPicture(AV_PIX_FMT_YUV420P, 16, 12);

  converter.ToPicture(SolidFrame(64, 48, orange), *picture);
  EXPECT_EQ(picture->width, 16);
  EXPECT_EQ(picture->height, 12);

  EXPECT_LE(LargestDifference(SolidFrame(16, 12, orange), converter.ToFrame(*picture, 16, 12)), 4);
}

TEST(PictureConverter, ReusesThePictureButNeverOverwritesOneTheEncoderStillHolds) {
  const Bgr blue{200, 40, 30};
  const Bgr green{40, 200, 30};
  PictureConverter converter;
  AvFramePtr picture = EncoderPicture(AV_PIX_FMT_YUV420P, 32, 24);
  converter.ToPicture(SolidFrame(32, 24, blue), *picture);
  AvFramePtr heldByEncoder(av_frame_alloc());
  ASSERT_EQ(av_frame_ref(heldByEncoder.get(), picture.get()), 0);

  converter.ToPicture(SolidFrame(32, 24, green), *picture);

  EXPECT_LE(LargestDifference(SolidFrame(32, 24, green), converter.ToFrame(*picture, 32, 24)), 4);
  EXPECT_LE(LargestDifference(SolidFrame(32, 24, blue), converter.ToFrame(*heldByEncoder, 32, 24)), 4);
}

TEST(PictureConverter, RefusesADecodedPictureOfAFormatItCannotRead) {
  PictureConverter converter;
  AvFramePtr picture = EncoderPicture(AV_PIX_FMT_YUV420P, 16, 16);
  converter.ToPicture(SolidFrame(16, 16, {0, 0, 0}), *picture);
  picture->format = AV_PIX_FMT_VAAPI;  // a picture still on the graphics card

  EXPECT_THROW(converter.ToFrame(*picture, 16, 16), MediaError);
}

struct RefusalRow {
  const char* name;
  Frame frame;
  AVPixelFormat format;
  int width;
  int height;
};

Frame Damaged(int width, int height, int stride, std::size_t bytes) {
  Frame frame{width, height, stride, {}};
  frame.Pixels.assign(bytes, 0x80);
  return frame;
}

class Refusal : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(Refusal, RaisesAReadableMediaError) {
  PictureConverter converter;
  AvFramePtr picture = EncoderPicture(GetParam().format, GetParam().width, GetParam().height);
  try {
    converter.ToPicture(GetParam().frame, *picture);
    FAIL() << "converted";
  } catch (const MediaError& error) {
    EXPECT_NE(std::string(error.what()).find("Cannot"), std::string::npos) << error.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Refusal,
    ::testing::Values(RefusalRow{"EmptyFrame", Frame{}, AV_PIX_FMT_YUV420P, 16, 16},
                      RefusalRow{"StrideBelowWidth", Damaged(16, 16, 60, 60 * 16), AV_PIX_FMT_YUV420P, 16, 16},
                      RefusalRow{"TooFewBytes", Damaged(16, 16, 64, 64 * 15), AV_PIX_FMT_YUV420P, 16, 16},
                      RefusalRow{"NoPixelFormat", SolidFrame(16, 16, {0, 0, 0}), AV_PIX_FMT_NONE, 16, 16},
                      RefusalRow{"NoTargetSize", SolidFrame(16, 16, {0, 0, 0}), AV_PIX_FMT_YUV420P, 0, 16}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orlisk
