#pragma once
// Converts pictures between FFmpeg's pixel formats and the 32-bit B, G, R,
// 0xFF frames the rest of the program uses: decoded pictures into frames for
// the reader, frames into the encoder's pixel format and size for the writer.
// Each direction keeps its own scaler and reuses it while the formats and
// sizes stay the same. Internal to the media code (reader and writer).
#include "FfmpegPtr.h"
#include "Frame.h"

namespace orlisk {

class PictureConverter {
 public:
  // `picture` converted (and scaled, if its size differs) to width x height.
  // Raises MediaError when the pixel format cannot be converted.
  Frame ToFrame(const AVFrame& picture, int width, int height);

  // `frame` converted (and scaled, if its size differs) into `picture`, whose
  // format, width and height name what the encoder takes. Pixel buffers are
  // allocated when `picture` has none, and copied first when the encoder
  // still holds a reference to them. Raises MediaError for an empty or
  // malformed frame, a format that cannot be converted, or no memory.
  void ToPicture(const Frame& frame, AVFrame& picture);

 private:
  SwsContextPtr toFrame_;
  SwsContextPtr toPicture_;
};

}  // namespace orlisk
