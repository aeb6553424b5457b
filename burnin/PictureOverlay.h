#pragma once
// A subtitle bitmap converted once into a picture's own pixel format, ready
// to be blended into the planes of every picture of that format it is due
// on. Planar YUV of any chroma subsampling (4:2:0, 4:2:2, 4:4:4, ...) and
// bit depth (8 to 16) in either range; chroma is filtered at the picture's
// chroma siting, so the blended picture is what converting the preview back
// to the picture's format would give, within the rounding of its chroma.
// Colours go through the BT.601 matrix, as the reader's conversion to frames
// does. Internal to the write job.
#include <cstdint>
#include <vector>

#include "SubtitleBitmap.h"
#include "media/FfmpegPtr.h"

namespace orlisk {

class PictureOverlay {
 public:
  // Whether pictures of `picture`'s pixel format can take an overlay.
  static bool Supports(const AVFrame& picture);

  // `bitmap` in the pixel format, range and chroma siting of `like`, which
  // Supports. An empty bitmap gives an overlay that changes nothing.
  PictureOverlay(const SubtitleBitmap& bitmap, const AVFrame& like);

  // Blends into a writable picture of the same format and size as `like`.
  void BlendInto(AVFrame& picture) const;

 private:
  // One plane's part: per sample, what the text adds and how much of the
  // picture it keeps, both in 1/4096.
  struct PlanePart {
    int Plane = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    std::vector<std::int32_t> Add;
    std::vector<std::int32_t> Keep;
  };

  std::vector<PlanePart> parts_;
  int maximum_ = 255;  // the largest sample value
};

}  // namespace orlisk
