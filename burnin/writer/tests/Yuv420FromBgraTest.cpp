// The hand-made BGRA to 4:2:0 conversion: the textbook BT.601 values for
// flat colours, and agreement with swscale on a busy picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "burnin/writer/Yuv420FromBgra.h"
#include "media/FfmpegPtr.h"

namespace orlisk {
namespace {

struct ColourRow {
  const char* name;
  int red, green, blue;
  int y, u, v;
};

class Yuv420ColourTest : public ::testing::TestWithParam<ColourRow> {};

TEST_P(Yuv420ColourTest, FlatColoursGetTheirStudioSwingValues) {
  const ColourRow& row = GetParam();
  constexpr int kWidth = 6;
  constexpr int kHeight = 4;
  std::vector<std::uint8_t> bgra(kWidth * kHeight * 4);
  for (std::size_t at = 0; at < bgra.size(); at += 4) {
    bgra[at] = static_cast<std::uint8_t>(row.blue);
    bgra[at + 1] = static_cast<std::uint8_t>(row.green);
    bgra[at + 2] = static_cast<std::uint8_t>(row.red);
    bgra[at + 3] = 0xFF;
  }
  std::vector<std::uint8_t> y(kWidth * kHeight), u(kWidth * kHeight / 4), v(kWidth * kHeight / 4);
  ConvertBgraToYuv420(bgra.data(), kWidth * 4, kWidth, kHeight,
                      {y.data(), kWidth, u.data(), kWidth / 2, v.data(), kWidth / 2});
  for (int value : y) EXPECT_EQ(value, row.y);
  for (int value : u) EXPECT_EQ(value, row.u);
  for (int value : v) EXPECT_EQ(value, row.v);
}

INSTANTIATE_TEST_SUITE_P(Colours, Yuv420ColourTest,
                         ::testing::Values(ColourRow{"Black", 0, 0, 0, 16, 128, 128},
                                           ColourRow{"White", 255, 255, 255, 235, 128, 128},
                                           ColourRow{"Red", 255, 0, 0, 81, 90, 240},
                                           ColourRow{"Green", 0, 255, 0, 145, 54, 34},
                                           ColourRow{"Blue", 0, 0, 255, 41, 240, 110},
                                           ColourRow{"Grey", 128, 128, 128, 126, 128, 128}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Yuv420FromBgraTest, AgreesWithSwscaleOnASmoothPictureWithPaddedRows) {
  constexpr int kWidth = 64;
  constexpr int kHeight = 48;
  constexpr int kStride = kWidth * 4 + 32;  // rows need not be packed
  std::vector<std::uint8_t> bgra(kStride * kHeight);
  for (int row = 0; row < kHeight; ++row) {
    for (int x = 0; x < kWidth; ++x) {
      std::uint8_t* pixel = &bgra[static_cast<std::size_t>(row * kStride + x * 4)];
      pixel[0] = static_cast<std::uint8_t>(x * 3);
      pixel[1] = static_cast<std::uint8_t>(row * 5);
      pixel[2] = static_cast<std::uint8_t>((x + row) * 2);
      pixel[3] = 0xFF;
    }
  }

  std::vector<std::uint8_t> y(kWidth * kHeight), u(kWidth * kHeight / 4), v(kWidth * kHeight / 4);
  ConvertBgraToYuv420(bgra.data(), kStride, kWidth, kHeight,
                      {y.data(), kWidth, u.data(), kWidth / 2, v.data(), kWidth / 2});

  std::vector<std::uint8_t> y2(y.size()), u2(u.size()), v2(v.size());
  const SwsContextPtr scaler(sws_getContext(kWidth, kHeight, AV_PIX_FMT_BGRA, kWidth, kHeight, AV_PIX_FMT_YUV420P,
                                            SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr));
  const std::uint8_t* source[1] = {bgra.data()};
  const int sourceStride[1] = {kStride};
  std::uint8_t* target[3] = {y2.data(), u2.data(), v2.data()};
  const int targetStride[3] = {kWidth, kWidth / 2, kWidth / 2};
  sws_scale(scaler.get(), source, sourceStride, 0, kHeight, target, targetStride);

  for (std::size_t i = 0; i < y.size(); ++i) ASSERT_LE(std::abs(y[i] - y2[i]), 1) << "luma " << i;
  // swscale places chroma a little differently, which a gentle slope hardly shows.
  for (std::size_t i = 0; i < u.size(); ++i) {
    ASSERT_LE(std::abs(u[i] - u2[i]), 2) << "U " << i;
    ASSERT_LE(std::abs(v[i] - v2[i]), 2) << "V " << i;
  }
}

}  // namespace
}  // namespace orlisk
