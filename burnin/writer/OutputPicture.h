#pragma once
// Where a source picture goes in an output frame: the frame's size and the
// pixel aspect written with it, and the rectangle the picture is scaled into,
// black around it. The picture keeps its displayed shape in a frame of any
// size, as the editor's view shows it. Internal to the writer.
#include <cstdint>

#include "media/FfmpegPtr.h"
#include "media/PictureShape.h"

namespace orlisk {

struct OutputPicture {
  int Width = 0;  // the frame the encoder takes
  int Height = 0;
  PixelAspect Aspect = {};   // of the frame's pixels; written to the file
  PictureRect Picture;  // where the source's picture lies in the frame

  bool Fills() const { return Picture == PictureRect{0, 0, Width, Height}; }
};

// The source is sourceWidth x sourceHeight samples of `sourceAspect`; the
// frame asked for is wantedWidth x wantedHeight (0 or below: the source's
// size). Frame sizes and the picture's place fall on multiples of stepX and
// stepY (the encoder's chroma blocks), sides at most `maximum`.
// - A frame of the source's size (asked for, or by 0) keeps the source's samples: their aspect is
//   written with it when the file can carry one (`carriesAspect`). Where it
//   cannot, a frame left to the source's size is the source's displayed size
//   in square pixels.
// - A frame of a size asked for has square pixels, with the picture fitted in
//   it between black bars.
OutputPicture PlanOutputPicture(int sourceWidth, int sourceHeight, PixelAspect sourceAspect, int wantedWidth,
                                int wantedHeight, bool carriesAspect, int stepX, int stepY, int maximum);

// The planes of a frame's rectangle, as a scaler or converter writes into it.
struct PictureWindow {
  std::uint8_t* Data[4] = {};
  int Linesize[4] = {};
};

// `rect` of `frame` (an allocated picture of a planar or packed pixel
// format; rect on whole chroma samples).
PictureWindow WindowOf(const AVFrame& frame, const PictureRect& rect);

// Paints black (in the frame's colour range) everything of `frame` around
// `rect`. Done after the picture is written: scalers may write a little past
// the ends of the window's rows. Raises MediaError for a pixel format that
// cannot be painted.
void PaintAround(AVFrame& frame, const PictureRect& rect);

}  // namespace orlisk
