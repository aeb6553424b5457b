#pragma once
// Converts decoded pictures of FFmpeg's pixel formats into the 32-bit B, G, R,
// 0xFF frames the rest of the program uses. Keeps its scaler and reuses it
// while the formats and sizes stay the same. Internal to the media code.
#include "FfmpegPtr.h"
#include "Frame.h"

namespace orlisk {

class PictureConverter {
 public:
  // `picture` converted (and scaled, if its size differs) to width x height.
  // Raises MediaError when the pixel format cannot be converted.
  Frame ToFrame(const AVFrame& picture, int width, int height);

 private:
  SwsContextPtr toFrame_;
};

}  // namespace orlisk
