#include "SubtitleBitmap.h"

#include <algorithm>
#include <cstring>

#include "FrameRenderer.h"

namespace orlisk {

SubtitleBitmap DrawSubtitleBitmap(TextTransform& transform, const SubtitleEntry& due, const SubtitleStyle& inUse,
                                  int width, int height) {
  const SubtitleStyle style = StyleOf(due, inUse);
  const TextArea area = transform.DrawnArea(width, due.Place, due.Text, style);
  const int first = std::max(0, area.Y);
  const int end = std::min(height, area.Y + area.Height);
  if (area.empty() || end <= first) return {};
  // As wide as the picture, so that a centred line comes out exactly where
  // the preview has it; only the rows the text may touch, the place moved up
  // to match. This runs once per subtitle, not per picture.
  Frame canvas;
  canvas.Width = width;
  canvas.Height = end - first;
  canvas.Stride = width * 4;
  canvas.Premultiplied = true;
  canvas.Pixels.assign(static_cast<std::size_t>(canvas.Stride) * static_cast<std::size_t>(canvas.Height), 0);
  SubtitlePlacement place = due.Place;
  place.Y -= first;
  transform.LoadFrame(canvas);
  DrawOutlinedText(transform, due.Text, place, style);
  const Frame drawn = transform.TakeFrame();

  int left = width;
  int right = -1;
  int top = drawn.Height;
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
  bitmap.Y = first + top;
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
