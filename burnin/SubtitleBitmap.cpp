#include "SubtitleBitmap.h"

#include <algorithm>
#include <cstring>

#include "FrameRenderer.h"

namespace orlisk {

SubtitleBitmap DrawSubtitleBitmap(TextTransform& transform, const SubtitleEntry& due, const SubtitleFont& font,
                                  int width, int height) {
  // The whole picture's size, so that a centred line and a place near an
  // edge come out exactly where the preview has them; cut afterwards. This
  // runs once per subtitle, not per picture.
  Frame canvas;
  canvas.Width = width;
  canvas.Height = height;
  canvas.Stride = width * 4;
  canvas.Premultiplied = true;
  canvas.Pixels.assign(static_cast<std::size_t>(canvas.Stride) * static_cast<std::size_t>(height), 0);
  const Frame drawn = RenderSubtitleFrame(transform, canvas, &due, font);

  int left = width;
  int right = -1;
  int top = height;
  int bottom = -1;
  for (int y = 0; y < drawn.Height; ++y) {
    const std::uint8_t* row = drawn.Pixels.data() + static_cast<std::size_t>(y) * drawn.Stride;
    for (int x = 0; x < drawn.Width; ++x) {
      if (row[4 * x + 3] == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = y;
    }
  }
  SubtitleBitmap bitmap;
  if (right < 0) return bitmap;
  bitmap.X = left;
  bitmap.Y = top;
  Frame& cut = bitmap.Pixels;
  cut.Width = right - left + 1;
  cut.Height = bottom - top + 1;
  cut.Stride = cut.Width * 4;
  cut.Premultiplied = true;
  cut.Pixels.resize(static_cast<std::size_t>(cut.Stride) * static_cast<std::size_t>(cut.Height));
  for (int y = 0; y < cut.Height; ++y) {
    std::memcpy(cut.Pixels.data() + static_cast<std::size_t>(y) * cut.Stride,
                drawn.Pixels.data() + static_cast<std::size_t>(top + y) * drawn.Stride + 4 * left, cut.Stride);
  }
  return bitmap;
}

}  // namespace orlisk
