// Text blended into decoded pictures in their own pixel format against the
// preview of the same picture, on small clips of the formats and sizes a
// source may have. The preview converted to the picture's Y, Cb, Cr (BT.601)
// is the burnt picture: luma within 3 levels at every pixel, text edges
// included; chroma within the rounding of its subsampling (each chroma
// sample against the mean of the preview's pixels it stands for); and the
// picture away from the text is not touched at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/pixdesc.h>
}

#include "burnin/FrameRenderer.h"
#include "burnin/QtTextTransform.h"
#include "burnin/SubtitleBurner.h"
#include "media/PictureAccess.h"
#include "playback/FfmpegVideoReader.h"
#include "tests/fixtures/TestClips.h"

namespace orlisk {
namespace {

struct Source {
  const char* name;
  int width;
  int height;
  const char* pixelFormat;
  const char* codec;  // lossless FFV1, or MJPEG for the full-range "J" formats
  // Where the subtitle stands: centred, or placed by hand partly off the picture.
  bool centred;
  int x;
  int y;
  double chromaTolerance;  // 8-bit levels
};

SubtitleEntry WhiteOnBlackOutline(const Source& source) {
  SubtitleEntry e;
  e.BeginTime = 0;
  e.EndTime = 10000;
  e.Text = "Burnt Text 42\r\nsecond line";
  e.Place = {.X = source.x, .Y = source.y, .DrawLevel = 240, .Centred = source.centred};
  e.TextColor = 0x00FFFFFF;
  e.BorderColor = 0x00000000;
  e.Border = true;
  return e;
}

const std::uint8_t* PixelAt(const Frame& f, int x, int y) {
  return f.Pixels.data() + static_cast<std::size_t>(y) * f.Stride + 4 * x;
}

// Plane `plane`'s sample at (x, y) in 8-bit levels.
double SampleAt(const AVFrame& f, int plane, int x, int y) {
  const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(f.format));
  const std::uint8_t* row = f.data[plane] + static_cast<std::ptrdiff_t>(y) * f.linesize[plane];
  if (d->comp[0].depth == 8) return row[x];
  return reinterpret_cast<const std::uint16_t*>(row)[x] / static_cast<double>(1 << (d->comp[0].depth - 8));
}

// The preview pixel's Y, Cb or Cr (BT.601) in 8-bit levels.
double PreviewComponent(const std::uint8_t* bgra, int component, bool fullRange) {
  const double r = bgra[2] / 255.0, g = bgra[1] / 255.0, b = bgra[0] / 255.0;
  const double ys = fullRange ? 255.0 : 219.0, cs = fullRange ? 255.0 : 224.0;
  if (component == 0) return (fullRange ? 0 : 16) + ys * (0.299 * r + 0.587 * g + 0.114 * b);
  if (component == 1) return 128 + cs * (-0.168736 * r - 0.331264 * g + 0.5 * b);
  return 128 + cs * (0.5 * r - 0.418688 * g - 0.081312 * b);
}

class SubtitleBurnerFormats : public testing::TestWithParam<Source> {};

TEST_P(SubtitleBurnerFormats, TheBurntPictureIsThePreviewWithinTheRoundingOfItsChroma) {
  const Source& source = GetParam();
  // One flat colour per frame, so that the preview's background is the
  // picture's own colour at every pixel.
  const std::string clip = testclips::MakeClip(
      {.width = source.width, .height = source.height, .fps = 25, .seconds = 0.2, .audio = false, .codec = source.codec,
       .container = "avi", .extraOptions = std::string("-pix_fmt ") + source.pixelFormat});
  FfmpegVideoReader reader;
  reader.OpenSource(clip);
  Frame sourceFrame;
  DecodedPicture picture = reader.ReadPicture(&sourceFrame);
  ASSERT_FALSE(picture.empty());
  FfmpegVideoReader untouched;
  untouched.OpenSource(clip);
  const DecodedPicture original = untouched.ReadPicture(nullptr);

  const SubtitleEntry subtitle = WhiteOnBlackOutline(source);
  QtTextTransform transform;
  const Frame preview = RenderSubtitleFrame(transform, sourceFrame, &subtitle, SubtitleStyle{});
  SubtitleBurner burner(transform);
  ASSERT_TRUE(burner.Burn(picture, subtitle, 0, SubtitleStyle{}));

  const AVFrame& burnt = FrameOf(picture);
  const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(burnt.format));
  const bool fullRange = std::string(d->name).find("yuvj") == 0;
  ASSERT_EQ(std::string(d->name), source.pixelFormat);
  const auto drawn = [&](int x, int y) { return !std::equal(PixelAt(preview, x, y), PixelAt(preview, x, y) + 3,
                                                            PixelAt(sourceFrame, x, y)); };
  int textPixels = 0;
  for (int plane = 0; plane < 3; ++plane) {
    const int sx = plane == 0 ? 0 : d->log2_chroma_w, sy = plane == 0 ? 0 : d->log2_chroma_h;
    for (int cy = 0; cy < AV_CEIL_RSHIFT(burnt.height, sy); ++cy) {
      for (int cx = 0; cx < AV_CEIL_RSHIFT(burnt.width, sx); ++cx) {
        // The preview's pixels this sample stands for.
        double sum = 0;
        int count = 0;
        bool nearText = false;
        for (int y = (cy << sy) - 2; y <= (cy << sy) + (1 << sy) + 1; ++y) {
          for (int x = (cx << sx) - 2; x <= (cx << sx) + (1 << sx) + 1; ++x) {
            if (x < 0 || y < 0 || x >= burnt.width || y >= burnt.height) continue;
            nearText = nearText || drawn(x, y);
            if (x < (cx << sx) || y < (cy << sy) || x >= ((cx + 1) << sx) || y >= ((cy + 1) << sy)) continue;
            sum += PreviewComponent(PixelAt(preview, x, y), plane, fullRange);
            ++count;
          }
        }
        const double value = SampleAt(burnt, plane, cx, cy);
        if (!nearText) {
          ASSERT_EQ(value, SampleAt(FrameOf(original), plane, cx, cy)) << "plane " << plane << " at " << cx << "," << cy;
          continue;
        }
        textPixels += plane == 0;
        ASSERT_NEAR(value, sum / count, plane == 0 ? 3.0 : source.chromaTolerance)
            << "plane " << plane << " at " << cx << "," << cy;
      }
    }
  }
  EXPECT_GT(textPixels, 300);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, SubtitleBurnerFormats,
    testing::Values(Source{"yuv420p", 320, 240, "yuv420p", "ffv1", true, 0, 150, 16},
                    Source{"odd_size", 321, 241, "yuv420p", "ffv1", true, 0, 151, 16},
                    Source{"yuv422p", 320, 240, "yuv422p", "ffv1", true, 0, 150, 16},
                    Source{"yuv444p", 320, 240, "yuv444p", "ffv1", true, 0, 150, 3},
                    Source{"ten_bit", 320, 240, "yuv420p10le", "ffv1", true, 0, 150, 16},
                    Source{"ten_bit_422_odd", 321, 241, "yuv422p10le", "ffv1", true, 0, 150, 16},
                    Source{"full_range", 320, 240, "yuvj420p", "mjpeg", true, 0, 150, 16},
                    Source{"off_bottom_right", 321, 241, "yuv420p", "ffv1", false, 250, 225, 16},
                    Source{"off_top_left", 320, 240, "yuv420p", "ffv1", false, -40, -10, 16}),
    [](const testing::TestParamInfo<Source>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orlisk
