#include "Yuv420FromBgra.h"

#include <cstddef>

namespace orlisk {
namespace {

// BT.601 studio swing in 16-bit fixed point: 65.481 / 255 * 65536 and so on,
// plus the offset and half a step for rounding.
inline std::uint8_t Luma(int red, int green, int blue) {
  return static_cast<std::uint8_t>((16829 * red + 33039 * green + 6416 * blue + (16 << 16) + (1 << 15)) >> 16);
}

// From sums of four pixels, hence two more bits of shift.
inline std::uint8_t BlueDifference(int red, int green, int blue) {
  return static_cast<std::uint8_t>((-9714 * red - 19071 * green + 28784 * blue + (128 << 18) + (1 << 17)) >> 18);
}

inline std::uint8_t RedDifference(int red, int green, int blue) {
  return static_cast<std::uint8_t>((28784 * red - 24103 * green - 4681 * blue + (128 << 18) + (1 << 17)) >> 18);
}

}  // namespace

void ConvertBgraToYuv420(const std::uint8_t* bgra, int stride, int width, int height, const Yuv420Planes& planes) {
  // Plain loops over rows with no branches inside, so that the compiler
  // turns them into vector code.
  for (int row = 0; row < height; ++row) {
    const std::uint8_t* in = bgra + static_cast<std::ptrdiff_t>(row) * stride;
    std::uint8_t* out = planes.Y + static_cast<std::ptrdiff_t>(row) * planes.YStride;
    for (int x = 0; x < width; ++x) out[x] = Luma(in[4 * x + 2], in[4 * x + 1], in[4 * x]);
  }
  for (int row = 0; row < height / 2; ++row) {
    const std::uint8_t* top = bgra + static_cast<std::ptrdiff_t>(2 * row) * stride;
    const std::uint8_t* bottom = top + stride;
    std::uint8_t* u = planes.U + static_cast<std::ptrdiff_t>(row) * planes.UStride;
    std::uint8_t* v = planes.V + static_cast<std::ptrdiff_t>(row) * planes.VStride;
    for (int x = 0; x < width / 2; ++x) {
      const int blue = top[8 * x] + top[8 * x + 4] + bottom[8 * x] + bottom[8 * x + 4];
      const int green = top[8 * x + 1] + top[8 * x + 5] + bottom[8 * x + 1] + bottom[8 * x + 5];
      const int red = top[8 * x + 2] + top[8 * x + 6] + bottom[8 * x + 2] + bottom[8 * x + 6];
      u[x] = BlueDifference(red, green, blue);
      v[x] = RedDifference(red, green, blue);
    }
  }
}

}  // namespace orlisk
