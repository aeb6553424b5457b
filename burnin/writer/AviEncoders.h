#pragma once
// The AVI video codec catalogue: the encoders of the linked FFmpeg that an
// AVI file can hold, in a fixed order, each with its starting settings.
#include <span>
#include <string>

#include "VideoWriter.h"

namespace orlisk {

struct AviEncoder {
  std::string EncoderName;  // FFmpeg's encoder name: "libxvid", "mpeg4", ...
  std::string LongName;     // shown to the user: "libxvidcore MPEG-4 part 2"
  AviCodecSettings Defaults;
};

// The installed ones, in the order libxvid, mpeg4, msmpeg4v2, msmpeg4
// (version 3), mjpeg, libx264, huffyuv, ffv1, utvideo. Looked up once.
std::span<const AviEncoder> AviEncoders();

}  // namespace orlisk
