#pragma once
// Shared by the reader tests: which frame of an index-coloured test clip a
// decoded frame is.
#include "media/Frame.h"
#include "tests/fixtures/TestClips.h"

namespace orlisk {

// The frame index read from the centre pixel (bytes B, G, R, 0xFF); -1 for an
// empty frame or a colour that stands for no index.
inline int FrameIndexOf(const Frame& frame) {
  if (frame.empty()) return -1;
  const std::size_t at =
      static_cast<std::size_t>(frame.Height / 2) * static_cast<std::size_t>(frame.Stride) +
      static_cast<std::size_t>(frame.Width / 2) * 4;
  return testclips::FrameIndexFromColour(frame.Pixels[at + 2], frame.Pixels[at + 1], frame.Pixels[at]);
}

}  // namespace orlisk
