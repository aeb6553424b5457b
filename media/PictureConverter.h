#pragma once
// Turns decoded pictures of any pixel format into the 32-bit B, G, R, 0xFF
// frames the rest of the program uses. Internal to the media code (reader and writer).
#include "FfmpegPtr.h"
#include "Frame.h"

namespace orlisk {

class PictureConverter {
 public:
  // `picture` converted (and scaled, if its size differs) to width x height.
  // Raises MediaError when the pixel format cannot be converted.
  Frame Convert(const AVFrame& picture, int width, int height);

 private:
  SwsContextPtr context_;
};

}  // namespace orlisk
