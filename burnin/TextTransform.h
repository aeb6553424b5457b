#pragma once
// Draws text on frames: load a frame, draw texts, take the finished frame.
// User-interface thread only (the write job runs there too).
#include <string>

#include "subtitles/SubtitleStyle.h"
#include "media/Frame.h"

namespace orlisk {

class TextTransform {
 public:
  virtual ~TextTransform() = default;
  // The frame becomes the surface of the following draws (copied; the caller
  // keeps it). A Premultiplied frame is drawn on as a transparent surface:
  // the text's own pixels, with their coverage, for blending elsewhere.
  virtual void LoadFrame(const Frame& frame) = 0;
  // Draws UTF-8 text (line breaks "\r\n" or "\n" start a new line under the
  // previous one) with its top-left corner at (x, y), in `font` and `colour`.
  // `strength` (always 0.9) and `level` are passed through by the callers.
  virtual void DrawText(double strength, int x, int y, const std::string& text,
                        const SubtitleFont& font, Colour colour, int level) = 0;
  // Draws like DrawText, with each line centred on the loaded picture's
  // width in place pixels (Frame::PlaceWidth) and then moved `dx` pixels
  // sideways: a line w pixels wide starts at CentredLineX(place width, w) + dx.
  virtual void DrawCentredText(double strength, int dx, int y, const std::string& text,
                               const SubtitleFont& font, Colour colour, int level) = 0;
  // The loaded frame with everything drawn since LoadFrame; an empty frame
  // when none is loaded (before the first LoadFrame, and after a TakeFrame).
  virtual Frame TakeFrame() = 0;
};

}  // namespace orlisk
