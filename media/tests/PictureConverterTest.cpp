#include "media/PictureConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "media/MediaError.h"

extern "C" {
#include <libavutil/log.h>
#include <libswscale/swscale.h>
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

// `frame` as a decoder would hand it over in `format` and size, made with
// swscale directly.
AvFramePtr DecodedPicture(const Frame& frame, AVPixelFormat format, int width, int height) {
  AvFramePtr picture(av_frame_alloc());
  picture->format = format;
  picture->width = width;
  picture->height = height;
  EXPECT_EQ(av_frame_get_buffer(picture.get(), 0), 0);
  SwsContextPtr scaler(sws_getContext(frame.Width, frame.Height, AV_PIX_FMT_BGRA, width, height, format,
                                      SWS_BICUBIC, nullptr, nullptr, nullptr));
  const std::uint8_t* source[4] = {frame.Pixels.data(), nullptr, nullptr, nullptr};
  const int sourceStride[4] = {frame.Stride, 0, 0, 0};
  EXPECT_EQ(sws_scale(scaler.get(), source, sourceStride, 0, frame.Height, picture->data, picture->linesize), height);
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

TEST_P(RoundTrip, ADecodedPictureBecomesAFrameAlmostUnchanged) {
  av_log_set_level(AV_LOG_ERROR);  // swscale's notice on the full-range yuvj formats is expected
  const Frame original = GradientFrame(32, 24);
  PictureConverter converter;
  AvFramePtr picture = DecodedPicture(original, GetParam().format, 32, 24);
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

TEST(PictureConverter, ScalesToTheSizeAskedFor) {
  const Bgr orange{20, 140, 230};
  PictureConverter converter;
  AvFramePtr picture = DecodedPicture(SolidFrame(64, 48, orange), AV_PIX_FMT_YUV420P, 64, 48);
  EXPECT_LE(LargestDifference(SolidFrame(16, 12, orange), converter.ToFrame(*picture, 16, 12)), 4);
}

TEST(PictureConverter, ConvertsEveryColumnOfAnyWidth) {
  const Bgr orange{20, 140, 230};
  PictureConverter converter;
  for (int width : {90, 100, 132, 134, 1046}) {
    AvFramePtr picture = DecodedPicture(SolidFrame(width, 8, orange), AV_PIX_FMT_YUV420P, width, 8);
    EXPECT_LE(LargestDifference(SolidFrame(width, 8, orange), converter.ToFrame(*picture, width, 8)), 4) << width;
  }
}

TEST(PictureConverter, RefusesADecodedPictureOfAFormatItCannotRead) {
  PictureConverter converter;
  AvFramePtr picture = DecodedPicture(SolidFrame(16, 16, {0, 0, 0}), AV_PIX_FMT_YUV420P, 16, 16);
  picture->format = AV_PIX_FMT_VAAPI;  // a picture still on the graphics card

  EXPECT_THROW(converter.ToFrame(*picture, 16, 16), MediaError);
}

}  // namespace
}  // namespace orlisk
