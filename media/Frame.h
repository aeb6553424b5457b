#pragma once
// Decoded pictures and sound as the reader, view, transform and writer pass
// them around. Both are plain values owned by whoever holds them.
#include <cstdint>
#include <vector>

#include "PictureShape.h"

namespace orlisk {

// One picture: 32-bit pixels, bytes B, G, R, 0xFF in memory (QImage's
// Format_RGB32 layout), rows `Stride` bytes apart. `Pixels` holds at least
// Stride x Height bytes and may hold more behind the last row (room a
// converter writes into); those bytes are no part of the picture. No pixels
// means "no frame".
// A picture the reader scaled for the view still stands for the source's
// picture: places on it (a subtitle's x and y, font sizes) are measured in
// the source's pixels, SourceWidth x SourceHeight, which 0 leaves equal to
// the picture's own size. `Aspect` is the pixel aspect of the source's
// samples: the picture is shown DisplayWidth(PlaceWidth(), Aspect) wide.
// A frame marked Premultiplied is a picture of text drawn on nothing: its
// fourth byte is each pixel's coverage (0 where nothing is drawn) and B, G, R
// are premultiplied by it (QImage's Format_ARGB32_Premultiplied layout).
struct Frame {
  int Width = 0;
  int Height = 0;
  int Stride = 0;
  std::vector<std::uint8_t> Pixels;
  int SourceWidth = 0;
  int SourceHeight = 0;
  PixelAspect Aspect = {};
  bool Premultiplied = false;

  bool empty() const { return Pixels.empty(); }
  // The size places on the picture are measured in.
  int PlaceWidth() const { return SourceWidth > 0 ? SourceWidth : Width; }
  int PlaceHeight() const { return SourceHeight > 0 ? SourceHeight : Height; }
};

// Interleaved signed 16-bit PCM at the source's rate and channel count.
// No bytes means "no more sound".
struct AudioBlock {
  std::vector<std::uint8_t> Bytes;

  bool empty() const { return Bytes.empty(); }
};

}  // namespace orlisk
