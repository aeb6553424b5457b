#pragma once
// The writer's common colour conversion done by hand: a BGRA frame of the
// output's own size into 8-bit 4:2:0 with the BT.601 limited-range matrix (as
// the reader decodes). Luma per pixel, chroma the average of each 2x2 block.
// swscale takes four to six times as long for this one case, which every
// "Original" output meets on every frame. Internal to the writer.
#include <cstdint>

namespace orlisk {

struct Yuv420Planes {
  std::uint8_t* Y;
  int YStride;
  std::uint8_t* U;
  int UStride;
  std::uint8_t* V;
  int VStride;
};

// `width` and `height` must be even; `bgra` holds `height` rows `stride` bytes apart.
void ConvertBgraToYuv420(const std::uint8_t* bgra, int stride, int width, int height, const Yuv420Planes& planes);

}  // namespace orlisk
