#pragma once
// Pictures of one colour to draw on, and their pixels read back, for the
// tests of the text transform.
#include <cstdint>
#include <vector>

#include "media/Frame.h"

namespace orlisk::testing {

struct Rgb {
  int R, G, B;
  bool operator==(const Rgb&) const = default;
};

// A picture in one colour, with padded rows as decoders often give them.
inline Frame SolidFrame(int width, int height, Rgb colour) {
  const int stride = width * 4 + 8;
  Frame frame{width, height, stride, std::vector<std::uint8_t>(std::size_t(stride) * height)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = &frame.Pixels[std::size_t(y) * stride + x * 4];
      p[0] = static_cast<std::uint8_t>(colour.B);  // memory order is B, G, R
      p[1] = static_cast<std::uint8_t>(colour.G);
      p[2] = static_cast<std::uint8_t>(colour.R);
      p[3] = 0xFF;
    }
  }
  return frame;
}

inline Rgb PixelAt(const Frame& frame, int x, int y) {
  const std::uint8_t* p = &frame.Pixels[std::size_t(y) * frame.Stride + x * 4];
  return {p[2], p[1], p[0]};
}

}  // namespace orlisk::testing
